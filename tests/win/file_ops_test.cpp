// The friends window's file operations on real files, under Wine.
#include <gtest/gtest.h>

#include <vector>

#include "launcher/browser_texts.h"
#include "launcher/file_ops.h"
#include "platform/file_utils.h"
#include "platform/scoped.h"
#include "support/win_test.h"

using namespace velkor;
using namespace velkor::test;

namespace {

// Answers each question in turn and keeps the texts asked.
struct Answers {
  std::vector<bool> replies;
  std::vector<std::wstring> asked;
  AskYesNo Ask() {
    return [this](const std::wstring& text) {
      asked.push_back(text);
      return asked.size() <= replies.size() && replies[asked.size() - 1];
    };
  }
};

// The attributes a user sets; the system adds the archive bit as it likes.
DWORD Attributes(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
}

// Holds path open for reading without sharing its deletion, as a program that
// has the file open does.
ScopedHandle HoldOpen(const std::wstring& path) {
  return ScopedHandle(
      CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
}

}  // namespace

TEST(DeleteListedFile, AReadOnlyFileKeepsItsAttributesUnlessItGoes) {
  TempDir dir;
  const std::wstring file = dir / L"ro.txt";
  WriteBytes(file, "x");
  const DWORD attributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;
  SetFileAttributesW(file.c_str(), attributes);
  Answers no{{false}};
  EXPECT_FALSE(DeleteListedFile(file, no.Ask()));
  EXPECT_EQ(no.asked[0], DeleteQuestion(L"ro.txt", true));
  EXPECT_EQ(Attributes(file), attributes);
  {
    ScopedHandle held = HoldOpen(file);
    ASSERT_TRUE(held);
    Answers yes{{true}};
    EXPECT_FALSE(DeleteListedFile(file, yes.Ask())) << "the file is in use";
    EXPECT_EQ(Attributes(file), attributes) << "the protection comes back";
  }
  Answers yes{{true}};
  EXPECT_TRUE(DeleteListedFile(file, yes.Ask()));
  EXPECT_FALSE(FileExists(file));
}

TEST(RecycleFile, ADeclinedOperationLeavesTheFile) {
  TempDir dir;
  WriteBytes(dir / L"a.txt", "keep");
  DialogAnswerer answers;
  answers.Press(IDNO);
  EXPECT_FALSE(RecycleFile(nullptr, dir / L"a.txt"));
  EXPECT_EQ(answers.seen().size(), 1u) << "the shell's own confirmation";
  EXPECT_EQ(ReadBytes(dir / L"a.txt"), "keep");
}

TEST(DropFileOnNode, AFileOfTheSameNameIsReplacedOnlyAfterTheSecondQuestion) {
  TempDir dir;
  CreateDirectoryW((dir / L"sub").c_str(), nullptr);
  for (bool copy : {true, false}) {
    SCOPED_TRACE(copy);
    WriteBytes(dir / L"a.txt", "new");
    WriteBytes(dir / L"sub\\a.txt", "old and longer");
    Answers no{{true, false}};
    EXPECT_FALSE(DropFileOnNode(dir / L"a.txt", dir / L"sub", copy, no.Ask()).source_left);
    ASSERT_EQ(no.asked.size(), 2u);
    EXPECT_EQ(no.asked[0], ConfirmOperationText(dir / L"a.txt", copy ? dir / L"sub" : dir / L"sub\\a.txt",
                                                copy ? L"コピーしますか " : L"移動しますか "));
    EXPECT_EQ(no.asked[1], OverwriteQuestion(dir / L"sub\\a.txt"));
    EXPECT_EQ(ReadBytes(dir / L"a.txt"), "new");
    EXPECT_EQ(ReadBytes(dir / L"sub\\a.txt"), "old and longer");

    Answers yes{{true, true}};
    const DropResult done = DropFileOnNode(dir / L"a.txt", dir / L"sub", copy, yes.Ask());
    EXPECT_EQ(done.source_left, !copy);
    EXPECT_TRUE(done.notice.empty());
    EXPECT_EQ(ReadBytes(dir / L"sub\\a.txt"), "new");
    EXPECT_EQ(FileExists(dir / L"a.txt"), copy);
  }
  // Dropped back on its own directory: nothing happens to it.
  Answers again{{true, true}};
  EXPECT_FALSE(DropFileOnNode(dir / L"sub\\a.txt", dir / L"sub", true, again.Ask()).source_left);
  EXPECT_EQ(ReadBytes(dir / L"sub\\a.txt"), "new");
}

TEST(DropFileOnNode, AMoveThatCouldOnlyCopySaysTheOriginalStayed) {
  TempDir dir;
  CreateDirectoryW((dir / L"sub").c_str(), nullptr);
  WriteBytes(dir / L"a.txt", "text");
  DropResult result;
  {
    ScopedHandle held = HoldOpen(dir / L"a.txt");  // refuses the rename, not the reading
    ASSERT_TRUE(held);
    Answers yes{{true}};
    result = DropFileOnNode(dir / L"a.txt", dir / L"sub", false, yes.Ask());
  }
  EXPECT_FALSE(result.source_left);
  EXPECT_EQ(result.notice, MoveStayedText(dir / L"a.txt", dir / L"sub\\a.txt"));
  EXPECT_EQ(ReadBytes(dir / L"a.txt"), "text");
  EXPECT_EQ(ReadBytes(dir / L"sub\\a.txt"), "text");

  // A read-only file whose rename is refused is reported as before.
  WriteBytes(dir / L"b.txt", "b");
  SetFileAttributesW((dir / L"b.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  ScopedHandle held = HoldOpen(dir / L"b.txt");
  Answers yes{{true}};
  EXPECT_THROW(DropFileOnNode(dir / L"b.txt", dir / L"sub", false, yes.Ask()), CannotMoveError);
  EXPECT_FALSE(FileExists(dir / L"sub\\b.txt"));
}

// With the drive's current directory elsewhere, a root node read by the
// system's rules for "C:" would put the copy there.
TEST(DropFileOnNode, ADrivesRootNodeCopiesIntoItsRoot) {
  TempDir dir;
  const std::wstring drive = dir.path().substr(0, 2);
  ASSERT_EQ(drive[1], L':');
  const std::wstring name = L"velkor-drop-" + std::to_wstring(GetCurrentProcessId()) + L".txt";
  WriteBytes(dir / name, "root");
  wchar_t old[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, old);
  SetCurrentDirectoryW(dir.path().c_str());
  Answers yes{{true}};
  DropFileOnNode(dir / name, drive, true, yes.Ask());
  SetCurrentDirectoryW(old);
  EXPECT_EQ(yes.asked[0], ConfirmOperationText(dir / name, drive + L"\\", L"コピーしますか "));
  EXPECT_EQ(ReadBytes(drive + L"\\" + name), "root");
  DeleteFileW((drive + L"\\" + name).c_str());
}
