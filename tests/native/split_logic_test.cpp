#include "controls/split_logic.h"

#include <gtest/gtest.h>

using namespace velkor;

TEST(SplitHostSize, FollowsTheBarOnEachSideAndStaysInTheWindow) {
  EXPECT_EQ(SplitHostSize(SplitSide::Left, 150, 150, 500), 150);  // let go where it started
  EXPECT_EQ(SplitHostSize(SplitSide::Left, 180, 150, 500), 180);
  EXPECT_EQ(SplitHostSize(SplitSide::Top, 40, 100, 500), 40);
  EXPECT_EQ(SplitHostSize(SplitSide::Right, -20, 150, 500), 170);  // bar left of the host widens it
  EXPECT_EQ(SplitHostSize(SplitSide::Bottom, 30, 100, 500), 70);
  // Dragged past the host's own edge: nothing left, never less.
  EXPECT_EQ(SplitHostSize(SplitSide::Left, -40, 150, 500), 0);
  EXPECT_EQ(SplitHostSize(SplitSide::Right, 400, 150, 500), 0);
  // Dragged past the window's other edge: stops where the rest still shows.
  EXPECT_EQ(SplitHostSize(SplitSide::Left, 900, 150, 500), 500);
  EXPECT_EQ(SplitHostSize(SplitSide::Bottom, -900, 100, 300), 300);
  EXPECT_EQ(SplitHostSize(SplitSide::Left, 900, 150, -5), 0);  // a window too small for anything
}
