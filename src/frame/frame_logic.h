#pragma once
// Rules of the main window that need no window: the texts of its closing
// messages, where they stand, which command-line arguments open documents,
// and how a dropped file is told apart.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace velkor {

// "M 分 S 秒" for the milliseconds since start-up; minutes are not folded into hours.
std::wstring FormatUsageTime(uint32_t elapsed_ms);

// The confirmation shown while editor windows are open, and the farewell.
std::wstring ExitConfirmationText(const std::wstring& usage_time, int open_editors);
std::wstring FarewellText(const std::wstring& user_name, const std::wstring& usage_time);

// Top-left corner of the farewell box for a mouse position: right of and below
// the pointer in the left half of the screen, further left and lower in the right half.
struct Point {
  int x = 0;
  int y = 0;
  bool operator==(const Point&) const = default;
};
Point FarewellPosition(Point cursor, int screen_width);

// Dropped files with these kinds open in editor windows; others go to the shell.
bool IsEditableDrop(const std::wstring& path);

// The documents that the command line opens, each with the tag its window gets.
struct CommandLineDocument {
  std::wstring path;
  int tag = 0;
  std::wstring settings_section;
};
// Up to three arguments, each an existing file, open in order with tags 1..3.
// At the first one that names no file, arguments 1 to 3 joined by blanks are
// tried as one name (a path with blanks that the shell split); either way the
// examination ends there.
std::vector<CommandLineDocument> PlanCommandLine(const std::vector<std::wstring>& args,
                                                 const std::function<bool(const std::wstring&)>& file_exists);

}  // namespace velkor
