#include "launcher/file_ops.h"

#include <shellapi.h>

#include "launcher/browser_texts.h"
#include "platform/file_utils.h"
#include "platform/path_names.h"
#include "platform/paths.h"

namespace velkor {

bool DeleteListedFile(const std::wstring& path, const AskYesNo& ask) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  const bool read_only = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
  if (!ask(DeleteQuestion(FileNameOf(path), read_only))) return false;
  if (read_only) SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  if (DeleteFileW(path.c_str())) return true;
  // A file that stays keeps its protection.
  if (read_only) SetFileAttributesW(path.c_str(), attributes);
  return false;
}

bool RecycleFile(HWND owner, const std::wstring& path) {
  std::wstring names = path;
  names.append(2, L'\0');  // a list of one name
  SHFILEOPSTRUCTW op{};
  op.hwnd = owner;
  op.wFunc = FO_DELETE;
  op.pFrom = names.c_str();
  op.pTo = nullptr;
  op.fFlags = FOF_ALLOWUNDO | FOF_SIMPLEPROGRESS;
  op.fAnyOperationsAborted = TRUE;
  op.hNameMappings = nullptr;
  op.lpszProgressTitle = L"削除中";
  return SHFileOperationW(&op) == 0 && !PathExists(path);
}

std::wstring NodeDirectory(const std::wstring& node_path) {
  if (node_path.size() == 2 && node_path[1] == L':') return node_path + L'\\';
  return node_path;
}

DropResult DropFileOnNode(const std::wstring& source, const std::wstring& node_path, bool copy,
                          const AskYesNo& ask) {
  DropResult result;
  if (node_path.empty()) return result;
  const std::wstring directory = NodeDirectory(node_path);
  const std::wstring destination = WithBackslash(directory) + FileNameOf(source);
  // Dropped on its own directory: there is nothing to move or copy, nothing
  // to ask, and the attempt would only put the file at risk.
  if (SamePath(AbsolutePath(source), AbsolutePath(destination))) return result;
  if (HasAttributes(destination, kDirectoryAttribute)) {
    result.notice = FolderInTheWayText(destination, copy);
    result.refused = true;
    return result;
  }
  const std::wstring question = copy ? L"コピーしますか " : L"移動しますか ";
  if (!ask(ConfirmOperationText(source, copy ? directory : destination, question))) return result;
  const DWORD existing = GetFileAttributesW(destination.c_str());
  const bool replacing = existing != INVALID_FILE_ATTRIBUTES && !(existing & FILE_ATTRIBUTE_DIRECTORY);
  if (replacing && !ask(OverwriteQuestion(destination))) return result;

  if (copy) {
    // The destination is the file's own path: never expanded into a folder.
    CopyFileToFile(source, destination);
    return result;
  }
  if (MoveFileTo(source, destination, replacing) == MoveOutcome::kCopied)
    result.notice = MoveStayedText(source, destination);
  result.source_left = !PathExists(source);
  return result;
}

}  // namespace velkor
