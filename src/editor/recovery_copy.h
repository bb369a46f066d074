#pragma once
// The copies of unsaved text that let a document come back after a crash:
// what one copy holds, its bytes on disk, and the names of the files in the
// recovery folder.
//
// Every run of the program that writes copies is a session with a name of
// its own. While it runs it holds its lock file open, so that another run
// can tell its copies from those of a run that ended without cleaning up.
// Its copies are named after the session and the number of the window they
// belong to.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/disk_watch.h"
#include "editor/document.h"
#include "platform/text_file.h"

namespace velkor {

struct RecoveryCopy {
  std::wstring path;        // the document's file; empty for a window made by New
  int number = 0;           // that window's number (its caption " NewFile n")
  DocEncoding encoding = DocEncoding::ShiftJis;
  LineBreaks breaks = LineBreaks::CrLf;
  bool cut_at_nul = false;  // the file had a NUL, and the text stops there
  // Where the file's bytes stopped coming back unchanged when it was read.
  std::optional<TextPlace> changed_at;
  FileStamp read;           // the file as the window read it
  int caret = 0;            // selection start and length, in the text control's positions
  int selection = 0;
  std::uint64_t written_at = 0;  // when the copy was taken: 100-ns ticks since 1601, UTC
  std::wstring text;        // line breaks as CR LF
  bool operator==(const RecoveryCopy&) const = default;
};

// The bytes of a copy: a header of named lines, the text as UTF-16LE (which
// holds every text the control can hold, a lone surrogate included), and a
// checksum over all of it, so that a damaged copy is known and never taken
// for a document.
std::string EncodeRecoveryCopy(const RecoveryCopy& copy);
// Nothing when the bytes are not a whole, undamaged copy.
std::optional<RecoveryCopy> DecodeRecoveryCopy(std::string_view bytes);

// The CRC-32 of the bytes (the polynomial of zip and PNG).
std::uint32_t Crc32(std::string_view bytes);

// A session's name from the time it started, its process and a count of the
// sessions of that process.
std::wstring SessionName(std::uint64_t start_time, std::uint32_t process_id, int sequence);
std::wstring LockFileName(std::wstring_view session);
std::wstring CopyFileName(std::wstring_view session, int number);

// A file of the recovery folder, by its name.
struct RecoveryFileName {
  enum class Kind { kCopy, kLock, kLeftover, kOther };
  Kind kind = Kind::kOther;
  std::wstring session;
  int number = 0;  // a copy's or a leftover's window number
};
// A leftover is the temporary file of a copy's write that never finished.
RecoveryFileName ParseRecoveryFileName(std::wstring_view name);

// The sessions other than `own` that have copies among the folder's file names.
std::vector<std::wstring> SessionsWithCopies(const std::vector<std::wstring>& names, std::wstring_view own);

// The text's first line with any text on it, blanks trimmed, cut to
// max_chars characters with "…" after a cut.
std::wstring FirstLineOf(std::wstring_view text, std::size_t max_chars);

// When a window's copy is due: a short while after the text stops changing,
// and at least every so often while it goes on changing. Times in ms.
struct CopyTimes {
  std::uint64_t idle = 2000;      // quiet time after the last change
  std::uint64_t longest = 30000;  // longest time a change waits
};
class CopySchedule {
 public:
  using Times = CopyTimes;
  CopySchedule() = default;
  explicit CopySchedule(Times times) : times_(times) {}

  void Changed(std::uint64_t now);
  bool pending() const { return pending_; }
  // When the copy of the pending changes is due.
  std::uint64_t due() const;
  // The text as it is now has gone to a copy (or needs none).
  void Taken() { pending_ = false; }

 private:
  Times times_;
  bool pending_ = false;
  std::uint64_t first_ = 0;
  std::uint64_t last_ = 0;
};

}  // namespace velkor
