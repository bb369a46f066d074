#include "platform/file_dates.h"

namespace velkor {
namespace {

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Days from 1899-12-30 to the given date of the Gregorian calendar.
int64_t DaysSinceEpoch(int year, int month, int day) {
  int64_t days = 0;
  for (int y = 1900; y < year; ++y) days += IsLeapYear(y) ? 366 : 365;
  for (int m = 1; m < month; ++m) days += DaysInMonth(year, m);
  return days + day + 1;  // 1900-01-01 is day 2
}

}  // namespace

std::optional<double> DosDateTimeToDateTime(uint16_t date, uint16_t time) {
  const int year = 1980 + (date >> 9);
  const int month = (date >> 5) & 0x0F;
  const int day = date & 0x1F;
  const int hour = time >> 11;
  const int minute = (time >> 5) & 0x3F;
  const int second = (time & 0x1F) * 2;
  if (month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)) return std::nullopt;
  if (hour > 23 || minute > 59 || second > 59) return std::nullopt;
  const int seconds_of_day = (hour * 60 + minute) * 60 + second;
  return static_cast<double>(DaysSinceEpoch(year, month, day)) + seconds_of_day / 86400.0;
}

}  // namespace velkor
