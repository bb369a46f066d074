// The editor window's text tools: tab expansion, line marks, date and time,
// character statistics, zoom, alignment, word wrap and the font.
#include "controls/text_positions.h"
#include "editor/cp932_classes.h"
#include "editor/editor_ids.h"
#include "editor/editor_window.h"
#include "editor/text_tools.h"
#include "ui/main_frame.h"
#include "state/snippets.h"
#include "state/settings.h"
#include "ui/app.h"
#include "platform/dpi.h"
#include "platform/locale_text.h"
#include "ui/message_box.h"
#include "platform/text.h"

namespace velkor {

void EditorWindow::ExpandTabs(int columns) {
  BusyCursor busy;
  // The caret goes to the end also when the expansion fails (a text too
  // large for the memory left): after it, never from a destructor, since
  // that step reads the whole text again and may fail in its turn.
  try {
    const std::wstring expanded = ExpandTabsWide(memo_.Text(), columns);
    memo_.SetSel(0, memo_.TextLength());
    memo_.ReplaceSel(expanded);
    memo_.SetModified(true);
  } catch (...) {
    GoToEnd();
    throw;
  }
  GoToEnd();
}

void EditorWindow::EnableTabCommands() {
  const bool tabs = memo_.Text().find(L'\t') != std::wstring::npos;
  SetItemEnabled(IDM_TABTOSPACE, tabs);
  SetItemEnabled(IDM_TAB4SPACE, tabs);
}

void EditorWindow::MarkLines() {
  BusyCursor busy;
  if (memo_.SelLength() == 0) {
    memo_.ReplaceSel(L"》");
  } else {
    memo_.ReplaceSel(MarkLinesWide(memo_.SelText()));
  }
  memo_.SetModified(true);
}

void EditorWindow::InsertDate() {
  SYSTEMTIME t{};
  GetLocalTime(&t);
  memo_.ReplaceSel(DateTimeText(t.wYear, t.wMonth, t.wDay, t.wDayOfWeek, t.wHour, t.wMinute));
  memo_.SetModified(true);
}

void EditorWindow::ShowCharacterCounts() {
  const std::wstring counted = memo_.SelLength() > 0 ? memo_.SelText() : memo_.Text();
  // A character that code page 932 lacks counts as one of two bytes, as in the scans.
  const CharacterCounts counts = CountCharacters(TextBytes(counted).bytes());
  ShowMessage(hwnd(), CharacterCountsMessage(counts, ThousandsSeparator()));
}

// Zoom scales the button bar with its buttons and the window's font by the
// factor, and the text once more.
void EditorWindow::ZoomToolPanel(int percent) {
  BusyCursor busy;
  panel_height_ = ZoomSize(panel_height_, percent);
  for (auto& b : buttons_) {
    const RECT r = b->rect();
    b->SetBounds(ZoomSize(r.left, percent), ZoomSize(r.top, percent), ZoomSize(r.right - r.left, percent),
                 ZoomSize(r.bottom - r.top, percent));
  }
  FontSpec font = memo_.font();
  font.size = ZoomSize(ZoomSize(font.size, percent), percent);
  memo_.SetFont(font);
  Layout();
}

void EditorWindow::AlignText(int command_id) {
  for (int id : {IDM_LEFT1, IDM_RIGHT1, IDM_CENTER1})
    CheckMenuItem(menu_.get(), static_cast<UINT>(id), MF_BYCOMMAND | (id == command_id ? MF_CHECKED : MF_UNCHECKED));
  const WORD alignment = command_id == IDM_RIGHT1 ? PFA_RIGHT : command_id == IDM_CENTER1 ? PFA_CENTER : PFA_LEFT;
  const int start = memo_.SelStart(), length = memo_.SelLength();
  SendMessageW(memo_.hwnd(), WM_SETREDRAW, FALSE, 0);
  memo_.SetSel(0, memo_.TextLength());
  memo_.SetAlignment(alignment);
  memo_.SetSel(start, length);
  SendMessageW(memo_.hwnd(), WM_SETREDRAW, TRUE, 0);
  InvalidateRect(memo_.hwnd(), nullptr, TRUE);
}

void EditorWindow::SetWordWrap() {
  BusyCursor busy;
  ApplyWordWrap(!memo_.word_wrap());
  if (Tag != 0)
    Settings().WriteBool(L"ChildNO" + std::to_wstring(Tag) + L"FontSelect", L"WordWrap", memo_.word_wrap());
  SetTextMargins();
  ShowCaretStatus();
  UpdateEditCommands();
  GoToEnd();
}

void EditorWindow::SetFont() {
  const FontSpec& current = memo_.font();
  LOGFONTW lf{};
  {
    WindowDc dc(memo_.hwnd());
    lf.lfHeight = -MulDiv(current.size, GetDeviceCaps(dc.get(), LOGPIXELSY), 72);
  }
  lf.lfWeight = (current.style & 1) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = (current.style & 2) != 0;
  lf.lfUnderline = (current.style & 4) != 0;
  lf.lfStrikeOut = (current.style & 8) != 0;
  lf.lfCharSet = SHIFTJIS_CHARSET;
  lstrcpynW(lf.lfFaceName, current.name.c_str(), LF_FACESIZE);
  CHOOSEFONTW cf{};
  cf.lStructSize = sizeof cf;
  cf.hwndOwner = hwnd();
  cf.lpLogFont = &lf;
  cf.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT;
  cf.rgbColors = (current.color & 0x80000000u) ? GetSysColor(static_cast<int>(current.color & 0xFF)) : current.color;
  if (!ChooseFontW(&cf)) return;
  FontSpec chosen;
  chosen.name = lf.lfFaceName;
  chosen.size = cf.iPointSize > 0 ? (cf.iPointSize + 5) / 10 : current.size;
  chosen.color = cf.rgbColors;
  chosen.style = (lf.lfWeight >= FW_BOLD ? 1 : 0) | (lf.lfItalic ? 2 : 0) | (lf.lfUnderline ? 4 : 0) |
                 (lf.lfStrikeOut ? 8 : 0);
  memo_.SetFont(chosen);
  SetTextMargins();
  ShowCaretStatus();
  UpdateEditCommands();
  // A numbered window remembers its font by number, any other by its file.
  if (Tag != 0)
    SaveDocSettings(L"ChildNO" + std::to_wstring(Tag) + L"FontSelect", L"");
  else if (!file_path_.empty())
    SaveDocSettings(file_path_, file_path_);
}

void EditorWindow::InsertSnippet(int n) {
  if (n < 1 || n > 7) return;
  memo_.ReplaceSel(main_.snippets().Text(n));
  memo_.SetModified(true);
}

}  // namespace velkor
