// The directory tree on real directories in a temporary folder: order, expand
// buttons, the paths it reports and the walk down to a path.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/dir_tree.h"
#include "ui/window.h"
#include "support/win_test.h"

using namespace velkor;
using namespace velkor::test;

namespace {

class Host : public Window {
 public:
  Host() {
    WNDCLASSEXW wc{};
    wc.lpszClassName = L"VelkorDirTreeHost";
    RegisterWindowClass(wc);
    Create(0, L"VelkorDirTreeHost", L"tree", WS_POPUP | WS_VISIBLE, 0, 0, 300, 400, nullptr, nullptr);
  }
};

class DirTreeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const wchar_t* d : {L"Beta", L"alpha", L"Gamma", L".hidden", L"alpha\\one", L"alpha\\one\\two",
                             L"alpha\\one\\two\\three", L"Beta\\x"})
      CreateDirectoryW((dir / d).c_str(), nullptr);
    tree.Create(host.hwnd(), 100, 0, 0, 300, 400);
    tree.on_change = [this](const std::wstring& p) { changes.push_back(p); };
    tree.SelectPath(dir.path());
  }
  std::vector<std::wstring> Children(HTREEITEM node) const {
    std::vector<std::wstring> names;
    for (HTREEITEM c = tree.tree().Child(node); c; c = tree.tree().NextSibling(c)) names.push_back(tree.tree().Text(c));
    return names;
  }
  HTREEITEM Child(HTREEITEM node, const std::wstring& name) const {
    for (HTREEITEM c = tree.tree().Child(node); c; c = tree.tree().NextSibling(c))
      if (tree.tree().Text(c) == name) return c;
    return nullptr;
  }

  TempDir dir;
  Host host;
  DirTree tree;
  std::vector<std::wstring> changes;
};

TEST_F(DirTreeTest, ListsSortedLevelsOneAheadWithoutDotNames) {
  ASSERT_EQ(tree.GetSelectedPath(), dir.path());
  const HTREEITEM here = tree.tree().Selected();
  EXPECT_EQ(Children(here), (std::vector<std::wstring>{L"alpha", L"Beta", L"Gamma"}));
  // Never opened, yet alpha and Beta already know their children; Gamma has none.
  EXPECT_NE(tree.tree().Child(Child(here, L"alpha")), nullptr);
  EXPECT_NE(tree.tree().Child(Child(here, L"Beta")), nullptr);
  EXPECT_EQ(tree.tree().Child(Child(here, L"Gamma")), nullptr);

  const HTREEITEM one = Child(Child(here, L"alpha"), L"one");
  ASSERT_NE(one, nullptr);
  EXPECT_EQ(tree.NodePath(one), dir / L"alpha\\one");
  tree.tree().Select(one);
  EXPECT_EQ(changes.back(), dir / L"alpha\\one");
  tree.tree().Select(tree.tree().Root());
  EXPECT_EQ(changes.back(), dir.path().substr(0, 3));
  EXPECT_EQ(tree.GetSelectedPath(), std::wstring({dir.path()[0], L':', L'\\'}));
}

TEST_F(DirTreeTest, SelectPathWalksDownReportingEachStep) {
  changes.clear();
  const std::wstring deep = dir / L"alpha\\one\\two";
  tree.SelectPath(deep);
  EXPECT_EQ(tree.GetSelectedPath(), deep);
  ASSERT_GE(changes.size(), 3u);
  EXPECT_EQ(std::vector<std::wstring>(changes.end() - 3, changes.end()),
            (std::vector<std::wstring>{dir / L"alpha", dir / L"alpha\\one", deep}));
  // Opened on the way, the level below is there too.
  EXPECT_NE(tree.tree().Child(tree.tree().Selected()), nullptr);

  const std::wstring root{dir.path()[0], L':', L'\\'};
  for (const std::wstring& wrong : {dir / L"ALPHA\\one", dir / L"missing", deep + L"\\"}) {
    tree.SelectPath(wrong);
    EXPECT_EQ(tree.GetSelectedPath(), root) << wrong;
  }
}

TEST_F(DirTreeTest, DirSpaceHoldsTheTreeAndItsReports) {
  const std::wstring caption = tree.tree().Text(tree.tree().Root());
  const wchar_t other = dir.path()[0] == L'Z' ? L'C' : L'Z';
  tree.SetDirSpace(true);
  changes.clear();
  tree.tree().Select(tree.tree().Root());
  tree.SetDrive(other);
  EXPECT_TRUE(changes.empty());
  EXPECT_EQ(tree.tree().Text(tree.tree().Root()), caption);
  tree.SetDirSpace(false);  // rebuilds for the drive set meanwhile
  EXPECT_EQ(tree.tree().Text(tree.tree().Root()), std::wstring({other, L':'}));
  EXPECT_EQ(tree.GetSelectedPath(), std::wstring({other, L':', L'\\'}));
}

// The same relative path on both drives: C:\tmp\... lives in the prefix and
// Z:\tmp\... is the machine's /tmp, so both can be made without touching
// anything else.
TEST(DirTreeDrives, AnotherDriveKeepsThePathWhereItExists) {
  if (!(GetLogicalDrives() & (1u << (L'Z' - L'A'))) || !(GetLogicalDrives() & (1u << (L'C' - L'A'))))
    GTEST_SKIP() << "needs the drives C: and Z:";
  const std::wstring rel = L"tmp\\velkor-drives-" + std::to_wstring(GetCurrentProcessId());
  const std::wstring on_c = L"C:\\" + rel, on_z = L"Z:\\" + rel;
  for (const std::wstring& d : {std::wstring(L"C:\\tmp"), on_c, on_c + L"\\Both", on_c + L"\\OnlyC", on_z, on_z + L"\\Both"})
    CreateDirectoryW(d.c_str(), nullptr);
  {
    Host host;
    DirTree tree;
    tree.Create(host.hwnd(), 100, 0, 0, 300, 400);
    tree.SelectPath(on_z + L"\\Both");
    ASSERT_EQ(tree.GetSelectedPath(), on_z + L"\\Both");
    tree.SetDrive(L'c');
    EXPECT_EQ(tree.drive(), L'C');
    EXPECT_EQ(tree.GetSelectedPath(), on_c + L"\\Both");

    tree.SelectPath(on_c + L"\\OnlyC");
    tree.SetDrive(L'Z');
    EXPECT_EQ(tree.GetSelectedPath(), L"Z:\\") << "a path missing on the new drive leaves its drive node";
  }
  for (const std::wstring& d : {on_c + L"\\Both", on_c + L"\\OnlyC", on_c, on_z + L"\\Both", on_z})
    RemoveDirectoryW(d.c_str());
}

}  // namespace
