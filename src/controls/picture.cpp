#include "controls/picture.h"

#include <utility>

namespace velkor {

Picture::Picture(Picture&& other) noexcept
    : kind_(std::exchange(other.kind_, Kind::Empty)),
      handle_(std::exchange(other.handle_, nullptr)),
      width_(std::exchange(other.width_, 0)),
      height_(std::exchange(other.height_, 0)) {}

Picture& Picture::operator=(Picture&& other) noexcept {
  if (this != &other) {
    Reset();
    kind_ = std::exchange(other.kind_, Kind::Empty);
    handle_ = std::exchange(other.handle_, nullptr);
    width_ = std::exchange(other.width_, 0);
    height_ = std::exchange(other.height_, 0);
  }
  return *this;
}

Picture::~Picture() { Reset(); }

void Picture::Reset() {
  switch (kind_) {
    case Kind::Bitmap: DeleteObject(static_cast<HBITMAP>(handle_)); break;
    case Kind::Metafile: DeleteEnhMetaFile(static_cast<HENHMETAFILE>(handle_)); break;
    case Kind::Icon: DestroyIcon(static_cast<HICON>(handle_)); break;
    case Kind::Empty: break;
  }
  kind_ = Kind::Empty;
  handle_ = nullptr;
  width_ = height_ = 0;
}

Picture Picture::FromBitmap(HBITMAP bitmap) {
  Picture p;
  BITMAP bm{};
  if (!bitmap) return p;
  GetObjectW(bitmap, sizeof bm, &bm);
  p.kind_ = Kind::Bitmap;
  p.handle_ = bitmap;
  p.width_ = bm.bmWidth;
  p.height_ = bm.bmHeight < 0 ? -bm.bmHeight : bm.bmHeight;
  return p;
}

Picture Picture::FromMetafile(HENHMETAFILE metafile) {
  Picture p;
  if (!metafile) return p;
  ENHMETAHEADER header{};
  GetEnhMetaFileHeader(metafile, sizeof header, &header);
  p.kind_ = Kind::Metafile;
  p.handle_ = metafile;
  // The frame is kept in 0.01 mm; the picture's size is that on the screen.
  HDC screen = GetDC(nullptr);
  const int dpi_x = GetDeviceCaps(screen, LOGPIXELSX), dpi_y = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  p.width_ = MulDiv(header.rclFrame.right - header.rclFrame.left, dpi_x, 2540);
  p.height_ = MulDiv(header.rclFrame.bottom - header.rclFrame.top, dpi_y, 2540);
  return p;
}

Picture Picture::FromIcon(HICON icon) {
  Picture p;
  if (!icon) return p;
  p.kind_ = Kind::Icon;
  p.handle_ = icon;
  ICONINFO info{};
  if (GetIconInfo(icon, &info)) {
    BITMAP bm{};
    GetObjectW(info.hbmMask, sizeof bm, &bm);
    p.width_ = bm.bmWidth;
    p.height_ = info.hbmColor ? bm.bmHeight : bm.bmHeight / 2;
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
  }
  return p;
}

Picture Picture::Copy() const {
  switch (kind_) {
    case Kind::Bitmap:
      return FromBitmap(static_cast<HBITMAP>(CopyImage(handle_, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    case Kind::Metafile: return FromMetafile(CopyEnhMetaFileW(static_cast<HENHMETAFILE>(handle_), nullptr));
    case Kind::Icon: return FromIcon(CopyIcon(static_cast<HICON>(handle_)));
    case Kind::Empty: break;
  }
  return Picture();
}

void Picture::StretchDraw(HDC dc, const RECT& bounds) const {
  const int w = bounds.right - bounds.left, h = bounds.bottom - bounds.top;
  switch (kind_) {
    case Kind::Bitmap: {
      ScopedMemDc src(CreateCompatibleDC(dc));
      SelectObjectScope sel(src.get(), static_cast<HBITMAP>(handle_));
      const int old_mode = SetStretchBltMode(dc, COLORONCOLOR);
      StretchBlt(dc, bounds.left, bounds.top, w, h, src.get(), 0, 0, width_, height_, SRCCOPY);
      SetStretchBltMode(dc, old_mode);
      break;
    }
    case Kind::Metafile: PlayEnhMetaFile(dc, static_cast<HENHMETAFILE>(handle_), &bounds); break;
    case Kind::Icon: DrawIconEx(dc, bounds.left, bounds.top, static_cast<HICON>(handle_), w, h, 0, nullptr, DI_NORMAL); break;
    case Kind::Empty: break;
  }
}

namespace {
constexpr wchar_t kPictureBoxClass[] = L"TImage";
}

void PictureBox::Create(HWND parent, int id, int x, int y, int w, int h) {
  CreateOwnControl(kPictureBoxClass, parent, id, x, y, w, h);
}

void PictureBox::SetPicture(Picture picture) {
  picture_ = std::move(picture);
  if (hwnd()) InvalidateRect(hwnd(), nullptr, TRUE);
}

LRESULT PictureBox::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND: {
      // The parent's background shows where the picture leaves room.
      HWND parent = GetParent(hwnd());
      RECT rc;
      GetClientRect(hwnd(), &rc);
      const HBRUSH brush = reinterpret_cast<HBRUSH>(
          SendMessageW(parent, WM_CTLCOLORSTATIC, wp, reinterpret_cast<LPARAM>(hwnd())));
      FillRect(reinterpret_cast<HDC>(wp), &rc, brush ? brush : GetSysColorBrush(COLOR_BTNFACE));
      return 1;
    }
    case WM_PAINT: {
      PaintDc dc(hwnd());
      RECT rc;
      GetClientRect(hwnd(), &rc);
      picture_.StretchDraw(dc.get(), rc);
      return 0;
    }
    case WM_LBUTTONUP:
      if (on_click) on_click();
      return 0;
    default: break;
  }
  return Window::HandleMessage(msg, wp, lp);
}

}  // namespace velkor
