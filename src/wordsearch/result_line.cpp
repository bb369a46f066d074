#include "wordsearch/result_line.h"

#include <cstdio>

#include "platform/text.h"
#include "wordsearch/decoded_scan.h"
#include "wordsearch/search_paths.h"

namespace velkor {

namespace {

std::string RightAligned(std::string_view s, std::size_t width) {
  std::string out;
  if (s.size() < width) out.assign(width - s.size(), ' ');
  out += s;
  return out;
}

int TwoDigits(int v) { return ((v % 100) + 100) % 100; }

}  // namespace

std::string_view CutColumns(std::string_view s, std::size_t width) {
  std::size_t end = 0;
  while (end < s.size()) {
    const std::size_t len = IsLeadByte(static_cast<unsigned char>(s[end])) ? 2 : 1;
    if (end + len > width || end + len > s.size()) break;
    end += len;
  }
  return s.substr(0, end);
}

std::string FitColumns(std::string_view s, std::size_t width) {
  std::string out(CutColumns(s, width));
  out.append(width - out.size(), ' ');
  return out;
}

SearchHit ResultLineBuilder::Make(std::string_view full_path, long long line_number,
                                  std::string_view date, std::string_view time,
                                  std::string_view line_text) {
  const bool first_of_file = full_path != last_hit_file_;
  // "%6d": a longer number widens the field, as printf does.
  const std::string number = RightAligned(std::to_string(line_number), 6);
  std::string text;
  text.reserve(kResultPathColumn + full_path.size());
  if (first_of_file) {
    text += FitColumns(FileNamePart(full_path), kResultNameWidth);
    text += "  " + number + "  ";
    text += FitColumns(date, 8);
    text += ' ';
    text += RightAligned(CutColumns(time, 8), 8);
  } else {
    text.append(kResultNameWidth, ' ');
    text += "  " + number + "  ";
    text.append(17, ' ');
  }
  text += "  ";
  const std::size_t text_at = text.size();
  text += FitColumns(line_text, kResultTextWidth);
  text += ' ';
  text += full_path;
  last_hit_file_.assign(full_path);
  return SearchHit{std::move(text), std::string(full_path), line_number, text_at};
}

std::wstring ShownResultLine(const SearchHit& hit, std::u32string_view stand_ins) {
  const std::string_view line = hit.text;
  if (stand_ins.empty() || line.size() < hit.text_at + kResultTextWidth) return Cp932ToWide(line);
  return Cp932ToWide(line.substr(0, hit.text_at)) + ShownText(line.substr(hit.text_at, kResultTextWidth), stand_ins) +
         Cp932ToWide(line.substr(hit.text_at + kResultTextWidth));
}

std::optional<long long> ResultLineNumber(std::string_view line) {
  if (line.size() < kResultLineNoColumn) return std::nullopt;
  std::string_view field = line.substr(kResultLineNoColumn - 1, 6);
  while (!field.empty() && field.front() == ' ') field.remove_prefix(1);
  while (!field.empty() && field.back() == ' ') field.remove_suffix(1);
  if (field.empty() || field.size() > 6) return std::nullopt;
  long long value = 0;
  for (char c : field) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

std::string ResultLinePath(std::string_view line) {
  if (line.size() < kResultPathColumn) return {};
  return std::string(line.substr(kResultPathColumn - 1, kResultPathRead));
}

std::string FormatHitDate(int year, int month, int day, DateOrder order, char separator) {
  const int y = TwoDigits(year), m = TwoDigits(month), d = TwoDigits(day);
  int fields[3] = {y, m, d};
  if (order == DateOrder::MonthDayYear) {
    fields[0] = m, fields[1] = d, fields[2] = y;
  } else if (order == DateOrder::DayMonthYear) {
    fields[0] = d, fields[1] = m, fields[2] = y;
  }
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d%c%02d%c%02d", fields[0], separator, fields[1], separator,
                fields[2]);
  return buf;
}

std::string FormatHitTime(int hour, int minute, int second, bool leading_zero_hour,
                          char separator) {
  const int even = TwoDigits(second) & ~1;
  char buf[16];
  std::snprintf(buf, sizeof buf, leading_zero_hour ? "%02d%c%02d%c%02d" : "%2d%c%02d%c%02d",
                TwoDigits(hour), separator, TwoDigits(minute), separator, even);
  return buf;
}

}  // namespace velkor
