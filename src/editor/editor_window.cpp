#include "editor/editor_window.h"

#include <imm.h>

#include "controls/window_dock.h"
#include "state/doc_settings.h"
#include "editor/treasure_box.h"
#include "editor/editor_ids.h"
#include "editor/recovery_journal.h"
#include "editor/text_tools.h"
#include "ui/main_frame_ids.h"
#include "ui/main_frame.h"
#include "state/recent_file_list.h"
#include "state/snippets.h"
#include "state/untitled_numbers.h"
#include "state/settings.h"
#include "ui/app.h"
#include "platform/dpi.h"
#include "platform/error.h"
#include "platform/files.h"
#include "ui/message_box.h"
#include "ui/messages.h"
#include "platform/number_format.h"
#include "platform/path_names.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "ui/window.h"
#include "ui/window_life.h"

namespace velkor {
namespace {

constexpr wchar_t kClass[] = L"Teditform";

struct ButtonDef {
  int id;
  const wchar_t* glyph;
  const wchar_t* hint;
  int gap_before;  // extra pixels that set the button apart from the previous group
};

// Panele, left to right.
const ButtonDef kButtons[] = {
    {IDM_CLOSE1, L"GLYPH_CLOSEFORM", L"編集フォームを閉じる|エディタ・フォームを閉じる", 0},
    {IDM_SAVE1, L"GLYPH_SAVE", L"上書き保存|テキストを上書き保存 ( バックアップ・ファイル < *.BAK > も作成 )", 6},
    {IDM_SAVEAS1, L"GLYPH_SAVEAS", L"名前を付けて保存|名前を付けてテキストファイルを保存する", 0},
    {IDM_CUT, L"GLYPH_CUT", L"Cut|クリップ・ボードに切り取り", 6},
    {IDM_COPY, L"GLYPH_COPY", L"Copy|クリップ・ボードにコピー", 0},
    {IDM_PASTE, L"GLYPH_PASTE", L"Paste from Clipboard|クリップ・ボードから張り付け", 0},
    {IDM_UNDO, L"GLYPH_UNDO", L"Undo|直前の操作を取り消す", 0},
    {IDM_TOTOPLINE, L"GLYPH_TOPLINE", L"To TopLine|先頭行にカーソル移動", 6},
    {IDM_TOLASTLINE, L"GLYPH_LASTLINE", L"To LastLine|最終行にカーソル移動", 0},
    {IDM_DATETIME, L"GLYPH_DATETIME",
     L"テキストに日時を挿入|編集中のテキストのカーソル位置に「 日時 」を挿入する", 6},
    {IDM_FIND1, L"GLYPH_FIND", L"文字を検索|指定文字を検索する ( クリック後ダイアログで選択 )", 6},
    {IDM_FINDNEXT1, L"GLYPH_FINDNEXT",
     L"検索を継続|指定文字の検索を継続 ( 一旦ダイアログを終了すると、見やすいです )", 0},
    {IDM_REPLACE1, L"GLYPH_REPLACE", L"文字を置換|指定文字を置換 ( ダイアログで文字を指定後、検索・置換 )", 0},
    {IDM_FONT1, L"GLYPH_FONT", L"文字フォントを変更|文字フォント ( 種類・サイズ・色 ) を変更", 6},
    {IDC_ZOOMOUT, L"GLYPH_ZOOMOUT", L"ズームアウト|スピードボタン・文字イメージを小さくする", 6},
    {IDC_ZOOMIN, L"GLYPH_ZOOMIN", L"ズームイン|スピードボタン・文字イメージを大きくする", 0},
};

constexpr int kButtonSize = 25;
constexpr int kPaneleHeight = 33;

}  // namespace

EditorWindow::EditorWindow(MainFrame& main, int tag) : Form(kClass), Tag(tag), main_(main) { SetOwnsItself(true); }

EditorWindow::~EditorWindow() = default;

EditorWindow* EditorWindow::FromHandle(HWND hwnd) {
  auto* e = dynamic_cast<EditorWindow*>(Window::FromHandle(hwnd));
  return e && !e->destroying_ ? e : nullptr;
}

EditorWindow* EditorWindow::Make(MainFrame& main, int tag, const std::wstring& caption) {
  auto editor = std::make_unique<EditorWindow>(main, tag);
  editor->Create(caption);
  return editor.release();
}

void EditorWindow::Create(const std::wstring& caption) {
  menu_.reset(LoadMenuW(GetModuleHandleW(nullptr), L"EDITMENU"));
  popup_.Load(L"EDITPOPUP");
  window_font_.reset(CreateFontW(-Scale(15), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH,
                                 L"ＭＳ ゴシック"));
  CreateMdiChild(main_.mdi_client(), kClass, caption.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE,
                 CW_USEDEFAULT, CW_USEDEFAULT, Scale(498), Scale(300));
  if (!hwnd()) throw Error(L"エディタ・フォームを作成できません。");
}

void EditorWindow::CreateControls() {
  Panel::Look look;
  look.outer = Bevel::None;
  look.inner = Bevel::Lowered;
  panel_height_ = Scale(kPaneleHeight);
  panele_.Create(hwnd(), IDC_PANELE, 0, 0, 100, panel_height_, look);
  panele_.on_mouse_move = [this] { main_.InstallDisplayHint(); };
  int x = Scale(4);
  for (const ButtonDef& def : kButtons) {
    x += Scale(def.gap_before);
    auto button = std::make_unique<SpeedButton>();
    button->Create(panele_, def.id, x, Scale(4), Scale(kButtonSize), Scale(kButtonSize), true, hwnd());
    button->SetGlyphResource(def.glyph);
    button->SetHint(def.hint);
    x += Scale(kButtonSize);
    buttons_.push_back(std::move(button));
  }
  Button(IDM_FINDNEXT1)->SetEnabled(false);

  memo_.Create(hwnd(), IDC_MEMO1, WS_VSCROLL | WS_HSCROLL | ES_AUTOHSCROLL);
  SendMessageW(memo_.hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(window_font_.get()), FALSE);
  memo_.SetMaxLength(99999999);
  memo_.SetBackground(GetSysColor(COLOR_WINDOW));
  // The window's font until the main window gives the control one of its own.
  memo_.SetFont(FontSpec{L"ＭＳ ゴシック", 11, RGB(0, 0, 0), 0});
  memo_.on_input = [this](UINT msg, WPARAM wp, LPARAM lp) { return OnMemoInput(msg, wp, lp); };
  memo_.on_after_input = [this](UINT msg, WPARAM, LPARAM) {
    if (msg == WM_KEYUP || msg == WM_SYSKEYUP) {
      const bool hscroll = (WindowStyle(memo_.hwnd()) & WS_HSCROLL) != 0 && !memo_.word_wrap();
      if (hscroll && memo_.LineFromChar(memo_.SelStart()) - memo_.FirstVisibleLine() > VisibleLineCount() - 1)
        ScrollIfBelow(1);
      ShowCaretStatus();
    } else if (msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN) {
      ShowCaretStatus();
      UpdateEditCommands();
    } else if (msg == WM_LBUTTONUP || msg == WM_RBUTTONUP || msg == WM_MBUTTONUP) {
      ShowCaretStatus();
    }
  };
  memo_.on_focus = [this] {
    // The input method opens in Hiragana mode.
    if (HIMC imc = ImmGetContext(memo_.hwnd())) {
      ImmSetOpenStatus(imc, TRUE);
      DWORD conversion = 0, sentence = 0;
      ImmGetConversionStatus(imc, &conversion, &sentence);
      ImmSetConversionStatus(imc, IME_CMODE_NATIVE | IME_CMODE_FULLSHAPE, sentence);
      ImmReleaseContext(memo_.hwnd(), imc);
    }
  };
}

SpeedButton* EditorWindow::Button(int command_id) {
  for (auto& b : buttons_)
    if (b->id() == command_id) return b.get();
  return nullptr;
}

void EditorWindow::Layout() {
  WindowDock dock;
  dock.Add(Dock::Top, panele_.hwnd(), panel_height_);
  dock.Add(Dock::Fill, memo_.hwnd());
  dock.Layout(hwnd());
  SetTextMargins();
}

void EditorWindow::SetCaption(const std::wstring& caption) { SetWindowTextW(hwnd(), caption.c_str()); }

std::wstring EditorWindow::Caption() const { return WindowText(hwnd()); }

void EditorWindow::SetTextMargins() {
  RECT rc{};
  GetClientRect(memo_.hwnd(), &rc);
  rc.left += 5;
  rc.right -= 5;
  memo_.SetFormatRect(rc);
}

void EditorWindow::ApplyWordWrap(bool wrap) {
  memo_.SetWordWrap(wrap);
  memo_.ShowHorizontalScrollBar(!wrap);
  CheckMenuItem(menu_.get(), IDM_WORDWRAP1, MF_BYCOMMAND | (wrap ? MF_CHECKED : MF_UNCHECKED));
}

void EditorWindow::Discard() {
  memo_.SetModified(false);
  SendMessageW(main_.mdi_client(), WM_MDIDESTROY, reinterpret_cast<WPARAM>(hwnd()), 0);
}

int EditorWindow::TextByteLength() const { return static_cast<int>(memo_.Bytes().bytes().size()); }

void EditorWindow::ShowCaretStatus() {
  if (!memo_.hwnd()) return;
  const int line = memo_.LineFromChar(memo_.SelStart());
  main_.SetStatusText(L"カーソル位置 = " + std::to_wstring(line + 1) + L" 行目  /  トータル行数 = " +
                              std::to_wstring(memo_.LineCount()) + L" 行  /  サイズ = " +
                              GroupThousands(TextByteLength()) + L" Bytes");
}

void EditorWindow::SetItemEnabled(int id, bool enabled) {
  const UINT flags = MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED);
  EnableMenuItem(menu_.get(), static_cast<UINT>(id), flags);
  EnableMenuItem(popup_.get(), static_cast<UINT>(id), flags);
  if (SpeedButton* b = Button(id)) b->SetEnabled(enabled);
}

bool EditorWindow::MenuItemEnabled(int command_id) const {
  const UINT state = GetMenuState(menu_.get(), static_cast<UINT>(command_id), MF_BYCOMMAND);
  return state != static_cast<UINT>(-1) && !(state & (MF_GRAYED | MF_DISABLED));
}

void EditorWindow::UpdateEditCommands() {
  const bool text_on_clipboard = IsClipboardFormatAvailable(CF_UNICODETEXT) || IsClipboardFormatAvailable(CF_TEXT);
  SetItemEnabled(IDM_PASTE, text_on_clipboard);
  const bool selection = memo_.SelLength() > 0;
  SetItemEnabled(IDM_CUT, selection);
  SetItemEnabled(IDM_COPY, selection);
  SetItemEnabled(IDM_DELETE1, selection);
  SetItemEnabled(IDM_UNDO, memo_.CanUndo());
}

void EditorWindow::FillRecentFileItems() {
  // The File menu mirrors the main window's seven recent files.
  for (int n = 1; n <= RecentFileList::kSlots; ++n)
    ModifyMenuW(menu_.get(), IDM_USEDFILE1 + n - 1, MF_BYCOMMAND | MF_STRING, IDM_USEDFILE1 + n - 1,
                main_.recent_files().Caption(n).c_str());
}

void EditorWindow::SetImeColors() {
  memo_.SetImeClauseColors(RGB(255, 255, 0), RGB(0, 0, 255));
}

void EditorWindow::CloseFromEditorMenu() {
  replace_.Close();
  find_.Close();
  if (memo_.LineCount() == 0) memo_.SetModified(false);
  close_from_menu_ = true;
  SendMessageW(hwnd(), WM_CLOSE, 0, 0);
}

bool EditorWindow::CloseQuery() {
  if (!memo_.Modified()) return true;
  POINT p{};
  GetCursorPos(&p);
  const POINT at = p.x < main_.screen_width() / 2 ? POINT{p.x, p.y + 15} : POINT{p.x * 2 / 3, p.y + 80};
  std::wstring name = Caption();
  if (name.empty()) name = L"NewFile";
  const int answer =
      ShowMessage(L" \" " + name + L" \"  を　保存しますか　?", MessageKind::Confirmation, MB_YESNOCANCEL, at);
  if (answer == IDCANCEL) return false;
  // A save that did not happen (cancelled or failed) keeps the window open,
  // so that the text is not lost.
  if (answer == IDYES) return Save();
  return true;
}

// The control's modified flag is the document's; commands that change the
// text set it themselves, since not every text control does for them.
void EditorWindow::CutToClipboard() {
  if (memo_.SelLength() > 0) {
    SendMessageW(memo_.hwnd(), WM_CUT, 0, 0);
    memo_.SetModified(true);
  }
  UpdateEditCommands();
}

void EditorWindow::CopyToClipboard() {
  SendMessageW(memo_.hwnd(), WM_COPY, 0, 0);
  memo_.SetSel(memo_.SelStart(), 0);
  UpdateEditCommands();
}

void EditorWindow::PasteFromClipboard() {
  if (IsClipboardFormatAvailable(CF_UNICODETEXT) || IsClipboardFormatAvailable(CF_TEXT)) {
    memo_.PastePlainText();
    memo_.SetModified(true);
  }
  UpdateEditCommands();
}

void EditorWindow::DeleteSelection() {
  if (memo_.SelLength() == 0) return;
  SendMessageW(memo_.hwnd(), WM_CLEAR, 0, 0);
  memo_.SetModified(true);
}

void EditorWindow::UndoEdit() {
  if (!memo_.CanUndo()) return;
  memo_.Undo();
  memo_.SetModified(true);
}

void EditorWindow::SelectAll() {
  memo_.SetSel(0, memo_.TextLength());
  UpdateEditCommands();
}

void EditorWindow::GoToStart() {
  memo_.SetSel(0, 0);
  memo_.ScrollCaret();
  ShowCaretStatus();
  SetFocus(memo_.hwnd());
}

void EditorWindow::GoToEnd() {
  memo_.SetSel(memo_.TextLength(), 0);
  memo_.ScrollCaret();
  ShowCaretStatus();
  SetFocus(memo_.hwnd());
}

void EditorWindow::ToggleToolPanel() {
  ShowWindow(panele_.hwnd(), IsWindowVisible(panele_.hwnd()) ? SW_HIDE : SW_SHOW);
  Layout();
}

void EditorWindow::SetPopUpItems() {
  for (int n = 1; n <= 7; ++n) {
    const std::wstring caption = L"(&" + std::to_wstring(n) + L") " + main_.snippets().Label(n);
    ModifyMenuW(popup_.get(), IDM_EDITKEY1 + n - 1, MF_BYCOMMAND | MF_STRING, IDM_EDITKEY1 + n - 1, caption.c_str());
  }
  UpdateEditCommands();
}

void EditorWindow::ShowPopup(int x, int y) {
  if (x == -1 && y == -1) {
    POINT caret{};
    GetCaretPos(&caret);
    ClientToScreen(memo_.hwnd(), &caret);
    x = caret.x;
    y = caret.y;
  }
  SetPopUpItems();
  TrackPopupMenu(popup_.get(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, x, y, 0, hwnd(), nullptr);
}

bool EditorWindow::OnMemoInput(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_KEYDOWN) {
    const bool ctrl_only = (GetKeyState(VK_CONTROL) & 0x8000) && !(GetKeyState(VK_SHIFT) & 0x8000) &&
                           !(GetKeyState(VK_MENU) & 0x8000);
    if (ctrl_only && wp == VK_DOWN) ScrollIfBelow(1);
    if (ctrl_only && wp == VK_UP) memo_.ScrollLines(-1);
    switch (wp) {
      case VK_PRIOR:
      case VK_NEXT:
      case VK_LEFT:
      case VK_UP:
      case VK_RIGHT:
      case VK_DOWN:
        ShowCaretStatus();
        break;
    }
  }
  return false;
}

int EditorWindow::HelpContextOf(int id) {
  switch (id) {
    case IDM_HELP: return 1000;
    case IDM_EXIT1: return 1010;
    case IDM_LEFTSET: return 1022;
    case IDM_VELGOLD: return 1025;
    case IDM_FRIEND: return 1030;
    case IDM_ABOUT: return 1040;
    case IDM_KN1: return 1050;
    case IDM_WORDSEARCH: return 1060;
    default: return 1020;
  }
}

void EditorWindow::OnActivate(bool active) {
  if (!active) return;
  SendMessageW(main_.mdi_client(), WM_MDISETMENU, reinterpret_cast<WPARAM>(menu_.get()),
               reinterpret_cast<LPARAM>(GetSubMenu(menu_.get(), 4)));
  DrawMenuBar(GetParent(main_.mdi_client()));
  UpdateEditCommands();
  FillRecentFileItems();
  main_.UpdateMenuItems();
}

void EditorWindow::OnCommand(int id) {
  switch (id) {
    // Commands of the main window, reached from this window's menu and keys.
    case IDM_NEW1: main_.NewEditor(); return;
    case IDM_OPEN1: main_.OpenChosenFile(); return;
    case IDM_EXIT1: main_.Exit(); return;
    case IDM_FRIEND: main_.ShowFriendsWindow(); return;
    case IDM_WORDSEARCH: main_.ShowSearchWindow(); return;
    case IDM_ABOUT: main_.ShowAbout(); return;
    case IDM_HELP: main_.ShowHelp(); return;

    case IDM_SAVEAS1: SaveAs(); return;
    case IDM_SAVE1: Save(); return;
    case IDM_CLOSE1: CloseFromEditorMenu(); return;  // may free this window: nothing after it

    case IDM_CUT: CutToClipboard(); return;
    case IDM_COPY: CopyToClipboard(); return;
    case IDM_PASTE: PasteFromClipboard(); return;
    case IDM_DELETE1: DeleteSelection(); return;
    case IDM_SELECTALL: SelectAll(); return;
    case IDM_UNDO: UndoEdit(); return;
    case IDM_TOTOPLINE: GoToStart(); return;
    case IDM_TOLASTLINE: GoToEnd(); return;
    case IDM_SPEEDBT: ToggleToolPanel(); return;
    case IDM_LEFTSET: MarkLines(); return;
    case IDM_DATETIME: InsertDate(); return;

    case IDM_LEFT1:
    case IDM_RIGHT1:
    case IDM_CENTER1: AlignText(id); return;
    case IDM_WORDWRAP1: SetWordWrap(); return;
    case IDM_TABTOSPACE: ExpandTabs(8); return;
    case IDM_TAB4SPACE: ExpandTabs(4); return;
    case IDM_FONT1: SetFont(); return;
    case IDM_VELGOLD: ShowTreasureBox(); return;
    case IDC_ZOOMIN: ZoomToolPanel(kZoomInPercent); return;
    case IDC_ZOOMOUT: ZoomToolPanel(kZoomOutPercent); return;

    case IDM_FIND1: OpenFind(); return;
    case IDM_FINDNEXT1: FindNext(); return;
    case IDM_REPLACE1: OpenReplace(); return;
    case IDM_KN1: ShowCharacterCounts(); return;
  }
  if (id >= IDM_EDITKEY1 && id <= IDM_EDITKEY7) {
    InsertSnippet(id - IDM_EDITKEY1 + 1);
    return;
  }
  if (id >= IDM_USEDFILE1 && id <= IDM_USEDFILE7) {
    main_.OpenRecentFile(id - IDM_USEDFILE1 + 1);
    if (hwnd()) FillRecentFileItems();
    return;
  }
  if (id >= IDM_FIRSTCHILD || (id >= IDM_TILE1 && id <= IDM_ARRANGEICONS1)) {
    SendMessageW(GetParent(main_.mdi_client()), WM_COMMAND, id, 0);
  }
}

LRESULT EditorWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE:
      CreateControls();
      break;
    case WM_SIZE:
      Layout();
      break;  // the MDI child procedure must see it too
    case WM_PAINT:
      SetImeColors();
      break;
    case WM_SETFOCUS:
      SetFocus(memo_.hwnd());
      return 0;
    case WM_MDIACTIVATE:
      OnActivate(reinterpret_cast<HWND>(lp) == hwnd());
      if (reinterpret_cast<HWND>(lp) == hwnd()) PostMessageW(hwnd(), kCheckDisk, 0, 0);
      break;
    case kCheckDisk:
      CheckDisk();
      return 0;
    case WM_TIMER:
      if (wp == kCopyTimer) {
        const std::uint64_t now = GetTickCount64();
        if (!copy_schedule_.pending() || now >= copy_schedule_.due())
          TakeCopy();
        else
          SetTimer(hwnd(), kCopyTimer, static_cast<UINT>(copy_schedule_.due() - now), nullptr);
        return 0;
      }
      break;
    case WM_COMMAND: {
      const int id = LOWORD(wp);
      const int code = HIWORD(wp);
      if (lp && reinterpret_cast<HWND>(lp) == memo_.hwnd()) {
        if (code == EN_CHANGE) {
          memo_.TextChanged();
          NoteChange();
          ShowCaretStatus();
          UpdateEditCommands();
        }
        return 0;
      }
      // A shortcut of a disabled item does nothing, as in the menu.
      if (code == 1 && !MenuItemEnabled(id)) return 0;
      OnCommand(id);
      return 0;
    }
    case WM_NOTIFY: {
      // The edit commands follow the selection as it moves.
      const auto* hdr = reinterpret_cast<const NMHDR*>(lp);
      if (hdr->hwndFrom == memo_.hwnd() && hdr->code == EN_SELCHANGE) UpdateEditCommands();
      break;
    }
    case WM_INITMENUPOPUP:
      if (reinterpret_cast<HMENU>(wp) == GetSubMenu(menu_.get(), 1)) UpdateEditCommands();
      if (reinterpret_cast<HMENU>(wp) == GetSubMenu(menu_.get(), 2)) EnableTabCommands();
      break;
    case WM_CONTEXTMENU:
      if (reinterpret_cast<HWND>(wp) == memo_.hwnd() || reinterpret_cast<HWND>(wp) == panele_.hwnd()) {
        ShowPopup(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
        return 0;
      }
      break;
    case WM_CLOSE: {
      // Whatever ends the question (an answer, a failed save), the next close
      // starts without the menu's mark.
      const bool from_menu = std::exchange(close_from_menu_, false);
      if (CloseQuery()) {
        if (from_menu) main_.untitled_numbers().GiveBack(Tag);
        // The text area goes first, before the client activates the next
        // editor and the window's own clean-up runs: what those allocate
        // would otherwise land among the freed blocks of a large text and
        // keep them apart, and under Wine the next large document then
        // takes several times as long to open.
        DestroyWindow(memo_.hwnd());
        SendMessageW(main_.mdi_client(), WM_MDIDESTROY, reinterpret_cast<WPARAM>(hwnd()), 0);
      }
      return 0;
    }
    case WM_DESTROY:
      // Its text was saved, or the user chose not to keep it.
      DropCopy();
      // The find dialogs point into this window: they go with it, however it closes.
      replace_.Close();
      find_.Close();
      destroying_ = true;
      PostMessageW(GetParent(main_.mdi_client()), kEditorsChanged, 0, 0);
      break;
  }
  return DefaultProc(msg, wp, lp);
}

LRESULT EditorWindow::DefaultProc(UINT msg, WPARAM wp, LPARAM lp) { return DefMDIChildProcW(hwnd(), msg, wp, lp); }

int EditorWindow::HelpContextFor(const HELPINFO& info) {
  return info.iContextType == HELPINFO_MENUITEM ? HelpContextOf(info.iCtrlId) : 1020;
}

HWND EditorWindow::HelpOwner() const { return GetParent(main_.mdi_client()); }

}  // namespace velkor
