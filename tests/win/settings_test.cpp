// The settings store on real files, checked against the platform's
// private-profile service where both read the same form.
#include <gtest/gtest.h>

#include <functional>

#include "state/settings.h"
#include "platform/error.h"
#include "platform/scoped.h"
#include "support/win_test.h"

using namespace velkor;
using namespace velkor::test;

namespace {

std::wstring PlatformString(const std::wstring& path, const wchar_t* section, const wchar_t* key,
                            const wchar_t* def) {
  wchar_t buf[1024];
  const DWORD n = GetPrivateProfileStringW(section, key, def, buf, 1024, path.c_str());
  return std::wstring(buf, n);
}

int PlatformInteger(const std::wstring& path, const wchar_t* section, const wchar_t* key, int def) {
  return static_cast<int>(GetPrivateProfileIntW(section, key, def, path.c_str()));
}

std::wstring ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const Error& e) {
    return e.message();
  }
  return L"(no error)";
}

int EntriesIn(const std::wstring& dir) {
  int n = 0;
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW((dir + L"\\*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return 0;
  do {
    if (lstrcmpW(fd.cFileName, L".") != 0 && lstrcmpW(fd.cFileName, L"..") != 0) ++n;
  } while (FindNextFileW(h, &fd));
  FindClose(h);
  return n;
}

std::string Repeat(std::string_view s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

// A file edited by hand: comments, a key before any section, odd spacing,
// LF-only lines, duplicate keys and sections in other letter cases,
// hexadecimal numbers, a long value, and Japanese section, key and values
// in Shift-JIS (表 is 95 5C: its second byte is the backslash).
const std::string kHandWritten =
    "; Velkor\r\n"
    "stray=1\r\n"
    "  [ Option1 ]  \r\n"
    "\tFontSize\t=\t0x10\t\r\n"
    " 1 = 0 \r\n"
    "junk line\r\n"
    "\r\n"
    "[ChildNo3FontSelect]\n"
    "WordWrap = 2\n"
    "wordwrap = 0\n"
    "Name=\x82\x6C\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4E\n"  // ＭＳ ゴシック
    "[childno3fontselect]\r\n"
    "Size=12\r\n"
    "[C:\\\x83\x81\x83\x82\\\x95\x5C\x8E\xA6.txt]\r\n"  // [C:\メモ\表示.txt]
    "\x95\x9D=640\r\n"                                  // 幅
    "Color = -2147483643\r\n"
    "Style=0x0F\r\n"
    "Size=12pt\r\n"
    "File=C:\\\x83\x81\x83\x82\\\x95\x5C\x8E\xA6.txt\r\n"
    "[SET]\r\n"
    "NO1=\x83\x7B\x83\x4E\x82\xF0\x8E\x67\x82\xC1\x82\xC4\r\n"  // ボクを使って
    "NO2=" + std::string(1500, 'x') + "\r\n"
    "[a]b]\r\n"
    "k=bracket\r\n"
    "[Empty]\r\n"
    "k=\r\n";

struct Probe {
  const wchar_t* section;
  const wchar_t* key;
};

const Probe kProbes[] = {
    {L"Option1", L"FontSize"},
    {L"OPTION1", L"1"},
    {L"Option1", L"junk line"},
    {L"Option1", L"Missing"},
    {L"ChildNo3FontSelect", L"WordWrap"},
    {L"CHILDNO3FONTSELECT", L"wordwrap"},
    {L"ChildNo3FontSelect", L"Size"},  // only the first section of a name counts
    {L"ChildNo3FontSelect", L"Name"},
    {L"c:\\メモ\\表示.TXT", L"幅"},
    {L"C:\\メモ\\表示.txt", L"color"},
    {L"C:\\メモ\\表示.txt", L"Style"},
    {L"C:\\メモ\\表示.txt", L"Size"},
    {L"C:\\メモ\\表示.txt", L"File"},
    {L"SET", L"NO1"},
    {L"SET", L"NO2"},
    {L"a]b", L"k"},
    {L"Empty", L"k"},
    {L"Missing", L"k"},
    {L"", L"stray"},
};

void ExpectSameAsPlatform(const std::wstring& path) {
  const Settings settings(path);
  for (const Probe& p : kProbes) {
    EXPECT_EQ(settings.ReadString(p.section, p.key, L"DEF"), PlatformString(path, p.section, p.key, L"DEF"))
        << "[" << p.section << "] " << p.key;
  }
}

void ExpectSameIntegersAsPlatform(const std::wstring& path) {
  const Settings settings(path);
  for (const Probe& p : kProbes) {
    // Texts that are no number at all: the store gives the default, the platform 0.
    const std::wstring text = settings.ReadString(p.section, p.key, L"");
    if (!text.empty() && (text[0] < L'0' || text[0] > L'9') && text[0] != L'-') continue;
    EXPECT_EQ(settings.ReadInteger(p.section, p.key, -777), PlatformInteger(path, p.section, p.key, -777))
        << "[" << p.section << "] " << p.key;
  }
}

}  // namespace

TEST(SettingsFile, SitsBesideTheExecutableWithTheIniExtension) {
  EXPECT_EQ(SettingsFilePath(), ModuleDir() + L"\\settings_test.INI");
  EXPECT_EQ(Settings().path(), SettingsFilePath());
  TempDir dir;
  SetSettingsFilePathForTesting(dir / L"Velkor.INI");
  EXPECT_EQ(Settings().path(), dir / L"Velkor.INI");
  Settings().WriteInteger(L"Option1", L"FontSize", 12);
  EXPECT_EQ(ReadBytes(dir / L"Velkor.INI"), "[Option1]\r\nFontSize=12\r\n");
  SetSettingsFilePathForTesting(L"");
  EXPECT_EQ(SettingsFilePath(), ModuleDir() + L"\\settings_test.INI");
}

TEST(SettingsStore, EveryOperationSeesTheFileAsItIsNow) {
  TempDir dir;
  const std::wstring path = dir / L"Velkor.INI";
  Settings settings(path);
  EXPECT_EQ(settings.ReadString(L"UsedFiles", L"UsedFile1", L"No Set"), L"No Set");
  EXPECT_FALSE(FileExists(path)) << "reading creates nothing";
  settings.EraseSection(L"UsedFiles");
  EXPECT_FALSE(FileExists(path)) << "erasing an absent section creates nothing";

  WriteBytes(path, "[Option1]\r\nFontSize=0x10\r\n");
  EXPECT_EQ(settings.ReadInteger(L"Option1", L"FontSize", 10), 16);
  WriteBytes(path, "[Option1]\r\nFontSize=9\r\n");
  EXPECT_EQ(settings.ReadInteger(L"option1", L"fontsize", 10), 9);

  // A write goes to the file at once, and another store object sees it.
  settings.WriteString(L"LastUse", L"File", L"C:\\memo\\a.txt");
  EXPECT_EQ(ReadBytes(path), "[Option1]\r\nFontSize=9\r\n[LastUse]\r\nFile=C:\\memo\\a.txt\r\n");
  EXPECT_EQ(Settings(path).ReadString(L"LASTUSE", L"file", L"*.txt"), L"C:\\memo\\a.txt");
  EXPECT_EQ(PlatformString(path, L"LastUse", L"File", L""), L"C:\\memo\\a.txt");
  EXPECT_EQ(EntriesIn(dir.path()), 1) << "no temporary file stays behind";
}

TEST(SettingsStore, TheDocumentedValuesOnDisk) {
  TempDir dir;
  const std::wstring path = dir / L"Velkor.INI";
  WriteBytes(path,
             "[ChildNo3FontSelect]\r\nWordWrap=2\r\nSize=0x10\r\n"
             "[ChildNo4FontSelect]\r\nWordWrap=yes\r\n"
             "[SET]\r\nNO1=" + Repeat("\x82\xA0", 600) + "\r\n");
  Settings settings(path);
  EXPECT_TRUE(settings.ReadBool(L"ChildNo3FontSelect", L"WordWrap", false));
  EXPECT_EQ(settings.ReadInteger(L"ChildNo3FontSelect", L"Size", 10), 16);
  EXPECT_TRUE(settings.ReadBool(L"ChildNo4FontSelect", L"WordWrap", true));
  EXPECT_FALSE(settings.ReadBool(L"ChildNo4FontSelect", L"WordWrap", false));
  EXPECT_EQ(settings.ReadString(L"SET", L"NO1", L""), std::wstring(511, L'あ'));

  // The editor writes "ChildNO" into the section the frame reads as "ChildNo".
  settings.WriteBool(L"ChildNO3FontSelect", L"WordWrap", false);
  EXPECT_FALSE(settings.ReadBool(L"ChildNo3FontSelect", L"WordWrap", true));
  settings.WriteInteger(L"ChildNO3FontSelect", L"Color", -2147483643);
  EXPECT_EQ(settings.ReadInteger(L"childno3fontselect", L"Color", 0), -2147483643);
  settings.EraseSection(L"CHILDNO4FONTSELECT");
  EXPECT_EQ(ReadBytes(path),
            "[ChildNo3FontSelect]\r\nWordWrap=0\r\nSize=0x10\r\nColor=-2147483643\r\n"
            "[SET]\r\nNO1=" + Repeat("\x82\xA0", 600) + "\r\n");
}

TEST(SettingsStore, ARefusedWriteRaisesTheErrorAndLeavesTheFileAlone) {
  TempDir dir;
  const std::wstring path = dir / L"Velkor.INI";
  const std::string before = "; mine\r\n[S]\r\nk=1\r\n";
  WriteBytes(path, before);
  const std::wstring refused = path + L" に書き込めません";

  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(ErrorOf([&] { Settings(path).WriteInteger(L"S", L"k", 2); }), refused);
  EXPECT_EQ(ErrorOf([&] { Settings(path).EraseSection(L"S"); }), refused);
  EXPECT_EQ(ErrorOf([&] { Settings(path).WriteInteger(L"S", L"k", 1); }), L"(no error)")
      << "the file already holds that value";
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(ReadBytes(path), before);

  EXPECT_EQ(ErrorOf([&] { Settings(path).WriteString(L"S", L"", L"v"); }), refused);

  const std::wstring nowhere = dir / L"missing\\Velkor.INI";
  EXPECT_EQ(ErrorOf([&] { Settings(nowhere).WriteString(L"S", L"k", L"v"); }), nowhere + L" に書き込めません");

  // Held open without delete sharing, the file cannot be replaced: the old
  // contents stay whole and the temporary file goes.
  {
    ScopedHandle holder(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    EXPECT_EQ(Settings(path).ReadInteger(L"S", L"k", 0), 1);
    EXPECT_EQ(ErrorOf([&] { Settings(path).WriteInteger(L"S", L"k", 3); }), refused);
  }
  EXPECT_EQ(ReadBytes(path), before);
  EXPECT_EQ(EntriesIn(dir.path()), 1);

  // A file that cannot be read is never overwritten; reads give defaults.
  {
    ScopedHandle holder(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    EXPECT_EQ(Settings(path).ReadInteger(L"S", L"k", 7), 7);
    EXPECT_EQ(ErrorOf([&] { Settings(path).WriteInteger(L"S", L"j", 3); }), refused);
  }
  EXPECT_EQ(ReadBytes(path), before);
}

TEST(SettingsStore, AValueCodePage932CannotHoldIsKeptInAUtf16File) {
  TempDir dir;
  const std::wstring path = dir / L"Velkor.INI";
  WriteBytes(path, kHandWritten);
  Settings settings(path);
  settings.WriteString(L"KEY", L"NO1", L"café");
  settings.WriteInteger(L"C:\\José\\ноты.txt", L"Width", 320);
  const std::string image = ReadBytes(path);
  ASSERT_EQ(image.substr(0, 2), "\xFF\xFE");
  EXPECT_EQ(settings.ReadString(L"KEY", L"NO1", L""), L"café");
  EXPECT_EQ(settings.ReadInteger(L"c:\\josé\\НОТЫ.TXT", L"Width", 0), 320);
  EXPECT_EQ(settings.ReadString(L"ChildNo3FontSelect", L"Name", L""), L"ＭＳ ゴシック");
  // The platform reads the converted file as it read the original.
  EXPECT_EQ(PlatformString(path, L"KEY", L"NO1", L""), L"café");
  EXPECT_EQ(PlatformInteger(path, L"C:\\José\\ноты.txt", L"Width", 0), 320);
  ExpectSameAsPlatform(path);
  // Once wide, the file stays wide.
  settings.WriteString(L"KEY", L"NO2", L"ascii");
  EXPECT_EQ(ReadBytes(path).substr(0, 2), "\xFF\xFE");
  EXPECT_EQ(PlatformString(path, L"KEY", L"NO2", L""), L"ascii");
}

TEST(PlatformCrossCheck, HandWrittenFilesReadAlike) {
  TempDir dir;
  WriteBytes(dir / L"sjis.ini", kHandWritten);
  ExpectSameAsPlatform(dir / L"sjis.ini");
  ExpectSameIntegersAsPlatform(dir / L"sjis.ini");

  // The same file with LF line ends only, and as UTF-16 with a byte-order mark.
  std::string lf = kHandWritten;
  for (std::size_t i; (i = lf.find("\r\n")) != std::string::npos;) lf.erase(i, 1);
  WriteBytes(dir / L"lf.ini", lf);
  ExpectSameAsPlatform(dir / L"lf.ini");

  std::wstring wide;
  {
    const int n = MultiByteToWideChar(932, 0, kHandWritten.data(), static_cast<int>(kHandWritten.size()), nullptr, 0);
    wide.resize(static_cast<std::size_t>(n));
    MultiByteToWideChar(932, 0, kHandWritten.data(), static_cast<int>(kHandWritten.size()), wide.data(), n);
  }
  WriteBytes(dir / L"utf16.ini",
             "\xFF\xFE" + std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(wchar_t)));
  ExpectSameAsPlatform(dir / L"utf16.ini");
  ExpectSameIntegersAsPlatform(dir / L"utf16.ini");
}

TEST(PlatformCrossCheck, WhatEachWritesTheOtherReads) {
  TempDir dir;
  const std::wstring ours = dir / L"ours.ini";
  Settings settings(ours);
  settings.WriteString(L"UsedFiles", L"UsedFile1", L"C:\\メモ\\表示.txt");
  settings.WriteString(L"SET", L"NO1", L"ボクを使って戴いて、大変ありがとうございます");
  settings.WriteString(L"KEY", L"NO1", L"ご挨拶");
  settings.WriteString(L"VELKORA", L"SImage8FileName", L"");
  settings.WriteInteger(L"Tframeform", L"PlaceNormalPos.Left", -32000);
  settings.WriteInteger(L"C:\\メモ\\表示.txt", L"Color", static_cast<int>(0x80000008u));
  settings.WriteBool(L"Option", L"No1", true);
  settings.WriteBool(L"OPTION", L"no2", false);
  settings.WriteString(L"LastUse", L"Name", std::wstring(1023, L'n'));
  EXPECT_EQ(PlatformString(ours, L"usedfiles", L"usedfile1", L""), L"C:\\メモ\\表示.txt");
  EXPECT_EQ(PlatformString(ours, L"SET", L"NO1", L""), L"ボクを使って戴いて、大変ありがとうございます");
  EXPECT_EQ(PlatformString(ours, L"KEY", L"NO1", L""), L"ご挨拶");
  EXPECT_EQ(PlatformString(ours, L"VELKORA", L"SImage8FileName", L"DEF"), L"");
  EXPECT_EQ(PlatformInteger(ours, L"Tframeform", L"PlaceNormalPos.Left", 0), -32000);
  EXPECT_EQ(PlatformInteger(ours, L"c:\\メモ\\表示.TXT", L"Color", 0), static_cast<int>(0x80000008u));
  EXPECT_EQ(PlatformInteger(ours, L"Option", L"No1", 0), 1);
  EXPECT_EQ(PlatformInteger(ours, L"Option", L"No2", 1), 0);
  EXPECT_EQ(PlatformString(ours, L"LastUse", L"Name", L""), std::wstring(1023, L'n'));
  settings.EraseSection(L"c:\\メモ\\表示.txt");
  EXPECT_EQ(PlatformInteger(ours, L"C:\\メモ\\表示.txt", L"Color", 5), 5);

  const std::wstring theirs = dir / L"theirs.ini";
  WritePrivateProfileStringW(L"UsedFiles", L"UsedFile1", L"C:\\メモ\\表示.txt", theirs.c_str());
  WritePrivateProfileStringW(L"KEY", L"NO1", L"ご挨拶", theirs.c_str());
  WritePrivateProfileStringW(L"Option1", L"FontSize", L"0x10", theirs.c_str());
  WritePrivateProfileStringW(L"ChildNO2FontSelect", L"WordWrap", L"1", theirs.c_str());
  const Settings reader(theirs);
  EXPECT_EQ(reader.ReadString(L"UsedFiles", L"UsedFile1", L""), L"C:\\メモ\\表示.txt");
  EXPECT_EQ(reader.ReadString(L"key", L"no1", L""), L"ご挨拶");
  EXPECT_EQ(reader.ReadInteger(L"Option1", L"FontSize", 10), 16);
  EXPECT_TRUE(reader.ReadBool(L"ChildNo2FontSelect", L"WordWrap", false));
  Settings(theirs).WriteInteger(L"option1", L"fontsize", 11);
  EXPECT_EQ(PlatformInteger(theirs, L"Option1", L"FontSize", 10), 11);
  EXPECT_EQ(PlatformString(theirs, L"KEY", L"NO1", L""), L"ご挨拶");
}

// Where the platform's reading departs from the settings file's own rules,
// the store keeps to the rules. For each case the comment says what the
// platform (Wine 8) gives instead.
TEST(PlatformCrossCheck, WhereTheStoreKeepsItsOwnRules) {
  TempDir dir;
  const std::wstring path = dir / L"Velkor.INI";
  WriteBytes(path,
             "[S]\r\n"
             "long=" + Repeat("\x82\xA0", 1000) + "\r\n"
             "upper=0X10\r\n"
             "word=yes\r\n"
             "quoted=\"C:\\memo\"\r\n"
             "digits=000000000000000000000000000000012\r\n"
             "[\x82\x60\x82\x61\x82\x62]\r\nk=1\r\n"  // ＡＢＣ
             "[D]\r\nk=1\r\n[d]\r\nk=2\r\n");
  Settings settings(path);
  // The cut counts bytes: 511 double-byte characters. The platform counts
  // characters and returns all 1000.
  EXPECT_EQ(settings.ReadString(L"S", L"long", L""), std::wstring(511, L'あ'));
  // "0X" opens a hexadecimal number too; the platform reads 0.
  EXPECT_EQ(settings.ReadInteger(L"S", L"upper", 10), 16);
  // A text that is no number gives the default; the platform gives 0.
  EXPECT_EQ(settings.ReadInteger(L"S", L"word", 10), 10);
  // Values are not quoted; the platform strips the pair of quotes.
  EXPECT_EQ(settings.ReadString(L"S", L"quoted", L""), L"\"C:\\memo\"");
  // The whole number counts; the platform looks at its first 29 characters only.
  EXPECT_EQ(settings.ReadInteger(L"S", L"digits", 0), 12);
  // Full-width letters match in either case; the platform folds ASCII only.
  EXPECT_EQ(settings.ReadInteger(L"ａｂｃ", L"k", 0), 1);
  // Erasing takes every section of the name; the platform erases the first
  // and the second comes to light.
  settings.EraseSection(L"D");
  EXPECT_EQ(settings.ReadInteger(L"d", L"k", 0), 0);
  EXPECT_EQ(PlatformInteger(path, L"d", L"k", 0), 0);
  // A value ends at its line break; the platform writes the break into the
  // file and the rest of the text becomes lines of its own.
  settings.WriteString(L"SET", L"NO1", L"one\r\n[KEY]\r\nNO1=two");
  EXPECT_EQ(PlatformString(path, L"KEY", L"NO1", L"none"), L"none");
}
