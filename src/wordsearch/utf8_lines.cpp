#include "wordsearch/utf8_lines.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <string_view>
#include <utility>

#include "platform/text.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace velkor {

Utf8Needle::Utf8Needle(std::vector<Position> positions) : positions_(std::move(positions)) {
  // A pair of continuation bytes tells apart the characters of a block, where
  // lead bytes are shared by thousands of them.
  const auto continuation = [](const Position& p) { return p[0] >= 0x80 && p[0] < 0xC0 && p[0] == p[1]; };
  for (std::size_t i = 0; i + 1 < positions_.size(); ++i) {
    if (continuation(positions_[i]) && continuation(positions_[i + 1])) {
      pair_ = i;
      break;
    }
  }
}

bool Utf8Needle::MatchAt(const unsigned char* start) const {
  for (std::size_t i = 0; i < positions_.size(); ++i)
    if (start[i] != positions_[i][0] && start[i] != positions_[i][1]) return false;
  return true;
}

const unsigned char* Utf8Needle::Find(const unsigned char* from, const unsigned char* end) const {
  const std::size_t size = positions_.size();
  if (static_cast<std::size_t>(end - from) < size) return end;
  // q runs over where the pair's first byte may stand for a match in [from, end).
  const unsigned char* q = from + pair_;
  const unsigned char* const last = end - (size - pair_);  // the last such place
  const Position& a = positions_[pair_];
  const Position& b = positions_[pair_ + 1];
#if defined(__SSE2__)
  const __m128i a0 = _mm_set1_epi8(static_cast<char>(a[0]));
  const __m128i a1 = _mm_set1_epi8(static_cast<char>(a[1]));
  const __m128i b0 = _mm_set1_epi8(static_cast<char>(b[0]));
  const __m128i b1 = _mm_set1_epi8(static_cast<char>(b[1]));
  for (; last - q >= 16; q += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(q));
    const __m128i w = _mm_loadu_si128(reinterpret_cast<const __m128i*>(q + 1));
    const __m128i pair = _mm_and_si128(_mm_or_si128(_mm_cmpeq_epi8(v, a0), _mm_cmpeq_epi8(v, a1)),
                                       _mm_or_si128(_mm_cmpeq_epi8(w, b0), _mm_cmpeq_epi8(w, b1)));
    for (auto m = static_cast<unsigned>(_mm_movemask_epi8(pair)); m != 0; m &= m - 1) {
      const unsigned char* const start = q + std::countr_zero(m) - pair_;
      if (MatchAt(start)) return start;
    }
  }
#endif
  for (; q <= last; ++q) {
    if ((q[0] == a[0] || q[0] == a[1]) && (q[1] == b[0] || q[1] == b[1]) && MatchAt(q - pair_)) return q - pair_;
  }
  return end;
}

#if defined(__SSE2__)
namespace {

// Sixteen bytes at a time, with the three before them: a byte is a
// continuation byte exactly where a lead byte before it asks for one. The
// bytes that never start a sequence (C0, C1, F5-FF) and the bytes after E0,
// ED, F0 and F4, which must keep to the ranges that leave out overlong forms,
// surrogates and code points above U+10FFFF, are rare in text: they are
// looked at only where one of those lead bytes stands. Each byte stands
// once in the lanes of p1, which lag one byte behind.
class Utf8Check {
 public:
  void Add(__m128i v) {
    const __m128i p1 = _mm_or_si128(_mm_slli_si128(v, 1), _mm_srli_si128(prev_, 15));
    const __m128i p2 = _mm_or_si128(_mm_slli_si128(v, 2), _mm_srli_si128(prev_, 14));
    const __m128i p3 = _mm_or_si128(_mm_slli_si128(v, 3), _mm_srli_si128(prev_, 13));
    prev_ = v;
    const __m128i asked = _mm_or_si128(_mm_or_si128(_mm_subs_epu8(p1, Byte(0xBF)), _mm_subs_epu8(p2, Byte(0xDF))),
                                       _mm_subs_epu8(p3, Byte(0xEF)));
    const __m128i continuation = _mm_cmplt_epi8(v, Byte(0xC0));  // signed: 0x80-0xBF
    bad_ = _mm_or_si128(bad_, _mm_cmpeq_epi8(_mm_cmpeq_epi8(asked, _mm_setzero_si128()), continuation));
    const __m128i rare = _mm_or_si128(
        _mm_or_si128(_mm_cmpeq_epi8(_mm_and_si128(p1, Byte(0xFE)), Byte(0xC0)), _mm_cmpeq_epi8(p1, Byte(0xE0))),
        _mm_or_si128(_mm_cmpeq_epi8(p1, Byte(0xED)), _mm_cmpeq_epi8(_mm_min_epu8(p1, Byte(0xF0)), Byte(0xF0))));
    if (_mm_movemask_epi8(rare) != 0) AddRare(p1, v);
  }
  bool valid() const { return _mm_movemask_epi8(_mm_cmpeq_epi8(bad_, _mm_setzero_si128())) == 0xFFFF; }
  // The bytes so far end in ASCII: ASCII after them needs no check.
  bool at_ascii() const { return _mm_movemask_epi8(prev_) == 0; }

 private:
  static __m128i Byte(unsigned b) { return _mm_set1_epi8(static_cast<char>(b)); }
  void AddRare(__m128i p1, __m128i v) {
    const __m128i zero = _mm_setzero_si128();
    __m128i bad = _mm_subs_epu8(p1, Byte(0xF4));
    bad = _mm_or_si128(bad, _mm_cmpeq_epi8(_mm_and_si128(p1, Byte(0xFE)), Byte(0xC0)));
    const __m128i below_a0 = _mm_cmpeq_epi8(_mm_subs_epu8(v, Byte(0x9F)), zero);
    const __m128i below_90 = _mm_cmpeq_epi8(_mm_subs_epu8(v, Byte(0x8F)), zero);
    bad = _mm_or_si128(bad, _mm_and_si128(_mm_cmpeq_epi8(p1, Byte(0xE0)), below_a0));
    bad = _mm_or_si128(bad, _mm_andnot_si128(below_a0, _mm_cmpeq_epi8(p1, Byte(0xED))));
    bad = _mm_or_si128(bad, _mm_and_si128(_mm_cmpeq_epi8(p1, Byte(0xF0)), below_90));
    bad = _mm_or_si128(bad, _mm_andnot_si128(below_90, _mm_cmpeq_epi8(p1, Byte(0xF4))));
    bad_ = _mm_or_si128(bad_, bad);
  }

  __m128i prev_ = _mm_setzero_si128();
  __m128i bad_ = _mm_setzero_si128();
};

// Line feeds counted in the byte lanes of a register, summed before a lane
// can pass 255.
class LineFeedCount {
 public:
  void Add(__m128i v) {
    lanes_ = _mm_sub_epi8(lanes_, _mm_cmpeq_epi8(v, _mm_set1_epi8('\n')));
    if (++added_ == 255) Sum();
  }
  std::size_t total() {
    Sum();
    return total_;
  }

 private:
  void Sum() {
    const __m128i sums = _mm_sad_epu8(lanes_, _mm_setzero_si128());
    total_ += static_cast<std::size_t>(_mm_cvtsi128_si32(sums) + _mm_cvtsi128_si32(_mm_srli_si128(sums, 8)));
    lanes_ = _mm_setzero_si128();
    added_ = 0;
  }
  __m128i lanes_ = _mm_setzero_si128();
  int added_ = 0;
  std::size_t total_ = 0;
};

}  // namespace

bool CheckUtf8Lines(const unsigned char* from, const unsigned char* to, std::size_t& line_feeds) {
  Utf8Check check;
  LineFeedCount feeds;
  const unsigned char* p = from;
  for (; to - p >= 64; p += 64) {
    __m128i v[4];
    for (int k = 0; k < 4; ++k) {
      v[k] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k));
      feeds.Add(v[k]);
    }
    const __m128i any = _mm_or_si128(_mm_or_si128(v[0], v[1]), _mm_or_si128(v[2], v[3]));
    if (_mm_movemask_epi8(any) == 0 && check.at_ascii()) continue;
    for (const __m128i& part : v) check.Add(part);
  }
  for (; to - p >= 16; p += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    feeds.Add(v);
    check.Add(v);
  }
  // The rest, and then bytes that no sequence may reach into, as ASCII.
  alignas(16) unsigned char tail[16] = {};
  std::memcpy(tail, p, static_cast<std::size_t>(to - p));
  const __m128i v = _mm_load_si128(reinterpret_cast<const __m128i*>(tail));
  feeds.Add(v);
  check.Add(v);
  check.Add(_mm_setzero_si128());
  line_feeds += feeds.total();
  return check.valid();
}

std::size_t CountLineFeeds(const unsigned char* from, const unsigned char* to) {
  LineFeedCount feeds;
  const unsigned char* p = from;
  for (; to - p >= 16; p += 16) feeds.Add(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
  return feeds.total() + static_cast<std::size_t>(std::count(p, to, '\n'));
}
#else
bool CheckUtf8Lines(const unsigned char* from, const unsigned char* to, std::size_t& line_feeds) {
  line_feeds += CountLineFeeds(from, to);
  const std::string_view bytes(reinterpret_cast<const char*>(from), static_cast<std::size_t>(to - from));
  return ValidUtf8Length(bytes) == bytes.size();
}

std::size_t CountLineFeeds(const unsigned char* from, const unsigned char* to) {
  return static_cast<std::size_t>(std::count(from, to, '\n'));
}
#endif

}  // namespace velkor
