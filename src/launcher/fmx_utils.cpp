#include "launcher/fmx_utils.h"

#include <vector>

#include "launcher/file_dates.h"
#include "platform/app.h"
#include "platform/path_names.h"
#include "platform/paths.h"
#include "platform/scoped.h"
#include "platform/win32.h"

namespace velkor {
namespace {

constexpr DWORD kCopyBufferSize = 8192;

// Copies the open source into the open destination; false when a read or a
// write fails. The loop goes on only while a read filled the whole buffer, so
// a file of exactly one buffer takes one full read, one empty read and one write.
bool CopyContents(HANDLE source, HANDLE destination) {
  std::vector<char> buffer(kCopyBufferSize);
  DWORD got = 0;
  do {
    if (!ReadFile(source, buffer.data(), kCopyBufferSize, &got, nullptr)) return false;
    if (got > 0) {
      DWORD written = 0;
      if (!WriteFile(destination, buffer.data(), got, &written, nullptr) || written != got) return false;
    }
  } while (got == kCopyBufferSize);
  return true;
}

}  // namespace

void CopyFileTo(const std::wstring& source, const std::wstring& destination) {
  std::wstring target = AbsolutePath(destination);
  if (HasAttributes(target, kDirectoryAttribute)) {
    if (target.back() != L'\\') target += L'\\';
    target += FileNameOf(source);
  }
  // The source is opened first and denies writers, so a copy onto itself
  // fails to create the destination instead of truncating the only data.
  ScopedHandle in(CreateFileW(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!in) throw Error(L"Cannot open file " + source);
  ScopedHandle out(
      CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!out) throw Error(L"Cannot create file " + target);
  if (!CopyContents(in.get(), out.get())) {
    out.reset();
    DeleteFileW(target.c_str());
    throw Error(L"Cannot copy file " + source + L" to " + target);
  }
}

void MoveFileTo(const std::wstring& source, const std::wstring& destination) {
  const std::wstring target = AbsolutePath(destination);
  if (MoveFileW(source.c_str(), target.c_str())) return;
  if (HasAttributes(source, kReadOnlyAttribute)) throw EFCantMove(source);
  CopyFileTo(source, target);
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
               int show) {
  if (file.size() > kShellStartMaxChars || parameters.size() > kShellStartMaxChars ||
      directory.size() > kShellStartMaxChars)
    return kShellStartTooLong;
  const HINSTANCE result =
      ShellExecuteW(Application::Get().main_window(), nullptr, file.c_str(),
                    parameters.empty() ? nullptr : parameters.c_str(),
                    directory.empty() ? nullptr : directory.c_str(), show);
  return static_cast<int>(reinterpret_cast<INT_PTR>(result));
}

}  // namespace velkor
