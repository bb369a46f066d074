#include "wordsearch/search_paths.h"

#include "platform/text.h"

namespace velkor {

ExtTable BuildExtTable(const std::array<bool, kExtClasses>& ext_checked) {
  ExtTable table;
  for (std::size_t n = 0; n < kExtClasses; ++n)
    table[n] = ext_checked[n] ? std::string(ExtList[n]) : std::string("....");
  return table;
}

std::string FileExtension(std::string_view name) {
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) return {};
  std::string ext(name.substr(dot));
  for (char& c : ext)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - ('a' - 'A'));
  return ext;
}

bool IsSearchedFile(std::string_view name, const ExtTable& table) {
  const std::string ext = FileExtension(name);
  if (ext.empty()) return false;
  if (ext == ExtList[kExtClasses]) return true;
  for (const std::string& entry : table)
    if (ext == entry) return true;
  return false;
}

std::size_t LastSeparator(std::string_view path) {
  std::size_t last = std::string_view::npos;
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (IsLeadByte(static_cast<unsigned char>(path[i]))) {
      ++i;  // the second byte belongs to the character, whatever it is
    } else if (path[i] == '\\') {
      last = i;
    }
  }
  return last;
}

std::string_view FileNamePart(std::string_view path) {
  const std::size_t sep = LastSeparator(path);
  return sep == std::string_view::npos ? path : path.substr(sep + 1);
}

std::string_view PatternDirectory(std::string_view pattern) {
  const std::size_t sep = LastSeparator(pattern);
  return sep == std::string_view::npos ? std::string_view() : pattern.substr(0, sep + 1);
}

std::string MakeDirCaption(std::string_view path) {
  // Only a trailing separator is dropped: cutting any other last byte would
  // shorten the name, or split a double-byte character, in a path that was
  // registered without its backslash.
  if (!path.empty() && LastSeparator(path) == path.size() - 1) path.remove_suffix(1);
  return std::string(FileNamePart(path));
}

}  // namespace velkor
