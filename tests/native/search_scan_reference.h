#pragma once
// The word search's line scan written out byte by byte, one step after the
// other, with no skipping: the yardstick that the fast FileScanner must agree
// with on every input. Shared by the unit test and the fuzz target.
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text.h"
#include "wordsearch/engine.h"

namespace velkor::scan_reference {

struct Hit {
  long long line;
  std::string text;
  bool operator==(const Hit&) const = default;
};

inline int ReadUpTo(ByteSource& source, unsigned char* dst, int max) {
  int got = 0;
  while (got < max) {
    const int n = source.Read(dst + got, max - got);
    if (n <= 0) break;
    got += n;
  }
  return got;
}

inline std::vector<Hit> Scan(ByteSource& source, const SearchKey& key) {
  std::vector<Hit> hits;
  const std::string match_key = MakeMatchKey(key.keyword, key.case_sensitive);
  const int key_len = static_cast<int>(match_key.size());
  if (key_len == 0) return hits;
  auto lower = [&](unsigned char b) -> unsigned char {
    return (!key.case_sensitive && b >= 'A' && b <= 'Z') ? b + 32 : b;
  };

  std::vector<unsigned char> window_bytes(16384);
  unsigned char* window = window_bytes.data();
  unsigned char line_buf[255];
  int count = ReadUpTo(source, window, 16384);
  long long line_number = 1;
  int column = 0;
  int before = -1;  // the line's last byte so far, carriage returns not counted
  bool line_done = false;
  int i = 0;
  while (i < count) {
    const unsigned char c = window[i];
    if (c == 10) {
      column = 0;
      line_number += 1;
      before = -1;
      line_done = false;
      if (i > 15872 && count == 16384) {
        std::memmove(window, window + 15872, 512);
        count = 512 + ReadUpTo(source, window + 512, 15872);
        i -= 15872;
      }
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
    if (line_done || lower(c) != static_cast<unsigned char>(match_key[0])) {
      ++i;
      continue;
    }
    if (key.class_check && prev >= 0 && prev != ' ' && prev != '(' && prev != '.') {
      ++i;
      continue;
    }
    bool same = i + key_len <= count;
    for (int j = 0; same && j < key_len; ++j) {
      const unsigned char b = window[i + j];
      same = b != 0 && lower(b) == static_cast<unsigned char>(match_key[j]);
    }
    if (!same || (key_len == 1 && prev >= 0 && IsLeadByte(static_cast<unsigned char>(prev)))) {
      ++i;
      continue;
    }
    int j = i + 1;
    while (j < count && window[j] != 0 && window[j] != 10 && window[j] != 13 && window[j] != 26) {
      if (column < 255) line_buf[column++] = window[j];
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

}  // namespace velkor::scan_reference
