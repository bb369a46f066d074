#pragma once
// Rules of the main window's clock, task-bar title and client stripes that
// need no window: the clock text, what a tick shows while minimized, where
// the clock stands in the title bar, and the stripes' bands and colours.
#include <cstdint>
#include <string>
#include <vector>

namespace velkor {

// "hh:nn:ss", 24-hour, always with literal colons.
std::wstring ClockTextOf(int hour, int minute, int second);

// What the task-bar title shows at a tick while minimized, by the ones digit
// of the seconds: the mascot's name at 0, "Your Friends" at 5, the time otherwise.
enum class TitleStep { MascotName, YourFriends, Time };
TitleStep TitleStepOf(wchar_t seconds_digit);

// The title bar's room for the clock, in window coordinates.
struct CaptionFrame {
  int frame_cx = 0;      // SM_CXFRAME
  int frame_cy = 0;      // SM_CYFRAME
  int small_icon = 0;    // SM_CXSMICON
  int caption = 0;       // SM_CYCAPTION
  int window_width = 0;
  bool border = true;    // any border but none
  bool sizeable_or_single = true;
  bool system_menu = true;
  bool minimize_box = true;
  bool maximize_box = true;
  bool help_box = false;
};
struct ClockBand {
  int top = 0;
  int bottom = 0;
  int right = 0;
};
// False for a window without a border: no clock.
bool CaptionClockBand(const CaptionFrame& f, ClockBand& band);

// The client area's stripes: four vertical bands, 16, 32, 32 and 16 pixels
// high, from the top until the height is covered.
struct StripeRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const StripeRect&) const = default;
};
std::vector<StripeRect> StripeLayout(int width, int height);

// The stripes' colours: a fixed-seed generator, so every run shows the same
// sequence; each component 0..254.
class StripeColors {
 public:
  struct Rgb {
    int r = 0, g = 0, b = 0;
  };
  Rgb Next();

 private:
  uint32_t state_ = 0x2545F491u;
  int Component();
};

}  // namespace velkor
