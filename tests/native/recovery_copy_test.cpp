// Copies of unsaved text: their bytes, their names in the recovery folder,
// when they are due, and what the user is told about them; and the file
// states that tell a window its file changed on disk.
#include <gtest/gtest.h>

#include "editor/recovery_copy.h"
#include "editor/recovery_offer.h"
#include "platform/path_names.h"

using namespace velkor;

namespace {

RecoveryCopy SampleCopy() {
  RecoveryCopy c;
  c.path = L"C:\\メモ\\today.txt";
  c.number = 0;
  c.encoding = DocEncoding::Utf8Bom;
  c.breaks = LineBreaks::Lf;
  c.cut_at_nul = true;
  c.changed_at = TextPlace{3, 5};
  c.read = FileStamp{true, 1234, 133'000'000'000'000'000ull};
  c.caret = 7;
  c.selection = 2;
  c.written_at = 133'000'000'100'000'000ull;
  // A pair of surrogates (one character) and a lone one: the control holds both.
  const std::wstring pair =
      sizeof(wchar_t) == 2 ? std::wstring(L"\xD842\xDF9F") : std::wstring(1, static_cast<wchar_t>(0x20B9F));
  c.text = L"今日の予定\r\n\r\nabc " + pair + L" " + std::wstring(1, static_cast<wchar_t>(0xD800)) + L"\r\n";
  return c;
}

}  // namespace

TEST(RecoveryCopy, EveryFieldComesBackExactly) {
  const RecoveryCopy full = SampleCopy();
  EXPECT_EQ(DecodeRecoveryCopy(EncodeRecoveryCopy(full)), full);

  RecoveryCopy untitled;
  untitled.number = 12;
  untitled.text = L"";
  EXPECT_EQ(DecodeRecoveryCopy(EncodeRecoveryCopy(untitled)), untitled);
}

TEST(RecoveryCopy, ADamagedOrCutCopyIsRefusedWhereverTheDamageIs) {
  RecoveryCopy c = SampleCopy();
  c.text = L"短い\r\n";
  const std::string good = EncodeRecoveryCopy(c);
  for (std::size_t i = 0; i < good.size(); ++i) {
    std::string bad = good;
    bad[i] = static_cast<char>(bad[i] ^ 0x04);
    EXPECT_FALSE(DecodeRecoveryCopy(bad)) << "byte " << i << " changed";
    EXPECT_FALSE(DecodeRecoveryCopy(good.substr(0, i))) << "cut after " << i << " bytes";
  }
  EXPECT_FALSE(DecodeRecoveryCopy(good + "x"));
  EXPECT_FALSE(DecodeRecoveryCopy(""));
}

TEST(RecoveryCopy, CrcIsTheCommonOne) {
  EXPECT_EQ(Crc32("123456789"), 0xCBF43926u);
  EXPECT_EQ(Crc32(""), 0u);
}

TEST(RecoveryFolder, FileNamesTellSessionsCopiesLocksAndLeftovers) {
  const std::wstring session = SessionName(0x01DB4F3A2C3B1E00ull, 0x1A2C, 2);
  EXPECT_EQ(session, L"01DB4F3A2C3B1E00-00001A2C-2");
  EXPECT_NE(SessionName(0x01DB4F3A2C3B1E00ull, 0x1A2C, 3), session);

  const RecoveryFileName copy = ParseRecoveryFileName(CopyFileName(session, 14));
  EXPECT_EQ(copy.kind, RecoveryFileName::Kind::kCopy);
  EXPECT_EQ(copy.session, session);
  EXPECT_EQ(copy.number, 14);

  const RecoveryFileName lock = ParseRecoveryFileName(LockFileName(session));
  EXPECT_EQ(lock.kind, RecoveryFileName::Kind::kLock);
  EXPECT_EQ(lock.session, session);

  // The temporary file of a write that never finished.
  const RecoveryFileName leftover = ParseRecoveryFileName(FileNameOf(TemporaryNameOf(CopyFileName(session, 3), 37)));
  EXPECT_EQ(leftover.kind, RecoveryFileName::Kind::kLeftover);
  EXPECT_EQ(leftover.session, session);
  EXPECT_EQ(leftover.number, 3);

  for (const wchar_t* other : {L"notes.txt", L"_3.copy", L"abc_.copy", L"abc_x1.copy", L"abc_1.txt", L".lock",
                               L"a_b.lock", L"abc_12345678901.copy"})
    EXPECT_EQ(ParseRecoveryFileName(other).kind, RecoveryFileName::Kind::kOther) << other;

  // Only sessions with copies have something to offer; a session's own never count.
  const std::vector<std::wstring> names = {CopyFileName(L"B", 1), CopyFileName(L"A", 2), CopyFileName(L"B", 2),
                                           LockFileName(L"C"),    CopyFileName(L"own", 1),
                                           FileNameOf(TemporaryNameOf(CopyFileName(L"D", 1), 0)), L"readme.txt"};
  EXPECT_EQ(SessionsWithCopies(names, L"OWN"), (std::vector<std::wstring>{L"A", L"B"}));
}

TEST(RecoveryFolder, TheFirstLineWithTextNamesACopy) {
  EXPECT_EQ(FirstLineOf(L"\r\n  \r\n\x3000 買い物 \r\nnext", 20), L"買い物");
  EXPECT_EQ(FirstLineOf(L"abcdef", 4), L"abcd…");
  EXPECT_EQ(FirstLineOf(L" \r\n\t", 4), L"");
  if constexpr (sizeof(wchar_t) == 2) {
    EXPECT_EQ(FirstLineOf(L"ab\xD842\xDF9F", 3), L"ab…");
  }
}

TEST(RecoveryFolder, ACopyIsDueAfterAPauseOrAfterTheLongestWaitWhileTypingGoesOn) {
  CopySchedule s({.idle = 2000, .longest = 30000});
  EXPECT_FALSE(s.pending());
  s.Changed(1000);
  EXPECT_TRUE(s.pending());
  EXPECT_EQ(s.due(), 3000u);
  s.Changed(2500);
  EXPECT_EQ(s.due(), 4500u) << "each change moves the pause on";
  for (std::uint64_t t = 4000; t < 40000; t += 1000) s.Changed(t);
  EXPECT_EQ(s.due(), 31000u) << "typing without a pause waits no longer than the longest wait";
  s.Taken();
  EXPECT_FALSE(s.pending());
  s.Changed(50000);
  EXPECT_EQ(s.due(), 52000u) << "the longest wait counts from the first change after a copy";
}

TEST(RecoveryFolder, TheQuestionListsEachCopyOnceAndTheOldestFirst) {
  RecoveryCopy later = SampleCopy();
  RecoveryCopy untitled;
  untitled.number = 3;
  untitled.text = L"\r\n買い物リスト\r\n牛乳";
  untitled.written_at = later.written_at - 1;
  std::vector<RecoveryCopy> copies = {later, untitled};
  SortForOffer(copies);
  EXPECT_EQ(copies[0].number, 3);

  const std::wstring question = RecoveryQuestion(
      {OfferOf(copies[0], CopyTimeText(2026, 12, 1, 9, 5, 7)), OfferOf(copies[1], L"2026/12/1 9:06:00")});
  EXPECT_EQ(question,
            L"前回、保存されないまま終わった文章が 2 つあります。\r\n"
            L"\r\n    NewFile 3\r\n        2026/12/1 9:05:07　「買い物リスト」"
            L"\r\n    C:\\メモ\\today.txt\r\n        2026/12/1 9:06:00　「今日の予定」"
            L"\r\n\r\n復元しますか ?");

  std::vector<OfferedCopy> many(11, OfferOf(untitled, L"t"));
  const std::wstring long_question = RecoveryQuestion(many);
  EXPECT_NE(long_question.find(L"文章が 11 つあります。"), std::wstring::npos);
  EXPECT_NE(long_question.find(L"\r\n    ほか 3 つ\r\n"), std::wstring::npos);
}

TEST(DiskWatch, ASaveAsksAboutAChangedFileAndAnActivationTellsEachChangeOnce) {
  const FileStamp read{true, 10, 500};
  const FileStamp rewritten{true, 10, 900};
  const FileStamp grown{true, 12, 900};
  const FileStamp gone{};

  DiskWatch untitled;
  EXPECT_FALSE(untitled.SaveOverwritesChange(rewritten)) << "a window that read no file asks nothing";
  EXPECT_FALSE(untitled.TellChange(rewritten));

  DiskWatch w;
  w.Read(read);
  EXPECT_FALSE(w.SaveOverwritesChange(read));
  EXPECT_FALSE(w.TellChange(read));
  EXPECT_TRUE(w.SaveOverwritesChange(rewritten));
  EXPECT_TRUE(w.SaveOverwritesChange(grown));
  EXPECT_FALSE(w.SaveOverwritesChange(gone)) << "nothing on disk to overwrite";

  EXPECT_TRUE(w.TellChange(rewritten));
  EXPECT_FALSE(w.TellChange(rewritten)) << "once per change";
  EXPECT_TRUE(w.SaveOverwritesChange(rewritten)) << "kept, the window still asks before overwriting";
  EXPECT_TRUE(w.TellChange(grown)) << "a further change is news again";
  EXPECT_TRUE(w.TellChange(gone));
  EXPECT_FALSE(w.TellChange(gone));

  w.Read(grown);  // reloaded, or saved
  EXPECT_FALSE(w.SaveOverwritesChange(grown));
  EXPECT_FALSE(w.TellChange(grown));
  w.Forget();
  EXPECT_FALSE(w.SaveOverwritesChange(read));
}
