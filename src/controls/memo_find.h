#pragma once
// The in-control search shared by the editor and the search window's source
// viewer: a byte scan of the control's text from its selection, in the
// direction of the options; a hit is selected and the control focused.
#include <string>

#include "controls/rich_memo.h"
#include "controls/text_search.h"
#include "platform/win32.h"
#include "ui/find_dialog.h"
#include "ui/window.h"

namespace velkor {

bool FindInEdit(RichMemo& control, const std::wstring& search, SearchOptions options);

// The options of a Find or Replace dialog's FR_DOWN, FR_MATCHCASE and
// FR_WHOLEWORD flags.
SearchOptions SearchOptionsOf(DWORD find_flags);

// The messages of a search that ends: nothing found at all, or how often the
// text was found before the end.
std::wstring NotFoundText(const std::wstring& search);
std::wstring FoundCountText(const std::wstring& search, int count);

// The counting Find Next of the editor and the viewer: the text of `dialog`
// searched from the selection; a hit counts. At the end the user is told how
// often it was found (or that it was not), then `close_at_end` closes, the
// count starts again and the selection collapses to its start. False when
// `owner` went while the message was up.
bool FindNextCounting(RichMemo& control, const FindReplaceDialog& dialog, FindReplaceDialog& close_at_end,
                      int& found_count, const Window& owner);

}  // namespace velkor
