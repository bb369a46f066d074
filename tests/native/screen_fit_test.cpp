// Windows kept on the work area, or with their title bars in reach.
#include <gtest/gtest.h>

#include "platform/screen_fit.h"

using namespace velkor;

namespace {
// A work area of 1024 x 728 below a task bar 40 pixels high at the top.
constexpr ScreenRect kBelowBar{0, 40, 1024, 768};
}  // namespace

TEST(KeepInside, MovesTheLeastWayAndShowsTheTopLeftOfWhatIsTooBig) {
  EXPECT_EQ(KeepInside({100, 100, 500, 400}, kBelowBar), (ScreenRect{100, 100, 500, 400}));
  EXPECT_EQ(KeepInside({800, 600, 1200, 900}, kBelowBar), (ScreenRect{624, 468, 1024, 768}));
  EXPECT_EQ(KeepInside({-50, 0, 350, 300}, kBelowBar), (ScreenRect{0, 40, 400, 340}));
  EXPECT_EQ(KeepInside({-50, 0, 1450, 1000}, kBelowBar), (ScreenRect{0, 40, 1500, 1040}));
}

TEST(CaptionInReach, ATitleBarAboveOrBelowTheAreaComesBack) {
  EXPECT_EQ(WithCaptionInReach({100, 100, 500, 400}, kBelowBar, 20, 60), (ScreenRect{100, 100, 500, 400}));
  // Under the task bar, or above the screen with the rest of the window on it.
  EXPECT_EQ(WithCaptionInReach({100, 0, 500, 300}, kBelowBar, 20, 60), (ScreenRect{100, 40, 500, 340}));
  EXPECT_EQ(WithCaptionInReach({100, -200, 500, 300}, kBelowBar, 20, 60), (ScreenRect{100, 40, 500, 540}));
  EXPECT_EQ(WithCaptionInReach({100, 760, 500, 900}, kBelowBar, 20, 60), (ScreenRect{100, 748, 500, 888}));
}

TEST(CaptionInReach, SidewaysAGripOfTheTitleBarIsEnough) {
  EXPECT_EQ(WithCaptionInReach({-300, 100, 100, 400}, kBelowBar, 20, 60), (ScreenRect{-300, 100, 100, 400}));
  EXPECT_EQ(WithCaptionInReach({-380, 100, 20, 400}, kBelowBar, 20, 60), (ScreenRect{-340, 100, 60, 400}));
  EXPECT_EQ(WithCaptionInReach({1000, 100, 1400, 400}, kBelowBar, 20, 60), (ScreenRect{964, 100, 1364, 400}));
  EXPECT_EQ(WithCaptionInReach({1000, 100, 1040, 400}, kBelowBar, 20, 60), (ScreenRect{984, 100, 1024, 400}))
      << "a window narrower than the grip shows whole";
}

TEST(CaptionInReach, AWindowOffTheAreaIsBroughtOnWhole) {
  EXPECT_EQ(WithCaptionInReach({5000, 4000, 5600, 4400}, kBelowBar, 20, 60), (ScreenRect{424, 368, 1024, 768}));
  EXPECT_EQ(WithCaptionInReach({-700, 100, -100, 400}, kBelowBar, 20, 60), (ScreenRect{0, 100, 600, 400}));
}
