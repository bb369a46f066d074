#pragma once
// Keys and clicks for the search-directory setup's controls, sent through
// the queue as the keyboard and the mouse send them.
#include <gtest/gtest.h>
#include <commctrl.h>

#include <cstring>
#include <functional>
#include <string>
#include <utility>

#include "controls/std_controls.h"
#include "support/win_test.h"

namespace velkor::test {

inline void PostKeyDown(HWND target, UINT vk, bool repeat = false) {
  const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)) << 16;
  PostMessageW(target, WM_KEYDOWN, vk, scan | 1 | (repeat ? (1u << 30) : 0));
}

inline void PostKeyUp(HWND target, UINT vk) {
  const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)) << 16;
  PostMessageW(target, WM_KEYUP, vk, scan | 1 | (1u << 30) | (1u << 31));
}

// A click at a point of the tree, with the pointer there as the tree expects.
inline void ClickTreeAt(HWND tree, POINT at) {
  POINT screen = at;
  ClientToScreen(tree, &screen);
  MoveCursor(screen.x, screen.y);
  PostMessageW(tree, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
  PostMessageW(tree, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
}

inline RECT NodeTextRect(HWND tree, HTREEITEM node) {
  RECT r{};
  std::memcpy(&r, &node, sizeof node);  // the item goes in where the rectangle comes out
  SendMessageW(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r));
  return r;
}

// A click on the start of the node's name: a long name runs past the tree's edge.
inline void ClickNodeName(HWND tree, HTREEITEM node) {
  SendMessageW(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(node));  // scrolled to, as a user would
  const RECT r = NodeTextRect(tree, node);
  ClickTreeAt(tree, POINT{r.left + 6, (r.top + r.bottom) / 2});
}

// The node's expand button, found where the tree says it is.
inline void ClickNodeButton(HWND tree, HTREEITEM node) {
  SendMessageW(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(node));
  const RECT r = NodeTextRect(tree, node);
  for (int x = r.left; x >= 0; --x) {
    TVHITTESTINFO hit{};
    hit.pt = POINT{x, (r.top + r.bottom) / 2};
    SendMessageW(tree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    if (hit.hItem == node && (hit.flags & TVHT_ONITEMBUTTON)) {
      ClickTreeAt(tree, hit.pt);
      return;
    }
  }
  ADD_FAILURE() << "no expand button";
}

inline HTREEITEM ChildNamed(const TreeView& t, HTREEITEM parent, const std::wstring& name) {
  for (HTREEITEM c = t.Child(parent); c; c = t.NextSibling(c))
    if (t.Text(c) == name) return c;
  return nullptr;
}

// Runs a function once, when the first line goes into a list view: the
// listing that fills it is running then.
class AtFirstLine {
 public:
  AtFirstLine(HWND list, std::function<void()> fn) {
    list_ = list;
    fn_ = std::move(fn);
    hook_ = SetWindowsHookExW(WH_CALLWNDPROC, Hook, nullptr, GetCurrentThreadId());
  }
  ~AtFirstLine() {
    UnhookWindowsHookEx(hook_);
    fn_ = nullptr;
  }

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wp, LPARAM lp) {
    const auto* m = reinterpret_cast<const CWPSTRUCT*>(lp);
    if (code == HC_ACTION && m->hwnd == list_ && m->message == LVM_INSERTITEMW && fn_) std::exchange(fn_, nullptr)();
    return CallNextHookEx(nullptr, code, wp, lp);
  }
  static inline HWND list_ = nullptr;
  static inline std::function<void()> fn_;
  HHOOK hook_ = nullptr;
};

}  // namespace velkor::test
