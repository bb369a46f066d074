#pragma once
// The walk of a bulk search: every file that matches the mask in a directory
// and all directories below it, without a window, so the friends window's
// list and a made-up listing in a test take the same order.
#include <cstdint>
#include <functional>
#include <string>

#include "platform/dir_walk.h"

namespace velkor {

struct BulkSearchCallbacks {
  // A directory's walk begins: the window shows it ("  " + directory).
  std::function<void(const std::wstring& directory)> on_directory;
  // A matching file, with the folder it was listed in (ending in a
  // backslash). False when the list refused it: the whole walk ends there.
  std::function<bool(const std::wstring& folder, const DirEntry& file)> on_file;
  // After a directory's own files and before its subdirectories: the place to
  // let pending window messages be processed, once per directory to keep the
  // walk fast.
  std::function<void()> directory_done;
  // Asked before each directory and each file; true ends the walk, keeping
  // what was collected.
  std::function<bool()> stop_requested;
};

enum class BulkSearchEnd { kDone, kStopped, kListFull };

// Hands on the files of directory that the source lists for base + mask
// (entries with the directory attribute are passed over), in the order
// listed, then walks each subdirectory listed for base + "*.*" whose name does
// not begin with "." (which passes over "." and ".."), depth first in the
// order listed. Hidden and system entries count like any other; a directory
// that lists nothing adds nothing and the walk goes on.
BulkSearchEnd CollectFiles(DirSource& source, const std::wstring& directory, const std::wstring& mask,
                           const BulkSearchCallbacks& callbacks);

}  // namespace velkor
