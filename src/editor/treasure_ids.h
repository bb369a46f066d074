#pragma once
// Control identifiers of the treasure box (editor/treasure_box.*, its templates
// in resources/treasure.rc). None is IDOK or IDCANCEL: the dialog manager
// sends those for Enter and Escape, and neither key may register or discard
// here.

// The form (TREASUREBOX).
#define IDC_TREASURE_PAGES   100
#define IDC_TREASURE_SHEET   101
#define IDC_TREASURE_OK      130
#define IDC_TREASURE_CANCEL  131
#define IDC_TREASURE_END     132

// The tab page (TREASURESHEET): the fields 1..14 are IDC_TREASURE_EDIT + field - 1;
// the labels are IDC_TREASURE_LABEL + 1..10 (1, 2 and 5..9 the row numbers,
// 3 and 4 the headers, 10 the note).
#define IDC_TREASURE_EDIT    110
#define IDC_TREASURE_LABEL   140
