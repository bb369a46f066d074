// Documents on disk through the editor window, as a user handles them: a
// file dropped on the main window, typed in, saved with the Save command,
// and the bytes on disk before and after.
#include <gtest/gtest.h>

#include <aclapi.h>

#include "editor/editor_ids.h"
#include "editor/editor_window.h"
#include "platform/number_format.h"
#include "platform/scoped.h"
#include "support/frame_fixture.h"

using namespace velkor;
using namespace velkor::test;

namespace {

constexpr auto npos = std::wstring::npos;

bool Says(const DialogAnswerer::Seen& box, const std::wstring& part) { return box.text.find(part) != npos; }

}  // namespace

class EditorFiles : public FrameTest {
 protected:
  void SetUp() override {
    FrameTest::SetUp();
    StartFrame();
  }
  // Drops the file on the main window, as from the shell; the editor that
  // opened it, or null.
  EditorWindow* Drop(const std::wstring& path) {
    const size_t before = frame_->Editors().size();
    DropFiles(frame_->hwnd(), {path});
    return frame_->Editors().size() > before ? frame_->ActiveEditor() : nullptr;
  }
  void TypeAtEnd(EditorWindow* e, const std::wstring& text) {
    e->memo().SetSel(e->memo().TextLength(), 0);
    for (wchar_t c : text) SendMessageW(e->memo().hwnd(), WM_CHAR, c, 1);
  }
  void Save(EditorWindow* e) { SendMessageW(e->hwnd(), WM_COMMAND, IDM_SAVE1, 0); }
};

TEST_F(EditorFiles, AFileThatCannotBeReadOpensNoWindowAndSaysWhy) {
  const std::wstring path = dir_ / L"locked.txt";
  WriteBytes(path, "original\r\n");
  {
    ScopedHandle locked(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(locked);
    DialogAnswerer answers;
    answers.Press(IDOK);
    EXPECT_EQ(Drop(path), nullptr);
    ASSERT_EQ(answers.seen().size(), 1u);
    EXPECT_TRUE(Says(answers.seen()[0], L"ﾌｧｲﾙ " + path + L" は開けません。"));
  }
  EXPECT_TRUE(frame_->Editors().empty()) << "no window stays bound to the file, so no save can replace it";
  EXPECT_EQ(ReadBytes(path), "original\r\n");
  EXPECT_FALSE(FileExists(dir_ / L"locked.BAK"));
}

TEST_F(EditorFiles, AFileTooLargeForTheEditorIsRefusedWithItsSizeBeforeAnyWindowOpens) {
  const std::wstring path = dir_ / L"huge.txt";
  const long long size = static_cast<long long>(kMaxDocumentBytes) + 1;
  {
    ScopedHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    LARGE_INTEGER at{};
    at.QuadPart = size;
    ASSERT_TRUE(SetFilePointerEx(file.get(), at, nullptr, FILE_BEGIN) && SetEndOfFile(file.get()));
  }
  DialogAnswerer answers;
  answers.Press(IDOK);
  EXPECT_EQ(Drop(path), nullptr);
  ASSERT_EQ(answers.seen().size(), 1u);
  EXPECT_TRUE(Says(answers.seen()[0], L"は大きすぎて開けません。"));
  EXPECT_TRUE(Says(answers.seen()[0], GroupThousands(size) + L" Bytes"));
  EXPECT_TRUE(frame_->Editors().empty());
}

TEST_F(EditorFiles, OpenedAndSavedUnchangedEveryKindOfFileKeepsItsBytes) {
  const std::pair<const wchar_t*, std::string> files[] = {
      {L"sjis.txt", "\x82\xA0 \xFA\x40\xFB\xFC\x87\x54\r\nabc"},  // IBM and NEC extensions that come back as they were
      {L"unix.txt", "one\ntwo\n\x82\xA0\n"},
      {L"mac.txt", "one\rtwo\r"},
      {L"utf8.txt", "caf\xC3\xA9 \xE2\x80\x94 \xF0\x9F\x98\x80\n"},
      {L"mark.txt", "\xEF\xBB\xBF\xE3\x81\x82\r\n"},
      {L"utf16.txt", std::string("\xFF\xFE" "a\0\x3D\xD8\x00\xDE\r\0\n\0", 12)},
  };
  for (const auto& [name, bytes] : files) {
    SCOPED_TRACE(std::string(bytes));
    const std::wstring path = dir_ / name;
    WriteBytes(path, bytes);
    DialogAnswerer answers;
    answers.Press(IDOK);
    EditorWindow* e = Drop(path);
    ASSERT_NE(e, nullptr);
    Save(e);
    ASSERT_EQ(answers.seen().size(), 1u) << "no warning, no question";
    EXPECT_TRUE(Says(answers.seen()[0], L"正常に保存しました !!"));
    EXPECT_EQ(ReadBytes(path), bytes);
    EXPECT_EQ(ReadBytes(BackupNameOf(path)), bytes);
  }
}

TEST_F(EditorFiles, BytesThatWouldNotComeBackAreNamedAtOpenAndWrittenOnlyAfterYes) {
  const std::wstring path = dir_ / L"latin1.txt";
  const std::string original = "ab\r\ncaf\xE9";  // Latin-1: a lone E9 is no Shift-JIS character
  WriteBytes(path, original);
  DialogAnswerer answers;
  answers.Press(IDOK);
  EditorWindow* e = Drop(path);
  ASSERT_NE(e, nullptr);
  ASSERT_EQ(answers.seen().size(), 1u);
  EXPECT_TRUE(Says(answers.seen()[0], L"2 行目の 4 文字目から、文字として読めないバイトがあります。"));

  TypeAtEnd(e, L"!");
  answers.Press(IDNO);
  Save(e);
  ASSERT_EQ(answers.seen().size(), 2u);
  EXPECT_TRUE(Says(answers.seen()[1], L"2 行目の 4 文字目から、読み込んだときと違うバイトで保存されます。"));
  EXPECT_EQ(ReadBytes(path), original) << "No keeps the file";
  EXPECT_FALSE(FileExists(dir_ / L"latin1.BAK"));
  EXPECT_TRUE(e->memo().Modified());

  answers.Press(IDYES);
  answers.Press(IDOK);
  Save(e);
  ASSERT_EQ(answers.seen().size(), 4u);
  const std::string saved = ReadBytes(path);
  EXPECT_EQ(saved.substr(0, 7), "ab\r\ncaf");
  EXPECT_EQ(saved.back(), '!');
  EXPECT_NE(saved, original + "!");
  EXPECT_EQ(ReadBytes(dir_ / L"latin1.BAK"), original);

  // NEC-selected rows: their characters are written with the IBM codes.
  WriteBytes(dir_ / L"nec.txt", "\x82\xA0\xED\x40");
  answers.Press(IDOK);
  ASSERT_NE(Drop(dir_ / L"nec.txt"), nullptr);
  ASSERT_EQ(answers.seen().size(), 5u);
  EXPECT_TRUE(Says(answers.seen()[4], L"1 行目の 2 文字目から"));
}

TEST_F(EditorFiles, ReplaceAllOfACharacterCodePage932LacksReplacesThatCharacterAlone) {
  const std::wstring path = dir_ / L"utf8.txt";
  WriteBytes(path, "a?b \xC3\xA9 \xE2\x80\x94");  // a?b é —
  DialogAnswerer answers;
  EditorWindow* e = Drop(path);
  ASSERT_NE(e, nullptr);
  answers.Then([](HWND) {});
  SendMessageW(e->hwnd(), WM_COMMAND, IDM_REPLACE1, 0);
  ASSERT_NE(e->replace_dialog(), nullptr);
  // Replace All as the dialog asks for it. (Wine's dialog passes what is
  // typed in it through the ANSI code page, so the texts go into its buffers
  // as a Unicode dialog leaves them.)
  auto replace_all = [&](const wchar_t* what, const wchar_t* with) {
    FINDREPLACEW& fr = e->replace_options();
    lstrcpynW(fr.lpstrFindWhat, what, fr.wFindWhatLen);
    lstrcpynW(fr.lpstrReplaceWith, with, fr.wReplaceWithLen);
    fr.Flags = FR_DOWN | FR_MATCHCASE | FR_REPLACEALL;
    e->memo().SetSel(0, 0);
    SendMessageW(e->hwnd(), FindReplaceDialog::Message(), 0, reinterpret_cast<LPARAM>(&fr));
  };
  replace_all(L"\u00E9", L"e");
  EXPECT_EQ(e->memo().Text(), L"a?b e \u2014") << "the question mark is no \u00E9";
  replace_all(L"b", L"\u00E9\u4E02");
  EXPECT_EQ(e->memo().Text(), L"a?\u00E9\u4E02 e \u2014") << "the replacement keeps its characters";
  replace_all(L"\u4E02", L"\u2014");
  EXPECT_EQ(e->memo().Text(), L"a?\u00E9\u2014 e \u2014");

  // Find Next goes from hit to hit of such a character and counts them.
  lstrcpynW(e->find_options().lpstrFindWhat, L"\u2014", 512);
  e->find_flags() = FR_DOWN | FR_MATCHCASE;
  e->memo().SetSel(0, 0);
  for (int hit : {3, 7}) {
    SendMessageW(e->hwnd(), WM_COMMAND, IDM_FINDNEXT1, 0);
    EXPECT_EQ(e->memo().SelStart(), hit);
    EXPECT_EQ(e->memo().SelLength(), 1);
  }
  answers.Press(IDOK);
  SendMessageW(e->hwnd(), WM_COMMAND, IDM_FINDNEXT1, 0);
  ASSERT_FALSE(answers.seen().empty());
  EXPECT_TRUE(Says(answers.seen().back(), L"は、計  2  回  見つかりました。"));
}

TEST_F(EditorFiles, ASaveKeepsTheFilesAttributesAndWritesThroughALinkToItsTarget) {
  const std::wstring path = dir_ / L"hidden.txt";
  WriteBytes(path, "old\r\n");
  ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN));
  // The users' group may only read it, explicitly.
  PSID users = nullptr;
  SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
  ASSERT_TRUE(AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_USERS, 0, 0, 0, 0, 0, 0,
                                       &users));
  EXPLICIT_ACCESSW read_only{};
  read_only.grfAccessPermissions = GENERIC_READ;
  read_only.grfAccessMode = SET_ACCESS;
  read_only.Trustee.TrusteeForm = TRUSTEE_IS_SID;
  read_only.Trustee.ptstrName = static_cast<LPWSTR>(users);
  PACL acl = nullptr;
  ASSERT_EQ(SetEntriesInAclW(1, &read_only, nullptr, &acl), static_cast<DWORD>(ERROR_SUCCESS));
  const bool acl_kept_here = SetNamedSecurityInfoW(const_cast<wchar_t*>(path.c_str()), SE_FILE_OBJECT,
                                                   DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                                                   nullptr, nullptr, acl, nullptr) == ERROR_SUCCESS;
  LocalFree(acl);
  auto grants_users_read = [&] {
    PSECURITY_DESCRIPTOR sd = nullptr;
    PACL dacl = nullptr;
    bool found = false;
    if (GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl,
                              nullptr, &sd) == ERROR_SUCCESS &&
        dacl) {
      for (DWORD i = 0; i < dacl->AceCount; ++i) {
        ACCESS_ALLOWED_ACE* ace = nullptr;
        if (GetAce(dacl, i, reinterpret_cast<void**>(&ace)) && ace->Header.AceType == ACCESS_ALLOWED_ACE_TYPE &&
            EqualSid(&ace->SidStart, users))
          found = true;
      }
    }
    LocalFree(sd);
    return found;
  };
  const bool acl_before = acl_kept_here && grants_users_read();

  DialogAnswerer answers;
  answers.Press(IDOK);
  EditorWindow* e = Drop(path);
  ASSERT_NE(e, nullptr);
  TypeAtEnd(e, L"new");
  Save(e);
  EXPECT_EQ(ReadBytes(path), "old\r\nnew");
  EXPECT_EQ(ReadBytes(dir_ / L"hidden.BAK"), "old\r\n");
  EXPECT_TRUE(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_HIDDEN);
  if (acl_before) {
    EXPECT_TRUE(grants_users_read()) << "the access control list goes with the contents";
  }
  FreeSid(users);

  // A symbolic link (made by the host: Wine makes none) stays a link, and its target gets the text.
  const std::wstring unix_dir = UnixPath(dir_.path());
  if (!RunHostShell(L"ln -s target.txt '" + unix_dir + L"/link.txt'")) GTEST_SKIP() << "no symbolic links here";
  WriteBytes(dir_ / L"target.txt", "target\r\n");
  answers.Press(IDOK);
  EditorWindow* linked = Drop(dir_ / L"link.txt");
  ASSERT_NE(linked, nullptr);
  TypeAtEnd(linked, L"more");
  Save(linked);
  EXPECT_EQ(ReadBytes(dir_ / L"target.txt"), "target\r\nmore");
  EXPECT_TRUE(RunHostShell(L"test -L '" + unix_dir + L"/link.txt'")) << "the link was replaced by a file";
  EXPECT_EQ(ReadBytes(dir_ / L"link.BAK"), "target\r\n");
}

// The temporary file of a save is named no longer than the backup: a name
// whose backup fits the file system's limit (255 here, as MAX_PATH is on
// Windows) can be saved.
TEST_F(EditorFiles, ADocumentWhoseBackupNameFitsCanBeSaved) {
  const std::wstring path = dir_ / (std::wstring(251, L'n') + L".txt");
  WriteBytes(path, "old");
  ASSERT_EQ(ReadBytes(path), "old");
  DialogAnswerer answers;
  answers.Press(IDOK);
  EditorWindow* e = Drop(path);
  ASSERT_NE(e, nullptr);
  TypeAtEnd(e, L"+new");
  Save(e);
  ASSERT_EQ(answers.seen().size(), 1u);
  EXPECT_TRUE(Says(answers.seen()[0], L"正常に保存しました !!"));
  EXPECT_EQ(ReadBytes(path), "old+new");
  EXPECT_EQ(ReadBytes(BackupNameOf(path)), "old");
}
