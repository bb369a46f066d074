#include "ui/dialog.h"

#include <exception>
#include <utility>

#include "ui/app.h"
#include "ui/control.h"
#include "ui/handler_depth.h"
#include "ui/window.h"

namespace velkor {
namespace {

// An exception thrown while a dialog initialises waits here until the
// creating call returns, which rethrows it (see Window).
std::exception_ptr g_init_error;

void RethrowInitError() {
  if (g_init_error) std::rethrow_exception(std::exchange(g_init_error, nullptr));
}

// The messages whose dialog-procedure result is the answer itself, not a
// "handled" flag.
bool AnswersDirectly(UINT msg) {
  return (msg >= WM_CTLCOLORMSGBOX && msg <= WM_CTLCOLORSTATIC) || msg == WM_COMPAREITEM ||
         msg == WM_VKEYTOITEM || msg == WM_CHARTOITEM || msg == WM_QUERYDRAGICON || msg == WM_INITDIALOG;
}

}  // namespace

Dialog::~Dialog() {
  CheckNotInHandler(handler_depth_, "dialog");
  ForgetWhenIdle(this);
  NoteWindowGone();
  if (hwnd_) Application::Get().RemoveModeless(hwnd_);
  DestroyWithoutObject(hwnd_, DWLP_USER);
}

Dialog* Dialog::FromHandle(HWND hwnd) {
  return hwnd ? reinterpret_cast<Dialog*>(GetWindowLongPtrW(hwnd, DWLP_USER)) : nullptr;
}

void Dialog::RegisterDialogClass(const wchar_t* class_name, HICON icon) {
  WNDCLASSEXW wc{sizeof wc};
  wc.hInstance = GetModuleHandleW(nullptr);
  if (GetClassInfoExW(wc.hInstance, class_name, &wc)) return;
  wc.lpfnWndProc = DefDlgProcW;
  wc.cbWndExtra = DLGWINDOWEXTRA;
  wc.hIcon = icon;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  wc.lpszClassName = class_name;
  RegisterClassExW(&wc);
}

INT_PTR Dialog::DoModal(HWND owner) {
  modal_ = true;
  g_init_error = nullptr;
  const INT_PTR result =
      DialogBoxParamW(GetModuleHandleW(nullptr), template_, owner, StaticProc, reinterpret_cast<LPARAM>(this));
  modal_ = false;
  RethrowInitError();
  return result;
}

void Dialog::Create(HWND owner_or_parent) {
  modal_ = false;
  g_init_error = nullptr;
  HWND h = CreateDialogParamW(GetModuleHandleW(nullptr), template_, owner_or_parent, StaticProc,
                              reinterpret_cast<LPARAM>(this));
  if (g_init_error) {
    if (h && IsWindow(h)) DestroyWindow(h);
    RethrowInitError();
  }
  if (h && !(WindowStyle(h) & WS_CHILD)) Application::Get().AddModeless(h);
}

void Dialog::Close(INT_PTR result) {
  if (!hwnd_) return;
  if (modal_)
    EndDialog(hwnd_, result);
  else
    DestroyWindow(hwnd_);
}

std::wstring Dialog::ItemText(int id) const { return WindowText(Item(id)); }

void Dialog::SetItemText(int id, const std::wstring& text) const { SetDlgItemTextW(hwnd_, id, text.c_str()); }

bool Dialog::Checked(int id) const { return IsDlgButtonChecked(hwnd_, id) == BST_CHECKED; }

void Dialog::SetChecked(int id, bool checked) const {
  CheckDlgButton(hwnd_, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool Dialog::OnInitDialog() {
  LoadControls();
  return true;
}

void Dialog::OnOK() {
  if (SaveControls()) Close(IDOK);
}

void Dialog::OnCancel() { Close(IDCANCEL); }

void Dialog::OnCommand(int id, int code, HWND control) {
  if (id == IDOK && code == BN_CLICKED) OnOK();
  if (id == IDCANCEL && code == BN_CLICKED) OnCancel();
}

INT_PTR Dialog::SetResult(LRESULT result) {
  SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, result);
  return TRUE;
}

INT_PTR Dialog::Dispatch(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT reflected = 0;
  switch (msg) {
    case WM_INITDIALOG:
      return OnInitDialog() ? TRUE : FALSE;
    case WM_SETCURSOR:
      if (Application::Get().busy() && LOWORD(lp) == HTCLIENT) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        return SetResult(TRUE);
      }
      break;
    case WM_COMMAND:
      if (!Control::Reflect(hwnd_, msg, wp, lp, reflected)) OnCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp));
      return TRUE;
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
      if (Control::Reflect(hwnd_, msg, wp, lp, reflected)) return SetResult(reflected);
      break;
  }
  // Work that lets messages through stops once its window is gone.
  if (msg == WM_DESTROY) RequestStop();
  const INT_PTR handled = HandleMessage(msg, wp, lp);
  if (msg == WM_DESTROY) NoteWindowGone();
  if (!handled && msg == WM_HELP && HelpTopic() > 0) {
    OpenHelp();
    return SetResult(TRUE);
  }
  return handled;
}

void Dialog::OpenHelp() const {
  if (HelpTopic() > 0) Application::Get().ShowHelpTopic(hwnd_, HelpTopic());
}

INT_PTR CALLBACK Dialog::StaticProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Dialog* self = FromHandle(hwnd);
  if (!self && msg == WM_INITDIALOG) {
    self = reinterpret_cast<Dialog*>(lp);
    if (self) {
      self->hwnd_ = hwnd;
      SetWindowLongPtrW(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
      self->NoteWindowMade();
    }
  }
  // Before WM_INITDIALOG (the font, the controls' creation) there is no object yet.
  if (!self) return FALSE;
  INT_PTR result = FALSE;
  HandlerScope in_handler(self->handler_depth_);
  try {
    result = self->Dispatch(msg, wp, lp);
  } catch (...) {
    if (msg == WM_INITDIALOG) {
      // A half-initialised dialog must not live on; its object stays the caller's.
      g_init_error = std::current_exception();
      SetWindowLongPtrW(hwnd, DWLP_USER, 0);
      self->hwnd_ = nullptr;
      self->NoteWindowGone();
      if (self->modal_) EndDialog(hwnd, -1);
      return FALSE;
    }
    Application::Get().ReportCurrentException();
    result = AnswersDirectly(msg) ? FALSE : TRUE;
  }
  if (msg == WM_NCDESTROY && LetGoAtLastMessage(hwnd, DWLP_USER, self->hwnd_)) {
    self->NoteWindowGone();
    WhenIdle(self, [self] { self->OnFinalMessage(); });
  }
  return result;
}

}  // namespace velkor
