#pragma once
// Docking arithmetic, without windows: panes take their room from the edges
// of a client area in the order they were added (a top pane added after a
// left pane spans only what the left pane left), and the fill panes share
// what remains at the end. A pane never reaches past the edge its earlier
// neighbours left, so nothing gets a negative size when the area is too
// small. A hidden pane takes no room. controls/window_dock.h moves windows
// to the result.
#include <cstddef>
#include <vector>

namespace velkor {

enum class Dock { Top, Bottom, Left, Right, Fill };

struct PaneRect {
  int x = 0;
  int y = 0;
  int w = 0;
  int h = 0;
  bool operator==(const PaneRect&) const = default;
};

class DockLayout {
 public:
  // size: the height of a top or bottom pane, the width of a left or right
  // one; a fill pane has none. Returns the pane's number.
  int Add(Dock dock, int size = 0);
  void SetSize(int pane, int size) { panes_[static_cast<std::size_t>(pane)].size = size; }
  void SetVisible(int pane, bool visible) { panes_[static_cast<std::size_t>(pane)].visible = visible; }
  bool visible(int pane) const { return panes_[static_cast<std::size_t>(pane)].visible; }
  int count() const { return static_cast<int>(panes_.size()); }

  // Each pane's place in a client area of that size, by pane number; a
  // hidden pane's place is empty.
  std::vector<PaneRect> Arrange(int width, int height) const;

 private:
  struct Pane {
    Dock dock;
    int size;
    bool visible;
  };
  std::vector<Pane> panes_;
};

}  // namespace velkor
