// The treasure box's rules that need no window.
#include <gtest/gtest.h>

#include <set>

#include "editor/treasure_logic.h"

using namespace velkor;
namespace tl = velkor::treasure_layout;

namespace {

int RowOf(int field) { return field <= kSnippetRows ? field : field - kSnippetRows; }
bool IsLabel(int field) { return field <= kSnippetRows; }
int Field(bool label, int row) { return label ? row : row + kSnippetRows; }
int Wrap(int row) { return (row + kSnippetRows - 1) % kSnippetRows + 1; }

bool Overlap(const tl::Box& a, const tl::Box& b) {
  return a.x < b.right() && b.x < a.right() && a.y < b.bottom() && b.y < a.bottom();
}

}  // namespace

// The table is written out field by field; here it is held against the rule in words.
TEST(EditNavTable, FollowsTheRowsAndColumns) {
  const auto& table = EditNavTable();
  for (int f = 1; f <= kSnippetFields; ++f) {
    SCOPED_TRACE(f);
    const EditNavEntry& e = table[static_cast<size_t>(f)];
    const int row = RowOf(f);
    const bool label = IsLabel(f);
    // Left and Right cross to the other column of the same row.
    EXPECT_EQ(e.left, Field(!label, row));
    EXPECT_EQ(e.right, Field(!label, row));
    // Up and Down stay in the column, rows 1 and 7 wrapping round.
    EXPECT_EQ(e.up, Field(label, Wrap(row - 1)));
    EXPECT_EQ(e.down, Field(label, Wrap(row + 1)));
    // Enter: from a label to its text, from a text to the next row's label.
    EXPECT_EQ(e.enter, label ? Field(false, row) : Field(true, Wrap(row + 1)));
  }
  EXPECT_EQ(table[14].enter, 1) << "Enter in the text of row 7 goes to the label of row 1";
  EXPECT_EQ(table[1].up, 7) << "Up in the label of row 1 goes to the label of row 7";
}

TEST(EditNavTable, UpAndDownEachVisitTheWholeColumn) {
  for (int start : {1, 8}) {
    std::set<int> down, up;
    for (int f = start, i = 0; i < kSnippetRows; ++i, f = EditNavTable()[static_cast<size_t>(f)].down) down.insert(f);
    for (int f = start, i = 0; i < kSnippetRows; ++i, f = EditNavTable()[static_cast<size_t>(f)].up) up.insert(f);
    EXPECT_EQ(down.size(), 7u);
    EXPECT_EQ(up, down);
  }
}

TEST(EditKeys, LeaveOnlyAtTheEdges) {
  EXPECT_TRUE(LeavesAtLeft(0, 0));
  EXPECT_FALSE(LeavesAtLeft(0, 3)) << "a selection from the start is collapsed first";
  EXPECT_FALSE(LeavesAtLeft(2, 0));

  EXPECT_TRUE(LeavesAtRight(5, 5));
  EXPECT_TRUE(LeavesAtRight(0, 0)) << "an empty field is left at once";
  EXPECT_FALSE(LeavesAtRight(4, 5));
  EXPECT_FALSE(LeavesAtRight(0, 5)) << "a whole selection starts at 0";
}

TEST(Registering, WritesCompleteAndEmptyPairsAndMarksTheMissingSide) {
  EXPECT_EQ(DecideRow(L"挨拶", L"こんにちは"), RowAction::Register);
  EXPECT_EQ(DecideRow(L"", L""), RowAction::Register);
  EXPECT_EQ(DecideRow(L"", L"こんにちは"), RowAction::MarkLabel);
  EXPECT_EQ(DecideRow(L"挨拶", L""), RowAction::MarkText);
  EXPECT_EQ(DecideRow(L" ", L""), RowAction::MarkText) << "a blank is text like any other";
}

TEST(Registering, TextsOfTheProgram) {
  EXPECT_EQ(ChangedFieldsQuestion(2), L"2 つの編集エリアが変更になっています。\r\n\r\n\r\n登録しますか ?");
  EXPECT_EQ(ChangedFieldsQuestion(14), L"14 つの編集エリアが変更になっています。\r\n\r\n\r\n登録しますか ?");
  EXPECT_EQ(SnippetKeyName(1), L"NO1");
  EXPECT_EQ(SnippetKeyName(7), L"NO7");
}

TEST(Registering, TheLongestFieldComesBackWhole) {
  EXPECT_LE(static_cast<size_t>(kSnippetMaxChars) * 2, kProfileValueLimit);
}

TEST(TreasureLayout, ControlsDoNotOverlapAndRowsLineUp) {
  std::vector<tl::Box> sheet = {tl::KeyHeader(), tl::CommentHeader(), tl::Note()};
  for (int row = 1; row <= kSnippetRows; ++row) sheet.push_back(tl::RowNumber(row));
  for (int f = 1; f <= kSnippetFields; ++f) sheet.push_back(tl::Field(f));
  const tl::Box content = tl::SheetContentSize();
  for (size_t i = 0; i < sheet.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_GE(sheet[i].x, 0);
    EXPECT_GE(sheet[i].y, 0);
    EXPECT_LE(sheet[i].right(), content.w);
    EXPECT_LE(sheet[i].bottom(), content.h);
    for (size_t j = i + 1; j < sheet.size(); ++j) EXPECT_FALSE(Overlap(sheet[i], sheet[j])) << j;
  }
  for (int row = 1; row <= kSnippetRows; ++row) {
    SCOPED_TRACE(row);
    const tl::Box label = tl::Field(row), text = tl::Field(row + kSnippetRows), number = tl::RowNumber(row);
    EXPECT_EQ(label.w, 162);
    EXPECT_EQ(text.w, 400);
    EXPECT_EQ(label.y, text.y);
    EXPECT_LT(label.right(), text.x);
    EXPECT_LE(number.right(), label.x);
    EXPECT_EQ(number.y * 2 + number.h, label.y * 2 + label.h) << "the number is centred on its row";
    if (row > 1) {
      EXPECT_GT(label.y, tl::Field(row - 1).bottom());
    }
  }
  // Each header stands over its own column.
  EXPECT_GE(tl::KeyHeader().x, tl::Field(1).x);
  EXPECT_LE(tl::KeyHeader().right(), tl::Field(1).right());
  EXPECT_GE(tl::CommentHeader().x, tl::Field(8).x);
  EXPECT_LE(tl::CommentHeader().right(), tl::Field(8).right());
  EXPECT_GT(tl::Note().y, tl::Field(7).bottom());
}

TEST(TreasureLayout, ButtonsStandBelowThePagesInTheClientArea) {
  const tl::Box page = tl::PageControl();
  EXPECT_LE(page.right(), tl::kClientWidth);
  EXPECT_GE(page.w - tl::SheetContentSize().w, 8) << "room for the tab control's borders";
  EXPECT_GE(page.h - tl::SheetContentSize().h, 28) << "room for the tab and the borders";
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    const tl::Box b = tl::Button(i);
    EXPECT_GT(b.y, page.bottom());
    EXPECT_LE(b.bottom(), tl::kClientHeight);
    EXPECT_GE(b.x, 0);
    EXPECT_LE(b.right(), tl::kClientWidth);
    if (i > 0) {
      EXPECT_LT(tl::Button(i - 1).right(), b.x);
    }
  }
  EXPECT_EQ(tl::Button(2).right(), page.right());
}
