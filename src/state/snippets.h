#pragma once
// The treasure box's seven snippets, each a label and a one-line text. The
// main window holds them while the program runs, for the editors' pop-up
// menus; the settings file keeps them between runs, label n under the key
// "NO" + n of the section "KEY" and its text under the same key of "SET".
#include <array>
#include <string>

#include "state/settings_store.h"

namespace velkor {

// The key of pair n in both sections: "NO" + n.
std::wstring SnippetKeyName(int n);

class Snippets {
 public:
  static constexpr int kCount = 7;
  static constexpr const wchar_t* kDefaultLabel = L"ご挨拶";
  static constexpr const wchar_t* kDefaultText = L"ボクを使って戴いて、大変ありがとうございます";

  Snippets();  // every pair the default

  // n is 1..kCount.
  const std::wstring& Label(int n) const;
  const std::wstring& Text(int n) const;

  // A missing key gives the default; a pair stored empty stays empty.
  void Load(const SettingsStore& store);
  // Writes pair n and then holds it: a refused write leaves the pair held
  // as the file still has it.
  void Save(SettingsStore& store, int n, const std::wstring& label, const std::wstring& text);
  // The write alone, for a store that nobody holds the pairs of.
  static void Write(SettingsStore& store, int n, const std::wstring& label, const std::wstring& text);

 private:
  std::array<std::wstring, kCount + 1> labels_;  // 1..kCount
  std::array<std::wstring, kCount + 1> texts_;
};

}  // namespace velkor
