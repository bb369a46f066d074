#include "launcher/drive_tabs.h"

#include <windowsx.h>

#include "platform/dpi.h"

namespace velkor {
namespace {

constexpr wchar_t kClass[] = L"VelkorDriveTabs";
constexpr int kTabHeight = 22;
constexpr int kStartMargin = 5;

void Fill(HDC dc, int x, int y, int w, int h, COLORREF color) {
  RECT r{x, y, x + w, y + h};
  ScopedBrush brush(CreateSolidBrush(color));
  FillRect(dc, &r, brush.get());
}

// The drive pictures: a diskette for a removable drive and a box seen from
// the front for the others, told apart by what is on its face.
void DrawKind(HDC dc, DriveKind kind) {
  const COLORREF black = RGB(0, 0, 0), grey = RGB(192, 192, 192), dark = RGB(128, 128, 128), white = RGB(255, 255, 255);
  if (kind == DriveKind::Removable) {
    Fill(dc, 0, 0, 15, 15, black);
    Fill(dc, 1, 1, 13, 13, RGB(0, 0, 128));
    Fill(dc, 3, 1, 9, 6, white);      // label
    Fill(dc, 4, 10, 7, 4, grey);      // shutter
    Fill(dc, 8, 11, 2, 2, black);
    return;
  }
  Fill(dc, 0, 0, 16, 9, black);
  Fill(dc, 1, 1, 14, 7, grey);
  Fill(dc, 1, 1, 14, 1, white);
  switch (kind) {
    case DriveKind::Fixed:
      Fill(dc, 12, 5, 2, 2, RGB(0, 255, 0));  // activity light
      break;
    case DriveKind::Remote:
      Fill(dc, 3, 3, 10, 3, dark);
      Fill(dc, 7, 6, 2, 3, black);  // cable
      break;
    case DriveKind::CdRom:
      Fill(dc, 2, 4, 12, 1, black);  // tray
      Fill(dc, 11, 6, 2, 1, RGB(255, 255, 0));
      break;
    case DriveKind::RamDisk:
      for (int x = 2; x < 14; x += 3) Fill(dc, x, 3, 2, 4, RGB(0, 128, 0));  // chips
      break;
    case DriveKind::Removable: break;
  }
}

}  // namespace

SIZE DriveTabSet::BitmapSize(DriveKind kind) { return kind == DriveKind::Removable ? SIZE{15, 15} : SIZE{16, 9}; }

void DriveTabSet::Create(HWND parent, int id, int x, int y, int w, int h) {
  CreateOwnControl(kClass, parent, id, x, y, w, h, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS);
}

void DriveTabSet::SetFont(HFONT font) {
  font_ = font;
  if (hwnd()) InvalidateRect(hwnd(), nullptr, TRUE);
}

HBITMAP DriveTabSet::Picture(DriveKind kind) {
  ScopedBitmap& slot = pictures_[static_cast<int>(kind)];
  if (!slot.get()) {
    const SIZE size = BitmapSize(kind);
    WindowDc screen(nullptr);
    slot.reset(CreateCompatibleBitmap(screen.get(), size.cx, size.cy));
    ScopedMemDc dc(CreateCompatibleDC(screen.get()));
    SelectObjectScope sel(dc.get(), slot.get());
    DrawKind(dc.get(), kind);
  }
  return slot.get();
}

void DriveTabSet::Add(const std::wstring& caption, DriveKind kind) {
  int text_width = 8;
  {
    WindowDc dc(hwnd());
    SelectObjectScope sel(dc.get(), font_ ? font_ : GetStockObject(DEFAULT_GUI_FONT));
    SIZE extent{};
    if (GetTextExtentPoint32W(dc.get(), caption.c_str(), static_cast<int>(caption.size()), &extent))
      text_width = extent.cx;
  }
  // The tab's own room for its caption, widened for the picture before it.
  tabs_.push_back({caption, kind, text_width + 9 + BitmapSize(kind).cx + 10});
  if (index_ < 0) index_ = 0;
  if (hwnd()) InvalidateRect(hwnd(), nullptr, TRUE);
}

void DriveTabSet::SetTabIndex(int index) {
  if (index < -1 || index >= Count() || index == index_) return;
  index_ = index;
  if (hwnd()) InvalidateRect(hwnd(), nullptr, TRUE);
}

RECT DriveTabSet::TabRect(int index) const {
  int x = Scale(kStartMargin);
  for (int i = 0; i < index; ++i) x += tabs_[static_cast<size_t>(i)].width;
  return RECT{x, 0, x + tabs_[static_cast<size_t>(index)].width, Scale(kTabHeight)};
}

void DriveTabSet::ClickTab(int index) {
  if (index < 0 || index >= Count()) return;
  if (index != index_) {
    if (on_change) on_change(index);
    SetTabIndex(index);
    UpdateWindow(hwnd());
  }
  if (on_click) on_click();
}

void DriveTabSet::Paint(HDC dc) {
  RECT client{};
  GetClientRect(hwnd(), &client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNSHADOW));
  SelectObjectScope font(dc, font_ ? font_ : GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  ScopedMemDc mem(CreateCompatibleDC(dc));
  for (int i = 0; i < Count(); ++i) {
    const Tab& tab = tabs_[static_cast<size_t>(i)];
    RECT r = TabRect(i);
    const bool current = i == index_;
    // The current tab hangs from the strip's top edge in the face colour.
    FillRect(dc, &r, GetSysColorBrush(current ? COLOR_BTNFACE : COLOR_WINDOW));
    RECT edge = r;
    if (!current) edge.top += 1;
    DrawEdge(dc, &edge, current ? EDGE_RAISED : BDR_RAISEDINNER, BF_LEFT | BF_RIGHT | BF_BOTTOM);
    const SIZE bs = BitmapSize(tab.kind);
    {
      SelectObjectScope sel(mem.get(), Picture(tab.kind));
      BitBlt(dc, r.left + 3, r.top + 4, bs.cx, bs.cy, mem.get(), 0, 0, SRCCOPY);
    }
    TextOutW(dc, r.left + bs.cx + 7, r.top + 2, tab.caption.c_str(), static_cast<int>(tab.caption.size()));
  }
}

LRESULT DriveTabSet::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (LRESULT r; HandlePaint(msg, wp, r, [this](HDC dc) { Paint(dc); })) return r;
  switch (msg) {
    case WM_LBUTTONDOWN: {
      const POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      for (int i = 0; i < Count(); ++i) {
        const RECT r = TabRect(i);
        if (PtInRect(&r, p)) {
          ClickTab(i);
          break;
        }
      }
      return 0;
    }
  }
  return Window::HandleMessage(msg, wp, lp);
}

}  // namespace velkor
