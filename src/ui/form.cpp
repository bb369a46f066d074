#include "ui/form.h"

#include <utility>

#include "ui/winplace.h"
#include "ui/app.h"
#include "ui/find_dialog.h"

namespace velkor {

Form::Form(const wchar_t* class_name, ClassLook look) : class_name_(class_name) {
  HINSTANCE inst = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpszClassName = class_name;
  wc.hIcon = LoadIconW(inst, L"MAINICON");
  if (look.small_icon)
    wc.hIconSm = static_cast<HICON>(LoadImageW(inst, L"MAINICON", IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), 0));
  wc.hbrBackground = look.button_face_background ? GetSysColorBrush(COLOR_BTNFACE) : nullptr;
  RegisterWindowClass(wc);
}

Form::~Form() { WindowGone(); }

void Form::ShowForm() { ShowAndBringForward(hwnd()); }

int Form::KeepPlacement(bool apply_show) {
  keep_placement_ = true;
  return RestorePlacement(hwnd(), class_name_, apply_show);
}

void Form::InstallHintHandler(std::function<void()> handler) {
  if (Application::Get().hint_handler_owner() != this) Application::Get().SetHintHandler(std::move(handler), this);
}

void Form::WindowGone() {
  if (gone_) return;
  gone_ = true;
  Application::Get().ReleaseHintHandler(this);
  NoteWindowGone();
}

LRESULT Form::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == FindReplaceDialog::Message()) {
    OnFindMessage(lp);
    return 0;
  }
  switch (msg) {
    case WM_NCCREATE:
      NoteWindowMade();
      break;
    case WM_HELP: {
      const int context = HelpContextFor(*reinterpret_cast<const HELPINFO*>(lp));
      if (context <= 0) break;
      Application::Get().ShowHelpTopic(HelpOwner(), context);
      return TRUE;
    }
    case WM_DESTROY: {
      // Work that lets messages through stops once its window is gone.
      RequestStop();
      if (hwnd() == Application::Get().main_window()) TellMainWindowClosing(*this);
      // The reference and the hint handler go even when the form's own
      // destruction step fails.
      struct Gone {
        Form* form;
        ~Gone() { form->WindowGone(); }
      } gone{this};
      const LRESULT r = OnMessage(msg, wp, lp);
      if (keep_placement_) SavePlacement(hwnd(), class_name_);
      return r;
    }
    case WM_NCDESTROY:
      WindowGone();
      break;
  }
  return OnMessage(msg, wp, lp);
}

void Form::OnFinalMessage() {
  if (owns_itself_) delete this;
}

}  // namespace velkor
