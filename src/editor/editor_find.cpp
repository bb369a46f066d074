// The editor window's find and replace commands, the counting Find Next, and
// the keyboard scrolling that keeps the caret line in view.
#include <optional>

#include "controls/text_positions.h"
#include "editor/editor_ids.h"
#include "editor/find_in_edit.h"
#include "editor/editor_window.h"
#include "ui/message_box.h"
#include "platform/scoped.h"
#include "platform/text.h"

namespace velkor {

void EditorWindow::ShowFindDialog(bool replace) {
  FindReplaceDialog& dialog = replace ? replace_ : find_;
  // Without a selection an open dialog keeps what the user typed in it.
  const std::wstring selected = memo_.SelText();
  if (!selected.empty()) dialog.SetFindWhat(selected);
  dialog.Show(hwnd(), POINT{10, 10});
}

void EditorWindow::OpenFind() {
  found_count_ = 0;
  ShowFindDialog(false);
  SetItemEnabled(IDM_FINDNEXT1, true);
}

void EditorWindow::FindFromDialog() {
  if (FindInEdit(memo_, find_.find_what(), SearchOptionsOf(find_.options()))) return;
  // While the box is up the window may be closed (the box keeps only the
  // main window from the user, not a posted close).
  WindowLife life(*this);
  ShowMessage(hwnd(), NotFoundText(find_.find_what()));
  if (life.lives()) find_.Close();
}

// The counting search of Find Next and of the Replace dialog's Find Next.
void EditorWindow::Find(FindReplaceDialog& dialog) {
  const std::wstring text = dialog.find_what();
  if (FindInEdit(memo_, text, SearchOptionsOf(dialog.options()))) {
    ++found_count_;
  } else {
    WindowLife life(*this);
    ShowMessage(hwnd(), found_count_ == 0 ? NotFoundText(text) : FoundCountText(text, found_count_));
    if (!life.lives()) return;
    find_.Close();
    found_count_ = 0;
    memo_.SetSel(memo_.SelStart(), 0);
  }
  ShowCaretStatus();
}

void EditorWindow::FindNext() {
  find_.Close();
  WindowLife life(*this);
  Find(find_);
  if (life.lives()) ScrollIfBelow(3);
}

void EditorWindow::OpenReplace() { ShowFindDialog(true); }

void EditorWindow::Replace() {
  const std::wstring search = replace_.find_what();
  const std::wstring with = replace_.replace_with();
  const SearchOptions options = SearchOptionsOf(replace_.options());
  if (replace_.data().Flags & FR_REPLACEALL) {
    // The whole run on the text's byte form, set into the control in one
    // step. The characters of the search and replace texts that code page
    // 932 lacks get codes of their own in it first.
    const TextBytes text(memo_.Text(), search + with);
    const std::optional<std::string> key = text.FormOf(search);
    const std::optional<std::string> replacement = text.FormOf(with);
    if (!key || !replacement) {
      ReplaceAllInControl(search, with, options);
      return;
    }
    const int start = text.ByteOffset(memo_.SelStart());
    const int end = text.ByteOffset(memo_.SelStart() + memo_.SelLength());
    const ReplaceAllResult r = ReplaceAllInBuffer(text.bytes(), start, end - start, *key, *replacement, options);
    if (r.replaced > 0) {
      const TextBytes result(text.TextOf(r.text));
      memo_.SetSel(0, memo_.TextLength());
      memo_.ReplaceSel(result.text());
      const int caret = result.ControlPos(r.sel_start);
      memo_.SetSel(caret, result.ControlPos(r.sel_start + r.sel_length) - caret);
      memo_.SetModified(true);
      memo_.ScrollCaret();
    }
    return;
  }
  if (memo_.SelLength() > 0 && EqualsNoCase(memo_.SelText(), search)) memo_.ReplaceSel(with);
  const bool found = FindInEdit(memo_, search, options);
  if (!found && (replace_.data().Flags & FR_REPLACE)) {
    WindowLife life(*this);
    ShowMessage(hwnd(), NotFoundText(search));
    if (life.lives()) replace_.Close();
  }
}

// Replace All one hit at a time, for texts whose characters without a code
// page 932 form are too many kinds to each have a code of their own in the
// byte form. Like the byte run, a scan never looks into the text it has just
// inserted.
void EditorWindow::ReplaceAllInControl(const std::wstring& search, const std::wstring& with, SearchOptions options) {
  auto replace_selection = [&] {
    const int start = memo_.SelStart();
    memo_.ReplaceSel(with);
    if (!options.down) memo_.SetSel(start, 0);
  };
  if (memo_.SelLength() > 0 && EqualsNoCase(memo_.SelText(), search)) replace_selection();
  while (FindInEdit(memo_, search, options)) replace_selection();
}

void EditorWindow::OnFindMessage(LPARAM lp) {
  if (find_.TakeNotification(lp) == FindReplaceDialog::Request::FindNext) {
    FindFromDialog();
    return;
  }
  switch (replace_.TakeNotification(lp)) {
    case FindReplaceDialog::Request::Replace:
    case FindReplaceDialog::Request::ReplaceAll:
      Replace();
      break;
    case FindReplaceDialog::Request::FindNext:
      Find(replace_);
      break;
    default:
      break;
  }
}

void EditorWindow::ScrollIfBelow(int n) {
  const int caret_line = memo_.LineFromChar(memo_.SelStart());
  if (caret_line > memo_.FirstVisibleLine() + n) memo_.ScrollLines(n);
}

int EditorWindow::VisibleLineCount() const {
  const RECT rc = memo_.FormatRect();
  ScopedFont font(memo_.CreateGdiFont());
  WindowDc dc(memo_.hwnd());
  SelectObjectScope sel(dc.get(), font.get());
  TEXTMETRICW tm{};
  GetTextMetricsW(dc.get(), &tm);
  const int line = tm.tmHeight + tm.tmExternalLeading;
  return line > 0 ? (rc.bottom - rc.top - GetSystemMetrics(SM_CYHSCROLL)) / line : 0;
}

}  // namespace velkor
