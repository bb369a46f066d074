#include "wordsearch/viewer_logic.h"

#include "platform/text.h"

namespace velkor {
namespace {

constexpr unsigned char Lower(unsigned char b) {
  return (b >= 'A' && b <= 'Z') ? static_cast<unsigned char>(b + ('a' - 'A')) : b;
}

bool MatchesAt(std::string_view sample, std::size_t at, std::string_view keyword, bool case_sensitive) {
  if (keyword.size() > sample.size() - at) return false;
  for (std::size_t k = 0; k < keyword.size(); ++k) {
    const auto a = static_cast<unsigned char>(sample[at + k]);
    const auto b = static_cast<unsigned char>(keyword[k]);
    if (case_sensitive ? a != b : Lower(a) != Lower(b)) return false;
  }
  return true;
}

}  // namespace

std::size_t FindKeywordInSample(std::string_view sample, std::string_view keyword, bool case_sensitive) {
  if (keyword.empty() || keyword.size() > sample.size()) return std::string_view::npos;
  std::size_t first_anywhere = std::string_view::npos;
  std::size_t next_char = 0;  // where the character that covers position i begins
  for (std::size_t i = 0; i + keyword.size() <= sample.size(); ++i) {
    const bool starts_char = i == next_char;
    if (starts_char) next_char += IsLeadByte(static_cast<unsigned char>(sample[i])) ? 2 : 1;
    if (!MatchesAt(sample, i, keyword, case_sensitive)) continue;
    if (starts_char) return i;
    if (first_anywhere == std::string_view::npos) first_anywhere = i;
  }
  return first_anywhere;
}

}  // namespace velkor
