#pragma once
// Directory listings and the walk through a directory and everything below
// it, without windows, so that every long walk of the program lists in the
// same order by the same rules, can be tried on a listing made up in a test,
// and processes window messages between entries through a callback.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace velkor {

struct DirEntry {
  std::wstring_view name;         // valid while the entry is being handled
  std::uint32_t attributes = 0;   // the system's attribute bits, hidden and system ones included
  std::uint64_t size = 0;         // the whole size, also beyond 4 GiB
  std::uint64_t last_write = 0;   // 100-nanosecond intervals since 1601-01-01 UTC, as the system keeps it
  bool directory() const { return (attributes & 0x10) != 0; }
};

// The entries of one listing pattern ("C:\Memo\*.*") in the order the
// system returns them.
class DirSource {
 public:
  virtual ~DirSource() = default;
  // Hands each entry to visit until visit returns false. A pattern that lists
  // nothing (a missing directory, no access) hands none and is no error.
  virtual void List(const std::wstring& pattern, const std::function<bool(const DirEntry&)>& visit) = 0;
};

// The system's listing (FindFirstFileW); Windows build only.
DirSource& SystemDirSource();

struct DirWalk {
  // Each file, with the folder it was listed in (ending in a backslash).
  std::function<void(const std::wstring& folder, const DirEntry& file)> on_file;
  // The pattern whose entries come next: when a directory's listing starts,
  // and again each time the walk of one of its subdirectories returns.
  std::function<void(const std::wstring& pattern)> on_directory;
  // After every entry, directories and dot names included: the place to let
  // pending window messages be processed.
  std::function<void()> after_entry;
  // Asked before every entry; true ends the whole walk there.
  std::function<bool()> stop_requested;
};

// Walks folder (ending in a backslash) through the pattern "*.*", depth
// first: a subdirectory is walked when its entry comes, before the next
// entry of its parent. A directory whose name begins with "." is not entered
// ("." and ".." among them); files are handed on whatever their names and
// attributes. False when a stop request ended the walk.
bool WalkTree(DirSource& source, const std::wstring& folder, const DirWalk& walk);

}  // namespace velkor
