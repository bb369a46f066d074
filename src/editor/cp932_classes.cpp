#include "editor/cp932_classes.h"

#include "platform/number_format.h"

namespace velkor {

CharacterCounts CountCharacters(std::string_view bytes) {
  CharacterCounts c;
  bool in_double = false;
  unsigned char prev = '0';
  // The text is counted with its terminating zero byte, which falls in no
  // class and changes nothing.
  const std::size_t n = bytes.size();
  for (std::size_t i = 0; i <= n; ++i) {
    const unsigned char b = i < n ? static_cast<unsigned char>(bytes[i]) : 0;
    if (IsLeadByte(b) && !in_double) {
      ++c.full_width;
      in_double = true;
    } else if (ClosesDoubleByte(b) && in_double) {
      if (prev == 0x81 && b == 0x40) {
        --c.full_width;
        ++c.full_width_spaces;
      }
      in_double = false;
    } else if (IsHalfWidthChar(b)) {
      if (!in_double) ++c.half_width;
    } else if (b == 0x20) {
      ++c.half_width_spaces;
    } else if (b == 0x0A) {
      ++c.line_breaks;
    }
    prev = b;
  }
  return c;
}

std::wstring CharacterCountsMessage(const CharacterCounts& counts, std::wstring_view thousands_separator) {
  auto n = [&](long long v) { return FormatNumberN(v, 11, thousands_separator); };
  return L"全角文字 の出現回数     ： " + n(counts.full_width) + L"\r\n" +
         L"全角スペース の出現回数 ： " + n(counts.full_width_spaces) + L"\r\n\r\n" +
         L"半角文字 の出現回数     ： " + n(counts.half_width) + L"\r\n" +
         L"半角スペース の出現回数 ： " + n(counts.half_width_spaces) + L"\r\n\r\n" +
         L"改行 の出現回数           ： " + n(counts.line_breaks) + L"\r\n\r\n" +
         L"     です。";
}

}  // namespace velkor
