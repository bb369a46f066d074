// The friends window listing a directory of many files into its sorted,
// owner-drawn list. The window is opened once; each pass lists EMPTY, then
// DIR. Prints the best of three; bench/friends_listing.sh sets it against
// win_sorted_list_bench on the same DIR.
//   win_friends_list_bench DIR EMPTY
#include <algorithm>
#include <cstdio>
#include <string>

#include "clock.h"
#include "state/settings.h"
#include "launcher/friends_window.h"
#include "ui/app.h"
#include "platform/win32.h"

using namespace velkor;

int main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argv == nullptr || argc != 3) {
    std::fprintf(stderr, "usage: win_friends_list_bench DIR EMPTY\n");
    return 2;
  }
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  wchar_t base[MAX_PATH];
  GetTempPathW(MAX_PATH, base);
  const std::wstring ini =
      std::wstring(base) + L"velkor-friends-bench-" + std::to_wstring(GetCurrentProcessId()) + L".INI";
  SetSettingsFilePathForTesting(ini);
  SetCurrentDirectoryW(argv[2]);
  FriendsWindow& form = *FriendsWindow::Show();
  Application::Get().ProcessMessages();
  double best = 1e30;
  int items = 0;
  for (int pass = 0; pass < 3; ++pass) {
    form.ListChosenDirectory(argv[2]);
    Application::Get().ProcessMessages();
    const double start = bench::Now();
    form.ListChosenDirectory(argv[1]);
    best = std::min(best, bench::Now() - start);
    items = form.FileList().Count();
    Application::Get().ProcessMessages();
  }
  DestroyWindow(form.hwnd());
  DeleteFileW(ini.c_str());
  if (items == 0) {
    std::fprintf(stderr, "win_friends_list_bench: nothing listed\n");
    return 1;
  }
  std::printf("friends window listing (Wine): %.3f s for %d items\n", best, items);
  return 0;
}
