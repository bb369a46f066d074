#pragma once
// Number texts shared by several windows.
#include <string>
#include <string_view>

namespace velkor {

// The system's "%<width>.0n" form: grouped with the given thousands
// separator, no decimals, right-aligned in width characters.
std::wstring FormatNumberN(long long value, int width, std::wstring_view thousands_separator);

}  // namespace velkor
