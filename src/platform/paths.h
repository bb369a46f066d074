#pragma once
// File paths by the system's rules.
#include <string>

namespace velkor {

// The absolute form of a path: relative to the current directory, and "D:"
// names drive D's current directory. A path the system cannot expand is
// passed on as it is, to fail where it is used.
std::wstring AbsolutePath(const std::wstring& path);

// True when a file (not a directory) is at path.
bool FileExists(const std::wstring& path);
// A file or a folder of that name.
bool PathExists(const std::wstring& path);

// Whether two paths are the same by the file system's rule for names: the
// characters compared one by one, letter case aside. Neither is expanded.
bool SamePath(const std::wstring& a, const std::wstring& b);

// The full path of the running program, empty when the system cannot tell.
std::wstring ModulePath();

}  // namespace velkor
