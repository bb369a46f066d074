#include "controls/text_search.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "platform/text.h"

namespace velkor {
namespace {

// Upper-casing the 256-byte identity table as one code page 932 string is what
// folds the text for a search without match case. Read as code page 932, that
// string pairs every lead byte with the byte after it (0x81 0x82, 0x83 0x84,
// ..., 0xFC 0xFD). Of its characters only a-z and one pair have an upper case:
// 0xEE 0xEF is the small Roman numeral one, which an upper-casing through
// Unicode turns into 0x87 0x54; and the pairs 0x85 0x86, 0xEA 0xEB, 0xEC 0xED
// and 0xFC 0xFD are no characters and would come back as other bytes. Those
// bytes stand for themselves in the text, mostly as second bytes of characters
// without case, and folding them would make every character that holds one
// unfindable with match case off, since the search text, upper-cased by
// character, keeps them. So the table folds a-z alone, as a byte-wise
// upper-casing of double-byte text does.
constexpr std::array<unsigned char, 256> MakeFoldTable(bool upper) {
  std::array<unsigned char, 256> t{};
  for (int i = 0; i < 256; ++i)
    t[i] = static_cast<unsigned char>(upper && i >= 'a' && i <= 'z' ? i - 32 : i);
  return t;
}
constexpr std::array<unsigned char, 256> kIdentity = MakeFoldTable(false);
constexpr std::array<unsigned char, 256> kUpper = MakeFoldTable(true);

constexpr std::uint64_t kLanes = 0x0101010101010101ULL;
constexpr std::uint64_t kHigh = 0x8080808080808080ULL;
constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL;

std::uint64_t Load8(const unsigned char* p) {
  std::uint64_t v;
  std::memcpy(&v, p, sizeof v);
  if constexpr (std::endian::native == std::endian::big) v = __builtin_bswap64(v);
  return v;
}

// Finds the bytes of eight at once that fold to one key byte: bit 7 of each
// lane is set where the text byte matches. A letter of the key matches both
// of its cases, which OR 0x20 brings together; no other byte folds.
class LaneTest {
 public:
  LaneTest(unsigned char key_byte, bool fold) {
    const bool letter = fold && key_byte >= 'A' && key_byte <= 'Z';
    or_ = letter ? 0x20 * kLanes : 0;
    pattern_ = (letter ? key_byte | 0x20 : key_byte) * kLanes;
  }
  std::uint64_t Matches(std::uint64_t bytes) const {
    const std::uint64_t x = (bytes | or_) ^ pattern_;
    return ~(((x & kLow7) + kLow7) | x) & kHigh;  // exact per lane: no borrow between lanes
  }

 private:
  std::uint64_t or_;
  std::uint64_t pattern_;
};

// Finds the offsets where the folded text equals the key, testing the key's
// first and last byte for eight offsets at a time before comparing the rest.
class RawMatcher {
 public:
  RawMatcher(const unsigned char* text, const std::string& key, bool fold)
      : text_(text),
        key_(reinterpret_cast<const unsigned char*>(key.data())),
        m_(static_cast<long long>(key.size())),
        fold_(fold ? kUpper : kIdentity),
        first_(key_[0], fold),
        last_(key_[m_ - 1], fold) {}

  bool At(long long q) const {
    const unsigned char* t = text_ + q;
    for (long long j = 0; j < m_; ++j)
      if (fold_[t[j]] != key_[j]) return false;
    return true;
  }

  // The first match in [from, to]; to + m must not pass the end of the text.
  long long Next(long long from, long long to) const {
    long long q = from;
    for (; q + 7 <= to; q += 8) {
      std::uint64_t hits = first_.Matches(Load8(text_ + q)) & last_.Matches(Load8(text_ + q + m_ - 1));
      while (hits != 0) {
        const long long at = q + (std::countr_zero(hits) >> 3);
        if (At(at)) return at;
        hits &= hits - 1;
      }
    }
    for (; q <= to; ++q)
      if (At(q)) return q;
    return -1;
  }

  // The last match in [0, from].
  long long Previous(long long from) const {
    long long q = from;
    for (; q >= 7; q -= 8) {
      const long long base = q - 7;
      std::uint64_t hits = first_.Matches(Load8(text_ + base)) & last_.Matches(Load8(text_ + base + m_ - 1));
      while (hits != 0) {
        const int bit = 63 - std::countl_zero(hits);
        const long long at = base + (bit >> 3);
        if (At(at)) return at;
        hits &= ~(std::uint64_t{1} << bit);
      }
    }
    for (; q >= 0; --q)
      if (At(q)) return q;
    return -1;
  }

 private:
  const unsigned char* text_;
  const unsigned char* key_;
  long long m_;
  const std::array<unsigned char, 256>& fold_;
  LaneTest first_;
  LaneTest last_;
};

// Tells whether a character of the code page 932 text starts at an offset.
// A byte outside the lead-byte ranges always ends a character (it is a
// one-byte character or a second byte), so only the lead-range bytes right in
// front of an offset need a look: an even number of them leaves it at a
// character start. The origin is an offset known to start a character, and
// nothing before it is read. The run of lead-range bytes walked last is kept,
// so that a scan that asks about offset after offset, in either direction,
// reads each byte a bounded number of times, also in a text made of nothing
// but lead-range bytes.
class CharStarts {
 public:
  CharStarts(const unsigned char* text, long long origin)
      : text_(text), origin_(origin), from_(origin), to_(origin) {}

  bool At(long long q) {
    if (q < origin_) return false;
    if (q < from_ || q > to_) {
      // Upward of the kept run the walk may end on it: the run goes on to q.
      const long long floor = q > to_ ? to_ : origin_;
      long long r = q;
      while (r > floor && IsLeadByte(text_[r - 1])) --r;
      if (r != to_ || q < to_) from_ = r;
      to_ = q;
    }
    return (q - from_) % 2 == 0;
  }

 private:
  const unsigned char* text_;
  long long origin_;
  long long from_;  // a character starts here, and the bytes from here
  long long to_;    // up to this offset are all in the lead-byte ranges
};

// Whether the byte after these bytes is a second byte, given whether the
// first of them is.
bool EndsInsideCharacter(std::string_view bytes, bool inside) {
  for (char c : bytes) inside = !inside && IsLeadByte(static_cast<unsigned char>(c));
  return inside;
}

// The scan of ScanTextBuffer, telling character starts with the given
// CharStarts.
int Scan(const unsigned char* Buffer, int Length, int SelStart, int SelLength, const PreparedSearch& search,
         CharStarts& starts);

}  // namespace

const std::array<unsigned char, 256>& FoldTable(bool match_case) {
  return match_case ? kIdentity : kUpper;
}

std::string UpperCaseSearchText(std::string_view search) {
  std::string out;
  out.reserve(search.size());
  for (std::size_t i = 0; i < search.size();) {
    const std::size_t len =
        IsLeadByte(static_cast<unsigned char>(search[i])) && i + 1 < search.size() ? 2 : 1;
    const std::string_view ch = search.substr(i, len);
    i += len;
    if (len == 2 && IsStandIn(static_cast<unsigned char>(ch[0]), static_cast<unsigned char>(ch[1]))) {
      out += ch;
      continue;
    }
    // A byte sequence that is no character, or whose upper case would take
    // another number of bytes, stays as it is: the hit's length is the search
    // text's length.
    const std::wstring wide = Cp932ToWide(ch);
    if (wide.size() == 1) {
      const wchar_t upper = FoldCase(wide[0]);
      if (upper != wide[0]) {
        const Cp932Bytes back = WideToCp932(std::wstring_view(&upper, 1));
        if (back.lost == 0 && back.bytes.size() == ch.size()) {
          out += back.bytes;
          continue;
        }
      }
    }
    out += ch;
  }
  return out;
}

PreparedSearch::PreparedSearch(std::string_view search, SearchOptions options)
    : key_(options.match_case ? std::string(search) : UpperCaseSearchText(search)), options_(options) {}

namespace {

// The scan's candidates, whole word on, are the offsets where the literal
// step-by-step skip over words and delimiters stops; they are worked out here
// from the bytes around each match instead of walking every byte:
// - downward from p0 to the last candidate L = Length - m: every word start
//   after p0 (a word byte after a delimiter; p0 itself is passed over even
//   when a word starts there), then L itself, where the skip runs out;
// - upward from p0: the start of the word p0 stands in, then every word start
//   before it, and when the text begins with a delimiter, offset 1 (the skip
//   runs out at 0 on a delimiter and steps forward one byte), compared once:
//   the skip would lead back to it for ever, so the scan ends there.
// A word-start candidate is a hit when the byte after the match is a
// delimiter; the last candidate (L downward, 0 upward) is a hit as it stands.
// With or without whole word, a candidate inside a double-byte character is
// none: the test runs on the few offsets where the bytes match.
int Scan(const unsigned char* Buffer, int Length, int SelStart, int SelLength, const PreparedSearch& search,
         CharStarts& starts) {
  const long long m = search.length();
  if (Length <= 0 || m == 0) return kNoHit;
  const SearchOptions& o = search.options();
  long long p;
  if (o.down) {
    p = static_cast<long long>(SelStart) + SelLength;
    if (Length - p - m < 0) return kNoHit;
  } else {
    p = static_cast<long long>(SelStart) - m;
  }
  if (p < 0 || p > Length) return kNoHit;
  const long long last = Length - m;
  // A selection start past the end of the text leaves candidates whose match
  // would run past it; none of them can match.
  if (!o.down) p = std::min(p, last);
  if (p < 0) return kNoHit;

  const bool fold = !o.match_case;
  // The folded text holds no a-z, so a key with one can never match.
  if (fold && std::any_of(search.key().begin(), search.key().end(),
                          [](char c) { return c >= 'a' && c <= 'z'; }))
    return kNoHit;
  const RawMatcher match(Buffer, search.key(), fold);
  const auto next = [&](long long q) { return q < last ? match.Next(q + 1, last) : -1; };
  const auto previous = [&](long long q) { return q > 0 ? match.Previous(q - 1) : -1; };

  if (!o.whole_word) {
    if (o.down) {
      for (long long from = p; from <= last; ++from) {
        from = match.Next(from, last);
        if (from < 0 || starts.At(from)) return static_cast<int>(from);
      }
    } else {
      for (long long from = p; from >= 0; --from) {
        from = match.Previous(from);
        if (from < 0 || starts.At(from)) return static_cast<int>(from);
      }
    }
    return kNoHit;
  }
  auto word = [&](long long i) { return !WordDelimiters[Buffer[i]]; };
  auto word_start = [&](long long i) { return word(i) && (i == 0 || !word(i - 1)); };
  auto delimiter_after = [&](long long q) { return q + m >= Length || !word(q + m); };
  if (o.down) {
    for (long long q = match.Next(p, last); q >= 0; q = next(q)) {
      if (q == last) return starts.At(q) ? static_cast<int>(q) : kNoHit;
      if (q > p && word_start(q) && delimiter_after(q) && starts.At(q)) return static_cast<int>(q);
    }
  } else {
    const bool leading_delimiter = !word(0);
    for (long long q = match.Previous(p); q >= 0; q = previous(q)) {
      if (q == 0) return word(0) && starts.At(0) ? 0 : kNoHit;
      const bool candidate = word_start(q) || (q == 1 && leading_delimiter);
      if (candidate && delimiter_after(q) && starts.At(q)) return static_cast<int>(q);
    }
  }
  return kNoHit;
}

}  // namespace

int ScanTextBuffer(const unsigned char* Buffer, int Length, int SelStart, int SelLength,
                   const PreparedSearch& search) {
  CharStarts starts(Buffer, 0);
  return Scan(Buffer, Length, SelStart, SelLength, search, starts);
}

int ScanTextBuffer(const unsigned char* Buffer, int Length, int SelStart, int SelLength,
                   std::string_view search, SearchOptions options) {
  return ScanTextBuffer(Buffer, Length, SelStart, SelLength, PreparedSearch(search, options));
}

namespace {

// The text of code page 932 bytes for a comparison, each stand-in as a
// low surrogate of its own: no code page 932 character decodes to one.
std::wstring ComparableText(std::string_view bytes) {
  return Cp932ToWideWithStandIns(bytes, [](std::wstring& out, int index) { out += static_cast<wchar_t>(0xDC00 + index); });
}

}  // namespace

bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
  return EqualsNoCase(ComparableText(a), ComparableText(b));
}

ReplaceAllResult ReplaceAllInBuffer(std::string_view text, int sel_start, int sel_length,
                                    std::string_view search, std::string_view replace,
                                    SearchOptions options) {
  ReplaceAllResult r;
  r.sel_start = sel_start;
  r.sel_length = sel_length;
  const long long n = static_cast<long long>(text.size());
  if (search.empty() || n > INT_MAX) {
    r.text = text;
    return r;
  }
  const PreparedSearch prepared(search, options);
  const long long m = prepared.length();
  // The selection as a text control holds it: inside the text.
  const long long s = std::clamp<long long>(sel_start, 0, n);
  const long long e = std::clamp<long long>(s + std::max(sel_length, 0), s, n);
  const bool selection_first = SameTextIgnoringCase(text.substr(s, e - s), search);

  // Replaced ranges of the original text, in the order the run meets them.
  struct Range {
    long long at, length;
  };
  std::vector<Range> ranges;
  if (selection_first) ranges.push_back({s, e - s});

  if (options.down) {
    // Downward every scan starts after the last replacement, where the text is
    // still the original, and reads nothing before its start. Where the
    // characters start from there on follows from the text inserted: as a
    // rule it ends a character, but a replace text that ends in a lead byte
    // takes the next byte of the original as its second byte.
    const auto* buf = reinterpret_cast<const unsigned char*>(text.data());
    int from = static_cast<int>(s), from_length = static_cast<int>(e - s);
    long long origin = 0;
    if (selection_first) {
      CharStarts original(buf, 0);
      origin = e + (EndsInsideCharacter(replace, !original.At(s)) ? 1 : 0);
    }
    const long long after_replace = EndsInsideCharacter(replace, false) ? 1 : 0;
    for (;;) {
      CharStarts starts(buf, origin);
      const int q = Scan(buf, static_cast<int>(n), from, from_length, prepared, starts);
      if (q < 0) break;
      ranges.push_back({q, m});
      from = q + static_cast<int>(m);
      from_length = 0;
      origin = from + after_replace;
    }
  } else {
    // Upward the scan starts before the text just inserted and reads at most
    // one byte of it: the one at its start, the whole-word test after a match
    // that ends there. That byte is put into a copy of the original, which
    // holds the text unchanged before it.
    std::string work(text);
    auto* buf = reinterpret_cast<unsigned char*>(work.data());
    // The characters before the text inserted are those of the original.
    CharStarts starts(buf, 0);
    long long front = s;
    int at_front = front < n ? buf[front] : -1;  // the current text's byte at front; -1: its end
    if (selection_first && replace.empty()) at_front = e < n ? buf[e] : -1;
    else if (selection_first) at_front = static_cast<unsigned char>(replace[0]);
    for (;;) {
      if (at_front >= 0) buf[front] = static_cast<unsigned char>(at_front);
      const int length = static_cast<int>(front + (at_front >= 0 ? 1 : 0));
      const int q = Scan(buf, length, static_cast<int>(front), 0, prepared, starts);
      if (q < 0) break;
      ranges.push_back({q, m});
      if (!replace.empty()) at_front = static_cast<unsigned char>(replace[0]);
      else if (q + m < front) at_front = buf[q + m];
      front = q;
    }
  }
  if (ranges.empty()) {
    r.text = text;
    return r;
  }

  const long long grows = static_cast<long long>(replace.size());
  long long total = n;
  for (const Range& g : ranges) total += grows - g.length;
  if (total > INT_MAX) throw std::length_error("replaced text too long");

  // Downward the last replacement made is the last in the text, upward the
  // first: the caret ends after its text.
  std::sort(ranges.begin(), ranges.end(), [](const Range& x, const Range& y) { return x.at < y.at; });
  const std::size_t last_made = options.down ? ranges.size() - 1 : 0;
  r.text.reserve(static_cast<std::size_t>(total));
  long long copied = 0, caret = 0;
  for (std::size_t i = 0; i < ranges.size(); ++i) {
    const Range& g = ranges[i];
    r.text.append(text.substr(static_cast<std::size_t>(copied), static_cast<std::size_t>(g.at - copied)));
    r.text.append(replace);
    copied = g.at + g.length;
    if (i == last_made) caret = static_cast<long long>(r.text.size());
  }
  r.text.append(text.substr(static_cast<std::size_t>(copied)));
  r.sel_start = static_cast<int>(caret);
  r.sel_length = 0;
  r.replaced = static_cast<int>(ranges.size());
  return r;
}

void SkipToWordStart(const unsigned char* Buffer, long long& p, long long& k, int d) {
  auto delimiter = [&](long long i) { return WordDelimiters[Buffer[i]]; };
  if (d > 0) {
    while (k > 0 && !delimiter(p)) p += d, --k;
    while (k > 0 && delimiter(p)) p += d, --k;
  } else {
    while (k > 0 && delimiter(p)) p += d, --k;
    while (k > 0 && !delimiter(p)) p += d, --k;
    if (delimiter(p)) p += 1, k += 1;
  }
}

}  // namespace velkor
