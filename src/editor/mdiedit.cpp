#include "editor/mdiedit.h"

#include <imm.h>

#include "controls/window_dock.h"
#include "state/doc_settings.h"
#include "editor/editmovk.h"
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
constexpr UINT_PTR kCopyTimer = 7;
constexpr int kPaneleHeight = 33;

std::wstring SystemErrorText(DWORD code) {
  wchar_t* buf = nullptr;
  FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                 code, 0, reinterpret_cast<wchar_t*>(&buf), 0, nullptr);
  std::wstring text = buf ? buf : L"";
  if (buf) LocalFree(buf);
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) text.pop_back();
  if (text.empty()) text = L"エラー " + std::to_wstring(code);
  return text;
}

std::wstring TooLargeText(const std::wstring& path, std::uint64_t size) {
  return L"ﾌｧｲﾙ " + path + L" は大きすぎて開けません。\r\n\r\nファイルのサイズ : " +
         GroupThousands(static_cast<int64_t>(size)) + L" Bytes\r\n開けるのは " +
         GroupThousands(static_cast<int64_t>(kMaxDocumentChars)) + L" 文字までです。";
}

std::wstring PlaceText(const std::wstring& text, std::size_t index) {
  const TextPlace place = PlaceOf(text, index);
  return std::to_wstring(place.line) + L" 行目の " + std::to_wstring(place.column) + L" 文字目";
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool RunSaveDialog(HWND owner, std::wstring& name) {
  static const wchar_t kFilter[] = L"TextFiles  (*.TXT)\0*.TXT\0AllFiles   (*.*)\0*.*\0";
  std::vector<wchar_t> buf(32768, L'\0');
  lstrcpynW(buf.data(), name.c_str(), static_cast<int>(buf.size()));
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = kFilter;
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = buf.data();
  ofn.nMaxFile = static_cast<DWORD>(buf.size());
  ofn.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOREADONLYRETURN | OFN_EXPLORER |
              OFN_ENABLESIZING;
  if (!GetSaveFileNameW(&ofn)) return false;
  name = buf.data();
  return true;
}

}  // namespace

Teditform::Teditform(MainFrame& main, int tag) : Form(kClass), Tag(tag), main_(main) { SetOwnsItself(true); }

Teditform::~Teditform() {
  if (popup_root_) DestroyMenu(popup_root_);
}

Teditform* Teditform::FromHandle(HWND hwnd) {
  auto* e = dynamic_cast<Teditform*>(Window::FromHandle(hwnd));
  return e && !e->destroying_ ? e : nullptr;
}

Teditform* Teditform::Make(MainFrame& main, int tag, const std::wstring& caption) {
  auto editor = std::make_unique<Teditform>(main, tag);
  editor->Create(caption);
  return editor.release();
}

void Teditform::Create(const std::wstring& caption) {
  menu_.reset(LoadMenuW(GetModuleHandleW(nullptr), L"EDITMENU"));
  popup_root_ = LoadMenuW(GetModuleHandleW(nullptr), L"EDITPOPUP");
  popup_ = GetSubMenu(popup_root_, 0);
  window_font_.reset(CreateFontW(-Scale(15), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH,
                                 L"ＭＳ ゴシック"));
  CreateMdiChild(main_.mdi_client(), kClass, caption.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE,
                 CW_USEDEFAULT, CW_USEDEFAULT, Scale(498), Scale(300));
  if (!hwnd()) throw Error(L"エディタ・フォームを作成できません。");
}

void Teditform::CreateControls() {
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

  Memo1.Create(hwnd(), IDC_MEMO1, WS_VSCROLL | WS_HSCROLL | ES_AUTOHSCROLL);
  SendMessageW(Memo1.hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(window_font_.get()), FALSE);
  Memo1.SetMaxLength(99999999);
  Memo1.SetBackground(GetSysColor(COLOR_WINDOW));
  // The window's font until the main window gives the control one of its own.
  Memo1.SetFont(FontSpec{L"ＭＳ ゴシック", 11, RGB(0, 0, 0), 0});
  Memo1.on_input = [this](UINT msg, WPARAM wp, LPARAM lp) { return OnMemoInput(msg, wp, lp); };
  Memo1.on_after_input = [this](UINT msg, WPARAM, LPARAM) {
    if (msg == WM_KEYUP || msg == WM_SYSKEYUP) {
      const bool hscroll = (WindowStyle(Memo1.hwnd()) & WS_HSCROLL) != 0 && !Memo1.word_wrap();
      if (hscroll && Memo1.LineFromChar(Memo1.SelStart()) - Memo1.FirstVisibleLine() > VisibleLineCount() - 1)
        ScrollIfBelow(1);
      ShowCaretStatus();
    } else if (msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN) {
      ShowCaretStatus();
      UpdateEditCommands();
    } else if (msg == WM_LBUTTONUP || msg == WM_RBUTTONUP || msg == WM_MBUTTONUP) {
      ShowCaretStatus();
    }
  };
  Memo1.on_focus = [this] {
    // The input method opens in Hiragana mode.
    if (HIMC imc = ImmGetContext(Memo1.hwnd())) {
      ImmSetOpenStatus(imc, TRUE);
      DWORD conversion = 0, sentence = 0;
      ImmGetConversionStatus(imc, &conversion, &sentence);
      ImmSetConversionStatus(imc, IME_CMODE_NATIVE | IME_CMODE_FULLSHAPE, sentence);
      ImmReleaseContext(Memo1.hwnd(), imc);
    }
  };
}

SpeedButton* Teditform::Button(int command_id) {
  for (auto& b : buttons_)
    if (b->id() == command_id) return b.get();
  return nullptr;
}

void Teditform::Layout() {
  WindowDock dock;
  dock.Add(Dock::Top, panele_.hwnd(), panel_height_);
  dock.Add(Dock::Fill, Memo1.hwnd());
  dock.Layout(hwnd());
  SetTextMargins();
}

void Teditform::SetCaption(const std::wstring& caption) { SetWindowTextW(hwnd(), caption.c_str()); }

std::wstring Teditform::Caption() const { return WindowText(hwnd()); }

void Teditform::SetTextMargins() {
  RECT rc{};
  GetClientRect(Memo1.hwnd(), &rc);
  rc.left += 5;
  rc.right -= 5;
  Memo1.SetFormatRect(rc);
}

void Teditform::ApplyWordWrap(bool wrap) {
  Memo1.SetWordWrap(wrap);
  Memo1.ShowHorizontalScrollBar(!wrap);
  CheckMenuItem(menu_.get(), IDM_WORDWRAP1, MF_BYCOMMAND | (wrap ? MF_CHECKED : MF_UNCHECKED));
}

FileStamp Teditform::StampOf(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return {};
  FileStamp stamp;
  stamp.exists = true;
  stamp.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  stamp.write_time = (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                     data.ftLastWriteTime.dwLowDateTime;
  return stamp;
}

Teditform::ReadFile Teditform::ReadDocument(const std::wstring& path) {
  ReadFile read;
  DecodedDocument& doc = read.doc;
  read.stamp = StampOf(path);
  std::uint64_t size = 0;
  {
    FileBytes file = ReadWholeFile(path, kMaxDocumentBytes);
    switch (file.outcome) {
      case FileBytes::Outcome::kRead:
        break;
      case FileBytes::Outcome::kCannotOpen:
        throw Error(L"ﾌｧｲﾙ " + path + L" は開けません。\r\n\r\n" + SystemErrorText(file.error));
      case FileBytes::Outcome::kTooLarge:
        throw Error(TooLargeText(path, file.size));
      case FileBytes::Outcome::kCannotRead:
        throw Error(L"ﾌｧｲﾙ " + path + L" を読み込めません。\r\n\r\n" + SystemErrorText(file.error));
    }
    size = file.bytes.size();
    doc = DecodeDocument(file.bytes);
  }
  if (ControlLength(doc.text) > kMaxDocumentChars) throw Error(TooLargeText(path, size));
  return read;
}

void Teditform::OpenF(const std::wstring& path, const ReadFile& file) {
  const DecodedDocument& doc = file.doc;
  Memo1.SetBackground(GetSysColor(COLOR_BTNFACE));
  SetTextMargins();
  Memo1.SetText(doc.text);
  // A control short of memory keeps what it could take: a text that is not
  // all there must never be taken for the document.
  if (static_cast<std::size_t>(Memo1.TextLength()) != ControlLength(doc.text)) {
    Memo1.SetText(L"");
    throw Error(L"ﾌｧｲﾙ " + path + L" は、メモリが足りないため全部を読み込めません。");
  }
  FilePath = path;
  disk_.Read(file.stamp);
  encoding_ = doc.encoding;
  breaks_ = doc.breaks;
  cut_at_nul_ = doc.cut_at_nul;
  changed_at_ = doc.change == DecodedDocument::Change::kNone ? std::wstring() : PlaceText(doc.text, doc.changed_at);
  changed_place_.reset();
  if (doc.change != DecodedDocument::Change::kNone) changed_place_ = PlaceOf(doc.text, doc.changed_at);
  Memo1.SetSel(0, 0);
  SetCaption(FileNameOf(FilePath));
  Memo1.SetModified(false);
  ShowWindow(Memo1.hwnd(), SW_SHOW);
  SetFocus(Memo1.hwnd());
  ShowCaretStatus();
  if (cut_at_nul_) {
    ShowMessage(L"ﾌｧｲﾙ " + FilePath +
                    L" には NUL 文字が含まれています。\r\n\r\n最初の NUL 文字より後ろの内容は表示できません。"
                    L"\r\nこのまま上書き保存すると、その部分は失われます。",
                MessageKind::Warning);
  }
  if (doc.change == DecodedDocument::Change::kBytes) {
    ShowMessage(L"ﾌｧｲﾙ " + FilePath + L" の " + changed_at_ +
                    L"から、文字として読めないバイトがあります。\r\n\r\nそのバイトは別の文字で表示しています。"
                    L"\r\nこのまま上書き保存すると、元のバイトは失われます。",
                MessageKind::Warning);
  } else if (doc.change == DecodedDocument::Change::kLineBreaks) {
    ShowMessage(L"ﾌｧｲﾙ " + FilePath + L" には、種類の違う改行が混じっています (最初は " + changed_at_ +
                    L")。\r\n\r\nこのまま上書き保存すると、改行はすべて同じ種類になります。",
                MessageKind::Warning);
  }
  const std::vector<std::wstring> leftovers = LeftoverTemporaryFiles(FilePath);
  if (!leftovers.empty()) {
    std::wstring names;
    for (const std::wstring& name : leftovers) names += L"\r\n    " + name;
    ShowMessage(L"ﾌｧｲﾙ " + FilePath + L" の保存が、前回は途中で終わっています。\r\n\r\n書きかけの一時ファイルが残っています :" +
                    names + L"\r\n\r\n中身を確かめてから、要らなければ削除して下さい。",
                MessageKind::Information);
  }
}

void Teditform::Discard() {
  Memo1.SetModified(false);
  SendMessageW(main_.mdi_client(), WM_MDIDESTROY, reinterpret_cast<WPARAM>(hwnd()), 0);
}

int Teditform::TextByteLength() const { return static_cast<int>(Memo1.Bytes().bytes().size()); }

void Teditform::ShowCaretStatus() {
  if (!Memo1.hwnd()) return;
  const int line = Memo1.LineFromChar(Memo1.SelStart());
  main_.SetStatusText(L"カーソル位置 = " + std::to_wstring(line + 1) + L" 行目  /  トータル行数 = " +
                              std::to_wstring(Memo1.LineCount()) + L" 行  /  サイズ = " +
                              GroupThousands(TextByteLength()) + L" Bytes");
}

void Teditform::SetItemEnabled(int id, bool enabled) {
  const UINT flags = MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED);
  EnableMenuItem(menu_.get(), static_cast<UINT>(id), flags);
  EnableMenuItem(popup_, static_cast<UINT>(id), flags);
  if (SpeedButton* b = Button(id)) b->SetEnabled(enabled);
}

bool Teditform::MenuItemEnabled(int command_id) const {
  const UINT state = GetMenuState(menu_.get(), static_cast<UINT>(command_id), MF_BYCOMMAND);
  return state != static_cast<UINT>(-1) && !(state & (MF_GRAYED | MF_DISABLED));
}

void Teditform::UpdateEditCommands() {
  const bool text_on_clipboard = IsClipboardFormatAvailable(CF_UNICODETEXT) || IsClipboardFormatAvailable(CF_TEXT);
  SetItemEnabled(IDM_PASTE, text_on_clipboard);
  const bool selection = Memo1.SelLength() > 0;
  SetItemEnabled(IDM_CUT, selection);
  SetItemEnabled(IDM_COPY, selection);
  SetItemEnabled(IDM_DELETE1, selection);
  SetItemEnabled(IDM_UNDO, Memo1.CanUndo());
}

void Teditform::FormCreate() {
  // The File menu mirrors the main window's seven recent files.
  for (int n = 1; n <= RecentFileList::kSlots; ++n)
    ModifyMenuW(menu_.get(), IDM_USEDFILE1 + n - 1, MF_BYCOMMAND | MF_STRING, IDM_USEDFILE1 + n - 1,
                main_.recent_files().Caption(n).c_str());
}

void Teditform::SetImeColors() {
  COMPCOLOR colors[4] = {};
  SendMessageW(Memo1.hwnd(), EM_GETIMECOLOR, 0, reinterpret_cast<LPARAM>(colors));
  colors[1].crText = RGB(255, 255, 0);
  colors[1].crBackground = RGB(0, 0, 255);
  colors[1].dwEffects = 0;
  SendMessageW(Memo1.hwnd(), EM_SETIMECOLOR, 0, reinterpret_cast<LPARAM>(colors));
}

void Teditform::SaveDocSettings(const std::wstring& section, const std::wstring& file_value) {
  RECT memo{}, form{};
  GetWindowRect(Memo1.hwnd(), &memo);
  GetWindowRect(hwnd(), &form);
  if (IsIconic(hwnd())) {
    // An icon's size would reopen the document as a sliver: take the size the
    // window has when restored, and the text area's size inside it.
    WINDOWPLACEMENT wp{sizeof wp};
    GetWindowPlacement(hwnd(), &wp);
    form = wp.rcNormalPosition;
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, WindowStyle(hwnd()), FALSE, WindowExStyle(hwnd()));
    const int panel = IsWindowVisible(panele_.hwnd()) ? panel_height_ : 0;
    memo = {0, 0, std::max(0L, (form.right - form.left) - (frame.right - frame.left)),
            std::max(0L, (form.bottom - form.top) - (frame.bottom - frame.top) - panel)};
  }
  const FontSpec& font = Memo1.font();
  DocSettings doc;
  doc.file = file_value;
  doc.width = memo.right - memo.left;
  doc.height = memo.bottom - memo.top;
  doc.form_width = form.right - form.left;
  doc.form_height = form.bottom - form.top;
  doc.font_name = font.name;
  doc.font_size = font.size;
  doc.font_color = static_cast<int>(font.color);
  doc.font_style = font.style;
  doc.word_wrap = Memo1.word_wrap();
  Settings ini;
  doc.Save(ini, section);
}

// Writes the text to FilePath so that the only good copy is never lost: the
// new text goes to a file beside the document first; only when it is
// complete does the old file become the backup and the new one take its name.
// On any failure the document and its backup are as they were.
bool Teditform::WriteDocument() {
  const FileStamp on_disk = StampOf(FilePath);
  if (disk_.SaveOverwritesChange(on_disk)) {
    // This question tells of the change: the activation after it does not again.
    disk_.TellChange(on_disk);
    WindowLife life(*this);
    const int answer = ShowMessage(
        hwnd(),
        L"ﾌｧｲﾙ " + FilePath + L" は、読み込んだ後にほかで書き換えられています。\r\n\r\n"
        L"「はい」　　　このウィンドウの文章で上書き保存します (ディスクの内容は失われます)。\r\n"
        L"「いいえ」　　ディスクの内容を読み込み直します (このウィンドウの変更は失われます)。\r\n"
        L"「キャンセル」　保存しません。",
        MessageKind::Warning, MB_YESNOCANCEL);
    if (!life.lives() || answer == IDCANCEL) return false;
    if (answer == IDNO) {
      Reload();
      return false;
    }
  }
  const std::wstring text = Memo1.Text();
  EncodedDocument out = EncodeDocument(text, encoding_, breaks_);
  if (out.lost > 0) {
    const TextPlace place = PlaceOf(text, out.first_lost);
    const int answer = ShowMessage(
        L"シフトJIS で保存できない文字が " + std::to_wstring(out.lost) + L" 個あります。\r\n最初の文字は " +
            std::to_wstring(place.line) + L" 行目の " + std::to_wstring(place.column) +
            L" 文字目です。\r\n\r\n「はい」　　　UTF-8 で保存します (すべての文字が残ります)。\r\n"
            L"「いいえ」　　それらの文字を \"?\" に置き換えて保存します。\r\n「キャンセル」　保存しません。",
        MessageKind::Warning, MB_YESNOCANCEL);
    if (answer == IDCANCEL) return false;
    if (answer == IDYES) {
      encoding_ = DocEncoding::Utf8Bom;
      out = EncodeDocument(text, encoding_, breaks_);
    }
  }
  const DWORD attributes = GetFileAttributesW(FilePath.c_str());
  const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
  if (exists && cut_at_nul_) {
    if (ShowMessage(L"ﾌｧｲﾙ " + FilePath +
                        L" の NUL 文字より後ろの内容は、上書きすると失われます。\r\n\r\n上書き保存しますか ?",
                    MessageKind::Confirmation, MB_YESNO) != IDYES)
      return false;
  }
  if (exists && !changed_at_.empty()) {
    if (ShowMessage(L"ﾌｧｲﾙ " + FilePath + L" は、" + changed_at_ +
                        L"から、読み込んだときと違うバイトで保存されます。\r\n\r\n上書き保存しますか ?",
                    MessageKind::Confirmation, MB_YESNO) != IDYES)
      return false;
  }
  const FileReplaced saved =
      ReplaceFileContents(FilePath, out.bytes, {.backup = BackupNameOf(FilePath), .keep_attributes = true});
  switch (saved.outcome) {
    case FileReplaced::Outcome::kReplaced:
      break;
    case FileReplaced::Outcome::kReadOnly:
      throw Error(L"ﾌｧｲﾙ " + FilePath + L" は読み取り専用のため、保存できません。");
    case FileReplaced::Outcome::kNotAFile:
      throw Error(L"ﾌｧｲﾙ " + FilePath + L" を作成できません。");
    case FileReplaced::Outcome::kCannotCreate:
      throw Error(L"ﾌｧｲﾙ " + FilePath + L" を作成できません。\r\n\r\n" + SystemErrorText(saved.error));
    case FileReplaced::Outcome::kCannotWrite:
    case FileReplaced::Outcome::kCannotReplace:
      throw Error(L"ﾌｧｲﾙ " + FilePath + L" に書き込めません。\r\n\r\n" + SystemErrorText(saved.error));
  }
  cut_at_nul_ = false;
  changed_at_.clear();
  changed_place_.reset();
  disk_.Read(StampOf(FilePath));
  return true;
}

void Teditform::Reload() {
  const ReadFile file = ReadDocument(FilePath);
  const std::wstring held = Memo1.Text();
  const bool modified = Memo1.Modified();
  try {
    OpenF(FilePath, file);
  } catch (...) {
    Memo1.SetText(held);
    Memo1.SetModified(modified);
    throw;
  }
}

void Teditform::Restore(const RecoveryCopy& copy) {
  if (!copy.path.empty()) Memo1.SetBackground(GetSysColor(COLOR_BTNFACE));
  SetTextMargins();
  Memo1.SetText(copy.text);
  if (static_cast<std::size_t>(Memo1.TextLength()) != ControlLength(copy.text)) {
    Memo1.SetText(L"");
    throw Error(L"保存されないまま終わった文章を、メモリが足りないため全部は復元できません。");
  }
  FilePath = copy.path;
  encoding_ = copy.encoding;
  breaks_ = copy.breaks;
  cut_at_nul_ = copy.cut_at_nul;
  changed_place_ = copy.changed_at;
  changed_at_ = copy.changed_at ? std::to_wstring(copy.changed_at->line) + L" 行目の " +
                                      std::to_wstring(copy.changed_at->column) + L" 文字目"
                                : std::wstring();
  if (FilePath.empty())
    disk_.Forget();
  else
    disk_.Read(copy.read);
  Memo1.SetSel(copy.caret, copy.selection);
  Memo1.SetModified(true);
  ShowWindow(Memo1.hwnd(), SW_SHOW);
  SetFocus(Memo1.hwnd());
  ShowCaretStatus();
  // The restored text has its copy of this run before the old copy goes.
  TakeCopy();
}

RecoveryCopy Teditform::CopyOfText() const {
  RecoveryCopy copy;
  copy.path = FilePath;
  copy.number = FilePath.empty() ? Tag : 0;
  copy.encoding = encoding_;
  copy.breaks = breaks_;
  copy.cut_at_nul = cut_at_nul_;
  copy.changed_at = changed_place_;
  copy.read = disk_.read().value_or(FileStamp{});
  copy.caret = Memo1.SelStart();
  copy.selection = Memo1.SelLength();
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  copy.written_at = (static_cast<std::uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
  copy.text = Memo1.Text();
  return copy;
}

void Teditform::NoteChange() {
  const std::uint64_t now = GetTickCount64();
  copy_schedule_.Changed(now);
  const std::uint64_t due = copy_schedule_.due();
  SetTimer(hwnd(), kCopyTimer, static_cast<UINT>(due > now ? due - now : 0), nullptr);
}

void Teditform::TakeCopy() {
  KillTimer(hwnd(), kCopyTimer);
  copy_schedule_.Taken();
  RecoveryJournal* journal = main_.journal();
  if (!journal) return;
  if (!Memo1.Modified()) {
    DropCopy();
    return;
  }
  if (copy_key_ == 0) copy_key_ = journal->NewKey();
  journal->Write(copy_key_, CopyOfText());
  has_copy_ = true;
}

void Teditform::DropCopy() {
  KillTimer(hwnd(), kCopyTimer);
  copy_schedule_.Taken();
  if (!has_copy_) return;
  has_copy_ = false;
  if (RecoveryJournal* journal = main_.journal()) journal->Remove(copy_key_);
}

void Teditform::CheckDisk() {
  if (FilePath.empty()) return;
  // A file that went has nothing to read again; the next save makes it anew.
  const FileStamp now = StampOf(FilePath);
  if (!now.exists || !disk_.TellChange(now)) return;
  WindowLife life(*this);
  if (ShowMessage(hwnd(),
                  L"ﾌｧｲﾙ " + FilePath + L" は、読み込んだ後にほかで書き換えられています。\r\n\r\n"
                  L"ディスクの内容を読み込み直しますか ?\r\n"
                  L"「いいえ」を選ぶと、このウィンドウの文章をそのまま残します。",
                  MessageKind::Confirmation, MB_YESNO) != IDYES ||
      !life.lives())
    return;
  if (Memo1.Modified()) {
    if (ShowMessage(hwnd(),
                    L"このウィンドウには保存していない変更があります。読み込み直すと、その変更は失われます。"
                    L"\r\n\r\n読み込み直しますか ?",
                    MessageKind::Warning, MB_YESNO) != IDYES ||
        !life.lives())
      return;
  }
  Reload();
}

bool Teditform::Save1Click() {
  if (FilePath.empty()) return SaveAs1Click();
  {
    BusyCursor busy;
    if (!WriteDocument()) return false;
  }
  const int length = TextByteLength();
  ShowMessage(FilePath + L"\r\n\r\nFile Size  :  " + GroupThousands(length) + L"  Bytes  を\r\n\r\n正常に保存しました !!");
  Memo1.SetModified(false);
  DropCopy();
  SaveDocSettings(FilePath, FilePath);
  SaveDocSettings(L"LastUse", FilePath);
  main_.NoteSavedFile(FilePath);
  FormCreate();
  return true;
}

bool Teditform::SaveAs1Click() {
  std::wstring name = FilePath;
  if (!RunSaveDialog(hwnd(), name)) return false;
  const std::wstring previous = FilePath;
  const DiskWatch previous_disk = disk_;
  // Another file: the one the window read is no longer its file. (The
  // dialog has asked about overwriting the other.)
  if (!EqualsNoCase(AbsolutePath(name), previous)) disk_.Forget();
  if (HasExtension(name)) {
    FilePath = name;
    SetCaption(FileNameOf(name));
    return Save1Click();
  }
  name += L".TXT";
  FilePath = name;
  if (Exists(name)) {
    // Ask again with the completed name, so that the overwrite question applies.
    if (!RunSaveDialog(hwnd(), name)) {
      FilePath = previous;
      disk_ = previous_disk;
      return false;
    }
    FilePath = name;
  }
  SetCaption(FileNameOf(FilePath));
  return Save1Click();
}

void Teditform::Close1Click() {
  replace_.Close();
  find_.Close();
  if (Memo1.LineCount() == 0) Memo1.SetModified(false);
  close_from_menu_ = true;
  SendMessageW(hwnd(), WM_CLOSE, 0, 0);
}

bool Teditform::CloseQuery() {
  if (!Memo1.Modified()) return true;
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
  if (answer == IDYES) return Save1Click();
  return true;
}

// The control's modified flag is the document's; commands that change the
// text set it themselves, since not every text control does for them.
void Teditform::CutToClipboard() {
  if (Memo1.SelLength() > 0) {
    SendMessageW(Memo1.hwnd(), WM_CUT, 0, 0);
    Memo1.SetModified(true);
  }
  UpdateEditCommands();
}

void Teditform::CopyToClipboard() {
  SendMessageW(Memo1.hwnd(), WM_COPY, 0, 0);
  Memo1.SetSel(Memo1.SelStart(), 0);
  UpdateEditCommands();
}

void Teditform::PasteFromClipboard() {
  if (IsClipboardFormatAvailable(CF_UNICODETEXT) || IsClipboardFormatAvailable(CF_TEXT)) {
    SendMessageW(Memo1.hwnd(), EM_PASTESPECIAL, CF_UNICODETEXT, 0);
    Memo1.SetModified(true);
  }
  UpdateEditCommands();
}

void Teditform::DeleteSelection() {
  if (Memo1.SelLength() == 0) return;
  SendMessageW(Memo1.hwnd(), WM_CLEAR, 0, 0);
  Memo1.SetModified(true);
}

void Teditform::UNDO1Click() {
  if (!Memo1.CanUndo()) return;
  Memo1.Undo();
  Memo1.SetModified(true);
}

void Teditform::SelectAll() {
  Memo1.SetSel(0, Memo1.TextLength());
  UpdateEditCommands();
}

void Teditform::PopToTopLineClick() {
  Memo1.SetSel(0, 0);
  Memo1.ScrollCaret();
  ShowCaretStatus();
  SetFocus(Memo1.hwnd());
}

void Teditform::PopToLastLineClick() {
  Memo1.SetSel(Memo1.TextLength(), 0);
  Memo1.ScrollCaret();
  ShowCaretStatus();
  SetFocus(Memo1.hwnd());
}

void Teditform::SpeedBTClick() {
  ShowWindow(panele_.hwnd(), IsWindowVisible(panele_.hwnd()) ? SW_HIDE : SW_SHOW);
  Layout();
}

void Teditform::SetPopUpItems() {
  for (int n = 1; n <= 7; ++n) {
    const std::wstring caption = L"(&" + std::to_wstring(n) + L") " + main_.snippets().Label(n);
    ModifyMenuW(popup_, IDM_EDITKEY1 + n - 1, MF_BYCOMMAND | MF_STRING, IDM_EDITKEY1 + n - 1, caption.c_str());
  }
  UpdateEditCommands();
}

void Teditform::ShowPopup(int x, int y) {
  if (x == -1 && y == -1) {
    POINT caret{};
    GetCaretPos(&caret);
    ClientToScreen(Memo1.hwnd(), &caret);
    x = caret.x;
    y = caret.y;
  }
  SetPopUpItems();
  TrackPopupMenu(popup_, TPM_LEFTALIGN | TPM_RIGHTBUTTON, x, y, 0, hwnd(), nullptr);
}

bool Teditform::OnMemoInput(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_KEYDOWN) {
    const bool ctrl_only = (GetKeyState(VK_CONTROL) & 0x8000) && !(GetKeyState(VK_SHIFT) & 0x8000) &&
                           !(GetKeyState(VK_MENU) & 0x8000);
    if (ctrl_only && wp == VK_DOWN) ScrollIfBelow(1);
    if (ctrl_only && wp == VK_UP) Memo1.ScrollLines(-1);
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

int Teditform::HelpContextOf(int id) {
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

void Teditform::OnActivate(bool active) {
  if (!active) return;
  SendMessageW(main_.mdi_client(), WM_MDISETMENU, reinterpret_cast<WPARAM>(menu_.get()),
               reinterpret_cast<LPARAM>(GetSubMenu(menu_.get(), 4)));
  DrawMenuBar(GetParent(main_.mdi_client()));
  UpdateEditCommands();
  FormCreate();
  main_.UpdateMenuItems();
}

void Teditform::OnCommand(int id) {
  switch (id) {
    // Commands of the main window, reached from this window's menu and keys.
    case IDM_NEW1: main_.NewEditor(); return;
    case IDM_OPEN1: main_.OpenChosenFile(); return;
    case IDM_EXIT1: main_.Exit(); return;
    case IDM_FRIEND: main_.ShowFriendsWindow(); return;
    case IDM_WORDSEARCH: main_.ShowSearchWindow(); return;
    case IDM_ABOUT: main_.ShowAbout(); return;
    case IDM_HELP: main_.ShowHelp(); return;

    case IDM_SAVEAS1: SaveAs1Click(); return;
    case IDM_SAVE1: Save1Click(); return;
    case IDM_CLOSE1: Close1Click(); return;  // may free this window: nothing after it

    case IDM_CUT: CutToClipboard(); return;
    case IDM_COPY: CopyToClipboard(); return;
    case IDM_PASTE: PasteFromClipboard(); return;
    case IDM_DELETE1: DeleteSelection(); return;
    case IDM_SELECTALL: SelectAll(); return;
    case IDM_UNDO: UNDO1Click(); return;
    case IDM_TOTOPLINE: PopToTopLineClick(); return;
    case IDM_TOLASTLINE: PopToLastLineClick(); return;
    case IDM_SPEEDBT: SpeedBTClick(); return;
    case IDM_LEFTSET: LeftSetClick(); return;
    case IDM_DATETIME: SpeedButton5Click(); return;

    case IDM_LEFT1:
    case IDM_RIGHT1:
    case IDM_CENTER1: AlignClick(id); return;
    case IDM_WORDWRAP1: SetWordWrap(); return;
    case IDM_TABTOSPACE: TabtoSpaceClick(8); return;
    case IDM_TAB4SPACE: TabtoSpaceClick(4); return;
    case IDM_FONT1: SetFont(); return;
    case IDM_VELGOLD: ShowTreasureBox(); return;
    case IDC_ZOOMIN: ZoomClick(kZoomInPercent); return;
    case IDC_ZOOMOUT: ZoomClick(kZoomOutPercent); return;

    case IDM_FIND1: Find1Click(); return;
    case IDM_FINDNEXT1: FindNext1Click(); return;
    case IDM_REPLACE1: Replace1Click(); return;
    case IDM_KN1: KN1Click(); return;
  }
  if (id >= IDM_EDITKEY1 && id <= IDM_EDITKEY7) {
    EditKey1Click(id - IDM_EDITKEY1 + 1);
    return;
  }
  if (id >= IDM_USEDFILE1 && id <= IDM_USEDFILE7) {
    main_.OpenRecentFile(id - IDM_USEDFILE1 + 1);
    if (hwnd()) FormCreate();
    return;
  }
  if (id >= IDM_FIRSTCHILD || (id >= IDM_TILE1 && id <= IDM_ARRANGEICONS1)) {
    SendMessageW(GetParent(main_.mdi_client()), WM_COMMAND, id, 0);
  }
}

LRESULT Teditform::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
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
      SetFocus(Memo1.hwnd());
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
      if (lp && reinterpret_cast<HWND>(lp) == Memo1.hwnd()) {
        if (code == EN_CHANGE) {
          Memo1.TextChanged();
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
      if (hdr->hwndFrom == Memo1.hwnd() && hdr->code == EN_SELCHANGE) UpdateEditCommands();
      break;
    }
    case WM_INITMENUPOPUP:
      if (reinterpret_cast<HMENU>(wp) == GetSubMenu(menu_.get(), 1)) UpdateEditCommands();
      if (reinterpret_cast<HMENU>(wp) == GetSubMenu(menu_.get(), 2)) Character1Click();
      break;
    case WM_CONTEXTMENU:
      if (reinterpret_cast<HWND>(wp) == Memo1.hwnd() || reinterpret_cast<HWND>(wp) == panele_.hwnd()) {
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
        DestroyWindow(Memo1.hwnd());
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

LRESULT Teditform::DefaultProc(UINT msg, WPARAM wp, LPARAM lp) { return DefMDIChildProcW(hwnd(), msg, wp, lp); }

int Teditform::HelpContextFor(const HELPINFO& info) {
  return info.iContextType == HELPINFO_MENUITEM ? HelpContextOf(info.iCtrlId) : 1020;
}

HWND Teditform::HelpOwner() const { return GetParent(main_.mdi_client()); }

}  // namespace velkor
