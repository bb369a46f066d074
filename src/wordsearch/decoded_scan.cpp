#include "wordsearch/decoded_scan.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <deque>
#include <memory>
#include <stdexcept>
#include <type_traits>
#include <vector>

#include "platform/text.h"

namespace velkor {
namespace {

// The first pieces of a file, while its encoding is recognised, are read in
// pieces of this size.
constexpr std::size_t kPiece = 16384;
// A file taken for UTF-8 or UTF-16 is read in batches of this size.
constexpr std::size_t kBatch = 65536;
// Before a file is taken for UTF-8, the bytes after its first one that is not
// ASCII are looked at this far (or to the end): Shift-JIS text gives itself
// away within a few characters, so a wrong guess, which costs a second
// reading of the file, is left to files that are UTF-8 for that long.
constexpr std::size_t kLookAhead = 4096;
// The bytes left of a batch that are moved to the front before the next one
// is read behind them: a sequence cut by the batch's end, and a little more.
constexpr std::size_t kRefillBelow = 64;
// A hit's text holds at most this many bytes from its line's start,
// carriage returns not counted.
constexpr std::size_t kTextMax = FileScanner::kLineMax;

// Thrown by the reading when a file taken for UTF-8 turns out not to be.
struct NotUtf8 {};

// Bytes looked at together: as many as a register holds.
using Word = std::conditional_t<sizeof(void*) >= 8, std::uint64_t, std::uint32_t>;
constexpr std::size_t kWord = sizeof(Word);
constexpr Word kHighBits = static_cast<Word>(0x8080808080808080ull);
constexpr Word kLowBits = static_cast<Word>(0x0101010101010101ull);

bool HasByte(Word w, unsigned char b) {
  const Word x = w ^ (kLowBits * b);
  return ((x - kLowBits) & ~x & kHighBits) != 0;
}

// The ASCII bytes at the start of a word, given their high bits.
std::size_t AsciiAtStart(Word high) {
  if constexpr (std::endian::native == std::endian::little) return static_cast<std::size_t>(std::countr_zero(high)) / 8;
  return static_cast<std::size_t>(std::countl_zero(high)) / 8;
}

Word LoadWord(const unsigned char* p) {
  Word w;
  std::memcpy(&w, p, kWord);
  return w;
}

// The stand-ins of one line's text: the characters code page 932 lacks among
// its first kTextMax bytes, in their order.
struct LineStandIns {
  long long line;
  std::u32string chars;
};

// The file's text in code page 932 form, for the line scan. A file that the
// recognition settles as Shift-JIS passes as it is; so does one that is all
// ASCII so far, which reads the same in every encoding but UTF-16. A file
// taken for UTF-8 or UTF-16 is decoded straight into the scan's window.
class DecodingSource : public ByteSource {
 public:
  // raw: kRawSize bytes.
  // needle, when given, lets the lines of a UTF-8 file that cannot hold the
  // keyword pass as their line feeds alone.
  DecodingSource(ByteSource& file, const SearchKeyword& keyword, bool shift_jis, unsigned char* raw,
                 const Utf8Needle* needle)
      : file_(file), keyword_(keyword), forms_(Cp932FormTable()), shift_jis_(shift_jis), raw_(raw), needle_(needle) {}

  static constexpr std::size_t kRawSize = kBatch + 2 * kPiece + kLookAhead;

  int Read(unsigned char* dst, int max) override;
  void LinesDone(long long line) override {
    while (!lines_.empty() && lines_.front().line < line) lines_.pop_front();
  }

  // The text so far stands on the guess that the file is UTF-8.
  bool guessing() const { return guessing_; }
  DocEncoding encoding() const { return encoding_; }
  std::u32string_view StandInsOf(long long line) const {
    const auto at = std::lower_bound(lines_.begin(), lines_.end(), line,
                                     [](const LineStandIns& l, long long n) { return l.line < n; });
    return at != lines_.end() && at->line == line ? std::u32string_view(at->chars) : std::u32string_view();
  }

 private:
  enum class Mode { Ascii, Bytes, Utf8, Utf16 };

  std::size_t RawLeft() const { return raw_end_ - raw_pos_; }
  void Start();
  bool ReadPiece(std::size_t size);
  void Recognise(std::size_t up_to);
  void Guess();
  std::size_t Decode(unsigned char* o, unsigned char* o_end);
  std::size_t DecodeLines(unsigned char* o, unsigned char* o_end);
  int Hand(const unsigned char* from, std::size_t count, unsigned char* dst, int max);

  unsigned char* DecodeUtf8(const unsigned char*& p, const unsigned char* end, unsigned char* o,
                            unsigned char* o_end, bool end_is_final);
  unsigned char* DecodeUtf16(const unsigned char*& p, const unsigned char* end, unsigned char* o,
                             unsigned char* o_end);
  // Brings the line and column of the decoding up to date over text made
  // since the last time: a line feed starts a line, a carriage return takes
  // no column.
  void Track(const unsigned char* from, const unsigned char* to) {
    const unsigned char* line_start = nullptr;
    for (const unsigned char* q = from; q < to;) {
      if (static_cast<std::size_t>(to - q) >= kWord && !HasByte(LoadWord(q), '\n')) {
        q += kWord;
        continue;
      }
      if (*q++ == '\n') {
        ++line_;
        line_start = q;
      }
    }
    if (line_start) {
      column_ = 0;
      from = line_start;
    }
    std::size_t returns = 0;
    for (const unsigned char* q = from; q < to;) {
      if (static_cast<std::size_t>(to - q) >= kWord && !HasByte(LoadWord(q), '\r')) {
        q += kWord;
        continue;
      }
      returns += *q++ == '\r';
    }
    column_ += static_cast<std::size_t>(to - from) - returns;
  }
  // A character with a form of its own (form), or none (kNoCp932Form).
  unsigned char* PutOther(unsigned char* o, char32_t c, std::uint16_t form) {
    if (form == kNoCp932Form) return PutStandIn(o, c);
    if (form < 0x100) {
      *o++ = static_cast<unsigned char>(form);
      return o;
    }
    o[0] = static_cast<unsigned char>(form >> 8);
    o[1] = static_cast<unsigned char>(form & 0xFF);
    return o + 2;
  }
  // A character that code page 932 lacks, kept for its line when the line's
  // text as a hit shows it.
  unsigned char* PutStandIn(unsigned char* o, char32_t c) {
    Track(tracked_, o);
    tracked_ = o + 2;
    if (column_ < kTextMax) {
      if (lines_.empty() || lines_.back().line != line_) lines_.push_back({line_, {}});
      lines_.back().chars.push_back(c);
    }
    column_ += 2;
    const Cp932Char stand_in = StandInBytes(keyword_.StandInOf(c));
    o[0] = stand_in.bytes[0];
    o[1] = stand_in.bytes[1];
    return o + 2;
  }

  ByteSource& file_;
  const SearchKeyword& keyword_;
  const std::uint16_t* forms_;
  bool shift_jis_;
  bool started_ = false;
  Mode mode_ = Mode::Ascii;
  DocEncoding encoding_ = DocEncoding::ShiftJis;
  bool guessing_ = false;
  EncodingRecogniser recogniser_;

  unsigned char* raw_;  // bytes of the file not passed on yet
  const Utf8Needle* needle_;
  // The line under way is decoded whole: the needle is in it, or it began
  // before the needle was looked for.
  bool whole_line_ = false;
  std::size_t raw_pos_ = 0, raw_end_ = 0;
  std::size_t recognised_ = 0;  // raw_ up to here went through the recognition
  bool file_end_ = false;

  // Decoded text for a read too small to take a character, not handed to the
  // scan yet.
  std::vector<unsigned char> out_;
  std::size_t out_pos_ = 0, out_end_ = 0;

  // Where the decoding stands in the text: its line, and the bytes of that
  // line so far without carriage returns, up to tracked_ in the text made by
  // the decoding under way.
  long long line_ = 1;
  std::size_t column_ = 0;
  const unsigned char* tracked_ = nullptr;
  std::deque<LineStandIns> lines_;
};

// Reads up to size bytes behind the bytes left; false at the end of the file.
bool DecodingSource::ReadPiece(std::size_t size) {
  if (file_end_) return false;
  if (raw_pos_ > 0) {
    std::memmove(raw_, raw_ + raw_pos_, RawLeft());
    recognised_ = std::max(recognised_, raw_pos_) - raw_pos_;
    raw_end_ -= raw_pos_;
    raw_pos_ = 0;
  }
  const std::size_t room = std::min(size, kRawSize - raw_end_);
  const int got = file_.Read(raw_ + raw_end_, static_cast<int>(room));
  if (got < 0 || static_cast<std::size_t>(got) > room) throw std::runtime_error("ByteSource::Read returned a bad count");
  raw_end_ += static_cast<std::size_t>(got);
  file_end_ = got == 0;
  return got > 0;
}

// Recognises raw_ up to up_to (or its end): what the recognition has not
// settled by then, the decoding checks.
void DecodingSource::Recognise(std::size_t up_to) {
  up_to = std::min(up_to, raw_end_);
  if (up_to > recognised_)
    recogniser_.Add(std::string_view(reinterpret_cast<const char*>(raw_) + recognised_, up_to - recognised_));
  recognised_ = std::max(recognised_, up_to);
  if (file_end_ && recognised_ == raw_end_) recogniser_.Finish();
}

void DecodingSource::Start() {
  started_ = true;
  if (shift_jis_) {
    mode_ = Mode::Bytes;
    return;
  }
  while (RawLeft() < 3 && ReadPiece(kPiece)) {
  }
  Recognise(kLookAhead);
  if (!recogniser_.settled()) return;  // ASCII until its first other byte
  encoding_ = recogniser_.encoding();
  switch (encoding_) {
    case DocEncoding::Utf8Bom:
      raw_pos_ += 3;
      mode_ = Mode::Utf8;
      break;
    case DocEncoding::Utf16Le:
    case DocEncoding::Utf16Be:
      raw_pos_ += 2;
      mode_ = Mode::Utf16;
      break;
    case DocEncoding::Utf8:
      mode_ = Mode::Utf8;  // the whole file was in the first piece
      break;
    case DocEncoding::ShiftJis:
      mode_ = Mode::Bytes;
      break;
  }
}

// At the first byte that is not ASCII, with the bytes from it on in raw_.
// From here on a file taken for UTF-8 is checked by its decoding, which
// finds a byte that is no UTF-8 where the recognition would.
void DecodingSource::Guess() {
  while (RawLeft() < kLookAhead && ReadPiece(kPiece)) {
  }
  Recognise(raw_pos_ + kLookAhead);
  if (recogniser_.settled() && recogniser_.encoding() != DocEncoding::Utf8) {
    mode_ = Mode::Bytes;
    encoding_ = DocEncoding::ShiftJis;
    return;
  }
  mode_ = Mode::Utf8;
  encoding_ = DocEncoding::Utf8;
  guessing_ = !recogniser_.settled();
  whole_line_ = true;  // its start has passed as ASCII
}

int DecodingSource::Hand(const unsigned char* from, std::size_t count, unsigned char* dst, int max) {
  const std::size_t n = std::min(count, static_cast<std::size_t>(max));
  std::memcpy(dst, from, n);
  return static_cast<int>(n);
}

int DecodingSource::Read(unsigned char* dst, int max) {
  if (!started_) Start();
  for (;;) {
    if (out_pos_ < out_end_) {
      const int n = Hand(out_.data() + out_pos_, out_end_ - out_pos_, dst, max);
      out_pos_ += static_cast<std::size_t>(n);
      return n;
    }
    switch (mode_) {
      case Mode::Bytes: {
        // A keyword with a character that code page 932 lacks is in no Shift-JIS file.
        if (keyword_.lacks_cp932()) return 0;
        if (RawLeft() == 0) return file_.Read(dst, max);
        const int n = Hand(raw_ + raw_pos_, RawLeft(), dst, max);
        raw_pos_ += static_cast<std::size_t>(n);
        return n;
      }
      case Mode::Ascii: {
        const unsigned char* data = raw_ + raw_pos_;
        std::size_t count = RawLeft();
        const bool direct = count == 0;
        if (direct) {
          // No more than raw_ takes in front of the look-ahead.
          const int got = file_.Read(dst, std::min(max, static_cast<int>(kPiece)));
          if (got <= 0) return got;
          data = dst;
          count = static_cast<std::size_t>(got);
        }
        const std::size_t ascii = static_cast<std::size_t>(
            std::find_if(data, data + count, [](unsigned char b) { return b >= 0x80; }) - data);
        if (direct) {
          if (ascii < count) {
            std::memcpy(raw_, dst + ascii, count - ascii);
            raw_pos_ = recognised_ = 0;
            raw_end_ = count - ascii;
          }
        } else if (ascii > 0) {
          const int n = Hand(data, ascii, dst, max);
          raw_pos_ += static_cast<std::size_t>(n);
          Track(dst, dst + n);
          return n;
        }
        if (ascii < count) Guess();
        Track(dst, dst + ascii);
        if (ascii > 0) return static_cast<int>(ascii);
        break;
      }
      case Mode::Utf8:
      case Mode::Utf16: {
        if (RawLeft() < kRefillBelow) ReadPiece(kBatch);
        // Each byte makes at most two (a byte that is no character becomes
        // U+FFFD), and each character at most two: a read with room for two
        // takes the text straight in.
        const bool direct = max >= 2;
        if (!direct) out_.resize(16);
        unsigned char* o = direct ? dst : out_.data();
        unsigned char* const o_end = o + (direct ? static_cast<std::size_t>(max) : out_.size());
        const std::size_t made = mode_ == Mode::Utf8 && needle_ ? DecodeLines(o, o_end) : Decode(o, o_end);
        if (made == 0) {
          if (file_end_ && RawLeft() == 0) return 0;
          if (!ReadPiece(kBatch) && RawLeft() == 0) return 0;
          continue;
        }
        if (direct) return static_cast<int>(made);
        out_pos_ = 0;
        out_end_ = made;
        break;
      }
    }
  }
}

// Decodes what raw_ holds into [o, o_end), which has room for two bytes at
// least; the count made. A sequence cut by the end of raw_ waits for the
// next batch, unless the file ends there.
std::size_t DecodingSource::Decode(unsigned char* o, unsigned char* o_end) {
  const unsigned char* p = raw_ + raw_pos_;
  const unsigned char* end = raw_ + raw_end_;
  tracked_ = o;
  unsigned char* const begin = o;
  o = mode_ == Mode::Utf8 ? DecodeUtf8(p, end, o, o_end, file_end_) : DecodeUtf16(p, end, o, o_end);
  Track(tracked_, o);
  raw_pos_ = static_cast<std::size_t>(p - raw_);
  if (file_end_ && p == end && guessing_) guessing_ = false;  // UTF-8 to its end
  return static_cast<std::size_t>(o - begin);
}

// A sequence cut by end waits for more bytes unless end_is_final.
unsigned char* DecodingSource::DecodeUtf8(const unsigned char*& pos, const unsigned char* end, unsigned char* o,
                                          unsigned char* o_end, bool end_is_final) {
  const unsigned char* p = pos;
  const std::uint16_t* const forms = forms_;
  for (;;) {
    // With room for a word each way: ASCII a word at a time, and
    // the sequences of two and three bytes (the basic plane but the
    // surrogates) that text is mostly made of.
    while (static_cast<std::size_t>(end - p) >= kWord && static_cast<std::size_t>(o_end - o) >= kWord) {
      const Word w = LoadWord(p);
      std::memcpy(o, &w, kWord);
      const Word high = w & kHighBits;
      if (high == 0) {
        p += kWord;
        o += kWord;
        continue;
      }
      const std::size_t ascii = AsciiAtStart(high);
      p += ascii;
      o += ascii;
      if (o_end - o < 2) break;
      const unsigned b = p[0];
      char32_t c;
      if ((b & 0xF0) == 0xE0) {
        if (end - p < 3 || (p[1] & 0xC0) != 0x80 || (p[2] & 0xC0) != 0x80) break;
        c = static_cast<char32_t>((b & 0x0F) << 12 | (p[1] & 0x3F) << 6 | (p[2] & 0x3F));
        if (c < 0x800 || (c >= 0xD800 && c <= 0xDFFF)) break;
        p += 3;
      } else if (b >= 0xC2 && b < 0xE0) {
        if (end - p < 2 || (p[1] & 0xC0) != 0x80) break;
        c = static_cast<char32_t>((b & 0x1F) << 6 | (p[1] & 0x3F));
        p += 2;
      } else {
        break;
      }
      const std::uint16_t form = forms[c];
      if (form > 0xFF && form != kNoCp932Form) {
        o[0] = static_cast<unsigned char>(form >> 8);
        o[1] = static_cast<unsigned char>(form & 0xFF);
        o += 2;
      } else {
        o = PutOther(o, c, form);
      }
    }
    // One character the loop above leaves, or the last few.
    if (p >= end || o_end - o < 2) break;
    const unsigned char b = *p;
    if (b < 0x80) {
      *o++ = *p++;
      continue;
    }
    // A sequence cut by the end of the batch waits for the next one.
    if (!end_is_final && Utf8SequenceLength(b) > static_cast<std::size_t>(end - p)) break;
    char32_t c = 0xFFFD;
    std::size_t len = DecodeUtf8Sequence(p, end, c);
    if (len == 0) {
      if (guessing_) throw NotUtf8{};
      c = 0xFFFD;
      len = 1;
    }
    o = PutOther(o, c, c < 0x10000 ? forms[c] : kNoCp932Form);
    p += len;
  }
  pos = p;
  return o;
}

// Decodes the lines of raw_ in which the needle stands, and of the others
// gives their line feeds alone: no line without the needle can hold the
// keyword, and the scan needs no more of it than its end. While the file is
// only taken for UTF-8, those lines are still checked. Like Decode, but a
// line that the end of raw_ cuts waits for its end.
std::size_t DecodingSource::DecodeLines(unsigned char* o, unsigned char* o_end) {
  unsigned char* const begin = o;
  const unsigned char* p = raw_ + raw_pos_;
  const unsigned char* const end = raw_ + raw_end_;
  while (p < end && o < o_end) {
    if (whole_line_) {
      if (o_end - o < 2) break;
      const auto* feed = static_cast<const unsigned char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
      const unsigned char* const stop = feed ? feed + 1 : end;
      tracked_ = o;
      o = DecodeUtf8(p, stop, o, o_end, feed != nullptr || file_end_);
      Track(tracked_, o);
      if (p != stop) break;  // no room left, or a sequence waits for the next batch
      whole_line_ = feed == nullptr;
      continue;
    }
    const unsigned char* const found = needle_->Find(p, end);
    // The whole lines before the needle's, or all of them; at the end of the
    // file also the last one.
    const unsigned char* skip_end = found;
    while (skip_end > p && skip_end[-1] != '\n') --skip_end;
    if (found == end && file_end_) skip_end = end;
    if (skip_end > p) {
      std::size_t feeds = 0;
      if (!guessing_) {
        feeds = CountLineFeeds(p, skip_end);
      } else if (!CheckUtf8Lines(p, skip_end, feeds)) {
        throw NotUtf8{};
      }
      const auto room = static_cast<std::size_t>(o_end - o);
      if (feeds > room) {
        feeds = 0;
        for (skip_end = p; feeds < room; ++skip_end) feeds += *skip_end == '\n';
      }
      std::memset(o, '\n', feeds);
      o += feeds;
      line_ += static_cast<long long>(feeds);
      if (feeds > 0) column_ = 0;
      p = skip_end;
      continue;
    }
    // p starts the needle's line, or a line that the end of raw_ cuts.
    const auto* feed = found == end ? nullptr
                                    : static_cast<const unsigned char*>(
                                          std::memchr(found, '\n', static_cast<std::size_t>(end - found)));
    if (!feed && !file_end_ && static_cast<std::size_t>(end - p) <= kBatch) break;  // wait for its end
    whole_line_ = true;
  }
  raw_pos_ = static_cast<std::size_t>(p - raw_);
  if (file_end_ && p == end && guessing_) guessing_ = false;  // UTF-8 to its end
  return static_cast<std::size_t>(o - begin);
}

unsigned char* DecodingSource::DecodeUtf16(const unsigned char*& p, const unsigned char* end, unsigned char* o,
                                           unsigned char* o_end) {
  const bool big_end = encoding_ == DocEncoding::Utf16Be;
  const auto unit = [big_end](const unsigned char* q) {
    return static_cast<char32_t>(big_end ? (q[0] << 8 | q[1]) : (q[0] | q[1] << 8));
  };
  while (end - p >= 2 && o_end - o >= 2) {
    const char32_t u = unit(p);
    if (u < 0x80) {
      *o++ = static_cast<unsigned char>(u);
      p += 2;
      continue;
    }
    if (u >= 0xD800 && u <= 0xDBFF) {
      if (end - p < 4 && !file_end_) break;
      if (end - p >= 4) {
        const char32_t low = unit(p + 2);
        if (low >= 0xDC00 && low <= 0xDFFF) {
          o = PutStandIn(o, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
          p += 4;
          continue;
        }
      }
    }
    o = PutOther(o, u, forms_[u]);  // a surrogate without its partner stands for itself
    p += 2;
  }
  if (file_end_ && end - p == 1) p = end;  // an odd last byte makes no character
  return o;
}

}  // namespace

std::wstring ShownText(std::string_view text, std::u32string_view stand_ins) {
  if (stand_ins.empty()) return Cp932ToWide(text);
  std::size_t next = 0;
  return Cp932ToWideWithStandIns(text, [&](std::wstring& out, int) {
    AppendUtf16(out, next < stand_ins.size() ? stand_ins[next++] : U'\xFFFD');
  });
}

ScanEnd SearchFileText(FileScanner& scanner, const SearchKeyword& keyword, ByteSource& file,
                       const TextHitSink& sink, DocEncoding* encoding, SearchBuffers* buffers) {
  SearchBuffers own;
  if (!buffers) buffers = &own;
  // Left uninitialised: a file is searched in a few kilobytes of it at times.
  if (!buffers->raw) buffers->raw.reset(new unsigned char[DecodingSource::kRawSize]);
  struct Held {
    long long line;
    std::string text;
    std::u32string stand_ins;
  };
  std::vector<Held> held;
  long long passed_on = 0;  // the last line given to the sink
  const auto pass_held = [&] {
    for (const Held& h : held) {
      passed_on = h.line;
      if (!sink(h.line, h.text, h.stand_ins)) return false;
    }
    held.clear();
    return true;
  };
  {
    DecodingSource source(file, keyword, false, buffers->raw.get(), keyword.NeedleFor(scanner.case_sensitive()));
    try {
      const ScanEnd end = scanner.Scan(source, [&](long long line, std::string_view text) {
        const std::u32string_view stand_ins = source.StandInsOf(line);
        if (source.guessing()) {
          held.push_back({line, std::string(text), std::u32string(stand_ins)});
          return true;
        }
        if (!pass_held()) return false;
        passed_on = line;
        return sink(line, text, stand_ins);
      });
      if (encoding) *encoding = source.encoding();
      if (end == ScanEnd::Refused || !pass_held()) return ScanEnd::Refused;
      return ScanEnd::Finished;
    } catch (const NotUtf8&) {
      // Read again below, as Shift-JIS: the lines before the first byte that
      // is not ASCII have given their hits already.
    }
  }
  if (!file.Rewind()) throw std::runtime_error("the file cannot be read again from its start");
  if (encoding) *encoding = DocEncoding::ShiftJis;
  DecodingSource source(file, keyword, true, buffers->raw.get(), nullptr);
  return scanner.Scan(source, [&](long long line, std::string_view text) {
    return line <= passed_on || sink(line, text, {});
  });
}

}  // namespace velkor
