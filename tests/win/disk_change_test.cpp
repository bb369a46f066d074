// A document whose file changes on disk while its window is open: written
// by another program, or saved from a second window on the same file. The
// window asks before a save writes over the change, and says once per
// change, when it becomes active, that the file is no longer what it read.
#include <gtest/gtest.h>

#include "editor/editor_ids.h"
#include "editor/editor_window.h"
#include "ui/main_frame_ids.h"
#include "support/frame_fixture.h"

using namespace velkor;
using namespace velkor::test;

namespace {

bool Says(const DialogAnswerer::Seen& box, const std::wstring& part) {
  return box.text.find(part) != std::wstring::npos;
}

// Another program writes the file: the command processor, to its end.
void RewriteElsewhere(const std::wstring& path, const std::string& line) {
  std::wstring command = L"cmd.exe /c echo " + std::wstring(line.begin(), line.end()) + L">\"" + path + L"\"";
  STARTUPINFOW si{sizeof si};
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                             &si, &pi));
  WaitForSingleObject(pi.hProcess, 30000);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  ASSERT_EQ(ReadBytes(path), line + "\r\n");
}

}  // namespace

class DiskChange : public FrameTest {
 protected:
  void SetUp() override {
    FrameTest::SetUp();
    StartFrame();
  }
  EditorWindow* Drop(const std::wstring& path) {
    const size_t before = frame_->Editors().size();
    DropFiles(frame_->hwnd(), {path});
    return frame_->Editors().size() > before ? frame_->ActiveEditor() : nullptr;
  }
  void TypeAtEnd(EditorWindow* e, const std::wstring& text) {
    e->memo().SetSel(e->memo().TextLength(), 0);
    for (wchar_t c : text) SendMessageW(e->memo().hwnd(), WM_CHAR, c, 1);
  }
  void Save(EditorWindow* e) {
    SendMessageW(e->hwnd(), WM_COMMAND, IDM_SAVE1, 0);
    PumpFor(50);
  }
  // A click into the editor's text, with the windows tiled so that each
  // shows; then lets the editor's check run.
  void ActivateByClick(EditorWindow* e) {
    SendMessageW(frame_->hwnd(), WM_COMMAND, IDM_TILE1, 0);
    PumpFor(50);
    ClickAt(CentreOf(e->memo().hwnd()));
    ASSERT_EQ(frame_->ActiveEditor(), e);
    PumpFor(100);
  }
};

TEST_F(DiskChange, ASaveOverAFileRewrittenElsewhereAsksFirstAndEachAnswerKeepsItsWord) {
  const std::wstring path = dir_ / L"memo.txt";
  WriteBytes(path, "first\r\n");
  DialogAnswerer answers;
  EditorWindow* e = Drop(path);
  ASSERT_NE(e, nullptr);
  TypeAtEnd(e, L"mine");
  // Written behind the window's back while the program stays active (so no
  // activation tells of it first).
  WriteBytes(path, "theirs, a longer line\r\n");

  answers.Press(IDCANCEL);
  Save(e);
  ASSERT_EQ(answers.seen().size(), 1u);
  EXPECT_TRUE(Says(answers.seen()[0], L"ﾌｧｲﾙ " + path + L" は、読み込んだ後にほかで書き換えられています。"));
  EXPECT_EQ(ReadBytes(path), "theirs, a longer line\r\n") << "cancel writes nothing";
  EXPECT_TRUE(e->memo().Modified());

  answers.Press(IDYES);
  answers.Press(IDOK);
  Save(e);
  ASSERT_EQ(answers.seen().size(), 3u) << "asked again, then saved";
  EXPECT_TRUE(Says(answers.seen()[2], L"正常に保存しました !!"));
  EXPECT_EQ(ReadBytes(path), "first\r\nmine");
  EXPECT_FALSE(e->memo().Modified());

  // The window's own save is no change: the next save asks nothing.
  TypeAtEnd(e, L"!");
  answers.Press(IDOK);
  Save(e);
  ASSERT_EQ(answers.seen().size(), 4u);
  EXPECT_EQ(ReadBytes(path), "first\r\nmine!");

  // Keeping the disk's version reads it into the window and writes nothing.
  TypeAtEnd(e, L"lost");
  WriteBytes(path, "disk wins\r\n");
  answers.Press(IDNO);
  Save(e);
  ASSERT_EQ(answers.seen().size(), 5u);
  EXPECT_EQ(ReadBytes(path), "disk wins\r\n");
  EXPECT_EQ(e->memo().Text(), L"disk wins\r\n");
  EXPECT_FALSE(e->memo().Modified());
  EXPECT_EQ(answers.unexpected(), 0);
}

TEST_F(DiskChange, ActivationTellsOfAChangeOnceAndReloadsOnlyWhenAsked) {
  const std::wstring path = dir_ / L"watched.txt";
  WriteBytes(path, "one\r\n");
  DialogAnswerer answers;
  EditorWindow* watched = Drop(path);
  ASSERT_NE(watched, nullptr);
  EditorWindow* other = frame_->NewChild();
  ASSERT_EQ(frame_->ActiveEditor(), other);

  RewriteElsewhere(path, "two");
  answers.Press(IDNO);  // keep what the window shows
  ActivateByClick(watched);
  ASSERT_EQ(answers.seen().size(), 1u);
  EXPECT_TRUE(Says(answers.seen()[0], L"ディスクの内容を読み込み直しますか ?"));
  EXPECT_EQ(watched->memo().Text(), L"one\r\n");

  ActivateByClick(other);
  ActivateByClick(watched);
  EXPECT_EQ(answers.seen().size(), 1u) << "the same change is told once";

  // A further change is news again; with unsaved text the reload asks twice.
  TypeAtEnd(watched, L"typed");
  ActivateByClick(other);
  RewriteElsewhere(path, "three");
  answers.Press(IDYES);
  answers.Press(IDNO);
  ActivateByClick(watched);
  ASSERT_EQ(answers.seen().size(), 3u);
  EXPECT_TRUE(Says(answers.seen()[2], L"保存していない変更があります。"));
  EXPECT_EQ(watched->memo().Text(), L"one\r\ntyped") << "no, so the typed text stays";

  ActivateByClick(other);
  RewriteElsewhere(path, "four");
  answers.Press(IDYES);
  answers.Press(IDYES);
  ActivateByClick(watched);
  ASSERT_EQ(answers.seen().size(), 5u);
  EXPECT_EQ(watched->memo().Text(), L"four\r\n");
  EXPECT_FALSE(watched->memo().Modified());
  EXPECT_EQ(answers.unexpected(), 0);
}

TEST_F(DiskChange, TheSameFileInTwoWindowsSavedInOneMakesTheOtherAskBeforeItsSave) {
  const std::wstring path = dir_ / L"twice.txt";
  WriteBytes(path, "shared\r\n");
  DialogAnswerer answers;
  EditorWindow* first = Drop(path);
  EditorWindow* second = Drop(path);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  ASSERT_NE(first, second);
  TypeAtEnd(first, L"A");
  TypeAtEnd(second, L"B");

  ActivateByClick(first);
  answers.Press(IDOK);
  Save(first);
  ASSERT_EQ(answers.seen().size(), 1u);
  EXPECT_EQ(ReadBytes(path), "shared\r\nA");

  answers.Press(IDNO);  // told at activation; keep
  ActivateByClick(second);
  ASSERT_EQ(answers.seen().size(), 2u);
  answers.Press(IDCANCEL);
  Save(second);
  ASSERT_EQ(answers.seen().size(), 3u);
  EXPECT_TRUE(Says(answers.seen()[2], L"読み込んだ後にほかで書き換えられています。"));
  EXPECT_EQ(ReadBytes(path), "shared\r\nA") << "the first window's save stands";
  EXPECT_EQ(second->memo().Text(), L"shared\r\nB");
  EXPECT_EQ(answers.unexpected(), 0);
}
