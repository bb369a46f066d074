#include "frame/about_logic.h"

#include "platform/number_format.h"

namespace velkor {

std::wstring FormatGroupedOrEmpty(uint64_t n) {
  if (n == 0) return L"";
  // Beyond the signed range only as a cap: no memory figure comes near it.
  return GroupThousands(n > static_cast<uint64_t>(INT64_MAX) ? INT64_MAX : static_cast<int64_t>(n));
}

std::wstring FormatKilobytes(uint64_t bytes) { return FormatGroupedOrEmpty(bytes / 1024) + L" KB"; }

std::wstring FormatPercent(uint32_t percent) { return std::to_wstring(percent) + L" %"; }

}  // namespace velkor
