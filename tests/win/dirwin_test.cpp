// The friends window, driven through its real windows under Wine on
// directories made in a temporary folder.
#include <gtest/gtest.h>

#include <algorithm>

#include "frame/frame_ids.h"
#include "launcher/dirwin.h"
#include "support/frame_fixture.h"

using namespace velkor;
using namespace velkor::test;

namespace {

constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

std::vector<std::wstring> Items(Tdirform& form) {
  std::vector<std::wstring> items;
  for (int i = 0; i < form.ListBox1().Count(); ++i) items.push_back(form.ListBox1().Text(i));
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
    if (Tdirform* form = Tdirform::Get()) DestroyWindow(form->hwnd());
    files_.reset();
    FrameTest::TearDown();
  }
  // The window listing the folder with the mask typed in the box.
  Tdirform& ListWith(const std::wstring& mask) {
    Tdirform& form = Tdirform::Show();
    SetWindowTextW(form.FileEdit(), mask.c_str());
    form.DirList1().SelectPath(files_->path());
    form.DirList1Change(files_->path());
    return form;
  }
  std::unique_ptr<TempDir> files_;
};

TEST_F(DirForm, NoMatchingFileSaysSoInBlue) {
  WriteBytes(*files_ / L"a.txt", "x");
  Tdirform& form = ListWith(L"*.zzz");
  EXPECT_EQ(form.ListBox1().Count(), 0);
  EXPECT_EQ(form.filepanel().text(), L" 該当ファイルは、見つかりません。");
  EXPECT_EQ(form.filepanel().look().text_color, kBlue);
  EXPECT_EQ(WindowText(form.hwnd()), L" ベルコ君のお友達");
  EXPECT_EQ(form.dirPanel1().text(), L" ディレクトリーを選択してネ !!");
}

TEST_F(DirForm, JpgMaskTakesJpeAndJpegButNeverADirectory) {
  for (const wchar_t* name : {L"A.JPG", L"B.jpe", L"C.jpeg", L"D.txt", L"E.JPGX"}) WriteBytes(*files_ / name, "x");
  CreateDirectoryW((*files_ / L"SUB.JPG").c_str(), nullptr);
  Tdirform& form = ListWith(L"*.jpg");
  EXPECT_EQ(form.FileMask, L"*.JP*");
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
  Tdirform& form = ListWith(L"*.*");
  EXPECT_EQ(WindowText(form.hwnd()), L" 該当ファイル  Total Files = 2 ,Size = 3,500 Bytes");
  EXPECT_EQ(form.filepanel().text(), L" 該当ファイルは 2 個 あります。");
  EXPECT_EQ(form.filepanel().look().text_color, kBlack);
  EXPECT_EQ(form.directorypanel().text(), L" Line :  / 2 ");
  EXPECT_EQ(form.FileCount, 2);
  EXPECT_EQ(form.TotalBytes, 3500);
}

TEST_F(DirForm, SelectingAnItemShowsItsNameSizeAndLine) {
  WriteBytes(*files_ / L"a.txt", std::string(1234, 'a'));
  WriteBytes(*files_ / L"b.txt", "b");
  Tdirform& form = ListWith(L"*.txt");
  HWND list = form.ListBox1();
  SetFocus(list);
  SendMessageW(list, WM_KEYDOWN, VK_HOME, 0);
  SendMessageW(list, WM_KEYUP, VK_HOME, 0xC0000001);
  EXPECT_EQ(form.filepanel().text(), L" 友達は      a.txt だよ");
  EXPECT_EQ(form.dirPanel1().text().rfind(L" ﾌｧｲﾙｻｲｽﾞ = 1,234 Bytes   ﾌｧｲﾙ日付 = ", 0), 0u) << form.dirPanel1().text();
  EXPECT_EQ(form.directorypanel().text(), L" Line : 1 / 2 ");
  EXPECT_EQ(form.SelectedSize, 1234);
  EXPECT_EQ(form.VelBT().hint(), L"クリックで起動");
}

TEST_F(DirForm, RowCommandsSizeTheItemsToTheListsHeight) {
  Tdirform& form = ListWith(L"*.*");
  HWND list = form.ListBox1();
  const int bar = GetSystemMetrics(SM_CYHSCROLL);
  MoveWindow(list, 0, 0, 400, 283 + bar, TRUE);
  ASSERT_EQ(form.AvailableHeight(), 283);
  form.GyouSetClick(1);
  EXPECT_EQ(form.ItemHeight(), 283);
  EXPECT_EQ(form.RowCount, 1);
  form.GyouSetClick(7);
  EXPECT_EQ(form.ItemHeight(), 94);
  EXPECT_EQ(form.RowCount, 3);
  EXPECT_EQ(form.ListBox1().ItemHeight(), 94);
  form.N17Click();  // one icon: 46-pixel rows
  EXPECT_EQ(form.ItemHeight(), 283 / (283 / 46));
}

TEST_F(DirForm, AnEmptyMaskBoxExplainsAndRefillsItself) {
  Tdirform& form = ListWith(L"*.*");
  SetWindowTextW(form.FileEdit(), L"");
  DialogAnswerer answers;
  answers.Press(IDOK);
  SendMessageW(form.FileEdit(), WM_CHAR, L'a', 0);
  ASSERT_EQ(answers.seen().size(), 1u);
  EXPECT_EQ(answers.seen()[0].text.rfind(L"セレクト指定が、空欄になっています。", 0), 0u);
  EXPECT_EQ(WindowText(form.FileEdit()), L"*.*");
}

TEST_F(DirForm, ThePopUpFileCommandsNeedASelection) {
  WriteBytes(*files_ / L"a.txt", "a");
  Tdirform& form = ListWith(L"*.*");
  form.ListBox1().Select(-1);
  form.PopupMenu1Popup();
  EXPECT_FALSE(MenuEnabled(form.PopupMenu1(), 972));
  form.ListBox1().Select(0);
  form.PopupMenu1Popup();
  EXPECT_TRUE(MenuEnabled(form.PopupMenu1(), 972));
  EXPECT_TRUE(MenuEnabled(form.PopupMenu1(), 973));
}

TEST_F(DirForm, F2AndTheMenuKeepOneWindow) {
  PostMessageW(frame_->hwnd(), WM_KEYDOWN, VK_F2, 0);
  ASSERT_TRUE(PumpUntil([] { return Tdirform::Get() != nullptr; }));
  Tdirform* first = Tdirform::Get();
  SendMessageW(frame_->hwnd(), WM_COMMAND, IDM_FRIEND, 0);
  frame_->VelSButtonClick();
  EXPECT_EQ(Tdirform::Get(), first);
  EXPECT_EQ(FormsOpen(), 1);
  SendMessageW(first->hwnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(Tdirform::Get(), nullptr);
  EXPECT_EQ(FormsOpen(), 0);
}

TEST_F(DirForm, OpeningAndClosingLeaksNoHandles) {
  for (int i = 0; i < 5; ++i) WriteBytes(*files_ / (std::to_wstring(i) + L".txt"), "x");
  wchar_t old_dir[MAX_PATH] = L"";
  GetCurrentDirectoryW(MAX_PATH, old_dir);
  SetCurrentDirectoryW(files_->path().c_str());
  auto cycle = [] {
    Tdirform& form = Tdirform::Show();
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
  Tdirform& form = ListWith(L"*.*");
  DriveTabSet& tabs = form.drivetabset();
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
  EXPECT_EQ(form.PrevTabIndex, c);
  EXPECT_EQ(form.DirList1().GetSelectedPath(), L"Z:\\");
  EXPECT_TRUE(Tdirform::DriveReady(L'z'));
}

}  // namespace
