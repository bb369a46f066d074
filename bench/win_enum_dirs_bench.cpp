// The anchor of the directory tree: the least that bringing in a directory
// must do, reading its subdirectories and the subdirectories of each
// (FindFirstFileW / FindNextFileW, "." and ".." skipped). Prints the best of
// five.
//   win_enum_dirs_bench DIR
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "clock.h"
#include "platform/scoped.h"
#include "platform/win32.h"

namespace {

std::vector<std::wstring> SubDirs(const std::wstring& dir) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW entry;
  velkor::ScopedFind find(FindFirstFileW((dir + L"\\*.*").c_str(), &entry));
  if (find.get() == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = entry.cFileName;
    if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != L"." && name != L"..") names.push_back(name);
  } while (FindNextFileW(find.get(), &entry));
  return names;
}

}  // namespace

int main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argv == nullptr || argc != 2) {
    std::fprintf(stderr, "usage: win_enum_dirs_bench DIR\n");
    return 2;
  }
  const std::wstring dir = argv[1];
  double best = 1e30;
  size_t count = 0;
  for (int pass = 0; pass < 5; ++pass) {
    const double start = bench::Now();
    const auto names = SubDirs(dir);
    count = names.size();
    for (const auto& name : names) count += SubDirs(dir + L"\\" + name).size();
    best = std::min(best, bench::Now() - start);
  }
  std::printf("two directory levels read (Wine): %zu directories in %.3f s\n", count, best);
  return 0;
}
