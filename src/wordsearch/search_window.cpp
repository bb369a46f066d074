// The search window itself: its controls, settings, hints, help, keys and
// the result list's handlers.
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

namespace velkor {
namespace {

constexpr wchar_t kClass[] = L"TSeaForm";
constexpr wchar_t kCaption[] = L"指定ディレクトリーから単語を検索";
constexpr int kClientWidth = 632;
constexpr int kClientHeight = 453;
constexpr int kSpeedBarHeight = 68;
constexpr int kHeaderHeight = 18;
constexpr int kButtonSize = 27;
constexpr int kDefaultFontSize = SearchSettings::kDefaultFontSize;
constexpr int kMaxFontSize = SearchSettings::kMaxFontSize;
static_assert(SearchSettings::kFileClasses == kExtClasses, "the settings keep one check per file class");


const SpeedButtonSpec kButtons[] = {
    {IDC_SEA_FINISH, 4, L"GLYPH_FINISH", L"終了|検索を終了する", true},
    {IDC_SEA_SEARCH, 33, L"GLYPH_SEARCH", L"検索開始|指定条件に基づき、検索を開始する", true},
    {IDC_SEA_COPY, 62, L"GLYPH_COPYSEL", L"選択範囲をコピー|選択範囲を、クリップボードにコピーする", false},
    {IDC_SEA_FILE, 91, L"GLYPH_FILEOPEN", L"ファイルを開く|選択されたリストから、全文を見る", false},
    {IDC_SEA_CLOSEFILE, 120, L"GLYPH_CLOSEFILE", L"リストアップに戻る|ファイルを閉じて、リストアップに戻る",
     false},
    {IDC_SEA_SETUP, 153, L"GLYPH_SETUP",
     L"検索対象ディレクトリーを設定|ディレクトリー設定用フォームを、表示する", true},
    {IDM_SEA_OPEN1, 182, L"GLYPH_SHELLOPEN", L"開けゴマ|ＷＷＷブラウザなどで閲覧", false},
};


HFONT CreateGothic(int points) {
  WindowDc screen(nullptr);
  const int height = -MulDiv(points, GetDeviceCaps(screen.get(), LOGPIXELSY), 72);
  return CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, L"ＭＳ ゴシック");
}

HWND CreateChild(DWORD ex_style, const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h,
                 HWND parent, int id, HFONT font) {
  HWND child = CreateWindowExW(ex_style, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  if (!child) throw Error(L"検索フォームのコントロールを作成できません。");
  if (font) SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return child;
}

// A themed check box draws its caption in the theme's colour; ClassCheck's is red.
void DropTheme(HWND control) {
  using SetWindowThemeFn = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
  if (HMODULE ux = LoadLibraryW(L"uxtheme.dll")) {
    if (auto fn = reinterpret_cast<SetWindowThemeFn>(reinterpret_cast<void*>(GetProcAddress(ux, "SetWindowTheme"))))
      fn(control, L"", L"");
  }
}


std::wstring DirCaption(const std::wstring& path) {
  const Cp932Bytes bytes = WideToCp932(path);
  if (bytes.lost == 0) return Cp932ToWide(MakeDirCaption(bytes.bytes));
  // A name that code page 932 cannot spell: the same rule on the characters.
  std::wstring p = path;
  if (!p.empty() && p.back() == L'\\') p.pop_back();
  const auto slash = p.rfind(L'\\');
  return slash == std::wstring::npos ? p : p.substr(slash + 1);
}

}  // namespace

SearchWindow::SearchWindow() : Form(kClass) { SetOwnsItself(true); }

SearchWindow::~SearchWindow() = default;

void SearchWindow::CreateForm() {
  HINSTANCE inst = GetModuleHandleW(nullptr);
  popup1_.Load(L"SEAVIEWPOPUP");
  popup2_.Load(L"SEALISTPOPUP");
  accel_ = LoadAcceleratorsW(inst, L"SEAACCEL");
  bar_font_.reset(CreateGothic(kDefaultFontSize));
  font_.reset(CreateGothic(kDefaultFontSize));

  const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
  RECT rc{0, 0, Scale(kClientWidth), Scale(kClientHeight)};
  AdjustWindowRectEx(&rc, style, FALSE, 0);
  // Owned by nothing: a window of its own beside the main window, not above it.
  Create(0, kClass, kCaption, style, CW_USEDEFAULT, CW_USEDEFAULT, rc.right - rc.left, rc.bottom - rc.top, nullptr,
         nullptr);
  if (!hwnd()) throw Error(L"検索フォームを作成できません。");
  BecomeInstance(this);
  SetUpWindow();
}


void SearchWindow::CreateControls() {
  Panel::Look bar_look;
  bar_look.outer = Bevel::Raised;
  speed_bar_.Create(hwnd(), IDC_SEA_SPEEDBAR, 0, 0, Scale(kClientWidth), Scale(kSpeedBarHeight), bar_look);
  speed_bar_.on_mouse_move = [this] { SpeedBarMouseMove(); };
  CreateSpeedBar();

  header_ = Header(CreateChild(0, WC_HEADERW, L"", HDS_HORZ, 0, Scale(kSpeedBarHeight), Scale(kClientWidth),
                               Scale(kHeaderHeight), hwnd(), IDC_SEA_HEADER, font_.get()));
  const struct {
    const wchar_t* title;
    int format;
  } sections[] = {{L"File Name", HDF_LEFT}, {L"LineNo", HDF_LEFT}, {L"Date Time", HDF_CENTER}, {L"Coment", HDF_LEFT}};
  int index = 0;
  for (const auto& s : sections) header_.Insert(index++, s.title, Scale(100), s.format);
  EnableWindow(header_, FALSE);

  file_list_ = ListBox(CreateChild(WS_EX_CLIENTEDGE, L"LISTBOX", L"",
                                   WS_VSCROLL | WS_HSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT |
                                       LBS_DISABLENOSCROLL,
                                   0, Scale(kSpeedBarHeight + kHeaderHeight), Scale(kClientWidth), Scale(300),
                                   hwnd(), IDC_SEA_FILELIST, font_.get()));
  file_list_input_.Attach(file_list_);

  src_list_.Create(hwnd(), IDC_SEA_SRCLIST, ES_READONLY | WS_VSCROLL | WS_HSCROLL | ES_AUTOHSCROLL);
  ShowWindow(src_list_.hwnd(), SW_HIDE);
  src_list_.SetMaxLength(0x7FFFFFF0);
  src_list_.on_input = [this](UINT msg, WPARAM wp, LPARAM lp) { return ViewerKey(msg, wp, lp); };
  src_list_.on_after_input = [this](UINT msg, WPARAM wp, LPARAM lp) { SrcListKeyUpOrMouse(msg, wp, lp); };

  status_bar_ =
      StatusBar(CreateChild(0, STATUSCLASSNAMEW, L"", SBARS_SIZEGRIP, 0, 0, 0, 0, hwnd(), IDC_SEA_STATUSBAR, nullptr));
  status_bar_.SetParts({Scale(350), Scale(500), -1});
}

void SearchWindow::CreateSpeedBar() {
  HWND bar = speed_bar_.hwnd();
  HFONT font = bar_font_.get();
  for (const SpeedButtonSpec& def : kButtons) {
    SpeedButton* b = nullptr;
    switch (def.id) {
      case IDC_SEA_FINISH: b = &finish_button_; break;
      case IDC_SEA_SEARCH: b = &search_btn_; break;
      case IDC_SEA_COPY: b = &copy_btn_; break;
      case IDC_SEA_FILE: b = &file_button_; break;
      case IDC_SEA_CLOSEFILE: b = &close_file_button_; break;
      case IDC_SEA_SETUP: b = &setup_button_; break;
      default: b = &os_button_; break;
    }
    b->Create(speed_bar_, def, 5, kButtonSize, hwnd());
  }

  class_check_ = CreateChild(0, L"BUTTON", L"Class", BS_AUTOCHECKBOX | WS_TABSTOP, Scale(218), Scale(9), Scale(60),
                             Scale(20), bar, IDC_SEA_CLASSCHECK, font);
  DropTheme(class_check_);
  Application::Get().SetControlHint(class_check_, L"More Select|直前が スペース or . or ( の場合をセレクト");

  Panel::Look label_look;
  label_look.outer = Bevel::Lowered;
  label_look.text_color = RGB(0, 0, 255);
  label1_.Create(bar, IDC_SEA_LABEL1, Scale(4), Scale(37), Scale(92), Scale(26), label_look);
  label1_.SetFont(font);
  label1_.SetText(L"検索 (A=a)");
  label1_.on_click = [this] { ToggleCaseSensitivity(); };

  keyword_box_ = ComboBox(CreateChild(0, L"COMBOBOX", L"", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP,
                                      Scale(100), Scale(39), Scale(156), Scale(220), bar, IDC_SEA_KEYWORD, font));
  keyword_edit_ = keyword_box_.Edit();
  keyword_keys_.Attach(keyword_edit_);
  Application::Get().SetControlHint(keyword_box_, L"検索文字を入力|検索する文字列を入力して下さい");

  edit1_ = CreateChild(WS_EX_CLIENTEDGE, L"EDIT", L"", ES_READONLY | ES_RIGHT | ES_NUMBER, Scale(262), Scale(39),
                       Scale(46), Scale(23), bar, IDC_SEA_EDIT1, font);
  updown1_ = CreateChild(0, UPDOWN_CLASSW, L"", UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS, 0,
                         0, 0, 0, bar, IDC_SEA_UPDOWN1, nullptr);
  // The up-down takes its place from the right of its buddy.
  UpDown(updown1_).SetBuddy(edit1_);
  UpDown(updown1_).SetRange(0, kMaxFontSize);
  UpDown(updown1_).SetPosition(kDefaultFontSize);
  Application::Get().SetControlHint(updown1_, L"文字サイズ変更|文字サイズを変更 ( Up or Down )");

  page_control_ = CreateChild(0, WC_TABCONTROLW, L"", WS_CLIPSIBLINGS | WS_TABSTOP, Scale(314), Scale(2), Scale(314),
                              Scale(64), bar, IDC_SEA_PAGECONTROL, font);
  TabControl(page_control_).InsertTab(0, L"ディレクトリー選択");
  TabControl(page_control_).InsertTab(1, L"拡張子選択");
  CreatePages();
}

void SearchWindow::CreatePages() {
  RECT display{};
  GetClientRect(page_control_, &display);
  TabCtrl_AdjustRect(page_control_, FALSE, &display);
  MapWindowPoints(page_control_, speed_bar_.hwnd(), reinterpret_cast<POINT*>(&display), 2);
  const int w = display.right - display.left, h = display.bottom - display.top;
  Panel::Look page_look;
  page_look.outer = Bevel::None;
  const wchar_t* hints[3] = {nullptr, L"対象ディレクトリーを設定後、選択", L"対象ファイルの拡張子を選択"};
  for (int p = 1; p <= 2; ++p) {
    Panel& page = pages_[static_cast<size_t>(p)];
    page.Create(speed_bar_.hwnd(), p == 1 ? IDC_SEA_PAGE1 : IDC_SEA_PAGE2, display.left, display.top, w, h, page_look);
    SetWindowPos(page.hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Application::Get().SetControlHint(page.hwnd(), hints[p]);
  }
  ShowWindow(pages_[2].hwnd(), SW_HIDE);

  HFONT font = bar_font_.get();
  const int row_h = std::max(Scale(17), h / 2);
  for (int n = 1; n <= 6; ++n) {
    const int col = (n - 1) % 3, row = (n - 1) / 3;
    dir_checks_[static_cast<size_t>(n)] =
        CreateChild(0, L"BUTTON", (L"No." + std::to_wstring(n)).c_str(), BS_AUTOCHECKBOX | WS_TABSTOP,
                    Scale(4) + col * (w - Scale(4)) / 3, row * row_h, (w - Scale(4)) / 3 - Scale(2), row_h,
                    pages_[1].hwnd(), IDC_SEA_DIRNO1 + n - 1, font);
  }
  for (int n = 1; n <= static_cast<int>(kExtClasses); ++n) {
    const int col = (n - 1) % 5, row = (n - 1) / 5;
    ext_checks_[static_cast<size_t>(n)] =
        CreateChild(0, L"BUTTON", L"", BS_AUTOCHECKBOX | WS_TABSTOP, Scale(4) + col * (w - Scale(4)) / 5, row * row_h,
                    (w - Scale(4)) / 5 - Scale(2), row_h, pages_[2].hwnd(), IDC_SEA_CHECKBOX1 + n - 1, font);
  }
}

// Creation: everything the window needs before it is first shown.
void SearchWindow::SetUpWindow() {
  Layout();

  Application::Get().SetHintLook({.color = RGB(0, 255, 255), .pause_ms = 300, .hide_pause_ms = 8000});
  InstallHintHandler([this] { ShowHint(); });

  SetHeaderWidths();
  UpDown(updown1_).SetPosition(kDefaultFontSize);

  case_sensitive_ = false;
  Application::Get().SetControlHint(label1_.hwnd(), kCaseInsensitiveHint);

  settings_ = SearchSettings::Load(Settings());
  UpDown(updown1_).SetPosition(settings_.font_size);
  RebuildExtTable();
  ApplyFont(FontSize());
  ShowDirChecks();
  ShowExtChecks();

  KeepPlacement();
}

void SearchWindow::FormActivate() {
  ShowDirChecks();
  ShowExtChecks();
  SetHeaderWidths();
}

void SearchWindow::FormClose() {
  // A search under way stops at its next file, finding its window gone.
  DestroyWindow(hwnd());
}

void SearchWindow::FormDestroy() {
  find_.Close();
  if (progress_ && progress_->hwnd()) DestroyWindow(progress_->hwnd());
  SaveSearchSettings();
}

void SearchWindow::OnMainWindowClosing() { DestroyWindow(hwnd()); }

void SearchWindow::FormResize() {
  Layout();
  if (viewer_showing()) InvalidateRect(src_list_.hwnd(), nullptr, TRUE);
}

void SearchWindow::Layout() {
  if (!speed_bar_.hwnd()) return;
  // The status bar places itself at the bottom; its pane only keeps its room.
  status_bar_.Reposition();
  RECT sr{};
  GetWindowRect(status_bar_, &sr);
  int header_h = Scale(kHeaderHeight);
  {
    WindowDc dc(header_);
    SelectObjectScope sel(dc.get(), font_.get());
    TEXTMETRICW tm{};
    GetTextMetricsW(dc.get(), &tm);
    header_h = std::max(header_h, static_cast<int>(tm.tmHeight) + Scale(5));
  }
  WindowDock dock;
  dock.Add(Dock::Top, speed_bar_.hwnd(), Scale(kSpeedBarHeight));
  dock.Add(Dock::Bottom, nullptr, sr.bottom - sr.top);
  const int header = dock.Add(Dock::Top, header_, header_h);
  dock.Add(Dock::Fill, file_list_);
  dock.Add(Dock::Fill, src_list_.hwnd());
  std::vector<PaneRect> places = dock.Arrange(hwnd());
  // The header follows the list's horizontal scrolling, so the titles stay over their columns.
  header_shift_ = GetScrollPos(file_list_, SB_HORZ);
  places[static_cast<size_t>(header)].x -= header_shift_;
  places[static_cast<size_t>(header)].w += header_shift_;
  dock.Move(hwnd(), places);
}

bool SearchWindow::viewer_showing() const { return src_list_.hwnd() && IsWindowVisible(src_list_.hwnd()); }

int SearchWindow::FontSize() const { return UpDown(updown1_).Position(); }

void SearchWindow::ApplyFont(int size) {
  font_.reset(CreateGothic(size));
  SendMessageW(file_list_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
  SendMessageW(header_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
  src_list_.SetFont(FontSpec{L"ＭＳ ゴシック", std::max(size, 1), RGB(0, 0, 0), 0});
  // The list's items take the new font's height only when they are added again.
  file_list_.SetItemHeight([&] {
    WindowDc dc(file_list_);
    SelectObjectScope sel(dc.get(), font_.get());
    TEXTMETRICW tm{};
    GetTextMetricsW(dc.get(), &tm);
    return static_cast<int>(tm.tmHeight);
  }());
  Layout();
  InvalidateRect(file_list_, nullptr, TRUE);
}

void SearchWindow::SetHeaderWidths() {
  SIZE space{};
  {
    WindowDc dc(hwnd());
    SelectObjectScope sel(dc.get(), font_.get());
    GetTextExtentPoint32W(dc.get(), L" ", 1, &space);
  }
  space_width_ = space.cx;
  const int w = space.cx;
  const int widths[4] = {22 * w, 8 * w, 19 * w, 110 * w};
  for (int i = 0; i < 4; ++i)
    if (header_.ItemWidth(i) != widths[i]) header_.SetItemWidth(i, widths[i]);
  UpdateListExtent();
}

// The list scrolls sideways as far as its longest line reaches.
void SearchWindow::UpdateListExtent() {
  const int extent = list_extent_ > 0 ? list_extent_ * space_width_ + Scale(8) : 0;
  if (extent != file_list_.HorizontalExtent()) file_list_.SetHorizontalExtent(extent);
}

void SearchWindow::ShowDirChecks() {
  for (int n = 1; n <= 6; ++n) {
    HWND box = dir_checks_[static_cast<size_t>(n)];
    Button(box).SetChecked(settings_.dirs.checked[static_cast<size_t>(n)]);
    const std::wstring& path = settings_.dirs.path[static_cast<size_t>(n)];
    if (!path.empty()) {
      Application::Get().SetControlHint(box, path);
      SetWindowTextW(box, DirCaption(path).c_str());
      EnableWindow(box, TRUE);
    } else {
      Application::Get().SetControlHint(box, L"未指定");
      EnableWindow(box, FALSE);
    }
  }
}

void SearchWindow::ShowExtChecks() {
  for (int n = 1; n <= static_cast<int>(kExtClasses); ++n) {
    HWND box = ext_checks_[static_cast<size_t>(n)];
    Button(box).SetChecked(settings_.classes[static_cast<size_t>(n)]);
    SetWindowTextW(box, Cp932ToWide(ExtList[static_cast<size_t>(n - 1)]).c_str());
  }
}

// Help.
int SearchWindow::HelpContextOf(HWND control) const {
  for (HWND w = control; w && w != hwnd(); w = GetParent(w)) {
    if (w == file_list_ || w == src_list_.hwnd()) return 1068;
    if (w == class_check_) return 1066;
    if (w == page_control_ || w == pages_[1].hwnd() || w == pages_[2].hwnd()) return 1064;
  }
  return 1060;
}

int SearchWindow::HelpContextOfMenuItem(int command_id) {
  switch (command_id) {
    case IDM_SEA_OPEN1: return 1390;
    case IDM_SEA_TOPT2:
    case IDM_SEA_LASTL2: return 1068;
    default: return 1060;
  }
}

// Keys that belong to the whole window: Escape stops a running search; the
// pop-up menus' shortcuts apply while their control has the focus.
bool SearchWindow::TranslateKeys(MSG& msg) {
  if (working() && msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
    StopSearch();
    return true;
  }
  if (accel_ && (msg.hwnd == file_list_ || msg.hwnd == src_list_.hwnd()))
    return TranslateAcceleratorW(hwnd(), accel_, &msg) != 0;
  return false;
}

void SearchWindow::OnCommand(int id, int code, HWND control) {
  if (control == file_list_) {
    if (code == LBN_DBLCLK) ViewSelectedHit();
    return;
  }
  if (control && control == keyword_box_) return;
  if (id >= IDC_SEA_DIRNO1 && id < IDC_SEA_DIRNO1 + 6) {
    if (code == BN_CLICKED) DirectoryCheckClicked(id - IDC_SEA_DIRNO1 + 1);
    return;
  }
  if (id >= IDC_SEA_CHECKBOX1 && id < IDC_SEA_CHECKBOX1 + static_cast<int>(kExtClasses)) {
    if (code == BN_CLICKED) ClassCheckClicked(id - IDC_SEA_CHECKBOX1 + 1);
    return;
  }
  switch (id) {
    case IDC_SEA_CLASSCHECK:
      if (code == BN_CLICKED) ReturnFocusToKeyword();
      return;
    case IDC_SEA_FINISH: CloseSearchWindow(); return;  // may free this window: nothing after it
    case IDC_SEA_SEARCH: StartSearch(); return;
    case IDC_SEA_COPY: CopyViewerSelection(); return;
    case IDC_SEA_FILE: ViewSelectedHit(); return;
    case IDC_SEA_CLOSEFILE: CloseViewer(); return;
    case IDC_SEA_SETUP: ShowSetupDialog(); return;
    case IDM_SEA_OPEN1: OpenHitFile(); return;
    case IDM_SEA_TOPT2: SelectFirstHit(); return;
    case IDM_SEA_LASTL2: SelectLastHit(); return;
    case IDM_SEA_COPYPOP: CopyViewerText(); return;
    case IDM_SEA_FINDFPOP: OpenViewerFind(); return;
    case IDM_SEA_FINDNEXT1: {
      // The shortcut of a disabled item does nothing, as the item itself.
      const UINT state = popup1_.get() ? GetMenuState(popup1_.get(), IDM_SEA_FINDNEXT1, MF_BYCOMMAND) : 0;
      if (state != static_cast<UINT>(-1) && !(state & (MF_GRAYED | MF_DISABLED))) ViewerFindNext();
      return;
    }
    case IDM_SEA_TOPT1: ViewerToStart(); return;
    case IDM_SEA_LASTL1: ViewerToEnd(); return;
  }
}

void SearchWindow::OnContextMenu(HWND control, int x, int y) {
  HMENU menu = nullptr;
  if (control == file_list_) {
    EnableResultPopupItems();
    menu = popup2_.get();
  } else if (control == src_list_.hwnd()) {
    menu = popup1_.get();
  }
  if (!menu) return;
  if (x == -1 && y == -1) {
    RECT rc{};
    GetWindowRect(control, &rc);
    x = rc.left + Scale(8);
    y = rc.top + Scale(8);
  }
  TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, x, y, 0, hwnd(), nullptr);
}

LRESULT SearchWindow::KeywordKeysMessage(OwnedControl<SearchWindow>& control, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CHAR && KeywordKeyPress(wp)) return 0;
  return control.CallDefault(msg, wp, lp);
}

LRESULT SearchWindow::FileListInputMessage(OwnedControl<SearchWindow>& control, UINT msg, WPARAM wp, LPARAM lp) {
  const bool input = (msg >= WM_KEYFIRST && msg <= WM_KEYLAST) || (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) ||
                     msg == WM_HSCROLL;
  if (!input) return control.CallDefault(msg, wp, lp);
  if (msg == WM_CHAR && ResultListKeyPress(wp)) return 0;
  const LRESULT r = control.CallDefault(msg, wp, lp);
  if (!control.hwnd()) return r;
  FileListKeyOrMouse(msg);
  if (header_shift_ != GetScrollPos(control.hwnd(), SB_HORZ)) Layout();
  return r;
}

LRESULT SearchWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE:
      CreateControls();
      Application::Get().SetKeyHandler(hwnd(), [this](MSG& m) { return TranslateKeys(m); });
      return 0;
    case WM_SIZE:
      FormResize();
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wp) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(hwnd(), focus)) last_focus_ = focus;
        return 0;
      }
      FormActivate();
      if (!HIWORD(wp)) SetFocus(last_focus_ && IsWindow(last_focus_) && IsWindowVisible(last_focus_)
                                    ? last_focus_
                                    : keyword_box_);
      return 0;
    case WM_SETFOCUS:
      SetFocus(keyword_box_);
      return 0;
    case WM_COMMAND:
      OnCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp));
      return 0;
    case WM_NOTIFY: {
      const auto* hdr = reinterpret_cast<const NMHDR*>(lp);
      if (hdr->hwndFrom == page_control_ && hdr->code == TCN_SELCHANGE) {
        const int page = TabControl(page_control_).Selected() + 1;
        ShowWindow(pages_[1].hwnd(), page == 1 ? SW_SHOW : SW_HIDE);
        ShowWindow(pages_[2].hwnd(), page == 2 ? SW_SHOW : SW_HIDE);
        return 0;
      }
      break;
    }
    case WM_VSCROLL:
      if (reinterpret_cast<HWND>(lp) == updown1_ && LOWORD(wp) == SB_THUMBPOSITION) {
        ApplyFontSize();
        return 0;
      }
      break;
    case WM_CTLCOLORSTATIC:
      if (reinterpret_cast<HWND>(lp) == class_check_) {
        HDC dc = reinterpret_cast<HDC>(wp);
        SetTextColor(dc, RGB(255, 0, 0));
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
      }
      break;
    case WM_CONTEXTMENU:
      OnContextMenu(reinterpret_cast<HWND>(wp), GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
      return 0;
    case WM_MENUSELECT:
      // The menu items carry no hints: browsing a menu empties the hint line.
      Application::Get().SetHint(L"");
      break;
    case WM_CLOSE:
      FormClose();
      return 0;
    case WM_DESTROY:
      FormDestroy();
      break;
  }
  return DefaultProc(msg, wp, lp);
}

int SearchWindow::HelpContextFor(const HELPINFO& info) {
  return info.iContextType == HELPINFO_MENUITEM ? HelpContextOfMenuItem(info.iCtrlId)
                                                : HelpContextOf(static_cast<HWND>(info.hItemHandle));
}

}  // namespace velkor
