#include "editor/disk_watch.h"

namespace velkor {

bool DiskWatch::TellChange(const FileStamp& disk) {
  if (!read_ || disk == *read_ || (told_ && disk == *told_)) return false;
  told_ = disk;
  return true;
}

}  // namespace velkor
