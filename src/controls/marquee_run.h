#pragma once
// The arithmetic of one marquee run over its strip, apart from the window:
// the strip is one control height of blank space, the lines, and another
// control height of blank space; the offset is the strip row shown at the
// control's top edge and moves two rows per tick.
#include <optional>

namespace velkor {

struct MarqueeRun {
  static constexpr int kStep = 2;

  int line_height = 0;
  int line_count = 0;
  int height = 0;  // the control's full height
  bool scroll_down = false;

  // Pixels per line for a font's text height and internal leading.
  static int LineHeight(int text_height, int internal_leading) { return text_height + internal_leading + 5; }

  int StripHeight() const { return line_count * line_height + 2 * height; }
  // Scrolling up starts with the blank space above the lines in view (the
  // first line enters at the bottom edge); scrolling down with the blank
  // space below them.
  int StartOffset() const { return scroll_down ? StripHeight() - height : 0; }
  // The offset after one tick, or nothing when the run is over. Both ways the
  // run crosses the whole strip, so every line has passed through the view
  // before the end is reported.
  std::optional<int> Next(int offset) const;
};

}  // namespace velkor
