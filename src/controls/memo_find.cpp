#include "controls/memo_find.h"

#include <optional>

#include "controls/text_positions.h"
#include "ui/message_box.h"
#include "ui/window_life.h"

namespace velkor {

bool FindInEdit(RichMemo& control, const std::wstring& search, SearchOptions options) {
  if (search.empty()) return false;
  const TextBytes* form = &control.Bytes();
  std::optional<std::string> key = form->FormOf(search);
  // A search text with a character that shares its code in the control's
  // byte form gets a form of the text in which it has its own.
  std::optional<TextBytes> own;
  if (!key) {
    own.emplace(form->text(), search);
    form = &*own;
    key = form->FormOf(search);
  }
  const TextBytes& text = *form;
  const int length = static_cast<int>(text.bytes().size());
  if (length == 0 || !key) return false;
  const int sel_start = control.SelStart();
  const int start = text.ByteOffset(sel_start);
  const int end = text.ByteOffset(sel_start + control.SelLength());
  const PreparedSearch prepared(*key, options);
  const int hit = ScanTextBuffer(reinterpret_cast<const unsigned char*>(text.bytes().data()), length, start,
                                 end - start, prepared);
  if (hit == kNoHit) return false;
  SetFocus(control.hwnd());
  const int from = text.ControlPos(hit);
  const int to = text.ControlPos(hit + prepared.length());
  control.SetSel(from, to - from);
  control.ScrollCaret();
  return true;
}

SearchOptions SearchOptionsOf(DWORD find_flags) {
  SearchOptions o;
  o.down = (find_flags & FR_DOWN) != 0;
  o.match_case = (find_flags & FR_MATCHCASE) != 0;
  o.whole_word = (find_flags & FR_WHOLEWORD) != 0;
  return o;
}

std::wstring NotFoundText(const std::wstring& search) { return L"見つかりません \"　" + search + L"　\" !!"; }

std::wstring FoundCountText(const std::wstring& search, int count) {
  return L"検索文字 ： \" " + search + L"　\" は、計  " + std::to_wstring(count) + L"  回  見つかりました。";
}

bool FindNextCounting(RichMemo& control, const FindReplaceDialog& dialog, FindReplaceDialog& close_at_end,
                      int& found_count, const Window& owner) {
  const std::wstring text = dialog.find_what();
  if (FindInEdit(control, text, SearchOptionsOf(dialog.options()))) {
    ++found_count;
    return true;
  }
  WindowLife life(owner);
  ShowMessage(owner.hwnd(), found_count == 0 ? NotFoundText(text) : FoundCountText(text, found_count));
  if (!life.lives()) return false;
  close_at_end.Close();
  found_count = 0;
  control.SetSel(control.SelStart(), 0);
  return true;
}

}  // namespace velkor
