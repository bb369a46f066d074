#pragma once
// A thin panel beside another window, its host, that resizes the host when
// dragged: while the button is held a grey dash-dot bar follows the pointer
// over the owner form, and on release the host takes the new width or
// height. The bar is drawn in XOR, so drawing it twice at one place leaves
// the form as it was.
#include <functional>

#include "controls/panel.h"
#include "controls/split_logic.h"

namespace velkor {

enum class SplitAlign { None, Top, Bottom, Left, Right, Client };

class SplitPanel : public Panel {
 public:
  static constexpr int kThickness = 4;
  // The owner form is the parent too.
  void Create(HWND owner, int id);

  // Client (filling the form) is refused with a message.
  void SetAlign(SplitAlign align);
  SplitAlign align() const { return align_; }
  // The host is resized by the drag; one without a side (None, Client) is
  // put on the left.
  void SetHost(HWND host, SplitAlign host_align);
  HWND host() const { return host_; }

  // After a drag has resized the host: the form lays itself out again.
  std::function<void(SplitPanel&)> on_end_sizing;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  bool horizontal() const { return align_ == SplitAlign::Top || align_ == SplitAlign::Bottom; }
  void PlaceBesideHost();
  void DrawBar();
  void EndDrag();

  HWND owner_ = nullptr;
  HWND host_ = nullptr;
  SplitAlign align_ = SplitAlign::None;
  bool dragging_ = false;
  POINT bar_{};    // where the bar is drawn, in the splitter's client coordinates
  POINT press_{};  // where the button was pressed
  bool moved_ = false;
  HDC dc_ = nullptr;
  HPEN pen_ = nullptr;
  HGDIOBJ old_pen_ = nullptr;
};

}  // namespace velkor
