// The editor window on a 1 MB Shift-JIS document: opening it until the
// window is ready against loading the same text into a bare rich-edit
// control, saving it against its opening, and Find Next for a word near the end.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "clock.h"
#include "editor/mdiedit.h"
#include "frame/mdiframe.h"
#include "frame/settings.h"
#include "platform/app.h"
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

}  // namespace

int wmain() {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring dir = std::wstring(temp) + L"velkor-editor-bench";
  CreateDirectoryW(dir.c_str(), nullptr);
  SetSettingsFilePathForTesting(dir + L"\\Velkor.INI");
  const std::wstring doc = dir + L"\\big.txt";
  const std::wstring text = MakeDocument(1 << 20);
  const std::string bytes = WideToCp932(text).bytes;
  {
    HANDLE h = CreateFileW(doc.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(h);
  }
  HHOOK hook = SetWindowsHookExW(WH_CBT, AnswerBoxes, nullptr, GetCurrentThreadId());

  Tframeform frame({});
  frame.CreateForm();
  frame.ShowForStartup(SW_SHOWNORMAL);
  Pump();

  // Anchor: the same text into a bare rich-edit control of the same size.
  LoadLibraryW(L"riched20.dll");
  RECT client{};
  GetClientRect(frame.mdi_client(), &client);
  std::vector<double> bare, open, save, find;
  for (int run = 0; run < 3; ++run) {
    HWND edit = CreateWindowExW(0, RICHEDIT_CLASSW, L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL |
                                ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL, 0, 0, client.right, client.bottom,
                                frame.mdi_client(), nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(edit, EM_SETTEXTMODE, TM_PLAINTEXT, 0);
    SendMessageW(edit, EM_EXLIMITTEXT, 0, 99999999);
    SendMessageW(edit, EM_SETTARGETDEVICE, 0, 1);
    double t0 = bench::Now();
    SETTEXTEX st{ST_DEFAULT, 1200};
    SendMessageW(edit, EM_SETTEXTEX, reinterpret_cast<WPARAM>(&st), reinterpret_cast<LPARAM>(text.c_str()));
    UpdateWindow(edit);
    Pump();
    bare.push_back(bench::Now() - t0);
    DestroyWindow(edit);
    Pump();

    t0 = bench::Now();
    Teditform* e = frame.OpenDocument(doc, doc, 0, true);
    UpdateWindow(e->hwnd());
    Pump();
    open.push_back(bench::Now() - t0);

    e->Memo1.SetSel(0, 0);
    e->Memo1.ReplaceSel(L"x");
    t0 = bench::Now();
    e->Save1Click();
    save.push_back(bench::Now() - t0);

    if (getenv("VELKOR_PROBE")) {
      double p0 = bench::Now();
      std::wstring t = e->Memo1.Text();
      double p1 = bench::Now();
      std::string b = WideToCp932(t).bytes;
      double p2 = bench::Now();
      e->ShowCaretStatus();
      double p3 = bench::Now();
      e->Memo1.SetSel(e->Memo1.TextLength() - 300, 6);
      e->Memo1.ScrollCaret();
      double p4 = bench::Now();
      printf("probe: text %.1f ms, cp932 %.1f ms, status %.1f ms, setsel+scroll %.1f ms\n", (p1-p0)*1000, (p2-p1)*1000, (p3-p2)*1000, (p4-p3)*1000);
    }
    lstrcpyW(e->find_options().lpstrFindWhat, L"目印のことば");
    for (int i = 0; i < 5; ++i) {
      e->Memo1.SetSel(0, 0);
      e->FoundCount = 0;
      t0 = bench::Now();
      e->FindNext1Click();
      find.push_back(bench::Now() - t0);
    }
    e->Memo1.SetModified(false);
    SendMessageW(e->hwnd(), WM_CLOSE, 0, 0);
    Pump();
  }
  UnhookWindowsHookEx(hook);
  auto median = [](std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
  };
  const double b = median(bare) * 1000, o = median(open) * 1000, s = median(save) * 1000, f = median(find) * 1000;
  printf("open 1 MB Shift-JIS document: %.0f ms  anchor (bare rich edit) %.0f ms  ratio %.2f (target 1.10)\n", o, b,
         o / b);
  printf("save that document: %.0f ms  anchor (its opening) %.0f ms  ratio %.2f (target 0.20)\n", s, o, s / o);
  printf("Find Next near the end of 1 MB: %.1f ms  anchor 50 ms  ratio %.2f (target 1.00)\n", f, f / 50.0);
  DestroyWindow(frame.hwnd());
  DeleteFileW(doc.c_str());
  DeleteFileW((dir + L"\\big.BAK").c_str());
  DeleteFileW((dir + L"\\Velkor.INI").c_str());
  RemoveDirectoryW(dir.c_str());
  return 0;
}
