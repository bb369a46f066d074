#pragma once
// The settings store: the program's initialization file beside the
// executable. Every operation reads the file as it is at that moment and
// every change is written at once, through a temporary file that reaches the
// disk before it replaces the old one in one step, so that neither a failure
// nor a power cut leaves the file half-written or empty.
#include <string>
#include <string_view>

#include "state/settings_store.h"

namespace velkor {

// Full path of the settings file: the executable's path with its extension replaced by ".INI".
std::wstring SettingsFilePath();
// Tests point the program at a settings file of their own; an empty path restores the default.
void SetSettingsFilePathForTesting(std::wstring path);

// One store object per operation or group of operations; no state survives between calls.
class Settings final : public SettingsStore {
 public:
  explicit Settings(std::wstring path = SettingsFilePath());
  const std::wstring& path() const { return path_; }

  // A missing file, section or key, or an unreadable number, gives the default.
  std::wstring ReadString(std::wstring_view section, std::wstring_view key, std::wstring_view def) const override;
  int ReadInteger(std::wstring_view section, std::wstring_view key, int def) const override;
  bool ReadBool(std::wstring_view section, std::wstring_view key, bool def) const override;

  // A write that cannot be made raises velkor::Error("<path> に書き込めません").
  // One that would change nothing leaves the file untouched.
  void WriteString(std::wstring_view section, std::wstring_view key, std::wstring_view value) override;
  void WriteInteger(std::wstring_view section, std::wstring_view key, int value) override;
  void WriteBool(std::wstring_view section, std::wstring_view key, bool value) override;
  void EraseSection(std::wstring_view section) override;  // an absent section is no error

 private:
  std::wstring path_;
};

}  // namespace velkor
