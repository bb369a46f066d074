#pragma once
// What the program's state needs of the settings file, without the file: the
// program hands it the store over the real file, tests one over a file image
// in memory.
#include <string>
#include <string_view>

namespace velkor {

class SettingsStore {
 public:
  // A missing section or key, or an unreadable number, gives the default.
  virtual std::wstring ReadString(std::wstring_view section, std::wstring_view key,
                                  std::wstring_view def) const = 0;
  virtual int ReadInteger(std::wstring_view section, std::wstring_view key, int def) const = 0;
  virtual bool ReadBool(std::wstring_view section, std::wstring_view key, bool def) const = 0;

  // A write the store cannot make throws, and the caller's operation ends there.
  virtual void WriteString(std::wstring_view section, std::wstring_view key, std::wstring_view value) = 0;
  virtual void WriteInteger(std::wstring_view section, std::wstring_view key, int value) = 0;
  virtual void WriteBool(std::wstring_view section, std::wstring_view key, bool value) = 0;
  // An absent section is no error.
  virtual void EraseSection(std::wstring_view section) = 0;

 protected:
  ~SettingsStore() = default;
};

}  // namespace velkor
