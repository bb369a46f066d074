// The parts of a path.
#include <gtest/gtest.h>

#include "platform/path_names.h"

using namespace velkor;

TEST(PathNames, SplitAtBackslashSlashAndDriveColon) {
  EXPECT_EQ(FileNameOf(L"C:/memo/a.txt"), L"a.txt");
  EXPECT_EQ(FileNameOf(L"D:a.txt"), L"a.txt");
  EXPECT_EQ(FileNameOf(L"plain"), L"plain");
  EXPECT_EQ(FolderOf(L"C:/memo/a.txt"), L"C:/memo");
  EXPECT_EQ(FolderOf(L"C:\\a.txt"), L"C:");
  EXPECT_EQ(FolderOf(L"a.txt"), L"");
  // In UTF-16 the second half of 表 is no backslash.
  EXPECT_EQ(FileNameOf(L"C:\\表\\表.txt"), L"表.txt");
}

TEST(PathNames, TheExtensionIsTheNamesOwn) {
  EXPECT_EQ(ReplaceExtension(L"C:\\Velkor\\Velkor.exe", L".INI"), L"C:\\Velkor\\Velkor.INI");
  EXPECT_EQ(ReplaceExtension(L"C:\\v1.2/readme", L".hlp"), L"C:\\v1.2/readme.hlp");
  EXPECT_EQ(ReplaceExtension(L"a.tar.gz", L".BAK"), L"a.tar.BAK");
  EXPECT_EQ(ExtensionDot(L"D:.profile"), 2u);
  EXPECT_EQ(FileKindExtension(L"C:/x.d/photo.Jpeg"), L".JPE");
  EXPECT_EQ(FileKindExtension(L"C:/x.d/noext"), L"");
}

TEST(PathNames, TemporaryNamesAreNoLongerThanTheBackupName) {
  EXPECT_EQ(TemporaryNameOf(L"C:\\memo\\a.txt", 0), L"C:\\memo\\a.~00");
  EXPECT_EQ(TemporaryNameOf(L"C:\\memo\\a.html", kTemporaryNames - 1), L"C:\\memo\\a.~ZZ");
  EXPECT_EQ(TemporaryNameOf(L"C:\\v1.2\\readme", 37), L"C:\\v1.2\\readme.~11");
  for (const wchar_t* path : {L"C:\\memo\\a.txt", L"C:\\memo\\a.html", L"C:\\memo\\readme", L"C:\\memo\\a.c"})
    EXPECT_LE(TemporaryNameOf(path, 0).size(), ReplaceExtension(path, L".BAK").size()) << path;
  EXPECT_TRUE(IsTemporaryNameOf(L"C:\\memo\\a.txt", L"A.~3f"));
  EXPECT_FALSE(IsTemporaryNameOf(L"C:\\memo\\a.txt", L"a.~3"));
  EXPECT_FALSE(IsTemporaryNameOf(L"C:\\memo\\a.txt", L"b.~30"));
  EXPECT_FALSE(IsTemporaryNameOf(L"C:\\memo\\a.txt", L"a.~3_"));
}
