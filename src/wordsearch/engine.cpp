#include "wordsearch/engine.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <stdexcept>
#include <type_traits>

#include "platform/text.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace velkor {

namespace {

constexpr unsigned char kLf = 10;
constexpr unsigned char kCr = 13;
constexpr unsigned char kEofMark = 26;

// Bytes classified at once: one bit each in a register-wide mask.
using Mask = std::conditional_t<sizeof(void*) >= 8, std::uint64_t, std::uint32_t>;
constexpr std::size_t kChunk = sizeof(Mask) * 8;

constexpr unsigned char Lower(unsigned char b) {
  return (b >= 'A' && b <= 'Z') ? static_cast<unsigned char>(b + ('a' - 'A')) : b;
}

// Reads until max bytes arrived or the source ends.
std::size_t ReadFull(ByteSource& source, unsigned char* dst, int max) {
  int got = 0;
  while (got < max) {
    const int n = source.Read(dst + got, max - got);
    if (n < 0 || n > max - got) throw std::runtime_error("ByteSource::Read returned a bad count");
    if (n == 0) break;
    got += n;
  }
  return static_cast<std::size_t>(got);
}

// Bit k of `lf` is set when p[k] is a line feed, bit k of `cand` when p[k]
// is one of the two forms (both cases, or the same byte twice) of the
// keyword's first byte and, for longer keywords, p[k + 1] one of the forms of
// its second. Matching both is necessary for a hit, so leaving out the other
// first-byte matches changes no result. p must be readable for kChunk + 1
// bytes.
#if defined(__SSE2__)
inline void ClassifyChunk(const unsigned char* p, const unsigned char (&first_forms)[2],
                          const unsigned char (&second_forms)[2], bool one_byte, Mask& lf,
                          Mask& cand) {
  const __m128i vlf = _mm_set1_epi8(static_cast<char>(kLf));
  const __m128i f0 = _mm_set1_epi8(static_cast<char>(first_forms[0]));
  const __m128i f1 = _mm_set1_epi8(static_cast<char>(first_forms[1]));
  const __m128i s0 = _mm_set1_epi8(static_cast<char>(second_forms[0]));
  const __m128i s1 = _mm_set1_epi8(static_cast<char>(second_forms[1]));
  const __m128i any_second = _mm_set1_epi8(one_byte ? -1 : 0);
  lf = 0;
  cand = 0;
  for (std::size_t k = 0; k < kChunk / 16; ++k) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k));
    const __m128i w = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k + 1));
    const __m128i first = _mm_or_si128(_mm_cmpeq_epi8(v, f0), _mm_cmpeq_epi8(v, f1));
    const __m128i second =
        _mm_or_si128(any_second, _mm_or_si128(_mm_cmpeq_epi8(w, s0), _mm_cmpeq_epi8(w, s1)));
    const auto l = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, vlf)));
    const auto c = static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(first, second)));
    lf |= static_cast<Mask>(l) << (16 * k);
    cand |= static_cast<Mask>(c) << (16 * k);
  }
}
#else
inline void ClassifyChunk(const unsigned char* p, const unsigned char (&first_forms)[2],
                          const unsigned char (&second_forms)[2], bool one_byte, Mask& lf,
                          Mask& cand) {
  lf = 0;
  cand = 0;
  for (std::size_t k = 0; k < kChunk; ++k) {
    if (p[k] == kLf) lf |= Mask{1} << k;
    if ((p[k] == first_forms[0] || p[k] == first_forms[1]) &&
        (one_byte || p[k + 1] == second_forms[0] || p[k + 1] == second_forms[1]))
      cand |= Mask{1} << k;
  }
}
#endif

// Both forms of a keyword byte that the comparison accepts.
void SetForms(unsigned char (&forms)[2], unsigned char key_byte, bool case_sensitive) {
  forms[0] = key_byte;
  forms[1] = (!case_sensitive && key_byte >= 'a' && key_byte <= 'z')
                 ? static_cast<unsigned char>(key_byte - ('a' - 'A'))
                 : key_byte;
}

}  // namespace

int MemorySource::Read(unsigned char* dst, int max) {
  const std::size_t n = std::min(data_.size() - pos_, static_cast<std::size_t>(std::max(max, 0)));
  if (n > 0) std::memcpy(dst, data_.data() + pos_, n);
  pos_ += n;
  return static_cast<int>(n);
}

bool EffectiveCaseSensitive(std::string_view keyword, bool case_sensitive) {
  for (char c : keyword)
    if (IsLeadByte(static_cast<unsigned char>(c))) return true;
  return case_sensitive;
}

std::string MakeMatchKey(std::string_view keyword, bool case_sensitive) {
  std::string key(keyword);
  if (!case_sensitive)
    for (char& c : key) c = static_cast<char>(Lower(static_cast<unsigned char>(c)));
  return key;
}

// Where the scan of one file stands: line number, line start and line_done
// hold for the bytes before the position being scanned.
struct FileScanner::Cursor {
  std::size_t count = 0;  // bytes of data in the window
  long long line = 1;
  std::size_t line_start = 0;
  bool line_done = false;  // this line has given its hit
  // The line began in an earlier window (line_start is then 0): its part
  // there, as far as a hit needs it.
  bool carried = false;
  std::string head;    // its first bytes, carriage returns left out, up to kLineMax
  int head_last = -1;  // its last byte other than a carriage return; -1: none
  // Where characters start is known at anchor when the anchor is not before
  // the line start: anchor_inside tells that the next byte there, carriage
  // returns not counted, is a second byte. Before the line start the line
  // start itself serves, where a character starts.
  std::size_t anchor = 0;
  bool anchor_inside = false;
  std::string text;

  void StartLine(std::size_t start) {
    line_start = start;
    line_done = false;
    carried = false;
  }
};

FileScanner::FileScanner(const SearchKey& key)
    : match_key_(MakeMatchKey(key.keyword, key.case_sensitive)),
      case_sensitive_(key.case_sensitive),
      class_check_(key.class_check),
      window_size_(kRefillFrom + std::max<std::size_t>(kWindowSize - kRefillFrom, match_key_.size())) {
  // The classifiers read up to a whole chunk and one byte more from any
  // position below the data count, so the window carries spare bytes behind
  // its end. The group scan loads its 16-byte blocks aligned.
  storage_.resize(window_size_ + kChunk + 16 + 63);
  window_ = storage_.data() + (-reinterpret_cast<std::uintptr_t>(storage_.data()) & 63);
  if (match_key_.empty()) return;
  const auto first = static_cast<unsigned char>(match_key_[0]);
  // A keyword starting with a line feed or a carriage return can never match:
  // those bytes are consumed before the first-byte test.
  if (first == kLf || first == kCr) return;
  searchable_ = true;
  SetForms(first_forms_, first, case_sensitive_);
  if (match_key_.size() > 1)
    SetForms(second_forms_, static_cast<unsigned char>(match_key_[1]), case_sensitive_);
}

FileScanner::~FileScanner() = default;

// Whether the data from pos on starts with the keyword.
bool FileScanner::KeyAt(std::size_t pos, std::size_t count) const {
  const std::size_t len = match_key_.size();
  if (len > count - pos) return false;
  const unsigned char* buf = window_;
  const auto* key = reinterpret_cast<const unsigned char*>(match_key_.data());
  for (std::size_t j = 0; j < len; ++j) {
    const unsigned char b = buf[pos + j];
    if (b == 0) return false;
    if ((case_sensitive_ ? b : Lower(b)) != key[j]) return false;
  }
  return true;
}

// Whether a character of the line starts at pos, carriage returns not
// counted. A byte outside the lead-byte ranges always ends a character (a
// one-byte character or a second byte), so only the lead-range bytes right
// before pos need a look: an even number of them leaves pos at a character
// start. The walk back ends at the anchor, where the answer is known and is
// kept for pos, so that it never passes the same bytes twice.
bool FileScanner::CharStart(Cursor& at, std::size_t pos) const {
  const unsigned char* buf = window_;
  std::size_t floor = at.line_start;
  bool inside = false;
  if (at.anchor >= at.line_start && at.anchor <= pos) {
    floor = at.anchor;
    inside = at.anchor_inside;
  }
  std::size_t r = pos;
  bool odd = false;  // lead-range bytes passed
  for (; r > floor; --r) {
    const unsigned char b = buf[r - 1];
    if (b == kCr) continue;
    if (!IsLeadByte(b)) break;
    odd = !odd;
  }
  const bool start = r > floor ? !odd : odd == inside;
  at.anchor = pos;
  at.anchor_inside = !start;
  return start;
}

// Decides whether the first-byte candidate at pos is a hit and, if so, builds
// the line text in at.text. The scan of a window stops early enough that
// the keyword and the rest of the line text are in it.
bool FileScanner::TakeHit(Cursor& at, std::size_t pos) const {
  if (!KeyAt(pos, at.count)) return false;
  const unsigned char* buf = window_;
  if (class_check_) {
    std::size_t j = pos;
    while (j > at.line_start && buf[j - 1] == kCr) --j;
    const int before = j > at.line_start ? buf[j - 1] : at.carried ? at.head_last : -1;
    if (before >= 0 && before != ' ' && before != '(' && before != '.') return false;
  }
  if (!CharStart(at, pos)) return false;

  std::string& text = at.text;
  text.clear();
  if (at.carried) text = at.head;
  for (std::size_t j = at.line_start; j <= pos && text.size() < kLineMax; ++j)
    if (buf[j] != kCr) text.push_back(static_cast<char>(buf[j]));
  for (std::size_t j = pos + 1; j < at.count && text.size() < kLineMax; ++j) {
    const unsigned char b = buf[j];
    if (b == 0 || b == kLf || b == kCr || b == kEofMark) break;
    text.push_back(static_cast<char>(b));
  }
  if (const std::size_t zero = text.find('\0'); zero != std::string::npos) text.resize(zero);
  return true;
}

// False when the sink refused the hit.
bool FileScanner::Candidate(Cursor& at, std::size_t pos, const HitSink& sink) const {
  if (at.line_done || !TakeHit(at, pos)) return true;
  at.line_done = true;
  return sink(at.line, at.text);
}

// Scans [i, end) one classified chunk at a time, every line feed and
// candidate in order. False when the sink refused a hit.
bool FileScanner::ScanChunks(const HitSink& sink, Cursor& at, std::size_t i, std::size_t end) const {
  const unsigned char* buf = window_;
  const bool one_byte = match_key_.size() == 1;
  while (i < end) {
    const std::size_t n = std::min(kChunk, end - i);
    Mask lf, cand;
    ClassifyChunk(buf + i, first_forms_, second_forms_, one_byte, lf, cand);
    if (n < kChunk) {
      lf &= (Mask{1} << n) - 1;
      cand &= (Mask{1} << n) - 1;
    }
    if (cand == 0) {
      if (lf != 0) {
        at.line += std::popcount(lf);
        at.StartLine(i + kChunk - static_cast<std::size_t>(std::countl_zero(lf)));
      }
      i += n;
      continue;
    }
    Mask mask = lf | cand;
    while (mask != 0) {
      const std::size_t pos = i + static_cast<std::size_t>(std::countr_zero(mask));
      mask &= mask - 1;
      if (buf[pos] != kLf) {
        if (!Candidate(at, pos, sink)) return false;
        continue;
      }
      ++at.line;
      at.StartLine(pos + 1);
    }
    i += n;
  }
  return true;
}

// Moves the bytes from kRefillFrom on to the start of the window and reads
// behind them. A line that goes on into the new window takes along its first
// bytes, its last byte and where its characters stand at the cut.
void FileScanner::Slide(ByteSource& source, Cursor& at) {
  unsigned char* buf = window_;
  constexpr std::size_t cut = kRefillFrom;
  bool inside = false;
  if (at.line_start < cut) {
    if (!at.line_done) {
      if (!at.carried) {
        at.head.clear();
        at.head_last = -1;
      }
      inside = !CharStart(at, cut);
      for (std::size_t j = at.line_start; j < cut && at.head.size() < kLineMax; ++j)
        if (buf[j] != kCr) at.head.push_back(static_cast<char>(buf[j]));
      for (std::size_t j = cut; j > at.line_start; --j) {
        if (buf[j - 1] != kCr) {
          at.head_last = buf[j - 1];
          break;
        }
      }
    }
    at.carried = true;
  }
  at.line_start = 0;
  at.anchor = 0;
  at.anchor_inside = inside;
  source.LinesDone(at.line_done ? at.line + 1 : at.line);
  const std::size_t kept = window_size_ - cut;
  std::memmove(buf, buf + cut, kept);
  at.count = kept + ReadFull(source, buf + kept, kRefillFrom);
}

#if defined(__SSE2__)
namespace {

constexpr std::size_t kBlockGroup = 64;

// The candidate test of the group scan. Where case does not count, the two
// forms of a letter differ in bit 0x20 alone, and no other byte becomes the
// small letter when that bit is set: one compare finds both forms. For any
// other byte the bit is not touched and the compare is exact.
struct GroupFilter {
  GroupFilter(const unsigned char (&first_forms)[2], const unsigned char (&second_forms)[2])
      : case1(_mm_set1_epi8(static_cast<char>(first_forms[0] ^ first_forms[1]))),
        key1(_mm_set1_epi8(static_cast<char>(first_forms[0] | (first_forms[0] ^ first_forms[1])))),
        case2(_mm_set1_epi8(static_cast<char>(second_forms[0] ^ second_forms[1]))),
        key2(_mm_set1_epi8(
            static_cast<char>(second_forms[0] | (second_forms[0] ^ second_forms[1])))) {}

  static __m128i Load(const unsigned char* p) {
    return _mm_load_si128(reinterpret_cast<const __m128i*>(p));
  }
  static __m128i LineFeeds(__m128i v) {
    return _mm_cmpeq_epi8(v, _mm_set1_epi8(static_cast<char>(kLf)));
  }
  // The first-byte matches of the 16 bytes v.
  __m128i First(__m128i v) const { return _mm_cmpeq_epi8(_mm_or_si128(v, case1), key1); }
  // Those of them followed by a second-byte match; v holds the 16 bytes at p.
  __m128i Pair(__m128i v, const unsigned char* p) const {
    const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1));
    return _mm_and_si128(First(v), _mm_cmpeq_epi8(_mm_or_si128(next, case2), key2));
  }

  __m128i case1, key1, case2, key2;
};

// The line feeds counted in the byte lanes of acc.
inline long long SumLanes(__m128i acc) {
  const __m128i sums = _mm_sad_epu8(acc, _mm_setzero_si128());
  return _mm_cvtsi128_si32(sums) + _mm_cvtsi128_si32(_mm_srli_si128(sums, 8));
}

// Counts the line feeds of the groups from p on into lines, up to the first
// group with a candidate that key_at(pos) confirms; returns that group's
// position, or to. A lane takes at most 4 line feeds a group and is summed
// before it reaches 255.
template <bool kPair, typename KeyAt>
std::size_t SkipGroups(const unsigned char* buf, std::size_t p, std::size_t to,
                       const GroupFilter& filter, const KeyAt& key_at, long long& lines) {
  __m128i acc = _mm_setzero_si128();
  int steps = 0;
  for (; p < to; p += kBlockGroup) {
    const unsigned char* g = buf + p;
    __m128i feeds = _mm_setzero_si128();
    __m128i any = _mm_setzero_si128();
    for (std::size_t k = 0; k < kBlockGroup; k += 16) {
      const __m128i v = GroupFilter::Load(g + k);
      feeds = _mm_sub_epi8(feeds, GroupFilter::LineFeeds(v));
      any = _mm_or_si128(any, kPair ? filter.Pair(v, g + k) : filter.First(v));
    }
    if (_mm_movemask_epi8(any) != 0) {
      bool confirmed = false;
      for (std::size_t k = 0; k < kBlockGroup && !confirmed; k += 16) {
        const __m128i v = GroupFilter::Load(g + k);
        auto m = static_cast<unsigned>(
            _mm_movemask_epi8(kPair ? filter.Pair(v, g + k) : filter.First(v)));
        for (; m != 0 && !confirmed; m &= m - 1)
          confirmed = key_at(p + k + static_cast<std::size_t>(std::countr_zero(m)));
      }
      if (confirmed) break;
    }
    acc = _mm_add_epi8(acc, feeds);
    if (++steps == 63) {
      lines += SumLanes(acc);
      acc = _mm_setzero_si128();
      steps = 0;
    }
  }
  lines += SumLanes(acc);
  return p;
}

// The start of the line after the last line feed in [from, to), or 0 when
// there is none; from and to are multiples of 16.
inline std::size_t LastLineStart(const unsigned char* buf, std::size_t from, std::size_t to) {
  for (std::size_t q = to; q > from;) {
    q -= 16;
    const auto m = static_cast<unsigned>(_mm_movemask_epi8(GroupFilter::LineFeeds(GroupFilter::Load(buf + q))));
    if (m != 0) return q + 32 - static_cast<std::size_t>(std::countl_zero(m));
  }
  return 0;
}

}  // namespace

// Scans [from, to), both multiples of the 64-byte group. Most groups hold no
// candidate (a first-byte match whose next byte matches the keyword's second
// byte), and most candidates are not followed by the rest of the keyword:
// such groups only have their line feeds counted. The line start is looked
// up again only at a group where the keyword stands, which the chunk scan
// then takes whole.
bool FileScanner::ScanBlocks(const HitSink& sink, Cursor& at, std::size_t from, std::size_t to) const {
  const unsigned char* buf = window_;
  const GroupFilter filter(first_forms_, second_forms_);
  const auto key_at = [this, &at](std::size_t pos) { return KeyAt(pos, at.count); };
  std::size_t exact = from;  // the line start and line_done hold here
  for (std::size_t p = from;; p += kBlockGroup) {
    p = match_key_.size() == 1 ? SkipGroups<false>(buf, p, to, filter, key_at, at.line)
                               : SkipGroups<true>(buf, p, to, filter, key_at, at.line);
    if (const std::size_t start = LastLineStart(buf, exact, p); start != 0) at.StartLine(start);
    if (p == to) return true;
    if (!ScanChunks(sink, at, p, p + kBlockGroup)) return false;
    exact = p + kBlockGroup;
  }
}
#else
namespace {
constexpr std::size_t kBlockGroup = kChunk;
}  // namespace

bool FileScanner::ScanBlocks(const HitSink& sink, Cursor& at, std::size_t from, std::size_t to) const {
  return ScanChunks(sink, at, from, to);
}
#endif

ScanEnd FileScanner::Scan(ByteSource& source, const HitSink& sink) {
  if (!searchable_) return ScanEnd::Finished;
  Cursor at;
  at.count = ReadFull(source, window_, static_cast<int>(window_size_));
  for (;;) {
    // A full window is scanned up to kRefillFrom, the last one to its end:
    // the block scan takes the whole groups, the chunk scan the rest.
    const bool full = at.count == window_size_;
    const std::size_t end = full ? kRefillFrom : at.count;
    const std::size_t blocks_end = end / kBlockGroup * kBlockGroup;
    if (!ScanBlocks(sink, at, 0, blocks_end) || !ScanChunks(sink, at, blocks_end, end))
      return ScanEnd::Refused;
    if (!full) return ScanEnd::Finished;
    Slide(source, at);
  }
}

ScanEnd SearchFile(const SearchKey& key, ByteSource& source, const HitSink& sink) {
  FileScanner scanner(key);
  return scanner.Scan(source, sink);
}

}  // namespace velkor
