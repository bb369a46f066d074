#pragma once
// Free routines for files that several windows share: copy, move, size,
// date, attributes, and starting a file through the shell.
#include <cstdint>
#include <string>

#include "platform/error.h"
#include "platform/win32.h"

namespace velkor {

// Raised when a read-only file cannot be renamed to its destination.
class CannotMoveError : public Error {
 public:
  explicit CannotMoveError(const std::wstring& source) : Error(L"Cannot move file " + source) {}
};

// Attribute masks for HasAttributes: the system's file attribute bits.
constexpr uint16_t kReadOnlyAttribute = 0x01;
constexpr uint16_t kDirectoryAttribute = 0x10;
constexpr uint16_t kAnyEntryAttributes = 0x3F;

// Copies source to destination, a file path or an existing directory (the
// copy then takes the source's name inside it); see CopyFileToFile.
void CopyFileTo(const std::wstring& source, const std::wstring& destination);

// Copies source to the file path destination, which is never taken for a
// folder to copy into; an existing file is replaced, keeping its hidden and
// system attributes. The source is read to its end, however short the reads
// come, and the copy must have the source's size. It is made beside the
// destination and takes its name only when whole: raising Error when the
// source cannot be opened or read whole, or the destination cannot be
// created, written or replaced (a folder, read-only, in use, the source
// itself), it leaves an existing destination as it was and no partial copy
// behind.
void CopyFileToFile(const std::wstring& source, const std::wstring& destination);

enum class MoveOutcome {
  kRenamed,  // the file left its place
  kCopied,   // the rename was refused: a copy stands at the destination, the source stayed
};

// Renames source to the destination file path, over an existing file of that
// name only when replace_existing. When the system refuses (the destination
// exists, the file is in use...) a read-only source raises
// CannotMoveError; any other source is copied instead and stays where it was.
// A move to another drive whose original could not be removed afterwards
// counts as a copy too: the source is still there.
MoveOutcome MoveFileTo(const std::wstring& source, const std::wstring& destination, bool replace_existing = false);

// The size in bytes of the entry at path, 0 when there is none. The whole
// size: a file of 4 GiB or more is not cut to its low 32 bits.
int64_t SizeOfFile(const std::wstring& path);

// The last-write date and time of the entry at path, in local time and to the
// two seconds of the MS-DOS stamp, as a date-time value (launcher/file_dates.h).
// 0 (1899-12-30 00:00) when the entry is missing or its stamp has no MS-DOS
// form (before 1980 or after 2107).
double DateOfFile(const std::wstring& path);

// True when every bit of mask is set in the attributes of the entry at path.
// False when the attributes cannot be read (a missing file), even for an empty
// mask: callers ask whether something is there with those properties.
bool HasAttributes(const std::wstring& path, uint16_t mask);

// A picture file as it is: an icon file's icon, or a bitmap file as a DIB
// section; null when the file cannot be read as one. The caller frees it.
HICON LoadIconFile(const std::wstring& path);
HBITMAP LoadBitmapFile(const std::wstring& path);
// The first icon that a file holds, null when it holds none (the shell's
// answer 1 for a file that is no icon container is no handle).
HICON FirstIconOf(const std::wstring& path);

// What ShellStart gives, without calling the shell, when a string is longer
// than kShellStartMaxChars. Not one of the shell's own results, and not above
// 32, so that a test for the shell's success (a result above 32) fails.
constexpr int kShellStartTooLong = 1;
constexpr std::size_t kShellStartMaxChars = 255;

// Starts or opens file by the shell's default action; the shell's own boxes
// are owned by owner. Empty parameters or directory are left to the shell's
// defaults. Returns the shell's result (above 32 on success).
int ShellStart(const std::wstring& file, const std::wstring& parameters, const std::wstring& directory,
               int show, HWND owner = nullptr);

}  // namespace velkor
