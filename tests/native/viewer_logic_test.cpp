// Where the source viewer selects the keyword on a hit line.
#include <gtest/gtest.h>

#include <string>

#include "wordsearch/viewer_logic.h"

using namespace velkor;

namespace {
constexpr auto npos = std::string_view::npos;
}

TEST(FindKeywordInSample, LettersAreAlikeOnlyWhenAsked) {
  EXPECT_EQ(FindKeywordInSample("first ABC then abc", "abc", false), 6u);
  EXPECT_EQ(FindKeywordInSample("first ABC then abc", "abc", true), 15u);
  EXPECT_EQ(FindKeywordInSample("first ABC", "abd", false), npos);
  // Only A-Z and a-z meet: '@' (0x40) and '`' (0x60) stay apart.
  EXPECT_EQ(FindKeywordInSample("x@y", "`", false), npos);
}

TEST(FindKeywordInSample, SecondBytesOfDoubleByteCharactersAreNoPlaceToStart) {
  // 表 is 95 5C: its second byte is the backslash.
  EXPECT_EQ(FindKeywordInSample("\x95\x5C" "a\\", "\\", false), 3u);
  EXPECT_EQ(FindKeywordInSample("\x95\x5C" "a\\", "\\", true), 3u);
  // However many come first.
  EXPECT_EQ(FindKeywordInSample("\x95\x5C\x95\x5C\x95\x5C\x95\x5C\x95\x5C" "\\", "\\", false), 10u);
  // 亜 is 88 9F: a second byte in the lead-byte range does not hide the backslash after it.
  EXPECT_EQ(FindKeywordInSample("\x88\x9F\\", "\\", false), 2u);
  // ア is 83 41; with letters alike its second byte must not be found as 'a'.
  EXPECT_EQ(FindKeywordInSample("\x83\x41" "a", "a", false), 2u);
}

TEST(FindKeywordInSample, AKeywordFoundOnlyAcrossACharacterBoundaryIsStillTaken) {
  // The search compares longer keywords byte by byte, so it lists this line
  // for "AB" (the second byte of ア and the B after it): select what it found.
  EXPECT_EQ(FindKeywordInSample("\x83\x41" "B", "AB", true), 1u);
  EXPECT_EQ(FindKeywordInSample("\x83\x41" "B AB", "AB", true), 4u) << "a whole occurrence comes first";
}

TEST(FindKeywordInSample, EdgesOfTheSample) {
  EXPECT_EQ(FindKeywordInSample("", "a", false), npos);
  EXPECT_EQ(FindKeywordInSample("abc", "", false), npos);
  EXPECT_EQ(FindKeywordInSample("ab", "abc", false), npos);
  EXPECT_EQ(FindKeywordInSample("xxabc", "abc", false), 2u);
  // A lead byte at the very end, its second byte cut off by the sample's length.
  EXPECT_EQ(FindKeywordInSample("a\x95", "\x95", true), 1u);
  EXPECT_EQ(FindKeywordInSample("key\r\nkey", "key", false), 0u);
}
