// The friends window's launcher row, driven through the real list and menus
// under Wine, with files and a settings file in temporary folders.
#include <gtest/gtest.h>

#include <cstring>

#include "launcher/friends_window.h"
#include "launcher/friends_window_ids.h"
#include "support/frame_fixture.h"

using namespace velkor;
using namespace velkor::test;

namespace {

POINT Center(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

class LauncherButtons : public FrameTest {
 protected:
  void SetUp() override {
    FrameTest::SetUp();
    marker_ = files_ / L"marker.exe";
    ASSERT_TRUE(CopyFileW((ModuleDir() + L"\\marker.exe").c_str(), marker_.c_str(), FALSE));
    WriteBytes(doc_, "text");
  }
  void TearDown() override {
    if (FriendsWindow* form = FriendsWindow::Get()) DestroyWindow(form->hwnd());
    FrameTest::TearDown();
  }
  FriendsWindow& Open() {
    if (!frame_) StartFrame();
    FriendsWindow& form = *FriendsWindow::Show();
    form.Tree().SelectPath(files_.path());
    form.ListChosenDirectory(files_.path());
    return form;
  }
  int Index(FriendsWindow& form, const std::wstring& path) {
    return static_cast<int>(SendMessageW(form.FileList().hwnd(), LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                         reinterpret_cast<LPARAM>(path.c_str())));
  }
  void Command(FriendsWindow& form, int id, const std::wstring& selected) {
    form.FileList().Select(Index(form, selected));
    SendMessageW(form.hwnd(), WM_COMMAND, static_cast<WPARAM>(id), 0);
  }
  // The marker's command line once it ran, "" when it did not run in time.
  std::wstring Ran() {
    if (!PumpUntil([&] { return FileExists(marker_ + L".ran"); }, 10000)) return L"";
    PumpFor(100);
    const std::string bytes = ReadBytes(marker_ + L".ran");
    DeleteFileW((marker_ + L".ran").c_str());
    return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
  }
  std::wstring Key(int n) { return IniString(IniPath(), L"VELKORA", L"SImage" + std::to_wstring(n) + L"FileName"); }

  // Carries the document from the list to a screen point and lets it go
  // there; the cursor shown on the way is kept.
  void Drag(FriendsWindow& form, POINT to, bool ctrl = false) {
    const HWND list = form.FileList().hwnd();
    RECT item{};
    SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(Index(form, doc_)), reinterpret_cast<LPARAM>(&item));
    ScreenToClient(list, &to);
    const WPARAM keys = MK_LBUTTON | (ctrl ? MK_CONTROL : 0);
    SendMessageW(list, WM_LBUTTONDOWN, keys, MAKELPARAM(item.left + 10, item.top + 10));
    EXPECT_TRUE(IsWindowEnabled(form.ButtonImage(0).hwnd()));
    SendMessageW(list, WM_MOUSEMOVE, keys, MAKELPARAM(item.left + 11, item.top + 10));
    EXPECT_FALSE(form.Dragging()) << "less than the drag distance is still a click";
    SendMessageW(list, WM_MOUSEMOVE, keys, MAKELPARAM(to.x, to.y));
    EXPECT_TRUE(form.Dragging());
    EXPECT_EQ(form.copy_mode(), ctrl);
    cursor_ = GetCursor();
    SendMessageW(list, WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
    EXPECT_FALSE(form.Dragging() || form.copy_mode() || IsWindowEnabled(form.ButtonImage(0).hwnd()));
  }

  TempDir files_;
  std::wstring marker_, doc_ = files_ / L"read me.txt";
  HCURSOR cursor_ = nullptr;
  const HCURSOR no_ = LoadCursorW(nullptr, IDC_NO);
};

TEST_F(LauncherButtons, ADraggedFileRegistersToButtonsOneToSevenOnly) {
  FriendsWindow& form = Open();
  Drag(form, Center(form.ButtonImage(7).hwnd()), true);
  EXPECT_EQ(cursor_, no_);
  EXPECT_EQ(Key(8), L"<none>");
  Drag(form, Center(form.FilePanel().hwnd()));
  EXPECT_EQ(cursor_, no_);

  Drag(form, Center(form.ButtonImage(2).hwnd()));
  EXPECT_NE(cursor_, no_);
  EXPECT_EQ(Key(3), doc_);
  EXPECT_EQ(form.LaunchButton(2).hint(), L"read me.txt");
  EXPECT_EQ(MenuText(form.MainMenu(), IDM_DIR_REGISTER1 + 2), L"ボタン3登録済み ( read me.txt )");
  EXPECT_FALSE(form.ButtonImage(2).picture().empty());

  const HWND tree = form.Tree().hwnd();
  RECT node{};
  const HTREEITEM selected = form.Tree().tree().Selected();
  memcpy(&node, &selected, sizeof selected);
  ASSERT_TRUE(SendMessageW(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&node)));
  POINT on_node{(node.left + node.right) / 2, (node.top + node.bottom) / 2};
  ClientToScreen(tree, &on_node);
  Drag(form, on_node);
  EXPECT_NE(cursor_, no_);

  // Escape gives the drag up: a release over a button then registers nothing.
  const HWND list = form.FileList().hwnd();
  SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  SendMessageW(list, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(60, 40));
  ASSERT_TRUE(form.Dragging());
  SendMessageW(list, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_FALSE(form.Dragging());
  POINT over = Center(form.ButtonImage(0).hwnd());
  ScreenToClient(list, &over);
  SendMessageW(list, WM_LBUTTONUP, 0, MAKELPARAM(over.x, over.y));
  EXPECT_EQ(form.button_files()[0], L"");
}

TEST_F(LauncherButtons, ButtonsStartTheirFileWithTheSelectedDocument) {
  const std::wstring other = files_ / L"other.exe";
  ASSERT_TRUE(CopyFileW(marker_.c_str(), other.c_str(), FALSE));
  FriendsWindow& form = Open();
  {
    DialogAnswerer answers;
    answers.Press(IDOK);
    Command(form, IDC_DIR_MASCOT, L"");
    ASSERT_EQ(answers.seen().size(), 1u);
    EXPECT_EQ(answers.seen()[0].text,
              L"右下のファイル一覧から、プログラム あるいは データファイルを\r\n 選択後、ボクをクリックして下さい。\r\n"
              L"起動後、右上の 自動登録ボタン に セットします。");
    EXPECT_EQ(answers.seen()[0].icon, 0u);
  }
  Command(form, IDM_DIR_REGISTER1 + 6, marker_);
  EXPECT_EQ(Key(7), marker_);

  Command(form, IDM_DIR_EXECUTE, marker_);
  EXPECT_EQ(Key(8), marker_);
  EXPECT_EQ(form.LaunchButton(7).hint(), L"最後に呼び出したお友達 ( marker.exe )");
  const std::wstring line = Ran();
  EXPECT_NE(line, L"");
  EXPECT_EQ(line.find(L"marker.exe"), line.rfind(L"marker.exe")) << "no parameter: " << line;

  Command(form, IDC_DIR_BUTTON1 + 6, doc_);
  const std::wstring with_doc = Ran();
  EXPECT_EQ(with_doc.substr(with_doc.size() - doc_.size() - 2), L"\"" + doc_ + L"\"") << with_doc;
  Command(form, IDC_DIR_BUTTON1 + 6, other);
  EXPECT_EQ(Ran().find(L"other"), std::wstring::npos);

}

TEST_F(LauncherButtons, PicturesAndAClickThroughADisabledImage) {
  const std::wstring bmp = files_ / L"pic.bmp";
  BITMAPINFOHEADER info{sizeof info, 20, 10, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  BITMAPFILEHEADER head{0x4D42, sizeof head + sizeof info + 640, 0, 0, sizeof head + sizeof info};
  WriteBytes(bmp, std::string(reinterpret_cast<const char*>(&head), sizeof head) +
                      std::string(reinterpret_cast<const char*>(&info), sizeof info) + std::string(640, '\x7f'));
  FriendsWindow& form = Open();
  Command(form, IDM_DIR_REGISTER1 + 1, bmp);
  const Picture& picture = form.ButtonImage(1).picture();
  EXPECT_EQ(picture.kind(), Picture::Kind::Bitmap);
  EXPECT_EQ(picture.width() * 100 + picture.height(), 2010);
  Command(form, IDM_DIR_REGISTER1, marker_);
  form.FileList().Select(-1);
  SetForegroundWindow(form.hwnd());
  const POINT at = Center(form.ButtonImage(0).hwnd());
  MoveCursor(at.x, at.y);
  INPUT clicks[2]{};
  clicks[0].type = clicks[1].type = INPUT_MOUSE;
  clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, clicks, sizeof(INPUT));
  EXPECT_NE(Ran(), L"");
}

TEST_F(LauncherButtons, TheMainRowShowsOnceTheWindowClosesAfterARegistration) {
  MainWindow& f = StartFrame();
  FriendsWindow& form = Open();
  Command(form, IDM_DIR_REGISTER1 + 2, doc_);
  EXPECT_FALSE(IsWindowVisible(f.Bp1Panel().hwnd()));
  SendMessageW(form.hwnd(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindowVisible(f.Bp1Panel().hwnd()));
  EXPECT_EQ(f.LaunchButton(2).hint(), L"read me.txt");
  EXPECT_EQ(Open().LaunchButton(2).hint(), L"read me.txt");
}

}  // namespace
