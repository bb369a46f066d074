#pragma once
// Whole files read in one go. The callers turn the outcomes into their own
// messages.
#include <cstddef>
#include <string>

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

}  // namespace velkor
