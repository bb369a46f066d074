#pragma once
// What an editor window knows of its file on disk: the file's size and write
// time when the window read it (or wrote it, or had it back from a copy), and
// which later state of the file it has already told the user about. A save
// asks before it overwrites a file that differs from what the window read;
// an activation says once per change that the file is no longer what the
// window read.
#include <cstdint>
#include <optional>

namespace velkor {

// A file's state as the system reports it.
struct FileStamp {
  bool exists = false;
  std::uint64_t size = 0;
  std::uint64_t write_time = 0;  // 100-nanosecond ticks since 1601, UTC
  bool operator==(const FileStamp&) const = default;
};

class DiskWatch {
 public:
  // The file as the window has read or written it. Its own states are never
  // news to the window.
  void Read(const FileStamp& stamp) {
    read_ = stamp;
    told_ = stamp;
  }
  // The window no longer stands for a file it read (a new name, or none).
  void Forget() {
    read_.reset();
    told_.reset();
  }
  const std::optional<FileStamp>& read() const { return read_; }

  // A save would write over a file that is not the one the window read.
  bool SaveOverwritesChange(const FileStamp& disk) const { return read_ && disk.exists && disk != *read_; }

  // The file differs from what the window read and this state of it has not
  // been told yet; it counts as told from here on.
  bool TellChange(const FileStamp& disk);

 private:
  std::optional<FileStamp> read_;
  std::optional<FileStamp> told_;
};

}  // namespace velkor
