// A file's bytes decoded as a document and encoded again: the same bytes, or
// the decoding named the first place where they would differ (or the text
// stopped at a NUL). The text always has CR LF line breaks alone.
#include <cstdint>
#include <string>

#include "fuzz/fuzz_check.h"
#include "platform/text_file.h"

using namespace velkor;
using velkor::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const DecodedDocument d = DecodeDocument(bytes);
  Check(RecogniseEncoding(bytes) == d.encoding, "one recognition of the encoding");
  for (std::size_t i = 0; i < d.text.size(); ++i) {
    if (d.text[i] == L'\r') Check(i + 1 < d.text.size() && d.text[i + 1] == L'\n', "a CR alone");
    if (d.text[i] == L'\n') Check(i > 0 && d.text[i - 1] == L'\r', "an LF alone");
    Check(d.text[i] != L'\0', "a NUL in the text");
  }
  const bool named = d.change != DecodedDocument::Change::kNone;
  Check(named == (d.changed_at != std::wstring::npos), "a change without its place");
  if (named) Check(d.changed_at <= d.text.size(), "a place past the text");
  const EncodedDocument e = EncodeDocument(d.text, d.encoding, d.breaks);
  if (!named && !d.cut_at_nul) {
    Check(e.lost == 0, "a loss not named at decoding");
    Check(e.bytes == bytes, "other bytes with no change named");
  }
  return 0;
}
