#include "ui/app.h"

#include <algorithm>
#include <exception>
#include <new>

#include "platform/error.h"
#include "ui/message_box.h"
#include "platform/text.h"
#include "ui/window.h"

namespace velkor {

Application& Application::Get() {
  static Application app;
  return app;
}

void Application::SetTitle(std::wstring title) { title_ = std::move(title); }

void Application::SetKeyHandler(HWND top_level, KeyHandler handler) {
  if (handler)
    key_handlers_[top_level] = std::move(handler);
  else
    key_handlers_.erase(top_level);
}

void Application::SetWindowAccelerators(HWND top_level, HACCEL accel) {
  if (!accel) {
    SetKeyHandler(top_level, nullptr);
    return;
  }
  SetKeyHandler(top_level, [top_level, accel](MSG& msg) { return TranslateAcceleratorW(top_level, accel, &msg) != 0; });
}

void Application::SetControlHint(HWND control, std::wstring hint) {
  HWND top = GetAncestor(control, GA_ROOT);
  HWND tip = TooltipFor(top);
  TTTOOLINFOW ti{};
  ti.cbSize = sizeof ti;
  ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  ti.hwnd = GetParent(control) ? GetParent(control) : control;
  ti.uId = reinterpret_cast<UINT_PTR>(control);
  std::wstring tip_text = ShortHint(hint);
  ti.lpszText = tip_text.data();
  const bool known = control_hints_.count(control) != 0;
  if (tip) {
    if (!known && !tip_text.empty())
      SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    else if (known && tip_text.empty())
      SendMessageW(tip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    else if (known)
      SendMessageW(tip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
  }
  control_hints_[control] = std::move(hint);
  if (control == hint_control_) SetHint(LongHint(control_hints_[control]));
}

void Application::SetHintProvider(HWND window, HintProvider provider) {
  if (provider)
    hint_providers_[window] = std::move(provider);
  else
    hint_providers_.erase(window);
}

std::wstring Application::ControlHint(HWND control) const {
  auto it = control_hints_.find(control);
  return it == control_hints_.end() ? std::wstring() : it->second;
}

void Application::SetHint(std::wstring long_hint) {
  if (long_hint == hint_) return;
  hint_ = std::move(long_hint);
  if (hint_handler_) hint_handler_();
}

void Application::SetHintHandler(HintHandler handler, const void* owner) {
  hint_handler_ = std::move(handler);
  hint_owner_ = owner;
}

void Application::SetDefaultHintHandler(HintHandler handler, const void* owner) {
  default_hint_handler_ = std::move(handler);
  default_hint_owner_ = owner;
}

void Application::ReleaseHintHandler(const void* owner) {
  if (!owner) return;
  if (default_hint_owner_ == owner) {
    default_hint_handler_ = nullptr;
    default_hint_owner_ = nullptr;
  }
  if (hint_owner_ == owner) SetHintHandler(default_hint_handler_, default_hint_owner_);
}

std::wstring Application::ShortHint(const std::wstring& hint) {
  const auto bar = hint.find(L'|');
  return bar == std::wstring::npos ? hint : hint.substr(0, bar);
}

std::wstring Application::LongHint(const std::wstring& hint) {
  const auto bar = hint.find(L'|');
  return bar == std::wstring::npos ? hint : hint.substr(bar + 1);
}

void Application::SetHintLook(HintLook look) {
  hint_look_ = look;
  for (auto& [top, tip] : tooltips_) {
    SendMessageW(tip, TTM_SETTIPBKCOLOR, look.color, 0);
    SendMessageW(tip, TTM_SETDELAYTIME, TTDT_INITIAL, look.pause_ms);
    SendMessageW(tip, TTM_SETDELAYTIME, TTDT_AUTOPOP, look.hide_pause_ms);
  }
}

HWND Application::TooltipFor(HWND top_level) {
  if (!top_level) return nullptr;
  auto it = tooltips_.find(top_level);
  if (it != tooltips_.end()) return it->second;
  HWND tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, top_level, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
  if (!tip) return nullptr;
  // A themed tip ignores the background colour; the hint colour is part of the look.
  using SetWindowThemeFn = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
  if (HMODULE ux = LoadLibraryW(L"uxtheme.dll")) {
    if (auto fn = reinterpret_cast<SetWindowThemeFn>(reinterpret_cast<void*>(GetProcAddress(ux, "SetWindowTheme"))))
      fn(tip, L"", L"");
  }
  SendMessageW(tip, TTM_SETTIPBKCOLOR, hint_look_.color, 0);
  SendMessageW(tip, TTM_SETDELAYTIME, TTDT_INITIAL, hint_look_.pause_ms);
  SendMessageW(tip, TTM_SETDELAYTIME, TTDT_AUTOPOP, hint_look_.hide_pause_ms);
  SendMessageW(tip, TTM_SETMAXTIPWIDTH, 0, 600);
  tooltips_[top_level] = tip;
  return tip;
}

void Application::BeginBusy() {
  if (busy_++ == 0 && !busy_shown_) {
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    busy_shown_ = true;
  }
}

void Application::EndBusy() {
  if (busy_ > 0 && --busy_ == 0 && busy_batch_ == 0) RestoreCursor();
}

void Application::EndBusyBatch() {
  if (busy_batch_ > 0 && --busy_batch_ == 0 && busy_ == 0) RestoreCursor();
}

void Application::RestoreCursor() {
  if (!busy_shown_) return;
  busy_shown_ = false;
  POINT p;
  GetCursorPos(&p);
  // Let the window under the pointer choose its cursor again.
  SetCursor(LoadCursorW(nullptr, IDC_ARROW));
  SetCursorPos(p.x, p.y);
}

void Application::AddModeless(HWND dialog) {
  if (std::find(modeless_.begin(), modeless_.end(), dialog) == modeless_.end()) modeless_.push_back(dialog);
}

void Application::RemoveModeless(HWND dialog) {
  modeless_.erase(std::remove(modeless_.begin(), modeless_.end(), dialog), modeless_.end());
}

void Application::ForgetWindow(HWND hwnd) {
  control_hints_.erase(hwnd);
  hint_providers_.erase(hwnd);
  key_handlers_.erase(hwnd);
  RemoveModeless(hwnd);
  if (hint_control_ == hwnd) hint_control_ = nullptr;
  auto it = tooltips_.find(hwnd);
  if (it != tooltips_.end()) tooltips_.erase(it);
  if (hwnd == main_window_) main_window_ = nullptr;
}

void Application::TrackMouse(const MSG& msg) {
  HWND control = msg.hwnd;
  auto provider = hint_providers_.find(control);
  if (provider != hint_providers_.end() && msg.message == WM_MOUSEMOVE) {
    const std::wstring part = provider->second(POINT{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)});
    if (!part.empty()) {
      hint_control_ = nullptr;  // the next move looks again: another part may be under it
      SetHint(LongHint(part));
      return;
    }
    hint_control_ = nullptr;
  }
  // The hint of the control under the mouse, or of its nearest parent that has one.
  if (control == hint_control_) return;
  hint_control_ = control;
  std::wstring hint;
  for (HWND w = control; w; w = GetParent(w)) {
    auto it = control_hints_.find(w);
    if (it != control_hints_.end() && !it->second.empty()) {
      hint = it->second;
      break;
    }
    if (!(WindowStyle(w) & WS_CHILD)) break;
  }
  SetHint(LongHint(hint));
}

bool Application::PreTranslate(MSG& msg) {
  if (msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE) TrackMouse(msg);
  if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) {
    // A dialog's keys may close it, or another: the list may change meanwhile.
    const std::vector<HWND> dialogs = modeless_;
    for (HWND dlg : dialogs)
      if (IsWindow(dlg) && IsDialogMessageW(dlg, &msg)) return true;
    auto it = key_handlers_.find(GetAncestor(msg.hwnd, GA_ROOT));
    if (it != key_handlers_.end()) {
      KeyHandler handler = it->second;  // the handler may replace itself
      if (handler(msg)) return true;
    }
  }
  return false;
}

int Application::Run() {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (PreTranslate(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

void Application::ProcessMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    if (PreTranslate(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void Application::ReportCurrentException() {
  try {
    throw;
  } catch (const Error& e) {
    ReportError(e.message());
  } catch (const std::bad_alloc&) {
    ReportError(L"メモリが不足しています。");
  } catch (const std::exception& e) {
    ReportError(Utf8ToWide(e.what()));
  } catch (...) {
    ReportError(L"予期しないエラーが発生しました。");
  }
}

void Application::ReportError(const std::wstring& text) {
  // An error raised while its report is open must not stack up boxes.
  if (reporting_) return;
  reporting_ = true;
  ShowMessage(text, MessageKind::Error);
  reporting_ = false;
}

void Application::ShowHelpTopic(HWND owner, int context, const std::wstring& file) const {
  WinHelpW(owner, (file.empty() ? help_file_ : file).c_str(), HELP_CONTEXT, static_cast<ULONG_PTR>(context));
}

}  // namespace velkor
