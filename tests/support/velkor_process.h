#pragma once
// Velkor.exe started as a process of its own, for the tests that drive it
// from outside, and what they read of its windows.
#include <string>

#include "platform/win32.h"
#include "support/win_test.h"

namespace velkor::test {

class VelkorProcess {
 public:
  VelkorProcess(const std::wstring& exe, const std::wstring& args, int show = SW_SHOWNORMAL) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = static_cast<WORD>(show);
    std::wstring line = L"\"" + exe + L"\"" + (args.empty() ? L"" : L" " + args);
    const std::wstring dir = exe.substr(0, exe.rfind(L'\\'));
    started_ = CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si, &pi_);
    if (started_) WaitForInputIdle(pi_.hProcess, 10000);
  }
  ~VelkorProcess() {
    if (!started_) return;
    if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(pi_.hProcess, 1);
    CloseHandle(pi_.hThread);
    CloseHandle(pi_.hProcess);
  }
  VelkorProcess(const VelkorProcess&) = delete;
  VelkorProcess& operator=(const VelkorProcess&) = delete;

  bool started() const { return started_ != FALSE; }
  // Ends the process at once, as a crash would, and waits until it is gone.
  void Kill() {
    TerminateProcess(pi_.hProcess, 9);
    WaitForSingleObject(pi_.hProcess, 10000);
  }
  bool WaitExit(int ms) { return WaitForSingleObject(pi_.hProcess, static_cast<DWORD>(ms)) == WAIT_OBJECT_0; }

  // The first visible top-level window of this process with the class.
  HWND WaitWindow(const wchar_t* cls, int timeout_ms = 10000) {
    HWND found = nullptr;
    PumpUntil(
        [&] {
          found = Find(cls);
          return found != nullptr;
        },
        timeout_ms);
    return found;
  }

  HWND Find(const wchar_t* cls) {
    Search s{pi_.dwProcessId, cls, nullptr};
    EnumWindows(Visit, reinterpret_cast<LPARAM>(&s));
    return s.found;
  }

 private:
  struct Search {
    DWORD pid;
    const wchar_t* cls;
    HWND found;
  };
  static BOOL CALLBACK Visit(HWND w, LPARAM lp) {
    auto* s = reinterpret_cast<Search*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    wchar_t name[64] = {};
    GetClassNameW(w, name, 64);
    if (pid == s->pid && lstrcmpW(name, s->cls) == 0 && IsWindowVisible(w)) {
      s->found = w;
      return FALSE;
    }
    return TRUE;
  }
  PROCESS_INFORMATION pi_{};
  BOOL started_ = FALSE;
};

// The text of a message box of another process.
std::wstring BoxText(HWND box);
// The first window of the class among the parent's descendants.
HWND FindChild(HWND parent, const wchar_t* cls);

}  // namespace velkor::test
