#include "platform/number_format.h"

namespace velkor {

std::wstring FormatNumberN(long long value, int width, std::wstring_view thousands_separator) {
  const bool negative = value < 0;
  unsigned long long magnitude = negative ? 0ULL - static_cast<unsigned long long>(value)
                                          : static_cast<unsigned long long>(value);
  std::wstring digits = std::to_wstring(magnitude);
  std::wstring grouped;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += thousands_separator;
    grouped += digits[i];
  }
  if (negative) grouped.insert(grouped.begin(), L'-');
  if (static_cast<int>(grouped.size()) < width)
    grouped.insert(grouped.begin(), static_cast<std::size_t>(width) - grouped.size(), L' ');
  return grouped;
}

}  // namespace velkor
