// The system's directory listing behind DirSource.
#include "platform/dir_walk.h"
#include "platform/scoped.h"

namespace velkor {
namespace {

static_assert(FILE_ATTRIBUTE_DIRECTORY == 0x10);

class FindFileSource : public DirSource {
 public:
  void List(const std::wstring& pattern, const std::function<bool(const DirEntry&)>& visit) override {
    WIN32_FIND_DATAW found;
    ScopedFind find(FindFirstFileW(pattern.c_str(), &found));
    if (!find) return;
    do {
      DirEntry entry;
      entry.name = found.cFileName;
      entry.attributes = found.dwFileAttributes;
      entry.size = (static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
      entry.last_write = (static_cast<std::uint64_t>(found.ftLastWriteTime.dwHighDateTime) << 32) |
                         found.ftLastWriteTime.dwLowDateTime;
      if (!visit(entry)) return;
    } while (FindNextFileW(find.get(), &found));
  }
};

}  // namespace

DirSource& SystemDirSource() {
  static FindFileSource source;
  return source;
}

}  // namespace velkor
