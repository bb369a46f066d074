#pragma once
// The lines of a UTF-8 text on its bytes as they are, for the word search:
// whether a line may hold the keyword, whether lines are valid UTF-8, and
// their line feeds. The search decodes only the lines that may hold the
// keyword; of the others it needs no more than their line feeds, and their
// validity while the file is only taken for UTF-8.
#include <array>
#include <cstddef>
#include <string>
#include <vector>

namespace velkor {

// Bytes that every line of a UTF-8 text holding the keyword holds: the
// UTF-8 form of a run of the keyword's characters, each byte one of two
// (both cases of an ASCII letter where case does not count). The search
// looks for two neighbouring bytes of it sixteen bytes at a time, then
// compares the rest.
class Utf8Needle {
 public:
  using Position = std::array<unsigned char, 2>;  // the same byte twice where one is meant
  // At least two positions.
  explicit Utf8Needle(std::vector<Position> positions);

  // The first byte of the first match in [from, end), or end.
  const unsigned char* Find(const unsigned char* from, const unsigned char* end) const;

 private:
  bool MatchAt(const unsigned char* start) const;

  std::vector<Position> positions_;
  std::size_t pair_ = 0;  // the first of the two positions looked for first
};

// Whether [from, to), from at the start of a sequence, is whole valid UTF-8
// sequences as the editor's decoding takes them (no overlong forms, no
// surrogates, nothing above U+10FFFF); its line feeds are counted into
// line_feeds.
bool CheckUtf8Lines(const unsigned char* from, const unsigned char* to, std::size_t& line_feeds);

std::size_t CountLineFeeds(const unsigned char* from, const unsigned char* to);

}  // namespace velkor
