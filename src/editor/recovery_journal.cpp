#include "editor/recovery_journal.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>

#include "platform/files.h"
#include "platform/path_names.h"
#include "platform/text.h"

namespace velkor {
namespace {

// Larger than any document the editor takes, with room for the header.
constexpr std::size_t kMaxCopyBytes = 512u * 1024u * 1024u;

std::uint64_t Now() {
  FILETIME ft{};
  GetSystemTimeAsFileTime(&ft);
  return (static_cast<std::uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

std::wstring NewSessionName() {
  static std::atomic<int> sessions{0};
  return SessionName(Now(), GetCurrentProcessId(), ++sessions);
}

std::vector<std::wstring> NamesIn(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW entry{};
  ScopedFind find(FindFirstFileW((folder + L"\\*").c_str(), &entry));
  if (!find) return names;
  do {
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.emplace_back(entry.cFileName);
  } while (FindNextFileW(find.get(), &entry));
  return names;
}

// A run is over when its lock is gone or can be deleted: a running one holds
// it open without sharing.
bool SessionEnded(const std::wstring& folder, const std::wstring& session) {
  const std::wstring lock = folder + L"\\" + LockFileName(session);
  if (DeleteFileW(lock.c_str())) return true;
  const DWORD error = GetLastError();
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

int EndInCopy() {
  wchar_t value[16] = {};
  if (GetEnvironmentVariableW(kEndInCopyVariable, value, 16) == 0) return 0;
  return _wtoi(value);
}

}  // namespace

std::wstring RecoveryFolderFor(const std::wstring& settings_file) {
  return ReplaceExtension(settings_file, L".recovery");
}

RecoveryJournal::RecoveryJournal(std::wstring folder, HWND notify, UINT trouble_message)
    : folder_(std::move(folder)), session_(NewSessionName()), notify_(notify), trouble_message_(trouble_message) {
  writer_ = std::thread([this] { Run(); });
}

RecoveryJournal::~RecoveryJournal() {
  {
    std::lock_guard<std::mutex> hold(mutex_);
    stop_ = true;
  }
  wake_.notify_all();
  if (writer_.joinable()) writer_.join();
}

std::wstring RecoveryJournal::CopyPath(int key) const { return folder_ + L"\\" + CopyFileName(session_, key); }

void RecoveryJournal::Write(int key, RecoveryCopy copy) { Queue(key, std::move(copy)); }

void RecoveryJournal::Remove(int key) { Queue(key, std::nullopt); }

void RecoveryJournal::Queue(int key, std::optional<RecoveryCopy> copy) {
  {
    std::lock_guard<std::mutex> hold(mutex_);
    if (stop_) return;
    // A newer copy, or the copy's removal, makes a waiting copy of the same
    // window needless.
    std::erase_if(tasks_, [key](const auto& task) { return task.key == key && task.copy; });
    tasks_.push_back({key, std::move(copy), {}});
  }
  wake_.notify_all();
}

void RecoveryJournal::RemoveFilesLater(std::vector<std::wstring> paths) {
  {
    std::lock_guard<std::mutex> hold(mutex_);
    if (stop_) return;
    tasks_.push_back({0, std::nullopt, std::move(paths)});
  }
  wake_.notify_all();
}

void RecoveryJournal::Finish() {
  {
    std::lock_guard<std::mutex> hold(mutex_);
    stop_ = true;
    tasks_.clear();
  }
  wake_.notify_all();
  if (writer_.joinable()) writer_.join();
  for (const std::wstring& name : NamesIn(folder_)) {
    const RecoveryFileName parsed = ParseRecoveryFileName(name);
    if (parsed.kind != RecoveryFileName::Kind::kOther && parsed.kind != RecoveryFileName::Kind::kLock &&
        EqualsNoCase(parsed.session, session_))
      DeleteFileW((folder_ + L"\\" + name).c_str());
  }
  lock_.reset();  // deleted as it closes
  RemoveDirectoryW(folder_.c_str());  // only when empty
}

void RecoveryJournal::Run() {
  for (;;) {
    Task task;
    {
      std::unique_lock<std::mutex> hold(mutex_);
      wake_.wait(hold, [this] { return stop_ || !tasks_.empty(); });
      if (stop_) return;
      task = std::move(tasks_.front());
      tasks_.pop_front();
    }
    if (!Do(task) && !told_trouble_) {
      told_trouble_ = true;
      PostMessageW(notify_, trouble_message_, 0, 0);
    }
  }
}

bool RecoveryJournal::OpenLock() {
  if (lock_) return true;
  CreateDirectoryW(folder_.c_str(), nullptr);
  const std::wstring path = folder_ + L"\\" + LockFileName(session_);
  lock_.reset(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
  return static_cast<bool>(lock_);
}

bool RecoveryJournal::Do(const Task& task) {
  if (!task.files.empty()) {
    for (const std::wstring& file : task.files) DeleteFileW(file.c_str());
    return true;
  }
  const std::wstring path = CopyPath(task.key);
  if (!task.copy) {
    DeleteFileW(path.c_str());
    return true;
  }
  if (!OpenLock()) return false;
  const std::string bytes = EncodeRecoveryCopy(*task.copy);
  static const int end_in = EndInCopy();
  if (end_in > 0 && ++writes_ == end_in) {
    // Half the new bytes reach their temporary file, then the process ends.
    std::wstring temporary;
    ScopedHandle file = CreateTemporaryFile(path, FILE_ATTRIBUTE_NORMAL, temporary);
    DWORD written = 0;
    WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size() / 2), &written, nullptr);
    FlushFileBuffers(file.get());
    TerminateProcess(GetCurrentProcess(), 3);
  }
  return static_cast<bool>(ReplaceFileContents(path, bytes));
}

RecoveryJournal::Left RecoveryJournal::FindLeft() const {
  Left left;
  const std::vector<std::wstring> names = NamesIn(folder_);
  for (const std::wstring& session : SessionsWithCopies(names, session_)) {
    if (!SessionEnded(folder_, session)) continue;
    for (const std::wstring& name : names) {
      const RecoveryFileName parsed = ParseRecoveryFileName(name);
      if (!EqualsNoCase(parsed.session, session)) continue;
      const std::wstring path = folder_ + L"\\" + name;
      if (parsed.kind == RecoveryFileName::Kind::kLeftover) {
        left.debris.push_back(path);
      } else if (parsed.kind == RecoveryFileName::Kind::kCopy) {
        const FileBytes file = ReadWholeFile(path, kMaxCopyBytes);
        std::optional<RecoveryCopy> copy = file.ok() ? DecodeRecoveryCopy(file.bytes) : std::nullopt;
        if (copy)
          left.copies.push_back({path, std::move(*copy)});
        else
          left.damaged.push_back(path);
      }
    }
  }
  return left;
}

}  // namespace velkor
