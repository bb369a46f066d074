#pragma once
// How a document's bytes become the editor's text and back. Files are
// Shift-JIS unless they carry a UTF-8 or UTF-16 byte-order mark or are valid
// UTF-8 with non-ASCII text; a document is saved in the encoding it came in.
#include <cstddef>
#include <string>

namespace velkor {

enum class DocEncoding { ShiftJis, Utf8, Utf8Bom, Utf16Le, Utf16Be };

struct DecodedDocument {
  std::wstring text;
  DocEncoding encoding = DocEncoding::ShiftJis;
  // The text control cannot hold a NUL character: the text stops at the first one.
  bool cut_at_nul = false;
};

DecodedDocument DecodeDocument(const std::string& bytes);

struct EncodedDocument {
  std::string bytes;
  std::size_t lost = 0;                          // characters the encoding cannot hold
  std::size_t first_lost = std::wstring::npos;   // their first index in the text
};

// text: the editor's text with CR LF line breaks.
EncodedDocument EncodeDocument(const std::wstring& text, DocEncoding encoding);

// Line (1-based) and column (1-based, in characters) of a text index, for messages.
struct TextPlace {
  int line = 1;
  int column = 1;
};
TextPlace PlaceOf(const std::wstring& text, std::size_t index);

// The backup name: the extension replaced by ".BAK" (".BAK" appended when the
// name has none), so a.txt and a.doc share a.BAK.
std::wstring BackupNameOf(const std::wstring& path);

// Whether the file-name part of a path has an extension.
bool HasExtension(const std::wstring& path);

}  // namespace velkor
