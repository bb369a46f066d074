#include "controls/text_positions.h"

#include "platform/text.h"

namespace velkor {
namespace {

// The last two stand-ins have a meaning of their own: one is shared by the
// characters that come after all others are taken, the other by characters
// the text does not hold, so that it matches nothing in it.
constexpr int kShared = kStandInCount - 2;
constexpr int kAbsent = kStandInCount - 1;

// One character of a UTF-16 text: its code point, how many units it takes
// and how many control positions. A surrogate pair is one character of two
// positions; a surrogate without its partner is one of its own. Where
// wchar_t is 32 bits wide a character beyond the basic plane takes one unit
// but still two positions, as in the control.
struct Char {
  char32_t code;
  std::size_t units;
  int positions;
};

Char CharAt(std::wstring_view t, std::size_t w) {
  const wchar_t u = t[w];
  if constexpr (sizeof(wchar_t) == 2) {
    if (u >= 0xD800 && u <= 0xDBFF && w + 1 < t.size() && t[w + 1] >= 0xDC00 && t[w + 1] <= 0xDFFF)
      return {0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (static_cast<char32_t>(t[w + 1]) - 0xDC00), 2,
              2};
  }
  const auto code = static_cast<char32_t>(u);
  return {code, 1, code >= 0x10000 ? 2 : 1};
}

bool Lacks(std::wstring_view s) { return !s.empty() && WideToCp932(s).lost > 0; }

}  // namespace

TextBytes::TextBytes(std::wstring crlf_text, std::wstring_view first) : text_(std::move(crlf_text)) {
  Cp932Bytes plain = WideToCp932(text_);
  if (plain.lost == 0 && !Lacks(first)) {
    bytes_ = std::move(plain.bytes);
    return;
  }
  std::string ignored;
  Append(ignored, first);
  bytes_.reserve(plain.bytes.size() + plain.lost);
  Append(bytes_, text_);
}

int TextBytes::StandInOf(char32_t c) const {
  const auto found = stand_in_of_.find(c);
  if (found != stand_in_of_.end()) return found->second;
  return shared_ ? -1 : kAbsent;
}

int TextBytes::NewStandIn(char32_t c) {
  const auto found = stand_in_of_.find(c);
  if (found != stand_in_of_.end()) return found->second;
  if (static_cast<int>(stand_ins_.size()) == kShared) {
    shared_ = true;
    return kShared;
  }
  const int index = static_cast<int>(stand_ins_.size());
  stand_ins_.push_back(c);
  stand_in_of_.emplace(c, index);
  return index;
}

void TextBytes::Append(std::string& out, std::wstring_view text) {
  for (std::size_t w = 0; w < text.size();) {
    const Char ch = CharAt(text, w);
    w += ch.units;
    Cp932Char form = Cp932FormOf(ch.code);
    if (form.length == 0) form = StandInBytes(NewStandIn(ch.code));
    out.append(reinterpret_cast<const char*>(form.bytes), static_cast<std::size_t>(form.length));
  }
}

std::optional<std::string> TextBytes::FormOf(std::wstring_view other) const {
  if (stand_ins_.empty() && !shared_) {
    // No stand-in in use: every character that code page 932 lacks is absent.
    Cp932Bytes plain = WideToCp932(other);
    if (plain.lost == 0) return std::move(plain.bytes);
  }
  std::string out;
  out.reserve(other.size() * 2);
  for (std::size_t w = 0; w < other.size();) {
    const Char ch = CharAt(other, w);
    w += ch.units;
    Cp932Char form = Cp932FormOf(ch.code);
    if (form.length == 0) {
      const int index = StandInOf(ch.code);
      if (index < 0) return std::nullopt;
      form = StandInBytes(index);
    }
    out.append(reinterpret_cast<const char*>(form.bytes), static_cast<std::size_t>(form.length));
  }
  return out;
}

std::wstring TextBytes::TextOf(std::string_view bytes) const {
  return Cp932ToWideWithStandIns(bytes, [this](std::wstring& out, int index) {
    AppendUtf16(out, index < static_cast<int>(stand_ins_.size()) ? stand_ins_[static_cast<std::size_t>(index)]
                                                                 : U'\xFFFD');
  });
}

// Both conversions walk the two forms side by side, one character at a time:
// a CR LF pair is two bytes and one control position; any other character
// takes the positions of its units and the bytes of its form (one, or two
// for a double-byte form or a stand-in, which starts with a lead byte).
int TextBytes::ByteOffset(int control_pos) const {
  std::size_t w = 0, k = 0;
  int pos = 0;
  while (w < text_.size() && pos < control_pos) {
    if (text_[w] == L'\r' && w + 1 < text_.size() && text_[w + 1] == L'\n') {
      w += 2, k += 2, pos += 1;
      continue;
    }
    const Char ch = CharAt(text_, w);
    k += (k < bytes_.size() && IsLeadByte(static_cast<unsigned char>(bytes_[k]))) ? 2 : 1;
    w += ch.units, pos += ch.positions;
  }
  return static_cast<int>(k < bytes_.size() ? k : bytes_.size());
}

int TextBytes::ControlPos(int byte_offset) const {
  std::size_t w = 0, k = 0;
  int pos = 0;
  while (w < text_.size()) {
    std::size_t width, units;
    int positions;
    if (text_[w] == L'\r' && w + 1 < text_.size() && text_[w + 1] == L'\n') {
      width = 2, positions = 1, units = 2;
    } else {
      const Char ch = CharAt(text_, w);
      width = (k < bytes_.size() && IsLeadByte(static_cast<unsigned char>(bytes_[k]))) ? 2 : 1;
      positions = ch.positions, units = ch.units;
    }
    if (static_cast<long long>(k + width) > byte_offset) break;
    k += width, w += units, pos += positions;
  }
  return pos;
}

}  // namespace velkor
