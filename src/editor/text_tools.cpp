#include "editor/text_tools.h"

#include <algorithm>
#include <climits>

namespace velkor {
namespace {

constexpr std::string_view kSpaces = "        ";

// 1-based col; stops every `every` columns (8 or 4).
std::string_view TabPad(long long col, int every) {
  const long long into = ((col - 1) % every + every) % every;
  return kSpaces.substr(0, static_cast<std::size_t>(every - into));
}

struct Era {
  int year, month, day;
  const wchar_t* name;
};

// First days of the eras, newest last.
constexpr Era kEras[] = {
    {1868, 9, 8, L"明治"},
    {1912, 7, 30, L"大正"},
    {1926, 12, 25, L"昭和"},
    {1989, 1, 8, L"平成"},
    {2019, 5, 1, L"令和"},
};

constexpr long long DayKey(int year, int month, int day) {
  return static_cast<long long>(year) * 10000 + month * 100 + day;
}

}  // namespace

std::string_view TabPad8(long long col) { return TabPad(col, 8); }
std::string_view TabPad4(long long col) { return TabPad(col, 4); }

std::string ExpandTabs(std::string_view bytes, int columns) {
  const int every = columns == 8 ? 8 : 4;
  auto expand = [&](auto&& put) {
    long long col = 0;
    for (const char b : bytes) {
      if (b == '\t') {
        const std::string_view pad = TabPad(col + 1, every);
        put(pad);
        col += static_cast<long long>(pad.size());
      } else {
        put(std::string_view(&b, 1));
        col = b == '\n' ? 0 : col + 1;
      }
    }
  };
  std::size_t size = 0;
  expand([&](std::string_view s) { size += s.size(); });
  std::string out;
  out.reserve(size);
  expand([&](std::string_view s) { out += s; });
  return out;
}

bool ContainsTab(std::string_view bytes) { return bytes.find('\t') != std::string_view::npos; }

std::string MarkLines(std::string_view selected) {
  std::string out;
  out.reserve(selected.size() + kLineMark.size() * (1 + std::count(selected.begin(), selected.end(), '\n')));
  out += kLineMark;
  for (std::size_t i = 0; i < selected.size(); ++i) {
    out += selected[i];
    if (selected[i] == '\n' && i + 1 < selected.size()) out += kLineMark;
  }
  return out;
}

std::wstring DateTimeText(int year, int month, int day, int weekday, int hour, int minute) {
  static constexpr const wchar_t* kWeekdays[] = {L"日", L"月", L"火", L"水", L"木", L"金", L"土"};
  std::wstring era = L"西暦";
  int era_year = year;
  for (const Era& e : kEras) {
    if (DayKey(year, month, day) < DayKey(e.year, e.month, e.day)) break;
    era = e.name;
    era_year = year - e.year + 1;
  }
  const std::wstring minutes = (minute >= 0 && minute < 10 ? L"0" : L"") + std::to_wstring(minute);
  return era + std::to_wstring(era_year) + L"年" + std::to_wstring(month) + L"月" + std::to_wstring(day) + L"日 (" +
         kWeekdays[(weekday % 7 + 7) % 7] + L") " + std::to_wstring(hour) + L"時" + minutes + L"分\r\n";
}

int ZoomSize(int size, int percent) {
  const long long n = static_cast<long long>(size) * percent;
  const long long r = n >= 0 ? (n + 50) / 100 : -((-n + 50) / 100);
  return static_cast<int>(std::clamp<long long>(r, INT_MIN, INT_MAX));
}

namespace {

int ColumnsOf(wchar_t c) { return (c < 0x80 || (c >= 0xFF61 && c <= 0xFF9F)) ? 1 : 2; }

}  // namespace

std::wstring ExpandTabsWide(std::wstring_view text, int columns) {
  std::wstring out;
  out.reserve(text.size() + text.size() / 8);
  long long col = 0;
  for (wchar_t c : text) {
    if (c == L'\t') {
      const std::string_view pad = columns == 8 ? TabPad8(col + 1) : TabPad4(col + 1);
      out.append(pad.size(), L' ');
      col += static_cast<long long>(pad.size());
    } else {
      out.push_back(c);
      col = c == L'\n' ? 0 : col + ColumnsOf(c);
    }
  }
  return out;
}

std::wstring MarkLinesWide(std::wstring_view selected) {
  std::wstring out = L"》";
  for (std::size_t i = 0; i < selected.size(); ++i) {
    out.push_back(selected[i]);
    if (selected[i] == L'\n' && i + 1 < selected.size()) out += L"》";
  }
  return out;
}

}  // namespace velkor
