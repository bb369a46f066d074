#include "controls/split_logic.h"

#include <algorithm>

namespace velkor {

int SplitHostSize(SplitSide side, int bar, int host_size, int room) {
  const int size = side == SplitSide::Top || side == SplitSide::Left ? bar : host_size - bar;
  return std::clamp(size, 0, std::max(room, 0));
}

}  // namespace velkor
