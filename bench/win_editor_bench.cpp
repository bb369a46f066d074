// The editor window on a large Shift-JIS document, one job per process:
//   win_editor_bench make MB FILE   writes a document of about MB megabytes
//   win_editor_bench open FILE      opens it from the open command to the
//                                   first idle after the paint ("editor: <ms>"),
//                                   closes it and opens it once more
//                                   ("editor again: <ms>")
//   win_editor_bench edit FILE      saves it after a change, and Find Next for
//                                   a word near its end
// editor_window.sh sets the opening against win_richedit_anchor_bench.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "clock.h"
#include "editor/editor_window.h"
#include "frame/main_window.h"
#include "state/settings.h"
#include "ui/app.h"
#include "platform/text.h"

using namespace velkor;

namespace {

// Message boxes (the save report) are answered at once.
LRESULT CALLBACK AnswerBoxes(int code, WPARAM wp, LPARAM lp) {
  if (code == HCBT_ACTIVATE) {
    HWND w = reinterpret_cast<HWND>(wp);
    wchar_t cls[16] = {};
    GetClassNameW(w, cls, 16);
    if (lstrcmpW(cls, L"#32770") == 0) PostMessageW(w, WM_COMMAND, IDOK, 0);
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

std::wstring MakeDocument(std::size_t bytes_wanted) {
  const wchar_t* words[] = {L"今日は", L"メモ", L"Velkor", L"テキスト", L"editor", L"日本語の文章", L"12345",
                            L"、", L"。", L"ファイル", L"search", L"漢字かな交じり"};
  std::wstring text;
  unsigned seed = 12345;
  std::size_t bytes = 0;
  while (bytes < bytes_wanted) {
    std::wstring line;
    const int n = 4 + static_cast<int>(seed % 9);
    for (int i = 0; i < n; ++i) {
      seed = seed * 1103515245u + 12345u;
      line += words[(seed >> 16) % 12];
      line += L' ';
    }
    line += L"\r\n";
    bytes += WideToCp932(line).bytes.size();
    text += line;
  }
  // The word to find stands near the end.
  text.insert(text.size() - 200, L"目印のことば");
  return text;
}

void Pump() { Application::Get().ProcessMessages(); }

bool WriteDocument(const std::wstring& path, std::size_t megabytes) {
  const std::string bytes = WideToCp932(MakeDocument(megabytes << 20)).bytes;
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(h);
  return ok && written == bytes.size();
}

// A main window as the program shows it at start, with its settings file in
// the document's folder.
struct Session {
  explicit Session(const std::wstring& doc) : settings(doc.substr(0, doc.find_last_of(L'\\') + 1) + L"Velkor.INI") {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    SetSettingsFilePathForTesting(settings);
    hook = SetWindowsHookExW(WH_CBT, AnswerBoxes, nullptr, GetCurrentThreadId());
    frame.CreateForm();
    frame.ShowForStartup(SW_SHOWNORMAL);
    bench::PumpUntilIdle();
  }
  ~Session() {
    UnhookWindowsHookEx(hook);
    DestroyWindow(frame.hwnd());
    DeleteFileW(settings.c_str());
  }
  // From the open command to the first idle after the paint.
  double Open(const std::wstring& doc, EditorWindow** opened) {
    const double t0 = bench::Now();
    EditorWindow* e = frame.OpenDocument(doc, doc, 0, true);
    UpdateWindow(frame.hwnd());
    bench::PumpUntilIdle();
    *opened = e;
    return bench::Now() - t0;
  }
  void Close(EditorWindow* e) {
    e->memo().SetModified(false);
    SendMessageW(e->hwnd(), WM_CLOSE, 0, 0);
    Pump();
  }
  std::wstring settings;
  HHOOK hook = nullptr;
  MainWindow frame{{}};
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring job = argc > 1 ? argv[1] : L"";
  if (job == L"make" && argc > 3) return WriteDocument(argv[3], static_cast<std::size_t>(_wtoi(argv[2]))) ? 0 : 1;
  if (argc < 3) {
    std::fprintf(stderr, "usage: win_editor_bench make MB FILE | open FILE | edit FILE\n");
    return 2;
  }
  const std::wstring doc = argv[2];
  Session session(doc);
  EditorWindow* e = nullptr;
  if (job == L"open") {
    std::printf("editor: %.0f\n", session.Open(doc, &e) * 1000);
    std::fflush(stdout);
    session.Close(e);
    // A document opened after another was closed: the closed one's memory
    // must not slow the next.
    std::printf("editor again: %.0f\n", session.Open(doc, &e) * 1000);
    session.Close(e);
    return 0;
  }
  if (job != L"edit") return 2;
  session.Open(doc, &e);
  e->memo().SetSel(0, 0);
  e->memo().ReplaceSel(L"x");
  const double t0 = bench::Now();
  e->Save();
  const double save = bench::Now() - t0;
  std::vector<double> find;
  lstrcpyW(e->find_options().lpstrFindWhat, L"目印のことば");
  for (int i = 0; i < 5; ++i) {
    e->memo().SetSel(0, 0);
    e->ResetFoundCount();
    const double f0 = bench::Now();
    e->FindNext();
    find.push_back(bench::Now() - f0);
  }
  std::sort(find.begin(), find.end());
  std::printf("save: %.0f\nfind: %.1f\n", save * 1000, find[find.size() / 2] * 1000);
  // The save left the document unchanged on disk but for the "x" and a .BAK.
  session.Close(e);
  const std::wstring bak = doc.substr(0, doc.find_last_of(L'.')) + L".BAK";
  DeleteFileW(bak.c_str());
  return 0;
}
