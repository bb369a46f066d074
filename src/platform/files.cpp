#include "platform/files.h"

#include <aclapi.h>

#include <algorithm>
#include <utility>

#include "platform/path_names.h"
#include "platform/paths.h"
#include "platform/scoped.h"
#include "platform/text.h"

namespace velkor {
namespace {

bool NameTaken(DWORD error) { return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS; }

// The file a path names, through symbolic links (Wine shows a Unix link as a
// plain file, so every path is asked); the path itself when it names none.
std::wstring FinalPathOf(const std::wstring& path) {
  ScopedHandle file(CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!file) return path;
  std::wstring final(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetFinalPathNameByHandleW(file.get(), final.data(), static_cast<DWORD>(final.size()),
                                              FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (n == 0) return path;
    if (n < final.size()) {
      final.resize(n);
      break;
    }
    final.resize(n + 1);
  }
  if (final.rfind(L"\\\\?\\UNC\\", 0) == 0) return L"\\" + final.substr(7);
  if (final.rfind(L"\\\\?\\", 0) == 0) return final.substr(4);
  return final;
}

// The new file takes the old one's access control list, where the system
// keeps one; a failure leaves it with the folder's.
void CopyAccessControl(const std::wstring& from, const std::wstring& to) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  PACL dacl = nullptr;
  if (GetNamedSecurityInfoW(from.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl,
                            nullptr, &descriptor) != ERROR_SUCCESS)
    return;
  SECURITY_DESCRIPTOR_CONTROL control = 0;
  DWORD revision = 0;
  GetSecurityDescriptorControl(descriptor, &control, &revision);
  const SECURITY_INFORMATION inheritance =
      (control & SE_DACL_PROTECTED) ? PROTECTED_DACL_SECURITY_INFORMATION : UNPROTECTED_DACL_SECURITY_INFORMATION;
  if (dacl)
    SetNamedSecurityInfoW(const_cast<wchar_t*>(to.c_str()), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION | inheritance,
                          nullptr, nullptr, dacl, nullptr);
  LocalFree(descriptor);
}

// The backup as a second name of the old file; where the system has none
// (another volume, a file system without them) as a copy.
bool MakeBackup(const std::wstring& file, const std::wstring& backup) {
  if (CreateHardLinkW(backup.c_str(), file.c_str(), nullptr)) return true;
  if (CopyFileW(file.c_str(), backup.c_str(), TRUE)) return true;
  DeleteFileW(backup.c_str());
  return false;
}

bool WriteAll(HANDLE file, std::string_view bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD n = 0;
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
    if (!WriteFile(file, bytes.data() + done, want, &n, nullptr) || n == 0) return false;
    done += n;
  }
  return true;
}

// Moves an existing backup file to a temporary name; false when there is
// none or it cannot move.
bool StepAside(const std::wstring& backup, std::wstring& stash) {
  const DWORD attributes = GetFileAttributesW(backup.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
  for (int n = 0; n < kTemporaryNames; ++n) {
    stash = TemporaryNameOf(backup, n);
    if (MoveFileW(backup.c_str(), stash.c_str())) return true;
    if (!NameTaken(GetLastError())) return false;
  }
  return false;
}

}  // namespace

ScopedHandle CreateTemporaryFile(const std::wstring& path, DWORD attributes, std::wstring& name) {
  ScopedHandle file;
  DWORD error = ERROR_FILE_EXISTS;
  for (int n = 0; n < kTemporaryNames && !file; ++n) {
    name = TemporaryNameOf(path, n);
    file.reset(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, attributes, nullptr));
    if (!file && !NameTaken(error = GetLastError())) break;
  }
  if (!file) SetLastError(error);
  return file;
}

std::vector<std::wstring> LeftoverTemporaryFiles(const std::wstring& document) {
  // A save writes beside the file a link leads to.
  const std::wstring path = FinalPathOf(document);
  std::vector<std::wstring> found;
  WIN32_FIND_DATAW entry;
  const std::wstring folder = FolderOf(path);
  ScopedFind search(FindFirstFileW(ReplaceExtension(path, L".~*").c_str(), &entry));
  if (!search) return found;
  do {
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && IsTemporaryNameOf(path, entry.cFileName))
      found.push_back(WithBackslash(folder) + entry.cFileName);
  } while (FindNextFileW(search.get(), &entry));
  std::sort(found.begin(), found.end());
  return found;
}

FileBytes ReadWholeFile(const std::wstring& path, std::size_t max_bytes) {
  FileBytes result;
  auto fail = [&](FileBytes::Outcome outcome, DWORD error) {
    result.outcome = outcome;
    result.error = error;
    result.bytes.clear();
    return std::move(result);
  };
  ScopedHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) return fail(FileBytes::Outcome::kCannotOpen, GetLastError());
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size)) return fail(FileBytes::Outcome::kCannotRead, GetLastError());
  result.size = static_cast<std::uint64_t>(size.QuadPart);
  if (result.size > max_bytes) return fail(FileBytes::Outcome::kTooLarge, 0);
  // A byte more than the size, so that a short read tells the end at once
  // and a file that grew meanwhile is still read to its end.
  std::string& bytes = result.bytes;
  bytes.resize(static_cast<std::size_t>(size.QuadPart) + 1);
  std::size_t got = 0;
  for (;;) {
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - got, 1u << 30));
    DWORD n = 0;
    if (!ReadFile(file.get(), bytes.data() + got, want, &n, nullptr))
      return fail(FileBytes::Outcome::kCannotRead, GetLastError());
    got += n;
    if (n < want) break;
    if (got == bytes.size()) {
      if (bytes.size() > max_bytes) return fail(FileBytes::Outcome::kTooLarge, 0);
      bytes.resize(std::min(bytes.size() * 2, max_bytes + 1));
    }
  }
  bytes.resize(got);
  return result;
}

FileReplaced ReplaceFileContents(const std::wstring& path, std::string_view bytes, const ReplaceOptions& options) {
  FileReplaced result;
  auto fail = [&](FileReplaced::Outcome outcome, DWORD error) {
    result.outcome = outcome;
    result.error = error;
    return result;
  };
  const std::wstring target = FinalPathOf(path);
  const DWORD old_attributes = GetFileAttributesW(target.c_str());
  const bool exists = old_attributes != INVALID_FILE_ATTRIBUTES;
  if (exists && (old_attributes & FILE_ATTRIBUTE_READONLY)) return fail(FileReplaced::Outcome::kReadOnly, 0);
  if (exists && (old_attributes & FILE_ATTRIBUTE_DIRECTORY)) return fail(FileReplaced::Outcome::kNotAFile, 0);
  DWORD attributes = 0;
  if (exists && options.keep_attributes)
    attributes = old_attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                   FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
  if (attributes == 0) attributes = FILE_ATTRIBUTE_NORMAL;

  std::wstring fresh;
  {
    ScopedHandle file = CreateTemporaryFile(target, attributes, fresh);
    if (!file) return fail(FileReplaced::Outcome::kCannotCreate, GetLastError());
    // The flush puts the new contents on the disk before the name moves to
    // them; without it a power cut could leave the name on an empty file.
    if (!WriteAll(file.get(), bytes) || !FlushFileBuffers(file.get())) {
      const DWORD error = GetLastError();
      file.reset();
      DeleteFileW(fresh.c_str());
      return fail(FileReplaced::Outcome::kCannotWrite, error);
    }
  }
  if (exists && options.keep_attributes) CopyAccessControl(target, fresh);

  // A backup gives way only to a newer one: a first save under a name whose
  // backup belongs to another document (a.txt and a.doc share a.BAK) keeps
  // it. A document that is its own backup (a .BAK file) is simply replaced.
  const bool own_backup = options.backup.empty() || SamePath(FinalPathOf(options.backup), target);
  std::wstring stash;
  const bool stashed = exists && !own_backup && StepAside(options.backup, stash);
  const bool backed_up = exists && !own_backup && MakeBackup(target, options.backup);
  if (GetEnvironmentVariableW(kEndBeforeReplaceVariable, nullptr, 0) > 0) TerminateProcess(GetCurrentProcess(), 3);
  if (!MoveFileExW(fresh.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    const DWORD error = GetLastError();
    if (backed_up) DeleteFileW(options.backup.c_str());
    if (stashed) MoveFileW(stash.c_str(), options.backup.c_str());
    DeleteFileW(fresh.c_str());
    return fail(FileReplaced::Outcome::kCannotReplace, error);
  }
  if (stashed) DeleteFileW(stash.c_str());
  return result;
}

}  // namespace velkor
