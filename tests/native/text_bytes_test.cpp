// The byte form that find and replace scan, and its positions in the text control.
#include <gtest/gtest.h>

#include "controls/text_positions.h"
#include "controls/text_search.h"

using namespace velkor;

namespace {

int Find(const TextBytes& t, const std::wstring& search, int from = 0) {
  const std::string key = t.FormOf(search).value();
  return ScanTextBuffer(reinterpret_cast<const unsigned char*>(t.bytes().data()), static_cast<int>(t.bytes().size()),
                        from, 0, key, SearchOptions{});
}

// Every position maps to a byte offset and back to itself, except inside a
// CR LF pair; the hit of each character is found where it stands.
void ExpectExactPositions(const TextBytes& t, int positions) {
  for (int p = 0; p <= positions; ++p) EXPECT_EQ(t.ControlPos(t.ByteOffset(p)), p) << p;
}

}  // namespace

TEST(TextBytes, CharactersCodePage932LacksMatchOnlyThemselves) {
  // é and 丂 have no code page 932 form; each counts two bytes and has a code of its own.
  const TextBytes t(L"a?b \u00E9\u4E02 \u00E9");
  EXPECT_EQ(t.bytes().size(), 11u);
  EXPECT_EQ(Find(t, L"\u00E9"), 4);
  EXPECT_EQ(Find(t, L"\u00E9", 6), 9);
  EXPECT_EQ(Find(t, L"\u4E02"), 6);
  EXPECT_EQ(Find(t, L"?"), 1);
  EXPECT_EQ(Find(t, L"\u00E8"), kNoHit) << "a character the text does not hold";
  EXPECT_EQ(t.ControlPos(9), 7);
  EXPECT_EQ(t.TextOf(t.bytes()), t.text());
  EXPECT_FALSE(SameTextIgnoringCase(*t.FormOf(L"\u00E9"), *t.FormOf(L"\u4E02")));
  EXPECT_FALSE(SameTextIgnoringCase(*t.FormOf(L"\u00E9"), "?"));
  EXPECT_TRUE(SameTextIgnoringCase(*t.FormOf(L"A\u00E9"), *t.FormOf(L"a\u00E9")));
}

TEST(TextBytes, ReplaceAllOfSuchACharacterReplacesItAlone) {
  const std::wstring search = L"\u00E9", with = L"e";
  TextBytes t(L"a?b \u00E9", search + with);
  const ReplaceAllResult r = ReplaceAllInBuffer(t.bytes(), 0, 0, *t.FormOf(search), *t.FormOf(with), SearchOptions{});
  EXPECT_EQ(t.TextOf(r.text), L"a?b e");
  // And into the text: the replacement keeps its character.
  TextBytes back(L"e?e", std::wstring(L"e") + L"\u4E02");
  const ReplaceAllResult r2 = ReplaceAllInBuffer(back.bytes(), 0, 0, "e", *back.FormOf(L"\u4E02"), SearchOptions{});
  EXPECT_EQ(back.TextOf(r2.text), L"\u4E02?\u4E02");
}

TEST(TextBytes, PositionsMapExactlyAroundSurrogates) {
  // An unpaired high surrogate followed by a letter: two characters, not a pair.
  const std::wstring lone = std::wstring(1, static_cast<wchar_t>(0xD800)) + L"ab\r\nx";
  const TextBytes t(lone);
  EXPECT_EQ(t.bytes().size(), 7u);
  EXPECT_EQ(Find(t, L"x"), 6);
  EXPECT_EQ(t.ControlPos(6), 4);
  ExpectExactPositions(t, 4);
  // A character beyond the basic plane: two positions in the control, one stand-in.
  std::wstring far = L"a";
  if constexpr (sizeof(wchar_t) == 2) far += L"\xD842\xDFB7";
  else far += static_cast<wchar_t>(0x20BB7);
  far += L"b";
  const TextBytes f(far);
  EXPECT_EQ(f.bytes().size(), 4u);
  EXPECT_EQ(f.ByteOffset(3), 3);
  EXPECT_EQ(f.ControlPos(3), 3);
  EXPECT_EQ(Find(f, L"b"), 3);
}

TEST(TextBytes, ASearchTextGetsItsOwnCodesWhenTheTextHoldsTooManyKinds) {
  std::wstring text;
  for (wchar_t c = 0xAC00; c < 0xAC00 + 700; ++c) text += c;  // Hangul: none in code page 932
  const TextBytes t(text);
  EXPECT_TRUE(t.FormOf(std::wstring(1, static_cast<wchar_t>(0xAC00))).has_value());
  const std::wstring late(1, static_cast<wchar_t>(0xAC00 + 650));
  EXPECT_FALSE(t.FormOf(late).has_value()) << "it shares its code with others";
  const TextBytes own(text, late);
  EXPECT_EQ(Find(own, late), 650 * 2);
  EXPECT_EQ(own.TextOf(own.bytes().substr(1300, 2)), late);
}
