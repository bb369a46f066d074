// The friends window, driven through its real windows under Wine on
// directories made in a temporary folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "ui/main_frame_ids.h"
#include "launcher/browser_texts.h"
#include "launcher/friends_window.h"
#include "launcher/friends_window_ids.h"
#include "support/frame_fixture.h"

using namespace velkor;
using namespace velkor::test;

namespace {

constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);

std::vector<std::wstring> Items(FriendsWindow& form) {
  std::vector<std::wstring> items;
  for (int i = 0; i < form.FileList().Count(); ++i) items.push_back(form.FileList().Text(i));
  return items;
}

int FormsOpen() {
  int n = 0;
  for (HWND w = FindWindowExW(nullptr, nullptr, L"Tdirform", nullptr); w; w = FindWindowExW(nullptr, w, L"Tdirform", nullptr))
    ++n;
  return n;
}

// The system's counts of the process's GDI and USER objects. Wine answers
// GetGuiResources with 0; there its handle tables are probed instead (a handle
// with no generation in its high word stands for whatever its slot holds).
DWORD GdiObjects() {
  if (const DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return n;
  DWORD n = 0;
  for (ULONG_PTR h = 1; h < 0x10000; ++h) n += GetObjectType(reinterpret_cast<HGDIOBJ>(h)) != 0;
  return n;
}
DWORD UserObjects() {
  if (const DWORD n = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)) return n;
  DWORD n = 0;
  for (ULONG_PTR h = 2; h < 0x10000; h += 2) {
    const HWND w = reinterpret_cast<HWND>(h);
    n += (IsWindow(w) && GetWindowThreadProcessId(w, nullptr) == GetCurrentThreadId()) || IsMenu(reinterpret_cast<HMENU>(h));
  }
  return n;
}

class DirForm : public FrameTest {
 protected:
  void SetUp() override {
    FrameTest::SetUp();
    files_ = std::make_unique<TempDir>();
    StartFrame();
  }
  void TearDown() override {
    if (FriendsWindow* form = FriendsWindow::Get()) DestroyWindow(form->hwnd());
    files_.reset();
    FrameTest::TearDown();
  }
  // The window listing the folder with the mask typed in the box.
  FriendsWindow& ListWith(const std::wstring& mask) {
    FriendsWindow& form = *FriendsWindow::Show();
    SetWindowTextW(form.MaskBox(), mask.c_str());
    form.Tree().SelectPath(files_->path());
    form.ListChosenDirectory(files_->path());
    return form;
  }
  std::unique_ptr<TempDir> files_;
};

TEST_F(DirForm, NoMatchingFileSaysSoInBlue) {
  WriteBytes(*files_ / L"a.txt", "x");
  FriendsWindow& form = ListWith(L"*.zzz");
  EXPECT_EQ(form.FileList().Count(), 0);
  EXPECT_EQ(form.FilePanel().text(), L" 該当ファイルは、見つかりません。");
  EXPECT_EQ(form.FilePanel().look().text_color, kBlue);
  EXPECT_EQ(WindowText(form.hwnd()), L" ベルコ君のお友達");
  EXPECT_EQ(form.InfoPanel().text(), L" ディレクトリーを選択してネ !!");
}

TEST_F(DirForm, JpgMaskTakesJpeAndJpegButNeverADirectory) {
  for (const wchar_t* name : {L"A.JPG", L"B.jpe", L"C.jpeg", L"D.txt", L"E.JPGX"}) WriteBytes(*files_ / name, "x");
  CreateDirectoryW((*files_ / L"SUB.JPG").c_str(), nullptr);
  FriendsWindow& form = ListWith(L"*.jpg");
  EXPECT_EQ(form.file_mask(), L"*.JP*");
  std::vector<std::wstring> names;
  for (const auto& item : Items(form)) names.push_back(item.substr(item.rfind(L'\\') + 1));
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::wstring>{L"A.JPG", L"B.jpe", L"C.jpeg", L"E.JPGX"}));
  EXPECT_EQ(Items(form)[0].substr(0, files_->path().size() + 1), files_->path() + L"\\");
}

TEST_F(DirForm, TotalsGoToTheCaptionAndTheCounterLine) {
  WriteBytes(*files_ / L"a.txt", std::string(1000, 'a'));
  WriteBytes(*files_ / L"b.txt", std::string(2500, 'b'));
  CreateDirectoryW((*files_ / L"sub").c_str(), nullptr);
  FriendsWindow& form = ListWith(L"*.*");
  EXPECT_EQ(WindowText(form.hwnd()), L" 該当ファイル  Total Files = 2 ,Size = 3,500 Bytes");
  EXPECT_EQ(form.FilePanel().text(), L" 該当ファイルは 2 個 あります。");
  EXPECT_EQ(form.FilePanel().look().text_color, kBlack);
  EXPECT_EQ(form.CounterPanel().text(), L" Line :  / 2 ");
  EXPECT_EQ(form.file_count(), 2);
  EXPECT_EQ(form.total_bytes(), 3500);
}

TEST_F(DirForm, SelectingAnItemShowsItsNameSizeAndLine) {
  WriteBytes(*files_ / L"a.txt", std::string(1234, 'a'));
  WriteBytes(*files_ / L"b.txt", "b");
  FriendsWindow& form = ListWith(L"*.txt");
  HWND list = form.FileList().hwnd();
  SetFocus(list);
  SendMessageW(list, WM_KEYDOWN, VK_HOME, 0);
  SendMessageW(list, WM_KEYUP, VK_HOME, 0xC0000001);
  EXPECT_EQ(form.FilePanel().text(), L" 友達は      a.txt だよ");
  EXPECT_EQ(form.InfoPanel().text().rfind(L" ﾌｧｲﾙｻｲｽﾞ = 1,234 Bytes   ﾌｧｲﾙ日付 = ", 0), 0u) << form.InfoPanel().text();
  EXPECT_EQ(form.CounterPanel().text(), L" Line : 1 / 2 ");
  EXPECT_EQ(form.selected_size(), 1234);
  EXPECT_EQ(form.MascotButton().hint(), L"クリックで起動");
}

TEST_F(DirForm, RowCommandsSizeTheItemsToTheListsHeight) {
  FriendsWindow& form = ListWith(L"*.*");
  HWND list = form.FileList().hwnd();
  const int bar = GetSystemMetrics(SM_CYHSCROLL);
  MoveWindow(list, 0, 0, 400, 283 + bar, TRUE);
  ASSERT_EQ(form.FileList().AvailableHeight(), 283);
  form.ChooseRows(1);
  EXPECT_EQ(form.FileList().ItemHeight(), 283);
  EXPECT_EQ(form.row_count(), 1);
  form.ChooseRows(7);
  EXPECT_EQ(form.FileList().ItemHeight(), 94);
  EXPECT_EQ(form.row_count(), 3);
  EXPECT_EQ(form.FileList().ControlItemHeight(), 94);
  form.ToggleIconMode();  // one icon: 46-pixel rows
  EXPECT_EQ(form.FileList().ItemHeight(), 283 / (283 / 46));
}

TEST_F(DirForm, AnEmptyMaskBoxExplainsAndRefillsItself) {
  FriendsWindow& form = ListWith(L"*.*");
  SetWindowTextW(form.MaskBox(), L"");
  DialogAnswerer answers;
  answers.Press(IDOK);
  SendMessageW(form.MaskBox(), WM_CHAR, L'a', 0);
  ASSERT_EQ(answers.seen().size(), 1u);
  EXPECT_EQ(answers.seen()[0].text.rfind(L"セレクト指定が、空欄になっています。", 0), 0u);
  EXPECT_EQ(WindowText(form.MaskBox()), L"*.*");
}

TEST_F(DirForm, AnIconFileThatCannotBeReadIsReportedOnceWhenSelected) {
  WriteBytes(*files_ / L"bad.ico", "not an icon");
  FriendsWindow& form = ListWith(L"*.*");
  DialogAnswerer answers;
  answers.Press(IDOK);
  UpdateWindow(form.FileList().hwnd());  // drawing it reports nothing
  form.FileList().Select(0);
  SendMessageW(form.FileList().hwnd(), WM_KEYUP, VK_DOWN, 0);
  ASSERT_EQ(answers.seen().size(), 1u);
  EXPECT_NE(answers.seen()[0].text.find(L"bad.ico を画像として読み込めません。"), std::wstring::npos);
  EXPECT_NE(form.FilePanel().text().find(L"bad.ico"), std::wstring::npos);
}

TEST_F(DirForm, ThePopUpFileCommandsNeedASelection) {
  WriteBytes(*files_ / L"a.txt", "a");
  FriendsWindow& form = ListWith(L"*.*");
  form.FileList().Select(-1);
  form.EnablePopupItems();
  EXPECT_FALSE(MenuEnabled(form.ListMenu(), 972));
  form.FileList().Select(0);
  form.EnablePopupItems();
  EXPECT_TRUE(MenuEnabled(form.ListMenu(), 972));
  EXPECT_TRUE(MenuEnabled(form.ListMenu(), 973));
}

TEST_F(DirForm, F2AndTheMenuKeepOneWindow) {
  PostMessageW(frame_->hwnd(), WM_KEYDOWN, VK_F2, 0);
  ASSERT_TRUE(PumpUntil([] { return FriendsWindow::Get() != nullptr; }));
  FriendsWindow* first = FriendsWindow::Get();
  SendMessageW(frame_->hwnd(), WM_COMMAND, IDM_FRIEND, 0);
  frame_->ShowFriendsWindow();
  EXPECT_EQ(FriendsWindow::Get(), first);
  EXPECT_EQ(FormsOpen(), 1);
  SendMessageW(first->hwnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(FriendsWindow::Get(), nullptr);
  EXPECT_EQ(FormsOpen(), 0);
}

TEST_F(DirForm, OpeningAndClosingLeaksNoHandles) {
  for (int i = 0; i < 5; ++i) WriteBytes(*files_ / (std::to_wstring(i) + L".txt"), "x");
  wchar_t old_dir[MAX_PATH] = L"";
  GetCurrentDirectoryW(MAX_PATH, old_dir);
  SetCurrentDirectoryW(files_->path().c_str());
  auto cycle = [] {
    FriendsWindow& form = *FriendsWindow::Show();
    SendMessageW(form.hwnd(), WM_CLOSE, 0, 0);
    PumpFor(0);
  };
  for (int i = 0; i < 10; ++i) cycle();  // caches of the system's own fill up first
  const DWORD gdi = GdiObjects(), user = UserObjects();
  ASSERT_GT(gdi, 0u);
  ASSERT_GT(user, 0u);
  for (int i = 0; i < 200; ++i) cycle();
  SetCurrentDirectoryW(old_dir);
  // The system keeps a few objects of its own a while longer (a DC's font,
  // a tooltip); a leak in each opening would come to 200 at least.
  EXPECT_LE(GdiObjects(), gdi + 20);
  EXPECT_LE(UserObjects(), user + 20);
}

TEST_F(DirForm, DriveTabsAreBareLettersAndAClickListsTheDrivesRoot) {
  FriendsWindow& form = ListWith(L"*.*");
  DriveTabSet& tabs = form.DriveTabs();
  int c = -1, z = -1;
  for (int i = 0; i < tabs.Count(); ++i) {
    EXPECT_EQ(tabs.Caption(i).size(), 1u);
    if (tabs.Caption(i) == L"C") c = i;
    if (tabs.Caption(i) == L"Z") z = i;
  }
  ASSERT_GE(c, 0);
  ASSERT_GE(z, 0);
  const RECT r = tabs.TabRect(c);
  EXPECT_EQ(r.bottom - r.top, 22);
  tabs.ClickTab(c);
  tabs.ClickTab(z);
  EXPECT_EQ(form.previous_tab(), c);
  EXPECT_EQ(form.Tree().GetSelectedPath(), L"Z:\\");
  EXPECT_TRUE(FriendsWindow::DriveReady(L'z'));
}

// A point on a node of the tree, scrolled into view.
POINT PointOn(FriendsWindow& form, HTREEITEM node) {
  HWND tree = form.Tree().hwnd();
  SendMessageW(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(node));
  // TVM_GETITEMRECT takes the item's handle in the rectangle's first bytes.
  RECT r{};
  std::memcpy(&r, &node, sizeof node);
  SendMessageW(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r));
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// The node of the listed folder's only subdirectory.
HTREEITEM SubNode(FriendsWindow& form) {
  TreeView tree = form.Tree().tree();
  return tree.Child(tree.Selected());
}

// Carries the list's first item with the mouse onto a point of the tree and
// lets it go there; with Ctrl held, a copy.
void DragFirstItemOntoTree(FriendsWindow& form, POINT on_tree, bool ctrl) {
  const HWND list = form.FileList().hwnd();
  RECT first{};
  SendMessageW(list, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
  MapWindowPoints(form.Tree().hwnd(), list, &on_tree, 1);
  const WPARAM held = MK_LBUTTON | (ctrl ? MK_CONTROL : 0);
  SendMessageW(list, WM_LBUTTONDOWN, held, MAKELPARAM(first.left + 4, first.top + 4));
  SendMessageW(list, WM_MOUSEMOVE, held, MAKELPARAM(on_tree.x, on_tree.y));
  SendMessageW(list, WM_LBUTTONUP, 0, MAKELPARAM(on_tree.x, on_tree.y));
}

DWORD UserAttributes(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
}

TEST_F(DirForm, DeletingAReadOnlyFileNamesTheAttributeAndNoKeepsIt) {
  WriteBytes(*files_ / L"a.txt", std::string(100, 'a'));
  WriteBytes(*files_ / L"ro.txt", std::string(30, 'r'));
  SetFileAttributesW((*files_ / L"ro.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  FriendsWindow& form = ListWith(L"*.txt");
  form.FileList().Select(1);
  {
    DialogAnswerer answers;
    answers.Press(IDNO);
    form.DeleteSelected();
    ASSERT_EQ(answers.seen().size(), 1u);
    EXPECT_EQ(answers.seen()[0].text, L"ro.txt は読み出し専用属性です。\r\n\r\n削除しますか ?");
    EXPECT_EQ(answers.seen()[0].caption, L"確認");
  }
  EXPECT_EQ(UserAttributes(*files_ / L"ro.txt"), static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(form.FileList().Count(), 2);

  DialogAnswerer answers;
  answers.Press(IDYES);
  form.DeleteSelected();
  EXPECT_FALSE(FileExists(*files_ / L"ro.txt"));
  EXPECT_EQ(Items(form), std::vector<std::wstring>{*files_ / L"a.txt"});
  EXPECT_EQ(WindowText(form.hwnd()), L" 該当ファイル  Total Files = 1 ,Size = 100 Bytes");
  EXPECT_EQ(form.CounterPanel().text(), L" Line :  / 1 ");
}

TEST_F(DirForm, DecliningTheShellsRecycleQuestionKeepsTheItem) {
  WriteBytes(*files_ / L"a.txt", "keep");
  FriendsWindow& form = ListWith(L"*.*");
  form.FileList().Select(0);
  DialogAnswerer answers;
  answers.Press(IDNO);
  form.RecycleSelected();
  EXPECT_EQ(answers.seen().size(), 1u);
  EXPECT_EQ(form.FileList().Count(), 1);
  EXPECT_EQ(form.file_count(), 1);
  EXPECT_EQ(ReadBytes(*files_ / L"a.txt"), "keep");
}

// The feedback last ran for another item: the move takes the moved file's own size off.
TEST_F(DirForm, AMoveOntoANodeDropsTheItemWithItsOwnSize) {
  WriteBytes(*files_ / L"a.txt", std::string(1000, 'a'));
  WriteBytes(*files_ / L"b.txt", std::string(2500, 'b'));
  CreateDirectoryW((*files_ / L"sub").c_str(), nullptr);
  FriendsWindow& form = ListWith(L"*.txt");
  form.FileList().Select(1);
  form.ShowSelectedItem();
  ASSERT_EQ(form.selected_size(), 2500);
  form.FileList().Select(0);
  const POINT on_sub = PointOn(form, SubNode(form));
  EXPECT_TRUE(form.TreeTakesDrop(on_sub));
  EXPECT_FALSE(form.TreeTakesDrop(POINT{-20, -20}));
  form.DropOnTree(POINT{-20, -20});  // no node: no question either

  DialogAnswerer answers;
  answers.Press(IDYES);
  form.DropOnTree(on_sub);
  ASSERT_EQ(answers.seen().size(), 1u);
  EXPECT_EQ(answers.seen()[0].text,
            ConfirmOperationText(*files_ / L"a.txt", *files_ / L"sub\\a.txt", L"移動しますか "));
  EXPECT_EQ(ReadBytes(*files_ / L"sub\\a.txt"), std::string(1000, 'a'));
  EXPECT_EQ(Items(form), std::vector<std::wstring>{*files_ / L"b.txt"});
  EXPECT_EQ(form.total_bytes(), 2500);
  EXPECT_EQ(WindowText(form.hwnd()), L" 該当ファイル  Total Files = 1 ,Size = 2,500 Bytes");
}

TEST_F(DirForm, ACopyOntoTheSameNameAsksAgainAndNoKeepsBoth) {
  WriteBytes(*files_ / L"a.txt", "new");
  CreateDirectoryW((*files_ / L"sub").c_str(), nullptr);
  WriteBytes(*files_ / L"sub\\a.txt", "old");
  FriendsWindow& form = ListWith(L"*.txt");
  DialogAnswerer answers;
  answers.Press(IDYES);
  answers.Press(IDNO);
  DragFirstItemOntoTree(form, PointOn(form, SubNode(form)), true);
  ASSERT_EQ(answers.seen().size(), 2u);
  EXPECT_EQ(answers.seen()[1].text, OverwriteQuestion(*files_ / L"sub\\a.txt"));
  EXPECT_EQ(ReadBytes(*files_ / L"a.txt"), "new");
  EXPECT_EQ(ReadBytes(*files_ / L"sub\\a.txt"), "old");
  EXPECT_EQ(form.FileList().Count(), 1);
}

TEST_F(DirForm, ACopyDroppedOnTheDrivesNodeLandsInItsRoot) {
  const std::wstring name = L"velkor-root-" + std::to_wstring(GetCurrentProcessId()) + L".txt";
  WriteBytes(*files_ / name, "root");
  FriendsWindow& form = ListWith(L"*.txt");
  const std::wstring drive = files_->path().substr(0, 2);
  DialogAnswerer answers;
  answers.Press(IDYES);
  DragFirstItemOntoTree(form, PointOn(form, form.Tree().tree().Root()), true);
  ASSERT_EQ(answers.seen().size(), 1u);
  EXPECT_EQ(answers.seen()[0].text, ConfirmOperationText(*files_ / name, drive + L"\\", L"コピーしますか "));
  EXPECT_EQ(ReadBytes(drive + L"\\" + name), "root");
  DeleteFileW((drive + L"\\" + name).c_str());
  EXPECT_EQ(form.FileList().Count(), 1);
}

TEST_F(DirForm, ADropOntoAFolderHoldingASubfolderOfTheFilesNameIsRefused) {
  WriteBytes(*files_ / L"a.txt", "new");
  CreateDirectoryW((*files_ / L"sub").c_str(), nullptr);
  CreateDirectoryW((*files_ / L"sub\\a.txt").c_str(), nullptr);
  WriteBytes(*files_ / L"sub\\a.txt\\a.txt", "inside");
  FriendsWindow& form = ListWith(L"*.txt");
  for (bool copy : {true, false}) {
    DialogAnswerer answers;
    answers.Press(IDOK);
    DragFirstItemOntoTree(form, PointOn(form, SubNode(form)), copy);
    ASSERT_EQ(answers.seen().size(), 1u) << "refused before any question";
    EXPECT_EQ(answers.seen()[0].text, FolderInTheWayText(*files_ / L"sub\\a.txt", copy));
    EXPECT_EQ(ReadBytes(*files_ / L"sub\\a.txt\\a.txt"), "inside");
    EXPECT_EQ(ReadBytes(*files_ / L"a.txt"), "new");
    EXPECT_EQ(form.FileList().Count(), 1);
  }
}

// "sub" leads to a folder on another file system, and the host refuses to
// delete the file: the system's move copies it there and keeps the original.
TEST_F(DirForm, AMoveToAnotherDriveThatCouldNotRemoveTheOriginalSaysItStayed) {
  const std::wstring unix_files = UnixPath(files_->path());
  const std::wstring other = L"/dev/shm/velkor-move-" + std::to_wstring(GetCurrentProcessId());
  WriteBytes(*files_ / L"a.txt", "text");
  struct Undo {
    std::wstring command;
    ~Undo() { RunHostShell(command); }
  } undo{L"chattr -i '" + unix_files + L"/a.txt'; rm -f '" + unix_files + L"/sub'; rm -rf " + other};
  if (!RunHostShell(L"mkdir -p " + other + L" && ln -s " + other + L" '" + unix_files + L"/sub' && chattr +i '" +
                    unix_files + L"/a.txt'"))
    GTEST_SKIP() << "needs a host shell, a second file system at /dev/shm and chattr";
  FriendsWindow& form = ListWith(L"*.txt");
  form.FileList().Select(0);
  DialogAnswerer answers;
  answers.Press(IDYES);
  answers.Press(IDOK);
  form.DropOnTree(PointOn(form, SubNode(form)));
  ASSERT_EQ(answers.seen().size(), 2u);
  EXPECT_EQ(answers.seen()[1].text, MoveStayedText(*files_ / L"a.txt", *files_ / L"sub\\a.txt"));
  EXPECT_EQ(ReadBytes(*files_ / L"a.txt"), "text");
  EXPECT_EQ(ReadBytes(*files_ / L"sub\\a.txt"), "text");
  EXPECT_EQ(form.FileList().Count(), 1) << "the original is still listed";
}

TEST_F(DirForm, AMaskThatHoldsAFolderIsRefusedAndTheListKeepsToItsOwnFolder) {
  WriteBytes(*files_ / L"own.txt", "own");
  CreateDirectoryW((*files_ / L"sub").c_str(), nullptr);
  WriteBytes(*files_ / L"sub\\other.txt", "other");
  FriendsWindow& form = ListWith(L"*.txt");
  for (const wchar_t* mask : {L"SUB\\*.*", L"..\\*.TXT", L"C:*.TXT"}) {
    SetWindowTextW(form.MaskBox(), mask);
    DialogAnswerer answers;
    answers.Press(IDOK);
    SendMessageW(form.MaskBox(), WM_CHAR, L'\r', 0);
    ASSERT_EQ(answers.seen().size(), 1u) << mask;
    EXPECT_EQ(answers.seen()[0].text, kPathMaskText);
    EXPECT_EQ(WindowText(form.MaskBox()), L"*.*");
    EXPECT_EQ(Items(form), std::vector<std::wstring>{*files_ / L"own.txt"});
  }
  // 表 ends in the byte of a backslash in code page 932; the mask is good.
  WriteBytes(*files_ / L"表a.txt", "hyo");
  SetWindowTextW(form.MaskBox(), L"表*.TXT");
  SendMessageW(form.MaskBox(), WM_CHAR, L'\r', 0);
  EXPECT_EQ(Items(form), std::vector<std::wstring>{*files_ / L"表a.txt"});
}

class BulkSearch : public DirForm {
 protected:
  // r.txt; a\a.txt; a\deep\d.txt; b\b.txt; .dot\h.txt, which is never entered.
  void MakeTree(int size_step) {
    for (const wchar_t* dir : {L"a", L"a\\deep", L"b", L".dot"}) CreateDirectoryW((*files_ / dir).c_str(), nullptr);
    int size = 0;
    for (const wchar_t* file : {L"r.txt", L"a\\a.txt", L"a\\deep\\d.txt", L"b\\b.txt", L".dot\\h.txt"})
      WriteBytes(*files_ / file, std::string(static_cast<size_t>(size += size_step), 'x'));
    WriteBytes(*files_ / L"x.log", "not matched");
  }
  FriendsWindow& Search(const std::wstring& mask) {
    FriendsWindow& form = ListWith(mask);
    SendMessageW(form.hwnd(), WM_COMMAND, IDC_DIR_BULKSEARCH, 0);
    return form;
  }
  std::vector<std::wstring> Names(FriendsWindow& form) {
    std::vector<std::wstring> names;
    for (const auto& item : Items(form)) names.push_back(item.substr(files_->path().size() + 1));
    return names;
  }
};

TEST_F(BulkSearch, DepthFirstInTheOrderFoundThenTotalsAndTheFirstItem) {
  MakeTree(10);
  FriendsWindow& form = Search(L"*.txt");
  const std::vector<std::wstring> a_first{L"r.txt", L"a\\a.txt", L"a\\deep\\d.txt", L"b\\b.txt"};
  const std::vector<std::wstring> b_first{L"r.txt", L"b\\b.txt", L"a\\a.txt", L"a\\deep\\d.txt"};
  const auto names = Names(form);
  EXPECT_TRUE(names == a_first || names == b_first) << ::testing::PrintToString(names);
  EXPECT_EQ(WindowText(form.hwnd()), L" 一気検索結果  Total Files = 4 ,Size = 100 Bytes");
  EXPECT_TRUE(IsWindowVisible(form.FileList().hwnd()));
  EXPECT_EQ(GetFocus(), form.FileList().hwnd());
  EXPECT_EQ(form.FileList().Selected(), 0);
  EXPECT_EQ(form.FilePanel().text(), L" 友達は      r.txt だよ");
  EXPECT_EQ(form.FilePanel().look().text_color, kBlack);
  EXPECT_EQ(form.CounterPanel().text(), L" Line : 1 / 4 ");

  // Removing a found file takes its own size off; the next plain listing sorts again.
  form.FileList().Select(names == a_first ? 2 : 3);
  DialogAnswerer answers;
  answers.Press(IDYES);
  form.DeleteSelected();
  EXPECT_EQ(form.total_bytes(), 70);
  EXPECT_FALSE(WindowStyle(form.FileList().hwnd()) & LBS_SORT);
  form.ListChosenDirectory(files_->path());
  EXPECT_TRUE(WindowStyle(form.FileList().hwnd()) & LBS_SORT);
  EXPECT_EQ(Names(form), std::vector<std::wstring>{L"r.txt"});
}

TEST_F(BulkSearch, NothingFoundBelowSaysSoInRed) {
  MakeTree(10);
  FriendsWindow& form = Search(L"*.zzz");
  EXPECT_EQ(form.FileList().Count(), 0);
  EXPECT_EQ(form.FilePanel().text(), L" 下位ディレクトリにもありません");
  EXPECT_EQ(form.FilePanel().look().text_color, kRed);
  EXPECT_EQ(WindowText(form.hwnd()), L" ベルコ君のお友達");
  EXPECT_EQ(form.InfoPanel().text(), L" ディレクトリーを選択してネ !!");
  EXPECT_TRUE(IsWindowVisible(form.FileList().hwnd()));
  EXPECT_EQ(GetFocus(), form.Tree().hwnd());
}

TEST_F(BulkSearch, EscapeStopsTheWalkAndKeepsWhatWasFound) {
  MakeTree(10);
  FriendsWindow& form = ListWith(L"*.txt");
  // Escape pressed as the first file of a subdirectory comes into the list.
  int added = 0;
  SentMessages watch([&](const CWPSTRUCT& sent) {
    if (sent.message == LB_ADDSTRING && GetDlgCtrlID(sent.hwnd) == IDC_DIR_LIST && ++added == 2)
      PostMessageW(form.Tree().hwnd(), WM_KEYDOWN, VK_ESCAPE, 0);
  });
  SendMessageW(form.hwnd(), WM_COMMAND, IDC_DIR_BULKSEARCH, 0);
  const auto names = Names(form);
  ASSERT_EQ(names.size(), 2u) << ::testing::PrintToString(names);
  EXPECT_EQ(names[0], L"r.txt");
  EXPECT_TRUE(names[1] == L"a\\a.txt" || names[1] == L"b\\b.txt");
  EXPECT_EQ(WindowText(form.hwnd()).rfind(L" 一気検索結果  Total Files = 2 ,Size = ", 0), 0u);
  EXPECT_TRUE(IsWindowVisible(form.FileList().hwnd()));
}

TEST_F(BulkSearch, AFullListSaysHowFarItGotShowsTheTotalsAndReportsTheError) {
  MakeTree(0);
  FriendsWindow& form = Search(L"*.txt");  // the list of results, in the order found
  FullListBox full(form.FileList().hwnd(), 2);
  DialogAnswerer answers;
  answers.Press(IDOK);
  answers.Press(IDOK);
  SendMessageW(form.hwnd(), WM_COMMAND, IDM_DIR_BULK_SEARCH, 0);
  ASSERT_EQ(answers.seen().size(), 2u);
  EXPECT_EQ(answers.seen()[0].text,
            L"現在の集計総数は 2 ですが、\r\nもうこれ以上は、行を挿入できません。\r\n"
            L"取りあえず、現時点での集計結果を表示しますが、\r\n次回は *.txt 以外の指定により、\r\n"
            L"もう少し絞り込んで下さいネ。");
  EXPECT_EQ(answers.seen()[0].caption, L"情報");
  EXPECT_EQ(answers.seen()[1].text, L"行を挿入できません");
  EXPECT_EQ(form.FileList().Count(), 2);
  EXPECT_EQ(WindowText(form.hwnd()), L" 一気検索結果  Total Files = 2 ,Size = 0 Bytes");
  EXPECT_EQ(form.InfoPanel().text(), L" Total Files = 2 ,Size = 0 Bytes");
  EXPECT_TRUE(IsWindowVisible(form.FileList().hwnd()));
}

}  // namespace
