#include "frame/settings.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <utility>
#include <vector>

#include "frame/profile.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/path_names.h"
#include "platform/paths.h"
#include "platform/scoped.h"

#include <winternl.h>

namespace velkor {
namespace {

// A settings file beyond this is no settings file of ours; it is left alone.
constexpr std::size_t kLargestImage = 64u << 20;

std::wstring& PathForTesting() {
  static std::wstring path;
  return path;
}

// The whole file, or an empty image when there is no file. False when the
// file is there but cannot be read.
bool ReadImage(const std::wstring& path, std::string& image) {
  FileBytes file = ReadWholeFile(path, kLargestImage);
  image = std::move(file.bytes);
  if (file.ok()) return true;
  return file.outcome == FileBytes::Outcome::kCannotOpen &&
         (file.error == ERROR_FILE_NOT_FOUND || file.error == ERROR_PATH_NOT_FOUND);
}

Profile Load(const std::wstring& path) {
  std::string image;
  return ReadImage(path, image) ? Profile(std::move(image)) : Profile();
}

bool WriteAll(HANDLE file, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD n = 0;
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
    if (!WriteFile(file, bytes.data() + done, want, &n, nullptr) || n == 0) return false;
    done += n;
  }
  return true;
}

// Puts the written temporary file in the settings file's place in one step,
// through the handle already open (MoveFileEx would open the file again; the
// rename underneath is the same).
bool RenameOver(HANDLE file, const std::wstring& path) {
  UNICODE_STRING nt{};
  if (!RtlDosPathNameToNtPathName_U(path.c_str(), &nt, nullptr, nullptr)) return false;
  std::vector<char> buffer(offsetof(FILE_RENAME_INFORMATION, FileName) + nt.Length);
  auto* info = reinterpret_cast<FILE_RENAME_INFORMATION*>(buffer.data());
  info->ReplaceIfExists = TRUE;
  info->RootDirectory = nullptr;
  info->FileNameLength = nt.Length;
  std::memcpy(info->FileName, nt.Buffer, nt.Length);
  RtlFreeUnicodeString(&nt);
  IO_STATUS_BLOCK io{};
  return NT_SUCCESS(
      NtSetInformationFile(file, &io, info, static_cast<ULONG>(buffer.size()), FileRenameInformation));
}

// Writes the new contents beside the file and puts them in its place in one
// step: a failure at any point leaves the old file as it was.
bool Replace(const std::wstring& path, const std::string& bytes, DWORD old_attributes) {
  DWORD attributes = 0;
  if (old_attributes != INVALID_FILE_ATTRIBUTES)
    attributes = old_attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                   FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
  if (attributes == 0) attributes = FILE_ATTRIBUTE_NORMAL;
  static unsigned serial = 0;
  std::wstring temp;
  ScopedHandle file;
  for (int attempt = 0; attempt < 100 && !file; ++attempt) {
    temp = path + L".~" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++serial) + L".tmp";
    file.reset(CreateFileW(temp.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW, attributes, nullptr));
    if (!file && GetLastError() != ERROR_FILE_EXISTS) return false;
  }
  if (!file) return false;
  // No flush to the disk before the rename: it would cost several times the
  // whole write, and the platform's own writes do without one too.
  const bool ok = WriteAll(file.get(), bytes) && RenameOver(file.get(), path);
  file.reset();
  if (!ok) DeleteFileW(temp.c_str());
  return ok;
}

[[noreturn]] void Refuse(const std::wstring& path) { throw Error(path + L" に書き込めません"); }

template <typename Edit>
void Change(const std::wstring& path, Edit edit) {
  std::string image;
  // What cannot be read must not be overwritten.
  if (path.empty() || !ReadImage(path, image)) Refuse(path);
  Profile profile(std::move(image));
  switch (edit(profile)) {
    case ProfileEdit::kUnchanged:
      return;
    case ProfileEdit::kRefused:
      Refuse(path);
    case ProfileEdit::kChanged:
      break;
  }
  // Not every system refuses to rename over a read-only file, so ask first.
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
    Refuse(path);
  if (!Replace(path, profile.Image(), attributes)) Refuse(path);
}

}  // namespace

std::wstring SettingsFilePath() {
  if (!PathForTesting().empty()) return PathForTesting();
  const std::wstring exe = ModulePath();
  return exe.empty() ? L"Velkor.INI" : ReplaceExtension(exe, L".INI");
}

void SetSettingsFilePathForTesting(std::wstring path) { PathForTesting() = std::move(path); }

Settings::Settings(std::wstring path) : path_(AbsolutePath(path)) {}

std::wstring Settings::ReadString(std::wstring_view section, std::wstring_view key, std::wstring_view def) const {
  return Load(path_).ReadString(section, key, def);
}

int Settings::ReadInteger(std::wstring_view section, std::wstring_view key, int def) const {
  return Load(path_).ReadInteger(section, key, def);
}

bool Settings::ReadBool(std::wstring_view section, std::wstring_view key, bool def) const {
  return Load(path_).ReadBool(section, key, def);
}

void Settings::WriteString(std::wstring_view section, std::wstring_view key, std::wstring_view value) {
  Change(path_, [&](Profile& p) { return p.WriteString(section, key, value); });
}

void Settings::WriteInteger(std::wstring_view section, std::wstring_view key, int value) {
  Change(path_, [&](Profile& p) { return p.WriteInteger(section, key, value); });
}

void Settings::WriteBool(std::wstring_view section, std::wstring_view key, bool value) {
  Change(path_, [&](Profile& p) { return p.WriteBool(section, key, value); });
}

void Settings::EraseSection(std::wstring_view section) {
  Change(path_, [&](Profile& p) { return p.EraseSection(section); });
}

}  // namespace velkor
