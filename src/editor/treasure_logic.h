#pragma once
// Rules of the treasure box that need no window: which field each key leads
// to, what registering does with one row, the end button's question, the
// settings keys of a snippet, and where the controls of the form stand.
//
// The form's fourteen fields are numbered 1..14: 1..7 are the labels of rows
// 1..7 (left column), 8..14 their texts (right column); row n pairs field n
// with field n + 7.
#include <array>
#include <string>
#include <string_view>

#include "state/profile.h"
#include "state/snippets.h"

namespace velkor {

inline constexpr int kSnippetRows = 7;
inline constexpr int kSnippetFields = 2 * kSnippetRows;
// The longest label or text a field takes: the settings store gives back at
// most kProfileValueLimit bytes of a value, and a character takes at most two
// of them, so whatever is registered comes back whole at the next start.
inline constexpr int kSnippetMaxChars = static_cast<int>(kProfileValueLimit / 2);

// Where the focus goes from a field, by key. Left and Right apply only at the
// field's edge (see LeavesAtLeft / LeavesAtRight).
struct EditNavEntry {
  int left;
  int up;
  int right;
  int down;
  int enter;
};
// Indexed by field number 1..14; entry 0 is unused.
const std::array<EditNavEntry, kSnippetFields + 1>& EditNavTable();

// Left leaves the field only with the caret at its start and nothing selected.
inline bool LeavesAtLeft(int sel_start, int sel_length) { return sel_start + sel_length == 0; }
// Right leaves it only with the selection starting at the end of the text.
inline bool LeavesAtRight(int sel_start, int text_length) { return sel_start == text_length; }

enum class RowAction {
  Register,   // both sides filled, or both empty: write the pair
  MarkLabel,  // the label is missing: it turns red and takes the focus
  MarkText,   // the text is missing
};
RowAction DecideRow(std::wstring_view label, std::wstring_view text);

// The end button's question for the number of changed fields.
std::wstring ChangedFieldsQuestion(int changed);


// The form's layout at 96 dpi. The sheet holds the rows; its own position is
// the tab control's display area, known only once the control exists.
namespace treasure_layout {

struct Box {
  int x = 0;
  int y = 0;
  int w = 0;
  int h = 0;
  int right() const { return x + w; }
  int bottom() const { return y + h; }
  bool operator==(const Box&) const = default;
};

inline constexpr int kClientWidth = 618;
inline constexpr int kClientHeight = 400;
inline constexpr int kLabelFieldWidth = 162;
inline constexpr int kTextFieldWidth = 400;

// In the form's client area.
Box PageControl();
Box Button(int index);  // 0 登録, 1 キャンセル, 2 終了, left to right

// In the sheet's client area. The content needs SheetContentSize().
Box Field(int field);
Box RowNumber(int row);
Box KeyHeader();
Box CommentHeader();
Box Note();
Box SheetContentSize();  // w and h only

}  // namespace treasure_layout

}  // namespace velkor
