#include "ui/find_dialog.h"

#include <dlgs.h>

#include "ui/app.h"

namespace velkor {

FindReplaceDialog::FindReplaceDialog(Kind kind, WORD buffer_chars)
    : kind_(kind), find_what_(buffer_chars, L'\0'), replace_with_(kind == Kind::Replace ? buffer_chars : 0, L'\0') {
  data_.lStructSize = sizeof data_;
  data_.Flags = options_;
  data_.lpstrFindWhat = find_what_.data();
  data_.wFindWhatLen = buffer_chars;
  if (kind == Kind::Replace) {
    data_.lpstrReplaceWith = replace_with_.data();
    data_.wReplaceWithLen = buffer_chars;
  }
}

FindReplaceDialog::~FindReplaceDialog() {
  // The dialog works on this object's buffers: it cannot outlive them.
  if (dialog_) {
    Application::Get().RemoveModeless(dialog_);
    DestroyWindow(dialog_);
  }
}

UINT FindReplaceDialog::Message() {
  static const UINT message = RegisterWindowMessageW(FINDMSGSTRINGW);
  return message;
}

void FindReplaceDialog::Show(HWND owner, POINT at) {
  if (!dialog_) {
    data_.hwndOwner = owner;
    data_.Flags = options_;
    dialog_ = kind_ == Kind::Replace ? ReplaceTextW(&data_) : FindTextW(&data_);
    if (!dialog_) return;
    Application::Get().AddModeless(dialog_);
  }
  SetWindowPos(dialog_, HWND_TOP, at.x, at.y, 0, 0, SWP_NOSIZE);
  ShowWindow(dialog_, SW_SHOW);
  SetActiveWindow(dialog_);
}

void FindReplaceDialog::CaptureControls() {
  GetDlgItemTextW(dialog_, edt1, data_.lpstrFindWhat, data_.wFindWhatLen);
  DWORD flags = 0;
  // The Replace dialog has no direction: it always searches down.
  if (kind_ == Kind::Replace || IsDlgButtonChecked(dialog_, rad2) == BST_CHECKED) flags |= FR_DOWN;
  if (IsDlgButtonChecked(dialog_, chx2) == BST_CHECKED) flags |= FR_MATCHCASE;
  if (IsDlgButtonChecked(dialog_, chx1) == BST_CHECKED) flags |= FR_WHOLEWORD;
  options_ = flags;
}

void FindReplaceDialog::Close() {
  if (!dialog_) return;
  CaptureControls();
  HWND d = dialog_;
  dialog_ = nullptr;
  Application::Get().RemoveModeless(d);
  DestroyWindow(d);
}

void FindReplaceDialog::SetFindWhat(const std::wstring& text) {
  lstrcpynW(data_.lpstrFindWhat, text.c_str(), data_.wFindWhatLen);
  if (dialog_) SetDlgItemTextW(dialog_, edt1, data_.lpstrFindWhat);
}

FindReplaceDialog::Request FindReplaceDialog::TakeNotification(LPARAM lp) {
  if (reinterpret_cast<const FINDREPLACEW*>(lp) != &data_) return Request::None;
  options_ = data_.Flags & kOptionFlags;
  if (data_.Flags & FR_DIALOGTERM) {
    // The dialog destroys itself after this notification.
    if (dialog_) Application::Get().RemoveModeless(dialog_);
    dialog_ = nullptr;
    return Request::Closed;
  }
  if (data_.Flags & FR_REPLACEALL) return Request::ReplaceAll;
  if (data_.Flags & FR_REPLACE) return Request::Replace;
  if (data_.Flags & FR_FINDNEXT) return Request::FindNext;
  return Request::None;
}

}  // namespace velkor
