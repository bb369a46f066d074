#include "controls/dir_tree_logic.h"

#include <algorithm>

namespace velkor {

std::wstring JoinPath(const std::wstring& a, const std::wstring& b) {
  // In UTF-16 a backslash is always a separator: the second byte of a
  // double-byte character exists only in the code page 932 form.
  if (a.empty() || a.back() == L'\\') return a + b;
  return a + L'\\' + b;
}

std::vector<std::wstring> PathNames(const std::wstring& path) {
  std::vector<std::wstring> names;
  if (path.size() <= 3 && path.find(L':') != std::wstring::npos) return names;
  std::wstring rest = path.size() >= 3 && path[1] == L':' && path[2] == L'\\' ? path.substr(3) : path;
  while (!rest.empty()) {
    const auto slash = rest.find(L'\\');
    names.push_back(rest.substr(0, slash));
    if (slash == std::wstring::npos) break;
    rest.erase(0, slash + 1);
  }
  return names;
}

bool IsListedDirName(const std::wstring& name) { return !name.empty() && name[0] != L'.'; }

void SortDirNames(std::vector<std::wstring>& names,
                  const std::function<int(const std::wstring&, const std::wstring&)>& compare) {
  std::stable_sort(names.begin(), names.end(),
                   [&](const std::wstring& x, const std::wstring& y) { return compare(x, y) < 0; });
}

std::wstring NodePathOf(wchar_t drive, const std::vector<std::wstring>& names, bool is_first_node) {
  std::wstring path(1, drive);
  path += L':';
  for (const auto& n : names) path += L'\\' + n;
  if (is_first_node || names.empty()) path += L'\\';
  return path;
}

}  // namespace velkor
