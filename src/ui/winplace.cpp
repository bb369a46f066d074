#include "ui/winplace.h"

#include "state/settings.h"
#include "platform/screen_fit.h"
#include "ui/window.h"

namespace velkor {
namespace {

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

ScreenRect FromRect(const RECT& r) { return ScreenRect{r.left, r.top, r.right, r.bottom}; }
RECT ToRect(const ScreenRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

// How far the placement's normal rectangle lies from the screen's
// coordinates. Windows gives it in work-area coordinates (a task bar on the
// left or at the top moves their origin); other systems, Wine among them,
// give it as the window stands. Read off the window itself while it shows
// normally, so that both come out right.
POINT PlacementOffset(HWND window, const WINDOWPLACEMENT& wp) {
  RECT now{};
  if (IsIconic(window) || IsZoomed(window) || !GetWindowRect(window, &now)) return POINT{0, 0};
  return POINT{now.left - wp.rcNormalPosition.left, now.top - wp.rcNormalPosition.top};
}

// A rectangle (screen coordinates) on no screen at all (its monitor is gone,
// or it was stored off every screen) moves onto the nearest screen's work
// area, keeping its size where it fits; one that shows keeps its place as
// long as its title bar can be reached there.
RECT BringWithinReach(const RECT& r) {
  const int caption = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME);
  return ToRect(WithCaptionInReach(FromRect(r), FromRect(WorkAreaNear(r)), caption, 4 * caption));
}

}  // namespace

int RestorePlacement(HWND window, const std::wstring& section, bool apply_show) {
  const int sw = GetSystemMetrics(SM_CXSCREEN);
  const int sh = GetSystemMetrics(SM_CYSCREEN);
  WINDOWPLACEMENT wp{};
  wp.length = sizeof wp;
  GetWindowPlacement(window, &wp);

  Settings ini;
  wp.flags = static_cast<UINT>(ini.ReadInteger(section, L"PlaceFlags", static_cast<int>(wp.flags)));
  wp.showCmd = static_cast<UINT>(ini.ReadInteger(section, L"PlaceShowCmd", static_cast<int>(wp.showCmd)));
  wp.ptMinPosition.x = ini.ReadInteger(section, L"PlaceMinPos.X", wp.ptMinPosition.x);
  wp.ptMinPosition.y = ini.ReadInteger(section, L"PlaceMinPos.Y", wp.ptMinPosition.y);
  wp.ptMaxPosition.x = ini.ReadInteger(section, L"PlaceMaxPos.X", wp.ptMaxPosition.x);
  wp.ptMaxPosition.y = ini.ReadInteger(section, L"PlaceMaxPos.Y", wp.ptMaxPosition.y);
  const int show = static_cast<int>(wp.showCmd);

  const RECT& r = wp.rcNormalPosition;
  const int w = r.right - r.left, h = r.bottom - r.top;
  RECT n;
  n.left = ini.ReadInteger(section, L"PlaceNormalPos.Left", (sw - w) / 2);
  n.top = ini.ReadInteger(section, L"PlaceNormalPos.Top", (sh - h) / 2);
  n.right = ini.ReadInteger(section, L"PlaceNormalPos.Right", n.left + w);
  n.bottom = ini.ReadInteger(section, L"PlaceNormalPos.Bottom", n.top + h);
  const POINT offset = PlacementOffset(window, wp);
  OffsetRect(&n, offset.x, offset.y);
  n = BringWithinReach(n);
  OffsetRect(&n, -offset.x, -offset.y);
  wp.rcNormalPosition = n;

  if (!apply_show) wp.showCmd = IsWindowVisible(window) ? SW_SHOWNA : SW_HIDE;
  SetWindowPlacement(window, &wp);
  return show;
}

int RestorePlacement(HWND window) { return RestorePlacement(window, ClassOf(window)); }

void SavePlacement(HWND window, const std::wstring& section) {
  WINDOWPLACEMENT wp{};
  wp.length = sizeof wp;
  if (!GetWindowPlacement(window, &wp)) return;
  Settings ini;
  ini.WriteInteger(section, L"PlaceFlags", static_cast<int>(wp.flags));
  ini.WriteInteger(section, L"PlaceShowCmd", static_cast<int>(wp.showCmd));
  ini.WriteInteger(section, L"PlaceMinPos.X", wp.ptMinPosition.x);
  ini.WriteInteger(section, L"PlaceMinPos.Y", wp.ptMinPosition.y);
  ini.WriteInteger(section, L"PlaceMaxPos.X", wp.ptMaxPosition.x);
  ini.WriteInteger(section, L"PlaceMaxPos.Y", wp.ptMaxPosition.y);
  ini.WriteInteger(section, L"PlaceNormalPos.Left", wp.rcNormalPosition.left);
  ini.WriteInteger(section, L"PlaceNormalPos.Top", wp.rcNormalPosition.top);
  ini.WriteInteger(section, L"PlaceNormalPos.Right", wp.rcNormalPosition.right);
  ini.WriteInteger(section, L"PlaceNormalPos.Bottom", wp.rcNormalPosition.bottom);
}

void SavePlacement(HWND window) { SavePlacement(window, ClassOf(window)); }

}  // namespace velkor
