#pragma once
// Command and control identifiers of the word search window and its progress
// window. The buttons share their identifiers with the menu items that run
// the same handler.

// Commands of the pop-up menus and buttons (600-629)
#define IDM_SEA_OPEN1       601  /* OSButton, "開けゴマ" of both pop-up menus, F12 */
#define IDM_SEA_TOPT2       602
#define IDM_SEA_LASTL2      603
#define IDM_SEA_COPYPOP     604
#define IDM_SEA_FINDFPOP    605
#define IDM_SEA_FINDNEXT1   606
#define IDM_SEA_TOPT1       607
#define IDM_SEA_LASTL1      608
#define IDC_SEA_FINISH      611
#define IDC_SEA_SEARCH      612
#define IDC_SEA_COPY        613
#define IDC_SEA_FILE        614
#define IDC_SEA_CLOSEFILE   615
#define IDC_SEA_SETUP       616

// Child windows of the search window (630-669)
#define IDC_SEA_SPEEDBAR    630
#define IDC_SEA_LABEL1      631
#define IDC_SEA_CLASSCHECK  632
#define IDC_SEA_EDIT1       633
#define IDC_SEA_UPDOWN1     634
#define IDC_SEA_KEYWORD     635
#define IDC_SEA_PAGECONTROL 636
#define IDC_SEA_PAGE1       637
#define IDC_SEA_PAGE2       638
#define IDC_SEA_HEADER      639
#define IDC_SEA_FILELIST    640
#define IDC_SEA_SRCLIST     641
#define IDC_SEA_STATUSBAR   642
#define IDC_SEA_DIRNO1      651  /* ..656: DirNo1Ch..DirNo6Ch */
#define IDC_SEA_CHECKBOX1   661  /* ..669: CheckBox1..CheckBox9 */

// Progress window (670-679)
#define IDC_PROG_OPELABEL   671
#define IDC_PROG_NAMELABEL  672

// Search-directory setup dialog (680-709)
#define IDC_SETUP_GROUP     680
#define IDC_SETUP_CHECK1    681  /* ..686: CheckBox1..CheckBox6 */
#define IDC_SETUP_DIR1      687  /* ..692: No1DirN..No6DirN */
#define IDC_SETUP_NUMBER1   693  /* ..698: SpeedButton1..SpeedButton6 */
#define IDC_SETUP_DRIVES    699
#define IDC_SETUP_LABEL1    700
#define IDC_SETUP_HELP      701
#define IDC_SETUP_TREE      702
#define IDC_SETUP_LIST      703
#define IDC_SETUP_STATUS    704
#define IDC_SETUP_SPLIT     705
