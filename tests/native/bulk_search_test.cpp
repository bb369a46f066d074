// The bulk search walk over a listing faked in memory.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "launcher/bulk_search.h"

using namespace velkor;

namespace {

constexpr std::uint32_t kDir = 0x10, kHidden = 0x02;

struct FakeEntry {
  std::wstring name;
  std::uint32_t attributes = 0;
  std::uint64_t size = 0;
};

// Listings by pattern: the fake decides what a mask matches, as the system does.
class FakeSource : public DirSource {
 public:
  std::map<std::wstring, std::vector<FakeEntry>> listings;
  std::vector<std::wstring> listed;
  void List(const std::wstring& pattern, const std::function<bool(const DirEntry&)>& visit) override {
    listed.push_back(pattern);
    const auto it = listings.find(pattern);
    if (it == listings.end()) return;
    for (const FakeEntry& e : it->second) {
      DirEntry entry;
      entry.name = e.name;
      entry.attributes = e.attributes;
      entry.size = e.size;
      if (!visit(entry)) return;
    }
  }
};

FakeSource Tree() {
  FakeSource s;
  // A directory entry can match the mask; it is no file.
  s.listings[L"C:\\*.TXT"] = {{L"b.txt"}, {L"odd.txt", kDir}, {L"a.txt", kHidden}};
  s.listings[L"C:\\*.*"] = {{L".", kDir},    {L"..", kDir},   {L"b.txt"},         {L"Zsub", kDir},
                            {L".git", kDir}, {L"Asub", kDir}, {L"odd.txt", kDir}, {L"empty", kDir}};
  s.listings[L"C:\\Zsub\\*.TXT"] = {{L"big.txt", 0, 5'000'000'000ULL}};
  s.listings[L"C:\\Zsub\\*.*"] = {{L".", kDir}, {L"..", kDir}, {L"big.txt"}, {L"deep", kDir}};
  s.listings[L"C:\\Zsub\\deep\\*.TXT"] = {{L"d.txt"}};
  s.listings[L"C:\\Asub\\*.TXT"] = {{L"x.txt"}, {L"y.txt"}};
  s.listings[L"C:\\.git\\*.TXT"] = {{L"never.txt"}};
  return s;
}

struct Walk {
  std::vector<std::wstring> events;  // files and "dir:" / "done" marks in the order they came
  std::uint64_t big = 0;
  BulkSearchCallbacks callbacks;
  Walk() {
    callbacks.on_directory = [this](const std::wstring& d) { events.push_back(L"dir:" + d); };
    callbacks.on_file = [this](const std::wstring& folder, const DirEntry& e) {
      events.push_back(folder + std::wstring(e.name));
      if (e.name == L"big.txt") big = e.size;
      return true;
    };
    callbacks.directory_done = [this] { events.push_back(L"done"); };
  }
  std::vector<std::wstring> Files() const {
    std::vector<std::wstring> files;
    for (const auto& e : events)
      if (e != L"done" && !e.starts_with(L"dir:")) files.push_back(e);
    return files;
  }
};

}  // namespace

TEST(CollectFiles, OwnFilesFirstThenEachSubdirectoryDepthFirstPastDotDirectories) {
  FakeSource source = Tree();
  Walk run;
  EXPECT_EQ(CollectFiles(source, L"C:\\", L"*.TXT", run.callbacks), BulkSearchEnd::kDone);
  EXPECT_EQ(run.events,
            (std::vector<std::wstring>{L"dir:C:\\", L"C:\\b.txt", L"C:\\a.txt", L"done",
                                       L"dir:C:\\Zsub", L"C:\\Zsub\\big.txt", L"done",
                                       L"dir:C:\\Zsub\\deep", L"C:\\Zsub\\deep\\d.txt", L"done",
                                       L"dir:C:\\Asub", L"C:\\Asub\\x.txt", L"C:\\Asub\\y.txt", L"done",
                                       L"dir:C:\\odd.txt", L"done", L"dir:C:\\empty", L"done"}));
  EXPECT_EQ(run.big, 5'000'000'000ULL);
  for (const std::wstring& p : source.listed) EXPECT_EQ(p.find(L".git"), std::wstring::npos) << p;
}

TEST(CollectFiles, AStopRequestEndsEveryLevelKeepingWhatWasCollected) {
  FakeSource source = Tree();
  Walk run;
  bool stop = false;
  run.callbacks.on_file = [&](const std::wstring&, const DirEntry& e) {
    run.events.emplace_back(e.name);
    if (e.name == L"d.txt") stop = true;  // as Escape seen while messages are processed
    return true;
  };
  run.callbacks.stop_requested = [&] { return stop; };
  EXPECT_EQ(CollectFiles(source, L"C:\\", L"*.TXT", run.callbacks), BulkSearchEnd::kStopped);
  EXPECT_EQ(run.Files(), (std::vector<std::wstring>{L"b.txt", L"a.txt", L"big.txt", L"d.txt"}));
  EXPECT_EQ(source.listed.back(), L"C:\\Zsub\\deep\\*.*") << "no directory after the stop is listed";

  // A stop between two files of one directory.
  FakeSource again = Tree();
  Walk second;
  int files = 0;
  second.callbacks.stop_requested = [&] { return files == 1; };
  second.callbacks.on_file = [&](const std::wstring&, const DirEntry&) { return ++files, true; };
  EXPECT_EQ(CollectFiles(again, L"C:", L"*.TXT", second.callbacks), BulkSearchEnd::kStopped);
  EXPECT_EQ(files, 1);
}

TEST(CollectFiles, AListThatRefusesAnItemEndsTheWholeWalk) {
  for (int capacity : {0, 1, 3, 5, 6}) {
    SCOPED_TRACE(capacity);
    FakeSource source = Tree();
    Walk run;
    int added = 0;
    run.callbacks.on_file = [&](const std::wstring& folder, const DirEntry& e) {
      if (added == capacity) return false;
      ++added;
      run.events.push_back(folder + std::wstring(e.name));
      return true;
    };
    const BulkSearchEnd end = CollectFiles(source, L"C:\\", L"*.TXT", run.callbacks);
    EXPECT_EQ(end, capacity < 6 ? BulkSearchEnd::kListFull : BulkSearchEnd::kDone);
    EXPECT_EQ(run.Files().size(), static_cast<size_t>(capacity));
    if (capacity == 3) {
      EXPECT_EQ(run.Files().back(), L"C:\\Zsub\\big.txt") << "nothing after the refused d.txt";
      EXPECT_EQ(source.listed.back(), L"C:\\Zsub\\deep\\*.TXT");
    }
  }
}
