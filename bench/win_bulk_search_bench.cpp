// The bulk search filling a list, two ways under one clock:
//   anchor   the least it must do: FindFirstFileW for base + MASK (files),
//            then base + "*.*" for the directories, depth first, each path
//            added to a plain unsorted list box;
//   collect  the program's own walk (CollectFiles over the system's listing)
//            feeding an unsorted owner-drawn list box as the friends window
//            will: pending messages processed once per directory, and just
//            before, the directory and the counter shown when 50 ms have
//            passed since they last were. (Text set between two message runs
//            is never painted: rewriting the counter per file cost 35 us a
//            time here and showed nothing more; painting both texts at every
//            directory made the walk 1.4 to 1.7 times the anchor.)
// Both list boxes are hidden during the walk, as the window hides its list.
// Prints the best of five passes.
//   win_bulk_search_bench anchor|collect DIR MASK
#include <algorithm>
#include <cstdio>
#include <string>

#include "clock.h"
#include "launcher/bulk_search.h"
#include "platform/app.h"
#include "platform/scoped.h"
#include "platform/win32.h"

using namespace velkor;

namespace {

LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_MEASUREITEM) {
    reinterpret_cast<MEASUREITEMSTRUCT*>(lp)->itemHeight = 16;
    return TRUE;
  }
  if (msg == WM_DRAWITEM) {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
    if (item->itemID == static_cast<UINT>(-1)) return TRUE;
    wchar_t text[MAX_PATH * 2];
    const LRESULT n = SendMessageW(item->hwndItem, LB_GETTEXT, item->itemID, reinterpret_cast<LPARAM>(text));
    FillRect(item->hDC, &item->rcItem, GetSysColorBrush(COLOR_WINDOW));
    if (n > 0) TextOutW(item->hDC, item->rcItem.left + 2, item->rcItem.top, text, static_cast<int>(n));
    return TRUE;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

void AnchorWalk(HWND list, const std::wstring& directory, const std::wstring& mask) {
  const std::wstring base = directory.back() == L'\\' ? directory : directory + L'\\';
  WIN32_FIND_DATAW entry;
  {
    ScopedFind find(FindFirstFileW((base + mask).c_str(), &entry));
    if (find)
      do {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
          SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>((base + entry.cFileName).c_str()));
      } while (FindNextFileW(find.get(), &entry));
  }
  ScopedFind find(FindFirstFileW((base + L"*.*").c_str(), &entry));
  if (!find) return;
  do {
    if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && entry.cFileName[0] != L'.')
      AnchorWalk(list, base + entry.cFileName, mask);
  } while (FindNextFileW(find.get(), &entry));
}

}  // namespace

int main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  const std::wstring mode = argc == 4 ? argv[1] : L"";
  if (mode != L"anchor" && mode != L"collect") {
    std::fprintf(stderr, "usage: win_bulk_search_bench anchor|collect DIR MASK\n");
    return 2;
  }
  const std::wstring dir = argv[2], mask = argv[3];
  const bool anchor = mode == L"anchor";
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW wc{};
  wc.lpfnWndProc = HostProc;
  wc.hInstance = instance;
  wc.lpszClassName = L"BulkSearchBench";
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  RegisterClassW(&wc);
  HWND host = CreateWindowW(wc.lpszClassName, L"bulk search", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 640, 480,
                            nullptr, nullptr, instance, nullptr);
  const DWORD list_style = WS_CHILD | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT |
                           (anchor ? 0 : LBS_OWNERDRAWFIXED | LBS_HASSTRINGS);
  HWND list = CreateWindowW(L"LISTBOX", nullptr, list_style, 0, 40, 620, 400, host, nullptr, instance, nullptr);
  HWND counter = CreateWindowW(L"STATIC", nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 300, 18, host, nullptr, instance,
                               nullptr);
  HWND folder = CreateWindowW(L"STATIC", nullptr, WS_CHILD | WS_VISIBLE, 300, 0, 320, 18, host, nullptr, instance,
                              nullptr);
  Application::Get().ProcessMessages();

  double best = 1e30;
  LRESULT items = 0;
  for (int pass = 0; pass < 5; ++pass) {
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    ShowWindow(list, SW_HIDE);
    Application::Get().ProcessMessages();
    const double start = bench::Now();
    if (anchor) {
      AnchorWalk(list, dir, mask);
    } else {
      int count = 0;
      std::wstring current;
      double shown = 0;
      BulkSearchCallbacks callbacks;
      callbacks.on_directory = [&](const std::wstring& d) { current = d; };
      callbacks.on_file = [&](const std::wstring& base, const DirEntry& file) {
        const std::wstring path = base + std::wstring(file.name);
        const LRESULT at = SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(path.c_str()));
        if (at == LB_ERR || at == LB_ERRSPACE) return false;
        ++count;
        return true;
      };
      callbacks.directory_done = [&] {
        if (bench::Now() - shown >= 0.05) {
          SetWindowTextW(folder, (L"  " + current).c_str());
          SetWindowTextW(counter, (L" Line :  / " + std::to_wstring(count) + L" ").c_str());
          shown = bench::Now();
        }
        Application::Get().ProcessMessages();
      };
      CollectFiles(SystemDirSource(), dir, mask, callbacks);
    }
    ShowWindow(list, SW_SHOW);
    best = std::min(best, bench::Now() - start);
    items = SendMessageW(list, LB_GETCOUNT, 0, 0);
    Application::Get().ProcessMessages();
  }
  DestroyWindow(host);
  if (items <= 0) {
    std::fprintf(stderr, "win_bulk_search_bench: nothing listed\n");
    return 1;
  }
  std::printf("bulk search %ls (Wine): %.3f s for %ld files\n", mode.c_str(), best, static_cast<long>(items));
  return 0;
}
