#pragma once
// What the user is told about the copies of unsaved text: the question at
// start that offers them back, the question before they are thrown away, and
// the reports of copies that cannot be read and of a folder that cannot be
// written.
#include <string>
#include <vector>

#include "editor/recovery_copy.h"

namespace velkor {

// One copy as the start-up question lists it.
struct OfferedCopy {
  std::wstring name;        // the document's path, or "NewFile n"
  std::wstring time;        // when the copy was taken, local time
  std::wstring first_line;  // the text's first line, cut short
};

// A copy as the question lists it; time: when it was taken, as CopyTimeText
// writes it.
OfferedCopy OfferOf(const RecoveryCopy& copy, std::wstring time);
// "2026/12/10 14:03:22", as the Japanese calendar settings write a date and time.
std::wstring CopyTimeText(int year, int month, int day, int hour, int minute, int second);

// The copies in the order they are listed and opened: the oldest first, so
// that the newest ends up the front window.
void SortForOffer(std::vector<RecoveryCopy>& copies);

std::wstring RecoveryQuestion(const std::vector<OfferedCopy>& copies);
std::wstring DiscardQuestion(std::size_t count);
std::wstring DamagedCopiesText(const std::vector<std::wstring>& files);
std::wstring FolderNotWritableText(const std::wstring& folder);

}  // namespace velkor
