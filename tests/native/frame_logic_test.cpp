// The main window's rules that need no window.
#include <gtest/gtest.h>

#include <set>

#include "frame/clock_logic.h"
#include "frame/frame_logic.h"
#include "platform/path_names.h"

using namespace velkor;

TEST(UsageTime, CountsWholeSecondsAndDoesNotFoldHours) {
  EXPECT_EQ(FormatUsageTime(5999), L"0 分 5 秒");
  EXPECT_EQ(FormatUsageTime(60000), L"1 分 0 秒");
  EXPECT_EQ(FormatUsageTime((2 * 3600 + 5 * 60 + 7) * 1000), L"125 分 7 秒");
}

TEST(ClosingTexts, AreTheProgramsOwnWords) {
  EXPECT_EQ(FarewellText(L"親分", L"0 分 5 秒"),
            L"親分 さん   お疲れさま !!\r\n\r\n  使用時間は 0 分 5 秒 です。\r\n\r\n    また使ってね !!");
  EXPECT_EQ(ExitConfirmationText(L"3 分 0 秒", 2),
            L" お疲れさま !!\r\n\r\n  使用時間は 3 分 0 秒 です。\r\n\r\n編集中のエディットフォームが  2  つ有ります。"
            L"\r\n\r\n本当に終了しますか。");
}

TEST(FarewellPosition, DependsOnTheHalfOfTheScreen) {
  EXPECT_EQ(FarewellPosition({100, 200}, 1024), (Point{100, 230}));
  EXPECT_EQ(FarewellPosition({511, 0}, 1024), (Point{511, 30}));
  EXPECT_EQ(FarewellPosition({512, 0}, 1024), (Point{322, 80}));
  EXPECT_EQ(FarewellPosition({513, 10}, 1025), (Point{323, 90})) << "half of an odd width rounds down";
}

TEST(FileKinds, CutTheExtensionToFourCharactersUpperCased) {
  EXPECT_EQ(FileKindExtension(L"C:\\a\\b.txt"), L".TXT");
  EXPECT_EQ(FileKindExtension(L"C:\\a\\b.TXTX"), L".TXT");
  EXPECT_EQ(FileKindExtension(L"photo.jpeg"), L".JPE");
  EXPECT_EQ(FileKindExtension(L"C:\\dir.d\\noext"), L"");
  EXPECT_TRUE(IsEditableDrop(L"a.txt"));
  EXPECT_TRUE(IsEditableDrop(L"a.TXTX"));
  EXPECT_TRUE(IsEditableDrop(L"x.bak"));
  EXPECT_FALSE(IsEditableDrop(L"a.exe"));
  EXPECT_FALSE(IsEditableDrop(L"a.tx"));
  EXPECT_EQ(FileNameOf(L"C:\\a\\b.txt"), L"b.txt");
  EXPECT_EQ(FolderOf(L"C:\\a\\b.txt"), L"C:\\a");
  EXPECT_EQ(FolderOf(L"C:b.txt"), L"C:");
}

TEST(CommandLine, OpensExistingFilesWithTheirPositions) {
  const std::set<std::wstring> files{L"a", L"b", L"c", L"D:\\My Long Memo.txt", L"Two Parts "};
  auto exists = [&](const std::wstring& p) { return files.count(p) != 0; };

  auto plan = PlanCommandLine({L"a", L"b", L"c"}, exists);
  ASSERT_EQ(plan.size(), 3u);
  EXPECT_EQ(plan[2].tag, 3);
  EXPECT_EQ(plan[2].settings_section, L"c");

  EXPECT_TRUE(PlanCommandLine({L"a", L"b", L"c", L"a"}, exists).empty()) << "four or more open nothing";
  EXPECT_TRUE(PlanCommandLine({}, exists).empty());

  plan = PlanCommandLine({L"D:\\My", L"Long", L"Memo.txt"}, exists);
  ASSERT_EQ(plan.size(), 1u);
  EXPECT_EQ(plan[0].path, L"D:\\My Long Memo.txt");
  EXPECT_EQ(plan[0].tag, 1);
  EXPECT_EQ(plan[0].settings_section, L"ChildNo1FontSelect");

  plan = PlanCommandLine({L"Two", L"Parts"}, exists);
  ASSERT_EQ(plan.size(), 1u) << "the absent third argument counts as empty";
  EXPECT_EQ(plan[0].path, L"Two Parts ");

  // An argument that names nothing ends the examination: c is not opened.
  plan = PlanCommandLine({L"a", L"missing", L"c"}, exists);
  ASSERT_EQ(plan.size(), 1u);
  EXPECT_EQ(plan[0].path, L"a");

  plan = PlanCommandLine({L"", L"b"}, exists);
  ASSERT_EQ(plan.size(), 1u) << "empty arguments are skipped";
  EXPECT_EQ(plan[0].tag, 2);
}

TEST(Clock, TextAndTheTaskBarCycle) {
  EXPECT_EQ(ClockTextOf(9, 5, 7), L"09:05:07");
  EXPECT_EQ(ClockTextOf(23, 59, 59), L"23:59:59");
  EXPECT_EQ(TitleStepOf(L'0'), TitleStep::MascotName);
  EXPECT_EQ(TitleStepOf(L'5'), TitleStep::YourFriends);
  for (wchar_t d : std::wstring(L"12346789")) EXPECT_EQ(TitleStepOf(d), TitleStep::Time) << char(d);
}

TEST(Clock, BandLeavesRoomForTheCaptionButtons) {
  CaptionFrame f;
  f.frame_cx = 4;
  f.frame_cy = 4;
  f.small_icon = 16;
  f.caption = 19;
  f.window_width = 640;
  ClockBand b;
  ASSERT_TRUE(CaptionClockBand(f, b));
  EXPECT_EQ(b.top, 4);
  EXPECT_EQ(b.bottom, 22);
  EXPECT_EQ(b.right, 640 - 4 - (16 + 3 + 1 + 35)) << "system menu, minimize and maximize boxes";

  f.minimize_box = f.maximize_box = false;
  f.help_box = true;
  ASSERT_TRUE(CaptionClockBand(f, b));
  EXPECT_EQ(b.right, 640 - 4 - (19 + 18 + 1)) << "close and help only";

  f.help_box = false;
  ASSERT_TRUE(CaptionClockBand(f, b));
  EXPECT_EQ(b.right, 640 - 4 - 20) << "close only";

  f.sizeable_or_single = false;  // a dialog border: the close box's room only
  f.minimize_box = true;
  ASSERT_TRUE(CaptionClockBand(f, b));
  EXPECT_EQ(b.right, 640 - 4 - 19);

  f.system_menu = false;
  ASSERT_TRUE(CaptionClockBand(f, b));
  EXPECT_EQ(b.right, 636);

  f.border = false;
  EXPECT_FALSE(CaptionClockBand(f, b));
}

TEST(Stripes, FourBandsCoverTheClientAndColoursRepeatFromRunToRun) {
  const auto stripes = StripeLayout(103, 40);
  // 25 wide bands of 16 (3 stripes), 26 and 27 wide of 32 (2 each), 25 of 16 (3).
  ASSERT_EQ(stripes.size(), 10u);
  EXPECT_EQ(stripes[0], (StripeRect{0, 0, 25, 16}));
  EXPECT_EQ(stripes[2], (StripeRect{0, 32, 25, 48}));
  EXPECT_EQ(stripes[3], (StripeRect{25, 0, 51, 32}));
  EXPECT_EQ(stripes[5], (StripeRect{51, 0, 78, 32}));
  EXPECT_EQ(stripes[9], (StripeRect{78, 32, 103, 48}));
  EXPECT_TRUE(StripeLayout(0, 10).empty());

  StripeColors a, b;
  for (int i = 0; i < 1000; ++i) {
    const auto x = a.Next(), y = b.Next();
    EXPECT_EQ(x.r, y.r);
    EXPECT_EQ(x.g, y.g);
    EXPECT_EQ(x.b, y.b);
    for (int c : {x.r, x.g, x.b}) {
      EXPECT_GE(c, 0);
      EXPECT_LE(c, 254);
    }
  }
}
