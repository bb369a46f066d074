// The friends window as a user meets it: opened with F2, worked with keys,
// clicks, the wheel and its menus through the system's own routing, and
// judged by what it then shows.
#include <gtest/gtest.h>

#include "launcher/friends_window.h"
#include "launcher/friends_window_ids.h"
#include "platform/error.h"
#include "ui/app.h"
#include "support/frame_fixture.h"

using namespace velkor;
using namespace velkor::test;

namespace {

class FriendsInput : public FrameTest {
 protected:
  void SetUp() override {
    FrameTest::SetUp();
    GetCurrentDirectoryW(MAX_PATH, old_dir_);
    files_ = std::make_unique<TempDir>();
    StartFrame();
  }
  void TearDown() override {
    if (FriendsWindow* form = FriendsWindow::Get()) DestroyWindow(form->hwnd());
    SetCurrentDirectoryW(old_dir_);
    files_.reset();
    FrameTest::TearDown();
  }
  // F2 in the main window opens the friends window on the current directory.
  FriendsWindow& OpenIn(const std::wstring& dir) {
    SetCurrentDirectoryW(dir.c_str());
    SetForegroundWindow(frame_->hwnd());
    PressKey(VK_F2);
    EXPECT_TRUE(PumpUntil([] { return FriendsWindow::Get() != nullptr && GetForegroundWindow() == FriendsWindow::Get()->hwnd(); }));
    PumpFor(50);
    return *FriendsWindow::Get();
  }
  std::unique_ptr<TempDir> files_;
  wchar_t old_dir_[MAX_PATH] = L"";
};

HWND TopWindowOfClass(const wchar_t* cls) { return FindWindowW(cls, nullptr); }

std::wstring FileName(const std::wstring& path) { return path.substr(path.rfind(L'\\') + 1); }

TEST_F(FriendsInput, AfterEveryActivationTheArrowsMoveInTheTree) {
  for (const wchar_t* d : {L"a", L"b", L"c"}) CreateDirectoryW((*files_ / d).c_str(), nullptr);
  FriendsWindow& form = OpenIn(files_->path());
  const TreeView tree = form.Tree().tree();
  EXPECT_EQ(GetFocus(), form.Tree().hwnd()) << "after F2";
  const HTREEITEM start = tree.Selected();
  PressKey(VK_DOWN);
  EXPECT_NE(tree.Selected(), start);
  EXPECT_EQ(tree.Text(tree.Selected()), L"a");

  // A message box of its own: the mascot clicked with no file chosen.
  DialogAnswerer answers;
  answers.Press(IDOK);
  ClickAt(CentreOf(form.MascotButton()));
  ASSERT_EQ(answers.seen().size(), 1u);
  PumpFor(50);
  EXPECT_EQ(GetFocus(), form.Tree().hwnd()) << "after its message box";
  PressKey(VK_DOWN);
  EXPECT_EQ(tree.Text(tree.Selected()), L"b");

  // Another window in front, then this one again.
  SetForegroundWindow(frame_->hwnd());
  PumpFor(50);
  SetForegroundWindow(form.hwnd());
  PumpFor(50);
  PressKey(VK_DOWN);
  EXPECT_EQ(tree.Text(tree.Selected()), L"c");
}

TEST_F(FriendsInput, WithNothingFoundThePathStaysInTheDirectoryPanel) {
  WriteBytes(*files_ / L"a.txt", "a");
  CreateDirectoryW((*files_ / L"sub").c_str(), nullptr);
  FriendsWindow& form = OpenIn(files_->path());
  SetWindowTextW(form.MaskBox(), L"*.zzz");
  SetFocus(form.MaskBox());
  PressKey(VK_RETURN);
  EXPECT_EQ(form.FileList().Count(), 0);
  EXPECT_EQ(form.FilePanel().text(), L" 該当ファイルは、見つかりません。") << "Enter let go over the list";
  EXPECT_EQ(WindowText(form.hwnd()), L" ベルコ君のお友達");
  EXPECT_EQ(form.CounterPanel().text(), files_->path());

  ClickAt(CentreOf(form.BulkSearchButton()));
  EXPECT_EQ(form.FilePanel().text(), L" 下位ディレクトリにもありません");
  EXPECT_EQ(form.CounterPanel().text(), files_->path() + L" / *.ZZZ");
}

TEST_F(FriendsInput, F1OnTheMenuTitlesGivesTheirOwnTopics) {
  FriendsWindow& form = OpenIn(files_->path());
  HelpRequests help;
  // Into the menu bar, along the titles, F1, and out again.
  auto f1_on = [&](int rights, int downs) {
    SetForegroundWindow(form.hwnd());
    SendKeys({VK_F10});
    for (int i = 0; i < rights; ++i) SendKeys({VK_RIGHT});
    for (int i = 0; i < downs; ++i) SendKeys({VK_DOWN});
    SendKeys({VK_F1});
    for (int i = 0; i <= (downs > 0 ? 1 : 0); ++i) SendKeys({VK_ESCAPE});
    PressKeys({});
  };
  f1_on(0, 0);  // バイバイ
  f1_on(2, 0);  // 指定登録
  f1_on(4, 0);  // 表示行列数の設定
  f1_on(4, 1);  // its 行表示数
  f1_on(4, 2);  // its 列表示数
  f1_on(5, 0);  // 表示方法の切替
  f1_on(6, 0);  // 一気検索
  EXPECT_EQ(help.contexts(), (std::vector<int>{1030, 1230, 1250, 1250, 1250, 1250, 1030}));
}

TEST_F(FriendsInput, TheSplitCursorShowsOnlyInsideTheGrip) {
  FriendsWindow& form = OpenIn(files_->path());
  RECT panel{};
  GetWindowRect(form.TreeGripPanel().hwnd(), &panel);
  const int middle = (panel.top + panel.bottom) / 2;
  MovePointer(POINT{panel.right - 2, middle});
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_SIZEWE)) << "in the grip";
  MovePointer(POINT{panel.right - 40, middle});
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_ARROW)) << "over the tree";
}

TEST_F(FriendsInput, AClickOnAnEmptyThumbnailOpensThePreview) {
  WriteBytes(*files_ / L"a.zzz", "no icon in here");
  FriendsWindow& form = OpenIn(files_->path());
  SetFocus(form.FileList().hwnd());
  PressKey(VK_HOME);
  ASSERT_EQ(form.FilePanel().text(), L" 友達は      a.zzz だよ");
  ASSERT_TRUE(form.Thumbnail().picture().empty());
  RECT client{};
  WhenModal([] { return IsWindowVisible(TopWindowOfClass(L"TPreviewForm")) != FALSE; }, [&] {
    GetClientRect(TopWindowOfClass(L"TPreviewForm"), &client);
    SendKeys({VK_ESCAPE});
  });
  POINT thumbnail{62 + 16, 5 + 16};
  ClientToScreen(form.FilePanel().hwnd(), &thumbnail);
  ClickAt(thumbnail);
  PumpFor(200);
  EXPECT_EQ(client.right, 240) << "the preview at its size for nothing to show";
  EXPECT_EQ(client.bottom, 180);
  EXPECT_EQ(TopWindowOfClass(L"TPreviewForm"), nullptr);
}

TEST_F(FriendsInput, OneByOneAndTwoByTwoKeepTheRowsOfAListLowerThanARow) {
  WriteBytes(*files_ / L"a.txt", "a");
  FriendsWindow& form = OpenIn(files_->path());
  // A window so low that the list is a sliver.
  RECT list{}, window{};
  GetWindowRect(form.FileList().hwnd(), &list);
  GetWindowRect(form.hwnd(), &window);
  SetWindowPos(form.hwnd(), nullptr, 0, 0, window.right - window.left,
               (window.bottom - window.top) - (list.bottom - list.top) + GetSystemMetrics(SM_CYHSCROLL) / 2,
               SWP_NOMOVE | SWP_NOZORDER);
  PumpFor(50);
  ASSERT_LE(form.FileList().AvailableHeight(), 0);
  const int rows = form.FileList().ControlItemHeight();
  ASSERT_GT(rows, 0);
  RECT sliver{};
  GetWindowRect(form.FileList().hwnd(), &sliver);
  const POINT on_file{sliver.left + 20, (sliver.top + sliver.bottom) / 2};
  for (int item : {1, 2}) {  // 表示 (1x1), 表示 (2x2)
    WhenModal(MenuOpen, [item] {
      for (int i = 0; i < item; ++i) SendKeys({VK_DOWN});
      SendKeys({VK_RETURN});
    });
    ClickAt(on_file, true);
    PumpFor(200);
    ASSERT_EQ(form.FileList().Selected(), 0);
    EXPECT_EQ(form.FileList().ControlItemHeight(), rows) << item;
    EXPECT_EQ(form.FileList().ItemHeight(), rows) << item;
  }
  // The menu's Enter lets go over the list: it starts nothing there.
  EXPECT_EQ(IniString(IniPath(), L"VELKORA", L"SImage8FileName"), L"<none>");
}

TEST_F(FriendsInput, ARightClickAfterTheWheelTakesTheItemUnderThePointer) {
  for (int i = 0; i < 40; ++i) WriteBytes(*files_ / (L"f" + std::to_wstring(100 + i) + L".txt"), "x");
  FriendsWindow& form = OpenIn(files_->path());
  const ListBox list(form.FileList().hwnd());
  RECT first{};
  SendMessageW(list, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
  POINT at{(first.left + first.right) / 2, (first.top + first.bottom) / 2};
  const POINT in_list = at;
  ClientToScreen(list, &at);
  ClickAt(at);
  ASSERT_EQ(list.Selected(), 0);
  ASSERT_EQ(form.FilePanel().text(), L" 友達は      f100.txt だよ");
  TurnWheel(-1);
  const int under = LOWORD(SendMessageW(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(in_list.x, in_list.y)));
  ASSERT_NE(under, 0) << "the wheel scrolled nothing";
  WhenModal(MenuOpen, [] { EndMenu(); });  // no key: its release would reach the list
  ClickHere(true);  // the pointer has not moved since the first click
  PumpFor(100);
  EXPECT_EQ(list.Selected(), under);
  EXPECT_EQ(form.FilePanel().text(), L" 友達は      " + FileName(list.Text(under)) + L" だよ");
  EXPECT_EQ(form.selected_path(), list.Text(under)) << "what delete and recycle act on";
}

TEST_F(FriendsInput, OpenedOnADrivesRootTheTreeShowsTheDriveAndTheRootIsListed) {
  const std::wstring drive = files_->path().substr(0, 3);
  const std::wstring name = L"velkor-root-" + std::to_wstring(GetCurrentProcessId()) + L".txt";
  WriteBytes(drive + name, "root");
  FriendsWindow& form = OpenIn(drive);
  const TreeView tree = form.Tree().tree();
  EXPECT_EQ(tree.Text(tree.Root()), drive.substr(0, 2));
  EXPECT_EQ(tree.Selected(), tree.Root());
  bool listed = false;
  for (int i = 0; i < form.FileList().Count(); ++i) listed = listed || form.FileList().Text(i) == drive + name;
  EXPECT_TRUE(listed);
  DeleteFileW((drive + name).c_str());
}

TEST_F(FriendsInput, AnErrorInTheBulkSearchShowsTheListWithWhatWasFound) {
  WriteBytes(*files_ / L"r.txt", "12345");
  CreateDirectoryW((*files_ / L"sub").c_str(), nullptr);
  WriteBytes(*files_ / L"sub\\s.txt", "x");
  FriendsWindow& form = OpenIn(files_->path());
  // Another window's keys fail while the search lets messages through, once
  // the first file has come into the list.
  const HWND other = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  Application::Get().SetKeyHandler(other, [](MSG&) -> bool { throw Error(L"思いがけない失敗"); });
  SentMessages watch([&](const CWPSTRUCT& sent) {
    if (sent.message == LB_ADDSTRING && GetDlgCtrlID(sent.hwnd) == IDC_DIR_LIST) PostMessageW(other, WM_KEYDOWN, 'X', 0);
  });
  DialogAnswerer answers;
  answers.Press(IDOK);
  ClickAt(CentreOf(form.BulkSearchButton()));
  ASSERT_EQ(answers.seen().size(), 1u);
  EXPECT_EQ(answers.seen()[0].text, L"思いがけない失敗");
  EXPECT_TRUE(IsWindowVisible(form.FileList().hwnd()));
  EXPECT_EQ(form.FileList().Count(), 1);
  EXPECT_EQ(WindowText(form.hwnd()), L" 一気検索結果  Total Files = 1 ,Size = 5 Bytes");
  Application::Get().SetKeyHandler(other, nullptr);
  DestroyWindow(other);
}

}  // namespace
