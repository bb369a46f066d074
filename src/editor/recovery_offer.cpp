#include "editor/recovery_offer.h"

#include <algorithm>

namespace velkor {
namespace {

// More lines than this make the question taller than a screen.
constexpr std::size_t kListed = 8;
constexpr std::size_t kFirstLineChars = 30;

std::wstring TwoDigits(int n) { return (n < 10 ? L"0" : L"") + std::to_wstring(n); }

}  // namespace

OfferedCopy OfferOf(const RecoveryCopy& copy, std::wstring time) {
  OfferedCopy offered;
  offered.name = copy.path.empty() ? L"NewFile " + std::to_wstring(copy.number) : copy.path;
  offered.time = std::move(time);
  offered.first_line = FirstLineOf(copy.text, kFirstLineChars);
  return offered;
}

std::wstring CopyTimeText(int year, int month, int day, int hour, int minute, int second) {
  return std::to_wstring(year) + L"/" + std::to_wstring(month) + L"/" + std::to_wstring(day) + L" " +
         std::to_wstring(hour) + L":" + TwoDigits(minute) + L":" + TwoDigits(second);
}

void SortForOffer(std::vector<RecoveryCopy>& copies) {
  std::stable_sort(copies.begin(), copies.end(),
                   [](const RecoveryCopy& a, const RecoveryCopy& b) { return a.written_at < b.written_at; });
}

std::wstring RecoveryQuestion(const std::vector<OfferedCopy>& copies) {
  std::wstring text = L"前回、保存されないまま終わった文章が " + std::to_wstring(copies.size()) + L" つあります。\r\n";
  for (std::size_t i = 0; i < copies.size() && i < kListed; ++i) {
    const OfferedCopy& c = copies[i];
    text += L"\r\n    " + c.name + L"\r\n        " + c.time;
    if (!c.first_line.empty()) text += L"　「" + c.first_line + L"」";
  }
  if (copies.size() > kListed) text += L"\r\n    ほか " + std::to_wstring(copies.size() - kListed) + L" つ";
  text += L"\r\n\r\n復元しますか ?";
  return text;
}

std::wstring DiscardQuestion(std::size_t count) {
  return L"復元しない " + std::to_wstring(count) +
         L" つの文章のコピーを削除しますか ?\r\n\r\n「いいえ」を選ぶと、コピーを残して、次に起動したときにもう一度お尋ねします。";
}

std::wstring DamagedCopiesText(const std::vector<std::wstring>& files) {
  std::wstring text = L"次の復元用のコピーは壊れているため、復元できません。\r\n";
  for (const std::wstring& f : files) text += L"\r\n    " + f;
  text += L"\r\n\r\nファイルはそのまま残してあります。";
  return text;
}

std::wstring FolderNotWritableText(const std::wstring& folder) {
  return L"復元用のフォルダー\r\n    " + folder +
         L"\r\nに書き込めません。\r\n\r\n保存していない文章のコピーを残せないため、"
         L"プログラムが異常終了すると、その文章は失われます。";
}

}  // namespace velkor
