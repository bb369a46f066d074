#include "controls/panel.h"

#include <algorithm>

#include "controls/speed_button.h"
#include "ui/app.h"
#include "platform/dpi.h"

namespace velkor {
namespace {
constexpr wchar_t kClass[] = L"TPanel";

void FillSolid(HDC dc, const RECT& rc, COLORREF color) {
  SetBkColor(dc, color);
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
}

void DrawBevel(HDC dc, RECT& rc, Bevel bevel, int width) {
  if (bevel == Bevel::None) return;
  const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
  const COLORREF dark = GetSysColor(COLOR_BTNSHADOW);
  if (bevel == Bevel::Raised)
    Frame3D(dc, rc, light, dark, width);
  else
    Frame3D(dc, rc, dark, light, width);
}

}  // namespace

void Frame3D(HDC dc, RECT& rc, COLORREF top_left, COLORREF bottom_right, int width) {
  for (int i = 0; i < width; ++i) {
    FillSolid(dc, RECT{rc.left, rc.top, rc.right - 1, rc.top + 1}, top_left);
    FillSolid(dc, RECT{rc.left, rc.top, rc.left + 1, rc.bottom - 1}, top_left);
    FillSolid(dc, RECT{rc.left, rc.bottom - 1, rc.right, rc.bottom}, bottom_right);
    FillSolid(dc, RECT{rc.right - 1, rc.top, rc.right, rc.bottom}, bottom_right);
    InflateRect(&rc, -1, -1);
  }
}

Panel::~Panel() {
  for (SpeedButton* b : buttons_) b->host_ = nullptr;
}

void Panel::Create(HWND parent, int id, int x, int y, int w, int h, const Look& look) {
  look_ = look;
  CreateOwnControl(kClass, parent, id, x, y, w, h, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                   WS_EX_CONTROLPARENT);
  // The long hint of the button under the mouse.
  Application::Get().SetHintProvider(hwnd(), [this](POINT p) {
    const SpeedButton* b = ButtonAt(p);
    return b ? b->hint() : std::wstring();
  });
}

void Panel::SetText(const std::wstring& text) {
  if (text == text_) return;
  text_ = text;
  if (hwnd()) {
    SetWindowTextW(hwnd(), text_.c_str());
    InvalidateRect(hwnd(), nullptr, TRUE);
  }
}

void Panel::SetFont(HFONT font) {
  font_ = font;
  if (hwnd()) InvalidateRect(hwnd(), nullptr, TRUE);
}

void Panel::SetLook(const Look& look) {
  look_ = look;
  if (hwnd()) InvalidateRect(hwnd(), nullptr, TRUE);
}

RECT Panel::ContentRect() const {
  RECT rc{};
  GetClientRect(hwnd(), &rc);
  int inset = look_.border_width;
  if (look_.outer != Bevel::None) inset += look_.bevel_width;
  if (look_.inner != Bevel::None) inset += look_.bevel_width;
  InflateRect(&rc, -inset, -inset);
  return rc;
}

void Panel::Paint(HDC dc) {
  RECT rc{};
  GetClientRect(hwnd(), &rc);
  const COLORREF face = look_.color == CLR_INVALID ? GetSysColor(COLOR_BTNFACE) : look_.color;
  DrawBevel(dc, rc, look_.outer, look_.bevel_width);
  Frame3D(dc, rc, face, face, look_.border_width);
  DrawBevel(dc, rc, look_.inner, look_.bevel_width);
  FillSolid(dc, rc, face);
  for (const SpeedButton* b : buttons_)
    if (b->visible()) b->Paint(dc, b == hot_, b == pressed_);
  if (!text_.empty()) {
    HGDIOBJ old = SelectObject(dc, font_ ? font_ : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, look_.text_color == CLR_INVALID ? GetSysColor(COLOR_BTNTEXT) : look_.text_color);
    InflateRect(&rc, -Scale(2), 0);
    DrawTextW(dc, text_.c_str(), static_cast<int>(text_.size()), &rc,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_EXPANDTABS | DT_END_ELLIPSIS | look_.text_align);
    SelectObject(dc, old);
  }
}

LRESULT Panel::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (LRESULT r; HandlePaint(msg, wp, r, [this](HDC dc) { Paint(dc); })) return r;
  switch (msg) {
    case WM_SIZE:
      InvalidateRect(hwnd(), nullptr, TRUE);
      break;
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_HSCROLL:
    case WM_VSCROLL:
      return SendMessageW(GetParent(hwnd()), msg, wp, lp);
    case WM_MOUSEMOVE: {
      const POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      SpeedButton* over = ButtonAt(p);
      if (pressed_) {
        SetHot(over == pressed_ ? pressed_ : nullptr);
      } else {
        SetHot(over);
      }
      if (!tracking_) {
        TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, hwnd(), 0};
        tracking_ = TrackMouseEvent(&tme) != FALSE;
      }
      if (!over && !pressed_ && on_mouse_move) on_mouse_move();
      return 0;
    }
    case WM_MOUSELEAVE:
      tracking_ = false;
      if (!pressed_) SetHot(nullptr);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      const POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      SpeedButton* b = ButtonAt(p);
      if (b && b->enabled()) {
        pressed_ = b;
        SetHot(b);
        SetCapture(hwnd());
        InvalidateRect(hwnd(), &b->rect_, FALSE);
      }
      return 0;
    }
    case WM_LBUTTONUP: {
      if (pressed_) {
        SpeedButton* b = pressed_;
        const bool click = hot_ == b;
        pressed_ = nullptr;
        if (GetCapture() == hwnd()) ReleaseCapture();
        InvalidateRect(hwnd(), nullptr, FALSE);
        UpdateWindow(hwnd());
        // The command may close the form and free this panel: nothing after it.
        if (click) b->Click();
        return 0;
      }
      const POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      if (!ButtonAt(p) && on_click) on_click();
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (pressed_) {
        pressed_ = nullptr;
        InvalidateRect(hwnd(), nullptr, FALSE);
      }
      return 0;
  }
  return Window::HandleMessage(msg, wp, lp);
}

void Panel::AddButton(SpeedButton* button) {
  buttons_.push_back(button);
  SetTool(button, true);
  InvalidateRect(hwnd(), nullptr, FALSE);
}

void Panel::RemoveButton(SpeedButton* button) {
  if (hot_ == button) hot_ = nullptr;
  if (pressed_ == button) pressed_ = nullptr;
  std::erase(buttons_, button);
  if (hwnd()) SetTool(button, false);
}

void Panel::ButtonChanged(SpeedButton* button) { SetTool(button, true); }

SpeedButton* Panel::ButtonAt(POINT client) const {
  for (SpeedButton* b : buttons_) {
    const RECT r = b->rect();
    if (b->visible() && PtInRect(&r, client)) return b;
  }
  return nullptr;
}

void Panel::SetHot(SpeedButton* button) {
  if (button == hot_) return;
  if (hot_) InvalidateRect(hwnd(), &hot_->rect_, FALSE);
  hot_ = button;
  if (hot_) InvalidateRect(hwnd(), &hot_->rect_, FALSE);
}

// Each button is a rectangle tool of the tool tip of the panel's top-level
// window, showing the short part of its hint.
void Panel::SetTool(SpeedButton* button, bool add) {
  if (!hwnd()) return;
  HWND tip = Application::Get().TooltipFor(GetAncestor(hwnd(), GA_ROOT));
  if (!tip) return;
  TTTOOLINFOW ti{};
  ti.cbSize = sizeof ti;
  ti.uFlags = TTF_SUBCLASS;
  ti.hwnd = hwnd();
  ti.uId = reinterpret_cast<UINT_PTR>(button);
  const bool known = std::find(tooled_.begin(), tooled_.end(), button) != tooled_.end();
  if (!add) {
    if (known) {
      SendMessageW(tip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
      std::erase(tooled_, button);
    }
    return;
  }
  std::wstring text = Application::ShortHint(button->hint());
  ti.lpszText = text.data();
  ti.rect = button->rect();
  if (text.empty()) {
    if (known) {
      SendMessageW(tip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
      std::erase(tooled_, button);
    }
  } else if (!known) {
    SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    tooled_.push_back(button);
  } else {
    SendMessageW(tip, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&ti));
    SendMessageW(tip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
  }
}

}  // namespace velkor
