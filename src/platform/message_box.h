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
// The box is owned by `owner`, the window whose handler asks (a child window
// stands for its top-level window): that window stays disabled while the box
// is up. Code that shows a box takes a WindowLife first: another window may
// still destroy the owner meanwhile (the main window's exit).
int ShowMessage(HWND owner, const std::wstring& text, MessageKind kind = MessageKind::Plain, UINT buttons = MB_OK,
                std::optional<POINT> top_left = std::nullopt);
// The same, owned by the active window of the program, or its main window
// (the general error report, which no one window asks for).
int ShowMessage(const std::wstring& text, MessageKind kind = MessageKind::Plain, UINT buttons = MB_OK,
                std::optional<POINT> top_left = std::nullopt);

// The window that owns the program's message boxes at this moment.
HWND MessageOwner();

}  // namespace velkor
