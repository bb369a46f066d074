// The treasure box's registration form, driven through its real controls
// under Wine, with a main window of the program beside it.
#include <gtest/gtest.h>

#include <cstdlib>

#include "editor/editor_ids.h"
#include "editor/editor_window.h"
#include "editor/treasure_box.h"
#include "platform/dpi.h"
#include "state/settings.h"
#include "support/frame_fixture.h"

using namespace velkor;
using namespace velkor::test;

namespace {

const std::wstring kDefaultKey = L"ご挨拶";
const std::wstring kDefaultText = L"ボクを使って戴いて、大変ありがとうございます";

void Pump() { PumpFor(30); }

// Keys as the keyboard sends them: through the queue, so that the dialog
// manager and the translation to characters see them.
void PostKey(HWND target, UINT vk) {
  const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)) << 16;
  PostMessageW(target, WM_KEYDOWN, vk, scan | 1);
  PostMessageW(target, WM_KEYUP, vk, scan | 1 | (1u << 30) | (1u << 31));
  Pump();
}

// Replaces the field's text by typing: select all, backspace, then the characters.
void TypeInto(HWND edit, const std::wstring& text) {
  SetFocus(edit);
  SendMessageW(edit, EM_SETSEL, 0, -1);
  PostMessageW(edit, WM_CHAR, VK_BACK, 1);
  for (wchar_t c : text) PostMessageW(edit, WM_CHAR, c, 1);
  Pump();
}

void Click(HWND button) {
  SendMessageW(button, BM_CLICK, 0, 0);
  Pump();
}

// Presses the key in a control that has the focus, and tells where the focus went.
HWND FocusAfter(HWND from, UINT vk) {
  SetFocus(from);
  PostKey(from, vk);
  return GetFocus();
}

void SetCaret(HWND edit, int start, int end) { SendMessageW(edit, EM_SETSEL, start, end); }

// The background the field is painted with: what the form answers to the
// field's colour question, and the brush it hands back.
COLORREF Background(TreasureBox& form, int field) {
  HDC dc = CreateCompatibleDC(nullptr);
  HWND edit = form.Edit(field);
  auto brush = reinterpret_cast<HBRUSH>(
      SendMessageW(GetParent(edit), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(edit)));
  const COLORREF bk = GetBkColor(dc);
  const COLORREF text = GetTextColor(dc);
  DeleteDC(dc);
  LOGBRUSH lb{};
  GetObjectW(brush, sizeof lb, &lb);
  EXPECT_EQ(lb.lbColor, bk) << "the brush fills what the text background leaves";
  EXPECT_EQ(text, RGB(0, 0, 0));
  return bk;
}

// Whether one of the box's pictures is that icon (the system's icons are shared handles).
bool ShowsIcon(HWND box, HICON icon) {
  for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    if (reinterpret_cast<HICON>(SendMessageW(c, STM_GETICON, 0, 0)) == icon) return true;
  return false;
}

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

RECT ScreenRect(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  return r;
}

bool Inside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

}  // namespace

class Treasure : public FrameTest {
 protected:
  void SetUp() override {
    FrameTest::SetUp();
    StartFrame();
  }
  void TearDown() override {
    FrameTest::TearDown();
    EXPECT_EQ(TreasureBox::Get(), nullptr) << "the form goes with its owner";
  }
  TreasureBox& Open() {
    ShowTreasureBox();
    Pump();
    EXPECT_NE(TreasureBox::Get(), nullptr);
    return *TreasureBox::Get();
  }
  std::wstring Key(int n) { return IniString(IniPath(), L"KEY", L"NO" + std::to_wstring(n)); }
  std::wstring Text(int n) { return IniString(IniPath(), L"SET", L"NO" + std::to_wstring(n)); }
  MainWindow& f() { return *frame_; }
};

TEST_F(Treasure, OpensAsAnOwnedCentredFormWithTheMainWindowsPairs) {
  DestroyFrame();
  Settings ini(IniPath());
  ini.WriteString(L"KEY", L"NO2", L"住所");
  ini.WriteString(L"SET", L"NO2", L"東京都千代田区");
  StartFrame();
  TreasureBox& form = Open();
  HWND h = form.hwnd();

  wchar_t cls[32] = {};
  GetClassNameW(h, cls, 32);
  EXPECT_STREQ(cls, L"TSetForm1");
  EXPECT_EQ(WindowText(h), L"ベルコ君の宝箱登録・変更");
  EXPECT_EQ(GetWindow(h, GW_OWNER), f().hwnd());
  EXPECT_FALSE(WindowExStyle(h) & WS_EX_APPWINDOW);
  EXPECT_FALSE(WindowStyle(h) & WS_THICKFRAME);
  EXPECT_TRUE(WindowExStyle(h) & WS_EX_DLGMODALFRAME);
  RECT client{};
  GetClientRect(h, &client);
  EXPECT_EQ(client.right, Scale(618));
  EXPECT_EQ(client.bottom, Scale(400));
  const RECT r = ScreenRect(h);
  EXPECT_LE(std::abs((r.left + r.right) / 2 - GetSystemMetrics(SM_CXSCREEN) / 2), 1);
  EXPECT_LE(std::abs((r.top + r.bottom) / 2 - GetSystemMetrics(SM_CYSCREEN) / 2), 1);
  EXPECT_EQ(GetActiveWindow(), h);
  EXPECT_EQ(GetFocus(), form.Edit(1));
  EXPECT_EQ(form.HelpTopic(), 1025);

  EXPECT_EQ(WindowText(form.Edit(2)), L"住所");
  EXPECT_EQ(WindowText(form.Edit(9)), L"東京都千代田区");
  for (int n : {1, 3, 7}) {
    EXPECT_EQ(WindowText(form.Edit(n)), kDefaultKey);
    EXPECT_EQ(WindowText(form.Edit(n + 7)), kDefaultText);
  }
  for (int field = 1; field <= 14; ++field) {
    SCOPED_TRACE(field);
    EXPECT_FALSE(form.Modified(field));
    EXPECT_EQ(Background(form, field), kWhite);
    EXPECT_FALSE(WindowStyle(form.Edit(field)) & ES_MULTILINE);
  }
}

TEST_F(Treasure, ControlsCarryTheirTextsAndFitTheirPage) {
  TreasureBox& form = Open();
  HWND sheet = form.Page();
  EXPECT_EQ(SendMessageW(form.Pages(), TCM_GETITEMCOUNT, 0, 0), 1);
  wchar_t tab[16] = {};
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = tab;
  item.cchTextMax = 16;
  SendMessageW(form.Pages(), TCM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  EXPECT_STREQ(tab, L"設定");

  auto label = [&](int n) { return GetDlgItem(sheet, TreasureBox::kLabelFirst + n); };
  EXPECT_EQ(WindowText(label(3)), L"登録キー");
  EXPECT_EQ(WindowText(label(4)), L"登録コメント");
  EXPECT_EQ(WindowText(label(1)), L"１");
  EXPECT_EQ(WindowText(label(2)), L"２");
  EXPECT_EQ(WindowText(label(5)), L"３");
  EXPECT_EQ(WindowText(label(9)), L"７");
  EXPECT_EQ(WindowText(label(10)), L"（注） 登録キーと登録コメントは、ペアで設定して下さい。");
  EXPECT_EQ(WindowText(form.RegisterButton()), L"登録");
  EXPECT_EQ(WindowText(form.CancelButton()), L"キャンセル");
  EXPECT_EQ(WindowText(form.EndButton()), L"終了");

  HDC dc = CreateCompatibleDC(nullptr);
  SendMessageW(sheet, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(label(10)));
  EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 255)) << "the labels are blue";
  DeleteDC(dc);

  RECT page{};
  GetClientRect(sheet, &page);
  MapWindowPoints(sheet, nullptr, reinterpret_cast<POINT*>(&page), 2);
  for (int n : {1, 2, 3, 4, 5, 9, 10}) EXPECT_TRUE(Inside(ScreenRect(label(n)), page)) << "Label" << n;
  for (int field = 1; field <= 14; ++field) {
    SCOPED_TRACE(field);
    const RECT r = ScreenRect(form.Edit(field));
    EXPECT_TRUE(Inside(r, page));
    EXPECT_EQ(r.right - r.left, Scale(field <= 7 ? 162 : 400));
    EXPECT_EQ(SendMessageW(form.Edit(field), EM_GETLIMITTEXT, 0, 0), kSnippetMaxChars);
  }
  RECT client{};
  GetClientRect(form.hwnd(), &client);
  MapWindowPoints(form.hwnd(), nullptr, reinterpret_cast<POINT*>(&client), 2);
  for (HWND b : {form.RegisterButton(), form.CancelButton(), form.EndButton()}) EXPECT_TRUE(Inside(ScreenRect(b), client));
  EXPECT_TRUE(Inside(ScreenRect(form.Pages()), client));
}

TEST_F(Treasure, AnIncompleteRowIsMarkedAndTheOthersAreRegistered) {
  TreasureBox& form = Open();
  TypeInto(form.Edit(1), L"挨拶");
  TypeInto(form.Edit(3), L"署名");
  TypeInto(form.Edit(10), L"");
  ASSERT_TRUE(form.Modified(1));
  Click(form.RegisterButton());

  ASSERT_EQ(TreasureBox::Get(), &form) << "fields were modified: the form stays open";
  EXPECT_EQ(Key(1), L"挨拶");
  EXPECT_EQ(Text(1), kDefaultText);
  for (int n : {2, 4, 5, 6, 7}) {
    EXPECT_EQ(Key(n), kDefaultKey) << n;
    EXPECT_EQ(Text(n), kDefaultText) << n;
  }
  EXPECT_EQ(Key(3), L"<none>") << "an incomplete pair is never written";
  EXPECT_EQ(Text(3), L"<none>");
  EXPECT_EQ(Background(form, 10), kRed);
  EXPECT_EQ(Background(form, 3), kWhite);
  EXPECT_EQ(GetFocus(), form.Edit(10));
  EXPECT_FALSE(form.Modified(1));
  EXPECT_TRUE(form.Modified(3)) << "the incomplete row keeps its flags";
  EXPECT_TRUE(form.Modified(10));
  EXPECT_EQ(f().snippets().Label(1), L"挨拶");
  EXPECT_EQ(f().snippets().Label(3), kDefaultKey);

  // Typing into the red field clears the mark; the row then registers.
  TypeInto(form.Edit(10), L"山田");
  EXPECT_FALSE(form.IsRed(10));
  EXPECT_EQ(Background(form, 10), kWhite);
  Click(form.RegisterButton());
  EXPECT_EQ(Key(3), L"署名");
  EXPECT_EQ(Text(3), L"山田");
  EXPECT_EQ(f().snippets().Text(3), L"山田");
  ASSERT_EQ(TreasureBox::Get(), &form);
  Click(form.RegisterButton());
  EXPECT_EQ(TreasureBox::Get(), nullptr) << "nothing modified any more: 登録 closes";
}

TEST_F(Treasure, AMissingLabelIsMarkedToo) {
  TreasureBox& form = Open();
  TypeInto(form.Edit(6), L"");
  TypeInto(form.Edit(13), L"本文だけ");
  Click(form.RegisterButton());
  EXPECT_EQ(Background(form, 6), kRed);
  EXPECT_EQ(Background(form, 13), kWhite);
  EXPECT_EQ(GetFocus(), form.Edit(6));
  EXPECT_EQ(Key(6), L"<none>");
  // Any key pressed in the red field clears it, even one that changes nothing.
  PostMessageW(form.Edit(6), WM_CHAR, 0x16, 1);  // Ctrl+V with an empty clipboard
  Pump();
  EXPECT_FALSE(form.IsRed(6));
}

TEST_F(Treasure, ARowClearedOnBothSidesIsStoredAsTwoEmptyValues) {
  TreasureBox& form = Open();
  TypeInto(form.Edit(5), L"");
  TypeInto(form.Edit(12), L"");
  Click(form.RegisterButton());
  EXPECT_EQ(Key(5), L"");
  EXPECT_EQ(Text(5), L"");
  EXPECT_EQ(f().snippets().Label(5), L"");
  EXPECT_EQ(f().snippets().Text(5), L"");
  EXPECT_FALSE(form.IsRed(5));
  EXPECT_FALSE(form.IsRed(12));

  // The defaults no longer apply at the next start.
  DestroyFrame();
  StartFrame();
  EXPECT_EQ(f().snippets().Label(5), L"");
  EXPECT_EQ(f().snippets().Text(5), L"");
  EXPECT_EQ(f().snippets().Label(4), kDefaultKey);
}

TEST_F(Treasure, EndAsksWithTheNumberOfChangedFieldsAndYesRegisters) {
  TreasureBox& form = Open();
  TypeInto(form.Edit(2), L"電話");
  TypeInto(form.Edit(9), L"03-1234-5678");
  DialogAnswerer answers;
  bool information_icon = false;
  answers.Then([&](HWND box) {
    information_icon = ShowsIcon(box, LoadIconW(nullptr, IDI_INFORMATION));
    DialogAnswerer::Click(box, IDYES);
  });
  Click(form.EndButton());
  ASSERT_EQ(answers.seen().size(), 1u);
  EXPECT_EQ(answers.seen()[0].caption, L"情報");
  EXPECT_EQ(answers.seen()[0].text, L"2 つの編集エリアが変更になっています。\r\n\r\n\r\n登録しますか ?");
  EXPECT_TRUE(information_icon);
  ASSERT_EQ(TreasureBox::Get(), &form) << "Yes registers and leaves the form open";
  EXPECT_EQ(Key(2), L"電話");
  EXPECT_EQ(Text(2), L"03-1234-5678");
  EXPECT_EQ(f().snippets().Text(2), L"03-1234-5678");

  Click(form.EndButton());
  EXPECT_EQ(answers.seen().size(), 1u) << "nothing is left to ask about";
  EXPECT_EQ(TreasureBox::Get(), nullptr);
  EXPECT_EQ(answers.unexpected(), 0);
}

TEST_F(Treasure, EndCountsAnIncompleteRowAgainAfterYes) {
  TreasureBox& form = Open();
  TypeInto(form.Edit(4), L"");
  DialogAnswerer answers;
  answers.Press(IDYES);
  answers.Press(IDNO);
  Click(form.EndButton());
  ASSERT_EQ(TreasureBox::Get(), &form);
  EXPECT_TRUE(form.IsRed(4));
  Click(form.EndButton());
  ASSERT_EQ(answers.seen().size(), 2u);
  EXPECT_EQ(answers.seen()[1].text, ChangedFieldsQuestion(1));
  EXPECT_EQ(TreasureBox::Get(), nullptr) << "No closes";
  EXPECT_EQ(Key(4), L"<none>");
}

TEST_F(Treasure, EndWithNoAndCancelAndTheTitleBarCloseWithoutWriting) {
  {
    TreasureBox& form = Open();
    TypeInto(form.Edit(1), L"捨てる");
    DialogAnswerer answers;
    answers.Press(IDNO);
    Click(form.EndButton());
    EXPECT_EQ(answers.seen().size(), 1u);
    EXPECT_EQ(TreasureBox::Get(), nullptr);
  }
  {
    TreasureBox& form = Open();
    TypeInto(form.Edit(1), L"捨てる");
    Click(form.CancelButton());
    EXPECT_EQ(TreasureBox::Get(), nullptr);
  }
  {
    TreasureBox& form = Open();
    TypeInto(form.Edit(1), L"捨てる");
    SendMessageW(form.hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
    Pump();
    EXPECT_EQ(TreasureBox::Get(), nullptr);
  }
  EXPECT_FALSE(FileExists(IniPath())) << "nothing was written";
  EXPECT_EQ(f().snippets().Label(1), kDefaultKey);
}

TEST_F(Treasure, RegisterWithoutAnyChangeWritesTheRowsAndCloses) {
  TreasureBox& form = Open();
  HWND h = form.hwnd();
  Click(form.RegisterButton());
  EXPECT_EQ(TreasureBox::Get(), nullptr);
  EXPECT_FALSE(IsWindow(h));
  EXPECT_EQ(Key(7), kDefaultKey);
  EXPECT_EQ(Text(7), kDefaultText);
}

TEST_F(Treasure, EnterAndTheArrowsFollowTheTable) {
  TreasureBox& form = Open();
  struct Move {
    int from;
    UINT key;
    int to;
  };
  const Move moves[] = {
      {14, VK_RETURN, 1},  // the text of row 7 to the label of row 1
      {1, VK_RETURN, 8},   {8, VK_RETURN, 2},
      {1, VK_UP, 7},       // the label of row 1 to the label of row 7
      {7, VK_DOWN, 1},     {8, VK_UP, 14},    {14, VK_DOWN, 8},
  };
  for (const Move& m : moves)
    EXPECT_EQ(FocusAfter(form.Edit(m.from), m.key), form.Edit(m.to)) << m.from << " " << m.key;
  EXPECT_EQ(WindowText(form.Edit(14)), kDefaultText) << "the Enter key is used up";
  for (int field = 1; field <= 14; ++field) EXPECT_FALSE(form.Modified(field)) << field;
  EXPECT_EQ(TreasureBox::Get(), &form) << "Enter neither registers nor closes";
}

TEST_F(Treasure, LeftAndRightLeaveOnlyAtTheEdges) {
  TreasureBox& form = Open();
  HWND e1 = form.Edit(1), e8 = form.Edit(8);
  TypeInto(e8, L"abc");

  SetCaret(e8, 1, 1);
  PostKey(e8, VK_LEFT);
  EXPECT_EQ(GetFocus(), e8) << "not yet at the start";
  PostKey(e8, VK_LEFT);
  EXPECT_EQ(GetFocus(), e1) << "Left at the start goes to the label";

  SetFocus(e8);
  SetCaret(e8, 0, 2);
  PostKey(e8, VK_LEFT);
  EXPECT_EQ(GetFocus(), e8) << "a selection from the start is not the caret at the start";

  SetCaret(e8, 2, 2);
  PostKey(e8, VK_RIGHT);
  EXPECT_EQ(GetFocus(), e8);
  PostKey(e8, VK_RIGHT);
  EXPECT_EQ(GetFocus(), e1) << "Right at the end goes back to the label";

  // The label is "ご挨拶": three characters.
  SetCaret(e1, 1, 3);
  PostKey(e1, VK_RIGHT);
  EXPECT_EQ(GetFocus(), e1) << "the selection starts before the end";
  SetCaret(e1, 3, 3);
  PostKey(e1, VK_RIGHT);
  EXPECT_EQ(GetFocus(), e8);
}

TEST_F(Treasure, TabGoesRowByRowEscapeDoesNothingAndEnterPressesAFocusedButton) {
  TreasureBox& form = Open();
  EXPECT_EQ(FocusAfter(form.Edit(1), VK_TAB), form.Edit(8));
  EXPECT_EQ(FocusAfter(form.Edit(8), VK_TAB), form.Edit(2));
  EXPECT_EQ(FocusAfter(form.Edit(14), VK_TAB), form.RegisterButton());
  EXPECT_EQ(FocusAfter(form.RegisterButton(), VK_TAB), form.CancelButton());

  TypeInto(form.Edit(1), L"捨てる");
  FocusAfter(form.Edit(1), VK_ESCAPE);
  ASSERT_EQ(TreasureBox::Get(), &form) << "Escape neither closes nor discards";
  EXPECT_EQ(WindowText(form.Edit(1)), L"捨てる");

  FocusAfter(form.CancelButton(), VK_RETURN);
  EXPECT_EQ(TreasureBox::Get(), nullptr);
  EXPECT_FALSE(FileExists(IniPath()));
}

TEST_F(Treasure, OneFormAtATimeMadeAnewFromTheCurrentPairs) {
  TreasureBox& form = Open();
  HWND h = form.hwnd();
  TypeInto(form.Edit(1), L"書きかけ");
  SetActiveWindow(f().hwnd());
  Pump();
  ASSERT_NE(GetActiveWindow(), h);

  ShowTreasureBox();
  Pump();
  EXPECT_EQ(TreasureBox::Get(), &form);
  EXPECT_EQ(form.hwnd(), h);
  EXPECT_EQ(GetActiveWindow(), h) << "brought to the front";
  EXPECT_EQ(WindowText(form.Edit(1)), L"書きかけ") << "the same form, not a new one";
  EXPECT_EQ(GetFocus(), form.Edit(1)) << "the focus comes back to where it was";

  Click(form.CancelButton());
  ASSERT_EQ(TreasureBox::Get(), nullptr);
  Settings scratch(dir_ / L"scratch.INI");  // the form must take the pair from the main window, not the file
  f().snippets().Save(scratch, 6, L"差し替え", kDefaultText);
  TreasureBox& again = Open();
  EXPECT_FALSE(IsWindow(h));
  EXPECT_EQ(WindowText(again.Edit(1)), kDefaultKey);
  EXPECT_EQ(WindowText(again.Edit(6)), L"差し替え");
}

TEST_F(Treasure, ARefusedWriteKeepsTheRowModifiedAndTheFormOpen) {
  Settings(IniPath()).WriteString(L"Other", L"A", L"1");
  SetFileAttributesW(IniPath().c_str(), FILE_ATTRIBUTE_READONLY);
  TreasureBox& form = Open();
  TypeInto(form.Edit(1), L"書けない");
  DialogAnswerer answers;
  answers.Press(IDOK);
  Click(form.RegisterButton());
  SetFileAttributesW(IniPath().c_str(), FILE_ATTRIBUTE_NORMAL);

  ASSERT_EQ(answers.seen().size(), 1u);
  EXPECT_NE(answers.seen()[0].text.find(L"に書き込めません"), std::wstring::npos) << answers.seen()[0].text;
  ASSERT_EQ(TreasureBox::Get(), &form);
  EXPECT_TRUE(form.Modified(1)) << "what was not written is still a change";
  EXPECT_EQ(f().snippets().Label(1), kDefaultKey) << "the main window keeps what the file keeps";

  Click(form.RegisterButton());
  EXPECT_EQ(Key(1), L"書けない");
  EXPECT_EQ(f().snippets().Label(1), L"書けない");
}

TEST_F(Treasure, EditorsOpenItAndTakeARegisteredPairAtOnce) {
  EditorWindow* first = f().NewChild();
  EditorWindow* second = f().NewChild();
  SendMessageW(first->hwnd(), WM_COMMAND, IDM_VELGOLD, 0);
  Pump();
  ASSERT_NE(TreasureBox::Get(), nullptr);
  TreasureBox& form = *TreasureBox::Get();
  TypeInto(form.Edit(11), L"よろしくお願いします");
  TypeInto(form.Edit(5), L"");
  TypeInto(form.Edit(12), L"");

  // The form belongs to the main window, not to the editor that opened it.
  first->CloseFromEditorMenu();
  Pump();
  ASSERT_EQ(TreasureBox::Get(), &form);
  Click(form.RegisterButton());

  SendMessageW(second->hwnd(), WM_COMMAND, IDM_EDITKEY1 + 3, 0);
  EXPECT_EQ(second->memo().Text(), L"よろしくお願いします");
  SendMessageW(second->hwnd(), WM_COMMAND, IDM_EDITKEY1 + 4, 0);
  EXPECT_EQ(second->memo().Text(), L"よろしくお願いします") << "a cleared pair inserts nothing";
}
