#include "wordsearch/setup_dialog.h"

#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <cwctype>

#include "platform/locale_text.h"
#include "platform/number_format.h"
#include "platform/path_names.h"
#include "state/settings.h"
#include "ui/app.h"
#include "ui/message_box.h"
#include "ui/messages.h"
#include "ui/window.h"
#include "ui/window_life.h"
#include "wordsearch/progress.h"
#include "wordsearch/search_window.h"
#include "wordsearch/wordsearch_ids.h"

namespace velkor {

namespace {

constexpr int kClientWidth = 572;
constexpr int kClientHeight = 423;
constexpr int kTopHeight = 185;
constexpr int kStatusHeight = 20;
constexpr COLORREF kNavy = RGB(0, 0, 128);
constexpr COLORREF kBlue = RGB(0, 0, 255);

bool SameDir(const std::wstring& a, const std::wstring& b) {
  return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), static_cast<int>(a.size()), b.c_str(),
                        static_cast<int>(b.size())) == CSTR_EQUAL;
}

// Files whose icon is their own, not their extension's.
bool HasOwnIcon(const std::wstring& ext) {
  for (const wchar_t* e : {L".exe", L".ico", L".lnk", L".cur", L".ani", L".scr", L".url"})
    if (ext == e) return true;
  return false;
}

std::wstring Extension(const std::wstring& name) {
  const auto dot = name.rfind(L'.');
  std::wstring ext = dot == std::wstring::npos ? L"" : name.substr(dot);
  for (auto& c : ext) c = static_cast<wchar_t>(std::towlower(c));
  return ext;
}

// The directory last listed, over every opening of the dialog in this run.
std::wstring g_last_handled;

}  // namespace

SetupDialog::SetupDialog() : Dialog(L"SETUPFORM") { RegisterDialogClass(L"TSetupForm"); }

SetupDialog::~SetupDialog() = default;

void SetupDialog::SetRegistration(const DirRegistration& data) {
  data_ = data;
  if (!hwnd()) return;
  setting_checks_ = true;
  for (int n = 1; n <= 6; ++n) SetChecked(IDC_SETUP_CHECK1 + n - 1, data.checked[static_cast<size_t>(n)]);
  for (int n = 1; n <= 6; ++n) SetItemText(IDC_SETUP_DIR1 + n - 1, data.path[static_cast<size_t>(n)]);
  setting_checks_ = false;
}

DirRegistration SetupDialog::Registration() const {
  if (!hwnd()) return data_;
  DirRegistration d;
  for (int n = 1; n <= 6; ++n) {
    d.checked[static_cast<size_t>(n)] = Checked(IDC_SETUP_CHECK1 + n - 1);
    d.path[static_cast<size_t>(n)] = WithBackslash(ItemText(IDC_SETUP_DIR1 + n - 1));
  }
  return d;
}

bool SetupDialog::OnInitDialog() {
  RECT frame{0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&frame, WindowStyle(hwnd()), FALSE, WindowExStyle(hwnd()));
  SetWindowPos(hwnd(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (centre_over_) {
    RECT over, self;
    GetWindowRect(centre_over_, &over);
    GetWindowRect(hwnd(), &self);
    const int w = self.right - self.left, h = self.bottom - self.top;
    const int left = over.left + (over.right - over.left - w) / 2, top = over.top + (over.bottom - over.top - h) / 2;
    // Centred over a window near the screen's edge, OK and Cancel would lie
    // beyond it: the dialog stays on the work area of that screen.
    const RECT place = KeptOnWorkArea(RECT{left, top, left + w, top + h});
    SetWindowPos(hwnd(), nullptr, place.left, place.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  tree_.Create(hwnd(), IDC_SETUP_TREE, 0, kTopHeight, tree_width_, 10, TVS_SHOWSELALWAYS);
  SendMessageW(tree_.hwnd(), TVM_SETINDENT, 20, 0);
  tree_.on_change = [this](const std::wstring& path) { ChooseDirectory(path); };
  tree_.on_click = [this](const std::wstring&) { TreeClicked(); };

  HWND list = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                              WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS |
                                  LVS_NOSORTHEADER,
                              0, 0, 10, 10, hwnd(), reinterpret_cast<HMENU>(IDC_LIST), GetModuleHandleW(nullptr),
                              nullptr);
  list_keys_.Attach(list);
  ListView lv(list);
  lv.SetExtendedStyle(LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  lv.InsertColumn(0, L"FileName", 120);
  lv.InsertColumn(1, L"Size", 80, LVCFMT_RIGHT);
  lv.InsertColumn(2, L"Date", 70);

  status_ = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, hwnd(),
                            reinterpret_cast<HMENU>(IDC_SETUP_STATUS), GetModuleHandleW(nullptr), nullptr);
  int edges[2] = {350, -1};
  SendMessageW(status_, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(edges));

  split_.Create(hwnd(), IDC_SETUP_SPLIT);
  split_.SetHost(tree_.hwnd(), SplitAlign::Left);
  split_.on_end_sizing = [this](SplitPanel&) {
    RECT r;
    GetWindowRect(tree_.hwnd(), &r);
    tree_width_ = r.right - r.left;
    Layout();
  };
  Layout();
  SetRegistration(data_);

  // The tree of the current drive; the list stays empty until a click in the tree.
  FillDrives();
  ShowChosenDrive();
  return true;
}

void SetupDialog::Layout() {
  auto place = [this](int id, int x, int y, int w, int h) { MoveWindow(Item(id), x, y, w, h, TRUE); };
  place(IDC_SETUP_GROUP, 6, 2, 402, 180);
  for (int n = 0; n < 6; ++n) {
    const int y = 22 + n * 26;
    place(IDC_SETUP_CHECK1 + n, 14, y, 50, 20);
    place(IDC_SETUP_DIR1 + n, 66, y, 296, 20);
    place(IDC_SETUP_NUMBER1 + n, 368, y, 32, 20);
  }
  place(IDC_SETUP_DRIVES, 414, 10, 152, 200);
  place(IDC_SETUP_LABEL1, 414, 40, 152, 58);
  place(IDOK, 440, 104, 100, 24);
  place(IDCANCEL, 440, 130, 100, 24);
  place(IDC_SETUP_HELP, 440, 156, 100, 24);
  const int pane_height = kClientHeight - kTopHeight - kStatusHeight;
  const int w = std::clamp(tree_width_, 0, kClientWidth - SplitPanel::kThickness - 8);
  MoveWindow(tree_.hwnd(), 0, kTopHeight, w, pane_height, TRUE);
  MoveWindow(split_.hwnd(), w, kTopHeight, SplitPanel::kThickness, pane_height, TRUE);
  const int list_x = w + SplitPanel::kThickness;
  MoveWindow(Item(IDC_LIST), list_x, kTopHeight, kClientWidth - list_x, pane_height, TRUE);
  MoveWindow(status_, 0, kClientHeight - kStatusHeight, kClientWidth, kStatusHeight, TRUE);
}

void SetupDialog::FillDrives() {
  ComboBox drives(Item(IDC_SETUP_DRIVES));
  wchar_t current[MAX_PATH] = L"";
  GetCurrentDirectoryW(MAX_PATH, current);
  const wchar_t here = static_cast<wchar_t>(std::towupper(current[0]));
  const DWORD mask = GetLogicalDrives();
  for (int i = 0; i < 26; ++i) {
    if (!(mask & (1u << i))) continue;
    const wchar_t letter = static_cast<wchar_t>(L'A' + i);
    const int index = drives.Add(std::wstring{static_cast<wchar_t>(L'a' + i), L':'});
    if (letter == here) drives.Select(index);
  }
  if (drives.Selected() < 0) drives.Select(0);
}

void SetupDialog::ShowChosenDrive() {
  ComboBox drives(Item(IDC_SETUP_DRIVES));
  const std::wstring text = drives.Text(drives.Selected());
  listing_enabled_ = false;
  if (!text.empty()) tree_.SetDrive(text[0]);
}

void SetupDialog::ListAsClicked(const std::wstring& path) {
  listing_enabled_ = true;
  ChooseDirectory(path);
}

void SetupDialog::TreeClicked() {
  // The tree reports the click before it moves its selection: the node under
  // the pointer is the one to list, and a click beside a node (its expand
  // button, the empty space) lists nothing.
  const DWORD at = GetMessagePos();
  TVHITTESTINFO hit{};
  hit.pt = POINT{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
  ScreenToClient(tree_.hwnd(), &hit.pt);
  const auto node = reinterpret_cast<HTREEITEM>(SendMessageW(tree_.hwnd(), TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  if (!node || !(hit.flags & TVHT_ONITEM)) return;
  listing_enabled_ = true;
  // Another node: the change that follows lists it. The selected one is
  // listed once the tree has done with the click: a listing lets messages
  // through, and a selection the user makes meanwhile must not be undone by
  // the end of this click.
  if (node == tree_.tree().Selected()) PostMessageW(hwnd(), kListClickedNode, 0, reinterpret_cast<LPARAM>(node));
}

void SetupDialog::ChooseDirectory(const std::wstring& path) {
  SetItemText(IDC_SETUP_LABEL1, path);
  chosen_ = path;
  if (working()) {
    // The user moved on while the list was being filled: that listing is
    // of no more use. It stops, and the directory chosen last follows it.
    RequestStop();
    list_pending_ = true;
    return;
  }
  WindowLife life(*this);
  ShowDirectory(path);
  while (life.lives() && list_pending_) {
    list_pending_ = false;
    ShowDirectory(chosen_);
  }
}

void SetupDialog::ShowDirectory(const std::wstring& path) {
  BusyCursor busy;
  HWND list = Item(IDC_LIST);
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  // A path on another drive moves the tree there: the drive box follows.
  ComboBox drives(Item(IDC_SETUP_DRIVES));
  const int drive = path.empty() ? -1 : drives.FindExact(std::wstring{static_cast<wchar_t>(std::towlower(path[0])), L':'});
  if (drive >= 0 && drive != drives.Selected()) drives.Select(drive);
  WindowLife life(*this);
  try {
    if (!SameDir(path, g_last_handled) || (listing_enabled_ && !SameDir(path, listed_))) {
      g_last_handled = path;
      ListView(list).Clear();
      listed_.clear();
      SetStatus(0, L"");
      SetStatus(1, L"");
      if (listing_enabled_) ListDir(path);
    }
  } catch (...) {
    if (life.lives()) {
      if (progress_) progress_->HideProgress();
      SendMessageW(list, WM_SETREDRAW, TRUE, 0);
      SetStatus(0, L"");
    }
    throw;
  }
  // The listing let messages through: the dialog may have gone with its owner.
  if (!life.lives()) return;
  if (progress_) progress_->HideProgress();
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
  SetStatus(0, L"");
}

int SetupDialog::IconFor(const std::wstring& full_path, const std::wstring& name, bool directory) {
  SHFILEINFOW info{};
  const std::wstring ext = Extension(name);
  HICON icon = nullptr;
  ScopedIcon own;
  if (directory || HasOwnIcon(ext)) {
    if (SHGetFileInfoW(full_path.c_str(), 0, &info, sizeof info, SHGFI_ICON | SHGFI_SMALLICON)) own.reset(info.hIcon);
    icon = own.get();
  } else {
    // Lines of one extension share one picture: adding it again for each
    // line would make the list of pictures as long as the directory.
    if (auto at = ext_images_.find(ext); at != ext_images_.end()) return at->second;
    auto it = ext_icons_.find(ext);
    if (it == ext_icons_.end()) {
      ScopedIcon asked;
      const std::wstring probe = L"x" + ext;
      if (SHGetFileInfoW(probe.c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                         SHGFI_ICON | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES))
        asked.reset(info.hIcon);
      it = ext_icons_.emplace(ext, std::move(asked)).first;
    }
    const int image = it->second.get() ? images_->Add(it->second.get()) : -1;
    ext_images_.emplace(ext, image);
    return image;
  }
  return icon ? images_->Add(icon) : -1;
}

bool SetupDialog::AddLine(const std::wstring& folder, const DirEntry& entry, bool directory) {
  const std::wstring name(entry.name);
  const std::wstring full = folder + name;
  Application::Get().ProcessMessages();
  if (stop_requested()) return false;
  // Showing every name would cost far more than listing it (each change
  // repaints the status bar and the progress window): a few times a second
  // is enough to see the listing move.
  const DWORD now = GetTickCount();
  if (line_count_ == 0 || now - shown_at_ >= 100) {
    shown_at_ = now;
    SetStatus(1, std::to_wstring(line_count_));
    SetStatus(0, name);
    if (progress_) {
      progress_->SetCaption(directory ? L"先ず、ディレクトリーを調べています。" : L"次に、ファイルを調べています。");
      progress_->SetItem(full);
    }
  }
  if (directory && name[0] == L'.') return true;
  ListView lv(Item(IDC_LIST));
  const int image = IconFor(full, name, directory);
  const int index = lv.Insert(line_count_, name, 0, image);
  lv.SetText(index, 1, directory ? std::wstring(8, L' ') : FormatNumberN(static_cast<long long>(entry.size), 0, ThousandsSeparator()));
  FILETIME ft{static_cast<DWORD>(entry.last_write), static_cast<DWORD>(entry.last_write >> 32)};
  const std::string date = LocalDateColumn(ft);
  lv.SetText(index, 2, std::wstring(date.begin(), date.end()).substr(0, 8));
  ++line_count_;
  return true;
}

void SetupDialog::ListDir(std::wstring path) {
  if (path.empty()) {
    wchar_t current[MAX_PATH] = L"";
    GetCurrentDirectoryW(MAX_PATH, current);
    path = current;
  }
  path = WithBackslash(path);
  line_count_ = 0;
  ListView lv(Item(IDC_LIST));
  if (!images_) {
    images_.emplace(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), ILC_COLOR32 | ILC_MASK, 16, 16);
    lv.SetImageList(images_->get(), LVSIL_SMALL);
    SendMessageW(lv, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(images_->get()));
    // The list view would destroy the list once per kind: share it.
    SetWindowStyle(lv, WindowStyle(lv) | LVS_SHAREIMAGELISTS);
  }
  ImageList_RemoveAll(images_->get());
  ext_images_.clear();
  if (!progress_) {
    progress_ = std::make_unique<ProgressWindow>();
    progress_->CreateForm(hwnd());
  }
  progress_->ShowProgress();
  listed_ = chosen_;
  // The messages let through meanwhile are the dialog's too: Escape, Enter
  // and Tab go through the dialog manager as in the dialog's own loop.
  const HWND self = hwnd();
  Application::Get().AddModeless(self);
  WindowLife life(*this);
  const std::wstring pattern = path + L"*.*";
  try {
    Work work(*this);
    for (bool dirs : {true, false}) {
      SystemDirSource().List(pattern, [&](const DirEntry& e) {
        if (e.directory() != dirs) return true;
        return AddLine(path, e, dirs);
      });
      if (stop_requested()) break;
    }
  } catch (...) {
    Application::Get().RemoveModeless(self);
    throw;
  }
  Application::Get().RemoveModeless(self);
  if (!life.lives()) return;
  // A listing stopped half-way shows only part of its directory.
  if (stop_requested()) listed_.clear();
  SetStatus(1, std::to_wstring(line_count_));
  for (int c = 0; c < 3; ++c) SendMessageW(lv, LVM_SETCOLUMNWIDTH, c, LVSCW_AUTOSIZE_USEHEADER);
}

std::wstring SetupDialog::StatusText(int panel) const {
  wchar_t text[512] = L"";
  if (LOWORD(SendMessageW(status_, SB_GETTEXTLENGTHW, panel, 0)) < 512)
    SendMessageW(status_, SB_GETTEXTW, panel, reinterpret_cast<LPARAM>(text));
  return text;
}

void SetupDialog::SetStatus(int panel, const std::wstring& text) {
  SendMessageW(status_, SB_SETTEXTW, panel, reinterpret_cast<LPARAM>(text.c_str()));
}

void SetupDialog::ShowSelectedLine() {
  ListView lv(Item(IDC_LIST));
  const int sel = lv.Selected();
  if (sel < 0) return;
  SetStatus(1, std::to_wstring(sel + 1) + L" / " + std::to_wstring(line_count_));
  SetStatus(0, lv.Text(sel, 0));
}

void SetupDialog::OpenSelectedLine() {
  if (working()) return;
  ListView lv(Item(IDC_LIST));
  const int sel = lv.Selected();
  if (sel < 0) return;
  const std::wstring caption = lv.Text(sel, 0);
  const std::wstring full = WithBackslash(chosen_) + caption;
  const DWORD attributes = GetFileAttributesW(full.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    ShellExecuteW(Application::Get().main_window(), nullptr, full.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return;
  }
  listing_enabled_ = false;
  const TreeView t = tree_.tree();
  SendMessageW(t, WM_SETREDRAW, FALSE, 0);
  WindowLife life(*this);
  try {
    HTREEITEM node = t.Selected();
    if (node) {
      t.Expand(node);
      for (HTREEITEM c = t.Child(node); c; c = t.NextSibling(c)) {
        t.Select(c);
        if (t.Text(c) == caption) break;
      }
    }
    g_last_handled = chosen_;
    ListAsClicked(chosen_);
  } catch (...) {
    if (life.lives()) {
      SendMessageW(t, WM_SETREDRAW, TRUE, 0);
      listing_enabled_ = true;
    }
    throw;
  }
  if (!life.lives()) return;
  SendMessageW(t, WM_SETREDRAW, TRUE, 0);
  listing_enabled_ = true;
  SetFocus(t);
}

void SetupDialog::RegisterChosenDir(int n) {
  const std::wstring chosen = ItemText(IDC_SETUP_LABEL1);
  if (chosen.empty()) {
    ShowMessage(hwnd(), L"左下のペインから、ディレクトリーを選択してから、\r\n登録する番号のボタンを、押下して下さい。",
                MessageKind::Information);
    return;
  }
  SetItemText(IDC_SETUP_DIR1 + n - 1, chosen);
}

void SetupDialog::RefuseCheckWithoutDir(int n) {
  if (setting_checks_ || !Checked(IDC_SETUP_CHECK1 + n - 1)) return;
  if (!ItemText(IDC_SETUP_DIR1 + n - 1).empty()) return;
  WindowLife life(*this);
  ShowMessage(hwnd(), L"チェックの前に、選択するディレクトリーを指定して下さい。\r\n\r\n（指定方法）\r\n左下のペインから、ディレクトリーを選択して、\r\n" +
                  std::to_wstring(n) + L" のボタンを、押下する。" + L"\r\n\r\n" + L"それから、もう一度チェックして下さい",
              MessageKind::Warning);
  if (life.lives()) SetChecked(IDC_SETUP_CHECK1 + n - 1, false);
}

void SetupDialog::StopListing() {
  RequestStop();
  list_pending_ = false;
}

void SetupDialog::OnOK() {
  // OK during a listing stops it and closes the dialog as OK.
  StopListing();
  data_ = Registration();
  Settings ini;
  data_.Save(ini);
  if (progress_) progress_->HideProgress();
  Close(IDOK);
}

void SetupDialog::OnCancel() {
  if (working()) {  // Escape stops the listing; the dialog stays
    StopListing();
    return;
  }
  if (progress_) progress_->HideProgress();
  Close(IDCANCEL);
}

void SetupDialog::OnCommand(int id, int code, HWND control) {
  if (id >= IDC_SETUP_NUMBER1 && id < IDC_SETUP_NUMBER1 + 6 && code == BN_CLICKED) {
    RegisterChosenDir(id - IDC_SETUP_NUMBER1 + 1);
  } else if (id >= IDC_SETUP_CHECK1 && id < IDC_SETUP_CHECK1 + 6 && code == BN_CLICKED) {
    RefuseCheckWithoutDir(id - IDC_SETUP_CHECK1 + 1);
  } else if (id == IDC_SETUP_DRIVES && code == CBN_SELCHANGE) {
    ShowChosenDrive();
  } else if (id == IDC_SETUP_HELP) {
    OpenHelp();
  } else {
    Dialog::OnCommand(id, code, control);
  }
}

// Enter and Space open the selected line when they are released on the list,
// once however long they were held. Enter belongs to the list: the dialog
// manager would otherwise press the default button with it.
LRESULT SetupDialog::ListMessage(OwnedControl<SetupDialog>& list, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_GETDLGCODE:
      if (wp == VK_RETURN) return list.CallDefault(msg, wp, lp) | DLGC_WANTALLKEYS;
      break;
    case WM_KEYDOWN:
      if (wp == VK_RETURN || wp == VK_SPACE) {
        open_key_ = wp;
        // The list's own Space would toggle the selection.
        if (wp == VK_SPACE) return 0;
      }
      break;
    case WM_CHAR:
      if (wp == L' ' || wp == L'\r') return 0;
      break;
    case WM_KEYUP:
      if ((wp == VK_RETURN || wp == VK_SPACE) && open_key_ == wp) {
        open_key_ = 0;
        OpenSelectedLine();
        return 0;
      }
      break;
    case WM_KILLFOCUS:
      open_key_ = 0;
      break;
  }
  return list.CallDefault(msg, wp, lp);
}

INT_PTR SetupDialog::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CTLCOLORSTATIC: {
      const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lp));
      const bool dir = id >= IDC_SETUP_DIR1 && id < IDC_SETUP_DIR1 + 6;
      if (!dir && id != IDC_SETUP_LABEL1) return FALSE;
      HDC dc = reinterpret_cast<HDC>(wp);
      SetTextColor(dc, dir ? kNavy : kBlue);
      SetBkMode(dc, TRANSPARENT);
      return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_CLOSE:
      // The close box during a listing stops it and closes as Cancel does.
      StopListing();
      if (progress_) progress_->HideProgress();
      Close(IDCANCEL);
      return SetResult(0);
    case WM_DESTROY:
      // Destroyed under a listing (the main window's exit): the layer stops
      // the listing, and nothing waits for it.
      list_pending_ = false;
      return FALSE;
    case WM_NOTIFY: {
      const auto& header = *reinterpret_cast<const NMHDR*>(lp);
      if (header.idFrom != IDC_LIST) return FALSE;
      if (header.code == NM_CLICK) ShowSelectedLine();
      if (header.code == NM_DBLCLK) OpenSelectedLine();
      if (header.code == LVN_KEYDOWN) {
        const WORD key = reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey;
        if (key != VK_RETURN && key != VK_SPACE) PostMessageW(hwnd(), kShowSelectedLine, 0, 0);  // the selection moves after the key
      }
      return FALSE;
    }
    case kShowSelectedLine:
      ShowSelectedLine();
      return TRUE;
    case kListClickedNode:
      // Still the selection: the click lists it.
      if (reinterpret_cast<HTREEITEM>(lp) == tree_.tree().Selected()) ChooseDirectory(tree_.GetSelectedPath());
      return TRUE;
  }
  return FALSE;
}

}  // namespace velkor
