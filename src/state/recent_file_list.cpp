#include "state/recent_file_list.h"

#include <utility>

namespace velkor {
namespace {

std::wstring KeyOf(int n) { return L"UsedFile" + std::to_wstring(n); }

}  // namespace

RecentFileList::RecentFileList(SamePath same_path) : same_path_(std::move(same_path)) {
  entries_.fill(kNoSet);
}

const std::wstring& RecentFileList::Entry(int n) const { return entries_.at(static_cast<std::size_t>(n)); }

std::wstring RecentFileList::Caption(int n) const { return L"&" + std::to_wstring(n) + L" " + Entry(n); }

void RecentFileList::Load(const SettingsStore& store, int count) {
  for (int n = 1; n <= count && n <= kSlots; ++n)
    entries_[static_cast<std::size_t>(n)] = store.ReadString(L"UsedFiles", KeyOf(n), kNoSet);
}

bool RecentFileList::NoteSaved(SettingsStore& store, const std::wstring& path) {
  if (path.empty() || same_path_(path, Entry(1))) return false;
  for (int k = 2; k <= kSlots; ++k) {
    if (same_path_(path, Entry(k))) {
      Shift(store, k, path);
      return true;
    }
  }
  EraseFileSettings(store, Entry(kSlots));
  Shift(store, kSlots, path);
  return true;
}

// Each slot is written as soon as it changes; a refused write ends the shift there.
void RecentFileList::Shift(SettingsStore& store, int k, const std::wstring& name) {
  for (int j = k; j >= 2; --j) {
    entries_[static_cast<std::size_t>(j)] = Entry(j - 1);
    Write(store, Entry(j), j);
  }
  entries_[1] = name;
  Write(store, name, 1);
}

void RecentFileList::Forget(SettingsStore& store, int n) {
  const std::wstring path = Entry(n);
  entries_[static_cast<std::size_t>(n)] = kNoSet;
  Write(store, kNoSet, n);
  EraseFileSettings(store, path);
}

void RecentFileList::EraseFileSettings(SettingsStore& store, const std::wstring& name) {
  if (!name.empty()) store.EraseSection(name);
}

void RecentFileList::Write(SettingsStore& store, const std::wstring& value, int n) {
  if (!value.empty()) store.WriteString(L"UsedFiles", KeyOf(n), value);
}

}  // namespace velkor
