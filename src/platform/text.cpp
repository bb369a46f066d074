#include "platform/text.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <vector>

namespace velkor {
namespace {

// Decodes one UTF-8 sequence at bytes[i]; returns its length, 0 when invalid.
std::size_t DecodeUtf8(std::string_view bytes, std::size_t i, char32_t& cp) {
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  return DecodeUtf8Sequence(data + i, data + bytes.size(), cp);
}

}  // namespace

std::size_t ValidUtf8Length(std::string_view bytes) {
  char32_t cp;
  std::size_t i = 0;
  while (i < bytes.size()) {
    // ASCII eight bytes at a time, and three-byte sequences (most of
    // Japanese) without the general decoding.
    if (bytes.size() - i >= 8) {
      std::uint64_t w;
      std::memcpy(&w, bytes.data() + i, 8);
      const std::uint64_t high = w & 0x8080808080808080ull;
      if (high == 0) {
        i += 8;
        continue;
      }
      if constexpr (std::endian::native == std::endian::little) i += static_cast<std::size_t>(std::countr_zero(high)) / 8;
    }
    const auto b0 = static_cast<unsigned char>(bytes[i]);
    if ((b0 & 0xF0) == 0xE0 && bytes.size() - i >= 3) {
      const auto b1 = static_cast<unsigned char>(bytes[i + 1]), b2 = static_cast<unsigned char>(bytes[i + 2]);
      const unsigned c = (b0 & 0x0Fu) << 12 | (b1 & 0x3Fu) << 6 | (b2 & 0x3Fu);
      if ((b1 & 0xC0) == 0x80 && (b2 & 0xC0) == 0x80 && c >= 0x800 && (c < 0xD800 || c > 0xDFFF)) {
        i += 3;
        continue;
      }
    }
    const std::size_t n = DecodeUtf8(bytes, i, cp);
    if (n == 0) break;
    i += n;
  }
  return i;
}

bool IsValidUtf8(std::string_view bytes) { return ValidUtf8Length(bytes) == bytes.size(); }

bool IsValidUtf8Start(std::string_view bytes) {
  if (bytes.empty() || bytes.size() >= Utf8SequenceLength(static_cast<unsigned char>(bytes[0]))) return false;
  for (std::size_t k = 1; k < bytes.size(); ++k)
    if ((static_cast<unsigned char>(bytes[k]) & 0xC0) != 0x80) return false;
  return true;
}

std::wstring Utf8ToWide(std::string_view bytes) {
  std::wstring out;
  out.reserve(bytes.size());
  char32_t cp;
  for (std::size_t i = 0; i < bytes.size();) {
    const std::size_t n = DecodeUtf8(bytes, i, cp);
    if (n == 0) {
      out.push_back(L'\xFFFD');
      ++i;
    } else {
      AppendUtf16(out, cp);
      i += n;
    }
  }
  return out;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

void AppendUtf16(std::wstring& out, char32_t c) {
  if (sizeof(wchar_t) == 2 && c >= 0x10000) {
    out.push_back(static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10)));
    out.push_back(static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
  } else {
    out.push_back(static_cast<wchar_t>(c));
  }
}

std::string WideToUtf8(std::wstring_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t cp = static_cast<char32_t>(text[i]);
    if constexpr (sizeof(wchar_t) == 2) {
      if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() &&
          text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
        cp = 0x10000 + ((cp - 0xD800) << 10) + (static_cast<char32_t>(text[i + 1]) - 0xDC00);
        ++i;
      }
    }
    if (cp >= 0xD800 && cp <= 0xDFFF) cp = 0xFFFD;  // lone surrogate
    AppendUtf8(out, cp);
  }
  return out;
}

std::wstring Utf16LeToWide(std::string_view bytes) {
  std::wstring out;
  out.reserve(bytes.size() / 2);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const char16_t u = static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                             (static_cast<unsigned char>(bytes[i + 1]) << 8));
    if constexpr (sizeof(wchar_t) == 2) {
      out.push_back(static_cast<wchar_t>(u));
    } else {
      // Join surrogate pairs into one code point where wchar_t is 32 bits wide.
      if (u >= 0xDC00 && u <= 0xDFFF && !out.empty() && out.back() >= 0xD800 && out.back() <= 0xDBFF) {
        const char32_t hi = static_cast<char32_t>(out.back());
        out.back() = static_cast<wchar_t>(0x10000 + ((hi - 0xD800) << 10) + (u - 0xDC00));
      } else {
        out.push_back(static_cast<wchar_t>(u));
      }
    }
  }
  return out;
}

std::string WideToUtf16Le(std::wstring_view text) {
  std::string out;
  out.reserve(text.size() * 2);
  auto put = [&out](char16_t u) {
    out.push_back(static_cast<char>(u & 0xFF));
    out.push_back(static_cast<char>(u >> 8));
  };
  for (wchar_t c : text) {
    const char32_t cp = static_cast<char32_t>(c);
    if (cp >= 0x10000) {
      put(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
      put(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
    } else {
      put(static_cast<char16_t>(cp));
    }
  }
  return out;
}

namespace {

constexpr std::uint16_t kNoForm = kNoCp932Form;  // no second byte is 0xFF: no form has this value

// The form of every unit of the basic plane: a one-byte form as that byte, a
// two-byte form as lead * 256 + second byte (0x8140 and above), kNoForm for
// none. One conversion of all units at once gives it: each unit comes out as
// one character, or as the '?' that stands for a loss.
std::vector<std::uint16_t> BuildFormTable() {
  std::vector<std::uint16_t> table(0x10000, kNoForm);
  table[0] = 0;
  std::wstring all;
  all.reserve(0x10000);
  for (unsigned c = 1; c < 0x10000; ++c)
    if (c < 0xD800 || c > 0xDFFF) all.push_back(static_cast<wchar_t>(c));
  const Cp932Bytes out = WideToCp932(all);
  std::size_t k = 0, none = 0;
  bool aligned = true;
  for (wchar_t c : all) {
    if (k >= out.bytes.size()) {
      aligned = false;
      break;
    }
    const auto b = static_cast<unsigned char>(out.bytes[k]);
    if (IsLeadByte(b) && k + 1 < out.bytes.size()) {
      table[static_cast<std::size_t>(c)] =
          static_cast<std::uint16_t>(b << 8 | static_cast<unsigned char>(out.bytes[k + 1]));
      k += 2;
    } else {
      const bool lost = b == '?' && c != L'?';
      table[static_cast<std::size_t>(c)] = lost ? kNoForm : b;
      none += lost ? 1 : 0;
      k += 1;
    }
  }
  if (aligned && k == out.bytes.size() && none == out.lost) return table;
  // A conversion that does not keep one character per unit, or whose losses
  // are not all '?': one unit at a time.
  for (wchar_t c : all) {
    const Cp932Bytes one = WideToCp932(std::wstring_view(&c, 1));
    const auto& b = one.bytes;
    std::uint16_t form = kNoForm;
    if (one.lost == 0 && b.size() == 1) form = static_cast<unsigned char>(b[0]);
    if (one.lost == 0 && b.size() == 2)
      form = static_cast<std::uint16_t>(static_cast<unsigned char>(b[0]) << 8 | static_cast<unsigned char>(b[1]));
    table[static_cast<std::size_t>(c)] = form;
  }
  return table;
}

}  // namespace

const std::uint16_t* Cp932FormTable() {
  static const std::vector<std::uint16_t> table = BuildFormTable();
  return table.data();
}

Cp932Char Cp932FormOf(char32_t c) {
  Cp932Char r;
  if (c >= 0x10000) return r;
  const std::uint16_t form = Cp932FormTable()[c];
  if (form == kNoForm) return r;
  if (form > 0xFF) {
    r.bytes[0] = static_cast<unsigned char>(form >> 8);
    r.bytes[1] = static_cast<unsigned char>(form & 0xFF);
    r.length = 2;
  } else {
    r.bytes[0] = static_cast<unsigned char>(form);
    r.length = 1;
  }
  return r;
}

wchar_t FoldCase(wchar_t c) {
  if (c < 0x80) return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - 32) : c;
  if ((c >= 0xE0 && c <= 0xFE && c != 0xF7)) return static_cast<wchar_t>(c - 32);
  if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return static_cast<wchar_t>(c - 32);  // Greek
  if (c >= 0x430 && c <= 0x44F) return static_cast<wchar_t>(c - 32);                // Cyrillic
  if (c >= 0x450 && c <= 0x45F) return static_cast<wchar_t>(c - 80);
  if (c >= 0xFF41 && c <= 0xFF5A) return static_cast<wchar_t>(c - 32);              // full-width
  return c;
}

bool EqualsNoCase(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (a[i] != b[i] && FoldCase(a[i]) != FoldCase(b[i])) return false;
  return true;
}

}  // namespace velkor
