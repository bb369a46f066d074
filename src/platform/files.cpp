#include "platform/files.h"

#include <algorithm>
#include <utility>

#include "platform/scoped.h"

namespace velkor {

FileBytes ReadWholeFile(const std::wstring& path, std::size_t max_bytes) {
  FileBytes result;
  auto fail = [&](FileBytes::Outcome outcome, DWORD error) {
    result.outcome = outcome;
    result.error = error;
    result.bytes.clear();
    return std::move(result);
  };
  ScopedHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) return fail(FileBytes::Outcome::kCannotOpen, GetLastError());
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size)) return fail(FileBytes::Outcome::kCannotRead, GetLastError());
  if (static_cast<unsigned long long>(size.QuadPart) > max_bytes) return fail(FileBytes::Outcome::kTooLarge, 0);
  // A byte more than the size, so that a short read tells the end at once
  // and a file that grew meanwhile is still read to its end.
  std::string& bytes = result.bytes;
  bytes.resize(static_cast<std::size_t>(size.QuadPart) + 1);
  std::size_t got = 0;
  for (;;) {
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - got, 1u << 30));
    DWORD n = 0;
    if (!ReadFile(file.get(), bytes.data() + got, want, &n, nullptr))
      return fail(FileBytes::Outcome::kCannotRead, GetLastError());
    got += n;
    if (n < want) break;
    if (got == bytes.size()) {
      if (bytes.size() > max_bytes) return fail(FileBytes::Outcome::kTooLarge, 0);
      bytes.resize(std::min(bytes.size() * 2, max_bytes + 1));
    }
  }
  bytes.resize(got);
  return result;
}

}  // namespace velkor
