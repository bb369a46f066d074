#pragma once
// The editor's text tools that need no window: tab expansion, the line marks,
// the date and time text and the zoom arithmetic. Texts are code page 932
// bytes, except the date and time text, which goes into the control as is.
#include <string>
#include <string_view>

namespace velkor {

// The spaces standing for a tab at the 1-based column col, with tab stops
// every 8 or every 4 columns.
std::string_view TabPad8(long long col);
std::string_view TabPad4(long long col);

// Tabs expanded to spaces, tab stops every 8 columns, or every 4 for any other
// value of columns. Columns count bytes from the last line feed, so a
// double-byte character takes two. The result is sized to fit: nothing is cut.
std::string ExpandTabs(std::string_view bytes, int columns);
bool ContainsTab(std::string_view bytes);

// The same on the control's UTF-16 text, for texts that code page 932 cannot
// hold whole: a character takes the columns of its code page 932 form (one
// for ASCII and half-width katakana, two for the others).
std::wstring ExpandTabsWide(std::wstring_view text, int columns);

// "》" in code page 932: inserted alone at an empty selection.
inline constexpr std::string_view kLineMark = "\x81\x74";

// The selection with a mark before its first byte and after every line feed
// that more of the selection follows.
std::string MarkLines(std::string_view selected);
std::wstring MarkLinesWide(std::wstring_view selected);

// The inserted date and time, for example "平成9年12月19日 (金) 14時05分\r\n":
// the Japanese era and its year, month, day, the short day of the week
// (weekday 0 is Sunday), hour 0-23 and two-digit minutes, then CR LF. Dates
// before the first day of Meiji (1868-09-08) have no era of this calendar and
// show "西暦" with the Gregorian year.
std::wstring DateTimeText(int year, int month, int day, int weekday, int hour, int minute);

inline constexpr int kZoomInPercent = 110;
inline constexpr int kZoomOutPercent = 90;

// size × percent / 100 rounded to the nearest whole number, halves away from
// zero (5 at 90 % gives 4.5, so 5), held within the range of int.
int ZoomSize(int size, int percent);

}  // namespace velkor
