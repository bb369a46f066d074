#include "state/launch_paths.h"

namespace velkor {
namespace {

std::wstring KeyOf(int i) { return L"SImage" + std::to_wstring(i + 1) + L"FileName"; }

}  // namespace

const std::wstring& LaunchPaths::Path(int i) const { return paths_.at(static_cast<std::size_t>(i)); }

bool LaunchPaths::Any() const {
  for (const std::wstring& p : paths_)
    if (!p.empty()) return true;
  return false;
}

void LaunchPaths::Load(const SettingsStore& store) {
  for (int i = 0; i < kCount; ++i) paths_[static_cast<std::size_t>(i)] = store.ReadString(L"VELKORA", KeyOf(i), L"");
}

void LaunchPaths::Save(SettingsStore& store, int i, const std::wstring& path) {
  std::wstring& entry = paths_.at(static_cast<std::size_t>(i));
  store.WriteString(L"VELKORA", KeyOf(i), path);
  entry = path;
}

}  // namespace velkor
