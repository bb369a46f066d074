#pragma once
// The search-directory setup: the user walks a drive's directory tree, sees
// the chosen directory's subdirectories and files, and registers directories
// under the numbers 1 to 6, choosing which of them are searched.
#include <array>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "controls/dir_tree.h"
#include "controls/split_panel.h"
#include "controls/std_controls.h"
#include "ui/control.h"
#include "ui/dialog.h"
#include "platform/dir_walk.h"
#include "platform/scoped.h"
#include "state/search_settings.h"

namespace velkor {

class ProgressWindow;

class SetupDialog : public Dialog {
 public:
  SetupDialog();
  ~SetupDialog() override;

  // The window the dialog opens centred over.
  void CentreOver(HWND window) { centre_over_ = window; }
  // The six registrations the dialog starts with.
  void SetRegistration(const DirRegistration& data);
  // The registrations as the dialog shows them, each path ending in a backslash.
  DirRegistration Registration() const;

  // Only for tests: the controls and the state they show.
  DirTree& tree() { return tree_; }
  ListView list() const { return ListView(Item(IDC_LIST)); }
  std::wstring StatusText(int panel) const;
  const std::wstring& chosen_dir() const { return chosen_; }
  // Lists the directory when it is not the one shown, as a click in the tree does.
  void ListAsClicked(const std::wstring& path);
  bool listing() const { return working(); }

 protected:
  int HelpTopic() const override { return 1070; }
  bool OnInitDialog() override;
  void OnCommand(int id, int code, HWND control) override;
  void OnOK() override;
  void OnCancel() override;
  INT_PTR HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  static constexpr int IDC_LIST = 703;
  void Layout();
  void FillDrives();
  // The tree shows the drive chosen in the drive box; nothing is listed.
  void ShowChosenDrive();
  // The tree's selection moved to `path`: it becomes the chosen directory,
  // listed when listing is enabled.
  void ChooseDirectory(const std::wstring& path);
  // A click in the tree, before the tree moves its selection.
  void TreeClicked();
  // Label1 and the list for a chosen directory (one step of ChooseDirectory).
  void ShowDirectory(const std::wstring& path);
  void ListDir(std::wstring path);
  LRESULT ListMessage(OwnedControl<SetupDialog>& list, UINT msg, WPARAM wp, LPARAM lp);
  bool AddLine(const std::wstring& folder, const DirEntry& entry, bool directory);
  int IconFor(const std::wstring& full_path, const std::wstring& name, bool directory);
  void ShowSelectedLine();
  // A file opens with its program; a subdirectory is chosen in the tree and listed.
  void OpenSelectedLine();
  // Number n's button: the chosen directory becomes number n's path.
  void RegisterChosenDir(int n);
  // Number n's check box: checking a number without a path is refused.
  void RefuseCheckWithoutDir(int n);
  void SetStatus(int panel, const std::wstring& text);
  // Stops a listing and the one that waits for it.
  void StopListing();

  DirRegistration data_;
  HWND centre_over_ = nullptr;
  DirTree tree_;
  SplitPanel split_;
  HWND status_ = nullptr;
  std::optional<ImageList> images_;  // shared with the list view, which leaves it to us
  std::map<std::wstring, ScopedIcon> ext_icons_;
  std::map<std::wstring, int> ext_images_;  // in images_, for the listing shown
  std::unique_ptr<ProgressWindow> progress_;
  std::wstring chosen_;
  std::wstring listed_;  // the directory whose lines the list shows
  bool listing_enabled_ = false;
  bool list_pending_ = false;  // a directory chosen while a listing ran waits for it to stop
  WPARAM open_key_ = 0;        // Enter or Space went down on the list: its release opens the line
  OwnedControl<SetupDialog> list_keys_{*this, &SetupDialog::ListMessage};
  bool setting_checks_ = false;
  int line_count_ = 0;
  DWORD shown_at_ = 0;  // when the listing last showed where it is
  int tree_width_ = 171;
};

}  // namespace velkor
