// The settings file's form on arbitrary images: an image is kept as it is
// until changed, a written value reads back, a change leaves every other
// section and key as it was, and an erased section is gone.
// Input: section, key, operation, value length, value bytes, then the image.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <optional>
#include <string>

#include "state/profile.h"
#include "platform/text.h"
#include "fuzz/fuzz_check.h"

using namespace velkor;
using velkor::fuzz::Check;

namespace {

const wchar_t* const kSections[] = {L"S",     L"s",           L"ChildNo3FontSelect", L"CHILDNO3fontselect",
                                    L"表ゾ",  L"ａｂｃ",      L"ＡＢＣ",             L"C:\\メモ\\a].txt",
                                    L"café",  L" S ",         L"",                   L"[x]"};
const wchar_t* const kKeys[] = {L"k", L"K", L"FontSize", L"ソー", L"NO1", L"1", L"é", L"a=b", L""};
const wchar_t kAlphabet[] = L"aZ09 \t=[];\"x-あゾ表é\r\n\x3000";

bool IsBlank(wchar_t c) { return c == L' ' || (c >= 9 && c <= 13) || c == 0x1A; }

std::wstring_view Trim(std::wstring_view v) {
  while (!v.empty() && IsBlank(v.front())) v.remove_prefix(1);
  while (!v.empty() && IsBlank(v.back())) v.remove_suffix(1);
  return v;
}

bool SameName(const wchar_t* a, const wchar_t* b) { return EqualsNoCase(Trim(a), Trim(b)); }

struct Snapshot {
  std::optional<std::wstring> values[std::size(kSections)][std::size(kKeys)];
};

Snapshot Take(const Profile& p) {
  Snapshot s;
  for (std::size_t i = 0; i < std::size(kSections); ++i)
    for (std::size_t j = 0; j < std::size(kKeys); ++j) s.values[i][j] = p.Find(kSections[i], kKeys[j]);
  return s;
}

std::wstring Expected(std::wstring_view v) { return std::wstring(Trim(v.substr(0, v.find_first_of(L"\r\n")))); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  const std::size_t si = data[0] % std::size(kSections), ki = data[1] % std::size(kKeys);
  const int op = data[2] % 4;
  const std::size_t n = std::min<std::size_t>(data[3], size - 4);
  std::wstring value;
  for (std::size_t i = 0; i < n; ++i) value.push_back(kAlphabet[data[4 + i] % (std::size(kAlphabet) - 1)]);
  const std::string image(reinterpret_cast<const char*>(data) + 4 + n, size - 4 - n);

  Profile p(image);
  Check(p.Image() == image, "an unchanged image stays byte for byte");
  const Snapshot before = Take(p);
  const ProfileEncoding encoding = p.encoding();
  const wchar_t* section = kSections[si];
  const wchar_t* key = kKeys[ki];

  ProfileEdit edit;
  if (op == 3) {
    edit = p.EraseSection(section);
    // The lines before the first section have no section line to erase.
    if (!Trim(section).empty())
      for (const wchar_t* k : kKeys) Check(!p.Find(section, k), "an erased section is gone");
  } else {
    edit = op == 0 ? p.WriteString(section, key, value)
         : op == 1 ? p.WriteInteger(section, key, static_cast<int>(n) - 128)
                   : p.WriteBool(section, key, n & 1);
    const std::wstring want = op == 0 ? Expected(value) : op == 1 ? std::to_wstring(static_cast<int>(n) - 128)
                                                                  : std::wstring(n & 1 ? L"1" : L"0");
    if (edit != ProfileEdit::kRefused) {
      Check(p.Find(section, key) == want, "a written value reads back");
      const ProfileEdit again = op == 0 ? p.WriteString(section, key, value) : p.WriteString(section, key, want);
      Check(again == ProfileEdit::kUnchanged, "writing the same value again changes nothing");
    }
  }
  if (edit != ProfileEdit::kChanged) Check(p.Image() == image, "no change, no difference");

  const Profile reread(p.Image());
  const Snapshot after = Take(p);
  const Snapshot again = Take(reread);
  for (std::size_t i = 0; i < std::size(kSections); ++i)
    for (std::size_t j = 0; j < std::size(kKeys); ++j) {
      Check(after.values[i][j] == again.values[i][j], "the image reads as the profile it came from");
      // A conversion to UTF-16 may read an undecodable byte differently.
      if (p.encoding() != encoding) continue;
      const bool touched = SameName(kSections[i], section) && (op == 3 || SameName(kKeys[j], key));
      if (!touched) Check(after.values[i][j] == before.values[i][j], "other keys are left alone");
    }
  return 0;
}
