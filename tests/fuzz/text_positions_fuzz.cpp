// The byte form of a control's text and the mapping of positions: every
// character stands at the byte offset of its position and back, with the
// bytes of its own form (two for a stand-in), whatever the text holds
// (surrogates without partners, characters code page 932 lacks, CR and LF
// alone), and a search for a piece of the text finds it at a character start.
// Input: pairs of bytes, each one UTF-16 unit; a high byte 0xFF picks a unit
// from a small set that meets the edge cases more often.
#include <cstdint>
#include <string>
#include <vector>

#include "controls/text_positions.h"
#include "controls/text_search.h"
#include "fuzz/fuzz_check.h"
#include "platform/text.h"

using namespace velkor;
using velkor::fuzz::Check;

namespace {

constexpr wchar_t kPicks[] = {L'\r', L'\n', L'a', L'?', 0x00E9, 0x3042, 0x4E02, 0xD800, 0xDC00, 0xDBFF,
                              0xDFFF, 0x7E8A, 0xFF5E, 0x301C, 0x2014, 0xAC00, 0xAC01, L'\\', 0x8868};

struct Piece {
  std::size_t unit;  // index of its first unit
  std::size_t units;
  int position;
  int positions;
  std::size_t byte;
  std::size_t width;
};

std::vector<Piece> Pieces(const std::wstring& t) {
  std::vector<Piece> out;
  int pos = 0;
  std::size_t k = 0;
  for (std::size_t w = 0; w < t.size();) {
    Piece p{w, 1, pos, 1, k, 0};
    if (t[w] == L'\r' && w + 1 < t.size() && t[w + 1] == L'\n') {
      p.units = 2, p.width = 2;
    } else {
      char32_t c = static_cast<char32_t>(t[w]);
      if (sizeof(wchar_t) == 2 && c >= 0xD800 && c <= 0xDBFF && w + 1 < t.size() && t[w + 1] >= 0xDC00 &&
          t[w + 1] <= 0xDFFF) {
        c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<char32_t>(t[w + 1]) - 0xDC00);
        p.units = 2;
      }
      if (c >= 0x10000) p.positions = 2;
      const int form = Cp932FormOf(c).length;
      p.width = form == 0 ? 2 : static_cast<std::size_t>(form);
    }
    out.push_back(p);
    w += p.units, pos += p.positions, k += p.width;
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::wstring text;
  for (std::size_t i = 0; i + 1 < size && text.size() < 1024; i += 2)
    text.push_back(data[i + 1] == 0xFF ? kPicks[data[i] % std::size(kPicks)]
                                       : static_cast<wchar_t>(data[i] | data[i + 1] << 8));
  const TextBytes t(text);
  const std::vector<Piece> pieces = Pieces(text);
  const std::size_t length = pieces.empty() ? 0 : pieces.back().byte + pieces.back().width;
  const int positions = pieces.empty() ? 0 : pieces.back().position + pieces.back().positions;
  Check(t.bytes().size() == length, "byte length");
  Check(t.ByteOffset(positions + 3) == static_cast<int>(length), "a position past the end");
  Check(t.ControlPos(static_cast<int>(length) + 3) == positions, "an offset past the end");
  const auto* bytes = reinterpret_cast<const unsigned char*>(t.bytes().data());
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    const Piece& p = pieces[i];
    Check(t.ByteOffset(p.position) == static_cast<int>(p.byte), "ByteOffset of a character");
    Check(t.ControlPos(static_cast<int>(p.byte)) == p.position, "ControlPos of a character");
    if (p.width == 2) Check(t.ControlPos(static_cast<int>(p.byte) + 1) == p.position, "ControlPos inside one");
    const std::wstring_view one = std::wstring_view(text).substr(p.unit, p.units);
    const std::optional<std::string> form = t.FormOf(one);
    if (!form) continue;  // a character that shares the last stand-in
    Check(t.bytes().compare(p.byte, p.width, *form) == 0, "the bytes of a character's own form");
    if (p.units == 1 && one[0] != L'\r' && one[0] != L'\n' && Cp932FormOf(static_cast<char32_t>(one[0])).length == 0)
      Check(t.TextOf(*form) == one, "a stand-in back to its character");
    // A search for this character and the next finds them here or before.
    const std::size_t end = i + 1 < pieces.size() ? pieces[i + 1].unit + pieces[i + 1].units : p.unit + p.units;
    const std::optional<std::string> key = t.FormOf(std::wstring_view(text).substr(p.unit, end - p.unit));
    if (!key) continue;
    const int hit = ScanTextBuffer(bytes, static_cast<int>(length), 0, 0, *key, SearchOptions{});
    Check(hit >= 0 && hit <= static_cast<int>(p.byte), "a piece of the text not found");
    // The scan's characters are those of code page 932, where CR and LF are
    // two; only a hit on the LF of a pair falls inside a control position.
    const bool on_lf_of_pair = hit > 0 && bytes[hit - 1] == '\r' && bytes[hit] == '\n';
    Check(t.ByteOffset(t.ControlPos(hit)) == hit || on_lf_of_pair, "a hit inside a character");
  }
  return 0;
}
