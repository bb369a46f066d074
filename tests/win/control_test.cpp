// Objects over system controls: what a control sends to its parent reaches
// the control's own object first, and the form only gets what it leaves.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/scoped.h"
#include "ui/control.h"
#include "ui/window.h"
#include "support/win_test.h"

using namespace velkor;
using namespace velkor::test;

namespace {

constexpr int kListId = 300;
constexpr int kButtonId = 301;
constexpr UINT kOwnNotify = 0x7000;  // a code the list answers itself

class OwnerDrawnList : public Control {
 public:
  int measured = 0;
  std::vector<UINT> drawn;
  int notified = 0;
  int selections = 0;

 protected:
  bool OnMeasureItem(MEASUREITEMSTRUCT& item) override {
    ++measured;
    item.itemHeight = 20 + item.itemID;
    return true;
  }
  bool OnDrawItem(const DRAWITEMSTRUCT& item) override {
    drawn.push_back(item.itemID);
    return true;
  }
  bool OnNotify(NMHDR& header, LRESULT& result) override {
    if (header.code != kOwnNotify) return false;
    ++notified;
    result = 42;
    return true;
  }
  bool OnCommand(int code) override {
    if (code != LBN_SELCHANGE) return false;
    ++selections;
    return true;
  }
};

// A form that records the reports of its children that reach it.
class Host : public Window {
 public:
  Host() {
    WNDCLASSEXW wc{};
    wc.lpszClassName = L"VelkorTestHost";
    RegisterWindowClass(wc);
    Create(0, L"VelkorTestHost", L"host", WS_POPUP | WS_VISIBLE, 0, 0, 300, 300, nullptr, nullptr);
  }
  std::vector<UINT> seen;
  int Count(UINT msg) const { return static_cast<int>(std::count(seen.begin(), seen.end(), msg)); }

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WM_COMMAND || msg == WM_NOTIFY || msg == WM_DRAWITEM || msg == WM_MEASUREITEM ||
        msg == WM_CTLCOLORLISTBOX || msg == WM_CTLCOLOREDIT)
      seen.push_back(msg);
    return Window::HandleMessage(msg, wp, lp);
  }
};

HWND Child(HWND parent, const wchar_t* cls, DWORD style, int id) {
  return CreateWindowExW(0, cls, L"", WS_CHILD | WS_VISIBLE | style, 0, 0, 200, 200, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

LRESULT Notify(HWND parent, HWND from, UINT code) {
  NMHDR header{from, static_cast<UINT_PTR>(GetDlgCtrlID(from)), code};
  return SendMessageW(parent, WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

LRESULT CALLBACK PassOn(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
  return DefSubclassProc(h, msg, wp, lp);
}

}  // namespace

TEST(Reflection, AnOwnerDrawnListMeasuresAndDrawsItsOwnItems) {
  Host host;
  OwnerDrawnList list;
  list.Attach(Child(host.hwnd(), L"LISTBOX", LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS | LBS_NOTIFY, kListId));
  ASSERT_EQ(Control::FromHandle(list.hwnd()), &list);
  for (const wchar_t* s : {L"a", L"b", L"c"})
    SendMessageW(list.hwnd(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
  EXPECT_EQ(list.measured, 3);
  EXPECT_EQ(SendMessageW(list.hwnd(), LB_GETITEMHEIGHT, 1, 0), 21) << "the list's answer is the one used";

  RedrawWindow(list.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
  EXPECT_NE(std::find(list.drawn.begin(), list.drawn.end(), 2u), list.drawn.end());
  EXPECT_EQ(host.Count(WM_MEASUREITEM), 0);
  EXPECT_EQ(host.Count(WM_DRAWITEM), 0);
}

// Rows of 30 pixels on a background of its own.
class FixedRows : public Control {
 public:
  ScopedBrush brush{CreateSolidBrush(RGB(0, 128, 0))};

 protected:
  bool OnMeasureItem(MEASUREITEMSTRUCT& item) override {
    item.itemHeight = 30;
    return true;
  }
  HBRUSH OnColor(HDC) override { return brush.get(); }
};

TEST(Reflection, AControlMadeThroughTheLayerMeasuresItsRowsAsItIsMadeAndColoursItself) {
  Host host;
  FixedRows list;
  const HWND made = list.CreateControl(0, L"LISTBOX", WS_CHILD | WS_VISIBLE | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS,
                                       RECT{0, 0, 200, 200}, host.hwnd(), kListId);
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(Control::FromHandle(made), &list);
  EXPECT_EQ(SendMessageW(made, LB_GETITEMHEIGHT, 0, 0), 30);
  EXPECT_EQ(host.Count(WM_MEASUREITEM), 0);

  HDC dc = GetDC(made);
  EXPECT_EQ(SendMessageW(host.hwnd(), WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(made)),
            reinterpret_cast<LRESULT>(list.brush.get()));
  EXPECT_EQ(host.Count(WM_CTLCOLORLISTBOX), 0);
  HWND edit = Child(host.hwnd(), L"EDIT", 0, kButtonId);
  SendMessageW(host.hwnd(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(edit));
  EXPECT_EQ(host.Count(WM_CTLCOLOREDIT), 1) << "a control without an object leaves its colours to the form";
  ReleaseDC(made, dc);
}

TEST(Reflection, NotificationsAndCommandsReachTheirControlAndWhatItLeavesReachesTheForm) {
  Host host;
  OwnerDrawnList list;
  list.Attach(Child(host.hwnd(), L"LISTBOX", LBS_NOTIFY, kListId));
  HWND plain = Child(host.hwnd(), L"BUTTON", BS_PUSHBUTTON, kButtonId);

  EXPECT_EQ(Notify(host.hwnd(), list.hwnd(), kOwnNotify), 42);
  EXPECT_EQ(list.notified, 1);
  EXPECT_EQ(host.Count(WM_NOTIFY), 0);
  Notify(host.hwnd(), list.hwnd(), NM_RCLICK);
  EXPECT_EQ(host.Count(WM_NOTIFY), 1) << "a code the control leaves goes to the form";

  SendMessageW(host.hwnd(), WM_COMMAND, MAKEWPARAM(kListId, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list.hwnd()));
  EXPECT_EQ(list.selections, 1);
  EXPECT_EQ(host.Count(WM_COMMAND), 0);
  SendMessageW(host.hwnd(), WM_COMMAND, MAKEWPARAM(kListId, LBN_DBLCLK), reinterpret_cast<LPARAM>(list.hwnd()));
  SendMessageW(plain, BM_CLICK, 0, 0);
  EXPECT_EQ(host.Count(WM_COMMAND), 2) << "the list's double click and the plain button's click";
}

TEST(Reflection, AnObjectThatGoesBeforeItsControlLeavesTheControlWorking) {
  Host host;
  HWND edit = Child(host.hwnd(), L"EDIT", 0, kListId);
  struct Upper : Control {
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
      if (msg == WM_CHAR && wp >= L'a' && wp <= L'z') wp -= L'a' - L'A';
      return DefaultProc(msg, wp, lp);
    }
  };
  {
    Upper upper;
    upper.Attach(edit);
    SendMessageW(edit, WM_CHAR, L'a', 0);
    // Another subclass in front: the object's going must not cut it off.
    SetWindowSubclass(edit, PassOn, 1, 0);
  }
  EXPECT_EQ(Control::FromHandle(edit), nullptr);
  SendMessageW(edit, WM_CHAR, L'b', 0);
  EXPECT_EQ(WindowText(edit), L"Ab");
  Upper again;
  again.Attach(edit);
  SendMessageW(edit, WM_CHAR, L'c', 0);
  EXPECT_EQ(WindowText(edit), L"AbC");
  DestroyWindow(edit);
  EXPECT_EQ(again.hwnd(), nullptr) << "let go at the control's last message";
}
