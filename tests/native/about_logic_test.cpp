// The marquee's run over its strip and the about box's figure texts.
#include <gtest/gtest.h>

#include <vector>

#include "controls/marquee_run.h"
#include "frame/about_logic.h"

using namespace velkor;

namespace {

// Every offset a run shows, from its start to its last tick.
std::vector<int> Offsets(const MarqueeRun& run) {
  std::vector<int> shown{run.StartOffset()};
  while (auto next = run.Next(shown.back())) {
    shown.push_back(*next);
    if (shown.size() > 100000) break;
  }
  return shown;
}

}  // namespace

TEST(MarqueeRun, TheAboutBoxRunCrossesTheWholeStripUpwards) {
  // Three lines of 21 pixels in a marquee 69 pixels high.
  const MarqueeRun run{21, 3, 69, false};
  EXPECT_EQ(MarqueeRun::LineHeight(12, 4), 21);
  EXPECT_EQ(run.StripHeight(), 3 * 21 + 2 * 69);
  const std::vector<int> shown = Offsets(run);
  EXPECT_EQ(shown.front(), 0) << "the lines enter at the bottom edge";
  for (size_t i = 1; i < shown.size(); ++i) ASSERT_EQ(shown[i], shown[i - 1] + 2);
  // The last offset shows the blank space after the lines; the view (the
  // control's height from the offset) never leaves the strip.
  EXPECT_EQ(shown.back(), 3 * 21 + 69);
  EXPECT_LE(shown.back() + 69, run.StripHeight());
  EXPECT_EQ(shown.size(), 67u);
  // With an odd distance the run stops one row short rather than leave the strip.
  const MarqueeRun odd{20, 2, 51, false};
  EXPECT_EQ(Offsets(odd).back(), 2 * 20 + 51 - 1);
}

TEST(MarqueeRun, ScrollingDownStartsBelowTheLinesAndEndsBelowTwo) {
  const MarqueeRun run{21, 3, 69, true};
  const std::vector<int> shown = Offsets(run);
  EXPECT_EQ(shown.front(), run.StripHeight() - 69);
  EXPECT_EQ(shown.back(), 0);  // 132 is even: it reaches 0, and 0 < 2 ends it
  EXPECT_FALSE(run.Next(1).has_value());
  EXPECT_EQ(run.Next(2), 0);
  const MarqueeRun odd{21, 3, 70, true};
  EXPECT_EQ(Offsets(odd).back(), 1);
}

TEST(AboutFigures, ZeroHasNoDigitsAndKilobytesAreRightBeyondFourGigabytes) {
  EXPECT_EQ(FormatGroupedOrEmpty(0), L"");
  EXPECT_EQ(FormatGroupedOrEmpty(64), L"64");
  EXPECT_EQ(FormatPercent(45), L"45 %");
  EXPECT_EQ(FormatKilobytes(0), L" KB");
  EXPECT_EQ(FormatKilobytes(1023), L" KB");
  EXPECT_EQ(FormatKilobytes(1024), L"1 KB");
  EXPECT_EQ(FormatKilobytes(2047), L"1 KB");
  EXPECT_EQ(FormatKilobytes(1024ull * 1000), L"1,000 KB");
  EXPECT_EQ(FormatKilobytes(2147483648ull), L"2,097,152 KB");
  EXPECT_EQ(FormatKilobytes(17179869184ull), L"16,777,216 KB");
}
