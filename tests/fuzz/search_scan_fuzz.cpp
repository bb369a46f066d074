// The word search's line scan against its byte-by-byte reference, and the
// result lines built from its hits. The input chooses the options, the
// keyword and a stretch of filler lines in front of the data, so that short
// inputs still reach the window's slide point at 15,872 and its end at 16,384.
//   byte 0: bit 0 case-sensitive, bit 1 class check, bit 2 short reads,
//           bits 3-4 how often the data repeats (1, 2, 4 or 8 times),
//           bit 5 filler of line feeds alone (the line counters' worst case),
//           bit 6 filler of 0x81 bytes, the lead byte that is also a second
//           byte (where characters start, carried from window to window)
//   byte 1: keyword length (0-12)
//   bytes 2-3: filler length (0-32,999); byte 4: filler bytes after its last
//           line feed, in fours
//   then the keyword, then the data
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "../native/search_scan_reference.h"
#include "platform/text.h"
#include "wordsearch/engine.h"
#include "wordsearch/result_line.h"

using namespace velkor;

namespace {

class ShortReads : public ByteSource {
 public:
  ShortReads(std::string_view data, std::size_t piece) : inner_(data), piece_(piece) {}
  int Read(unsigned char* dst, int max) override {
    return inner_.Read(dst, std::min<int>(max, static_cast<int>(piece_)));
  }

 private:
  MemorySource inner_;
  std::size_t piece_;
};

void Check(bool ok) {
  if (!ok) std::abort();
}

void CheckResultLine(const scan_reference::Hit& hit) {
  ResultLineBuilder builder;
  const std::string path = "C:\\dir\\" + hit.text.substr(0, 30) + ".txt";
  const SearchHit line = builder.Make(path, hit.line, "26/12/08", " 9:05:06", hit.text);
  // Columns stay in place whatever the text holds, and read back as written.
  if (hit.line <= 999999) {
    Check(line.text.compare(160, std::string::npos, path) == 0);
    Check(ResultLineNumber(line.text) == hit.line);
  }
  const std::string_view cut = CutColumns(hit.text, kResultTextWidth);
  Check(cut.size() <= kResultTextWidth && hit.text.compare(0, cut.size(), cut) == 0);
  std::size_t i = 0;
  while (i < cut.size()) i += IsLeadByte(static_cast<unsigned char>(cut[i])) ? 2 : 1;
  Check(i == cut.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 5) return 0;
  const std::uint8_t flags = data[0];
  const std::size_t key_len = data[1] % 13;
  const std::size_t filler = (data[2] | (data[3] << 8)) % 33000;
  const std::size_t open_tail = std::min<std::size_t>(filler, data[4] * 4u);
  if (size < 5 + key_len) return 0;

  SearchKey key;
  key.keyword.assign(reinterpret_cast<const char*>(data + 5), key_len);
  key.case_sensitive = flags & 1;
  key.class_check = flags & 2;

  std::string file(filler, (flags & 64) ? '\x81' : 'x');
  const std::size_t filler_line = (flags & 32) ? 1 : 80;
  for (std::size_t p = filler_line - 1; p + open_tail < filler; p += filler_line) file[p] = '\n';
  if (open_tail < filler) file[filler - open_tail - 1] = '\n';
  const std::string payload(reinterpret_cast<const char*>(data + 5 + key_len), size - 5 - key_len);
  for (int n = 1 << ((flags >> 3) & 3); n > 0; --n) file += payload;

  MemorySource ref_source(file);
  const std::vector<scan_reference::Hit> expected = scan_reference::Scan(ref_source, key);

  std::vector<scan_reference::Hit> got;
  FileScanner scanner(key);
  const auto sink = [&](long long line, std::string_view text) {
    got.push_back({line, std::string(text)});
    return true;
  };
  if (flags & 4) {
    ShortReads source(file, 1 + (filler % 7001));
    scanner.Scan(source, sink);
  } else {
    MemorySource source(file);
    scanner.Scan(source, sink);
  }
  Check(got == expected);
  for (const auto& hit : got) {
    Check(hit.text.size() <= 255);
    CheckResultLine(hit);
  }
  return 0;
}
