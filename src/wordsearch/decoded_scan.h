#pragma once
// The word search over a file in whichever encoding the editor would open it
// in (platform/text_file.h): Shift-JIS, UTF-8 with or without a byte-order
// mark, UTF-16 LE or BE. The line scan (engine.h) reads code page 932 bytes;
// a file in another encoding reaches it as the code page 932 form of its
// text, in which a character that code page 932 lacks is a two-byte stand-in
// (platform/text.h) that matches that character alone. So a UTF-8 or UTF-16
// file is searched exactly as its Shift-JIS twin would be: the same keyword
// rules, line numbers, columns and cuts, with such a character counting two
// bytes. A Shift-JIS file is scanned on its own bytes, as they are.
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/text.h"
#include "platform/text_file.h"
#include "wordsearch/engine.h"
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

// A hit of one file: its line number, the line's text in code page 932 form
// (at most 255 bytes, as the scan gives it), and the characters that the
// stand-ins in that text stand for, in their order, so that the text can be
// shown as the file has it.
using TextHitSink =
    std::function<bool(long long line_number, std::string_view text, std::u32string_view stand_ins)>;

// The text of a hit with its stand-ins given back their characters.
std::wstring ShownText(std::string_view text, std::u32string_view stand_ins);

// Memory that the search of one file leaves to the next, so that a search
// over many files does not take it anew for each.
struct SearchBuffers {
  std::unique_ptr<unsigned char[]> raw;  // the file's bytes as read
};

// Scans one file with a scanner made for keyword.bytes(). The encoding is
// recognised from the bytes as they are read; a file that looks like UTF-8
// is read as UTF-8 until a byte says otherwise, and then searched again from
// its start as Shift-JIS (the file must allow Rewind). Hits go to the sink in
// the order of their lines, each once; those that depend on the guess wait
// until the file's end has settled it. `encoding`, when given, receives the
// file's encoding; `buffers`, when given, is used and kept for the next file.
ScanEnd SearchFileText(FileScanner& scanner, const SearchKeyword& keyword, ByteSource& file,
                       const TextHitSink& sink, DocEncoding* encoding = nullptr, SearchBuffers* buffers = nullptr);

}  // namespace velkor
