// The search command of the search window: the walk over the checked
// directories, the line scan of each file of a checked class, and the result
// lines in the list. Runs on the window's thread and processes pending
// messages between files, so the windows stay painted and Escape or the
// finish button can stop it.
#include <algorithm>

#include "platform/dir_walk.h"
#include "platform/locale_text.h"
#include "platform/number_format.h"
#include "platform/path_names.h"
#include "platform/scoped.h"
#include "platform/text.h"
#include "ui/app.h"
#include "ui/message_box.h"
#include "wordsearch/progress.h"
#include "wordsearch/search_window.h"

namespace velkor {
namespace {

constexpr wchar_t kViewSourceCaption[] = L" View Source  -  ";
// Under Wine, painting costs far more than scanning a file, and even a look
// into an empty message queue costs more than many a file. So the progress
// window and the count are brought up to date at most this often
// (milliseconds), pending messages are processed after a file when the
// shorter interval has passed, and the list, which would repaint itself for
// every line added, paints when the walk is over.
constexpr DWORD kRefreshInterval = 200;
constexpr DWORD kPumpInterval = 20;

// Raised by the byte source when a read fails: the file is skipped.
struct ReadFailure {};
// Raised when the list refuses a line: the search ends.
struct ListFull {};

class FileReadSource : public ByteSource {
 public:
  // listed_size: the file's size in its directory entry.
  FileReadSource(HANDLE file, unsigned long long listed_size) : file_(file), listed_size_(listed_size) {}
  bool Rewind() override {
    LARGE_INTEGER start{};
    if (!SetFilePointerEx(file_, start, nullptr, FILE_BEGIN)) throw ReadFailure{};
    position_ = 0;
    at_end_ = false;
    return true;
  }
  int Read(unsigned char* dst, int max) override {
    // A short read that reached the listed size was the end: the read that
    // would only say so is spared (it costs as much as a small file's data).
    if (at_end_) return 0;
    DWORD got = 0;
    if (!ReadFile(file_, dst, static_cast<DWORD>(max), &got, nullptr)) throw ReadFailure{};
    position_ += got;
    at_end_ = got < static_cast<DWORD>(max) && position_ >= listed_size_;
    return static_cast<int>(got);
  }

 private:
  HANDLE file_;
  unsigned long long listed_size_;
  unsigned long long position_ = 0;
  bool at_end_ = false;
};

// The date and time columns hold one byte per separator.
char OneByteSeparator(const std::wstring& text, char fallback) {
  return text.size() == 1 && text[0] > L' ' && text[0] < 0x7F ? static_cast<char>(text[0]) : fallback;
}

DateOrder DateOrderOfLocale() {
  const std::wstring idate = LocaleText(LOCALE_IDATE);
  if (idate == L"0") return DateOrder::MonthDayYear;
  if (idate == L"1") return DateOrder::DayMonthYear;
  if (idate == L"2") return DateOrder::YearMonthDay;
  // The order in which the short date pattern names the fields.
  const std::wstring pattern = LocaleText(LOCALE_SSHORTDATE);
  const auto y = pattern.find(L'y'), m = pattern.find(L'M'), d = pattern.find(L'd');
  if (m < d && m < y) return DateOrder::MonthDayYear;
  if (d < m && d < y) return DateOrder::DayMonthYear;
  return DateOrder::YearMonthDay;
}

std::wstring HitTotal(int count) {
  return L"リストアップしたデータ合計  ： " + FormatNumberN(count, 11, ThousandsSeparator()) + L" 行";
}

}  // namespace

std::string LocalDateColumn(const FILETIME& last_write) {
  FILETIME local{};
  SYSTEMTIME st{};
  if (!FileTimeToLocalFileTime(&last_write, &local) || !FileTimeToSystemTime(&local, &st)) st = SYSTEMTIME{};
  return FormatHitDate(st.wYear, st.wMonth, st.wDay, DateOrderOfLocale(),
                       OneByteSeparator(LocaleText(LOCALE_SDATE), '/'));
}

void SearchWindow::StartSearch() {
  // The command pumps messages while it runs: a second one must not start inside it.
  if (working()) return;
  if (std::all_of(dir_path().begin() + 1, dir_path().end(), [](const std::wstring& p) { return p.empty(); })) {
    ShowMessage(hwnd(), L"始めに、検索対象ディレクトリーの設定ボタンを押下し、\r\n\r\n検索対象ディレクトリーを、設定して下さい。\r\n",
                MessageKind::Warning);
    return;
  }
  if (std::none_of(dir_checked().begin() + 1, dir_checked().end(), [](bool b) { return b; })) {
    ShowMessage(hwnd(), L"検索対象ディレクトリーの 指定（チェック）がされていません。\r\n\r\nそれから、ボタンかを押下して下さい。",
                MessageKind::Warning);
    return;
  }
  os_button_.SetEnabled(false);
  file_button_.SetEnabled(false);
  const std::wstring typed = WindowText(keyword_box_);
  if (typed.empty()) {
    ShowMessage(hwnd(), L"検索文字が、入力されていません。\r\n\r\nそれから、ボタンを押下して下さい。", MessageKind::Warning);
    return;
  }
  keyword_ = std::make_unique<SearchKeyword>(typed);
  typed_keyword_ = typed;
  keyword_bytes_ = keyword_->bytes();

  line_builder_.Reset();
  view_file_.clear();
  SetStatusText(2, L"");
  SetStatusText(3, L"");
  copy_btn_.SetEnabled(false);
  close_file_button_.SetEnabled(false);
  hit_count_ = 0;
  SetCaption(kViewSourceCaption);
  if (viewer_showing()) HideViewer();

  key_length_ = static_cast<int>(keyword_bytes_.size());
  const bool saved_case_sensitive = case_sensitive_;
  case_sensitive_ = EffectiveCaseSensitive(keyword_bytes_, case_sensitive_);
  match_key_ = MakeMatchKey(keyword_bytes_, case_sensitive_);

  enum class End { Finished, ListFull, Failed } end = End::Finished;
  // The walk lets messages through: the window may close meanwhile, and the
  // work then stops at the next file.
  WindowLife life(*this);
  {
    Work work(*this);
    BusyCursor busy;
    try {
      if (!progress_) {
        auto progress = std::make_unique<ProgressWindow>();
        progress->CreateForm(hwnd());
        progress_ = std::move(progress);
      }
      SendMessageW(file_list_, WM_SETREDRAW, FALSE, 0);
      ClearList();
      progress_->ShowProgress();
      date_format_.order = DateOrderOfLocale();
      date_format_.date_separator = OneByteSeparator(LocaleText(LOCALE_SDATE), '/');
      date_format_.time_separator = OneByteSeparator(LocaleText(LOCALE_STIME), ':');
      date_format_.leading_zero_hour = LocaleText(LOCALE_ITLZERO) == L"1";
      scanner_ = std::make_unique<FileScanner>(
          SearchKey{keyword_bytes_, case_sensitive_, Button(class_check_).checked()});
      shown_hit_count_ = 0;
      last_refresh_ = GetTickCount() - kRefreshInterval;
      last_pump_ = last_refresh_;
      walk_dir_.clear();
    } catch (...) {
      if (life.lives()) EndSearch();
      case_sensitive_ = saved_case_sensitive;
      throw;
    }
    try {
      for (int n = 1; n <= 6 && !stop_requested(); ++n) {
        if (!dir_checked()[static_cast<size_t>(n)]) continue;
        const std::wstring& dir = dir_path()[static_cast<size_t>(n)];
        // Only a hand-edited settings file can check a number without a
        // directory; walking "*.*" would search the current directory.
        if (dir.empty()) continue;
        SearchDirTree(WithBackslash(dir) + L"*.*");
      }
    } catch (const ListFull&) {
      end = End::ListFull;
    } catch (...) {
      end = End::Failed;
    }
  }
  case_sensitive_ = saved_case_sensitive;
  if (!life.lives()) return;
  // Whatever ended the walk, the search is over, the progress window hidden
  // and the list shown before anything else happens.
  EndSearch();
  if (end == End::ListFull) ShowListFull();
  if (end == End::Failed) ShowUnexpectedError();
  if (!life.lives()) return;

  SetFocus(file_list_);
  if (SelectedIndex() >= 0) {
    SetCaption(kViewSourceCaption + hits_.front().path);
    SetStatusText(2, L"1 / " + std::to_wstring(hit_count_));
    file_button_.SetEnabled(true);
    const std::wstring text = WindowText(keyword_box_);
    keyword_box_.Add(text);
    os_button_.SetEnabled(true);
  }
  if (file_list_.Count() <= 0) {
    ShowMessage(hwnd(), L"検索文字 ： " + WindowText(keyword_box_) + L"\r\n\r\n" + L"は、見つかりませんでした。",
                MessageKind::Information);
    SetFocus(keyword_box_);
  }
}

void SearchWindow::EndSearch() {
  scanner_.reset();
  keyword_.reset();
  search_buffers_ = {};
  if (progress_) progress_->HideProgress();
  // Scroll bars cost most: the list box draws them on the spot whenever
  // their range changes, even with its own drawing off, and again when it
  // turns it back on. Until the list has its extent, its selection and its
  // drawing back, it is kept from drawing anything (the default WM_SETREDRAW
  // clears its visible style), and is then drawn once, frame and all, by the
  // next paint.
  HWND list = file_list_;
  DefWindowProcW(list, WM_SETREDRAW, FALSE, 0);
  UpdateListExtent();
  if (!hits_.empty()) file_list_.Select(0);
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  DefWindowProcW(list, WM_SETREDRAW, TRUE, 0);
  RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

void SearchWindow::SearchDirTree(const std::wstring& pattern) {
  std::wstring dir;  // the folder of the last file searched, and its code page 932 form
  std::string dir_bytes;
  DirWalk walk;
  walk.stop_requested = [this] { return stop_requested(); };
  walk.on_directory = [this](const std::wstring& listed) { walk_dir_ = listed; };
  walk.on_file = [&](const std::wstring& folder, const DirEntry& entry) {
    const std::string name = WideToCp932(entry.name).bytes;
    if (!IsSearchedFile(name, ext_table_)) return;
    if (folder != dir) {
      dir = folder;
      dir_bytes = WideToCp932(dir).bytes;
    }
    const std::wstring path = std::wstring(dir).append(entry.name);
    refresh_due_ = GetTickCount() - last_refresh_ >= kRefreshInterval;
    if (refresh_due_) {
      last_refresh_ = GetTickCount();
      progress_->SetItem(path);
    }
    file_time_ = FILETIME{static_cast<DWORD>(entry.last_write), static_cast<DWORD>(entry.last_write >> 32)};
    file_date_time_.clear();
    SearchFile(path, dir_bytes + name, entry.size);
  };
  WalkTree(SystemDirSource(), pattern.substr(0, pattern.rfind(L'\\') + 1), walk);
}

void SearchWindow::SearchFile(const std::wstring& path, const std::string& path_bytes, unsigned long long size) {
  {
    ScopedHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file) {
      FileReadSource source(file.get(), size);
      ScanEnd end = ScanEnd::Finished;
      try {
        end = SearchFileText(*scanner_, *keyword_, source,
                             [&](long long line_number, std::string_view text, std::u32string_view stand_ins) {
                               return AddHit(path, path_bytes, line_number, text, stand_ins);
                             },
                             nullptr, &search_buffers_);
      } catch (const ReadFailure&) {
        // A file that cannot be read is left out, as one that cannot be opened.
      }
      if (end == ScanEnd::Refused) throw ListFull{};
    }
  }
  PumpAfterFile();
}

bool SearchWindow::AddHit(const std::wstring& path, const std::string& path_bytes, long long line_number,
                      std::string_view text, std::u32string_view stand_ins) {
  // Only a file's first hit shows its date, so it is worked out then.
  if (file_date_time_.empty()) SetFileDateTime(file_time_);
  const std::string_view stamp = file_date_time_;
  SearchHit hit = line_builder_.Make(path_bytes, line_number, stamp.substr(0, 8), stamp.substr(9, 8), text);
  const std::wstring shown = ShownResultLine(hit, stand_ins);
  const int length = static_cast<int>(hit.text.size());
  hits_.push_back(ListedHit{std::move(hit), path});
  const int added = file_list_.Add(shown);
  if (added == LB_ERR || added == LB_ERRSPACE) {
    hits_.pop_back();
    return false;
  }
  list_extent_ = std::max(list_extent_, length);
  ++hit_count_;
  return true;
}

void SearchWindow::SetFileDateTime(const FILETIME& last_write) {
  // The whole date, also for a stamp before 1980 or after 2107 that has no
  // MS-DOS form: the columns show any year with two digits.
  FILETIME local{};
  SYSTEMTIME st{};
  if (!FileTimeToLocalFileTime(&last_write, &local) || !FileTimeToSystemTime(&local, &st)) st = SYSTEMTIME{};
  file_date_time_ = FormatHitDate(st.wYear, st.wMonth, st.wDay, date_format_.order, date_format_.date_separator) + " " +
                 FormatHitTime(st.wHour, st.wMinute, st.wSecond, date_format_.leading_zero_hour,
                               date_format_.time_separator);
}

void SearchWindow::PumpAfterFile() {
  const DWORD now = GetTickCount();
  if (!refresh_due_ && now - last_pump_ < kPumpInterval) return;
  last_pump_ = now;
  if (refresh_due_ && hit_count_ != shown_hit_count_) {
    shown_hit_count_ = hit_count_;
    SetStatusText(2, std::to_wstring(hit_count_));
  }
  Application::Get().ProcessMessages();
}

void SearchWindow::ShowListFull() {
  ShowMessage(hwnd(), L"もうこれ以上、検索結果をリストに追加できません。\r\n\r\nこれまでの検索結果を表示しますので、参考にして下さい。"
              L"\r\n\r\n" + HitTotal(hit_count_),
              MessageKind::Warning);
}

void SearchWindow::ShowUnexpectedError() {
  ShowMessage(hwnd(), L"検索中に予期しないエラーが発生しました。\r\n\r\n現在検索中の次のパスについて、処理ができません。\r\n\r\n" +
                  walk_dir_ + L"\r\n\r\n" + L"これまでの検索結果を表示しますので、参考にして下さい。" + L"\r\n\r\n" +
                  HitTotal(hit_count_),
              MessageKind::Warning);
}

}  // namespace velkor
