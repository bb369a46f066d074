#include "frame/caption_clock.h"

#include "frame/clock_logic.h"
#include "platform/window.h"

namespace velkor {
namespace {
constexpr wchar_t kClass[] = L"VelkorCaptionClock";
}

CaptionClock::CaptionClock(HWND frame) : frame_(frame) {
  WNDCLASSEXW wc{};
  wc.lpszClassName = kClass;
  RegisterWindowClass(wc);
  Create(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kClass, L"", WS_POPUP, 0, 0, 0, 0, frame, nullptr);
}

void CaptionClock::Place() {
  const DWORD style = WindowStyle(frame_);
  RECT wr{};
  GetWindowRect(frame_, &wr);
  CaptionFrame f;
  f.frame_cx = GetSystemMetrics(SM_CXFRAME);
  f.frame_cy = GetSystemMetrics(SM_CYFRAME);
  f.small_icon = GetSystemMetrics(SM_CXSMICON);
  f.caption = GetSystemMetrics(SM_CYCAPTION);
  f.window_width = wr.right - wr.left;
  f.border = (style & (WS_BORDER | WS_THICKFRAME | WS_DLGFRAME)) != 0;
  f.sizeable_or_single = (style & WS_THICKFRAME) || (style & WS_CAPTION) == WS_CAPTION;
  f.system_menu = (style & WS_SYSMENU) != 0;
  f.minimize_box = (style & WS_MINIMIZEBOX) != 0;
  f.maximize_box = (style & WS_MAXIMIZEBOX) != 0;
  f.help_box = (WindowExStyle(frame_) & WS_EX_CONTEXTHELP) != 0;
  ClockBand band;
  if (!IsWindowVisible(frame_) || IsIconic(frame_) || !CaptionClockBand(f, band)) {
    band_ = {};
    ShowWindow(hwnd(), SW_HIDE);
    return;
  }
  if (!font_ || font_height_ != f.caption - 1) {
    font_height_ = f.caption - 1;
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof ncm;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
    LOGFONTW lf = ncm.lfCaptionFont;
    lf.lfHeight = -font_height_;
    lf.lfWeight = FW_NORMAL;
    font_.reset(CreateFontIndirectW(&lf));
    WindowDc dc(hwnd());
    SelectObjectScope sel(dc.get(), font_.get());
    SIZE size{};
    GetTextExtentPoint32W(dc.get(), L"00:00:00 ", 9, &size);
    text_width_ = size.cx;
  }
  band_ = {band.right - text_width_, band.top, band.right, band.bottom};
  SetWindowPos(hwnd(), nullptr, wr.left + band_.left, wr.top + band_.top, band_.right - band_.left,
               band_.bottom - band_.top, SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_SHOWWINDOW);
}

void CaptionClock::Show(const std::wstring& text, bool active) {
  text_ = text;
  active_ = active;
  Place();
  if (!IsWindowVisible(hwnd())) return;
  InvalidateRect(hwnd(), nullptr, FALSE);
  UpdateWindow(hwnd());
}

RECT CaptionClock::band() const { return band_; }

LRESULT CaptionClock::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_NCHITTEST:
      return HTTRANSPARENT;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PaintDc paint(hwnd());
      const HDC dc = paint.get();
      RECT rc{};
      GetClientRect(hwnd(), &rc);
      SetBkColor(dc, GetSysColor(active_ ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
      SetTextColor(dc, RGB(255, 255, 255));
      {
        SelectObjectScope sel(dc, font_.get());
        ExtTextOutW(dc, 0, 0, ETO_OPAQUE | ETO_CLIPPED, &rc, text_.c_str(), static_cast<UINT>(text_.size()), nullptr);
      }
      return 0;
    }
  }
  return Window::HandleMessage(msg, wp, lp);
}

}  // namespace velkor
