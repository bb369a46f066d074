#include "editor/editor_window.h"

#include "editor/recovery_journal.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/number_format.h"
#include "platform/path_names.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "state/doc_settings.h"
#include "state/recent_file_list.h"
#include "state/settings.h"
#include "ui/app.h"
#include "ui/main_frame.h"
#include "ui/message_box.h"
#include "ui/messages.h"
#include "ui/window_life.h"

// The editor's document: reading it, saving it and its settings, its recovery
// copy and what changed on disk underneath.
namespace velkor {
namespace {

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

FileStamp EditorWindow::StampOf(const std::wstring& path) {
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

EditorWindow::ReadFile EditorWindow::ReadDocument(const std::wstring& path) {
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

void EditorWindow::OpenF(const std::wstring& path, const ReadFile& file) {
  const DecodedDocument& doc = file.doc;
  memo_.SetBackground(GetSysColor(COLOR_BTNFACE));
  SetTextMargins();
  memo_.SetText(doc.text);
  // A control short of memory keeps what it could take: a text that is not
  // all there must never be taken for the document.
  if (static_cast<std::size_t>(memo_.TextLength()) != ControlLength(doc.text)) {
    memo_.SetText(L"");
    throw Error(L"ﾌｧｲﾙ " + path + L" は、メモリが足りないため全部を読み込めません。");
  }
  file_path_ = path;
  disk_.Read(file.stamp);
  encoding_ = doc.encoding;
  breaks_ = doc.breaks;
  cut_at_nul_ = doc.cut_at_nul;
  changed_at_ = doc.change == DecodedDocument::Change::kNone ? std::wstring() : PlaceText(doc.text, doc.changed_at);
  changed_place_.reset();
  if (doc.change != DecodedDocument::Change::kNone) changed_place_ = PlaceOf(doc.text, doc.changed_at);
  memo_.SetSel(0, 0);
  SetCaption(FileNameOf(file_path_));
  memo_.SetModified(false);
  ShowWindow(memo_.hwnd(), SW_SHOW);
  SetFocus(memo_.hwnd());
  ShowCaretStatus();
  if (cut_at_nul_) {
    ShowMessage(L"ﾌｧｲﾙ " + file_path_ +
                    L" には NUL 文字が含まれています。\r\n\r\n最初の NUL 文字より後ろの内容は表示できません。"
                    L"\r\nこのまま上書き保存すると、その部分は失われます。",
                MessageKind::Warning);
  }
  if (doc.change == DecodedDocument::Change::kBytes) {
    ShowMessage(L"ﾌｧｲﾙ " + file_path_ + L" の " + changed_at_ +
                    L"から、文字として読めないバイトがあります。\r\n\r\nそのバイトは別の文字で表示しています。"
                    L"\r\nこのまま上書き保存すると、元のバイトは失われます。",
                MessageKind::Warning);
  } else if (doc.change == DecodedDocument::Change::kLineBreaks) {
    ShowMessage(L"ﾌｧｲﾙ " + file_path_ + L" には、種類の違う改行が混じっています (最初は " + changed_at_ +
                    L")。\r\n\r\nこのまま上書き保存すると、改行はすべて同じ種類になります。",
                MessageKind::Warning);
  }
  const std::vector<std::wstring> leftovers = LeftoverTemporaryFiles(file_path_);
  if (!leftovers.empty()) {
    std::wstring names;
    for (const std::wstring& name : leftovers) names += L"\r\n    " + name;
    ShowMessage(L"ﾌｧｲﾙ " + file_path_ + L" の保存が、前回は途中で終わっています。\r\n\r\n書きかけの一時ファイルが残っています :" +
                    names + L"\r\n\r\n中身を確かめてから、要らなければ削除して下さい。",
                MessageKind::Information);
  }
}

void EditorWindow::SaveDocSettings(const std::wstring& section, const std::wstring& file_value) {
  RECT memo{}, form{};
  GetWindowRect(memo_.hwnd(), &memo);
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
  const FontSpec& font = memo_.font();
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
  doc.word_wrap = memo_.word_wrap();
  Settings ini;
  doc.Save(ini, section);
}

// Writes the text to file_path_ so that the only good copy is never lost: the
// new text goes to a file beside the document first; only when it is
// complete does the old file become the backup and the new one take its name.
// On any failure the document and its backup are as they were.
bool EditorWindow::WriteDocument() {
  const FileStamp on_disk = StampOf(file_path_);
  if (disk_.SaveOverwritesChange(on_disk)) {
    // This question tells of the change: the activation after it does not again.
    disk_.TellChange(on_disk);
    WindowLife life(*this);
    const int answer = ShowMessage(
        hwnd(),
        L"ﾌｧｲﾙ " + file_path_ + L" は、読み込んだ後にほかで書き換えられています。\r\n\r\n"
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
  const std::wstring text = memo_.Text();
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
  const DWORD attributes = GetFileAttributesW(file_path_.c_str());
  const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
  if (exists && cut_at_nul_) {
    if (ShowMessage(L"ﾌｧｲﾙ " + file_path_ +
                        L" の NUL 文字より後ろの内容は、上書きすると失われます。\r\n\r\n上書き保存しますか ?",
                    MessageKind::Confirmation, MB_YESNO) != IDYES)
      return false;
  }
  if (exists && !changed_at_.empty()) {
    if (ShowMessage(L"ﾌｧｲﾙ " + file_path_ + L" は、" + changed_at_ +
                        L"から、読み込んだときと違うバイトで保存されます。\r\n\r\n上書き保存しますか ?",
                    MessageKind::Confirmation, MB_YESNO) != IDYES)
      return false;
  }
  const FileReplaced saved =
      ReplaceFileContents(file_path_, out.bytes, {.backup = BackupNameOf(file_path_), .keep_attributes = true});
  switch (saved.outcome) {
    case FileReplaced::Outcome::kReplaced:
      break;
    case FileReplaced::Outcome::kReadOnly:
      throw Error(L"ﾌｧｲﾙ " + file_path_ + L" は読み取り専用のため、保存できません。");
    case FileReplaced::Outcome::kNotAFile:
      throw Error(L"ﾌｧｲﾙ " + file_path_ + L" を作成できません。");
    case FileReplaced::Outcome::kCannotCreate:
      throw Error(L"ﾌｧｲﾙ " + file_path_ + L" を作成できません。\r\n\r\n" + SystemErrorText(saved.error));
    case FileReplaced::Outcome::kCannotWrite:
    case FileReplaced::Outcome::kCannotReplace:
      throw Error(L"ﾌｧｲﾙ " + file_path_ + L" に書き込めません。\r\n\r\n" + SystemErrorText(saved.error));
  }
  cut_at_nul_ = false;
  changed_at_.clear();
  changed_place_.reset();
  disk_.Read(StampOf(file_path_));
  return true;
}

void EditorWindow::Reload() {
  const ReadFile file = ReadDocument(file_path_);
  const std::wstring held = memo_.Text();
  const bool modified = memo_.Modified();
  try {
    OpenF(file_path_, file);
  } catch (...) {
    memo_.SetText(held);
    memo_.SetModified(modified);
    throw;
  }
}

void EditorWindow::Restore(const RecoveryCopy& copy) {
  if (!copy.path.empty()) memo_.SetBackground(GetSysColor(COLOR_BTNFACE));
  SetTextMargins();
  memo_.SetText(copy.text);
  if (static_cast<std::size_t>(memo_.TextLength()) != ControlLength(copy.text)) {
    memo_.SetText(L"");
    throw Error(L"保存されないまま終わった文章を、メモリが足りないため全部は復元できません。");
  }
  file_path_ = copy.path;
  encoding_ = copy.encoding;
  breaks_ = copy.breaks;
  cut_at_nul_ = copy.cut_at_nul;
  changed_place_ = copy.changed_at;
  changed_at_ = copy.changed_at ? std::to_wstring(copy.changed_at->line) + L" 行目の " +
                                      std::to_wstring(copy.changed_at->column) + L" 文字目"
                                : std::wstring();
  if (file_path_.empty())
    disk_.Forget();
  else
    disk_.Read(copy.read);
  memo_.SetSel(copy.caret, copy.selection);
  memo_.SetModified(true);
  ShowWindow(memo_.hwnd(), SW_SHOW);
  SetFocus(memo_.hwnd());
  ShowCaretStatus();
  // The restored text has its copy of this run before the old copy goes.
  TakeCopy();
}

RecoveryCopy EditorWindow::CopyOfText() const {
  RecoveryCopy copy;
  copy.path = file_path_;
  copy.number = file_path_.empty() ? Tag : 0;
  copy.encoding = encoding_;
  copy.breaks = breaks_;
  copy.cut_at_nul = cut_at_nul_;
  copy.changed_at = changed_place_;
  copy.read = disk_.read().value_or(FileStamp{});
  copy.caret = memo_.SelStart();
  copy.selection = memo_.SelLength();
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  copy.written_at = (static_cast<std::uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
  copy.text = memo_.Text();
  return copy;
}

void EditorWindow::NoteChange() {
  const std::uint64_t now = GetTickCount64();
  copy_schedule_.Changed(now);
  const std::uint64_t due = copy_schedule_.due();
  SetTimer(hwnd(), kCopyTimer, static_cast<UINT>(due > now ? due - now : 0), nullptr);
}

void EditorWindow::TakeCopy() {
  KillTimer(hwnd(), kCopyTimer);
  copy_schedule_.Taken();
  RecoveryJournal* journal = main_.journal();
  if (!journal) return;
  if (!memo_.Modified()) {
    DropCopy();
    return;
  }
  if (copy_key_ == 0) copy_key_ = journal->NewKey();
  journal->Write(copy_key_, CopyOfText());
  has_copy_ = true;
}

void EditorWindow::DropCopy() {
  KillTimer(hwnd(), kCopyTimer);
  copy_schedule_.Taken();
  if (!has_copy_) return;
  has_copy_ = false;
  if (RecoveryJournal* journal = main_.journal()) journal->Remove(copy_key_);
}

void EditorWindow::CheckDisk() {
  if (file_path_.empty()) return;
  // A file that went has nothing to read again; the next save makes it anew.
  const FileStamp now = StampOf(file_path_);
  if (!now.exists || !disk_.TellChange(now)) return;
  WindowLife life(*this);
  if (ShowMessage(hwnd(),
                  L"ﾌｧｲﾙ " + file_path_ + L" は、読み込んだ後にほかで書き換えられています。\r\n\r\n"
                  L"ディスクの内容を読み込み直しますか ?\r\n"
                  L"「いいえ」を選ぶと、このウィンドウの文章をそのまま残します。",
                  MessageKind::Confirmation, MB_YESNO) != IDYES ||
      !life.lives())
    return;
  if (memo_.Modified()) {
    if (ShowMessage(hwnd(),
                    L"このウィンドウには保存していない変更があります。読み込み直すと、その変更は失われます。"
                    L"\r\n\r\n読み込み直しますか ?",
                    MessageKind::Warning, MB_YESNO) != IDYES ||
        !life.lives())
      return;
  }
  Reload();
}

bool EditorWindow::Save() {
  if (file_path_.empty()) return SaveAs();
  {
    BusyCursor busy;
    if (!WriteDocument()) return false;
  }
  const int length = TextByteLength();
  ShowMessage(file_path_ + L"\r\n\r\nFile Size  :  " + GroupThousands(length) + L"  Bytes  を\r\n\r\n正常に保存しました !!");
  memo_.SetModified(false);
  DropCopy();
  SaveDocSettings(file_path_, file_path_);
  SaveDocSettings(L"LastUse", file_path_);
  main_.NoteSavedFile(file_path_);
  FillRecentFileItems();
  return true;
}

bool EditorWindow::SaveAs() {
  std::wstring name = file_path_;
  if (!RunSaveDialog(hwnd(), name)) return false;
  const std::wstring previous = file_path_;
  const DiskWatch previous_disk = disk_;
  // Another file: the one the window read is no longer its file. (The
  // dialog has asked about overwriting the other.)
  if (!EqualsNoCase(AbsolutePath(name), previous)) disk_.Forget();
  if (HasExtension(name)) {
    file_path_ = name;
    SetCaption(FileNameOf(name));
    return Save();
  }
  name += L".TXT";
  file_path_ = name;
  if (Exists(name)) {
    // Ask again with the completed name, so that the overwrite question applies.
    if (!RunSaveDialog(hwnd(), name)) {
      file_path_ = previous;
      disk_ = previous_disk;
      return false;
    }
    file_path_ = name;
  }
  SetCaption(FileNameOf(file_path_));
  return Save();
}

}  // namespace velkor
