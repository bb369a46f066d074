// Conversions between UTF-16 and the byte forms of files.
#include <gtest/gtest.h>

#include "platform/text.h"

using namespace velkor;

TEST(Cp932, RoundTripsJapaneseAndAscii) {
  const std::string sjis = "\x83\x78\x83\x8B\x83\x52" "abc\x8A\xBF\x8E\x9A";  // ベルコabc漢字
  const std::wstring wide = Cp932ToWide(sjis);
  EXPECT_EQ(wide, L"ベルコabc漢字");
  const Cp932Bytes back = WideToCp932(wide);
  EXPECT_EQ(back.bytes, sjis);
  EXPECT_EQ(back.lost, 0u);
}

TEST(Cp932, BackslashAsSecondByteStaysInItsCharacter) {
  const std::string sjis = "\x95\x5C\x5C";  // 表 followed by a real backslash
  EXPECT_EQ(Cp932ToWide(sjis), L"表\\");
}

TEST(Cp932, HalfWidthKatakanaAreSingleBytes) {
  EXPECT_EQ(WideToCp932(L"ﾃｷｽﾄ").bytes, "\xC3\xB7\xBD\xC4");
}

TEST(Cp932, ReportsCharactersWithoutAForm) {
  const Cp932Bytes r = WideToCp932(L"ab\u00E9c\u4E02d");  // é and 丂 are not in code page 932
  EXPECT_EQ(r.lost, 2u);
  EXPECT_EQ(r.first_lost, 2u);
}

TEST(Utf8, ValidatesStrictly) {
  EXPECT_TRUE(IsValidUtf8("plain ascii"));
  EXPECT_TRUE(IsValidUtf8("\xE3\x81\x82"));           // あ
  EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));              // overlong slash
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));          // surrogate
  EXPECT_FALSE(IsValidUtf8("\x82\xA0"));              // Shift-JIS あ
  EXPECT_FALSE(IsValidUtf8("\xE3\x81"));              // cut short
}

TEST(Utf8, RoundTripsOutsideTheBasicPlane) {
  const std::string s = "a\xF0\x9F\x98\x80z";  // U+1F600
  EXPECT_EQ(WideToUtf8(Utf8ToWide(s)), s);
}

TEST(Utf16, RoundTripsWithSurrogatePairs) {
  const std::string le("\x41\x00\x3D\xD8\x00\xDE\x42\x00", 8);  // A U+1F600 B
  EXPECT_EQ(WideToUtf16Le(Utf16LeToWide(le)), le);
}

TEST(FoldCase, MatchesLettersOnly) {
  EXPECT_TRUE(EqualsNoCase(L"ChildNo3FontSelect", L"CHILDNO3fontselect"));
  EXPECT_TRUE(EqualsNoCase(L"Ｃ：＼ＭＥＭＯ", L"ｃ：＼ｍｅｍｏ"));
  EXPECT_FALSE(EqualsNoCase(L"a[", L"A{"));
  EXPECT_FALSE(EqualsNoCase(L"abc", L"abcd"));
}

#include "platform/number_format.h"

TEST(NumberFormat, GroupsAndAlignsLikeTheSystemsNFormat) {
  EXPECT_EQ(FormatNumberN(0, 11, L","), L"          0");
  EXPECT_EQ(FormatNumberN(1234567, 11, L","), L"  1,234,567");
  EXPECT_EQ(FormatNumberN(-1234, 0, L","), L"-1,234");
  EXPECT_EQ(FormatNumberN(999, 0, L"."), L"999");
  EXPECT_EQ(FormatNumberN(123456789012LL, 11, L","), L"123,456,789,012");
}

TEST(Cp932, KeepsNulBytes) {
  EXPECT_EQ(Cp932ToWide(std::string("a\0\x82\xA0\0", 5)), std::wstring(L"a\0あ\0", 4));
}
