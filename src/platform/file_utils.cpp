#include "platform/file_utils.h"

#include <vector>

#include "platform/file_dates.h"
#include "platform/files.h"
#include "platform/path_names.h"
#include "platform/paths.h"
#include "platform/scoped.h"
#include "platform/win32.h"

namespace velkor {
namespace {

constexpr DWORD kCopyBufferSize = 8192;

// Copies the open source into the open destination to the source's end: a
// read may come back short before it (a network drive), so only an empty
// read ends the loop, and the bytes copied must then be the source's size.
// A file of exactly one buffer takes one full read, one empty read and one
// write. False when a read or a write fails or the sizes differ.
bool CopyContents(HANDLE source, HANDLE destination) {
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(source, &size)) return false;
  std::vector<char> buffer(kCopyBufferSize);
  long long copied = 0;
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(source, buffer.data(), kCopyBufferSize, &got, nullptr)) return false;
    if (got == 0) break;
    DWORD written = 0;
    if (!WriteFile(destination, buffer.data(), got, &written, nullptr) || written != got) return false;
    copied += got;
  }
  return copied == size.QuadPart;
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE) ==
         CSTR_EQUAL;
}

}  // namespace

void CopyFileTo(const std::wstring& source, const std::wstring& destination) {
  std::wstring target = AbsolutePath(destination);
  if (HasAttributes(target, kDirectoryAttribute)) target = WithBackslash(target) + FileNameOf(source);
  CopyFileToFile(source, target);
}

void CopyFileToFile(const std::wstring& source, const std::wstring& destination) {
  const std::wstring target = AbsolutePath(destination);
  // The source denies writers while it is open, so a copy onto itself is
  // caught below like a destination in use.
  ScopedHandle in(CreateFileW(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!in) throw Error(L"ﾌｧｲﾙ " + source + L" は開けません。");
  const DWORD old_attributes = GetFileAttributesW(target.c_str());
  const bool replacing = old_attributes != INVALID_FILE_ATTRIBUTES;
  if (replacing) {
    // Ask before writing anything whether the old file may be overwritten at
    // all: not a folder, not read-only, not in use, not the source itself.
    ScopedHandle probe(CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!probe || (old_attributes & FILE_ATTRIBUTE_DIRECTORY)) throw Error(L"ﾌｧｲﾙ " + target + L" を作成できません。");
  }
  DWORD attributes = replacing ? old_attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM) : 0;
  if (attributes == 0) attributes = FILE_ATTRIBUTE_NORMAL;

  // The copy is written beside the destination and takes its name only when
  // whole, so an old file of that name stays intact until then and a failed
  // copy leaves nothing half-written behind.
  std::wstring fresh;
  ScopedHandle out = CreateTemporaryFile(target, attributes, fresh);
  if (!out) throw Error(L"ﾌｧｲﾙ " + target + L" を作成できません。");
  // Flushed before it replaces an old file, so a power cut cannot leave the
  // name on a copy that never reached the disk.
  const bool written = CopyContents(in.get(), out.get()) && (!replacing || FlushFileBuffers(out.get()));
  out.reset();
  if (!written ||
      !MoveFileExW(fresh.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileW(fresh.c_str());
    throw Error(L"ﾌｧｲﾙ " + source + L" を " + target + L" にコピーできません。");
  }
}

MoveOutcome MoveFileTo(const std::wstring& source, const std::wstring& destination, bool replace_existing) {
  const std::wstring target = AbsolutePath(destination);
  // As the plain rename call: to another drive the system copies and removes the source itself.
  DWORD flags = MOVEFILE_COPY_ALLOWED;
  if (replace_existing) flags |= MOVEFILE_REPLACE_EXISTING;
  if (MoveFileExW(source.c_str(), target.c_str(), flags)) {
    // To another drive the system copies and then removes the original; a
    // removal that fails (the file is in use) still counts as success there.
    const bool stayed = !SamePath(AbsolutePath(source), target) &&
                        GetFileAttributesW(source.c_str()) != INVALID_FILE_ATTRIBUTES;
    return stayed ? MoveOutcome::kCopied : MoveOutcome::kRenamed;
  }
  if (HasAttributes(source, kReadOnlyAttribute)) throw CannotMoveError(source);
  CopyFileToFile(source, target);
  return MoveOutcome::kCopied;
}

int64_t SizeOfFile(const std::wstring& path) {
  WIN32_FIND_DATAW found;
  ScopedFind search(FindFirstFileW(AbsolutePath(path).c_str(), &found));
  if (!search) return 0;
  return static_cast<int64_t>((static_cast<uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow);
}

double DateOfFile(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(AbsolutePath(path).c_str(), GetFileExInfoStandard, &data)) return 0;
  FILETIME local;
  WORD date = 0;
  WORD time = 0;
  if (!FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) || !FileTimeToDosDateTime(&local, &date, &time))
    return 0;
  return DosDateTimeToDateTime(date, time).value_or(0);
}

bool HasAttributes(const std::wstring& path, uint16_t mask) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  return (attributes & mask) == mask;
}

int ShellStart(const std::wstring& file, const std::wstring& parameters, const std::wstring& directory,
               int show, HWND owner) {
  if (file.size() > kShellStartMaxChars || parameters.size() > kShellStartMaxChars ||
      directory.size() > kShellStartMaxChars)
    return kShellStartTooLong;
  const HINSTANCE result =
      ShellExecuteW(owner, nullptr, file.c_str(),
                    parameters.empty() ? nullptr : parameters.c_str(),
                    directory.empty() ? nullptr : directory.c_str(), show);
  return static_cast<int>(reinterpret_cast<INT_PTR>(result));
}

HICON LoadIconFile(const std::wstring& path) {
  return static_cast<HICON>(LoadImageW(nullptr, path.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE | LR_DEFAULTSIZE));
}

HBITMAP LoadBitmapFile(const std::wstring& path) {
  return static_cast<HBITMAP>(LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
}

HICON FirstIconOf(const std::wstring& path) {
  const HICON first = ExtractIconW(GetModuleHandleW(nullptr), path.c_str(), 0);
  return reinterpret_cast<UINT_PTR>(first) > 1 ? first : nullptr;
}

}  // namespace velkor
