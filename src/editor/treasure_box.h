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
    kPages = IDC_TREASURE_PAGES,
    kPage = IDC_TREASURE_SHEET,
    kFirstField = IDC_TREASURE_EDIT,  // kFirstField + field - 1 for fields 1..14
    kRegisterButton = IDC_TREASURE_OK,
    kCancelButton = IDC_TREASURE_CANCEL,
    kEndButton = IDC_TREASURE_END,
    kLabelFirst = IDC_TREASURE_LABEL,
  };
  static constexpr int kHelpTopic = 1025;

  // 登録: registers every complete row; closes when no field was modified.
  void RegisterRows();
  // 終了: closes at once when no field is modified; otherwise asks whether to
  // register the modified fields: Yes registers them and stays open, No
  // closes without writing.
  void EndAskingAboutChanges();
  // キャンセル: closes without writing.
  void CloseWithoutWriting();
  // Writes snippet n into the settings file and the main window's snippets.
  static void WriteSnippet(int n, const std::wstring& label, const std::wstring& text);

  // The topic that F1 opens, set when the form is activated (0 before).
  int HelpTopic() const override { return help_topic_; }

  // The controls, for the editor's wiring and for tests.
  HWND Edit(int field) const { return fields_[static_cast<size_t>(field)].hwnd(); }
  HWND RegisterButton() const { return Item(kRegisterButton); }
  HWND CancelButton() const { return Item(kCancelButton); }
  HWND EndButton() const { return Item(kEndButton); }
  HWND Pages() const { return Item(kPages); }
  HWND Page() const { return page_.hwnd(); }
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
  // Nothing is written: the form goes as when it is closed.
  void OnMainWindowClosing() override;
  void OnFinalMessage() override;

 private:
  friend class SingleInstance<TreasureBox>;
  // Only SingleInstance makes the form, on the heap: it frees itself when its window goes.
  TreasureBox();
  // Creates the window, hidden, with the fields filled from the main window.
  void CreateForm();

  // The tab page: it hands its children's colour and command messages to the form.
  class PageDialog : public Dialog {
   public:
    explicit PageDialog(TreasureBox& form) : Dialog(L"TREASURESHEET"), form_(form) {}

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
  // The topic for F1, and the focus back where it was.
  void OnActivated();
  LRESULT OnCtlColor(UINT msg, HDC dc, HWND control);
  // A character typed into a field clears its red mark; Enter moves on.
  // True when the key is used up.
  bool FieldChar(int field, wchar_t key);
  // The arrows move between the fields, Left and Right only from the edges.
  bool FieldKeyDown(int field, UINT key);
  void MoveFocusTo(int field);
  void SetRed(int field, bool red);
  void SetModified(int field, bool modified);
  std::wstring FieldText(int field) const;
  int FieldOf(HWND control) const;

  PageDialog page_{*this};
  std::array<Field, kSnippetFields + 1> fields_;
  std::array<bool, kSnippetFields + 1> red_{};
  HWND last_focus_ = nullptr;
  ScopedFont font_;
  ScopedBrush red_brush_;
  int help_topic_ = 0;
};

// The editor's command: creates the form when there is none, shows it
// modeless and brings it to the front.
void ShowTreasureBox();

}  // namespace velkor
