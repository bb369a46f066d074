#pragma once
// How a text file's bytes become the program's text and back. A file is
// Shift-JIS (code page 932) unless it carries a UTF-8 or UTF-16 byte-order
// mark or is valid UTF-8 with non-ASCII text; it is written again in the
// encoding and with the line breaks it came in. Whatever would not come back
// byte for byte is found and reported, never passed over.
#include <cstddef>
#include <string>
#include <string_view>

namespace velkor {

enum class DocEncoding { ShiftJis, Utf8, Utf8Bom, Utf16Le, Utf16Be };

// The line breaks a file is written with; the text itself always has CR LF.
enum class LineBreaks { CrLf, Lf, Cr };

// The encoding of a file's bytes: a byte-order mark (UTF-8, UTF-16 LE or BE),
// else UTF-8 when the bytes are valid UTF-8 and not all ASCII, else Shift-JIS.
DocEncoding RecogniseEncoding(std::string_view bytes);

// The same recognition for bytes that come piece by piece, as a file is read:
// after Finish, encoding() is what RecogniseEncoding says of all the pieces
// together. A reader can act before the end once the answer is settled.
class EncodingRecogniser {
 public:
  void Add(std::string_view bytes);
  void Finish();
  // No further byte can change the answer: a byte-order mark, or bytes that
  // are not UTF-8 (then the file is Shift-JIS).
  bool settled() const { return settled_; }
  // The answer for the bytes so far, as if they were all.
  DocEncoding encoding() const;
  // Bytes so far that are not ASCII, all of them valid UTF-8.
  bool utf8_so_far() const { return !settled_ && !invalid_ && non_ascii_; }

 private:
  void Settle(DocEncoding encoding);
  void Validate(std::string_view bytes);
  bool MarkPossible() const;

  std::string head_;     // the first bytes, up to a mark's length
  std::string pending_;  // a UTF-8 sequence that the next piece completes
  bool non_ascii_ = false;
  bool invalid_ = false;  // a byte that is no UTF-8
  bool settled_ = false;
  DocEncoding encoding_ = DocEncoding::ShiftJis;
};

// The text of a file's bytes in their encoding, a byte-order mark left out:
// line breaks stay as they are and NULs stay in, as a viewer shows a file
// that it never writes back.
std::wstring DecodeText(std::string_view bytes, DocEncoding encoding);

struct DecodedDocument {
  enum class Change {
    kNone,        // encoding the text again gives the file's bytes
    kBytes,       // bytes that are no character of the encoding, or that
                  // come back as other bytes (Shift-JIS codes with a twin)
    kLineBreaks,  // line breaks of more than one kind: all take one kind
  };

  std::wstring text;  // line breaks as CR LF
  DocEncoding encoding = DocEncoding::ShiftJis;
  LineBreaks breaks = LineBreaks::CrLf;  // the kind most of the file's breaks are
  // A text control cannot hold a NUL character: the text stops at the first one.
  bool cut_at_nul = false;
  // The first place (an index into text) from which the file's bytes would
  // not come back if the text were saved unchanged, and why; the part cut
  // at a NUL is not counted here.
  Change change = Change::kNone;
  std::size_t changed_at = std::wstring::npos;
};

DecodedDocument DecodeDocument(std::string_view bytes);

struct EncodedDocument {
  std::string bytes;
  std::size_t lost = 0;                         // characters the encoding cannot hold
  std::size_t first_lost = std::wstring::npos;  // their first index in the text
};

// text: line breaks as CR LF; they are written as `breaks` says.
EncodedDocument EncodeDocument(std::wstring_view text, DocEncoding encoding, LineBreaks breaks = LineBreaks::CrLf);

}  // namespace velkor
