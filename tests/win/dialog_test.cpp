// The dialog base, with a small modal dialog from this test's own template
// (dialog_test.rc), driven through its real controls under Wine.
#include <gtest/gtest.h>

#include "ui/app.h"
#include "ui/control.h"
#include "ui/dialog.h"
#include "platform/error.h"
#include "support/win_test.h"

using namespace velkor;
using namespace velkor::test;

namespace {

constexpr int kName = 100, kConfirm = 101, kFail = 102;

struct Choice {
  std::wstring name;
  bool confirm = false;
};

// The button that fails is an object of its own: its click reaches it through the dialog.
class FailingButton : public Control {
 protected:
  bool OnCommand(int) override { throw Error(L"押せません"); }
};

class ChoiceDialog : public Dialog {
 public:
  explicit ChoiceDialog(Choice& choice) : Dialog(L"TESTDIALOG"), choice_(choice) {}

 protected:
  void LoadControls() override {
    SetItemText(kName, choice_.name);
    SetChecked(kConfirm, choice_.confirm);
    fail_.Attach(Item(kFail));
  }
  bool SaveControls() override {
    const std::wstring name = ItemText(kName);
    if (name.empty()) return false;
    choice_ = {name, Checked(kConfirm)};
    return true;
  }

 private:
  Choice& choice_;
  FailingButton fail_;
};

}  // namespace

TEST(DialogBase, InitFillsOkReadsBackAndCancelLeavesTheData) {
  Choice choice{L"山田", true};
  DialogAnswerer answers;
  std::wstring shown;
  bool shown_checked = false;
  answers.Then([&](HWND dlg) {
    shown = WindowText(GetDlgItem(dlg, kName));
    shown_checked = IsDlgButtonChecked(dlg, kConfirm) == BST_CHECKED;
    SetDlgItemTextW(dlg, kName, L"田中");
    CheckDlgButton(dlg, kConfirm, BST_UNCHECKED);
    DialogAnswerer::Click(dlg, IDOK);
  });
  EXPECT_EQ(ChoiceDialog(choice).DoModal(nullptr), IDOK);
  EXPECT_EQ(shown, L"山田");
  EXPECT_TRUE(shown_checked);
  EXPECT_EQ(choice.name, L"田中");
  EXPECT_FALSE(choice.confirm);

  answers.Then([](HWND dlg) {
    SetDlgItemTextW(dlg, kName, L"捨てる");
    DialogAnswerer::Click(dlg, IDCANCEL);
  });
  EXPECT_EQ(ChoiceDialog(choice).DoModal(nullptr), IDCANCEL);
  EXPECT_EQ(choice.name, L"田中");

  // A refused read-back keeps the dialog open: only the Cancel after it ends it.
  answers.Then([](HWND dlg) {
    SetDlgItemTextW(dlg, kName, L"");
    DialogAnswerer::Click(dlg, IDOK);
    DialogAnswerer::Click(dlg, IDCANCEL);
  });
  EXPECT_EQ(ChoiceDialog(choice).DoModal(nullptr), IDCANCEL);
  EXPECT_EQ(choice.name, L"田中");
  EXPECT_EQ(answers.unexpected(), 0);
}

TEST(DialogBase, AnErrorInAHandlerIsReportedAndTheDialogCarriesOn) {
  Application::Get().SetTitle(L"ベルコノート");
  Choice choice{L"山田", false};
  DialogAnswerer answers;
  HWND dialog = nullptr;
  answers.Then([&](HWND dlg) {
    dialog = dlg;
    DialogAnswerer::Click(dlg, kFail);
  });
  answers.Then([&](HWND box) {
    DialogAnswerer::Click(box, IDOK);
    SetDlgItemTextW(dialog, kName, L"続き");
    DialogAnswerer::Click(dialog, IDOK);
  });
  EXPECT_EQ(ChoiceDialog(choice).DoModal(nullptr), IDOK);
  ASSERT_EQ(answers.seen().size(), 2u);
  EXPECT_EQ(answers.seen()[1].text, L"押せません");
  EXPECT_EQ(choice.name, L"続き") << "the dialog went on to its OK";
}

TEST(DialogBase, AnErrorWhileItInitialisesFailsTheDialogForItsCaller) {
  struct Failing : ChoiceDialog {
    using ChoiceDialog::ChoiceDialog;
    bool OnInitDialog() override { throw Error(L"初期化できません"); }
  };
  Choice choice;
  DialogAnswerer answers;
  Failing dialog(choice);
  try {
    dialog.DoModal(nullptr);
    ADD_FAILURE() << "the dialog should have failed";
  } catch (const Error& e) {
    EXPECT_EQ(e.message(), L"初期化できません");
  }
  EXPECT_EQ(dialog.hwnd(), nullptr);
  EXPECT_EQ(FindWindowW(L"#32770", L"テスト"), nullptr) << "no half-made dialog lives on";
  EXPECT_TRUE(answers.seen().empty()) << "reported once, by whoever catches it";
}
