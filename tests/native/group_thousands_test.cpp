// Thousands separators and MS-DOS file stamps.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

#include "platform/file_dates.h"
#include "platform/number_format.h"

using namespace velkor;

TEST(GroupThousands, PutsACommaBeforeEveryThreeDigitsFromTheRight) {
  EXPECT_EQ(GroupThousands(0), L"0");
  EXPECT_EQ(GroupThousands(999), L"999");
  EXPECT_EQ(GroupThousands(1000), L"1,000");
  EXPECT_EQ(GroupThousands(99999), L"99,999");
  EXPECT_EQ(GroupThousands(100000), L"100,000");
  EXPECT_EQ(GroupThousands(1234567), L"1,234,567");
  EXPECT_EQ(GroupThousands(2147483647), L"2,147,483,647");
}

TEST(GroupThousands, NeverPutsACommaAfterTheMinusSign) {
  EXPECT_EQ(GroupThousands(-999), L"-999");
  EXPECT_EQ(GroupThousands(-1000), L"-1,000");
  EXPECT_EQ(GroupThousands(-1234), L"-1,234");
  EXPECT_EQ(GroupThousands(-123456), L"-123,456");
  EXPECT_EQ(GroupThousands(-999999), L"-999,999");
  EXPECT_EQ(GroupThousands(INT32_MIN), L"-2,147,483,648");
}

TEST(GroupThousands, TakesFileSizesBeyondThirtyTwoBits) {
  EXPECT_EQ(GroupThousands(int64_t{4294967296}), L"4,294,967,296");
  EXPECT_EQ(GroupThousands(INT64_MAX), L"9,223,372,036,854,775,807");
  EXPECT_EQ(GroupThousands(INT64_MIN), L"-9,223,372,036,854,775,808");
}

namespace {
constexpr uint16_t DosDate(int year, int month, int day) {
  return static_cast<uint16_t>(((year - 1980) << 9) | (month << 5) | day);
}
constexpr uint16_t DosTime(int hour, int minute, int second) {
  return static_cast<uint16_t>((hour << 11) | (minute << 5) | (second / 2));
}
constexpr double kSecond = 1.0 / 86400;
}  // namespace

TEST(DosDateTime, CountsDaysFrom1899December30) {
  EXPECT_EQ(DosDateTimeToDateTime(DosDate(1980, 1, 1), 0), 29221.0);
  EXPECT_EQ(DosDateTimeToDateTime(DosDate(2000, 1, 1), 0), 36526.0);
  EXPECT_EQ(DosDateTimeToDateTime(DosDate(2024, 2, 29), 0), 45351.0);
  EXPECT_EQ(DosDateTimeToDateTime(DosDate(2026, 12, 8), 0), 46364.0);
  EXPECT_EQ(DosDateTimeToDateTime(DosDate(2100, 3, 1), 0), 73110.0);  // 2100 is no leap year
  EXPECT_EQ(DosDateTimeToDateTime(0xFF9F, 0), 75971.0);               // 2107-12-31, the last date
}

TEST(DosDateTime, TimeOfDayIsTheFractionInTwoSecondUnits) {
  EXPECT_EQ(DosDateTimeToDateTime(DosDate(1980, 1, 1), DosTime(12, 0, 0)), 29221.5);
  const double t = DosDateTimeToDateTime(DosDate(2024, 2, 29), DosTime(13, 45, 30)).value();
  EXPECT_NEAR(t, 45351 + (13 * 3600 + 45 * 60 + 30) * kSecond, 1e-9);
  const double last = DosDateTimeToDateTime(DosDate(2024, 2, 29), DosTime(23, 59, 58)).value();
  EXPECT_NEAR(last, 45352 - 2 * kSecond, 1e-9);
  // The seconds field counts pairs: 29 stands for 58 seconds.
  EXPECT_NEAR(DosDateTimeToDateTime(DosDate(2000, 1, 1), 29).value() - 36526, 58 * kSecond, 1e-9);
}

TEST(DosDateTime, RefusesFieldsOutOfRange) {
  EXPECT_FALSE(DosDateTimeToDateTime(0, 0));                            // month 0, day 0
  EXPECT_FALSE(DosDateTimeToDateTime(DosDate(2000, 13, 1), 0));
  EXPECT_FALSE(DosDateTimeToDateTime(DosDate(2000, 4, 31), 0));
  EXPECT_FALSE(DosDateTimeToDateTime(DosDate(2023, 2, 29), 0));
  EXPECT_TRUE(DosDateTimeToDateTime(DosDate(2000, 2, 29), 0));          // 2000 is a leap year
  EXPECT_FALSE(DosDateTimeToDateTime(DosDate(2000, 1, 1), DosTime(24, 0, 0)));
  EXPECT_FALSE(DosDateTimeToDateTime(DosDate(2000, 1, 1), DosTime(0, 60, 0)));
  EXPECT_FALSE(DosDateTimeToDateTime(DosDate(2000, 1, 1), 30));         // 60 seconds
}
