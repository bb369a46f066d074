#include "platform/path_names.h"

#include "platform/text.h"  // FoldCase

namespace velkor {
namespace {

std::size_t NameStart(std::wstring_view path) {
  const std::size_t cut = path.find_last_of(L"\\/:");
  return cut == std::wstring_view::npos ? 0 : cut + 1;
}

}  // namespace

std::wstring FileNameOf(std::wstring_view path) { return std::wstring(path.substr(NameStart(path))); }

std::wstring WithBackslash(std::wstring_view path) {
  std::wstring with(path);
  if (!with.empty() && with.back() != L'\\') with += L'\\';
  return with;
}

std::wstring FolderOf(std::wstring_view path) {
  const std::size_t start = NameStart(path);
  if (start == 0) return L"";
  return std::wstring(path.substr(0, path[start - 1] == L':' ? start : start - 1));
}

std::size_t ExtensionDot(std::wstring_view path) {
  const std::size_t dot = path.rfind(L'.');
  return dot != std::wstring_view::npos && dot >= NameStart(path) ? dot : std::wstring_view::npos;
}

std::wstring ReplaceExtension(std::wstring_view path, std::wstring_view ext) {
  return std::wstring(path.substr(0, ExtensionDot(path))).append(ext);
}

namespace {

constexpr wchar_t kTemporaryDigits[] = L"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";

}  // namespace

std::wstring TemporaryNameOf(std::wstring_view path, int n) {
  const wchar_t two[] = {L'.', L'~', kTemporaryDigits[(n / 36) % 36], kTemporaryDigits[n % 36]};
  return ReplaceExtension(path, std::wstring_view(two, 4));
}

bool IsTemporaryNameOf(std::wstring_view path, std::wstring_view name) {
  const std::wstring pattern = FileNameOf(TemporaryNameOf(path, 0));
  const std::size_t fixed = pattern.size() - 2;  // all but the two characters of the number
  if (name.size() != pattern.size() || !EqualsNoCase(name.substr(0, fixed), std::wstring_view(pattern).substr(0, fixed)))
    return false;
  auto digit = [](wchar_t c) { return (c >= L'0' && c <= L'9') || (FoldCase(c) >= L'A' && FoldCase(c) <= L'Z'); };
  return digit(name[name.size() - 2]) && digit(name[name.size() - 1]);
}

std::wstring FileKindExtension(std::wstring_view path) {
  const std::size_t dot = ExtensionDot(path);
  if (dot == std::wstring_view::npos) return L"";
  std::wstring kind(path.substr(dot, 4));
  for (wchar_t& c : kind) c = FoldCase(c);
  return kind;
}

}  // namespace velkor
