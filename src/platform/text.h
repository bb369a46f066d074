#pragma once
// Conversions between the program's UTF-16 strings and the byte forms that
// files and the byte-based algorithms use. Code page 932 is always named
// explicitly: nothing here depends on the system's ANSI code page.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace velkor {

// Result of encoding to code page 932. Characters without a code page 932
// form are written as '?' and counted, so callers can refuse a lossy result.
struct Cp932Bytes {
  std::string bytes;
  std::size_t lost = 0;              // characters that had no code page 932 form
  std::size_t first_lost = std::wstring::npos;  // index in the source of the first one
};

std::wstring Cp932ToWide(std::string_view bytes);
Cp932Bytes WideToCp932(std::wstring_view text);

// UTF-8 (strict: overlong forms, surrogates and bytes past U+10FFFF are invalid).
bool IsValidUtf8(std::string_view bytes);
// The length of the longest start of bytes made of whole valid sequences.
std::size_t ValidUtf8Length(std::string_view bytes);
std::wstring Utf8ToWide(std::string_view bytes);
// The length of the sequence that a UTF-8 lead byte opens (1 for ASCII), 0
// for a byte that opens none.
constexpr std::size_t Utf8SequenceLength(unsigned char lead) {
  return lead < 0x80 ? 1 : lead < 0xC0 ? 0 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF8 ? 4 : 0;
}
// Decodes the UTF-8 sequence at p: its length with the code point, or 0 when
// the bytes at p are no valid sequence (one cut by end included).
inline std::size_t DecodeUtf8Sequence(const unsigned char* p, const unsigned char* end, char32_t& cp) {
  const unsigned char b0 = p[0];
  if (b0 < 0x80) {
    cp = b0;
    return 1;
  }
  const std::size_t len = Utf8SequenceLength(b0);
  if (len < 2 || len > static_cast<std::size_t>(end - p)) return 0;
  static constexpr char32_t kMin[5] = {0, 0, 0x80, 0x800, 0x10000};
  char32_t c = b0 & (0x7F >> len);
  for (std::size_t k = 1; k < len; ++k) {
    if ((p[k] & 0xC0) != 0x80) return 0;
    c = (c << 6) | (p[k] & 0x3F);
  }
  if (c < kMin[len] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
  cp = c;
  return len;
}
// Whether bytes, fewer than a whole sequence, may be the start of one: a lead
// byte and continuation bytes. Whether the whole is valid shows once it is there.
bool IsValidUtf8Start(std::string_view bytes);
std::string WideToUtf8(std::wstring_view text);
// A code point appended in UTF-16 (a surrogate pair above the basic plane),
// or in UTF-8.
void AppendUtf16(std::wstring& out, char32_t c);
void AppendUtf8(std::string& out, char32_t c);

// UTF-16LE bytes; an odd final byte is dropped.
std::wstring Utf16LeToWide(std::string_view bytes);
std::string WideToUtf16Le(std::wstring_view text);

// The byte classes of code page 932: a lead byte opens a double-byte
// character, and the byte after it is its second byte when it lies in the
// trail range. A second byte may equal an ASCII byte such as the backslash.
constexpr bool IsLeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
constexpr bool IsTrailByte(unsigned char b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC); }

// The code page 932 form of one character (a code point; a lone surrogate
// stands for itself): one or two bytes, or length 0 when code page 932 has
// no form for it. Worked out from the same conversion as WideToCp932, once.
struct Cp932Char {
  unsigned char bytes[2] = {0, 0};
  int length = 0;
};
Cp932Char Cp932FormOf(char32_t c);
// The same forms for every unit of the basic plane as one table, for loops
// over many characters: a one-byte form as that byte, a two-byte form as
// lead * 256 + second byte, kNoCp932Form for none. Surrogates have none.
inline constexpr std::uint16_t kNoCp932Form = 0xFFFF;
const std::uint16_t* Cp932FormTable();

// Stand-ins. The byte algorithms (find, replace, counts) run on the code page
// 932 form of a text. A character that code page 932 lacks takes there a
// two-byte code that code page 932 leaves unassigned (lead bytes 0x85, 0x86,
// 0xEB, 0xEC, 0xEF; second bytes 0x80-0xFC, never an ASCII letter), a code of
// its own, so that it matches itself and nothing else. Both bytes are in the
// double-byte ranges and above 0x7F: the scans see one double-byte character
// that separates words.
inline constexpr int kStandInCount = 5 * 125;
constexpr int StandInIndex(unsigned char lead, unsigned char trail) {
  if (trail < 0x80 || trail > 0xFC) return -1;
  int row;
  switch (lead) {
    case 0x85: row = 0; break;
    case 0x86: row = 1; break;
    case 0xEB: row = 2; break;
    case 0xEC: row = 3; break;
    case 0xEF: row = 4; break;
    default: return -1;
  }
  return row * 125 + (trail - 0x80);
}
constexpr bool IsStandIn(unsigned char lead, unsigned char trail) { return StandInIndex(lead, trail) >= 0; }
// Code page 932 bytes as text in which put(out, index) appends what each
// stand-in stands for, in the order they come.
template <class PutStandIn>
std::wstring Cp932ToWideWithStandIns(std::string_view bytes, PutStandIn put);
constexpr Cp932Char StandInBytes(int index) {
  constexpr unsigned char kLeads[5] = {0x85, 0x86, 0xEB, 0xEC, 0xEF};
  Cp932Char c;
  c.bytes[0] = kLeads[index / 125];
  c.bytes[1] = static_cast<unsigned char>(0x80 + index % 125);
  c.length = 2;
  return c;
}

template <class PutStandIn>
std::wstring Cp932ToWideWithStandIns(std::string_view bytes, PutStandIn put) {
  std::wstring out;
  out.reserve(bytes.size());
  std::size_t plain = 0;  // start of the run of bytes without a stand-in
  for (std::size_t i = 0; i < bytes.size();) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    if (!IsLeadByte(lead) || i + 1 >= bytes.size()) {
      ++i;
      continue;
    }
    const int index = StandInIndex(lead, static_cast<unsigned char>(bytes[i + 1]));
    if (index >= 0) {
      out += Cp932ToWide(bytes.substr(plain, i - plain));
      put(out, index);
      plain = i + 2;
    }
    i += 2;
  }
  out += Cp932ToWide(bytes.substr(plain));
  return out;
}

// Case folding for names that the system compares without regard to case
// (settings sections and keys, paths): ASCII, Latin-1, Greek, Cyrillic and the
// full-width Latin letters.
wchar_t FoldCase(wchar_t c);
bool EqualsNoCase(std::wstring_view a, std::wstring_view b);

}  // namespace velkor
