// The directory tree's path rules.
#include <gtest/gtest.h>

#include <cwctype>

#include "controls/dir_tree_logic.h"

using namespace velkor;

TEST(DirTreePaths, JoinAndTakeApart) {
  EXPECT_EQ(JoinPath(L"C:\\", L"A"), L"C:\\A");
  EXPECT_EQ(JoinPath(L"C:\\A", L"*.*"), L"C:\\A\\*.*");
  EXPECT_EQ(JoinPath(L"", L"A"), L"A");
  // 表 and ソ end in 0x5C in code page 932; as characters they are no separator.
  EXPECT_EQ(JoinPath(L"C:\\表", L"ソ"), L"C:\\表\\ソ");
  EXPECT_EQ(PathNames(L"C:\\表\\ソ\\x"), (std::vector<std::wstring>{L"表", L"ソ", L"x"}));
  EXPECT_TRUE(PathNames(L"C:\\").empty());
  EXPECT_TRUE(PathNames(L"C:").empty());
  EXPECT_EQ(PathNames(L"C:\\A\\"), (std::vector<std::wstring>{L"A"}));
}

TEST(DirTreePaths, LevelsAndReportedPaths) {
  std::vector<std::wstring> names{L"Beta", L"alpha", L"Gamma", L"ALPHA"};
  SortDirNames(names, [](const std::wstring& a, const std::wstring& b) {
    std::wstring x = a, y = b;
    for (auto& c : x) c = std::towlower(c);
    for (auto& c : y) c = std::towlower(c);
    return x.compare(y);
  });
  EXPECT_EQ(names, (std::vector<std::wstring>{L"alpha", L"ALPHA", L"Beta", L"Gamma"}));
  EXPECT_FALSE(IsListedDirName(L".git"));
  EXPECT_FALSE(IsListedDirName(L".."));
  EXPECT_TRUE(IsListedDirName(L"a.b"));
  EXPECT_EQ(NodePathOf(L'C', {}, true), L"C:\\");
  EXPECT_EQ(NodePathOf(L'C', {L"A", L"B"}, false), L"C:\\A\\B");
}
