// The docking arithmetic of the forms' panes.
#include <gtest/gtest.h>

#include "controls/dock_layout.h"

using namespace velkor;

namespace {

// A tool bar, a status line and the area between them, as the main window docks them.
DockLayout Bands() {
  DockLayout dock;
  dock.Add(Dock::Top, 40);
  dock.Add(Dock::Bottom, 20);
  dock.Add(Dock::Fill);
  return dock;
}

}  // namespace

TEST(DockLayout, BandsShareTheAreaAndNeverGoNegativeWhenItIsTooSmall) {
  const std::vector<PaneRect> normal = Bands().Arrange(300, 200);
  EXPECT_EQ(normal[0], (PaneRect{0, 0, 300, 40}));
  EXPECT_EQ(normal[1], (PaneRect{0, 180, 300, 20}));
  EXPECT_EQ(normal[2], (PaneRect{0, 40, 300, 140}));

  const std::vector<PaneRect> short_area = Bands().Arrange(300, 50);
  EXPECT_EQ(short_area[1], (PaneRect{0, 40, 300, 20})) << "the status line never climbs over the tool bar";
  EXPECT_EQ(short_area[2], (PaneRect{0, 40, 300, 0}));

  const std::vector<PaneRect> minimized = Bands().Arrange(0, 0);
  EXPECT_EQ(minimized[0], (PaneRect{0, 0, 0, 40}));
  EXPECT_EQ(minimized[1], (PaneRect{0, 40, 0, 20}));
  EXPECT_EQ(minimized[2], (PaneRect{0, 40, 0, 0}));
}

TEST(DockLayout, TheOrderOfAddingDecidesWhoSpansTheCorner) {
  DockLayout left_first;
  left_first.Add(Dock::Left, 50);
  left_first.Add(Dock::Top, 30);
  left_first.Add(Dock::Fill);
  const std::vector<PaneRect> a = left_first.Arrange(200, 100);
  EXPECT_EQ(a[0], (PaneRect{0, 0, 50, 100}));
  EXPECT_EQ(a[1], (PaneRect{50, 0, 150, 30}));
  EXPECT_EQ(a[2], (PaneRect{50, 30, 150, 70}));

  DockLayout top_first;
  top_first.Add(Dock::Top, 30);
  top_first.Add(Dock::Left, 50);
  top_first.Add(Dock::Fill);
  const std::vector<PaneRect> b = top_first.Arrange(200, 100);
  EXPECT_EQ(b[0], (PaneRect{0, 0, 200, 30}));
  EXPECT_EQ(b[1], (PaneRect{0, 30, 50, 70}));
  EXPECT_EQ(b[2], a[2]);
}

TEST(DockLayout, AHiddenPaneTakesNoRoomAndAResizedPaneMovesItsNeighbours) {
  DockLayout dock;
  const int bar = dock.Add(Dock::Top, 10);
  const int side = dock.Add(Dock::Right, 40);
  const int list = dock.Add(Dock::Fill);
  const int viewer = dock.Add(Dock::Fill);
  dock.SetVisible(bar, false);
  dock.SetVisible(viewer, false);
  std::vector<PaneRect> p = dock.Arrange(200, 100);
  EXPECT_EQ(p[bar], PaneRect{});
  EXPECT_EQ(p[side], (PaneRect{160, 0, 40, 100}));
  EXPECT_EQ(p[list], (PaneRect{0, 0, 160, 100}));
  EXPECT_EQ(p[viewer], PaneRect{});

  // A splitter drags the side pane wider, then past the whole width.
  dock.SetSize(side, 70);
  EXPECT_EQ(dock.Arrange(200, 100)[list], (PaneRect{0, 0, 130, 100}));
  dock.SetSize(side, 250);
  p = dock.Arrange(200, 100);
  EXPECT_EQ(p[side].x, 0) << "it starts at the left edge, not before it";
  EXPECT_EQ(p[list].w, 0);
}
