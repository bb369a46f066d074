// The word search over files in every encoding the editor opens: against
// the reference that decodes a whole file at once, against the Shift-JIS twin
// of the same text, and the recognition of the encoding piece by piece.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "native/search_scan_reference.h"
#include "platform/text.h"
#include "platform/text_file.h"
#include "wordsearch/decoded_scan.h"
#include "wordsearch/result_line.h"
#include "wordsearch/utf8_lines.h"

namespace velkor::scan_reference {
void PrintTo(const TextHit& h, std::ostream* os) {
  *os << "{line " << h.line << ", " << ::testing::PrintToString(h.text) << ", " << ::testing::PrintToString(h.shown)
      << "}";
}
}  // namespace velkor::scan_reference

using namespace velkor;
using scan_reference::TextHit;
using Hits = std::vector<TextHit>;

namespace {

// Hands out the data in pieces of random size, and can start again.
class PieceSource : public ByteSource {
 public:
  PieceSource(std::string_view data, unsigned seed) : data_(data), rng_(seed) {}
  int Read(unsigned char* dst, int max) override {
    const int piece = std::uniform_int_distribution<int>(1, 7000)(rng_);
    const auto n = std::min<std::size_t>(std::min(max, piece), data_.size() - pos_);
    std::copy_n(data_.data() + pos_, n, dst);
    pos_ += n;
    ++reads_;
    return static_cast<int>(n);
  }
  bool Rewind() override {
    pos_ = 0;
    ++rewinds_;
    return true;
  }
  int rewinds_ = 0;
  int reads_ = 0;

 private:
  std::string_view data_;
  std::size_t pos_ = 0;
  std::mt19937 rng_;
};

struct Found {
  Hits hits;
  DocEncoding encoding = DocEncoding::ShiftJis;
  int rewinds = 0;
};

Found Search(std::string_view file, std::wstring_view keyword, bool case_sensitive = false, bool class_check = false,
             unsigned seed = 1) {
  const SearchKeyword key(keyword);
  FileScanner scanner(SearchKey{key.bytes(), EffectiveCaseSensitive(key.bytes(), case_sensitive), class_check});
  PieceSource source(file, seed);
  Found found;
  SearchFileText(
      scanner, key, source,
      [&](long long line, std::string_view text, std::u32string_view stand_ins) {
        found.hits.push_back({line, std::string(text), ShownText(text, stand_ins)});
        return true;
      },
      &found.encoding);
  found.rewinds = source.rewinds_;
  return found;
}

std::string Encoded(std::wstring_view text, DocEncoding encoding) { return EncodeDocument(text, encoding).bytes; }

std::wstring W(const char* utf8) { return Utf8ToWide(utf8); }

const DocEncoding kAll[] = {DocEncoding::ShiftJis, DocEncoding::Utf8, DocEncoding::Utf8Bom, DocEncoding::Utf16Le,
                            DocEncoding::Utf16Be};

// Texts of every kind of character: ASCII words and the bytes the scan
// treats apart (space, parenthesis, dot, backslash, NUL, 0x1A), Japanese
// with second bytes that are ASCII, half-width katakana, and characters that
// code page 932 lacks (accented letters, an emoji beyond the basic plane,
// Hangul, a lone surrogate), over lines of any length and any line ends.
class TextGenerator {
 public:
  explicit TextGenerator(unsigned seed) : rng_(seed) {}

  std::wstring Make(std::wstring_view keyword, bool lacking) {
    static const std::vector<std::wstring> kPieces = {
        L"a", L"A", L"Create", L"re", L" ", L"(", L".", L"\\", std::wstring(1, L'\0'), L"\x1A", L"\r",
        W("表"), W("ソ"), W("ベルコ"), W("ル"), W("。"), W("ｶﾀｶﾅ"), W("ｱ"), W("＝"), L"?", L"xyz"};
    static const std::vector<std::wstring> kLacking = {W("é"), W("😀"), W("한글"), W("ß"), std::wstring(1, 0xD800)};
    std::wstring out;
    const std::size_t target = Pick(0, 3) == 0 ? Pick(0, 400) : Pick(5000, 40000);
    while (out.size() < target) {
      const std::size_t len = Pick(0, 30) == 0 ? Pick(300, 12000) : Pick(0, 120);
      const std::size_t stop = out.size() + len;
      while (out.size() < stop) {
        const std::size_t kind = Pick(0, 99);
        if (kind < 5) {
          out += keyword;
        } else if (kind < 15 && lacking) {
          out += kLacking[Pick(0, kLacking.size() - 1)];
        } else {
          out += kPieces[Pick(0, kPieces.size() - 1)];
        }
      }
      out += Pick(0, 3) == 0 ? L"\n" : L"\r\n";
    }
    return out;
  }

 private:
  std::size_t Pick(std::size_t lo, std::size_t hi) { return std::uniform_int_distribution<std::size_t>(lo, hi)(rng_); }
  std::mt19937 rng_;
};

}  // namespace

TEST(DecodedScan, AgreesWithTheWholeFileDecodedInEveryEncoding) {
  TextGenerator gen(20261209);
  const std::wstring keywords[] = {W("ベルコ"), W("é"), L"a", L"\\", L"Create", W("😀ベ"), W("ｶﾀ"), L"re",
                                   W("表"), W("é😀")};
  int compared = 0, with_hits = 0;
  for (int round = 0; round < 120; ++round) {
    const std::wstring& keyword = keywords[round % std::size(keywords)];
    const std::wstring text = gen.Make(keyword, round % 5 != 0);
    const int mode = (round / 3) % 4;  // bit 0 case-sensitive, bit 1 class check
    for (DocEncoding encoding : kAll) {
      const std::string file = Encoded(text, encoding);
      const Hits expected = scan_reference::ScanDecoded(file, keyword, mode & 1, mode & 2);
      const Found found = Search(file, keyword, mode & 1, mode & 2, static_cast<unsigned>(round));
      ASSERT_EQ(found.hits, expected) << "round " << round << " encoding " << static_cast<int>(encoding);
      EXPECT_EQ(found.encoding, RecogniseEncoding(file));
      ++compared;
      with_hits += !expected.empty();
    }
  }
  EXPECT_GT(with_hits, compared / 2);
}

TEST(DecodedScan, AnyEncodingOfATextFindsWhatItsShiftJisTwinFinds) {
  TextGenerator gen(7);
  for (int round = 0; round < 40; ++round) {
    const std::wstring keyword = round % 2 ? W("ベルコ") : L"re";
    const std::wstring text = gen.Make(keyword, false);
    const Found twin = Search(Encoded(text, DocEncoding::ShiftJis), keyword, false, round % 3 == 0);
    ASSERT_FALSE(twin.hits.empty());
    for (DocEncoding encoding : kAll)
      ASSERT_EQ(Search(Encoded(text, encoding), keyword, false, round % 3 == 0).hits, twin.hits)
          << "round " << round << " encoding " << static_cast<int>(encoding);
  }
}

TEST(DecodedScan, CharactersThatShiftJisLacksMatchOnlyThemselvesAndCountTwoBytes) {
  const std::string file = "\xC3\xA9\xF0\x9F\x98\x80\xE3\x83\x99\xE3\x83\xAB\xE3\x82\xB3\r\n?\r\nplain\r\n";  // é😀ベルコ
  const Found kana = Search(file, W("ベルコ"));
  EXPECT_EQ(kana.encoding, DocEncoding::Utf8);
  ASSERT_EQ(kana.hits.size(), 1u);
  EXPECT_EQ(kana.hits[0].line, 1);
  EXPECT_EQ(kana.hits[0].shown, W("é😀ベルコ"));
  EXPECT_EQ(kana.hits[0].text.size(), 10u) << "two stand-ins and three characters of two bytes";

  const Found accent = Search(file, W("é"));
  ASSERT_EQ(accent.hits.size(), 1u);
  EXPECT_EQ(accent.hits[0].line, 1);
  EXPECT_TRUE(Search(file, W("ß")).hits.empty()) << "another character that Shift-JIS lacks";
  EXPECT_TRUE(Search(file, W("😀é")).hits.empty());
  EXPECT_EQ(Search(file, L"?").hits.size(), 1u);

  // A Shift-JIS file holds no such character, whatever its bytes.
  const std::string sjis = std::string("\x85\x80\xEF\xFC\x82\xA0\r\n");
  EXPECT_TRUE(Search(sjis, W("é")).hits.empty());
  EXPECT_TRUE(Search(sjis, W("あé")).hits.empty());
}

TEST(DecodedScan, ALongLineIsCutWhereItsShiftJisTwinIsCut) {
  // 150 characters of two bytes: the line text keeps the first 255 bytes.
  std::wstring line;
  for (int i = 0; i < 50; ++i) line += W("ベé😀");
  line += L" key";
  const std::wstring text = L"first\r\n" + line + L"\r\n";
  const Found utf8 = Search(Encoded(text, DocEncoding::Utf8), L"key");
  ASSERT_EQ(utf8.hits.size(), 1u);
  EXPECT_EQ(utf8.hits[0].line, 2);
  EXPECT_EQ(utf8.hits[0].text.size(), 255u);
  // The twin with ＝ and 表 (two bytes each) for é and 😀 is cut after the same bytes.
  std::wstring twin = text;
  for (wchar_t& c : twin) c = c == W("é")[0] ? W("＝")[0] : c;
  for (std::size_t at; (at = twin.find(W("😀"))) != std::wstring::npos;) twin.replace(at, W("😀").size(), W("表"));
  const Found sjis = Search(Encoded(twin, DocEncoding::ShiftJis), L"key");
  ASSERT_EQ(sjis.hits.size(), 1u);
  EXPECT_EQ(sjis.hits[0].text.size(), 255u);
  std::wstring shown_twin = utf8.hits[0].shown.substr(0, utf8.hits[0].shown.size() - 1);
  for (wchar_t& c : shown_twin) c = c == W("é")[0] ? W("＝")[0] : c;
  for (std::size_t at; (at = shown_twin.find(W("😀"))) != std::wstring::npos;)
    shown_twin.replace(at, W("😀").size(), W("表"));
  EXPECT_EQ(sjis.hits[0].shown.substr(0, sjis.hits[0].shown.size() - 1), shown_twin);
  const std::wstring start = W("ベé😀ベ");
  EXPECT_EQ(utf8.hits[0].shown.substr(0, start.size()), start);

  // The result line shows 110 bytes of it: 18 whole triples and one ベ, the
  // columns behind in place.
  ResultLineBuilder builder;
  std::u32string stand_ins;
  for (int i = 0; i < 40; ++i) stand_ins += U"é😀";
  const SearchHit hit = builder.Make("C:\\a.txt", 2, "26/12/09", "10:00:00", utf8.hits[0].text);
  const std::wstring shown = ShownResultLine(hit, stand_ins);
  std::wstring expected_text;
  for (int i = 0; i < 18; ++i) expected_text += W("ベé😀");
  expected_text += W("ベ");
  EXPECT_EQ(shown.substr(49, expected_text.size()), expected_text);
  EXPECT_EQ(shown.substr(49 + expected_text.size()), L" C:\\a.txt");
  EXPECT_EQ(hit.text.substr(160), "C:\\a.txt");
}

TEST(DecodedScan, AFileThatOnlyLooksLikeUtf8AtFirstIsSearchedAgainAsShiftJis) {
  // ASCII lines with hits, UTF-8 far past the look ahead, then a byte that
  // UTF-8 has not: the file is Shift-JIS, and every line hits once.
  std::string file;
  for (int n = 0; n < 400; ++n) file += "key ascii line\r\n";
  for (int n = 0; n < 2000; ++n) file += "key \xE3\x81\x82\xE3\x81\x84\r\n";  // あい
  file += "key \x82\xA0\r\n";
  const Found found = Search(file, L"key");
  EXPECT_EQ(found.encoding, DocEncoding::ShiftJis);
  EXPECT_EQ(found.rewinds, 1);
  ASSERT_EQ(found.hits.size(), 2401u);
  for (std::size_t i = 0; i < found.hits.size(); ++i) ASSERT_EQ(found.hits[i].line, static_cast<long long>(i) + 1);
  EXPECT_EQ(found.hits[400].text, "key \xE3\x81\x82\xE3\x81\x84");

  // Cut in the middle of its last character: not UTF-8 either.
  const std::string cut = "key \xE3\x81\x82\r\nkey \xE3\x81";
  EXPECT_EQ(Search(cut, L"key").encoding, DocEncoding::ShiftJis);
  EXPECT_EQ(Search(cut, L"key").hits.size(), 2u);
  // Whole, it is.
  const Found whole = Search(cut + "\x84", L"key");
  EXPECT_EQ(whole.encoding, DocEncoding::Utf8);
  EXPECT_EQ(whole.rewinds, 0);
  EXPECT_EQ(whole.hits[1].shown, W("key い"));
}

TEST(DecodedScan, EveryCharacterAndEveryStrayByteComesOutAsTheWholeFileDecodedGivesIt) {
  // Every character of the basic plane, sixteen to a line, each line a hit,
  // and lone surrogates in UTF-16.
  std::wstring text;
  for (char32_t c = 0x80; c < 0x10000; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    if (text.empty() || text.back() == L'\n') text += L"x ";
    text.push_back(static_cast<wchar_t>(c));
    if (c % 16 == 0) text += c % 32 ? L"\r\n" : L"\n";
  }
  text += L"x \xD800 \xDC00 \xDBFF\n";
  for (DocEncoding encoding : {DocEncoding::Utf8, DocEncoding::Utf8Bom, DocEncoding::Utf16Le, DocEncoding::Utf16Be}) {
    const std::string file = Encoded(text, encoding);
    const Found found = Search(file, L"x", false, false, static_cast<unsigned>(encoding));
    EXPECT_EQ(found.rewinds, 0);
    ASSERT_EQ(found.hits, scan_reference::ScanDecoded(file, L"x", false, false)) << static_cast<int>(encoding);
  }
  // Bytes that are no UTF-8 after a mark: every byte of the upper half
  // alone, sequences cut short, overlong, surrogates, past U+10FFFF.
  std::string stray = "\xEF\xBB\xBF";
  for (int b = 0x80; b < 0x100; ++b) stray += "x " + std::string(1, static_cast<char>(b)) + "a\xE3\x81\x82\n";
  for (const char* bad : {"\xE3\x81", "\xE3", "\xC3", "\xF0\x9F\x98", "\xC0\xAF", "\xC1\xBF", "\xE0\x80\xAF",
                          "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xF8\x88\x80\x80\x80", "\xE3\x41\x82", "\xC3\xC3\xA9"})
    stray += std::string("x ") + bad + "b\r\n";
  stray += "x \xE3\x81";  // cut by the end of the file
  const Found found = Search(stray, L"x");
  ASSERT_EQ(found.hits, scan_reference::ScanDecoded(stray, L"x", false, false));
  EXPECT_EQ(found.hits.size(), 128u + 13u);
}

TEST(DecodedScan, ARefusedHitEndsTheFileAlsoWhenItWaitedForTheEnd) {
  std::string file;
  for (int n = 0; n < 5; ++n) file += "key \xE3\x81\x82\n";
  const SearchKeyword key(L"key");
  FileScanner scanner(SearchKey{key.bytes(), false, false});
  PieceSource source(file, 3);
  int calls = 0;
  EXPECT_EQ(SearchFileText(scanner, key, source, [&](long long, std::string_view, std::u32string_view) {
              return ++calls < 3;
            }),
            ScanEnd::Refused);
  EXPECT_EQ(calls, 3);
}

TEST(EncodingRecognition, PiecesOfAnySizeGiveWhatTheWholeGives) {
  const std::string samples[] = {
      "",
      "ascii only",
      "\xEF\xBB\xBF",
      "\xEF\xBB",
      "\xEF\xBB\xBF" "abc",
      std::string("\xFF\xFE" "a\0", 4),
      std::string("\xFE\xFF\0a", 4),
      "\xFE",
      "a\xE3\x81\x82" "b",
      "a\xE3\x81",
      "a\xE3\x81\x82\xE3",
      "\x82\xA0\x82\xA2",
      "\xE3\x81\x82\x82\xA0",
      "\xC0\xAF",              // an overlong slash
      "\xED\xA0\x80",          // a surrogate
      "\xF4\x90\x80\x80",      // past U+10FFFF
      "\xF0\x9F\x98\x80 ok",
      "abc\xEF\xBB\xBF",       // a mark that is no mark: UTF-8 text
  };
  for (const std::string& bytes : samples) {
    const DocEncoding whole = RecogniseEncoding(bytes);
    for (std::size_t piece = 1; piece <= bytes.size() + 1; ++piece) {
      EncodingRecogniser recogniser;
      for (std::size_t at = 0; at < bytes.size(); at += piece) recogniser.Add(std::string_view(bytes).substr(at, piece));
      recogniser.Finish();
      EXPECT_EQ(recogniser.encoding(), whole) << "'" << bytes << "' in pieces of " << piece;
    }
  }
  EXPECT_EQ(RecogniseEncoding("abc\xEF\xBB\xBF"), DocEncoding::Utf8);
  EXPECT_EQ(RecogniseEncoding("a\xE3\x81"), DocEncoding::ShiftJis);

  // Settled as soon as a mark or a byte that UTF-8 has not comes, and not before.
  EncodingRecogniser sjis;
  sjis.Add("abc\xE3\x81\x82");
  EXPECT_FALSE(sjis.settled());
  EXPECT_TRUE(sjis.utf8_so_far());
  sjis.Add("\x82\xA0");
  EXPECT_TRUE(sjis.settled());
  EXPECT_EQ(sjis.encoding(), DocEncoding::ShiftJis);
  EncodingRecogniser marked;
  marked.Add("\xFF\xFE");
  EXPECT_TRUE(marked.settled());
  EXPECT_EQ(marked.encoding(), DocEncoding::Utf16Le);
}

TEST(EncodingRecognition, DecodedTextKeepsItsLineBreaksAndNuls) {
  EXPECT_EQ(DecodeText("a\rb\n\xE3\x81\x82", DocEncoding::Utf8), L"a\rb\n" + W("あ"));
  EXPECT_EQ(DecodeText("\xEF\xBB\xBF" "a\n", DocEncoding::Utf8Bom), L"a\n");
  EXPECT_EQ(DecodeText(std::string("\xFF\xFE" "a\0\0\0\n\0", 8), DocEncoding::Utf16Le), std::wstring(L"a\0\n", 3));
  EXPECT_EQ(DecodeText(std::string("\xFE\xFF\0a\0\r", 6), DocEncoding::Utf16Be), L"a\r");
  EXPECT_EQ(DecodeText("\x82\xA0\r", DocEncoding::ShiftJis), W("あ") + L"\r");
}

// Long UTF-8 texts in which most lines cannot hold the keyword: lines that
// end in LF, CRLF or a CR that ends no line, the keyword in every fifth line
// in both cases, read in pieces of any size, so that the keyword and the
// lines around it meet every edge of what has been read.
TEST(DecodedScan, LinesLeftOutForWantOfTheKeywordChangeNoHit) {
  const std::wstring keywords[] = {W("ベルコ"), L"Velkor", W("表示"), W("ｶﾀ")};
  const std::wstring others[] = {W("ベルコ"), L"vELKOR", W("表示"), W("ｶﾀ")};
  const wchar_t* const ends[] = {L"\n", L"\r\n", L"\r"};
  for (int round = 0; round < 16; ++round) {
    const std::size_t k = static_cast<std::size_t>(round) % std::size(keywords);
    std::wstring text;
    for (int n = 0; text.size() < 40000; ++n) {
      text += W("日本語の文章で").substr(0, static_cast<std::size_t>(n + round) % 7);
      text.append(static_cast<std::size_t>(n * 7 + round) % 13, L'v');
      if (n % 5 == round % 5) text += n % 2 ? keywords[k] : others[k];
      text += ends[n % 3];
    }
    const bool case_sensitive = round % 8 >= 4;
    for (DocEncoding encoding : {DocEncoding::Utf8, DocEncoding::Utf8Bom}) {
      const std::string file = Encoded(text, encoding);
      const Hits expected = scan_reference::ScanDecoded(file, keywords[k], case_sensitive, false);
      ASSERT_GT(expected.size(), 100u);
      const Found found = Search(file, keywords[k], case_sensitive, false, static_cast<unsigned>(round));
      ASSERT_EQ(found.hits, expected) << "round " << round;
      EXPECT_EQ(found.rewinds, 0);
    }
  }
}

TEST(DecodedScan, AByteThatIsNoUtf8InALineLeftOutStillTellsTheEncoding) {
  std::string body;
  for (int n = 0; n < 3000; ++n) body += n == 100 ? "key \xE3\x81\x82\n" : "\xE3\x81\x82\xE3\x81\x84\r\n";  // あ, あい
  std::string late = body;
  late.insert(late.size() - 496, "\x82\xA0");  // あ in Shift-JIS
  const Found sjis = Search(late, L"key");
  EXPECT_EQ(sjis.encoding, DocEncoding::ShiftJis);
  EXPECT_EQ(sjis.hits, scan_reference::ScanDecoded(late, L"key", false, false));
  EXPECT_EQ(Search(body, L"key").hits, scan_reference::ScanDecoded(body, L"key", false, false));
  // After a mark such a byte is U+FFFD, which the keyword may hold.
  std::string marked = "\xEF\xBB\xBF" + late;
  const Found replaced = Search(marked, L"\xFFFD");
  ASSERT_EQ(replaced.hits.size(), 1u);
  EXPECT_EQ(replaced.hits, scan_reference::ScanDecoded(marked, L"\xFFFD", false, false));
  EXPECT_EQ(Search(marked, L"key").hits.size(), 1u);
}

TEST(Utf8Lines, TheCheckAndTheLineFeedsAgreeWithTheDecoding) {
  const std::vector<std::string> pieces = {
      "a", "\n", "\r", "\xC3\xA9", "\xE3\x81\x82", "\xF0\x9F\x98\x80", "\xEF\xBD\xB6", "\xE0\xA0\x80", "\xED\x9F\xBF",
      "\xF4\x8F\xBF\xBF", "\xE3\x81", "\xC0\xAF", "\xE0\x9F\xBF", "\xED\xA0\x80", "\xF0\x8F\xBF\xBF", "\xF4\x90\x80\x80",
      "\xF5", "\xFF", "\x80", "\xC3"};
  std::mt19937 rng(5);
  int valid = 0;
  for (int round = 0; round < 4000; ++round) {
    std::string bytes;
    const std::size_t count = std::uniform_int_distribution<std::size_t>(0, 40)(rng);
    const std::size_t kinds = round % 2 ? pieces.size() : 10;  // half of them valid
    for (std::size_t i = 0; i < count; ++i)
      bytes += pieces[std::uniform_int_distribution<std::size_t>(0, kinds - 1)(rng)];
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    std::size_t feeds = 0;
    const bool ok = CheckUtf8Lines(p, p + bytes.size(), feeds);
    ASSERT_EQ(ok, ValidUtf8Length(bytes) == bytes.size()) << ::testing::PrintToString(bytes);
    ASSERT_EQ(feeds, static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')));
    ASSERT_EQ(CountLineFeeds(p, p + bytes.size()), feeds);
    valid += ok;
  }
  EXPECT_GT(valid, 1500);
}
