#pragma once
// The word search's line scan written out byte by byte, one step after the
// other, with no skipping, over the whole file: the yardstick that the fast
// FileScanner must agree with on every input. And the search of a file in any
// encoding written out the long way. Shared by the unit tests and the fuzz
// target.
#include <string>
#include <string_view>
#include <vector>

#include "platform/text.h"
#include "platform/text_file.h"
#include "wordsearch/decoded_scan.h"
#include "wordsearch/engine.h"

namespace velkor::scan_reference {

struct Hit {
  long long line;
  std::string text;
  bool operator==(const Hit&) const = default;
};

inline std::vector<Hit> Scan(ByteSource& source, const SearchKey& key) {
  std::vector<Hit> hits;
  const std::string match_key = MakeMatchKey(key.keyword, key.case_sensitive);
  const std::size_t key_len = match_key.size();
  if (key_len == 0) return hits;
  auto lower = [&](unsigned char b) -> unsigned char {
    return (!key.case_sensitive && b >= 'A' && b <= 'Z') ? b + 32 : b;
  };

  // The whole file at once: the reference has no window to slide.
  std::string file;
  unsigned char piece[4096];
  for (int n; (n = source.Read(piece, sizeof piece)) > 0;) file.append(reinterpret_cast<char*>(piece), n);
  const auto* data = reinterpret_cast<const unsigned char*>(file.data());
  const std::size_t count = file.size();

  unsigned char line_buf[255];
  long long line_number = 1;
  int column = 0;
  int before = -1;      // the line's last byte so far, carriage returns not counted
  bool inside = false;  // the next byte, carriage returns not counted, is a second byte
  bool line_done = false;
  std::size_t i = 0;
  while (i < count) {
    const unsigned char c = data[i];
    if (c == 10) {
      column = 0;
      line_number += 1;
      before = -1;
      inside = false;
      line_done = false;
      ++i;
      continue;
    }
    if (c == 13) {
      ++i;
      continue;
    }
    if (column < 255) line_buf[column++] = c;
    const int prev = before;
    before = c;
    const bool char_start = !inside;
    inside = char_start && IsLeadByte(c);
    if (line_done || lower(c) != static_cast<unsigned char>(match_key[0])) {
      ++i;
      continue;
    }
    if (key.class_check && prev >= 0 && prev != ' ' && prev != '(' && prev != '.') {
      ++i;
      continue;
    }
    bool same = i + key_len <= count;
    for (std::size_t j = 0; same && j < key_len; ++j) {
      const unsigned char b = data[i + j];
      same = b != 0 && lower(b) == static_cast<unsigned char>(match_key[j]);
    }
    if (!same || !char_start) {
      ++i;
      continue;
    }
    std::size_t j = i + 1;
    while (j < count && data[j] != 0 && data[j] != 10 && data[j] != 13 && data[j] != 26) {
      if (column < 255) line_buf[column++] = data[j];
      ++j;
    }
    std::string text(reinterpret_cast<const char*>(line_buf), column);
    text = text.substr(0, text.find('\0'));
    hits.push_back({line_number, text});
    line_done = true;
    i = j;
  }
  return hits;
}

struct TextHit {
  long long line;
  std::string text;
  std::wstring shown;  // the text with the characters that its stand-ins stand for
  bool operator==(const TextHit&) const = default;
};

// The whole file recognised and decoded at once as the editor opens it, its
// text put into code page 932 form one character at a time, a character that
// code page 932 lacks as the keyword's stand-in for it, and that form scanned
// by the reference above. A Shift-JIS file is scanned as it is.
inline std::vector<TextHit> ScanDecoded(std::string_view file, std::wstring_view keyword, bool case_sensitive,
                                        bool class_check) {
  const SearchKeyword key(keyword);
  const SearchKey scan_key{key.bytes(), EffectiveCaseSensitive(key.bytes(), case_sensitive), class_check};
  const DocEncoding encoding = RecogniseEncoding(file);
  std::string form;
  std::vector<std::u32string> lacking(2);  // of each line, counting from 1
  if (encoding == DocEncoding::ShiftJis) {
    if (key.lacks_cp932()) return {};
    form = file;
  } else {
    const std::wstring text = DecodeText(file, encoding);
    for (std::size_t w = 0; w < text.size(); ++w) {
      auto c = static_cast<char32_t>(text[w]);
      if (sizeof(wchar_t) == 2 && c >= 0xD800 && c <= 0xDBFF && w + 1 < text.size() && text[w + 1] >= 0xDC00 &&
          text[w + 1] <= 0xDFFF) {
        c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<char32_t>(text[++w]) - 0xDC00);
      }
      Cp932Char f = Cp932FormOf(c);
      if (f.length == 0) {
        f = StandInBytes(key.StandInOf(c));
        lacking.back().push_back(c);
      }
      form.append(reinterpret_cast<const char*>(f.bytes), static_cast<std::size_t>(f.length));
      if (c == U'\n') lacking.emplace_back();
    }
  }
  MemorySource source(form);
  std::vector<TextHit> hits;
  for (const Hit& h : Scan(source, scan_key)) {
    const std::u32string none;
    const std::u32string& chars = h.line < static_cast<long long>(lacking.size()) ? lacking[h.line] : none;
    hits.push_back({h.line, h.text, ShownText(h.text, chars)});
  }
  return hits;
}

}  // namespace velkor::scan_reference
