#pragma once
// The in-control search shared by the editor and the search window's source
// viewer: a byte scan of the control's text from its selection, in the
// direction of the options; a hit is selected and the control focused.
#include <string>

#include "controls/rich_memo.h"
#include "editor/search.h"
#include "platform/win32.h"

namespace velkor {

bool FindInEdit(RichMemo& control, const std::wstring& search, SearchOptions options);

// The options of a Find or Replace dialog's FR_DOWN, FR_MATCHCASE and
// FR_WHOLEWORD flags.
SearchOptions SearchOptionsOf(DWORD find_flags);

// The messages of a search that ends: nothing found at all, or how often the
// text was found before the end.
std::wstring NotFoundText(const std::wstring& search);
std::wstring FoundCountText(const std::wstring& search, int count);

}  // namespace velkor
