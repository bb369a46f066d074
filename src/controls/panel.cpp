#include "controls/panel.h"

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

void Panel::RegisterClass() {
  WNDCLASSEXW wc{};
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpszClassName = kClass;
  RegisterWindowClass(wc);
}

void Panel::Create(HWND parent, int id, int x, int y, int w, int h, const Look& look) {
  RegisterClass();
  look_ = look;
  Window::Create(WS_EX_CONTROLPARENT, kClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, x,
                 y, w, h, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
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
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd(), &ps);
      Paint(dc);
      EndPaint(hwnd(), &ps);
      return 0;
    }
    case WM_PRINTCLIENT:
      Paint(reinterpret_cast<HDC>(wp));
      return 0;
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
    case WM_LBUTTONUP:
      if (on_click) on_click();
      return 0;
    case WM_MOUSEMOVE:
      if (on_mouse_move) on_mouse_move();
      return 0;
  }
  return Window::HandleMessage(msg, wp, lp);
}

}  // namespace velkor
