// The friends window's file list items without a window.
#include <gtest/gtest.h>

#include "launcher/browser_texts.h"
#include "launcher/file_items.h"
#include "platform/path_names.h"

using namespace velkor;

TEST(FileItems, KindsAndColours) {
  EXPECT_EQ(ItemKindOf(L".JPE"), ItemKind::Jpeg);  // PHOTO.JPEG
  EXPECT_EQ(ItemKindOf(L".HTM"), ItemKind::Other);
  EXPECT_EQ(ItemKindOf(L".CUR"), ItemKind::Program);
  Rgb c;
  ASSERT_TRUE(ItemTextColor(ItemKind::IconFile, c));
  EXPECT_EQ(c, (Rgb{128, 0, 0}));
  ASSERT_TRUE(ItemTextColor(ItemKind::Bitmap, c));
  EXPECT_EQ(SelectedBackground(c), (Rgb{0, 255, 255})) << "red on cyan";
  ASSERT_TRUE(ItemTextColor(ItemKind::Program, c));
  EXPECT_EQ(SelectedBackground(c), (Rgb{255, 255, 0})) << "blue on yellow";
  EXPECT_FALSE(ItemTextColor(ItemKind::Other, c));
}

TEST(FileItems, CutOutsThumbnailsAndThePreview) {
  // A 640 x 480 bitmap in a 300-pixel column beside a name 60 pixels wide, items 40 high.
  EXPECT_EQ(PictureCutout(300, 60, 40, {640, 480}), (Size{240, 30}));
  EXPECT_EQ(PictureCutout(300, 60, 40, {20, 10}), (Size{20, 10}));
  Size t;
  ASSERT_TRUE(FitThumbnail(32, 50, 100, t));
  EXPECT_EQ(t, (Size{32, 16}));
  ASSERT_TRUE(FitThumbnail(32, 100, 50, t));
  EXPECT_EQ(t, (Size{16, 32}));
  EXPECT_FALSE(FitThumbnail(32, 0, 50, t));
  // 2000 x 1500 and 1200 x 300 pictures on a 1024 x 768 screen, caption 19; a small one fits.
  EXPECT_EQ(PreviewClientSize(1024, 768, 19, 2010, 1510), (Size{(768 - 19) * 2010 / 1510, 768 - 19}));
  EXPECT_EQ(PreviewClientSize(1024, 768, 19, 1210, 310), (Size{1024, 310 * 1024 / 1210}));
  EXPECT_EQ(PreviewClientSize(1024, 768, 19, 110, 90), (Size{110, 90}));
}

TEST(FileItems, FiveIconsInAColumnOfThreeCells) {
  const IconGrid g = LayoutIconGrid(5, 3 * 38 + 10, 32, 32, 15);
  ASSERT_EQ(g.cells.size(), 5u);
  EXPECT_EQ(g.cells[2].x, 2 + 2 * 36);
  EXPECT_EQ(g.cells[2].y, 2);
  EXPECT_EQ(g.cells[3].x, 2);
  EXPECT_EQ(g.cells[3].y, 2 + 32 + 15 + 8);
  EXPECT_EQ(g.cells[4].number_x, 2 + 36 + 16);
  EXPECT_EQ(g.name_y, 2 + 55 + 32 + 15 + 5);
  EXPECT_EQ(LayoutIconGrid(2, 10, 32, 32, 15).cells[1].y, 2 + 55) << "a narrow column still shows one a row";
}

TEST(FileItems, RelativeNamesBelowTheTreesDirectory) {
  EXPECT_EQ(RelativeName(L"C:\\a\\b.txt", L"C:\\"), L"a\\b.txt");
  EXPECT_EQ(RelativeName(L"C:\\a\\sub\\b.txt", L"C:\\a"), L"sub\\b.txt");
}

TEST(BrowserTexts, OperationsAndBulkSearch) {
  EXPECT_EQ(DeleteQuestion(L"MEMO.TXT", false), L"MEMO.TXT を\r\n\r\n削除しますか ?");
  EXPECT_EQ(DeleteQuestion(L"MEMO.TXT", true), L"MEMO.TXT は読み出し専用属性です。\r\n\r\n削除しますか ?");
  EXPECT_EQ(ConfirmOperationText(L"C:\\a.txt", L"D:\\b\\a.txt", L"移動しますか "),
            L"C:\\a.txt を\r\n\r\nD:\\b\\a.txt に\r\n\r\n移動しますか  ？");
  EXPECT_EQ(TotalsCaption(0, 0), L" 該当ファイル  Total Files = 0 ,Size = 0 Bytes");
  EXPECT_EQ(TotalsCaption(2, 5'000'000'000LL), L" 該当ファイル  Total Files = 2 ,Size = 5,000,000,000 Bytes");
  EXPECT_EQ(BulkSearchMask(L""), L"*.*");
  EXPECT_EQ(BulkSearchMask(L"*.jpg"), L"*.JP*");
  EXPECT_EQ(BulkSearchMask(L"*.jpeg"), L"*.JPEG");
  EXPECT_EQ(ListFullText(12, L"リソースが不足しています", L"*.txt"),
            L"現在の集計総数は 12 ですが、\r\nもうこれ以上は、リソースが不足しています。\r\n"
            L"取りあえず、現時点での集計結果を表示しますが、\r\n次回は *.txt 以外の指定により、\r\nもう少し絞り込んで下さいネ。");
}

TEST(FileItems, RowsOfTheListShareItsHeight) {
  // A list 300 high with a 17-pixel scroll bar: 283 pixels for the rows.
  EXPECT_EQ(FitIconRows(283, 1), (RowFit{283, 1}));
  EXPECT_EQ(FitIconRows(283, 7), (RowFit{94, 3})) << "283 / 7 < 75: three rows of at least 74";
  EXPECT_EQ(FitIconRows(283, 0), (RowFit{94, 3})) << "0 counts as 7";
  EXPECT_EQ(FitIconRows(283, 3), (RowFit{94, 3}));
  EXPECT_EQ(FitIconRows(60, 2), (RowFit{0, 2})) << "not one row fits: the height stays";
  EXPECT_EQ(FitSingleIconRows(283, 300), (RowFit{283 / 6, 6}));
  EXPECT_EQ(FitSingleIconRows(100, 300), (RowFit{50, 2}));
  EXPECT_EQ(FitSingleIconRows(30, 40), (RowFit{46, 0}));
}

TEST(FileItems, DirectoriesOfPaths) {
  EXPECT_EQ(WithBackslash(L"C:\\A"), L"C:\\A\\");
  EXPECT_EQ(WithBackslash(L"C:\\"), L"C:\\");
  EXPECT_EQ(DirectoryOfFile(L"C:\\A\\b.txt"), L"C:\\A");
  EXPECT_EQ(DirectoryOfFile(L"C:\\b.txt"), L"C:");
}

TEST(BrowserTexts, ListingAndSelection) {
  EXPECT_EQ(BulkSearchMask(L"*.jpg"), L"*.JP*");
  EXPECT_EQ(BulkSearchMask(L"c*.exe"), L"C*.EXE");
  EXPECT_EQ(TotalsCaption(2, 5000000000LL), L" 該当ファイル  Total Files = 2 ,Size = 5,000,000,000 Bytes");
  EXPECT_EQ(LineCounterText(L"", 12), L" Line :  / 12 ");
  EXPECT_EQ(SizeAndDateText(0, L"2026/12/8"), L" ﾌｧｲﾙｻｲｽﾞ = 0 Bytes   ﾌｧｲﾙ日付 = 2026/12/8");
}

TEST(BrowserTexts, LauncherButtons) {
  EXPECT_EQ(ButtonHint(2, L"NOTEPAD.EXE"), L"NOTEPAD.EXE");
  EXPECT_EQ(ButtonHint(7, L"a b.txt"), L"最後に呼び出したお友達 ( a b.txt )");
  EXPECT_EQ(ButtonMenuCaption(2, L"NOTEPAD.EXE"), L"ボタン3登録済み ( NOTEPAD.EXE )");
  EXPECT_EQ(ButtonMenuCaption(6, L"x"), L"ボタン7登録済み ( x )");
  // The kind is cut to four characters: ".exec" counts as a program, ".ex" does not.
  EXPECT_TRUE(IsProgramKind(FileKindExtension(L"C:\\a\\tool.exec")));
  EXPECT_TRUE(IsProgramKind(L".dll"));
  EXPECT_FALSE(IsProgramKind(FileKindExtension(L"C:\\a.ex")));
  EXPECT_FALSE(IsProgramKind(FileKindExtension(L"C:\\exe")));
  EXPECT_TRUE(IsButtonPictureKind(FileKindExtension(L"C:\\p.bmp")));
  EXPECT_TRUE(IsButtonPictureKind(L".ICO"));
  EXPECT_FALSE(IsButtonPictureKind(FileKindExtension(L"C:\\p.jpg")));
  EXPECT_EQ(DocumentParameter(L"C:\\my docs\\a.txt"), L"\"C:\\my docs\\a.txt\"");
}
