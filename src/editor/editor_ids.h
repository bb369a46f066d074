#pragma once
// Command and control identifiers of the editor window. The items that the
// editor forwards to the main window (New, Open, Exit, the tool windows, help
// and the recent files) use the main window's identifiers (ui/main_frame_ids.h).

// The editor's identifiers span 300-419; the main window hands them on.
#define IDM_EDITOR_FIRST    300
#define IDM_EDITOR_LAST     419
// File menu (300-319)
#define IDM_SAVEAS1         301
#define IDM_SAVE1           302
#define IDM_CLOSE1          303

// Edit menu (320-339)
#define IDM_CUT             321
#define IDM_COPY            322
#define IDM_PASTE           323
#define IDM_DELETE1         324
#define IDM_SELECTALL       325
#define IDM_UNDO            326
#define IDM_TOTOPLINE       327
#define IDM_TOLASTLINE      328
#define IDM_LEFTSET         329
#define IDM_DATETIME        330

// Format menu (340-359)
#define IDM_LEFT1           341
#define IDM_RIGHT1          342
#define IDM_CENTER1         343
#define IDM_WORDWRAP1       344
#define IDM_TABTOSPACE      345
#define IDM_TAB4SPACE       346
#define IDM_FONT1           347
#define IDM_VELGOLD         348

// Search menu (360-379)
#define IDM_FIND1           361
#define IDM_FINDNEXT1       362
#define IDM_REPLACE1        363
#define IDM_KN1             364

// Pop-up menu items with their own handlers (380-399)
#define IDM_SPEEDBT         381
#define IDM_EDITKEY1        391  /* ..397: snippets 1..7 */
#define IDM_EDITKEY7        397

// Buttons of Panele that have no menu item of their own (400-419)
#define IDC_ZOOMOUT         401
#define IDC_ZOOMIN          402

// Child windows
#define IDC_PANELE          420
#define IDC_MEMO1           421
