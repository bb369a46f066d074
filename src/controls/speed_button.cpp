#include "controls/speed_button.h"

#include "controls/panel.h"
#include "ui/app.h"
#include "platform/dpi.h"

namespace velkor {
namespace {

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

SpeedButton::~SpeedButton() {
  if (host_) host_->RemoveButton(this);
}

void SpeedButton::Create(Panel& host, int id, int x, int y, int w, int h, bool flat, HWND command_target) {
  id_ = id;
  flat_ = flat;
  target_ = command_target;
  rect_ = RECT{x, y, x + w, y + h};
  host_ = &host;
  host.AddButton(this);
}

void SpeedButton::Create(Panel& host, const SpeedButtonSpec& spec, int y, int size, HWND command_target) {
  Create(host, spec.id, Scale(spec.x), Scale(y), Scale(size), Scale(size), true, command_target);
  SetGlyphResource(spec.glyph);
  SetHint(spec.hint);
  SetEnabled(spec.enabled);
}

void SpeedButton::Invalidate() const {
  if (host_ && host_->hwnd()) InvalidateRect(host_->hwnd(), &rect_, FALSE);
}

void SpeedButton::SetBounds(int x, int y, int w, int h) {
  Invalidate();
  rect_ = RECT{x, y, x + w, y + h};
  Invalidate();
  if (host_) host_->ButtonChanged(this);
}

void SpeedButton::SetGlyph(HBITMAP glyph) {
  glyph_.reset(glyph);
  Invalidate();
}

void SpeedButton::SetGlyphResource(const wchar_t* name) {
  SetGlyph(static_cast<HBITMAP>(
      LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

void SpeedButton::SetPictureGlyph(HBITMAP picture) {
  const int w = rect_.right - rect_.left - 3, h = rect_.bottom - rect_.top - 3;
  WindowDc screen(nullptr);
  HBITMAP glyph = CreateCompatibleBitmap(screen.get(), w, h);
  {
    ScopedMemDc dst(CreateCompatibleDC(screen.get()));
    ScopedMemDc src(CreateCompatibleDC(screen.get()));
    SelectObjectScope sel_dst(dst.get(), glyph);
    SelectObjectScope sel_src(src.get(), picture);
    BITMAP bm{};
    GetObjectW(picture, sizeof bm, &bm);
    SetStretchBltMode(dst.get(), COLORONCOLOR);
    StretchBlt(dst.get(), 0, 0, w, h, src.get(), 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
    // The bottom-left pixel names the transparent colour: the light grey stays.
    SetPixel(dst.get(), 0, h - 1, GetSysColor(COLOR_BTNSHADOW));
  }
  SetGlyph(glyph);
}

void SpeedButton::SetIconGlyph(HICON icon) {
  WindowDc screen(nullptr);
  ScopedBitmap square(CreateCompatibleBitmap(screen.get(), 33, 33));
  {
    ScopedMemDc dc(CreateCompatibleDC(screen.get()));
    SelectObjectScope sel(dc.get(), square.get());
    RECT rc{0, 0, 33, 33};
    FillRect(dc.get(), &rc, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
    DrawIconEx(dc.get(), 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
  }
  SetPictureGlyph(square.get());
}

void SpeedButton::SetIconResourceGlyph(const wchar_t* icon_name) {
  ScopedIcon icon(static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), icon_name, IMAGE_ICON, 32, 32, 0)));
  if (icon) SetIconGlyph(icon.get());
}

void SpeedButton::SetHint(std::wstring hint) {
  hint_ = std::move(hint);
  if (host_) host_->ButtonChanged(this);
}

void SpeedButton::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Invalidate();
}

void SpeedButton::SetVisible(bool visible) {
  if (visible == visible_) return;
  Invalidate();
  visible_ = visible;
  Invalidate();
}

void SpeedButton::Click() {
  if (!enabled_ || !visible_) return;
  HWND target = target_ ? target_ : (host_ ? GetParent(host_->hwnd()) : nullptr);
  SendMessageW(target, WM_COMMAND, MAKEWPARAM(id_, BN_CLICKED), reinterpret_cast<LPARAM>(host_ ? host_->hwnd() : nullptr));
}

void SpeedButton::Paint(HDC dc, bool hot, bool pressed) const {
  RECT rc = rect_;
  FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
  const bool down = pressed && hot;
  if (!flat_) {
    DrawEdge(dc, &rc, down ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
  } else if (enabled_ && (hot || pressed)) {
    DrawEdge(dc, &rc, down ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
  }
  if (glyph_) {
    BITMAP bm{};
    GetObjectW(glyph_.get(), sizeof bm, &bm);
    int x = rect_.left + (rect_.right - rect_.left - bm.bmWidth) / 2;
    int y = rect_.top + (rect_.bottom - rect_.top - bm.bmHeight) / 2;
    if (down) ++x, ++y;
    DrawGlyph(dc, glyph_.get(), x, y, !enabled_);
  }
}

}  // namespace velkor
