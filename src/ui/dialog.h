#pragma once
// One base class for the dialogs built from the .rc templates. The object
// comes in as the creation parameter, is kept in DWLP_USER from
// WM_INITDIALOG on, and gets the messages through virtual handlers.
// Each dialog fills its controls in LoadControls and reads them back in
// SaveControls. Exceptions end the message at hand and reach the general
// error report; one thrown while the dialog initialises fails its creation
// and reaches the caller instead, as with Window.
//
// Modal: DoModal returns what EndDialog was given. Modeless: Create makes the
// dialog; a top-level one joins the message loop's IsDialogMessage list
// until its window goes, a child one (a DS_CONTROL page) needs nothing.
//
// As forms do, a dialog may run pumped work (Work), hears when the main
// window closes, and may be a single instance (SingleInstance in form.h).
#include <string>

#include "platform/win32.h"
#include "ui/form_parts.h"

namespace velkor {

class Dialog : public FormParts {
 public:
  explicit Dialog(const wchar_t* template_name) : template_(template_name) {}
  virtual ~Dialog();
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  HWND hwnd() const { return hwnd_; }
  static Dialog* FromHandle(HWND hwnd);

  INT_PTR DoModal(HWND owner);
  void Create(HWND owner_or_parent);
  // Ends a modal dialog with the result, or destroys a modeless one.
  void Close(INT_PTR result);

  // A class for templates that name one (CLASS in the template): the
  // dialog's own procedure behind the system's dialog procedure.
  static void RegisterDialogClass(const wchar_t* class_name, HICON icon = nullptr);

  HWND Item(int id) const { return GetDlgItem(hwnd_, id); }
  std::wstring ItemText(int id) const;
  void SetItemText(int id, const std::wstring& text) const;
  bool Checked(int id) const;
  void SetChecked(int id, bool checked) const;
  // Opens the help file at the dialog's topic, as F1 does.
  void OpenHelp() const;

 protected:
  // The default fills the controls and lets the system set the focus (true).
  virtual bool OnInitDialog();
  virtual void LoadControls() {}
  // Reads the controls back; false (after telling the user why) keeps the dialog open.
  virtual bool SaveControls() { return true; }
  virtual void OnOK();      // SaveControls, then closes with IDOK
  virtual void OnCancel();  // closes with IDCANCEL
  // WM_COMMAND that no control's object took (see Control::Reflect); the
  // default sends IDOK and IDCANCEL to OnOK and OnCancel.
  virtual void OnCommand(int id, int code, HWND control);
  // Every other message, as a dialog procedure: true when handled, with the
  // message's result set through SetResult where it has one.
  virtual INT_PTR HandleMessage(UINT msg, WPARAM wp, LPARAM lp) { return FALSE; }
  // The dialog's help topic, which F1 opens; 0 (the default) opens none.
  virtual int HelpTopic() const { return 0; }
  INT_PTR SetResult(LRESULT result);
  // After the last message of the window, once no handler runs any more (as
  // with Window); the handle is already detached. Objects that own
  // themselves delete themselves here.
  virtual void OnFinalMessage() {}

 private:
  friend class WindowLife;
  static INT_PTR CALLBACK StaticProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  INT_PTR Dispatch(UINT msg, WPARAM wp, LPARAM lp);

  const wchar_t* template_;
  HWND hwnd_ = nullptr;
  bool modal_ = false;
  mutable int handler_depth_ = 0;
};

}  // namespace velkor
