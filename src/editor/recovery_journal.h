#pragma once
// The recovery folder beside the settings file, where the text of every
// modified editor is copied so that it survives a crash, and the writer
// thread that writes the copies, so that typing never waits for the disk.
//
// This run's copies are its own session's (see recovery_copy.h): while the
// program runs, it holds the session's lock file open, deleted when it
// closes. At start, copies whose session has no lock that is still held
// were left by a run that ended without cleaning up; those alone are offered.
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "editor/recovery_copy.h"
#include "platform/scoped.h"
#include "platform/win32.h"

namespace velkor {

// The folder of the copies for a settings file: "Velkor.INI" -> "Velkor.recovery".
std::wstring RecoveryFolderFor(const std::wstring& settings_file);

// Set in a test's environment to n, this ends the process half-way through
// writing the n-th copy, as a crash would.
inline constexpr wchar_t kEndInCopyVariable[] = L"VELKOR_TEST_END_IN_COPY";

class RecoveryJournal {
 public:
  // notify: the window told, once, with trouble_message, that the folder
  // cannot be written.
  RecoveryJournal(std::wstring folder, HWND notify, UINT trouble_message);
  // Stops the writer; this run's copies stay (an end without cleaning up).
  ~RecoveryJournal();
  RecoveryJournal(const RecoveryJournal&) = delete;
  RecoveryJournal& operator=(const RecoveryJournal&) = delete;

  const std::wstring& folder() const { return folder_; }

  // A key of this run for one window's copy.
  int NewKey() { return ++last_key_; }
  // The window's copy, replacing the one before; written on the writer thread.
  void Write(int key, RecoveryCopy copy);
  // The window's copy goes (after any write of it still waiting).
  void Remove(int key);
  // Files that go once every write queued before has been made.
  void RemoveFilesLater(std::vector<std::wstring> paths);
  // A clean end: the writer stops, this run's copies and lock go, and the
  // folder too when nothing else is in it.
  void Finish();

  struct LeftCopy {
    std::wstring file;
    RecoveryCopy copy;
  };
  struct Left {
    std::vector<LeftCopy> copies;
    std::vector<std::wstring> damaged;  // copies that cannot be read, by path
    std::vector<std::wstring> debris;   // locks and unfinished writes of those runs
  };
  // The copies of runs that ended without cleaning up.
  Left FindLeft() const;

 private:
  // Drops a waiting copy of the window key, then queues copy (none: removal).
  void Queue(int key, std::optional<RecoveryCopy> copy);
  struct Task {
    int key = 0;
    std::optional<RecoveryCopy> copy;  // none: remove the key's copy
    std::vector<std::wstring> files;   // or remove these files
  };
  void Run();
  bool Do(const Task& task);
  bool OpenLock();
  std::wstring CopyPath(int key) const;

  const std::wstring folder_;
  const std::wstring session_;
  HWND notify_;
  UINT trouble_message_;
  int last_key_ = 0;
  int writes_ = 0;
  bool told_trouble_ = false;  // writer thread only
  ScopedHandle lock_;          // writer thread only, until the thread ends

  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<Task> tasks_;
  bool stop_ = false;
  std::thread writer_;
};

}  // namespace velkor
