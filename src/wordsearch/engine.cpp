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

// The classifier reads a whole chunk and one byte more from any position
// below the data count, so the window carries spare bytes behind its end.
struct FileScanner::Window {
  alignas(64) unsigned char bytes[kWindowSize + kChunk + 16];
};

FileScanner::FileScanner(const SearchKey& key)
    : match_key_(MakeMatchKey(key.keyword, key.case_sensitive)),
      case_sensitive_(key.case_sensitive),
      class_check_(key.class_check),
      window_(std::make_unique<Window>()) {
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

// Decides whether the first-byte candidate at pos is a hit and, if so, builds
// the line text. The current line always starts inside the window: the window
// slides only at a line feed, and keeps the bytes behind it.
bool FileScanner::TakeHit(std::size_t line_start, std::size_t pos, std::size_t count,
                          std::string& text) const {
  const unsigned char* buf = window_->bytes;
  const std::size_t len = match_key_.size();
  if (len > count - pos) return false;
  const auto* key = reinterpret_cast<const unsigned char*>(match_key_.data());
  for (std::size_t j = 0; j < len; ++j) {
    const unsigned char b = buf[pos + j];
    if (b == 0) return false;
    if ((case_sensitive_ ? b : Lower(b)) != key[j]) return false;
  }
  if (class_check_ || len == 1) {
    std::size_t j = pos;
    while (j > line_start && buf[j - 1] == kCr) --j;
    if (j > line_start) {
      const unsigned char before = buf[j - 1];
      if (class_check_ && before != ' ' && before != '(' && before != '.') return false;
      if (len == 1 && IsLeadByte(before)) return false;
    }
  }

  text.clear();
  for (std::size_t j = line_start; j <= pos && text.size() < kLineMax; ++j)
    if (buf[j] != kCr) text.push_back(static_cast<char>(buf[j]));
  for (std::size_t j = pos + 1; j < count && text.size() < kLineMax; ++j) {
    const unsigned char b = buf[j];
    if (b == 0 || b == kLf || b == kCr || b == kEofMark) break;
    text.push_back(static_cast<char>(b));
  }
  if (const std::size_t zero = text.find('\0'); zero != std::string::npos) text.resize(zero);
  return true;
}

ScanEnd FileScanner::Scan(ByteSource& source, const HitSink& sink) {
  if (!searchable_) return ScanEnd::Finished;
  unsigned char* buf = window_->bytes;
  std::size_t count = ReadFull(source, buf, kWindowSize);
  long long line = 1;
  std::size_t line_start = 0;
  bool line_done = false;  // this line has given its hit
  std::string text;

  std::size_t i = 0;
  while (i < count) {
    const std::size_t n = std::min(kChunk, count - i);
    Mask lf, first;
    ClassifyChunk(buf + i, first_forms_, second_forms_, match_key_.size() == 1, lf, first);
    if (n < kChunk) {
      lf &= (Mask{1} << n) - 1;
      first &= (Mask{1} << n) - 1;
    }
    std::size_t next = i + n;
    // Most chunks hold line feeds only; they can slide the window only in
    // its last 512 bytes.
    if (first == 0 && (count < kWindowSize || i + kChunk <= kRefillFrom + 1u)) {
      if (lf != 0) {
        line += std::popcount(lf);
        line_start = i + kChunk - static_cast<std::size_t>(std::countl_zero(lf));
        line_done = false;
      }
      i = next;
      continue;
    }
    Mask mask = lf | first;
    while (mask != 0) {
      std::size_t pos = i + static_cast<std::size_t>(std::countr_zero(mask));
      mask &= mask - 1;
      if (buf[pos] == kLf) {
        ++line;
        line_start = pos + 1;
        line_done = false;
        if (pos > static_cast<std::size_t>(kRefillFrom) && count == kWindowSize) {
          constexpr std::size_t kept = kWindowSize - kRefillFrom;
          std::memmove(buf, buf + kRefillFrom, kept);
          count = kept + ReadFull(source, buf + kept, kRefillFrom);
          pos -= kRefillFrom;
          line_start = pos + 1;
          next = pos + 1;
          break;
        }
        continue;
      }
      if (line_done) continue;
      if (TakeHit(line_start, pos, count, text)) {
        line_done = true;
        if (!sink(line, text)) return ScanEnd::Refused;
      }
    }
    i = next;
  }
  return ScanEnd::Finished;
}

ScanEnd SearchFile(const SearchKey& key, ByteSource& source, const HitSink& sink) {
  FileScanner scanner(key);
  return scanner.Scan(source, sink);
}

}  // namespace velkor
