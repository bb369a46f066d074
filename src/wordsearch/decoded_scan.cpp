#include "wordsearch/decoded_scan.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <deque>
#include <stdexcept>
#include <vector>

#include "platform/text.h"

namespace velkor {
namespace {

// A file is read in pieces of this size.
constexpr std::size_t kPiece = 16384;
// Before a file is taken for UTF-8, the bytes after its first one that is not
// ASCII are looked at this far (or to the end): Shift-JIS text gives itself
// away within a few characters, so a wrong guess, which costs a second
// reading of the file, is left to files that are UTF-8 for that long.
constexpr std::size_t kLookAhead = 4096;
// A hit's text holds at most this many bytes from its line's start,
// carriage returns not counted.
constexpr std::size_t kTextMax = FileScanner::kLineMax;

// Thrown by the reading when a file taken for UTF-8 turns out not to be.
struct NotUtf8 {};

bool HasByte(std::uint64_t w, unsigned char b) {
  const std::uint64_t x = w ^ (0x0101010101010101ull * b);
  return ((x - 0x0101010101010101ull) & ~x & 0x8080808080808080ull) != 0;
}

// The decoding of one UTF-8 sequence, as the editor's decoding does it
// (platform/text.h): its length with the code point, or 0 when the bytes at p
// are no valid sequence, a sequence cut by the end included.
std::size_t DecodeSequence(const unsigned char* p, const unsigned char* end, char32_t& cp) {
  const unsigned char b0 = p[0];
  const std::size_t len = Utf8SequenceLength(b0);
  if (len < 2 || len > static_cast<std::size_t>(end - p)) return 0;
  static constexpr char32_t kMin[5] = {0, 0, 0x80, 0x800, 0x10000};
  char32_t c = b0 & (0x7F >> len);
  for (std::size_t k = 1; k < len; ++k) {
    if ((p[k] & 0xC0) != 0x80) return 0;
    c = (c << 6) | (p[k] & 0x3F);
  }
  if (c < kMin[len] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
  cp = c;
  return len;
}

void AppendUtf16(std::wstring& out, char32_t c) {
  if (sizeof(wchar_t) == 2 && c >= 0x10000) {
    out.push_back(static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10)));
    out.push_back(static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
  } else {
    out.push_back(static_cast<wchar_t>(c));
  }
}

// The stand-ins of one line's text: the characters code page 932 lacks among
// its first kTextMax bytes, in their order.
struct LineStandIns {
  long long line;
  std::u32string chars;
};

// The file's text in code page 932 form, for the line scan. A file that the
// recognition settles as Shift-JIS passes as it is; so does one that is all
// ASCII so far, which reads the same in every encoding but UTF-16.
class DecodingSource : public ByteSource {
 public:
  DecodingSource(ByteSource& file, const SearchKeyword& keyword, bool shift_jis)
      : file_(file), keyword_(keyword), forms_(Cp932FormTable()), shift_jis_(shift_jis) {
    raw_.resize(2 * kPiece + kLookAhead);
  }

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
  bool ReadPiece();
  void Recognise();
  void Guess();
  void Decode();
  int Hand(const unsigned char* from, std::size_t count, unsigned char* dst, int max);

  unsigned char* DecodeUtf8(const unsigned char*& p, const unsigned char* end, unsigned char* o);
  unsigned char* DecodeUtf16(const unsigned char*& p, const unsigned char* end, unsigned char* o);
  // Keeps the line and column of the decoding up to date over ASCII that
  // passes as it is.
  void Passed(const unsigned char* p, std::size_t n) {
    const unsigned char* line_start = p;
    for (const unsigned char* q = p; q < p + n; ++q) {
      if (*q == '\n') {
        ++line_;
        column_ = 0;
        line_start = q + 1;
      }
    }
    column_ += static_cast<std::size_t>(p + n - line_start - std::count(line_start, p + n, '\r'));
  }
  void PutByte(unsigned char*& o, unsigned char b) {
    *o++ = b;
    if (b == '\n') {
      ++line_;
      column_ = 0;
    } else if (b != '\r') {
      ++column_;
    }
  }
  void PutChar(unsigned char*& o, char32_t c) {
    std::uint16_t form = c < 0x10000 ? forms_[c] : kNoCp932Form;
    if (form == kNoCp932Form) {
      if (column_ < kTextMax) {
        if (lines_.empty() || lines_.back().line != line_) lines_.push_back({line_, {}});
        lines_.back().chars.push_back(c);
      }
      const Cp932Char stand_in = StandInBytes(keyword_.StandInOf(c));
      form = static_cast<std::uint16_t>(stand_in.bytes[0] << 8 | stand_in.bytes[1]);
    }
    if (form < 0x100) return PutByte(o, static_cast<unsigned char>(form));
    o[0] = static_cast<unsigned char>(form >> 8);
    o[1] = static_cast<unsigned char>(form & 0xFF);
    o += 2;
    column_ += 2;
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

  std::vector<unsigned char> raw_;  // bytes of the file not passed on yet
  std::size_t raw_pos_ = 0, raw_end_ = 0;
  std::size_t recognised_ = 0;  // raw_ up to here went through the recognition
  bool file_end_ = false;

  std::vector<unsigned char> out_;  // decoded, not handed to the scan yet
  std::size_t out_pos_ = 0, out_end_ = 0;

  // Where the decoding stands in the text: its line, and the bytes of that
  // line so far without carriage returns.
  long long line_ = 1;
  std::size_t column_ = 0;
  std::deque<LineStandIns> lines_;
};

// Reads one more piece behind the bytes left; false at the end of the file.
bool DecodingSource::ReadPiece() {
  if (file_end_) return false;
  if (raw_pos_ > 0) {
    std::memmove(raw_.data(), raw_.data() + raw_pos_, RawLeft());
    recognised_ = std::max(recognised_, raw_pos_) - raw_pos_;
    raw_end_ -= raw_pos_;
    raw_pos_ = 0;
  }
  const std::size_t room = std::min(kPiece, raw_.size() - raw_end_);
  const int got = file_.Read(raw_.data() + raw_end_, static_cast<int>(room));
  if (got < 0 || static_cast<std::size_t>(got) > room) throw std::runtime_error("ByteSource::Read returned a bad count");
  raw_end_ += static_cast<std::size_t>(got);
  file_end_ = got == 0;
  return got > 0;
}

void DecodingSource::Recognise() {
  recogniser_.Add(std::string_view(reinterpret_cast<const char*>(raw_.data()) + recognised_, raw_end_ - recognised_));
  recognised_ = raw_end_;
  if (file_end_) recogniser_.Finish();
}

void DecodingSource::Start() {
  started_ = true;
  if (shift_jis_) {
    mode_ = Mode::Bytes;
    return;
  }
  while (RawLeft() < 3 && ReadPiece()) {
  }
  Recognise();
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
void DecodingSource::Guess() {
  while (RawLeft() < kLookAhead && ReadPiece()) {
  }
  Recognise();
  if (recogniser_.settled() && recogniser_.encoding() != DocEncoding::Utf8) {
    mode_ = Mode::Bytes;
    encoding_ = DocEncoding::ShiftJis;
    return;
  }
  mode_ = Mode::Utf8;
  encoding_ = DocEncoding::Utf8;
  guessing_ = !recogniser_.settled();
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
        const int n = Hand(raw_.data() + raw_pos_, RawLeft(), dst, max);
        raw_pos_ += static_cast<std::size_t>(n);
        return n;
      }
      case Mode::Ascii: {
        const unsigned char* data = raw_.data() + raw_pos_;
        std::size_t count = RawLeft();
        const bool direct = count == 0;
        if (direct) {
          const int got = file_.Read(dst, max);
          if (got <= 0) return got;
          data = dst;
          count = static_cast<std::size_t>(got);
        }
        const std::size_t ascii = static_cast<std::size_t>(
            std::find_if(data, data + count, [](unsigned char b) { return b >= 0x80; }) - data);
        if (direct) {
          if (ascii < count) {
            std::memcpy(raw_.data(), dst + ascii, count - ascii);
            raw_pos_ = recognised_ = 0;
            raw_end_ = count - ascii;
          }
        } else if (ascii > 0) {
          const int n = Hand(data, ascii, dst, max);
          raw_pos_ += static_cast<std::size_t>(n);
          Passed(dst, static_cast<std::size_t>(n));
          return n;
        }
        if (ascii < count) Guess();
        Passed(dst, ascii);
        if (ascii > 0) return static_cast<int>(ascii);
        break;
      }
      case Mode::Utf8:
      case Mode::Utf16:
        if (RawLeft() < kPiece) ReadPiece();
        if (guessing_) {
          Recognise();
          if (recogniser_.settled()) {
            if (recogniser_.encoding() != DocEncoding::Utf8) throw NotUtf8{};
            guessing_ = false;
          }
        }
        Decode();
        if (out_end_ == 0 && file_end_ && RawLeft() == 0) return 0;
        break;
    }
  }
}

void DecodingSource::Decode() {
  const unsigned char* p = raw_.data() + raw_pos_;
  const unsigned char* end = raw_.data() + raw_end_;
  // Each byte makes at most two: a byte that is no character becomes U+FFFD.
  if (out_.size() < 2 * RawLeft() + 16) out_.resize(2 * RawLeft() + 16);
  unsigned char* o = out_.data();
  o = mode_ == Mode::Utf8 ? DecodeUtf8(p, end, o) : DecodeUtf16(p, end, o);
  raw_pos_ = static_cast<std::size_t>(p - raw_.data());
  out_pos_ = 0;
  out_end_ = static_cast<std::size_t>(o - out_.data());
}

unsigned char* DecodingSource::DecodeUtf8(const unsigned char*& p, const unsigned char* end, unsigned char* o) {
  while (p < end) {
    if (end - p >= 8) {
      std::uint64_t w;
      std::memcpy(&w, p, 8);
      if ((w & 0x8080808080808080ull) == 0 && !HasByte(w, '\n') && !HasByte(w, '\r')) {
        std::memcpy(o, p, 8);
        o += 8;
        p += 8;
        column_ += 8;
        continue;
      }
    }
    const unsigned char b = *p;
    if (b < 0x80) {
      PutByte(o, b);
      ++p;
      continue;
    }
    // A sequence cut by the end of the piece waits for the next one.
    if (!file_end_ && Utf8SequenceLength(b) > static_cast<std::size_t>(end - p)) break;
    char32_t c = 0xFFFD;
    const std::size_t len = DecodeSequence(p, end, c);
    PutChar(o, len == 0 ? 0xFFFD : c);
    p += len == 0 ? 1 : len;
  }
  return o;
}

unsigned char* DecodingSource::DecodeUtf16(const unsigned char*& p, const unsigned char* end, unsigned char* o) {
  const bool big_end = encoding_ == DocEncoding::Utf16Be;
  const auto unit = [big_end](const unsigned char* q) {
    return static_cast<char32_t>(big_end ? (q[0] << 8 | q[1]) : (q[0] | q[1] << 8));
  };
  while (end - p >= 2) {
    const char32_t u = unit(p);
    if (u < 0x80) {
      PutByte(o, static_cast<unsigned char>(u));
      p += 2;
      continue;
    }
    if (u >= 0xD800 && u <= 0xDBFF) {
      if (end - p < 4 && !file_end_) break;
      if (end - p >= 4) {
        const char32_t low = unit(p + 2);
        if (low >= 0xDC00 && low <= 0xDFFF) {
          PutChar(o, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
          p += 4;
          continue;
        }
      }
    }
    PutChar(o, u);  // a surrogate without its partner stands for itself
    p += 2;
  }
  if (file_end_ && p < end) p = end;  // an odd last byte makes no character
  return o;
}

}  // namespace

SearchKeyword::SearchKeyword(std::wstring_view typed) {
  int next = 0;
  for (std::size_t w = 0; w < typed.size();) {
    char32_t c = static_cast<char32_t>(typed[w]);
    std::size_t units = 1;
    if (sizeof(wchar_t) == 2 && c >= 0xD800 && c <= 0xDBFF && w + 1 < typed.size() && typed[w + 1] >= 0xDC00 &&
        typed[w + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<char32_t>(typed[w + 1]) - 0xDC00);
      units = 2;
    }
    w += units;
    Cp932Char form = Cp932FormOf(c);
    if (form.length == 0) {
      const auto [at, added] = own_.emplace(c, next);
      if (added && next < kSharedInKeyword) ++next;
      form = StandInBytes(at->second);
    }
    bytes_.append(reinterpret_cast<const char*>(form.bytes), static_cast<std::size_t>(form.length));
  }
}

std::wstring ShownText(std::string_view text, std::u32string_view stand_ins) {
  if (stand_ins.empty()) return Cp932ToWide(text);
  std::wstring out;
  out.reserve(text.size());
  std::size_t plain = 0;  // start of the run of bytes without a stand-in
  std::size_t next = 0;
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (!IsLeadByte(lead) || i + 1 >= text.size()) {
      ++i;
      continue;
    }
    if (!IsStandIn(lead, static_cast<unsigned char>(text[i + 1]))) {
      i += 2;
      continue;
    }
    out += Cp932ToWide(text.substr(plain, i - plain));
    AppendUtf16(out, next < stand_ins.size() ? stand_ins[next++] : U'\xFFFD');
    i += 2;
    plain = i;
  }
  out += Cp932ToWide(text.substr(plain));
  return out;
}

ScanEnd SearchFileText(FileScanner& scanner, const SearchKeyword& keyword, ByteSource& file,
                       const TextHitSink& sink, DocEncoding* encoding) {
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
    DecodingSource source(file, keyword, false);
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
  DecodingSource source(file, keyword, true);
  return scanner.Scan(source, [&](long long line, std::string_view text) {
    return line <= passed_on || sink(line, text, {});
  });
}

}  // namespace velkor
