#pragma once
// The directory tree's path rules that need no window: joining a name to a
// path, taking a path apart for the walk down the tree, and the order of a
// level's names.
#include <functional>
#include <string>
#include <vector>

namespace velkor {

// a, a backslash unless a is empty or already ends with one, then b.
std::wstring JoinPath(const std::wstring& a, const std::wstring& b);

// The walk down the tree to a path: "C:\A\B" gives the names A and B. A drive
// root alone ("C:", "C:\") gives none.
std::vector<std::wstring> PathNames(const std::wstring& path);

// A directory entry that the tree lists: not one whose name begins with a dot.
bool IsListedDirName(const std::wstring& name);

// Sorts a level's names ascending with the given case-insensitive comparison
// (negative, zero, positive), equal names keeping their order.
void SortDirNames(std::vector<std::wstring>& names,
                  const std::function<int(const std::wstring&, const std::wstring&)>& compare);

// What the tree reports for a node: the drive node gives "C:\", a directory
// "C:\A\B" without a trailing backslash. names are the node's captions from
// the top down, the drive node left out.
std::wstring NodePathOf(wchar_t drive, const std::vector<std::wstring>& names, bool is_first_node);

}  // namespace velkor
