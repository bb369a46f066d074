// Start-up: the application title, the main window, its first state from the
// system's show command, and the message loop until the main window closes.
#include <vector>

#include "frame/main_window.h"
#include "ui/app.h"
#include "platform/win32.h"

using velkor::Application;
using velkor::MainWindow;

namespace {

std::vector<std::wstring> CommandLineArguments() {
  std::vector<std::wstring> args;
  int argc = 0;
  if (LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc)) {
    for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
    LocalFree(argv);
  }
  return args;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int show_command) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  OleInitialize(nullptr);
  Application& app = Application::Get();
  app.SetTitle(L"ベルコノート");
  int result = 0;
  try {
    MainWindow frame(CommandLineArguments());
    frame.CreateForm();
    frame.ShowForStartup(show_command);
    result = app.Run();
  } catch (...) {
    app.ReportCurrentException();
    result = 1;
  }
  OleUninitialize();
  return result;
}
