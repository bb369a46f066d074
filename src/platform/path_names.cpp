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

std::wstring FileKindExtension(std::wstring_view path) {
  const std::size_t dot = ExtensionDot(path);
  if (dot == std::wstring_view::npos) return L"";
  std::wstring kind(path.substr(dot, 4));
  for (wchar_t& c : kind) c = FoldCase(c);
  return kind;
}

}  // namespace velkor
