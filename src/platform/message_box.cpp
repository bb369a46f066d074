#include "platform/message_box.h"

#include "platform/app.h"

namespace velkor {
namespace {

thread_local HHOOK g_place_hook = nullptr;
thread_local POINT g_place_at{};
thread_local bool g_placed = false;

// The box centres itself while it initialises; it is moved when that is done.
LRESULT CALLBACK PlaceHook(int code, WPARAM wp, LPARAM lp) {
  if (code == HC_ACTION && !g_placed) {
    const auto* m = reinterpret_cast<const CWPRETSTRUCT*>(lp);
    if (m->message == WM_INITDIALOG) {
      wchar_t cls[16] = {};
      GetClassNameW(m->hwnd, cls, 16);
      if (lstrcmpW(cls, L"#32770") == 0) {
        g_placed = true;
        SetWindowPos(m->hwnd, nullptr, g_place_at.x, g_place_at.y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      }
    }
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

}  // namespace

HWND MessageOwner() {
  HWND active = GetActiveWindow();
  if (active && IsWindowVisible(active)) return active;
  HWND main = Application::Get().main_window();
  return (main && IsWindowVisible(main)) ? main : nullptr;
}

int ShowMessage(const std::wstring& text, MessageKind kind, UINT buttons, std::optional<POINT> top_left) {
  return ShowMessage(MessageOwner(), text, kind, buttons, top_left);
}

int ShowMessage(HWND owner, const std::wstring& text, MessageKind kind, UINT buttons, std::optional<POINT> top_left) {
  std::wstring caption = Application::Get().title();
  UINT icon = 0;
  switch (kind) {
    case MessageKind::Plain: break;
    case MessageKind::Information: caption = L"情報"; icon = MB_ICONINFORMATION; break;
    case MessageKind::Warning: caption = L"警告"; icon = MB_ICONWARNING; break;
    case MessageKind::Error: icon = MB_ICONERROR; break;
    case MessageKind::Confirmation: caption = L"確認"; icon = MB_ICONQUESTION; break;
  }
  if (top_left && !g_place_hook) {
    g_place_at = *top_left;
    g_placed = false;
    g_place_hook = SetWindowsHookExW(WH_CALLWNDPROCRET, PlaceHook, nullptr, GetCurrentThreadId());
  }
  if (!owner || !IsWindow(owner)) owner = MessageOwner();
  const int result = MessageBoxW(owner, text.c_str(), caption.c_str(), buttons | icon | (owner ? 0 : MB_TASKMODAL));
  if (g_place_hook) {
    UnhookWindowsHookEx(g_place_hook);
    g_place_hook = nullptr;
  }
  return result;
}

}  // namespace velkor
