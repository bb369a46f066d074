#pragma once
// Conversions between the program's UTF-16 strings and the byte forms that
// files and the byte-based algorithms use. Code page 932 is always named
// explicitly: nothing here depends on the system's ANSI code page.
#include <cstddef>
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
std::wstring Utf8ToWide(std::string_view bytes);
std::string WideToUtf8(std::wstring_view text);

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

// Case folding for names that the system compares without regard to case
// (settings sections and keys, paths): ASCII, Latin-1, Greek, Cyrillic and the
// full-width Latin letters.
wchar_t FoldCase(wchar_t c);
bool EqualsNoCase(std::wstring_view a, std::wstring_view b);

}  // namespace velkor
