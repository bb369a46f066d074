// Unsaved text that survives the end of the process: Velkor.exe is started,
// typed into, ended with TerminateProcess, and started again beside the
// same recovery folder.
#include <gtest/gtest.h>

#include <richedit.h>

#include <vector>

#include "editor/editor_ids.h"
#include "editor/recovery_copy.h"
#include "editor/recovery_journal.h"
#include "ui/main_frame_ids.h"
#include "support/velkor_process.h"
#include "support/win_test.h"

using namespace velkor;
using namespace velkor::test;

namespace {

struct Editor {
  HWND window = nullptr;
  HWND memo = nullptr;
};

// The editor windows of a main window, by caption.
std::vector<std::pair<std::wstring, Editor>> EditorsOf(HWND frame) {
  std::vector<std::pair<std::wstring, Editor>> list;
  HWND client = FindChild(frame, L"MDICLIENT");
  for (HWND w = client ? GetWindow(client, GW_CHILD) : nullptr; w; w = GetWindow(w, GW_HWNDNEXT)) {
    if (GetWindow(w, GW_OWNER)) continue;
    if (HWND memo = FindChild(w, RICHEDIT_CLASSW)) list.push_back({WindowText(w), {w, memo}});
  }
  return list;
}

Editor EditorCalled(HWND frame, const std::wstring& caption) {
  for (const auto& [name, editor] : EditorsOf(frame))
    if (name.find(caption) != std::wstring::npos) return editor;
  return {};
}

// The text of a control of another process (GetWindowText gives only captions there).
std::wstring MemoText(HWND memo) {
  const LRESULT length = SendMessageW(memo, WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      SendMessageW(memo, WM_GETTEXT, static_cast<WPARAM>(text.size()), reinterpret_cast<LPARAM>(text.data()))));
  return text;
}

void Type(HWND memo, const std::wstring& text) {
  for (wchar_t c : text) PostMessageW(memo, WM_CHAR, c, 1);
  PumpFor(100);
}

std::pair<int, int> Selection(HWND memo) {
  DWORD start = 0, end = 0;
  SendMessageW(memo, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return {static_cast<int>(start), static_cast<int>(end)};
}

// A message box of the process whose text has the part.
HWND WaitBox(VelkorProcess& velkor, const std::wstring& part, int timeout_ms = 10000) {
  HWND box = nullptr;
  PumpUntil(
      [&] {
        box = velkor.Find(L"#32770");
        return box && BoxText(box).find(part) != std::wstring::npos;
      },
      timeout_ms);
  return box && BoxText(box).find(part) != std::wstring::npos ? box : nullptr;
}

}  // namespace

class Recovery : public ::testing::Test {
 protected:
  void SetUp() override {
    exe_ = dir_ / L"Velkor.exe";
    ASSERT_TRUE(CopyFileW((ModuleDir() + L"\\..\\Velkor.exe").c_str(), exe_.c_str(), FALSE));
    folder_ = RecoveryFolderFor(dir_ / L"Velkor.INI");
  }
  std::vector<std::wstring> Files(const wchar_t* pattern = L"*") const {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW entry{};
    HANDLE find = FindFirstFileW((folder_ + L"\\" + pattern).c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
      if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.emplace_back(entry.cFileName);
    } while (FindNextFileW(find, &entry));
    FindClose(find);
    return names;
  }
  bool WaitCopies(std::size_t count) {
    return PumpUntil([&] { return Files(L"*.copy").size() == count; }, 15000);
  }
  HWND NewEditor(VelkorProcess& velkor, HWND frame) {
    const std::size_t before = EditorsOf(frame).size();
    PostMessageW(frame, WM_COMMAND, IDM_NEW1, 0);
    PumpUntil([&] { return EditorsOf(frame).size() > before; });
    return EditorCalled(frame, L"NewFile").memo;
  }
  TempDir dir_;
  std::wstring exe_;
  std::wstring folder_;
};

TEST_F(Recovery, TextOfACrashedRunComesBackWithItsEncodingPathAndCaretAndItsCopiesGoWhenSettled) {
  const std::wstring doc = dir_ / L"memo.txt";
  WriteBytes(doc, "caf\xC3\xA9\nline\n");  // UTF-8, LF breaks
  {
    VelkorProcess first(exe_, L"\"" + doc + L"\"");
    HWND frame = first.WaitWindow(L"Tframeform");
    ASSERT_NE(frame, nullptr);
    HWND memo = nullptr;
    PumpUntil([&] { return (memo = EditorCalled(frame, L"memo.txt").memo) != nullptr; });
    ASSERT_NE(memo, nullptr);
    PostMessageW(memo, EM_SETSEL, 2, 2);
    Type(memo, L"追記");
    HWND untitled = NewEditor(first, frame);
    ASSERT_NE(untitled, nullptr);
    Type(untitled, L"下書き");
    ASSERT_TRUE(WaitCopies(2)) << "each modified editor has its copy a short while after typing stops";
    first.Kill();
  }
  EXPECT_EQ(ReadBytes(doc), "caf\xC3\xA9\nline\n") << "the file itself is not touched";

  VelkorProcess second(exe_, L"");
  HWND frame = second.WaitWindow(L"Tframeform");
  ASSERT_NE(frame, nullptr);
  HWND offer = WaitBox(second, L"前回、保存されないまま終わった文章が 2 つあります。");
  ASSERT_NE(offer, nullptr);
  EXPECT_NE(BoxText(offer).find(doc), std::wstring::npos);
  EXPECT_NE(BoxText(offer).find(L"NewFile 1"), std::wstring::npos);
  EXPECT_NE(BoxText(offer).find(L"「下書き」"), std::wstring::npos);
  DialogAnswerer::Click(offer, IDYES);
  // Each restored window has its text before the next one opens.
  PumpUntil([&] {
    const Editor last = EditorCalled(frame, L"NewFile");
    return EditorsOf(frame).size() == 2 && last.memo && !MemoText(last.memo).empty();
  });

  const Editor restored = EditorCalled(frame, L"memo.txt");
  ASSERT_NE(restored.memo, nullptr);
  EXPECT_EQ(MemoText(restored.memo), L"ca追記fé\r\nline\r\n");
  EXPECT_EQ(Selection(restored.memo), std::make_pair(4, 4));
  const Editor draft = EditorCalled(frame, L"NewFile");
  ASSERT_NE(draft.memo, nullptr);
  EXPECT_EQ(MemoText(draft.memo), L"下書き");
  EXPECT_EQ(Selection(draft.memo), std::make_pair(3, 3));

  // Saved, the document goes to its own file in its own encoding and breaks.
  PostMessageW(restored.window, WM_COMMAND, IDM_SAVE1, 0);
  HWND saved = WaitBox(second, L"正常に保存しました !!");
  ASSERT_NE(saved, nullptr);
  DialogAnswerer::Click(saved, IDOK);
  EXPECT_EQ(ReadBytes(doc), "ca\xE8\xBF\xBD\xE8\xA8\x98\x66\xC3\xA9\nline\n");
  // The draft closed with "No": nothing of the crashed run, nor of this one, is left.
  PostMessageW(draft.window, WM_COMMAND, IDM_CLOSE1, 0);
  HWND question = WaitBox(second, L"を　保存しますか　?");
  ASSERT_NE(question, nullptr);
  DialogAnswerer::Click(question, IDNO);
  EXPECT_TRUE(PumpUntil([&] { return Files(L"*.copy").empty(); }));

  // A clean exit leaves the folder empty.
  PostMessageW(restored.memo, WM_CHAR, L'!', 1);
  ASSERT_TRUE(WaitCopies(1));
  PostMessageW(frame, WM_CLOSE, 0, 0);
  HWND keep = WaitBox(second, L"を　保存しますか　?");
  ASSERT_NE(keep, nullptr);
  DialogAnswerer::Click(keep, IDNO);
  HWND confirm = WaitBox(second, L"本当に終了しますか。");
  ASSERT_NE(confirm, nullptr);
  DialogAnswerer::Click(confirm, IDYES);
  ASSERT_TRUE(second.WaitExit(10000));
  EXPECT_TRUE(Files().empty());
}

TEST_F(Recovery, ASecondInstanceOffersNothingOfTheFirstAndTheFirstsCopyOutlivesIt) {
  VelkorProcess first(exe_, L"");
  HWND frame = first.WaitWindow(L"Tframeform");
  ASSERT_NE(frame, nullptr);
  HWND memo = NewEditor(first, frame);
  ASSERT_NE(memo, nullptr);
  Type(memo, L"running");
  ASSERT_TRUE(WaitCopies(1));

  {
    VelkorProcess beside(exe_, L"");
    HWND other = beside.WaitWindow(L"Tframeform");
    ASSERT_NE(other, nullptr);
    PumpFor(1500);
    EXPECT_EQ(beside.Find(L"#32770"), nullptr) << "the running program's copies are not offered";
    PostMessageW(other, WM_CLOSE, 0, 0);
    HWND bye = WaitBox(beside, L"また使ってね");
    ASSERT_NE(bye, nullptr);
    DialogAnswerer::Click(bye, IDOK);
    ASSERT_TRUE(beside.WaitExit(10000));
  }
  EXPECT_EQ(Files(L"*.copy").size(), 1u) << "the other's clean exit left the first's copy";
  first.Kill();

  VelkorProcess again(exe_, L"");
  ASSERT_NE(WaitBox(again, L"文章が 1 つあります。"), nullptr) << "once the first has ended, its copy is offered";
}

TEST_F(Recovery, ADamagedCopyIsReportedAndKeptNotRestored) {
  CreateDirectoryW(folder_.c_str(), nullptr);
  RecoveryCopy copy;
  copy.number = 1;
  copy.text = L"大事なメモ";
  std::string bytes = EncodeRecoveryCopy(copy);
  bytes[bytes.size() / 2] ^= 0x20;
  const std::wstring damaged = folder_ + L"\\" + CopyFileName(L"0000000000000001-00000001-1", 1);
  WriteBytes(damaged, bytes);

  VelkorProcess velkor(exe_, L"");
  HWND box = WaitBox(velkor, L"壊れているため、復元できません。");
  ASSERT_NE(box, nullptr);
  EXPECT_NE(BoxText(box).find(damaged), std::wstring::npos);
  DialogAnswerer::Click(box, IDOK);
  PumpFor(500);
  EXPECT_EQ(velkor.Find(L"#32770"), nullptr) << "nothing else to offer";
  HWND frame = velkor.WaitWindow(L"Tframeform");
  EXPECT_TRUE(EditorsOf(frame).empty());
  EXPECT_EQ(ReadBytes(damaged), bytes);
}

TEST_F(Recovery, AWriteCutOffHalfWayLeavesThePreviousCopyToComeBack) {
  SetEnvironmentVariableW(kEndInCopyVariable, L"2");
  VelkorProcess first(exe_, L"");
  SetEnvironmentVariableW(kEndInCopyVariable, nullptr);
  HWND frame = first.WaitWindow(L"Tframeform");
  ASSERT_NE(frame, nullptr);
  HWND memo = NewEditor(first, frame);
  ASSERT_NE(memo, nullptr);
  Type(memo, L"kept");
  ASSERT_TRUE(WaitCopies(1));
  Type(memo, L" and lost");
  ASSERT_TRUE(first.WaitExit(15000)) << "the second write ends the process half-way";

  VelkorProcess second(exe_, L"");
  HWND second_frame = second.WaitWindow(L"Tframeform");
  HWND offer = WaitBox(second, L"文章が 1 つあります。");
  ASSERT_NE(offer, nullptr);
  DialogAnswerer::Click(offer, IDYES);
  PumpUntil([&] {
    const Editor only = EditorCalled(second_frame, L"NewFile");
    return only.memo && !MemoText(only.memo).empty();
  });
  const Editor restored = EditorCalled(second_frame, L"NewFile");
  ASSERT_NE(restored.memo, nullptr);
  EXPECT_EQ(MemoText(restored.memo), L"kept");
  // The unfinished write is cleared away with the copy it would have replaced.
  EXPECT_TRUE(PumpUntil([&] { return Files(L"*.copy").size() == 1 && Files(L"*.~*").empty(); }));
}

TEST_F(Recovery, AFolderThatCannotBeWrittenIsReportedOnce) {
  WriteBytes(folder_, "a file where the folder would be");
  VelkorProcess velkor(exe_, L"");
  HWND frame = velkor.WaitWindow(L"Tframeform");
  ASSERT_NE(frame, nullptr);
  HWND memo = NewEditor(velkor, frame);
  ASSERT_NE(memo, nullptr);
  Type(memo, L"one");
  HWND box = WaitBox(velkor, L"に書き込めません。");
  ASSERT_NE(box, nullptr);
  EXPECT_NE(BoxText(box).find(folder_), std::wstring::npos);
  DialogAnswerer::Click(box, IDOK);
  Type(memo, L" two");
  PumpFor(3500);
  EXPECT_EQ(velkor.Find(L"#32770"), nullptr) << "said once";
  EXPECT_EQ(MemoText(memo), L"one two") << "typing goes on";
}
