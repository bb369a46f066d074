// How document bytes become text and back.
#include <gtest/gtest.h>

#include "editor/document.h"

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
