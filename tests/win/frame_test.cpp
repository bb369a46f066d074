// The main window, driven through its real window under Wine.
#include <gtest/gtest.h>

#include <regex>

#include "editor/editor_window.h"
#include "ui/main_frame_ids.h"
#include "frame/frame_logic.h"
#include "state/settings.h"
#include "ui/app.h"
#include "platform/scoped.h"
#include "support/frame_fixture.h"

using namespace velkor;
using namespace velkor::test;

namespace {

RECT WindowRectOf(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  return r;
}

std::wstring ClassOf(HWND w) {
  wchar_t buf[64] = {};
  GetClassNameW(w, buf, 64);
  return buf;
}

// An 8 x 8 bitmap file of two colours: the left half red, the right half blue.
std::string TwoColourBmp() {
  std::string b("BM\x5e\0\0\0\0\0\0\0\x3e\0\0\0\x28\0\0\0\x08\0\0\0\x08\0\0\0\1\0\1\0", 30);
  b.resize(54, '\0');
  b += std::string("\0\0\xff\0\xff\0\0\0", 8);  // palette (B, G, R, 0): red, blue
  for (int row = 0; row < 8; ++row) b += std::string("\x0f\0\0\0", 4);
  return b;
}

// The pixels of a bitmap, row by row.
std::vector<COLORREF> PixelsOf(HBITMAP bmp) {
  BITMAP bm{};
  GetObjectW(bmp, sizeof bm, &bm);
  ScopedMemDc dc(CreateCompatibleDC(nullptr));
  SelectObjectScope sel(dc.get(), bmp);
  std::vector<COLORREF> px;
  for (int y = 0; y < bm.bmHeight; ++y)
    for (int x = 0; x < bm.bmWidth; ++x) px.push_back(GetPixel(dc.get(), x, y));
  return px;
}

// The row's 27 x 27 picture of an icon resource, made by hand: the icon on
// light grey in a 33 x 33 square, shrunk; its transparent-colour pixel left out.
std::vector<COLORREF> RowGlyphOfIcon(const wchar_t* name) {
  ScopedIcon icon(static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_ICON, 32, 32, 0)));
  WindowDc screen(nullptr);
  ScopedBitmap square(CreateCompatibleBitmap(screen.get(), 33, 33)), glyph(CreateCompatibleBitmap(screen.get(), 27, 27));
  {
    ScopedMemDc src(CreateCompatibleDC(screen.get())), dst(CreateCompatibleDC(screen.get()));
    SelectObjectScope sel_src(src.get(), square.get()), sel_dst(dst.get(), glyph.get());
    RECT rc{0, 0, 33, 33};
    FillRect(src.get(), &rc, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
    DrawIconEx(src.get(), 0, 0, icon.get(), 0, 0, 0, nullptr, DI_NORMAL);
    SetStretchBltMode(dst.get(), COLORONCOLOR);
    StretchBlt(dst.get(), 0, 0, 27, 27, src.get(), 0, 0, 33, 33, SRCCOPY);
  }
  std::vector<COLORREF> px = PixelsOf(glyph.get());
  px[26 * 27] = 0;
  return px;
}

}  // namespace

using MainWindowTest = FrameTest;

TEST_F(MainWindowTest, StartsWithDefaultsWithoutASettingsFile) {
  MainWindow& f = StartFrame();
  EXPECT_EQ(ClassOf(f.hwnd()), L"Tframeform");
  EXPECT_EQ(WindowText(f.hwnd()), L"ベルコノート");
  EXPECT_EQ(Application::Get().title(), L"ベルコノート");
  for (int n = 1; n <= 7; ++n) {
    EXPECT_EQ(f.recent_files().Entry(n), L"No Set");
    EXPECT_EQ(MenuText(f.main_menu(), IDM_USEDFILE1 + n - 1), L"&" + std::to_wstring(n) + L" No Set");
    EXPECT_EQ(f.snippets().Label(n), L"ご挨拶");
    EXPECT_EQ(f.snippets().Text(n), L"ボクを使って戴いて、大変ありがとうございます");
  }
  for (int i = 0; i < 8; ++i) EXPECT_TRUE(f.launch_paths().Path(i).empty());
  EXPECT_EQ(f.untitled_numbers().Newest(), 0);
  EXPECT_EQ(f.screen_width(), GetSystemMetrics(SM_CXSCREEN));

  // Designed size, centred on the screen.
  RECT client{};
  GetClientRect(f.hwnd(), &client);
  EXPECT_EQ(client.right, 630);
  EXPECT_EQ(client.bottom, 424);
  const RECT r = WindowRectOf(f.hwnd());
  EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2);
  EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2);
  EXPECT_FALSE(FileExists(IniPath())) << "start-up only reads";
}

TEST_F(MainWindowTest, QuickLaunchRowIsBuiltAndHiddenWithoutEntries) {
  MainWindow& f = StartFrame();
  EXPECT_FALSE(IsWindowVisible(f.Bp1Panel().hwnd()));
  RECT pr{};
  GetClientRect(f.Bp1Panel().hwnd(), &pr);
  EXPECT_EQ(pr.right, 8 * 30 + 11);
  for (int i = 0; i < 8; ++i) {
    SpeedButton& b = f.LaunchButton(i);
    EXPECT_EQ(b.tag, i);
    EXPECT_EQ(b.hint(), L"未登録 " + std::to_wstring(i + 1));
    EXPECT_EQ(b.rect().left, i * 31 + 2);
    EXPECT_EQ(b.rect().top, 3);
    EXPECT_EQ(b.rect().right - b.rect().left, 30);
  }
  // A click on the tool bar background reloads the entries but leaves the row hidden.
  Settings(IniPath()).WriteString(L"VELKORA", L"SImage2FileName", IniPath());
  f.RefreshLaunchRow();
  EXPECT_FALSE(IsWindowVisible(f.Bp1Panel().hwnd()));
  EXPECT_EQ(f.launch_paths().Path(1), IniPath());
  EXPECT_EQ(f.LaunchButton(1).hint(), L"Velkor.INI");
}

TEST_F(MainWindowTest, QuickLaunchButtonsShowTheirFilesAndKeepThemWhenTheyGo) {
  const std::wstring bmp = dir_ / L"pic.bmp";
  const std::wstring doc = dir_ / L"memo.xyz";  // a document without an icon of its own
  WriteBytes(bmp, TwoColourBmp());
  WriteBytes(doc, "memo");
  {
    Settings ini(IniPath());
    ini.WriteString(L"VELKORA", L"SImage1FileName", bmp);
    ini.WriteString(L"VELKORA", L"SImage2FileName", doc);
    ini.WriteString(L"VELKORA", L"SImage3FileName", dir_ / L"gone.txt");
  }
  MainWindow& f = StartFrame();
  auto check_picture = [&] {
    ASSERT_NE(f.LaunchButton(0).glyph(), nullptr);
    BITMAP bm{};
    GetObjectW(f.LaunchButton(0).glyph(), sizeof bm, &bm);
    ASSERT_EQ(bm.bmWidth, 27);
    ASSERT_EQ(bm.bmHeight, 27);
    const std::vector<COLORREF> px = PixelsOf(f.LaunchButton(0).glyph());
    EXPECT_EQ(px[10 * 27 + 3], RGB(255, 0, 0));
    EXPECT_EQ(px[10 * 27 + 23], RGB(0, 0, 255));
    EXPECT_EQ(px[26 * 27], GetSysColor(COLOR_BTNSHADOW)) << "the transparent colour";
    EXPECT_EQ(f.LaunchButton(0).hint(), L"pic.bmp");
  };
  check_picture();

  ASSERT_NE(f.LaunchButton(1).glyph(), nullptr);
  std::vector<COLORREF> got = PixelsOf(f.LaunchButton(1).glyph());
  got[26 * 27] = 0;
  EXPECT_EQ(got, RowGlyphOfIcon(L"SICON_2"));
  EXPECT_EQ(f.LaunchButton(1).hint(), L"memo.xyz");

  EXPECT_EQ(f.LaunchButton(2).glyph(), nullptr);
  EXPECT_EQ(f.LaunchButton(2).hint(), L"未登録 3");
  EXPECT_EQ(WindowText(f.hwnd()), L"ベルコノート");

  // After the picture is deleted, a reload leaves its button as it was.
  ASSERT_TRUE(DeleteFileW(bmp.c_str()));
  Settings(IniPath()).WriteString(L"VELKORA", L"SImage4FileName", doc);
  f.RefreshLaunchRow();
  check_picture();
  EXPECT_EQ(f.LaunchButton(3).hint(), L"memo.xyz");
}

TEST_F(MainWindowTest, AQuickLaunchButtonStartsItsFileAndAnEmptyOneNothing) {
  const std::wstring exe = dir_ / L"marker.exe";
  ASSERT_TRUE(CopyFileW((ModuleDir() + L"\\marker.exe").c_str(), exe.c_str(), FALSE));
  Settings(IniPath()).WriteString(L"VELKORA", L"SImage2FileName", exe);
  MainWindow& f = StartFrame();
  // From here on every program that this test starts, directly or through
  // the shell, joins a job that counts them.
  ScopedHandle job(CreateJobObjectW(nullptr, nullptr));
  ASSERT_TRUE(AssignProcessToJobObject(job.get(), GetCurrentProcess()));
  SetForegroundWindow(f.hwnd());
  ClickAt(CentreOf(f.LaunchButton(0)));  // the empty entry
  ClickAt(CentreOf(f.LaunchButton(1)));
  ASSERT_TRUE(PumpUntil([&] { return FileExists(exe + L".ran"); }, 10000));
  // The shell starts a program before its call returns: both clicks have
  // done all they will.
  JOBOBJECT_BASIC_ACCOUNTING_INFORMATION counted{};
  ASSERT_TRUE(QueryInformationJobObject(job.get(), JobObjectBasicAccountingInformation, &counted, sizeof counted,
                                        nullptr));
  EXPECT_EQ(counted.TotalProcesses, 2u) << "this test and the file of the second button, nothing for the empty one";
}

TEST_F(MainWindowTest, QuickLaunchRowShowsWhenAnEntryIsRegistered) {
  WriteIni("[VELKORA]\r\nSImage3FileName=C:\\windows\\notepad.exe\r\n");
  MainWindow& f = StartFrame();
  EXPECT_TRUE(IsWindowVisible(f.Bp1Panel().hwnd()));
  EXPECT_EQ(f.launch_paths().Path(2), L"C:\\windows\\notepad.exe");
}

TEST_F(MainWindowTest, MenuIsAsDesigned) {
  MainWindow& f = StartFrame();
  HMENU bar = f.main_menu();
  ASSERT_EQ(GetMenuItemCount(bar), 2);
  wchar_t buf[128];
  GetMenuStringW(bar, 0, buf, 128, MF_BYPOSITION);
  EXPECT_STREQ(buf, L"ファイル (&F)");
  GetMenuStringW(bar, 1, buf, 128, MF_BYPOSITION);
  EXPECT_STREQ(buf, L"ウィンドウ (&W)");

  const struct {
    UINT id;
    const wchar_t* text;
  } items[] = {
      {IDM_NEW1, L"新規作成   (&N)\tF5"},
      {IDM_OPEN1, L"既存文章編集 (&O)\tF6"},
      {IDM_EXIT1, L"ベルコノート終了 (&X)\tCtrl+X"},
      {IDM_FRIEND, L"友達を連れてくる (&F)\tF2"},
      {IDM_WORDSEARCH, L"指定ディレクトリーから単語を検索 (&W)\tF9"},
      {IDM_ABOUT, L"バージョン情報 (&V)"},
      {IDM_HELP, L"ヘルプ(&H)\tF1"},
      {IDM_TILE1, L"並べて表示 (&T)"},
      {IDM_CASCADE1, L"重ねて表示 (&C)"},
      {IDM_NEXTCHILDFORM, L"次のChildForm(&N)"},
      {IDM_ICONMINI, L"アイコン化(&M)"},
      {IDM_NORMALSIZE, L"ノーマル化(&S)"},
      {IDM_MAXMIZE, L"最大化(&X)"},
      {IDM_ARRANGEICONS1, L"アイコン整列 (&A)"},
  };
  for (const auto& item : items) EXPECT_EQ(MenuText(bar, item.id), item.text) << item.id;

  // The File menu's order, separators included.
  HMENU file = GetSubMenu(bar, 0);
  const int expected_ids[] = {IDM_NEW1, IDM_OPEN1, 0, IDM_EXIT1, 0, IDM_FRIEND, IDM_WORDSEARCH, 0, IDM_ABOUT,
                              IDM_HELP, 0, 111, 112, 113, 114, 115, 116, 117};
  ASSERT_EQ(GetMenuItemCount(file), 18);
  for (int i = 0; i < 18; ++i) EXPECT_EQ(static_cast<int>(GetMenuItemID(file, i)), expected_ids[i] ? expected_ids[i] : 0);
}

TEST_F(MainWindowTest, WindowCommandsAreEnabledOnlyWhileEditorsExist) {
  MainWindow& f = StartFrame();
  auto window_menu_enabled = [&] {
    return !(GetMenuState(f.main_menu(), 1, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED));
  };
  EXPECT_FALSE(window_menu_enabled());
  for (int id : {IDM_TILE1, IDM_CASCADE1, IDM_ICONMINI, IDM_NORMALSIZE}) EXPECT_FALSE(f.tool_button(id).enabled());
  for (int id : {IDM_TILE1, IDM_CASCADE1, IDM_NEXTCHILDFORM, IDM_ICONMINI, IDM_NORMALSIZE, IDM_MAXMIZE,
                 IDM_ARRANGEICONS1})
    EXPECT_FALSE(MenuEnabled(f.main_menu(), id)) << id;

  EditorWindow* e = f.NewChild();
  PumpFor(50);
  EXPECT_TRUE(window_menu_enabled());
  for (int id : {IDM_TILE1, IDM_CASCADE1, IDM_ICONMINI, IDM_NORMALSIZE}) EXPECT_TRUE(f.tool_button(id).enabled());
  EXPECT_TRUE(MenuEnabled(f.main_menu(), IDM_MAXMIZE));

  SendMessageW(e->hwnd(), WM_CLOSE, 0, 0);
  PumpFor(50);
  EXPECT_TRUE(f.Editors().empty());
  EXPECT_FALSE(window_menu_enabled());
  EXPECT_FALSE(f.tool_button(IDM_TILE1).enabled());
  EXPECT_EQ(GetMenu(f.hwnd()), f.main_menu()) << "the main window's own menu is back";
}

// A mouse move over a speed button, as the system posts it to the panel it stands on.
void MoveOver(const SpeedButton& b, int dx = 3, int dy = 3) {
  PostMessageW(b.host()->hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(b.rect().left + dx, b.rect().top + dy));
  PumpFor(30);
}

TEST_F(MainWindowTest, HintsGoToTheStatusLineAndMenusEmptyIt) {
  MainWindow& f = StartFrame();
  MoveOver(f.tool_button(IDM_EXIT1));
  EXPECT_EQ(f.StatusLine().text(), L"ベルコノートを終了します");

  MoveOver(f.tool_button(IDM_WORDSEARCH));
  EXPECT_EQ(f.StatusLine().text(), L" 検索専用フォームを表示します");

  // The tool bar's background has no hint of its own.
  PostMessageW(f.tool_button(IDM_EXIT1).host()->hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(400, 2));
  PumpFor(30);
  EXPECT_EQ(f.StatusLine().text(), L"");

  MoveOver(f.tool_button(IDM_EXIT1));
  ASSERT_FALSE(f.StatusLine().text().empty());
  SendMessageW(f.hwnd(), WM_MENUSELECT, MAKEWPARAM(IDM_NEW1, MF_HILITE), reinterpret_cast<LPARAM>(f.main_menu()));
  EXPECT_EQ(f.StatusLine().text(), L"");

  // The tool tip shows the short part.
  HWND tip = Application::Get().TooltipFor(f.hwnd());
  TTTOOLINFOW ti{};
  ti.cbSize = sizeof ti;
  ti.hwnd = f.tool_button(IDM_EXIT1).host()->hwnd();
  ti.uId = reinterpret_cast<UINT_PTR>(&f.tool_button(IDM_EXIT1));
  wchar_t text[128] = {};
  ti.lpszText = text;
  SendMessageW(tip, TTM_GETTEXTW, 128, reinterpret_cast<LPARAM>(&ti));
  EXPECT_STREQ(text, L"ベルコノートを終了");
}

TEST_F(MainWindowTest, AClickOnAToolButtonRunsItsCommand) {
  MainWindow& f = StartFrame();
  const SpeedButton& b = f.tool_button(IDM_NEW1);
  HWND panel = b.host()->hwnd();
  const LPARAM at = MAKELPARAM(b.rect().left + 5, b.rect().top + 5);
  PostMessageW(panel, WM_MOUSEMOVE, 0, at);
  PostMessageW(panel, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(panel, WM_LBUTTONUP, 0, at);
  PumpFor(50);
  EXPECT_EQ(f.Editors().size(), 1u);
  // A disabled button does nothing: Tile needs editors, so close it and try.
  SendMessageW(f.Editors()[0]->hwnd(), WM_CLOSE, 0, 0);
  PumpFor(30);
  const SpeedButton& tile = f.tool_button(IDM_TILE1);
  EXPECT_FALSE(tile.enabled());
}

TEST_F(MainWindowTest, DroppedTextFilesOpenAndOthersGoToTheShell) {
  MainWindow& f = StartFrame();
  const std::wstring txt = dir_ / L"a.txt";
  const std::wstring txtx = dir_ / L"b.TXTX";
  WriteBytes(txt, "alpha\r\n");
  WriteBytes(txtx, "beta\r\n");
  const std::wstring exe = dir_ / L"marker.exe";
  ASSERT_TRUE(CopyFileW((ModuleDir() + L"\\marker.exe").c_str(), exe.c_str(), FALSE));

  DropFiles(f.hwnd(), {txt, txtx, exe});
  PumpUntil([&] { return FileExists(exe + L".ran"); }, 10000);

  const auto editors = f.Editors();
  ASSERT_EQ(editors.size(), 2u);
  std::vector<std::wstring> opened;
  for (EditorWindow* e : editors) {
    opened.push_back(e->file_path());
    EXPECT_EQ(e->Tag, 0);
  }
  EXPECT_NE(std::find(opened.begin(), opened.end(), txt), opened.end());
  EXPECT_NE(std::find(opened.begin(), opened.end(), txtx), opened.end());
  EXPECT_TRUE(FileExists(exe + L".ran")) << "the .exe was started through the shell";
}

TEST_F(MainWindowTest, DroppedFilesUseTheirStoredSettings) {
  const std::wstring txt = dir_ / L"sized.TXT";
  WriteBytes(txt, "x");
  Settings ini(IniPath());
  ini.WriteInteger(txt, L"EditFormWidth", 321);
  ini.WriteInteger(txt, L"EditFormHeight", 210);
  ini.WriteBool(txt, L"WordWrap", true);
  MainWindow& f = StartFrame();
  DropFiles(f.hwnd(), {txt});
  ASSERT_EQ(f.Editors().size(), 1u);
  const RECT r = WindowRectOf(f.Editors()[0]->hwnd());
  EXPECT_EQ(r.right - r.left, 321);
  EXPECT_EQ(r.bottom - r.top, 210);
  EXPECT_TRUE(f.Editors()[0]->memo().word_wrap());
}

class ShowCommands : public FrameTest, public ::testing::WithParamInterface<std::pair<int, int>> {};

TEST_P(ShowCommands, StartInTheStateTheSystemAsks) {
  const auto [command, expected] = GetParam();
  MainWindow& f = StartFrame({}, command);
  PumpFor(50);
  EXPECT_EQ(IsIconic(f.hwnd()) != 0, expected == 2);
  EXPECT_EQ(IsZoomed(f.hwnd()) != 0, expected == 3);
  EXPECT_TRUE(IsWindowVisible(f.hwnd()));
}

INSTANTIATE_TEST_SUITE_P(MainWindow, ShowCommands,
                         ::testing::Values(std::pair{2, 2}, std::pair{3, 3}, std::pair{6, 2}, std::pair{7, 2},
                                           std::pair{1, 1}, std::pair{5, 1}, std::pair{8, 1}, std::pair{10, 1}));

TEST_F(MainWindowTest, StoredMaximizedStateTakesEffectWhenShown) {
  WriteIni("[Tframeform]\r\nPlaceShowCmd=3\r\n");
  MainWindow& f = StartFrame();
  EXPECT_EQ(f.start_show_command(), 3);
  EXPECT_TRUE(PumpUntil([&] { return IsZoomed(f.hwnd()) != FALSE; }, 3000));
}

TEST_F(MainWindowTest, PlacementWithOnlyALeftEdgeKeepsSizeAndCentresVertically) {
  WriteIni("[Tframeform]\r\nPlaceNormalPos.Left=100\r\n");
  MainWindow& f = StartFrame();
  const RECT r = WindowRectOf(f.hwnd());
  RECT client{};
  GetClientRect(f.hwnd(), &client);
  EXPECT_EQ(r.left, 100);
  EXPECT_EQ(client.right, 630);
  EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2);
}

TEST_F(MainWindowTest, PlacementIsSavedWhenTheWindowGoes) {
  MainWindow& f = StartFrame();
  SetWindowPos(f.hwnd(), nullptr, 40, 50, 700, 500, SWP_NOZORDER);
  DestroyFrame();
  EXPECT_EQ(IniString(IniPath(), L"Tframeform", L"PlaceNormalPos.Left"), L"40");
  EXPECT_EQ(IniString(IniPath(), L"Tframeform", L"PlaceNormalPos.Top"), L"50");
  EXPECT_EQ(IniString(IniPath(), L"Tframeform", L"PlaceNormalPos.Right"), L"740");
  EXPECT_EQ(IniString(IniPath(), L"Tframeform", L"PlaceNormalPos.Bottom"), L"550");
  EXPECT_EQ(IniString(IniPath(), L"Tframeform", L"PlaceShowCmd"), L"1");
}

TEST_F(MainWindowTest, FarewellNamesTheRegisteredUserAndStandsByThePointer) {
  RegistrySandbox registry;
  registry.SetString(HKEY_CURRENT_USER, L"SOFTWARE\\MICROSOFT\\USER INFORMATION", L"DEFAULT USER NAME", L"山田花子");
  registry.SetString(HKEY_LOCAL_MACHINE, L"SOFTWARE\\MICROSOFT\\WINDOWS NT\\CURRENTVERSION", L"RegisteredOwner",
                     L"Other");
  MainWindow& f = StartFrame();
  MoveCursor(100, 200);
  DialogAnswerer answers;
  answers.Press(IDOK);
  HWND hwnd = f.hwnd();
  SendMessageW(hwnd, WM_CLOSE, 0, 0);
  ASSERT_EQ(answers.seen().size(), 1u);
  const auto& box = answers.seen()[0];
  EXPECT_TRUE(std::regex_match(box.text, std::wregex(L"山田花子 さん   お疲れさま !!\r\n\r\n  使用時間は 0 分 [0-9]+ 秒 です。"
                                                     L"\r\n\r\n    また使ってね !!")))
      << "got: " << std::string(box.text.begin(), box.text.end());
  EXPECT_EQ(box.caption, L"ベルコノート");
  EXPECT_EQ(box.rect.left, 100);
  EXPECT_EQ(box.rect.top, 230);
  EXPECT_FALSE(IsWindow(hwnd)) << "the exit goes ahead";
}

TEST_F(MainWindowTest, FarewellWithoutAnyNameSaysOyabunAndStandsLeftInTheRightHalf) {
  RegistrySandbox registry;
  MainWindow& f = StartFrame();
  const int x = f.screen_width() / 2 + 100;
  MoveCursor(x, 300);
  DialogAnswerer answers;
  answers.Press(IDOK);
  SendMessageW(f.hwnd(), WM_CLOSE, 0, 0);
  ASSERT_EQ(answers.seen().size(), 1u);
  EXPECT_EQ(answers.seen()[0].text.rfind(L"親分 さん   お疲れさま !!", 0), 0u);
  EXPECT_EQ(answers.seen()[0].rect.left, x - 190);
  EXPECT_EQ(answers.seen()[0].rect.top, 380);
}

TEST_F(MainWindowTest, OwnerNameFallsBackInRegistryOrder) {
  RegistrySandbox registry;
  EXPECT_EQ(MainWindow::ReadOwnerName(), L"親分");
  registry.SetString(HKEY_LOCAL_MACHINE, L"SOFTWARE\\MICROSOFT\\WINDOWS NT\\CURRENTVERSION", L"RegisteredOwner", L"NT");
  EXPECT_EQ(MainWindow::ReadOwnerName(), L"NT");
  registry.SetString(HKEY_LOCAL_MACHINE, L"SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION", L"RegisteredOwner", L"");
  EXPECT_EQ(MainWindow::ReadOwnerName(), L"NT") << "an empty value counts as missing";
  registry.SetString(HKEY_LOCAL_MACHINE, L"SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION", L"RegisteredOwner", L"95");
  EXPECT_EQ(MainWindow::ReadOwnerName(), L"95");
  registry.SetString(HKEY_CURRENT_USER, L"SOFTWARE\\MICROSOFT\\USER INFORMATION", L"DEFAULT USER NAME", L"User");
  EXPECT_EQ(MainWindow::ReadOwnerName(), L"User");
}

TEST_F(MainWindowTest, ExitWithOpenEditorsAsksAndNoKeepsTheProgram) {
  MainWindow& f = StartFrame();
  f.NewChild();
  f.NewChild();
  PumpFor(30);
  DialogAnswerer answers;
  answers.Press(IDNO);
  SendMessageW(f.hwnd(), WM_CLOSE, 0, 0);
  ASSERT_EQ(answers.seen().size(), 1u) << "unchanged documents ask nothing of their own";
  EXPECT_TRUE(std::regex_match(answers.seen()[0].text,
                               std::wregex(L" お疲れさま !!\r\n\r\n  使用時間は 0 分 [0-9]+ 秒 です。\r\n\r\n"
                                           L"編集中のエディットフォームが  2  つ有ります。\r\n\r\n本当に終了しますか。")));
  EXPECT_EQ(answers.seen()[0].caption, L"確認");
  EXPECT_TRUE(IsWindow(f.hwnd()));
  EXPECT_EQ(f.Editors().size(), 2u);

  answers.Press(IDYES);
  HWND hwnd = f.hwnd();
  SendMessageW(hwnd, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(hwnd));
}

TEST_F(MainWindowTest, ExitCommandClosesThroughTheCloseQuery) {
  MainWindow& f = StartFrame();
  DialogAnswerer answers;
  answers.Press(IDOK);
  HWND hwnd = f.hwnd();
  PostMessageW(hwnd, WM_COMMAND, IDM_EXIT1, 0);
  PumpUntil([&] { return !IsWindow(hwnd); });
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(answers.seen().size(), 1u);
}

TEST_F(MainWindowTest, CommandLineOpensUpToThreeFilesWithTheirPositionsAsTags) {
  const std::wstring a = dir_ / L"one.txt", b = dir_ / L"two.txt", c = dir_ / L"three.txt";
  WriteBytes(a, "1");
  WriteBytes(b, "2");
  WriteBytes(c, "3");
  MainWindow& f = StartFrame({a, b, c});
  PumpUntil([&] { return f.Editors().size() == 3; });
  ASSERT_EQ(f.Editors().size(), 3u);
  for (EditorWindow* e : f.Editors()) {
    if (e->file_path() == a) { EXPECT_EQ(e->Tag, 1); }
    if (e->file_path() == b) { EXPECT_EQ(e->Tag, 2); }
    if (e->file_path() == c) { EXPECT_EQ(e->Tag, 3); }
  }
  EXPECT_EQ(f.CommandLineOpened(), 3);
  InvalidateRect(f.hwnd(), nullptr, TRUE);
  PumpFor(50);
  EXPECT_EQ(f.Editors().size(), 3u) << "later paints do not open them again";
}

TEST_F(MainWindowTest, FourArgumentsOpenNothing) {
  const std::wstring a = dir_ / L"one.txt";
  WriteBytes(a, "1");
  MainWindow& f = StartFrame({a, a, a, a});
  PumpFor(100);
  EXPECT_TRUE(f.Editors().empty());
}

TEST_F(MainWindowTest, ArgumentsSplitAtBlanksAreJoinedAgain) {
  const std::wstring joined = dir_ / L"My Long Memo.txt";
  WriteBytes(joined, "memo");
  Settings(IniPath()).WriteInteger(L"ChildNo1FontSelect", L"EditFormWidth", 345);
  MainWindow& f = StartFrame({dir_ / L"My", L"Long", L"Memo.txt"});
  PumpUntil([&] { return !f.Editors().empty(); });
  ASSERT_EQ(f.Editors().size(), 1u);
  EditorWindow* e = f.Editors()[0];
  EXPECT_EQ(e->file_path(), joined);
  EXPECT_EQ(e->Tag, 1);
  const RECT r = WindowRectOf(e->hwnd());
  EXPECT_EQ(r.right - r.left, 345) << "settings of ChildNo1FontSelect";
}

TEST_F(MainWindowTest, HelpFileIsBesideTheProgramWithoutOneInTheWindowsFolder) {
  MainWindow& f = StartFrame();
  SendMessageW(f.hwnd(), WM_ACTIVATE, WA_ACTIVE, 0);
  std::wstring exe(MAX_PATH, L'\0');
  exe.resize(GetModuleFileNameW(nullptr, exe.data(), MAX_PATH));
  EXPECT_EQ(f.HelpFile(), exe.substr(0, exe.rfind(L'.')) + L".hlp");
  EXPECT_EQ(MainWindow::HelpContextOf(IDM_NEW1), 1020);
  EXPECT_EQ(MainWindow::HelpContextOf(IDM_EXIT1), 1010);
  EXPECT_EQ(MainWindow::HelpContextOf(IDM_HELP), 1000);
  EXPECT_EQ(MainWindow::HelpContextOf(IDM_FRIEND), 1030);
  EXPECT_EQ(MainWindow::HelpContextOf(IDM_ABOUT), 1040);
  EXPECT_EQ(MainWindow::HelpContextOf(IDM_WORDSEARCH), 1060);
}

namespace {
bool g_busy_at_creation = false;
LRESULT CALLBACK NoteBusyAtSearchWindowCreation(int code, WPARAM wp, LPARAM lp) {
  if (code == HCBT_CREATEWND) {
    const auto* cw = reinterpret_cast<const CBT_CREATEWNDW*>(lp);
    if (!IS_INTRESOURCE(cw->lpcs->lpszClass) && std::wstring(cw->lpcs->lpszClass) == L"TSeaForm")
      g_busy_at_creation = Application::Get().busy();
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}
}  // namespace

TEST_F(MainWindowTest, MenuTitlesHaveTheirOwnHelpContext) {
  MainWindow& f = StartFrame();
  HMENU bar = GetMenu(f.hwnd());
  for (int title : {0, 1}) {
    HELPINFO info{sizeof info};
    info.iContextType = HELPINFO_MENUITEM;
    info.iCtrlId = static_cast<int>(reinterpret_cast<UINT_PTR>(GetSubMenu(bar, title)));
    info.hItemHandle = bar;
    EXPECT_EQ(f.MenuHelpContext(info), 1020) << title;
  }
  HELPINFO item{sizeof item};
  item.iContextType = HELPINFO_MENUITEM;
  item.iCtrlId = IDM_EXIT1;
  item.hItemHandle = GetSubMenu(bar, 0);
  EXPECT_EQ(f.MenuHelpContext(item), 1010);
}

TEST_F(MainWindowTest, TheSearchWindowOpensUnderTheBusyCursor) {
  MainWindow& f = StartFrame();
  g_busy_at_creation = false;
  HHOOK hook = SetWindowsHookExW(WH_CBT, NoteBusyAtSearchWindowCreation, nullptr, GetCurrentThreadId());
  SendMessageW(f.hwnd(), WM_COMMAND, IDM_WORDSEARCH, 0);
  UnhookWindowsHookEx(hook);
  EXPECT_TRUE(g_busy_at_creation);
  EXPECT_FALSE(Application::Get().busy());
  HWND search = FindWindowW(L"TSeaForm", nullptr);
  ASSERT_NE(search, nullptr);
  SendMessageW(search, WM_CLOSE, 0, 0);
  PumpFor(20);
}

TEST_F(MainWindowTest, VelSButtonFollowsTheRightEdge) {
  MainWindow& f = StartFrame();
  SetWindowPos(f.hwnd(), nullptr, 0, 0, 900, 500, SWP_NOMOVE | SWP_NOZORDER);
  PumpFor(20);
  EXPECT_EQ(f.VelSButton().rect().left, 900 - 34 - 32);
  EXPECT_NE(f.VelSButton().glyph(), nullptr) << "the mascot glyph is put on when first shown";
}

namespace {
SYSTEMTIME At(int h, int m, int s) {
  SYSTEMTIME t{};
  t.wYear = 2026;
  t.wMonth = 12;
  t.wDay = 8;
  t.wHour = static_cast<WORD>(h);
  t.wMinute = static_cast<WORD>(m);
  t.wSecond = static_cast<WORD>(s);
  return t;
}
}  // namespace

TEST_F(MainWindowTest, WhileMinimizedTheTaskBarTitleIsAClockWithTheMascotEveryFiveSeconds) {
  MainWindow& f = StartFrame();
  ShowWindow(f.hwnd(), SW_MINIMIZE);
  f.Timer1Timer(At(12, 34, 10));
  EXPECT_EQ(WindowText(f.hwnd()), L"ベルコ君");
  f.Timer1Timer(At(12, 34, 15));
  EXPECT_EQ(WindowText(f.hwnd()), L"Your Friends");
  const HICON friends = reinterpret_cast<HICON>(SendMessageW(f.hwnd(), WM_GETICON, ICON_BIG, 0));
  EXPECT_EQ(friends, LoadImageW(GetModuleHandleW(nullptr), L"SICON_3", IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                GetSystemMetrics(SM_CYICON), LR_SHARED));
  f.Timer1Timer(At(9, 5, 7));
  EXPECT_EQ(WindowText(f.hwnd()), L"09:05:07");
  EXPECT_EQ(f.CaptionClockRect().right, 0) << "no clock in the title bar of an icon";
  ShowWindow(f.hwnd(), SW_RESTORE);
  f.Timer1Timer(At(9, 5, 8));
  EXPECT_EQ(WindowText(f.hwnd()), L"ベルコノート");
  EXPECT_NE(reinterpret_cast<HICON>(SendMessageW(f.hwnd(), WM_GETICON, ICON_BIG, 0)), friends);
}

TEST_F(MainWindowTest, WithAMaximizedEditorTheTickSetsTheTitleOnlyWhenWhatItShowsChanges) {
  MainWindow& f = StartFrame();
  SetForegroundWindow(f.hwnd());
  ClickAt(CentreOf(f.tool_button(IDM_NEW1)));
  ASSERT_EQ(f.Editors().size(), 1u);
  SendMessageW(f.hwnd(), WM_COMMAND, IDM_MAXMIZE, 0);
  const std::wstring shown = WindowText(f.hwnd());
  ASSERT_NE(shown, L"ベルコノート") << "a maximized editor's name follows the title";
  struct Count {
    static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR data) {
      if (m == WM_SETTEXT) ++*reinterpret_cast<int*>(data);
      return DefSubclassProc(h, m, w, l);
    }
  };
  int sets = 0;
  SetWindowSubclass(f.hwnd(), Count::Proc, 7, reinterpret_cast<DWORD_PTR>(&sets));
  for (int s = 1; s <= 5; ++s) f.Timer1Timer(At(9, 5, s));
  EXPECT_EQ(sets, 0);
  EXPECT_EQ(WindowText(f.hwnd()), shown);

  ShowWindow(f.hwnd(), SW_MINIMIZE);
  f.Timer1Timer(At(9, 5, 7));
  EXPECT_EQ(WindowText(f.hwnd()), L"09:05:07") << "the task bar's clock stands alone";
  f.Timer1Timer(At(9, 5, 10));
  EXPECT_EQ(WindowText(f.hwnd()), L"ベルコ君");
  EXPECT_EQ(sets, 2);
  ShowWindow(f.hwnd(), SW_RESTORE);
  f.Timer1Timer(At(9, 5, 11));
  f.Timer1Timer(At(9, 5, 12));
  EXPECT_EQ(WindowText(f.hwnd()), shown);
  EXPECT_EQ(sets, 3);
  RemoveWindowSubclass(f.hwnd(), Count::Proc, 7);
}

TEST_F(MainWindowTest, TheClockStandsLeftOfTheCaptionButtons) {
  MainWindow& f = StartFrame();
  f.Timer1Timer(At(9, 5, 7));
  const RECT band = f.CaptionClockRect();
  RECT wr{};
  GetWindowRect(f.hwnd(), &wr);
  const int icon = GetSystemMetrics(SM_CXSMICON);
  EXPECT_EQ(band.top, GetSystemMetrics(SM_CXFRAME));
  EXPECT_EQ(band.bottom, GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CXFRAME) - 1);
  EXPECT_EQ(band.right, (wr.right - wr.left) - GetSystemMetrics(SM_CYFRAME) - (icon + 3 + 1 + 2 * icon + 3));
  EXPECT_GT(band.right - band.left, 0);
  // The clock takes no clicks: the title bar below answers.
  POINT inside{wr.left + band.left + 2, wr.top + band.top + 2};
  EXPECT_EQ(SendMessageW(f.hwnd(), WM_NCHITTEST, 0, MAKELPARAM(inside.x, inside.y)), HTCAPTION);
  EXPECT_EQ(WindowFromPoint(inside), f.hwnd());
}

TEST_F(MainWindowTest, TheClientAreaShowsFourBandsOfStripes) {
  MainWindow& f = StartFrame();
  HWND client = f.mdi_client();
  RedrawWindow(client, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ERASENOW | RDW_UPDATENOW);
  RECT fc{};
  GetClientRect(f.hwnd(), &fc);
  const int q = fc.right / 4;
  HDC dc = GetDC(client);
  auto at = [&](int x, int y) { return GetPixel(dc, x, y); };
  EXPECT_EQ(at(1, 1), at(q - 2, 15)) << "one stripe of band 1";
  EXPECT_NE(at(1, 15), at(1, 16)) << "band 1's stripes are 16 high";
  EXPECT_EQ(at(q + 1, 1), at(q + 1, 31)) << "band 2's are 32 high";
  EXPECT_NE(at(q + 1, 31), at(q + 1, 32));
  EXPECT_NE(at(q - 1, 1), at(q, 1)) << "band 2 starts at a quarter of the width";
  EXPECT_NE(at(fc.right / 2 - 1, 1), at(fc.right / 2, 1));
  ReleaseDC(client, dc);
}

TEST_F(MainWindowTest, APlacementWithItsTitleBarAboveTheScreenComesDownToIt) {
  WriteIni("[Tframeform]\r\nPlaceNormalPos.Left=100\r\nPlaceNormalPos.Top=-200\r\n"
           "PlaceNormalPos.Right=700\r\nPlaceNormalPos.Bottom=300\r\n");
  MainWindow& f = StartFrame();
  RECT work{}, r{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  GetWindowRect(f.hwnd(), &r);
  EXPECT_EQ(r.top, work.top);
  EXPECT_EQ(r.left, 100);
  EXPECT_EQ(r.bottom - r.top, 500);
}

// The work area of the primary screen changed for the life of the object, as
// a task bar docked to its edges changes it.
class WorkArea {
 public:
  explicit WorkArea(RECT area) {
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &old_, 0);
    SystemParametersInfoW(SPI_SETWORKAREA, 0, &area, 0);
  }
  ~WorkArea() { SystemParametersInfoW(SPI_SETWORKAREA, 0, &old_, 0); }
  WorkArea(const WorkArea&) = delete;
  WorkArea& operator=(const WorkArea&) = delete;

 private:
  RECT old_{};
};

TEST_F(MainWindowTest, WithTheTaskBarOnTheLeftAndAtTheTopTheTitleBarStaysWithinReach) {
  WorkArea bars({60, 40, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
  WriteIni("[Tframeform]\r\nPlaceNormalPos.Left=-560\r\nPlaceNormalPos.Top=10\r\n"
           "PlaceNormalPos.Right=40\r\nPlaceNormalPos.Bottom=410\r\n");
  MainWindow& f = StartFrame();
  RECT r{};
  GetWindowRect(f.hwnd(), &r);
  EXPECT_EQ(r.top, 40) << "not under the task bar at the top";
  EXPECT_GE(r.right, 60 + GetSystemMetrics(SM_CYCAPTION)) << "a piece of the title bar beside the one on the left";
  EXPECT_EQ(r.right - r.left, 600);
  EXPECT_EQ(r.bottom - r.top, 400);
}

TEST_F(MainWindowTest, APlacementOffEveryScreenComesBackOntoTheNearestOne) {
  WriteIni("[Tframeform]\r\nPlaceNormalPos.Left=5000\r\nPlaceNormalPos.Top=4000\r\n"
           "PlaceNormalPos.Right=5600\r\nPlaceNormalPos.Bottom=4400\r\n");
  MainWindow& f = StartFrame();
  RECT r{};
  GetWindowRect(f.hwnd(), &r);
  EXPECT_EQ(r.right - r.left, 600);
  EXPECT_EQ(r.bottom - r.top, 400);
  EXPECT_NE(MonitorFromRect(&r, MONITOR_DEFAULTTONULL), nullptr) << r.left << "," << r.top;
}
