#include "controls/text_positions.h"

#include "platform/text.h"

namespace velkor {
namespace {

bool IsHighSurrogate(wchar_t c) { return sizeof(wchar_t) == 2 && c >= 0xD800 && c <= 0xDBFF; }

}  // namespace

TextBytes::TextBytes(std::wstring crlf_text) : text_(std::move(crlf_text)), bytes_(WideToCp932(text_).bytes) {}

// Both conversions walk the two forms side by side, one character at a time:
// a CR LF pair is two bytes and one control position, a surrogate pair one
// byte ('?') and two positions, any other character one position and the
// bytes of its code page 932 form.
int TextBytes::ByteOffset(int control_pos) const {
  std::size_t w = 0, k = 0;
  int pos = 0;
  while (w < text_.size() && pos < control_pos) {
    if (text_[w] == L'\r' && w + 1 < text_.size() && text_[w + 1] == L'\n') {
      w += 2, k += 2, pos += 1;
    } else if (IsHighSurrogate(text_[w]) && w + 1 < text_.size()) {
      w += 2, k += 1, pos += 2;
    } else {
      k += (k < bytes_.size() && IsLeadByte(static_cast<unsigned char>(bytes_[k]))) ? 2 : 1;
      w += 1, pos += 1;
    }
  }
  return static_cast<int>(k < bytes_.size() ? k : bytes_.size());
}

int TextBytes::ControlPos(int byte_offset) const {
  std::size_t w = 0, k = 0;
  int pos = 0;
  while (w < text_.size()) {
    std::size_t width;
    int positions;
    std::size_t units;
    if (text_[w] == L'\r' && w + 1 < text_.size() && text_[w + 1] == L'\n') {
      width = 2, positions = 1, units = 2;
    } else if (IsHighSurrogate(text_[w]) && w + 1 < text_.size()) {
      width = 1, positions = 2, units = 2;
    } else {
      width = (k < bytes_.size() && IsLeadByte(static_cast<unsigned char>(bytes_[k]))) ? 2 : 1;
      positions = 1, units = 1;
    }
    if (static_cast<int>(k + width) > byte_offset) break;
    k += width, w += units, pos += positions;
  }
  return pos;
}

}  // namespace velkor
