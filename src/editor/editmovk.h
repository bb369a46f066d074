#pragma once
// The treasure box's registration form: the seven snippet pairs of the main
// window in fourteen fields, registered into the main window and the
// settings file. A single modeless window owned by the main window; it frees
// itself when it closes.
#include <array>
#include <string>

#include "editor/treasure_logic.h"
#include "platform/scoped.h"
#include "platform/window.h"

namespace velkor {

class TSetForm1 : public Window {
 public:
  // Control identifiers. None is IDOK or IDCANCEL: the dialog manager sends
  // those for Enter and Escape, and neither key may register or discard here.
  enum : int {
    kPageControl1 = 100,
    kTabSheet1 = 101,
    kEdit1 = 110,  // kEdit1 + field - 1 for fields 1..14
    kOKButton = 130,
    kCancelButton = 131,
    kButton1 = 132,
    kLabelFirst = 140,
  };
  static constexpr int kFormHelpContext = 1025;

  ~TSetForm1() override;

  void OKButtonClick();
  void Button1Click();
  void CancelButtonClick();
  // Writes snippet n into the settings file and the main window's snippets.
  static void WriteSnippet(int n, const std::wstring& label, const std::wstring& text);

  // The help context that the form's activation set (0 before the first).
  static int HelpContext();

  // The controls, for the editor's wiring and for tests.
  HWND Edit(int field) const { return edits_[static_cast<size_t>(field)]; }
  HWND OKButton() const { return ok_button_; }
  HWND CancelButton() const { return cancel_button_; }
  HWND Button1() const { return button1_; }
  HWND PageControl1() const { return page_control_; }
  HWND TabSheet1() const { return sheet_.hwnd(); }
  bool Modified(int field) const;
  bool IsRed(int field) const { return red_[static_cast<size_t>(field)]; }

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void OnFinalMessage() override;

 private:
  friend void ShowTreasureBox();
  // Only ShowTreasureBox makes the form, on the heap: it frees itself when its window goes.
  TSetForm1();
  // Creates the window, hidden, with the fields filled from the main window.
  void Create();

  // The tab page: a plain container that hands its children's colour and
  // command messages to the form.
  class Sheet : public Window {
   public:
    void Create(HWND parent, HWND form, const RECT& rc);

   protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

   private:
    HWND form_ = nullptr;
  };

  void CreateControls();
  HWND AddLabel(HWND parent, int id, const wchar_t* text, const treasure_layout::Box& box, DWORD align = SS_LEFT);
  HWND AddButton(int id, const wchar_t* text, const treasure_layout::Box& box);
  void FormCreate();
  void FormActivate();
  void FormClose();
  void OnCommand(int id);
  LRESULT OnCtlColor(UINT msg, HDC dc, HWND control);
  // Edit1KeyPress and Edit1KeyDown of every field; true when the key is used up.
  bool Edit1KeyPress(int field, wchar_t key);
  bool Edit1KeyDown(int field, UINT key);
  void MoveFocusTo(int field);
  void SetRed(int field, bool red);
  void SetModified(int field, bool modified);
  std::wstring FieldText(int field) const;
  int FieldOf(HWND control) const;
  static LRESULT CALLBACK EditProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

  Sheet sheet_;
  HWND page_control_ = nullptr;
  HWND ok_button_ = nullptr;
  HWND cancel_button_ = nullptr;
  HWND button1_ = nullptr;
  std::array<HWND, kSnippetFields + 1> edits_{};
  std::array<bool, kSnippetFields + 1> red_{};
  HWND last_focus_ = nullptr;
  ScopedFont font_;
  ScopedBrush red_brush_;
};

// The single instance, or null while the form is not open.
extern TSetForm1* SetForm1;

// The editor's command: creates the form when there is none, shows it
// modeless and brings it to the front.
void ShowTreasureBox();

}  // namespace velkor
