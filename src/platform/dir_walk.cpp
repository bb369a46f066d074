#include "platform/dir_walk.h"

namespace velkor {

bool WalkTree(DirSource& source, const std::wstring& folder, const DirWalk& walk) {
  const std::wstring pattern = folder + L"*.*";
  if (walk.on_directory) walk.on_directory(pattern);
  bool stopped = false;
  source.List(pattern, [&](const DirEntry& entry) {
    if (walk.stop_requested && walk.stop_requested()) {
      stopped = true;
      return false;
    }
    if (!entry.directory()) {
      if (walk.on_file) walk.on_file(folder, entry);
    } else if (!entry.name.starts_with(L'.')) {
      const bool finished = WalkTree(source, folder + std::wstring(entry.name) + L'\\', walk);
      if (walk.on_directory) walk.on_directory(pattern);
      if (!finished) {
        stopped = true;
        return false;
      }
    }
    if (walk.after_entry) walk.after_entry();
    return true;
  });
  return !stopped;
}

}  // namespace velkor
