// The editor's byte search and Replace All, checked on the cases users meet
// and against the step-by-step reference on many generated texts.
#include <gtest/gtest.h>

#include <ostream>
#include <random>
#include <string>

#include "controls/text_search.h"
#include "native/editor_search_reference.h"

using namespace velkor;

namespace velkor {
// Shown as text, caret and count when a comparison fails.
void PrintTo(const ReplaceAllResult& r, std::ostream* os) {
  *os << '"' << r.text << "\" caret " << r.sel_start << "+" << r.sel_length << ", " << r.replaced << " replaced";
}
}  // namespace velkor

namespace {

int Scan(std::string_view text, int sel_start, int sel_length, std::string_view search, SearchOptions o) {
  return ScanTextBuffer(reinterpret_cast<const unsigned char*>(text.data()), static_cast<int>(text.size()),
                        sel_start, sel_length, search, o);
}

constexpr SearchOptions kDown{true, true, false};
constexpr SearchOptions kUp{false, true, false};
constexpr SearchOptions kDownWord{true, true, true};
constexpr SearchOptions kUpWord{false, true, true};
constexpr SearchOptions kDownNoCase{true, false, false};

// The eight combinations of down, match case and whole word.
SearchOptions OptionsFrom(int bits) { return {(bits & 1) != 0, (bits & 2) != 0, (bits & 4) != 0}; }

}  // namespace

TEST(ScanTextBuffer, FindNextWalksThroughTheOccurrencesAndStopsAtTheEnd) {
  const std::string text = "abcabc";
  EXPECT_EQ(Scan(text, 0, 0, "abc", kDown), 0);
  EXPECT_EQ(Scan(text, 0, 3, "abc", kDown), 3);   // the selected hit is passed over
  EXPECT_EQ(Scan(text, 3, 3, "abc", kDown), kNoHit);  // no wrap-around
  EXPECT_EQ(Scan(text, 6, 0, "abc", kUp), 3);
  EXPECT_EQ(Scan(text, 3, 3, "abc", kUp), 0);
  EXPECT_EQ(Scan(text, 2, 0, "abc", kUp), kNoHit);  // a hit must end at the selection start
  EXPECT_EQ(Scan("aaaa", 3, 0, "aa", kUp), 1);
  EXPECT_EQ(Scan("aaaa", 2, 2, "aa", kUp), 0);
}

TEST(ScanTextBuffer, WholeWordSkipsPartsOfWords) {
  const std::string text = "foo foobar foo";
  EXPECT_EQ(Scan(text, 0, 3, "foo", kDownWord), 11);
  EXPECT_EQ(Scan(text, 11, 3, "foo", kDownWord), kNoHit);
  EXPECT_EQ(Scan(text, 14, 0, "foo", kUpWord), 11);
  EXPECT_EQ(Scan(text, 11, 3, "foo", kUpWord), 0);
  EXPECT_EQ(Scan(text, 0, 0, "foobar", kDownWord), 4);
  EXPECT_EQ(Scan("a_foo foo", 0, 0, "foo", kDownWord), 2);  // the underscore separates words
  EXPECT_EQ(Scan("foo1 foo", 0, 0, "foo", kDownWord), 5);   // a digit does not
}

TEST(ScanTextBuffer, WholeWordKeepsTheScansOwnRulesAtItsEnds) {
  // Downward, the word the caret stands at is passed over, even at its first byte.
  EXPECT_EQ(Scan("foo foobar foo", 0, 0, "foo", kDownWord), 11);
  EXPECT_EQ(Scan("-foo foo", 0, 0, "foo", kDownWord), 1);
  // The last candidate is taken as it stands: upward offset 0 with a word
  // after the match, downward the end of the text inside a word.
  EXPECT_EQ(Scan("foobar", 6, 0, "foo", kUpWord), 0);
  EXPECT_EQ(Scan("a xfoo", 0, 0, "foo", kDownWord), 3);
  // Upward the end of the text counts as a delimiter after the match.
  EXPECT_EQ(Scan("a foo", 5, 0, "foo", kUpWord), 2);
}

TEST(ScanTextBuffer, UpwardWholeWordEndsInATextThatBeginsWithADelimiter) {
  EXPECT_EQ(Scan(" foo", 4, 0, "bar", kUpWord), kNoHit);
  EXPECT_EQ(Scan("\x82\xA0\x82\xA0 foo", 8, 0, "xyz", kUpWord), kNoHit);
  EXPECT_EQ(Scan(" foo", 4, 0, "foo", kUpWord), 1);
  // Offset 1 is the scan's last stop there, compared once like any other.
  EXPECT_EQ(Scan("  x", 3, 0, " x", kUpWord), 1);
  // A match that would end after the selection start is not taken.
  EXPECT_EQ(Scan("-foo", 3, 0, "foo", kUpWord), kNoHit);
}

TEST(ScanTextBuffer, MatchCaseOffFoldsTheTextsLettersByteByByte) {
  EXPECT_EQ(Scan("xx abc", 0, 0, "ABC", kDownNoCase), 3);
  EXPECT_EQ(Scan("xx aBc", 0, 0, "ABC", kDownNoCase), 3);
  EXPECT_EQ(Scan("xx aBc", 0, 0, "abc", kDownNoCase), 3);
  EXPECT_EQ(Scan("xx aBc", 0, 0, "ABC", kDown), kNoHit);
  // Full-width letters: the search text is upper-cased by character, the
  // text's bytes are not, so ａ finds Ａ and not itself.
  EXPECT_EQ(Scan("\x82\x81\x82\x60", 0, 0, "\x82\x81", kDownNoCase), 2);
  EXPECT_EQ(Scan("\x82\x81\x82\x60", 0, 0, "\x82\x81", kDown), 0);
  // A second byte in a-z is folded in the text: ヂ (83 61) reads as ア (83 41),
  // and with match case off a search for ヂ cannot match at all.
  EXPECT_EQ(Scan("\x83\x61", 0, 0, "\x83\x41", kDownNoCase), 0);
  EXPECT_EQ(Scan("\x83\x61", 0, 0, "\x83\x61", kDownNoCase), kNoHit);
  EXPECT_EQ(Scan("\x83\x61", 0, 0, "\x83\x61", kDown), 0);
}

TEST(ScanTextBuffer, HitsStartOnlyWhereACharacterStarts) {
  // 表 is 95 5C and ア 83 41: their second bytes are a backslash and an A.
  EXPECT_EQ(Scan("\x95\x5C", 0, 0, "\\", kDown), kNoHit);
  EXPECT_EQ(Scan("\x95\x5C\\", 0, 0, "\\", kDown), 2);
  EXPECT_EQ(Scan("\\\x95\x5C", 3, 0, "\\", kUp), 0);
  EXPECT_EQ(Scan("\x83\x41" "a", 0, 0, "A", kDownNoCase), 2);
  EXPECT_EQ(Scan("\x82\xA0\x82\xA0", 0, 0, "\xA0\x82", kDown), kNoHit);
  // Second bytes inside the lead-byte ranges: ン is 83 93, 日本 93 FA 96 7B.
  EXPECT_EQ(Scan("\x83\x93" "1", 0, 0, "1", kDown), 2);
  EXPECT_EQ(Scan("\x83\x93\x93\xFA", 0, 0, "\x93\xFA", kDown), 2);
  EXPECT_EQ(Scan("\x93\xFA\x96\x7B", 4, 0, "\xFA\x96", kUp), kNoHit);
  // Whole word: the A of ア is no word of its own.
  EXPECT_EQ(Scan("x \x83\x41 A", 0, 0, "A", kDownWord), 5);
  EXPECT_EQ(Scan("x \x83\x41 A", 5, 0, "A", kUpWord), kNoHit);
  // ＝ is 81 81: in a run of them only every other offset starts one, seen
  // from either end of a long text.
  const std::string run(1001, '\x81');
  EXPECT_EQ(Scan(run, 1, 0, "\x81\x81", kDown), 2);
  EXPECT_EQ(Scan(run, 1001, 0, "\x81\x81", kUp), 998);
}

TEST(ScanTextBuffer, RefusesEmptyInputsAndSelectionsOutsideTheText) {
  EXPECT_EQ(Scan("", 0, 0, "a", kDown), kNoHit);
  EXPECT_EQ(Scan("abc", 0, 0, "", kDown), kNoHit);
  EXPECT_EQ(Scan("abc", 0, 0, "abcd", kDown), kNoHit);
  EXPECT_EQ(Scan("abc", -1, 0, "abc", kDown), kNoHit);
  EXPECT_EQ(Scan("abc", 4, 0, "c", kDown), kNoHit);
  EXPECT_EQ(Scan("abc", 0, 3, "c", kDown), kNoHit);
  EXPECT_EQ(Scan("abc", 2, 0, "abc", kUp), kNoHit);
  // A selection start past the end: candidates up to the text's end only.
  EXPECT_EQ(Scan("abc", 5, 0, "bc", kUp), 1);
  EXPECT_EQ(Scan("abc", 4, 0, "c", kUp), 2);
  EXPECT_EQ(Scan("abc", 5, 0, "c", kUp), kNoHit);  // more than one past: refused as such
  EXPECT_EQ(Scan("abc", 2147483647, 2147483647, "a", kDown), kNoHit);
  EXPECT_EQ(Scan("abc", -2147483647 - 1, 0, "a", kUp), kNoHit);
  // A search text with a zero byte matches only real bytes.
  EXPECT_EQ(Scan(std::string("ab\0", 3), 0, 0, std::string("b\0", 2), kDown), 1);
  EXPECT_EQ(Scan("ab", 3, 0, std::string("b\0", 2), kUp), kNoHit);
}

TEST(UpperCaseSearchText, UpperCasesWholeCharactersOnly) {
  EXPECT_EQ(UpperCaseSearchText("abcXYZ09_"), "ABCXYZ09_");
  EXPECT_EQ(UpperCaseSearchText("\x82\x81\x82\x9A"), "\x82\x60\x82\x79");  // ａｚ -> ＡＺ
  EXPECT_EQ(UpperCaseSearchText("\x83\xBF"), "\x83\x9F");                  // α -> Α
  EXPECT_EQ(UpperCaseSearchText("\x84\x70"), "\x84\x40");                  // а -> А
  EXPECT_EQ(UpperCaseSearchText("\x83\x61" "a"), "\x83\x61" "A");          // ヂ keeps its 61
  EXPECT_EQ(UpperCaseSearchText("\xEE\xEF"), "\xEE\xEF");                  // ⅰ has no fold here
  EXPECT_EQ(UpperCaseSearchText("a\x85\x86" "b\x82"), "A\x85\x86" "B\x82");  // no characters: kept
}

TEST(FoldTable, FoldsOnlyTheAsciiLetters) {
  const auto& off = FoldTable(false);
  const auto& on = FoldTable(true);
  for (int b = 0; b < 256; ++b) {
    EXPECT_EQ(on[b], b);
    EXPECT_EQ(off[b], b >= 'a' && b <= 'z' ? b - 32 : b) << b;
  }
  EXPECT_FALSE(WordDelimiters['0']);
  EXPECT_FALSE(WordDelimiters['z']);
  EXPECT_TRUE(WordDelimiters['_']);
  EXPECT_TRUE(WordDelimiters[0xB1]);
  EXPECT_TRUE(WordDelimiters[0x00]);
}

namespace {

// Texts built from pieces that exercise the scan's rules: letters in both
// cases, digits, delimiters, double-byte characters whose second bytes are
// letters, backslashes or in the lead-byte ranges, and stray bytes.
class TextMaker {
 public:
  explicit TextMaker(unsigned seed) : rng_(seed) {}

  std::string Text(int max_pieces) {
    static const std::string_view kPieces[] = {
        "a", "b", "A", "B", "ab", "AB", "aB", "1", " ", "_", "\r\n", "\t",
        "\x82\xA0", "\x83\x41", "\x83\x61", "\x81\x40", "\x95\x5C", "\x82\x81", "\x82\x60",
        "\x83\x93", "\x93\xFA", "\x81\x81",
        "\xB1", "\xEE\xEF", "\x81", "\xFF", std::string_view("\0", 1)};
    std::string s;
    const int n = Int(0, max_pieces);
    for (int i = 0; i < n; ++i) s += kPieces[Int(0, static_cast<int>(std::size(kPieces)) - 1)];
    return s;
  }

  // Mostly a piece of the text, so that hits are common, sometimes with its
  // letters' case changed; otherwise a text of its own. A piece mostly
  // begins where a character does, as only there it can be found.
  std::string Search(const std::string& text) {
    std::string s;
    if (!text.empty() && Int(0, 3) != 0) {
      int at = Int(0, static_cast<int>(text.size()) - 1);
      if (Int(0, 7) != 0) {
        int start = 0;
        for (int i = 0; i <= at; i += IsLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1) start = i;
        at = start;
      }
      s = text.substr(at, Int(1, 4));
      if (Int(0, 2) == 0)
        for (char& c : s)
          if ((c | 0x20) >= 'a' && (c | 0x20) <= 'z') c ^= 0x20;
    } else {
      s = Text(3);
    }
    return s;
  }

  int Position(int length) {
    switch (Int(0, 5)) {
      case 0: return 0;
      case 1: return length;
      case 2: return Int(-3, length + 4);
      default: return Int(0, length);
    }
  }

  int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }

 private:
  std::mt19937 rng_;
};

}  // namespace

TEST(ScanTextBuffer, AgreesWithTheStepByStepScanOnGeneratedTexts) {
  TextMaker make(20240611);
  int hits = 0, runs = 0;
  for (int round = 0; round < 4000; ++round) {
    const std::string text = make.Text(round % 10 == 0 ? 120 : 30);
    const std::string search = make.Search(text);
    const int n = static_cast<int>(text.size());
    for (int opt = 0; opt < 8; ++opt) {
      const SearchOptions o = OptionsFrom(opt);
      const PreparedSearch prepared(search, o);
      for (int t = 0; t < 4; ++t) {
        const int start = make.Position(n);
        const int length = t == 0 ? 0 : make.Int(-2, 6);
        const int expected = reference::ScanTextBuffer(text, start, length, search, o);
        const int got = ScanTextBuffer(reinterpret_cast<const unsigned char*>(text.data()), n, start, length,
                                       prepared);
        ASSERT_EQ(got, expected) << "round " << round << " options " << opt << " sel " << start << "," << length
                                 << " text size " << n << " search size " << search.size();
        hits += got >= 0;
        ++runs;
      }
    }
  }
  EXPECT_GT(hits, runs / 6);  // the generated cases do find things
}

TEST(ScanTextBuffer, AgreesWithTheStepByStepScanAroundTheEightByteBlocks) {
  // Hits at every offset of a longer text, near both ends, for both directions.
  for (int len = 1; len <= 40; ++len) {
    for (int at = 0; at + 3 <= len; ++at) {
      std::string text(static_cast<std::size_t>(len), ' ');
      text.replace(static_cast<std::size_t>(at), 3, "aBc");
      for (int opt = 0; opt < 8; ++opt) {
        const SearchOptions o = OptionsFrom(opt);
        for (const char* search : {"aBc", "ABC", "c", " a"}) {
          for (int start : {0, 1, at, at + 1, len - 1, len}) {
            ASSERT_EQ(Scan(text, start, 0, search, o), reference::ScanTextBuffer(text, start, 0, search, o))
                << len << " " << at << " " << opt << " " << search << " " << start;
          }
        }
      }
    }
  }
}

TEST(ReplaceAllInBuffer, ReplacesTheSelectionFirstIgnoringCase) {
  EXPECT_EQ(ReplaceAllInBuffer("ABC abc", 0, 3, "abc", "x", kDown), (ReplaceAllResult{"x x", 3, 0, 2}));
  // Without a selection the run starts at the caret, and the caret ends
  // after the last text inserted.
  EXPECT_EQ(ReplaceAllInBuffer("abc abc abc", 4, 0, "abc", "x", kDown), (ReplaceAllResult{"abc x x", 7, 0, 2}));
  EXPECT_EQ(ReplaceAllInBuffer("abc abc abc", 4, 0, "abc", "x", kUp), (ReplaceAllResult{"x abc abc", 1, 0, 1}));
}

TEST(ReplaceAllInBuffer, LeavesTheTextAndSelectionWhenNothingMatches) {
  EXPECT_EQ(ReplaceAllInBuffer("hello", 1, 2, "xyz", "q", kDown), (ReplaceAllResult{"hello", 1, 2, 0}));
  EXPECT_EQ(ReplaceAllInBuffer("hello", 0, 0, "", "q", kDown), (ReplaceAllResult{"hello", 0, 0, 0}));
}

TEST(ReplaceAllInBuffer, EndsWhenTheReplaceTextHoldsTheSearchText) {
  EXPECT_EQ(ReplaceAllInBuffer("a a a", 5, 0, "a", "aa", kUp), (ReplaceAllResult{"aa aa aa", 2, 0, 3}));
  EXPECT_EQ(ReplaceAllInBuffer("a a a", 0, 1, "a", "[a]", kDown), (ReplaceAllResult{"[a] [a] [a]", 11, 0, 3}));
  EXPECT_EQ(ReplaceAllInBuffer("aaaa", 4, 0, "aa", "xaax", kUp), (ReplaceAllResult{"xaaxxaax", 4, 0, 2}));
}

TEST(ReplaceAllInBuffer, LeavesDoubleByteCharactersWhole) {
  // 表, ソ, 十 and 能 end in 5C, a backslash; ア is 83 41.
  const std::string chars = "\x95\x5C\x83\x5C\x8F\x5C\x94\x5C";
  const std::string text = chars + " C:\\dir\\" + chars;
  const std::string want = chars + " C:/dir/" + chars;
  EXPECT_EQ(ReplaceAllInBuffer(text, 0, 0, "\\", "/", kDown), (ReplaceAllResult{want, 16, 0, 2}));
  EXPECT_EQ(ReplaceAllInBuffer(text, static_cast<int>(text.size()), 0, "\\", "/", kUp),
            (ReplaceAllResult{want, 12, 0, 2}));
  EXPECT_EQ(ReplaceAllInBuffer("\x83\x41 A\x83\x41", 0, 0, "A", "B", kDown).text, "\x83\x41 B\x83\x41");
  EXPECT_EQ(ReplaceAllInBuffer("\x83\x41 a", 0, 0, "a", "B", kDownNoCase).text, "\x83\x41 B");
}

TEST(ReplaceAllInBuffer, UpwardWholeWordSeesTheTextItJustInserted) {
  // With the second foo replaced, the byte after the first one is the
  // inserted text's first byte: a space makes it a word, a letter does not.
  EXPECT_EQ(ReplaceAllInBuffer("a foofoo", 5, 3, "foo", " ", kUpWord).text, "a   ");
  EXPECT_EQ(ReplaceAllInBuffer("a foofoo", 5, 3, "foo", "z", kUpWord).text, "a fooz");
  EXPECT_EQ(ReplaceAllInBuffer("a foofoo", 8, 0, "foo", " ", kUpWord).text, "a foofoo");
}

TEST(ReplaceAllInBuffer, AgreesWithTheDialogsLoopOnGeneratedTexts) {
  TextMaker make(77);
  for (int round = 0; round < 3000; ++round) {
    const std::string text = make.Text(25);
    const std::string search = make.Search(text);
    std::string replace = make.Int(0, 2) == 0 ? search + make.Text(1) : make.Text(2);
    if (make.Int(0, 3) == 0) replace = make.Text(1) + search;
    const int n = static_cast<int>(text.size());
    for (int opt = 0; opt < 8; ++opt) {
      const SearchOptions o = OptionsFrom(opt);
      const int start = make.Position(n);
      const int length = make.Int(-1, 5);
      ASSERT_EQ(ReplaceAllInBuffer(text, start, length, search, replace, o),
                reference::ReplaceAll(text, start, length, search, replace, o))
          << "round " << round << " options " << opt;
    }
  }
}
