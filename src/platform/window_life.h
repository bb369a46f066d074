#pragma once
// Taken by code of a window's object before it lets messages through (a
// message box, a modal dialog, a pump): while it lives the object is not
// freed, and afterwards lives() says whether the object's window is still
// there. When it is not, the code returns at once and touches nothing of the
// object; the object is freed once every handler has returned. One way for
// forms, dialogs and controls alike:
//
//   WindowLife life(*this);
//   ShowMessage(hwnd(), text);
//   if (!life.lives()) return;
#include "platform/handler_depth.h"
#include "platform/win32.h"

namespace velkor {

class Window;
class Dialog;
class Control;

class WindowLife {
 public:
  explicit WindowLife(const Window& window);
  explicit WindowLife(const Dialog& dialog);
  explicit WindowLife(const Control& control);
  WindowLife(const WindowLife&) = delete;
  WindowLife& operator=(const WindowLife&) = delete;

  // The window the object had when this was taken is still its window.
  bool lives() const { return window_ && *watched_ == window_; }

 private:
  WindowLife(int& depth, const HWND& watched) : scope_(depth), watched_(&watched), window_(watched) {}
  HandlerScope scope_;
  const HWND* watched_;
  HWND window_;
};

}  // namespace velkor
