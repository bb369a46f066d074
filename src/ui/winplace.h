#pragma once
// Window placement kept in the settings file, in a section named after the
// window's class: normal rectangle, show state and the minimized and
// maximized positions.
#include <string>

#include "platform/win32.h"

namespace velkor {

// Restores the stored placement over the window's current one; a window
// without a section is centred on the screen at its current size. Returns
// the stored show command. With apply_show false the show state is recorded
// but not applied (the main window shows itself later by its start-up rules).
int RestorePlacement(HWND window, const std::wstring& section, bool apply_show = true);
int RestorePlacement(HWND window);

void SavePlacement(HWND window, const std::wstring& section);
void SavePlacement(HWND window);

}  // namespace velkor
