#include "frame/winplace.h"

#include <algorithm>

#include "frame/settings.h"

namespace velkor {
namespace {

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

// A rectangle on no screen at all (its monitor is gone, or it was stored off
// every screen) moves onto the nearest screen's work area, keeping its size
// where it fits; one that shows on any screen stays as stored.
RECT BringWithinReach(RECT r) {
  if (MonitorFromRect(&r, MONITOR_DEFAULTTONULL)) return r;
  MONITORINFO mi{};
  mi.cbSize = sizeof mi;
  if (!GetMonitorInfoW(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &mi)) return r;
  const RECT& wa = mi.rcWork;
  const LONG w = std::min(r.right - r.left, wa.right - wa.left);
  const LONG h = std::min(r.bottom - r.top, wa.bottom - wa.top);
  const LONG left = std::clamp(r.left, wa.left, wa.right - w);
  const LONG top = std::clamp(r.top, wa.top, wa.bottom - h);
  return RECT{left, top, left + w, top + h};
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
  wp.rcNormalPosition = BringWithinReach(n);

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
