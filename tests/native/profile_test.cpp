// The settings file's form, read and changed in memory.
#include <gtest/gtest.h>

#include <climits>

#include "state/profile.h"

using namespace velkor;
using namespace std::string_literals;

namespace {

std::string Repeat(std::string_view s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

std::string Utf16File(std::u16string_view text) {
  std::string out = "\xFF\xFE";
  for (char16_t c : text) {
    out.push_back(static_cast<char>(c & 0xFF));
    out.push_back(static_cast<char>(c >> 8));
  }
  return out;
}

// A file someone edited by hand: a comment before the first section, a key
// outside any section, odd spacing, a line without "=", LF-only and CR-only
// line ends, blank lines and a last line without a line break.
const std::string kHandWritten =
    "; Velkor settings\r\n"
    "stray=1\r\n"
    "\r\n"
    "  [ Option1 ]  \r\n"
    "\tFontSize\t=\t0x10\t\r\n"
    "junk without equals\n"
    "1 = 0\r"
    "\r\n"
    "\r\n"
    "[ChildNo3FontSelect]\r\n"
    "WordWrap=2\r\n"
    "Name=\x82\x6C\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4E\r\n"  // ＭＳ ゴシック
    "[LastUse]\r\n"
    "File=C:\\memo\\a.txt";

}  // namespace

TEST(ProfileRead, ValuesOfTheDocumentedEdgeCases) {
  const Profile p(kHandWritten);
  EXPECT_EQ(p.ReadInteger(L"Option1", L"FontSize", 10), 16);
  EXPECT_TRUE(p.ReadBool(L"CHILDNO3fontselect", L"wordwrap", false));
  EXPECT_EQ(p.ReadString(L"childno3FONTSELECT", L"NAME", L""), L"ＭＳ ゴシック");
  EXPECT_EQ(p.ReadString(L"LastUse", L"File", L"*.txt"), L"C:\\memo\\a.txt");
  EXPECT_FALSE(p.ReadBool(L"Option1", L"1", true));

  const Profile yes("[ChildNo1FontSelect]\r\nWordWrap=yes\r\n");
  EXPECT_TRUE(yes.ReadBool(L"ChildNo1FontSelect", L"WordWrap", true));
  EXPECT_FALSE(yes.ReadBool(L"ChildNo1FontSelect", L"WordWrap", false));
  EXPECT_EQ(yes.ReadInteger(L"ChildNo1FontSelect", L"WordWrap", -7), -7);
}

TEST(ProfileRead, MissingFileSectionOrKeyGiveTheDefault) {
  EXPECT_EQ(Profile().ReadString(L"UsedFiles", L"UsedFile1", L"No Set"), L"No Set");
  const Profile p(kHandWritten);
  EXPECT_EQ(p.ReadString(L"KEY", L"NO1", L"ご挨拶"), L"ご挨拶");
  EXPECT_EQ(p.ReadInteger(L"Option1", L"Missing", 10), 10);
  // Keys before the first section belong to the section without a name.
  EXPECT_FALSE(p.Find(L"Option1", L"stray"));
  EXPECT_EQ(p.ReadInteger(L"", L"stray", 0), 1);
  EXPECT_FALSE(p.Find(L"", L"FontSize"));
  // A line without "=" is a key without a value.
  EXPECT_FALSE(p.Find(L"Option1", L"junk without equals"));
  EXPECT_EQ(Profile("[S]\r\nk=\r\n").ReadInteger(L"S", L"k", 5), 5);
  EXPECT_EQ(Profile("[S]\r\nk=\r\n").ReadString(L"S", L"k", L"x"), L"");
}

TEST(ProfileRead, NamesMatchWithoutRegardToCaseOrSurroundingBlanks) {
  const Profile p(
      "[C:\\Memo\\Notes.TXT]\r\nWidth=300\r\n"
      "[\x82\x60\x82\x61\x82\x62]\r\nk=wide\r\n");  // ＡＢＣ
  EXPECT_EQ(p.ReadInteger(L"c:\\memo\\notes.txt", L"width", 0), 300);
  EXPECT_EQ(p.ReadInteger(L"  C:\\MEMO\\NOTES.TXT\t", L" Width ", 0), 300);
  EXPECT_EQ(p.ReadString(L"ａｂｃ", L"K", L""), L"wide");
  EXPECT_FALSE(p.Find(L"C:\\Memo\\Notes.TX", L"Width"));
  EXPECT_FALSE(p.Find(L"C:\\Memo\\Notes.TXT2", L"Width"));
}

TEST(ProfileRead, FirstSectionAndFirstKeyOfANameWin) {
  const Profile p("[S]\r\nk=1\r\nk=2\r\n[T]\r\n[s]\r\nk=3\r\nj=4\r\n");
  EXPECT_EQ(p.ReadInteger(L"S", L"k", 0), 1);
  EXPECT_FALSE(p.Find(L"S", L"j"));
  // A line without "=" hides a later key of the same name.
  EXPECT_FALSE(Profile("[S]\r\nk\r\nk=1\r\n").Find(L"S", L"k"));
}

TEST(ProfileRead, SectionLines) {
  // The name runs to the last "]"; text after it does not count.
  EXPECT_EQ(Profile("[a]b] junk\r\nk=1\r\n").ReadInteger(L"a]b", L"k", 0), 1);
  // Without a closing bracket the line is a key, and the section goes on.
  EXPECT_EQ(Profile("[S]\r\n[abc\r\nk=1\r\n").ReadInteger(L"S", L"k", 0), 1);
  // A second byte 0x5D is part of its character, not a bracket: ゾ is 83 5D.
  EXPECT_EQ(Profile("[\x83\x5D]\r\nk=1\r\n").ReadInteger(L"ゾ", L"k", 0), 1);
  EXPECT_FALSE(Profile("[a\x83\x5D\r\nk=1\r\n").Find(L"a", L"k"));
  // The empty name ends the section before it and is never found.
  EXPECT_FALSE(Profile("[S]\r\n[]\r\nk=1\r\n").Find(L"S", L"k"));
}

TEST(ProfileRead, ValuesAreTrimmedButOtherwiseAsWritten) {
  const Profile p(
      "[S]\r\n"
      "quoted=\"a b\"\r\n"
      "equals = x=y \r\n"
      "wide=\x81\x40v\x81\x40\r\n"  // ideographic spaces are text, not blanks
      "ctrl=\x1A v \x0B\r\n"
      "cr=a\rb=2\r\n");
  EXPECT_EQ(p.ReadString(L"S", L"quoted", L""), L"\"a b\"");
  EXPECT_EQ(p.ReadString(L"S", L"equals", L""), L"x=y");
  EXPECT_EQ(p.ReadString(L"S", L"wide", L""), L"\x3000v\x3000");
  EXPECT_EQ(p.ReadString(L"S", L"ctrl", L""), L"v");
  EXPECT_EQ(p.ReadString(L"S", L"cr", L""), L"a");
  EXPECT_EQ(p.ReadInteger(L"S", L"b", 0), 2);
  EXPECT_EQ(Profile("[S]\r\nnul=ab\0cd\r\n"s).ReadString(L"S", L"nul", L""), L"ab");
}

TEST(ProfileRead, LongValuesAreCutAt1023BytesOnACharacterBoundary) {
  const Profile ascii("[S]\r\nk=" + std::string(2000, 'a') + "\r\n");
  EXPECT_EQ(ascii.ReadString(L"S", L"k", L""), std::wstring(1023, L'a'));

  // 511 double-byte characters fill 1022 bytes; the next would pass the limit.
  const Profile sjis("[S]\r\nk=" + Repeat("\x82\xA0", 1000) + "\r\n");
  EXPECT_EQ(sjis.ReadString(L"S", L"k", L""), std::wstring(511, L'あ'));
  const Profile odd("[S]\r\nk=a" + Repeat("\x82\xA0", 1000) + "\r\n");
  EXPECT_EQ(odd.ReadString(L"S", L"k", L""), L"a" + std::wstring(511, L'あ'));

  // In a UTF-16 file the bytes are those of the code page 932 form; a
  // character without one counts as two.
  const Profile wide(Utf16File(u"[S]\r\nk=" + std::u16string(1000, u'あ') + u"\r\nj=a" +
                               std::u16string(1000, u'\u00E9') + u"\r\n"));
  EXPECT_EQ(wide.ReadString(L"S", L"k", L""), std::wstring(511, L'あ'));
  EXPECT_EQ(wide.ReadString(L"S", L"j", L""), L"a" + std::wstring(511, L'\u00E9'));
  const Profile short_wide(Utf16File(u"[S]\r\nk=" + std::u16string(511, u'\u00E9') + u"\r\n"));
  EXPECT_EQ(short_wide.ReadString(L"S", L"k", L"").size(), 511u);
}

TEST(ProfileInteger, DecimalAndHexadecimalForms) {
  struct Case {
    const wchar_t* text;
    std::optional<int> value;
  };
  const Case cases[] = {
      {L"12", 12},           {L"+12", 12},          {L"-12", -12},       {L"017", 17},
      {L"12abc", 12},        {L"12 34", 12},        {L"\x01" L"5", 5},   {L"0x10", 16},
      {L"0X10", 16},         {L"0xff", 255},        {L"-0x10", -16},     {L"0x1G", 1},
      {L"0x", 0},            {L"0xg", 0},           {L"0b101", 0},       {L"4294967295", -1},
      {L"2147483648", INT_MIN}, {L"-2147483648", INT_MIN}, {L"0xFFFFFFFF", -1}, {L"0x80000005", INT_MIN + 5},
      {L"99999999999", 1215752191},
      {L"", std::nullopt},   {L"yes", std::nullopt}, {L"- 12", std::nullopt}, {L"--12", std::nullopt},
      {L"＋１", std::nullopt}, {L"x10", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseProfileInteger(c.text), c.value) << "text: " << c.text;
}

TEST(ProfileWrite, CreatesTheFileAndTheSection) {
  Profile p;
  EXPECT_EQ(p.WriteString(L"UsedFiles", L"UsedFile1", L"C:\\memo\\a.txt"), ProfileEdit::kChanged);
  EXPECT_EQ(p.WriteInteger(L"UsedFiles", L"Count", -5), ProfileEdit::kChanged);
  EXPECT_EQ(p.WriteBool(L"Option", L"No1", true), ProfileEdit::kChanged);
  EXPECT_EQ(p.Image(),
            "[UsedFiles]\r\nUsedFile1=C:\\memo\\a.txt\r\nCount=-5\r\n"
            "[Option]\r\nNo1=1\r\n");
  EXPECT_EQ(p.encoding(), ProfileEncoding::kCp932);
}

TEST(ProfileWrite, IntegersAndBooleansInTheirShortestForms) {
  Profile p;
  p.WriteInteger(L"S", L"min", INT_MIN);
  p.WriteInteger(L"S", L"zero", 0);
  p.WriteInteger(L"S", L"color", static_cast<int>(0x80000005u));
  p.WriteBool(L"S", L"off", false);
  EXPECT_EQ(p.Image(), "[S]\r\nmin=-2147483648\r\nzero=0\r\ncolor=-2147483643\r\noff=0\r\n");
  EXPECT_EQ(p.ReadInteger(L"S", L"color", 0), static_cast<int>(0x80000005u));
}

TEST(ProfileWrite, TouchesOnlyTheValueItChanges) {
  Profile p(kHandWritten);
  EXPECT_EQ(p.WriteInteger(L"OPTION1", L"fontsize", 12), ProfileEdit::kChanged);
  std::string expected = kHandWritten;
  expected.replace(expected.find("0x10"), 4, "12");
  EXPECT_EQ(p.Image(), expected);

  // A key without "=" gets its value where the "=" belongs.
  EXPECT_EQ(p.WriteString(L"Option1", L"junk without equals", L"now"), ProfileEdit::kChanged);
  expected.replace(expected.find("junk without equals"), 19, "junk without equals=now");
  EXPECT_EQ(p.Image(), expected);
}

TEST(ProfileWrite, NewKeysGoAfterTheSectionsLastLine) {
  Profile p(kHandWritten);
  p.WriteString(L"Option1", L"2", L"1");
  p.WriteString(L"LastUse", L"Width", L"640");  // the file's last line had no line break
  p.WriteString(L"KEY", L"NO1", L"ご挨拶");
  std::string expected = kHandWritten;
  expected.insert(expected.find("1 = 0\r") + 6, "2=1\r\n");
  expected += "\r\nWidth=640\r\n[KEY]\r\nNO1=\x82\xB2\x88\xA5\x8E\x41\r\n";
  EXPECT_EQ(p.Image(), expected);
  EXPECT_EQ(p.ReadInteger(L"Option1", L"2", 0), 1);
  EXPECT_EQ(p.ReadString(L"KEY", L"NO1", L""), L"ご挨拶");
}

TEST(ProfileWrite, AnUnchangedValueLeavesTheImageAlone) {
  Profile p(kHandWritten);
  EXPECT_EQ(p.WriteInteger(L"childno3fontselect", L"WordWrap", 2), ProfileEdit::kUnchanged);
  EXPECT_EQ(p.WriteString(L"LastUse", L"File", L"  C:\\memo\\a.txt "), ProfileEdit::kUnchanged);
  EXPECT_EQ(p.EraseSection(L"NoSuchSection"), ProfileEdit::kUnchanged);
  EXPECT_EQ(p.Image(), kHandWritten);
}

TEST(ProfileWrite, ValuesStayOnOneLine) {
  Profile p("[SET]\r\nNO1=old\r\n[KEY]\r\nNO1=x\r\n");
  EXPECT_EQ(p.WriteString(L"SET", L"NO1", L"first\r\n[KEY]\r\nNO1=injected"), ProfileEdit::kChanged);
  EXPECT_EQ(p.Image(), "[SET]\r\nNO1=first\r\n[KEY]\r\nNO1=x\r\n");
  EXPECT_EQ(p.WriteString(L"SET", L"NO2", std::wstring(L"a\0b", 3)), ProfileEdit::kChanged);
  EXPECT_EQ(p.ReadString(L"SET", L"NO2", L""), L"a");
}

TEST(ProfileWrite, RefusesNamesTheFormCannotHold) {
  Profile p("[S]\r\nk=1\r\n");
  EXPECT_EQ(p.WriteString(L"", L"k", L"v"), ProfileEdit::kRefused);
  EXPECT_EQ(p.EraseSection(L""), ProfileEdit::kUnchanged);
  EXPECT_EQ(p.WriteString(L" \t", L"k", L"v"), ProfileEdit::kRefused);
  EXPECT_EQ(p.WriteString(L"S", L"", L"v"), ProfileEdit::kRefused);
  EXPECT_EQ(p.WriteString(L"S", L"a=b", L"v"), ProfileEdit::kRefused);
  EXPECT_EQ(p.WriteString(L"S", L"[T]", L"v"), ProfileEdit::kRefused);
  EXPECT_EQ(p.WriteString(L"S\r\n[T]", L"k", L"v"), ProfileEdit::kRefused);
  EXPECT_EQ(p.WriteString(L"S", L"k\nx", L"v"), ProfileEdit::kRefused);
  EXPECT_EQ(p.Image(), "[S]\r\nk=1\r\n");
  // Brackets and "=" inside a section name are fine: document paths hold them.
  EXPECT_EQ(p.WriteInteger(L"C:\\a=[1]\\b].txt", L"Width", 3), ProfileEdit::kChanged);
  EXPECT_EQ(p.ReadInteger(L"c:\\A=[1]\\B].TXT", L"Width", 0), 3);
}

TEST(ProfileErase, RemovesEverySectionOfTheName) {
  Profile p(
      "; top\r\n[C:\\memo\\a.txt]\r\nWidth=1\r\n; about b\r\n\r\n"
      "[Keep]\r\nk=1\r\n"
      "[c:\\MEMO\\A.TXT]\r\nWidth=2\r\n");
  EXPECT_EQ(p.EraseSection(L"C:\\Memo\\A.txt"), ProfileEdit::kChanged);
  EXPECT_EQ(p.Image(), "; top\r\n[Keep]\r\nk=1\r\n");
  EXPECT_FALSE(p.Find(L"C:\\memo\\a.txt", L"Width"));
  EXPECT_EQ(p.EraseSection(L"C:\\memo\\a.txt"), ProfileEdit::kUnchanged);
}

TEST(ProfileEncoding, ShiftJisSecondBytesAreNeverSyntax) {
  // 表 is 95 5C, ソ is 83 5C, ゾ is 83 5D, ー is 81 5B.
  Profile p("[\x95\x5C\x83\x5D]\r\n\x83\x5C\x81\x5B=\x95\x5C]\r\n");
  EXPECT_EQ(p.ReadString(L"表ゾ", L"ソー", L""), L"表]");
  EXPECT_EQ(p.WriteString(L"表ゾ", L"ソー", L"ゾ"), ProfileEdit::kChanged);
  EXPECT_EQ(p.Image(), "[\x95\x5C\x83\x5D]\r\n\x83\x5C\x81\x5B=\x83\x5D\r\n");
  // A lead byte without a second byte does not swallow the "=" after it.
  EXPECT_EQ(Profile("[S]\r\na\x81=1\r\n").ReadInteger(L"S", L"a\x30FB", 0), 1);
  // Second bytes 0x41 and 0x61 are no letters A and a: ア (83 41) is not ヂ (83 61).
  EXPECT_FALSE(Profile("[\x83\x41]\r\nk=1\r\n").Find(L"ヂ", L"k"));
  EXPECT_TRUE(Profile("[\x83\x41]\r\nk=1\r\n").Find(L"ア", L"k"));
}

TEST(ProfileEncoding, AValueCodePage932CannotHoldTurnsTheFileIntoUtf16) {
  const std::string before =
      "; \x83\x81\x83\x82\r\n"  // ; メモ
      "[caf?]\r\nk=question mark\r\n"
      "[KEY]\r\nNO1=\x82\xB2\x88\xA5\x8E\x41\r\n";  // ご挨拶
  Profile p(before);
  // A name the file cannot hold is not found, not even as "caf?".
  EXPECT_FALSE(p.Find(L"café", L"k"));
  EXPECT_EQ(p.WriteString(L"KEY", L"NO2", L"café"), ProfileEdit::kChanged);
  EXPECT_EQ(p.encoding(), ProfileEncoding::kUtf16Le);
  EXPECT_EQ(p.Image(), Utf16File(u"; メモ\r\n[caf?]\r\nk=question mark\r\n[KEY]\r\nNO1=ご挨拶\r\nNO2=café\r\n"));
  EXPECT_EQ(p.ReadString(L"KEY", L"NO2", L""), L"café");

  Profile q(before);
  q.WriteInteger(L"C:\\José\\memo.txt", L"Width", 5);
  EXPECT_EQ(q.encoding(), ProfileEncoding::kUtf16Le);
  EXPECT_EQ(q.ReadInteger(L"c:\\josé\\MEMO.TXT", L"Width", 0), 5);
  EXPECT_EQ(q.ReadString(L"caf?", L"k", L""), L"question mark");
}

TEST(ProfileEncoding, MarkedFilesKeepTheirEncoding) {
  Profile wide(Utf16File(u"[S]\r\nk=é\r\n") + "\x01");  // with an odd last byte
  EXPECT_EQ(wide.ReadString(L"s", L"K", L""), L"é");
  wide.WriteString(L"S", L"j", L"ж");
  EXPECT_EQ(wide.Image(), Utf16File(u"[S]\r\nk=é\r\nj=ж\r\n") + "\x01");
  EXPECT_TRUE(wide.ReadBool(L"S", L"missing", true));

  Profile utf8("\xEF\xBB\xBF[S]\r\nk=\xC3\xA9\r\n");
  EXPECT_EQ(utf8.ReadString(L"S", L"k", L""), L"é");
  utf8.WriteString(L"S", L"j", L"ж");
  EXPECT_EQ(utf8.encoding(), ProfileEncoding::kUtf8);
  EXPECT_EQ(utf8.Image(), "\xEF\xBB\xBF[S]\r\nk=\xC3\xA9\r\nj=\xD0\xB6\r\n");
}
