#pragma once
// The editor window: one plain-text document in a multiple-document child
// window of the main window, with its button bar, its menus (merged into the
// main window's menu bar while it is active) and its pop-up menu.
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "controls/panel.h"
#include "controls/rich_memo.h"
#include "controls/speed_button.h"
#include "editor/disk_watch.h"
#include "editor/document.h"
#include "editor/recovery_copy.h"
#include "editor/search.h"
#include "ui/find_dialog.h"
#include "platform/scoped.h"
#include "ui/form.h"
#include "ui/popup_menu.h"

namespace velkor {

class MainFrame;

class EditorWindow : public Form {
 public:
  // The main window is the only creator; the object frees itself when its window goes.
  EditorWindow(MainFrame& main, int tag);
  ~EditorWindow() override;
  static EditorWindow* FromHandle(HWND hwnd);

  void Create(const std::wstring& caption);
  // A new editor window with its caption; the object frees itself when the window goes.
  static EditorWindow* Make(MainFrame& main, int tag, const std::wstring& caption);
  const int Tag;
  const std::wstring& file_path() const { return file_path_; }
  void SetFilePath(std::wstring path) { file_path_ = std::move(path); }
  int found_count() const { return found_count_; }
  void ResetFoundCount() { found_count_ = 0; }
  // The text area.
  RichMemo& memo() { return memo_; }
  const RichMemo& memo() const { return memo_; }

  // The document of a file, read and decoded before any window is made for
  // it; raises Error, saying why, for a file that cannot be read or that
  // the text control cannot hold whole.
  // The file's size and write time are taken before its bytes, so that a
  // change while it is read counts as a change.
  struct ReadFile {
    DecodedDocument doc;
    FileStamp stamp;
  };
  static ReadFile ReadDocument(const std::wstring& path);
  // The file's size and write time now; exists is false when there is none.
  static FileStamp StampOf(const std::wstring& path);
  // Shows a document read from path. Raises Error when the control cannot
  // take it whole; the window then stays without a file (the caller closes it).
  void OpenF(const std::wstring& path, const ReadFile& file);
  // Shows the text of a copy left by a crash: modified, bound to the copy's
  // file (or none), with its encoding and caret. Raises Error when the
  // control cannot take it whole.
  void Restore(const RecoveryCopy& copy);
  // Looks whether the file changed on disk since the window read it, and
  // says so once per change.
  void CheckDisk();
  // Closes the window without a question: for one whose document never opened.
  void Discard();
  // Saves; false when nothing was saved (cancelled or failed).
  bool Save();
  bool SaveAs();
  void CloseFromEditorMenu();
  // The close question; true when the window may close.
  bool CloseQuery();
  void SaveDocSettings(const std::wstring& section, const std::wstring& file_value);

  void ShowCaretStatus();
  void UpdateEditCommands();
  void SetTextMargins();
  void FillRecentFileItems();
  void SetImeColors();

  // Word wrap with its scroll bars and check mark.
  void ApplyWordWrap(bool wrap);
  void SetCaption(const std::wstring& caption);
  std::wstring Caption() const;
  DocEncoding encoding() const { return encoding_; }

  HMENU menu_bar() const { return menu_.get(); }
  HMENU popup_menu() const { return popup_.get(); }
  Panel& Panele() { return panele_; }
  SpeedButton* Button(int command_id);
  bool MenuItemEnabled(int command_id) const;

  // Find, replace and navigation.
  void OpenFind();
  void FindFromDialog();
  void Find(FindReplaceDialog& dialog);
  void FindNext();
  void OpenReplace();
  void Replace();
  void ReplaceAllInControl(const std::wstring& search, const std::wstring& with, SearchOptions options);
  void ScrollIfBelow(int n);
  int VisibleLineCount() const;
  HWND find_dialog() const { return find_.hwnd(); }
  HWND replace_dialog() const { return replace_.hwnd(); }
  FINDREPLACEW& find_options() { return find_.data(); }
  FINDREPLACEW& replace_options() { return replace_.data(); }
  // The direction, match-case and whole-word options of each dialog (FR_xxx
  // bits) as the user last left them.
  DWORD& find_flags() { return find_.options(); }
  DWORD& replace_flags() { return replace_.options(); }

  // Text tools.
  void ExpandTabs(int columns);
  void EnableTabCommands();
  void MarkLines();
  void InsertDate();
  void ShowCharacterCounts();
  void ZoomToolPanel(int percent);
  void AlignText(int command_id);
  void SetWordWrap();
  void SetFont();
  void InsertSnippet(int n);

  // The byte length of the text with CR LF line breaks, in code page 932.
  int TextByteLength() const;
  static int HelpContextOf(int command_id);

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  LRESULT DefaultProc(UINT msg, WPARAM wp, LPARAM lp) override;
  int HelpContextFor(const HELPINFO& info) override;
  HWND HelpOwner() const override;

 private:
  // The timer that writes the recovery copy when it is due.
  static constexpr UINT_PTR kCopyTimer = 7;
  struct MenuDeleter {
    void operator()(HMENU m) const { DestroyMenu(m); }
  };

  void CreateControls();
  void Layout();
  void OnCommand(int id);
  void OnActivate(bool active);
  bool OnMemoInput(UINT msg, WPARAM wp, LPARAM lp);
  void ShowPopup(int x, int y);
  void SetPopUpItems();
  void SetItemEnabled(int id, bool enabled);
  bool WriteDocument();
  // The copy of unsaved text: due a short while after the text changes;
  // taken, or removed when the text is no longer modified.
  void NoteChange();
  void TakeCopy();
  void DropCopy();
  RecoveryCopy CopyOfText() const;
  // Reads the file again into the window; the text it held stays when that fails.
  void Reload();
  void CutToClipboard();
  void CopyToClipboard();
  void PasteFromClipboard();
  void SelectAll();
  void DeleteSelection();
  void UndoEdit();
  void GoToStart();
  void GoToEnd();
  void ToggleToolPanel();
  void ShowFindDialog(bool replace);
  void OnFindMessage(LPARAM lp) override;

  std::wstring file_path_;
  int found_count_ = 0;
  RichMemo memo_;
  MainFrame& main_;
  std::unique_ptr<std::remove_pointer_t<HMENU>, MenuDeleter> menu_;
  PopupMenu popup_;
  Panel panele_;
  std::vector<std::unique_ptr<SpeedButton>> buttons_;
  ScopedFont window_font_;
  DocEncoding encoding_ = DocEncoding::ShiftJis;
  LineBreaks breaks_ = LineBreaks::CrLf;
  bool cut_at_nul_ = false;
  // Where the file's bytes stop coming back unchanged ("3 行目の 5 文字目"),
  // empty when they all do.
  std::wstring changed_at_;
  std::optional<TextPlace> changed_place_;
  DiskWatch disk_;
  int copy_key_ = 0;
  CopySchedule copy_schedule_;
  bool has_copy_ = false;
  bool close_from_menu_ = false;
  bool destroying_ = false;  // no longer one of the main window's editors
  FindReplaceDialog find_{FindReplaceDialog::Kind::Find, 512};
  FindReplaceDialog replace_{FindReplaceDialog::Kind::Replace, 512};
  int panel_height_ = 33;
};

}  // namespace velkor
