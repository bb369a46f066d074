#include "editor/treasure_logic.h"

namespace velkor {

const std::array<EditNavEntry, kSnippetFields + 1>& EditNavTable() {
  //                                       Left  Up  Right Down Enter
  static const std::array<EditNavEntry, kSnippetFields + 1> table = {{
      {0, 0, 0, 0, 0},
      {8, 7, 8, 2, 8},     // Edit1
      {9, 1, 9, 3, 9},     // Edit2
      {10, 2, 10, 4, 10},  // Edit3
      {11, 3, 11, 5, 11},  // Edit4
      {12, 4, 12, 6, 12},  // Edit5
      {13, 5, 13, 7, 13},  // Edit6
      {14, 6, 14, 1, 14},  // Edit7
      {1, 14, 1, 9, 2},    // Edit8
      {2, 8, 2, 10, 3},    // Edit9
      {3, 9, 3, 11, 4},    // Edit10
      {4, 10, 4, 12, 5},   // Edit11
      {5, 11, 5, 13, 6},   // Edit12
      {6, 12, 6, 14, 7},   // Edit13
      {7, 13, 7, 8, 1},    // Edit14
  }};
  return table;
}

RowAction DecideRow(std::wstring_view label, std::wstring_view text) {
  if (label.empty() == text.empty()) return RowAction::Register;
  return label.empty() ? RowAction::MarkLabel : RowAction::MarkText;
}

std::wstring ChangedFieldsQuestion(int changed) {
  return std::to_wstring(changed) + L" つの編集エリアが変更になっています。\r\n\r\n\r\n登録しますか ?";
}

namespace treasure_layout {
namespace {

constexpr int kLeftColumn = 24;
constexpr int kRightColumn = kLeftColumn + kLabelFieldWidth + 6;
constexpr int kFirstRowTop = 36;
constexpr int kRowPitch = 32;
constexpr int kFieldHeight = 22;
constexpr int kTextHeight = 16;
constexpr int kMargin = 8;

int RowTop(int row) { return kFirstRowTop + (row - 1) * kRowPitch; }

}  // namespace

Box PageControl() { return {4, 4, kClientWidth - 8, 336}; }

Box Button(int index) {
  constexpr int kWidth = 96;
  constexpr int kGap = 8;
  const Box page = PageControl();
  return {page.right() - kWidth - (2 - index) * (kWidth + kGap), page.bottom() + 14, kWidth, 30};
}

Box Field(int field) {
  if (field <= kSnippetRows) return {kLeftColumn, RowTop(field), kLabelFieldWidth, kFieldHeight};
  return {kRightColumn, RowTop(field - kSnippetRows), kTextFieldWidth, kFieldHeight};
}

Box RowNumber(int row) {
  return {6, RowTop(row) + (kFieldHeight - kTextHeight) / 2, kLeftColumn - 6 - 2, kTextHeight};
}

// The headers stand in line with the text inside the fields, not with their frames.
constexpr int kTextInset = 3;

Box KeyHeader() {
  return {kLeftColumn + kTextInset, kFirstRowTop - kTextHeight - 6, kLabelFieldWidth - kTextInset, kTextHeight};
}

Box CommentHeader() { return {kRightColumn + kTextInset, KeyHeader().y, kTextFieldWidth - kTextInset, kTextHeight}; }

Box Note() {
  const int top = RowTop(kSnippetRows) + kFieldHeight + 20;
  return {kLeftColumn + kTextInset, top, kRightColumn + kTextFieldWidth - kLeftColumn - kTextInset, kTextHeight};
}

Box SheetContentSize() {
  const Box last = Field(kSnippetFields);
  return {0, 0, last.right() + kMargin, Note().bottom() + 12};
}

}  // namespace treasure_layout

}  // namespace velkor
