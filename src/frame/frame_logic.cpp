#include "frame/frame_logic.h"

#include "platform/path_names.h"

namespace velkor {

std::wstring FormatUsageTime(uint32_t elapsed_ms) {
  const uint32_t seconds = elapsed_ms / 1000;
  return std::to_wstring(seconds / 60) + L" 分 " + std::to_wstring(seconds % 60) + L" 秒";
}

std::wstring ExitConfirmationText(const std::wstring& usage_time, int open_editors) {
  return L" お疲れさま !!\r\n\r\n  使用時間は " + usage_time + L" です。\r\n\r\n編集中のエディットフォームが  " +
         std::to_wstring(open_editors) + L"  つ有ります。\r\n\r\n本当に終了しますか。";
}

std::wstring FarewellText(const std::wstring& user_name, const std::wstring& usage_time) {
  return user_name + L" さん   お疲れさま !!\r\n\r\n  使用時間は " + usage_time + L" です。\r\n\r\n    また使ってね !!";
}

Point FarewellPosition(Point cursor, int screen_width) {
  if (cursor.x < screen_width / 2) return {cursor.x, cursor.y + 30};
  return {cursor.x - 190, cursor.y + 80};
}

bool IsEditableDrop(const std::wstring& path) {
  const std::wstring ext = FileKindExtension(path);
  return ext == L".TXT" || ext == L".BAK";
}

std::vector<CommandLineDocument> PlanCommandLine(const std::vector<std::wstring>& args,
                                                 const std::function<bool(const std::wstring&)>& file_exists) {
  std::vector<CommandLineDocument> plan;
  if (args.empty() || args.size() > 3) return plan;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i].empty()) continue;
    if (file_exists(args[i])) {
      plan.push_back({args[i], static_cast<int>(i + 1), args[i]});
      continue;
    }
    auto arg = [&args](std::size_t k) { return k < args.size() ? args[k] : std::wstring(); };
    const std::wstring joined = arg(0) + L" " + arg(1) + L" " + arg(2);
    if (file_exists(joined)) plan.push_back({joined, 1, L"ChildNo1FontSelect"});
    break;
  }
  return plan;
}

}  // namespace velkor
