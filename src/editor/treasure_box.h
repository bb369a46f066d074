#pragma once
// The treasure box's registration form: the seven snippet pairs of the main
// window in fourteen fields, registered into the main window and the
// settings file. A single modeless dialog (resources/treasure.rc) owned by
// the main window; it frees itself when it closes.
#include <array>
#include <string>

#include "editor/treasure_ids.h"
#include "editor/treasure_logic.h"
#include "ui/control.h"
#include "ui/dialog.h"
#include "ui/form.h"
#include "platform/scoped.h"

namespace velkor {

class TreasureBox : public Dialog, public SingleInstance<TreasureBox> {
 public:
  enum : int {
    kPageControl1 = IDC_TREASURE_PAGES,
    kTabSheet1 = IDC_TREASURE_SHEET,
    kEdit1 = IDC_TREASURE_EDIT,  // kEdit1 + field - 1 for fields 1..14
    kOKButton = IDC_TREASURE_OK,
    kCancelButton = IDC_TREASURE_CANCEL,
    kButton1 = IDC_TREASURE_END,
    kLabelFirst = IDC_TREASURE_LABEL,
  };
  static constexpr int kFormHelpContext = 1025;

  ~TreasureBox() override;

  void OKButtonClick();
  void Button1Click();
  void CancelButtonClick();
  // Writes snippet n into the settings file and the main window's snippets.
  static void WriteSnippet(int n, const std::wstring& label, const std::wstring& text);

  // The help context that the form's activation set (0 before the first).
  static int HelpContext();
  int HelpTopic() const override { return help_context_; }

  // The controls, for the editor's wiring and for tests.
  HWND Edit(int field) const { return fields_[static_cast<size_t>(field)].hwnd(); }
  HWND OKButton() const { return Item(kOKButton); }
  HWND CancelButton() const { return Item(kCancelButton); }
  HWND Button1() const { return Item(kButton1); }
  HWND PageControl1() const { return Item(kPageControl1); }
  HWND TabSheet1() const { return sheet_.hwnd(); }
  bool Modified(int field) const;
  bool IsRed(int field) const { return red_[static_cast<size_t>(field)]; }

 protected:
  bool OnInitDialog() override;
  // The fields from the main window's pairs.
  void LoadControls() override;
  // Registers every complete row; an incomplete one is marked and keeps its
  // changes. False when a row was incomplete.
  bool SaveControls() override;
  void OnCommand(int id, int code, HWND control) override;
  INT_PTR HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void OnFinalMessage() override;

 private:
  static inline int help_context_ = 0;
  friend void ShowTreasureBox();
  // Only ShowTreasureBox makes the form, on the heap: it frees itself when its window goes.
  TreasureBox();
  // Creates the window, hidden, with the fields filled from the main window.
  void Create();

  // The tab page: it hands its children's colour and command messages to the form.
  class Sheet : public Dialog {
   public:
    explicit Sheet(TreasureBox& form) : Dialog(L"TREASURESHEET"), form_(form) {}

   protected:
    void OnCommand(int id, int code, HWND control) override;
    INT_PTR HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

   private:
    TreasureBox& form_;
  };
  // A field: its keys move between the fields and clear its red mark.
  class Field : public Control {
   public:
    void Attach(TreasureBox& form, int field, HWND edit);

   protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

   private:
    TreasureBox* form_ = nullptr;
    int field_ = 0;
  };

  void PlaceControls();
  void Place(HWND control, const treasure_layout::Box& box);
  void FormActivate();
  void FormClose();
  LRESULT OnCtlColor(UINT msg, HDC dc, HWND control);
  // Edit1KeyPress and Edit1KeyDown of every field; true when the key is used up.
  bool Edit1KeyPress(int field, wchar_t key);
  bool Edit1KeyDown(int field, UINT key);
  void MoveFocusTo(int field);
  void SetRed(int field, bool red);
  void SetModified(int field, bool modified);
  std::wstring FieldText(int field) const;
  int FieldOf(HWND control) const;

  Sheet sheet_{*this};
  std::array<Field, kSnippetFields + 1> fields_;
  std::array<bool, kSnippetFields + 1> red_{};
  HWND last_focus_ = nullptr;
  ScopedFont font_;
  ScopedBrush red_brush_;
};


// The editor's command: creates the form when there is none, shows it
// modeless and brings it to the front.
void ShowTreasureBox();

}  // namespace velkor
