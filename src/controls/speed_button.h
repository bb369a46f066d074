#pragma once
// A speed button: a small button that takes no focus and shows a glyph. A
// flat one shows its edge only under the mouse. A click sends WM_COMMAND with
// the button's id to its command target (normally the form), so buttons and
// menu items share one command handler.
#include <string>

#include "platform/scoped.h"
#include "platform/window.h"

namespace velkor {

class SpeedButton : public Window {
 public:
  static void RegisterClass();
  void Create(HWND parent, int id, int x, int y, int w, int h, bool flat, HWND command_target);

  int id() const { return id_; }
  int tag = 0;

  // The glyph's transparent colour is the colour of its bottom-left pixel.
  void SetGlyph(HBITMAP glyph);  // takes ownership
  void SetGlyphResource(const wchar_t* name);
  HBITMAP glyph() const { return glyph_.get(); }
  void SetHint(std::wstring hint);
  void SetEnabled(bool enabled);
  bool enabled() const { return IsWindowEnabled(hwnd()) != FALSE; }
  void Click();  // as if the user clicked it

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void Paint(HDC dc);
  int id_ = 0;
  bool flat_ = true;
  bool hot_ = false;
  bool pressed_ = false;
  bool tracking_ = false;
  HWND target_ = nullptr;
  ScopedBitmap glyph_;
};

// Draws a bitmap whose bottom-left pixel's colour is transparent; a disabled
// glyph is drawn embossed in the system's shadow and highlight colours.
void DrawGlyph(HDC dc, HBITMAP glyph, int x, int y, bool disabled);

}  // namespace velkor
