#include "frame/main_window.h"

#include <shellapi.h>
#include "controls/window_dock.h"
#include "state/doc_settings.h"
#include "editor/editor_ids.h"
#include "editor/editor_window.h"
#include "editor/recovery_journal.h"
#include "editor/recovery_offer.h"
#include "frame/about.h"
#include "ui/main_frame_ids.h"
#include "frame/frame_logic.h"
#include "state/settings.h"
#include "launcher/friends_window.h"
#include "platform/file_utils.h"
#include "ui/app.h"
#include "platform/dpi.h"
#include "platform/error.h"
#include "ui/message_box.h"
#include "ui/messages.h"
#include "platform/path_names.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "ui/window_life.h"
#include "wordsearch/search_window.h"

// The main window's editors: opening and creating them, the recent files,
// arranging them, and the copies a run that did not end cleanly left.
namespace velkor {

void MainWindow::OfferLeftCopies() {
  if (!journal_) return;
  RecoveryJournal::Left left = journal_->FindLeft();
  WindowLife life(*this);
  if (!left.damaged.empty()) {
    ShowMessage(hwnd(), DamagedCopiesText(left.damaged), MessageKind::Warning);
    if (!life.lives()) return;
  }
  if (left.copies.empty()) return;
  std::stable_sort(left.copies.begin(), left.copies.end(), [](const auto& a, const auto& b) {
    return a.copy.written_at < b.copy.written_at;
  });
  std::vector<OfferedCopy> offered;
  for (const auto& left_copy : left.copies) {
    const std::uint64_t t = left_copy.copy.written_at;
    FILETIME utc{static_cast<DWORD>(t & 0xFFFFFFFFu), static_cast<DWORD>(t >> 32)};
    FILETIME local{};
    SYSTEMTIME st{};
    FileTimeToLocalFileTime(&utc, &local);
    FileTimeToSystemTime(&local, &st);
    offered.push_back(OfferOf(left_copy.copy, CopyTimeText(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute,
                                                           st.wSecond)));
  }
  const int answer = ShowMessage(hwnd(), RecoveryQuestion(offered), MessageKind::Confirmation, MB_YESNO);
  if (!life.lives()) return;
  std::vector<std::wstring> done = left.debris;
  if (answer == IDYES) {
    for (const auto& left_copy : left.copies) {
      const RecoveryCopy& copy = left_copy.copy;
      EditorWindow* child = nullptr;
      try {
        if (copy.path.empty()) {
          child = NewChild();
        } else {
          RestoreAll();
          child = EditorWindow::Make(*this, 0, FileNameOf(copy.path));
          ApplyChildSettings(*child, copy.path);
          SetChildMargins(*child);
        }
        child->Restore(copy);
        done.push_back(left_copy.file);
      } catch (...) {
        // This copy stays for the next start; the window that could not take it goes.
        if (child) child->Discard();
        Application::Get().ReportCurrentException();
        if (!life.lives()) return;
      }
    }
  } else {
    if (ShowMessage(hwnd(), DiscardQuestion(left.copies.size()), MessageKind::Confirmation, MB_YESNO) != IDYES ||
        !life.lives())
      return;
    for (const auto& left_copy : left.copies) done.push_back(left_copy.file);
  }
  if (journal_) journal_->RemoveFilesLater(std::move(done));
}

// The drop: text and backup files open in editor windows, anything else is
// started through the shell.
void MainWindow::OnDropFiles(HDROP drop) {
  BusyCursor busy;
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  std::vector<std::wstring> names;
  for (UINT i = 0; i < count; ++i) {
    const UINT len = DragQueryFileW(drop, i, nullptr, 0);
    std::wstring name(len + 1, L'\0');
    DragQueryFileW(drop, i, name.data(), len + 1);
    name.resize(len);
    names.push_back(std::move(name));
  }
  DragFinish(drop);
  for (const std::wstring& name : names) {
    if (IsEditableDrop(name)) {
      OpenDocument(name, name, 0, true);
      if (IsIconic(hwnd())) ShowWindow(hwnd(), SW_RESTORE);
    } else {
      ShellStart(name, L"", FolderOf(name), SW_SHOWNORMAL, hwnd());
    }
  }
}

// Documents are known by their absolute paths: the current directory
// changes (help does), and the recent list and settings sections must name
// the same file later. The file is read before its window is made, so a file
// that cannot open leaves no window behind that a save could write over it
// from; one whose text the window cannot take closes it again.
EditorWindow* MainWindow::OpenDocument(const std::wstring& given, const std::wstring& section, int tag, bool margins) {
  const std::wstring path = AbsolutePath(given);
  const EditorWindow::ReadFile doc = EditorWindow::ReadDocument(path);
  EditorWindow* child = EditorWindow::Make(*this, tag, FileNameOf(path));
  try {
    ApplyChildSettings(*child, section == given ? path : section);
    if (margins) SetChildMargins(*child);
    child->OpenF(path, doc);
  } catch (...) {
    if (child->file_path().empty()) child->Discard();
    throw;
  }
  return child;
}

std::vector<EditorWindow*> MainWindow::Editors() const {
  std::vector<EditorWindow*> list;
  if (!client_) return list;
  for (HWND w = GetWindow(client_, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
    if (GetWindow(w, GW_OWNER)) continue;  // icon titles
    if (EditorWindow* e = EditorWindow::FromHandle(w)) list.push_back(e);
  }
  return list;
}

EditorWindow* MainWindow::ActiveEditor() const {
  if (!client_) return nullptr;
  return EditorWindow::FromHandle(reinterpret_cast<HWND>(SendMessageW(client_, WM_MDIGETACTIVE, 0, 0)));
}

void MainWindow::RefreshLaunchRow() {
  if (launch_row_.Reload(*this)) SetWindowTextW(hwnd(), kTitle);
}

void MainWindow::ReloadLaunchBar() {
  if (launch_row_.ReloadAndShow(*this)) SetWindowTextW(hwnd(), kTitle);
}

// Recent files.
void MainWindow::LoadUsedFiles(int count) {
  recent_files_.Load(Settings(), count);
  ShowUsedFiles();
}

void MainWindow::ShowUsedFiles() {
  for (int n = 1; n <= RecentFileList::kSlots; ++n)
    ModifyMenuW(GetSubMenu(menu_, 0), IDM_USEDFILE1 + n - 1, MF_BYCOMMAND | MF_STRING, IDM_USEDFILE1 + n - 1,
                recent_files_.Caption(n).c_str());
  // The editors mirror the items in their File menus.
  for (EditorWindow* e : Editors()) e->FillRecentFileItems();
}

void MainWindow::NoteSavedFile(const std::wstring& path) {
  Settings ini;
  try {
    if (!recent_files_.NoteSaved(ini, path)) return;
  } catch (...) {
    // The menu shows the slots moved before the refusal, as the list holds them.
    ShowUsedFiles();
    throw;
  }
  ShowUsedFiles();
}

void MainWindow::OpenRecentFile(int n) {
  if (n < 1 || n > RecentFileList::kSlots) return;
  const std::wstring path = recent_files_.Entry(n);
  if (path == RecentFileList::kNoSet || path.empty()) return;
  if (FileExists(path)) {
    BusyCursor busy;
    OpenDocument(path, path, 0, true);
    return;
  }
  const std::wstring text = L"指定のファイルが見つかりません。\r\n\r\n" + FileNameOf(path) +
                            L" を削除か、移動されませんでしたか ?\r\n\r\nそれともネットワークでの使用ですか ?\r\n\r\n"
                            L"設定を消去しますか ?";
  WindowLife life(*this);
  if (ShowMessage(hwnd(), text, MessageKind::Information, MB_YESNO) != IDYES || !life.lives()) return;
  Settings ini;
  try {
    recent_files_.Forget(ini, n);
  } catch (...) {
    ShowUsedFiles();
    throw;
  }
  ShowUsedFiles();
}

// Editor windows.
EditorWindow* MainWindow::NewChild() {
  RestoreAll();
  const int number = untitled_numbers_.Next();
  EditorWindow* child = EditorWindow::Make(*this, number, L" NewFile " + std::to_wstring(number));
  ApplyChildSettings(*child, L"ChildNo" + std::to_wstring(number) + L"FontSelect");
  SetChildMargins(*child);
  ShowWindow(child->memo().hwnd(), SW_SHOW);
  SetFocus(child->memo().hwnd());
  return child;
}

EditorWindow* MainWindow::OpenChosenDocument() {
  static std::wstring last_name;  // the dialog keeps its file name between uses
  const std::wstring remembered = Settings().ReadString(L"LastUse", L"File", L"*.txt");
  if (remembered != L"*.txt") last_name = FileExists(remembered) ? remembered : L"*.txt";

  static const wchar_t kFilter[] =
      L"ﾃｷｽﾄ ﾌｧｲﾙ (*.TXT)\0*.TXT\0ﾊﾞｯｸ ﾌｧｲﾙ (*.BAK)\0*.BAK\0ﾛｸﾞ ﾌｧｲﾙ  (*.LOG)\0*.LOG\0全てのﾌｧｲﾙ (*.*)\0*.*\0";
  std::vector<wchar_t> buf(32768, L'\0');
  lstrcpynW(buf.data(), last_name.c_str(), static_cast<int>(buf.size()));
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = hwnd();
  ofn.lpstrFilter = kFilter;
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = buf.data();
  ofn.nMaxFile = static_cast<DWORD>(buf.size());
  ofn.Flags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_EXPLORER | OFN_ENABLESIZING;
  if (!GetOpenFileNameW(&ofn)) return nullptr;
  const std::wstring chosen = buf.data();
  last_name = chosen;
  RestoreAll();
  BusyCursor busy;
  return OpenDocument(chosen, chosen, 0, true);
}

void MainWindow::ApplyChildSettings(EditorWindow& child, const std::wstring& section) {
  RECT wr{};
  GetWindowRect(hwnd(), &wr);
  FontSpec font = child.memo().font();
  const DocSettings doc = DocSettings::Load(
      Settings(), section,
      DocSettings::Defaults(wr.right - wr.left, wr.bottom - wr.top, font.name, font.size, static_cast<int>(font.color)));
  SetWindowPos(child.hwnd(), nullptr, 0, 0, doc.form_width, doc.form_height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  // The text area fills the window, so its stored size has nothing to change.
  child.ApplyWordWrap(doc.word_wrap);
  font.name = doc.font_name;
  font.size = doc.font_size;
  font.color = static_cast<COLORREF>(doc.font_color);
  font.style = doc.font_style & 15;
  child.memo().SetFont(font);
}

void MainWindow::SetChildMargins(EditorWindow& child) { child.SetTextMargins(); }

void MainWindow::TileEditors() {
  // The mode alternates, starting with the vertical one.
  tile_vertical_ = !tile_vertical_;
  SendMessageW(client_, WM_MDITILE, tile_vertical_ ? MDITILE_VERTICAL : MDITILE_HORIZONTAL, 0);
}

void MainWindow::CascadeEditors() { SendMessageW(client_, WM_MDICASCADE, 0, 0); }
void MainWindow::ArrangeIcons() { SendMessageW(client_, WM_MDIICONARRANGE, 0, 0); }
void MainWindow::ActivateNextEditor() { SendMessageW(client_, WM_MDINEXT, 0, 0); }

void MainWindow::MinimizeAll() {
  const auto editors = Editors();
  for (auto it = editors.rbegin(); it != editors.rend(); ++it) ShowWindow((*it)->hwnd(), SW_MINIMIZE);
}

void MainWindow::RestoreAll() {
  BusyCursor busy;
  for (EditorWindow* e : Editors()) SendMessageW(client_, WM_MDIRESTORE, reinterpret_cast<WPARAM>(e->hwnd()), 0);
}

void MainWindow::MaximizeActive() {
  if (EditorWindow* e = ActiveEditor()) SendMessageW(client_, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(e->hwnd()), 0);
}

void MainWindow::UpdateMenuItems() {
  const bool e = !Editors().empty();
  window_commands_enabled_ = e;
  const UINT flags = e ? MF_ENABLED : MF_GRAYED;
  EnableMenuItem(menu_, 1, MF_BYPOSITION | flags);
  for (int id : {IDM_CASCADE1, IDM_TILE1, IDM_ARRANGEICONS1, IDM_NEXTCHILDFORM, IDM_ICONMINI, IDM_NORMALSIZE,
                 IDM_MAXMIZE})
    EnableMenuItem(window_menu_, static_cast<UINT>(id), MF_BYCOMMAND | flags);
  for (int id : {IDM_CASCADE1, IDM_TILE1, IDM_ICONMINI, IDM_NORMALSIZE}) tool_button(id).SetEnabled(e);
  DrawMenuBar(hwnd());
}

}  // namespace velkor
