// Speed of the editor's byte scan: a word near the end of a 1 MB memo of
// mixed Japanese and English lines, searched from the start of the text.
// Prints one line per kind of search with the anchor of 1 GB/s.
#include <chrono>
#include <cstdio>
#include <random>
#include <string>

#include "controls/text_search.h"

using namespace velkor;

namespace {

// The head word stands near the start, the tail word near the end; neither
// occurs anywhere else, in either letter case.
std::string MakeMemo(std::size_t size, std::string_view head, std::string_view tail) {
  static const char* const kWords[] = {
      "the", "memo", "list", "of", "files", "Search", "and", "replace", "TEXT", "window", "editor", "line",
      "\x83\x81\x83\x82",          // メモ
      "\x95\xB6\x8E\x9A",          // 文字
      "\x8C\x9F\x8D\xF5",          // 検索
      "\x82\xA9\x82\xC8",          // かな
      "\x81\x41", "\x81\x42",      // 、。
      "\x83\x74\x83\x40\x83\x43\x83\x8B",  // ファイル
      "2024", "a", "is", "to", "tab\t"};
  std::mt19937 rng(1997);
  std::uniform_int_distribution<int> pick(0, static_cast<int>(std::size(kWords)) - 1);
  std::string s;
  s.reserve(size + 64);
  auto words_up_to = [&](std::size_t end) {
    while (s.size() < end) {
      s += kWords[pick(rng)];
      s += rng() % 9 == 0 ? "\r\n" : " ";
    }
  };
  words_up_to(200);
  s += head;
  words_up_to(size - 200);
  s += tail;
  while (s.size() < size) s += " memo";
  return s;
}

double GigabytesPerSecond(const std::string& text, const PreparedSearch& search, int start, int expect) {
  const auto* buf = reinterpret_cast<const unsigned char*>(text.data());
  const int n = static_cast<int>(text.size());
  double best = 1e30;
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(400);
  int runs = 0;
  do {
    const auto t0 = std::chrono::steady_clock::now();
    const int hit = ScanTextBuffer(buf, n, start, 0, search);
    const auto t1 = std::chrono::steady_clock::now();
    if (hit != expect) {
      std::fprintf(stderr, "wrong hit %d, expected %d\n", hit, expect);
      std::exit(1);
    }
    best = std::min(best, std::chrono::duration<double>(t1 - t0).count());
    ++runs;
  } while (runs < 5 || std::chrono::steady_clock::now() < until);
  const double scanned = start > expect ? start - expect : expect - start;
  return scanned / best / 1e9;
}

void Report(const char* name, double gbs) {
  const double anchor = 1.0;
  std::printf("ScanTextBuffer %s: %.1f GB/s  anchor %.1f GB/s  ratio %.2f\n", name, gbs, anchor, gbs / anchor);
}

}  // namespace

int main() {
  const std::string word = "Velkor";
  const std::string text = MakeMemo(1 << 20, "Bellco", word);
  const int at = static_cast<int>(text.find(word));
  const int head = static_cast<int>(text.find("Bellco"));
  const int n = static_cast<int>(text.size());
  Report("match case", GigabytesPerSecond(text, PreparedSearch(word, {true, true, false}), 0, at));
  Report("ignore case", GigabytesPerSecond(text, PreparedSearch("VELKOR", {true, false, false}), 0, at));
  Report("whole word", GigabytesPerSecond(text, PreparedSearch("velkor", {true, false, true}), 0, at));
  Report("upward", GigabytesPerSecond(text, PreparedSearch("Bellco", {false, true, false}), n, head));
  return 0;
}
