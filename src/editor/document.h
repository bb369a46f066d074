#pragma once
// A document's file as the editor sees it: its text (platform/text_file.h),
// where a place in it stands for messages, whether the editor can hold it
// whole, and the name of its backup.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/text_file.h"

namespace velkor {

// Line (1-based) and column (1-based, in characters) of a text index, for messages.
struct TextPlace {
  int line = 1;
  int column = 1;
  bool operator==(const TextPlace&) const = default;
};
TextPlace PlaceOf(const std::wstring& text, std::size_t index);

// The most characters the editor's text control holds (a line break counts one).
inline constexpr std::size_t kMaxDocumentChars = 99999999;
// No file larger than this can become a text of kMaxDocumentChars: four bytes
// (a UTF-16 CR LF) are the most that one position of the control takes, plus
// a byte-order mark.
inline constexpr std::uint64_t kMaxDocumentBytes = 4ull * kMaxDocumentChars + 3;

// The positions a text with CR LF line breaks takes in the text control.
std::size_t ControlLength(const std::wstring& text);

// The backup name: the extension replaced by ".BAK" (".BAK" appended when the
// name has none), so a.txt and a.doc share a.BAK.
std::wstring BackupNameOf(const std::wstring& path);

}  // namespace velkor
