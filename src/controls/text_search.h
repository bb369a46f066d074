#pragma once
// The in-control text search of the editor and the source viewer: a byte scan
// over the code page 932 form of the text, and the Replace dialog's
// Replace All run on a byte buffer so that the window sets the text once.
#include <array>
#include <string>
#include <string_view>

namespace velkor {

inline constexpr int kNoHit = -1;

struct SearchOptions {
  bool down = true;
  bool match_case = true;
  bool whole_word = false;
};

// Every byte is a delimiter except 0-9, A-Z and a-z: the underscore, control
// bytes and every byte from 0x80 up (so both bytes of a double-byte character
// and the half-width katakana) separate words.
inline constexpr std::array<bool, 256> WordDelimiters = [] {
  std::array<bool, 256> t{};
  for (int b = 0; b < 256; ++b)
    t[b] = !((b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z'));
  return t;
}();

// The map the scan applies to each byte of the text before comparing it with
// the search text: the identity with match case on, a-z to A-Z with it off.
const std::array<unsigned char, 256>& FoldTable(bool match_case);

// The search text upper-cased character by character, as the system
// upper-cases text: the full-width ａ becomes Ａ, a second byte that happens to
// be a lower-case ASCII letter stays as it is.
std::string UpperCaseSearchText(std::string_view search);

// The search text and options in the form the scan compares against, worked
// out once per search.
class PreparedSearch {
 public:
  PreparedSearch(std::string_view search, SearchOptions options);
  const std::string& key() const { return key_; }
  const SearchOptions& options() const { return options_; }
  int length() const { return static_cast<int>(key_.size()); }

 private:
  std::string key_;
  SearchOptions options_;
};

// The whole-word step of a scan at candidate p with k candidates left in
// direction d (+1 down, -1 up), never taking k below 0. Downward it moves past
// the rest of the word p stands in and the delimiters after it, to the start
// of the next word; upward back to the first byte of the word p stands in or
// of the word before it. ScanTextBuffer finds the same candidates by a faster
// route; this is the step as one reads it.
void SkipToWordStart(const unsigned char* Buffer, long long& p, long long& k, int d);

// Offset of the next hit after the selection (down) or of the previous one
// ending at or before the selection start (up), or kNoHit. The scan compares
// bytes, but a hit starts where a character of the code page 932 text starts
// (read from offset 0), never at the second byte of a double-byte character;
// it never wraps around. With whole word on, a candidate is the start of a
// word (downward never the word the scan starts in, upward the start of the
// word it starts in or of one before it); the hit must be followed by a
// delimiter, except at the last candidate of the scan (downward the end of
// the text, upward offset 0), which is taken as it stands. Buffer holds Length
// bytes; nothing beyond them is read, and the end of the text counts as a
// delimiter.
int ScanTextBuffer(const unsigned char* Buffer, int Length, int SelStart, int SelLength,
                   const PreparedSearch& search);
int ScanTextBuffer(const unsigned char* Buffer, int Length, int SelStart, int SelLength,
                   std::string_view search, SearchOptions options);

// The comparison of the Replace dialog between the selection and the search
// text: letter case ignored whatever the match-case option says.
bool SameTextIgnoringCase(std::string_view a, std::string_view b);

struct ReplaceAllResult {
  std::string text;
  int sel_start = 0;   // the caret after the last inserted text, or the
  int sel_length = 0;  // selection as it was when nothing was replaced
  int replaced = 0;
  bool operator==(const ReplaceAllResult&) const = default;
};

// Replace All: the selection first when it is the search text, then every hit
// found from there in the search direction. A scan never looks into text it
// has just inserted: downward it goes on after the inserted text, upward
// before it, so a replace text that contains the search text still ends.
// Each scan sees the characters of the text as replaced so far.
ReplaceAllResult ReplaceAllInBuffer(std::string_view text, int sel_start, int sel_length,
                                    std::string_view search, std::string_view replace,
                                    SearchOptions options);

}  // namespace velkor
