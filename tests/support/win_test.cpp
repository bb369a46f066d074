#include "support/win_test.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/app.h"

namespace velkor::test {
namespace {
thread_local DialogAnswerer* g_answerer = nullptr;

std::wstring StaticTexts(HWND dialog) {
  std::wstring all;
  for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    wchar_t cls[16] = {};
    GetClassNameW(c, cls, 16);
    if (lstrcmpiW(cls, L"Static") != 0 || !IsWindowVisible(c)) continue;
    const std::wstring t = WindowText(c);
    if (t.empty()) continue;
    if (!all.empty()) all += L" / ";
    all += t;
  }
  return all;
}
}  // namespace

constexpr UINT kHandleDialog = WM_APP + 77;

LRESULT CALLBACK AnswererProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kHandleDialog && g_answerer) {
    g_answerer->Handle(reinterpret_cast<HWND>(wp));
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

DialogAnswerer::DialogAnswerer() : outer_(g_answerer) {
  g_answerer = this;
  WNDCLASSW wc{};
  wc.lpfnWndProc = AnswererProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"VelkorTestAnswerer";
  RegisterClassW(&wc);
  sink_ = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
  hook_ = SetWindowsHookExW(WH_CBT, Hook, nullptr, GetCurrentThreadId());
}

DialogAnswerer::~DialogAnswerer() {
  UnhookWindowsHookEx(hook_);
  DestroyWindow(sink_);
  if (g_answerer == this) g_answerer = outer_;
}

void DialogAnswerer::Press(int button_id) {
  actions_.push_back([button_id](HWND dlg) { Click(dlg, button_id); });
}

void DialogAnswerer::Then(Action action) { actions_.push_back(std::move(action)); }

void DialogAnswerer::Click(HWND dialog, int button_id) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button_id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, button_id)));
}

DialogAnswerer::Action DialogAnswerer::ChooseFile(std::wstring path) {
  return [path](HWND dlg) {
    // The file name box: cmb13 in the Explorer-style dialog, edt1 in the old one.
    HWND box = GetDlgItem(dlg, 0x47C);
    if (!box) box = GetDlgItem(dlg, 0x480);
    if (box) SetWindowTextW(box, path.c_str());
    Click(dlg, IDOK);
  };
}

LRESULT CALLBACK DialogAnswerer::Hook(int code, WPARAM wp, LPARAM lp) {
  if (code == HCBT_ACTIVATE && g_answerer) {
    HWND w = reinterpret_cast<HWND>(wp);
    wchar_t cls[16] = {};
    GetClassNameW(w, cls, 16);
    if (lstrcmpW(cls, L"#32770") == 0) g_answerer->OnActivate(w);
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

void DialogAnswerer::OnActivate(HWND dialog) {
  if (std::find(handled_.begin(), handled_.end(), dialog) != handled_.end()) return;
  handled_.push_back(dialog);
  // A dialog is activated before its initialisation fills it in; look at it
  // once its modal loop runs.
  PostMessageW(sink_, kHandleDialog, reinterpret_cast<WPARAM>(dialog), 0);
}

void DialogAnswerer::Handle(HWND dialog) {
  if (!IsWindow(dialog)) return;
  Seen s;
  s.caption = WindowText(dialog);
  // A message box's text is the static control with the id 0xFFFF.
  if (HWND text = GetDlgItem(dialog, 0xFFFF)) s.text = WindowText(text);
  GetWindowRect(dialog, &s.rect);
  if (HWND icon = GetDlgItem(dialog, 0x0014)) s.icon = IsWindowVisible(icon) ? MB_ICONINFORMATION : 0;
  seen_.push_back(s);
  if (actions_.empty()) {
    ++unexpected_;
    std::wstring said = s.text;
    if (said.empty()) said = StaticTexts(dialog);  // a dialog of its own, not a message box
    ADD_FAILURE() << "a dialog that the test did not expect: \"" << s.caption << "\": \"" << said << "\"";
    Click(dialog, IDCANCEL);
    Click(dialog, IDOK);
    return;
  }
  Action next = std::move(actions_.front());
  actions_.erase(actions_.begin());
  next(dialog);
}

TempDir::TempDir() {
  wchar_t base[MAX_PATH];
  GetTempPathW(MAX_PATH, base);
  static unsigned counter = 0;
  for (;;) {
    path_ = std::wstring(base) + L"velkor-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(++counter);
    if (CreateDirectoryW(path_.c_str(), nullptr)) break;
  }
}

TempDir::~TempDir() { RemoveTree(path_); }

void RemoveTree(const std::wstring& path) {
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW((path + L"\\*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = fd.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring full = path + L"\\" + name;
      SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveTree(full);
      else
        DeleteFileW(full.c_str());
    } while (FindNextFileW(h, &fd));
    FindClose(h);
  }
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  RemoveDirectoryW(path.c_str());
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  if (!bytes.empty()) WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(h);
}

std::string ReadBytes(const std::wstring& path) {
  std::string out;
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                         0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return out;
  char buf[65536];
  DWORD got = 0;
  while (ReadFile(h, buf, sizeof buf, &got, nullptr) && got > 0) out.append(buf, got);
  CloseHandle(h);
  return out;
}

bool FileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool PumpUntil(const std::function<bool()>& pred, int timeout_ms) {
  const DWORD start = GetTickCount();
  for (;;) {
    Application::Get().ProcessMessages();
    if (pred()) return true;
    if (static_cast<int>(GetTickCount() - start) > timeout_ms) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

void PumpFor(int ms) {
  PumpUntil([] { return false; }, ms);
}

void MoveCursor(int x, int y) {
  // Wine may report a warped pointer before the display has moved it, and
  // then fall back to where the display says it is: wait until it holds.
  int steady = 0;
  PumpUntil(
      [&] {
        POINT p{};
        GetCursorPos(&p);
        if (p.x == x && p.y == y) return ++steady >= 5;
        steady = 0;
        SetCursorPos(x, y);
        return false;
      },
      3000);
}

std::wstring ModuleDir() {
  wchar_t buf[MAX_PATH];
  GetModuleFileNameW(nullptr, buf, MAX_PATH);
  std::wstring p = buf;
  return p.substr(0, p.find_last_of(L'\\'));
}

std::wstring UnixPath(const std::wstring& path) {
  using ToUnix = char*(CDECL*)(const wchar_t*);
  const auto to_unix = reinterpret_cast<ToUnix>(
      reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (!to_unix) return L"";
  char* name = to_unix(path.c_str());
  if (!name) return L"";
  std::wstring wide(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, name, -1, nullptr, 0)), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, name, -1, wide.data(), static_cast<int>(wide.size()));
  HeapFree(GetProcessHeap(), 0, name);
  if (!wide.empty()) wide.pop_back();
  return wide;
}

// Wine gives no wait and no exit code for a host process: the command writes
// its outcome to a file, which is waited for.
bool RunHostShell(const std::wstring& command) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  static unsigned counter = 0;
  const std::wstring outcome =
      std::wstring(temp) + L"velkor-shell-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
  const std::wstring unix_outcome = UnixPath(outcome);
  if (unix_outcome.empty()) return false;
  std::wstring line = L"Z:\\bin\\sh -c \"if " + command + L"; then echo 0 > '" + unix_outcome + L"'; else echo 1 > '" +
                      unix_outcome + L"'; fi\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  std::string result;
  for (int waited = 0; waited < 20000 && result.empty(); waited += 20) {
    Sleep(20);
    if (FileExists(outcome)) result = ReadBytes(outcome);
  }
  DeleteFileW(outcome.c_str());
  return result.rfind("0", 0) == 0;
}

}  // namespace velkor::test
