// The source viewer of the search window: a hit's whole file in SrcList with
// the caret on the hit line and the keyword selected, its copy and find
// commands, and the way back to the list.
#include "controls/text_positions.h"
#include "editor/find_in_edit.h"
#include "platform/file_utils.h"
#include "ui/app.h"
#include "platform/error.h"
#include "platform/files.h"
#include "ui/message_box.h"
#include "platform/text.h"
#include "platform/text_file.h"
#include "wordsearch/search_window.h"
#include "wordsearch/viewer_logic.h"
#include "wordsearch/wordsearch_ids.h"

namespace velkor {
namespace {

constexpr int kSampleLength = 255;

}  // namespace

void SearchWindow::ViewSelectedHit() {
  if (working()) return;
  BusyCursor busy;
  const int i = SelectedIndex();
  if (i < 0 || i >= static_cast<int>(hits_.size())) return;
  const ListedHit& listed = hits_[static_cast<size_t>(i)];
  if (listed.path != view_file_) {
    SetCaption(L" View Source  -  " + listed.path);
    if (!LoadSource(listed.path)) return;
    view_file_ = listed.path;
  }
  ShowViewer();
  SelectHit(listed.hit.line_number);
  copy_btn_.SetEnabled(true);
  close_file_button_.SetEnabled(true);
  file_button_.SetEnabled(false);
  SetFocus(src_list_.hwnd());
  ScrollToHit(3);
  ShowLinePos();
  SetMenuItemEnabled(popup1_.get(), IDM_SEA_FINDNEXT1, true);
}

bool SearchWindow::LoadSource(const std::wstring& path) {
  const FileBytes file = ReadWholeFile(path, 0x7FFFFFFF);
  if (file.outcome == FileBytes::Outcome::kCannotOpen) {
    ShowMessage(hwnd(), L"ﾌｧｲﾙ " + path + L" は開けません" + L"\r\n\r\n" +
                L"他のソフトウェアが使用中で、その上、ファイルがロックされています。");
    return false;
  }
  if (file.outcome == FileBytes::Outcome::kTooLarge) throw Error(L"ﾌｧｲﾙ " + path + L" は大きすぎて表示できません。");
  if (!file.ok()) throw Error(L"ﾌｧｲﾙ " + path + L" を読み込めません。");
  std::wstring text = DecodeText(file.bytes, RecogniseEncoding(file.bytes));
  // The control ends its text at a NUL; the search reads past it, so the
  // lines behind one must still be there to be shown.
  for (wchar_t& c : text)
    if (c == L'\0') c = L' ';
  src_list_.SetText(text);
  src_list_.SetSel(0, 0);
  return true;
}

void SearchWindow::ShowViewer() {
  ShowWindow(header_, SW_HIDE);
  ShowWindow(file_list_, SW_HIDE);
  ShowWindow(src_list_.hwnd(), SW_SHOW);
  Layout();
}

void SearchWindow::HideViewer() {
  src_list_.SetSel(0, 0);
  ShowWindow(src_list_.hwnd(), SW_HIDE);
  SetStatusText(3, L"");
  ShowWindow(header_, SW_SHOW);
  ShowWindow(file_list_, SW_SHOW);
  Layout();
}

// The caret on the hit line, the keyword selected, and the find text taken from it.
void SearchWindow::SelectHit(long long line_number) {
  int line_start = line_number >= 1 && line_number <= 0x7FFFFFFF
                       ? src_list_.LineIndex(static_cast<int>(line_number - 1))
                       : -1;
  if (line_start < 0) line_start = src_list_.TextLength();  // the file has grown shorter since the search
  src_list_.SetSel(line_start, kSampleLength);
  // The keyword's characters that code page 932 lacks take their stand-ins
  // first, so that each has one of its own in the sample.
  const TextBytes sample(src_list_.SelText(), typed_keyword_);
  std::string_view bytes = sample.bytes();
  if (bytes.size() > static_cast<size_t>(kSampleLength)) bytes = bytes.substr(0, kSampleLength);
  const std::string keyword = sample.FormOf(typed_keyword_).value_or(keyword_bytes_);
  // A keyword with a double-byte character is found exactly, as the search found it.
  const size_t at = FindKeywordInSample(bytes, keyword, EffectiveCaseSensitive(keyword, case_sensitive_));
  const bool found = at != std::string_view::npos;
  const int from = found ? sample.ControlPos(static_cast<int>(at)) : 0;
  const int to = sample.ControlPos((found ? static_cast<int>(at) : 0) + key_length_);
  src_list_.SetSel(line_start + from, to - from);
  find_.SetFindWhat(found ? src_list_.SelText() : WindowText(keyword_box_));
}

void SearchWindow::ScrollToHit(int n) {
  const int caret_line = src_list_.LineFromChar(src_list_.SelStart());
  if (caret_line <= src_list_.FirstVisibleLine() + n) return;
  // To the pixel, so that the hit line is not cut at the top. Scrolling by
  // lines goes by a standard line height, and the scroll position the
  // control reports is scaled once the text is taller than 65,535 pixels;
  // character positions are true, so the distance is measured with them.
  // The control lays out lines as they come into view: a second look
  // corrects for lines whose height it had only estimated.
  const int top = static_cast<int>(src_list_.FormatRect().top);
  const int line_start = src_list_.LineIndex(caret_line);
  for (int look = 0; look < 3; ++look) {
    const POINTL origin = src_list_.PositionOfChar(0), hit = src_list_.PositionOfChar(line_start);
    if (hit.y == top) break;
    src_list_.ScrollToPoint(POINT{0, static_cast<LONG>(top - origin.y + (hit.y - top))});
  }
}

void SearchWindow::ShowLinePos() {
  const int line = src_list_.LineFromChar(src_list_.SelStart()) + 1;
  SetStatusText(3, std::to_wstring(line) + L" / " + std::to_wstring(src_list_.LineCount()) + L" ");
}

void SearchWindow::UpdateCopyButton() { copy_btn_.SetEnabled(src_list_.SelLength() > 0); }

void SearchWindow::CloseViewer() {
  HideViewer();
  copy_btn_.SetEnabled(false);
  close_file_button_.SetEnabled(false);
  file_button_.SetEnabled(true);
  SetFocus(file_list_);
}

bool SearchWindow::ViewerKey(UINT msg, WPARAM wp, LPARAM) {
  if (msg == WM_KEYDOWN) {
    const bool ctrl_only = (GetKeyState(VK_CONTROL) & 0x8000) && !(GetKeyState(VK_SHIFT) & 0x8000) &&
                           !(GetKeyState(VK_MENU) & 0x8000);
    if (ctrl_only && wp == VK_DOWN) src_list_.ScrollLines(1);
    if (ctrl_only && wp == VK_UP) src_list_.ScrollLines(-1);
    if (wp == VK_RETURN || wp == VK_ESCAPE) {
      CloseViewer();
      return true;
    }
  }
  // The characters of those keys have nothing to do in a read-only text.
  return msg == WM_CHAR && (wp == VK_RETURN || wp == VK_ESCAPE);
}

void SearchWindow::SrcListKeyUpOrMouse(UINT msg, WPARAM wp, LPARAM) {
  switch (msg) {
    case WM_KEYDOWN:
      ShowLinePos();
      break;
    case WM_KEYUP:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONUP:  // the end of a selection made with the mouse
      ShowLinePos();
      UpdateCopyButton();
      break;
  }
}

void SearchWindow::CopyViewerSelection() {
  SendMessageW(src_list_.hwnd(), WM_COPY, 0, 0);
  src_list_.SetSel(src_list_.SelStart(), 0);
}

void SearchWindow::CopyViewerText() {
  if (src_list_.SelLength() == 0) src_list_.SetSel(0, src_list_.TextLength());
  SendMessageW(src_list_.hwnd(), WM_COPY, 0, 0);
  src_list_.SetSel(src_list_.SelStart(), 0);
}

void SearchWindow::ViewerToStart() {
  src_list_.SetSel(0, 0);
  src_list_.ScrollCaret();
  ShowLinePos();
  SetFocus(src_list_.hwnd());
}

void SearchWindow::ViewerToEnd() {
  src_list_.SetSel(src_list_.TextLength(), 0);
  src_list_.ScrollCaret();
  ShowLinePos();
  SetFocus(src_list_.hwnd());
}

void SearchWindow::OpenViewerFind() {
  find_count_ = 0;
  ShowFindDialog();
  SetMenuItemEnabled(popup1_.get(), IDM_SEA_FINDNEXT1, true);
}

void SearchWindow::ShowFindDialog() {
  // An open dialog shows the find text of the hit again.
  find_.SetFindWhat(find_.find_what());
  find_.Show(hwnd(), POINT{0, 0});
}

void SearchWindow::FindInViewer() {
  // The viewer's find: with the list showing there is no text to search.
  if (!viewer_showing()) return;
  const std::wstring text = find_.find_what();
  if (FindInEdit(src_list_, text, SearchOptionsOf(find_.options()))) {
    ++find_count_;
  } else {
    // While the box is up the main window may close, and this one with it.
    WindowLife life(*this);
    ShowMessage(hwnd(), find_count_ == 0 ? NotFoundText(text) : FoundCountText(text, find_count_));
    if (!life.lives()) return;
    find_.Close();
    find_count_ = 0;
    src_list_.SetSel(src_list_.SelStart(), 0);
  }
  ShowLinePos();
}

void SearchWindow::ViewerFindNext() { FindInViewer(); }

void SearchWindow::OnFindMessage(LPARAM lp) {
  if (find_.TakeNotification(lp) == FindReplaceDialog::Request::FindNext) FindInViewer();
}

void SearchWindow::OpenHitFile() {
  const int i = SelectedIndex();
  if (i < 0 || i >= static_cast<int>(hits_.size())) return;
  ShellStart(hits_[static_cast<size_t>(i)].path, L"", L"", SW_SHOWNORMAL, hwnd());
}

}  // namespace velkor
