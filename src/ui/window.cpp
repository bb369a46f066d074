#include "ui/window.h"

#include <exception>
#include <utility>

#include "ui/app.h"
#include "ui/control.h"
#include "ui/handler_depth.h"
#include "platform/screen_fit.h"

namespace velkor {
namespace {
// An exception thrown while a window is being created fails the creation; it
// waits here until the creating call returns and rethrows it, so that it
// reaches the general error report once, from the code that asked for the
// window.
std::exception_ptr g_creation_error;

}  // namespace

std::wstring WindowText(HWND window) {
  const int n = GetWindowTextLengthW(window);
  std::wstring s(static_cast<size_t>(n) + 1, L'\0');
  const int got = GetWindowTextW(window, s.data(), n + 1);
  s.resize(static_cast<size_t>(got > 0 ? got : 0));
  return s;
}

DWORD WindowStyle(HWND window) { return static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)); }

DWORD WindowExStyle(HWND window) { return static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE)); }

void SetWindowStyle(HWND window, DWORD style) { SetWindowLongPtrW(window, GWL_STYLE, static_cast<LONG_PTR>(style)); }

RECT WorkAreaNear(const RECT& r) {
  MONITORINFO mi{};
  mi.cbSize = sizeof mi;
  RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  const bool known = GetMonitorInfoW(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &mi) != FALSE;
  if (known) area = mi.rcWork;
  // The primary screen's as the system's parameters keep it: the same on
  // Windows; Wine keeps a work area changed by a task bar only there.
  if (!known || (mi.dwFlags & MONITORINFOF_PRIMARY)) SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  return area;
}

RECT KeptOnWorkArea(const RECT& r) {
  const RECT wa = WorkAreaNear(r);
  const ScreenRect kept = KeepInside(ScreenRect{r.left, r.top, r.right, r.bottom},
                                     ScreenRect{wa.left, wa.top, wa.right, wa.bottom});
  return RECT{kept.left, kept.top, kept.right, kept.bottom};
}

void ShowAndBringForward(HWND window) {
  if (IsIconic(window))
    ShowWindow(window, SW_RESTORE);
  else if (!IsWindowVisible(window))
    ShowWindow(window, SW_SHOW);
  SetForegroundWindow(window);
  BringWindowToTop(window);
}

void DestroyWithoutObject(HWND& window, int object_slot) {
  if (!window) return;
  const HWND h = std::exchange(window, nullptr);
  SetWindowLongPtrW(h, object_slot, 0);
  DestroyWindow(h);
}

bool LetGoAtLastMessage(HWND window, int object_slot, HWND& object_window) {
  SetWindowLongPtrW(window, object_slot, 0);
  Application::Get().ForgetWindow(window);
  if (object_window != window) return false;
  object_window = nullptr;
  return true;
}

Window::~Window() {
  CheckNotInHandler(handler_depth_, "window");
  ForgetWhenIdle(this);
  DestroyWithoutObject(hwnd_, GWLP_USERDATA);
}

Window* Window::FromHandle(HWND hwnd) {
  // Every class that Window registers keeps its object in the user data:
  // one read per message, where a property would search a list.
  return hwnd ? reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)) : nullptr;
}

void Window::RegisterWindowClass(WNDCLASSEXW wc) {
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = StaticProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  if (!wc.hCursor) wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  WNDCLASSEXW existing{sizeof existing};
  if (GetClassInfoExW(wc.hInstance, wc.lpszClassName, &existing)) return;
  RegisterClassExW(&wc);
}

HWND Window::CreateOwnControl(const wchar_t* class_name, HWND parent, int id, int x, int y, int w, int h, DWORD style,
                             DWORD ex_style) {
  WNDCLASSEXW wc{};
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpszClassName = class_name;
  RegisterWindowClass(wc);
  return Create(ex_style, class_name, L"", style, x, y, w, h, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
}

HWND Window::Create(DWORD ex_style, const wchar_t* class_name, const wchar_t* title, DWORD style, int x, int y,
                    int w, int h, HWND parent, HMENU menu_or_id) {
  g_creation_error = nullptr;
  creating_ = true;
  return Finish(CreateWindowExW(ex_style, class_name, title, style, x, y, w, h, parent, menu_or_id,
                                GetModuleHandleW(nullptr), this));
}

HWND Window::CreateMdiChild(HWND mdi_client, const wchar_t* class_name, const wchar_t* title, DWORD style, int x,
                            int y, int w, int h) {
  MDICREATESTRUCTW mcs{};
  mcs.szClass = class_name;
  mcs.szTitle = title;
  mcs.hOwner = GetModuleHandleW(nullptr);
  mcs.x = x;
  mcs.y = y;
  mcs.cx = w;
  mcs.cy = h;
  mcs.style = style;
  mcs.lParam = reinterpret_cast<LPARAM>(this);
  g_creation_error = nullptr;
  creating_ = true;
  return Finish(reinterpret_cast<HWND>(SendMessageW(mdi_client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs))));
}

HWND Window::Finish(HWND created) {
  creating_ = false;
  if (!created && g_creation_error) std::rethrow_exception(std::exchange(g_creation_error, nullptr));
  g_creation_error = nullptr;
  return created;
}

LRESULT Window::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) { return DefaultProc(msg, wp, lp); }

LRESULT Window::DefaultProc(UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcW(hwnd_, msg, wp, lp); }

LRESULT CALLBACK Window::StaticProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Window* self = FromHandle(hwnd);
  if (!self && msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
    LPARAM param = reinterpret_cast<LPARAM>(cs->lpCreateParams);
    if (cs->dwExStyle & WS_EX_MDICHILD) param = reinterpret_cast<MDICREATESTRUCTW*>(cs->lpCreateParams)->lParam;
    self = reinterpret_cast<Window*>(param);
    if (self) {
      self->hwnd_ = hwnd;
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
  }
  if (!self) {
    if (WindowExStyle(hwnd) & WS_EX_MDICHILD) return DefMDIChildProcW(hwnd, msg, wp, lp);
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
  if (msg == WM_SETCURSOR && Application::Get().busy() && LOWORD(lp) == HTCLIENT) {
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    return TRUE;
  }
  LRESULT result = 0;
  HandlerScope in_handler(self->handler_depth_);
  try {
    // What a child control reports goes first to the control's own object.
    if (!Control::Reflect(hwnd, msg, wp, lp, result)) result = self->HandleMessage(msg, wp, lp);
  } catch (...) {
    if (msg == WM_NCCREATE || msg == WM_CREATE) {
      // A half-built window must not live on: the system destroys it.
      g_creation_error = std::current_exception();
      result = msg == WM_NCCREATE ? FALSE : -1;
    } else {
      Application::Get().ReportCurrentException();
    }
  }
  // Handlers further down the stack may still run on the object.
  if (msg == WM_NCDESTROY && LetGoAtLastMessage(hwnd, GWLP_USERDATA, self->hwnd_) && !self->creating_)
    WhenIdle(self, [self] { self->OnFinalMessage(); });
  return result;
}

}  // namespace velkor
