#pragma once
// The byte algorithms (find, statistics, tab expansion) run on the code page
// 932 form of a text control's contents with CR LF line breaks, while the
// rich-edit control counts UTF-16 units with one position per line break.
// TextBytes holds both forms of one text and converts positions between them.
#include <string>

namespace velkor {

class TextBytes {
 public:
  // crlf_text: the control's text with CR LF line breaks.
  explicit TextBytes(std::wstring crlf_text);

  const std::wstring& text() const { return text_; }
  const std::string& bytes() const { return bytes_; }

  // Control position -> byte offset; positions past the end give the length.
  int ByteOffset(int control_pos) const;
  // Byte offset -> control position; an offset inside a double-byte character
  // or a CR LF pair gives the position of that character.
  int ControlPos(int byte_offset) const;

 private:
  std::wstring text_;
  std::string bytes_;
};

}  // namespace velkor
