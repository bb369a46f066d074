// The editor window's find and replace commands, the counting Find Next, and
// the keyboard scrolling that keeps the caret line in view.
#include "controls/text_positions.h"
#include "editor/editor_ids.h"
#include "editor/find_in_edit.h"
#include "editor/mdiedit.h"
#include "platform/app.h"
#include "platform/message_box.h"
#include "platform/scoped.h"
#include "platform/text.h"

namespace velkor {
namespace {

constexpr DWORD kOptionFlags = FR_DOWN | FR_MATCHCASE | FR_WHOLEWORD;
constexpr int kEdt1 = 0x480, kChx1 = 0x410, kChx2 = 0x411, kRad2 = 0x421;

}  // namespace

void Teditform::ShowFindDialog(bool replace) {
  FINDREPLACEW& fr = replace ? replace_ : find_;
  HWND& dialog = replace ? replace_dialog_ : find_dialog_;
  const std::wstring selected = Memo1.SelText();
  if (!selected.empty()) lstrcpynW(fr.lpstrFindWhat, selected.c_str(), static_cast<int>(fr.wFindWhatLen));
  if (dialog) {
    // Without a selection the dialog keeps what the user typed in it.
    if (!selected.empty()) SetDlgItemTextW(dialog, kEdt1, fr.lpstrFindWhat);
  } else {
    fr.hwndOwner = hwnd();
    fr.Flags = replace ? replace_flags_ : find_flags_;
    dialog = replace ? ReplaceTextW(&fr) : FindTextW(&fr);
    if (!dialog) return;
    Application::Get().AddModeless(dialog);
  }
  SetWindowPos(dialog, HWND_TOP, 10, 10, 0, 0, SWP_NOSIZE);
  ShowWindow(dialog, SW_SHOW);
  SetActiveWindow(dialog);
}

// What the user set in an open dialog, taken from its controls.
void Teditform::CaptureDialogState(HWND dialog) {
  if (!dialog) return;
  const bool replace = dialog == replace_dialog_;
  FINDREPLACEW& fr = replace ? replace_ : find_;
  GetDlgItemTextW(dialog, kEdt1, fr.lpstrFindWhat, static_cast<int>(fr.wFindWhatLen));
  DWORD flags = 0;
  if (replace || IsDlgButtonChecked(dialog, kRad2) == BST_CHECKED) flags |= FR_DOWN;
  if (IsDlgButtonChecked(dialog, kChx2) == BST_CHECKED) flags |= FR_MATCHCASE;
  if (IsDlgButtonChecked(dialog, kChx1) == BST_CHECKED) flags |= FR_WHOLEWORD;
  (replace ? replace_flags_ : find_flags_) = flags;
}

void Teditform::CloseFindDialog(HWND& dialog) {
  if (!dialog) return;
  CaptureDialogState(dialog);
  HWND d = dialog;
  dialog = nullptr;
  Application::Get().RemoveModeless(d);
  DestroyWindow(d);
}

void Teditform::Find1Click() {
  FoundCount = 0;
  ShowFindDialog(false);
  SetItemEnabled(IDM_FINDNEXT1, true);
}

void Teditform::FindDialog1Find() {
  if (FindInEdit(Memo1, find_.lpstrFindWhat, SearchOptionsOf(find_flags_))) return;
  ShowMessage(NotFoundText(find_.lpstrFindWhat));
  CloseFindDialog(find_dialog_);
}

// The counting search of Find Next and of the Replace dialog's Find Next.
void Teditform::Find(FINDREPLACEW& dialog) {
  const std::wstring text = dialog.lpstrFindWhat;
  if (FindInEdit(Memo1, text, SearchOptionsOf(&dialog == &replace_ ? replace_flags_ : find_flags_))) {
    ++FoundCount;
  } else {
    ShowMessage(FoundCount == 0 ? NotFoundText(text) : FoundCountText(text, FoundCount));
    CloseFindDialog(find_dialog_);
    FoundCount = 0;
    Memo1.SetSel(Memo1.SelStart(), 0);
  }
  ShowCaretStatus();
}

void Teditform::FindNext1Click() {
  CloseFindDialog(find_dialog_);
  Find(find_);
  ScrollIfBelow(3);
}

void Teditform::Replace1Click() { ShowFindDialog(true); }

void Teditform::Replace() {
  const std::wstring search = replace_.lpstrFindWhat;
  const std::wstring with = replace_.lpstrReplaceWith;
  const SearchOptions options = SearchOptionsOf(replace_flags_);
  if (replace_.Flags & FR_REPLACEALL) {
    const TextBytes text(Memo1.Text());
    if (WideToCp932(text.text()).lost > 0) {
      ReplaceAllInControl(search, with, options);
      return;
    }
    // The whole run on the text's bytes, set into the control in one step.
    const int start = text.ByteOffset(Memo1.SelStart());
    const int end = text.ByteOffset(Memo1.SelStart() + Memo1.SelLength());
    const ReplaceAllResult r = ReplaceAllInBuffer(text.bytes(), start, end - start, WideToCp932(search).bytes,
                                                  WideToCp932(with).bytes, options);
    if (r.replaced > 0) {
      const TextBytes result(Cp932ToWide(r.text));
      Memo1.SetSel(0, Memo1.TextLength());
      Memo1.ReplaceSel(result.text());
      const int caret = result.ControlPos(r.sel_start);
      Memo1.SetSel(caret, result.ControlPos(r.sel_start + r.sel_length) - caret);
      Memo1.SetModified(true);
      Memo1.ScrollCaret();
    }
    return;
  }
  if (SameTextIgnoringCase(WideToCp932(Memo1.SelText()).bytes, WideToCp932(search).bytes) && Memo1.SelLength() > 0)
    Memo1.ReplaceSel(with);
  const bool found = FindInEdit(Memo1, search, options);
  if (!found && (replace_.Flags & FR_REPLACE)) {
    ShowMessage(NotFoundText(search));
    CloseFindDialog(replace_dialog_);
  }
}

// Replace All one hit at a time, for a text whose characters code page 932
// cannot all hold (its byte form would lose them). Like the byte run, a scan
// never looks into the text it has just inserted.
void Teditform::ReplaceAllInControl(const std::wstring& search, const std::wstring& with, SearchOptions options) {
  auto replace_selection = [&] {
    const int start = Memo1.SelStart();
    Memo1.ReplaceSel(with);
    if (!options.down) Memo1.SetSel(start, 0);
  };
  if (Memo1.SelLength() > 0 && SameTextIgnoringCase(WideToCp932(Memo1.SelText()).bytes, WideToCp932(search).bytes))
    replace_selection();
  while (FindInEdit(Memo1, search, options)) replace_selection();
}

void Teditform::OnFindMessage(FINDREPLACEW* fr) {
  const bool is_replace = fr == &replace_;
  // The options as the dialog reports them with this notification.
  (is_replace ? replace_flags_ : find_flags_) = fr->Flags & kOptionFlags;
  if (fr->Flags & FR_DIALOGTERM) {
    HWND& dialog = is_replace ? replace_dialog_ : find_dialog_;
    if (dialog) Application::Get().RemoveModeless(dialog);
    dialog = nullptr;
    return;
  }
  if (!is_replace) {
    if (fr->Flags & FR_FINDNEXT) FindDialog1Find();
    return;
  }
  if (fr->Flags & (FR_REPLACE | FR_REPLACEALL))
    Replace();
  else if (fr->Flags & FR_FINDNEXT)
    Find(replace_);
}

void Teditform::ScrollIfBelow(int n) {
  const int caret_line = Memo1.LineFromChar(Memo1.SelStart());
  if (caret_line > Memo1.FirstVisibleLine() + n) Memo1.ScrollLines(n);
}

int Teditform::VisibleLineCount() const {
  const RECT rc = Memo1.FormatRect();
  ScopedFont font(Memo1.CreateGdiFont());
  WindowDc dc(Memo1.hwnd());
  SelectObjectScope sel(dc.get(), font.get());
  TEXTMETRICW tm{};
  GetTextMetricsW(dc.get(), &tm);
  const int line = tm.tmHeight + tm.tmExternalLeading;
  return line > 0 ? (rc.bottom - rc.top - GetSystemMetrics(SM_CYHSCROLL)) / line : 0;
}

}  // namespace velkor
