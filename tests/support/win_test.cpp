#include "support/win_test.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <utility>

#include "ui/app.h"

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
    // Message boxes and the system's dialogs, and the program's modal
    // dialogs that are registered under a class of their own.
    if (lstrcmpW(cls, L"#32770") == 0 || lstrcmpW(cls, L"TSetupForm") == 0) g_answerer->OnActivate(w);
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

namespace {

bool IsExtendedKey(WORD vk) {
  switch (vk) {
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN: case VK_HOME: case VK_END:
    case VK_PRIOR: case VK_NEXT: case VK_INSERT: case VK_DELETE:
      return true;
  }
  return false;
}

// Lets every input that reached the queue be processed, and what it posted.
void SettleInput() {
  int quiet = 0;
  PumpUntil([&] {
    quiet = HIWORD(GetQueueStatus(QS_INPUT)) == 0 ? quiet + 1 : 0;
    return quiet >= 3;
  }, 3000);
}

INPUT MouseInput(DWORD flags, LONG dx = 0, LONG dy = 0, DWORD data = 0) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = flags;
  in.mi.dx = dx;
  in.mi.dy = dy;
  in.mi.mouseData = data;
  return in;
}

}  // namespace

void MovePointer(POINT to) {
  // Absolute positions are in 65536ths of the screen; rounded up, they map
  // back onto the very pixel.
  const LONG w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  INPUT move = MouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, (to.x * 65536 + w - 1) / w, (to.y * 65536 + h - 1) / h);
  SendInput(1, &move, sizeof move);
  // The display may still report where the pointer was before (see
  // MoveCursor): it is moved again until it stays put.
  int steady = 0;
  PumpUntil([&] {
    POINT p{};
    GetCursorPos(&p);
    if (p.x == to.x && p.y == to.y) return ++steady >= 10;
    steady = 0;
    SendInput(1, &move, sizeof move);
    return false;
  }, 3000);
  SettleInput();
}

void SendKeys(std::initializer_list<WORD> keys) {
  std::vector<INPUT> inputs;
  for (WORD vk : keys) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = IsExtendedKey(vk) ? KEYEVENTF_EXTENDEDKEY : 0;
    inputs.push_back(in);
    in.ki.dwFlags |= KEYEVENTF_KEYUP;
    inputs.push_back(in);
  }
  if (!inputs.empty()) SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void PressKeys(std::initializer_list<WORD> keys) {
  SendKeys(keys);
  SettleInput();
}

void PressKey(WORD vk) { PressKeys({vk}); }

void ClickAt(POINT screen, bool right_button) {
  MovePointer(screen);
  ClickHere(right_button);
}

void ClickHere(bool right_button) {
  INPUT clicks[2] = {MouseInput(right_button ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN),
                     MouseInput(right_button ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP)};
  SendInput(2, clicks, sizeof(INPUT));
  SettleInput();
}

void DragFromTo(POINT from, POINT to) {
  MovePointer(from);
  INPUT down = MouseInput(MOUSEEVENTF_LEFTDOWN);
  SendInput(1, &down, sizeof down);
  SettleInput();
  MovePointer(to);
  INPUT up = MouseInput(MOUSEEVENTF_LEFTUP);
  SendInput(1, &up, sizeof up);
  SettleInput();
}

void TurnWheel(int notches) {
  INPUT wheel = MouseInput(MOUSEEVENTF_WHEEL, 0, 0, static_cast<DWORD>(notches * WHEEL_DELTA));
  SendInput(1, &wheel, sizeof wheel);
  SettleInput();
}

POINT CentreOf(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

namespace {
std::function<bool()> g_modal_ready;
std::function<void()> g_modal_action;

VOID CALLBACK ModalTick(HWND, UINT, UINT_PTR id, DWORD) {
  if (g_modal_ready && !g_modal_ready()) return;
  KillTimer(nullptr, id);
  auto action = std::move(g_modal_action);
  g_modal_ready = nullptr;
  g_modal_action = nullptr;
  if (action) action();
}
}  // namespace

void WhenModal(std::function<bool()> ready, std::function<void()> action) {
  g_modal_ready = std::move(ready);
  g_modal_action = std::move(action);
  SetTimer(nullptr, 0, 30, ModalTick);
}

bool MenuOpen() {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(GetCurrentThreadId(), &info) && (info.flags & (GUI_INMENUMODE | GUI_POPUPMENUMODE)) != 0;
}

HelpRequests::HelpRequests() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"MS_WINHELP";
  RegisterClassW(&wc);
  // Top-level and hidden: the system finds the viewer by its class among those.
  window_ = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr);
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

HelpRequests::~HelpRequests() { DestroyWindow(window_); }

LRESULT CALLBACK HelpRequests::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<HelpRequests*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (msg == WM_COPYDATA && self) {
    // The request: a WORD size, a WORD command, then a LONG of data (the
    // context number for HELP_CONTEXT).
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lp);
    if (data->cbData >= 8) {
      const auto* bytes = static_cast<const unsigned char*>(data->lpData);
      WORD command = 0;
      LONG context = 0;
      std::memcpy(&command, bytes + 2, sizeof command);
      std::memcpy(&context, bytes + 4, sizeof context);
      if (command == HELP_CONTEXT) self->contexts_.push_back(static_cast<int>(context));
    }
    return TRUE;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
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

namespace {

SentMessages* g_listener = nullptr;  // the newest; each keeps the one before it

}  // namespace

SentMessages::SentMessages(std::function<void(const CWPSTRUCT& sent)> heard)
    : heard_(std::move(heard)), outer_(g_listener) {
  hook_ = SetWindowsHookExW(WH_CALLWNDPROC, Hook, nullptr, GetCurrentThreadId());
  g_listener = this;
}

SentMessages::~SentMessages() {
  g_listener = outer_;
  UnhookWindowsHookEx(hook_);
}

LRESULT CALLBACK SentMessages::Hook(int code, WPARAM wp, LPARAM lp) {
  if (code == HC_ACTION && g_listener) {
    const CWPSTRUCT sent = *reinterpret_cast<const CWPSTRUCT*>(lp);
    for (SentMessages* listener = g_listener; listener; listener = listener->outer_) listener->heard_(sent);
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

FullListBox::FullListBox(HWND list, int capacity) : list_(list) {
  SetWindowSubclass(list_, Proc, 1, static_cast<DWORD_PTR>(capacity));
}

FullListBox::~FullListBox() {
  if (IsWindow(list_)) RemoveWindowSubclass(list_, Proc, 1);
}

LRESULT CALLBACK FullListBox::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR capacity) {
  if ((msg == LB_ADDSTRING || msg == LB_INSERTSTRING) &&
      DefSubclassProc(hwnd, LB_GETCOUNT, 0, 0) >= static_cast<LRESULT>(capacity))
    return LB_ERRSPACE;
  if (msg == WM_NCDESTROY) RemoveWindowSubclass(hwnd, Proc, 1);
  return DefSubclassProc(hwnd, msg, wp, lp);
}

}  // namespace velkor::test
