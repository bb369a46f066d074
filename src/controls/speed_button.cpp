#include "controls/speed_button.h"

#include "controls/panel.h"
#include "platform/app.h"

namespace velkor {
namespace {
constexpr wchar_t kClass[] = L"TSpeedButton";

// A monochrome mask of the glyph: 1 where the glyph is transparent.
HBITMAP MakeMask(HDC src, int w, int h, COLORREF transparent) {
  HBITMAP mask = CreateBitmap(w, h, 1, 1, nullptr);
  ScopedMemDc mdc(CreateCompatibleDC(src));
  SelectObjectScope sel(mdc.get(), mask);
  const COLORREF old_bk = SetBkColor(src, transparent);
  BitBlt(mdc.get(), 0, 0, w, h, src, 0, 0, SRCCOPY);
  SetBkColor(src, old_bk);
  return mask;
}

}  // namespace

void DrawGlyph(HDC dc, HBITMAP glyph, int x, int y, bool disabled) {
  if (!glyph) return;
  BITMAP bm{};
  GetObjectW(glyph, sizeof bm, &bm);
  const int w = bm.bmWidth, h = bm.bmHeight;
  ScopedMemDc src(CreateCompatibleDC(dc));
  SelectObjectScope sel_src(src.get(), glyph);
  const COLORREF transparent = GetPixel(src.get(), 0, h - 1);
  ScopedBitmap mask(MakeMask(src.get(), w, h, transparent));
  ScopedMemDc mdc(CreateCompatibleDC(dc));
  SelectObjectScope sel_mask(mdc.get(), mask.get());
  const COLORREF old_text = SetTextColor(dc, RGB(0, 0, 0));
  const COLORREF old_bk = SetBkColor(dc, RGB(255, 255, 255));
  if (!disabled) {
    // Classic transparent blit: punch the mask, then paint the glyph's colours in.
    ScopedBitmap colors(CreateCompatibleBitmap(dc, w, h));
    ScopedMemDc cdc(CreateCompatibleDC(dc));
    SelectObjectScope sel_c(cdc.get(), colors.get());
    BitBlt(cdc.get(), 0, 0, w, h, src.get(), 0, 0, SRCCOPY);
    SetBkColor(cdc.get(), RGB(0, 0, 0));
    SetTextColor(cdc.get(), RGB(255, 255, 255));
    BitBlt(cdc.get(), 0, 0, w, h, mdc.get(), 0, 0, SRCAND);  // transparent pixels become black
    BitBlt(dc, x, y, w, h, mdc.get(), 0, 0, SRCAND);          // glyph pixels become black on dc
    BitBlt(dc, x, y, w, h, cdc.get(), 0, 0, SRCPAINT);
  } else {
    // Every non-transparent pixel in highlight, offset by one, then in shadow.
    auto paint = [&](int dx, int dy, int color_index) {
      ScopedBrush brush(CreateSolidBrush(GetSysColor(color_index)));
      HGDIOBJ old = SelectObject(dc, brush.get());
      // Where the mask is 0 (glyph), take the brush; keep dc where it is 1.
      BitBlt(dc, x + dx, y + dy, w, h, mdc.get(), 0, 0, 0x00B8074A);  // PSDPxax
      SelectObject(dc, old);
    };
    paint(1, 1, COLOR_BTNHIGHLIGHT);
    paint(0, 0, COLOR_BTNSHADOW);
  }
  SetTextColor(dc, old_text);
  SetBkColor(dc, old_bk);
}

void SpeedButton::RegisterClass() {
  WNDCLASSEXW wc{};
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpszClassName = kClass;
  RegisterWindowClass(wc);
}

void SpeedButton::Create(HWND parent, int id, int x, int y, int w, int h, bool flat, HWND command_target) {
  RegisterClass();
  id_ = id;
  flat_ = flat;
  target_ = command_target;
  Window::Create(0, kClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, x, y, w, h, parent,
                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
}

void SpeedButton::SetGlyph(HBITMAP glyph) {
  glyph_.reset(glyph);
  if (hwnd()) InvalidateRect(hwnd(), nullptr, TRUE);
}

void SpeedButton::SetGlyphResource(const wchar_t* name) {
  SetGlyph(static_cast<HBITMAP>(
      LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

void SpeedButton::SetHint(std::wstring hint) { Application::Get().SetControlHint(hwnd(), std::move(hint)); }

void SpeedButton::SetEnabled(bool enabled) {
  if (enabled == this->enabled()) return;
  EnableWindow(hwnd(), enabled);
  if (!enabled) hot_ = pressed_ = false;
  InvalidateRect(hwnd(), nullptr, TRUE);
}

void SpeedButton::Click() {
  if (!enabled()) return;
  SendMessageW(target_ ? target_ : GetParent(hwnd()), WM_COMMAND, MAKEWPARAM(id_, BN_CLICKED),
               reinterpret_cast<LPARAM>(hwnd()));
}

void SpeedButton::Paint(HDC dc) {
  RECT rc{};
  GetClientRect(hwnd(), &rc);
  HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
  FillRect(dc, &rc, face);
  const bool down = pressed_ && hot_;
  RECT edge = rc;
  if (!flat_) {
    DrawEdge(dc, &edge, down ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
  } else if (enabled() && (hot_ || pressed_)) {
    DrawEdge(dc, &edge, down ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
  }
  if (glyph_) {
    BITMAP bm{};
    GetObjectW(glyph_.get(), sizeof bm, &bm);
    int x = (rc.right - bm.bmWidth) / 2, y = (rc.bottom - bm.bmHeight) / 2;
    if (down) ++x, ++y;
    DrawGlyph(dc, glyph_.get(), x, y, !enabled());
  }
}

LRESULT SpeedButton::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
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
    case WM_MOUSEMOVE: {
      RECT rc;
      GetClientRect(hwnd(), &rc);
      const POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      const bool inside = PtInRect(&rc, p) != FALSE;
      if (inside != hot_) {
        hot_ = inside;
        InvalidateRect(hwnd(), nullptr, FALSE);
      }
      if (!tracking_) {
        TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, hwnd(), 0};
        tracking_ = TrackMouseEvent(&tme) != FALSE;
      }
      return 0;
    }
    case WM_MOUSELEAVE:
      tracking_ = false;
      if (hot_) {
        hot_ = false;
        InvalidateRect(hwnd(), nullptr, FALSE);
      }
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      pressed_ = true;
      hot_ = true;
      SetCapture(hwnd());
      InvalidateRect(hwnd(), nullptr, FALSE);
      return 0;
    case WM_LBUTTONUP: {
      const bool click = pressed_ && hot_;
      pressed_ = false;
      if (GetCapture() == hwnd()) ReleaseCapture();
      InvalidateRect(hwnd(), nullptr, FALSE);
      UpdateWindow(hwnd());
      // The command may close the form and free this button: nothing after it.
      if (click) Click();
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (pressed_) {
        pressed_ = false;
        InvalidateRect(hwnd(), nullptr, FALSE);
      }
      return 0;
    case WM_ENABLE:
      InvalidateRect(hwnd(), nullptr, TRUE);
      return 0;
  }
  return Window::HandleMessage(msg, wp, lp);
}

}  // namespace velkor
