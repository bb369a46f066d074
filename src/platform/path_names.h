#pragma once
// The parts of a path, taken from its UTF-16 form: there a backslash, a
// slash or a drive's colon is always a separator and never the second half of
// another character. (The word search splits its code page 932 result paths
// with wordsearch/search_paths.h, which knows double-byte characters.)
#include <cstddef>
#include <string>
#include <string_view>

namespace velkor {

// The path with a backslash at its end, added unless one is there; an empty
// path stays empty (it names no folder).
std::wstring WithBackslash(std::wstring_view path);

// The part of a path after its last separator.
std::wstring FileNameOf(std::wstring_view path);
// The folder of a path without the separator before the name; a drive keeps
// its colon ("C:b.txt" gives "C:").
std::wstring FolderOf(std::wstring_view path);

// Position of the dot that starts the file name's extension (its last dot),
// or npos when the name has none; a dot in a folder name does not count.
std::size_t ExtensionDot(std::wstring_view path);
// Whether the file-name part of a path has an extension.
inline bool HasExtension(std::wstring_view path) { return ExtensionDot(path) != std::wstring_view::npos; }
// The path with the extension of its name replaced by ext, dot included;
// ext is appended to a name without one.
std::wstring ReplaceExtension(std::wstring_view path, std::wstring_view ext);
// Names for a file of the moment beside path (a save or a copy in the
// making): the path without its extension, ".~" and two of the characters
// 0-9 and A-Z, numbered 0 to kTemporaryNames - 1. No longer than the backup
// name (".BAK" in place of the extension), so that a document whose backup
// name fits the system's limit can always be saved.
inline constexpr int kTemporaryNames = 36 * 36;
std::wstring TemporaryNameOf(std::wstring_view path, int n);
// Whether name (a file name without its folder) is one of path's temporary
// names, letter case aside.
bool IsTemporaryNameOf(std::wstring_view path, std::wstring_view name);

// A file's kind as the program compares it: the name's extension, dot
// included, upper-cased and cut to four characters (".jpeg" gives ".JPE");
// empty without one.
std::wstring FileKindExtension(std::wstring_view path);

}  // namespace velkor
