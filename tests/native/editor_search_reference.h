#pragma once
// The editor's search written out as its steps read, one byte and one
// candidate after the other: the yardstick for the fast scan and for Replace
// All. Shared by the unit test and the fuzz target.
//
// A candidate is compared only where a character starts, the text read as
// code page 932 from its first byte (a lead byte takes the byte after it as
// its second byte, whatever that byte is).
//
// Two lines go beyond a plain transcription, and both only where the plain
// steps go wrong: a candidate whose match would run past the end of the text
// fails (the plain steps would read past the buffer), and an upward whole-word
// scan ends when the skip leads it back to a candidate it has already passed
// (the plain steps would compare offset 1 for ever).
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "controls/text_search.h"
#include "platform/text.h"

namespace velkor::reference {

inline int ScanTextBuffer(std::string_view text, long long SelStart, long long SelLength,
                          std::string_view search, SearchOptions o) {
  const std::string copy = std::string(text) + '\0';
  const auto* Buffer = reinterpret_cast<const unsigned char*>(copy.data());
  const long long Length = static_cast<long long>(text.size());
  const long long m = static_cast<long long>(search.size());
  if (m == 0 || Length <= 0) return kNoHit;
  const int d = o.down ? 1 : -1;
  long long p, k;
  if (o.down) {
    p = SelStart + SelLength;
    k = Length - p - m;
    if (k < 0) return kNoHit;
  } else {
    p = SelStart - m;
    k = p;
  }
  if (p < 0 || p > Length) return kNoHit;
  std::array<unsigned char, 256> fold;
  for (int i = 0; i < 256; ++i) fold[i] = static_cast<unsigned char>(i);
  std::string key(search);
  if (!o.match_case) {
    for (int i = 'a'; i <= 'z'; ++i) fold[i] = static_cast<unsigned char>(i - 32);
    key = UpperCaseSearchText(search);
  }
  std::vector<bool> char_start(static_cast<std::size_t>(Length) + 1, false);
  for (long long i = 0; i < Length; i += IsLeadByte(Buffer[i]) ? 2 : 1) char_start[i] = true;
  long long bound = p;
  while (k >= 0) {
    if (o.whole_word) {
      SkipToWordStart(Buffer, p, k, d);
      if (d < 0 && p > bound) return kNoHit;
    }
    bool equal = p + m <= Length && char_start[p];
    for (long long j = 0; equal && j < m; ++j)
      equal = fold[Buffer[p + j]] == static_cast<unsigned char>(key[j]);
    if (equal && (!o.whole_word || k == 0 || WordDelimiters[Buffer[p + m]])) return static_cast<int>(p);
    p += d;
    k -= 1;
    bound = p;
  }
  return kNoHit;
}

// Replace All as the dialog runs it on a text control: replace the selection
// when it is the search text, then find, replace, find... The scan after a
// replacement starts after the inserted text downward and before it upward;
// the caret stays after it.
inline ReplaceAllResult ReplaceAll(std::string_view text, int sel_start, int sel_length,
                                   std::string_view search, std::string_view replace, SearchOptions o) {
  ReplaceAllResult r{std::string(text), sel_start, sel_length, 0};
  if (search.empty()) return r;
  const long long n = static_cast<long long>(text.size());
  long long s = sel_start < 0 ? 0 : (sel_start > n ? n : sel_start);
  long long len = sel_length < 0 ? 0 : (sel_length > n - s ? n - s : sel_length);
  long long scan_start = s, scan_length = len;
  auto replace_selection = [&] {
    r.text.replace(static_cast<std::size_t>(s), static_cast<std::size_t>(len), replace);
    scan_start = o.down ? s + static_cast<long long>(replace.size()) : s;
    scan_length = 0;
    s += static_cast<long long>(replace.size());
    len = 0;
    r.sel_start = static_cast<int>(s);
    r.sel_length = 0;
    ++r.replaced;
  };
  if (SameTextIgnoringCase(std::string_view(r.text).substr(static_cast<std::size_t>(s),
                                                           static_cast<std::size_t>(len)),
                           search))
    replace_selection();
  for (;;) {
    if (r.text.empty()) break;
    const int hit = ScanTextBuffer(r.text, scan_start, scan_length, search, o);
    if (hit < 0) break;
    s = hit;
    len = static_cast<long long>(search.size());
    replace_selection();
  }
  return r;
}

}  // namespace velkor::reference
