#pragma once
// Message boxes in the program's kinds, optionally placed at a screen point.
#include <optional>
#include <string>

#include "platform/win32.h"

namespace velkor {

enum class MessageKind {
  Plain,         // no icon, captioned with the application title
  Information,   // "情報"
  Warning,       // "警告"
  Error,         // captioned with the application title, stop icon
  Confirmation,  // "確認", question icon
};

// buttons: MB_OK, MB_YESNO, MB_YESNOCANCEL ... Returns the system's IDxxx.
// The owner is the active window of the program, or its main window.
int ShowMessage(const std::wstring& text, MessageKind kind = MessageKind::Plain, UINT buttons = MB_OK,
                std::optional<POINT> top_left = std::nullopt);

// The window that owns the program's message boxes at this moment.
HWND MessageOwner();

}  // namespace velkor
