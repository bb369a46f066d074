#include "launcher/friends_window.h"

#include <imm.h>
#include <windowsx.h>
#include <algorithm>
#include <cwctype>
#include "controls/window_dock.h"
#include "state/launch_paths.h"
#include "ui/main_frame.h"
#include "launcher/browser_texts.h"
#include "launcher/friends_window_ids.h"
#include "launcher/file_items.h"
#include "ui/app.h"
#include "platform/dir_walk.h"
#include "platform/dpi.h"
#include "platform/error.h"
#include "ui/message_box.h"

// The friends window's folder: the drive tabs, the tree's choice and the listing of its files.
namespace velkor {
namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

}  // namespace

void FriendsWindow::RememberTab(int) { previous_tab_ = tabs_.TabIndex(); }

void FriendsWindow::ChangeDrive() {
  for (;;) {
    const int index = tabs_.TabIndex();
    if (index < 0) return;
    const wchar_t letter = tabs_.Caption(index)[0];
    const std::wstring remembered = tree_.GetSelectedPath();
    {
      BusyCursor busy;
      NoRedraw frozen(list_.hwnd());
      if (!IsWindowVisible(info_panel_.hwnd()) || !IsWindowVisible(tree_panel_.hwnd()) ||
          !IsWindowVisible(button_row_.hwnd())) {
        ShowWindow(info_panel_.hwnd(), SW_SHOW);
        ShowWindow(tree_panel_.hwnd(), SW_SHOW);
        ShowWindow(button_row_.hwnd(), SW_SHOW);
        FormResize();
      }
      if (DriveReady(letter)) {
        navigating_ = true;
        tree_.SetDrive(letter);
        if (HTREEITEM root = tree_.tree().Root()) tree_.tree().Select(root);
        navigating_ = false;
        ListDirectory(tree_.GetSelectedPath());
        return;
      }
    }
    const std::wstring text =
        std::wstring(1, letter) + L"：ドライブ の用意ができていないようです。\r\nセットして再試行しますか ？";
    WindowLife life(*this);
    const int answer = MessageBoxW(hwnd(), text.c_str(), L"ベルコノート", MB_YESNO | MB_ICONQUESTION | MB_TASKMODAL);
    if (!life.lives()) return;
    if (answer == IDYES) continue;
    ShowWindow(list_.hwnd(), SW_HIDE);
    tabs_.SetTabIndex(previous_tab_);
    tree_.SelectPath(remembered);
    if (HTREEITEM selected = tree_.tree().Selected())
      SendMessageW(tree_.hwnd(), TVM_SELECTITEM, TVGN_FIRSTVISIBLE, reinterpret_cast<LPARAM>(selected));
    ShowWindow(list_.hwnd(), SW_SHOW);
    return;
  }
}

bool FriendsWindow::DriveReady(wchar_t letter) {
  letter = static_cast<wchar_t>(std::towupper(letter));
  const UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS);
  const wchar_t root[] = {letter, L':', L'\\', 0};
  ULARGE_INTEGER total{};
  bool ready = GetDiskFreeSpaceExW(root, nullptr, &total, nullptr) != FALSE;
  if (ready) {
    const std::wstring pattern = std::wstring(root) + L"*.*";
    WIN32_FIND_DATAW found{};
    HANDLE h = FindFirstFileW(pattern.c_str(), &found);
    ready = h != INVALID_HANDLE_VALUE;
    if (ready) FindClose(h);
  }
  SetErrorMode(previous);
  return ready;
}

void FriendsWindow::ListChosenDirectory(const std::wstring& dir) {
  if (navigating_) return;
  ListDirectory(dir);
}

void FriendsWindow::ShowCounter(const std::wstring& text) {
  counter_shown_at_ = GetTickCount();
  counter_panel_.SetText(text);
  UpdateWindow(counter_panel_.hwnd());
}

void FriendsWindow::SetFilePanel(const std::wstring& text, COLORREF color) {
  Panel::Look look = file_panel_.look();
  if (look.text_color != color) {
    look.text_color = color;
    file_panel_.SetLook(look);
  }
  file_panel_.SetText(text);
}

bool FriendsWindow::RefusePathMask() {
  if (!MaskHoldsPath(WindowText(mask_box_))) return false;
  WindowLife life(*this);
  ShowMessage(hwnd(), kPathMaskText, MessageKind::Plain, MB_OK);
  if (life.lives()) SetWindowTextW(mask_box_, L"*.*");
  return true;
}

bool FriendsWindow::ListDirectory(const std::wstring& dir) {
  {
    // Listed with such a mask, files of another folder would stand under
    // this one's name, and every command on them would reach a file of this one.
    WindowLife life(*this);
    RefusePathMask();
    if (!life.lives()) return false;
  }
  if (working()) {
    // The user moved on while the list was filling: that listing is of no
    // more use; this one follows when it has stopped.
    pending_dir_ = dir;
    has_pending_ = true;
    RequestStop();
    return true;
  }
  WindowLife life(*this);
  has_pending_ = false;
  ListOnce(dir);
  return ListPending(life);
}

bool FriendsWindow::ListPending(const WindowLife& life) {
  while (life.lives() && has_pending_) {
    has_pending_ = false;
    const std::wstring next = pending_dir_;  // a listing asked for meanwhile replaces it
    ListOnce(next);
  }
  return life.lives();
}

void FriendsWindow::ListOnce(const std::wstring& dir) {
  file_count_ = 0;
  total_bytes_ = 0;
  BusyCursor busy;
  if (WindowText(mask_box_).empty()) SetWindowTextW(mask_box_, L"*.*");
  counter_panel_.SetText(tree_.GetSelectedPath());
  thumbnail_.Clear();
  ShowWindow(thumbnail_.hwnd(), SW_HIDE);
  file_panel_.SetText(L"");
  info_panel_.SetText(kChooseFileText);
  const std::wstring base = WithBackslash(dir);
  file_mask_ = BulkSearchMask(WindowText(mask_box_));
  list_.ClearPictures();
  list_.SetSorted(true);
  WindowLife life(*this);
  {
    NoRedraw frozen(list_.hwnd());
    list_.Clear();
    item_sizes_.clear();
    Work work(*this);
    counter_shown_at_ = GetTickCount();
    SystemDirSource().List(base + file_mask_, [&](const DirEntry& e) {
      if (e.directory()) return true;
      std::wstring item = base;
      item.append(e.name);
      list_.Add(item);
      ++file_count_;
      total_bytes_ += static_cast<long long>(e.size);
      item_sizes_.insert_or_assign(std::move(item), static_cast<long long>(e.size));
      // The counter is shown at the first file and then a few times a
      // second: painting it for every file would cost more than the listing
      // itself. Messages go through each time, so the windows answer.
      if (file_count_ == 1 || GetTickCount() - counter_shown_at_ >= 200) {
        ShowCounter(LineCounterText(L"", file_count_));
        Application::Get().ProcessMessages();
      }
      return !stop_requested();
    });
  }
  if (!life.lives()) return;
  if (file_count_ != 0) {
    // Until a file is counted the panel keeps the directory's path.
    ShowCounter(LineCounterText(L"", file_count_));
    SetFilePanel(FoundFilesText(file_count_), kBlack);
    SetWindowTextW(hwnd(), TotalsCaption(list_.Count(), total_bytes_).c_str());
  } else {
    SetFilePanel(kNoFilesText, kBlue);
    SetWindowTextW(hwnd(), kFriendsCaption);
    info_panel_.SetText(kChooseDirText);
  }
  ShowWindow(list_.hwnd(), SW_SHOW);
}

}  // namespace velkor
