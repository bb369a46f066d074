#pragma once
// A plain-text rich-edit control with typed helpers, used by the editor
// windows and the search window's source viewer. Positions are the control's
// own character positions (a line break counts one) unless a name says bytes.
#include <functional>
#include <optional>
#include <string>

#include "controls/text_positions.h"
#include "platform/win32.h"
#include "ui/control.h"

namespace velkor {

struct FontSpec {
  std::wstring name;
  int size = 0;          // points
  COLORREF color = 0;    // 0x00BBGGRR, or a system colour with the high bit set
  int style = 0;         // 1 bold, 2 italic, 4 underline, 8 strike-out
  bool operator==(const FontSpec&) const = default;
};

class RichMemo : public Control {
 public:
  // style: extra window styles (ES_READONLY, scroll bars ...).
  void Create(HWND parent, int id, DWORD style);

  std::wstring Text() const;                 // line breaks as CR LF
  // The text with its code page 932 form, kept until the text changes: the
  // owner calls TextChanged at EN_CHANGE (this class's own changes do it).
  const TextBytes& Bytes() const;
  void TextChanged() { bytes_.reset(); }
  void SetText(const std::wstring& text);     // empties the undo buffer
  int TextLength() const;                     // in the control's positions
  int SelStart() const;
  int SelLength() const;
  void SetSel(int start, int length);
  std::wstring SelText() const;               // line breaks as CR LF
  void ReplaceSel(const std::wstring& text);  // undoable, like typing

  int LineCount() const;                  // lines shown; an empty last line does not count
  int LineFromChar(int pos) const;
  int LineIndex(int line) const;
  int FirstVisibleLine() const;
  void ScrollLines(int lines);
  void ScrollCaret();
  // The caret to the text's start or end, scrolled into view, the control focused.
  void CaretToStart();
  void CaretToEnd();

  bool Modified() const;
  void SetModified(bool modified);
  bool CanUndo() const;
  void Undo();
  void EmptyUndo();

  void SetBackground(COLORREF color);
  void SetFormatRect(const RECT& rc);
  RECT FormatRect() const;
  void SetWordWrap(bool wrap);
  bool word_wrap() const { return word_wrap_; }
  void ShowHorizontalScrollBar(bool show);
  void SetMaxLength(int length);
  // The colours of the text an input method is composing (its converted clause).
  void SetImeClauseColors(COLORREF text, COLORREF background);
  // Pastes the clipboard's text without its formatting.
  void PastePlainText();
  // Aligns the selected paragraphs (PFA_LEFT, PFA_RIGHT, PFA_CENTER).
  void SetAlignment(WORD alignment);
  // Where a character stands in the client area, and scrolling to a point of the text.
  POINTL PositionOfChar(int index) const;
  void ScrollToPoint(POINT point);

  void SetFont(const FontSpec& font);
  const FontSpec& font() const { return font_; }
  HFONT CreateGdiFont() const;  // the current font as a GDI font, for measuring

  // Keyboard and mouse messages of the control, before the control sees them.
  // Return true to swallow the message.
  std::function<bool(UINT msg, WPARAM wp, LPARAM lp)> on_input;
  // The same messages once the control has handled them.
  std::function<void(UINT msg, WPARAM wp, LPARAM lp)> on_after_input;
  std::function<void()> on_focus;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  mutable std::optional<TextBytes> bytes_;
  mutable int bytes_length_ = -1;
  bool word_wrap_ = false;
  FontSpec font_;
};

}  // namespace velkor
