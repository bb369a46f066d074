#pragma once
// Whole files read in one go and written so that no failure and no power cut
// leaves them half-written. The callers turn the outcomes into their own
// messages.
#include <cstddef>
#include <string>
#include <string_view>

namespace velkor {

struct FileBytes {
  enum class Outcome { kRead, kCannotOpen, kTooLarge, kCannotRead };
  Outcome outcome = Outcome::kRead;
  unsigned long error = 0;  // the system's error code of the step that failed
  std::string bytes;
  bool ok() const { return outcome == Outcome::kRead; }
};

// The whole file, read to its end even when it grows meanwhile; others may
// go on reading, writing or deleting it. A file larger than max_bytes is
// refused.
FileBytes ReadWholeFile(const std::wstring& path, std::size_t max_bytes);

struct ReplaceOptions {
  // When not empty, the old file becomes this one, and the earlier file of
  // this name steps aside until the new file is in place: a failure of the
  // last step brings both back.
  std::wstring backup;
  // The new file takes the old one's hidden, system, archive and
  // not-indexed attributes.
  bool keep_attributes = false;
};

struct FileReplaced {
  enum class Outcome { kReplaced, kReadOnly, kNotAFile, kCannotCreate, kCannotWrite, kCannotReplace };
  Outcome outcome = Outcome::kReplaced;
  unsigned long error = 0;  // the system's error code of the step that failed
  explicit operator bool() const { return outcome == Outcome::kReplaced; }
};

// Puts bytes in the place of the file at path, or creates it. They go to a
// new file beside it and to the disk first, and then take its name in one
// step, so that the file is at every moment either the old one or the new
// one, whole. A read-only file or a directory at path is refused before
// anything is written, since not every system refuses to rename over the
// first. On any failure the file (and the backup) stay as they were and
// nothing is left behind.
FileReplaced ReplaceFileContents(const std::wstring& path, std::string_view bytes,
                                 const ReplaceOptions& options = {});

}  // namespace velkor
