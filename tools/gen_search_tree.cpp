// Writes a reproducible tree of Shift-JIS text files for the word search
// benchmarks: about 200 MB in 4,000 files (both scaled by the optional
// factor), spread over nested directories, with the nine searched classes,
// .HTML and two kinds that are never searched (.DAT, .CSV). Lines end in
// CR LF and mix Japanese and ASCII words; the rare word "Velkor" turns up in
// about one line in 4,000. A directory whose name begins with a dot holds
// files that a search must not enter. File and directory names are UTF-8 on
// disk, which is how Wine shows Japanese names to Windows programs. With
// --utf8 the same tree is written with every file's text in UTF-8 (no
// byte-order mark): the same names, lines and hits.
//
//   gen_search_tree OUTPUT_DIR [SCALE] [--utf8]
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/text.h"

namespace fs = std::filesystem;

namespace {

class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next() {  // splitmix64
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  std::size_t Below(std::size_t n) { return n == 0 ? 0 : static_cast<std::size_t>(Next() % n); }
  bool OneIn(std::size_t n) { return Below(n) == 0; }
  double Unit() { return static_cast<double>(Next() >> 11) / 9007199254740992.0; }
  template <typename T>
  const T& Of(const std::vector<T>& v) { return v[Below(v.size())]; }

 private:
  std::uint64_t state_;
};

std::vector<std::string> ToSjis(std::initializer_list<const char*> words) {
  std::vector<std::string> out;
  for (const char* w : words) out.push_back(velkor::WideToCp932(velkor::Utf8ToWide(w)).bytes);
  return out;
}

// Several of these have a backslash as the second byte of a character
// (ソ, 表, 能, 十, 予, 申, 構), as real Japanese text does.
const std::vector<std::string>& Nouns() {
  static const auto words = ToSjis({
      "検索", "結果", "表示", "文字列", "設定", "変更", "保存", "読み込み", "書き込み", "表計算",
      "能力", "ソース", "ソフト", "ファイル", "ディレクトリー", "行番号", "大文字", "小文字",
      "区別", "画面", "更新", "処理", "終了", "開始", "確認", "入力", "出力", "日付", "時刻",
      "予定", "会議", "資料", "報告書", "東京", "大阪", "申し込み", "構造体", "関数", "変数",
      "配列", "十分", "機能", "予約", "能率", "メモ", "テキスト", "ボタン", "ウィンドウ",
      "ｶﾀｶﾅ", "全角ＡＢＣ", "社員", "売上", "在庫", "顧客", "注文", "請求", "部品", "工程"});
  return words;
}

const std::vector<std::string>& Particles() {
  static const auto words = ToSjis({"は", "が", "を", "に", "で", "と", "の", "も", "から",
                                    "まで", "です", "ます", "でした", "しました", "して下さい",
                                    "、", "「", "」", "（", "）", "　"});
  return words;
}

const std::vector<std::string> kAscii = {
    "Form1", "Caption", "Create", "Free", "Result", "Self", "Sender", "TObject", "ListBox1",
    "Items", "Add", "Memo1", "Lines", "Text", "FileName", "Path", "Search", "KeyWord", "Count",
    "Index", "Edit1", "Button1Click", "StrPas", "IntToStr", "Format", "Length", "Copy", "Pos",
    "Windows", "Messages", "SysUtils", "Classes", "Graphics", "Controls", "Dialogs", "data",
    "value", "error", "warning", "server", "client", "request", "update", "buffer", "line"};

const char* const kRare = "Velkor";

class TextMaker {
 public:
  explicit TextMaker(Random& rng) : rng_(rng) {}

  std::string Japanese(std::size_t words) {
    std::string s;
    for (std::size_t i = 0; i < words; ++i) {
      if (rng_.OneIn(6)) {
        s += Word();
        s += ' ';
      } else {
        s += rng_.Of(Nouns());
        s += rng_.Of(Particles());
      }
    }
    return s + "\x81\x42";  // 。
  }

  std::string Word() { return rng_.OneIn(4000) ? kRare : rng_.Of(kAscii); }

  std::string Line(const std::string& ext) {
    if (rng_.OneIn(9)) return {};
    if (ext == ".PAS" || ext == ".INT" || ext == ".INC") return Pascal();
    if (ext == ".ASM") return Assembler();
    if (ext == ".RC") return "  CONTROL \"" + Japanese(1 + rng_.Below(2)) + "\", " +
                             std::to_string(100 + rng_.Below(900)) + ", \"BUTTON\", 0, " +
                             std::to_string(rng_.Below(300)) + ", 8, 50, 14";
    if (ext == ".INI") return rng_.OneIn(8) ? "[" + Word() + "]"
                                            : Word() + "=" + Japanese(1 + rng_.Below(3));
    if (ext == ".LOG") return Log();
    if (ext == ".HTM" || ext == ".HTML") return "<p class=\"" + Word() + "\">" +
                                                Japanese(2 + rng_.Below(8)) + "</p>";
    if (ext == ".CSV" || ext == ".DAT") return Csv();
    // .TXT: prose, now and then a long paragraph on one line
    return Japanese(rng_.OneIn(60) ? 40 + rng_.Below(160) : 2 + rng_.Below(14));
  }

 private:
  std::string Pascal() {
    switch (rng_.Below(6)) {
      case 0: return "  " + Word() + "." + Word() + " := '" + Japanese(1 + rng_.Below(3)) + "';";
      case 1: return "  if " + Word() + " > " + std::to_string(rng_.Below(1000)) + " then " +
                     Word() + "(" + Word() + ");";
      case 2: return "procedure T" + Word() + "." + Word() + "(Sender: TObject);";
      case 3: return "  { " + Japanese(2 + rng_.Below(6)) + " }";
      case 4: return "begin";
      default: return "  " + Word() + " := " + Word() + " + " + std::to_string(rng_.Below(99)) +
                      ";  // " + Japanese(1 + rng_.Below(4));
    }
  }

  std::string Assembler() {
    static const std::vector<std::string> ops = {"mov", "add", "sub", "cmp", "jne", "push",
                                                 "pop", "call", "lea", "xor"};
    static const std::vector<std::string> regs = {"eax", "ebx", "ecx", "edx", "esi", "edi"};
    return "        " + rng_.Of(ops) + "     " + rng_.Of(regs) + ", [ebp+" +
           std::to_string(4 * rng_.Below(16)) + "]    ; " + Japanese(1 + rng_.Below(3));
  }

  std::string Log() {
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "2026/%02d/%02d %02d:%02d:%02d ", 1 + int(rng_.Below(12)),
                  1 + int(rng_.Below(28)), int(rng_.Below(24)), int(rng_.Below(60)),
                  int(rng_.Below(60)));
    return stamp + Word() + ": " + Japanese(1 + rng_.Below(6));
  }

  std::string Csv() {
    std::string s = std::to_string(rng_.Below(100000));
    for (int i = 0; i < 6; ++i) s += "," + (rng_.OneIn(2) ? rng_.Of(Nouns()) : Word());
    return s;
  }

  Random& rng_;
};

struct Kind {
  const char* ext;      // as written, case varies on purpose
  const char* upper;
  const char* stem;
};

const Kind kKinds[] = {
    {".pas", ".PAS", "Unit"}, {".INT", ".INT", "Intf"}, {".asm", ".ASM", "low"},
    {".rc", ".RC", "Dialog"}, {".Inc", ".INC", "defs"}, {".txt", ".TXT", "memo"},
    {".log", ".LOG", "access"}, {".ini", ".INI", "setup"}, {".htm", ".HTM", "page"},
    {".html", ".HTML", "index"}, {".dat", ".DAT", "table"}, {".csv", ".CSV", "sales"}};

std::vector<fs::path> MakeDirectories(const fs::path& root, Random& rng) {
  static const std::vector<std::string> names = {
      "src", "doc", "Tools", "Memo", "log2026", "old", "Project", "資料", "表計算", "ソース",
      "予定表", "web", "backup", "日報", "lib", "能力開発"};
  std::vector<fs::path> dirs = {root};
  std::vector<fs::path> level = {root};
  for (int depth = 1; depth <= 4; ++depth) {
    std::vector<fs::path> next;
    for (const fs::path& parent : level) {
      const std::size_t children = depth == 1   ? 8
                                   : depth == 2 ? 1 + rng.Below(4)
                                                : rng.Below(5 - depth);
      for (std::size_t i = 0; i < children; ++i) {
        const fs::path dir = parent / (rng.Of(names) + std::to_string(i));
        next.push_back(dir);
        dirs.push_back(dir);
      }
    }
    level = next;
  }
  dirs.push_back(root / ".backup");  // never entered by a search
  dirs.push_back(root / "src0" / ".svn");
  for (const fs::path& d : dirs) fs::create_directories(d);
  return dirs;
}

}  // namespace

int main(int argc, char** argv) {
  const bool utf8 = argc > 2 && std::string(argv[argc - 1]) == "--utf8";
  if (utf8) --argc;
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: gen_search_tree OUTPUT_DIR [SCALE] [--utf8]\n");
    return 2;
  }
  const double scale = argc == 3 ? std::atof(argv[2]) : 1.0;
  if (!(scale > 0)) {
    std::fprintf(stderr, "gen_search_tree: SCALE must be a positive number\n");
    return 2;
  }
  const fs::path root = argv[1];
  Random rng(0x5EA4C4u);
  const std::vector<fs::path> dirs = MakeDirectories(root, rng);
  TextMaker text(rng);

  const std::size_t files = std::max<std::size_t>(12, std::llround(4000 * scale));
  std::uint64_t total = 0;
  std::string body;
  for (std::size_t n = 0; n < files; ++n) {
    const Kind& kind = kKinds[n % std::size(kKinds)];
    // Mostly the tree's ordinary directories; one file in a hundred lies in a dot directory.
    const fs::path& dir = rng.OneIn(100) ? dirs[dirs.size() - 1 - rng.Below(2)]
                                         : dirs[rng.Below(dirs.size() - 2)];
    // Sizes spread from empty to about 1 MB around a mean of 50 KB.
    const std::size_t size =
        rng.OneIn(50) ? 0 : static_cast<std::size_t>(std::min(1.0e6, -std::log(1 - rng.Unit()) * 50000));
    body.clear();
    while (body.size() < size) {
      body += text.Line(kind.upper);
      body += "\r\n";
    }
    if (utf8) body = velkor::WideToUtf8(velkor::Cp932ToWide(body));
    char name[64];
    std::snprintf(name, sizeof name, "%s%04zu%s", kind.stem, n, kind.ext);
    std::ofstream f(dir / name, std::ios::binary);
    f.write(body.data(), static_cast<std::streamsize>(body.size()));
    if (!f) {
      std::fprintf(stderr, "gen_search_tree: cannot write %s\n", (dir / name).c_str());
      return 1;
    }
    total += body.size();
  }
  std::printf("gen_search_tree: %zu files, %.1f MB of %s in %zu directories under %s\n", files, total / 1e6,
              utf8 ? "UTF-8" : "Shift-JIS", dirs.size(), root.c_str());
  return 0;
}
