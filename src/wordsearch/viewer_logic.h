#pragma once
// Where the source viewer puts the selection on a hit line: the keyword's
// occurrence in the sample of text that starts at the hit line. Code page 932
// bytes.
#include <cstddef>
#include <string_view>

namespace velkor {

// Offset in `sample` of the occurrence of `keyword` to select, or npos.
// The sample starts at the beginning of a line, so it can be walked
// character by character: the first occurrence that begins a character is
// taken, so that a one-byte keyword is never found in the second byte of a
// double-byte character however many such characters come first. Only when
// no occurrence begins a character is the first one at any byte taken (the
// search lists such a line for a longer keyword, which it compares byte by
// byte). Without case_sensitive, A-Z and a-z are alike; the caller passes the
// effective setting (a keyword with a double-byte character is exact).
std::size_t FindKeywordInSample(std::string_view sample, std::string_view keyword, bool case_sensitive);

}  // namespace velkor
