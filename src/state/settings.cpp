#include "state/settings.h"

#include <cstddef>
#include <utility>

#include "state/profile.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/path_names.h"
#include "platform/paths.h"
#include "platform/win32.h"

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
  if (!ReplaceFileContents(path, profile.Image(), {.keep_attributes = true})) Refuse(path);
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
