#pragma once
// The main window's clock stands in a small window of its own over the title
// bar: a frame that the system composes (desktop composition on Windows 7 and
// later) covers whatever a program paints into it, while an owned window above
// it stays visible there as under Wine. It takes no clicks: they reach the
// title bar below.
#include <string>

#include "platform/scoped.h"
#include "ui/window.h"

namespace velkor {

class CaptionClock : public Window {
 public:
  explicit CaptionClock(HWND frame);

  // Follows the frame: at the right end of its title bar, just left of the
  // caption buttons; hidden while the frame is hidden, minimized or borderless.
  void Place();
  // Draws the text on the caption's colour, at once.
  void Show(const std::wstring& text, bool active);
  // Where the clock stands, in the frame's window coordinates (empty while hidden).
  RECT band() const;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  HWND frame_;
  std::wstring text_;
  bool active_ = true;
  ScopedFont font_;
  int font_height_ = 0;
  int text_width_ = 0;
  RECT band_{};
};

}  // namespace velkor
