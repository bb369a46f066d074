#pragma once
// Helpers for the tests that drive real windows under Wine.
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/win32.h"
#include "ui/window.h"  // WindowText

namespace velkor::test {

// Answers the message boxes and dialogs that the code under test opens on
// this thread, and records what they said. Each dialog is handled once, when
// it is first activated: the next scripted answer runs (a button to press, or
// a function given the dialog, which may leave a modeless dialog open).
// A dialog without an answer fails the running test with its caption and
// text, and is cancelled so that the test does not hang on it.
// Answerers nest: the newest one answers until it goes, and every test runs
// inside one of last resort (see test_main.cpp).
class DialogAnswerer {
 public:
  struct Seen {
    std::wstring caption;
    std::wstring text;  // the message of a message box
    RECT rect{};        // where it stood when it was activated
    UINT icon = 0;      // MB_ICONxxx guessed from the box's icon, 0 for none
  };
  using Action = std::function<void(HWND dialog)>;

  DialogAnswerer();
  ~DialogAnswerer();
  DialogAnswerer(const DialogAnswerer&) = delete;
  DialogAnswerer& operator=(const DialogAnswerer&) = delete;

  void Press(int button_id);           // queue: press IDOK, IDYES, IDNO, IDCANCEL...
  void Then(Action action);            // queue: do something with the dialog
  const std::vector<Seen>& seen() const { return seen_; }
  int unexpected() const { return unexpected_; }
  size_t pending() const { return actions_.size(); }

  static void Click(HWND dialog, int button_id);
  // An action for the common Open and Save dialogs: type the name and press OK.
  static Action ChooseFile(std::wstring path);
  void Handle(HWND dialog);  // runs the next action on a dialog (internal)

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wp, LPARAM lp);
  void OnActivate(HWND dialog);

  DialogAnswerer* outer_ = nullptr;
  HHOOK hook_ = nullptr;
  HWND sink_ = nullptr;
  std::vector<Action> actions_;
  std::vector<HWND> handled_;
  std::vector<Seen> seen_;
  int unexpected_ = 0;
};

// A fresh directory under the temporary folder, removed with its contents.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::wstring& path() const { return path_; }
  std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

 private:
  std::wstring path_;
};

void RemoveTree(const std::wstring& path);
void WriteBytes(const std::wstring& path, const std::string& bytes);
std::string ReadBytes(const std::wstring& path);
bool FileExists(const std::wstring& path);

// Runs the program's message processing until pred() holds or the time is up.
bool PumpUntil(const std::function<bool()>& pred, int timeout_ms = 5000);
void PumpFor(int ms);
// Moves the mouse pointer and waits until the system reports it there.
void MoveCursor(int x, int y);

// Input as a user gives it, through the system's input queue (SendInput):
// it goes to the foreground window and the focus, through the message loop,
// the dialog manager and the menus. Each call lets the input be processed
// before it returns, unless it is sent from inside a modal loop (a menu, a
// message box), which then processes it itself.
void PressKey(WORD vk);
void PressKeys(std::initializer_list<WORD> keys);
// Only puts the keys in the input queue: for a modal loop to take them.
void SendKeys(std::initializer_list<WORD> keys);
// Moves the pointer through the input queue, so that the windows on its way
// hear of it, and waits until it stays there.
void MovePointer(POINT screen);
// Moves there, then presses and releases a button.
void ClickAt(POINT screen, bool right_button = false);
// Presses and releases a button where the pointer stands, without a move.
void ClickHere(bool right_button = false);
// Presses the left button at one point, moves with it held, lets go at another.
void DragFromTo(POINT from, POINT to);
// Turns the wheel by notches (negative: towards the user) where the pointer is.
void TurnWheel(int notches);
// The centre of a window, in screen coordinates.
POINT CentreOf(HWND window);

// Runs an action once ready() holds, from whatever message loop runs then
// (it is asked a few times a second): the way into a menu or a window that
// the next call opens modally.
void WhenModal(std::function<bool()> ready, std::function<void()> action);
// True while a menu of this thread is open (the menu bar or a pop-up).
bool MenuOpen();

// Stands in for the help viewer: records the topics that F1 and the help
// buttons ask for (the system hands each request to the window of the
// viewer's class).
class HelpRequests {
 public:
  HelpRequests();
  ~HelpRequests();
  HelpRequests(const HelpRequests&) = delete;
  HelpRequests& operator=(const HelpRequests&) = delete;
  const std::vector<int>& contexts() const { return contexts_; }

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  HWND window_ = nullptr;
  std::vector<int> contexts_;
};

// Hears every message sent to a window of this thread while it lives, before
// the window handles it: what a window is told (an item added to a list, a
// text set) is what the user sees come, and may prompt the test's next input.
class SentMessages {
 public:
  explicit SentMessages(std::function<void(const CWPSTRUCT& sent)> heard);
  ~SentMessages();
  SentMessages(const SentMessages&) = delete;
  SentMessages& operator=(const SentMessages&) = delete;

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wp, LPARAM lp);
  HHOOK hook_ = nullptr;
  std::function<void(const CWPSTRUCT&)> heard_;
  SentMessages* outer_ = nullptr;
};

// A list box that refuses every item beyond capacity, as a full one does
// (LB_ERRSPACE), while the object lives.
class FullListBox {
 public:
  FullListBox(HWND list, int capacity);
  ~FullListBox();
  FullListBox(const FullListBox&) = delete;
  FullListBox& operator=(const FullListBox&) = delete;

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR capacity);
  HWND list_;
};

std::wstring ModuleDir();  // folder of the running test program

// Under Wine: the Unix path of a Windows path, and a shell command of the
// host run to its end (for what Windows cannot make there: a symbolic link,
// a file the host refuses to delete). UnixPath is empty and RunHostShell
// false where they are not to be had.
std::wstring UnixPath(const std::wstring& path);
bool RunHostShell(const std::wstring& command);

}  // namespace velkor::test
