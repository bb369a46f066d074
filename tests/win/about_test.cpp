// The about box and its marquee, driven through their real windows under Wine.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

#include "controls/marquee.h"
#include "editor/editor_window.h"
#include "frame/about.h"
#include "ui/main_frame_ids.h"
#include "support/frame_fixture.h"

using namespace velkor;
using namespace velkor::test;

namespace {

constexpr COLORREF kAqua = RGB(0, 255, 255);

RECT RectIn(HWND child, HWND parent) {
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// Pixels of the view that are not the strip's blank aqua, as the control paints itself.
int InkInView(Marquee& m) {
  RECT client{};
  GetClientRect(m.hwnd(), &client);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, client.right, client.bottom);
  HGDIOBJ old = SelectObject(dc, bmp);
  SendMessageW(m.hwnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  const RECT view = m.ViewRect();
  int ink = 0;
  for (int y = view.top; y < view.bottom; ++y)
    for (int x = view.left; x < view.right; ++x) ink += GetPixel(dc, x, y) != kAqua;
  SelectObject(dc, old);
  DeleteObject(bmp);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return ink;
}

void Tick(Marquee& m) { SendMessageW(m.hwnd(), WM_TIMER, Marquee::kStepTimer, 0); }

int TickToTheEnd(Marquee& m) {
  int ticks = 0;
  for (; m.active() && ticks < 100000; ++ticks) Tick(m);
  return ticks;
}

class AboutBoxTest : public FrameTest {
 protected:
  void TearDown() override {
    if (AboutBox* box = AboutBox::Get()) DestroyWindow(box->hwnd());
    FrameTest::TearDown();
  }
  AboutBox& Open() {
    if (!frame_) StartFrame();
    frame_->ShowAbout();
    PumpFor(20);
    return *AboutBox::Get();
  }
};

}  // namespace

TEST_F(AboutBoxTest, ShowsItsTextsAndFigures) {
  AboutBox& box = Open();
  EXPECT_EQ(WindowText(box.hwnd()), L"バージョン情報") << "no resize since it became the single instance";
  RECT client{};
  GetClientRect(box.hwnd(), &client);
  EXPECT_EQ(client.right, 265);
  EXPECT_EQ(client.bottom, 369);
  EXPECT_TRUE(GetWindowLongPtrW(box.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);

  std::vector<std::wstring> texts;
  for (HWND label : box.Labels()) texts.push_back(WindowText(label));
  for (const wchar_t* t : {L"ベルコノート", L"( for Win95  and  NT4.0 )", L"Version 2.30", L"Memory Status",
                           L"Memory in Use", L"Physical Memory", L"Total Pagingfile", L"Total Vitual"})
    EXPECT_EQ(std::count(texts.begin(), texts.end(), t), 1);
  EXPECT_EQ(std::count(texts.begin(), texts.end(), L"Free"), 3);

  EXPECT_EQ(WindowText(box.FigureLabel(AboutBox::Length)), std::to_wstring(sizeof(MEMORYSTATUSEX)));
  EXPECT_TRUE(std::regex_match(WindowText(box.FigureLabel(AboutBox::MemoryLoad)), std::wregex(L"\\d{1,3} %")));
  for (auto f : {AboutBox::Totalphys, AboutBox::Availphys, AboutBox::TotalPageFile, AboutBox::AvailPageFile,
                 AboutBox::TotalVirtual, AboutBox::AvailVirtual})
    EXPECT_TRUE(std::regex_match(WindowText(box.FigureLabel(f)), std::wregex(L"[1-9]\\d{0,2}(,\\d{3})* KB")));
  EXPECT_EQ(RectIn(box.FigureLabel(AboutBox::AvailVirtual), box.Panel1().hwnd()).right, 240);
  EXPECT_EQ(box.SakubunSPButton().hint(), L"フォームを閉じる");

  // Each second, and at every tick of its own timer.
  HWND length = box.FigureLabel(AboutBox::Length);
  SetWindowTextW(length, L"stale");
  SendMessageW(box.hwnd(), WM_TIMER, AboutBox::kTimer1, 0);
  EXPECT_EQ(WindowText(length), std::to_wstring(sizeof(MEMORYSTATUSEX)));
  SetWindowTextW(length, L"stale");
  EXPECT_TRUE(PumpUntil([&] { return WindowText(length) != L"stale"; }, 2500));

  // The marquee is framed on the first credit and scrolls from the activation.
  Marquee& m = box.marquee();
  const RECT mr = RectIn(m.hwnd(), box.hwnd());
  EXPECT_EQ(mr.left, 12);
  EXPECT_EQ(mr.top, 295);
  EXPECT_EQ(mr.right - mr.left, 238);
  EXPECT_EQ(mr.bottom - mr.top, 69);
  EXPECT_EQ(m.Items, (std::vector<std::wstring>{L"ボクを使ってくれて", L"ありがとう", L"今後とも よろしく !!"}));
  EXPECT_TRUE(m.active());
}

TEST_F(AboutBoxTest, ExistsOnceAndIsCreatedAnewAfterClosing) {
  AboutBox& first = Open();
  const HWND hwnd = first.hwnd();
  ShowWindow(hwnd, SW_MINIMIZE);
  frame_->ShowAbout();
  PumpFor(20);
  EXPECT_EQ(AboutBox::Get(), &first);
  EXPECT_FALSE(IsIconic(hwnd)) << "restored";
  EXPECT_EQ(WindowText(hwnd), L"Version Information") << "resized since";

  // When its text has passed, the marquee hides and the credits show.
  TickToTheEnd(first.marquee());
  EXPECT_FALSE(IsWindowVisible(first.marquee().hwnd()));
  EXPECT_TRUE(IsWindowVisible(first.CreditLabel(0)));

  first.SakubunSPButton().Click();
  EXPECT_EQ(AboutBox::Get(), nullptr);
  EXPECT_FALSE(IsWindow(hwnd));

  // The editor's About command reaches the main window's handler.
  EditorWindow* editor = frame_->NewChild();
  SendMessageW(editor->hwnd(), WM_COMMAND, IDM_ABOUT, 0);
  PumpFor(20);
  AboutBox* again = AboutBox::Get();
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(WindowText(again->hwnd()), L"バージョン情報");
  EXPECT_TRUE(IsWindowVisible(again->marquee().hwnd()));
  EXPECT_TRUE(again->marquee().active()) << "the marquee scrolls again";
  DestroyFrame();
  EXPECT_EQ(AboutBox::Get(), nullptr) << "it goes with the main window";
}

TEST_F(AboutBoxTest, PlacementComesFromItsSectionAndIsSavedOnClosing) {
  WriteIni("[TAboutBox]\r\nPlaceNormalPos.Left=100\r\n");
  AboutBox& box = Open();
  RECT r{};
  GetWindowRect(box.hwnd(), &r);
  EXPECT_EQ(r.left, 100);
  EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2);
  SetWindowPos(box.hwnd(), nullptr, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  SendMessageW(box.hwnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(IniString(IniPath(), L"TAboutBox", L"PlaceNormalPos.Left"), L"40");
  EXPECT_EQ(IniString(IniPath(), L"TAboutBox", L"PlaceNormalPos.Top"), L"30");
}

TEST(Marquee, StartsOnlyWithLinesAndOnceThenScrollsThroughTheWholeStrip) {
  HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
  Marquee m;
  Panel::Look look = m.look();
  look.bevel_width = 1;
  look.text_color = RGB(0, 0, 255);
  m.SetLook(look);
  m.Create(parent, 1, 12, 20, 238, 69);
  int done = 0;
  bool strip_at_done = false;
  m.OnDone = [&] {
    ++done;
    strip_at_done = m.active() && m.strip();
  };

  m.StartScroll();
  EXPECT_FALSE(m.active()) << "no lines";
  m.StopScroll();
  EXPECT_EQ(done, 0);

  m.Items = {L"ボクを使ってくれて", L"ありがとう", L"今後とも よろしく !!"};
  m.StartScroll();
  ASSERT_TRUE(m.active());
  EXPECT_EQ(InkInView(m), 0) << "the lines start below the bottom edge";
  const HBITMAP strip = m.strip();
  int ticks = 0;
  for (; ticks < 3; ++ticks) Tick(m);
  m.StartScroll();
  EXPECT_EQ(m.offset(), 6) << "a second start changes nothing";
  EXPECT_EQ(m.strip(), strip);

  for (; m.offset() < m.line_height() + 4; ++ticks) Tick(m);
  EXPECT_GT(InkInView(m), 20) << "the first line has come up into the view";
  ticks += TickToTheEnd(m);
  EXPECT_EQ(ticks, (3 * m.line_height() + 69) / 2 + 1) << "every offset up to the strip's last view, then the end";
  EXPECT_EQ(done, 1);
  EXPECT_TRUE(strip_at_done);
  EXPECT_EQ(m.strip(), nullptr);
  DestroyWindow(parent);
}
