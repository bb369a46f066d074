#include "controls/split_panel.h"

#include <windowsx.h>

#include "ui/message_box.h"

namespace velkor {

namespace {
// What stays of the rest of the form when the host is dragged wide.
constexpr int kKeepShowing = 8;
constexpr DWORD kBarDcFlags = DCX_CACHE | DCX_CLIPSIBLINGS | DCX_LOCKWINDOWUPDATE;

RECT RectInParent(HWND w) {
  RECT r;
  GetWindowRect(w, &r);
  MapWindowPoints(nullptr, GetParent(w), reinterpret_cast<POINT*>(&r), 2);
  return r;
}
}  // namespace

void SplitPanel::Create(HWND owner, int id) {
  owner_ = owner;
  Look look;
  look.outer = Bevel::None;
  Panel::Create(owner, id, 0, 0, kThickness, kThickness, look);
}

void SplitPanel::SetAlign(SplitAlign align) {
  if (align == align_) return;
  if (align == SplitAlign::Client) {
    ShowMessage(L"AlignにalClientは選択できません。");
    return;
  }
  align_ = align;
  PlaceBesideHost();
}

void SplitPanel::SetHost(HWND host, SplitAlign host_align) {
  if (host == host_) return;
  host_ = host;
  if (host_align == SplitAlign::None || host_align == SplitAlign::Client) host_align = SplitAlign::Left;
  align_ = SplitAlign::None;
  SetAlign(host_align);
}

void SplitPanel::PlaceBesideHost() {
  if (!host_ || align_ == SplitAlign::None) return;
  const RECT h = RectInParent(host_);
  switch (align_) {
    case SplitAlign::Top:
      MoveWindow(hwnd(), h.left, h.bottom, h.right - h.left, kThickness, TRUE);
      break;
    case SplitAlign::Bottom:
      MoveWindow(hwnd(), h.left, h.top - kThickness, h.right - h.left, kThickness, TRUE);
      break;
    case SplitAlign::Left:
      MoveWindow(hwnd(), h.right, h.top, kThickness, h.bottom - h.top, TRUE);
      break;
    case SplitAlign::Right:
      MoveWindow(hwnd(), h.left - kThickness, h.top, kThickness, h.bottom - h.top, TRUE);
      break;
    default:
      break;
  }
}

void SplitPanel::DrawBar() {
  RECT self;
  GetClientRect(hwnd(), &self);
  POINT ends[2] = {bar_, bar_};
  if (horizontal()) {
    ends[0].x = 0;
    ends[1].x = self.right;
  } else {
    ends[0].y = 0;
    ends[1].y = self.bottom;
  }
  MapWindowPoints(hwnd(), owner_, ends, 2);
  MoveToEx(dc_, ends[0].x, ends[0].y, nullptr);
  LineTo(dc_, ends[1].x, ends[1].y);
}

void SplitPanel::EndDrag() {
  dragging_ = false;
  DrawBar();
  SelectObject(dc_, old_pen_);
  DeleteObject(pen_);
  ReleaseDC(owner_, dc_);
  dc_ = nullptr;
  pen_ = nullptr;
  if (GetCapture() == hwnd()) ReleaseCapture();
}

LRESULT SplitPanel::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SETCURSOR:
      if (LOWORD(lp) == HTCLIENT && align_ != SplitAlign::None) {
        SetCursor(LoadCursorW(nullptr, horizontal() ? IDC_SIZENS : IDC_SIZEWE));
        return TRUE;
      }
      break;
    case WM_LBUTTONDOWN: {
      const LRESULT r = Panel::HandleMessage(msg, wp, lp);
      if (!host_ || dragging_ || align_ == SplitAlign::None) return r;
      dragging_ = true;
      SetCapture(hwnd());
      dc_ = GetDCEx(owner_, nullptr, kBarDcFlags);
      pen_ = CreatePen(PS_DASHDOT, kThickness, RGB(128, 128, 128));
      old_pen_ = SelectObject(dc_, pen_);
      SetROP2(dc_, R2_XORPEN);
      // The edge that touches the host, so that a release without a move
      // leaves the host as it was.
      const bool far_side = align_ == SplitAlign::Right || align_ == SplitAlign::Bottom;
      bar_ = far_side ? (horizontal() ? POINT{0, kThickness} : POINT{kThickness, 0}) : POINT{0, 0};
      press_ = POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      moved_ = false;
      DrawBar();
      return r;
    }
    case WM_MOUSEMOVE: {
      const LRESULT r = Panel::HandleMessage(msg, wp, lp);
      if (!dragging_) return r;
      // The bar follows the pointer once it has left the spot of the press: a
      // move reported there (the system may report one as the mouse is
      // captured) is no drag, and the release leaves the host as it was.
      const POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      moved_ = moved_ || (horizontal() ? at.y != press_.y : at.x != press_.x);
      if (!moved_) return r;
      DrawBar();
      if (horizontal())
        bar_.y = at.y;
      else
        bar_.x = at.x;
      DrawBar();
      return r;
    }
    case WM_LBUTTONUP: {
      const LRESULT r = Panel::HandleMessage(msg, wp, lp);
      if (!dragging_) return r;
      POINT p = bar_;
      EndDrag();
      // Measured from the host's outer edge, not its client area: a host
      // with a border would otherwise shrink by the border at every release.
      ClientToScreen(hwnd(), &p);
      RECT outer;
      GetWindowRect(host_, &outer);
      p.x -= outer.left;
      p.y -= outer.top;
      RECT h = RectInParent(host_);
      RECT form;
      GetClientRect(GetParent(host_), &form);
      const int w = h.right - h.left, ht = h.bottom - h.top;
      switch (align_) {
        case SplitAlign::Top:
          h.bottom = h.top + SplitHostSize(SplitSide::Top, p.y, ht, form.bottom - h.top - kThickness - kKeepShowing);
          break;
        case SplitAlign::Bottom:
          h.top = h.bottom - SplitHostSize(SplitSide::Bottom, p.y, ht, h.bottom - kThickness - kKeepShowing);
          break;
        case SplitAlign::Left:
          h.right = h.left + SplitHostSize(SplitSide::Left, p.x, w, form.right - h.left - kThickness - kKeepShowing);
          break;
        case SplitAlign::Right:
          h.left = h.right - SplitHostSize(SplitSide::Right, p.x, w, h.right - kThickness - kKeepShowing);
          break;
        default:
          break;
      }
      MoveWindow(host_, h.left, h.top, h.right - h.left, h.bottom - h.top, TRUE);
      PlaceBesideHost();
      if (on_end_sizing) on_end_sizing(*this);
      return r;
    }
    case WM_CAPTURECHANGED:
      if (dragging_ && reinterpret_cast<HWND>(lp) != hwnd()) EndDrag();
      break;
  }
  return Panel::HandleMessage(msg, wp, lp);
}

}  // namespace velkor
