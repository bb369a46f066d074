// The fast byte scan and Replace All against the step-by-step reference.
// Input: options, selection start and length, search and replace lengths,
// then the search text, the replace text and the text.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "../native/editor_search_reference.h"
#include "controls/text_search.h"
#include "fuzz/fuzz_check.h"

using namespace velkor;
using velkor::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 5) return 0;
  const SearchOptions o{(data[0] & 1) != 0, (data[0] & 2) != 0, (data[0] & 4) != 0};
  const bool from_end = (data[0] & 8) != 0;
  const std::size_t m = 1 + data[3] % 8;
  const std::size_t r = data[4] % 8;
  if (size < 5 + m + r) return 0;
  const std::string search(reinterpret_cast<const char*>(data + 5), m);
  const std::string replace(reinterpret_cast<const char*>(data + 5 + m), r);
  std::size_t n = size - 5 - m - r;
  if (n > 2048) n = 2048;
  // The text in a buffer of its own size, so a read past it shows.
  std::unique_ptr<unsigned char[]> buffer(new unsigned char[n ? n : 1]);
  std::copy(data + 5 + m + r, data + 5 + m + r + n, buffer.get());
  const std::string text(reinterpret_cast<const char*>(buffer.get()), n);
  const int start = static_cast<std::int8_t>(data[1]) + (from_end ? static_cast<int>(n) : 0);
  const int length = static_cast<std::int8_t>(data[2]);

  const int got = ScanTextBuffer(buffer.get(), static_cast<int>(n), start, length, search, o);
  Check(got == reference::ScanTextBuffer(text, start, length, search, o), "ScanTextBuffer");

  const ReplaceAllResult want = reference::ReplaceAll(text, start, length, search, replace, o);
  const ReplaceAllResult all = ReplaceAllInBuffer(text, start, length, search, replace, o);
  Check(all == want, "ReplaceAllInBuffer");
  Check(all.replaced <= static_cast<int>(n / m) + 1, "ReplaceAllInBuffer count bound");
  return 0;
}
