// The friends window's launcher row, driven through the real list and menus
// under Wine, with files and a settings file in temporary folders.
#include <gtest/gtest.h>

#include "frame/settings.h"
#include "launcher/dirwin.h"
#include "launcher/dirwin_ids.h"
#include "support/frame_fixture.h"

using namespace velkor;
using namespace velkor::test;

namespace {

std::string Bmp(int w, int h) {
  const int stride = (w * 3 + 3) & ~3;
  std::string b(static_cast<size_t>(54 + stride * h), '\x7f');
  auto put = [&](size_t at, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) b[at + static_cast<size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  put(0, 'B' | ('M' << 8), 2);
  put(2, static_cast<uint32_t>(b.size()), 4);
  put(6, 0, 4);
  put(10, 54, 4);
  put(14, 40, 4);
  put(18, static_cast<uint32_t>(w), 4);
  put(22, static_cast<uint32_t>(h), 4);
  put(26, 1, 2);
  put(28, 24, 2);
  for (size_t at = 30; at < 54; at += 4) put(at, 0, 4);
  return b;
}

BOOL CALLBACK CountForeignWindow(HWND w, LPARAM count) {
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  if (pid != GetCurrentProcessId() && IsWindowVisible(w)) ++*reinterpret_cast<int*>(count);
  return TRUE;
}

int ForeignWindows() {
  int n = 0;
  EnumWindows(CountForeignWindow, reinterpret_cast<LPARAM>(&n));
  return n;
}

POINT Center(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

class LauncherButtons : public FrameTest {
 protected:
  void SetUp() override {
    FrameTest::SetUp();
    files_ = std::make_unique<TempDir>();
    marker_ = *files_ / L"marker.exe";
    ASSERT_TRUE(CopyFileW((ModuleDir() + L"\\marker.exe").c_str(), marker_.c_str(), FALSE));
    doc_ = *files_ / L"read me.txt";
    WriteBytes(doc_, "text");
  }
  void TearDown() override {
    if (Tdirform* form = Tdirform::Get()) DestroyWindow(form->hwnd());
    files_.reset();
    FrameTest::TearDown();
  }
  Tdirform& Open() {
    if (!frame_) StartFrame();
    Tdirform& form = Tdirform::Show();
    form.DirList1().SelectPath(files_->path());
    form.DirList1Change(files_->path());
    return form;
  }
  void Select(Tdirform& form, const std::wstring& path) {
    const int i = static_cast<int>(SendMessageW(form.ListBox1(), LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                reinterpret_cast<LPARAM>(path.c_str())));
    ASSERT_GE(i, 0) << "not listed";
    form.ListBox1().Select(i);
  }
  void Command(Tdirform& form, int id) { SendMessageW(form.hwnd(), WM_COMMAND, static_cast<WPARAM>(id), 0); }
  // The marker's command line after it ran, "" when it did not run in time.
  std::wstring Ran(const std::wstring& exe, int timeout_ms = 10000) {
    if (!PumpUntil([&] { return FileExists(exe + L".ran"); }, timeout_ms)) return L"";
    PumpFor(100);
    const std::string bytes = ReadBytes(exe + L".ran");
    DeleteFileW((exe + L".ran").c_str());
    return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
  }
  std::wstring Key(int n) { return IniString(IniPath(), L"VELKORA", L"SImage" + std::to_wstring(n) + L"FileName"); }

  // Carries the item of path from the list to a screen point, as the mouse would.
  void Drag(Tdirform& form, const std::wstring& path, POINT to_screen, bool ctrl = false) {
    const HWND list = form.ListBox1();
    const int i = static_cast<int>(SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                reinterpret_cast<LPARAM>(path.c_str())));
    ASSERT_GE(i, 0);
    RECT item{};
    SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    const POINT from{item.left + 10, item.top + 10};
    POINT to = to_screen;
    ScreenToClient(list, &to);
    const WPARAM keys = MK_LBUTTON | (ctrl ? MK_CONTROL : 0);
    SendMessageW(list, WM_LBUTTONDOWN, keys, MAKELPARAM(from.x, from.y));
    EXPECT_TRUE(IsWindowEnabled(form.SImage(0).hwnd())) << "a press on an item makes the images drop targets";
    SendMessageW(list, WM_MOUSEMOVE, keys, MAKELPARAM(from.x + 1, from.y));
    EXPECT_FALSE(form.Dragging()) << "less than the drag distance is still a click";
    SendMessageW(list, WM_MOUSEMOVE, keys, MAKELPARAM(to.x, to.y));
    EXPECT_TRUE(form.Dragging());
    EXPECT_EQ(form.CopyMode, ctrl);
    drag_cursor_ = GetCursor();
    SendMessageW(list, WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
    EXPECT_FALSE(form.Dragging());
    EXPECT_FALSE(form.CopyMode);
    EXPECT_FALSE(IsWindowEnabled(form.SImage(0).hwnd()));
  }

  std::unique_ptr<TempDir> files_;
  std::wstring marker_, doc_;
  HCURSOR drag_cursor_ = nullptr;
};

TEST_F(LauncherButtons, ADraggedFileRegistersToButtonsOneToSevenButNotEight) {
  Tdirform& form = Open();
  const HCURSOR no = LoadCursorW(nullptr, IDC_NO);

  Drag(form, doc_, Center(form.SImage(7).hwnd()), true);
  EXPECT_EQ(drag_cursor_, no);
  EXPECT_EQ(form.ButtonFiles[7], L"");
  EXPECT_EQ(Key(8), L"<none>");

  Drag(form, doc_, Center(form.SImage(2).hwnd()));
  EXPECT_NE(drag_cursor_, no);
  EXPECT_EQ(form.ButtonFiles[2], doc_);
  EXPECT_EQ(Key(3), doc_);
  EXPECT_TRUE(form.ButtonsChanged);
  EXPECT_EQ(form.SpBtn(2).hint(), L"read me.txt");
  EXPECT_EQ(MenuText(form.dirMainMenu1(), IDM_DIR_SB1 + 2), L"ボタン3登録済み ( read me.txt )");
  EXPECT_FALSE(form.SImage(2).picture().empty());

  // Anywhere else accepts nothing.
  Drag(form, doc_, Center(form.filepanel().hwnd()));
  EXPECT_EQ(drag_cursor_, no);

  // A node of the tree takes the file.
  const HWND tree = form.DirList1().hwnd();
  RECT node{};
  *reinterpret_cast<HTREEITEM*>(&node) = form.DirList1().tree().Selected();
  ASSERT_TRUE(SendMessageW(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&node)));
  POINT on_node{(node.left + node.right) / 2, (node.top + node.bottom) / 2};
  ClientToScreen(tree, &on_node);
  Drag(form, doc_, on_node);
  EXPECT_NE(drag_cursor_, no);
}

TEST_F(LauncherButtons, EscapeGivesUpTheDrag) {
  Tdirform& form = Open();
  const HWND list = form.ListBox1();
  SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  SendMessageW(list, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(60, 40));
  ASSERT_TRUE(form.Dragging());
  SendMessageW(list, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_FALSE(form.Dragging());
  EXPECT_NE(GetCapture(), list);
  POINT over = Center(form.SImage(0).hwnd());
  ScreenToClient(list, &over);
  SendMessageW(list, WM_LBUTTONUP, 0, MAKELPARAM(over.x, over.y));
  EXPECT_EQ(form.ButtonFiles[0], L"");
}

TEST_F(LauncherButtons, MenuRegistrationAndTheFriendCalledLast) {
  Tdirform& form = Open();
  {
    DialogAnswerer answers;
    answers.Press(IDOK);
    form.ListBox1().Select(-1);
    Command(form, IDC_DIR_VELBT);
    ASSERT_EQ(answers.seen().size(), 1u);
    EXPECT_EQ(answers.seen()[0].text,
              L"右下のファイル一覧から、プログラム あるいは データファイルを\r\n 選択後、ボクをクリックして下さい。\r\n"
              L"起動後、右上の 自動登録ボタン に セットします。");
    EXPECT_EQ(answers.seen()[0].icon, 0u);
  }
  Select(form, marker_);
  Command(form, IDM_DIR_SB1 + 6);
  EXPECT_EQ(Key(7), marker_);
  EXPECT_EQ(MenuText(form.dirMainMenu1(), IDM_DIR_SB1 + 6), L"ボタン7登録済み ( marker.exe )");

  Command(form, IDM_DIR_EXECUTE);
  EXPECT_EQ(Key(8), marker_);
  EXPECT_EQ(form.SpBtn(7).hint(), L"最後に呼び出したお友達 ( marker.exe )");
  const std::wstring line = Ran(marker_);
  EXPECT_NE(line, L"");
  EXPECT_EQ(line.find(L"read me"), std::wstring::npos) << line;
}

TEST_F(LauncherButtons, AButtonOpensTheSelectedDocumentButNoProgram) {
  const std::wstring other = *files_ / L"other.exe";
  ASSERT_TRUE(CopyFileW(marker_.c_str(), other.c_str(), FALSE));
  Tdirform& form = Open();
  Select(form, marker_);
  Command(form, IDM_DIR_SB1);

  Select(form, doc_);
  Command(form, IDC_DIR_SPBTN1);
  const std::wstring with_doc = Ran(marker_);
  ASSERT_GE(with_doc.size(), doc_.size() + 2);
  EXPECT_EQ(with_doc.substr(with_doc.size() - doc_.size() - 2), L"\"" + doc_ + L"\"");

  Select(form, other);
  Command(form, IDC_DIR_SPBTN1);
  const std::wstring with_program = Ran(marker_);
  EXPECT_NE(with_program, L"");
  EXPECT_EQ(with_program.find(L"other"), std::wstring::npos) << with_program;

  // An unregistered button starts nothing, not even the current folder.
  const int before = ForeignWindows();
  Command(form, IDC_DIR_SPBTN1 + 4);
  PumpFor(1500);
  EXPECT_EQ(ForeignWindows(), before);
}

TEST_F(LauncherButtons, ABitmapIsItsOwnPictureAndAClickThroughADisabledImageStarts) {
  const std::wstring bmp = *files_ / L"pic.bmp";
  WriteBytes(bmp, Bmp(20, 10));
  Tdirform& form = Open();
  Select(form, bmp);
  Command(form, IDM_DIR_SB1 + 1);
  const Picture& picture = form.SImage(1).picture();
  EXPECT_EQ(picture.kind(), Picture::Kind::Bitmap);
  EXPECT_EQ(picture.width(), 20);
  EXPECT_EQ(picture.height(), 10);

  Select(form, marker_);
  Command(form, IDM_DIR_SB1);
  form.ListBox1().Select(-1);
  ASSERT_FALSE(IsWindowEnabled(form.SImage(0).hwnd()));
  SetForegroundWindow(form.hwnd());
  const POINT at = Center(form.SImage(0).hwnd());
  MoveCursor(at.x, at.y);
  INPUT clicks[2]{};
  clicks[0].type = clicks[1].type = INPUT_MOUSE;
  clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, clicks, sizeof(INPUT));
  EXPECT_NE(Ran(marker_), L"");
}

TEST_F(LauncherButtons, TheMainRowShowsOnceTheWindowClosesAfterARegistration) {
  Tframeform& f = StartFrame();
  EXPECT_FALSE(IsWindowVisible(f.Bp1Panel().hwnd()));
  Tdirform& form = Open();
  Select(form, doc_);
  Command(form, IDM_DIR_SB1 + 2);
  EXPECT_FALSE(IsWindowVisible(f.Bp1Panel().hwnd()));
  SendMessageW(form.hwnd(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindowVisible(f.Bp1Panel().hwnd()));
  EXPECT_EQ(f.LaunchButton(2).hint(), L"read me.txt");

  // The next window shows the registration from the start.
  Tdirform& again = Open();
  EXPECT_EQ(again.SpBtn(2).hint(), L"read me.txt");
  EXPECT_EQ(again.ButtonsChanged, false);
}

}  // namespace
