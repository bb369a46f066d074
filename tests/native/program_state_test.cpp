// The program's state kept apart from its windows, over a settings file held
// in memory.
#include <gtest/gtest.h>

#include <array>
#include <stdexcept>

#include "state/doc_settings.h"
#include "state/snippets.h"
#include "state/launch_paths.h"
#include "state/profile.h"
#include "state/recent_file_list.h"
#include "state/search_settings.h"
#include "state/settings_store.h"
#include "platform/text.h"

using namespace velkor;

namespace {

class MemoryStore final : public SettingsStore {
 public:
  explicit MemoryStore(std::string image = {}) : profile(std::move(image)) {}

  std::wstring ReadString(std::wstring_view s, std::wstring_view k, std::wstring_view def) const override {
    return profile.ReadString(s, k, def);
  }
  int ReadInteger(std::wstring_view s, std::wstring_view k, int def) const override {
    return profile.ReadInteger(s, k, def);
  }
  bool ReadBool(std::wstring_view s, std::wstring_view k, bool def) const override {
    return profile.ReadBool(s, k, def);
  }
  void WriteString(std::wstring_view s, std::wstring_view k, std::wstring_view v) override {
    Check(profile.WriteString(s, k, v));
  }
  void WriteInteger(std::wstring_view s, std::wstring_view k, int v) override { Check(profile.WriteInteger(s, k, v)); }
  void WriteBool(std::wstring_view s, std::wstring_view k, bool v) override { Check(profile.WriteBool(s, k, v)); }
  void EraseSection(std::wstring_view s) override { Check(profile.EraseSection(s)); }

  bool HasSection(const std::wstring& s) const { return profile.Find(s, L"EditFormWidth").has_value(); }

  Profile profile;
  bool refuse_writes = false;  // as a read-only file would

 private:
  void Check(ProfileEdit e) const {
    if (refuse_writes || e == ProfileEdit::kRefused) throw std::runtime_error("refused");
  }
};

std::wstring F(int n) { return L"C:\\memo\\f" + std::to_wstring(n) + L".txt"; }

// Seven listed files, each with a settings section of its own.
std::string SevenFiles() {
  std::string list = "[UsedFiles]\r\n", sections;
  for (int n = 1; n <= 7; ++n) {
    const std::string path = std::string("C:\\memo\\f").append(std::to_string(n)).append(".txt");
    list.append("UsedFile").append(std::to_string(n)).append("=").append(path).append("\r\n");
    sections.append("[").append(path).append("]\r\nEditFormWidth=300\r\n");
  }
  return list + sections;
}

class RecentFilesTest : public ::testing::Test {
 protected:
  RecentFilesTest() : list([](const std::wstring& a, const std::wstring& b) { return EqualsNoCase(a, b); }) {}

  // Slot n holds file expected[n] in memory and in the store.
  void ExpectSlots(const std::array<std::wstring, 8>& expected) {
    for (int n = 1; n <= 7; ++n) {
      SCOPED_TRACE(n);
      EXPECT_EQ(list.Entry(n), expected[n]);
      EXPECT_EQ(store.ReadString(L"UsedFiles", L"UsedFile" + std::to_wstring(n), L"-"), expected[n]);
    }
  }

  MemoryStore store{SevenFiles()};
  RecentFileList list;
};

}  // namespace

TEST_F(RecentFilesTest, AListedFileMovesToTheTopAndKeepsItsSettings) {
  list.Load(store);
  EXPECT_TRUE(list.NoteSaved(store, F(4)));
  ExpectSlots({L"", F(4), F(1), F(2), F(3), F(5), F(6), F(7)});
  EXPECT_EQ(list.Caption(2), L"&2 " + F(1));

  EXPECT_TRUE(list.NoteSaved(store, F(7)));
  ExpectSlots({L"", F(7), F(4), F(1), F(2), F(3), F(5), F(6)});
  for (int n = 1; n <= 7; ++n) EXPECT_TRUE(store.HasSection(F(n))) << n;

  EXPECT_FALSE(list.NoteSaved(store, F(7))) << "already first";
  EXPECT_FALSE(list.NoteSaved(store, L""));
}

TEST_F(RecentFilesTest, AnEighthFileErasesTheSettingsOfTheOneThatDropsOff) {
  list.Load(store);
  EXPECT_TRUE(list.NoteSaved(store, F(8)));
  ExpectSlots({L"", F(8), F(1), F(2), F(3), F(4), F(5), F(6)});
  EXPECT_FALSE(store.HasSection(F(7)));
  EXPECT_TRUE(store.HasSection(F(6)));
}

TEST_F(RecentFilesTest, APathInOtherLetterCaseIsTheListedFile) {
  list.Load(store);
  const std::wstring upper = L"C:\\MEMO\\F3.TXT";
  EXPECT_TRUE(list.NoteSaved(store, upper));
  ExpectSlots({L"", upper, F(1), F(2), F(4), F(5), F(6), F(7)});
  EXPECT_TRUE(store.HasSection(F(7))) << "nothing dropped off";
}

TEST_F(RecentFilesTest, AForgottenSlotStaysEmptyWhereItIsAndMovesDownLater) {
  list.Load(MemoryStore());
  for (int n = 1; n <= 7; ++n) EXPECT_EQ(list.Caption(n), L"&" + std::to_wstring(n) + L" No Set");

  list.Load(store);
  list.Forget(store, 3);
  ExpectSlots({L"", F(1), F(2), L"No Set", F(4), F(5), F(6), F(7)});
  EXPECT_FALSE(store.HasSection(F(3)));
  list.NoteSaved(store, F(8));
  ExpectSlots({L"", F(8), F(1), F(2), L"No Set", F(4), F(5), F(6)});
}

TEST(SnippetStore, DefaultsFillMissingKeysButNotPairsStoredEmpty) {
  Snippets snippets;
  snippets.Load(MemoryStore("[KEY]\r\nNO5=\r\nNO2=\x8F\x5A\x8F\x8A\r\n[SET]\r\nNO5=\r\n"));  // 住所
  for (int n : {1, 3, 4, 6, 7}) {
    EXPECT_EQ(snippets.Label(n), L"ご挨拶") << n;
    EXPECT_EQ(snippets.Text(n), L"ボクを使って戴いて、大変ありがとうございます") << n;
  }
  EXPECT_EQ(snippets.Label(2), L"住所");
  EXPECT_EQ(snippets.Label(5), L"");
  EXPECT_EQ(snippets.Text(5), L"");
}

TEST(SnippetStore, ASavedPairIsHeldOnlyOnceTheStoreHasIt) {
  MemoryStore store;
  Snippets snippets;
  snippets.Save(store, 3, L"署名", L"山田");
  EXPECT_EQ(store.ReadString(L"KEY", L"NO3", L"-"), L"署名");
  EXPECT_EQ(store.ReadString(L"SET", L"NO3", L"-"), L"山田");
  EXPECT_EQ(snippets.Label(3), L"署名");
  EXPECT_EQ(snippets.Text(3), L"山田");

  store.refuse_writes = true;
  EXPECT_THROW(snippets.Save(store, 3, L"書けない", L"x"), std::runtime_error);
  EXPECT_EQ(snippets.Label(3), L"署名");
  EXPECT_EQ(snippets.Text(3), L"山田");
}

TEST(LaunchPathStore, EightKeysNumberedFromOne) {
  LaunchPaths paths;
  paths.Load(MemoryStore());
  EXPECT_FALSE(paths.Any());
  MemoryStore store("[VELKORA]\r\nSImage3FileName=C:\\windows\\notepad.exe\r\n");
  paths.Load(store);
  EXPECT_TRUE(paths.Any());
  EXPECT_EQ(paths.Path(2), L"C:\\windows\\notepad.exe");
  paths.Save(store, 7, L"C:\\memo\\last.txt");
  EXPECT_EQ(store.ReadString(L"VELKORA", L"SImage8FileName", L""), L"C:\\memo\\last.txt");
  EXPECT_EQ(paths.Path(7), L"C:\\memo\\last.txt");
}

TEST(DocSettingsRecord, MissingKeysTakeTheMainWindowsSizeAndTheCurrentFont) {
  const DocSettings defaults = DocSettings::Defaults(700, 500, L"ＭＳ ゴシック", 11, 0x80000008);
  EXPECT_EQ(defaults.form_width, 600);
  EXPECT_EQ(defaults.width, 600);
  EXPECT_EQ(defaults.form_height, 333);
  EXPECT_EQ(defaults.height, 333);
  EXPECT_EQ(defaults.font_style, 0);
  EXPECT_FALSE(defaults.word_wrap);
  EXPECT_EQ(DocSettings::Load(MemoryStore(), L"C:\\memo\\a.txt", defaults), defaults);

  // Section names are matched without regard to case, numbers as the store reads them.
  const MemoryStore store("[ChildNO3FontSelect]\r\nSize=0x10\r\nWordWrap=2\r\nFile=C:\\x.txt\r\n");
  DocSettings expected = defaults;
  expected.font_size = 16;
  expected.word_wrap = true;
  EXPECT_EQ(DocSettings::Load(store, L"ChildNo3FontSelect", defaults), expected) << "File is not read back";
}

TEST(DocSettingsRecord, ASaveWritesEveryKeyInItsOrderAndReadsBackTheSame) {
  DocSettings doc;
  doc.file = L"C:\\memo\\a.txt";
  doc.width = 480;
  doc.height = 260;
  doc.form_width = 498;
  doc.form_height = 300;
  doc.font_name = L"ＭＳ 明朝";
  doc.font_size = 12;
  doc.font_color = 0x0000FF;
  doc.font_style = 5;
  doc.word_wrap = true;
  MemoryStore store;
  doc.Save(store, L"LastUse");
  EXPECT_EQ(store.profile.Image(),
            "[LastUse]\r\nFile=C:\\memo\\a.txt\r\nWidth=480\r\nHeight=260\r\nEditFormWidth=498\r\n"
            "EditFormHeight=300\r\nName=\x82\x6C\x82\x72 \x96\xBE\x92\xA9\r\nSize=12\r\nColor=255\r\nStyle=5\r\n"
            "WordWrap=1\r\n");
  DocSettings back = DocSettings::Load(store, L"LastUse", DocSettings::Defaults(1, 1, L"x", 1, 1));
  back.file = doc.file;
  EXPECT_EQ(back, doc);
}

TEST(SearchSettingsRecord, MissingKeysSearchEveryClassAtTheDefaultSizeAndSizesAreKeptInRange) {
  const SearchSettings none = SearchSettings::Load(MemoryStore());
  EXPECT_EQ(none.dirs, DirRegistration());
  for (std::size_t n = 1; n <= SearchSettings::kFileClasses; ++n) EXPECT_TRUE(none.classes[n]) << n;
  EXPECT_EQ(none.font_size, 10);

  const SearchSettings read = SearchSettings::Load(
      MemoryStore("[Option]\r\nNo2=1\r\nNo2Dir=C:\\memo\\\r\nNo5Dir=D:\\\r\n[Option1]\r\n3=0\r\nFontSize=0x10\r\n"));
  EXPECT_TRUE(read.dirs.checked[2]);
  EXPECT_EQ(read.dirs.path[2], L"C:\\memo\\");
  EXPECT_FALSE(read.dirs.checked[5]) << "a path alone is not searched";
  EXPECT_EQ(read.dirs.path[5], L"D:\\");
  EXPECT_FALSE(read.classes[3]);
  EXPECT_TRUE(read.classes[4]);
  EXPECT_EQ(read.font_size, 16);

  EXPECT_EQ(SearchSettings::Load(MemoryStore("[Option1]\r\nFontSize=250\r\n")).font_size, 100);
  EXPECT_EQ(SearchSettings::Load(MemoryStore("[Option1]\r\nFontSize=-3\r\n")).font_size, 0);
}

TEST(SearchSettingsRecord, ASaveWritesTheDirectoriesThenTheClassesThenTheSize) {
  SearchSettings s = SearchSettings::Load(MemoryStore());
  s.dirs.checked[1] = true;
  s.dirs.path[1] = L"C:\\memo\\";
  s.classes[9] = false;
  s.font_size = 14;
  MemoryStore store;
  s.Save(store);
  EXPECT_EQ(store.profile.Image(),
            "[Option]\r\nNo1=1\r\nNo1Dir=C:\\memo\\\r\nNo2=0\r\nNo2Dir=\r\nNo3=0\r\nNo3Dir=\r\nNo4=0\r\n"
            "No4Dir=\r\nNo5=0\r\nNo5Dir=\r\nNo6=0\r\nNo6Dir=\r\n[Option1]\r\n1=1\r\n2=1\r\n3=1\r\n4=1\r\n5=1\r\n"
            "6=1\r\n7=1\r\n8=1\r\n9=0\r\nFontSize=14\r\n");
  EXPECT_EQ(SearchSettings::Load(store), s);

  // The setup dialog's OK writes the directories alone.
  MemoryStore dirs_only;
  s.dirs.Save(dirs_only);
  EXPECT_EQ(DirRegistration::Load(dirs_only), s.dirs);
  EXPECT_EQ(dirs_only.profile.Image().find("Option1"), std::string::npos);
}
