// The word search over real directory trees: which files and lines it
// lists, the result lines' columns, its messages, and how it ends.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <utility>

#include "platform/text_file.h"
#include "ui/app.h"
#include "win/search_window_fixture.h"
#include "wordsearch/progress.h"
#include "wordsearch/wordsearch_ids.h"

using namespace velkor;
using namespace velkor::test;

namespace {

void SetLocalWriteTime(const std::wstring& path, WORD year, WORD month, WORD day, WORD hour, WORD minute,
                       WORD second) {
  SYSTEMTIME st{};
  st.wYear = year, st.wMonth = month, st.wDay = day, st.wHour = hour, st.wMinute = minute, st.wSecond = second;
  FILETIME local{}, utc{};
  SystemTimeToFileTime(&st, &local);
  LocalFileTimeToFileTime(&local, &utc);
  HANDLE h = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  SetFileTime(h, nullptr, nullptr, &utc);
  CloseHandle(h);
}

std::string Columns(const std::string& line, size_t from, size_t count) {
  return line.size() >= from ? line.substr(from - 1, count) : std::string();
}

}  // namespace

class SearchEngine : public SearchWindowTest {
 protected:
  // Numbers 1 and 2, one file with one hit each, searched in that order.
  SearchWindow& OpenOverTwoDirectories() {
    one_ = Dir(L"one");
    WriteBytes(one_ + L"first.txt", "key\r\n");
    const std::wstring two = Dir(L"two");
    WriteBytes(two + L"second.txt", "key\r\n");
    Register(1, one_);
    Register(2, two);
    return Open();
  }
  std::wstring one_;
};

TEST_F(SearchEngine, LettersAreAlikeOnlyUntilTheCaseModeSaysOtherwise) {
  const std::wstring d = Dir(L"a");
  WriteBytes(d + L"t.txt", "BIG A\r\ntiny a\r\nnone\r\n");
  Register(1, d);
  SearchWindow& form = Open();
  DialogAnswerer answers;

  Search(form, L"a");
  EXPECT_EQ(Texts(form), (std::vector<std::string>{"BIG A", "tiny a"}));

  form.ToggleCaseSensitivity();
  Search(form, L"a");
  EXPECT_EQ(Texts(form), (std::vector<std::string>{"tiny a"}));
  EXPECT_TRUE(form.case_sensitive());
  EXPECT_EQ(answers.seen().size(), 0u);
}

TEST_F(SearchEngine, ADoubleByteKeywordIsMatchedExactlyAndLeavesTheCaseModeAlone) {
  const std::wstring d = Dir(L"a");
  // ア is 83 41; 83 61 differs from it only where letters would meet.
  WriteBytes(d + L"t.txt", "x\x83\x41y\r\nx\x83\x61y\r\n");
  Register(1, d);
  SearchWindow& form = Open();
  DialogAnswerer answers;
  Search(form, Cp("\x83\x41"));
  EXPECT_EQ(Texts(form), (std::vector<std::string>{"x\x83\x41y"}));
  EXPECT_FALSE(form.case_sensitive());
  EXPECT_EQ(form.Label1().text(), L"検索 (A=a)");
}

TEST_F(SearchEngine, ABackslashIsFoundOnlyWhereItStandsForItself) {
  const std::wstring d = Dir(L"a");
  // 表 is 95 5C: its second byte is a backslash.
  WriteBytes(d + L"only.txt", "\x95\x5C\x95\x5C\r\n");
  WriteBytes(d + L"real.txt", "\x95\x5C" "C:\\dir\r\n");
  Register(1, d);
  SearchWindow& form = Open();
  DialogAnswerer answers;
  Search(form, L"\\");
  ASSERT_EQ(form.hits().size(), 1u);
  EXPECT_EQ(form.hits()[0].hit.text.substr(0, 8), "real.txt");
  EXPECT_EQ(Texts(form)[0], "\x95\x5C" "C:\\dir");
}

TEST_F(SearchEngine, LongLinesAreReadToTheEndAndHitsStartOnCharacters) {
  const std::wstring d = Dir(L"a");
  // One paragraph per line: the first hit stands 40,000 bytes into its line.
  WriteBytes(d + L"long.html", "<p>" + std::string(40000, 'w') + " Velkor</p>\r\nVelkor\r\n");
  // シ is 83 56, a V as its second byte; ン is 83 93.
  WriteBytes(d + L"kana.txt", "\x83\x56" "elkor\r\n\x83\x93" "Velkor\r\n");
  Register(1, d);
  SearchWindow& form = Open();
  DialogAnswerer answers;
  Search(form, L"Velkor");
  std::vector<std::pair<std::wstring, long long>> found;
  for (const auto& h : form.hits()) found.emplace_back(h.path, h.hit.line_number);
  std::sort(found.begin(), found.end());
  EXPECT_EQ(found, (std::vector<std::pair<std::wstring, long long>>{
                       {d + L"kana.txt", 2}, {d + L"long.html", 1}, {d + L"long.html", 2}}));
}

TEST_F(SearchEngine, TheClassOptionWantsABlankADotAnOpeningParenthesisOrTheLineStart) {
  const std::wstring d = Dir(L"a");
  WriteBytes(d + L"u.pas", "x := T.Create;\r\nf(Create)\r\n  Create\r\nCreate first\r\nx.ReCreate;\r\n");
  Register(1, d);
  SearchWindow& form = Open();
  DialogAnswerer answers;
  Search(form, L"Create");
  EXPECT_EQ(form.hits().size(), 5u) << "without the class option every line counts";

  SendMessageW(form.ClassCheck(), BM_CLICK, 0, 0);
  Search(form, L"Create");
  EXPECT_EQ(Texts(form), (std::vector<std::string>{"x := T.Create;", "f(Create)", "  Create", "Create first"}));
}

TEST_F(SearchEngine, HtmlIsAlwaysSearchedHtmOnlyWithItsClassAndNoExtensionNever) {
  const std::wstring d = Dir(L"a");
  WriteBytes(d + L"page.html", "key\r\n");
  WriteBytes(d + L"page.htm", "key\r\n");
  WriteBytes(d + L"page", "key\r\n");
  WriteBytes(d + L"page.txt", "key\r\n");
  Register(1, d);
  SearchWindow& form = Open();
  DialogAnswerer answers;
  for (int n = 1; n <= 9; ++n) SendMessageW(form.CheckBox(n), BM_CLICK, 0, 0);
  ASSERT_EQ(form.ext_table()[8], "....");
  Search(form, L"key");
  ASSERT_EQ(form.hits().size(), 1u);
  EXPECT_EQ(FileNamePart(form.hits()[0].hit.path), "page.html");

  SendMessageW(form.CheckBox(9), BM_CLICK, 0, 0);
  Search(form, L"key");
  std::vector<std::string> names;
  for (const auto& h : form.hits()) names.emplace_back(FileNamePart(h.hit.path));
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"page.htm", "page.html"}));
}

TEST_F(SearchEngine, DotDirectoriesAreLeftOutAndHiddenOnesEntered) {
  const std::wstring d = Dir(L"a");
  CreateDirectoryW((d + L".git").c_str(), nullptr);
  CreateDirectoryW((d + L"hidden").c_str(), nullptr);
  CreateDirectoryW((d + L"hidden\\deeper").c_str(), nullptr);
  SetFileAttributesW((d + L"hidden").c_str(), FILE_ATTRIBUTE_HIDDEN);
  WriteBytes(d + L".git\\in-dot.txt", "key\r\n");
  WriteBytes(d + L"hidden\\deeper\\in-hidden.txt", "key\r\n");
  WriteBytes(d + L"hidden\\hidden-file.txt", "key\r\n");
  SetFileAttributesW((d + L"hidden\\hidden-file.txt").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
  Register(1, d);
  SearchWindow& form = Open();
  DialogAnswerer answers;
  Search(form, L"key");
  std::vector<std::wstring> paths;
  for (const auto& h : form.hits()) paths.push_back(h.path);
  std::sort(paths.begin(), paths.end());
  EXPECT_EQ(paths, (std::vector<std::wstring>{d + L"hidden\\deeper\\in-hidden.txt", d + L"hidden\\hidden-file.txt"}));
}

TEST_F(SearchEngine, LineFeedsAloneCountTheLines) {
  const std::wstring d = Dir(L"a");
  WriteBytes(d + L"lf.txt", "one key\nskip\nthree key\n\nfive key");
  Register(1, d);
  SearchWindow& form = Open();
  DialogAnswerer answers;
  Search(form, L"key");
  std::vector<long long> numbers;
  for (const auto& h : form.hits()) numbers.push_back(h.hit.line_number);
  EXPECT_EQ(numbers, (std::vector<long long>{1, 3, 5}));
}

namespace {

bool Visible(HWND w) { return IsWindowVisible(w) != FALSE; }

// The list's lines as it shows them.
std::vector<std::wstring> ShownLines(SearchWindow& form) {
  std::vector<std::wstring> lines;
  const int n = static_cast<int>(SendMessageW(form.FileList(), LB_GETCOUNT, 0, 0));
  for (int i = 0; i < n; ++i) {
    std::wstring text(static_cast<size_t>(SendMessageW(form.FileList(), LB_GETTEXTLEN, i, 0)) + 1, L'\0');
    SendMessageW(form.FileList(), LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
    text.resize(text.size() - 1);
    lines.push_back(text);
  }
  return lines;
}

// The keyword typed and Enter pressed in the keyword box, as the user searches.
void SearchByKeys(SearchWindow& form, const std::wstring& keyword) {
  SetForegroundWindow(form.hwnd());
  SetWindowTextW(form.KeyWordEditB(), keyword.c_str());
  SetFocus(form.KeyWordEdit());
  PressKey(VK_RETURN);
}

// Enter on the n-th hit of the list, then what the viewer shows: its caret
// line and its selection. Escape goes back to the list.
std::pair<int, std::wstring> ViewByKeys(SearchWindow& form, int n) {
  SetFocus(form.FileList());
  PressKey(VK_HOME);
  for (int i = 0; i < n; ++i) PressKey(VK_DOWN);
  PressKey(VK_RETURN);
  RichMemo& viewer = form.SrcList();
  if (!Visible(viewer.hwnd())) return {0, L"(no viewer)"};
  std::pair<int, std::wstring> seen{viewer.LineFromChar(viewer.SelStart()) + 1, viewer.SelText()};
  PressKey(VK_ESCAPE);
  return seen;
}

}  // namespace

TEST_F(SearchEngine, TheSameLineInEveryEncodingIsFoundShownAndSelected) {
  const std::wstring d = Dir(L"enc");
  const std::wstring line = L"メモ：ベルコノートの表示";
  const std::wstring text = L"first\r\n" + line + L"\r\nlast\r\n";
  const std::pair<std::wstring, DocEncoding> files[] = {{L"sjis.txt", DocEncoding::ShiftJis},
                                                        {L"utf8.txt", DocEncoding::Utf8},
                                                        {L"bom.txt", DocEncoding::Utf8Bom},
                                                        {L"le.txt", DocEncoding::Utf16Le},
                                                        {L"be.txt", DocEncoding::Utf16Be}};
  for (const auto& [name, encoding] : files) WriteBytes(d + name, EncodeDocument(text, encoding).bytes);
  Register(1, d);
  SearchWindow& form = Open();
  DialogAnswerer answers;
  SearchByKeys(form, L"ベルコ");
  ASSERT_EQ(form.hits().size(), 5u);
  const std::vector<std::wstring> shown = ShownLines(form);
  std::vector<std::wstring> paths;
  for (size_t i = 0; i < 5; ++i) {
    const auto& listed = form.hits()[i];
    paths.push_back(listed.path);
    EXPECT_EQ(listed.hit.line_number, 2) << listed.path;
    EXPECT_EQ(shown[i].substr(49, line.size() + 1), line + L" ") << listed.path;
    EXPECT_EQ(ViewByKeys(form, static_cast<int>(i)), std::make_pair(2, std::wstring(L"ベルコ"))) << listed.path;
    EXPECT_EQ(form.view_file(), listed.path);
  }
  std::sort(paths.begin(), paths.end());
  EXPECT_EQ(paths, (std::vector<std::wstring>{d + L"be.txt", d + L"bom.txt", d + L"le.txt", d + L"sjis.txt",
                                               d + L"utf8.txt"}));
  EXPECT_EQ(answers.seen().size(), 0u);
}

TEST_F(SearchEngine, ACharacterThatShiftJisLacksFindsItselfAndCountsTwoColumns) {
  const std::wstring d = Dir(L"lacks");
  WriteBytes(d + L"u.txt", WideToUtf8(L"é😀ベルコ\r\n?\r\n"));
  WriteBytes(d + L"s.txt", "?\r\n");
  // 150 characters of two bytes, then the keyword past the 255 bytes that a
  // hit's text keeps; its Shift-JIS twin has ＝ and 表 for é and 😀.
  std::wstring long_line, twin_line;
  for (int i = 0; i < 50; ++i) long_line += L"ベé😀", twin_line += L"ベ＝表";
  WriteBytes(d + L"long.txt", WideToUtf8(long_line + L" key\r\n"));
  WriteBytes(d + L"twin.txt", WideToCp932(twin_line + L" key\r\n").bytes);
  Register(1, d);
  SearchWindow& form = Open();
  DialogAnswerer answers;
  const auto listed_of = [&](const std::wstring& name) {
    const auto& hits = form.hits();
    const auto at = std::find_if(hits.begin(), hits.end(), [&](const auto& h) { return h.path == d + name; });
    return at == hits.end() ? -1 : static_cast<int>(at - hits.begin());
  };

  SearchByKeys(form, L"ベルコ");
  ASSERT_EQ(form.hits().size(), 1u);
  EXPECT_EQ(form.hits()[0].path, d + L"u.txt");
  EXPECT_EQ(form.hits()[0].hit.line_number, 1);
  EXPECT_EQ(ShownLines(form)[0].substr(49, 7), L"é😀ベルコ ");
  EXPECT_EQ(ViewByKeys(form, 0), std::make_pair(1, std::wstring(L"ベルコ")));

  SearchByKeys(form, L"é");
  ASSERT_EQ(form.hits().size(), 2u);
  const int u = listed_of(L"u.txt");
  ASSERT_GE(u, 0);
  EXPECT_EQ(form.hits()[static_cast<size_t>(u)].hit.line_number, 1);
  EXPECT_EQ(ShownLines(form)[static_cast<size_t>(u)].substr(49, 7), L"é😀ベルコ ");
  EXPECT_EQ(ViewByKeys(form, u), std::make_pair(1, std::wstring(L"é")));

  SearchByKeys(form, L"?");
  std::vector<std::wstring> question;
  for (const auto& h : form.hits()) question.push_back(h.path + L":" + std::to_wstring(h.hit.line_number));
  std::sort(question.begin(), question.end());
  EXPECT_EQ(question, (std::vector<std::wstring>{d + L"s.txt:1", d + L"u.txt:2"}));

  // Both are cut after the same bytes: 18 whole triples and one ベ in the
  // list's 110 columns, the path behind in the same place.
  SearchByKeys(form, L"key");
  ASSERT_EQ(form.hits().size(), 2u);
  const int utf8 = listed_of(L"long.txt"), twin = listed_of(L"twin.txt");
  ASSERT_GE(utf8, 0);
  ASSERT_GE(twin, 0);
  EXPECT_EQ(form.hits()[static_cast<size_t>(utf8)].hit.text.size(), form.hits()[static_cast<size_t>(twin)].hit.text.size());
  std::wstring shown_text;
  for (int i = 0; i < 18; ++i) shown_text += L"ベé😀";
  shown_text += L"ベ";
  EXPECT_EQ(ShownLines(form)[static_cast<size_t>(utf8)].substr(49), shown_text + L" " + d + L"long.txt");
  std::wstring twin_text = shown_text;
  for (size_t at; (at = twin_text.find(L"é😀")) != std::wstring::npos;) twin_text.replace(at, 3, L"＝表");
  EXPECT_EQ(ShownLines(form)[static_cast<size_t>(twin)].substr(49), twin_text + L" " + d + L"twin.txt");
  EXPECT_EQ(answers.seen().size(), 0u);
}

TEST_F(SearchEngine, ALockedFileIsLeftOutWithoutAWord) {
  const std::wstring d = Dir(L"a");
  WriteBytes(d + L"locked.txt", "key\r\n");
  WriteBytes(d + L"open.txt", "key\r\n");
  HANDLE lock = CreateFileW((d + L"locked.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  Register(1, d);
  SearchWindow& form = Open();
  DialogAnswerer answers;
  Search(form, L"key");
  CloseHandle(lock);
  ASSERT_EQ(form.hits().size(), 1u);
  EXPECT_EQ(form.hits()[0].path, d + L"open.txt");
  EXPECT_EQ(answers.seen().size(), 0u);
}

TEST_F(SearchEngine, AFilesFirstHitCarriesItsNameDateAndTimeAndTheNextOnesLeaveThemBlank) {
  const std::wstring one = Dir(L"one"), two = Dir(L"two");
  WriteBytes(one + L"three-hits.txt", "key 1\r\nno\r\nkey 3\r\nkey 4\r\n");
  WriteBytes(two + L"other.txt", "and key\r\n");
  SetLocalWriteTime(one + L"three-hits.txt", 2024, 3, 5, 9, 7, 9);
  SetLocalWriteTime(two + L"other.txt", 2023, 12, 31, 23, 59, 58);
  Register(1, one);
  Register(2, two);
  SearchWindow& form = Open();
  DialogAnswerer answers;
  Search(form, L"key");
  const std::vector<std::string> lines = Lines(form);
  ASSERT_EQ(lines.size(), 4u);
  const std::string path1 = WideToCp932(one + L"three-hits.txt").bytes;
  const std::string path2 = WideToCp932(two + L"other.txt").bytes;
  const std::string text_pad(110 - 5, ' ');
  // Name (20), two blanks, line number (6), two blanks, date (8), blank, time (8), two blanks,
  // text (110), blank, full path.
  EXPECT_EQ(lines[0], "three-hits.txt        " "     1  24/03/05  9:07:08  key 1" + text_pad + " " + path1);
  EXPECT_EQ(lines[1], std::string(22, ' ') + "     3" + std::string(21, ' ') + "key 3" + text_pad + " " + path1);
  EXPECT_EQ(lines[2], std::string(22, ' ') + "     4" + std::string(21, ' ') + "key 4" + text_pad + " " + path1);
  EXPECT_EQ(Columns(lines[3], 1, 49), "other.txt" + std::string(11 + 2 + 5, ' ') + "1  23/12/31 23:59:58  ");
  EXPECT_EQ(Columns(lines[3], 161, 200), path2);
  EXPECT_EQ(form.StatusText(2), L"1 / 4");
  EXPECT_EQ(WindowText(form.hwnd()), L" View Source  -  " + one + L"three-hits.txt");
}

TEST_F(SearchEngine, AStampWithoutAnMsDosFormStillShowsItsDate) {
  const std::wstring d = Dir(L"a");
  WriteBytes(d + L"old.txt", "key\r\n");
  SetLocalWriteTime(d + L"old.txt", 1975, 1, 2, 3, 4, 6);
  Register(1, d);
  SearchWindow& form = Open();
  DialogAnswerer answers;
  Search(form, L"key");
  EXPECT_EQ(answers.seen().size(), 0u) << "no unexpected-error message";
  ASSERT_EQ(form.hits().size(), 1u);
  EXPECT_EQ(Columns(form.hits()[0].hit.text, 31, 17), "75/01/02  3:04:06");
}

// The window's control with that id, at any depth (the directory checks sit on a page).
HWND DescendantWithId(HWND window, int id) {
  struct Wanted {
    int id;
    HWND found = nullptr;
  } wanted{id};
  EnumChildWindows(
      window,
      [](HWND child, LPARAM lp) -> BOOL CALLBACK {
        auto& w = *reinterpret_cast<Wanted*>(lp);
        if (GetDlgCtrlID(child) != w.id) return TRUE;
        w.found = child;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&wanted));
  return wanted.found;
}

TEST_F(SearchEngine, WithoutDirectoriesOrKeywordTheSearchSaysSoAndStops) {
  SearchWindow& form = Open();
  DialogAnswerer answers;
  answers.Press(IDOK);
  Search(form, L"key");
  ASSERT_EQ(answers.seen().size(), 1u);
  EXPECT_EQ(answers.seen()[0].caption, L"警告");
  EXPECT_EQ(answers.seen()[0].text,
            L"始めに、検索対象ディレクトリーの設定ボタンを押下し、\r\n\r\n検索対象ディレクトリーを、設定して下さい。\r\n");

  // A directory registered in an earlier session but not checked.
  Close(form);
  Register(3, Dir(L"a"), false);
  SearchWindow& again = Open();
  answers.Press(IDOK);
  Search(again, L"key");
  ASSERT_EQ(answers.seen().size(), 2u);
  EXPECT_EQ(answers.seen()[1].text,
            L"検索対象ディレクトリーの 指定（チェック）がされていません。\r\n\r\nそれから、ボタンかを押下して下さい。");

  // Checked as the user checks it, with a click on its box.
  Button(DescendantWithId(again.hwnd(), IDC_SEA_DIRNO1 + 2)).Click();
  PumpFor(10);
  again.OSButton().SetEnabled(true);
  again.FileButton().SetEnabled(true);
  answers.Press(IDOK);
  Search(again, L"");
  ASSERT_EQ(answers.seen().size(), 3u);
  EXPECT_EQ(answers.seen()[2].caption, L"警告");
  EXPECT_EQ(answers.seen()[2].text, L"検索文字が、入力されていません。\r\n\r\nそれから、ボタンを押下して下さい。");
  EXPECT_FALSE(again.OSButton().enabled());
  EXPECT_FALSE(again.FileButton().enabled());
  EXPECT_EQ(answers.unexpected(), 0);
}

TEST_F(SearchEngine, NoHitAtAllIsReportedAndTheKeywordBoxGetsTheFocus) {
  const std::wstring d = Dir(L"a");
  WriteBytes(d + L"t.txt", "nothing here\r\n");
  Register(1, d);
  SearchWindow& form = Open();
  DialogAnswerer answers;
  answers.Press(IDOK);
  Search(form, L"absent");
  ASSERT_EQ(answers.seen().size(), 1u);
  EXPECT_EQ(answers.seen()[0].caption, L"情報");
  EXPECT_EQ(answers.seen()[0].text, L"検索文字 ： absent\r\n\r\nは、見つかりませんでした。");
  EXPECT_EQ(GetFocus(), form.KeyWordEdit());
  EXPECT_FALSE(form.FileButton().enabled());
  EXPECT_EQ(SendMessageW(form.KeyWordEditB(), CB_GETCOUNT, 0, 0), 0) << "only keywords that found something";
}

TEST_F(SearchEngine, AHitFillsTheKeywordHistoryAndEnablesTheListCommands) {
  const std::wstring d = Dir(L"a");
  WriteBytes(d + L"t.txt", "key\r\n");
  Register(1, d);
  SearchWindow& form = Open();
  DialogAnswerer answers;
  Search(form, L"key");
  Search(form, L"key");
  EXPECT_EQ(SendMessageW(form.KeyWordEditB(), CB_GETCOUNT, 0, 0), 2) << "kept as given, repeats too";
  EXPECT_TRUE(form.FileButton().enabled());
  EXPECT_TRUE(form.OSButton().enabled());
  EXPECT_EQ(SendMessageW(form.FileList(), LB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(GetFocus(), form.FileList());
}

TEST_F(SearchEngine, ACheckedNumberWithoutADirectoryIsSkipped) {
  const std::wstring d = Dir(L"a");
  WriteBytes(d + L"t.txt", "key\r\n");
  const std::wstring cwd = Dir(L"cwd");
  WriteBytes(cwd + L"here.txt", "key\r\n");
  Register(1, L"");
  Register(2, d);
  SearchWindow& form = Open();
  wchar_t previous[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, previous);
  SetCurrentDirectoryW(cwd.c_str());
  DialogAnswerer answers;
  Search(form, L"key");
  SetCurrentDirectoryW(previous);
  ASSERT_EQ(form.hits().size(), 1u);
  EXPECT_EQ(form.hits()[0].path, d + L"t.txt");
}

TEST_F(SearchEngine, EscapeStopsARunningSearchAndKeepsWhatItFound) {
  SearchWindow& form = OpenOverTwoDirectories();
  DialogAnswerer answers;
  // Waiting in the queue, it is seen when the search processes messages after its first file.
  PostMessageW(form.FileList(), WM_KEYDOWN, VK_ESCAPE, 0);
  Search(form, L"key");
  ASSERT_EQ(form.hits().size(), 1u);
  EXPECT_EQ(form.hits()[0].path, one_ + L"first.txt");
  EXPECT_FALSE(form.searching());
  EXPECT_EQ(answers.seen().size(), 0u);

  Search(form, L"key");
  EXPECT_EQ(form.hits().size(), 2u) << "the next search runs whole";
}

TEST_F(SearchEngine, TheFinishButtonDuringASearchStopsItThenClosesTheWindow) {
  SearchWindow& form = OpenOverTwoDirectories();
  DialogAnswerer answers;
  PostMessageW(form.hwnd(), WM_COMMAND, MAKEWPARAM(IDC_SEA_FINISH, BN_CLICKED), 0);
  Search(form, L"key");
  EXPECT_TRUE(PumpUntil([] { return SearchWindow::Get() == nullptr; }, 2000));
  EXPECT_EQ(answers.seen().size(), 0u);
  EXPECT_EQ(IniString(IniPath(), L"Option", L"No2"), L"1") << "closed the usual way, settings saved";
}

namespace {

// Runs a function when its message comes out of the queue, in the middle of a search.
struct QueuedCall {
  std::function<void()> fn;
  HWND window = nullptr;
  static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_APP) {
      auto* self = reinterpret_cast<QueuedCall*>(GetWindowLongPtrW(h, GWLP_USERDATA));
      if (self && self->fn) std::exchange(self->fn, nullptr)();
      return 0;
    }
    return DefWindowProcW(h, msg, wp, lp);
  }
  explicit QueuedCall(std::function<void()> f) : fn(std::move(f)) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"VelkorQueuedCall";
    RegisterClassW(&wc);
    window = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    PostMessageW(window, WM_APP, 0, 0);
  }
  ~QueuedCall() { DestroyWindow(window); }
};

}  // namespace

TEST_F(SearchEngine, ASecondSearchDoesNotStartWhileOneRuns) {
  SearchWindow& form = OpenOverTwoDirectories();
  DialogAnswerer answers;
  bool was_searching = false;
  size_t hits_before = 0, hits_after = 0;
  QueuedCall during([&] {
    was_searching = form.searching();
    hits_before = form.hits().size();
    SendMessageW(form.KeyWordEdit(), WM_CHAR, VK_RETURN, 0);
    form.StartSearch();
    hits_after = form.hits().size();
  });
  Search(form, L"key");
  EXPECT_TRUE(was_searching);
  EXPECT_EQ(hits_before, 1u);
  EXPECT_EQ(hits_after, hits_before) << "the nested commands returned at once";
  EXPECT_EQ(form.hits().size(), 2u);
  EXPECT_EQ(form.hit_count(), 2);
}

TEST_F(SearchEngine, TheProgressWindowShowsTheFileAtWorkAndIsHiddenAfterwards) {
  const std::wstring d = Dir(L"a");
  WriteBytes(d + L"t.txt", "key\r\n");
  Register(1, d);
  SearchWindow& form = Open();
  DialogAnswerer answers;
  bool shown = false;
  std::wstring name;
  QueuedCall during([&] {
    ProgressWindow* p = form.ProgressForm();
    shown = p && IsWindowVisible(p->hwnd());
    if (p) name = WindowText(p->NameLabel());
  });
  Search(form, L"key");
  EXPECT_TRUE(shown);
  EXPECT_EQ(name, d + L"t.txt");
  ProgressWindow* progress = form.ProgressForm();
  ASSERT_NE(progress, nullptr);
  HWND p = progress->hwnd();
  EXPECT_FALSE(IsWindowVisible(p));
  wchar_t cls[32] = {};
  GetClassNameW(p, cls, 32);
  EXPECT_STREQ(cls, L"TProgressForm");
  EXPECT_EQ(WindowText(p), L"検索中です。");
  EXPECT_EQ(WindowText(progress->OpeLabel()), L"暫くお待ち下さい。");
  EXPECT_EQ(GetWindow(p, GW_OWNER), form.hwnd());
  const DWORD style = WindowStyle(p), ex = WindowExStyle(p);
  EXPECT_FALSE(style & WS_SYSMENU) << "no close box";
  EXPECT_TRUE(ex & WS_EX_TOPMOST);
  EXPECT_TRUE(ex & WS_EX_TOOLWINDOW);

  Search(form, L"key");
  EXPECT_EQ(form.ProgressForm(), progress) << "made once and reused";
  Close(form);
  EXPECT_FALSE(IsWindow(p));
}
