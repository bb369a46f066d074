#pragma once
// The friends window's operations on a listed file: delete, recycle, and a
// move or copy dropped on a directory of the tree. They need none of the
// window's controls: the window asks the questions they hand it and brings
// its list up to date from what they return.
#include <functional>
#include <string>

#include "platform/win32.h"

namespace velkor {

// Shows text as a question with Yes and No; true for Yes.
using AskYesNo = std::function<bool(const std::wstring& text)>;

// Deletes path after asking DeleteQuestion about its name. A read-only file
// loses that attribute first; when it then cannot be deleted, it gets the
// attributes it had back. True when the file was deleted; a refusal of the
// system is not reported.
bool DeleteListedFile(const std::wstring& path, const AskYesNo& ask);

// Moves path to the recycle bin through the shell, which asks its own
// confirmation over owner and shows "削除中" while it works. True only when
// the shell succeeded and no file is left at path.
bool RecycleFile(HWND owner, const std::wstring& path);

// The directory a node of the tree stands for: a drive's root node ("C:")
// means the drive's root, not the drive's current directory.
std::wstring NodeDirectory(const std::wstring& node_path);

struct DropResult {
  bool source_left = false;  // no file is at the source any more: the list drops it
  std::wstring notice;       // for the window to show, empty for none
  bool refused = false;      // the notice is a refusal (a warning), not information
};

// A file dropped on the tree node node_path: after ConfirmOperationText
// (and, when the directory already holds a file of its name, OverwriteQuestion
// about that file; No leaves both as they were) it is copied or moved there
// under its own name; an empty node_path (no node) does nothing. A folder of
// that name in the directory is refused with FolderInTheWayText before any
// question. A move that the system would only do as a copy, or that left the
// original where it was, says so in the notice. Raises CannotMoveError for a
// read-only file that cannot be renamed there, and Error when a copy fails.
DropResult DropFileOnNode(const std::wstring& source, const std::wstring& node_path, bool copy,
                          const AskYesNo& ask);

}  // namespace velkor
