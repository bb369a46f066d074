// Windows closed while code of theirs still runs: a message box is up or a
// long piece of work lets messages through, and the close arrives then, as
// when the user clicks a close box behind the box or ends the program. The
// test program fails any test in which an object is freed while one of its
// own handlers runs (see test_main.cpp).
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <memory>

#include "editor/editor_ids.h"
#include "editor/editor_window.h"
#include "launcher/friends_window.h"
#include "launcher/friends_window_ids.h"
#include "state/settings.h"
#include "ui/app.h"
#include "ui/main_frame_ids.h"
#include "ui/window.h"
#include "win/search_window_fixture.h"
#include "win/setup_input.h"
#include "wordsearch/search_window.h"
#include "wordsearch/setup_dialog.h"
#include "wordsearch/wordsearch_ids.h"

using namespace velkor;
using namespace velkor::test;

namespace {

// A key as the keyboard sends it, through the queue.
void PostKey(HWND target, UINT vk) {
  PostKeyDown(target, vk);
  PostKeyUp(target, vk);
}

// Answers the box in front: first the close arrives, then the box is answered.
DialogAnswerer::Action CloseBehindTheBox(HWND closed, int answer = IDOK) {
  return [closed, answer](HWND box) {
    PostMessageW(closed, WM_CLOSE, 0, 0);
    DialogAnswerer::Click(box, answer);
  };
}

// The program still answers, and no second window of it hangs about.
void ExpectAnswering(HWND window) {
  DWORD_PTR result = 0;
  EXPECT_NE(SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &result), 0);
}

class WindowLifetime : public SearchWindowTest {
 protected:
  void TearDown() override {
    if (FriendsWindow* form = FriendsWindow::Get()) DestroyWindow(form->hwnd());
    SearchWindowTest::TearDown();
  }
  MainWindow& f() { return frame_ ? *frame_ : StartFrame(); }
  // The main window's command, as its menu or shortcut gives it.
  void MainCommand(int id) { PostMessageW(f().hwnd(), WM_COMMAND, id, 0); }
  // The friends window, opened from the main window, registers the only file
  // of a folder to its first button ("ボタン１へ登録").
  FriendsWindow& RegisterToButtonOne(const TempDir& folder) {
    MainCommand(IDM_FRIEND);
    EXPECT_TRUE(PumpUntil([] { return FriendsWindow::Get() != nullptr; }));
    FriendsWindow& form = *FriendsWindow::Get();
    form.Tree().SelectPath(folder.path());
    form.FileList().Select(0);
    SendMessageW(form.hwnd(), WM_COMMAND, IDM_DIR_REGISTER1, 0);
    return form;
  }
  bool MainGone() { return !frame_->hwnd(); }
};

// Place 1: the editor's Find Next box is up and the editor is closed.
TEST_F(WindowLifetime, AnEditorClosedUnderItsFindNextBoxIsLeftAlone) {
  EditorWindow* e = f().NewChild();
  e->memo().SetText(L"abc abc");
  e->memo().SetSel(0, 0);
  e->memo().SetModified(false);
  lstrcpynW(e->find_options().lpstrFindWhat, L"abc", 512);
  const HWND editor = e->hwnd();
  DialogAnswerer answers;
  answers.Then([](HWND) {});  // the Find dialog stays open beside the editor
  answers.Then(CloseBehindTheBox(editor));
  SendMessageW(f().hwnd(), WM_COMMAND, IDM_FIND1, 0);  // the Search menu's Find
  SetFocus(e->memo().hwnd());
  for (int i = 0; i < 3; ++i) {
    PostKey(e->memo().hwnd(), VK_F3);
    PumpFor(30);
  }
  EXPECT_TRUE(PumpUntil([&] { return !IsWindow(editor); }, 3000));
  EXPECT_EQ(answers.seen().size(), 2u);  // the Find dialog and the count
  EXPECT_TRUE(f().Editors().empty());
  ExpectAnswering(f().hwnd());
}

// Place 1 in the search window's viewer: its find box is up and the main
// window closes, taking the search window with it.
TEST_F(WindowLifetime, TheViewerClosedUnderItsFindBoxIsLeftAlone) {
  const std::wstring d = Dir(L"a");
  WriteBytes(d + L"t.txt", "key\r\nother\r\n");
  Register(1, d);
  SearchWindow& form = Open();
  DialogAnswerer answers;
  Search(form, L"key");
  SendMessageW(form.FileList(), LB_SETCURSEL, 0, 0);
  form.ViewSelectedHit();
  answers.Then(CloseBehindTheBox(f().hwnd()));
  answers.Press(IDOK);  // the farewell
  PostKey(form.SrcList().hwnd(), VK_F3);
  EXPECT_TRUE(PumpUntil([&] { return MainGone(); }, 3000));
  EXPECT_EQ(SearchWindow::Get(), nullptr);
  EXPECT_EQ(answers.seen().size(), 2u);
}

// Place 2: the friends window's close reloads the main window's launch row,
// which lets messages through once per icon; a second close arrives then.
TEST_F(WindowLifetime, TheFriendsWindowClosedTwiceWhileItsCloseReloadsTheRow) {
  TempDir files;
  WriteBytes(files / L"memo.txt", "text");
  FriendsWindow& form = RegisterToButtonOne(files);
  const HWND friends = form.hwnd();
  PostMessageW(friends, WM_CLOSE, 0, 0);
  PostMessageW(friends, WM_CLOSE, 0, 0);
  EXPECT_TRUE(PumpUntil([&] { return !IsWindow(friends); }, 3000));
  EXPECT_EQ(FriendsWindow::Get(), nullptr);
  EXPECT_EQ(f().LaunchButton(0).hint(), L"memo.txt");
  ExpectAnswering(f().hwnd());
}

// Place 2 with the main window: it closes while the friends window's close
// reloads its row.
TEST_F(WindowLifetime, TheMainWindowClosedWhileTheFriendsWindowReloadsItsRow) {
  TempDir files;
  WriteBytes(files / L"memo.txt", "text");
  RegisterToButtonOne(files);
  DialogAnswerer answers;
  answers.Press(IDOK);  // the farewell
  PostMessageW(FriendsWindow::Get()->hwnd(), WM_CLOSE, 0, 0);
  PostMessageW(f().hwnd(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(PumpUntil([&] { return MainGone(); }, 3000));
  EXPECT_EQ(FriendsWindow::Get(), nullptr);
}

// Place 3: F2 opens the friends window, whose first listing lets messages
// through, and the main window closes meanwhile.
TEST_F(WindowLifetime, TheMainWindowClosedWhileTheFriendsWindowListsOnItsWayUp) {
  TempDir files;
  for (int i = 0; i < 40; ++i) WriteBytes(files / (L"f" + std::to_wstring(i) + L".txt"), "x");
  wchar_t before[MAX_PATH] = L"";
  GetCurrentDirectoryW(MAX_PATH, before);
  SetCurrentDirectoryW(files.path().c_str());
  DialogAnswerer answers;
  answers.Press(IDOK);  // the farewell
  SetFocus(f().hwnd());
  PostKey(f().hwnd(), VK_F2);
  PostMessageW(f().hwnd(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(PumpUntil([&] { return MainGone(); }, 5000));
  SetCurrentDirectoryW(before);
  EXPECT_EQ(FriendsWindow::Get(), nullptr);
  EXPECT_EQ(answers.seen().size(), 1u);
}

// Place 3: Enter in the mask box lists again, and the main window closes
// during that listing.
TEST_F(WindowLifetime, TheMainWindowClosedWhileEnterInTheMaskBoxLists) {
  TempDir files;
  for (int i = 0; i < 40; ++i) WriteBytes(files / (L"f" + std::to_wstring(i) + L".txt"), "x");
  MainCommand(IDM_FRIEND);
  ASSERT_TRUE(PumpUntil([] { return FriendsWindow::Get() != nullptr; }));
  FriendsWindow& form = *FriendsWindow::Get();
  form.Tree().SelectPath(files.path());
  PumpFor(50);
  DialogAnswerer answers;
  answers.Press(IDOK);  // the farewell
  SetFocus(form.MaskBox());
  PostMessageW(form.MaskBox(), WM_CHAR, L'\r', 1);
  PostMessageW(f().hwnd(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(PumpUntil([&] { return MainGone(); }, 5000));
  EXPECT_EQ(FriendsWindow::Get(), nullptr);
}

// Place 4: the friends window's empty-mask message is up and the main window
// closes.
TEST_F(WindowLifetime, TheMainWindowClosedUnderTheEmptyMaskMessage) {
  MainCommand(IDM_FRIEND);
  ASSERT_TRUE(PumpUntil([] { return FriendsWindow::Get() != nullptr; }));
  FriendsWindow& form = *FriendsWindow::Get();
  SetWindowTextW(form.MaskBox(), L"");
  DialogAnswerer answers;
  answers.Then(CloseBehindTheBox(f().hwnd()));
  answers.Press(IDOK);  // the farewell
  SetFocus(form.MaskBox());
  PostMessageW(form.MaskBox(), WM_CHAR, L'\r', 1);
  EXPECT_TRUE(PumpUntil([&] { return MainGone(); }, 3000));
  EXPECT_EQ(FriendsWindow::Get(), nullptr);
  EXPECT_EQ(answers.seen().size(), 2u);
}

// Place 4: the bulk search's message that the list is full is up and the
// main window closes.
TEST_F(WindowLifetime, TheMainWindowClosedUnderTheFullListMessageOfTheBulkSearch) {
  TempDir files;
  for (int i = 0; i < 3; ++i) WriteBytes(files / (L"f" + std::to_wstring(i) + L".txt"), "x");
  MainCommand(IDM_FRIEND);
  ASSERT_TRUE(PumpUntil([] { return FriendsWindow::Get() != nullptr; }));
  FriendsWindow& form = *FriendsWindow::Get();
  form.Tree().SelectPath(files.path());
  PumpFor(50);
  SendMessageW(form.hwnd(), WM_COMMAND, MAKEWPARAM(IDC_DIR_BULKSEARCH, BN_CLICKED), 0);  // the list of results
  FullListBox full(form.FileList().hwnd(), 1);
  DialogAnswerer answers;
  answers.Then(CloseBehindTheBox(f().hwnd()));
  answers.Press(IDOK);  // the farewell
  PostMessageW(form.hwnd(), WM_COMMAND, MAKEWPARAM(IDC_DIR_BULKSEARCH, BN_CLICKED), 0);  // the search button
  EXPECT_TRUE(PumpUntil([&] { return MainGone(); }, 5000));
  EXPECT_EQ(FriendsWindow::Get(), nullptr);
  EXPECT_EQ(answers.seen().size(), 2u) << "nothing more reported for a window that went";
}

// Place 5: the search runs, letting messages through, and the main window
// closes.
TEST_F(WindowLifetime, TheMainWindowClosedWhileTheSearchRuns) {
  const std::wstring d = Dir(L"a");
  for (int i = 0; i < 40; ++i) WriteBytes(d + L"f" + std::to_wstring(i) + L".txt", "key\r\n");
  Register(1, d);
  SearchWindow& form = Open();
  SetWindowTextW(form.KeyWordEditB(), L"key");
  DialogAnswerer answers;
  answers.Press(IDOK);  // the farewell
  PostMessageW(form.hwnd(), WM_COMMAND, MAKEWPARAM(IDC_SEA_SEARCH, BN_CLICKED), 0);
  PostMessageW(f().hwnd(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(PumpUntil([&] { return MainGone(); }, 5000));
  EXPECT_EQ(SearchWindow::Get(), nullptr);
  EXPECT_EQ(answers.seen().size(), 1u) << "no report of a search cut short";
}

// Place 5: the setup dialog lists the directory clicked in its tree, and the
// main window closes meanwhile: the listing stops, the dialog and the search
// window go.
TEST_F(WindowLifetime, TheMainWindowClosedWhileTheSetupDialogLists) {
  TempDir dir;
  for (int i = 0; i < 200; ++i) WriteBytes(dir / (L"f" + std::to_wstring(i) + L".txt"), "x");
  SearchWindow& form = Open();
  const HWND search = form.hwnd();
  std::unique_ptr<AtFirstLine> close_during_listing;
  DialogAnswerer answers;
  answers.Then([&](HWND dialog) {
    auto* setup = dynamic_cast<SetupDialog*>(Dialog::FromHandle(dialog));
    ASSERT_NE(setup, nullptr);
    setup->tree().SelectPath(dir.path());
    close_during_listing = std::make_unique<AtFirstLine>(setup->list().hwnd(),
                                                         [&] { PostMessageW(frame_->hwnd(), WM_CLOSE, 0, 0); });
    ClickNodeName(setup->tree().hwnd(), setup->tree().tree().Selected());
  });
  answers.Press(IDOK);  // the farewell
  PostMessageW(search, WM_COMMAND, MAKEWPARAM(IDC_SEA_SETUP, BN_CLICKED), 0);
  EXPECT_TRUE(PumpUntil([&] { return MainGone(); }, 10000));
  EXPECT_FALSE(IsWindow(search));
  EXPECT_EQ(SearchWindow::Get(), nullptr);
  EXPECT_EQ(answers.seen().size(), 2u);
}

// Place 6: tab expansion fails on a text too large for the memory left, and
// so does the step that puts the caret at the end afterwards.
LRESULT CALLBACK HugeTextProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
  if (msg == EM_GETTEXTLENGTHEX) return std::numeric_limits<LRESULT>::max();
  return DefSubclassProc(hwnd, msg, wp, lp);
}

TEST_F(WindowLifetime, AFailureWhileTheCaretGoesToTheEndAfterAFailedExpansionIsReportedOnce) {
  EditorWindow* e = f().NewChild();
  e->memo().SetText(L"a\tb");
  SetWindowSubclass(e->memo().hwnd(), HugeTextProc, 1, 0);
  DialogAnswerer answers;
  answers.Press(IDOK);
  SendMessageW(f().hwnd(), WM_COMMAND, IDM_TABTOSPACE, 0);
  PumpFor(50);
  RemoveWindowSubclass(e->memo().hwnd(), HugeTextProc, 1);
  EXPECT_EQ(answers.seen().size(), 1u);
  EXPECT_EQ(answers.unexpected(), 0);
  EXPECT_EQ(e->memo().Text(), L"a\tb");
  ExpectAnswering(f().hwnd());
}

// Place 7: a window whose paint fails.
class FailingPaint : public Window {
 public:
  FailingPaint() {
    WNDCLASSEXW wc{};
    wc.lpszClassName = L"VelkorTestFailingPaint";
    RegisterWindowClass(wc);
    Create(0, wc.lpszClassName, L"", WS_POPUP, 10, 10, 40, 40, nullptr, nullptr);
  }
  bool fail = true;
  int paints = 0;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    LRESULT result = 0;
    if (HandlePaint(msg, wp, result, [this](HDC dc) {
          ++paints;
          if (fail) throw std::runtime_error("paint failed");
          RECT r{0, 0, 40, 40};
          FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        }))
      return result;
    return Window::HandleMessage(msg, wp, lp);
  }
};

TEST_F(WindowLifetime, AFailingPaintIsReportedOnceAndTheWindowPaintsLater) {
  DialogAnswerer answers;
  answers.Press(IDOK);
  FailingPaint window;
  ShowWindow(window.hwnd(), SW_SHOWNOACTIVATE);
  PumpFor(300);
  EXPECT_EQ(answers.seen().size(), 1u);
  EXPECT_EQ(answers.unexpected(), 0);
  EXPECT_EQ(window.paints, 1);
  window.fail = false;
  InvalidateRect(window.hwnd(), nullptr, FALSE);
  PumpFor(100);
  EXPECT_EQ(window.paints, 2);
  HDC dc = GetDC(window.hwnd());
  EXPECT_EQ(GetPixel(dc, 20, 20), RGB(0, 0, 0));
  ReleaseDC(window.hwnd(), dc);
}

// The end of the Windows session with a changed document.
TEST_F(WindowLifetime, TheEndOfTheSessionAsksOnlyForTheChangedDocumentsAndKeepsThePlacements) {
  EditorWindow* e = f().NewChild();
  e->memo().SetText(L"unsaved");
  e->memo().SetModified(true);
  SearchWindow& search = Open();
  MainCommand(IDM_FRIEND);
  ASSERT_TRUE(PumpUntil([] { return FriendsWindow::Get() != nullptr; }));
  {
    DialogAnswerer answers;
    answers.Press(IDCANCEL);
    EXPECT_EQ(SendMessageW(f().hwnd(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), FALSE);
    EXPECT_EQ(answers.seen().size(), 1u);
    EXPECT_TRUE(IsWindow(e->hwnd()));
  }
  DialogAnswerer answers;
  answers.Press(IDNO);
  EXPECT_EQ(SendMessageW(f().hwnd(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
  EXPECT_EQ(answers.seen().size(), 1u) << "no confirmation and no farewell";
  (void)search;
  SendMessageW(f().hwnd(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
  PumpFor(50);
  EXPECT_EQ(answers.seen().size(), 1u);
  const std::string ini = IniBytes();
  for (const char* section : {"[Tframeform]", "[TSeaForm]", "[Tdirform]"})
    EXPECT_NE(ini.find(section), std::string::npos) << section;
}

}  // namespace
