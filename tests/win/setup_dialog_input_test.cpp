// The search-directory setup as the user meets it: keys and clicks sent to
// its real controls and routed by the dialog manager, as in the dialog's own
// message loop.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <utility>

#include "state/settings.h"
#include "ui/app.h"
#include "ui/dialog.h"
#include "wordsearch/setup_dialog.h"
#include "wordsearch/wordsearch_ids.h"
#include "win/search_window_fixture.h"
#include "win/setup_input.h"

using namespace velkor;
using namespace velkor::test;

namespace {

// The dialog's own loop: its keys go through the dialog manager first.
bool DialogLoopUntil(HWND dialog, const std::function<bool()>& done, int timeout_ms = 5000) {
  const DWORD start = GetTickCount();
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (IsWindow(dialog) && IsDialogMessageW(dialog, &msg)) continue;
      if (Application::Get().PreTranslate(msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (done()) return true;
    if (static_cast<int>(GetTickCount() - start) > timeout_ms) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

class SetupDialogInput : public SearchWindowTest {
 protected:
  // Opens the dialog from the search window's button and runs `use` in it;
  // `close` ends it unless it has ended already.
  void Run(const std::function<void(SetupDialog&)>& use, int close = IDCANCEL) {
    SearchWindow& form = Open();
    DialogAnswerer answers;
    answers.Then([&](HWND dialog) {
      auto* setup = dynamic_cast<SetupDialog*>(Dialog::FromHandle(dialog));
      ASSERT_NE(setup, nullptr);
      // Shown as the dialog's own loop shows it once it is idle: hidden
      // again, it has ended.
      ShowWindow(dialog, SW_SHOWNORMAL);
      use(*setup);
      if (IsWindow(dialog) && IsWindowVisible(dialog)) DialogAnswerer::Click(dialog, close);
    });
    SendMessageW(form.hwnd(), WM_COMMAND, MAKEWPARAM(IDC_SEA_SETUP, BN_CLICKED), 0);
    EXPECT_EQ(answers.pending(), 0u);
  }
  static std::wstring Label(SetupDialog& setup) { return setup.ItemText(IDC_SETUP_LABEL1); }
  static bool Listed(SetupDialog& setup, const std::wstring& name) {
    for (int i = 0; i < setup.list().Count(); ++i)
      if (setup.list().Text(i, 0) == name) return true;
    return false;
  }
  static void SelectLine(SetupDialog& setup, const std::wstring& name) {
    for (int i = 0; i < setup.list().Count(); ++i)
      if (setup.list().Text(i, 0) == name) setup.list().Select(i);
  }
  TempDir dir_;
};

TEST_F(SetupDialogInput, EnterAndSpaceOnALineOpenItWhenReleasedAndLeaveTheDialogOpen) {
  CreateDirectoryW((dir_ / L"sub").c_str(), nullptr);
  CreateDirectoryW((dir_ / L"sub\\deeper").c_str(), nullptr);
  Run([&](SetupDialog& setup) {
    const HWND dialog = setup.hwnd();
    setup.tree().SelectPath(dir_.path());
    ClickNodeName(setup.tree().hwnd(), setup.tree().tree().Selected());
    ASSERT_TRUE(DialogLoopUntil(dialog, [&] { return Listed(setup, L"sub"); }));
    const HWND list = setup.list().hwnd();
    SelectLine(setup, L"sub");
    SetFocus(list);

    PostKeyDown(list, VK_SPACE);
    PostKeyDown(list, VK_SPACE, true);
    PostKeyDown(list, VK_SPACE, true);
    DialogLoopUntil(dialog, [] { return false; }, 200);
    EXPECT_EQ(Label(setup), dir_.path()) << "a held Space opens nothing yet";
    PostKeyUp(list, VK_SPACE);
    EXPECT_TRUE(DialogLoopUntil(dialog, [&] { return Label(setup) == dir_ / L"sub" && Listed(setup, L"deeper"); }));

    SelectLine(setup, L"deeper");
    SetFocus(list);

    PostKeyDown(list, VK_RETURN);
    DialogLoopUntil(dialog, [] { return false; }, 200);

    ASSERT_TRUE(IsWindowVisible(dialog)) << "Enter on the list is not the OK button";
    PostKeyUp(list, VK_RETURN);
    EXPECT_TRUE(DialogLoopUntil(dialog, [&] { return Label(setup) == dir_ / L"sub\\deeper"; }));
    EXPECT_TRUE(IsWindowVisible(dialog));
  });
  EXPECT_EQ(Settings(IniPath()).ReadString(L"Option", L"No1Dir", L"none"), L"none") << "nothing registered";
}

TEST_F(SetupDialogInput, ASelectionMadeWhileAListingRunsIsListedLast) {
  CreateDirectoryW((dir_ / L"a").c_str(), nullptr);
  CreateDirectoryW((dir_ / L"b").c_str(), nullptr);
  for (int i = 0; i < 150; ++i) WriteBytes(dir_ / (L"a\\f" + std::to_wstring(i) + L".txt"), "x");
  WriteBytes(dir_ / L"b\\only.txt", "x");
  Run([&](SetupDialog& setup) {
    const HWND dialog = setup.hwnd();
    const HWND tree = setup.tree().hwnd();
    setup.tree().SelectPath(dir_ / L"a");
    SetFocus(tree);
    // On to b while a is still being listed: the listing takes the key out of the queue.
    AtFirstLine down_during_listing(setup.list().hwnd(), [&] {
      PostKeyDown(tree, VK_DOWN);
      PostKeyUp(tree, VK_DOWN);
    });
    ClickNodeName(tree, setup.tree().tree().Selected());
    EXPECT_TRUE(DialogLoopUntil(dialog, [&] {
      return Label(setup) == dir_ / L"b" && setup.list().Count() == 1 && Listed(setup, L"only.txt");
    })) << setup.list().Count() << " lines under " << Label(setup);
  });
}

TEST_F(SetupDialogInput, EscapeStopsAListingAndOKStopsItAndClosesAsOK) {
  for (int i = 0; i < 300; ++i) WriteBytes(dir_ / (L"f" + std::to_wstring(i) + L".txt"), "x");
  SearchWindow* form = nullptr;
  Run([&](SetupDialog& setup) {
    const HWND dialog = setup.hwnd();
    const HWND tree = setup.tree().hwnd();
    setup.tree().SelectPath(dir_.path());
    SetFocus(tree);
    {
      AtFirstLine escape_during_listing(setup.list().hwnd(), [&] {
        PostKeyDown(tree, VK_ESCAPE);
        PostKeyUp(tree, VK_ESCAPE);
      });
      ClickNodeName(tree, setup.tree().tree().Selected());
      DialogLoopUntil(dialog, [&] { return setup.StatusText(1) != L"" && !setup.listing(); }, 5000);
    }
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_LT(setup.list().Count(), 300) << "the listing went on to the end";

    SendMessageW(setup.Item(IDC_SETUP_NUMBER1), BM_CLICK, 0, 0);  // registers the chosen directory as 1
    AtFirstLine ok_during_listing(setup.list().hwnd(), [&] { PostMessageW(setup.Item(IDOK), BM_CLICK, 0, 0); });
    ClickNodeName(tree, setup.tree().tree().Selected());
    DialogLoopUntil(dialog, [&] { return !IsWindowVisible(dialog); }, 5000);
    EXPECT_FALSE(IsWindowVisible(dialog)) << "OK during the listing closes the dialog";
    EXPECT_LT(setup.list().Count(), 300) << "OK stops the listing";
  });
  form = SearchWindow::Get();
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->dir_path()[1], dir_.path() + L"\\");
  EXPECT_EQ(Settings(IniPath()).ReadString(L"Option", L"No1Dir", L""), dir_.path() + L"\\");
}

TEST_F(SetupDialogInput, AClickListsOnlyTheClickedNodeAndAnExpandButtonListsNothing) {
  CreateDirectoryW((dir_ / L"a").c_str(), nullptr);
  CreateDirectoryW((dir_ / L"a\\inner").c_str(), nullptr);
  CreateDirectoryW((dir_ / L"b").c_str(), nullptr);
  WriteBytes(dir_ / L"top.txt", "x");
  WriteBytes(dir_ / L"b\\in_b.txt", "x");
  Run([&](SetupDialog& setup) {
    const HWND dialog = setup.hwnd();
    const HWND tree = setup.tree().hwnd();
    const TreeView t = setup.tree().tree();
    setup.tree().SelectPath(dir_.path());
    const HTREEITEM top = t.Selected();
    ASSERT_NE(ChildNamed(t, top, L"a"), nullptr);
    ClickNodeButton(tree, ChildNamed(t, top, L"a"));
    DialogLoopUntil(dialog, [] { return false; }, 300);
    EXPECT_EQ(setup.list().Count(), 0) << "the expand button lists nothing";

    ClickNodeName(tree, ChildNamed(t, top, L"b"));
    EXPECT_TRUE(DialogLoopUntil(dialog, [&] { return Listed(setup, L"in_b.txt"); }));
    EXPECT_FALSE(Listed(setup, L"top.txt"));
    EXPECT_EQ(Label(setup), dir_ / L"b");
  });
}

}  // namespace
