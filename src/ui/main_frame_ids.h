#pragma once
// Command and control identifiers of the main window. Menu items and the tool
// bar buttons that share a handler share an identifier.

// File menu and tool bar (100-149)
#define IDM_NEW1            101
#define IDM_OPEN1           102
#define IDM_EXIT1           103
#define IDM_FRIEND          104
#define IDM_WORDSEARCH      105
#define IDM_ABOUT           106
#define IDM_HELP            107
#define IDM_USEDFILE1       111  /* ..117: recent-file slots 1..7 */
#define IDM_USEDFILE7       117

// Window menu (150-169)
#define IDM_TILE1           151
#define IDM_CASCADE1        152
#define IDM_NEXTCHILDFORM   153
#define IDM_ICONMINI        154
#define IDM_NORMALSIZE      155
#define IDM_MAXMIZE         156
#define IDM_ARRANGEICONS1   157

// Quick-launch buttons BP1FileName0..7 (170-177)
#define IDC_BP1FILENAME0    170

// Child windows (200-219)
#define IDC_PANEL1          201
#define IDC_STATUSLINE      202
#define IDC_BP1PANEL        203
#define IDC_MDICLIENT       204
#define IDC_VELSBUTTON      205
#define IDC_TMPIMAGE        206

// MDI window list items start here.
#define IDM_FIRSTCHILD      50000
