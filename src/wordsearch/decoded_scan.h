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
#include "wordsearch/search_keyword.h"

namespace velkor {

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
