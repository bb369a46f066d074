#pragma once
// The list of the seven most recently saved files, slot 1 the newest, kept in
// the section "UsedFiles" of the settings file. An empty slot holds the entry
// "No Set". Only saving moves the list; every slot that changes is written at
// once, and the settings section of a file that drops off the list goes with it.
#include <array>
#include <functional>
#include <string>

#include "state/settings_store.h"

namespace velkor {

class RecentFileList {
 public:
  static constexpr int kSlots = 7;
  static constexpr const wchar_t* kNoSet = L"No Set";

  // Whether two paths name the same file. The program compares as the
  // platform's locale does, without regard to letter case.
  using SamePath = std::function<bool(const std::wstring&, const std::wstring&)>;
  explicit RecentFileList(SamePath same_path);

  // Slot n, 1..kSlots: a full path or kNoSet.
  const std::wstring& Entry(int n) const;
  // The menu item's text: the slot number is its accelerator ("&2 No Set").
  std::wstring Caption(int n) const;

  // Slots 1..count from the settings file; a missing key is an empty slot.
  void Load(const SettingsStore& store, int count = kSlots);
  // A saved file goes to slot 1. A listed one moves up from its slot; an
  // unlisted one pushes slot 7 off the list and erases that file's settings.
  // False when nothing moved (an empty path, or the file already first).
  bool NoteSaved(SettingsStore& store, const std::wstring& path);
  // Slots k-1..1 move down one, and the name takes slot 1.
  void Shift(SettingsStore& store, int k, const std::wstring& name);
  // The user gave up a missing file: its slot becomes empty where it stands
  // and its settings section is erased.
  void Forget(SettingsStore& store, int n);
  // Erases the settings section of a file; an empty name erases nothing.
  static void EraseFileSettings(SettingsStore& store, const std::wstring& name);

 private:
  static void Write(SettingsStore& store, const std::wstring& value, int n);

  SamePath same_path_;
  std::array<std::wstring, kSlots + 1> entries_;  // 1..kSlots
};

}  // namespace velkor
