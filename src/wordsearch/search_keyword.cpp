#include "wordsearch/search_keyword.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace velkor {
namespace {

// Every character of the basic plane that has a code page 932 form, in the
// order of the forms: form << 16 | character.
const std::vector<std::uint32_t>& CharsByForm() {
  static const std::vector<std::uint32_t> chars = [] {
    const std::uint16_t* const forms = Cp932FormTable();
    std::vector<std::uint32_t> all;
    for (std::uint32_t c = 0; c < 0x10000; ++c)
      if (forms[c] != kNoCp932Form) all.push_back(std::uint32_t{forms[c]} << 16 | c);
    std::sort(all.begin(), all.end());
    return all;
  }();
  return chars;
}

}  // namespace

const Utf8Needle* SearchKeyword::NeedleFor(bool case_sensitive) const {
  const int kind = case_sensitive ? 1 : 0;
  if (!needle_made_[kind]) {
    needles_[kind] = MakeNeedle(case_sensitive);
    needle_made_[kind] = true;
  }
  return needles_[kind].get();
}

std::unique_ptr<Utf8Needle> SearchKeyword::MakeNeedle(bool case_sensitive) const {
  // A keyword over a line feed would match across lines.
  if (bytes_.find('\n') != std::string::npos) return nullptr;
  const std::vector<std::uint32_t>& by_form = CharsByForm();
  // Each character of the keyword with the UTF-8 forms of the characters of
  // a file that the scan takes for it; not usable when a byte that is no
  // UTF-8, which becomes U+FFFD, is taken for it too.
  struct KeywordChar {
    std::vector<std::string> forms;
    bool usable = true;
  };
  std::vector<KeywordChar> chars;
  for (std::size_t i = 0; i < bytes_.size();) {
    const auto b = static_cast<unsigned char>(bytes_[i]);
    const bool twin = IsLeadByte(b) && i + 1 < bytes_.size();
    const unsigned char trail = twin ? static_cast<unsigned char>(bytes_[i + 1]) : 0;
    std::uint16_t forms[2] = {b, b};
    if (twin) {
      forms[0] = forms[1] = static_cast<std::uint16_t>(b << 8 | trail);
    } else if (!case_sensitive && ((b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z'))) {
      forms[1] = static_cast<std::uint16_t>(b ^ 0x20);
    }
    KeywordChar& k = chars.emplace_back();
    const auto add = [&k](char32_t c) {
      if (c == 0xFFFD) k.usable = false;
      if (c < 0xD800 || c > 0xDFFF) AppendUtf8(k.forms.emplace_back(), c);  // a surrogate is in no UTF-8 text
    };
    for (int f = 0; f < (forms[0] == forms[1] ? 1 : 2); ++f) {
      const std::uint32_t key = std::uint32_t{forms[f]} << 16;
      for (auto at = std::lower_bound(by_form.begin(), by_form.end(), key); at != by_form.end() && (*at >> 16) == forms[f]; ++at)
        add(*at & 0xFFFF);
    }
    if (twin && IsStandIn(b, trail))
      for (const auto& [c, index] : own_)
        if (index == StandInIndex(b, trail)) add(c);
    i += twin ? 2 : 1;
  }
  // Each character as positions of one of two bytes, when its forms are
  // of one length: a form that the positions match, but the character has
  // not, only costs a line decoded that need not be. The longest run of such
  // characters is looked for.
  constexpr std::size_t kLongest = 32;
  std::vector<Utf8Needle::Position> run, best;
  for (const KeywordChar& k : chars) {
    std::vector<Utf8Needle::Position> positions;
    bool fits = k.usable && !k.forms.empty();
    const std::size_t length = fits ? k.forms[0].size() : 0;
    for (std::size_t i = 0; fits && i < length; ++i) {
      const auto first = static_cast<unsigned char>(k.forms[0][i]);
      Utf8Needle::Position p = {first, first};
      for (const std::string& f : k.forms) {
        const auto b = f.size() == length ? static_cast<unsigned char>(f[i]) : first;
        if (f.size() != length || (b != p[0] && b != p[1] && p[0] != p[1])) {
          fits = false;
          break;
        }
        if (b != p[0]) p[1] = b;
      }
      positions.push_back(p);
    }
    if (!fits) {
      run.clear();
      continue;
    }
    run.insert(run.end(), positions.begin(), positions.end());
    if (run.size() > best.size() && best.size() < kLongest)
      best.assign(run.begin(), run.begin() + static_cast<std::ptrdiff_t>(std::min(run.size(), kLongest)));
  }
  return best.size() >= 2 ? std::make_unique<Utf8Needle>(std::move(best)) : nullptr;
}

SearchKeyword::SearchKeyword(std::wstring_view typed) {
  int next = 0;
  for (std::size_t w = 0; w < typed.size();) {
    char32_t c = static_cast<char32_t>(typed[w]);
    std::size_t units = 1;
    if (sizeof(wchar_t) == 2 && c >= 0xD800 && c <= 0xDBFF && w + 1 < typed.size() && typed[w + 1] >= 0xDC00 &&
        typed[w + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<char32_t>(typed[w + 1]) - 0xDC00);
      units = 2;
    }
    w += units;
    Cp932Char form = Cp932FormOf(c);
    if (form.length == 0) {
      const auto [at, added] = own_.emplace(c, next);
      if (added && next < kSharedInKeyword) ++next;
      form = StandInBytes(at->second);
    }
    bytes_.append(reinterpret_cast<const char*>(form.bytes), static_cast<std::size_t>(form.length));
  }
}

}  // namespace velkor
