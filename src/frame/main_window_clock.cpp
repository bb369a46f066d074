// The main window's one-second tick: the clock at the right end of the title
// bar, the task-bar title that turns into a clock while minimized, the
// mascot's glyph every five seconds; and the stripes of the client area.
#include "frame/main_window.h"


#include "frame/caption_clock.h"
#include "frame/clock_logic.h"
#include "launcher/friends_window.h"
#include "ui/app.h"

namespace velkor {
namespace {

constexpr wchar_t kTitle[] = L"ベルコノート";

HICON ProgramIcon(const wchar_t* name, int size) {
  return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_ICON, size, size, LR_SHARED));
}

}  // namespace

void MainWindow::Timer1Timer() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  Timer1Timer(now);
}

void MainWindow::Timer1Timer(const SYSTEMTIME& now) {
  clock_text_ = ClockTextOf(now.wHour, now.wMinute, now.wSecond);
  const wchar_t d = clock_text_.back();
  if (IsIconic(hwnd())) {
    // The task bar reads the clock and the mascot's names alone, without
    // the name of a maximized document.
    switch (TitleStepOf(d)) {
      case TitleStep::MascotName:
        SetTaskbarLook(L"MAINICON", L"ベルコ君", true);
        break;
      case TitleStep::YourFriends:
        SetTaskbarLook(L"SICON_3", L"Your Friends", true);
        break;
      case TitleStep::Time:
        ShowTitle(clock_text_, true);
        break;
    }
  } else {
    // Restored: the program's title and icon, set only when they changed, so
    // the tick never redraws the frame.
    SetTaskbarLook(L"MAINICON", kTitle, false);
  }
  PaintCaptionClock();
  MascotStep(d);
}

void MainWindow::ShowTitle(const std::wstring& title, bool bare) {
  // Compared with what the frame shows: with a maximized editor the frame
  // puts " - [" and the document's name after its own title, and a bare
  // title may have been composed over since.
  const std::wstring shown = WindowText(hwnd());
  const bool showing = bare ? shown == title : shown.starts_with(title);
  if (title == title_ && bare == title_bare_ && showing) return;
  bare_title_ = bare;
  SetWindowTextW(hwnd(), title.c_str());
  bare_title_ = false;
}

void MainWindow::SetTaskbarLook(const wchar_t* icon, const wchar_t* title, bool bare) {
  ShowTitle(title, bare);
  if (taskbar_icon_ != icon) {
    taskbar_icon_ = icon;
    SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(ProgramIcon(icon, GetSystemMetrics(SM_CXICON))));
    SendMessageW(hwnd(), WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(ProgramIcon(icon, GetSystemMetrics(SM_CXSMICON))));
  }
}

void MainWindow::PaintCaptionClock() {
  if (!caption_clock_) caption_clock_ = std::make_unique<CaptionClock>(hwnd());
  caption_clock_->Show(clock_text_, caption_active_);
}

RECT MainWindow::CaptionClockRect() const { return caption_clock_ ? caption_clock_->band() : RECT{}; }

void MainWindow::PlaceCaptionClock() {
  if (caption_clock_) caption_clock_->Place();
}

void MainWindow::MascotStep(wchar_t d) {
  // The friends window, while open and not minimized, takes the mascot over.
  if (FriendsWindow* friends = FriendsWindow::Get(); friends && !IsIconic(friends->hwnd())) {
    friends->MascotStep(d);
    return;
  }
  if (IsIconic(hwnd())) return;
  if (d == L'5')
    vels_button_.SetIconResourceGlyph(L"MAINICON");
  else if (d == L'0')
    vels_button_.SetIconResourceGlyph(L"SICON_3");
}

void MainWindow::InstallStripes() {
  client_control_.Attach(client_);
}

// The client area's background: four bands of stripes in colours from a
// generator that every run starts alike. Only stripes that meet the area
// being erased are painted; the colours move on for every stripe all the same,
// so a partial erase does not change the sequence.
void MainWindow::PaintStripes(HDC dc) {
  RECT client{}, clip{};
  GetClientRect(hwnd(), &client);
  if (GetClipBox(dc, &clip) == ERROR) clip = client;
  for (const StripeRect& s : StripeLayout(client.right, client.bottom)) {
    const StripeColors::Rgb c = stripe_colors_.Next();
    const RECT r{s.left, s.top, s.right, s.bottom};
    RECT meet{};
    if (!IntersectRect(&meet, &r, &clip)) continue;
    ScopedBrush brush(CreateSolidBrush(RGB(c.r, c.g, c.b)));
    FillRect(dc, &r, brush.get());
  }
}

LRESULT MainWindow::ClientMessage(OwnedControl<MainWindow>& control, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_ERASEBKGND) {
    PaintStripes(reinterpret_cast<HDC>(wp));
    return 1;
  }
  return control.CallDefault(msg, wp, lp);
}

}  // namespace velkor
