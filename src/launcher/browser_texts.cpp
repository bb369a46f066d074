#include "launcher/browser_texts.h"

#include "platform/number_format.h"
#include "platform/text.h"

namespace velkor {

std::wstring DeleteQuestion(const std::wstring& name, bool read_only) {
  return name + (read_only ? L" は読み出し専用属性です。" : L" を") + L"\r\n\r\n" + L"削除しますか ?";
}

std::wstring ConfirmOperationText(const std::wstring& source, const std::wstring& destination,
                                  const std::wstring& question) {
  return source + L" を\r\n\r\n" + destination + L" に\r\n\r\n" + question + L" ？";
}

std::wstring OverwriteQuestion(const std::wstring& existing) {
  return existing + L" は既にあります。" + L"\r\n\r\n" + L"上書きしますか ?";
}

std::wstring MoveStayedText(const std::wstring& source, const std::wstring& destination) {
  return source + L" は移動できませんでした。" + L"\r\n\r\n" + destination + L" にコピーしましたが、" + L"\r\n" +
         L"元のファイルはそのまま残っています。";
}

bool MaskHoldsPath(const std::wstring& mask) { return mask.find_first_of(L"\\/:") != std::wstring::npos; }

std::wstring FolderInTheWayText(const std::wstring& destination, bool copy) {
  return destination + L" はフォルダーです。" + L"\r\n\r\n" + L"同じ名前のフォルダーがあるため、" +
         (copy ? L"コピー" : L"移動") + L"できません。";
}

std::wstring TotalsCaption(int file_count, int64_t total_bytes) {
  // "#,###,###,##0": zero shows as 0.
  return L" 該当ファイル  Total Files = " + std::to_wstring(file_count) + L" ,Size = " + GroupThousands(total_bytes) +
         L" Bytes";
}

std::wstring SearchingText(const std::wstring& directory) {
  return L" " + directory + L" を検索中です。お待ち下さいネ。";
}

std::wstring BulkTotalsText(int file_count, int64_t total_bytes) {
  return L" Total Files = " + std::to_wstring(file_count) + L" ,Size = " + GroupThousands(total_bytes) + L" Bytes";
}

std::wstring BulkTotalsCaption(int file_count, int64_t total_bytes) {
  return L" 一気検索結果 " + BulkTotalsText(file_count, total_bytes);
}

std::wstring BulkSearchMask(const std::wstring& mask_box) {
  std::wstring mask = mask_box.empty() ? L"*.*" : mask_box;
  for (auto& c : mask)
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
  if (mask == L"*.JPG") mask = L"*.JP*";
  return mask;
}

std::wstring ListFullText(int file_count, const std::wstring& error_message, const std::wstring& mask_box) {
  return L"現在の集計総数は " + std::to_wstring(file_count) + L" ですが、\r\n" + L"もうこれ以上は、" + error_message +
         L"。\r\n" + L"取りあえず、現時点での集計結果を表示しますが、\r\n" + L"次回は " + mask_box + L" 以外の指定により、\r\n" +
         L"もう少し絞り込んで下さいネ。";
}

std::wstring FoundFilesText(int file_count) { return L" 該当ファイルは " + std::to_wstring(file_count) + L" 個 あります。"; }

std::wstring LineCounterText(const std::wstring& line, int file_count) {
  return L" Line : " + line + L" / " + std::to_wstring(file_count) + L" ";
}

std::wstring FriendNameText(const std::wstring& relative_name) { return L" 友達は      " + relative_name + L" だよ"; }

std::wstring SizeAndDateText(int64_t size, const std::wstring& date_time) {
  return L" ﾌｧｲﾙｻｲｽﾞ = " + GroupThousands(size) + L" Bytes   " + L"ﾌｧｲﾙ日付 = " + date_time;
}

std::wstring ButtonHint(int n, const std::wstring& name) {
  if (n == 7) return L"最後に呼び出したお友達 ( " + name + L" )";
  return name;
}

std::wstring ButtonMenuCaption(int n, const std::wstring& name) {
  return L"ボタン" + std::to_wstring(n + 1) + L"登録済み ( " + name + L" )";
}

namespace {

}  // namespace

bool IsButtonPictureKind(const std::wstring& file_kind) {
  return EqualsNoCase(file_kind, L".ICO") || EqualsNoCase(file_kind, L".BMP");
}

bool IsProgramKind(const std::wstring& file_kind) { return EqualsNoCase(file_kind, L".EXE") || EqualsNoCase(file_kind, L".DLL"); }

std::wstring DocumentParameter(const std::wstring& path) { return L"\"" + path + L"\""; }

std::wstring UnreadablePictureText(const std::wstring& path) { return path + L" を画像として読み込めません。"; }

}  // namespace velkor
