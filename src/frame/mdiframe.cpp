#include "frame/mdiframe.h"

#include <shellapi.h>

#include "controls/window_dock.h"
#include "editor/editor_ids.h"
#include "editor/mdiedit.h"
#include "frame/frame_ids.h"
#include "frame/frame_logic.h"
#include "frame/settings.h"
#include "frame/winplace.h"
#include "launcher/fmx_utils.h"
#include "platform/app.h"
#include "platform/dpi.h"
#include "platform/error.h"
#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "wordsearch/seaform.h"

namespace velkor {
namespace {

constexpr wchar_t kClass[] = L"Tframeform";
constexpr wchar_t kTitle[] = L"ベルコノート";
constexpr UINT kEditorsChanged = WM_APP + 1;
constexpr UINT_PTR kTimer1 = 1;

Tframeform* g_frame = nullptr;

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

bool FileExists(const std::wstring& path) {
  const DWORD a = GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring ModulePath() {
  std::wstring buf(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    if (n < buf.size()) {
      buf.resize(n);
      return buf;
    }
    buf.resize(buf.size() * 2);
  }
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

Tframeform::Tframeform(std::vector<std::wstring> args) : args_(std::move(args)) {
  // Only a placeholder: activation chooses the help file before help can be asked for.
  help_file_ = L"C:\\Velkor\\Velkor.hlp";
  WNDCLASSEXW wc{};
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpszClassName = kClass;
  wc.hIcon = LoadIconW(GetModuleHandleW(nullptr), L"MAINICON");
  wc.hIconSm = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), L"MAINICON", IMAGE_ICON,
                                             GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
  // No background of its own: the client window paints the area between the bars.
  wc.hbrBackground = nullptr;
  RegisterWindowClass(wc);
}

Tframeform::~Tframeform() {
  if (g_frame == this) g_frame = nullptr;
}

Tframeform* Tframeform::Get() { return g_frame; }

void Tframeform::CreateForm() {
  g_frame = this;
  Application::Get().SetTitle(kTitle);
  menu_ = LoadMenuW(GetModuleHandleW(nullptr), L"MAINMENU");
  window_menu_ = GetSubMenu(menu_, 1);
  accel_ = LoadAcceleratorsW(GetModuleHandleW(nullptr), L"MAINACCEL");
  RECT rc{0, 0, Scale(630), Scale(424)};
  const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
  AdjustWindowRect(&rc, style, TRUE);
  Create(0, kClass, kTitle, style, CW_USEDEFAULT, CW_USEDEFAULT, rc.right - rc.left, rc.bottom - rc.top, nullptr,
         menu_);
  if (!hwnd()) throw Error(L"メイン・ウィンドウを作成できません。");
  Application::Get().SetMainWindow(hwnd());
  FormCreate();
}

void Tframeform::CreateControls() {
  CLIENTCREATESTRUCT ccs{window_menu_, IDM_FIRSTCHILD};
  client_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"MDICLIENT", nullptr,
                            WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL, 0, 0, 100, 100,
                            hwnd(), reinterpret_cast<HMENU>(IDC_MDICLIENT), GetModuleHandleW(nullptr), &ccs);

  Panel::Look tool_look;
  tool_look.outer = Bevel::Raised;
  tool_look.inner = Bevel::Lowered;
  panel1_.Create(hwnd(), IDC_PANEL1, 0, 0, 100, Scale(kPanel1Height), tool_look);
  panel1_.on_click = [this] { Panel1Click(); };
  panel1_.on_mouse_move = [this] { InstallDisplayHint(); };
  for (const SpeedButtonSpec& spec : kTools) {
    auto b = std::make_unique<SpeedButton>();
    b->Create(panel1_, spec, 8, 27, hwnd());
    tool_buttons_.push_back(std::move(b));
  }

  Panel::Look row_look;
  row_look.outer = Bevel::Lowered;
  row_look.inner = Bevel::None;
  bp1_panel_.Create(panel1_.hwnd(), IDC_BP1PANEL, Scale(274), Scale(4), Scale(253), Scale(36), row_look);

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

void Tframeform::LayoutChildren() {
  // One deferred move for the three bands (start-up pays for every move).
  WindowDock dock;
  dock.Add(Dock::Top, panel1_.hwnd(), Scale(kPanel1Height));
  dock.Add(Dock::Bottom, status_line_.hwnd(), Scale(kStatusHeight));
  dock.Add(Dock::Fill, client_);
  dock.Layout(hwnd());
}

// Creation: everything the window needs before it is first shown.
void Tframeform::FormCreate() {
  BusyCursor busy;
  NewFileNo = 0;
  for (int n = 1; n <= 7; ++n) UsedFileSlots[static_cast<size_t>(n)] = {L"&" + std::to_wstring(n) + L" No Set", L"No Set"};
  CaptionActive = true;
  ScreenWidth = GetSystemMetrics(SM_CXSCREEN);

  // The quick-launch row.
  LoadLaunchPaths();
  bool any = false;
  for (const auto& p : LaunchPaths) any = any || !p.empty();
  ShowWindow(bp1_panel_.hwnd(), any ? SW_SHOW : SW_HIDE);
  Application::Get().ProcessMessages();
  for (int i = 0; i < 8; ++i) {
    SpeedButton& b = launch_buttons_[static_cast<size_t>(i)];
    b.Create(bp1_panel_, IDC_BP1FILENAME0 + i, Scale(i * 31 + 2), Scale(2), Scale(30), Scale(30), true, hwnd());
    b.tag = i;
    b.SetHint(L"未登録 " + std::to_wstring(i + 1));
    Application::Get().ProcessMessages();
  }
  ArrangeLaunchButtons();

  Application::Get().ProcessMessages();
  LoadUsedFiles(7);
  StartShowCmd = RestorePlacement(hwnd(), kClass, false);

  InstallDisplayHint();
  Application::HintLook look;
  look.color = RGB(0, 255, 255);
  look.pause_ms = 200;
  look.hide_pause_ms = 7000;
  Application::Get().SetHintLook(look);

  {
    Settings ini;
    for (int n = 1; n <= 7; ++n) {
      const std::wstring key = L"NO" + std::to_wstring(n);
      SnippetKeys[static_cast<size_t>(n)] = ini.ReadString(L"KEY", key, L"ご挨拶");
      SnippetTexts[static_cast<size_t>(n)] = ini.ReadString(L"SET", key, L"ボクを使って戴いて、大変ありがとうございます");
    }
  }
  start_tick_ = GetTickCount();
  DragAcceptFiles(hwnd(), TRUE);
  SetTimer(hwnd(), kTimer1, 1000, nullptr);
  UpdateMenuItems();
}

void Tframeform::ShowForStartup(int show_command) {
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

void Tframeform::FormShow() {
  if (StartShowCmd == SW_SHOWMAXIMIZED)
    ShowWindow(hwnd(), SW_MAXIMIZE);
  else if (StartShowCmd == SW_SHOWMINIMIZED)
    ShowWindow(hwnd(), SW_MINIMIZE);
  SetMascotGlyph(L"MAINICON", vels_button_);
}

void Tframeform::FormActivate() {
  std::wstring windows(MAX_PATH, L'\0');
  windows.resize(GetWindowsDirectoryW(windows.data(), MAX_PATH));
  if (FileExists(windows + L"\\Velkor.hlp") || FileExists(windows + L"\\help\\Velkor.hlp")) {
    help_file_ = L"Velkor.hlp";
  } else {
    std::wstring exe = ModulePath();
    const auto dot = exe.rfind(L'.');
    const auto slash = exe.rfind(L'\\');
    if (dot != std::wstring::npos && (slash == std::wstring::npos || dot > slash)) exe.resize(dot);
    help_file_ = exe + L".hlp";
  }
}

int Tframeform::HelpContextOf(int id) {
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

int Tframeform::MenuHelpContext(const HELPINFO& info) const {
  // The titles of the menu bar (File and Window here; File, Edit, Format,
  // Search and Window while an editor is active) share 1020.
  if (info.hItemHandle && info.hItemHandle == reinterpret_cast<HANDLE>(GetMenu(hwnd()))) return 1020;
  const int context = ActiveEditor() ? Teditform::HelpContextOf(info.iCtrlId) : HelpContextOf(info.iCtrlId);
  return context != 0 ? context : 1000;
}

void Tframeform::HelpClick() {
  std::wstring dir = FolderOf(ModulePath());
  SetCurrentDirectoryW(dir.c_str());
  WinHelpW(hwnd(), help_file_.c_str(), HELP_CONTEXT, 1000);
}

void Tframeform::FormPaint() {
  if (command_line_opened_ != 0 || args_.empty() || args_.size() > 3) return;
  BusyCursor busy;
  for (const CommandLineDocument& doc : PlanCommandLine(args_, FileExists)) {
    // Documents are known by their absolute paths: the current directory
    // changes (help does), and the recent list and settings sections must
    // name the same file later.
    const std::wstring path = AbsolutePath(doc.path);
    Teditform* child = new Teditform(*this, doc.tag);
    child->Create(FileNameOf(path));
    ++command_line_opened_;
    ApplyChildSettings(*child, doc.settings_section == doc.path ? path : doc.settings_section);
    child->OpenF(path);
  }
}

void Tframeform::FormResize() {
  RECT wr{};
  GetWindowRect(hwnd(), &wr);
  const RECT br = vels_button_.rect();
  const int left = (wr.right - wr.left) - Scale(kVelSButtonSize) - Scale(32);
  if (br.left != left) vels_button_.SetBounds(left, br.top, br.right - br.left, br.bottom - br.top);
}

void Tframeform::FormDestroy() {
  KillTimer(hwnd(), kTimer1);
  SavePlacement(hwnd(), kClass);
}

// The drop: text and backup files open in editor windows, anything else is
// started through the shell.
void Tframeform::OnDropFiles(HDROP drop) {
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
      ShellStart(name, L"", FolderOf(name), SW_SHOWNORMAL);
    }
  }
}

Teditform* Tframeform::OpenDocument(const std::wstring& given, const std::wstring& section, int tag, bool margins) {
  const std::wstring path = AbsolutePath(given);
  Teditform* child = new Teditform(*this, tag);
  child->Create(FileNameOf(path));
  ApplyChildSettings(*child, section == given ? path : section);
  if (margins) SetChildMargins(*child);
  child->OpenF(path);
  return child;
}

std::vector<Teditform*> Tframeform::Editors() const {
  std::vector<Teditform*> list;
  if (!client_) return list;
  for (HWND w = GetWindow(client_, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
    if (GetWindow(w, GW_OWNER)) continue;  // icon titles
    if (Teditform* e = Teditform::FromHandle(w)) list.push_back(e);
  }
  return list;
}

Teditform* Tframeform::ActiveEditor() const {
  if (!client_) return nullptr;
  return Teditform::FromHandle(reinterpret_cast<HWND>(SendMessageW(client_, WM_MDIGETACTIVE, 0, 0)));
}

void Tframeform::LoadLaunchPaths() {
  Settings ini;
  for (int i = 1; i <= 8; ++i)
    LaunchPaths[static_cast<size_t>(i - 1)] = ini.ReadString(L"VELKORA", L"SImage" + std::to_wstring(i) + L"FileName", L"");
}

void Tframeform::ArrangeLaunchButtons() {
  RECT prc{};
  GetClientRect(bp1_panel_.hwnd(), &prc);
  int button_w = 0;
  for (SpeedButton& b : launch_buttons_) {
    const RECT r = b.rect();
    const int h = r.bottom - r.top;
    button_w = r.right - r.left;
    b.SetBounds(r.left, (prc.bottom - h) / 2, button_w, h);
  }
  RECT wr{};
  GetWindowRect(bp1_panel_.hwnd(), &wr);
  SetWindowPos(bp1_panel_.hwnd(), nullptr, 0, 0, 8 * button_w + Scale(11), wr.bottom - wr.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Tframeform::LaunchButtonClick(int index) {
  BusyCursor busy;
  const std::wstring& entry = LaunchPaths[static_cast<size_t>(index)];
  std::wstring full(MAX_PATH, L'\0');
  const DWORD n = entry.empty() ? 0 : GetFullPathNameW(entry.c_str(), MAX_PATH, full.data(), nullptr);
  full.resize(n < MAX_PATH ? n : 0);
  ShellStart(full, L"", FolderOf(full), SW_SHOWNORMAL);
}

void Tframeform::Panel1Click() {
  LoadLaunchPaths();
}

void Tframeform::SetMascotGlyph(const wchar_t* icon_name, SpeedButton& button) {
  HICON icon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), icon_name, IMAGE_ICON, 32, 32, 0));
  if (!icon) return;
  ScopedIcon owned(icon);
  DrawIconGlyph(icon, button);
}

void Tframeform::DrawIconGlyph(HICON icon, SpeedButton& button) {
  WindowDc screen(hwnd());
  HBITMAP bmp = CreateCompatibleBitmap(screen.get(), 33, 33);
  {
    ScopedMemDc dc(CreateCompatibleDC(screen.get()));
    SelectObjectScope sel(dc.get(), bmp);
    RECT rc{0, 0, 33, 33};
    FillRect(dc.get(), &rc, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
    DrawIconEx(dc.get(), 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
  }
  tmp_image_.reset(bmp);
  SetButtonGlyph(tmp_image_.get(), button);
}

void Tframeform::SetButtonGlyph(HBITMAP picture, SpeedButton& button) {
  const RECT rc = button.rect();
  const int w = rc.right - rc.left - 3, h = rc.bottom - rc.top - 3;
  WindowDc screen(hwnd());
  HBITMAP glyph = CreateCompatibleBitmap(screen.get(), w, h);
  {
    ScopedMemDc dst(CreateCompatibleDC(screen.get()));
    ScopedMemDc src(CreateCompatibleDC(screen.get()));
    SelectObjectScope sel_dst(dst.get(), glyph);
    SelectObjectScope sel_src(src.get(), picture);
    BITMAP bm{};
    GetObjectW(picture, sizeof bm, &bm);
    SetStretchBltMode(dst.get(), COLORONCOLOR);
    StretchBlt(dst.get(), 0, 0, w, h, src.get(), 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
    // The bottom-left pixel names the transparent colour: the light grey stays.
    SetPixel(dst.get(), 0, h - 1, GetSysColor(COLOR_BTNSHADOW));
  }
  button.SetGlyph(glyph);
}

void Tframeform::Timer1Timer() {}

// Recent files.
void Tframeform::LoadUsedFiles(int count) {
  Settings ini;
  for (int n = 1; n <= count; ++n) {
    const std::wstring entry = ini.ReadString(L"UsedFiles", L"UsedFile" + std::to_wstring(n), L"No Set");
    UsedFileSlot& slot = UsedFileSlots[static_cast<size_t>(n)];
    slot.caption = L"&" + std::to_wstring(n) + L" " + entry;
    slot.hint = entry;
    ModifyMenuW(GetSubMenu(menu_, 0), IDM_USEDFILE1 + n - 1, MF_BYCOMMAND | MF_STRING, IDM_USEDFILE1 + n - 1,
                slot.caption.c_str());
  }
  RefreshEditorMirrors();
}

void Tframeform::WriteUsedFile(const std::wstring& value, int n) {
  if (!value.empty()) Settings().WriteString(L"UsedFiles", L"UsedFile" + std::to_wstring(n), value);
}

void Tframeform::EraseFileSettings(const std::wstring& name) {
  if (!name.empty()) Settings().EraseSection(name);
}

void Tframeform::ShiftUsedFiles(int k, const std::wstring& name) {
  auto set = [this](int j, const std::wstring& entry) {
    UsedFileSlot& slot = UsedFileSlots[static_cast<size_t>(j)];
    slot.hint = entry;
    slot.caption = L"&" + std::to_wstring(j) + L" " + entry;
    ModifyMenuW(GetSubMenu(menu_, 0), IDM_USEDFILE1 + j - 1, MF_BYCOMMAND | MF_STRING, IDM_USEDFILE1 + j - 1,
                slot.caption.c_str());
  };
  for (int j = k; j >= 2; --j) {
    const std::wstring entry = UsedFileSlots[static_cast<size_t>(j - 1)].hint;
    set(j, entry);
    WriteUsedFile(entry, j);
  }
  set(1, name);
  WriteUsedFile(name, 1);
  RefreshEditorMirrors();
}

void Tframeform::RefreshEditorMirrors() {
  for (Teditform* e : Editors()) e->FormCreate();
}

void Tframeform::NoteSavedFile(const std::wstring& path) {
  auto same = [&path](const std::wstring& entry) {
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, path.c_str(), -1, entry.c_str(), -1) == CSTR_EQUAL;
  };
  if (path.empty() || same(UsedFileSlots[1].hint)) return;
  for (int k = 2; k <= 7; ++k) {
    if (same(UsedFileSlots[static_cast<size_t>(k)].hint)) {
      ShiftUsedFiles(k, path);
      return;
    }
  }
  EraseFileSettings(UsedFileSlots[7].hint);
  ShiftUsedFiles(7, path);
}

void Tframeform::UsedFile1Click(int n) {
  if (n < 1 || n > 7) return;
  UsedFileSlot& slot = UsedFileSlots[static_cast<size_t>(n)];
  const std::wstring path = slot.hint;
  if (path == L"No Set" || path.empty()) return;
  if (FileExists(path)) {
    BusyCursor busy;
    OpenDocument(path, path, 0, true);
    return;
  }
  const std::wstring text = L"指定のファイルが見つかりません。\r\n\r\n" + FileNameOf(path) +
                            L" を削除か、移動されませんでしたか ?\r\n\r\nそれともネットワークでの使用ですか ?\r\n\r\n"
                            L"設定を消去しますか ?";
  if (ShowMessage(text, MessageKind::Information, MB_YESNO) != IDYES) return;
  slot.hint = L"No Set";
  slot.caption = L"&" + std::to_wstring(n) + L" No Set";
  ModifyMenuW(GetSubMenu(menu_, 0), IDM_USEDFILE1 + n - 1, MF_BYCOMMAND | MF_STRING, IDM_USEDFILE1 + n - 1,
              slot.caption.c_str());
  WriteUsedFile(L"No Set", n);
  EraseFileSettings(path);
  RefreshEditorMirrors();
}

// Editor windows.
Teditform* Tframeform::NewChild() {
  NormalSizeClick();
  ++NewFileNo;
  Teditform* child = new Teditform(*this, NewFileNo);
  child->Create(L" NewFile " + std::to_wstring(NewFileNo));
  ApplyChildSettings(*child, L"ChildNo" + std::to_wstring(NewFileNo) + L"FontSelect");
  SetChildMargins(*child);
  ShowWindow(child->Memo1.hwnd(), SW_SHOW);
  SetFocus(child->Memo1.hwnd());
  return child;
}

Teditform* Tframeform::openchild() {
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
  NormalSizeClick();
  BusyCursor busy;
  return OpenDocument(chosen, chosen, 0, true);
}

void Tframeform::ApplyChildSettings(Teditform& child, const std::wstring& section) {
  RECT wr{};
  GetWindowRect(hwnd(), &wr);
  const int W = wr.right - wr.left, H = wr.bottom - wr.top;
  Settings ini;
  const int form_w = ini.ReadInteger(section, L"EditFormWidth", W * 6 / 7);
  const int form_h = ini.ReadInteger(section, L"EditFormHeight", H * 2 / 3);
  SetWindowPos(child.hwnd(), nullptr, 0, 0, form_w, form_h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  const bool wrap = ini.ReadBool(section, L"WordWrap", false);
  // The text area fills the window, so its stored size is read but has nothing to change.
  ini.ReadInteger(section, L"Width", W * 6 / 7);
  ini.ReadInteger(section, L"Height", H * 2 / 3);
  child.ApplyWordWrap(wrap);
  FontSpec font = child.Memo1.font();
  font.name = ini.ReadString(section, L"Name", font.name);
  font.size = ini.ReadInteger(section, L"Size", font.size);
  font.color = static_cast<COLORREF>(ini.ReadInteger(section, L"Color", static_cast<int>(font.color)));
  font.style = ini.ReadInteger(section, L"Style", 0) & 15;
  child.Memo1.SetFont(font);
}

void Tframeform::SetChildMargins(Teditform& child) { child.SetTextMargins(); }

void Tframeform::Tile1Click() {
  // The mode alternates, starting with the vertical one.
  tile_vertical_ = !tile_vertical_;
  SendMessageW(client_, WM_MDITILE, tile_vertical_ ? MDITILE_VERTICAL : MDITILE_HORIZONTAL, 0);
}

void Tframeform::Cascade1Click() { SendMessageW(client_, WM_MDICASCADE, 0, 0); }
void Tframeform::ArrangeIcons1Click() { SendMessageW(client_, WM_MDIICONARRANGE, 0, 0); }
void Tframeform::NextChildFormClick() { SendMessageW(client_, WM_MDINEXT, 0, 0); }

void Tframeform::iconMiniClick() {
  const auto editors = Editors();
  for (auto it = editors.rbegin(); it != editors.rend(); ++it) ShowWindow((*it)->hwnd(), SW_MINIMIZE);
}

void Tframeform::NormalSizeClick() {
  BusyCursor busy;
  for (Teditform* e : Editors()) SendMessageW(client_, WM_MDIRESTORE, reinterpret_cast<WPARAM>(e->hwnd()), 0);
}

void Tframeform::MaxmizeClick() {
  if (Teditform* e = ActiveEditor()) SendMessageW(client_, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(e->hwnd()), 0);
}

void Tframeform::UpdateMenuItems() {
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

SpeedButton& Tframeform::tool_button(int command_id) {
  for (auto& b : tool_buttons_)
    if (b->id() == command_id) return *b;
  throw Error(L"no tool button " + std::to_wstring(command_id));
}

// Hints and tool windows.
void Tframeform::DisplayHint() { status_line_.SetText(Application::Get().hint()); }

void Tframeform::InstallDisplayHint() {
  if (Application::Get().hint_handler_owner() != this) Application::Get().SetHintHandler([this] { DisplayHint(); }, this);
}

void Tframeform::Exit1Click() { PostMessageW(hwnd(), WM_CLOSE, 0, 0); }

void Tframeform::VelSButtonClick() {}
void Tframeform::SearchWordButtonClick() {
  BusyCursor busy;
  if (!TSeaForm::Get()) {
    auto form = std::make_unique<TSeaForm>();
    form->CreateForm();
    form.release();  // the window owns it from here and frees it when it closes
  }
  TSeaForm::Get()->ShowForm();
}
void Tframeform::AboutBtnClick() {}

// Ending.
std::wstring Tframeform::ReadOwnerName() {
  std::wstring name = ReadRegistryString(HKEY_CURRENT_USER, L"SOFTWARE\\MICROSOFT\\USER INFORMATION", L"DEFAULT USER NAME");
  if (name.empty())
    name = ReadRegistryString(HKEY_LOCAL_MACHINE, L"SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION", L"RegisteredOwner");
  if (name.empty())
    name = ReadRegistryString(HKEY_LOCAL_MACHINE, L"SOFTWARE\\MICROSOFT\\WINDOWS NT\\CURRENTVERSION", L"RegisteredOwner");
  if (name.empty()) name = L"親分";
  return name;
}

bool Tframeform::ConfirmExit() {
  POINT p{};
  GetCursorPos(&p);
  const Point at = FarewellPosition({p.x, p.y}, ScreenWidth);
  const std::wstring usage = FormatUsageTime(GetTickCount() - start_tick_);
  const int open = static_cast<int>(Editors().size());
  if (open > 0) return ShowMessage(ExitConfirmationText(usage, open), MessageKind::Confirmation, MB_YESNO) != IDNO;
  ShowMessage(FarewellText(ReadOwnerName(), usage), MessageKind::Plain, MB_OK, POINT{at.x, at.y});
  return true;
}

bool Tframeform::FormCloseQuery() {
  for (Teditform* e : Editors())
    if (!e->CloseQuery()) return false;
  return ConfirmExit();
}

bool Tframeform::OnCommand(int id) {
  switch (id) {
    case IDM_NEW1: NewChild(); return true;
    case IDM_OPEN1: openchild(); return true;
    case IDM_EXIT1: Exit1Click(); return true;
    case IDM_FRIEND:
    case IDC_VELSBUTTON: VelSButtonClick(); return true;
    case IDM_WORDSEARCH: SearchWordButtonClick(); return true;
    case IDM_ABOUT: AboutBtnClick(); return true;
    case IDM_HELP: HelpClick(); return true;
    case IDM_TILE1: Tile1Click(); return true;
    case IDM_CASCADE1: Cascade1Click(); return true;
    case IDM_NEXTCHILDFORM: NextChildFormClick(); return true;
    case IDM_ICONMINI: iconMiniClick(); return true;
    case IDM_NORMALSIZE: NormalSizeClick(); return true;
    case IDM_MAXMIZE: MaxmizeClick(); return true;
    case IDM_ARRANGEICONS1: ArrangeIcons1Click(); return true;
  }
  if (id >= IDM_USEDFILE1 && id <= IDM_USEDFILE7) {
    UsedFile1Click(id - IDM_USEDFILE1 + 1);
    return true;
  }
  if (id >= IDC_BP1FILENAME0 && id < IDC_BP1FILENAME0 + 8) {
    LaunchButtonClick(id - IDC_BP1FILENAME0);
    return true;
  }
  // The editor's own commands, chosen in its menus merged into this menu bar.
  if (id >= IDM_EDITOR_FIRST && id <= IDM_EDITOR_LAST) {
    if (Teditform* e = ActiveEditor()) SendMessageW(e->hwnd(), WM_COMMAND, id, 0);
    return true;
  }
  // The window list and the system commands of a maximized editor belong to
  // the frame procedure.
  return false;
}

bool Tframeform::TranslateKeys(MSG& msg) {
  if (TranslateMDISysAccel(client_, &msg)) return true;
  // While an editor window is active its shortcuts apply (Ctrl+X cuts there).
  if (Teditform* e = ActiveEditor()) {
    static HACCEL editor_accel = LoadAcceleratorsW(GetModuleHandleW(nullptr), L"EDITACCEL");
    return TranslateAcceleratorW(e->hwnd(), editor_accel, &msg) != 0;
  }
  return TranslateAcceleratorW(hwnd(), accel_, &msg) != 0;
}

LRESULT Tframeform::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
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
      return 0;
    case WM_SHOWWINDOW:
      if (wp && !shown_once_) {
        shown_once_ = true;
        PostMessageW(hwnd(), WM_APP + 2, 0, 0);
      }
      break;
    case WM_APP + 2:
      FormShow();
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wp) != WA_INACTIVE) FormActivate();
      break;
    case WM_PAINT: {
      const LRESULT r = DefaultProc(msg, wp, lp);
      FormPaint();
      return r;
    }
    case WM_NCACTIVATE: {
      const LRESULT r = DefaultProc(msg, wp, lp);
      CaptionActive = wp != 0;
      return r;
    }
    case WM_TIMER:
      if (wp == kTimer1) Timer1Timer();
      return 0;
    case WM_COMMAND:
      if (OnCommand(LOWORD(wp))) return 0;
      break;
    case WM_MENUSELECT:
      // Menu items carry no hints: browsing the menu empties the status line.
      Application::Get().SetHint(L"");
      break;
    case WM_INITMENUPOPUP:
      if (Teditform* e = ActiveEditor()) SendMessageW(e->hwnd(), msg, wp, lp);
      break;
    case WM_HELP: {
      const auto* info = reinterpret_cast<const HELPINFO*>(lp);
      if (info->iContextType == HELPINFO_MENUITEM) {
        const int context = MenuHelpContext(*info);
        WinHelpW(hwnd(), help_file_.c_str(), HELP_CONTEXT, static_cast<ULONG_PTR>(context));
        return TRUE;
      }
      break;
    }
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
    case WM_DESTROY:
      // The program ends even when saving the placement fails.
      PostQuitMessage(0);
      FormDestroy();
      break;
  }
  return Window::HandleMessage(msg, wp, lp);
}

LRESULT Tframeform::DefaultProc(UINT msg, WPARAM wp, LPARAM lp) { return DefFrameProcW(hwnd(), client_, msg, wp, lp); }

}  // namespace velkor
