#pragma once
// The user's locale settings as texts.
#include <string>

#include "platform/win32.h"

namespace velkor {

// The setting's text; empty when the system has none.
std::wstring LocaleText(LCTYPE type);
// The thousands separator, "," when the locale names none.
std::wstring ThousandsSeparator();

}  // namespace velkor
