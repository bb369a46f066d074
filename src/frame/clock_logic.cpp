#include "frame/clock_logic.h"

#include <cstdio>

namespace velkor {

std::wstring ClockTextOf(int hour, int minute, int second) {
  wchar_t text[16];
  std::swprintf(text, 16, L"%02d:%02d:%02d", hour % 100, minute % 100, second % 100);
  return text;
}

TitleStep TitleStepOf(wchar_t digit) {
  if (digit == L'0') return TitleStep::MascotName;
  if (digit == L'5') return TitleStep::YourFriends;
  return TitleStep::Time;
}

bool CaptionClockBand(const CaptionFrame& f, ClockBand& band) {
  if (!f.border) return false;
  int buttons = 0;
  if (f.system_menu) {
    buttons = f.small_icon + 3;
    if (f.sizeable_or_single) {
      if (!f.minimize_box && !f.maximize_box && f.help_box) buttons += f.small_icon + 2;
      buttons += 1;
      if (f.minimize_box || f.maximize_box) buttons += 2 * f.small_icon + 3;
    }
  }
  band.top = f.frame_cx;
  band.bottom = f.caption + f.frame_cx - 1;
  band.right = f.window_width - f.frame_cy - buttons;
  return true;
}

std::vector<StripeRect> StripeLayout(int width, int height) {
  std::vector<StripeRect> stripes;
  if (width <= 0 || height <= 0) return stripes;
  const int q = width / 4;
  const struct {
    int left, right, step;
  } bands[] = {{0, q, 16}, {q, width / 2, 32}, {width / 2, width - q, 32}, {width - q, width, 16}};
  for (const auto& b : bands)
    for (int top = 0; top < height; top += b.step) stripes.push_back({b.left, top, b.right, top + b.step});
  return stripes;
}

int StripeColors::Component() {
  // xorshift32: cheap, and the same on every run and every machine.
  state_ ^= state_ << 13;
  state_ ^= state_ >> 17;
  state_ ^= state_ << 5;
  return static_cast<int>(state_ % 255u);
}

StripeColors::Rgb StripeColors::Next() {
  Rgb c;
  c.r = Component();
  c.g = Component();
  c.b = Component();
  return c;
}

}  // namespace velkor
