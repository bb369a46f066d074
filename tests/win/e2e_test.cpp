// Velkor.exe as its own process: started, driven through its windows from
// outside, closed, and judged by the files it leaves.
#include <gtest/gtest.h>

#include <functional>

#include "editor/editor_ids.h"
#include "ui/main_frame_ids.h"
#include "state/settings.h"
#include "platform/files.h"
#include "support/velkor_process.h"
#include "support/win_test.h"

using namespace velkor;
using namespace velkor::test;

namespace {

class EndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    exe_ = dir_ / L"Velkor.exe";
    ASSERT_TRUE(CopyFileW((ModuleDir() + L"\\..\\Velkor.exe").c_str(), exe_.c_str(), FALSE));
  }
  TempDir dir_;
  std::wstring exe_;
};

}  // namespace

TEST_F(EndToEnd, StartsClosesWithTheFarewellAndLeavesItsPlacement) {
  VelkorProcess velkor(exe_, L"");
  ASSERT_TRUE(velkor.started());
  HWND frame = velkor.WaitWindow(L"Tframeform");
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(WindowText(frame), L"ベルコノート");

  PostMessageW(frame, WM_CLOSE, 0, 0);
  HWND box = velkor.WaitWindow(L"#32770");
  ASSERT_NE(box, nullptr);
  PumpFor(100);
  const std::wstring text = BoxText(box);
  EXPECT_NE(text.find(L" さん   お疲れさま !!\r\n\r\n  使用時間は 0 分 "), std::wstring::npos);
  EXPECT_NE(text.find(L"    また使ってね !!"), std::wstring::npos);
  DialogAnswerer::Click(box, IDOK);
  ASSERT_TRUE(velkor.WaitExit(10000));

  const std::wstring ini = dir_ / L"Velkor.INI";
  ASSERT_TRUE(FileExists(ini)) << "the settings file lies beside the program";
  Settings settings(ini);
  EXPECT_EQ(settings.ReadInteger(L"Tframeform", L"PlaceShowCmd", -1), SW_SHOWNORMAL);
  const int left = settings.ReadInteger(L"Tframeform", L"PlaceNormalPos.Left", -1);
  const int right = settings.ReadInteger(L"Tframeform", L"PlaceNormalPos.Right", -1);
  EXPECT_GT(right - left, 600);
}

TEST_F(EndToEnd, StartedMinimizedComesUpMinimized) {
  VelkorProcess velkor(exe_, L"", SW_SHOWMINNOACTIVE);
  ASSERT_TRUE(velkor.started());
  HWND frame = velkor.WaitWindow(L"Tframeform");
  ASSERT_NE(frame, nullptr);
  PumpUntil([&] { return IsIconic(frame) != 0; }, 3000);
  EXPECT_TRUE(IsIconic(frame));
}

TEST_F(EndToEnd, EditsAndSavesAFileNamedOnTheCommandLine) {
  const std::wstring doc = dir_ / L"daily memo.txt";
  WriteBytes(doc, "\x8D\xA1\x93\xFA\r\n");  // 今日
  VelkorProcess velkor(exe_, L"\"" + doc + L"\"");
  ASSERT_TRUE(velkor.started());
  HWND frame = velkor.WaitWindow(L"Tframeform");
  ASSERT_NE(frame, nullptr);
  HWND memo = nullptr;
  PumpUntil([&] { return (memo = FindChild(frame, RICHEDIT_CLASSW)) != nullptr; });
  ASSERT_NE(memo, nullptr) << "the file opened in an editor window";

  // Type at the end, as a user would, then save through the program's command.
  PostMessageW(memo, EM_SETSEL, 1000, 1000);
  for (wchar_t c : std::wstring(L"晴れ")) PostMessageW(memo, WM_CHAR, c, 1);
  PumpFor(200);
  PostMessageW(frame, WM_COMMAND, IDM_SAVE1, 0);
  HWND box = velkor.WaitWindow(L"#32770");
  ASSERT_NE(box, nullptr);
  PumpFor(100);
  EXPECT_NE(BoxText(box).find(L"正常に保存しました !!"), std::wstring::npos) << std::string("box: ") +
                                                                                    std::to_string(BoxText(box).size());
  DialogAnswerer::Click(box, IDOK);
  PumpFor(300);

  EXPECT_EQ(ReadBytes(doc), "\x8D\xA1\x93\xFA\r\n\x90\xB0\x82\xEA");  // 今日 CR LF 晴れ
  EXPECT_EQ(ReadBytes(dir_ / L"daily memo.BAK"), "\x8D\xA1\x93\xFA\r\n");

  // Leaving: one editor is open, so the program asks first.
  PostMessageW(frame, WM_CLOSE, 0, 0);
  HWND confirm = nullptr;
  PumpUntil([&] {
    confirm = velkor.Find(L"#32770");
    return confirm && BoxText(confirm).find(L"本当に終了しますか。") != std::wstring::npos;
  });
  ASSERT_NE(confirm, nullptr);
  EXPECT_NE(BoxText(confirm).find(L"編集中のエディットフォームが  1  つ有ります。"), std::wstring::npos);
  DialogAnswerer::Click(confirm, IDYES);
  ASSERT_TRUE(velkor.WaitExit(10000));

  Settings settings(dir_ / L"Velkor.INI");
  EXPECT_EQ(settings.ReadString(L"UsedFiles", L"UsedFile1", L""), doc);
  EXPECT_EQ(settings.ReadString(L"LastUse", L"File", L""), doc);
  EXPECT_EQ(settings.ReadString(doc, L"File", L""), doc);
  EXPECT_EQ(settings.ReadString(doc, L"Name", L""), L"ＭＳ ゴシック");
}

// A save cut off after its temporary file is written and before it takes the
// document's name, as by a crash or a power cut.
TEST_F(EndToEnd, ASaveCutOffBeforeTheReplaceLeavesTheNameOnAWholeFileAndTheNextStartNamesTheLeftover) {
  const std::wstring doc = dir_ / L"memo.txt";
  WriteBytes(doc, "old\r\n");
  SetEnvironmentVariableW(kEndBeforeReplaceVariable, L"1");
  VelkorProcess velkor(exe_, L"\"" + doc + L"\"");
  SetEnvironmentVariableW(kEndBeforeReplaceVariable, nullptr);
  ASSERT_TRUE(velkor.started());
  HWND frame = velkor.WaitWindow(L"Tframeform");
  ASSERT_NE(frame, nullptr);
  HWND memo = nullptr;
  PumpUntil([&] { return (memo = FindChild(frame, RICHEDIT_CLASSW)) != nullptr; });
  ASSERT_NE(memo, nullptr);
  PostMessageW(memo, EM_SETSEL, 1000, 1000);
  for (wchar_t c : std::wstring(L"new")) PostMessageW(memo, WM_CHAR, c, 1);
  PumpFor(200);
  PostMessageW(frame, WM_COMMAND, IDM_SAVE1, 0);
  ASSERT_TRUE(velkor.WaitExit(10000)) << "the test hook ends the process in the middle of the save";

  EXPECT_EQ(ReadBytes(doc), "old\r\n") << "the document's name still opens the whole old file";
  EXPECT_EQ(ReadBytes(dir_ / L"memo.BAK"), "old\r\n");
  EXPECT_EQ(ReadBytes(dir_ / L"memo.~00"), "old\r\nnew") << "the new text waits in the temporary file";

  VelkorProcess again(exe_, L"\"" + doc + L"\"");
  ASSERT_TRUE(again.started());
  HWND box = again.WaitWindow(L"#32770");
  ASSERT_NE(box, nullptr);
  PumpFor(100);
  EXPECT_NE(BoxText(box).find(L"memo.~00"), std::wstring::npos) << "the next start names the leftover";
  EXPECT_NE(BoxText(box).find(L"前回は途中で終わっています"), std::wstring::npos);
  DialogAnswerer::Click(box, IDOK);
}
