#include "platform/files.h"

#include <algorithm>
#include <utility>

#include "platform/scoped.h"

namespace velkor {
namespace {

// A name beside path for a file of the moment; a serial number makes the
// next one when a name is taken.
std::wstring SiblingName(const std::wstring& path) {
  static unsigned serial = 0;
  return path + L".~" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++serial) + L".tmp";
}

bool NameTaken(DWORD error) { return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS; }

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

// Moves an existing backup to a name of its own; false when there is none
// or it cannot move.
bool StepAside(const std::wstring& backup, std::wstring& stash) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    stash = SiblingName(backup);
    if (MoveFileW(backup.c_str(), stash.c_str())) return true;
    if (!NameTaken(GetLastError())) return false;
  }
  return false;
}

}  // namespace

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
  if (static_cast<unsigned long long>(size.QuadPart) > max_bytes) return fail(FileBytes::Outcome::kTooLarge, 0);
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
  const DWORD old_attributes = GetFileAttributesW(path.c_str());
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
    ScopedHandle file;
    for (int attempt = 0; attempt < 100 && !file; ++attempt) {
      fresh = SiblingName(path);
      file.reset(CreateFileW(fresh.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, attributes, nullptr));
      if (!file && !NameTaken(GetLastError())) break;
    }
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

  // A backup gives way only to a newer one: a first save under a name whose
  // backup belongs to another document (a.txt and a.doc share a.BAK) keeps it.
  std::wstring stash;
  const bool stashed = exists && !options.backup.empty() && StepAside(options.backup, stash);
  const bool backed_up = !options.backup.empty() && exists && MoveFileW(path.c_str(), options.backup.c_str());
  if (!MoveFileExW(fresh.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    const DWORD error = GetLastError();
    if (backed_up) MoveFileW(options.backup.c_str(), path.c_str());
    if (stashed) MoveFileW(stash.c_str(), options.backup.c_str());
    DeleteFileW(fresh.c_str());
    return fail(FileReplaced::Outcome::kCannotReplace, error);
  }
  if (stashed) DeleteFileW(stash.c_str());
  return result;
}

}  // namespace velkor
