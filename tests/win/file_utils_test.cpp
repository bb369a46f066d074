// The shared file routines on real files and directories, under Wine.
#include <gtest/gtest.h>

#include "platform/file_utils.h"
#include "platform/scoped.h"
#include "support/win_test.h"

using namespace velkor;
using namespace velkor::test;

namespace {

// Bytes that differ from one position to the next, so a block written twice
// or out of order shows.
std::string Pattern(size_t size) {
  std::string s(size, '\0');
  for (size_t i = 0; i < size; ++i) s[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
  return s;
}

void SetReadOnly(const std::wstring& path) { SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY); }

// Changes the current directory for the life of the scope.
class CurrentDirectory {
 public:
  explicit CurrentDirectory(const std::wstring& path) {
    wchar_t old[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, old);
    old_ = old;
    SetCurrentDirectoryW(path.c_str());
  }
  ~CurrentDirectory() { SetCurrentDirectoryW(old_.c_str()); }

 private:
  std::wstring old_;
};

void SetLastWrite(const std::wstring& path, WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second) {
  const SYSTEMTIME local_time{year, month, 0, day, hour, minute, second, 0};
  FILETIME local;
  FILETIME utc;
  ASSERT_TRUE(SystemTimeToFileTime(&local_time, &local));
  ASSERT_TRUE(LocalFileTimeToFileTime(&local, &utc));
  ScopedHandle h(CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  ASSERT_TRUE(h);
  ASSERT_TRUE(SetFileTime(h.get(), nullptr, nullptr, &utc));
}

// The message of the E that f raises; a failure when it raises nothing.
template <typename E, typename F>
std::wstring MessageOf(F f) {
  try {
    f();
  } catch (const E& e) {
    return e.message();
  }
  ADD_FAILURE() << "nothing raised";
  return L"";
}

constexpr double kSecond = 1.0 / 86400;

}  // namespace

TEST(CopyFileTo, CopiesEverySizeAroundTheBufferExactly) {
  TempDir dir;
  // 8192 is one full read, one empty read and one write; the others end on a
  // short read after zero, one or several full ones.
  for (size_t size : {0u, 1u, 8191u, 8192u, 8193u, 3u * 8192u, 1048576u + 17u}) {
    SCOPED_TRACE(size);
    const std::string bytes = Pattern(size);
    WriteBytes(dir / L"source.bin", bytes);
    CopyFileTo(dir / L"source.bin", dir / L"copy.bin");
    EXPECT_EQ(ReadBytes(dir / L"copy.bin"), bytes);
    EXPECT_EQ(SizeOfFile(dir / L"copy.bin"), static_cast<int64_t>(size));
    EXPECT_EQ(ReadBytes(dir / L"source.bin"), bytes);
  }
}

TEST(CopyFileTo, OntoADirectoryKeepsTheSourceName) {
  TempDir dir;
  CreateDirectoryW((dir / L"目的地").c_str(), nullptr);
  WriteBytes(dir / L"メモ.TXT", "memo");
  CopyFileTo(dir / L"メモ.TXT", dir / L"目的地");
  EXPECT_EQ(ReadBytes(dir / L"目的地\\メモ.TXT"), "memo");
  // A trailing separator gives the same file, not a doubled separator.
  WriteBytes(dir / L"メモ.TXT", "memo 2");
  CopyFileTo(dir / L"メモ.TXT", dir / L"目的地\\");
  EXPECT_EQ(ReadBytes(dir / L"目的地\\メモ.TXT"), "memo 2");
  EXPECT_TRUE(FileExists(dir / L"メモ.TXT"));
}

TEST(CopyFileTo, OverwritesAnExistingFileAndItsLength) {
  TempDir dir;
  WriteBytes(dir / L"new.txt", "short");
  WriteBytes(dir / L"old.txt", Pattern(20000));
  CopyFileTo(dir / L"new.txt", dir / L"old.txt");
  EXPECT_EQ(ReadBytes(dir / L"old.txt"), "short");
}

TEST(CopyFileTo, ExpandsARelativeDestinationAndABareDrive) {
  TempDir dir;
  CreateDirectoryW((dir / L"sub").c_str(), nullptr);
  WriteBytes(dir / L"a.txt", "abc");
  CurrentDirectory here(dir / L"sub");
  CopyFileTo(dir / L"a.txt", L"b.txt");
  EXPECT_EQ(ReadBytes(dir / L"sub\\b.txt"), "abc");
  CopyFileTo(dir / L"a.txt", L"..\\c.txt");
  EXPECT_EQ(ReadBytes(dir / L"c.txt"), "abc");
  // "C:" alone names that drive's current directory, here the sub folder.
  const std::wstring drive = dir.path().substr(0, 2);
  ASSERT_EQ(drive[1], L':');
  CopyFileTo(dir / L"a.txt", drive);
  EXPECT_EQ(ReadBytes(dir / L"sub\\a.txt"), "abc");
}

TEST(CopyFileTo, ReportsWhatItCannotDoAndLosesNoData) {
  TempDir dir;
  WriteBytes(dir / L"keep.txt", "keep");
  // A missing source leaves the destination untouched.
  EXPECT_EQ(MessageOf<Error>([&] { CopyFileTo(dir / L"missing.txt", dir / L"keep.txt"); }),
            L"ﾌｧｲﾙ " + (dir / L"missing.txt") + L" は開けません。");
  EXPECT_EQ(ReadBytes(dir / L"keep.txt"), "keep");
  // A copy onto itself, directly or through its directory, must not
  // truncate the only data.
  EXPECT_THROW(CopyFileTo(dir / L"keep.txt", dir / L"keep.txt"), Error);
  EXPECT_THROW(CopyFileTo(dir / L"keep.txt", dir.path()), Error);
  EXPECT_EQ(ReadBytes(dir / L"keep.txt"), "keep");
  // A destination whose folder does not exist.
  EXPECT_EQ(MessageOf<Error>([&] { CopyFileTo(dir / L"keep.txt", dir / L"nowhere\\x.txt"); }),
            L"ﾌｧｲﾙ " + (dir / L"nowhere\\x.txt") + L" を作成できません。");
}

TEST(MoveFileTo, WithinADriveRenames) {
  TempDir dir;
  CreateDirectoryW((dir / L"sub").c_str(), nullptr);
  const std::string bytes = Pattern(10000);
  WriteBytes(dir / L"a.bin", bytes);
  MoveFileTo(dir / L"a.bin", dir / L"sub\\b.bin");
  EXPECT_FALSE(FileExists(dir / L"a.bin"));
  EXPECT_EQ(ReadBytes(dir / L"sub\\b.bin"), bytes);
  // The system renames a read-only file too; only a refused rename matters.
  SetReadOnly(dir / L"sub\\b.bin");
  MoveFileTo(dir / L"sub\\b.bin", dir / L"c.bin");
  EXPECT_FALSE(FileExists(dir / L"sub\\b.bin"));
  EXPECT_TRUE(HasAttributes(dir / L"c.bin", kReadOnlyAttribute));
  EXPECT_EQ(ReadBytes(dir / L"c.bin"), bytes);
}

// The system refuses to rename onto an existing file: this is what happens
// when a file is dropped on a folder that already holds one of its name.
TEST(MoveFileTo, RefusedRenameOfAWritableSourceCopiesAndKeepsTheSource) {
  TempDir dir;
  WriteBytes(dir / L"a.txt", "new text");
  WriteBytes(dir / L"b.txt", "old text that is longer");
  MoveFileTo(dir / L"a.txt", dir / L"b.txt");
  EXPECT_EQ(ReadBytes(dir / L"b.txt"), "new text");
  EXPECT_EQ(ReadBytes(dir / L"a.txt"), "new text");
}

TEST(MoveFileTo, RefusedRenameOfAReadOnlySourceRaisesCannotMoveError) {
  TempDir dir;
  WriteBytes(dir / L"a.txt", "new text");
  WriteBytes(dir / L"b.txt", "old text");
  SetReadOnly(dir / L"a.txt");
  EXPECT_EQ(MessageOf<CannotMoveError>([&] { MoveFileTo(dir / L"a.txt", dir / L"b.txt"); }),
            L"Cannot move file " + (dir / L"a.txt"));
  EXPECT_EQ(ReadBytes(dir / L"a.txt"), "new text");
  EXPECT_EQ(ReadBytes(dir / L"b.txt"), "old text");
}

TEST(MoveFileTo, AMissingSourceIsAnErrorButNotCannotMoveError) {
  TempDir dir;
  EXPECT_EQ(MessageOf<Error>([&] { MoveFileTo(dir / L"missing.txt", dir / L"b.txt"); }),
            L"ﾌｧｲﾙ " + (dir / L"missing.txt") + L" は開けません。");
  EXPECT_FALSE(FileExists(dir / L"b.txt"));
}

TEST(SizeOfFile, GivesTheSizeOfFilesAndZeroOtherwise) {
  TempDir dir;
  WriteBytes(dir / L"a.bin", Pattern(12345));
  WriteBytes(dir / L"empty.bin", "");
  CreateDirectoryW((dir / L"sub").c_str(), nullptr);
  EXPECT_EQ(SizeOfFile(dir / L"a.bin"), 12345);
  EXPECT_EQ(SizeOfFile(dir / L"empty.bin"), 0);
  EXPECT_EQ(SizeOfFile(dir / L"missing.bin"), 0);
  EXPECT_EQ(SizeOfFile(dir / L"sub"), 0);
  CurrentDirectory here(dir.path());
  EXPECT_EQ(SizeOfFile(L"a.bin"), 12345);
}

TEST(SizeOfFile, KeepsTheHighBitsOfLargeFiles) {
  TempDir dir;
  {
    // A sparse file: the size is set without writing 4 GiB.
    ScopedHandle h(CreateFileW((dir / L"big.bin").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(h);
    LARGE_INTEGER size;
    size.QuadPart = 4294967296LL + 5;
    ASSERT_TRUE(SetFilePointerEx(h.get(), size, nullptr, FILE_BEGIN));
    ASSERT_TRUE(SetEndOfFile(h.get()));
  }
  EXPECT_EQ(SizeOfFile(dir / L"big.bin"), 4294967301LL);
}

TEST(DateOfFile, GivesTheLocalLastWriteTimeToTwoSeconds) {
  TempDir dir;
  WriteBytes(dir / L"a.txt", "x");
  SetLastWrite(dir / L"a.txt", 2024, 2, 29, 13, 45, 31);
  EXPECT_NEAR(DateOfFile(dir / L"a.txt"), 45351 + (13 * 3600 + 45 * 60 + 30) * kSecond, 0.1 * kSecond);

  CreateDirectoryW((dir / L"sub").c_str(), nullptr);
  SetLastWrite(dir / L"sub", 2000, 1, 1, 0, 0, 0);
  EXPECT_NEAR(DateOfFile(dir / L"sub"), 36526, 0.1 * kSecond);
}

TEST(DateOfFile, IsZeroForAMissingFileOrAStampBefore1980) {
  TempDir dir;
  EXPECT_EQ(DateOfFile(dir / L"missing.txt"), 0);
  WriteBytes(dir / L"old.txt", "x");
  SetLastWrite(dir / L"old.txt", 1975, 6, 15, 12, 0, 0);
  EXPECT_EQ(DateOfFile(dir / L"old.txt"), 0);
}

TEST(HasAttributes, TestsEveryBitOfTheMask) {
  TempDir dir;
  WriteBytes(dir / L"ro.txt", "x");
  SetReadOnly(dir / L"ro.txt");
  WriteBytes(dir / L"rw.txt", "x");
  CreateDirectoryW((dir / L"sub").c_str(), nullptr);

  EXPECT_TRUE(HasAttributes(dir / L"ro.txt", kReadOnlyAttribute));
  EXPECT_FALSE(HasAttributes(dir / L"ro.txt", kReadOnlyAttribute | kDirectoryAttribute));
  EXPECT_FALSE(HasAttributes(dir / L"ro.txt", kDirectoryAttribute));
  EXPECT_FALSE(HasAttributes(dir / L"rw.txt", kReadOnlyAttribute));
  EXPECT_TRUE(HasAttributes(dir / L"sub", kDirectoryAttribute));
  EXPECT_TRUE(HasAttributes(dir.path() + L"\\sub\\", kDirectoryAttribute));
  EXPECT_TRUE(HasAttributes(dir / L"rw.txt", 0));
  // Attributes that cannot be read have no bits, not even those of an empty mask.
  EXPECT_FALSE(HasAttributes(dir / L"missing", 0));
  EXPECT_FALSE(HasAttributes(dir / L"missing", kDirectoryAttribute));
  EXPECT_FALSE(HasAttributes(L"", kDirectoryAttribute));
}

namespace {
std::wstring SystemFile(const wchar_t* name) {
  wchar_t system[MAX_PATH];
  GetSystemDirectoryW(system, MAX_PATH);
  return std::wstring(system) + L"\\" + name;
}
}  // namespace

TEST(ShellStart, StartsAProgramWithItsParametersInItsDirectory) {
  TempDir dir;
  const int result = ShellStart(SystemFile(L"cmd.exe"), L"/c echo started> marker.txt", dir.path(), SW_HIDE);
  EXPECT_GT(result, 32);
  EXPECT_TRUE(PumpUntil([&] { return ReadBytes(dir / L"marker.txt") == "started\r\n"; }, 15000));
}

TEST(ShellStart, OpensADocumentByItsAssociation) {
  TempDir dir;
  WriteBytes(dir / L"start.bat", "@echo off\r\necho batch> marker.txt\r\n");
  const int result = ShellStart(dir / L"start.bat", L"", dir.path(), SW_HIDE);
  EXPECT_GT(result, 32);
  EXPECT_TRUE(PumpUntil([&] { return ReadBytes(dir / L"marker.txt") == "batch\r\n"; }, 15000));
}

TEST(ShellStart, TakesUpTo255CharactersAndRefusesLongerStrings) {
  TempDir dir;
  std::wstring parameters = L"/c echo long> marker.txt";
  parameters.resize(kShellStartMaxChars, L' ');
  EXPECT_EQ(ShellStart(SystemFile(L"cmd.exe"), parameters + L" ", dir.path(), SW_HIDE), kShellStartTooLong);
  EXPECT_EQ(ShellStart(std::wstring(256, L'a'), L"", L"", SW_HIDE), kShellStartTooLong);
  EXPECT_EQ(ShellStart(SystemFile(L"cmd.exe"), L"", std::wstring(256, L'a'), SW_HIDE), kShellStartTooLong);
  PumpFor(300);
  EXPECT_FALSE(FileExists(dir / L"marker.txt"));

  EXPECT_GT(ShellStart(SystemFile(L"cmd.exe"), parameters, dir.path(), SW_HIDE), 32);
  EXPECT_TRUE(PumpUntil([&] { return FileExists(dir / L"marker.txt"); }, 15000));
}

TEST(ShellStart, PassesTheShellsFailureBack) {
  TempDir dir;
  DialogAnswerer answers;  // in case the shell explains its failure in a box
  const int result = ShellStart(dir / L"missing.exe", L"", L"", SW_SHOWNORMAL);
  EXPECT_LE(result, 32);
  EXPECT_NE(result, kShellStartTooLong);
}

TEST(CopyFileTo, ADestinationInUseIsLeftWholeWithNothingBesideIt) {
  TempDir dir;
  WriteBytes(dir / L"source.bin", Pattern(3 * 8192));
  WriteBytes(dir / L"old.bin", "old contents");
  {
    ScopedHandle reader(CreateFileW((dir / L"old.bin").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(reader);
    EXPECT_THROW(CopyFileTo(dir / L"source.bin", dir / L"old.bin"), Error);
  }
  EXPECT_EQ(ReadBytes(dir / L"old.bin"), "old contents");
  CopyFileTo(dir / L"source.bin", dir / L"new.bin");
  WIN32_FIND_DATAW found;
  ScopedFind all(FindFirstFileW((dir / L"*").c_str(), &found));
  int entries = 0;
  if (all) do ++entries; while (FindNextFileW(all.get(), &found));
  EXPECT_EQ(entries, 5) << "., .., the source, the old file and the copy: nothing in the making";
}

// The host's process files report no size and come in pieces shorter than
// the copy's buffer: the copy reads on to the end, finds the sizes differ,
// and never replaces the destination with a part.
TEST(CopyFileTo, ASourceThatReadsShortIsNeverCopiedInPart) {
  const std::wstring source = L"Z:\\proc\\self\\maps";
  if (GetFileAttributesW(source.c_str()) == INVALID_FILE_ATTRIBUTES) GTEST_SKIP() << "no process files here";
  TempDir dir;
  WriteBytes(dir / L"copy.txt", "before");
  EXPECT_THROW(CopyFileTo(source, dir / L"copy.txt"), Error);
  EXPECT_EQ(ReadBytes(dir / L"copy.txt"), "before");
  EXPECT_FALSE(FileExists(dir / L"copy.~00")) << "nothing in the making is left";
}
