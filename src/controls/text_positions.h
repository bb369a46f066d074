#pragma once
// The byte algorithms (find, replace, statistics, tab expansion) run on the
// code page 932 form of a text control's contents with CR LF line breaks,
// while the rich-edit control counts UTF-16 units with one position per line
// break. TextBytes holds both forms of one text and converts positions
// between them. A character that code page 932 lacks is a stand-in in the
// byte form (platform/text.h): two bytes that match that character alone.
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace velkor {

class TextBytes {
 public:
  // crlf_text: the control's text with CR LF line breaks. The characters of
  // `first` that code page 932 lacks get their stand-ins before the text's
  // own, so that they have one of their own however many the text holds.
  explicit TextBytes(std::wstring crlf_text, std::wstring_view first = {});

  const std::wstring& text() const { return text_; }
  const std::string& bytes() const { return bytes_; }

  // The byte form of another text (a search or replace text) with this
  // text's stand-ins; a character that code page 932 lacks and this text does
  // not hold takes a stand-in that occurs nowhere in it. Nothing when such a
  // character may be one of those that share the last stand-in (a text with
  // more kinds of them than there are stand-ins): a TextBytes made with that
  // text as `first` gives it one of its own.
  std::optional<std::string> FormOf(std::wstring_view other) const;
  // Bytes in this text's byte form (pieces of FormOf's included) as UTF-16.
  std::wstring TextOf(std::string_view bytes) const;

  // Control position -> byte offset; positions past the end give the length.
  int ByteOffset(int control_pos) const;
  // Byte offset -> control position; an offset inside a double-byte character
  // or a CR LF pair gives the position of that character.
  int ControlPos(int byte_offset) const;

 private:
  // The stand-in of a character: its own, or the one for characters the
  // text does not hold; -1 when it may share the last one.
  int StandInOf(char32_t c) const;
  // The character's stand-in, a new one when it has none yet.
  int NewStandIn(char32_t c);
  void Append(std::string& out, std::wstring_view text);

  std::wstring text_;
  std::string bytes_;
  std::vector<char32_t> stand_ins_;  // the character of each stand-in in use
  std::unordered_map<char32_t, int> stand_in_of_;
  bool shared_ = false;  // some characters share the last stand-in
};

}  // namespace velkor
