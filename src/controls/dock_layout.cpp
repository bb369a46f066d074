#include "controls/dock_layout.h"

#include <algorithm>

namespace velkor {

int DockLayout::Add(Dock dock, int size) {
  panes_.push_back(Pane{dock, size, true});
  return count() - 1;
}

std::vector<PaneRect> DockLayout::Arrange(int width, int height) const {
  std::vector<PaneRect> places(panes_.size());
  int left = 0, top = 0, right = width, bottom = height;
  auto across = [&] { return std::max(0, right - left); };
  auto down = [&] { return std::max(0, bottom - top); };
  for (size_t i = 0; i < panes_.size(); ++i) {
    const Pane& p = panes_[i];
    if (!p.visible) continue;
    switch (p.dock) {
      case Dock::Top:
        places[i] = {left, top, across(), p.size};
        top += p.size;
        break;
      case Dock::Bottom:
        bottom = std::max(top, bottom - p.size);
        places[i] = {left, bottom, across(), p.size};
        break;
      case Dock::Left:
        places[i] = {left, top, p.size, down()};
        left += p.size;
        break;
      case Dock::Right:
        right = std::max(left, right - p.size);
        places[i] = {right, top, p.size, down()};
        break;
      case Dock::Fill:
        break;
    }
  }
  for (size_t i = 0; i < panes_.size(); ++i)
    if (panes_[i].visible && panes_[i].dock == Dock::Fill) places[i] = {left, top, across(), down()};
  return places;
}

}  // namespace velkor
