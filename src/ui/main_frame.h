#pragma once
// What the editor windows, the treasure box and the friends window ask of the
// main window: its MDI client, the status line, the state it holds for every
// window (recent files, snippets, launch paths, untitled numbers) and its own
// commands. The main window implements it; the windows above reach it through
// MainFrame::Get() and never include it.
#include <string>

#include "platform/win32.h"

namespace velkor {

class LaunchPaths;
class RecentFileList;
class RecoveryJournal;
class Snippets;
class UntitledNumbers;

class MainFrame {
 public:
  // The main window while it exists, else null (defined by the main window).
  static MainFrame* Get();

  virtual HWND frame_window() const = 0;
  virtual HWND mdi_client() const = 0;
  virtual int screen_width() const = 0;
  virtual void SetStatusText(const std::wstring& text) = 0;

  virtual const RecentFileList& recent_files() const = 0;
  // A document was saved under path: it heads the recent-file list.
  virtual void NoteSavedFile(const std::wstring& path) = 0;
  virtual Snippets& snippets() = 0;
  virtual const LaunchPaths& launch_paths() const = 0;
  virtual UntitledNumbers& untitled_numbers() = 0;
  // Where the modified editors' text is copied; null once the main window went.
  virtual RecoveryJournal* journal() = 0;
  // The friends window registered launcher buttons: the row is read again.
  virtual void ReloadLaunchBar() = 0;
  // The menus follow the active editor and the recent files.
  virtual void UpdateMenuItems() = 0;
  // Hints of the tool bars go to the status line again.
  virtual void InstallDisplayHint() = 0;

  // The main window's commands, reached from the other windows' menus.
  virtual void NewEditor() = 0;
  virtual void OpenChosenFile() = 0;
  virtual void OpenRecentFile(int slot) = 0;
  virtual void ShowFriendsWindow() = 0;
  virtual void ShowSearchWindow() = 0;
  virtual void ShowAbout() = 0;
  virtual void ShowHelp() = 0;
  virtual void Exit() = 0;

 protected:
  ~MainFrame() = default;
};

}  // namespace velkor
