// The friends window's launcher row: eight buttons, each with the picture of
// the file registered to it. Seven are registered by the user (a file of the
// list dropped on one, or the "指定登録" menu); the eighth always holds the
// file started last from the window. A click starts the button's file, with
// the selected document as its parameter.
#include "launcher/friends_window.h"

#include <shellapi.h>

#include "state/launch_paths.h"
#include "state/settings.h"
#include "launcher/browser_texts.h"
#include "launcher/friends_window_ids.h"
#include "launcher/file_items.h"
#include "platform/file_utils.h"
#include "ui/app.h"
#include "platform/error.h"
#include "ui/message_box.h"
#include "platform/path_names.h"
#include "platform/paths.h"

namespace velkor {
namespace {

// ".ICO" and ".BMP" files are their own picture (an empty picture when the
// file cannot be read); other files show their first icon, or the program's
// stand-in when they have none.
Picture ButtonPicture(const std::wstring& path) {
  const std::wstring kind = FileKindExtension(path);
  if (IsButtonPictureKind(kind))
    return kind == L".BMP" ? Picture::FromBitmap(LoadBitmapFile(path)) : Picture::FromIcon(LoadIconFile(path));
  if (const HICON first = FirstIconOf(path)) return Picture::FromIcon(first);
  return Picture::FromIcon(
      static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), L"SICON_2", IMAGE_ICON, 32, 32, 0)));
}

void StartButtonFile(const std::wstring& file, const std::wstring& parameters, HWND owner) {
  // An empty name would leave the shell to open whatever it guesses (the
  // current folder): a button without a registration starts nothing.
  if (file.empty()) return;
  ShellStart(file, parameters, DirectoryOfFile(file), SW_SHOWNORMAL, owner);
}

}  // namespace

void FriendsWindow::ShowButtonFile(int n, const std::wstring& path, bool must_load_picture) {
  Picture picture = ButtonPicture(path);
  if (picture.empty() && must_load_picture) throw Error(UnreadablePictureText(path));
  PictureBox& image = button_images_[static_cast<size_t>(n)];
  image.SetPicture(std::move(picture));
  const std::wstring name = FileNameOf(path);
  const std::wstring hint = ButtonHint(n, name);
  Application::Get().SetControlHint(image.hwnd(), hint);
  // A disabled image leaves the mouse, and so the tooltip, to the button beneath.
  launch_buttons_[static_cast<size_t>(n)].SetHint(hint);
  if (n < 7 && menu_) {
    const std::wstring caption = ButtonMenuCaption(n, name);
    ModifyMenuW(menu_, static_cast<UINT>(IDM_DIR_REGISTER1 + n), MF_BYCOMMAND | MF_STRING,
                static_cast<UINT_PTR>(IDM_DIR_REGISTER1 + n), caption.c_str());
  }
}

void FriendsWindow::RegisterToButton(int n) {
  const int sel = list_.Selected();
  if (sel < 0 || n < 0 || n > 7) return;
  const std::wstring path = AbsolutePath(list_.Text(sel));
  ShowButtonFile(n, path, true);
  button_files_[static_cast<size_t>(n)] = path;
  buttons_changed_ = true;
  Settings store;
  LaunchPaths written;
  written.Save(store, n, path);
}

void FriendsWindow::LoadButtonImage(int n) {
  const std::wstring& path = button_files_[static_cast<size_t>(n)];
  if (path.empty() || !FileExists(path)) return;
  // Reported at every activation, a picture file gone bad would raise its
  // error box again each time the box gave the window back its activation.
  ShowButtonFile(n, path, false);
}

void FriendsWindow::LoadButtonImages() {
  for (int n = 0; n < 8; ++n) LoadButtonImage(n);
}

void FriendsWindow::StartButton(int n) {
  if (n < 0 || n > 7) return;
  std::wstring parameters;
  const int sel = list_.Selected();
  if (sel >= 0) {
    const std::wstring document = list_.Text(sel);
    if (!IsProgramKind(FileKindExtension(document))) parameters = DocumentParameter(document);
  }
  StartButtonFile(button_files_[static_cast<size_t>(n)], parameters, hwnd());
}

void FriendsWindow::StartSelected() {
  if (list_.Selected() < 0) {
    ShowMessage(hwnd(), kNoSelectionToStartText, MessageKind::Plain, MB_OK);
    return;
  }
  RegisterToButton(7);
  StartButtonFile(button_files_[7], L"", hwnd());
  DisableButtonImages();
}

}  // namespace velkor
