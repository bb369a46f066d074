// Start-up of the program.
#include "platform/win32.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show_command) {
  return 0;
}
