// Character statistics: counts that the byte classes bound, a state that an
// ASCII letter ends, and a message that reads back the same counts.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "editor/cp932_classes.h"
#include "fuzz/fuzz_check.h"

using namespace velkor;
using velkor::fuzz::Check;

namespace {

long long CountIf(std::string_view s, bool (*pred)(unsigned char)) {
  return std::count_if(s.begin(), s.end(), [&](char c) { return pred(static_cast<unsigned char>(c)); });
}

CharacterCounts Sum(const CharacterCounts& a, const CharacterCounts& b) {
  return {a.full_width + b.full_width, a.full_width_spaces + b.full_width_spaces, a.half_width + b.half_width,
          a.half_width_spaces + b.half_width_spaces, a.line_breaks + b.line_breaks};
}

// The five numbers of the message, after each full-width colon.
std::vector<long long> Numbers(const std::wstring& message) {
  std::vector<long long> v;
  for (std::size_t at = message.find(L'：'); at != std::wstring::npos; at = message.find(L'：', at + 1)) {
    long long x = 0;
    for (std::size_t i = at + 1; i < message.size() && message[i] != L'\r'; ++i)
      if (message[i] >= L'0' && message[i] <= L'9') x = x * 10 + (message[i] - L'0');
    v.push_back(x);
  }
  return v;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view in(reinterpret_cast<const char*>(data), size);
  const CharacterCounts c = CountCharacters(in);
  const long long n = static_cast<long long>(size);
  Check(c.line_breaks == std::count(in.begin(), in.end(), '\n'), "every line feed counts");
  Check(c.half_width_spaces == std::count(in.begin(), in.end(), ' '), "every space counts");
  Check(c.full_width >= 0 && c.full_width + c.full_width_spaces <= CountIf(in, [](unsigned char b) {
          return IsLeadByte(b);
        }), "full-width characters start at lead bytes");
  Check(c.half_width <= CountIf(in, [](unsigned char b) { return IsHalfWidthChar(b); }), "half-width bound");
  Check(c.full_width + c.full_width_spaces + c.half_width + c.half_width_spaces + c.line_breaks <= n,
        "at most one count per byte");

  // After an ASCII letter the double-byte state is off, and the letter is no
  // 81 that could start a full-width space: the counts split there.
  const std::size_t cut = in.find('x');
  if (cut != std::string_view::npos)
    Check(c == Sum(CountCharacters(in.substr(0, cut + 1)), CountCharacters(in.substr(cut + 1))), "split at a letter");

  const std::vector<long long> v = Numbers(CharacterCountsMessage(c, L","));
  Check(v == std::vector<long long>{c.full_width, c.full_width_spaces, c.half_width, c.half_width_spaces,
                                    c.line_breaks},
        "message numbers");
  return 0;
}
