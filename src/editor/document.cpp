#include "editor/document.h"

#include "platform/path_names.h"

namespace velkor {

TextPlace PlaceOf(const std::wstring& text, std::size_t index) {
  TextPlace p;
  for (std::size_t i = 0; i < index && i < text.size(); ++i) {
    if (text[i] == L'\n') {
      ++p.line;
      p.column = 1;
    } else if (text[i] != L'\r') {
      ++p.column;
    }
  }
  return p;
}

std::size_t ControlLength(const std::wstring& text) {
  std::size_t n = text.size();
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') --n, ++i;
    else if (static_cast<char32_t>(text[i]) >= 0x10000) ++n;  // one unit where wchar_t is 32 bits, two positions
  }
  return n;
}

std::wstring BackupNameOf(const std::wstring& path) { return ReplaceExtension(path, L".BAK"); }


}  // namespace velkor
