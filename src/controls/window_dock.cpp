#include "controls/window_dock.h"

#include "ui/window.h"

namespace velkor {

int WindowDock::Add(Dock dock, HWND window, int size) {
  windows_.push_back(window);
  return layout_.Add(dock, size);
}

std::vector<PaneRect> WindowDock::Arrange(HWND parent) {
  for (int i = 0; i < layout_.count(); ++i)
    if (HWND w = windows_[static_cast<size_t>(i)])
      layout_.SetVisible(i, (WindowStyle(w) & WS_VISIBLE) != 0);
  RECT rc{};
  GetClientRect(parent, &rc);
  return layout_.Arrange(rc.right, rc.bottom);
}

void WindowDock::Move(HWND parent, const std::vector<PaneRect>& places) const {
  HDWP dwp = BeginDeferWindowPos(layout_.count());
  for (int i = 0; i < layout_.count(); ++i) {
    HWND w = windows_[static_cast<size_t>(i)];
    if (!w || !layout_.visible(i)) continue;
    const PaneRect& to = places[static_cast<size_t>(i)];
    RECT now{};
    GetWindowRect(w, &now);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&now), 2);
    if (now.left == to.x && now.top == to.y && now.right - now.left == to.w && now.bottom - now.top == to.h) continue;
    if (dwp) dwp = DeferWindowPos(dwp, w, nullptr, to.x, to.y, to.w, to.h, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (dwp) EndDeferWindowPos(dwp);
}

}  // namespace velkor
