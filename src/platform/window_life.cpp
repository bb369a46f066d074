#include "platform/window_life.h"

#include "platform/control.h"
#include "platform/dialog.h"
#include "platform/window.h"

namespace velkor {

WindowLife::WindowLife(const Window& window) : WindowLife(window.handler_depth_, window.hwnd_) {}
WindowLife::WindowLife(const Dialog& dialog) : WindowLife(dialog.handler_depth_, dialog.hwnd_) {}
WindowLife::WindowLife(const Control& control) : WindowLife(control.handler_depth_, control.hwnd_) {}

}  // namespace velkor
