#pragma once
// Whole files read in one go and written so that no failure and no power cut
// leaves them half-written. The callers turn the outcomes into their own
// messages.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/scoped.h"

namespace velkor {

struct FileBytes {
  enum class Outcome { kRead, kCannotOpen, kTooLarge, kCannotRead };
  Outcome outcome = Outcome::kRead;
  unsigned long error = 0;  // the system's error code of the step that failed
  std::uint64_t size = 0;   // the file's size when it was opened
  std::string bytes;
  bool ok() const { return outcome == Outcome::kRead; }
};

// The whole file, read to its end even when it grows meanwhile; others may
// go on reading, writing or deleting it. A file larger than max_bytes is
// refused.
FileBytes ReadWholeFile(const std::wstring& path, std::size_t max_bytes);

struct ReplaceOptions {
  // When not empty, this name keeps the old contents, and the earlier file
  // of this name steps aside until the new file is in place: a failure of
  // the last step brings both back.
  std::wstring backup;
  // The new file takes the old one's hidden, system, archive and
  // not-indexed attributes and its access control list.
  bool keep_attributes = false;
};

struct FileReplaced {
  enum class Outcome { kReplaced, kReadOnly, kNotAFile, kCannotCreate, kCannotWrite, kCannotReplace };
  Outcome outcome = Outcome::kReplaced;
  unsigned long error = 0;  // the system's error code of the step that failed
  explicit operator bool() const { return outcome == Outcome::kReplaced; }
};

// Puts bytes in the place of the file at path, or creates it; a symbolic
// link is written through, its target replaced. The bytes go to a new file
// beside it (one of its temporary names) and to the disk first; the backup
// is made as a second name of the old file (a copy where the system has no
// such names); then the new file takes the name in one step. So the name
// stands at every moment for the old file or the new one, whole, and a crash
// leaves at most the temporary file beside it (LeftoverTemporaryFiles). A
// read-only file or a directory at path is refused before anything is
// written, since not every system refuses to rename over the first. On any
// failure the file (and the backup) stay as they were and nothing is left
// behind.
FileReplaced ReplaceFileContents(const std::wstring& path, std::string_view bytes,
                                 const ReplaceOptions& options = {});

// Set in the environment of a test, this ends the process between writing
// the temporary file and putting it in place, as a crash or a power cut would.
inline constexpr wchar_t kEndBeforeReplaceVariable[] = L"VELKOR_TEST_END_BEFORE_REPLACE";

// Files beside path under its temporary names: left by a save or a copy
// that never finished.
std::vector<std::wstring> LeftoverTemporaryFiles(const std::wstring& path);

// A new file under the first free temporary name of path, opened for
// writing with the attributes given; name is set to it. An invalid handle,
// with the system's error, when none can be made.
ScopedHandle CreateTemporaryFile(const std::wstring& path, DWORD attributes, std::wstring& name);

}  // namespace velkor
