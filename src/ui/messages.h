#pragma once
// The program's own window messages, all in one place so that no two of them
// share a number.
#include "platform/win32.h"

namespace velkor {

// Posted to the main window when an editor window goes: once the child is
// gone, the main window puts its own menu back if no editor is left and
// updates its window commands.
inline constexpr UINT kEditorsChanged = WM_APP + 1;
// Posted by the main window to itself when it is first shown, so that its
// show step runs after the showing has finished.
inline constexpr UINT kFrameShown = WM_APP + 2;
// Posted to an editor window when it or the program becomes active: it then
// looks whether its file changed on disk, outside the activation itself.
inline constexpr UINT kCheckDisk = WM_APP + 3;
// Posted by the main window to itself once it is shown: it then offers the
// copies of unsaved text that a run which did not end cleanly left.
inline constexpr UINT kOfferCopies = WM_APP + 4;
// Posted by the writer of those copies when their folder cannot be written.
inline constexpr UINT kCopiesNotWritten = WM_APP + 5;
// Posted by the setup dialog to itself after a key in its list, once the list
// has moved its selection: it then shows the selected line.
inline constexpr UINT kShowSelectedLine = WM_APP + 6;
// Posted by the setup dialog to itself after a click on the selected node of
// its tree (lParam: the node), which lists that folder once the click is over.
inline constexpr UINT kListClickedNode = WM_APP + 7;

}  // namespace velkor
