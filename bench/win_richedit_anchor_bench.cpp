// The bound for opening a document: one rich edit in a plain top-level
// window of a small program, made as the editor makes its text area (styles,
// text mode, limit, no wrap, font), filled with the decoded text of a
// Shift-JIS file and timed from the fill to its first idle after the paint.
//   win_richedit_anchor_bench FILE      prints "bare: <ms>"
#include <cstdio>
#include <string>

#include "clock.h"

namespace {

LRESULT CALLBACK PlainProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_SIZE) {
    if (HWND edit = GetWindow(h, GW_CHILD)) MoveWindow(edit, 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
  }
  return DefWindowProcW(h, msg, wp, lp);
}

std::wstring DecodedFile(const wchar_t* path) {
  std::string bytes;
  HANDLE f = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return {};
  LARGE_INTEGER size{};
  GetFileSizeEx(f, &size);
  bytes.resize(static_cast<size_t>(size.QuadPart));
  DWORD got = 0;
  ReadFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
  CloseHandle(f);
  const int n = MultiByteToWideChar(932, 0, bytes.data(), static_cast<int>(got), nullptr, 0);
  std::wstring text(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(932, 0, bytes.data(), static_cast<int>(got), text.data(), n);
  return text;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  const std::wstring text = DecodedFile(argv[1]);
  if (text.empty()) {
    std::fprintf(stderr, "cannot read %ls\n", argv[1]);
    return 1;
  }
  LoadLibraryW(L"riched20.dll");
  WNDCLASSEXW wc{sizeof wc};
  wc.lpfnWndProc = PlainProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = L"RichEditAnchor";
  RegisterClassExW(&wc);
  HWND top = CreateWindowExW(0, wc.lpszClassName, L"anchor", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 800, 600,
                             nullptr, nullptr, wc.hInstance, nullptr);
  RECT rc{};
  GetClientRect(top, &rc);
  HWND edit = CreateWindowExW(WS_EX_CLIENTEDGE, RICHEDIT_CLASSW, L"",
                              WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_MULTILINE | ES_WANTRETURN | ES_NOHIDESEL |
                                  ES_AUTOVSCROLL | WS_VSCROLL | WS_HSCROLL | ES_AUTOHSCROLL,
                              0, 0, rc.right, rc.bottom, top, nullptr, wc.hInstance, nullptr);
  SendMessageW(edit, EM_SETTEXTMODE, TM_PLAINTEXT | TM_MULTILEVELUNDO | TM_MULTICODEPAGE, 0);
  SendMessageW(edit, EM_EXLIMITTEXT, 0, 99999999);
  SendMessageW(edit, EM_SETTARGETDEVICE, 0, 1);
  CHARFORMAT2W cf{};
  cf.cbSize = sizeof cf;
  cf.dwMask = CFM_FACE | CFM_SIZE | CFM_COLOR | CFM_CHARSET;
  lstrcpynW(cf.szFaceName, L"ＭＳ ゴシック", LF_FACESIZE);
  cf.yHeight = 11 * 20;
  cf.bCharSet = SHIFTJIS_CHARSET;
  SendMessageW(edit, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&cf));
  SetFocus(edit);
  bench::PumpUntilIdle();

  const double t0 = bench::Now();
  SETTEXTEX st{ST_DEFAULT, 1200};
  SendMessageW(edit, EM_SETTEXTEX, reinterpret_cast<WPARAM>(&st), reinterpret_cast<LPARAM>(text.c_str()));
  CHARRANGE start{0, 0};
  SendMessageW(edit, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&start));
  UpdateWindow(top);
  bench::PumpUntilIdle();
  const double t1 = bench::Now();
  std::printf("bare: %.0f\n", (t1 - t0) * 1000);
  DestroyWindow(top);
  return 0;
}
