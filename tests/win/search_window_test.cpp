// The search window and its source viewer, driven through real windows
// under Wine: start-up state, settings, hints, keys, and the viewer's
// opening, selection, find and way back.
#include <gtest/gtest.h>

#include <functional>

#include "controls/memo_find.h"
#include "ui/app.h"
#include "ui/dialog.h"
#include "ui/main_frame_ids.h"
#include "win/search_window_fixture.h"
#include "wordsearch/setup_dialog.h"
#include "wordsearch/wordsearch_ids.h"

using namespace velkor;
using namespace velkor::test;

namespace {

std::wstring HintOf(HWND control) { return Application::Get().ControlHint(control); }

int SpaceWidth(HFONT font) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  SIZE size{};
  GetTextExtentPoint32W(dc, L" ", 1, &size);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return size.cx;
}

bool Visible(HWND w) { return IsWindowVisible(w) != FALSE; }

}  // namespace

class SeaForm : public SearchWindowTest {};

TEST_F(SeaForm, FirstStartWithoutSettings) {
  SearchWindow& form = Open();
  wchar_t cls[32] = {};
  GetClassNameW(form.hwnd(), cls, 32);
  EXPECT_STREQ(cls, L"TSeaForm");
  EXPECT_EQ(WindowText(form.hwnd()), L"指定ディレクトリーから単語を検索");
  EXPECT_EQ(GetWindow(form.hwnd(), GW_OWNER), nullptr);
  for (int n = 1; n <= 6; ++n) {
    EXPECT_FALSE(IsWindowEnabled(form.DirNoCh(n))) << n;
    EXPECT_EQ(HintOf(form.DirNoCh(n)), L"未指定") << n;
    EXPECT_EQ(WindowText(form.DirNoCh(n)), L"No." + std::to_wstring(n));
  }
  const wchar_t* exts[] = {L".PAS", L".INT", L".ASM", L".RC", L".INC", L".TXT", L".LOG", L".INI", L".HTM"};
  for (int n = 1; n <= 9; ++n) {
    EXPECT_EQ(SendMessageW(form.CheckBox(n), BM_GETCHECK, 0, 0), BST_CHECKED) << n;
    EXPECT_EQ(WindowText(form.CheckBox(n)), exts[n - 1]);
  }
  EXPECT_EQ(form.FontSize(), 10);
  EXPECT_EQ(WindowText(form.Edit1()), L"10");
  int low = -1, high = -1;
  SendMessageW(form.UpDown1(), UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
  EXPECT_EQ(low, 0);
  EXPECT_EQ(form.Label1().text(), L"検索 (A=a)");
  EXPECT_FALSE(form.case_sensitive());
  EXPECT_TRUE(form.finishButton().enabled());
  EXPECT_TRUE(form.SearchBtn().enabled());
  EXPECT_TRUE(form.SetUpButton().enabled());
  EXPECT_FALSE(form.CopyBtn().enabled());
  EXPECT_FALSE(form.FileButton().enabled());
  EXPECT_FALSE(form.CloseFileButton().enabled());
  EXPECT_FALSE(form.OSButton().enabled());
  EXPECT_FALSE(IsWindowEnabled(form.HeaderControl1()));
  EXPECT_TRUE(Visible(form.FileList()));
  EXPECT_FALSE(Visible(form.SrcList().hwnd()));
  RECT rc{};
  GetClientRect(form.hwnd(), &rc);
  EXPECT_EQ(rc.right, 632);
  EXPECT_EQ(rc.bottom, 453);
  int edges[3] = {};
  SendMessageW(form.StatusBar1(), SB_GETPARTS, 3, reinterpret_cast<LPARAM>(edges));
  EXPECT_EQ(edges[0], 350);
  EXPECT_EQ(edges[1], 500);
}

TEST_F(SeaForm, ARegisteredDirectoryIsNamedByItsLastName) {
  Register(1, L"C:\\Tools\\Memo\\", false);
  // 表 is 95 5C: its second byte must not be taken for a separator.
  const std::wstring dbcs = L"C:\\Tools\\" + Cp("\x95\x5C\x8E\xA6") + L"\\";
  Register(2, dbcs, true);
  SearchWindow& form = Open();
  EXPECT_EQ(WindowText(form.DirNoCh(1)), L"Memo");
  EXPECT_EQ(HintOf(form.DirNoCh(1)), L"C:\\Tools\\Memo\\");
  EXPECT_TRUE(IsWindowEnabled(form.DirNoCh(1)));
  EXPECT_EQ(SendMessageW(form.DirNoCh(1), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(WindowText(form.DirNoCh(2)), Cp("\x95\x5C\x8E\xA6"));
  EXPECT_EQ(SendMessageW(form.DirNoCh(2), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_FALSE(IsWindowEnabled(form.DirNoCh(3)));

  SendMessageW(form.DirNoCh(1), BM_CLICK, 0, 0);
  EXPECT_TRUE(form.dir_checked()[1]);
  EXPECT_EQ(GetFocus(), form.KeyWordEdit()) << "a click hands the focus to the keyword";
}

TEST_F(SeaForm, TheCaseLabelTogglesBackAndForth) {
  SearchWindow& form = Open();
  form.ToggleCaseSensitivity();
  EXPECT_TRUE(form.case_sensitive());
  EXPECT_EQ(form.Label1().text(), L"検索(A≠a)");
  EXPECT_EQ(HintOf(form.Label1().hwnd()), L"大文字・小文字を区別|アルファベットで大文字・小文字を区別");
  form.ToggleCaseSensitivity();
  EXPECT_FALSE(form.case_sensitive());
  EXPECT_EQ(form.Label1().text(), L"検索(A=a)");
  EXPECT_EQ(HintOf(form.Label1().hwnd()), L"大文字・小文字を同一視|アルファベットで大文字・小文字を同一視");
}

TEST_F(SeaForm, EscapeEmptiesTheKeywordBoxAndThenTheList) {
  const std::wstring d = Dir(L"a");
  WriteBytes(d + L"t.txt", "key\r\n");
  Register(1, d);
  SearchWindow& form = Open();
  DialogAnswerer answers;
  Search(form, L"key");
  ASSERT_EQ(form.hits().size(), 1u);
  ASSERT_EQ(form.StatusText(2), L"1 / 1");

  SendMessageW(form.KeyWordEdit(), WM_CHAR, VK_ESCAPE, 0);
  EXPECT_EQ(WindowText(form.KeyWordEditB()), L"");
  EXPECT_EQ(form.StatusText(2), L"");
  EXPECT_EQ(SendMessageW(form.FileList(), LB_GETCOUNT, 0, 0), 1) << "the list stays";

  SendMessageW(form.FileList(), WM_CHAR, VK_ESCAPE, 0);
  EXPECT_EQ(SendMessageW(form.FileList(), LB_GETCOUNT, 0, 0), 0);
  EXPECT_TRUE(form.hits().empty());
  EXPECT_FALSE(form.FileButton().enabled());
  EXPECT_EQ(WindowText(form.hwnd()), L"");
  EXPECT_EQ(GetFocus(), form.KeyWordEdit());
}

TEST_F(SeaForm, EnterInTheKeywordBoxSearches) {
  const std::wstring d = Dir(L"a");
  WriteBytes(d + L"t.txt", "key\r\n");
  Register(1, d);
  SearchWindow& form = Open();
  DialogAnswerer answers;
  SetWindowTextW(form.KeyWordEditB(), L"key");
  SendMessageW(form.KeyWordEdit(), WM_CHAR, VK_RETURN, 0);
  EXPECT_EQ(form.hits().size(), 1u);
}

TEST_F(SeaForm, SettingsComeBackAfterCloseAndReopenButTheCaseModeDoesNot) {
  Register(1, L"C:\\One\\", false);
  Register(2, L"C:\\Two\\", true);
  SearchWindow& first = Open();
  SendMessageW(first.DirNoCh(1), BM_CLICK, 0, 0);
  SendMessageW(first.DirNoCh(2), BM_CLICK, 0, 0);
  SendMessageW(first.CheckBox(3), BM_CLICK, 0, 0);
  SendMessageW(first.UpDown1(), UDM_SETPOS32, 0, 14);
  first.ApplyFontSize();
  first.ToggleCaseSensitivity();
  Close(first);
  ASSERT_EQ(SearchWindow::Get(), nullptr);
  EXPECT_EQ(IniString(IniPath(), L"Option", L"No1"), L"1");
  EXPECT_EQ(IniString(IniPath(), L"Option1", L"FontSize"), L"14");

  SearchWindow& again = Open();
  EXPECT_TRUE(again.dir_checked()[1]);
  EXPECT_FALSE(again.dir_checked()[2]);
  EXPECT_EQ(SendMessageW(again.DirNoCh(1), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageW(again.DirNoCh(2), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(SendMessageW(again.CheckBox(3), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(again.ext_table()[2], "....");
  EXPECT_EQ(again.FontSize(), 14);
  EXPECT_EQ(again.SrcList().font().size, 14);
  EXPECT_FALSE(again.case_sensitive());
  EXPECT_EQ(again.Label1().text(), L"検索 (A=a)");
}

TEST_F(SeaForm, ClosingTheMainWindowTakesTheSearchWindowAlongAndSavesItsSettings) {
  Register(1, L"C:\\One\\", false);
  SearchWindow& form = Open();
  SendMessageW(form.DirNoCh(1), BM_CLICK, 0, 0);
  DestroyFrame();
  EXPECT_EQ(SearchWindow::Get(), nullptr);
  EXPECT_EQ(IniString(IniPath(), L"Option", L"No1"), L"1");
  EXPECT_NE(IniString(IniPath(), L"TSeaForm", L"PlaceNormalPos.Left"), L"<none>");
}

TEST_F(SeaForm, ReopensWhereItWasLeft) {
  WriteIni("[TSeaForm]\r\nPlaceNormalPos.Left=120\r\nPlaceNormalPos.Top=60\r\n");
  SearchWindow& form = Open();
  RECT r{};
  GetWindowRect(form.hwnd(), &r);
  EXPECT_EQ(r.left, 120);
  EXPECT_EQ(r.top, 60);
}

TEST_F(SeaForm, TheMainWindowKeepsOneSearchWindowAndBringsItBack) {
  SearchWindow& form = Open();
  frame_->ShowSearchWindow();
  EXPECT_EQ(SearchWindow::Get(), &form);
  ShowWindow(form.hwnd(), SW_MINIMIZE);
  frame_->ShowSearchWindow();
  EXPECT_FALSE(IsIconic(form.hwnd()));
  EXPECT_EQ(SearchWindow::Get(), &form);
  SendMessageW(frame_->hwnd(), WM_COMMAND, IDM_WORDSEARCH, 0);
  EXPECT_EQ(SearchWindow::Get(), &form);
}

TEST_F(SeaForm, TheHintLineIsTheSearchWindowsUntilItCloses) {
  SearchWindow& form = Open();
  EXPECT_EQ(Application::Get().hint_handler_owner(), &form);
  Application::Get().SetHint(L"long part");
  EXPECT_EQ(form.StatusText(1), L"long part");
  const Application::HintLook& look = Application::Get().hint_look();
  EXPECT_EQ(look.pause_ms, 300);
  EXPECT_EQ(look.hide_pause_ms, 8000);
  EXPECT_EQ(look.color, RGB(0, 255, 255));

  frame_->InstallDisplayHint();
  SendMessageW(form.SpeedBar().hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(300, 30));
  EXPECT_EQ(Application::Get().hint_handler_owner(), &form) << "the tool bar takes it back";

  Close(form);
  EXPECT_EQ(Application::Get().hint_handler_owner(), frame_.get());
  Application::Get().SetHint(L"");
}

TEST_F(SeaForm, ControlsCarryTheirHints) {
  SearchWindow& form = Open();
  EXPECT_EQ(form.finishButton().hint(), L"終了|検索を終了する");
  EXPECT_EQ(form.SearchBtn().hint(), L"検索開始|指定条件に基づき、検索を開始する");
  EXPECT_EQ(form.OSButton().hint(), L"開けゴマ|ＷＷＷブラウザなどで閲覧");
  EXPECT_EQ(HintOf(form.ClassCheck()), L"More Select|直前が スペース or . or ( の場合をセレクト");
  EXPECT_EQ(HintOf(form.UpDown1()), L"文字サイズ変更|文字サイズを変更 ( Up or Down )");
  EXPECT_EQ(HintOf(form.KeyWordEditB()), L"検索文字を入力|検索する文字列を入力して下さい");
  EXPECT_EQ(WindowText(form.ClassCheck()), L"Class");
}

// Opens the setup dialog from the search window; `use` works the dialog,
// which is then closed with `close`.
void RunSetup(SearchWindow& form, std::function<void(SetupDialog&)> use, int close) {
  DialogAnswerer answers;
  answers.Then([&](HWND dialog) {
    auto* setup = dynamic_cast<SetupDialog*>(Dialog::FromHandle(dialog));
    ASSERT_NE(setup, nullptr);
    use(*setup);
    DialogAnswerer::Click(dialog, close);
  });
  SendMessageW(form.hwnd(), WM_COMMAND, MAKEWPARAM(IDC_SEA_SETUP, BN_CLICKED), 0);
  EXPECT_EQ(answers.pending(), 0u);
}

TEST_F(SeaForm, TheSetupDialogRegistersADirectoryOnOKOnly) {
  TempDir dir;
  const std::wstring memo = dir / L"Memo";
  CreateDirectoryW(memo.c_str(), nullptr);
  SearchWindow& form = Open();
  auto register3 = [&](SetupDialog& setup) {
    setup.tree().SelectPath(memo);
    SendMessageW(setup.Item(IDC_SETUP_NUMBER1 + 2), BM_CLICK, 0, 0);
    SendMessageW(setup.Item(IDC_SETUP_CHECK1 + 2), BM_CLICK, 0, 0);
  };
  RunSetup(form, register3, IDCANCEL);
  EXPECT_EQ(form.dir_path()[3], L"");
  EXPECT_EQ(Settings(IniPath()).ReadString(L"Option", L"No3Dir", L"none"), L"none");

  RunSetup(form, register3, IDOK);
  EXPECT_EQ(form.dir_path()[3], memo + L"\\");
  EXPECT_EQ(WindowText(form.DirNoCh(3)), L"Memo");
  EXPECT_EQ(SendMessageW(form.DirNoCh(3), BM_GETCHECK, 0, 0), BST_CHECKED);
  Settings ini(IniPath());
  EXPECT_TRUE(ini.ReadBool(L"Option", L"No3", false));
  EXPECT_EQ(ini.ReadString(L"Option", L"No3Dir", L""), memo + L"\\");
}

TEST_F(SeaForm, TheSetupDialogRegistersADriveRoot) {
  SearchWindow& form = Open();
  RunSetup(form, [](SetupDialog& setup) {
    setup.tree().SetDrive(L'C');
    setup.tree().SelectPath(L"C:\\");  // the drive node, which names no entry
    ASSERT_EQ(setup.tree().GetSelectedPath(), L"C:\\");
    SendMessageW(setup.Item(IDC_SETUP_NUMBER1 + 3), BM_CLICK, 0, 0);
    EXPECT_EQ(setup.ItemText(IDC_SETUP_DIR1 + 3), L"C:\\");
  }, IDOK);
  EXPECT_EQ(form.dir_path()[4], L"C:\\");
  EXPECT_FALSE(WindowText(form.DirNoCh(4)).empty()) << "a root still names its button";
  EXPECT_EQ(Settings(IniPath()).ReadString(L"Option", L"No4Dir", L""), L"C:\\");
}

TEST_F(SeaForm, TheSetupDialogRefusesToCheckAnEmptyNumber) {
  SearchWindow& form = Open();
  RunSetup(form, [](SetupDialog& setup) {
    DialogAnswerer warning;
    warning.Press(IDOK);
    SendMessageW(setup.Item(IDC_SETUP_CHECK1 + 5), BM_CLICK, 0, 0);
    ASSERT_EQ(warning.seen().size(), 1u);
    EXPECT_NE(warning.seen()[0].text.find(L"6 のボタンを"), std::wstring::npos);
    EXPECT_FALSE(setup.Checked(IDC_SETUP_CHECK1 + 5));
  }, IDCANCEL);
}

TEST_F(SeaForm, TheSetupDialogListsSubdirectoriesFirst) {
  TempDir dir;
  for (const wchar_t* d : {L"s1", L"s2", L"s3"}) CreateDirectoryW((dir / d).c_str(), nullptr);
  for (const wchar_t* f : {L"a.txt", L"b.txt", L"c.ini", L"d", L"e.bin"}) WriteBytes(dir / f, "x");
  WriteBytes(dir / L"big.dat", std::string(1234567, 'x'));
  DeleteFileW((dir / L"e.bin").c_str());
  SearchWindow& form = Open();
  RunSetup(form, [&](SetupDialog& setup) {
    setup.tree().SelectPath(dir.path());
    EXPECT_EQ(setup.list().Count(), 0) << "a selection made without a click lists nothing";
    setup.ListAsClicked(dir.path());
    ASSERT_EQ(setup.list().Count(), 8);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(setup.list().Text(i, 1), L"        ");
    for (int i = 3; i < 8; ++i) {
      EXPECT_NE(setup.list().Text(i, 1), L"        ");
      if (setup.list().Text(i, 0) == L"big.dat") { EXPECT_EQ(setup.list().Text(i, 1), L"1,234,567"); }
    }
    EXPECT_EQ(setup.list().Text(0, 2).size(), 8u);
    // Each line shows its own kind's picture: lines of one extension share it.
    auto image_of = [&](const std::wstring& name) {
      for (int i = 0; i < setup.list().Count(); ++i) {
        if (setup.list().Text(i, 0) != name) continue;
        LVITEMW item{};
        item.mask = LVIF_IMAGE;
        item.iItem = i;
        SendMessageW(setup.list(), LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        return item.iImage;
      }
      return -2;
    };
    EXPECT_EQ(image_of(L"a.txt"), image_of(L"b.txt"));
    EXPECT_NE(image_of(L"a.txt"), image_of(L"s1"));
    EXPECT_EQ(setup.StatusText(1), L"8");
    setup.list().Select(3);
    NMHDR click{setup.list(), 703, static_cast<UINT>(NM_CLICK)};
    SendMessageW(setup.hwnd(), WM_NOTIFY, 703, reinterpret_cast<LPARAM>(&click));
    EXPECT_EQ(setup.StatusText(1), L"4 / 8");

    // A directory that cannot be read lists nothing and says nothing.
    setup.ListAsClicked(dir / L"missing");
    EXPECT_EQ(setup.list().Count(), 0);
  }, IDCANCEL);
}

TEST_F(SeaForm, TheHeaderSectionsMatchTheResultColumns) {
  SearchWindow& form = Open();
  SendMessageW(form.UpDown1(), UDM_SETPOS32, 0, 12);
  form.ApplyFontSize();
  const int w = SpaceWidth(form.WindowFont());
  const int columns[4] = {22, 8, 19, 110};
  const wchar_t* titles[4] = {L"File Name", L"LineNo", L"Date Time", L"Coment"};
  ASSERT_EQ(SendMessageW(form.HeaderControl1(), HDM_GETITEMCOUNT, 0, 0), 4);
  for (int i = 0; i < 4; ++i) {
    wchar_t text[32] = {};
    HDITEMW item{};
    item.mask = HDI_WIDTH | HDI_TEXT | HDI_FORMAT;
    item.pszText = text;
    item.cchTextMax = 32;
    SendMessageW(form.HeaderControl1(), HDM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(item.cxy, columns[i] * w) << i;
    EXPECT_STREQ(text, titles[i]);
    EXPECT_EQ(item.fmt & HDF_JUSTIFYMASK, i == 2 ? HDF_CENTER : HDF_LEFT) << i;
  }
}

TEST_F(SeaForm, TheListMenuOpensOnlyASelectedHitAndJumpsToTheEnds) {
  const std::wstring d = Dir(L"a");
  WriteBytes(d + L"t.txt", "key 1\r\nkey 2\r\nkey 3\r\n");
  Register(1, d);
  SearchWindow& form = Open();
  DialogAnswerer answers;
  Search(form, L"key");
  SendMessageW(form.FileList(), LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  form.EnableResultPopupItems();
  EXPECT_TRUE(GetMenuState(form.PopupMenu2(), IDM_SEA_OPEN1, MF_BYCOMMAND) & MF_GRAYED);
  form.SelectLastHit();
  EXPECT_EQ(SendMessageW(form.FileList(), LB_GETCURSEL, 0, 0), 2);
  form.EnableResultPopupItems();
  EXPECT_FALSE(GetMenuState(form.PopupMenu2(), IDM_SEA_OPEN1, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_EQ(form.StatusText(2), L"1 / 3") << "selecting by the menu does not show the position";
  form.SelectFirstHit();
  EXPECT_EQ(SendMessageW(form.FileList(), LB_GETCURSEL, 0, 0), 0);
  SendMessageW(form.FileList(), WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(form.StatusText(2), L"2 / 3");
}

TEST_F(SeaForm, HelpContextsFollowTheControl) {
  SearchWindow& form = Open();
  EXPECT_EQ(form.HelpContextOf(form.FileList()), 1068);
  EXPECT_EQ(form.HelpContextOf(form.SrcList().hwnd()), 1068);
  EXPECT_EQ(form.HelpContextOf(form.ClassCheck()), 1066);
  EXPECT_EQ(form.HelpContextOf(form.PageControl1()), 1064);
  EXPECT_EQ(form.HelpContextOf(form.CheckBox(4)), 1064);
  EXPECT_EQ(form.HelpContextOf(form.KeyWordEdit()), 1060);
  EXPECT_EQ(SearchWindow::HelpContextOfMenuItem(IDM_SEA_OPEN1), 1390);
  EXPECT_EQ(SearchWindow::HelpContextOfMenuItem(IDM_SEA_TOPT2), 1068);
  EXPECT_EQ(SearchWindow::HelpContextOfMenuItem(IDM_SEA_LASTL2), 1068);
}

// The viewer.

class Viewer : public SearchWindowTest {
 protected:
  SearchWindow& SearchIn(const std::string& bytes, const std::wstring& keyword, const std::wstring& name = L"t.txt") {
    const std::wstring d = Dir(L"a");
    path_ = d + name;
    WriteBytes(path_, bytes);
    Register(1, d);
    SearchWindow& form = Open();
    Search(form, keyword);
    return form;
  }
  static void OpenHit(SearchWindow& form, int index) {
    SendMessageW(form.FileList(), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    form.ViewSelectedHit();
  }
  static int CaretLine(SearchWindow& form) { return form.SrcList().LineFromChar(form.SrcList().SelStart()) + 1; }
  std::wstring path_;
  DialogAnswerer answers_;
};

TEST_F(Viewer, ThreeHitsInOneFileReadItOnce) {
  SearchWindow& form = SearchIn("key one\r\nplain\r\nsecond key\r\nplain\r\nplain key three\r\n", L"key");
  ASSERT_EQ(form.hits().size(), 3u);
  OpenHit(form, 0);
  EXPECT_EQ(form.view_file(), path_);
  EXPECT_EQ(CaretLine(form), 1);
  EXPECT_EQ(form.SrcList().SelText(), L"key");
  EXPECT_EQ(form.StatusText(3), L"1 / 5 ");
  form.CloseViewer();

  // Gone from the disk: only the text read the first time can show the next hits.
  ASSERT_TRUE(DeleteFileW(path_.c_str()));
  OpenHit(form, 1);
  EXPECT_TRUE(Visible(form.SrcList().hwnd()));
  EXPECT_EQ(CaretLine(form), 3);
  EXPECT_EQ(form.SrcList().SelStart(), form.SrcList().LineIndex(2) + 7);
  EXPECT_EQ(form.SrcList().SelText(), L"key");
  form.CloseViewer();
  OpenHit(form, 2);
  EXPECT_EQ(CaretLine(form), 5);
  EXPECT_EQ(form.SrcList().SelText(), L"key");
  EXPECT_EQ(answers_.seen().size(), 0u);
}

TEST_F(Viewer, OpeningShowsTheViewerAndSetsTheButtons) {
  SearchWindow& form = SearchIn("a key\r\n", L"key");
  OpenHit(form, 0);
  EXPECT_TRUE(Visible(form.SrcList().hwnd()));
  EXPECT_FALSE(Visible(form.FileList()));
  EXPECT_FALSE(Visible(form.HeaderControl1()));
  EXPECT_TRUE(form.CopyBtn().enabled());
  EXPECT_TRUE(form.CloseFileButton().enabled());
  EXPECT_FALSE(form.FileButton().enabled());
  EXPECT_EQ(GetFocus(), form.SrcList().hwnd());
  EXPECT_EQ(WindowText(form.hwnd()), L" View Source  -  " + path_);
  EXPECT_FALSE(GetMenuState(form.PopupMenu1(), IDM_SEA_FINDNEXT1, MF_BYCOMMAND) & MF_GRAYED);
  RECT client{}, viewer{};
  GetClientRect(form.hwnd(), &client);
  GetWindowRect(form.SrcList().hwnd(), &viewer);
  EXPECT_EQ(viewer.right - viewer.left, client.right) << "it fills the window's width";
}

TEST_F(Viewer, LettersAlikeSelectTheTextAsItStandsAndMakeItTheFindText) {
  SearchWindow& form = SearchIn("first ABC here\r\nmore abc and ABC\r\n", L"abc");
  OpenHit(form, 0);
  EXPECT_EQ(form.SrcList().SelText(), L"ABC");
  EXPECT_STREQ(form.FindDialog1().lpstrFindWhat, L"ABC");
  EXPECT_TRUE(form.FindOptions() & FR_MATCHCASE);
  // Match case is on in the dialog: Next skips abc and finds the second ABC.
  form.ViewerFindNext();
  EXPECT_EQ(CaretLine(form), 2);
  EXPECT_EQ(form.SrcList().SelStart(), form.SrcList().LineIndex(1) + 13);
  EXPECT_EQ(form.find_count(), 1);
}

TEST_F(Viewer, AOneByteKeywordSkipsTheSecondBytesOfDoubleByteCharacters) {
  // Four 表 (95 5C) come before the backslash that stands for itself.
  SearchWindow& form = SearchIn("\x95\x5C\x95\x5C\x95\x5C\x95\x5C" "a\\b\r\n", L"\\");
  ASSERT_EQ(form.hits().size(), 1u);
  OpenHit(form, 0);
  EXPECT_EQ(form.SrcList().SelStart(), 5);
  EXPECT_EQ(form.SrcList().SelText(), L"\\");
}

TEST_F(Viewer, EscapeAndEnterGoBackToTheListWithTheSelectionKept) {
  SearchWindow& form = SearchIn("key 1\r\nkey 2\r\nkey 3\r\n", L"key");
  OpenHit(form, 1);
  SendMessageW(form.SrcList().hwnd(), WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_FALSE(Visible(form.SrcList().hwnd()));
  EXPECT_TRUE(Visible(form.FileList()));
  EXPECT_TRUE(Visible(form.HeaderControl1()));
  EXPECT_EQ(SendMessageW(form.FileList(), LB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(GetFocus(), form.FileList());
  EXPECT_TRUE(form.FileButton().enabled());
  EXPECT_FALSE(form.CopyBtn().enabled());
  EXPECT_FALSE(form.CloseFileButton().enabled());
  EXPECT_EQ(form.StatusText(3), L"");
  EXPECT_EQ(form.view_file(), path_) << "the text stays loaded";

  SendMessageW(form.FileList(), WM_CHAR, VK_RETURN, 0);
  EXPECT_TRUE(Visible(form.SrcList().hwnd()));
  SendMessageW(form.SrcList().hwnd(), WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_TRUE(Visible(form.FileList()));
}

TEST_F(Viewer, ADeletedFileCannotBeOpenedAndTheListStays) {
  SearchWindow& form = SearchIn("key\r\n", L"key");
  ASSERT_TRUE(DeleteFileW(path_.c_str()));
  answers_.Press(IDOK);
  OpenHit(form, 0);
  ASSERT_EQ(answers_.seen().size(), 1u);
  EXPECT_EQ(answers_.seen()[0].caption, L"ベルコノート");
  EXPECT_EQ(answers_.seen()[0].text, L"ﾌｧｲﾙ " + path_ + L" は開けません\r\n\r\n" +
                                         L"他のソフトウェアが使用中で、その上、ファイルがロックされています。");
  EXPECT_TRUE(Visible(form.FileList()));
  EXPECT_FALSE(Visible(form.SrcList().hwnd()));
  EXPECT_EQ(form.view_file(), L"");
}

TEST_F(Viewer, APathLongerThanTheListColumnsStillOpens) {
  std::wstring name(120, L'x');
  name += L".txt";
  SearchWindow& form = SearchIn("long key\r\n", L"key", name);
  ASSERT_EQ(form.hits().size(), 1u);
  ASSERT_GT(WideToCp932(path_).bytes.size(), 100u);
  OpenHit(form, 0);
  EXPECT_EQ(answers_.seen().size(), 0u);
  EXPECT_EQ(form.view_file(), path_);
  EXPECT_EQ(form.SrcList().SelText(), L"key");
}

TEST_F(Viewer, AFailedFindSaysHowOftenTheTextWasFound) {
  SearchWindow& form = SearchIn("key\r\nxyz\r\nxyz\r\n", L"key");
  OpenHit(form, 0);
  answers_.Then([](HWND) {});  // the find dialog itself stays open
  form.OpenViewerFind();
  PumpFor(20);
  ASSERT_NE(form.FindDialog(), nullptr);
  ASSERT_EQ(answers_.seen().size(), 1u);
  RECT at{};
  GetWindowRect(form.FindDialog(), &at);
  EXPECT_EQ(at.left, 0);
  EXPECT_EQ(at.top, 0);
  lstrcpyW(form.FindDialog1().lpstrFindWhat, L"nothing");
  answers_.Press(IDOK);
  form.FindInViewer();
  ASSERT_EQ(answers_.seen().size(), 2u);
  EXPECT_EQ(answers_.seen()[1].text, NotFoundText(L"nothing"));
  EXPECT_EQ(answers_.seen()[1].text, L"見つかりません \"　nothing　\" !!");
  EXPECT_EQ(form.FindDialog(), nullptr) << "the dialog closes";

  form.ViewerToStart();
  lstrcpyW(form.FindDialog1().lpstrFindWhat, L"xyz");
  form.ViewerFindNext();
  form.ViewerFindNext();
  EXPECT_EQ(form.find_count(), 2);
  EXPECT_EQ(CaretLine(form), 3);
  answers_.Press(IDOK);
  form.ViewerFindNext();
  ASSERT_EQ(answers_.seen().size(), 3u);
  EXPECT_EQ(answers_.seen()[2].text, L"検索文字 ： \" xyz　\" は、計  2  回  見つかりました。");
  EXPECT_EQ(form.find_count(), 0);
  EXPECT_EQ(form.SrcList().SelLength(), 0);
  EXPECT_EQ(form.StatusText(3), L"3 / 3 ");
}

TEST_F(Viewer, AHitFarDownIsScrolledToTheTop) {
  std::string text;
  for (int i = 1; i <= 300; ++i) text += (i == 150 ? "the key line" : "line " + std::to_string(i)) + (i < 300 ? "\r\n" : "");
  SearchWindow& form = SearchIn(text, L"key");
  OpenHit(form, 0);
  EXPECT_EQ(CaretLine(form), 150);
  EXPECT_EQ(form.SrcList().FirstVisibleLine(), 149);
  EXPECT_EQ(form.StatusText(3), L"150 / 300 ");
  form.ViewerToEnd();
  EXPECT_EQ(form.StatusText(3), L"300 / 300 ");
  form.ViewerToStart();
  EXPECT_EQ(form.StatusText(3), L"1 / 300 ");
}

TEST_F(Viewer, CopyCommandsTakeTheSelectionOrTheWholeText) {
  SearchWindow& form = SearchIn("one key\r\ntwo\r\n", L"key");
  OpenHit(form, 0);
  form.CopyViewerSelection();
  EXPECT_EQ(form.SrcList().SelLength(), 0);
  ASSERT_TRUE(OpenClipboard(nullptr));
  std::wstring copied;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) copied = static_cast<const wchar_t*>(GlobalLock(data));
  CloseClipboard();
  EXPECT_EQ(copied, L"key");

  form.CopyViewerText();
  ASSERT_TRUE(OpenClipboard(nullptr));
  copied.clear();
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) copied = static_cast<const wchar_t*>(GlobalLock(data));
  CloseClipboard();
  EXPECT_EQ(copied.substr(0, 7), L"one key");
  EXPECT_NE(copied.find(L"two"), std::wstring::npos);
  EXPECT_EQ(form.SrcList().SelLength(), 0);
}

TEST_F(Viewer, ANewSearchReturnsToTheListAndReadsTheFileAgain) {
  SearchWindow& form = SearchIn("key one\r\n", L"key");
  OpenHit(form, 0);
  WriteBytes(path_, "changed key\r\n");
  Search(form, L"key");
  EXPECT_FALSE(Visible(form.SrcList().hwnd()));
  EXPECT_TRUE(Visible(form.FileList()));
  EXPECT_EQ(form.view_file(), L"");
  OpenHit(form, 0);
  EXPECT_EQ(form.SrcList().Text(), L"changed key\r\n");
  EXPECT_EQ(form.SrcList().SelStart(), 8);
}

TEST_F(Viewer, F3FindsTheNextOccurrenceOnlyInTheViewer) {
  SearchWindow& form = SearchIn("key\r\nkey again\r\nand key\r\n", L"key");
  OpenHit(form, 0);
  PostMessageW(form.SrcList().hwnd(), WM_KEYDOWN, VK_F3, 0);
  PumpFor(20);
  EXPECT_EQ(CaretLine(form), 2);
  EXPECT_EQ(form.find_count(), 1);

  form.CloseViewer();
  PostMessageW(form.FileList(), WM_KEYDOWN, VK_F3, 0);
  PumpFor(20);
  EXPECT_EQ(form.find_count(), 1) << "the list has no find";
  EXPECT_EQ(answers_.seen().size(), 0u);
}

TEST_F(Viewer, AHitInATallMixedTextLandsWholeAtTheTop) {
  // Over 65,535 pixels of lines of two heights: Japanese lines stand taller.
  std::wstring text;
  for (int i = 1; i <= 6000; ++i) {
    if (i == 1861)
      text += L"the key line\r\n";
    else if (i % 3 == 0)
      text += L"  { 大文字「ｶﾀｶﾅ」全角ＡＢＣ、表示。 } " + std::to_wstring(i) + L"\r\n";
    else
      text += L"line " + std::to_wstring(i) + L"\r\n";
  }
  SearchWindow& form = SearchIn(WideToCp932(text).bytes, L"key");
  OpenHit(form, 0);
  EXPECT_EQ(CaretLine(form), 1861);
  EXPECT_EQ(form.SrcList().FirstVisibleLine(), 1860);
  POINTL at{};
  SendMessageW(form.SrcList().hwnd(), EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&at), form.SrcList().LineIndex(1860));
  EXPECT_EQ(at.y, form.SrcList().FormatRect().top) << "not cut at the top";
}
