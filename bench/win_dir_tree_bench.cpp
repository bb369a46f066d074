// The directory tree bringing in a directory of many subdirectories: a fresh
// tree asked to select DIR, which rebuilds it for DIR's drive, opens the way
// down and reads two levels below DIR (its subdirectories, and theirs for
// the expand buttons). EMPTY, an empty directory beside DIR, gives the cost
// of the way down alone. Prints the best of five of each;
// bench/dir_tree.sh sets it against win_enum_dirs_bench on the same DIR.
//   win_dir_tree_bench DIR EMPTY
#include <algorithm>
#include <cstdio>
#include <string>

#include "clock.h"
#include "controls/dir_tree.h"
#include "ui/app.h"
#include "platform/win32.h"

using namespace velkor;

namespace {

double SelectOnce(HWND parent, const std::wstring& path, int* shown) {
  DirTree tree;
  tree.Create(parent, 100, 0, 0, 300, 500);
  const double start = bench::Now();
  tree.SelectPath(path);
  const double took = bench::Now() - start;
  Application::Get().ProcessMessages();
  if (shown) *shown = static_cast<int>(SendMessageW(tree.hwnd(), TVM_GETCOUNT, 0, 0));
  if (tree.GetSelectedPath() != path) {
    std::fwprintf(stderr, L"win_dir_tree_bench: %ls was not selected\n", path.c_str());
    return -1;
  }
  return took;
}

}  // namespace

int main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argv == nullptr || argc != 3) {
    std::fprintf(stderr, "usage: win_dir_tree_bench DIR EMPTY\n");
    return 2;
  }
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 600, nullptr,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
  double best = 1e30, way = 1e30;
  int nodes = 0;
  for (int pass = 0; pass < 5; ++pass) {
    const double e = SelectOnce(parent, argv[2], nullptr);
    const double t = SelectOnce(parent, argv[1], &nodes);
    if (e < 0 || t < 0) return 1;
    way = std::min(way, e);
    best = std::min(best, t);
  }
  DestroyWindow(parent);
  std::printf("directory tree select (Wine): %.3f s for %d nodes (way down alone %.3f s)\n", best, nodes, way);
  return 0;
}
