#pragma once
// The fixed-column result lines of the word search and their date and time
// columns. Columns count bytes of code page 932 text:
//   1-20 file name, 23-28 line number, 31-38 date, 40-47 time,
//   50-159 line text, 161 onward full path.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace velkor {

inline constexpr std::size_t kResultNameWidth = 20;
inline constexpr std::size_t kResultTextWidth = 110;
inline constexpr std::size_t kResultLineNoColumn = 23;  // 1-based, 6 wide
inline constexpr std::size_t kResultPathColumn = 161;   // 1-based
inline constexpr std::size_t kResultPathRead = 100;     // bytes the list form carries for the viewer

// One listed hit. The list shows `text`; opening the hit uses `path` and
// `line_number`, which stay whole where the columns cut or shift them.
struct SearchHit {
  std::string text;
  std::string path;
  long long line_number = 0;
  std::size_t text_at = 0;  // where the line text starts in `text` (column 50, or after it when the number is wider)
};

// The longest start of s within `width` bytes that ends on a character
// boundary; a lead byte without its second byte counts as half a character.
std::string_view CutColumns(std::string_view s, std::size_t width);

// The first `width` bytes of s, padded with spaces to `width`. A double-byte
// character that the cut would split (or a lead byte whose second byte is
// missing) becomes a space, so the columns behind it stay in place on screen.
std::string FitColumns(std::string_view s, std::size_t width);

// Builds the result lines of one search: the first hit of a file carries its
// name, date and time; the hits of the same file right after it leave those
// columns blank.
class ResultLineBuilder {
 public:
  void Reset() { last_hit_file_.clear(); }

  // date and time are the 8-column texts of FormatHitDate and FormatHitTime.
  SearchHit Make(std::string_view full_path, long long line_number, std::string_view date,
                 std::string_view time, std::string_view line_text);

 private:
  std::string last_hit_file_;
};

// A result line as the list shows it: code page 932 text, with the stand-ins
// in its line text given back the characters of stand_ins, in their order
// (decoded_scan.h). The columns stay where the bytes put them.
std::wstring ShownResultLine(const SearchHit& hit, std::u32string_view stand_ins);

// Reading a result line back as the viewer does: columns 23-28, trimmed, as a
// decimal number, and at most 100 bytes from column 161.
std::optional<long long> ResultLineNumber(std::string_view line);
std::string ResultLinePath(std::string_view line);

// The order of the system's short date; the values are those of the locale's
// date-order setting (LOCALE_IDATE).
enum class DateOrder { MonthDayYear = 0, DayMonthYear = 1, YearMonthDay = 2 };

// The date column: always 8 bytes, the whole date with a two-digit year and
// two-digit month and day in the system's order, for example "26/12/08".
// The date column is 8 wide, and the system's own short form may not fit it
// (Japanese systems write a four-digit year).
std::string FormatHitDate(int year, int month, int day, DateOrder order, char separator = '/');

// The time column: always 8 bytes, a 24-hour clock (a 12-hour form with its
// marker would not fit), the hour with a leading zero or right-aligned with a
// space as the locale's setting asks (" 9:05:06" or "09:05:06"). Seconds are
// taken at the two-second resolution of the file's DOS time: rounded down to
// an even number.
std::string FormatHitTime(int hour, int minute, int second, bool leading_zero_hour,
                          char separator = ':');

}  // namespace velkor
