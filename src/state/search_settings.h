#pragma once
// What the word search keeps in the settings file. Section "Option": for
// each registered directory n = 1 to 6, "No<n>" whether it is searched and
// "No<n>Dir" its path. Section "Option1": "1" to "9", whether each file class
// is searched, and "FontSize", the size of the result list's font.
#include <array>
#include <string>

#include "state/settings_store.h"

namespace velkor {

// The six directories, as the search window and the setup dialog hand them
// to each other: per number 1 to 6 (index 0 unused), whether it is searched
// and its path (empty, or ending in a backslash).
struct DirRegistration {
  std::array<bool, 7> checked{};
  std::array<std::wstring, 7> path;
  bool operator==(const DirRegistration&) const = default;

  // A missing key: not searched, no path.
  static DirRegistration Load(const SettingsStore& store);
  // Number by number, the flag before the path.
  void Save(SettingsStore& store) const;
};

struct SearchSettings {
  static constexpr std::size_t kFileClasses = 9;
  static constexpr int kDefaultFontSize = 10;
  static constexpr int kMaxFontSize = 100;

  DirRegistration dirs;
  std::array<bool, kFileClasses + 1> classes{};  // index 0 unused
  int font_size = kDefaultFontSize;             // 0 to kMaxFontSize
  bool operator==(const SearchSettings&) const = default;

  // A missing class is searched; a font size outside 0 to kMaxFontSize is
  // taken as the nearest of the two.
  static SearchSettings Load(const SettingsStore& store);
  // The directories, then the classes, then the font size.
  void Save(SettingsStore& store) const;
};

}  // namespace velkor
