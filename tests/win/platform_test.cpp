// The general error report and message boxes, under Wine.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <memory>

#include "ui/app.h"
#include "platform/error.h"
#include "ui/message_box.h"
#include "ui/window.h"
#include "support/win_test.h"

using namespace velkor;
using namespace velkor::test;

namespace {

class Thrower : public Window {
 public:
  Thrower() {
    WNDCLASSEXW wc{};
    wc.lpszClassName = L"VelkorTestThrower";
    RegisterWindowClass(wc);
    Create(0, L"VelkorTestThrower", L"t", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr);
  }
  int handled = 0;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WM_APP) {
      ++handled;
      throw Error(L"C:\\x\\Velkor.INI に書き込めません");
    }
    return Window::HandleMessage(msg, wp, lp);
  }
};

}  // namespace

TEST(ErrorReport, AnUncaughtErrorEndsTheMessageAndShowsItsText) {
  Application::Get().SetTitle(L"ベルコノート");
  DialogAnswerer answers;
  answers.Press(IDOK);
  Thrower w;
  SendMessageW(w.hwnd(), WM_APP, 0, 0);
  ASSERT_EQ(answers.seen().size(), 1u);
  EXPECT_EQ(answers.seen()[0].text, L"C:\\x\\Velkor.INI に書き込めません");
  EXPECT_EQ(answers.seen()[0].caption, L"ベルコノート");
  // The window lives on, handles the next message and reports its error too.
  answers.Press(IDOK);
  SendMessageW(w.hwnd(), WM_APP, 0, 0);
  EXPECT_EQ(w.handled, 2);
  EXPECT_TRUE(IsWindow(w.hwnd()));
  ASSERT_EQ(answers.seen().size(), 2u);
  EXPECT_EQ(answers.seen()[1].text, answers.seen()[0].text);
}

// A window whose WM_CREATE throws.
struct FailingWindow : Window {
  void Make() {
    WNDCLASSEXW wc{};
    wc.lpszClassName = L"VelkorTestFailing";
    RegisterWindowClass(wc);
    Create(0, L"VelkorTestFailing", L"f", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr);
  }
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WM_CREATE) throw Error(L"作成できません");
    return Window::HandleMessage(msg, wp, lp);
  }
};

TEST(ErrorReport, AnErrorWhileAWindowIsCreatedFailsTheCreation) {
  DialogAnswerer answers;
  FailingWindow w;
  try {
    w.Make();
    ADD_FAILURE() << "the creation should have failed";
  } catch (const Error& e) {
    EXPECT_EQ(e.message(), L"作成できません") << "the caller gets the error to report";
  }
  EXPECT_EQ(w.hwnd(), nullptr);
  EXPECT_EQ(FindWindowW(L"VelkorTestFailing", nullptr), nullptr) << "no half-built window lives on";
  EXPECT_TRUE(answers.seen().empty()) << "reported once, by whoever catches it";
}

TEST(ErrorReport, AFailedCreationLeavesTheObjectToItsCreator) {
  // A window that frees itself must not do so when its creation fails: the
  // creator still holds it (and frees it once).
  static int finals = 0;
  struct SelfOwned : FailingWindow {
    void OnFinalMessage() override {
      ++finals;
      delete this;
    }
  };
  DialogAnswerer answers;
  auto w = std::make_unique<SelfOwned>();
  EXPECT_THROW(w->Make(), Error);
  EXPECT_EQ(finals, 0);
  w.reset();
}

TEST(MessageBoxes, StandAtTheRequestedPoint) {
  DialogAnswerer answers;
  answers.Press(IDYES);
  const int r = ShowMessage(L"本当に終了しますか。", MessageKind::Confirmation, MB_YESNO, POINT{123, 77});
  EXPECT_EQ(r, IDYES);
  ASSERT_EQ(answers.seen().size(), 1u);
  EXPECT_EQ(answers.seen()[0].rect.left, 123);
  EXPECT_EQ(answers.seen()[0].rect.top, 77);
  EXPECT_EQ(answers.seen()[0].caption, L"確認");
}

// The test harness itself: a box that no test asked for must not pass unseen.
TEST(DialogAnswers, ABoxNobodyExpectedFailsTheTestAndIsCancelled) {
  int r = 0;
  {
    DialogAnswerer answers;
    answers.Press(IDOK);
    EXPECT_EQ(ShowMessage(L"一つ目", MessageKind::Warning, MB_OKCANCEL), IDOK);
    EXPECT_NONFATAL_FAILURE(r = ShowMessage(L"二つ目", MessageKind::Warning, MB_OKCANCEL), "\"警告\": \"二つ目\"");
    EXPECT_EQ(r, IDCANCEL);
  }
  // With the test's own answerer gone, the one every test runs in answers.
  r = 0;
  EXPECT_NONFATAL_FAILURE(r = ShowMessage(L"三つ目", MessageKind::Plain, MB_OKCANCEL), "三つ目");
  EXPECT_EQ(r, IDCANCEL);
}

namespace velkor {
namespace {

TEST(BusyCursors, OnePaintsWorthOfHourglassesShowsAsOne) {
  const HCURSOR wait = LoadCursorW(nullptr, IDC_WAIT);
  {
    BusyBatch paint;
    { BusyCursor first; }
    // Between two items the hourglass stays.
    EXPECT_EQ(GetCursor(), wait);
    { BusyCursor second; }
    EXPECT_EQ(GetCursor(), wait);
  }
  EXPECT_NE(GetCursor(), wait);
  // Without a batch each one comes back at once; a batch that asked for none changes nothing.
  { BusyCursor alone; }
  EXPECT_NE(GetCursor(), wait);
  SetCursor(nullptr);
  { BusyBatch idle; }
  EXPECT_EQ(GetCursor(), nullptr);
}

}  // namespace
}  // namespace velkor
