#pragma once
// The about box's figure texts, apart from the window.
#include <cstdint>
#include <string>

namespace velkor {

// "#,###": thousands separated by commas, and no digit at all for zero.
std::wstring FormatGroupedOrEmpty(uint64_t n);
// Bytes as whole kilobytes (truncated), "#,### KB": 0 to 1023 bytes give " KB".
std::wstring FormatKilobytes(uint64_t bytes);
// "45 %".
std::wstring FormatPercent(uint32_t percent);

}  // namespace velkor
