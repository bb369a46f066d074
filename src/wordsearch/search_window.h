#pragma once
// The word search window: a keyword, up to six registered directories and
// nine file classes on its tool bar; the search over them (search_window_search.cpp)
// lists every matching line in fixed columns, and the source viewer
// (search_window_viewer.cpp) shows a hit's whole file in place of the list.
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "controls/panel.h"
#include "controls/rich_memo.h"
#include "controls/speed_button.h"
#include "controls/std_controls.h"
#include "platform/scoped.h"
#include "state/search_settings.h"
#include "ui/control.h"
#include "ui/find_dialog.h"
#include "ui/form.h"
#include "ui/popup_menu.h"
#include "wordsearch/decoded_scan.h"
#include "wordsearch/engine.h"
#include "wordsearch/result_line.h"
#include "wordsearch/search_paths.h"

namespace velkor {

// The result lines' date column for a file's last-write time, in local time
// and the system's date order.
std::string LocalDateColumn(const FILETIME& last_write);

class ProgressWindow;

class SearchWindow : public Form, public SingleInstance<SearchWindow> {
 public:
  SearchWindow();
  ~SearchWindow() override;

  // The single search window, or null while there is none: Get().
  // Creates the window and runs its creation step; the object then owns
  // itself and is freed with its window.
  void CreateForm();

  // Search state; index 0 of each array is unused, the numbers count from 1.
  const std::array<bool, 7>& dir_checked() const { return settings_.dirs.checked; }
  const std::array<std::wstring, 7>& dir_path() const { return settings_.dirs.path; }
  const velkor::ExtTable& ext_table() const { return ext_table_; }
  bool case_sensitive() const { return case_sensitive_; }
  int hit_count() const { return hit_count_; }
  const std::wstring& view_file() const { return view_file_; }
  int find_count() const { return find_count_; }
  // The viewer: the file loaded in SrcList and the finds in a row.

  // A listed hit: the list line, and the file and line it came from, whole
  // (the line's columns cut a long path, and a name that code page 932
  // cannot spell would not open from its bytes).
  struct ListedHit {
    SearchHit hit;
    std::wstring path;
  };
  const std::vector<ListedHit>& hits() const { return hits_; }

  // Handlers.
  void ToggleCaseSensitivity();
  void DirectoryCheckClicked(int tag);
  void ClassCheckClicked(int tag);
  void ReturnFocusToKeyword();
  void ApplyFontSize();
  void ShowSetupDialog();
  void CloseSearchWindow();
  void StartSearch();
  void ViewSelectedHit();
  void CloseViewer();
  void CopyViewerSelection();
  void CopyViewerText();
  void ViewerToStart();
  void ViewerToEnd();
  void SelectFirstHit();
  void SelectLastHit();
  void OpenViewerFind();
  void FindInViewer();
  void ViewerFindNext();
  void OpenHitFile();
  void EnableResultPopupItems();

  void ShowDirChecks();
  void ShowExtChecks();
  void SetHeaderWidths();
  void ShowHitPos();
  void ShowLinePos();
  void UpdateCopyButton();
  void ScrollToHit(int n);
  void SaveSearchSettings();

  // A running search stops after the file at hand; what it found stays listed.
  void StopSearch() { RequestStop(); }
  bool searching() const { return working(); }
  bool viewer_showing() const;

  // Controls, for the windows that work with this one and for tests.
  SpeedButton& finishButton() { return finish_button_; }
  SpeedButton& SearchBtn() { return search_btn_; }
  SpeedButton& CopyBtn() { return copy_btn_; }
  SpeedButton& FileButton() { return file_button_; }
  SpeedButton& CloseFileButton() { return close_file_button_; }
  SpeedButton& SetUpButton() { return setup_button_; }
  SpeedButton& OSButton() { return os_button_; }
  Panel& SpeedBar() { return speed_bar_; }
  Panel& Label1() { return label1_; }
  HWND ClassCheck() const { return class_check_; }
  HWND Edit1() const { return edit1_; }
  HWND UpDown1() const { return updown1_; }
  HWND KeyWordEditB() const { return keyword_box_; }
  HWND KeyWordEdit() const { return keyword_edit_; }
  HWND PageControl1() const { return page_control_; }
  HWND DirNoCh(int n) const { return dir_checks_[static_cast<size_t>(n)]; }
  HWND CheckBox(int n) const { return ext_checks_[static_cast<size_t>(n)]; }
  HWND HeaderControl1() const { return header_; }
  HWND FileList() const { return file_list_; }
  RichMemo& SrcList() { return src_list_; }
  HWND StatusBar1() const { return status_bar_; }
  std::wstring StatusText(int panel) const;  // panels count from 1
  HMENU PopupMenu1() const { return popup1_.get(); }
  HMENU PopupMenu2() const { return popup2_.get(); }
  HWND FindDialog() const { return find_.hwnd(); }
  FINDREPLACEW& FindDialog1() { return find_.data(); }
  DWORD FindOptions() const { return find_.options(); }
  ProgressWindow* ProgressForm() const { return progress_.get(); }
  int FontSize() const;
  HFONT WindowFont() const { return font_.get(); }
  int HelpContextOf(HWND control) const;
  static int HelpContextOfMenuItem(int command_id);

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  int HelpContextFor(const HELPINFO& info) override;
  // The search window goes with the main window, so that its settings are saved.
  void OnMainWindowClosing() override;

 private:
  // The hints of the case label, as it says what the search does.
  static constexpr wchar_t kCaseInsensitiveHint[] = L"大文字・小文字を同一視|アルファベットで大文字・小文字を同一視";
  static constexpr wchar_t kCaseSensitiveHint[] = L"大文字・小文字を区別|アルファベットで大文字・小文字を区別";
  void CreateControls();
  void CreateSpeedBar();
  void CreatePages();
  void SetUpWindow();
  void FormActivate();
  void FormClose();
  void FormDestroy();
  void FormResize();
  void ShowHint();
  void SpeedBarMouseMove();
  void Layout();
  void OnCommand(int id, int code, HWND control);
  void OnContextMenu(HWND control, int x, int y);
  void OnFindMessage(LPARAM lp) override;
  bool TranslateKeys(MSG& msg);
  void ApplyFont(int size);
  // The table of searched extensions from the checked classes.
  void RebuildExtTable();
  void SetStatusText(int panel, const std::wstring& text);
  void SetCaption(const std::wstring& caption);
  int SelectedIndex() const;
  void ClearList();
  void UpdateListExtent();
  void SetMenuItemEnabled(HMENU menu, int id, bool enabled);
  bool KeywordKeyPress(WPARAM ch);
  bool ResultListKeyPress(WPARAM ch);
  void FileListKeyOrMouse(UINT msg);
  bool ViewerKey(UINT msg, WPARAM wp, LPARAM lp);
  void SrcListKeyUpOrMouse(UINT msg, WPARAM wp, LPARAM lp);

  // The search (search_window_search.cpp).
  void SearchDirTree(const std::wstring& pattern);
  // The end of every search: the progress hidden, the list drawn again.
  void EndSearch();
  void SearchFile(const std::wstring& path, const std::string& path_bytes, unsigned long long size);
  bool AddHit(const std::wstring& path, const std::string& path_bytes, long long line_number,
              std::string_view text, std::u32string_view stand_ins);
  void SetFileDateTime(const FILETIME& last_write);
  void ShowUnexpectedError();
  void ShowListFull();
  void PumpAfterFile();

  // The viewer (search_window_viewer.cpp).
  bool LoadSource(const std::wstring& path);
  void ShowViewer();
  void HideViewer();
  void SelectHit(long long line_number);
  void ShowFindDialog();

  // The keys of the keyword box's edit, and the keys and mouse of the result list.
  LRESULT KeywordKeysMessage(OwnedControl<SearchWindow>& control, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT FileListInputMessage(OwnedControl<SearchWindow>& control, UINT msg, WPARAM wp, LPARAM lp);

  SpeedButton finish_button_, search_btn_, copy_btn_, file_button_, close_file_button_, setup_button_, os_button_;
  Panel speed_bar_;
  Panel label1_;
  std::array<Panel, 3> pages_;  // 1: directories, 2: extensions
  HWND class_check_ = nullptr;
  HWND edit1_ = nullptr;
  HWND updown1_ = nullptr;
  ComboBox keyword_box_;
  HWND keyword_edit_ = nullptr;
  HWND page_control_ = nullptr;
  std::array<HWND, 7> dir_checks_{};
  std::array<HWND, kExtClasses + 1> ext_checks_{};
  Header header_;
  ListBox file_list_;
  OwnedControl<SearchWindow> keyword_keys_{*this, &SearchWindow::KeywordKeysMessage};
  OwnedControl<SearchWindow> file_list_input_{*this, &SearchWindow::FileListInputMessage};
  RichMemo src_list_;
  StatusBar status_bar_;
  PopupMenu popup1_;
  PopupMenu popup2_;
  HACCEL accel_ = nullptr;
  ScopedFont font_;      // the window's font, at the size of UpDown1
  ScopedFont bar_font_;  // the tool bar's, at its designed size
  int header_shift_ = 0;  // the list's horizontal scroll position that the header follows
  HWND last_focus_ = nullptr;
  std::unique_ptr<ProgressWindow> progress_;

  std::vector<ListedHit> hits_;
  ResultLineBuilder line_builder_;
  int list_extent_ = 0;   // bytes of the longest listed line
  int space_width_ = 8;   // pixels of a blank in the window's font

  FindReplaceDialog find_{FindReplaceDialog::Kind::Find, 256};

  struct DateFormat {
    DateOrder order = DateOrder::YearMonthDay;
    char date_separator = '/';
    char time_separator = ':';
    bool leading_zero_hour = false;
  } date_format_;
  // The directories and classes as the tool bar shows them; the font size
  // is the up-down's, taken when the settings are saved.
  SearchSettings settings_;
  velkor::ExtTable ext_table_;
  bool case_sensitive_ = false;
  std::string keyword_bytes_;
  std::string match_key_;
  int key_length_ = 0;
  int hit_count_ = 0;
  std::wstring walk_dir_;
  std::string file_date_time_;
  std::wstring view_file_;
  int find_count_ = 0;
  std::unique_ptr<FileScanner> scanner_;
  std::unique_ptr<SearchKeyword> keyword_;  // of the search running
  SearchBuffers search_buffers_;             // of the search running
  std::wstring typed_keyword_;  // of the last search, as typed: the viewer looks for it
  DWORD last_refresh_ = 0;
  DWORD last_pump_ = 0;
  bool refresh_due_ = false;  // the file at hand brings the windows up to date
  FILETIME file_time_{};  // last write of the file being scanned
  int shown_hit_count_ = 0;
};

}  // namespace velkor
