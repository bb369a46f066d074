#include "frame/launch_row.h"

#include "platform/dpi.h"
#include "platform/file_utils.h"
#include "platform/path_names.h"
#include "platform/paths.h"
#include "platform/scoped.h"
#include "state/settings.h"
#include "ui/app.h"
#include "ui/form.h"
#include "ui/window_life.h"

namespace velkor {

void LaunchRow::Create(HWND parent, int id, const Panel::Look& look) {
  panel_.Create(parent, id, Scale(274), Scale(4), Scale(253), Scale(36), look);
}

bool LaunchRow::CreateButtons(Window& owner, int first_id, HWND command_target) {
  WindowLife life(owner);
  paths_.Load(Settings());
  ShowWindow(panel_.hwnd(), paths_.Any() ? SW_SHOW : SW_HIDE);
  Application::Get().ProcessMessages();
  for (int i = 0; i < kButtons; ++i) {
    if (!life.lives()) return false;
    SpeedButton& b = buttons_[static_cast<size_t>(i)];
    b.Create(panel_, first_id + i, Scale(i * 31 + 2), Scale(2), Scale(30), Scale(30), true, command_target);
    b.tag = i;
    b.SetHint(L"未登録 " + std::to_wstring(i + 1));
    Application::Get().ProcessMessages();
  }
  if (!life.lives() || !LoadPictures(owner)) return false;
  Arrange();
  return true;
}

bool LaunchRow::Reload(Window& owner) {
  paths_.Load(Settings());
  return LoadPictures(owner);
}

bool LaunchRow::ReloadAndShow(Window& owner) {
  if (!Reload(owner)) return false;
  ShowWindow(panel_.hwnd(), SW_SHOW);
  Arrange();
  return true;
}

void LaunchRow::Start(int index, HWND owner) const {
  BusyCursor busy;
  const std::wstring& entry = paths_.Path(index);
  // An empty name would leave the shell to guess (a folder, the current one,
  // is a shell's favourite): an unregistered button starts nothing.
  if (entry.empty()) return;
  std::wstring full(MAX_PATH, L'\0');
  const DWORD n = GetFullPathNameW(entry.c_str(), MAX_PATH, full.data(), nullptr);
  if (n == 0 || n >= MAX_PATH) return;
  full.resize(n);
  ShellStart(full, L"", FolderOf(full), SW_SHOWNORMAL, owner);
}

bool LaunchRow::LoadPictures(Window& owner) {
  // Messages go through once per icon: the window may close meanwhile.
  WindowLife life(owner);
  for (SpeedButton& b : buttons_) {
    const std::wstring& path = paths_.Path(b.tag);
    // A file that has gone keeps the glyph and hint it had.
    if (path.empty() || !FileExists(path)) continue;
    const std::wstring kind = FileKindExtension(path);
    bool drawn = false;
    if (kind == L".ICO") {
      ScopedIcon picture(LoadIconFile(path));
      if (picture) b.SetIconGlyph(picture.get());
      drawn = static_cast<bool>(picture);
    } else if (kind == L".BMP") {
      ScopedBitmap picture(LoadBitmapFile(path));
      if (picture) b.SetPictureGlyph(picture.get());
      drawn = static_cast<bool>(picture);
    }
    // A picture that does not load is shown like any other file.
    if (!drawn) {
      ScopedIcon own_icon(FirstIconOf(path));
      if (own_icon)
        b.SetIconGlyph(own_icon.get());
      else
        b.SetIconResourceGlyph(L"SICON_2");
    }
    b.SetHint(FileNameOf(path));
    Application::Get().ProcessMessages();
    if (!life.lives()) return false;
  }
  return true;
}

void LaunchRow::Arrange() {
  RECT prc{};
  GetClientRect(panel_.hwnd(), &prc);
  int button_w = 0;
  for (SpeedButton& b : buttons_) {
    const RECT r = b.rect();
    const int h = r.bottom - r.top;
    button_w = r.right - r.left;
    b.SetBounds(r.left, (prc.bottom - h) / 2, button_w, h);
  }
  RECT wr{};
  GetWindowRect(panel_.hwnd(), &wr);
  SetWindowPos(panel_.hwnd(), nullptr, 0, 0, kButtons * button_w + Scale(11), wr.bottom - wr.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace velkor
