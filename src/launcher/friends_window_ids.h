#pragma once
// Command and control ids of the friends window, for its menus (friends_window.rc)
// and its code.

// Main menu.
#define IDM_DIR_CLOSE         900
#define IDM_DIR_EXECUTE       901
#define IDM_DIR_REGISTER1     910  // .. IDM_DIR_REGISTER1 + 6: "ボタン１へ登録" .. "ボタン７へ登録"
#define IDM_DIR_MASK1         920  // .. IDM_DIR_MASK1 + 10: the masks of "編集ボックスSet"
#define IDM_DIR_ROWS1         940  // .. IDM_DIR_ROWS1 + 6: "１行" .. "７行"
#define IDM_DIR_COLS1         950  // .. IDM_DIR_COLS1 + 3: "１列" .. "４列"
#define IDM_DIR_PANES         960
#define IDM_DIR_ICONMODE      961
#define IDM_DIR_BULK_SEARCH   962

// The list's pop-up menu.
#define IDM_DIR_GRID1         970
#define IDM_DIR_GRID2         971
#define IDM_DIR_RECYCLE       972
#define IDM_DIR_DELETE        973

// Controls.
#define IDC_DIR_BUTTONROW     1000
#define IDC_DIR_BUTTON1       1001  // .. IDC_DIR_BUTTON1 + 7
#define IDC_DIR_MASCOT        1009
#define IDC_DIR_BUTTONIMAGE1  1010  // .. IDC_DIR_BUTTONIMAGE1 + 7
#define IDC_DIR_INFO          1020
#define IDC_DIR_MASK          1021
#define IDC_DIR_BULKSEARCH    1022
#define IDC_DIR_TREEPANEL     1023
#define IDC_DIR_TREE          1024
#define IDC_DIR_LISTPANEL     1025
#define IDC_DIR_LIST          1026
#define IDC_DIR_TABS          1027
#define IDC_DIR_STATUSBAR     1028
#define IDC_DIR_COUNTER       1029
#define IDC_DIR_FILEPANEL     1030
#define IDC_DIR_THUMBNAIL     1031
#define IDC_DIR_LABEL         1032  // .. IDC_DIR_LABEL + 3
