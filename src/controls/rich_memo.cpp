#include "controls/rich_memo.h"

#include <vector>

#include "ui/app.h"

namespace velkor {
namespace {

const wchar_t* RichEditClass() {
  static const wchar_t* cls = [] {
    LoadLibraryW(L"riched20.dll");
    return RICHEDIT_CLASSW;
  }();
  return cls;
}

int TwipsOf(int points) { return points * 20; }

}  // namespace

void RichMemo::Create(HWND parent, int id, DWORD style) {
  HWND edit = CreateWindowExW(WS_EX_CLIENTEDGE, RichEditClass(), L"",
                              WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_MULTILINE | ES_WANTRETURN | ES_NOHIDESEL |
                                  ES_AUTOVSCROLL | style,
                              0, 0, 100, 100, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                              GetModuleHandleW(nullptr), nullptr);
  Attach(edit);
  // Plain text only: no character or paragraph formatting is kept per run.
  SendMessageW(edit, EM_SETTEXTMODE, TM_PLAINTEXT | TM_MULTILEVELUNDO | TM_MULTICODEPAGE, 0);
  SendMessageW(edit, EM_SETEVENTMASK, 0, ENM_CHANGE | ENM_SELCHANGE);
  SetWordWrap(false);
}

LRESULT RichMemo::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if ((msg >= WM_KEYFIRST && msg <= WM_KEYLAST) || (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST)) {
    if (on_input && on_input(msg, wp, lp)) return 0;
    const LRESULT r = DefaultProc(msg, wp, lp);
    if (hwnd() && on_after_input) on_after_input(msg, wp, lp);
    return r;
  }
  if (msg == WM_SETFOCUS) {
    const LRESULT r = DefaultProc(msg, wp, lp);
    if (on_focus) on_focus();
    return r;
  }
  return DefaultProc(msg, wp, lp);
}

std::wstring RichMemo::Text() const {
  GETTEXTLENGTHEX gl{GTL_USECRLF | GTL_PRECISE | GTL_NUMCHARS, 1200};
  const LRESULT n = SendMessageW(hwnd(), EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&gl), 0);
  if (n <= 0) return {};
  std::wstring text(static_cast<size_t>(n) + 1, L'\0');
  GETTEXTEX gt{};
  gt.cb = static_cast<DWORD>((n + 1) * sizeof(wchar_t));
  gt.flags = GT_USECRLF;
  gt.codepage = 1200;
  const LRESULT got = SendMessageW(hwnd(), EM_GETTEXTEX, reinterpret_cast<WPARAM>(&gt),
                                   reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(got > 0 ? got : 0));
  return text;
}

const TextBytes& RichMemo::Bytes() const {
  // The length check catches a change that reached no EN_CHANGE.
  const int length = TextLength();
  if (!bytes_ || bytes_length_ != length) {
    bytes_.emplace(Text());
    bytes_length_ = length;
  }
  return *bytes_;
}

void RichMemo::SetText(const std::wstring& text) {
  bytes_.reset();
  SETTEXTEX st{ST_DEFAULT, 1200};
  SendMessageW(hwnd(), EM_SETTEXTEX, reinterpret_cast<WPARAM>(&st), reinterpret_cast<LPARAM>(text.c_str()));
  SendMessageW(hwnd(), EM_EMPTYUNDOBUFFER, 0, 0);
}

int RichMemo::TextLength() const {
  GETTEXTLENGTHEX gl{GTL_PRECISE | GTL_NUMCHARS, 1200};
  return static_cast<int>(SendMessageW(hwnd(), EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&gl), 0));
}

int RichMemo::SelStart() const {
  CHARRANGE cr{};
  SendMessageW(hwnd(), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&cr));
  return cr.cpMin;
}

int RichMemo::SelLength() const {
  CHARRANGE cr{};
  SendMessageW(hwnd(), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&cr));
  return cr.cpMax - cr.cpMin;
}

void RichMemo::SetSel(int start, int length) {
  CHARRANGE cr{start, start + length};
  SendMessageW(hwnd(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&cr));
}

std::wstring RichMemo::SelText() const {
  const int len = SelLength();
  if (len <= 0) return {};
  std::vector<wchar_t> buf(static_cast<size_t>(len) * 2 + 2, L'\0');
  SendMessageW(hwnd(), EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(buf.data()));
  std::wstring raw(buf.data());
  // The control ends lines with a bare CR here; give them their LF.
  std::wstring out;
  out.reserve(raw.size());
  for (size_t i = 0; i < raw.size(); ++i) {
    out += raw[i];
    if (raw[i] == L'\r' && (i + 1 >= raw.size() || raw[i + 1] != L'\n')) out += L'\n';
  }
  return out;
}

void RichMemo::ReplaceSel(const std::wstring& text) {
  bytes_.reset();
  SendMessageW(hwnd(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

int RichMemo::LineCount() const {
  const int n = static_cast<int>(SendMessageW(hwnd(), EM_GETLINECOUNT, 0, 0));
  if (n <= 0) return 0;
  const LRESULT last_start = SendMessageW(hwnd(), EM_LINEINDEX, n - 1, 0);
  if (SendMessageW(hwnd(), EM_LINELENGTH, last_start, 0) == 0) return n - 1;
  return n;
}

int RichMemo::LineFromChar(int pos) const {
  return static_cast<int>(SendMessageW(hwnd(), EM_EXLINEFROMCHAR, 0, pos));
}

int RichMemo::LineIndex(int line) const { return static_cast<int>(SendMessageW(hwnd(), EM_LINEINDEX, line, 0)); }

int RichMemo::FirstVisibleLine() const {
  return static_cast<int>(SendMessageW(hwnd(), EM_GETFIRSTVISIBLELINE, 0, 0));
}

void RichMemo::ScrollLines(int lines) { SendMessageW(hwnd(), EM_LINESCROLL, 0, lines); }

void RichMemo::ScrollCaret() { SendMessageW(hwnd(), EM_SCROLLCARET, 0, 0); }

void RichMemo::CaretToStart() {
  SetSel(0, 0);
  ScrollCaret();
  SetFocus(hwnd());
}

void RichMemo::CaretToEnd() {
  SetSel(TextLength(), 0);
  ScrollCaret();
  SetFocus(hwnd());
}

bool RichMemo::Modified() const { return SendMessageW(hwnd(), EM_GETMODIFY, 0, 0) != 0; }

void RichMemo::SetModified(bool modified) { SendMessageW(hwnd(), EM_SETMODIFY, modified, 0); }

bool RichMemo::CanUndo() const { return SendMessageW(hwnd(), EM_CANUNDO, 0, 0) != 0; }

void RichMemo::Undo() {
  bytes_.reset();
  SendMessageW(hwnd(), EM_UNDO, 0, 0);
}

void RichMemo::EmptyUndo() { SendMessageW(hwnd(), EM_EMPTYUNDOBUFFER, 0, 0); }

void RichMemo::SetBackground(COLORREF color) { SendMessageW(hwnd(), EM_SETBKGNDCOLOR, 0, color); }

void RichMemo::SetFormatRect(const RECT& rc) {
  SendMessageW(hwnd(), EM_SETRECT, 0, reinterpret_cast<LPARAM>(&rc));
}

void RichMemo::SetImeClauseColors(COLORREF text, COLORREF background) {
  COMPCOLOR colors[4] = {};
  SendMessageW(hwnd(), EM_GETIMECOLOR, 0, reinterpret_cast<LPARAM>(colors));
  colors[1].crText = text;
  colors[1].crBackground = background;
  colors[1].dwEffects = 0;
  SendMessageW(hwnd(), EM_SETIMECOLOR, 0, reinterpret_cast<LPARAM>(colors));
}

void RichMemo::PastePlainText() { SendMessageW(hwnd(), EM_PASTESPECIAL, CF_UNICODETEXT, 0); }

void RichMemo::SetAlignment(WORD alignment) {
  PARAFORMAT2 pf{};
  pf.cbSize = sizeof pf;
  pf.dwMask = PFM_ALIGNMENT;
  pf.wAlignment = alignment;
  SendMessageW(hwnd(), EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&pf));
}

POINTL RichMemo::PositionOfChar(int index) const {
  POINTL at{};
  SendMessageW(hwnd(), EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&at), index);
  return at;
}

void RichMemo::ScrollToPoint(POINT point) { SendMessageW(hwnd(), EM_SETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&point)); }

RECT RichMemo::FormatRect() const {
  RECT rc{};
  SendMessageW(hwnd(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&rc));
  return rc;
}

void RichMemo::SetWordWrap(bool wrap) {
  word_wrap_ = wrap;
  SendMessageW(hwnd(), EM_SETTARGETDEVICE, 0, wrap ? 0 : 1);
}

void RichMemo::ShowHorizontalScrollBar(bool show) { SendMessageW(hwnd(), EM_SHOWSCROLLBAR, SB_HORZ, show); }

void RichMemo::SetMaxLength(int length) { SendMessageW(hwnd(), EM_EXLIMITTEXT, 0, length); }

void RichMemo::SetFont(const FontSpec& font) {
  font_ = font;
  CHARFORMAT2W cf{};
  cf.cbSize = sizeof cf;
  cf.dwMask = CFM_FACE | CFM_SIZE | CFM_COLOR | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_CHARSET;
  lstrcpynW(cf.szFaceName, font.name.c_str(), LF_FACESIZE);
  cf.yHeight = TwipsOf(font.size);
  COLORREF color = font.color;
  if (color & 0x80000000u) color = GetSysColor(static_cast<int>(color & 0xFF));
  cf.crTextColor = color;
  cf.bCharSet = SHIFTJIS_CHARSET;
  if (font.style & 1) cf.dwEffects |= CFE_BOLD;
  if (font.style & 2) cf.dwEffects |= CFE_ITALIC;
  if (font.style & 4) cf.dwEffects |= CFE_UNDERLINE;
  if (font.style & 8) cf.dwEffects |= CFE_STRIKEOUT;
  SendMessageW(hwnd(), EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&cf));
  SendMessageW(hwnd(), EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&cf));
}

HFONT RichMemo::CreateGdiFont() const {
  HDC dc = GetDC(hwnd());
  const int height = -MulDiv(font_.size, GetDeviceCaps(dc, LOGPIXELSY), 72);
  ReleaseDC(hwnd(), dc);
  return CreateFontW(height, 0, 0, 0, (font_.style & 1) ? FW_BOLD : FW_NORMAL, (font_.style & 2) != 0,
                     (font_.style & 4) != 0, (font_.style & 8) != 0, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, font_.name.c_str());
}

}  // namespace velkor
