#include "support/velkor_process.h"

#include "ui/window.h"

namespace velkor::test {

std::wstring BoxText(HWND box) {
  HWND text = GetDlgItem(box, 0xFFFF);
  return text ? WindowText(text) : L"";
}

HWND FindChild(HWND parent, const wchar_t* cls) {
  if (HWND direct = FindWindowExW(parent, nullptr, cls, nullptr)) return direct;
  for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    if (HWND deep = FindChild(c, cls)) return deep;
  return nullptr;
}

}  // namespace velkor::test
