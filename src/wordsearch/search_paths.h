#pragma once
// Names and paths of the word search, as code page 932 bytes: which files a
// search reads, and how a registered directory is named on its check box.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace velkor {

// The ten extensions searched for: classes 1 to 9 have check boxes, the last
// one (".HTML") is always searched.
inline constexpr std::array<std::string_view, 10> ExtList = {
    ".PAS", ".INT", ".ASM", ".RC", ".INC", ".TXT", ".LOG", ".INI", ".HTM", ".HTML"};
inline constexpr std::size_t kExtClasses = 9;

// Entry N is entry N of ExtList when class N is checked, else "....", which
// no extension equals.
using ExtTable = std::array<std::string, kExtClasses>;
ExtTable BuildExtTable(const std::array<bool, kExtClasses>& ext_checked);

// The extension of a file name from its last dot, dot included, A-Z upper-cased;
// empty without a dot.
std::string FileExtension(std::string_view name);

// Whether a file of this name is read by a search with this table.
bool IsSearchedFile(std::string_view name, const ExtTable& table);

// Position of the last backslash that is a separator (not the second byte of
// a double-byte character), or npos.
std::size_t LastSeparator(std::string_view path);

// What follows the last separator: the file name of a full path, or the
// whole text without one.
std::string_view FileNamePart(std::string_view path);

// The directory part of a walk pattern such as "C:\Memo\*.*": everything up to
// and including its last separator.
std::string_view PatternDirectory(std::string_view pattern);

// The caption of a registered directory's check box: the last name of the
// path without its trailing separator ("C:\Tools\Memo\" gives "Memo"; a drive
// root "C:\" gives "C:").
std::string MakeDirCaption(std::string_view path);

}  // namespace velkor
