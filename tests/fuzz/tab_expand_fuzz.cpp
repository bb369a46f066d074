// Tab expansion: no tab is left, every other byte stays, and each tab becomes
// the spaces up to the next tab stop, columns counted from the last line feed.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "editor/text_tools.h"
#include "fuzz/fuzz_check.h"

using namespace velkor;
using velkor::fuzz::Check;

namespace {

void CheckExpansion(std::string_view in, int columns) {
  const std::string out = ExpandTabs(in, columns);
  Check(!ContainsTab(out), "a tab is left");
  std::size_t o = 0;
  long long col = 0;
  std::size_t tabs = 0, spaces = 0;
  for (const char b : in) {
    if (b != '\t') {
      Check(o < out.size() && out[o] == b, "a byte changed");
      ++o;
      col = b == '\n' ? 0 : col + 1;
      continue;
    }
    std::size_t run = 0;
    while (o < out.size() && out[o] == ' ' && run < static_cast<std::size_t>(columns)) {
      ++o;
      ++run;
      ++col;
      if (col % columns == 0) break;
    }
    Check(run >= 1 && col % columns == 0, "a tab does not end at a tab stop");
    ++tabs;
    spaces += run;
  }
  Check(o == out.size(), "output longer than the expansion");
  Check(out.size() == in.size() - tabs + spaces, "length");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view in(reinterpret_cast<const char*>(data), size);
  CheckExpansion(in, 8);
  CheckExpansion(in, 4);
  Check(ContainsTab(in) == (in.find('\t') != std::string_view::npos), "ContainsTab");
  return 0;
}
