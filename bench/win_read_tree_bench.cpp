// The anchor of the whole word search: the least that a search over the
// benchmark tree must do. Walks the tree depth first as the search does
// (FindFirstFileW / FindNextFileW, names beginning with a dot skipped,
// a subdirectory entered as soon as it is met) and reads every file of a
// searched class (all nine classes and .HTML) through 16 KB ReadFile calls.
// With --scan it also runs the line scan on what it reads, the keyword
// "Velkor" with letters alike. Prints the best of three walks.
//   win_read_tree_bench TREE_DIR [--scan]
#include <algorithm>
#include <array>
#include <cstdio>
#include <stdexcept>
#include <string>

#include "platform/scoped.h"
#include "platform/text.h"
#include "platform/win32.h"
#include "wordsearch/engine.h"
#include "wordsearch/search_paths.h"

using namespace velkor;

namespace {

class FileReadSource : public ByteSource {
 public:
  explicit FileReadSource(HANDLE file) : file_(file) {}
  int Read(unsigned char* dst, int max) override {
    DWORD got = 0;
    if (!ReadFile(file_, dst, static_cast<DWORD>(max), &got, nullptr)) throw std::runtime_error("ReadFile failed");
    return static_cast<int>(got);
  }

 private:
  HANDLE file_;
};

struct Totals {
  long long files = 0;
  long long bytes = 0;
  long long hits = 0;
};

class TreeReader {
 public:
  explicit TreeReader(bool scan) : scan_(scan), scanner_(SearchKey{"Velkor", false, false}) {
    std::array<bool, kExtClasses> all;
    all.fill(true);
    table_ = BuildExtTable(all);
  }

  Totals Walk(const std::wstring& dir) {
    totals_ = Totals{};
    WalkDir(dir);
    return totals_;
  }

 private:
  void WalkDir(const std::wstring& dir) {
    WIN32_FIND_DATAW entry;
    ScopedFind find(FindFirstFileW((dir + L"\\*.*").c_str(), &entry));
    if (!find) return;
    do {
      if (entry.cFileName[0] == L'.') continue;
      const std::wstring path = dir + L"\\" + entry.cFileName;
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        WalkDir(path);
      } else if (IsSearchedFile(WideToCp932(entry.cFileName).bytes, table_)) {
        ReadOne(path);
      }
    } while (FindNextFileW(find.get(), &entry));
  }

  void ReadOne(const std::wstring& path) {
    ScopedHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return;
    ++totals_.files;
    if (scan_) {
      FileReadSource source(file.get());
      scanner_.Scan(source, [this](long long, std::string_view) {
        ++totals_.hits;
        return true;
      });
      LARGE_INTEGER size;
      if (GetFileSizeEx(file.get(), &size)) totals_.bytes += size.QuadPart;
      return;
    }
    DWORD got = 0;
    while (ReadFile(file.get(), buffer_, sizeof buffer_, &got, nullptr) && got > 0)
      totals_.bytes += got;
  }

  bool scan_;
  FileScanner scanner_;
  ExtTable table_;
  Totals totals_;
  unsigned char buffer_[16384];
};

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER freq;
  QueryPerformanceFrequency(&freq);
  return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(freq.QuadPart);
}

}  // namespace

int main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argv == nullptr || argc < 2 || argc > 3 || (argc == 3 && std::wstring(argv[2]) != L"--scan")) {
    std::fprintf(stderr, "usage: win_read_tree_bench TREE_DIR [--scan]\n");
    return 2;
  }
  std::wstring root = argv[1];
  while (!root.empty() && (root.back() == L'\\' || root.back() == L'/')) root.pop_back();
  const bool scan = argc == 3;

  TreeReader reader(scan);
  double best = 1e30;
  Totals totals;
  for (int pass = 0; pass < 3; ++pass) {
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    totals = reader.Walk(root);
    QueryPerformanceCounter(&end);
    best = std::min(best, Seconds(start, end));
  }
  if (totals.files == 0) {
    std::fprintf(stderr, "win_read_tree_bench: no searched files found\n");
    return 1;
  }
  std::printf("search tree %s (Wine, 16 KB ReadFile): %lld files, %.1f MB in %.3f s (%.2f GB/s)",
              scan ? "read and line scan" : "read", totals.files, totals.bytes / 1e6, best,
              totals.bytes / best / 1e9);
  if (scan) std::printf(", %lld hit lines", totals.hits);
  std::printf("\n");
  return 0;
}
