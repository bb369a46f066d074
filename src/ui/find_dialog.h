#pragma once
// One common Find or Replace dialog of a window: its FINDREPLACEW and text
// buffers, the options as the user last left them, and its place in the
// message loop's IsDialogMessage list while it is open.
//
// The owner passes the registered message (Message()) to TakeNotification;
// the dialog's structure is not a safe place for the options between
// notifications (Wine's dialog clears the caller's flags at each one), so
// they are recorded at every notification and read from the controls when
// the program closes the dialog.
#include <string>
#include <vector>

#include "platform/win32.h"

namespace velkor {

class FindReplaceDialog {
 public:
  enum class Kind { Find, Replace };
  enum class Request { None, FindNext, Replace, ReplaceAll, Closed };
  static constexpr DWORD kOptionFlags = FR_DOWN | FR_MATCHCASE | FR_WHOLEWORD;

  FindReplaceDialog(Kind kind, WORD buffer_chars);
  ~FindReplaceDialog();
  FindReplaceDialog(const FindReplaceDialog&) = delete;
  FindReplaceDialog& operator=(const FindReplaceDialog&) = delete;

  // The message every common Find and Replace dialog sends its owner.
  static UINT Message();

  HWND hwnd() const { return dialog_; }
  // Opens the dialog for the owner at a point of the screen, or brings the
  // open one there, and activates it.
  void Show(HWND owner, POINT at);
  // Takes what the user set in the dialog, then destroys it.
  void Close();

  // The text to find; an open dialog shows it at once.
  void SetFindWhat(const std::wstring& text);
  const wchar_t* find_what() const { return data_.lpstrFindWhat; }
  const wchar_t* replace_with() const { return data_.lpstrReplaceWith; }
  // FR_DOWN, FR_MATCHCASE and FR_WHOLEWORD as the user last left them.
  DWORD& options() { return options_; }
  DWORD options() const { return options_; }
  // The structure the dialog works on (its Flags carry the last request).
  FINDREPLACEW& data() { return data_; }

  // For the owner's Message(): the request that the notification carries,
  // with the options recorded; None when it is another dialog's.
  Request TakeNotification(LPARAM lp);

 private:
  void CaptureControls();

  const Kind kind_;
  std::vector<wchar_t> find_what_;
  std::vector<wchar_t> replace_with_;
  FINDREPLACEW data_{};
  DWORD options_ = FR_DOWN | FR_MATCHCASE;
  HWND dialog_ = nullptr;
};

}  // namespace velkor
