#pragma once
// The friends window: a row of launcher buttons, the drive tabs, the
// directory tree and the list of the chosen directory's files that match the
// mask, with the selected file's facts and thumbnail below. It exists at
// most once and frees itself when closed. What the list's commands, mouse
// and keys do is in friends_window_list.cpp.
#include <array>
#include <functional>
#include <string>
#include <unordered_map>

#include "controls/dir_tree.h"
#include "controls/panel.h"
#include "controls/picture.h"
#include "controls/speed_button.h"
#include "controls/std_controls.h"
#include "ui/form.h"
#include "ui/popup_menu.h"
#include "launcher/drive_tabs.h"
#include "launcher/file_list_box.h"
#include "ui/control.h"
#include "platform/scoped.h"
#include "ui/window_life.h"

namespace velkor {

// A panel whose right edge (4 pixels) drags its width.
class GripPanel : public Panel {
 public:
  static constexpr int kGrip = 4;
  // The new width, while the edge is dragged.
  std::function<void(int width)> on_resize;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  bool InGrip(int x) const;
};

class FriendsWindow : public Form, public SingleInstance<FriendsWindow> {
 public:
  FriendsWindow();
  ~FriendsWindow() override;

  // Creates the window, hidden, and runs its creation step; the object then
  // owns itself and is freed with its window.
  void CreateForm();

  // The main window's clock swaps the mascot: '5' and '0' of the seconds.
  void MascotStep(wchar_t d);

  // Window state.
  const std::wstring& file_mask() const { return file_mask_; }
  int file_count() const { return file_count_; }
  long long total_bytes() const { return total_bytes_; }
  long long selected_size() const { return selected_size_; }
  const std::wstring& selected_path() const { return selected_path_; }
  int previous_tab() const { return previous_tab_; }
  int row_count() const { return row_count_; }
  bool copy_mode() const { return copy_mode_; }
  const std::array<std::wstring, 8>& button_files() const { return button_files_; }
  bool buttons_changed() const { return buttons_changed_; }

  // What the window does.
  void ListChosenDirectory(const std::wstring& dir);
  void RememberTab(int new_index);
  void ChangeDrive();
  void CheckMaskKey(wchar_t key, bool& handled);
  void ApplyMaskItem(int tag);
  void ChooseRows(int tag);
  void SetColumns(int tag);
  void ShowGrid(int tag);
  void TogglePanes();
  void ToggleIconMode();
  void CloseFromMenu();
  void ShowSelectedItem();
  void PreviewSelectedPicture();
  void EnablePopupItems();
  // The launcher buttons (friends_window_buttons.cpp); n is the button's
  // number from 0, the eighth holding the file started last.
  void StartSelected();
  void StartButton(int n);
  void RegisterToButton(int n);
  void LoadButtonImage(int n);
  void LoadButtonImages();
  void DisableButtonImages() { EnableButtonImages(false); }
  // The bulk search of the tree's directory and everything below it.
  void StartBulkSearch();
  // File operations on the selected item.
  void RecycleSelected();
  void DeleteSelected();
  // True from the moment a file of the list has been carried the drag distance
  // until it is dropped or the drag is given up.
  bool Dragging() const { return dragging_; }
  // A file of the list dragged over or dropped on the tree, at a point of the
  // tree's client area.
  bool TreeTakesDrop(POINT tree_client_point) const;
  void DropOnTree(POINT tree_client_point);

  static bool DriveReady(wchar_t letter);

  // Controls, for tests and for the windows that work with this one.
  Panel& ButtonRow() { return button_row_; }
  SpeedButton& LaunchButton(int n) { return launch_buttons_[static_cast<size_t>(n)]; }
  SpeedButton& MascotButton() { return mascot_; }
  PictureBox& ButtonImage(int n) { return button_images_[static_cast<size_t>(n)]; }
  Panel& InfoPanel() { return info_panel_; }
  HWND MaskBox() const { return mask_box_; }
  SpeedButton& BulkSearchButton() { return bulk_search_button_; }
  GripPanel& TreeGripPanel() { return tree_panel_; }
  DirTree& Tree() { return tree_; }
  Panel& ListPanel() { return list_panel_; }
  FileListBox& FileList() { return list_; }
  DriveTabSet& DriveTabs() { return tabs_; }
  Panel& StatusBar() { return status_bar_; }
  GripPanel& CounterPanel() { return counter_panel_; }
  Panel& FilePanel() { return file_panel_; }
  PictureBox& Thumbnail() { return thumbnail_; }
  HMENU ListMenu() const { return popup_.get(); }
  HMENU MainMenu() const { return menu_; }
  // Lays the window out again, as after a change of its size.
  void FormResize();

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  int HelpContextFor(const HELPINFO& info) override;
  void OnMainWindowClosing() override;

 private:
  void CreateControls();
  void CreateButtonRow();
  void FormCreate();
  void FormShow();
  void FormActivate(bool minimized);
  bool FormCloseQuery();
  void FormDestroy();
  void Layout();
  void AddDriveTabs();
  bool OnCommand(int id, int code);
  // Lists a directory, and then the one asked for last while it ran; false
  // when the window went meanwhile (the caller returns at once).
  bool ListDirectory(const std::wstring& dir);
  // A mask that holds a folder is refused with its message and the box goes
  // back to "*.*"; true when it did (the window may have gone meanwhile).
  bool RefusePathMask();
  void ListOnce(const std::wstring& dir);
  // The listings asked for while other work let messages through; false
  // when the window went.
  bool ListPending(const WindowLife& life);
  enum class WalkEnd { kDone, kStopped, kListFull };
  WalkEnd RunBulkSearch(const std::wstring& mask_box);
  bool KeyMessage(MSG& msg, HACCEL accel);
  // A question of the file operations, in a box of this window.
  bool AskYes(const std::wstring& text);
  void RemoveListedItem(int index_hint, const std::wstring& path);
  void UpdateTotalsAfterRemoval(const std::wstring& removed);
  void ShowCounter(const std::wstring& text);
  void SetFilePanel(const std::wstring& text, COLORREF color);
  void EnableButtonImages(bool enabled);
  LRESULT MaskKeysMessage(OwnedControl<FriendsWindow>& control, UINT msg, WPARAM wp, LPARAM lp);
  // The list's mouse and keys.
  LRESULT ListInput(UINT msg, WPARAM wp, LPARAM lp);
  void ArmDrag(WPARAM wp, LPARAM lp);
  void OpenItemMenu(LPARAM lp);
  void NoteHoveredItem(LPARAM lp);
  // pressed_here: the key went down in the list too.
  void StartOrShowAfterKey(WPARAM key, bool pressed_here);
  // The drag of a file out of the list: what lies under a screen point, and
  // the end of the drag, dropped or not.
  struct DropTarget {
    enum Kind { None, Button, Tree } kind = None;
    int tag = 0;            // Button
    POINT tree_point{};     // Tree, in its client area
    bool accepted() const { return kind == Tree || (kind == Button && tag < 7); }
  };
  DropTarget DropTargetAt(POINT screen) const;
  bool MoveDrag(POINT list_point);
  void EndDrag(const POINT* drop_at);
  void ResetDrag();
  void ShowButtonFile(int n, const std::wstring& path, bool must_load_picture);

  Panel button_row_;
  std::array<SpeedButton, 8> launch_buttons_;
  std::array<PictureBox, 8> button_images_;
  SpeedButton mascot_;
  std::array<HWND, 4> labels_{};
  Panel info_panel_;
  HWND mask_box_ = nullptr;
  SpeedButton bulk_search_button_;
  GripPanel tree_panel_;
  DirTree tree_;
  Panel list_panel_;
  FileListBox list_;
  DriveTabSet tabs_;
  Panel status_bar_;
  GripPanel counter_panel_;
  Panel file_panel_;
  PictureBox thumbnail_;
  OwnedControl<FriendsWindow> mask_keys_{*this, &FriendsWindow::MaskKeysMessage};
  HMENU menu_ = nullptr;
  std::wstring file_mask_ = L"*.*";
  int file_count_ = 0;
  long long total_bytes_ = 0;
  std::wstring line_text_;
  long long selected_size_ = 0;
  std::wstring selected_path_;
  std::wstring hover_path_;
  int previous_tab_ = 0;
  int row_count_ = 3;
  bool copy_mode_ = false;
  std::array<std::wstring, 8> button_files_;
  bool buttons_changed_ = false;
  std::wstring search_dir_;
  std::wstring search_mask_;
  PopupMenu popup_;
  ScopedFont font_;        // the window's, 13 pixels
  ScopedFont panel_font_;  // the info and counter panels
  ScopedFont edit_font_;   // the mask box
  ScopedFont tree_font_;
  ScopedFont tab_font_;
  ScopedFont label_font_;
  ScopedFont file_panel_font_;
  int tree_width_ = 201;
  int counter_panel_width_ = 249;
  // A listing pumps messages; these keep what happens meanwhile sound.
  bool navigating_ = false;
  bool has_pending_ = false;
  std::wstring pending_dir_;
  bool searching_ = false;
  // Each listed file's size as the listing found it, so that a removal takes
  // its own size off the totals whatever was selected last.
  std::unordered_map<std::wstring, long long> item_sizes_;
  bool shown_ = false;
  DWORD counter_shown_at_ = 0;
  // A left press on an item arms the drag; it begins once the mouse has
  // moved the system's drag distance with the button down.
  bool drag_armed_ = false;
  bool dragging_ = false;
  POINT drag_start_{};
  bool enter_down_ = false;  // Enter went down in the list and is not up yet
};

}  // namespace velkor
