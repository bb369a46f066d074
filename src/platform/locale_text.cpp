#include "platform/locale_text.h"

namespace velkor {

std::wstring LocaleText(LCTYPE type) {
  wchar_t buf[80] = {};
  const int n = GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buf, 80);
  return n > 1 ? std::wstring(buf, static_cast<size_t>(n - 1)) : std::wstring();
}

std::wstring ThousandsSeparator() {
  std::wstring separator = LocaleText(LOCALE_STHOUSAND);
  return separator.empty() ? L"," : separator;
}

}  // namespace velkor
