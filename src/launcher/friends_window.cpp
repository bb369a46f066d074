#include "launcher/friends_window.h"

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

namespace velkor {
namespace {

constexpr wchar_t kClass[] = L"Tdirform";
constexpr int kClientWidth = 616;
constexpr int kClientHeight = 415;
constexpr int kButtonRowHeight = 46;
constexpr int kInfoPanelHeight = 35;
constexpr int kTabsHeight = 32;
constexpr int kStatusHeight = 41;
constexpr int kButtonSize = 38;
constexpr int kMascotSize = 36;
constexpr int kFileEditWidth = 120;
constexpr int kFindWidth = 40;
constexpr int kFindHeight = 25;
constexpr int kWindowHelp = 1030;
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

const wchar_t* const kImageHints[8] = {L"登録１用", L"登録２用", L"登録３用", L"登録４用",
                                       L"登録５用", L"登録６用", L"登録７用",
                                       L"最後に呼び出したお友達|自動で記憶します"};

HFONT MakeFont(int pixels, const wchar_t* face, DWORD pitch = DEFAULT_PITCH) {
  return CreateFontW(-Scale(pixels), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, pitch, face);
}

bool DriveKindOf(UINT type, DriveKind& kind) {
  switch (type) {
    case DRIVE_REMOVABLE: kind = DriveKind::Removable; return true;
    case DRIVE_FIXED: kind = DriveKind::Fixed; return true;
    case DRIVE_REMOTE: kind = DriveKind::Remote; return true;
    case DRIVE_CDROM: kind = DriveKind::CdRom; return true;
    case DRIVE_RAMDISK: kind = DriveKind::RamDisk; return true;
  }
  return false;
}

}  // namespace

FriendsWindow::FriendsWindow() : Form(kClass) { SetOwnsItself(true); }

FriendsWindow::~FriendsWindow() = default;

void FriendsWindow::CreateForm() {
  HINSTANCE inst = GetModuleHandleW(nullptr);
  menu_ = LoadMenuW(inst, L"DIRMAINMENU");
  popup_.Load(L"DIRPOPUP");
  font_.reset(MakeFont(13, L"ＭＳ Ｐゴシック", VARIABLE_PITCH));
  panel_font_.reset(MakeFont(13, L"ＭＳ ゴシック", FIXED_PITCH));
  edit_font_.reset(MakeFont(19, L"ＭＳ ゴシック", FIXED_PITCH));
  tree_font_.reset(MakeFont(16, L"ＭＳ ゴシック", FIXED_PITCH));
  tab_font_.reset(CreateFontW(-Scale(11), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                              CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH, L"MS Sans Serif"));
  label_font_.reset(MakeFont(11, L"ＭＳ 明朝"));
  // 19 pixels from line to line: " 友達は" then ends left of the thumbnail at 62.
  file_panel_font_.reset(CreateFontW(Scale(19), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH,
                                     L"ＭＳ ゴシック"));

  const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
  RECT rc{0, 0, Scale(kClientWidth), Scale(kClientHeight)};
  AdjustWindowRectEx(&rc, style, TRUE, 0);
  // Owned by nothing: a window of its own beside the main window.
  Create(0, kClass, kFriendsCaption, style, CW_USEDEFAULT, CW_USEDEFAULT, rc.right - rc.left, rc.bottom - rc.top,
         nullptr, menu_);
  if (!hwnd()) throw Error(L"お友達のウィンドウを作成できません。");
  // The menu bar may wrap onto a second line: the client keeps its designed size.
  RECT client{};
  GetClientRect(hwnd(), &client);
  if (client.bottom != Scale(kClientHeight)) {
    RECT w{};
    GetWindowRect(hwnd(), &w);
    SetWindowPos(hwnd(), nullptr, 0, 0, w.right - w.left, w.bottom - w.top + Scale(kClientHeight) - client.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  const HACCEL accel = LoadAcceleratorsW(inst, L"DIRACCEL");
  Application::Get().SetKeyHandler(hwnd(), [this, accel](MSG& msg) { return KeyMessage(msg, accel); });
  BecomeInstance(this);
  FormCreate();
}

void FriendsWindow::CreateControls() {
  HINSTANCE inst = GetModuleHandleW(nullptr);
  SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);

  Panel::Look lowered;
  lowered.outer = Bevel::Lowered;
  button_row_.Create(hwnd(), IDC_DIR_BUTTONROW, 0, 0, Scale(kClientWidth), Scale(kButtonRowHeight), lowered);
  CreateButtonRow();

  Panel::Look line;
  line.text_align = DT_LEFT;
  info_panel_.Create(hwnd(), IDC_DIR_INFO, 0, 0, Scale(kClientWidth), Scale(kInfoPanelHeight), line);
  info_panel_.SetFont(panel_font_.get());
  mask_box_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"*.*", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
                               0, Scale(4), Scale(kFileEditWidth), Scale(27), info_panel_.hwnd(),
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_DIR_MASK)), inst, nullptr);
  if (!mask_box_) throw Error(L"お友達のウィンドウのコントロールを作成できません。");
  SendMessageW(mask_box_, WM_SETFONT, reinterpret_cast<WPARAM>(edit_font_.get()), FALSE);
  mask_keys_.Attach(mask_box_);
  Application::Get().SetControlHint(mask_box_, L"セレクト指定 ( 絞り込みに使用  例 : *.exe )");
  bulk_search_button_.Create(info_panel_, IDC_DIR_BULKSEARCH, 0, Scale(5), Scale(kFindWidth), Scale(kFindHeight), false, hwnd());
  bulk_search_button_.SetGlyphResource(L"GLYPH_SEARCH");
  bulk_search_button_.SetHint(L"一気に下位ディレクトリ検索");

  Panel::Look plain;
  plain.outer = Bevel::None;
  tree_panel_.Create(hwnd(), IDC_DIR_TREEPANEL, 0, 0, Scale(tree_width_), Scale(200), plain);
  tree_panel_.on_resize = [this](int w) {
    tree_width_ = w;
    Layout();
  };
  tree_.Create(tree_panel_.hwnd(), IDC_DIR_TREE, 0, 0, Scale(tree_width_) - GripPanel::kGrip, Scale(200),
               TVS_SHOWSELALWAYS);
  SendMessageW(tree_.hwnd(), TVM_SETINDENT, static_cast<WPARAM>(Scale(19)), 0);
  SendMessageW(tree_.hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(tree_font_.get()), FALSE);
  tree_.on_change = [this](const std::wstring& path) { ListChosenDirectory(path); };

  list_panel_.Create(hwnd(), IDC_DIR_LISTPANEL, 0, 0, Scale(400), Scale(200), plain);
  list_.Create(list_panel_.hwnd(), IDC_DIR_LIST, RECT{0, 0, Scale(400), Scale(200)}, true,
               [this](UINT msg, WPARAM wp, LPARAM lp) { return ListInput(msg, wp, lp); });

  tabs_.Create(hwnd(), IDC_DIR_TABS, 0, 0, Scale(kClientWidth), Scale(kTabsHeight));
  tabs_.SetFont(tab_font_.get());
  tabs_.on_change = [this](int i) { RememberTab(i); };
  tabs_.on_click = [this] { ChangeDrive(); };

  Panel::Look bar;
  bar.outer = Bevel::Raised;
  status_bar_.Create(hwnd(), IDC_DIR_STATUSBAR, 0, 0, Scale(kClientWidth), Scale(kStatusHeight), bar);
  Panel::Look sunk;
  sunk.outer = Bevel::Lowered;
  sunk.text_align = DT_LEFT;
  counter_panel_.Create(status_bar_.hwnd(), IDC_DIR_COUNTER, 0, 0, Scale(counter_panel_width_), Scale(kStatusHeight), sunk);
  counter_panel_.SetFont(panel_font_.get());
  counter_panel_.on_resize = [this](int w) {
    counter_panel_width_ = w;
    Layout();
  };
  sunk.text_color = kBlack;
  file_panel_.Create(status_bar_.hwnd(), IDC_DIR_FILEPANEL, 0, 0, Scale(300), Scale(kStatusHeight), sunk);
  file_panel_.SetFont(file_panel_font_.get());
  thumbnail_.Create(file_panel_.hwnd(), IDC_DIR_THUMBNAIL, Scale(62), Scale(5), Scale(32), Scale(32));
  thumbnail_.on_click = [this] { PreviewSelectedPicture(); };
  ShowWindow(thumbnail_.hwnd(), SW_HIDE);
}

void FriendsWindow::CreateButtonRow() {
  HINSTANCE inst = GetModuleHandleW(nullptr);
  // "指定/登録" before the seven buttons of the user's choice, "自動/登録" before the eighth.
  struct LabelSpec {
    const wchar_t* text;
    int x, y;
  };
  const LabelSpec labels[4] = {{L"指定", 4, 6}, {L"登録", 4, 24}, {L"自動", 314, 6}, {L"登録", 314, 24}};
  for (int i = 0; i < 4; ++i) {
    HWND label = CreateWindowExW(0, L"STATIC", labels[i].text, WS_CHILD | WS_VISIBLE | SS_NOPREFIX, Scale(labels[i].x),
                                 Scale(labels[i].y), Scale(24), Scale(14), button_row_.hwnd(),
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_DIR_LABEL + i)), inst, nullptr);
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(label_font_.get()), FALSE);
    labels_[static_cast<size_t>(i)] = label;
  }
  for (int tag = 0; tag < 8; ++tag) {
    const int x = tag < 7 ? 30 + tag * 40 : 340;
    SpeedButton& b = launch_buttons_[static_cast<size_t>(tag)];
    b.Create(button_row_, IDC_DIR_BUTTON1 + tag, Scale(x), Scale(3), Scale(kButtonSize), Scale(kButtonSize), false,
             hwnd());
    b.tag = tag;
    b.SetHint(kImageHints[tag]);
    PictureBox& image = button_images_[static_cast<size_t>(tag)];
    image.Create(button_row_.hwnd(), IDC_DIR_BUTTONIMAGE1 + tag, Scale(x + 3), Scale(6), Scale(32), Scale(32));
    image.on_click = [this, tag] { StartButton(tag); };
    Application::Get().SetControlHint(image.hwnd(), kImageHints[tag]);
    EnableWindow(image.hwnd(), FALSE);
  }
  mascot_.Create(button_row_, IDC_DIR_MASCOT, Scale(kClientWidth - 64), Scale(4), Scale(kMascotSize), Scale(kMascotSize),
                 false, hwnd());
  mascot_.SetHint(L"選んだ後で、僕をクリックしてね");
}

// Creation: everything before the window is first shown.
void FriendsWindow::FormCreate() {
  file_mask_ = L"*.*";
  row_count_ = 3;
  buttons_changed_ = false;
  if (MainFrame* frame = MainFrame::Get())
    for (int i = 0; i < 8; ++i) button_files_[static_cast<size_t>(i)] = frame->launch_paths().Path(i);

  wchar_t current[MAX_PATH] = L"";
  GetCurrentDirectoryW(MAX_PATH, current);
  AddDriveTabs();
  for (int i = 0; i < tabs_.Count(); ++i)
    if (std::towupper(tabs_.Caption(i)[0]) == std::towupper(current[0])) tabs_.SetTabIndex(i);
  Layout();

  navigating_ = true;
  // The drive first: a drive's root names no directory entry, and the tree
  // would stay empty.
  tree_.SetDrive(current[0]);
  tree_.SelectPath(current);
  navigating_ = false;
  // The listing lets messages through: the main window may close meanwhile.
  if (!ListDirectory(tree_.GetSelectedPath())) return;

  KeepPlacement();
}

void FriendsWindow::AddDriveTabs() {
  for (wchar_t letter = L'A'; letter <= L'Z'; ++letter) {
    const wchar_t root[] = {letter, L':', L'\\', 0};
    DriveKind kind;
    if (DriveKindOf(GetDriveTypeW(root), kind)) tabs_.Add(std::wstring(1, letter), kind);
  }
}

void FriendsWindow::FormShow() {
  mascot_.SetIconResourceGlyph(L"SICON_1");
  info_panel_.SetText(kChooseDirText);
}

void FriendsWindow::FormActivate(bool minimized) {
  LoadButtonImages();
  if (minimized) return;
  if (IsWindowVisible(info_panel_.hwnd()))
    SetFocus(tree_.hwnd());
  else
    SetFocus(list_.hwnd());
}

bool FriendsWindow::FormCloseQuery() {
  if (!buttons_changed_) return true;
  // The reload lets messages through: a second close meanwhile finds
  // nothing left to reload and closes the window at once.
  buttons_changed_ = false;
  WindowLife life(*this);
  if (MainFrame* frame = MainFrame::Get()) frame->ReloadLaunchBar();
  return life.lives();
}

void FriendsWindow::FormDestroy() { list_.ClearPictures(); }

void FriendsWindow::OnMainWindowClosing() { DestroyWindow(hwnd()); }

void FriendsWindow::MascotStep(wchar_t d) {
  if (d == L'5')
    mascot_.SetIconResourceGlyph(L"SICON_3");
  else if (d == L'0')
    mascot_.SetIconResourceGlyph(L"SICON_1");
}

void FriendsWindow::Layout() {
  if (!button_row_.hwnd()) return;
  WindowDock dock;
  dock.Add(Dock::Top, button_row_.hwnd(), Scale(kButtonRowHeight));
  dock.Add(Dock::Top, info_panel_.hwnd(), Scale(kInfoPanelHeight));
  dock.Add(Dock::Bottom, status_bar_.hwnd(), Scale(kStatusHeight));
  dock.Add(Dock::Bottom, tabs_.hwnd(), Scale(kTabsHeight));
  dock.Add(Dock::Left, tree_panel_.hwnd(), tree_width_);
  dock.Add(Dock::Fill, list_panel_.hwnd());
  dock.Layout(hwnd());

  RECT r{};
  GetClientRect(tree_panel_.hwnd(), &r);
  MoveWindow(tree_.hwnd(), 0, 0, std::max(0, static_cast<int>(r.right) - GripPanel::kGrip), r.bottom, TRUE);
  GetClientRect(list_panel_.hwnd(), &r);
  list_.SetBounds(0, 0, r.right, r.bottom);
  GetClientRect(status_bar_.hwnd(), &r);
  const int dir_w = std::min(counter_panel_width_, static_cast<int>(r.right));
  MoveWindow(counter_panel_.hwnd(), 0, 0, dir_w, r.bottom, TRUE);
  MoveWindow(file_panel_.hwnd(), dir_w, 0, r.right - dir_w, r.bottom, TRUE);

  GetClientRect(button_row_.hwnd(), &r);
  const RECT vel = mascot_.rect();
  mascot_.SetBounds(r.right - Scale(64), vel.top, vel.right - vel.left, vel.bottom - vel.top);
  GetClientRect(info_panel_.hwnd(), &r);
  const RECT find = bulk_search_button_.rect();
  const int find_w = find.right - find.left;
  const int find_x = r.right - find_w - Scale(22);
  bulk_search_button_.SetBounds(find_x, find.top, find_w, find.bottom - find.top);
  RECT edit{};
  GetWindowRect(mask_box_, &edit);
  MoveWindow(mask_box_, find_x - (edit.right - edit.left), Scale(4), edit.right - edit.left, edit.bottom - edit.top,
             TRUE);
}

bool FriendsWindow::OnCommand(int id, int code) {
  if (id >= IDM_DIR_REGISTER1 && id < IDM_DIR_REGISTER1 + 7) {
    RegisterToButton(id - IDM_DIR_REGISTER1);
  } else if (id >= IDM_DIR_MASK1 && id <= IDM_DIR_MASK1 + 10) {
    ApplyMaskItem(id - IDM_DIR_MASK1);
  } else if (id >= IDM_DIR_ROWS1 && id < IDM_DIR_ROWS1 + 7) {
    ChooseRows(id - IDM_DIR_ROWS1 + 1);
  } else if (id >= IDM_DIR_COLS1 && id < IDM_DIR_COLS1 + 4) {
    SetColumns(id - IDM_DIR_COLS1 + 1);
  } else if (id >= IDC_DIR_BUTTON1 && id < IDC_DIR_BUTTON1 + 8) {
    StartButton(id - IDC_DIR_BUTTON1);
  } else {
    switch (id) {
      case IDM_DIR_CLOSE: CloseFromMenu(); break;
      case IDM_DIR_EXECUTE:
      case IDC_DIR_MASCOT: StartSelected(); break;
      case IDM_DIR_PANES: TogglePanes(); break;
      case IDM_DIR_ICONMODE: ToggleIconMode(); break;
      case IDM_DIR_BULK_SEARCH:
      case IDC_DIR_BULKSEARCH: StartBulkSearch(); break;
      case IDM_DIR_GRID1: ShowGrid(1); break;
      case IDM_DIR_GRID2: ShowGrid(2); break;
      case IDM_DIR_RECYCLE: RecycleSelected(); break;
      case IDM_DIR_DELETE: DeleteSelected(); break;
      case IDC_DIR_LIST:
        if (code == LBN_SELCHANGE) ShowSelectedItem();
        if (code == LBN_DBLCLK) StartSelected();
        break;
      default: return false;
    }
  }
  return true;
}

namespace {

// The help context of a menu command; 0 for an id that is no command.
int CommandHelpContext(int id) {
  if (id >= IDM_DIR_REGISTER1 && id < IDM_DIR_REGISTER1 + 7) return 1230;
  if ((id >= IDM_DIR_ROWS1 && id < IDM_DIR_ROWS1 + 7) || (id >= IDM_DIR_COLS1 && id < IDM_DIR_COLS1 + 4)) return 1250;
  if (id >= IDM_DIR_MASK1 && id <= IDM_DIR_MASK1 + 10) return kWindowHelp;
  switch (id) {
    case IDM_DIR_PANES:
    case IDM_DIR_ICONMODE:
    case IDM_DIR_GRID1:
    case IDM_DIR_GRID2: return 1250;
    case IDM_DIR_RECYCLE:
    case IDM_DIR_DELETE: return 1270;
    case IDM_DIR_CLOSE:
    case IDM_DIR_EXECUTE:
    case IDM_DIR_BULK_SEARCH: return kWindowHelp;
  }
  return 0;
}

// A menu title shares the context of the commands below it: the first one
// found, in sub-menus too ("表示行列数の設定" and its "行表示数" lead to the rows).
int PopupHelpContext(HMENU popup) {
  const int n = GetMenuItemCount(popup);
  for (int i = 0; i < n; ++i) {
    if (HMENU sub = GetSubMenu(popup, i)) {
      if (const int context = PopupHelpContext(sub)) return context;
    } else if (const int context = CommandHelpContext(static_cast<int>(GetMenuItemID(popup, i)))) {
      return context;
    }
  }
  return 0;
}

// The sub-menu at any depth below root that match picks, or nullptr.
template <class Match>
HMENU FindSubMenu(HMENU root, const Match& match) {
  for (int i = 0, n = GetMenuItemCount(root); i < n; ++i) {
    HMENU sub = GetSubMenu(root, i);
    if (!sub) continue;
    if (match(sub)) return sub;
    if (HMENU deeper = FindSubMenu(sub, match)) return deeper;
  }
  return nullptr;
}

}  // namespace

int FriendsWindow::HelpContextFor(const HELPINFO& info) {
  if (info.iContextType == HELPINFO_MENUITEM) {
    if (const int context = CommandHelpContext(info.iCtrlId)) return context;
    // A title: the system names it by its sub-menu's handle, with the menu
    // that holds it (Wine: with the menu bar); with nothing chosen in an open
    // menu, by that menu alone. F1 in a menu of another's stays unanswered.
    HMENU menu = static_cast<HMENU>(info.hItemHandle);
    const bool ours = menu && (menu == menu_ || menu == popup_.get() ||
                               FindSubMenu(menu_, [menu](HMENU sub) { return sub == menu; }));
    if (!ours) return 0;
    HMENU title = FindSubMenu(menu, [&info](HMENU sub) {
      return static_cast<int>(reinterpret_cast<UINT_PTR>(sub)) == info.iCtrlId;
    });
    if (!title && menu != menu_) title = menu;
    const int context = title ? PopupHelpContext(title) : 0;
    return context ? context : kWindowHelp;
  }
  return static_cast<HWND>(info.hItemHandle) == list_.hwnd() ? 1270 : kWindowHelp;
}

LRESULT FriendsWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE:
      CreateControls();
      return 0;
    case WM_SHOWWINDOW:
      if (wp && !shown_) {
        shown_ = true;
        FormShow();
      }
      break;
    case WM_ACTIVATE:
      if (LOWORD(wp) != WA_INACTIVE) {
        // The default puts the focus on the bare window; the tree (or the
        // list) takes it after that, so that keys reach it at once.
        DefaultProc(msg, wp, lp);
        FormActivate(HIWORD(wp) != 0);
        return 0;
      }
      break;
    case WM_SIZE:
      if (wp != SIZE_MINIMIZED) FormResize();
      break;
    case WM_CLOSE:
      // A listing or a search under way stops when the window goes.
      if (!FormCloseQuery()) return 0;
      break;
    case WM_DESTROY:
      FormDestroy();
      break;
    case WM_COMMAND:
      if (OnCommand(LOWORD(wp), HIWORD(wp))) return 0;
      break;
    case WM_CTLCOLORSTATIC: {
      const HWND label = reinterpret_cast<HWND>(lp);
      for (size_t i = 0; i < labels_.size(); ++i) {
        if (labels_[i] != label) continue;
        HDC dc = reinterpret_cast<HDC>(wp);
        SetTextColor(dc, i >= 2 ? kBlue : kBlack);
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
      }
      break;
    }
  }
  return DefaultProc(msg, wp, lp);
}

}  // namespace velkor
