// The word search engine: the per-file line scan (against the byte-by-byte
// reference on generated files), the result lines and their columns, the
// date and time columns, file classes and directory captions.
#include <gtest/gtest.h>

#include <cctype>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "native/search_scan_reference.h"
#include "wordsearch/engine.h"
#include "wordsearch/result_line.h"
#include "wordsearch/search_paths.h"

using namespace velkor;
using namespace std::string_literals;

namespace {

using Hits = std::vector<scan_reference::Hit>;

// Hands out the data in pieces of random size, as a reader that returns
// short counts would.
class ChunkedSource : public ByteSource {
 public:
  ChunkedSource(std::string_view data, unsigned seed) : inner_(data), rng_(seed) {}
  int Read(unsigned char* dst, int max) override {
    const int piece = std::uniform_int_distribution<int>(1, 5000)(rng_);
    return inner_.Read(dst, std::min(max, piece));
  }

 private:
  MemorySource inner_;
  std::mt19937 rng_;
};

Hits Collect(FileScanner& scanner, ByteSource& source) {
  Hits hits;
  scanner.Scan(source, [&](long long line, std::string_view text) {
    hits.push_back({line, std::string(text)});
    return true;
  });
  return hits;
}

Hits Fast(std::string_view data, const SearchKey& key) {
  FileScanner scanner(key);
  MemorySource source(data);
  return Collect(scanner, source);
}

Hits Reference(std::string_view data, const SearchKey& key) {
  MemorySource source(data);
  return scan_reference::Scan(source, key);
}

SearchKey Key(std::string keyword, bool case_sensitive = false, bool class_check = false) {
  return SearchKey{std::move(keyword), case_sensitive, class_check};
}

std::vector<long long> LinesOf(const Hits& hits) {
  std::vector<long long> lines;
  for (const auto& h : hits) lines.push_back(h.line);
  return lines;
}

// Files that stress every rule of the scan: lines of 0 to 600 bytes (now and
// then far longer, so that lines run through several windows), the three
// kinds of line ends, double-byte characters whose second byte is a
// backslash, a letter or the keyword's own first byte, zero and 0x1A bytes,
// lone carriage returns, and the keyword in any case after any byte.
class FileGenerator {
 public:
  explicit FileGenerator(unsigned seed) : rng_(seed) {}

  std::string Make(std::string_view keyword) {
    std::string out;
    const int size_kind = Pick(0, 9);
    const std::size_t target = size_kind < 3 ? Pick(0, 2000)
                               : size_kind < 7 ? Pick(15000, 20000)
                                               : Pick(30000, 80000);
    const int end_mode = Pick(0, 3);  // CR LF, LF, CR, mixed
    while (out.size() < target) {
      const int kind = Pick(0, 99);
      const std::size_t len = kind < 2 ? Pick(1000, 20000) : kind < 10 ? 0 : Pick(0, 600);
      const std::size_t stop = out.size() + len;
      while (out.size() < stop) AddPiece(out, keyword);
      if (Pick(0, 300) == 0) break;  // no line end after the last line
      const int end = end_mode == 3 ? Pick(0, 2) : end_mode;
      out += end == 0 ? "\r\n" : end == 1 ? "\n" : "\r";
    }
    return out;
  }

 private:
  std::size_t Pick(std::size_t lo, std::size_t hi) {
    return std::uniform_int_distribution<std::size_t>(lo, hi)(rng_);
  }

  void AddPiece(std::string& out, std::string_view keyword) {
    static const unsigned char leads[] = {0x81, 0x83, 0x88, 0x95, 0x9F, 0xE0, 0xEA, 0xFC};
    static const unsigned char trails[] = {0x40, 0x41, 0x5C, 0x61, 0x7A, 0x7E, 0x80, 0x9F, 0xFC};
    const int kind = Pick(0, 99);
    if (kind < 4) {
      std::string k(keyword);
      for (char& c : k)
        if (Pick(0, 1)) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      out += k;
    } else if (kind < 7) {
      out += keyword.substr(0, Pick(0, keyword.size()));
    } else if (kind < 30) {
      out += static_cast<char>(leads[Pick(0, std::size(leads) - 1)]);
      const int t = Pick(0, 9);
      out += t < 9 ? static_cast<char>(trails[t]) : (keyword.empty() ? 'a' : keyword[0]);
    } else if (kind < 36) {
      out += " (."[Pick(0, 2)];
    } else if (kind < 37) {
      out += '\0';
    } else if (kind < 38) {
      out += '\x1A';
    } else if (kind < 39) {
      out += '\r';
    } else if (kind < 42) {
      out += static_cast<char>(Pick(0xA1, 0xDF));  // half-width katakana
    } else {
      out += static_cast<char>("abcdeAxyzZRC\\(0 "[Pick(0, 16)]);
    }
  }

  std::mt19937 rng_;
};

const std::string kKeywords[] = {
    "a", "A", "\\", "(", "Z", "\x83", "Create", "ReC", "ab", "TForm1", "\x95\x5C",
    "\x83\x41" "b", "xyz", "a\x1A" "b", std::string(40, 'z')};

}  // namespace

TEST(SearchScanDifferential, AgreesWithTheReferenceOnGeneratedFiles) {
  FileGenerator gen(20261208);
  int compared = 0, with_hits = 0;
  for (int round = 0; round < 1500; ++round) {
    const std::string& keyword = kKeywords[round % std::size(kKeywords)];
    const std::string data = gen.Make(keyword);
    for (int mode = 0; mode < 4; ++mode) {
      const SearchKey key = Key(keyword, mode & 1, mode & 2);
      const Hits expected = Reference(data, key);
      ASSERT_EQ(Fast(data, key), expected)
          << "round " << round << " keyword '" << keyword << "' mode " << mode;
      ++compared;
      with_hits += !expected.empty();
    }
  }
  // The generator must keep producing files that hit, or the comparison says little.
  EXPECT_GT(with_hits, compared / 2);
}

TEST(SearchScanDifferential, ShortReadsAndScannerReuseChangeNothing) {
  FileGenerator gen(77);
  FileScanner scanner(Key("Create", false, true));
  for (unsigned round = 0; round < 200; ++round) {
    const std::string data = gen.Make("Create");
    ChunkedSource source(data, round);
    EXPECT_EQ(Collect(scanner, source), Reference(data, Key("Create", false, true)))
        << "round " << round;
  }
}

// Windows that end near the slide point: line feeds at 15,868 to 15,876 and
// keywords placed across 15,872 and 16,384, in the first window and in the
// windows after a slide.
TEST(SearchScanDifferential, AgreesAroundTheWindowBoundaries) {
  std::vector<int> places;
  for (int at = 15860; at <= 15880; ++at) places.push_back(at);
  for (int at = 15900; at < 16370; at += 97) places.push_back(at);
  for (int at = 16370; at <= 16400; ++at) places.push_back(at);
  for (int lf = 15868; lf <= 15876; ++lf) {
    for (int at : places) {
      for (int tail : {0, 1, 20000}) {
        std::string data(lf, 'x');
        for (int p = 60; p < lf; p += 61) data[p] = '\n';
        data += '\n';
        if (at > static_cast<int>(data.size())) data.append(at - data.size(), 'y');
        data.insert(std::min<std::size_t>(at, data.size()), "Create");
        data.append(tail, tail == 1 ? '\n' : 'w');
        if (tail > 1)
          for (std::size_t p = data.size() - tail; p < data.size(); p += 300) data[p] = '\n';
        data += "\r\n(Create)\r\n";
        for (bool class_check : {false, true}) {
          const SearchKey key = Key("create", false, class_check);
          ASSERT_EQ(Fast(data, key), Reference(data, key)) << "lf " << lf << " at " << at;
        }
      }
    }
  }
}

// The scan classifies the window in 64-byte chunks: a second window whose
// late line feeds fall at every offset of a chunk must count and cut its lines
// exactly as the reference does.
TEST(SearchScanDifferential, AgreesAcrossSlidesAtEveryChunkAlignment) {
  for (int shift = 0; shift < 64; ++shift) {
    for (int late = 15871; late <= 15875; ++late) {
      std::string data(15872 + 16384, 'x');  // the second window starts at 15,872
      for (int p = 50; p < 15872; p += 51) data[p] = '\n';
      data[15873 + shift] = '\n';
      for (int r = 600; r < 15800; r += 70) data[15872 + r] = '\n';
      data[15872 + late] = '\n';
      data += "\nCreate\n";
      const SearchKey key = Key("create");
      ASSERT_EQ(Fast(data, key), Reference(data, key)) << "shift " << shift << " late " << late;
    }
  }
}

// The bulk of a window is scanned in 64-byte groups that only count line
// feeds, in byte-wide counters summed every 63 groups; the line start is
// looked up again only where the keyword turns up. Long stretches of line
// feeds alone and lines thousands of bytes long, with candidates at every
// offset of a group and right after each slide, must give the reference's
// line numbers and texts.
TEST(SearchScanDifferential, AgreesAcrossGroupsCounterSumsAndLongLines) {
  std::mt19937 rng(4032);
  const auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  const std::string pieces[] = {"Create", "cr", "Cr", "c", "C\r", "\x83" "c", " (cR", "\\", "\x95\\"};
  int compared = 0, with_hits = 0;
  for (int round = 0; round < 400; ++round) {
    std::string data;
    const std::size_t target = pick(0, 3) == 0 ? pick(0, 5000) : pick(16000, 60000);
    while (data.size() < target) {
      switch (pick(0, 5)) {
        case 0: data.append(pick(1, 9000), '\n'); break;
        case 1: data.append(pick(1, 6000), 'x'); break;
        case 2:
          for (int n = pick(1, 300); n > 0; --n) data += pick(0, 1) ? "x\n" : "\r\n";
          break;
        case 3: data.append(pick(0, 63), 'y'); break;
        default: data += pieces[pick(0, std::size(pieces) - 1)]; break;
      }
    }
    for (const char* keyword : {"create", "c", "\\"}) {
      for (int mode = 0; mode < 4; ++mode) {
        const SearchKey key = Key(keyword, mode & 1, mode & 2);
        const Hits expected = Reference(data, key);
        ASSERT_EQ(Fast(data, key), expected)
            << "round " << round << " keyword '" << keyword << "' mode " << mode;
        ++compared;
        with_hits += !expected.empty();
      }
    }
  }
  EXPECT_GT(with_hits, compared / 3);
}

TEST(SearchScan, LineFeedRunsOfAnyLengthCountExactly) {
  // Each byte counter of the group scan takes up to four line feeds a group.
  for (std::size_t run : {1, 63, 64, 65, 4031, 4032, 4033, 8064, 8065, 15871, 15872, 15873, 15874,
                          16383, 16384, 16385, 32000, 100000}) {
    const std::string data = std::string(run, '\n') + "key\n";
    EXPECT_EQ(Fast(data, Key("key")), (Hits{{static_cast<long long>(run) + 1, "key"}})) << run;
  }
  // A candidate that is not the keyword ("kex") is passed over on the
  // counting path; the keyword where the class test refuses it ("akey") is
  // taken exactly, emptying the counters. The runs on either side add up.
  for (const char* between : {"kex", "akey"}) {
    const std::string data =
        std::string(5000, '\n') + between + std::string(7000, '\n') + "key";
    EXPECT_EQ(Fast(data, Key("key", false, true)), (Hits{{12001, "key"}})) << between;
  }
}

TEST(SearchScan, LinesSpanningManyGroupsKeepTheirStartAndTheirOneHit) {
  // The hit is far from the line's start, in a group of its own.
  std::string data = "first\n" + std::string(3000, 'x') + "key" + std::string(1000, 'y') + "\n";
  const Hits hits = Fast(data, Key("key"));
  ASSERT_EQ(hits.size(), 1u);
  EXPECT_EQ(hits[0].line, 2);
  EXPECT_EQ(hits[0].text, std::string(255, 'x'));

  // A second occurrence some groups later in the same line gives no result;
  // after a line feed anywhere in between, it does.
  const std::string line = "key" + std::string(2000, 'z') + "key";
  EXPECT_EQ(LinesOf(Fast(line + "\nx\n", Key("key"))), (std::vector<long long>{1}));
  std::string split = line;
  split[1000] = '\n';
  EXPECT_EQ(LinesOf(Fast(split, Key("key"))), (std::vector<long long>{1, 2}));

  // The byte before a candidate at the start of a group lies in the group before.
  for (std::size_t at : {63, 64, 65, 127, 128}) {
    std::string text(at, 'x');
    text[at - 1] = ' ';
    EXPECT_EQ(Fast(text + "key\n", Key("key", false, true)).size(), 1u) << at;
    text[at - 1] = 'q';
    EXPECT_TRUE(Fast(text + "key\n", Key("key", false, true)).empty()) << at;
  }
}

TEST(SearchScan, IgnoresCaseOnlyForLettersWhenAsked) {
  const std::string data = "xAx\r\nnone\r\nxax\r\n";
  EXPECT_EQ(LinesOf(Fast(data, Key("a"))), (std::vector<long long>{1, 3}));
  EXPECT_EQ(LinesOf(Fast(data, Key("a", true))), (std::vector<long long>{3}));
  EXPECT_EQ(LinesOf(Fast("[x\n{x\n", Key("{"))), (std::vector<long long>{2}));
}

TEST(SearchScan, KeywordWithADoubleByteCharacterIsMatchedExactly) {
  const std::string keyword = "\x83\x41" "b";  // アb
  EXPECT_TRUE(EffectiveCaseSensitive(keyword, false));
  EXPECT_FALSE(EffectiveCaseSensitive("ab\\", false));
  EXPECT_TRUE(EffectiveCaseSensitive("ab", true));
  EXPECT_EQ(MakeMatchKey("AbC\x83\x41", false), "abc\x83\x61");
  EXPECT_EQ(MakeMatchKey("AbC\x83\x41", true), "AbC\x83\x41");

  // The second byte 0x41 is a capital A: ignoring case would also accept 0x83 0x61, another character.
  const std::string data = "\x83\x61" "b\r\n\x83\x41" "b\r\n\x83\x41" "B\r\n";
  const bool effective = EffectiveCaseSensitive(keyword, false);
  EXPECT_EQ(LinesOf(Fast(data, Key(keyword, effective))), (std::vector<long long>{2}));
}

TEST(SearchScan, HitsStartOnCharactersOfTheLine) {
  // 表 is 0x95 0x5C: its second byte is a backslash.
  EXPECT_TRUE(Fast("\x95\x5C\x8E\xA6\r\n", Key("\\")).empty());
  EXPECT_EQ(LinesOf(Fast("\x95\x5C\\n\r\n", Key("\\"))), (std::vector<long long>{1}));
  EXPECT_EQ(LinesOf(Fast("\\\r\n", Key("\\"))), (std::vector<long long>{1}));
  // Second bytes in the lead-byte ranges end their characters too: ン (83 93)
  // before a 1, る (82 E9) before an opening parenthesis.
  EXPECT_EQ(Fast("\x83\x93" "1\n", Key("1")), (Hits{{1, "\x83\x93" "1"}}));
  EXPECT_EQ(LinesOf(Fast("x\n\x82\xE9(\n", Key("("))), (std::vector<long long>{2}));
  // ＝ is 81 81: after an odd run of such bytes the A is a second byte.
  EXPECT_EQ(LinesOf(Fast("\x81\x81\x81\x81" "A\n\x81\x81\x81" "A\n", Key("a"))), (std::vector<long long>{1}));
  // Keywords of any length: シ is 83 56, a V as its second byte.
  EXPECT_TRUE(Fast("\x83\x56" "elkor\r\n", Key("velkor")).empty());
  EXPECT_TRUE(Fast("\x95\x5Cn\r\n", Key("\\n")).empty());
  // Characters count from the line's start, carriage returns passed over.
  EXPECT_EQ(LinesOf(Fast("\x95\n\\\r\n\x95\r\\", Key("\\"))), (std::vector<long long>{2}));
}

TEST(SearchScan, ClassCheckWantsSpaceParenthesisDotOrLineStart) {
  const std::string data =
      "Create\r\n x Create\r\nf(Create)\r\nForm.Create;\r\nReCreate\r\n\rCreate\r\nx\rCreate\r\n";
  EXPECT_EQ(LinesOf(Fast(data, Key("Create", false, true))),
            (std::vector<long long>{1, 2, 3, 4, 6}));
  EXPECT_EQ(Fast(data, Key("Create", false, false)).size(), 7u);
  // A later occurrence in the same line still counts.
  EXPECT_EQ(LinesOf(Fast("ReCreate Create\n", Key("create", false, true))),
            (std::vector<long long>{1}));
}

TEST(SearchScan, OneResultPerLineWithTheWholeLineAsText) {
  const Hits hits = Fast("  abc abc\r\nx\r\nabc\n", Key("ABC"));
  ASSERT_EQ(hits.size(), 2u);
  EXPECT_EQ(hits[0], (scan_reference::Hit{1, "  abc abc"}));
  EXPECT_EQ(hits[1], (scan_reference::Hit{3, "abc"}));
}

TEST(SearchScan, LineNumbersCountLineFeeds) {
  EXPECT_EQ(LinesOf(Fast("a\n\nb\na\n", Key("a"))), (std::vector<long long>{1, 4}));
  // Carriage returns alone never end a line: the whole file is line 1, and it hits once.
  EXPECT_EQ(Fast("x\ra\ra\r", Key("a")), (Hits{{1, "xa"}}));
}

TEST(SearchScan, LineTextStopsAtControlBytesAndHoldsAtMost255Bytes) {
  EXPECT_EQ(Fast("1 key 2\x1A" "3\r\n", Key("key")), (Hits{{1, "1 key 2"}}));
  EXPECT_EQ(Fast("1 key 2\0" "3\n"s, Key("key")), (Hits{{1, "1 key 2"}}));
  // A zero before the hit ends the text there.
  EXPECT_EQ(Fast("1\0 key\n"s, Key("key")), (Hits{{1, "1"}}));
  // Zero bytes never match: a keyword running into one is no hit.
  EXPECT_TRUE(Fast("ke\0y\n"s, Key("ke\0y"s)).empty());

  std::string longline(300, 'x');
  longline.insert(270, "key");
  const Hits hits = Fast(longline + "\r\nkey", Key("key"));
  ASSERT_EQ(hits.size(), 2u);
  EXPECT_EQ(hits[0].text, std::string(255, 'x'));
  EXPECT_EQ(hits[1], (scan_reference::Hit{2, "key"}));
}

TEST(SearchScan, NoMatchPastTheEndOfTheData) {
  EXPECT_TRUE(Fast("x\nCrea", Key("create")).empty());
  EXPECT_TRUE(Fast("", Key("a")).empty());
  EXPECT_EQ(Fast("x\nCreate", Key("create")), (Hits{{2, "Create"}}));
}

TEST(SearchScan, LongLinesNeverEndTheScan) {
  // No line feed after 15,872 in a full window: the scan goes on all the same.
  std::string data(16384, 'x');
  data[15872] = '\n';
  data += "\nkey\n";
  EXPECT_EQ(LinesOf(Fast(data, Key("key"))), (std::vector<long long>{3}));
  // A keyword across the end of the first window, and one in a line through
  // many windows: the text is the line's first 255 bytes.
  EXPECT_EQ(Fast(std::string(16382, 'x') + "key\n", Key("key")), (Hits{{1, std::string(255, 'x')}}));
  const std::string html = "<p>" + std::string(100000, 'h') + " key</p>\nkey\n";
  EXPECT_EQ(Fast(html, Key("key")), (Hits{{1, "<p>" + std::string(252, 'h')}, {2, "key"}}));
  const std::string long_key(700, 'k');
  EXPECT_EQ(LinesOf(Fast(std::string(15500, 'x') + long_key + "\n", Key(long_key))), (std::vector<long long>{1}));

  // The second window starts at 15,872: a keyword there is tested against
  // the bytes before it in the first one.
  const auto at_cut = [](const std::string& before) {
    return std::string(15872 - before.size(), 'x') + before + "key\n";
  };
  EXPECT_EQ(Fast(at_cut(" \r\r"), Key("key", false, true)).size(), 1u);
  EXPECT_TRUE(Fast(at_cut("q\r"), Key("key", false, true)).empty());
  EXPECT_TRUE(Fast(at_cut("\x83"), Key("key")).empty());
  EXPECT_EQ(Fast(at_cut("\x83\x93"), Key("key")).size(), 1u);
  // A run of ＝ (81 81) across the cut, ended by one lead byte or not.
  for (std::size_t run : {1000, 1001}) {
    const std::string line = std::string(15000, 'x') + std::string(run, '\x81') + "key\n";
    EXPECT_EQ(Fast(line, Key("key")).size(), run % 2 == 0 ? 1u : 0u) << run;
  }
}

TEST(SearchScan, BytesLeftBehindTheDataAfterASlideNeverMatch) {
  // After the slide the window holds 516 bytes of data, and behind them still
  // the 'e' bytes of the first window: "Cr" at the end must not become "Cre".
  std::string data(16384, 'e');
  data[100] = '\n';
  data[15900] = '\n';
  data += "x\nCr";
  EXPECT_TRUE(Fast(data, Key("cre")).empty());
  EXPECT_EQ(Fast(data + "e", Key("cre")), (Hits{{4, "Cre"}}));

  // A reused scanner's window still holds the previous file behind the data.
  FileScanner scanner(Key("a"));
  const std::string before(16384, 'a');
  MemorySource first(before);
  EXPECT_EQ(Collect(scanner, first).size(), 1u);
  for (std::size_t size : {1, 63, 64, 65, 127}) {
    const std::string small(size, 'x');
    MemorySource next(small);
    EXPECT_TRUE(Collect(scanner, next).empty()) << size;
  }
}

TEST(SearchScan, LongFileCountsLinesThroughEverySlide) {
  std::string data;
  for (int n = 1; n <= 30000; ++n) data += n % 1000 == 0 ? "Velkor \x83\x78\r\n" : "text\r\n";
  const Hits hits = Fast(data, Key("velkor"));
  ASSERT_EQ(hits.size(), 30u);
  EXPECT_EQ(hits[29], (scan_reference::Hit{30000, "Velkor \x83\x78"}));
}

TEST(SearchScan, KeywordsThatCannotMatch) {
  EXPECT_TRUE(Fast("a\r\n", Key("")).empty());
  EXPECT_TRUE(Fast("a\r\nb\n", Key("\r\nb")).empty());
  EXPECT_TRUE(Fast("a\nb\n", Key("\nb")).empty());
}

TEST(SearchScan, RefusalAndFailuresEndTheScan) {
  FileScanner scanner(Key("a"));
  MemorySource refused_source("a\na\na\n");
  int calls = 0;
  EXPECT_EQ(scanner.Scan(refused_source, [&](long long, std::string_view) { return ++calls < 2; }),
            ScanEnd::Refused);
  EXPECT_EQ(calls, 2);

  MemorySource throwing_sink_source("a\na\n");
  calls = 0;
  EXPECT_THROW(scanner.Scan(throwing_sink_source,
                            [&](long long, std::string_view) -> bool {
                              ++calls;
                              throw std::length_error("list full");
                            }),
               std::length_error);
  EXPECT_EQ(calls, 1);

  struct FailingSource : ByteSource {
    int Read(unsigned char*, int) override { throw std::runtime_error("read failed"); }
  } failing;
  EXPECT_THROW(Collect(scanner, failing), std::runtime_error);

  // The scanner is usable again afterwards, and each file counts from line 1.
  MemorySource next("x\na\n");
  EXPECT_EQ(Collect(scanner, next), (Hits{{2, "a"}}));
  MemorySource via_search_file("a\n");
  EXPECT_EQ(SearchFile(Key("a"), via_search_file, [](long long, std::string_view) { return true; }),
            ScanEnd::Finished);
}

// Result lines --------------------------------------------------------------

namespace {

std::string Columns(const std::string& line, std::size_t first, std::size_t last) {
  return line.substr(first - 1, last - first + 1);
}

}  // namespace

TEST(ResultLine, FirstAndFurtherHitsOfAFileFillTheColumns) {
  ResultLineBuilder builder;
  const std::string path = "C:\\Memo\\Unit1.pas";
  const SearchHit first = builder.Make(path, 12, "26/12/08", " 9:05:06", "  Form1.Create;");
  char expected[400];
  std::snprintf(expected, sizeof expected, "%-20s  %6d  %-8s %8s  %-110s %s", "Unit1.pas", 12,
                "26/12/08", " 9:05:06", "  Form1.Create;", path.c_str());
  EXPECT_EQ(first.text, expected);
  EXPECT_EQ(Columns(first.text, 23, 28), "    12");
  EXPECT_EQ(Columns(first.text, 31, 38), "26/12/08");
  EXPECT_EQ(Columns(first.text, 40, 47), " 9:05:06");
  EXPECT_EQ(first.text.substr(160), path);

  const SearchHit second = builder.Make(path, 130, "26/12/08", " 9:05:06", "x");
  std::snprintf(expected, sizeof expected, "%-20s  %6d  %-17s  %-110s %s", "", 130, "", "x",
                path.c_str());
  EXPECT_EQ(second.text, expected);

  // Another file in between brings the full form back, and so does a new search.
  EXPECT_EQ(builder.Make("C:\\Memo\\b.txt", 1, "26/12/08", "10:00:00", "x").text.substr(0, 5),
            "b.txt");
  EXPECT_EQ(builder.Make(path, 140, "26/12/08", " 9:05:06", "x").text.substr(0, 9), "Unit1.pas");
  builder.Reset();
  EXPECT_EQ(builder.Make(path, 141, "26/12/08", " 9:05:06", "x").text.substr(0, 9), "Unit1.pas");
}

TEST(ResultLine, CutsNeverSplitADoubleByteCharacter) {
  ResultLineBuilder builder;
  // 19 ASCII bytes and then 表: the character would straddle column 20.
  const std::string name = std::string(19, 'n') + "\x95\x5C.txt";
  std::string text = std::string(109, 't') + "\x83\x78" "after";
  const SearchHit hit = builder.Make("D:\\" + name, 1, "26/12/08", "09:05:06", text);
  EXPECT_EQ(Columns(hit.text, 1, 20), std::string(19, 'n') + " ");
  EXPECT_EQ(Columns(hit.text, 50, 159), std::string(109, 't') + " ");
  EXPECT_EQ(hit.text.substr(160), "D:\\" + name);

  EXPECT_EQ(FitColumns("\x83\x78\x83\x8B", 4), "\x83\x78\x83\x8B");
  EXPECT_EQ(FitColumns("\x83\x78\x83", 4), "\x83\x78  ");  // a lead byte without its second byte
  EXPECT_EQ(FitColumns("ab", 4), "ab  ");
}

TEST(ResultLine, ReadsBackLineNumberAndPath) {
  ResultLineBuilder builder;
  const SearchHit hit = builder.Make("C:\\a\\b.txt", 999999, "26/12/08", "09:05:06", "x");
  EXPECT_EQ(ResultLineNumber(hit.text), 999999);
  EXPECT_EQ(ResultLinePath(hit.text), "C:\\a\\b.txt");
  EXPECT_EQ(hit.text.find("C:\\"), 160u);

  // A path longer than the 100 bytes the columns give, and a seven-digit line
  // number that pushes the columns: the hit itself keeps both whole.
  const std::string deep = "C:\\" + std::string(120, 'd') + "\\x.txt";
  const SearchHit big = builder.Make(deep, 1234567, "", "", "x");
  EXPECT_EQ(ResultLinePath(builder.Make(deep, 5, "", "", "x").text), deep.substr(0, 100));
  EXPECT_EQ(big.path, deep);
  EXPECT_EQ(big.line_number, 1234567);

  EXPECT_EQ(ResultLineNumber("short"), std::nullopt);
  EXPECT_EQ(ResultLineNumber(std::string(22, ' ') + "  12x "), std::nullopt);
  EXPECT_EQ(ResultLinePath(std::string(100, ' ')), "");
}

TEST(HitDateTime, FillsEightColumnsInTheSystemsOrder) {
  EXPECT_EQ(FormatHitDate(2026, 12, 8, DateOrder::YearMonthDay), "26/12/08");
  EXPECT_EQ(FormatHitDate(2026, 12, 8, DateOrder::MonthDayYear, '-'), "12-08-26");
  EXPECT_EQ(FormatHitDate(2005, 3, 1, DateOrder::DayMonthYear, '.'), "01.03.05");
  EXPECT_EQ(FormatHitDate(2100, 1, 31, DateOrder::YearMonthDay), "00/01/31");

  EXPECT_EQ(FormatHitTime(9, 5, 7, false), " 9:05:06");  // two-second resolution
  EXPECT_EQ(FormatHitTime(9, 5, 7, true), "09:05:06");
  EXPECT_EQ(FormatHitTime(23, 59, 59, false), "23:59:58");
  EXPECT_EQ(FormatHitTime(0, 0, 0, false, '.'), " 0.00.00");
}

// File classes and captions -------------------------------------------------

TEST(SearchPaths, ChoosesFilesByExtension) {
  std::array<bool, kExtClasses> checked{};
  ExtTable none = BuildExtTable(checked);
  EXPECT_EQ(none[0], "....");
  EXPECT_TRUE(IsSearchedFile("index.html", none));
  EXPECT_TRUE(IsSearchedFile("INDEX.HtMl", none));
  EXPECT_FALSE(IsSearchedFile("index.htm", none));
  EXPECT_FALSE(IsSearchedFile("a....", none));  // no extension equals the filler

  checked[8] = true;  // .HTM
  checked[0] = true;  // .PAS
  const ExtTable some = BuildExtTable(checked);
  EXPECT_EQ(some[8], ".HTM");
  EXPECT_TRUE(IsSearchedFile("index.htm", some));
  EXPECT_TRUE(IsSearchedFile("Unit1.Pas", some));
  EXPECT_FALSE(IsSearchedFile("Unit1.pas.bak", some));
  EXPECT_FALSE(IsSearchedFile("Unit1.pasx", some));
  EXPECT_FALSE(IsSearchedFile("Makefile", some));
  EXPECT_FALSE(IsSearchedFile("memo.txt", some));

  checked.fill(true);
  const ExtTable all = BuildExtTable(checked);
  for (std::size_t n = 0; n < kExtClasses; ++n) EXPECT_EQ(all[n], ExtList[n]);
  EXPECT_TRUE(IsSearchedFile("\x95\x5C.txt", all));
  EXPECT_EQ(FileExtension("a.b.Rc"), ".RC");
  EXPECT_EQ(FileExtension("noext"), "");
}

TEST(SearchPaths, DirectoryCaptionIsTheLastName) {
  EXPECT_EQ(MakeDirCaption("C:\\Tools\\Memo\\"), "Memo");
  EXPECT_EQ(MakeDirCaption("\\Tools\\Memo\\"), "Memo");
  EXPECT_EQ(MakeDirCaption("C:\\"), "C:");
  // 表 ends in a backslash byte that is no separator: the name stays whole.
  EXPECT_EQ(MakeDirCaption("C:\\Tools\\\x95\x5C\\"), "\x95\x5C");
  EXPECT_EQ(MakeDirCaption("C:\\\x83\x5C\x83\x74\x83\x67\\"), "\x83\x5C\x83\x74\x83\x67");
  // Registered without the trailing separator: nothing is cut off the name.
  EXPECT_EQ(MakeDirCaption("C:\\Tools\\\x95\x5C"), "\x95\x5C");
  EXPECT_EQ(MakeDirCaption("C:\\Memo"), "Memo");
  EXPECT_EQ(MakeDirCaption(""), "");
}

TEST(SearchPaths, SplitsPathsAtRealSeparatorsOnly) {
  EXPECT_EQ(FileNamePart("C:\\\x95\x5C\\\x95\x5C.txt"), "\x95\x5C.txt");
  EXPECT_EQ(FileNamePart("plain.txt"), "plain.txt");
  EXPECT_EQ(PatternDirectory("C:\\\x95\x5C\\*.*"), "C:\\\x95\x5C\\");
  EXPECT_EQ(PatternDirectory("*.*"), "");
}
