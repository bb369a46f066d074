#pragma once
// The main window: a multiple-document frame with the tool bar, the main
// menu, the status line and the one-second timer. It creates the editor
// windows and holds the state that other windows use (recent files, snippets,
// launcher paths).
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "controls/panel.h"
#include "controls/speed_button.h"
#include "state/snippets.h"
#include "ui/control.h"
#include "ui/main_frame.h"
#include "frame/launch_row.h"
#include "state/recent_file_list.h"
#include "state/untitled_numbers.h"
#include "platform/scoped.h"
#include "frame/caption_clock.h"
#include "frame/clock_logic.h"
#include "ui/form.h"

namespace velkor {

class EditorWindow;
class RecoveryJournal;

class MainWindow : public Form, public SingleInstance<MainWindow>, public MainFrame {
 public:
  // args: the program's command-line arguments (without the program name).
  explicit MainWindow(std::vector<std::wstring> args);
  ~MainWindow() override;

  // The single main window, or null while there is none.
  using SingleInstance<MainWindow>::Get;

  // Creates the window and runs its creation step; the window stays hidden.
  void CreateForm();
  // Start-up step 5: 2, 6 and 7 minimize, 3 maximizes, anything else shows normal.
  void ShowForStartup(int show_command);

  // The screen's width as the window was created.
  int screen_width() const override { return screen_width_; }
  // The show command of the stored placement, as the window was created.
  int start_show_command() const { return start_show_command_; }

  HWND frame_window() const override { return hwnd(); }
  HWND mdi_client() const override { return client_; }
  Panel& StatusLine() { return status_line_; }
  void SetStatusText(const std::wstring& text) override { status_line_.SetText(text); }
  std::vector<EditorWindow*> Editors() const;  // in z-order, the active one first
  EditorWindow* ActiveEditor() const;

  // A new untitled editor; the editor a file chosen in the open dialog went
  // to (null when none).
  EditorWindow* NewChild();
  EditorWindow* OpenChosenDocument();
  void NewEditor() override { NewChild(); }
  void OpenChosenFile() override { OpenChosenDocument(); }
  void OpenRecentFile(int slot) override;
  void NoteSavedFile(const std::wstring& path) override;
  void LoadUsedFiles(int count);
  // The recent-file list that the File menus show.
  const RecentFileList& recent_files() const override { return recent_files_; }
  // The treasure box's snippets, for the editors' pop-up menus and the box itself.
  Snippets& snippets() override { return snippets_; }
  // The quick-launch row's entries as last read from the settings file.
  const LaunchPaths& launch_paths() const override { return launch_row_.paths(); }
  // The numbers of the windows made by New.
  UntitledNumbers& untitled_numbers() override { return untitled_numbers_; }
  // Where the modified editors' text is copied; none once the window went.
  RecoveryJournal* journal() override { return journal_.get(); }
  void ApplyChildSettings(EditorWindow& child, const std::wstring& section);
  void SetChildMargins(EditorWindow& child);
  void Exit() override;
  void ShowFriendsWindow() override;
  void ShowSearchWindow() override;
  void ShowAbout() override;
  void ShowHelp() override;
  void DisplayHint();
  void InstallDisplayHint() override;
  void RefreshLaunchRow();
  // After the friends window registered launcher buttons: the row is read
  // again from the settings file and shown.
  void ReloadLaunchBar() override;
  void UpdateMenuItems() override;

  void TileEditors();
  void CascadeEditors();
  void ArrangeIcons();
  void ActivateNextEditor();
  void MinimizeAll();
  void RestoreAll();
  void MaximizeActive();

  // Creates an editor window for a file, with its stored settings, and loads it.
  EditorWindow* OpenDocument(const std::wstring& path, const std::wstring& section, int tag, bool margins);

  // The help file chosen at activation, and the menu items' help contexts.
  const std::wstring& HelpFile() const;
  static int HelpContextOf(int command_id);
  // The help context of a menu item or title that F1 was pressed on.
  int MenuHelpContext(const HELPINFO& info) const;

  // Menu state, for the editors' mirror items and for tests.
  HMENU main_menu() const { return menu_; }
  bool window_commands_enabled() const { return window_commands_enabled_; }
  SpeedButton& tool_button(int command_id);
  Panel& Bp1Panel() { return launch_row_.panel(); }
  SpeedButton& LaunchButton(int i) { return launch_row_.button(i); }
  SpeedButton& VelSButton() { return vels_button_; }
  int CommandLineOpened() const { return command_line_opened_; }
  uint32_t StartTick() const { return start_tick_; }

  // The one-second tick at a given time (the timer passes the current one).
  void Timer1Timer(const SYSTEMTIME& now);
  // Where the title-bar clock stands, in window coordinates; empty while it does not show.
  RECT CaptionClockRect() const;

  // The close query of the whole program: the editors' questions, then ConfirmExit.
  bool FormCloseQuery();
  // WM_QUERYENDSESSION and WM_ENDSESSION (TRUE).
  bool QueryEndSession();
  void EndSession();
  static std::wstring ReadOwnerName();

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  LRESULT DefaultProc(UINT msg, WPARAM wp, LPARAM lp) override;
  int HelpContextFor(const HELPINFO& info) override;

 private:
  static constexpr wchar_t kTitle[] = L"ベルコノート";
  void CreateControls();
  void SetUpWindow();
  void FormShow();
  void FormActivate();
  void FormPaint();
  void FormResize();
  void FormDestroy();
  // The copies left by a run that did not end cleanly: offered back in one
  // question, thrown away after another.
  void OfferLeftCopies();
  bool ConfirmExit();
  // Each editor's close question; false at the first Cancel or when this
  // window went meanwhile.
  bool EditorsAgreeToClose();
  bool OnCommand(int id);  // false: not the main window's own command
  void OnDropFiles(HDROP drop);
  void LayoutChildren();
  void ShowUsedFiles();
  void Timer1Timer();
  // Sets the frame's title unless the frame already shows what it gave;
  // bare: shown as it is, without a maximized editor's name after it.
  void ShowTitle(const std::wstring& title, bool bare);
  void SetTaskbarLook(const wchar_t* icon, const wchar_t* title, bool bare);
  void PaintCaptionClock();
  void PlaceCaptionClock();
  void MascotStep(wchar_t seconds_digit);
  void InstallStripes();
  void PaintStripes(HDC dc);
  // The MDI client's messages: its background is the stripes.
  LRESULT ClientMessage(OwnedControl<MainWindow>& control, UINT msg, WPARAM wp, LPARAM lp);
  bool TranslateKeys(MSG& msg);

  std::vector<std::wstring> args_;
  RecentFileList recent_files_;
  Snippets snippets_;
  UntitledNumbers untitled_numbers_;
  std::unique_ptr<RecoveryJournal> journal_;
  bool told_copies_not_written_ = false;
  HWND client_ = nullptr;
  OwnedControl<MainWindow> client_control_{*this, &MainWindow::ClientMessage};
  HMENU menu_ = nullptr;
  HMENU window_menu_ = nullptr;
  HACCEL accel_ = nullptr;
  Panel panel1_;
  Panel status_line_;
  LaunchRow launch_row_;
  std::vector<std::unique_ptr<SpeedButton>> tool_buttons_;
  SpeedButton vels_button_;
  ScopedFont status_font_;
  bool tile_vertical_ = false;
  bool window_commands_enabled_ = true;
  bool shown_once_ = false;
  bool closing_ = false;  // the close questions are up
  int command_line_opened_ = 0;
  uint32_t start_tick_ = 0;
  std::unique_ptr<CaptionClock> caption_clock_;
  std::wstring taskbar_icon_ = L"MAINICON";
  std::wstring title_;        // the frame's own title as set last
  bool title_bare_ = false;   // ... and whether it was set bare
  bool bare_title_ = false;   // the title being set bypasses the frame's composition
  StripeColors stripe_colors_;
  int screen_width_ = 0;
  int start_show_command_ = 0;
  bool caption_active_ = true;
  std::wstring clock_text_;
};

}  // namespace velkor
