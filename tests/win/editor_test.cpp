// Editor windows and their documents, driven through real windows under Wine.
#include <gtest/gtest.h>

#include "editor/editor_ids.h"
#include "editor/editor_window.h"
#include "ui/main_frame_ids.h"
#include "state/settings.h"
#include "ui/app.h"
#include "platform/error.h"
#include "support/frame_fixture.h"

using namespace velkor;
using namespace velkor::test;

namespace {

// "正常に保存しました" and friends come in message boxes; most tests just accept them.
void Type(EditorWindow& e, const std::wstring& text) {
  e.memo().SetSel(e.memo().TextLength(), 0);
  e.memo().ReplaceSel(text);
}

void CALLBACK CloseMenuSoon(HWND, UINT, UINT_PTR, DWORD) { EndMenu(); }

bool SavedMessage(const DialogAnswerer::Seen& box) {
  return box.text.find(L"正常に保存しました !!") != std::wstring::npos;
}

}  // namespace

class Editor : public FrameTest {
 protected:
  MainWindow& f() { return *frame_; }
  void SetUp() override {
    FrameTest::SetUp();
    StartFrame();
  }
  EditorWindow* Open(const std::wstring& path) { return f().OpenDocument(path, path, 0, true); }
};

TEST_F(Editor, NewWindowsAreNumberedAndTheHighestNumberIsReused) {
  EditorWindow* one = f().NewChild();
  EditorWindow* two = f().NewChild();
  EXPECT_EQ(one->Tag, 1);
  EXPECT_EQ(two->Tag, 2);
  EXPECT_EQ(one->Caption(), L" NewFile 1");
  EXPECT_EQ(two->Caption(), L" NewFile 2");
  EXPECT_TRUE(one->file_path().empty());

  two->CloseFromEditorMenu();
  PumpFor(20);
  EXPECT_EQ(f().untitled_numbers().Newest(), 1);
  EditorWindow* again = f().NewChild();
  EXPECT_EQ(again->Tag, 2) << "closing the newest window gives its number back";

  one->CloseFromEditorMenu();
  PumpFor(20);
  EXPECT_EQ(f().untitled_numbers().Newest(), 2) << "closing an older window does not";
  EXPECT_EQ(f().NewChild()->Tag, 3);
}

TEST_F(Editor, ClosingByTheCloseBoxKeepsTheCount) {
  EditorWindow* one = f().NewChild();
  SendMessageW(one->hwnd(), WM_CLOSE, 0, 0);
  PumpFor(20);
  EXPECT_EQ(f().untitled_numbers().Newest(), 1);
  EXPECT_EQ(f().NewChild()->Tag, 2);
}

TEST_F(Editor, NumberedWindowsTakeTheSettingsOfTheirNumber) {
  Settings ini(IniPath());
  ini.WriteInteger(L"ChildNO2FontSelect", L"EditFormWidth", 400);
  ini.WriteString(L"ChildNO2FontSelect", L"Name", L"ＭＳ 明朝");
  ini.WriteInteger(L"ChildNO2FontSelect", L"Size", 14);
  ini.WriteInteger(L"ChildNO2FontSelect", L"Color", 255);
  ini.WriteInteger(L"ChildNO2FontSelect", L"Style", 1 | 4);
  ini.WriteBool(L"ChildNO2FontSelect", L"WordWrap", true);
  EditorWindow* one = f().NewChild();
  EditorWindow* two = f().NewChild();
  RECT r{};
  GetWindowRect(two->hwnd(), &r);
  EXPECT_EQ(r.right - r.left, 400);
  EXPECT_EQ(two->memo().font(), (FontSpec{L"ＭＳ 明朝", 14, 255, 5}));
  EXPECT_TRUE(two->memo().word_wrap());
  EXPECT_TRUE(GetMenuState(two->menu_bar(), IDM_WORDWRAP1, MF_BYCOMMAND) & MF_CHECKED);
  EXPECT_FALSE(one->memo().word_wrap());
  // Defaults: six sevenths of the main window's width, two thirds of its height.
  RECT main{};
  GetWindowRect(f().hwnd(), &main);
  GetWindowRect(one->hwnd(), &r);
  EXPECT_EQ(r.right - r.left, (main.right - main.left) * 6 / 7);
  EXPECT_EQ(r.bottom - r.top, (main.bottom - main.top) * 2 / 3);
  EXPECT_EQ(one->memo().font().name, L"ＭＳ ゴシック");
}

TEST_F(Editor, OpenShowsTheFileOnGreyWithItsNameAsCaption) {
  const std::wstring path = dir_ / L"memo.txt";
  WriteBytes(path, "\x82\xA0\x82\xA2\r\nline2\r\n");  // あい
  EditorWindow* e = Open(path);
  EXPECT_EQ(e->file_path(), path);
  EXPECT_EQ(e->Caption(), L"memo.txt");
  EXPECT_EQ(e->memo().Text(), L"あい\r\nline2\r\n");
  EXPECT_FALSE(e->memo().Modified());
  EXPECT_EQ(e->memo().SelStart(), 0);
  EXPECT_EQ(e->Tag, 0);
}

TEST_F(Editor, StatusLineShowsCaretLineCountAndSize) {
  EditorWindow* e = f().NewChild();
  e->memo().SetText(L"ab\r\nあいう\r\n");
  e->memo().SetSel(4, 0);
  e->ShowCaretStatus();
  EXPECT_EQ(f().StatusLine().text(),
            L"カーソル位置 = 2 行目  /  トータル行数 = 2 行  /  サイズ = 12 Bytes");
  e->memo().SetText(L"");
  e->ShowCaretStatus();
  EXPECT_EQ(f().StatusLine().text(), L"カーソル位置 = 1 行目  /  トータル行数 = 0 行  /  サイズ = 0 Bytes");
  e->memo().SetText(std::wstring(1234, L'x'));
  e->ShowCaretStatus();
  EXPECT_NE(f().StatusLine().text().find(L"サイズ = 1,234 Bytes"), std::wstring::npos);
}

TEST_F(Editor, SavingTwiceKeepsTheTextBeforeTheSecondSaveAsBackup) {
  const std::wstring path = dir_ / L"memo.txt";
  WriteBytes(path, "first\r\n");
  EditorWindow* e = Open(path);
  DialogAnswerer answers;
  answers.Press(IDOK);
  answers.Press(IDOK);
  Type(*e, L"second\r\n");
  ASSERT_TRUE(e->Save());
  EXPECT_EQ(ReadBytes(path), "first\r\nsecond\r\n");
  EXPECT_EQ(ReadBytes(dir_ / L"memo.BAK"), "first\r\n");
  Type(*e, L"third\r\n");
  ASSERT_TRUE(e->Save());
  EXPECT_EQ(ReadBytes(path), "first\r\nsecond\r\nthird\r\n");
  EXPECT_EQ(ReadBytes(dir_ / L"memo.BAK"), "first\r\nsecond\r\n");
  EXPECT_FALSE(e->memo().Modified());
  ASSERT_EQ(answers.seen().size(), 2u);
  EXPECT_EQ(answers.seen()[0].text, path + L"\r\n\r\nFile Size  :  15  Bytes  を\r\n\r\n正常に保存しました !!");
  EXPECT_EQ(answers.seen()[0].caption, L"ベルコノート");
}

TEST_F(Editor, DocumentsOfOneNameShareTheirBackup) {
  const std::wstring txt = dir_ / L"a.txt", doc = dir_ / L"a.doc";
  WriteBytes(txt, "txt-old");
  WriteBytes(doc, "doc-old");
  DialogAnswerer answers;
  for (int saves = 0; saves < 3; ++saves) answers.Press(IDOK);
  EditorWindow* t = Open(txt);
  Type(*t, L"+");
  ASSERT_TRUE(t->Save());
  EXPECT_EQ(ReadBytes(dir_ / L"a.BAK"), "txt-old");
  EditorWindow* d = Open(doc);
  Type(*d, L"+");
  ASSERT_TRUE(d->Save());
  EXPECT_EQ(ReadBytes(dir_ / L"a.BAK"), "doc-old");
  // A first save of a new a.log has no older file to keep: a.BAK stays.
  d->SetFilePath(dir_ / L"a.log");
  ASSERT_TRUE(d->Save());
  EXPECT_EQ(ReadBytes(dir_ / L"a.BAK"), "doc-old");
}

TEST_F(Editor, SavingABackupFileWritesItAnew) {
  const std::wstring bak = dir_ / L"old.BAK";
  WriteBytes(bak, "was");
  DialogAnswerer answers;
  answers.Press(IDOK);
  EditorWindow* e = Open(bak);
  e->memo().SetText(L"now");
  ASSERT_TRUE(e->Save());
  EXPECT_EQ(ReadBytes(bak), "now");
}

TEST_F(Editor, SaveWritesTheDocumentAndLastUseSettingsAndTheRecentList) {
  const std::wstring path = dir_ / L"notes.txt";
  WriteBytes(path, "n");
  DialogAnswerer answers;
  answers.Press(IDOK);
  EditorWindow* e = Open(path);
  ASSERT_TRUE(e->Save());
  Settings ini(IniPath());
  EXPECT_EQ(ini.ReadString(path, L"File", L""), path);
  EXPECT_EQ(ini.ReadString(L"LastUse", L"File", L""), path);
  EXPECT_EQ(ini.ReadString(path, L"Name", L""), L"ＭＳ ゴシック");
  EXPECT_EQ(ini.ReadString(L"UsedFiles", L"UsedFile1", L""), path);
  EXPECT_EQ(f().recent_files().Caption(1), L"&1 " + path);
  // The editor's File menu mirrors the list at once.
  wchar_t buf[512] = {};
  GetMenuStringW(e->menu_bar(), IDM_USEDFILE1, buf, 512, MF_BYCOMMAND);
  EXPECT_EQ(std::wstring(buf), L"&1 " + path);
}

TEST_F(Editor, SaveAsAppendsTxtOnlyToANameWithoutExtension) {
  DialogAnswerer answers;
  answers.Then(DialogAnswerer::ChooseFile(dir_ / L"memo"));
  answers.Press(IDOK);
  EditorWindow* e = f().NewChild();
  e->memo().SetText(L"one");
  ASSERT_TRUE(e->SaveAs());
  EXPECT_EQ(e->file_path(), dir_ / L"memo.TXT");
  EXPECT_EQ(ReadBytes(dir_ / L"memo.TXT"), "one");
  EXPECT_EQ(e->Caption(), L"memo.TXT");

  answers.Then(DialogAnswerer::ChooseFile(dir_ / L"memo.txt"));
  answers.Press(IDYES);  // the dialog's own overwrite question
  answers.Press(IDOK);
  e->memo().SetText(L"two");
  ASSERT_TRUE(e->SaveAs());
  EXPECT_EQ(e->file_path(), dir_ / L"memo.txt");
  EXPECT_EQ(ReadBytes(dir_ / L"memo.txt"), "two");
}

TEST_F(Editor, SaveAsOfAnExistingCompletedNameAsksAgain) {
  WriteBytes(dir_ / L"memo.TXT", "old");
  DialogAnswerer answers;
  answers.Then(DialogAnswerer::ChooseFile(dir_ / L"memo"));
  answers.Press(IDCANCEL);  // the second dialog, proposing memo.TXT
  EditorWindow* e = f().NewChild();
  e->memo().SetText(L"new");
  EXPECT_FALSE(e->SaveAs());
  EXPECT_EQ(ReadBytes(dir_ / L"memo.TXT"), "old") << "nothing is written";
  EXPECT_TRUE(e->file_path().empty());
}

TEST_F(Editor, AnEmptiedDocumentClosesWithoutAQuestionFromTheMenu) {
  const std::wstring path = dir_ / L"e.txt";
  WriteBytes(path, "text");
  EditorWindow* e = Open(path);
  e->memo().SetText(L"");
  e->memo().SetModified(true);
  DialogAnswerer answers;
  HWND w = e->hwnd();
  e->CloseFromEditorMenu();
  EXPECT_FALSE(IsWindow(w));
  EXPECT_TRUE(answers.seen().empty());
}

TEST_F(Editor, TheCloseBoxStillAsksForAnEmptiedDocument) {
  EditorWindow* e = f().NewChild();
  e->memo().SetModified(true);
  DialogAnswerer answers;
  answers.Press(IDNO);
  HWND w = e->hwnd();
  SendMessageW(w, WM_CLOSE, 0, 0);
  ASSERT_EQ(answers.seen().size(), 1u);
  EXPECT_EQ(answers.seen()[0].text, L" \"  NewFile 1 \"  を　保存しますか　?");
  EXPECT_EQ(answers.seen()[0].caption, L"確認");
  EXPECT_FALSE(IsWindow(w));
}

TEST_F(Editor, CloseQuestionCancelKeepsTheWindowAndStopsTheExit) {
  EditorWindow* e = f().NewChild();
  Type(*e, L"unsaved");
  DialogAnswerer answers;
  answers.Press(IDCANCEL);
  SendMessageW(f().hwnd(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(f().hwnd()));
  EXPECT_TRUE(IsWindow(e->hwnd()));
  ASSERT_EQ(answers.seen().size(), 1u) << "no farewell after a cancelled question";
}

TEST_F(Editor, CloseQuestionStandsByThePointer) {
  EditorWindow* e = f().NewChild();
  Type(*e, L"x");
  DialogAnswerer answers;
  answers.Press(IDCANCEL);
  answers.Press(IDCANCEL);
  MoveCursor(100, 100);
  SendMessageW(e->hwnd(), WM_CLOSE, 0, 0);
  const int x = f().screen_width() - 30;
  MoveCursor(x, 120);
  SendMessageW(e->hwnd(), WM_CLOSE, 0, 0);
  ASSERT_EQ(answers.seen().size(), 2u);
  EXPECT_EQ(answers.seen()[0].rect.left, 100);
  EXPECT_EQ(answers.seen()[0].rect.top, 115);
  EXPECT_EQ(answers.seen()[1].rect.left, x * 2 / 3);
  EXPECT_EQ(answers.seen()[1].rect.top, 200);
}

TEST_F(Editor, YesWithACancelledSaveAsKeepsTheNewWindowOpen) {
  EditorWindow* e = f().NewChild();
  Type(*e, L"keep me");
  DialogAnswerer answers;
  answers.Press(IDYES);     // save?
  answers.Press(IDCANCEL);  // the Save As dialog
  HWND w = e->hwnd();
  SendMessageW(w, WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(w)) << "the text would be lost";
  EXPECT_EQ(answers.seen().size(), 2u);
}

TEST_F(Editor, ShiftJisWithCrLfSavesBackTheSameBytes) {
  const std::string bytes = "\x93\xFA\x96\x7B\x8C\xEA\r\n\x95\x5C\x5C\r\nabc\r\n\r\nend";  // 日本語 表\ abc
  const std::wstring path = dir_ / L"sjis.txt";
  WriteBytes(path, bytes);
  DialogAnswerer answers;
  answers.Press(IDOK);
  EditorWindow* e = Open(path);
  EXPECT_EQ(e->encoding(), DocEncoding::ShiftJis);
  ASSERT_TRUE(e->Save());
  EXPECT_EQ(ReadBytes(path), bytes);
}

TEST_F(Editor, Utf8DocumentsOpenAndSaveAsUtf8) {
  const std::string bytes = "caf\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC\r\n";  // café 日本
  const std::wstring path = dir_ / L"utf8.txt";
  WriteBytes(path, bytes);
  DialogAnswerer answers;
  answers.Press(IDOK);
  EditorWindow* e = Open(path);
  EXPECT_EQ(e->memo().Text(), L"café 日本\r\n");
  EXPECT_EQ(e->encoding(), DocEncoding::Utf8);
  ASSERT_TRUE(e->Save());
  EXPECT_EQ(ReadBytes(path), bytes);
  EXPECT_EQ(answers.seen().size(), 1u) << "no question: UTF-8 holds every character";
}

TEST_F(Editor, CharactersOutsideShiftJisAreNeverReplacedSilently) {
  const std::wstring path = dir_ / L"lossy.txt";
  WriteBytes(path, "ok\r\n");
  EditorWindow* e = Open(path);
  e->memo().SetSel(0, e->memo().TextLength());
  e->memo().ReplaceSel(L"ok\r\nab\u00E9\u00E8\r\n");
  DialogAnswerer answers;
  answers.Press(IDCANCEL);
  EXPECT_FALSE(e->Save());
  ASSERT_EQ(answers.seen().size(), 1u);
  EXPECT_NE(answers.seen()[0].text.find(L"2 個"), std::wstring::npos);
  EXPECT_NE(answers.seen()[0].text.find(L"2 行目の 3 文字目"), std::wstring::npos);
  EXPECT_EQ(ReadBytes(path), "ok\r\n") << "cancel writes nothing";
  EXPECT_TRUE(e->memo().Modified());

  answers.Press(IDNO);  // replace them
  answers.Press(IDOK);
  ASSERT_TRUE(e->Save());
  EXPECT_EQ(ReadBytes(path), "ok\r\nab??\r\n");

  e->memo().SetText(L"\u00E9");
  answers.Press(IDYES);  // keep them: UTF-8
  answers.Press(IDOK);
  ASSERT_TRUE(e->Save());
  EXPECT_EQ(ReadBytes(path), "\xEF\xBB\xBF\xC3\xA9");
  EXPECT_EQ(e->encoding(), DocEncoding::Utf8Bom);
}

TEST_F(Editor, AReadOnlyTargetFailsAndLeavesFileAndBackupAlone) {
  const std::wstring path = dir_ / L"ro.txt";
  WriteBytes(path, "original");
  WriteBytes(dir_ / L"ro.BAK", "older");
  EditorWindow* e = Open(path);
  Type(*e, L"changed");
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
  DialogAnswerer answers;
  answers.Press(IDOK);
  SendMessageW(e->hwnd(), WM_COMMAND, IDM_SAVE1, 0);  // through the window, so the error report shows
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  ASSERT_EQ(answers.seen().size(), 1u);
  EXPECT_NE(answers.seen()[0].text.find(path), std::wstring::npos);
  EXPECT_EQ(ReadBytes(path), "original");
  EXPECT_EQ(ReadBytes(dir_ / L"ro.BAK"), "older");
  EXPECT_TRUE(e->memo().Modified());
  EXPECT_EQ(IniString(IniPath(), L"UsedFiles", L"UsedFile1"), L"<none>") << "no recent-list entry after a failure";
}

TEST_F(Editor, AVanishedFolderFailsWithAMessage) {
  const std::wstring sub = dir_ / L"gone";
  CreateDirectoryW(sub.c_str(), nullptr);
  const std::wstring path = sub + L"\\doc.txt";
  WriteBytes(path, "text");
  EditorWindow* e = Open(path);
  Type(*e, L"more");
  RemoveTree(sub);
  DialogAnswerer answers;
  answers.Press(IDOK);
  SendMessageW(e->hwnd(), WM_COMMAND, IDM_SAVE1, 0);
  ASSERT_EQ(answers.seen().size(), 1u);
  EXPECT_FALSE(SavedMessage(answers.seen()[0]));
  EXPECT_NE(answers.seen()[0].text.find(path), std::wstring::npos);
  EXPECT_TRUE(e->memo().Modified());
}

TEST_F(Editor, AFileWithNulBytesWarnsOnOpenAndAsksBeforeOverwriting) {
  const std::wstring path = dir_ / L"zeros.txt";
  WriteBytes(path, std::string("head\0tail", 9));
  DialogAnswerer answers;
  answers.Press(IDOK);
  EditorWindow* e = Open(path);
  ASSERT_EQ(answers.seen().size(), 1u);
  EXPECT_NE(answers.seen()[0].text.find(L"NUL"), std::wstring::npos);
  EXPECT_EQ(e->memo().Text(), L"head");

  answers.Press(IDNO);
  EXPECT_FALSE(e->Save());
  EXPECT_EQ(ReadBytes(path), std::string("head\0tail", 9)) << "not truncated without consent";
  answers.Press(IDYES);
  answers.Press(IDOK);
  EXPECT_TRUE(e->Save());
  EXPECT_EQ(ReadBytes(path), "head");
}

TEST_F(Editor, AnUnreadableFileReportsAndOpensNoWindow) {
  DialogAnswerer answers;
  answers.Press(IDOK);
  const std::wstring path = dir_ / L"missing.txt";
  EditorWindow* e = nullptr;
  try {
    e = Open(path);
  } catch (const Error& err) {
    EXPECT_NE(err.message().find(path), std::wstring::npos);
  }
  EXPECT_EQ(e, nullptr);
  EXPECT_TRUE(f().Editors().empty()) << "no window is left bound to a file it could not read";
}

TEST_F(Editor, CopyCollapsesTheSelectionAndCtrlSSelectsAll) {
  EditorWindow* e = f().NewChild();
  e->memo().SetText(L"hello world");
  e->memo().SetSel(6, 5);
  SendMessageW(e->hwnd(), WM_COMMAND, IDM_COPY, 0);
  EXPECT_EQ(e->memo().SelStart(), 6);
  EXPECT_EQ(e->memo().SelLength(), 0);
  SendMessageW(e->hwnd(), WM_COMMAND, MAKEWPARAM(IDM_SELECTALL, 1), 0);
  EXPECT_EQ(e->memo().SelLength(), 11);
}

TEST_F(Editor, EditCommandsFollowSelectionClipboardAndUndo) {
  EditorWindow* e = f().NewChild();
  e->memo().SetText(L"abc");
  e->memo().SetSel(0, 0);
  e->UpdateEditCommands();
  EXPECT_FALSE(e->MenuItemEnabled(IDM_CUT));
  EXPECT_FALSE(e->Button(IDM_COPY)->enabled());
  EXPECT_FALSE(e->MenuItemEnabled(IDM_UNDO));
  e->memo().SetSel(0, 2);
  e->UpdateEditCommands();
  EXPECT_TRUE(e->MenuItemEnabled(IDM_CUT));
  EXPECT_TRUE(e->MenuItemEnabled(IDM_DELETE1));
  SendMessageW(e->hwnd(), WM_COMMAND, IDM_CUT, 0);
  EXPECT_EQ(e->memo().Text(), L"c");
  EXPECT_TRUE(e->MenuItemEnabled(IDM_PASTE)) << "the clipboard holds text now";
  EXPECT_TRUE(e->MenuItemEnabled(IDM_UNDO));
  EXPECT_TRUE(e->memo().Modified());
}

TEST_F(Editor, MenusMergeWhileAnEditorIsActive) {
  EditorWindow* e = f().NewChild();
  PumpFor(20);
  HMENU bar = GetMenu(f().hwnd());
  EXPECT_EQ(bar, e->menu_bar());
  ASSERT_EQ(GetMenuItemCount(bar), 5);
  const wchar_t* titles[] = {L"ファイル (&F)", L"編集 (&E)", L"書式設定 (&C)", L"検索 (&S)", L"ウィンドウ (&W)"};
  for (int i = 0; i < 5; ++i) {
    wchar_t buf[64] = {};
    GetMenuStringW(bar, i, buf, 64, MF_BYPOSITION);
    EXPECT_STREQ(buf, titles[i]);
  }
  EXPECT_EQ(MenuText(bar, IDM_CUT), L"切り取り (&T)\tCtrl+X");
  EXPECT_EQ(MenuText(bar, IDM_SELECTALL), L"全て選択 (&S)\tCtrl+S");
  EXPECT_EQ(MenuText(bar, IDM_EXIT1), L"ベルコノート終了 (&X)") << "no Ctrl+X here: it cuts";
  EXPECT_FALSE(MenuEnabled(bar, IDM_FINDNEXT1));
}

TEST_F(Editor, CtrlXCutsInAnEditorAndExitsWithout) {
  EditorWindow* e = f().NewChild();
  e->memo().SetText(L"xyz");
  e->memo().SetSel(0, 1);
  SetFocus(e->memo().hwnd());
  MSG msg{e->memo().hwnd(), WM_KEYDOWN, 'X', 0, 0, {}};
  const BYTE keys_before[256] = {};
  BYTE keys[256] = {};
  keys[VK_CONTROL] = 0x80;
  SetKeyboardState(keys);
  EXPECT_TRUE(Application::Get().PreTranslate(msg));
  SetKeyboardState(const_cast<BYTE*>(keys_before));
  EXPECT_EQ(e->memo().Text(), L"yz");
  EXPECT_TRUE(IsWindow(f().hwnd()));
}

TEST_F(Editor, EditorMenusAndThePopUpAreAsDesigned) {
  EditorWindow* e = f().NewChild();
  HMENU bar = e->menu_bar();
  const struct {
    UINT id;
    const wchar_t* text;
  } items[] = {
      {IDM_SAVEAS1, L"名前を付けて保存 (&A)"}, {IDM_SAVE1, L"上書き保存   (&S)"},
      {IDM_CLOSE1, L"フォームを閉じる (&C)\tF4"}, {IDM_FRIEND, L"お友達を連れてくる (&F)\tF2"},
      {IDM_DELETE1, L"削除    (&L)\tCtrl+Del"}, {IDM_UNDO, L"元に戻す (&U)\tCtrl+U"},
      {IDM_LEFTSET, L"》を左端に付加 (&A)\tCtrl+A"}, {IDM_DATETIME, L"日時を挿入\tCtrl+T"},
      {IDM_CENTER1, L"中央  (&C)"}, {IDM_TABTOSPACE, L"Tab -> 8 Space (&8)"},
      {IDM_VELGOLD, L"宝箱の登録・変更(&G)"}, {IDM_FINDNEXT1, L"次を検索 (&N)\tF3"},
      {IDM_KN1, L"文字数カウント(&N)"},
  };
  for (const auto& item : items) EXPECT_EQ(MenuText(bar, item.id), item.text) << item.id;
  EXPECT_FALSE(MenuEnabled(bar, IDM_UNDO)) << "undo starts disabled";

  HMENU popup = e->popup_menu();
  const wchar_t* popup_items[] = {L"Cut (&T)", L"Copy (&C)", L"Paste (&P)", L"", L"全て選択 (&S)", L"",
                                  L"Undo (&U)", L"", L"検索 (&F)", L"次を検索\tF3", L"", L"To TopLine (&O)",
                                  L"To LastLine (&L)", L"", L"》 を 左端に付加 (&A)", L"宝箱の取り出し (&G)",
                                  L"ボタン表示／非表示 (&B)", L"", L"文字数をカウント(&N)"};
  ASSERT_EQ(GetMenuItemCount(popup), 19);
  for (int i = 0; i < 19; ++i) {
    wchar_t buf[128] = {};
    GetMenuStringW(popup, static_cast<UINT>(i), buf, 128, MF_BYPOSITION);
    EXPECT_STREQ(buf, popup_items[i]) << i;
  }
  // The snippet sub-menu shows the current snippet names when the menu opens.
  Settings scratch(dir_ / L"scratch.INI");  // the menu must take the name from the main window, not the file
  f().snippets().Save(scratch, 2, L"住所", f().snippets().Text(2));
  // The pop-up runs its own loop; a timer inside it closes the menu again.
  const UINT_PTR timer = SetTimer(nullptr, 0, 100, CloseMenuSoon);
  SendMessageW(e->hwnd(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(e->memo().hwnd()), MAKELPARAM(-1, -1));
  KillTimer(nullptr, timer);
  EXPECT_EQ(MenuText(popup, IDM_EDITKEY1 + 1), L"(&2) 住所");
  EXPECT_EQ(MenuText(popup, IDM_EDITKEY1), L"(&1) ご挨拶");
}

TEST_F(Editor, TheButtonBarHidesAndShowsFromThePopUp) {
  EditorWindow* e = f().NewChild();
  RECT before{};
  GetWindowRect(e->memo().hwnd(), &before);
  SendMessageW(e->hwnd(), WM_COMMAND, IDM_SPEEDBT, 0);
  EXPECT_FALSE(IsWindowVisible(e->Panele().hwnd()));
  RECT after{};
  GetWindowRect(e->memo().hwnd(), &after);
  EXPECT_EQ(after.top, before.top - 33) << "the text takes the bar's room";
  SendMessageW(e->hwnd(), WM_COMMAND, IDM_SPEEDBT, 0);
  EXPECT_TRUE(IsWindowVisible(e->Panele().hwnd()));
}

TEST_F(Editor, TheWindowListAndAMaximizedEditorsButtonsReachTheFrameProcedure) {
  EditorWindow* one = f().NewChild();
  EditorWindow* two = f().NewChild();
  ASSERT_EQ(f().ActiveEditor(), two);
  // The Window menu's list: the first child's item activates it.
  SendMessageW(f().hwnd(), WM_COMMAND, IDM_FIRSTCHILD, 0);
  EXPECT_EQ(f().ActiveEditor(), one);
  SendMessageW(one->hwnd(), WM_COMMAND, IDM_FIRSTCHILD + 1, 0);
  EXPECT_EQ(f().ActiveEditor(), two);
  // The restore item that a maximized child puts into the menu bar.
  f().MaximizeActive();
  ASSERT_TRUE(IsZoomed(two->hwnd()));
  SendMessageW(f().hwnd(), WM_COMMAND, SC_RESTORE, 0);
  EXPECT_FALSE(IsZoomed(two->hwnd()));
  EXPECT_EQ(f().Editors().size(), 2u);
}

TEST_F(Editor, ARelativePathIsMadeAbsoluteWhenTheDocumentOpens) {
  WriteBytes(dir_ / L"memo.txt", "old");
  wchar_t previous[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, previous);
  SetCurrentDirectoryW(dir_.path().c_str());
  EditorWindow* e = Open(L"memo.txt");
  SetCurrentDirectoryW(previous);  // as help does
  EXPECT_EQ(e->file_path(), dir_ / L"memo.txt");
  Type(*e, L"new");
  DialogAnswerer answers;
  answers.Press(IDOK);
  ASSERT_TRUE(e->Save());
  EXPECT_EQ(ReadBytes(dir_ / L"memo.txt"), "oldnew");
  EXPECT_EQ(f().recent_files().Entry(1), dir_ / L"memo.txt");
}

TEST_F(Editor, ACloseWhoseSaveFailsDoesNotCountAsAMenuCloseLater) {
  EditorWindow* e = f().NewChild();
  const std::wstring locked = dir_ / L"locked.txt";
  WriteBytes(locked, "keep");
  SetFileAttributesW(locked.c_str(), FILE_ATTRIBUTE_READONLY);
  e->SetFilePath(locked);
  Type(*e, L"text");
  DialogAnswerer answers;
  answers.Press(IDYES);  // save?
  answers.Press(IDOK);   // the error report
  e->CloseFromEditorMenu();
  ASSERT_EQ(f().Editors().size(), 1u) << "the failed save keeps the window";
  answers.Press(IDNO);  // the close box now, without saving
  SendMessageW(e->hwnd(), WM_CLOSE, 0, 0);
  PumpFor(20);
  EXPECT_TRUE(f().Editors().empty());
  EXPECT_EQ(f().untitled_numbers().Newest(), 1) << "only a close from the menu gives the number back";
  SetFileAttributesW(locked.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(Editor, AMinimizedEditorSavesItsRestoredSize) {
  const std::wstring path = dir_ / L"small.txt";
  WriteBytes(path, "x");
  EditorWindow* e = Open(path);
  SetWindowPos(e->hwnd(), nullptr, 0, 0, 420, 310, SWP_NOMOVE | SWP_NOZORDER);
  ShowWindow(e->hwnd(), SW_MINIMIZE);
  e->SaveDocSettings(path, path);
  EXPECT_EQ(IniString(IniPath(), path, L"EditFormWidth"), L"420");
  EXPECT_EQ(IniString(IniPath(), path, L"EditFormHeight"), L"310");
  EXPECT_GT(std::stoi(IniString(IniPath(), path, L"Height")), 200);
}

TEST_F(Editor, ARightClickOnTheButtonBarOpensThePopUp) {
  EditorWindow* e = f().NewChild();
  int popups = 0;
  struct Watch {
    static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR data) {
      if (m == WM_INITMENUPOPUP) {
        ++*reinterpret_cast<int*>(data);
        SetTimer(nullptr, 0, 10, CloseMenuSoon);
      }
      return DefSubclassProc(h, m, w, l);
    }
  };
  SetWindowSubclass(e->hwnd(), Watch::Proc, 7, reinterpret_cast<DWORD_PTR>(&popups));
  SendMessageW(e->Panele().hwnd(), WM_RBUTTONUP, 0, MAKELPARAM(300, 10));
  RemoveWindowSubclass(e->hwnd(), Watch::Proc, 7);
  EXPECT_EQ(popups, 1);
}
