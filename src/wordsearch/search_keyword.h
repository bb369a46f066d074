#pragma once
// The keyword of the word search in the form the scan compares it in, and
// what a UTF-8 file must hold for a line of it to match.
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/text.h"
#include "wordsearch/utf8_lines.h"

namespace velkor {

// The keyword as the scan compares it: its code page 932 form, with a
// stand-in of its own for each of its characters that code page 932 lacks.
class SearchKeyword {
 public:
  explicit SearchKeyword(std::wstring_view typed);

  const std::string& bytes() const { return bytes_; }
  // The keyword holds a character that code page 932 lacks, which no
  // Shift-JIS file holds.
  bool lacks_cp932() const { return !own_.empty(); }
  // The stand-in (an index, platform/text.h) of a character of a file that
  // code page 932 lacks: the keyword's own for one of its characters, else
  // one that the keyword never holds.
  int StandInOf(char32_t c) const {
    if (own_.empty()) return kNotInKeyword;
    const auto found = own_.find(c);
    return found == own_.end() ? kNotInKeyword : found->second;
  }

  // The last stand-in belongs to the characters the keyword does not hold.
  // A keyword with more kinds of such characters than there are stand-ins
  // gives the rest the one before it together (which none could type).
  static constexpr int kNotInKeyword = kStandInCount - 1;
  static constexpr int kSharedInKeyword = kStandInCount - 2;

  // Bytes that every line of a UTF-8 file holding the keyword holds, as the
  // scan matches (case included); none where no two bytes of the keyword's
  // UTF-8 forms can tell. Made once for each case setting.
  const Utf8Needle* NeedleFor(bool case_sensitive) const;

 private:
  std::unique_ptr<Utf8Needle> MakeNeedle(bool case_sensitive) const;

  std::string bytes_;
  std::unordered_map<char32_t, int> own_;
  mutable std::unique_ptr<Utf8Needle> needles_[2];
  mutable bool needle_made_[2] = {false, false};
};

}  // namespace velkor
