#include "platform/text_file.h"

#include <algorithm>

#include "platform/text.h"

namespace velkor {
namespace {

constexpr std::size_t npos = std::wstring::npos;

bool StartsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

bool HasNonAscii(std::string_view bytes) {
  return std::any_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

// UTF-16 BE as LE: the bytes of each pair swapped (an odd last byte stays).
std::string SwapPairs(std::string_view bytes) {
  std::string s(bytes);
  for (std::size_t i = 0; i + 1 < s.size(); i += 2) std::swap(s[i], s[i + 1]);
  return s;
}

bool IsSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDFFF; }

// Shift-JIS: the offset of the first character whose bytes do not come back
// when the text decoded from them is encoded again, npos when all do. Both
// conversions go one character at a time, so the two byte strings agree up
// to that character and differ inside it. The text is encoded again piece
// by piece, so that a large file is not held a third time; a text decoded
// from code page 932 holds no surrogate that a cut could part.
std::size_t FirstChangedCp932(std::string_view bytes, const std::wstring& text) {
  constexpr std::size_t kPiece = 1 << 20;
  std::size_t done = 0;  // bytes that came back as they were
  std::size_t differ = npos;
  for (std::size_t w = 0; w < text.size() && differ == npos; w += kPiece) {
    const Cp932Bytes back = WideToCp932(std::wstring_view(text).substr(w, kPiece));
    const std::string_view here = bytes.substr(std::min(done, bytes.size()));
    const auto [at, _] = std::mismatch(here.begin(), here.end(), back.bytes.begin(), back.bytes.end());
    const std::size_t same = static_cast<std::size_t>(at - here.begin());
    if (same < back.bytes.size() || back.lost > 0) differ = done + same;
    done += same;
  }
  if (differ == npos && done == bytes.size()) return npos;
  if (differ == npos) differ = done;  // bytes left over that made no character
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t len = IsLeadByte(static_cast<unsigned char>(bytes[start])) && start + 1 < bytes.size() ? 2 : 1;
    if (start + len > differ) break;
    start += len;
  }
  return start;
}

// Gives every line break of the text the form CR LF and tells which kind
// most of them had. Where the breaks are of more than one kind, the first
// one not of that kind is a change; changed_at (an index of the text before)
// moves with the text.
void NormalizeBreaks(DecodedDocument& d, std::size_t changed_at, DecodedDocument::Change change) {
  const std::wstring& t = d.text;
  std::size_t crlf = 0, cr = 0, lf = 0;
  for (std::size_t i = 0; i < t.size(); ++i) {
    if (t[i] == L'\r' && i + 1 < t.size() && t[i + 1] == L'\n') {
      ++crlf;
      ++i;
    } else if (t[i] == L'\r') {
      ++cr;
    } else if (t[i] == L'\n') {
      ++lf;
    }
  }
  d.breaks = LineBreaks::CrLf;
  if (lf > crlf && lf >= cr) d.breaks = LineBreaks::Lf;
  if (cr > crlf && cr > lf) d.breaks = LineBreaks::Cr;
  const bool mixed = (crlf > 0) + (cr > 0) + (lf > 0) > 1;
  if (cr == 0 && lf == 0) {
    if (changed_at != npos) {
      d.change = change;
      d.changed_at = changed_at;
    }
    return;
  }
  std::wstring out;
  out.reserve(t.size() + cr + lf);
  std::size_t moved = npos;
  std::size_t other_break = npos;
  for (std::size_t i = 0; i < t.size(); ++i) {
    if (moved == npos && changed_at != npos && i >= changed_at) moved = out.size();
    LineBreaks kind;
    if (t[i] == L'\r' && i + 1 < t.size() && t[i + 1] == L'\n') {
      kind = LineBreaks::CrLf;
      ++i;
    } else if (t[i] == L'\r') {
      kind = LineBreaks::Cr;
    } else if (t[i] == L'\n') {
      kind = LineBreaks::Lf;
    } else {
      out.push_back(t[i]);
      continue;
    }
    if (mixed && kind != d.breaks && other_break == npos) other_break = out.size();
    out += L"\r\n";
  }
  if (moved == npos && changed_at != npos) moved = out.size();
  d.text = std::move(out);
  if (other_break != npos && (moved == npos || other_break < moved)) {
    d.change = DecodedDocument::Change::kLineBreaks;
    d.changed_at = other_break;
  } else if (moved != npos) {
    d.change = change;
    d.changed_at = moved;
  }
}

// "\r\n" pairs of bytes as the one byte of the other kind. In Shift-JIS and
// UTF-8 neither byte is ever part of another character.
void WriteBreaksAs(std::string& bytes, LineBreaks breaks) {
  const char single = breaks == LineBreaks::Lf ? '\n' : '\r';
  std::size_t o = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
      bytes[o++] = single;
      ++i;
    } else {
      bytes[o++] = bytes[i];
    }
  }
  bytes.resize(o);
}

std::wstring WithBreaks(std::wstring_view text, LineBreaks breaks) {
  std::wstring out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') {
      out.push_back(breaks == LineBreaks::Lf ? L'\n' : L'\r');
      ++i;
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

// UTF-8 has no form for a surrogate without its partner.
void CountLoneSurrogates(std::wstring_view text, EncodedDocument& e) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (!IsSurrogate(text[i])) continue;
    if (sizeof(wchar_t) == 2 && text[i] <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      ++i;
      continue;
    }
    if (e.lost == 0) e.first_lost = i;
    ++e.lost;
  }
}

}  // namespace

DocEncoding RecogniseEncoding(std::string_view bytes) {
  EncodingRecogniser recogniser;
  recogniser.Add(bytes);
  recogniser.Finish();
  return recogniser.encoding();
}

void EncodingRecogniser::Settle(DocEncoding encoding) {
  settled_ = true;
  encoding_ = encoding;
  pending_.clear();
}

// The first bytes may still become a byte-order mark.
bool EncodingRecogniser::MarkPossible() const {
  const auto prefix_of = [this](std::string_view mark) { return head_.size() < mark.size() && StartsWith(mark, head_); };
  return prefix_of("\xEF\xBB\xBF") || prefix_of("\xFF\xFE") || prefix_of("\xFE\xFF");
}

void EncodingRecogniser::Add(std::string_view bytes) {
  if (settled_) return;
  if (head_.size() < 3) {
    head_.append(bytes.substr(0, 3 - head_.size()));
    if (StartsWith(head_, "\xEF\xBB\xBF")) return Settle(DocEncoding::Utf8Bom);
    if (StartsWith(head_, "\xFF\xFE")) return Settle(DocEncoding::Utf16Le);
    if (StartsWith(head_, "\xFE\xFF")) return Settle(DocEncoding::Utf16Be);
  }
  if (!invalid_) Validate(bytes);
  if (invalid_ && !MarkPossible()) Settle(DocEncoding::ShiftJis);
}

void EncodingRecogniser::Validate(std::string_view bytes) {
  if (!pending_.empty()) {
    const std::size_t need = Utf8SequenceLength(static_cast<unsigned char>(pending_[0]));
    const std::size_t take = std::min(need - pending_.size(), bytes.size());
    pending_.append(bytes.substr(0, take));
    bytes.remove_prefix(take);
    if (pending_.size() < need) {
      invalid_ = !IsValidUtf8Start(pending_);
      return;
    }
    invalid_ = !IsValidUtf8(pending_);
    if (invalid_) return;
    pending_.clear();
    non_ascii_ = true;
  }
  const std::size_t valid = ValidUtf8Length(bytes);
  non_ascii_ = non_ascii_ || HasNonAscii(bytes.substr(0, valid));
  const std::string_view rest = bytes.substr(valid);
  if (rest.empty()) return;
  // A sequence cut by the end of the piece waits for the next one.
  if (rest.size() < Utf8SequenceLength(static_cast<unsigned char>(rest[0])) && IsValidUtf8Start(rest)) {
    pending_.assign(rest);
    return;
  }
  invalid_ = true;
}

void EncodingRecogniser::Finish() {
  if (settled_) return;
  Settle(encoding());
}

DocEncoding EncodingRecogniser::encoding() const {
  if (settled_) return encoding_;
  return non_ascii_ && !invalid_ && pending_.empty() ? DocEncoding::Utf8 : DocEncoding::ShiftJis;
}

std::wstring DecodeText(std::string_view bytes, DocEncoding encoding) {
  switch (encoding) {
    case DocEncoding::Utf8Bom:
      return Utf8ToWide(bytes.substr(3));
    case DocEncoding::Utf8:
      return Utf8ToWide(bytes);
    case DocEncoding::Utf16Le:
      return Utf16LeToWide(bytes.substr(2));
    case DocEncoding::Utf16Be:
      return Utf16LeToWide(SwapPairs(bytes.substr(2)));
    case DocEncoding::ShiftJis:
      break;
  }
  return Cp932ToWide(bytes);
}

DecodedDocument DecodeDocument(std::string_view bytes) {
  DecodedDocument d;
  d.encoding = RecogniseEncoding(bytes);
  std::size_t changed_at = npos;
  // The text stops at the first NUL, so only the bytes before it are decoded.
  auto cut_at_nul = [&d](std::string_view body) {
    const std::size_t nul = body.find('\0');
    if (nul == std::string_view::npos) return body;
    d.cut_at_nul = true;
    return body.substr(0, nul);
  };
  switch (d.encoding) {
    case DocEncoding::Utf8Bom:
    case DocEncoding::Utf8: {
      const std::string_view body = cut_at_nul(bytes.substr(d.encoding == DocEncoding::Utf8Bom ? 3 : 0));
      d.text = Utf8ToWide(body);
      const std::size_t valid = ValidUtf8Length(body);
      if (valid < body.size()) changed_at = Utf8ToWide(body.substr(0, valid)).size();
      break;
    }
    case DocEncoding::Utf16Le:
    case DocEncoding::Utf16Be: {
      const std::string swapped = d.encoding == DocEncoding::Utf16Be ? SwapPairs(bytes.substr(2)) : std::string();
      const std::string_view body = d.encoding == DocEncoding::Utf16Be ? std::string_view(swapped) : bytes.substr(2);
      d.text = Utf16LeToWide(body);
      const std::size_t nul = d.text.find(L'\0');
      if (nul != npos) {
        d.text.resize(nul);
        d.cut_at_nul = true;
      } else if (body.size() % 2 != 0) {
        changed_at = d.text.size();  // an odd last byte has no character
      }
      break;
    }
    case DocEncoding::ShiftJis: {
      const std::string_view body = cut_at_nul(bytes);
      d.text = Cp932ToWide(body);
      const std::size_t start = FirstChangedCp932(body, d.text);
      if (start != npos) changed_at = Cp932ToWide(body.substr(0, start)).size();
      break;
    }
  }
  NormalizeBreaks(d, changed_at, DecodedDocument::Change::kBytes);
  return d;
}

EncodedDocument EncodeDocument(std::wstring_view text, DocEncoding encoding, LineBreaks breaks) {
  EncodedDocument e;
  switch (encoding) {
    case DocEncoding::ShiftJis: {
      Cp932Bytes b = WideToCp932(text);
      e.bytes = std::move(b.bytes);
      e.lost = b.lost;
      e.first_lost = b.first_lost;
      break;
    }
    case DocEncoding::Utf8:
    case DocEncoding::Utf8Bom:
      e.bytes = (encoding == DocEncoding::Utf8Bom ? "\xEF\xBB\xBF" : "") + WideToUtf8(text);
      CountLoneSurrogates(text, e);
      break;
    case DocEncoding::Utf16Le:
    case DocEncoding::Utf16Be: {
      const std::string le = WideToUtf16Le(breaks == LineBreaks::CrLf ? std::wstring(text) : WithBreaks(text, breaks));
      e.bytes = encoding == DocEncoding::Utf16Le ? "\xFF\xFE" + le : "\xFE\xFF" + SwapPairs(le);
      return e;
    }
  }
  if (breaks != LineBreaks::CrLf) WriteBreaksAs(e.bytes, breaks);
  return e;
}

}  // namespace velkor
