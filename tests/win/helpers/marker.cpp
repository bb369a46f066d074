// A program for the tests to start: it leaves "<its own path>.ran" behind,
// holding its command line, and ends. The file is written beside and then
// renamed, so that a test never reads half of it.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  wchar_t path[MAX_PATH + 8], part[MAX_PATH + 16];
  const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  lstrcpyW(path + n, L".ran");
  lstrcpyW(part, path);
  lstrcatW(part, L".part");
  HANDLE h = CreateFileW(part, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return 1;
  const wchar_t* line = GetCommandLineW();
  DWORD written = 0;
  WriteFile(h, line, static_cast<DWORD>(lstrlenW(line) * sizeof(wchar_t)), &written, nullptr);
  CloseHandle(h);
  return MoveFileExW(part, path, MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
