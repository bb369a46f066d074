// The recent-file list, the Open dialog and the arranging of editor windows,
// through the real main window under Wine.
#include <gtest/gtest.h>

#include "editor/editor_window.h"
#include "ui/main_frame_ids.h"
#include "state/settings.h"
#include "support/frame_fixture.h"

using namespace velkor;
using namespace velkor::test;

namespace {

std::string SevenFiles(const std::wstring& dir) {
  std::string ini = "[UsedFiles]\r\n";
  for (int n = 1; n <= 7; ++n) {
    const std::wstring path = dir + L"\\f" + std::to_wstring(n) + L".txt";
    ini += "UsedFile" + std::to_string(n) + "=" + std::string(path.begin(), path.end()) + "\r\n";
  }
  for (int n = 1; n <= 7; ++n) {
    const std::wstring path = dir + L"\\f" + std::to_wstring(n) + L".txt";
    ini += '[';
    ini.append(path.begin(), path.end());
    ini += "]\r\nEditFormWidth=300\r\n";
  }
  return ini;
}

}  // namespace

class RecentFiles : public FrameTest {
 protected:
  std::wstring F(int n) const { return dir_ / (L"f" + std::to_wstring(n) + L".txt"); }
  std::wstring Slot(int n) const { return frame_->recent_files().Entry(n); }
  std::wstring Stored(int n) const { return IniString(IniPath(), L"UsedFiles", L"UsedFile" + std::to_wstring(n)); }
};

TEST_F(RecentFiles, LoadFromTheSettingsFileIntoTheMenu) {
  WriteIni(SevenFiles(dir_.path()));
  StartFrame();
  for (int n = 1; n <= 7; ++n) {
    EXPECT_EQ(Slot(n), F(n));
    EXPECT_EQ(MenuText(frame_->main_menu(), IDM_USEDFILE1 + n - 1), L"&" + std::to_wstring(n) + L" " + F(n));
  }
}

TEST_F(RecentFiles, ASavedFileFromSlotFourMovesToTheTop) {
  WriteIni(SevenFiles(dir_.path()));
  StartFrame();
  frame_->NoteSavedFile(F(4));
  const int expected[] = {0, 4, 1, 2, 3, 5, 6, 7};
  for (int n = 1; n <= 7; ++n) {
    EXPECT_EQ(Slot(n), F(expected[n])) << n;
    EXPECT_EQ(Stored(n), F(expected[n])) << n;
  }
}

TEST_F(RecentFiles, SlotSevenMovesUpWithoutLosingItsSettings) {
  WriteIni(SevenFiles(dir_.path()));
  StartFrame();
  frame_->NoteSavedFile(F(7));
  EXPECT_EQ(Slot(1), F(7));
  EXPECT_EQ(Slot(7), F(6));
  EXPECT_EQ(IniString(IniPath(), F(7), L"EditFormWidth"), L"300");
}

TEST_F(RecentFiles, AnEighthFileErasesTheSettingsOfTheOneThatDropsOff) {
  WriteIni(SevenFiles(dir_.path()));
  StartFrame();
  const std::wstring eighth = dir_ / L"new.txt";
  frame_->NoteSavedFile(eighth);
  EXPECT_EQ(Slot(1), eighth);
  for (int n = 2; n <= 7; ++n) EXPECT_EQ(Slot(n), F(n - 1));
  EXPECT_EQ(IniString(IniPath(), F(7), L"EditFormWidth"), L"<none>") << "its section is gone";
  EXPECT_EQ(IniString(IniPath(), F(6), L"EditFormWidth"), L"300");
}

TEST_F(RecentFiles, PathsCompareWithoutLetterCase) {
  WriteIni(SevenFiles(dir_.path()));
  StartFrame();
  std::wstring upper = F(3);
  for (auto& c : upper) c = static_cast<wchar_t>(towupper(c));
  frame_->NoteSavedFile(upper);
  EXPECT_EQ(Slot(1), upper);
  EXPECT_EQ(Slot(4), F(4)) << "slot 3 moved up, the others below it stayed";
  int count = 0;
  for (int n = 1; n <= 7; ++n) count += _wcsicmp(Slot(n).c_str(), F(3).c_str()) == 0;
  EXPECT_EQ(count, 1);
}

TEST_F(RecentFiles, AMissingFileCanBeClearedAndItsEmptySlotStays) {
  WriteIni(SevenFiles(dir_.path()));
  StartFrame();
  DialogAnswerer answers;
  answers.Press(IDYES);
  SendMessageW(frame_->hwnd(), WM_COMMAND, IDM_USEDFILE1 + 2, 0);
  ASSERT_EQ(answers.seen().size(), 1u);
  EXPECT_EQ(answers.seen()[0].text,
            L"指定のファイルが見つかりません。\r\n\r\nf3.txt を削除か、移動されませんでしたか ?\r\n\r\n"
            L"それともネットワークでの使用ですか ?\r\n\r\n設定を消去しますか ?");
  EXPECT_EQ(answers.seen()[0].caption, L"情報");
  EXPECT_EQ(Slot(3), L"No Set");
  EXPECT_EQ(MenuText(frame_->main_menu(), IDM_USEDFILE1 + 2), L"&3 No Set");
  EXPECT_EQ(Stored(3), L"No Set");
  EXPECT_EQ(IniString(IniPath(), F(3), L"EditFormWidth"), L"<none>");
  EXPECT_TRUE(frame_->Editors().empty());

  // The next save of an unlisted file moves the empty slot down by one.
  frame_->NoteSavedFile(dir_ / L"other.txt");
  EXPECT_EQ(Slot(4), L"No Set");
  EXPECT_EQ(Slot(3), F(2));
}

TEST_F(RecentFiles, NoKeepsTheMissingEntry) {
  WriteIni(SevenFiles(dir_.path()));
  StartFrame();
  DialogAnswerer answers;
  answers.Press(IDNO);
  frame_->OpenRecentFile(5);
  EXPECT_EQ(Slot(5), F(5));
  EXPECT_EQ(IniString(IniPath(), F(5), L"EditFormWidth"), L"300");
}

TEST_F(RecentFiles, AnExistingFileReopensWithItsSettingsAndTheListStays) {
  WriteIni(SevenFiles(dir_.path()));
  WriteBytes(F(2), "two");
  StartFrame();
  frame_->OpenRecentFile(2);
  ASSERT_EQ(frame_->Editors().size(), 1u);
  EditorWindow* e = frame_->Editors()[0];
  EXPECT_EQ(e->file_path(), F(2));
  EXPECT_EQ(e->Tag, 0);
  RECT r{};
  GetWindowRect(e->hwnd(), &r);
  EXPECT_EQ(r.right - r.left, 300);
  EXPECT_EQ(Slot(1), F(1)) << "opening does not change the list";
}

TEST_F(RecentFiles, EmptySlotsDoNothing) {
  StartFrame();
  DialogAnswerer answers;
  for (int n = 1; n <= 7; ++n) frame_->OpenRecentFile(n);
  EXPECT_TRUE(answers.seen().empty());
  EXPECT_TRUE(frame_->Editors().empty());
}

TEST_F(RecentFiles, TheEditorsMirrorItemsReopenThroughTheMainWindow) {
  WriteIni(SevenFiles(dir_.path()));
  WriteBytes(F(1), "one");
  StartFrame();
  EditorWindow* e = frame_->NewChild();
  SendMessageW(e->hwnd(), WM_COMMAND, IDM_USEDFILE1, 0);
  EXPECT_EQ(frame_->Editors().size(), 2u);
}

TEST_F(RecentFiles, TheActiveEditorsMirrorFollowsAClearedSlotAtOnce) {
  WriteIni(SevenFiles(dir_.path()));
  StartFrame();
  EditorWindow* e = frame_->NewChild();
  DialogAnswerer answers;
  answers.Press(IDYES);
  // Chosen in the editor's File menu, which the main window's menu bar shows.
  SendMessageW(frame_->hwnd(), WM_COMMAND, IDM_USEDFILE1 + 2, 0);
  EXPECT_EQ(MenuText(e->menu_bar(), IDM_USEDFILE1 + 2), L"&3 No Set");
}

using OpenDialog = FrameTest;

TEST_F(OpenDialog, ProposesTheLastSavedFileAndOpensTheChoice) {
  const std::wstring last = dir_ / L"last.txt";
  WriteBytes(last, "last");
  Settings(IniPath()).WriteString(L"LastUse", L"File", last);
  StartFrame();
  std::wstring proposed;
  DialogAnswerer answers;
  answers.Then([&](HWND dlg) {
    HWND box = GetDlgItem(dlg, 0x47C);
    if (!box) box = GetDlgItem(dlg, 0x480);
    proposed = WindowText(box);
    DialogAnswerer::ChooseFile(last)(dlg);
  });
  EditorWindow* e = frame_->OpenChosenDocument();
  ASSERT_NE(e, nullptr);
  EXPECT_NE(proposed.find(L"last.txt"), std::wstring::npos) << "proposed: " << proposed.size();
  EXPECT_EQ(e->file_path(), last);
  EXPECT_EQ(e->Tag, 0);
  EXPECT_EQ(e->memo().Text(), L"last");
}

TEST_F(OpenDialog, CancelOpensNothing) {
  StartFrame();
  DialogAnswerer answers;
  answers.Press(IDCANCEL);
  EXPECT_EQ(frame_->OpenChosenDocument(), nullptr);
  EXPECT_TRUE(frame_->Editors().empty());
}

using Arranging = FrameTest;

TEST_F(Arranging, MinimizeAllRestoreAllAndMaximize) {
  StartFrame();
  EditorWindow* a = frame_->NewChild();
  EditorWindow* b = frame_->NewChild();
  frame_->MinimizeAll();
  EXPECT_TRUE(IsIconic(a->hwnd()));
  EXPECT_TRUE(IsIconic(b->hwnd()));
  frame_->RestoreAll();
  EXPECT_FALSE(IsIconic(a->hwnd()));
  EXPECT_FALSE(IsIconic(b->hwnd()));
  frame_->MaximizeActive();
  EXPECT_TRUE(IsZoomed(frame_->ActiveEditor()->hwnd()));
  // A new window first gives every window its normal state.
  EditorWindow* c = frame_->NewChild();
  EXPECT_FALSE(IsZoomed(a->hwnd()));
  EXPECT_FALSE(IsZoomed(b->hwnd()));
  EXPECT_EQ(frame_->ActiveEditor(), c);
}

TEST_F(Arranging, TilingAlternatesStartingWithTheVerticalMode) {
  StartFrame();
  EditorWindow* a = frame_->NewChild();
  EditorWindow* b = frame_->NewChild();
  auto rect = [](HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    return r;
  };
  frame_->TileEditors();
  RECT ra = rect(a->hwnd()), rb = rect(b->hwnd());
  EXPECT_EQ(ra.top, rb.top) << "vertical tiling puts the windows side by side";
  frame_->TileEditors();
  ra = rect(a->hwnd());
  rb = rect(b->hwnd());
  EXPECT_EQ(ra.left, rb.left) << "then one above the other";
  frame_->CascadeEditors();
  ra = rect(a->hwnd());
  rb = rect(b->hwnd());
  EXPECT_NE(ra.left, rb.left);
  EXPECT_NE(ra.top, rb.top);
  EditorWindow* active = frame_->ActiveEditor();
  frame_->ActivateNextEditor();
  EXPECT_NE(frame_->ActiveEditor(), active);
}
