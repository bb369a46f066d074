// The word search's line scan against its byte-by-byte reference, and the
// result lines built from its hits; and the search of the same text in each
// encoding the editor opens against the reference that decodes the whole
// file, and against the text's Shift-JIS twin. The input chooses the options,
// the keyword and a stretch of filler lines in front of the data, so that
// short inputs still reach the window's slide point at 15,872 and its end at
// 16,384.
//   byte 0: bit 0 case-sensitive, bit 1 class check, bit 2 short reads,
//           bits 3-4 how often the data repeats (1, 2, 4 or 8 times),
//           bit 5 filler of line feeds alone (the line counters' worst case),
//           bit 6 filler of 0x81 bytes, the lead byte that is also a second
//           byte (where characters start, carried from window to window),
//           bit 7 the data and keyword are UTF-8 text (else Shift-JIS)
//   byte 1: bits 0-3 keyword length (0-12), bits 4-7 the encoding the text
//           is written in: Shift-JIS (the bytes as they are), UTF-8, UTF-8
//           with its mark, UTF-16 LE, UTF-16 BE
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
#include "platform/text_file.h"
#include "wordsearch/decoded_scan.h"
#include "wordsearch/engine.h"
#include "wordsearch/result_line.h"

using namespace velkor;

namespace {

class ShortReads : public ByteSource {
 public:
  ShortReads(std::string_view data, std::size_t piece) : inner_(data), piece_(piece) {}
  int Read(unsigned char* dst, int max) override {
    return inner_.Read(dst, std::min<int>(max, static_cast<int>(std::min<std::size_t>(piece_, 1 << 20))));
  }
  bool Rewind() override { return inner_.Rewind(); }

 private:
  MemorySource inner_;
  std::size_t piece_;
};

void Check(bool ok) {
  if (!ok) std::abort();
}

std::vector<scan_reference::TextHit> SearchText(const std::string& file, std::wstring_view keyword, bool case_sensitive,
                                                bool class_check, std::size_t piece) {
  const SearchKeyword key(keyword);
  FileScanner scanner(SearchKey{key.bytes(), EffectiveCaseSensitive(key.bytes(), case_sensitive), class_check});
  ShortReads source(file, piece);
  std::vector<scan_reference::TextHit> hits;
  SearchFileText(scanner, key, source, [&](long long line, std::string_view text, std::u32string_view stand_ins) {
    hits.push_back({line, std::string(text), ShownText(text, stand_ins)});
    return true;
  });
  return hits;
}

// The text of the file written in one of the five encodings, searched as
// the editor would open it.
void CheckDecoded(const std::string& file, const std::string& keyword_bytes, std::uint8_t flags, int encoding_choice,
                  std::size_t piece) {
  const bool utf8 = flags & 128;
  const std::wstring text = utf8 ? Utf8ToWide(file) : Cp932ToWide(file);
  const std::wstring keyword = utf8 ? Utf8ToWide(keyword_bytes) : Cp932ToWide(keyword_bytes);
  static constexpr DocEncoding kEncodings[] = {DocEncoding::ShiftJis, DocEncoding::Utf8, DocEncoding::Utf8Bom,
                                               DocEncoding::Utf16Le, DocEncoding::Utf16Be};
  const DocEncoding encoding = kEncodings[encoding_choice];
  const std::string written = encoding == DocEncoding::ShiftJis ? file : EncodeDocument(text, encoding).bytes;
  const bool case_sensitive = flags & 1, class_check = flags & 2;
  const auto got = SearchText(written, keyword, case_sensitive, class_check, piece);
  Check(got == scan_reference::ScanDecoded(written, keyword, case_sensitive, class_check));
  // Without characters that Shift-JIS lacks, the text finds in any encoding
  // what its Shift-JIS twin finds.
  const Cp932Bytes twin = WideToCp932(text);
  if (encoding != DocEncoding::ShiftJis && twin.lost == 0 && RecogniseEncoding(twin.bytes) == DocEncoding::ShiftJis)
    Check(got == SearchText(twin.bytes, keyword, case_sensitive, class_check, piece));
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
  const std::size_t key_len = (data[1] & 15) % 13;
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
  CheckDecoded(file, key.keyword, flags, (data[1] >> 4) % 5, (flags & 4) ? 1 + (filler % 7001) : 1 << 20);
  return 0;
}
