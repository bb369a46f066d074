#pragma once
// Program-wide state of the user interface thread: the title, the main
// window, the hint that belongs to the control under the mouse, the busy
// cursor, the modeless dialogs that need IsDialogMessage, and the general
// error report.
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/win32.h"

namespace velkor {

class Application {
 public:
  static Application& Get();

  const std::wstring& title() const { return title_; }
  void SetTitle(std::wstring title);

  HWND main_window() const { return main_window_; }
  void SetMainWindow(HWND hwnd) { main_window_ = hwnd; }
  // The keyboard shortcuts of a top-level window: the handler sees every key
  // message for the window and its children, and returns true when it
  // translated the message into a command.
  using KeyHandler = std::function<bool(MSG&)>;
  void SetKeyHandler(HWND top_level, KeyHandler handler);
  // The common case: one accelerator table whose commands go to the window.
  void SetWindowAccelerators(HWND top_level, HACCEL accel);

  // Hints: a control's hint is "short|long". The long part of the hint of the
  // control under the mouse becomes the application's hint; the hint handler
  // (one for the whole program, replaced by whichever window installs it)
  // shows it in a status line.
  void SetControlHint(HWND control, std::wstring hint);
  // A window whose parts have hints of their own (a panel's speed buttons)
  // names the hint ("short|long") at a point of its client area.
  using HintProvider = std::function<std::wstring(POINT client)>;
  void SetHintProvider(HWND window, HintProvider provider);
  std::wstring ControlHint(HWND control) const;
  const std::wstring& hint() const { return hint_; }
  void SetHint(std::wstring long_hint);
  using HintHandler = std::function<void()>;
  void SetHintHandler(HintHandler handler, const void* owner);
  const void* hint_handler_owner() const { return hint_owner_; }
  // The handler that takes over when the owner of the current one goes (the
  // main window's status line).
  void SetDefaultHintHandler(HintHandler handler, const void* owner);
  // The owner goes: its handler gives way to the default one.
  void ReleaseHintHandler(const void* owner);
  static std::wstring ShortHint(const std::wstring& hint);
  static std::wstring LongHint(const std::wstring& hint);
  // Tool tip look, applied to every tip window the controls create.
  struct HintLook {
    COLORREF color = RGB(255, 255, 225);
    int pause_ms = 500;
    int hide_pause_ms = 2500;
  };
  const HintLook& hint_look() const { return hint_look_; }
  void SetHintLook(HintLook look);
  HWND TooltipFor(HWND top_level);

  // The help file that F1 and the help commands open (the main window chooses it).
  const std::wstring& help_file() const { return help_file_; }
  void SetHelpFile(std::wstring path) { help_file_ = std::move(path); }
  // Opens the help file (file, else the application's) at a topic, for owner.
  void ShowHelpTopic(HWND owner, int context, const std::wstring& file = {}) const;

  // Busy cursor, counted so that nested long operations restore it once.
  bool busy() const { return busy_ > 0; }
  void BeginBusy();
  void EndBusy();
  // See BusyBatch.
  void BeginBusyBatch() { ++busy_batch_; }
  void EndBusyBatch();

  // Modeless dialogs whose keyboard messages go through IsDialogMessage.
  void AddModeless(HWND dialog);
  void RemoveModeless(HWND dialog);

  // Window-specific bookkeeping dropped when the window goes (called by the
  // Window base at WM_NCDESTROY).
  void ForgetWindow(HWND hwnd);

  // The message loop, and the processing of pending messages during long work.
  int Run();
  void ProcessMessages();
  // Gives one message its program-wide treatment; true when it was consumed.
  bool PreTranslate(MSG& msg);

  // The general error report: shows the text of the exception being handled.
  void ReportCurrentException();
  void ReportError(const std::wstring& text);

 private:
  Application() = default;
  void TrackMouse(const MSG& msg);

  std::wstring title_;
  HWND main_window_ = nullptr;
  std::unordered_map<HWND, KeyHandler> key_handlers_;
  std::unordered_map<HWND, std::wstring> control_hints_;
  std::unordered_map<HWND, HintProvider> hint_providers_;
  std::unordered_map<HWND, HWND> tooltips_;
  std::wstring hint_;
  HintHandler hint_handler_;
  const void* hint_owner_ = nullptr;
  HintHandler default_hint_handler_;
  const void* default_hint_owner_ = nullptr;
  std::wstring help_file_;
  HintLook hint_look_;
  HWND hint_control_ = nullptr;
  int busy_ = 0;
  int busy_batch_ = 0;
  bool busy_shown_ = false;
  void RestoreCursor();
  std::vector<HWND> modeless_;
  bool reporting_ = false;
};

// Shows the hourglass for the life of the scope, also when it ends by an exception.
class BusyCursor {
 public:
  BusyCursor() { Application::Get().BeginBusy(); }
  ~BusyCursor() { Application::Get().EndBusy(); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;
};

// Hourglasses asked for one after another while it lives (the items of one
// paint) show as one: the cursor changes at the first and comes back when the
// batch ends. Changing the cursor costs a good part of a millisecond each way
// under Wine, more than decoding the corner of a picture.
class BusyBatch {
 public:
  BusyBatch() { Application::Get().BeginBusyBatch(); }
  ~BusyBatch() { Application::Get().EndBusyBatch(); }
  BusyBatch(const BusyBatch&) = delete;
  BusyBatch& operator=(const BusyBatch&) = delete;
};

}  // namespace velkor
