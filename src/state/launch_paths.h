#pragma once
// The eight programs or documents registered to the launcher's buttons:
// entry i belongs to button i + 1, and entry 7 is the one called last. They
// live in the section "VELKORA" under the keys "SImage1FileName" to
// "SImage8FileName"; an empty entry is a button without a registration.
#include <array>
#include <string>

#include "state/settings_store.h"

namespace velkor {

class LaunchPaths {
 public:
  static constexpr int kCount = 8;

  // i is 0..kCount - 1.
  const std::wstring& Path(int i) const;
  bool Any() const;

  void Load(const SettingsStore& store);
  // Writes entry i and then holds it.
  void Save(SettingsStore& store, int i, const std::wstring& path);

 private:
  std::array<std::wstring, kCount> paths_;
};

}  // namespace velkor
