#pragma once
// The settings file in memory: "[name]" lines open sections, "key=value" lines
// follow, names are compared without regard to case. The text is scanned as
// it stands and a change splices only the lines it touches, so comments,
// spacing, lines of other programs and the order of everything survive a
// write byte for byte.
//
// The file is code page 932 unless it begins with a UTF-8 or UTF-16LE
// byte-order mark. A value that code page 932 cannot hold turns the whole
// file into UTF-16LE, so that nothing written is ever replaced by '?'.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace velkor {

enum class ProfileEncoding { kCp932, kUtf8, kUtf16Le };

// The longest string a read returns, counted in bytes of its code page 932
// form; a longer value is cut before the character that would pass it.
inline constexpr std::size_t kProfileValueLimit = 1023;

enum class ProfileEdit {
  kUnchanged,  // the file already says so; nothing to write
  kChanged,
  kRefused,    // a name the form cannot hold (empty, a line break, "=" in a key...)
};

class Profile {
 public:
  Profile() = default;
  // The bytes of a settings file as read; an empty image is a missing file.
  explicit Profile(std::string image);

  ProfileEncoding encoding() const { return encoding_; }
  // The file's bytes with the changes made so far.
  std::string Image() const;

  // The value of the key in the first section of that name, with blanks
  // around it removed and cut to kProfileValueLimit. Nothing when the section
  // or the key is missing, or when the key's line has no "=".
  std::optional<std::wstring> Find(std::wstring_view section, std::wstring_view key) const;

  std::wstring ReadString(std::wstring_view section, std::wstring_view key, std::wstring_view def) const;
  int ReadInteger(std::wstring_view section, std::wstring_view key, int def) const;
  bool ReadBool(std::wstring_view section, std::wstring_view key, bool def) const;

  // The value is single-line: it ends at its first line break, and blanks
  // around it are not kept (a read would drop them anyway). A new key goes at
  // the end of its section, a new section at the end of the file.
  ProfileEdit WriteString(std::wstring_view section, std::wstring_view key, std::wstring_view value);
  ProfileEdit WriteInteger(std::wstring_view section, std::wstring_view key, int value);
  ProfileEdit WriteBool(std::wstring_view section, std::wstring_view key, bool value);

  // Removes every section of that name, from its "[name]" line up to the next
  // section, so that no older copy of it comes to light afterwards.
  ProfileEdit EraseSection(std::wstring_view section);

 private:
  void ConvertToUtf16();

  ProfileEncoding encoding_ = ProfileEncoding::kCp932;
  std::string bytes_;       // code page 932 or UTF-8 text, without the mark
  std::u16string units_;    // UTF-16 text, without the mark
  std::string odd_byte_;    // a UTF-16 file's odd last byte, kept as found
};

// An integer as the store reads it: blanks and control characters before it
// are skipped, then an optional sign, then decimal digits, or hexadecimal ones
// after "0x" or "0X"; what follows the digits is ignored. Values wrap to 32
// bits. Nothing when there is no digit at all.
std::optional<int> ParseProfileInteger(std::wstring_view text);

}  // namespace velkor
