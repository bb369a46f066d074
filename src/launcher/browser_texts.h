#pragma once
// Texts of the friends window's file operations and bulk search, without a
// window.
#include <cstdint>
#include <string>

namespace velkor {

// The delete question: the name, " は読み出し専用属性です。" or " を", an empty line, "削除しますか ?".
std::wstring DeleteQuestion(const std::wstring& name, bool read_only);

// The move or copy question: the source, the destination and the question
// ("移動しますか " or "コピーしますか "), each on its own paragraph.
std::wstring ConfirmOperationText(const std::wstring& source, const std::wstring& destination,
                                  const std::wstring& question);

// The second question of a move or copy onto a directory that already holds
// a file of that name: the file that would be replaced.
std::wstring OverwriteQuestion(const std::wstring& existing);

// The notice after a move that could only copy: the copy stands at the
// destination and the original stayed where it was.
std::wstring MoveStayedText(const std::wstring& source, const std::wstring& destination);

// The window caption after a removal: " 該当ファイル  Total Files = n ,Size = 1,234 Bytes".
std::wstring TotalsCaption(int file_count, int64_t total_bytes);

// A mask that holds a folder ("\\", "/" or ":") would list the files of
// another folder under this one's name: the friends window refuses it.
bool MaskHoldsPath(const std::wstring& mask);
inline constexpr wchar_t kPathMaskText[] =
    L"セレクト指定に、 \\  /  :  は使えません。\r\n例を参考にして、指定して下さい。\r\n\r\n＜指定例＞\r\n\r\n 例１    "
    L"*.EXE\r\n 例２    C*.EXE";

// The refusal of a drop onto a directory that holds a folder of the file's name.
std::wstring FolderInTheWayText(const std::wstring& destination, bool copy);

// The mask of a bulk search: "*.*" for an empty box, upper-cased, and "*.JPG"
// widened to "*.JP*" so that .JPE and .JPEG files come along.
std::wstring BulkSearchMask(const std::wstring& mask_box);

// The message when the list can take no more: the count reached, the list's
// own error, and the mask typed.
std::wstring ListFullText(int file_count, const std::wstring& error_message, const std::wstring& mask_box);

// The bulk search's texts: the line while it walks, and its totals on the
// message line and in the caption.
std::wstring SearchingText(const std::wstring& directory);
std::wstring BulkTotalsText(int file_count, int64_t total_bytes);
std::wstring BulkTotalsCaption(int file_count, int64_t total_bytes);

// The listing's texts: the count in the file panel, the counter line of the
// directory panel (the line empty while listing), and the selection's.
std::wstring FoundFilesText(int file_count);
std::wstring LineCounterText(const std::wstring& line, int file_count);
std::wstring FriendNameText(const std::wstring& relative_name);
std::wstring SizeAndDateText(int64_t size, const std::wstring& date_time);

// The launcher buttons: n is the button's number from 0 (buttons 0 to 6 are
// the user's, 7 holds the file started last), name the file's name alone.
std::wstring ButtonHint(int n, const std::wstring& name);
// The caption of the "指定登録" item of a registered button 0 to 6.
std::wstring ButtonMenuCaption(int n, const std::wstring& name);
// A file of this kind (".ICO", ".BMP") is its button's picture itself.
bool IsButtonPictureKind(const std::wstring& file_kind);
// A program or a library is never handed to a button's program as its
// document.
bool IsProgramKind(const std::wstring& file_kind);
// What a button's program gets when a document is selected: its path in quotes.
std::wstring DocumentParameter(const std::wstring& path);

inline constexpr wchar_t kNoSelectionToStartText[] =
    L"右下のファイル一覧から、プログラム あるいは データファイルを\r\n 選択後、ボクをクリックして下さい。\r\n起動後、右上の "
    L"自動登録ボタン に セットします。";

inline constexpr wchar_t kNoFilesText[] = L" 該当ファイルは、見つかりません。";
inline constexpr wchar_t kFriendsCaption[] = L" ベルコ君のお友達";
inline constexpr wchar_t kChooseDirText[] = L" ディレクトリーを選択してネ !!";
inline constexpr wchar_t kStillSearchingText[] = L"  該当ファイルは、なかかな見つかりませんね。";
inline constexpr wchar_t kNoneBelowText[] = L" 下位ディレクトリにもありません";
// The list control's own complaint when it can take no more items.
inline constexpr wchar_t kListRefusedText[] = L"行を挿入できません";
inline constexpr wchar_t kChooseFileText[] = L" プログラム あるいは データファイルを選んでネ　!!";

// The report when an icon or bitmap file the user chose cannot be read.
std::wstring UnreadablePictureText(const std::wstring& path);

}  // namespace velkor
