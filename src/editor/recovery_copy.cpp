#include "editor/recovery_copy.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "platform/path_names.h"
#include "platform/text.h"

namespace velkor {
namespace {

constexpr std::string_view kFirstLine = "Velkor recovery copy 1";
constexpr std::string_view kCrcKey = "crc=";
constexpr std::size_t kTrailerSize = 4 + 8 + 2;  // "crc=", eight hex digits, CR LF
constexpr std::wstring_view kCopyExtension = L".copy";
constexpr std::wstring_view kLockExtension = L".lock";

struct Named {
  const char* name;
  int value;
};
constexpr Named kEncodings[] = {
    {"shift-jis", static_cast<int>(DocEncoding::ShiftJis)}, {"utf-8", static_cast<int>(DocEncoding::Utf8)},
    {"utf-8-bom", static_cast<int>(DocEncoding::Utf8Bom)},  {"utf-16le", static_cast<int>(DocEncoding::Utf16Le)},
    {"utf-16be", static_cast<int>(DocEncoding::Utf16Be)},
};
constexpr Named kBreaks[] = {
    {"crlf", static_cast<int>(LineBreaks::CrLf)},
    {"lf", static_cast<int>(LineBreaks::Lf)},
    {"cr", static_cast<int>(LineBreaks::Cr)},
};

template <std::size_t N>
const char* NameOf(const Named (&table)[N], int value) {
  for (const Named& n : table)
    if (n.value == value) return n.name;
  return "";
}

template <std::size_t N>
std::optional<int> ValueOf(const Named (&table)[N], std::string_view name) {
  for (const Named& n : table)
    if (name == n.name) return n.value;
  return std::nullopt;
}

const std::array<std::uint32_t, 256>& CrcTable() {
  static const std::array<std::uint32_t, 256> table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t i = 0; i < 256; ++i) {
      std::uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[i] = c;
    }
    return t;
  }();
  return table;
}

std::string Hex8(std::uint32_t v) {
  char buf[9];
  std::snprintf(buf, sizeof buf, "%08X", static_cast<unsigned>(v));
  return buf;
}

// Reads the header's lines one after another; any surprise makes it fail.
class HeaderReader {
 public:
  explicit HeaderReader(std::string_view bytes) : rest_(bytes) {}

  std::optional<std::string_view> Line() {
    const std::size_t end = rest_.find("\r\n");
    if (end == std::string_view::npos) return std::nullopt;
    const std::string_view line = rest_.substr(0, end);
    rest_.remove_prefix(end + 2);
    return line;
  }
  // "key=value": the value.
  std::optional<std::string_view> Value(std::string_view key) {
    const auto line = Line();
    if (!line || line->size() <= key.size() || line->substr(0, key.size()) != key || (*line)[key.size()] != '=')
      return std::nullopt;
    return line->substr(key.size() + 1);
  }
  std::optional<std::uint64_t> Number(std::string_view key) {
    const auto value = Value(key);
    return value ? ParseNumber(*value) : std::nullopt;
  }
  // Numbers joined by commas.
  template <std::size_t N>
  bool Numbers(std::string_view key, std::array<std::uint64_t, N>& out) {
    auto value = Value(key);
    if (!value) return false;
    for (std::size_t i = 0; i < N; ++i) {
      const std::size_t comma = i + 1 < N ? value->find(',') : value->size();
      if (comma == std::string_view::npos) return false;
      const auto n = ParseNumber(value->substr(0, comma));
      if (!n) return false;
      out[i] = *n;
      value->remove_prefix(std::min(value->size(), comma + 1));
    }
    return true;
  }
  std::string_view rest() const { return rest_; }

  static std::optional<std::uint64_t> ParseNumber(std::string_view s) {
    if (s.empty() || s.size() > 19) return std::nullopt;
    std::uint64_t n = 0;
    for (char c : s) {
      if (c < '0' || c > '9') return std::nullopt;
      n = n * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return n;
  }

 private:
  std::string_view rest_;
};

constexpr std::uint64_t kMaxInt = 0x7FFFFFFF;

}  // namespace

std::uint32_t Crc32(std::string_view bytes) {
  const auto& table = CrcTable();
  std::uint32_t c = 0xFFFFFFFFu;
  for (char b : bytes) c = table[(c ^ static_cast<unsigned char>(b)) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

std::string EncodeRecoveryCopy(const RecoveryCopy& copy) {
  const std::string path = WideToUtf16Le(copy.path);
  const std::string text = WideToUtf16Le(copy.text);
  auto n = [](std::uint64_t v) { return std::to_string(v); };
  std::string out;
  out.reserve(text.size() + path.size() + 512);
  out += kFirstLine;
  out += "\r\nnumber=" + n(static_cast<std::uint32_t>(std::max(copy.number, 0)));
  out += "\r\nencoding=";
  out += NameOf(kEncodings, static_cast<int>(copy.encoding));
  out += "\r\nbreaks=";
  out += NameOf(kBreaks, static_cast<int>(copy.breaks));
  out += "\r\nnul=" + n(copy.cut_at_nul ? 1 : 0);
  out += "\r\nchanged-at=";
  if (copy.changed_at) out += n(static_cast<std::uint32_t>(copy.changed_at->line)) + "," +
                              n(static_cast<std::uint32_t>(copy.changed_at->column));
  out += "\r\nfile=" + n(copy.read.exists ? 1 : 0) + "," + n(copy.read.size) + "," + n(copy.read.write_time);
  out += "\r\ncaret=" + n(static_cast<std::uint32_t>(std::max(copy.caret, 0))) + "," +
         n(static_cast<std::uint32_t>(std::max(copy.selection, 0)));
  out += "\r\nwritten=" + n(copy.written_at);
  out += "\r\npath=" + n(path.size());
  out += "\r\ntext=" + n(text.size());
  out += "\r\n\r\n";
  out += path;
  out += text;
  out += std::string(kCrcKey) + Hex8(Crc32(out)) + "\r\n";
  return out;
}

std::optional<RecoveryCopy> DecodeRecoveryCopy(std::string_view bytes) {
  if (bytes.size() < kTrailerSize) return std::nullopt;
  const std::string_view body = bytes.substr(0, bytes.size() - kTrailerSize);
  const std::string_view trailer = bytes.substr(body.size());
  if (trailer.substr(0, kCrcKey.size()) != kCrcKey || trailer.substr(kTrailerSize - 2) != "\r\n" ||
      trailer.substr(kCrcKey.size(), 8) != Hex8(Crc32(body)))
    return std::nullopt;

  HeaderReader header(body);
  RecoveryCopy copy;
  if (header.Line() != kFirstLine) return std::nullopt;
  const auto number = header.Number("number");
  if (!number || *number > kMaxInt) return std::nullopt;
  copy.number = static_cast<int>(*number);
  const auto encoding = header.Value("encoding");
  const auto encoding_value = encoding ? ValueOf(kEncodings, *encoding) : std::nullopt;
  if (!encoding_value) return std::nullopt;
  copy.encoding = static_cast<DocEncoding>(*encoding_value);
  const auto breaks = header.Value("breaks");
  const auto breaks_value = breaks ? ValueOf(kBreaks, *breaks) : std::nullopt;
  if (!breaks_value) return std::nullopt;
  copy.breaks = static_cast<LineBreaks>(*breaks_value);
  const auto nul = header.Number("nul");
  if (!nul || *nul > 1) return std::nullopt;
  copy.cut_at_nul = *nul == 1;
  {
    // Empty when the file's bytes all came back.
    HeaderReader probe = header;
    const auto line = probe.Line();
    if (line == "changed-at=") {
      header = probe;
    } else {
      std::array<std::uint64_t, 2> place{};
      if (!header.Numbers("changed-at", place) || place[0] > kMaxInt || place[1] > kMaxInt) return std::nullopt;
      copy.changed_at = TextPlace{static_cast<int>(place[0]), static_cast<int>(place[1])};
    }
  }
  std::array<std::uint64_t, 3> file{};
  if (!header.Numbers("file", file) || file[0] > 1) return std::nullopt;
  copy.read = FileStamp{file[0] == 1, file[1], file[2]};
  std::array<std::uint64_t, 2> caret{};
  if (!header.Numbers("caret", caret) || caret[0] > kMaxInt || caret[1] > kMaxInt) return std::nullopt;
  copy.caret = static_cast<int>(caret[0]);
  copy.selection = static_cast<int>(caret[1]);
  const auto written = header.Number("written");
  const auto path_size = header.Number("path");
  const auto text_size = header.Number("text");
  if (!written || !path_size || !text_size || header.Line() != "") return std::nullopt;
  copy.written_at = *written;
  const std::string_view rest = header.rest();
  if (*path_size % 2 != 0 || *text_size % 2 != 0 || *path_size > rest.size() ||
      *text_size != rest.size() - *path_size)
    return std::nullopt;
  copy.path = Utf16LeToWide(rest.substr(0, *path_size));
  copy.text = Utf16LeToWide(rest.substr(*path_size));
  return copy;
}

std::wstring SessionName(std::uint64_t start_time, std::uint32_t process_id, int sequence) {
  auto hex = [](std::uint64_t v, int digits) {
    std::wstring s(static_cast<std::size_t>(digits), L'0');
    for (int i = digits - 1; i >= 0; --i, v >>= 4) s[static_cast<std::size_t>(i)] = L"0123456789ABCDEF"[v & 15];
    return s;
  };
  return hex(start_time, 16) + L"-" + hex(process_id, 8) + L"-" + std::to_wstring(sequence);
}

std::wstring LockFileName(std::wstring_view session) { return std::wstring(session) + std::wstring(kLockExtension); }

std::wstring CopyFileName(std::wstring_view session, int number) {
  return std::wstring(session) + L"_" + std::to_wstring(number) + std::wstring(kCopyExtension);
}

RecoveryFileName ParseRecoveryFileName(std::wstring_view name) {
  RecoveryFileName parsed;
  const std::size_t dot = ExtensionDot(name);
  if (dot == std::wstring_view::npos || dot == 0) return parsed;
  const std::wstring_view stem = name.substr(0, dot);
  const std::wstring_view extension = name.substr(dot);
  if (EqualsNoCase(extension, kLockExtension)) {
    if (stem.find(L'_') != std::wstring_view::npos) return parsed;
    parsed.kind = RecoveryFileName::Kind::kLock;
    parsed.session = stem;
    return parsed;
  }
  const std::size_t cut = stem.rfind(L'_');
  if (cut == std::wstring_view::npos || cut == 0 || cut + 1 == stem.size() || stem.size() - cut > 10) return parsed;
  int number = 0;
  for (wchar_t c : stem.substr(cut + 1)) {
    if (c < L'0' || c > L'9') return parsed;
    number = number * 10 + (c - L'0');
  }
  const std::wstring session(stem.substr(0, cut));
  RecoveryFileName::Kind kind;
  if (EqualsNoCase(extension, kCopyExtension))
    kind = RecoveryFileName::Kind::kCopy;
  else if (IsTemporaryNameOf(CopyFileName(session, number), name))
    kind = RecoveryFileName::Kind::kLeftover;
  else
    return parsed;
  parsed.kind = kind;
  parsed.session = session;
  parsed.number = number;
  return parsed;
}

std::vector<std::wstring> SessionsWithCopies(const std::vector<std::wstring>& names, std::wstring_view own) {
  std::vector<std::wstring> sessions;
  for (const std::wstring& name : names) {
    const RecoveryFileName parsed = ParseRecoveryFileName(name);
    if (parsed.kind != RecoveryFileName::Kind::kCopy || EqualsNoCase(parsed.session, own)) continue;
    if (std::none_of(sessions.begin(), sessions.end(),
                     [&](const std::wstring& s) { return EqualsNoCase(s, parsed.session); }))
      sessions.push_back(parsed.session);
  }
  std::sort(sessions.begin(), sessions.end());
  return sessions;
}

std::wstring FirstLineOf(std::wstring_view text, std::size_t max_chars) {
  auto blank = [](wchar_t c) { return c == L' ' || c == L'\t' || c == L'\x3000'; };
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of(L"\r\n", start);
    if (end == std::wstring_view::npos) end = text.size();
    std::wstring_view line = text.substr(start, end - start);
    while (!line.empty() && blank(line.front())) line.remove_prefix(1);
    while (!line.empty() && blank(line.back())) line.remove_suffix(1);
    if (!line.empty()) {
      if (line.size() <= max_chars) return std::wstring(line);
      // A cut never parts a surrogate pair.
      std::size_t keep = max_chars;
      if (keep > 0 && line[keep - 1] >= 0xD800 && line[keep - 1] <= 0xDBFF) --keep;
      return std::wstring(line.substr(0, keep)) + L"…";
    }
    start = end + 1;
  }
  return L"";
}

void CopySchedule::Changed(std::uint64_t now) {
  if (!pending_) first_ = now;
  pending_ = true;
  last_ = now;
}

std::uint64_t CopySchedule::due() const { return std::min(last_ + times_.idle, first_ + times_.longest); }

}  // namespace velkor
