#include "wordsearch/search_window.h"

#include <algorithm>
#include "controls/window_dock.h"
#include "platform/dpi.h"
#include "platform/error.h"
#include "platform/text.h"
#include "state/settings.h"
#include "ui/app.h"
#include "ui/message_box.h"
#include "wordsearch/progress.h"
#include "wordsearch/setup_dialog.h"
#include "wordsearch/wordsearch_ids.h"

// The search window's answers to its controls: the check boxes, the buttons, the keys of the keyword box and of the result list, the pop-up menu.
namespace velkor {

void SearchWindow::SaveSearchSettings() {
  settings_.font_size = FontSize();
  Settings ini;
  settings_.Save(ini);
}

// Hints.
void SearchWindow::ShowHint() { SetStatusText(1, Application::Get().hint()); }

void SearchWindow::SpeedBarMouseMove() {
  InstallHintHandler([this] { ShowHint(); });
}

// Tool bar handlers.
void SearchWindow::ToggleCaseSensitivity() {
  // The search holds the setting it started with and restores it at its end.
  if (working()) return;
  case_sensitive_ = !case_sensitive_;
  if (!case_sensitive_) {
    label1_.SetText(L"検索(A=a)");
    Application::Get().SetControlHint(label1_.hwnd(), kCaseInsensitiveHint);
  } else {
    label1_.SetText(L"検索(A≠a)");
    Application::Get().SetControlHint(label1_.hwnd(), kCaseSensitiveHint);
  }
}

void SearchWindow::DirectoryCheckClicked(int tag) {
  settings_.dirs.checked[static_cast<size_t>(tag)] = Button(dir_checks_[static_cast<size_t>(tag)]).checked();
  SetFocus(keyword_box_);
}

void SearchWindow::ClassCheckClicked(int tag) {
  settings_.classes[static_cast<size_t>(tag)] = Button(ext_checks_[static_cast<size_t>(tag)]).checked();
  RebuildExtTable();
  SetFocus(keyword_box_);
}

void SearchWindow::RebuildExtTable() {
  std::array<bool, kExtClasses> checked{};
  for (size_t n = 1; n <= kExtClasses; ++n) checked[n - 1] = settings_.classes[n];
  ext_table_ = BuildExtTable(checked);
}

void SearchWindow::ReturnFocusToKeyword() { SetFocus(keyword_box_); }

void SearchWindow::ApplyFontSize() {
  ApplyFont(FontSize());
  SetHeaderWidths();
}

void SearchWindow::ShowSetupDialog() {
  if (working()) return;
  SetupDialog setup;
  setup.CentreOver(hwnd());
  setup.SetRegistration(settings_.dirs);
  // The main window may close while the dialog is up, and this window with it.
  WindowLife life(*this);
  if (setup.DoModal(hwnd()) != IDOK || !life.lives()) return;
  settings_.dirs = setup.Registration();
  ShowDirChecks();
}

void SearchWindow::CloseSearchWindow() {
  SendMessageW(hwnd(), WM_CLOSE, 0, 0);
}

// The keyword box and the result list.
bool SearchWindow::KeywordKeyPress(WPARAM ch) {
  if (ch == VK_RETURN) {
    StartSearch();
    return true;
  }
  if (ch == VK_ESCAPE) {
    SetWindowTextW(keyword_box_, L"");
    SetStatusText(2, L"");
    return true;
  }
  return false;
}

bool SearchWindow::ResultListKeyPress(WPARAM ch) {
  if (ch == VK_ESCAPE) {
    ClearList();
    file_button_.SetEnabled(false);
    SetCaption(L"");
    SetFocus(keyword_box_);
    return true;
  }
  if (ch == VK_RETURN && SelectedIndex() >= 0) {
    ViewSelectedHit();
    return true;
  }
  return false;
}

void SearchWindow::FileListKeyOrMouse(UINT msg) {
  switch (msg) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      ShowHitPos();
      break;
  }
}

void SearchWindow::ShowHitPos() {
  const int i = SelectedIndex();
  if (i < 0 || i >= static_cast<int>(hits_.size())) return;
  SetCaption(L" View Source  -  " + hits_[static_cast<size_t>(i)].path);
  SetStatusText(2, std::to_wstring(i + 1) + L" / " + std::to_wstring(hit_count_));
}

int SearchWindow::SelectedIndex() const { return file_list_.Selected(); }

void SearchWindow::ClearList() {
  file_list_.Clear();
  hits_.clear();
  list_extent_ = 0;
  // A search sets the extent when it ends; moving the scroll bar to and fro
  // would cost more than the whole search of a small tree.
  if (!working()) UpdateListExtent();
  if (header_shift_ != 0) Layout();
}

void SearchWindow::EnableResultPopupItems() { SetMenuItemEnabled(popup2_.get(), IDM_SEA_OPEN1, SelectedIndex() >= 0); }

void SearchWindow::SelectFirstHit() {
  if (file_list_.Count() > 0) file_list_.Select(0);
}

void SearchWindow::SelectLastHit() {
  if (const int n = file_list_.Count(); n > 0) file_list_.Select(n - 1);
}

void SearchWindow::SetMenuItemEnabled(HMENU menu, int id, bool enabled) {
  if (menu) EnableMenuItem(menu, static_cast<UINT>(id), MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

void SearchWindow::SetStatusText(int panel, const std::wstring& text) {
  status_bar_.SetText(panel - 1, text);
}

std::wstring SearchWindow::StatusText(int panel) const {
  return status_bar_.Text(panel - 1);
}

void SearchWindow::SetCaption(const std::wstring& caption) { SetWindowTextW(hwnd(), caption.c_str()); }

}  // namespace velkor
