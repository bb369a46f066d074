#pragma once
// The main window's quick-launch row: eight flat buttons on a sunken panel of
// the tool bar, each starting the program or document registered to it in the
// settings file. A button shows its file's picture (.ICO, .BMP), else the
// file's own icon, and the file's name as its hint.
#include <array>
#include <string>

#include "controls/panel.h"
#include "controls/speed_button.h"
#include "state/launch_paths.h"

namespace velkor {

class Window;

class LaunchRow {
 public:
  static constexpr int kButtons = 8;

  // The panel on the tool bar (parent); the buttons come with CreateButtons.
  void Create(HWND parent, int id, const Panel::Look& look);
  // Reads the entries, shows the row when any is set and makes the buttons,
  // whose clicks go to command_target as first_id + index. Messages go
  // through between the steps; false when owner's window went meanwhile.
  bool CreateButtons(Window& owner, int first_id, HWND command_target);
  // Reads the entries again and shows the pictures of the files that exist;
  // false when owner's window went meanwhile (messages go through once per
  // button).
  bool Reload(Window& owner);
  // As Reload, then shows the row and fits the panel to its buttons.
  bool ReloadAndShow(Window& owner);
  // Starts the entry of button index by the shell; an empty one starts nothing.
  void Start(int index, HWND owner) const;

  const LaunchPaths& paths() const { return paths_; }
  Panel& panel() { return panel_; }
  SpeedButton& button(int index) { return buttons_[static_cast<size_t>(index)]; }

 private:
  bool LoadPictures(Window& owner);
  void Arrange();

  LaunchPaths paths_;
  Panel panel_;
  std::array<SpeedButton, kButtons> buttons_;
};

}  // namespace velkor
