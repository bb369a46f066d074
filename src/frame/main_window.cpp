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

namespace velkor {

MainFrame* MainFrame::Get() { return MainWindow::Get(); }
namespace {

constexpr wchar_t kClass[] = L"Tframeform";
constexpr UINT_PTR kTimer1 = 1;

// The tool bar's buttons: 27 x 27, at y 8.
const SpeedButtonSpec kTools[] = {
    {IDM_EXIT1, 5, L"GLYPH_EXIT", L"ベルコノートを終了|ベルコノートを終了します", true},
    {IDM_NEW1, 35, L"GLYPH_NEW", L"新規作成|新規にテキストを作成 ( フォームはいくつでもＯＫ )", true},
    {IDM_OPEN1, 63, L"GLYPH_OPEN", L"作成済みファイルを開く|作成済みファイルを開く ( いくつでもＯＫ )", true},
    {IDM_TILE1, 91, L"GLYPH_TILE",
     L"Windowsを並べて表示|タイル表示 ( クリック毎に縦あるいは横にリレー表示 )", false},
    {IDM_CASCADE1, 119, L"GLYPH_CASCADE",
     L"Windowsを重ねて表示|カスケード表示 ( フォーム・サイズが変更されることに留意 )", false},
    {IDM_ICONMINI, 147, L"GLYPH_ICONMINI", L"アイコン化|開いているエディット・フォームを全てアイコン化", false},
    {IDM_NORMALSIZE, 175, L"GLYPH_NORMALSIZE",
     L"ノーマルサイズ|アイコン化されているエディット・フォームを全て元のサイズに戻す", false},
    {IDM_WORDSEARCH, 205, L"GLYPH_SEARCHWORD", L"指定ディレクトリーから単語を検索| 検索専用フォームを表示します", true},
    {IDM_ABOUT, 237, L"GLYPH_ABOUT", L"バージョン情報| バージョン情報の他に、システムリソースを表示します", true},
};

constexpr int kPanel1Height = 44;
constexpr int kStatusHeight = 30;
constexpr int kVelSButtonSize = 34;

// Paths of the recent-file list compare as the user's locale compares them,
// without regard to letter case.
bool SamePath(const std::wstring& a, const std::wstring& b) {
  return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) == CSTR_EQUAL;
}

std::wstring ReadRegistryString(HKEY root, const wchar_t* key, const wchar_t* value) {
  HKEY h = nullptr;
  if (RegOpenKeyExW(root, key, 0, KEY_READ, &h) != ERROR_SUCCESS) return L"";
  ScopedKey scoped(h);
  DWORD type = 0, size = 0;
  if (RegQueryValueExW(h, value, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ) || size == 0)
    return L"";
  std::wstring s(size / sizeof(wchar_t) + 1, L'\0');
  if (RegQueryValueExW(h, value, nullptr, &type, reinterpret_cast<BYTE*>(s.data()), &size) != ERROR_SUCCESS)
    return L"";
  s.resize(wcsnlen(s.c_str(), s.size()));
  return s;
}

}  // namespace

MainWindow::MainWindow(std::vector<std::wstring> args)
    // No background of its own: the client window paints the area between the bars.
    : Form(kClass, {.button_face_background = false, .small_icon = true}),
      args_(std::move(args)),
      recent_files_(SamePath) {}

MainWindow::~MainWindow() = default;

void MainWindow::CreateForm() {
  Application::Get().SetTitle(kTitle);
  // Only a placeholder: activation chooses the help file before help can be asked for.
  Application::Get().SetHelpFile(L"C:\\Velkor\\Velkor.hlp");
  menu_ = LoadMenuW(GetModuleHandleW(nullptr), L"MAINMENU");
  window_menu_ = GetSubMenu(menu_, 1);
  accel_ = LoadAcceleratorsW(GetModuleHandleW(nullptr), L"MAINACCEL");
  RECT rc{0, 0, Scale(630), Scale(424)};
  const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
  AdjustWindowRect(&rc, style, TRUE);
  Create(0, kClass, kTitle, style, CW_USEDEFAULT, CW_USEDEFAULT, rc.right - rc.left, rc.bottom - rc.top, nullptr,
         menu_);
  if (!hwnd()) throw Error(L"メイン・ウィンドウを作成できません。");
  title_ = kTitle;  // given at creation, which sends no WM_SETTEXT
  BecomeInstance(this);
  Application::Get().SetMainWindow(hwnd());
  journal_ = std::make_unique<RecoveryJournal>(RecoveryFolderFor(SettingsFilePath()), hwnd(), kCopiesNotWritten);
  SetUpWindow();
}

void MainWindow::CreateControls() {
  CLIENTCREATESTRUCT ccs{window_menu_, IDM_FIRSTCHILD};
  client_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"MDICLIENT", nullptr,
                            WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL, 0, 0, 100, 100,
                            hwnd(), reinterpret_cast<HMENU>(IDC_MDICLIENT), GetModuleHandleW(nullptr), &ccs);
  InstallStripes();

  Panel::Look tool_look;
  tool_look.outer = Bevel::Raised;
  tool_look.inner = Bevel::Lowered;
  panel1_.Create(hwnd(), IDC_PANEL1, 0, 0, 100, Scale(kPanel1Height), tool_look);
  panel1_.on_click = [this] { RefreshLaunchRow(); };
  panel1_.on_mouse_move = [this] { InstallDisplayHint(); };
  for (const SpeedButtonSpec& spec : kTools) {
    auto b = std::make_unique<SpeedButton>();
    b->Create(panel1_, spec, 8, 27, hwnd());
    tool_buttons_.push_back(std::move(b));
  }

  Panel::Look row_look;
  row_look.outer = Bevel::Lowered;
  row_look.inner = Bevel::None;
  launch_row_.Create(panel1_.hwnd(), IDC_BP1PANEL, row_look);

  vels_button_.Create(panel1_, IDC_VELSBUTTON, Scale(568), Scale(6), Scale(kVelSButtonSize),
                      Scale(kVelSButtonSize), false, hwnd());
  vels_button_.SetHint(L"友達を呼んでくるよ !!| クリックで友達を呼ぶフォームを表示します");

  Panel::Look status_look;
  status_look.outer = Bevel::Raised;
  status_look.inner = Bevel::Lowered;
  status_look.text_color = RGB(0, 0, 255);
  status_look.text_align = DT_LEFT;
  status_line_.Create(hwnd(), IDC_STATUSLINE, 0, 0, 100, Scale(kStatusHeight), status_look);
  status_font_.reset(CreateFontW(-Scale(15), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH,
                                 L"ＭＳ ゴシック"));
  status_line_.SetFont(status_font_.get());
}

void MainWindow::LayoutChildren() {
  // One deferred move for the three bands (start-up pays for every move).
  WindowDock dock;
  dock.Add(Dock::Top, panel1_.hwnd(), Scale(kPanel1Height));
  dock.Add(Dock::Bottom, status_line_.hwnd(), Scale(kStatusHeight));
  dock.Add(Dock::Fill, client_);
  dock.Layout(hwnd());
}

// Creation: everything the window needs before it is first shown.
void MainWindow::SetUpWindow() {
  BusyCursor busy;
  caption_active_ = true;
  screen_width_ = GetSystemMetrics(SM_CXSCREEN);

  // The quick-launch row.
  if (!launch_row_.CreateButtons(*this, IDC_BP1FILENAME0, hwnd())) return;
  SetWindowTextW(hwnd(), kTitle);

  Application::Get().ProcessMessages();
  LoadUsedFiles(7);
  start_show_command_ = KeepPlacement(false);

  Application::Get().SetDefaultHintHandler([this] { DisplayHint(); }, this);
  InstallDisplayHint();
  Application::Get().SetHintLook({.color = RGB(0, 255, 255), .pause_ms = 200, .hide_pause_ms = 7000});

  snippets_.Load(Settings());
  start_tick_ = GetTickCount();
  DragAcceptFiles(hwnd(), TRUE);
  SetTimer(hwnd(), kTimer1, 1000, nullptr);
  UpdateMenuItems();
}

void MainWindow::ShowForStartup(int show_command) {
  switch (show_command) {
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
      ShowWindow(hwnd(), SW_SHOWMINIMIZED);
      break;
    case SW_SHOWMAXIMIZED:
      ShowWindow(hwnd(), SW_SHOWMAXIMIZED);
      break;
    default:
      ShowWindow(hwnd(), SW_SHOWNORMAL);
      break;
  }
  UpdateWindow(hwnd());
}

void MainWindow::FormShow() {
  if (start_show_command_ == SW_SHOWMAXIMIZED)
    ShowWindow(hwnd(), SW_MAXIMIZE);
  else if (start_show_command_ == SW_SHOWMINIMIZED)
    ShowWindow(hwnd(), SW_MINIMIZE);
  vels_button_.SetIconResourceGlyph(L"MAINICON");
}

void MainWindow::FormActivate() {
  std::wstring windows(MAX_PATH, L'\0');
  windows.resize(GetWindowsDirectoryW(windows.data(), MAX_PATH));
  if (FileExists(windows + L"\\Velkor.hlp") || FileExists(windows + L"\\help\\Velkor.hlp")) {
    Application::Get().SetHelpFile(L"Velkor.hlp");
  } else {
    Application::Get().SetHelpFile(ReplaceExtension(ModulePath(), L".hlp"));
  }
}

int MainWindow::HelpContextOf(int id) {
  switch (id) {
    case IDM_NEW1:
    case IDM_OPEN1:
    case IDM_TILE1:
    case IDM_CASCADE1:
    case IDM_NEXTCHILDFORM:
    case IDM_ICONMINI:
    case IDM_NORMALSIZE:
    case IDM_MAXMIZE:
    case IDM_ARRANGEICONS1: return 1020;
    case IDM_EXIT1: return 1010;
    case IDM_HELP: return 1000;
    case IDM_FRIEND: return 1030;
    case IDM_ABOUT: return 1040;
    case IDM_WORDSEARCH: return 1060;
    default: return 0;
  }
}

const std::wstring& MainWindow::HelpFile() const { return Application::Get().help_file(); }

int MainWindow::HelpContextFor(const HELPINFO& info) {
  return info.iContextType == HELPINFO_MENUITEM ? MenuHelpContext(info) : 0;
}

int MainWindow::MenuHelpContext(const HELPINFO& info) const {
  // The titles of the menu bar (File and Window here; File, Edit, Format,
  // Search and Window while an editor is active) share 1020.
  if (info.hItemHandle && info.hItemHandle == reinterpret_cast<HANDLE>(GetMenu(hwnd()))) return 1020;
  const int context = ActiveEditor() ? EditorWindow::HelpContextOf(info.iCtrlId) : HelpContextOf(info.iCtrlId);
  return context != 0 ? context : 1000;
}

void MainWindow::ShowHelp() {
  std::wstring dir = FolderOf(ModulePath());
  SetCurrentDirectoryW(dir.c_str());
  Application::Get().ShowHelpTopic(hwnd(), 1000, HelpFile());
}

void MainWindow::FormPaint() {
  if (command_line_opened_ != 0 || args_.empty() || args_.size() > 3) return;
  BusyCursor busy;
  for (const CommandLineDocument& doc : PlanCommandLine(args_, FileExists)) {
    // Counted first: the messages of an open let a paint in, which must not
    // open the documents again. A document that cannot open is reported,
    // and the others open all the same.
    ++command_line_opened_;
    try {
      OpenDocument(doc.path, doc.settings_section, doc.tag, false);
    } catch (...) {
      Application::Get().ReportCurrentException();
    }
  }
}

void MainWindow::FormResize() {
  RECT wr{};
  GetWindowRect(hwnd(), &wr);
  const RECT br = vels_button_.rect();
  const int left = (wr.right - wr.left) - Scale(kVelSButtonSize) - Scale(32);
  if (br.left != left) vels_button_.SetBounds(left, br.top, br.right - br.left, br.bottom - br.top);
}

void MainWindow::FormDestroy() {
  KillTimer(hwnd(), kTimer1);
  // Every editor's text was saved, or the user chose not to keep it.
  if (journal_) journal_->Finish();
}

SpeedButton& MainWindow::tool_button(int command_id) {
  for (auto& b : tool_buttons_)
    if (b->id() == command_id) return *b;
  throw Error(L"no tool button " + std::to_wstring(command_id));
}

// Hints and tool windows.
void MainWindow::DisplayHint() { status_line_.SetText(Application::Get().hint()); }

void MainWindow::InstallDisplayHint() { InstallHintHandler([this] { DisplayHint(); }); }

void MainWindow::Exit() { PostMessageW(hwnd(), WM_CLOSE, 0, 0); }

void MainWindow::ShowFriendsWindow() {
  BusyCursor busy;
  FriendsWindow::Show();
}
void MainWindow::ShowSearchWindow() {
  BusyCursor busy;
  SearchWindow::Show();
}
void MainWindow::ShowAbout() {
  BusyCursor busy;
  AboutBox::Show();
}

// Ending.
std::wstring MainWindow::ReadOwnerName() {
  std::wstring name = ReadRegistryString(HKEY_CURRENT_USER, L"SOFTWARE\\MICROSOFT\\USER INFORMATION", L"DEFAULT USER NAME");
  if (name.empty())
    name = ReadRegistryString(HKEY_LOCAL_MACHINE, L"SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION", L"RegisteredOwner");
  if (name.empty())
    name = ReadRegistryString(HKEY_LOCAL_MACHINE, L"SOFTWARE\\MICROSOFT\\WINDOWS NT\\CURRENTVERSION", L"RegisteredOwner");
  if (name.empty()) name = L"親分";
  return name;
}

bool MainWindow::ConfirmExit() {
  POINT p{};
  GetCursorPos(&p);
  const Point at = FarewellPosition({p.x, p.y}, screen_width_);
  const std::wstring usage = FormatUsageTime(GetTickCount() - start_tick_);
  const int open = static_cast<int>(Editors().size());
  if (open > 0)
    return ShowMessage(hwnd(), ExitConfirmationText(usage, open), MessageKind::Confirmation, MB_YESNO) != IDNO;
  ShowMessage(hwnd(), FarewellText(ReadOwnerName(), usage), MessageKind::Plain, MB_OK, POINT{at.x, at.y});
  return true;
}

bool MainWindow::EditorsAgreeToClose() {
  WindowLife life(*this);
  for (EditorWindow* e : Editors()) {
    // An earlier question let messages through: this editor may have gone.
    WindowLife editor(*e);
    if (!editor.lives()) continue;
    if (!e->CloseQuery() || !life.lives()) return false;
  }
  return true;
}

namespace {
// The close questions are up for the life of the scope (also when one fails).
class ClosingScope {
 public:
  explicit ClosingScope(bool& closing) : closing_(closing) { closing_ = true; }
  ~ClosingScope() { closing_ = false; }
  ClosingScope(const ClosingScope&) = delete;
  ClosingScope& operator=(const ClosingScope&) = delete;

 private:
  bool& closing_;
};
}  // namespace

bool MainWindow::FormCloseQuery() {
  // A second close while the questions are up waits for their answers.
  if (closing_) return false;
  WindowLife life(*this);
  ClosingScope closing(closing_);
  return EditorsAgreeToClose() && ConfirmExit() && life.lives();
}

// The end of the Windows session: only the questions that keep a text (no
// confirmation, no farewell). The answer is whether the session may end; while
// an exit's questions are up, their answers come first.
bool MainWindow::QueryEndSession() {
  if (closing_) return false;
  WindowLife life(*this);
  ClosingScope closing(closing_);
  return EditorsAgreeToClose() && life.lives();
}

// The session ends: every window goes as at an exit, saving the settings and
// placements it saves then; the editors' questions were answered before.
void MainWindow::EndSession() {
  if (hwnd()) DestroyWindow(hwnd());
}

bool MainWindow::OnCommand(int id) {
  switch (id) {
    case IDM_NEW1: NewChild(); return true;
    case IDM_OPEN1: OpenChosenDocument(); return true;
    case IDM_EXIT1: Exit(); return true;
    case IDM_FRIEND:
    case IDC_VELSBUTTON: ShowFriendsWindow(); return true;
    case IDM_WORDSEARCH: ShowSearchWindow(); return true;
    case IDM_ABOUT: ShowAbout(); return true;
    case IDM_HELP: ShowHelp(); return true;
    case IDM_TILE1: TileEditors(); return true;
    case IDM_CASCADE1: CascadeEditors(); return true;
    case IDM_NEXTCHILDFORM: ActivateNextEditor(); return true;
    case IDM_ICONMINI: MinimizeAll(); return true;
    case IDM_NORMALSIZE: RestoreAll(); return true;
    case IDM_MAXMIZE: MaximizeActive(); return true;
    case IDM_ARRANGEICONS1: ArrangeIcons(); return true;
  }
  if (id >= IDM_USEDFILE1 && id <= IDM_USEDFILE7) {
    OpenRecentFile(id - IDM_USEDFILE1 + 1);
    return true;
  }
  if (id >= IDC_BP1FILENAME0 && id < IDC_BP1FILENAME0 + 8) {
    launch_row_.Start(id - IDC_BP1FILENAME0, hwnd());
    return true;
  }
  // The editor's own commands, chosen in its menus merged into this menu bar.
  if (id >= IDM_EDITOR_FIRST && id <= IDM_EDITOR_LAST) {
    if (EditorWindow* e = ActiveEditor()) SendMessageW(e->hwnd(), WM_COMMAND, id, 0);
    return true;
  }
  // The window list and the system commands of a maximized editor belong to
  // the frame procedure.
  return false;
}

bool MainWindow::TranslateKeys(MSG& msg) {
  if (TranslateMDISysAccel(client_, &msg)) return true;
  // While an editor window is active its shortcuts apply (Ctrl+X cuts there).
  if (EditorWindow* e = ActiveEditor()) {
    static HACCEL editor_accel = LoadAcceleratorsW(GetModuleHandleW(nullptr), L"EDITACCEL");
    return TranslateAcceleratorW(e->hwnd(), editor_accel, &msg) != 0;
  }
  return TranslateAcceleratorW(hwnd(), accel_, &msg) != 0;
}

LRESULT MainWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE:
      CreateControls();
      LayoutChildren();
      FormResize();
      Application::Get().SetKeyHandler(hwnd(), [this](MSG& m) { return TranslateKeys(m); });
      return 0;
    case WM_SIZE:
      LayoutChildren();
      FormResize();
      PlaceCaptionClock();
      return 0;
    case WM_MOVE:
      PlaceCaptionClock();
      break;
    case WM_SHOWWINDOW:
      if (wp && !shown_once_) {
        shown_once_ = true;
        PostMessageW(hwnd(), kFrameShown, 0, 0);
      }
      break;
    case kFrameShown:
      FormShow();
      PostMessageW(hwnd(), kOfferCopies, 0, 0);
      return 0;
    case kOfferCopies:
      OfferLeftCopies();
      return 0;
    case kCopiesNotWritten:
      if (!std::exchange(told_copies_not_written_, true) && journal_)
        ShowMessage(hwnd(), FolderNotWritableText(journal_->folder()), MessageKind::Warning);
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wp) != WA_INACTIVE) {
        FormActivate();
        if (EditorWindow* e = ActiveEditor()) PostMessageW(e->hwnd(), kCheckDisk, 0, 0);
      }
      break;
    case WM_PAINT: {
      const LRESULT r = DefaultProc(msg, wp, lp);
      FormPaint();
      return r;
    }
    case WM_NCACTIVATE: {
      const LRESULT r = DefaultProc(msg, wp, lp);
      caption_active_ = wp != 0;
      return r;
    }
    case WM_TIMER:
      if (wp == kTimer1) Timer1Timer();
      return 0;
    case WM_SETTEXT:
      title_ = lp ? reinterpret_cast<const wchar_t*>(lp) : L"";
      title_bare_ = bare_title_;
      if (bare_title_) return DefWindowProcW(hwnd(), msg, wp, lp);
      break;
    case WM_COMMAND:
      if (OnCommand(LOWORD(wp))) return 0;
      break;
    case WM_MENUSELECT:
      // Menu items carry no hints: browsing the menu empties the status line.
      Application::Get().SetHint(L"");
      break;
    case WM_INITMENUPOPUP:
      if (EditorWindow* e = ActiveEditor()) SendMessageW(e->hwnd(), msg, wp, lp);
      break;
    case WM_DROPFILES:
      OnDropFiles(reinterpret_cast<HDROP>(wp));
      return 0;
    case kEditorsChanged:
      if (!ActiveEditor()) {
        SendMessageW(client_, WM_MDISETMENU, reinterpret_cast<WPARAM>(menu_), reinterpret_cast<LPARAM>(window_menu_));
        DrawMenuBar(hwnd());
      }
      UpdateMenuItems();
      return 0;
    case WM_CLOSE:
      if (FormCloseQuery()) DestroyWindow(hwnd());
      return 0;
    case WM_QUERYENDSESSION:
      return QueryEndSession() ? TRUE : FALSE;
    case WM_ENDSESSION:
      if (wp) EndSession();
      return 0;
    case WM_DESTROY:
      // The program ends even when saving the placement fails.
      PostQuitMessage(0);
      FormDestroy();
      break;
  }
  return DefaultProc(msg, wp, lp);
}

LRESULT MainWindow::DefaultProc(UINT msg, WPARAM wp, LPARAM lp) { return DefFrameProcW(hwnd(), client_, msg, wp, lp); }

}  // namespace velkor
