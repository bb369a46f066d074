// Dragging the split panel resizes its host on either side; the fill
// alignment is refused.
#include <gtest/gtest.h>

#include "controls/split_panel.h"
#include "ui/window.h"
#include "support/win_test.h"

using namespace velkor;
using namespace velkor::test;

namespace {

class Form : public Window {
 public:
  Form() {
    WNDCLASSEXW wc{};
    wc.lpszClassName = L"VelkorSplitHost";
    RegisterWindowClass(wc);
    Create(0, L"VelkorSplitHost", L"split", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr);
  }
};

RECT Place(HWND w) {
  RECT r;
  GetWindowRect(w, &r);
  MapWindowPoints(nullptr, GetParent(w), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

void Drag(HWND splitter, int from_x, int to_x) {
  SendMessageW(splitter, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from_x, 5));
  if (to_x != from_x) SendMessageW(splitter, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(static_cast<WORD>(to_x), 5));
  SendMessageW(splitter, WM_LBUTTONUP, 0, MAKELPARAM(static_cast<WORD>(to_x), 5));
}

TEST(SplitPanel, DragResizesALeftAndARightHost) {
  Form form;
  HWND left = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 150, 300, form.hwnd(), nullptr,
                              nullptr, nullptr);
  SplitPanel split;
  split.Create(form.hwnd(), 10);
  int ended = 0;
  split.on_end_sizing = [&](SplitPanel&) { ++ended; };
  split.SetHost(left, SplitAlign::None);  // no side of its own: put on the left
  EXPECT_EQ(split.align(), SplitAlign::Left);
  EXPECT_EQ(Place(split.hwnd()).left, 150);
  EXPECT_EQ(Place(split.hwnd()).right - Place(split.hwnd()).left, SplitPanel::kThickness);

  Drag(split.hwnd(), 1, 1);
  EXPECT_EQ(Place(left).right, 150);  // a press without a move changes nothing
  Drag(split.hwnd(), 1, 30);
  EXPECT_EQ(Place(left).right, 180);
  EXPECT_EQ(Place(split.hwnd()).left, 180);
  Drag(split.hwnd(), 1, 2000);  // beyond the form: the rest still shows
  EXPECT_LT(Place(left).right, 400 - SplitPanel::kThickness);
  EXPECT_GT(Place(left).right, 300);
  Drag(split.hwnd(), 1, -2000);
  EXPECT_EQ(Place(left).right, 0);
  EXPECT_EQ(ended, 4);

  HWND right = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 250, 0, 150, 300, form.hwnd(), nullptr,
                               nullptr, nullptr);
  SplitPanel split2;
  split2.Create(form.hwnd(), 11);
  split2.SetHost(right, SplitAlign::Right);
  EXPECT_EQ(Place(split2.hwnd()).right, 250);
  Drag(split2.hwnd(), 1, 1);
  EXPECT_EQ(Place(right).left, 250);
  // The pointer 20 pixels left of the host's left edge (the splitter is 4 wide).
  Drag(split2.hwnd(), 1, -20 + SplitPanel::kThickness);
  EXPECT_EQ(Place(right).left, 230);
  EXPECT_EQ(Place(right).right, 400);
}

TEST(SplitPanel, RefusesToFillTheForm) {
  Form form;
  SplitPanel split;
  split.Create(form.hwnd(), 10);
  DialogAnswerer answers;
  answers.Press(IDOK);
  split.SetAlign(SplitAlign::Client);
  ASSERT_EQ(answers.seen().size(), 1u);
  EXPECT_EQ(answers.seen()[0].text, L"AlignにalClientは選択できません。");
  EXPECT_EQ(split.align(), SplitAlign::None);
  split.SetAlign(SplitAlign::None);  // the current one: no message
  EXPECT_EQ(answers.seen().size(), 1u);
}

}  // namespace
