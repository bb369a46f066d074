// The bulk search walk over a listing faked in memory.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "launcher/browser_texts.h"
#include "launcher/bulk_search.h"

using namespace velkor;

namespace {

constexpr std::uint32_t kDir = 0x10;

// Listings by pattern: the fake decides what a mask matches, as the system does.
class FakeSource : public DirSource {
 public:
  std::map<std::wstring, std::vector<std::pair<std::wstring, std::uint32_t>>> listings;
  std::vector<std::wstring> listed;
  void List(const std::wstring& pattern, const std::function<bool(const DirEntry&)>& visit) override {
    listed.push_back(pattern);
    for (const auto& [name, attributes] : listings[pattern]) {
      DirEntry entry;
      entry.name = name;
      entry.attributes = attributes;
      entry.size = 5'000'000'000ULL;
      if (!visit(entry)) return;
    }
  }
};

FakeSource Tree() {
  FakeSource s;
  // A directory entry can match the mask; it is no file.
  s.listings[L"C:\\*.TXT"] = {{L"b.txt", 0}, {L"odd.txt", kDir}, {L"a.txt", 0x02}};
  s.listings[L"C:\\*.*"] = {{L".", kDir},    {L"..", kDir},   {L"b.txt", 0}, {L"Zsub", kDir},
                            {L".git", kDir}, {L"Asub", kDir}, {L"odd.txt", kDir}};
  s.listings[L"C:\\Zsub\\*.TXT"] = {{L"z.txt", 0}};
  s.listings[L"C:\\Zsub\\*.*"] = {{L"deep", kDir}};
  s.listings[L"C:\\Zsub\\deep\\*.TXT"] = {{L"d.txt", 0}};
  s.listings[L"C:\\Asub\\*.TXT"] = {{L"x.txt", 0}, {L"y.txt", 0}};
  s.listings[L"C:\\.git\\*.TXT"] = {{L"never.txt", 0}};
  return s;
}

// Files and "[directory" / "]" marks in the order the walk gave them; the
// file callback refuses the item after capacity files and asks for a stop
// after stop_after.
struct Trace {
  std::vector<std::wstring> events;
  int files = 0;
  BulkSearchCallbacks callbacks;
  Trace(int capacity = 1000, int stop_after = 1000) {
    callbacks.on_directory = [this](const std::wstring& d) { events.push_back(L"[" + d); };
    callbacks.on_file = [this, capacity](const std::wstring& folder, const DirEntry& e) {
      EXPECT_EQ(e.size, 5'000'000'000ULL);
      if (files == capacity) return false;
      ++files;
      events.push_back(folder + std::wstring(e.name));
      return true;
    };
    callbacks.directory_done = [this] { events.push_back(L"]"); };
    callbacks.stop_requested = [this, stop_after] { return files >= stop_after; };
  }
};

}  // namespace

TEST(CollectFiles, OwnFilesFirstThenEachSubdirectoryDepthFirstPastDotDirectories) {
  FakeSource source = Tree();
  Trace trace;
  EXPECT_EQ(CollectFiles(source, L"C:\\", L"*.TXT", trace.callbacks), BulkSearchEnd::kDone);
  EXPECT_EQ(trace.events, (std::vector<std::wstring>{L"[C:\\", L"C:\\b.txt", L"C:\\a.txt", L"]", L"[C:\\Zsub",
                                                     L"C:\\Zsub\\z.txt", L"]", L"[C:\\Zsub\\deep",
                                                     L"C:\\Zsub\\deep\\d.txt", L"]", L"[C:\\Asub", L"C:\\Asub\\x.txt",
                                                     L"C:\\Asub\\y.txt", L"]", L"[C:\\odd.txt", L"]"}));
  for (const std::wstring& p : source.listed) EXPECT_EQ(p.find(L".git"), std::wstring::npos) << p;
}

TEST(CollectFiles, AStopOrAFullListEndsEveryLevelKeepingWhatWasCollected) {
  // Stopped after the files of a directory, and between two files of one.
  for (int stop_after : {4, 5}) {
    FakeSource source = Tree();
    Trace trace(1000, stop_after);
    EXPECT_EQ(CollectFiles(source, L"C:", L"*.TXT", trace.callbacks), BulkSearchEnd::kStopped);
    EXPECT_EQ(trace.files, stop_after);
    EXPECT_EQ(source.listed.size(), stop_after == 4 ? 6u : 7u) << "nothing listed after the stop";
  }
  for (int capacity : {0, 3, 6}) {
    FakeSource source = Tree();
    Trace trace(capacity);
    EXPECT_EQ(CollectFiles(source, L"C:\\", L"*.TXT", trace.callbacks),
              capacity < 6 ? BulkSearchEnd::kListFull : BulkSearchEnd::kDone);
    EXPECT_EQ(trace.files, capacity);
    if (capacity == 3) {
      EXPECT_EQ(source.listed.back(), L"C:\\Zsub\\deep\\*.TXT") << "the refused d.txt ends it";
    }
  }
}

TEST(Mask, AMaskThatHoldsAFolderIsRefusedByItsCharacters) {
  for (const wchar_t* bad : {L"..\\*.TXT", L"SUB\\*.*", L"SUB/*.*", L"C:*.TXT"}) EXPECT_TRUE(MaskHoldsPath(bad)) << bad;
  // The second byte of 表 in code page 932 is 0x5C; the character is no backslash.
  for (const wchar_t* good : {L"表*.TXT", L"*.*", L"C*.EXE", L"*.JP*"}) EXPECT_FALSE(MaskHoldsPath(good)) << good;
}
