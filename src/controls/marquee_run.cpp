#include "controls/marquee_run.h"

namespace velkor {

std::optional<int> MarqueeRun::Next(int offset) const {
  if (scroll_down) {
    if (offset < kStep) return std::nullopt;
    return offset - kStep;
  }
  // The last step still leaves a whole control height of strip below the offset.
  if (offset > line_count * line_height + height - kStep) return std::nullopt;
  return offset + kStep;
}

}  // namespace velkor
