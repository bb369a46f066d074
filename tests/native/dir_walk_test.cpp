// The directory walk over a listing faked in memory.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/dir_walk.h"

using namespace velkor;

namespace {

constexpr std::uint32_t kDir = 0x10, kHidden = 0x02;

struct FakeEntry {
  std::wstring name;
  std::uint32_t attributes = 0;
  std::uint64_t size = 0;
};

// Listings by pattern, in the order a real listing would give them.
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
  s.listings[L"R\\*.*"] = {{L".", kDir},          {L"..", kDir},     {L"b.txt"},       {L"sub", kDir},
                           {L".git", kDir},       {L".profile"},     {L"Hid", kDir | kHidden},
                           {L"a.txt"}};
  s.listings[L"R\\sub\\*.*"] = {{L".", kDir}, {L"..", kDir}, {L"big.log", 0, 5'000'000'000ULL}, {L"deep", kDir}};
  s.listings[L"R\\sub\\deep\\*.*"] = {{L"d.txt"}};
  s.listings[L"R\\Hid\\*.*"] = {{L"h.txt", kHidden}};
  s.listings[L"R\\.git\\*.*"] = {{L"never.txt"}};
  return s;
}

}  // namespace

TEST(DirWalk, GoesDepthFirstInListingOrderPastDotDirectories) {
  FakeSource source = Tree();
  std::vector<std::wstring> files, patterns;
  std::uint64_t big = 0;
  int entries = 0;
  DirWalk walk;
  walk.on_file = [&](const std::wstring& folder, const DirEntry& e) {
    files.push_back(folder + std::wstring(e.name));
    if (e.name == L"big.log") big = e.size;
  };
  walk.on_directory = [&](const std::wstring& p) { patterns.push_back(p); };
  walk.after_entry = [&] { ++entries; };
  EXPECT_TRUE(WalkTree(source, L"R\\", walk));
  EXPECT_EQ(files, (std::vector<std::wstring>{L"R\\b.txt", L"R\\sub\\big.log", L"R\\sub\\deep\\d.txt",
                                              L"R\\.profile", L"R\\Hid\\h.txt", L"R\\a.txt"}));
  EXPECT_EQ(big, 5'000'000'000ULL);
  EXPECT_EQ(patterns, (std::vector<std::wstring>{L"R\\*.*", L"R\\sub\\*.*", L"R\\sub\\deep\\*.*", L"R\\sub\\*.*",
                                                 L"R\\*.*", L"R\\Hid\\*.*", L"R\\*.*"}));
  EXPECT_EQ(entries, 14) << "every entry, dot names included";
  for (const std::wstring& p : source.listed) EXPECT_EQ(p.find(L".git"), std::wstring::npos);
}

TEST(DirWalk, AStopRequestEndsTheWholeWalkAtTheNextEntry) {
  FakeSource source = Tree();
  std::vector<std::wstring> files;
  bool stop = false;
  DirWalk walk;
  walk.on_file = [&](const std::wstring&, const DirEntry& e) {
    files.emplace_back(e.name);
    if (e.name == L"big.log") stop = true;  // as a key press seen while messages are processed
  };
  walk.stop_requested = [&] { return stop; };
  EXPECT_FALSE(WalkTree(source, L"R\\", walk));
  EXPECT_EQ(files, (std::vector<std::wstring>{L"b.txt", L"big.log"}));
  EXPECT_EQ(source.listed.size(), 2u) << "neither deeper nor further";

  FakeSource empty;
  EXPECT_TRUE(WalkTree(empty, L"missing\\", walk)) << "a listing of nothing is no error";
}
