// Start-up of Velkor.exe until its first input idle, against Wine's notepad
// started the same way. Each program starts a number of times from a fresh
// folder of its own; the median counts.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "clock.h"

namespace {

// Milliseconds from CreateProcess to the end of WaitForInputIdle.
double StartOnce(const std::wstring& exe, const std::wstring& dir) {
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::wstring line = L"\"" + exe + L"\"";
  const double t0 = bench::Now();
  if (!CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si, &pi)) return -1;
  WaitForInputIdle(pi.hProcess, 30000);
  const double t1 = bench::Now();
  TerminateProcess(pi.hProcess, 0);
  WaitForSingleObject(pi.hProcess, 10000);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return (t1 - t0) * 1000.0;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    fwprintf(stderr, L"usage: win_startup_bench Velkor.exe [runs]\n");
    return 2;
  }
  const int runs = argc > 2 ? _wtoi(argv[2]) : 9;
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring dir = std::wstring(temp) + L"velkor-startup-bench";
  CreateDirectoryW(dir.c_str(), nullptr);
  const std::wstring velkor = dir + L"\\Velkor.exe";
  CopyFileW(argv[1], velkor.c_str(), FALSE);
  wchar_t windows[MAX_PATH];
  GetWindowsDirectoryW(windows, MAX_PATH);
  const std::wstring notepad = std::wstring(windows) + L"\\notepad.exe";

  std::vector<double> a, b;
  StartOnce(velkor, dir);  // warm the file cache for both
  StartOnce(notepad, dir);
  for (int i = 0; i < runs; ++i) {
    DeleteFileW((dir + L"\\Velkor.INI").c_str());  // every start is a first start
    a.push_back(StartOnce(velkor, dir));
    b.push_back(StartOnce(notepad, dir));
  }
  DeleteFileW((dir + L"\\Velkor.INI").c_str());
  DeleteFileW(velkor.c_str());
  RemoveDirectoryW(dir.c_str());
  const double ma = Median(a), mb = Median(b);
  printf("start-up to input idle: %.0f ms  anchor (notepad) %.0f ms  ratio %.2f\n", ma, mb, ma / mb);
  return 0;
}
