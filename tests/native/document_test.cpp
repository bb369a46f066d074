// How document bytes become text and back.
#include <gtest/gtest.h>

#include "editor/document.h"
#include "platform/path_names.h"

using namespace velkor;

TEST(DocumentEncoding, IsDetectedFromMarksAndValidUtf8) {
  EXPECT_EQ(DecodeDocument("plain ascii").encoding, DocEncoding::ShiftJis);
  EXPECT_EQ(DecodeDocument("\x82\xA0\x82\xA2").encoding, DocEncoding::ShiftJis);  // あい
  EXPECT_EQ(DecodeDocument("\xE3\x81\x82").encoding, DocEncoding::Utf8);         // あ
  EXPECT_EQ(DecodeDocument("\xEF\xBB\xBF" "abc").encoding, DocEncoding::Utf8Bom);
  EXPECT_EQ(DecodeDocument(std::string("\xFF\xFE" "a\0", 4)).encoding, DocEncoding::Utf16Le);
  EXPECT_EQ(DecodeDocument(std::string("\xFE\xFF\0a", 4)).encoding, DocEncoding::Utf16Be);
  EXPECT_EQ(DecodeDocument(std::string("\xFE\xFF\0a", 4)).text, L"a");
  // Shift-JIS that happens to be valid UTF-8 is rare; this short katakana pair is one.
  EXPECT_EQ(DecodeDocument("\x83\x41\x83\x43").encoding, DocEncoding::ShiftJis);
}

TEST(DocumentEncoding, EveryEncodingRoundTrips) {
  const std::wstring text = L"日本語 abc\r\n表\\\r\n";
  for (DocEncoding e : {DocEncoding::ShiftJis, DocEncoding::Utf8Bom, DocEncoding::Utf16Le, DocEncoding::Utf16Be}) {
    const EncodedDocument out = EncodeDocument(text, e);
    EXPECT_EQ(out.lost, 0u);
    const DecodedDocument back = DecodeDocument(out.bytes);
    EXPECT_EQ(back.text, text);
    EXPECT_EQ(back.encoding, e);
  }
  // Without a mark, UTF-8 is recognised by its non-ASCII text.
  EXPECT_EQ(DecodeDocument(EncodeDocument(text, DocEncoding::Utf8).bytes).encoding, DocEncoding::Utf8);
}

// What a file holds comes back byte for byte, or the first place where it
// would not is named.
TEST(DocumentEncoding, BytesThatWouldNotComeBackAreFound) {
  struct Case {
    std::string bytes;
    DocEncoding encoding;
    std::size_t changed_at;
  } cases[] = {
      {"caf\xE9", DocEncoding::ShiftJis, 3},                          // Latin-1 cafe with an accent
      {"ab\r\n\x82", DocEncoding::ShiftJis, 4},                        // cut inside a double-byte character
      {"\xE3\x81\x82z\xFF", DocEncoding::ShiftJis, 1},                 // UTF-8 with a stray byte: read as Shift-JIS
      {"\xEF\xBB\xBF" "a\xFF" "b", DocEncoding::Utf8Bom, 1},             // a mark, then no UTF-8
      {std::string("\xFF\xFE" "a\0b", 5), DocEncoding::Utf16Le, 1},   // an odd last byte
  };
  for (const Case& c : cases) {
    const DecodedDocument d = DecodeDocument(c.bytes);
    EXPECT_EQ(d.encoding, c.encoding) << c.bytes;
    EXPECT_EQ(d.change, DecodedDocument::Change::kBytes) << c.bytes;
    EXPECT_EQ(d.changed_at, c.changed_at) << c.bytes;
  }
  // NEC-selected rows decode to characters that code page 932 writes with other codes.
  EXPECT_NE(DecodeDocument("\x82\xA0\xED\x40").change, DecodedDocument::Change::kNone);
  EXPECT_EQ(DecodeDocument("\x82\xA0\xED\x40").changed_at, 1u);
  // Everything else comes back as it was.
  for (const std::string& faithful : {std::string("\x82\xA0\x82\xA2 abc\r\n\x95\x5C\\"), std::string("\xFA\x5C"),
                                      std::string("\xE3\x81\x82\n"), std::string("\xEF\xBB\xBF\xE3\x81\x82")}) {
    const DecodedDocument d = DecodeDocument(faithful);
    EXPECT_EQ(d.change, DecodedDocument::Change::kNone) << faithful;
    EXPECT_EQ(EncodeDocument(d.text, d.encoding, d.breaks).bytes, faithful);
  }
}

TEST(DocumentEncoding, LineBreaksKeepTheirKindOrTheFirstOddOneIsNamed) {
  const DecodedDocument lf = DecodeDocument("a\nb\n");
  EXPECT_EQ(lf.text, L"a\r\nb\r\n");
  EXPECT_EQ(lf.breaks, LineBreaks::Lf);
  EXPECT_EQ(lf.change, DecodedDocument::Change::kNone);
  EXPECT_EQ(EncodeDocument(lf.text + L"c\r\n", lf.encoding, lf.breaks).bytes, "a\nb\nc\n");
  const DecodedDocument cr = DecodeDocument("a\rb");
  EXPECT_EQ(cr.breaks, LineBreaks::Cr);
  EXPECT_EQ(EncodeDocument(cr.text, cr.encoding, cr.breaks).bytes, "a\rb");

  const DecodedDocument mixed = DecodeDocument("a\r\nb\nc\n\x82\xA0");
  EXPECT_EQ(mixed.text, L"a\r\nb\r\nc\r\nあ");
  EXPECT_EQ(mixed.breaks, LineBreaks::Lf);
  EXPECT_EQ(mixed.change, DecodedDocument::Change::kLineBreaks);
  EXPECT_EQ(mixed.changed_at, 1u);
  // A byte change before the first odd break is the one named, at its place in the new text.
  const DecodedDocument both = DecodeDocument("x\ny\n\xE9\r\n");
  EXPECT_EQ(both.change, DecodedDocument::Change::kBytes);
  EXPECT_EQ(both.changed_at, 6u);

  const std::string utf16("\xFF\xFE" "a\0\n\0b\0", 8);
  const DecodedDocument w = DecodeDocument(utf16);
  EXPECT_EQ(w.text, L"a\r\nb");
  EXPECT_EQ(EncodeDocument(w.text, w.encoding, w.breaks).bytes, utf16);
}

TEST(DocumentEncoding, ShiftJisCountsWhatItCannotHold) {
  const EncodedDocument out = EncodeDocument(L"a\r\nb\u00E9c\u00E8", DocEncoding::ShiftJis);
  EXPECT_EQ(out.lost, 2u);
  EXPECT_EQ(out.first_lost, 4u);
  EXPECT_EQ(out.bytes, "a\r\nb?c?");
  const TextPlace place = PlaceOf(L"a\r\nb\u00E9c", 4);
  EXPECT_EQ(place.line, 2);
  EXPECT_EQ(place.column, 2);
}

TEST(DocumentEncoding, TextStopsAtTheFirstNul) {
  const DecodedDocument d = DecodeDocument(std::string("head\0tail", 9));
  EXPECT_EQ(d.text, L"head");
  EXPECT_TRUE(d.cut_at_nul);
  EXPECT_FALSE(DecodeDocument("no nul").cut_at_nul);
  const DecodedDocument w = DecodeDocument(std::string("\xFF\xFE" "a\0\0\0b\0", 8));
  EXPECT_EQ(w.text, L"a");
  EXPECT_TRUE(w.cut_at_nul);
}

TEST(DocumentEncoding, TheControlHoldsALineBreakInOnePosition) {
  EXPECT_EQ(ControlLength(L"ab\r\ncd\r\n"), 6u);
  EXPECT_EQ(ControlLength(L"\r\r\n\n"), 3u);
}

TEST(BackupName, ReplacesTheExtensionOfTheFileName) {
  EXPECT_EQ(BackupNameOf(L"C:\\memo\\a.txt"), L"C:\\memo\\a.BAK");
  EXPECT_EQ(BackupNameOf(L"C:\\memo\\a.doc"), L"C:\\memo\\a.BAK");
  EXPECT_EQ(BackupNameOf(L"C:\\memo\\a"), L"C:\\memo\\a.BAK");
  EXPECT_EQ(BackupNameOf(L"C:\\v1.2\\readme"), L"C:\\v1.2\\readme.BAK");
  EXPECT_EQ(BackupNameOf(L"C:\\x\\old.BAK"), L"C:\\x\\old.BAK");
  EXPECT_TRUE(HasExtension(L"memo.txt"));
  EXPECT_FALSE(HasExtension(L"memo"));
  EXPECT_FALSE(HasExtension(L"C:\\dir.d\\memo"));
}
