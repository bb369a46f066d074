#include "state/search_settings.h"

#include <algorithm>

namespace velkor {
namespace {

constexpr wchar_t kDirSection[] = L"Option";
constexpr wchar_t kSearchSection[] = L"Option1";

std::wstring CheckKey(std::size_t n) { return L"No" + std::to_wstring(n); }

}  // namespace

DirRegistration DirRegistration::Load(const SettingsStore& store) {
  DirRegistration d;
  for (std::size_t n = 1; n < d.path.size(); ++n) {
    d.checked[n] = store.ReadBool(kDirSection, CheckKey(n), false);
    d.path[n] = store.ReadString(kDirSection, CheckKey(n) + L"Dir", L"");
  }
  return d;
}

void DirRegistration::Save(SettingsStore& store) const {
  for (std::size_t n = 1; n < path.size(); ++n) {
    store.WriteBool(kDirSection, CheckKey(n), checked[n]);
    store.WriteString(kDirSection, CheckKey(n) + L"Dir", path[n]);
  }
}

SearchSettings SearchSettings::Load(const SettingsStore& store) {
  SearchSettings s;
  s.dirs = DirRegistration::Load(store);
  for (std::size_t n = 1; n <= kFileClasses; ++n) s.classes[n] = store.ReadBool(kSearchSection, std::to_wstring(n), true);
  s.font_size = std::clamp(store.ReadInteger(kSearchSection, L"FontSize", kDefaultFontSize), 0, kMaxFontSize);
  return s;
}

void SearchSettings::Save(SettingsStore& store) const {
  dirs.Save(store);
  for (std::size_t n = 1; n <= kFileClasses; ++n) store.WriteBool(kSearchSection, std::to_wstring(n), classes[n]);
  store.WriteInteger(kSearchSection, L"FontSize", font_size);
}

}  // namespace velkor
