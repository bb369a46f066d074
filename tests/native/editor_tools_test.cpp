// The editor's text tools: character statistics, tab expansion, line marks,
// the date and time text and the zoom arithmetic.
#include <gtest/gtest.h>

#include <string>

#include "editor/cp932_classes.h"
#include "editor/text_tools.h"

using namespace velkor;

TEST(ByteClasses, HaveTheirShiftJisRanges) {
  EXPECT_FALSE(IsTrailByte(0x3F));
  EXPECT_TRUE(IsTrailByte(0x40));
  EXPECT_FALSE(IsTrailByte(0x7F));
  EXPECT_TRUE(ClosesDoubleByte(0x7F)) << "the statistics take it as a second byte";
  EXPECT_TRUE(IsTrailByte(0x80));
  EXPECT_TRUE(IsTrailByte(0xFC));
  EXPECT_FALSE(IsTrailByte(0xFD));
  EXPECT_FALSE(ClosesDoubleByte(0xFD));
  EXPECT_FALSE(IsHalfWidthChar(0x20));
  EXPECT_TRUE(IsHalfWidthChar(0x21));
  EXPECT_TRUE(IsHalfWidthChar(0x7F));
  EXPECT_FALSE(IsHalfWidthChar(0x80));
  EXPECT_FALSE(IsHalfWidthChar(0xA0));
  EXPECT_TRUE(IsHalfWidthChar(0xA1));
  EXPECT_TRUE(IsHalfWidthChar(0xDF));
  EXPECT_FALSE(IsHalfWidthChar(0xE0));
}

TEST(CountCharacters, CountsEachClassOfAMixedLine) {
  // あ, the ideographic space, a, a space, b, CR LF.
  const CharacterCounts c = CountCharacters("\x82\xA0\x81\x40" "a b\r\n");
  EXPECT_EQ(c, (CharacterCounts{1, 1, 2, 1, 1}));
  EXPECT_EQ(CountCharacters(""), CharacterCounts{});
  EXPECT_EQ(CountCharacters("\t\r\x01\x80\xFD"), CharacterCounts{});
  EXPECT_EQ(CountCharacters("\xB1\xB2\xDF"), (CharacterCounts{0, 0, 3, 0, 0}));  // half-width katakana
}

TEST(CountCharacters, FollowsTheDoubleByteStateByteByByte) {
  // A byte in 21-3F after a lead byte is not counted and keeps the state, so
  // the next lead byte is taken as the second byte: あ's A0 then counts nothing.
  EXPECT_EQ(CountCharacters("\x81\x21\x82\xA0"), (CharacterCounts{1, 0, 0, 0, 0}));
  // The full-width space needs 81 right before 40.
  EXPECT_EQ(CountCharacters("\x81\x81\x40"), (CharacterCounts{1, 0, 1, 0, 0}));
  EXPECT_EQ(CountCharacters("\x82\x40\x81\x40"), (CharacterCounts{1, 1, 0, 0, 0}));
  // A space or a line feed after a lead byte counts, and the state stays on.
  EXPECT_EQ(CountCharacters("\x82 \n\xA0"), (CharacterCounts{1, 0, 0, 1, 1}));
  // 7F closes the pair, so the a after it counts.
  EXPECT_EQ(CountCharacters("\x81\x7F" "a"), (CharacterCounts{1, 0, 1, 0, 0}));
  // A lone lead byte at the end still counts as a character.
  EXPECT_EQ(CountCharacters("a\x88"), (CharacterCounts{1, 0, 1, 0, 0}));
}

TEST(CharacterCountsMessage, AlignsTheCountsInTheirLabels) {
  const std::wstring text = CharacterCountsMessage({1, 1, 2, 1234567, 1}, L",");
  EXPECT_EQ(text,
            L"全角文字 の出現回数     ：           1\r\n"
            L"全角スペース の出現回数 ：           1\r\n\r\n"
            L"半角文字 の出現回数     ：           2\r\n"
            L"半角スペース の出現回数 ：   1,234,567\r\n\r\n"
            L"改行 の出現回数           ：           1\r\n\r\n"
            L"     です。");
  EXPECT_NE(CharacterCountsMessage({0, 0, 0, 1234, 0}, L".").find(L"：       1.234\r\n"), std::wstring::npos);
}

TEST(TabPad, FillsToTheNextTabStop) {
  const int want8[] = {1, 8, 7, 6, 5, 4, 3, 2};  // by col mod 8
  const int want4[] = {1, 4, 3, 2};
  for (int col = 1; col <= 24; ++col) {
    EXPECT_EQ(TabPad8(col), std::string(want8[col % 8], ' ')) << col;
    EXPECT_EQ(TabPad4(col), std::string(want4[col % 4], ' ')) << col;
  }
}

TEST(ExpandTabs, CountsColumnsInBytesFromTheLastLineFeed) {
  EXPECT_EQ(ExpandTabs("a\tb", 8), "a       b");
  EXPECT_EQ(ExpandTabs("a\tb", 4), "a   b");
  EXPECT_EQ(ExpandTabs("\tx", 8), "        x");
  EXPECT_EQ(ExpandTabs("\tx", 4), "    x");
  EXPECT_EQ(ExpandTabs("12345678\tx", 8), "12345678        x");
  EXPECT_EQ(ExpandTabs("\x82\xA0\tx", 8), "\x82\xA0      x");  // あ takes two columns
  EXPECT_EQ(ExpandTabs("ab\r\n\tx", 4), "ab\r\n    x");        // the line feed starts over
  EXPECT_EQ(ExpandTabs("ab\r\tx", 8), "ab\r     x");            // a lone CR is one column
  EXPECT_EQ(ExpandTabs("a\t\tb", 4), "a       b");
  EXPECT_EQ(ExpandTabs("no tabs", 8), "no tabs");
  EXPECT_EQ(ExpandTabs("a\tb", 3), "a   b");  // anything but 8 is 4
}

TEST(ExpandTabs, GrowsAsFarAsTheTextNeeds) {
  const std::string tabs(20000, '\t');  // 160000 bytes more with 8 columns
  const std::string out = ExpandTabs(tabs + "end", 8);
  EXPECT_EQ(out.size(), 160003u);
  EXPECT_EQ(out.find_first_not_of(' '), 160000u);
}

TEST(ContainsTab, FindsATabAnywhere) {
  EXPECT_TRUE(ContainsTab("abc\t"));
  EXPECT_TRUE(ContainsTab("\t"));
  EXPECT_FALSE(ContainsTab("abc"));
  EXPECT_FALSE(ContainsTab(""));
}

TEST(MarkLines, MarksTheStartOfEverySelectedLine) {
  EXPECT_EQ(kLineMark, "\x81\x74");
  EXPECT_EQ(MarkLines("x\r\ny\r\n"), "\x81\x74x\r\n\x81\x74y\r\n");
  EXPECT_EQ(MarkLines("x\r\ny"), "\x81\x74x\r\n\x81\x74y");
  EXPECT_EQ(MarkLines("\n\n"), "\x81\x74\n\x81\x74\n");
  EXPECT_EQ(MarkLines("bc"), "\x81\x74" "bc");  // a selection from the middle of a line
  EXPECT_EQ(MarkLines(""), kLineMark);
}

TEST(DateTimeText, WritesTheJapaneseEraDate) {
  EXPECT_EQ(DateTimeText(1997, 12, 19, 5, 14, 5), L"平成9年12月19日 (金) 14時05分\r\n");
  EXPECT_EQ(DateTimeText(2026, 1, 4, 0, 0, 0), L"令和8年1月4日 (日) 0時00分\r\n");
  EXPECT_EQ(DateTimeText(2026, 1, 10, 6, 23, 59), L"令和8年1月10日 (土) 23時59分\r\n");
  const wchar_t* const names[] = {L"(日)", L"(月)", L"(火)", L"(水)", L"(木)", L"(金)", L"(土)"};
  for (int w = 0; w < 7; ++w)
    EXPECT_NE(DateTimeText(2000, 1, 1, w, 1, 1).find(names[w]), std::wstring::npos) << w;
}

TEST(DateTimeText, ChangesEraOnItsFirstDay) {
  auto date = [](int y, int m, int d) {
    const std::wstring s = DateTimeText(y, m, d, 0, 0, 0);
    return s.substr(0, s.find(L"年") + 1);
  };
  EXPECT_EQ(date(1868, 9, 7), L"西暦1868年");
  EXPECT_EQ(date(1868, 9, 8), L"明治1年");
  EXPECT_EQ(date(1912, 7, 29), L"明治45年");
  EXPECT_EQ(date(1912, 7, 30), L"大正1年");
  EXPECT_EQ(date(1926, 12, 24), L"大正15年");
  EXPECT_EQ(date(1926, 12, 25), L"昭和1年");
  EXPECT_EQ(date(1989, 1, 7), L"昭和64年");
  EXPECT_EQ(date(1989, 1, 8), L"平成1年");
  EXPECT_EQ(date(2019, 4, 30), L"平成31年");
  EXPECT_EQ(date(2019, 5, 1), L"令和1年");
}

TEST(ZoomSize, RoundsEachStepToTheNearestWholeNumber) {
  EXPECT_EQ(ZoomSize(10, kZoomInPercent), 11);
  EXPECT_EQ(ZoomSize(15, kZoomInPercent), 17);   // 16.5
  EXPECT_EQ(ZoomSize(12, kZoomOutPercent), 11);  // 10.8
  EXPECT_EQ(ZoomSize(5, kZoomOutPercent), 5);    // 4.5: zoom out stops shrinking at 5
  EXPECT_EQ(ZoomSize(4, kZoomOutPercent), 4);    // 3.6
  EXPECT_EQ(ZoomSize(ZoomSize(12, kZoomInPercent), kZoomInPercent), 14);  // the text's double step
  EXPECT_EQ(ZoomSize(ZoomSize(33, kZoomInPercent), kZoomOutPercent), 32);  // in then out: 36, 32.4
  EXPECT_EQ(ZoomSize(-5, kZoomOutPercent), -5);  // halves away from zero
  EXPECT_EQ(ZoomSize(0, kZoomInPercent), 0);
  EXPECT_EQ(ZoomSize(2147483647, kZoomInPercent), 2147483647);
  EXPECT_EQ(ZoomSize(-2147483647 - 1, kZoomInPercent), -2147483647 - 1);
}
