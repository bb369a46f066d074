#pragma once
// Number texts shared by several windows.
#include <cstdint>
#include <string>
#include <string_view>

namespace velkor {

// The system's "%<width>.0n" form: grouped with the given thousands
// separator, no decimals, right-aligned in width characters.
std::wstring FormatNumberN(long long value, int width, std::wstring_view thousands_separator);

// The decimal text of n with an ASCII comma before every group of three
// digits counted from the right ("-1,234", "2,147,483,647"), whatever the
// system's locale, as the program writes byte counts. It takes 64 bits so
// that file sizes beyond 2 GiB come out right.
inline std::wstring GroupThousands(int64_t n) { return FormatNumberN(n, 0, L","); }

}  // namespace velkor
