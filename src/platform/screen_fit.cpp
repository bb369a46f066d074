#include "platform/screen_fit.h"

#include <algorithm>

namespace velkor {
namespace {

// The start of a span of length size moved the least way into [low, high);
// a span longer than that starts at low.
int Fit(int start, int size, int low, int high) { return std::max(low, std::min(start, high - size)); }

ScreenRect MovedTo(ScreenRect r, int left, int top) {
  return ScreenRect{left, top, left + r.width(), top + r.height()};
}

bool Meets(const ScreenRect& a, const ScreenRect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

}  // namespace

ScreenRect KeepInside(ScreenRect r, ScreenRect area) {
  return MovedTo(r, Fit(r.left, r.width(), area.left, area.right), Fit(r.top, r.height(), area.top, area.bottom));
}

ScreenRect WithCaptionInReach(ScreenRect r, ScreenRect area, int caption, int grip) {
  if (!Meets(r, area)) return KeepInside(r, area);
  const int top = Fit(r.top, std::min(caption, r.height()), area.top, area.bottom);
  const int reach = std::min(grip, r.width());
  // The left edge may lie as far left as leaves reach pixels on the area, and
  // as far right as leaves reach pixels before its right end.
  const int left = std::clamp(r.left, area.left + reach - r.width(), std::max(area.left + reach - r.width(), area.right - reach));
  return MovedTo(r, left, top);
}

}  // namespace velkor
