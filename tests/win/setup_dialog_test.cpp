// The search-directory setup dialog as the user reaches it: opened by a click
// on the search window's button, worked with the mouse and the keys.
#include <gtest/gtest.h>

#include <functional>

#include "support/frame_fixture.h"
#include "support/win_test.h"
#include "win/search_window_fixture.h"
#include "wordsearch/setup_dialog.h"
#include "wordsearch/wordsearch_ids.h"

using namespace velkor;
using namespace velkor::test;

namespace {

class SetupDialogTest : public SearchWindowTest {
 protected:
  // Clicks the search window's setup button; `use` works the dialog, which
  // is then cancelled.
  void WithDialog(SearchWindow& form, std::function<void(SetupDialog&)> use) {
    DialogAnswerer answers;
    bool used = false;
    answers.Then([&](HWND dialog) {
      // The dialog shows itself once its loop first runs idle.
      WhenModal([dialog] { return IsWindowVisible(dialog) != FALSE; }, [&, dialog] {
        auto* setup = dynamic_cast<SetupDialog*>(Dialog::FromHandle(dialog));
        if (setup) use(*setup);
        used = setup != nullptr;
        DialogAnswerer::Click(dialog, IDCANCEL);
      });
    });
    SetForegroundWindow(form.hwnd());
    ClickAt(CentreOf(form.SetUpButton()));
    EXPECT_TRUE(used) << "the button opened no dialog";
  }
};

RECT WindowRectOf(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  return r;
}

TEST_F(SetupDialogTest, TheSplitBarPutsTheTreesEdgeWhereItIsLetGo) {
  SearchWindow& form = Open();
  WithDialog(form, [](SetupDialog& setup) {
    HWND tree = setup.tree().hwnd();
    HWND split = setup.Item(IDC_SETUP_SPLIT);
    const RECT before = WindowRectOf(tree);
    const POINT grip = CentreOf(split);
    MovePointer(grip);
    ClickHere();
    EXPECT_EQ(WindowRectOf(tree).right, before.right) << "a press and release without a move";
    ClickHere();
    EXPECT_EQ(WindowRectOf(tree).right, before.right) << "nor a second one";
    DragFromTo(grip, grip);
    EXPECT_EQ(WindowRectOf(tree).right, before.right) << "a move reported where it was pressed";
    DragFromTo(grip, POINT{grip.x + 30, grip.y});
    EXPECT_EQ(WindowRectOf(tree).right, grip.x + 30);
    EXPECT_EQ(WindowRectOf(split).left, grip.x + 30) << "the bar stands beside the tree";
    EXPECT_EQ(WindowRectOf(tree).left, before.left);
  });
}

TEST_F(SetupDialogTest, ADirectoryReadWithoutSubdirectoriesShowsOneMadeLater) {
  CreateDirectoryW((tree_ / L"empty").c_str(), nullptr);
  SearchWindow& form = Open();
  WithDialog(form, [&](SetupDialog& setup) {
    setup.tree().SelectPath(tree_.path());
    const TreeView t = setup.tree().tree();
    HTREEITEM empty = t.Child(t.Selected());
    ASSERT_NE(empty, nullptr);
    ASSERT_EQ(t.Text(empty), L"empty");
    ASSERT_EQ(t.Child(empty), nullptr);
    CreateDirectoryW((tree_ / L"empty\\new").c_str(), nullptr);
    SetFocus(t);
    PressKeys({VK_LEFT, VK_RIGHT});  // the directory closed and opened again
    ASSERT_NE(t.Child(empty), nullptr) << "no expand button for the new subdirectory";
    EXPECT_EQ(t.Text(t.Child(empty)), L"new");
  });
}

TEST_F(SetupDialogTest, OverAWindowAtTheScreensEdgeItStaysOnTheWorkArea) {
  SearchWindow& form = Open();
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const RECT r = WindowRectOf(form.hwnd());
  // Centred over the window, the dialog would reach far beyond the bottom right.
  SetWindowPos(form.hwnd(), nullptr, work.right - (r.right - r.left) / 2, work.bottom - 150, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER);
  WithDialog(form, [&](SetupDialog& setup) {
    const RECT d = WindowRectOf(setup.hwnd());
    EXPECT_GE(d.left, work.left);
    EXPECT_GE(d.top, work.top);
    EXPECT_LE(d.right, work.right);
    EXPECT_LE(d.bottom, work.bottom);
    wchar_t cls[32] = {};
    GetClassNameW(setup.hwnd(), cls, 32);
    EXPECT_STREQ(cls, L"TSetupForm");
  });
}

}  // namespace
