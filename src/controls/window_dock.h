#pragma once
// Windows docked in their parent's client area (see controls/dock_layout.h).
// The form lists its panes in the order they dock, each with its window;
// a pane whose window is hidden takes no room, and a pane without a window
// only keeps its room (a status bar that places itself, or a window that
// its form moves on its own).
#include <vector>

#include "controls/dock_layout.h"
#include "platform/win32.h"

namespace velkor {

class WindowDock {
 public:
  int Add(Dock dock, HWND window, int size = 0);
  void SetSize(int pane, int size) { layout_.SetSize(pane, size); }

  // The panes' places in the parent's client area.
  std::vector<PaneRect> Arrange(HWND parent);
  // Moves the windows to their places in one deferred move. Every window
  // move is a round trip to the window server: a window already in place is
  // left alone.
  void Move(HWND parent, const std::vector<PaneRect>& places) const;
  void Layout(HWND parent) { Move(parent, Arrange(parent)); }

 private:
  DockLayout layout_;
  std::vector<HWND> windows_;
};

}  // namespace velkor
