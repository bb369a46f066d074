// The anchor of the setup dialog's listing: the least that listing a
// directory with icons must do, enumerating it (FindFirstFileW /
// FindNextFileW) and asking the shell for each entry's small icon in the
// system image list (SHGetFileInfoW, SHGFI_SYSICONINDEX). Prints the best of
// three.
//   win_shell_icons_bench DIR
#include <algorithm>
#include <cstdio>
#include <string>

#include "clock.h"
#include "platform/scoped.h"
#include "platform/win32.h"

#include <shellapi.h>

int main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argv == nullptr || argc != 2) {
    std::fprintf(stderr, "usage: win_shell_icons_bench DIR\n");
    return 2;
  }
  CoInitialize(nullptr);
  const std::wstring dir = argv[1];
  double best = 1e30;
  int count = 0, icons = 0;
  for (int pass = 0; pass < 3; ++pass) {
    const double start = bench::Now();
    count = icons = 0;
    WIN32_FIND_DATAW entry;
    velkor::ScopedFind find(FindFirstFileW((dir + L"\\*.*").c_str(), &entry));
    if (find.get() == INVALID_HANDLE_VALUE) break;
    do {
      ++count;
      SHFILEINFOW info{};
      if (SHGetFileInfoW((dir + L"\\" + entry.cFileName).c_str(), 0, &info, sizeof info,
                         SHGFI_SYSICONINDEX | SHGFI_SMALLICON))
        ++icons;
    } while (FindNextFileW(find.get(), &entry));
    best = std::min(best, bench::Now() - start);
  }
  if (count == 0) {
    std::fprintf(stderr, "win_shell_icons_bench: nothing found\n");
    return 1;
  }
  std::printf("enumerate + shell icon index (Wine): %d entries (%d icons) in %.3f s\n", count, icons, best);
  return 0;
}
