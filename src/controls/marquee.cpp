#include "controls/marquee.h"

#include "platform/error.h"

namespace velkor {
namespace {

constexpr COLORREF kStripColor = RGB(0, 255, 255);  // aqua, whatever the panel's own colour
constexpr wchar_t kDrawFailed[] = L"ご挨拶 失敗しました。";

UINT JustifyFlag(Justification j) {
  switch (j) {
    case Justification::Center: return DT_CENTER;
    case Justification::Right: return DT_RIGHT;
    case Justification::Left: break;
  }
  return DT_LEFT;
}

}  // namespace

Marquee::Marquee() {
  Look look;
  look.bevel_width = 3;
  SetLook(look);
}

Marquee::~Marquee() { StopScroll(); }

void Marquee::Create(HWND parent, int id, int x, int y, int w, int h) {
  Panel::Create(parent, id, x, y, w, h, look());
}

void Marquee::StartScroll() {
  if (active_ || Items.empty() || !hwnd()) return;
  active_ = true;
  BuildStrip();
  SetTimer(hwnd(), kStepTimer, kStepMs, nullptr);
}

void Marquee::StopScroll() {
  if (!active_) return;
  if (hwnd()) KillTimer(hwnd(), kStepTimer);
  // The marquee is idle again even when the handler fails.
  struct Idle {
    Marquee* m;
    ~Idle() {
      m->active_ = false;
      m->strip_.reset();
      if (m->hwnd()) InvalidateRect(m->hwnd(), nullptr, TRUE);
    }
  } idle{this};
  if (OnDone) {
    const auto done = OnDone;
    done();
  }
}

void Marquee::BuildStrip() {
  WindowDc screen(hwnd());
  HFONT font = this->font() ? this->font() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  TEXTMETRICW tm{};
  {
    SelectObjectScope sel(screen.get(), font);
    GetTextMetricsW(screen.get(), &tm);
  }
  RECT client{};
  GetClientRect(hwnd(), &client);
  run_.line_height = MarqueeRun::LineHeight(tm.tmHeight, tm.tmInternalLeading);
  run_.line_count = static_cast<int>(Items.size());
  run_.height = client.bottom;
  run_.scroll_down = ScrollDown;
  offset_ = run_.StartOffset();

  const RECT strip_rect{0, 0, client.right, run_.StripHeight()};
  strip_.reset(CreateCompatibleBitmap(screen.get(), strip_rect.right, strip_rect.bottom));
  if (!strip_) throw Error(kDrawFailed);
  ScopedMemDc dc(CreateCompatibleDC(screen.get()));
  SelectObjectScope sel_bitmap(dc.get(), strip_.get());
  SelectObjectScope sel_font(dc.get(), font);
  SetBkColor(dc.get(), kStripColor);
  ExtTextOutW(dc.get(), 0, 0, ETO_OPAQUE, &strip_rect, nullptr, 0, nullptr);
  SetBkMode(dc.get(), TRANSPARENT);
  SetTextColor(dc.get(), look().text_color == CLR_INVALID ? GetSysColor(COLOR_BTNTEXT) : look().text_color);

  // The strip's columns are the control's: the lines stand inside the bevels.
  const RECT view = ViewRect();
  int y = client.bottom;
  for (const std::wstring& line : Items) {
    DrawLine(dc.get(), line, RECT{view.left, y, view.right, strip_rect.bottom});
    y += run_.line_height;
  }
}

void Marquee::DrawLine(HDC dc, const std::wstring& line, RECT rc) const {
  const int drawn = DrawTextW(dc, line.c_str(), static_cast<int>(line.size()), &rc,
                              DT_SINGLELINE | DT_NOPREFIX | JustifyFlag(Justify));
  if (drawn <= 0) throw Error(kDrawFailed);
}

void Marquee::StepTimerTimer() {
  if (!active_) return;
  const std::optional<int> next = run_.Next(offset_);
  if (!next) {
    StopScroll();  // repaints the whole face
    return;
  }
  offset_ = *next;
  // Only the view changes, and it is covered entirely: no erase, no flicker.
  const RECT view = ViewRect();
  InvalidateRect(hwnd(), &view, FALSE);
}

// Strip row offset + y shows at the control's row y, inside the bevels.
void Marquee::PaintStrip(HDC dc, const RECT& update) {
  const RECT view = ViewRect();
  if (update.left < view.left || update.top < view.top || update.right > view.right || update.bottom > view.bottom) {
    const int saved = SaveDC(dc);
    ExcludeClipRect(dc, view.left, view.top, view.right, view.bottom);
    Panel::HandleMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), 0);
    RestoreDC(dc, saved);
  }
  ScopedMemDc src(CreateCompatibleDC(dc));
  SelectObjectScope sel(src.get(), strip_.get());
  BitBlt(dc, view.left, view.top, view.right - view.left, view.bottom - view.top, src.get(), view.left,
         offset_ + view.top, SRCCOPY);
}

LRESULT Marquee::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_TIMER:
      if (wp == kStepTimer) StepTimerTimer();
      return 0;
    case WM_PAINT:
      if (active_ && strip_) {
        PaintDc dc(hwnd());
        PaintStrip(dc.get(), dc.area());
        return 0;
      }
      break;
    case WM_PRINTCLIENT:
      if (active_ && strip_) {
        RECT client{};
        GetClientRect(hwnd(), &client);
        PaintStrip(reinterpret_cast<HDC>(wp), client);
        return 0;
      }
      break;
    case WM_DESTROY:
      StopScroll();
      break;
  }
  return Panel::HandleMessage(msg, wp, lp);
}

}  // namespace velkor
