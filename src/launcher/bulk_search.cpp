#include "launcher/bulk_search.h"

#include "platform/path_names.h"

namespace velkor {

BulkSearchEnd CollectFiles(DirSource& source, const std::wstring& directory, const std::wstring& mask,
                           const BulkSearchCallbacks& callbacks) {
  const auto stop = [&] { return callbacks.stop_requested && callbacks.stop_requested(); };
  if (stop()) return BulkSearchEnd::kStopped;
  const std::wstring base = WithBackslash(directory);
  if (callbacks.on_directory) callbacks.on_directory(directory);

  BulkSearchEnd end = BulkSearchEnd::kDone;
  source.List(base + mask, [&](const DirEntry& entry) {
    if (entry.directory()) return true;
    if (stop()) {
      end = BulkSearchEnd::kStopped;
      return false;
    }
    if (callbacks.on_file && !callbacks.on_file(base, entry)) {
      end = BulkSearchEnd::kListFull;
      return false;
    }
    return true;
  });
  if (end != BulkSearchEnd::kDone) return end;
  if (callbacks.directory_done) callbacks.directory_done();

  source.List(base + L"*.*", [&](const DirEntry& entry) {
    if (!entry.directory() || entry.name.starts_with(L'.')) return true;
    end = CollectFiles(source, base + std::wstring(entry.name), mask, callbacks);
    return end == BulkSearchEnd::kDone;
  });
  return end;
}

}  // namespace velkor
