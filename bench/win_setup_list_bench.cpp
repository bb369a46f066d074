// The setup dialog listing a directory of many files: a click in its tree
// lists the directory's lines with their icons, sizes and dates. The dialog
// is opened once; each pass lists EMPTY, then DIR (a click on the directory
// already shown lists nothing). Prints the best of three;
// bench/setup_list.sh sets it against win_shell_icons_bench on the same DIR.
//   win_setup_list_bench DIR EMPTY
#include <algorithm>
#include <cstdio>
#include <string>

#include "clock.h"
#include "state/settings.h"
#include "ui/app.h"
#include "platform/win32.h"
#include "wordsearch/setup_dialog.h"

using namespace velkor;

int main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argv == nullptr || argc != 3) {
    std::fprintf(stderr, "usage: win_setup_list_bench DIR EMPTY\n");
    return 2;
  }
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  CoInitialize(nullptr);
  wchar_t base[MAX_PATH];
  GetTempPathW(MAX_PATH, base);
  SetSettingsFilePathForTesting(std::wstring(base) + L"velkor-setup-bench-" + std::to_wstring(GetCurrentProcessId()) +
                                L".INI");
  // The dialog opens on the current drive's tree: C: is small.
  SetCurrentDirectoryW(L"C:\\");
  SetupDialog form;
  form.Create(nullptr);
  ShowWindow(form.hwnd(), SW_SHOW);
  Application::Get().ProcessMessages();
  double best = 1e30;
  int lines = 0;
  for (int pass = 0; pass < 3; ++pass) {
    form.ListAsClicked(argv[2]);
    Application::Get().ProcessMessages();
    const double start = bench::Now();
    form.ListAsClicked(argv[1]);
    best = std::min(best, bench::Now() - start);
    lines = form.list().Count();
    Application::Get().ProcessMessages();
  }
  form.Close(IDCANCEL);
  if (lines == 0) {
    std::fprintf(stderr, "win_setup_list_bench: nothing listed\n");
    return 1;
  }
  std::printf("setup dialog listing (Wine): %.3f s for %d lines\n", best, lines);
  return 0;
}
