#include "state/profile.h"

#include <cstdint>
#include <cstring>
#include <type_traits>

#include "platform/text.h"

namespace velkor {
namespace {

constexpr std::size_t kNone = std::string::npos;

// The blanks that the platform strips around names and values (^Z is the
// DOS end-of-file mark that old files carry).
constexpr bool IsBlank(char32_t c) { return c == 0x20 || (c >= 0x09 && c <= 0x0D) || c == 0x1A; }
constexpr bool IsBreak(char32_t c) { return c == U'\r' || c == U'\n'; }
constexpr char32_t AsciiUpper(char32_t c) { return (c >= U'a' && c <= U'z') ? c - 32 : c; }

template <typename Unit>
constexpr char32_t Code(Unit u) {
  return static_cast<std::make_unsigned_t<Unit>>(u);
}

std::wstring_view TrimBlanks(std::wstring_view s) {
  while (!s.empty() && IsBlank(static_cast<char32_t>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && IsBlank(static_cast<char32_t>(s.back()))) s.remove_suffix(1);
  return s;
}

// A line break or NUL would end the text inside the file.
std::wstring_view FirstLine(std::wstring_view s) {
  return s.substr(0, s.find_first_of(std::wstring_view(L"\r\n\0", 3)));
}

bool HasLineEnd(std::wstring_view s) { return FirstLine(s).size() != s.size(); }

std::u16string UnitsFromLe(std::string_view le) {
  std::u16string units(le.size() / 2, u'\0');
  for (std::size_t i = 0; i < units.size(); ++i)
    units[i] = static_cast<char16_t>(static_cast<unsigned char>(le[2 * i]) |
                                     (static_cast<unsigned char>(le[2 * i + 1]) << 8));
  return units;
}

std::string LeFromUnits(std::u16string_view units) {
  std::string le(units.size() * 2, '\0');
  for (std::size_t i = 0; i < units.size(); ++i) {
    le[2 * i] = static_cast<char>(units[i] & 0xFF);
    le[2 * i + 1] = static_cast<char>(units[i] >> 8);
  }
  return le;
}

// A lead byte and the byte after it are one character when that byte can be
// a second byte; so a broken pair never swallows a line's "=" or blanks.
std::size_t Cp932Width(std::string_view s, std::size_t i) {
  return (IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size() &&
          IsTrailByte(static_cast<unsigned char>(s[i + 1])))
             ? 2
             : 1;
}

// Length of the longest start of a code page 932 text that fits in limit
// bytes without splitting a double-byte character.
std::size_t Cp932Cut(std::string_view s, std::size_t limit) {
  std::size_t i = 0;
  while (i < s.size()) {
    const std::size_t w = Cp932Width(s, i);
    if (i + w > limit) break;
    i += w;
  }
  return i;
}

// The read limit for text that is not stored in code page 932: characters
// count with the bytes of their code page 932 form, and one without such a
// form counts as a double-byte character.
std::wstring CutToLimit(std::wstring text) {
  if (text.size() * 2 <= kProfileValueLimit) return text;
  const Cp932Bytes whole = WideToCp932(text);
  if (whole.lost == 0) {
    // Every character is then one wchar_t and one or two bytes.
    const std::size_t cut = Cp932Cut(whole.bytes, kProfileValueLimit);
    std::size_t chars = 0;
    for (std::size_t i = 0; i < cut; ++chars) i += Cp932Width(whole.bytes, i);
    text.resize(chars);
    return text;
  }
  std::size_t bytes = 0, i = 0;
  while (i < text.size()) {
    const bool pair = text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size();
    const std::size_t len = pair ? 2 : 1;
    const Cp932Bytes one = WideToCp932(std::wstring_view(text).substr(i, len));
    const std::size_t w = one.lost ? 2 : one.bytes.size();
    if (bytes + w > kProfileValueLimit) break;
    bytes += w;
    i += len;
  }
  text.resize(i);
  return text;
}

template <typename Unit>
using Text = std::basic_string<Unit>;

template <typename Unit>
void AppendAscii(Text<Unit>& s, std::string_view ascii) {
  for (char c : ascii) s.push_back(static_cast<Unit>(c));
}

// Wide text in the file's own code units; nothing when the file's encoding
// cannot hold it.
template <typename Unit>
std::optional<Text<Unit>> Encode(std::wstring_view text, ProfileEncoding encoding) {
  if constexpr (std::is_same_v<Unit, char>) {
    if (encoding == ProfileEncoding::kUtf8) return WideToUtf8(text);
    Cp932Bytes r = WideToCp932(text);
    if (r.lost) return std::nullopt;
    return std::move(r.bytes);
  } else {
    return UnitsFromLe(WideToUtf16Le(text));
  }
}

struct Span {
  std::size_t begin = 0;
  std::size_t end = 0;
  std::size_t size() const { return end - begin; }
};

struct Line {
  std::size_t begin = 0;  // first unit of the line
  std::size_t end = 0;    // end of its text, before the line break
  std::size_t next = 0;   // first unit of the next line
};

struct KeyLine {
  Span name;
  bool has_value = false;
  Span value;  // for a line without "=", the place where "=value" would go
};

// A section or key name looked for, in the file's code units.
template <typename Unit>
struct Query {
  Query(std::wstring_view name, ProfileEncoding encoding) : wide(TrimBlanks(name)) {
    if (wide.empty()) return;
    if (auto u = Encode<Unit>(wide, encoding)) {
      units = std::move(*u);
      possible = true;
    }
  }
  std::wstring wide;
  Text<Unit> units;
  bool possible = false;  // the name is not empty and the file's encoding can hold it
};

// Reads the lines of a file's text in place. In code page 932 a lead byte and
// its second byte are one character, so a second byte that equals "]" or "["
// is never taken for one; line breaks are always single bytes.
template <typename Unit>
class Scanner {
 public:
  Scanner(std::basic_string_view<Unit> text, ProfileEncoding encoding)
      : text_(text), encoding_(encoding), dbcs_(encoding == ProfileEncoding::kCp932) {}

  std::size_t size() const { return text_.size(); }

  // The line at pos; a line ends at CR LF, LF or CR.
  Line LineAt(std::size_t pos) const {
    std::size_t end = pos;
    while (end < text_.size() && !IsBreak(Code(text_[end]))) ++end;
    std::size_t next = end;
    if (next < text_.size())
      next += (Code(text_[next]) == U'\r' && next + 1 < text_.size() && Code(text_[next + 1]) == U'\n') ? 2 : 1;
    return {pos, end, next};
  }

  // The next line at or after pos whose text opens with "[", with b at the
  // bracket. Only such lines can open a section, so the lines between are
  // passed over at the speed of a plain search.
  bool NextBracketLine(std::size_t pos, Line& line, std::size_t& b) const {
    while (pos < text_.size()) {
      const std::size_t at = FindBracket(pos);
      if (at == kNone) return false;
      std::size_t start = at;
      while (start > 0 && IsBlank(Code(text_[start - 1])) && !IsBreak(Code(text_[start - 1]))) --start;
      if (start == 0 || IsBreak(Code(text_[start - 1]))) {
        line = LineAt(start);
        b = at;
        return true;
      }
      pos = at + 1;  // a bracket inside a line, or a second byte 0x5B
    }
    return false;
  }

  std::size_t SkipBlanks(std::size_t i, std::size_t end) const {
    while (i < end && IsBlank(Code(text_[i]))) ++i;
    return i;
  }

  // The name of a section line whose text starts at b: the text between the
  // "[" and the last "]", without blanks around it.
  bool Header(std::size_t b, std::size_t end, Span& name) const {
    if (b >= end || Code(text_[b]) != U'[') return false;
    const std::size_t first = SkipBlanks(b + 1, end);
    std::size_t last = first;  // end of the last character that is not a blank
    bool closed = false;
    for (std::size_t i = first; i < end;) {
      const std::size_t w = Width(i, end);
      const char32_t c = Code(text_[i]);
      if (w == 1 && c == U']') {
        closed = true;
        name = {first, last};
      }
      if (w == 2 || !IsBlank(c)) last = i + w;
      i += w;
    }
    if (closed) name = CutAtNul(name);
    return closed;
  }

  // Any other line with text is a key: the name before the first "=", the
  // value after it, both without blanks around them.
  KeyLine Key(std::size_t b, std::size_t end) const {
    std::size_t last = b, eq = kNone, name_end = b;
    for (std::size_t i = b; i < end;) {
      const std::size_t w = Width(i, end);
      const char32_t c = Code(text_[i]);
      if (eq == kNone && w == 1 && c == U'=') {
        eq = i;
        name_end = last;
      }
      if (w == 2 || !IsBlank(c)) last = i + w;
      i += w;
    }
    KeyLine k;
    if (eq == kNone) {
      k.name = CutAtNul({b, last});
      k.value = {last, last};
      return k;
    }
    k.name = CutAtNul({b, name_end});
    k.has_value = true;
    k.value = CutAtNul({SkipBlanks(eq + 1, last), last});
    return k;
  }

  bool Matches(Span s, const Query<Unit>& q) const {
    if (!q.possible) return false;
    const std::basic_string_view<Unit> name = text_.substr(s.begin, s.size());
    const Text<Unit>& want = q.units;
    // Names differ mostly in plain ASCII, which is decided here; a
    // difference in any other character is left to the full comparison.
    std::size_t i = 0;
    while (i < name.size() && i < want.size()) {
      const char32_t a = Code(name[i]), b = Code(want[i]);
      if (dbcs_ && IsLeadByte(static_cast<unsigned char>(a))) {
        if (a != b || i + 1 >= name.size() || i + 1 >= want.size() || name[i + 1] != want[i + 1])
          return EqualsNoCase(Decode(s), q.wide);
        i += 2;
        continue;
      }
      if (a != b) {
        if (a >= 0x80 || b >= 0x80) return EqualsNoCase(Decode(s), q.wide);
        if (AsciiUpper(a) != AsciiUpper(b)) return false;
      }
      ++i;
    }
    return i == name.size() && i == want.size();
  }

  std::wstring Decode(Span s) const {
    const std::basic_string_view<Unit> part = text_.substr(s.begin, s.size());
    if constexpr (std::is_same_v<Unit, char>) {
      return encoding_ == ProfileEncoding::kUtf8 ? Utf8ToWide(part) : Cp932ToWide(part);
    } else {
      return Utf16LeToWide(LeFromUnits(part));
    }
  }

  std::wstring LimitedValue(Span s) const {
    if (dbcs_) {
      if constexpr (std::is_same_v<Unit, char>)
        s.end = s.begin + Cp932Cut(text_.substr(s.begin, s.size()), kProfileValueLimit);
      return Decode(s);
    }
    return CutToLimit(Decode(s));
  }

 private:
  std::size_t FindBracket(std::size_t pos) const {
    if constexpr (std::is_same_v<Unit, char>) {
      const void* hit = std::memchr(text_.data() + pos, '[', text_.size() - pos);
      return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - text_.data()) : kNone;
    } else {
      return text_.find(u'[', pos);
    }
  }
  std::size_t Width(std::size_t i, std::size_t end) const {
    if constexpr (std::is_same_v<Unit, char>) {
      if (dbcs_) return Cp932Width(text_.substr(0, end), i);
    }
    return 1;
  }
  // The platform's names and values end at a NUL character.
  Span CutAtNul(Span s) const {
    for (std::size_t i = s.begin; i < s.end; ++i)
      if (text_[i] == Unit{}) return {s.begin, i};
    return s;
  }

  std::basic_string_view<Unit> text_;
  ProfileEncoding encoding_;
  bool dbcs_;
};

struct Found {
  bool section = false;
  bool key = false;
  KeyLine line;                     // the key's line
  std::size_t insert_at = 0;        // after the section's last line with text
  bool insert_needs_break = false;  // that line is the file's last and has no break
};

// The key in the first section of the name: later sections of the same name
// are not looked at, as the platform does not look at them either. The empty
// name stands for the lines before the first section.
template <typename Unit>
Found Locate(const Scanner<Unit>& sc, const Query<Unit>& section, const Query<Unit>& key) {
  Found f;
  f.section = section.wide.empty();
  if (!f.section && !section.possible) return f;
  Span name;
  Line line;
  std::size_t pos = 0, b = 0;
  while (!f.section) {
    if (!sc.NextBracketLine(pos, line, b)) return f;
    pos = line.next;
    if (sc.Header(b, line.end, name) && sc.Matches(name, section)) {
      f.section = true;
      f.insert_at = line.next;
      f.insert_needs_break = line.next == line.end;
    }
  }
  while (pos < sc.size()) {
    line = sc.LineAt(pos);
    pos = line.next;
    b = sc.SkipBlanks(line.begin, line.end);
    if (b == line.end) continue;
    if (sc.Header(b, line.end, name)) break;
    f.insert_at = line.next;
    f.insert_needs_break = line.next == line.end;
    const KeyLine k = sc.Key(b, line.end);
    if (sc.Matches(k.name, key)) {
      f.key = true;
      f.line = k;
      break;
    }
  }
  return f;
}

template <typename Unit>
std::optional<std::wstring> FindIn(std::basic_string_view<Unit> text, ProfileEncoding encoding,
                                   std::wstring_view section, std::wstring_view key) {
  const Scanner<Unit> sc(text, encoding);
  const Found f = Locate(sc, Query<Unit>(section, encoding), Query<Unit>(key, encoding));
  if (!f.key || !f.line.has_value) return std::nullopt;
  return sc.LimitedValue(f.line.value);
}

// Nothing when the encoding cannot hold the names or the value.
template <typename Unit>
std::optional<ProfileEdit> WriteIn(Text<Unit>& text, ProfileEncoding encoding, std::wstring_view section,
                                   std::wstring_view key, std::wstring_view value) {
  const Query<Unit> sq(section, encoding), kq(key, encoding);
  const std::optional<Text<Unit>> v = Encode<Unit>(value, encoding);
  if (!sq.possible || !kq.possible || !v) return std::nullopt;
  const Found f = Locate(Scanner<Unit>(text, encoding), sq, kq);
  if (f.key) {
    const Span old = f.line.value;
    if (f.line.has_value) {
      if (text.compare(old.begin, old.size(), *v) == 0) return ProfileEdit::kUnchanged;
      text.replace(old.begin, old.size(), *v);
    } else {
      Text<Unit> add;
      AppendAscii(add, "=");
      text.insert(old.begin, add + *v);
    }
    return ProfileEdit::kChanged;
  }
  Text<Unit> add;
  if (f.section ? f.insert_needs_break : !text.empty() && !IsBreak(Code(text.back()))) AppendAscii(add, "\r\n");
  if (!f.section) {
    AppendAscii(add, "[");
    add += sq.units;
    AppendAscii(add, "]\r\n");
  }
  add += kq.units;
  AppendAscii(add, "=");
  add += *v;
  AppendAscii(add, "\r\n");
  if (f.section)
    text.insert(f.insert_at, add);
  else
    text += add;
  return ProfileEdit::kChanged;
}

template <typename Unit>
ProfileEdit EraseIn(Text<Unit>& text, ProfileEncoding encoding, std::wstring_view section) {
  const Query<Unit> q(section, encoding);
  if (!q.possible) return ProfileEdit::kUnchanged;
  const Scanner<Unit> sc(text, encoding);
  Text<Unit> kept;
  std::size_t keep_from = 0;
  bool erasing = false, erased = false;
  Span name;
  Line line;
  for (std::size_t pos = 0, b = 0; sc.NextBracketLine(pos, line, b);) {
    pos = line.next;
    if (!sc.Header(b, line.end, name)) continue;
    const bool match = sc.Matches(name, q);
    if (match && !erasing) {
      kept.append(text, keep_from, line.begin - keep_from);
      erasing = erased = true;
    } else if (!match && erasing) {
      keep_from = line.begin;
      erasing = false;
    }
  }
  if (!erased) return ProfileEdit::kUnchanged;
  if (!erasing) kept.append(text, keep_from);
  text = std::move(kept);
  return ProfileEdit::kChanged;
}

int DigitValue(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  return -1;
}

}  // namespace

Profile::Profile(std::string image) {
  if (image.starts_with("\xFF\xFE")) {
    encoding_ = ProfileEncoding::kUtf16Le;
    units_ = UnitsFromLe(std::string_view(image).substr(2));
    if (image.size() % 2) odd_byte_.assign(1, image.back());
    return;
  }
  if (image.starts_with("\xEF\xBB\xBF")) {
    encoding_ = ProfileEncoding::kUtf8;
    image.erase(0, 3);
  }
  bytes_ = std::move(image);
}

std::string Profile::Image() const {
  switch (encoding_) {
    case ProfileEncoding::kCp932:
      break;
    case ProfileEncoding::kUtf8:
      return "\xEF\xBB\xBF" + bytes_;
    case ProfileEncoding::kUtf16Le:
      return "\xFF\xFE" + LeFromUnits(units_) + odd_byte_;
  }
  return bytes_;
}

void Profile::ConvertToUtf16() {
  units_ = UnitsFromLe(WideToUtf16Le(Cp932ToWide(bytes_)));
  bytes_.clear();
  encoding_ = ProfileEncoding::kUtf16Le;
}

std::optional<std::wstring> Profile::Find(std::wstring_view section, std::wstring_view key) const {
  if (encoding_ == ProfileEncoding::kUtf16Le)
    return FindIn<char16_t>(units_, encoding_, section, key);
  return FindIn<char>(bytes_, encoding_, section, key);
}

std::wstring Profile::ReadString(std::wstring_view section, std::wstring_view key, std::wstring_view def) const {
  std::optional<std::wstring> v = Find(section, key);
  return v ? std::move(*v) : std::wstring(def);
}

int Profile::ReadInteger(std::wstring_view section, std::wstring_view key, int def) const {
  const std::optional<std::wstring> v = Find(section, key);
  const std::optional<int> n = v ? ParseProfileInteger(*v) : std::nullopt;
  return n ? *n : def;
}

bool Profile::ReadBool(std::wstring_view section, std::wstring_view key, bool def) const {
  const std::optional<std::wstring> v = Find(section, key);
  const std::optional<int> n = v ? ParseProfileInteger(*v) : std::nullopt;
  return n ? *n != 0 : def;
}

ProfileEdit Profile::WriteString(std::wstring_view section, std::wstring_view key, std::wstring_view value) {
  // Names that could not be found again once written are refused: a key
  // with "=" would split, one opening with "[" could read as a section.
  const std::wstring_view s = TrimBlanks(section), k = TrimBlanks(key);
  if (s.empty() || k.empty() || HasLineEnd(s) || HasLineEnd(k) || k.find(L'=') != std::wstring_view::npos ||
      k.front() == L'[')
    return ProfileEdit::kRefused;
  const std::wstring_view v = TrimBlanks(FirstLine(value));
  if (encoding_ != ProfileEncoding::kUtf16Le) {
    if (const std::optional<ProfileEdit> done = WriteIn<char>(bytes_, encoding_, s, k, v)) return *done;
    ConvertToUtf16();
  }
  return *WriteIn<char16_t>(units_, encoding_, s, k, v);
}

ProfileEdit Profile::WriteInteger(std::wstring_view section, std::wstring_view key, int value) {
  return WriteString(section, key, std::to_wstring(value));
}

ProfileEdit Profile::WriteBool(std::wstring_view section, std::wstring_view key, bool value) {
  return WriteString(section, key, value ? L"1" : L"0");
}

ProfileEdit Profile::EraseSection(std::wstring_view section) {
  if (encoding_ == ProfileEncoding::kUtf16Le) return EraseIn<char16_t>(units_, encoding_, section);
  return EraseIn<char>(bytes_, encoding_, section);
}

std::optional<int> ParseProfileInteger(std::wstring_view text) {
  std::size_t i = 0;
  while (i < text.size() && static_cast<std::uint32_t>(text[i]) <= 0x20) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';
  int base = 10;
  if (i + 2 < text.size() && text[i] == L'0' && (text[i + 1] == L'x' || text[i + 1] == L'X') &&
      DigitValue(text[i + 2]) >= 0) {
    base = 16;
    i += 2;
  }
  std::uint32_t value = 0;
  bool any = false;
  for (; i < text.size(); ++i) {
    const int d = DigitValue(text[i]);
    if (d < 0 || d >= base) break;
    value = value * static_cast<std::uint32_t>(base) + static_cast<std::uint32_t>(d);
    any = true;
  }
  if (!any) return std::nullopt;
  if (negative) value = 0u - value;
  return static_cast<int>(value);
}

}  // namespace velkor
