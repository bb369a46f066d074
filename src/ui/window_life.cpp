#include "ui/window_life.h"

#include "ui/control.h"
#include "ui/dialog.h"
#include "ui/window.h"

namespace velkor {

WindowLife::WindowLife(const Window& window) : WindowLife(window.handler_depth_, window.hwnd_) {}
WindowLife::WindowLife(const Dialog& dialog) : WindowLife(dialog.handler_depth_, dialog.hwnd_) {}
WindowLife::WindowLife(const Control& control) : WindowLife(control.handler_depth_, control.hwnd_) {}

}  // namespace velkor
