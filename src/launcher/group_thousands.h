#pragma once
// Decimal text with thousands separators, as the program writes byte counts.
#include <cstdint>
#include <string>

namespace velkor {

// The decimal text of n with an ASCII comma before every group of three
// digits counted from the right ("-1,234", "2,147,483,647"), whatever the
// system's locale. It takes 64 bits so that file sizes beyond 2 GiB come out
// right; every 32-bit value, INT32_MIN included, gives its own digits.
std::wstring GroupThousands(int64_t n);

}  // namespace velkor
