// Code page 932 through the system's own tables.
#include <windows.h>

#include "platform/text.h"

namespace velkor {

namespace {

void AppendConverted(std::wstring& out, std::string_view bytes) {
  if (bytes.empty()) return;
  const int n = MultiByteToWideChar(932, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  const std::size_t at = out.size();
  out.resize(at + static_cast<std::size_t>(n));
  MultiByteToWideChar(932, 0, bytes.data(), static_cast<int>(bytes.size()), out.data() + at, n);
}

}  // namespace

// Wine's converter stops at a NUL byte even when given the length, so the
// pieces between NULs are converted one by one.
std::wstring Cp932ToWide(std::string_view bytes) {
  std::wstring out;
  out.reserve(bytes.size());
  for (;;) {
    const auto nul = bytes.find('\0');
    AppendConverted(out, bytes.substr(0, nul));
    if (nul == std::string_view::npos) return out;
    out.push_back(L'\0');
    bytes.remove_prefix(nul + 1);
  }
}

Cp932Bytes WideToCp932(std::wstring_view text) {
  Cp932Bytes r;
  if (text.empty()) return r;
  // Convert piecewise only where needed: a whole-text conversion first, and a
  // character-by-character look only when the system reports a loss.
  BOOL used_default = FALSE;
  const int n = WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()),
                                    nullptr, 0, nullptr, &used_default);
  r.bytes.resize(static_cast<std::size_t>(n));
  used_default = FALSE;
  WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()), r.bytes.data(), n,
                      nullptr, &used_default);
  if (!used_default) return r;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const std::size_t len = (text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size()) ? 2 : 1;
    char buf[8];
    BOOL lost = FALSE;
    WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, text.data() + i, static_cast<int>(len), buf, sizeof buf,
                        nullptr, &lost);
    if (lost) {
      if (r.lost == 0) r.first_lost = i;
      ++r.lost;
    }
    i += len - 1;
  }
  return r;
}

}  // namespace velkor
