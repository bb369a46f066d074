// A program that holds five icons and does nothing: the file list shows a
// program's icons numbered in rows.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return 0; }
