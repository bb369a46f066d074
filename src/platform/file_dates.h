#pragma once
// File stamps as date-time values. A date-time value is the number of days
// since 1899-12-30 00:00 with the time of day as the fraction (the OLE
// automation date), so 1980-01-01 12:00 is 29221.5.
#include <cstdint>
#include <optional>

namespace velkor {

// An MS-DOS packed date (day in bits 0-4, month 5-8, year - 1980 in 9-15) and
// time (two-second units in bits 0-4, minutes 5-10, hours 11-15) as a
// date-time value; nothing when a field is out of its range (month 0, 31 April,
// hour 24, 60 seconds...), since such a stamp names no moment.
std::optional<double> DosDateTimeToDateTime(uint16_t date, uint16_t time);

}  // namespace velkor
