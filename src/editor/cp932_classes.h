#pragma once
// Shift-JIS byte classes and the editor's character statistics.
#include <string>
#include <string_view>

#include "platform/text.h"

namespace velkor {

// IsLeadByte and IsTrailByte come from platform/text.h. The statistics take
// one more byte as closing a double-byte character: 0x7F, which the code page
// never puts there, so that it is not counted as a half-width character too.
constexpr bool ClosesDoubleByte(unsigned char b) { return IsTrailByte(b) || b == 0x7F; }
constexpr bool IsHalfWidthChar(unsigned char b) { return (b >= 0x21 && b <= 0x7F) || (b >= 0xA1 && b <= 0xDF); }

struct CharacterCounts {
  long long full_width = 0;         // F
  long long full_width_spaces = 0;  // FS: the ideographic space 81 40
  long long half_width = 0;         // H
  long long half_width_spaces = 0;  // HS
  long long line_breaks = 0;        // LB: line feeds
  bool operator==(const CharacterCounts&) const = default;
};

// Counts by the byte classes, one byte at a time; tabs, carriage returns and
// other control bytes are not counted, nor is a byte in 0x21-0x3F after a
// lead byte, which leaves the double-byte state on.
CharacterCounts CountCharacters(std::string_view bytes);

// The statistics message; every count right-aligned in 11 characters and
// grouped with the system's thousands separator.
std::wstring CharacterCountsMessage(const CharacterCounts& counts, std::wstring_view thousands_separator);

}  // namespace velkor
