#include "support/frame_fixture.h"
#include <shlobj.h>

#include "controls/panel.h"
#include "state/settings.h"
#include "ui/app.h"

namespace velkor::test {

void FrameTest::SetUp() {
  static bool initialised = [] {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    return true;
  }();
  (void)initialised;
  SetSettingsFilePathForTesting(IniPath());
}

void FrameTest::TearDown() {
  DestroyFrame();
  SetSettingsFilePathForTesting(L"");
}

MainWindow& FrameTest::StartFrame(std::vector<std::wstring> args, int show_command) {
  frame_ = std::make_unique<MainWindow>(std::move(args));
  frame_->CreateForm();
  frame_->ShowForStartup(show_command);
  PumpFor(50);
  return *frame_;
}

void FrameTest::DestroyFrame() {
  if (!frame_) return;
  if (frame_->hwnd()) DestroyWindow(frame_->hwnd());
  // The quit message the window posts belongs to this test alone.
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) continue;
    DispatchMessageW(&msg);
  }
  frame_.reset();
}

std::wstring IniString(const std::wstring& path, const std::wstring& section, const std::wstring& key,
                       const std::wstring& def) {
  return Settings(path).ReadString(section, key, def);
}

void DropFiles(HWND target, const std::vector<std::wstring>& files) {
  size_t chars = 1;
  for (const auto& f : files) chars += f.size() + 1;
  HGLOBAL mem = GlobalAlloc(GHND, sizeof(DROPFILES) + chars * sizeof(wchar_t));
  auto* df = static_cast<DROPFILES*>(GlobalLock(mem));
  df->pFiles = sizeof(DROPFILES);
  df->fWide = TRUE;
  auto* p = reinterpret_cast<wchar_t*>(df + 1);
  for (const auto& f : files) {
    lstrcpyW(p, f.c_str());
    p += f.size() + 1;
  }
  *p = L'\0';
  GlobalUnlock(mem);
  SendMessageW(target, WM_DROPFILES, reinterpret_cast<WPARAM>(mem), 0);
}

POINT CentreOf(const SpeedButton& button) {
  const RECT r = button.rect();
  POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  ClientToScreen(button.host()->hwnd(), &p);
  return p;
}

std::wstring MenuText(HMENU menu, UINT id) {
  wchar_t buf[512] = {};
  GetMenuStringW(menu, id, buf, 512, MF_BYCOMMAND);
  return buf;
}

bool MenuEnabled(HMENU menu, UINT id) {
  const UINT state = GetMenuState(menu, id, MF_BYCOMMAND);
  return state != static_cast<UINT>(-1) && !(state & (MF_GRAYED | MF_DISABLED));
}

RegistrySandbox::RegistrySandbox() {
  base_ = L"Software\\VelkorTests\\" + std::to_wstring(GetCurrentProcessId());
  RegCreateKeyExW(HKEY_CURRENT_USER, (base_ + L"\\user").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &user_,
                  nullptr);
  RegCreateKeyExW(HKEY_CURRENT_USER, (base_ + L"\\machine").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                  &machine_, nullptr);
  RegOverridePredefKey(HKEY_CURRENT_USER, user_);
  RegOverridePredefKey(HKEY_LOCAL_MACHINE, machine_);
}

RegistrySandbox::~RegistrySandbox() {
  RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
  RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
  RegCloseKey(user_);
  RegCloseKey(machine_);
  RegDeleteTreeW(HKEY_CURRENT_USER, base_.c_str());
}

void RegistrySandbox::SetString(HKEY root, const std::wstring& key, const std::wstring& value,
                                const std::wstring& data) {
  HKEY h = nullptr;
  RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr);
  RegSetValueExW(h, value.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                 static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(h);
}

}  // namespace velkor::test
