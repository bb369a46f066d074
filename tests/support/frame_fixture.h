#pragma once
// A main window of the program in the test's own process, with a settings
// file of its own in a fresh folder.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "frame/main_window.h"
#include "support/win_test.h"

namespace velkor::test {

class FrameTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Creates and shows the main window; call once per test, after writing settings.
  MainWindow& StartFrame(std::vector<std::wstring> args = {}, int show_command = SW_SHOWNORMAL);
  // Destroys the main window without its close questions.
  void DestroyFrame();

  std::wstring IniPath() const { return dir_ / L"Velkor.INI"; }
  // The settings file as text (read through the program's own store is better
  // for values; this is for looking at the whole file).
  std::string IniBytes() const { return ReadBytes(IniPath()); }
  void WriteIni(const std::string& bytes) { WriteBytes(IniPath(), bytes); }

  TempDir dir_;
  std::unique_ptr<MainWindow> frame_;
};

// A settings-file string read back through the program's own store.
std::wstring IniString(const std::wstring& path, const std::wstring& section, const std::wstring& key,
                       const std::wstring& def = L"<none>");

// Sends a synthesized drop of the given files to a window, as the shell would.
void DropFiles(HWND target, const std::vector<std::wstring>& files);

// The centre of a speed button, in screen coordinates: where a click presses it.
POINT CentreOf(const SpeedButton& button);

// Text of a menu item by command id, and its enabled state.
std::wstring MenuText(HMENU menu, UINT id);
bool MenuEnabled(HMENU menu, UINT id);

// Redirects HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE to scratch keys for the
// life of the object, so tests can set the registered user's name.
class RegistrySandbox {
 public:
  RegistrySandbox();
  ~RegistrySandbox();
  RegistrySandbox(const RegistrySandbox&) = delete;
  RegistrySandbox& operator=(const RegistrySandbox&) = delete;
  void SetString(HKEY root, const std::wstring& key, const std::wstring& value, const std::wstring& data);

 private:
  HKEY user_ = nullptr;
  HKEY machine_ = nullptr;
  std::wstring base_;
};

}  // namespace velkor::test
