// Find, replace and the text tools of the editor window, through the real
// dialogs, menus and text control under Wine.
#include <gtest/gtest.h>

#include "editor/editor_ids.h"
#include "editor/editor_window.h"
#include "state/settings.h"
#include "support/frame_fixture.h"

using namespace velkor;
using namespace velkor::test;

namespace {

constexpr int kEdt1 = 0x480;  // the find text box of the common find and replace dialogs
constexpr int kEdt2 = 0x481;  // the replace text box

void SetFindText(FINDREPLACEW& fr, const std::wstring& text) { lstrcpynW(fr.lpstrFindWhat, text.c_str(), 512); }

}  // namespace

class EditorTools : public FrameTest {
 protected:
  void SetUp() override {
    FrameTest::SetUp();
    StartFrame();
    e_ = frame_->NewChild();
  }
  void Command(int id) { SendMessageW(e_->hwnd(), WM_COMMAND, id, 0); }
  void SetText(const std::wstring& text) {
    e_->memo().SetText(text);
    e_->memo().SetSel(0, 0);
  }
  std::pair<int, int> Sel() const { return {e_->memo().SelStart(), e_->memo().SelLength()}; }
  EditorWindow* e_ = nullptr;
};

TEST_F(EditorTools, FindNextCountsHitsAndReportsTheCountAtTheEnd) {
  SetText(L"abcabc");
  SetFindText(e_->find_options(), L"abc");
  DialogAnswerer answers;
  answers.Press(IDOK);
  Command(IDM_FINDNEXT1);
  EXPECT_EQ(Sel(), (std::pair{0, 3}));
  Command(IDM_FINDNEXT1);
  EXPECT_EQ(Sel(), (std::pair{3, 3}));
  Command(IDM_FINDNEXT1);
  ASSERT_EQ(answers.seen().size(), 1u);
  EXPECT_EQ(answers.seen()[0].text, L"検索文字 ： \" abc　\" は、計  2  回  見つかりました。");
  EXPECT_EQ(Sel(), (std::pair{3, 0})) << "the selection collapses to its start";
  EXPECT_EQ(e_->found_count(), 0);
}

TEST_F(EditorTools, NothingFoundAtAllSaysSo) {
  SetText(L"hello");
  SetFindText(e_->find_options(), L"xyz");
  DialogAnswerer answers;
  answers.Press(IDOK);
  Command(IDM_FINDNEXT1);
  ASSERT_EQ(answers.seen().size(), 1u);
  EXPECT_EQ(answers.seen()[0].text, L"見つかりません \"　xyz　\" !!");
  EXPECT_EQ(answers.seen()[0].caption, L"ベルコノート");
}

TEST_F(EditorTools, TheFindDialogsOwnButtonNeverCounts) {
  SetText(L"ab ab ab ab");
  DialogAnswerer answers;
  answers.Then([](HWND) {});  // the modeless Find dialog itself
  Command(IDM_FIND1);
  HWND dlg = e_->find_dialog();
  ASSERT_NE(dlg, nullptr);
  RECT r{};
  GetWindowRect(dlg, &r);
  EXPECT_EQ(r.left, 10);
  EXPECT_EQ(r.top, 10);
  EXPECT_TRUE(e_->MenuItemEnabled(IDM_FINDNEXT1));
  SetDlgItemTextW(dlg, kEdt1, L"ab");
  SendMessageW(dlg, WM_COMMAND, IDOK, 0);  // 次を検索 in the dialog
  PumpFor(20);
  EXPECT_EQ(Sel(), (std::pair{0, 2}));
  EXPECT_EQ(e_->found_count(), 0);
  EXPECT_STREQ(e_->find_options().lpstrFindWhat, L"ab");
  EXPECT_TRUE(e_->find_flags() & FR_DOWN);
  answers.Press(IDOK);
  Command(IDM_FINDNEXT1);
  EXPECT_EQ(e_->find_dialog(), nullptr) << "Find Next closes the dialog";
  Command(IDM_FINDNEXT1);
  Command(IDM_FINDNEXT1);
  EXPECT_EQ(e_->found_count(), 3);
  Command(IDM_FINDNEXT1);
  ASSERT_EQ(answers.seen().size(), 2u);
  EXPECT_NE(answers.seen()[1].text.find(L"計  3  回"), std::wstring::npos);
}

TEST_F(EditorTools, TheFindDialogsGoWithTheirEditorAndKeepWhatWasTyped) {
  SetText(L"abc");
  DialogAnswerer answers;
  answers.Then([](HWND) {});  // Find
  answers.Then([](HWND) {});  // Replace
  Command(IDM_FIND1);
  Command(IDM_REPLACE1);
  HWND find = e_->find_dialog(), replace = e_->replace_dialog();
  ASSERT_TRUE(find && replace);
  SetDlgItemTextW(find, kEdt1, L"typed");
  Command(IDM_FIND1);  // Ctrl+F again, nothing selected
  EXPECT_EQ(WindowText(GetDlgItem(find, kEdt1)), L"typed");
  e_->memo().SetSel(0, 2);
  Command(IDM_FIND1);
  EXPECT_EQ(WindowText(GetDlgItem(find, kEdt1)), L"ab") << "a selection still takes the dialog's box";

  // The close box (not the menu's Close) must take both dialogs along.
  e_->memo().SetModified(false);
  SendMessageW(e_->hwnd(), WM_CLOSE, 0, 0);
  PumpFor(20);
  EXPECT_TRUE(frame_->Editors().empty());
  EXPECT_FALSE(IsWindow(find));
  EXPECT_FALSE(IsWindow(replace));
}

TEST_F(EditorTools, ZoomResizesTheButtonBarWithItsButtons) {
  const int before = [&] {
    RECT r{};
    GetWindowRect(e_->Panele().hwnd(), &r);
    return static_cast<int>(r.bottom - r.top);
  }();
  Command(IDC_ZOOMIN);
  RECT bar{};
  GetClientRect(e_->Panele().hwnd(), &bar);
  EXPECT_EQ(bar.bottom, 36) << "33 x 1.1 = 36.3";
  EXPECT_GT(bar.bottom, before);
  EXPECT_LE(e_->Button(IDM_SAVE1)->rect().bottom, bar.bottom) << "no button is cut off";
  RECT memo{};
  GetWindowRect(e_->memo().hwnd(), &memo);
  MapWindowPoints(nullptr, e_->hwnd(), reinterpret_cast<POINT*>(&memo), 2);
  EXPECT_EQ(memo.top, bar.bottom) << "the text starts below the bar";
}

TEST_F(EditorTools, WholeWordFindsOnlyWholeWordsInBothDirections) {
  SetText(L"foo foobar foo");
  e_->memo().SetSel(0, 3);
  e_->find_flags() = FR_DOWN | FR_MATCHCASE | FR_WHOLEWORD;
  SetFindText(e_->find_options(), L"foo");
  DialogAnswerer answers;
  answers.Press(IDOK);
  Command(IDM_FINDNEXT1);
  EXPECT_EQ(Sel(), (std::pair{11, 3}));
  Command(IDM_FINDNEXT1);
  EXPECT_EQ(answers.seen().size(), 1u) << "foobar never matches";

  e_->memo().SetSel(14, 0);
  e_->find_flags() = FR_MATCHCASE | FR_WHOLEWORD;  // up
  Command(IDM_FINDNEXT1);
  EXPECT_EQ(Sel(), (std::pair{11, 3}));
  Command(IDM_FINDNEXT1);
  EXPECT_EQ(Sel(), (std::pair{0, 3}));
}

TEST_F(EditorTools, MatchCaseOffFindsAnyCaseAndPositionsCountBytes) {
  SetText(L"日本 aBc\r\nABC");
  e_->find_flags() = FR_DOWN;
  SetFindText(e_->find_options(), L"abc");
  Command(IDM_FINDNEXT1);
  EXPECT_EQ(Sel(), (std::pair{3, 3})) << "the double-byte characters do not shift the hit";
  Command(IDM_FINDNEXT1);
  EXPECT_EQ(Sel(), (std::pair{7, 3}));
}

TEST_F(EditorTools, ReplaceTakesASelectionThatMatchesInAnyCase) {
  SetText(L"ABC abc");
  e_->memo().SetSel(0, 3);
  DialogAnswerer answers;
  answers.Then([](HWND) {});
  Command(IDM_REPLACE1);
  HWND dlg = e_->replace_dialog();
  ASSERT_NE(dlg, nullptr);
  SetDlgItemTextW(dlg, kEdt1, L"abc");
  SetDlgItemTextW(dlg, kEdt2, L"x");
  SendMessageW(dlg, WM_COMMAND, 0x400 /* psh1: 置換 */, 0);
  PumpFor(20);
  EXPECT_EQ(e_->memo().Text(), L"x abc") << "match case is on, yet the selection ABC is replaced";
  EXPECT_EQ(Sel(), (std::pair{2, 3})) << "and the next one is selected";
  answers.Press(IDOK);  // the second replacement finds no third one and says so
  SendMessageW(dlg, WM_COMMAND, 0x400, 0);
  PumpFor(20);
  EXPECT_EQ(e_->memo().Text(), L"x x");
  ASSERT_EQ(answers.seen().size(), 2u);
  EXPECT_EQ(answers.seen()[1].text, L"見つかりません \"　abc　\" !!");
  EXPECT_EQ(e_->replace_dialog(), nullptr) << "the Replace dialog closes after the message";
}

TEST_F(EditorTools, ReplaceAllEndsAlsoUpwardWhenTheReplacementContainsTheText) {
  SetText(L"a a a");
  e_->memo().SetSel(5, 0);
  DialogAnswerer answers;
  answers.Then([](HWND) {});
  Command(IDM_REPLACE1);
  HWND dlg = e_->replace_dialog();
  ASSERT_NE(dlg, nullptr);
  PumpFor(20);
  e_->replace_options().Flags = FR_REPLACEALL;
  e_->replace_flags() = FR_MATCHCASE;  // up
  SetFindText(e_->replace_options(), L"a");
  lstrcpyW(e_->replace_options().lpstrReplaceWith, L"aa");
  e_->Replace();
  EXPECT_EQ(e_->memo().Text(), L"aa aa aa");
  EXPECT_NE(e_->replace_dialog(), nullptr) << "the dialog stays open after Replace All";
  EXPECT_EQ(answers.seen().size(), 1u) << "and no message";
  EXPECT_TRUE(e_->memo().Modified());
}

TEST_F(EditorTools, ReplaceAllKeepsCharactersOutsideShiftJis) {
  SetText(L"é-x é-x");
  e_->replace_options().Flags = FR_REPLACEALL;
  SetFindText(e_->replace_options(), L"x");
  lstrcpyW(e_->replace_options().lpstrReplaceWith, L"yy");
  e_->Replace();
  EXPECT_EQ(e_->memo().Text(), L"é-yy é-yy");
}

TEST_F(EditorTools, FindAndReplaceAllLeaveDoubleByteCharactersWhole) {
  // 表, ソ, 十 and 能 end in the byte of a backslash, ア in that of an A.
  SetText(L"表ソ十能 C:\\dir ア A");
  e_->find_flags() = FR_DOWN | FR_MATCHCASE;
  SetFindText(e_->find_options(), L"A");
  Command(IDM_FINDNEXT1);
  EXPECT_EQ(Sel(), (std::pair{14, 1}));

  e_->memo().SetSel(0, 0);
  e_->replace_options().Flags = FR_REPLACEALL;
  e_->replace_flags() = FR_DOWN | FR_MATCHCASE;
  SetFindText(e_->replace_options(), L"\\");
  lstrcpyW(e_->replace_options().lpstrReplaceWith, L"/");
  e_->Replace();
  e_->memo().SetSel(0, 0);
  SetFindText(e_->replace_options(), L"A");
  lstrcpyW(e_->replace_options().lpstrReplaceWith, L"B");
  e_->Replace();
  EXPECT_EQ(e_->memo().Text(), L"表ソ十能 C:/dir ア B");
}

TEST_F(EditorTools, JumpsGoToTheEnds) {
  SetText(L"one\r\ntwo\r\nthree");
  Command(IDM_TOLASTLINE);
  EXPECT_EQ(Sel(), (std::pair{e_->memo().TextLength(), 0}));
  EXPECT_NE(frame_->StatusLine().text().find(L"カーソル位置 = 3 行目"), std::wstring::npos);
  Command(IDM_TOTOPLINE);
  EXPECT_EQ(Sel(), (std::pair{0, 0}));
}

TEST_F(EditorTools, TabsExpandToEightOrFourColumnsCountingDoubleByteCharacters) {
  SetText(L"a\tb\r\n\tc\r\n12345678\td\r\nあ\te");
  Command(IDM_TABTOSPACE);
  EXPECT_EQ(e_->memo().Text(), L"a       b\r\n        c\r\n12345678        d\r\nあ      e");
  EXPECT_TRUE(e_->memo().Modified());
  EXPECT_EQ(Sel().first, e_->memo().TextLength()) << "the caret goes to the end";
  SetText(L"a\tb");
  Command(IDM_TAB4SPACE);
  EXPECT_EQ(e_->memo().Text(), L"a   b");
}

TEST_F(EditorTools, TabItemsAreEnabledOnlyWithATab) {
  SetText(L"no tabs");
  e_->EnableTabCommands();
  EXPECT_FALSE(e_->MenuItemEnabled(IDM_TABTOSPACE));
  EXPECT_FALSE(e_->MenuItemEnabled(IDM_TAB4SPACE));
  SetText(L"last byte\t");
  e_->EnableTabCommands();
  EXPECT_TRUE(e_->MenuItemEnabled(IDM_TABTOSPACE));
  EXPECT_TRUE(e_->MenuItemEnabled(IDM_TAB4SPACE));
}

TEST_F(EditorTools, LineMarksStandAtLineStartsOfTheSelection) {
  SetText(L"x\r\ny\r\n");
  e_->memo().SetSel(0, e_->memo().TextLength());
  Command(IDM_LEFTSET);
  EXPECT_EQ(e_->memo().Text(), L"》x\r\n》y\r\n");
  SetText(L"x\r\ny");
  e_->memo().SetSel(0, e_->memo().TextLength());
  Command(IDM_LEFTSET);
  EXPECT_EQ(e_->memo().Text(), L"》x\r\n》y");
  SetText(L"abc");
  e_->memo().SetSel(1, 0);
  Command(IDM_LEFTSET);
  EXPECT_EQ(e_->memo().Text(), L"a》bc");
}

TEST_F(EditorTools, DateAndTimeAreInsertedAtTheCaret) {
  SetText(L"[]");
  e_->memo().SetSel(1, 0);
  Command(IDM_DATETIME);
  const std::wstring text = e_->memo().Text();
  EXPECT_EQ(text.rfind(L"[令和", 0), 0u) << "an era of the Japanese calendar";
  EXPECT_NE(text.find(L"日 ("), std::wstring::npos);
  EXPECT_NE(text.find(L"分\r\n]"), std::wstring::npos);
}

TEST_F(EditorTools, StatisticsCountTheSelectionOrTheWholeText) {
  SetText(L"あ　a b\r\nzz");
  e_->memo().SetSel(0, 6);  // あ, ideographic space, a, space, b, line break
  DialogAnswerer answers;
  answers.Press(IDOK);
  answers.Press(IDOK);
  Command(IDM_KN1);
  ASSERT_EQ(answers.seen().size(), 1u);
  const std::wstring& t = answers.seen()[0].text;
  EXPECT_EQ(t,
            L"全角文字 の出現回数     ：           1\r\n全角スペース の出現回数 ：           1\r\n\r\n"
            L"半角文字 の出現回数     ：           2\r\n半角スペース の出現回数 ：           1\r\n\r\n"
            L"改行 の出現回数           ：           1\r\n\r\n     です。");
  e_->memo().SetSel(0, 0);
  Command(IDM_KN1);
  EXPECT_NE(answers.seen()[1].text.find(L"半角文字 の出現回数     ：           4"), std::wstring::npos);
}

TEST_F(EditorTools, WordWrapSwitchesAndANumberedWindowRemembersIt) {
  SetText(L"text");
  Command(IDM_WORDWRAP1);
  EXPECT_TRUE(e_->memo().word_wrap());
  EXPECT_TRUE(GetMenuState(e_->menu_bar(), IDM_WORDWRAP1, MF_BYCOMMAND) & MF_CHECKED);
  EXPECT_EQ(Settings(IniPath()).ReadBool(L"ChildNo1FontSelect", L"WordWrap", false), true);
  EXPECT_EQ(Sel().first, e_->memo().TextLength());
  Command(IDM_WORDWRAP1);
  EXPECT_FALSE(e_->memo().word_wrap());
  EXPECT_EQ(Settings(IniPath()).ReadBool(L"ChildNo1FontSelect", L"WordWrap", true), false);
}

TEST_F(EditorTools, ZoomScalesTheTextTwiceAndTheButtonsOnce) {
  e_->memo().SetFont(FontSpec{L"ＭＳ ゴシック", 10, 0, 0});
  Command(IDC_ZOOMIN);
  EXPECT_EQ(e_->memo().font().size, 12) << "10 -> 11 -> 12.1";
  const RECT after = e_->Button(IDM_SAVE1)->rect();
  EXPECT_EQ(after.right - after.left, 28) << "25 x 1.1 = 27.5 rounds to 28";
  Command(IDC_ZOOMOUT);
  EXPECT_EQ(e_->memo().font().size, 10) << "12 -> 10.8 -> 11 -> 9.9 -> 10";
  e_->memo().SetFont(FontSpec{L"ＭＳ ゴシック", 5, 0, 0});
  Command(IDC_ZOOMOUT);
  EXPECT_EQ(e_->memo().font().size, 5) << "4.5 rounds back to 5";
}

TEST_F(EditorTools, TheFontDialogStartsFromTheTextsFontAndANumberedWindowKeepsTheChoice) {
  constexpr int kSizeBox = 0x472;  // cmb3 of the common font dialog
  e_->memo().SetFont(FontSpec{L"ＭＳ ゴシック", 12, RGB(255, 0, 0), 1});
  DialogAnswerer answers;
  std::wstring offered_size;
  answers.Then([&](HWND dialog) {
    offered_size = WindowText(GetDlgItem(dialog, kSizeBox));
    // As a click in the list of sizes does it: select, then notify.
    HWND sizes = GetDlgItem(dialog, kSizeBox);
    SendMessageW(sizes, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L"16"));
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(kSizeBox, CBN_SELCHANGE), reinterpret_cast<LPARAM>(sizes));
    DialogAnswerer::Click(dialog, IDOK);
  });
  Command(IDM_FONT1);
  ASSERT_EQ(answers.pending(), 0u) << "the font dialog did not come up";
  EXPECT_EQ(offered_size, L"12");
  const FontSpec font = e_->memo().font();
  EXPECT_EQ(font.name, L"ＭＳ ゴシック");
  EXPECT_EQ(font.size, 16);
  EXPECT_EQ(font.color, RGB(255, 0, 0));
  EXPECT_EQ(font.style, 1) << "bold stays";
  Settings ini(IniPath());
  EXPECT_EQ(ini.ReadInteger(L"ChildNO1FontSelect", L"Size", 0), 16);
  EXPECT_EQ(ini.ReadInteger(L"ChildNO1FontSelect", L"Color", 0), static_cast<int>(RGB(255, 0, 0)));
  EXPECT_EQ(ini.ReadInteger(L"ChildNO1FontSelect", L"Style", 0), 1);
  EXPECT_EQ(ini.ReadString(L"ChildNO1FontSelect", L"File", L"-"), L"");

  // Cancelled, the dialog changes nothing.
  answers.Press(IDCANCEL);
  Command(IDM_FONT1);
  EXPECT_EQ(e_->memo().font().size, 16);
}

TEST_F(EditorTools, SnippetsFromThePopUpMenuGoInAtTheCaret) {
  Settings scratch(dir_ / L"scratch.INI");  // the text must come from the main window, not the file
  frame_->snippets().Save(scratch, 3, L"住所", L"東京都");
  SetText(L"<>");
  e_->memo().SetSel(1, 0);
  SendMessageW(e_->hwnd(), WM_COMMAND, IDM_EDITKEY1 + 2, 0);
  EXPECT_EQ(e_->memo().Text(), L"<東京都>");
  EXPECT_TRUE(e_->memo().Modified());
}
