#include "state/snippets.h"

namespace velkor {

std::wstring SnippetKeyName(int n) { return L"NO" + std::to_wstring(n); }

Snippets::Snippets() {
  labels_.fill(kDefaultLabel);
  texts_.fill(kDefaultText);
}

const std::wstring& Snippets::Label(int n) const { return labels_.at(static_cast<std::size_t>(n)); }

const std::wstring& Snippets::Text(int n) const { return texts_.at(static_cast<std::size_t>(n)); }

void Snippets::Load(const SettingsStore& store) {
  for (int n = 1; n <= kCount; ++n) {
    labels_[static_cast<std::size_t>(n)] = store.ReadString(L"KEY", SnippetKeyName(n), kDefaultLabel);
    texts_[static_cast<std::size_t>(n)] = store.ReadString(L"SET", SnippetKeyName(n), kDefaultText);
  }
}

void Snippets::Save(SettingsStore& store, int n, const std::wstring& label, const std::wstring& text) {
  Write(store, n, label, text);
  labels_.at(static_cast<std::size_t>(n)) = label;
  texts_.at(static_cast<std::size_t>(n)) = text;
}

void Snippets::Write(SettingsStore& store, int n, const std::wstring& label, const std::wstring& text) {
  store.WriteString(L"KEY", SnippetKeyName(n), label);
  store.WriteString(L"SET", SnippetKeyName(n), text);
}

}  // namespace velkor
