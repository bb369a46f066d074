// The friends window's file operations (delete, recycle, a file dropped on
// the tree) and its bulk search through every directory below the chosen one.
#include <exception>
#include <utility>

#include "launcher/browser_texts.h"
#include "launcher/bulk_search.h"
#include "launcher/friends_window.h"
#include "launcher/file_ops.h"
#include "ui/app.h"
#include "platform/error.h"
#include "ui/message_box.h"

namespace velkor {
namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);

}  // namespace

bool FriendsWindow::AskYes(const std::wstring& text) {
  return ShowMessage(hwnd(), text, MessageKind::Confirmation, MB_YESNO) == IDYES;
}

void FriendsWindow::DeleteSelected() {
  const int sel = list_.Selected();
  if (sel < 0) return;
  const std::wstring path = list_.Text(sel);
  WindowLife life(*this);
  const bool deleted = DeleteListedFile(path, [this](const std::wstring& text) { return AskYes(text); });
  if (deleted && life.lives()) RemoveListedItem(sel, path);
}

void FriendsWindow::RecycleSelected() {
  const int sel = list_.Selected();
  if (sel < 0) return;
  const std::wstring path = list_.Text(sel);
  // The shell's operation runs a loop of its own.
  WindowLife life(*this);
  const bool recycled = RecycleFile(hwnd(), path);
  if (recycled && life.lives()) RemoveListedItem(sel, path);
}

bool FriendsWindow::TreeTakesDrop(POINT tree_client_point) const {
  return tree_.NodeAtPoint(tree_client_point) != nullptr;
}

void FriendsWindow::DropOnTree(POINT tree_client_point) {
  const int sel = list_.Selected();
  if (sel < 0) return;
  const HTREEITEM node = tree_.NodeAtPoint(tree_client_point);
  if (!node) return;
  const std::wstring source = list_.Text(sel);
  const bool copy = copy_mode_;
  WindowLife life(*this);
  const DropResult result =
      DropFileOnNode(source, tree_.NodePath(node), copy, [this](const std::wstring& text) { return AskYes(text); });
  if (!life.lives()) return;
  InvalidateRect(list_.hwnd(), nullptr, TRUE);
  if (!result.notice.empty())
    ShowMessage(hwnd(), result.notice, result.refused ? MessageKind::Warning : MessageKind::Information, MB_OK);
  if (!life.lives()) return;
  if (!copy && result.source_left) RemoveListedItem(sel, source);
}

void FriendsWindow::RemoveListedItem(int index_hint, const std::wstring& path) {
  // The questions were modal: the list may have changed under them.
  int at = -1;
  const int count = list_.Count();
  if (index_hint >= 0 && index_hint < count && list_.Text(index_hint) == path) {
    at = index_hint;
  } else {
    for (int i = 0; i < count && at < 0; ++i)
      if (list_.Text(i) == path) at = i;
  }
  if (at < 0) return;
  list_.Delete(at);
  UpdateTotalsAfterRemoval(path);
}

void FriendsWindow::UpdateTotalsAfterRemoval(const std::wstring& removed) {
  long long size = 0;
  if (auto it = item_sizes_.find(removed); it != item_sizes_.end()) {
    size = it->second;
    item_sizes_.erase(it);
  }
  total_bytes_ -= size;
  file_count_ -= 1;
  line_text_.clear();
  SetWindowTextW(hwnd(), TotalsCaption(file_count_, total_bytes_).c_str());
  counter_panel_.SetText(LineCounterText(line_text_, file_count_));
  file_panel_.SetText(L"");
  thumbnail_.Clear();
  ShowWindow(thumbnail_.hwnd(), SW_HIDE);
}

bool FriendsWindow::KeyMessage(MSG& msg, HACCEL accel) {
  if (searching_ && (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) && msg.wParam == VK_ESCAPE) {
    RequestStop();
    return true;
  }
  return accel && TranslateAcceleratorW(hwnd(), accel, &msg) != 0;
}

void FriendsWindow::StartBulkSearch() {
  // One walk or listing at a time: a click while one runs is let go.
  if (working() || RefusePathMask()) return;
  file_count_ = 0;
  total_bytes_ = 0;
  line_text_.clear();
  if (WindowText(mask_box_).empty()) SetWindowTextW(mask_box_, L"*.*");
  if (!tree_.tree().Selected()) return;
  const std::wstring mask_box = WindowText(mask_box_);
  search_dir_ = tree_.GetSelectedPath();
  search_mask_ = BulkSearchMask(mask_box);

  WindowLife life(*this);
  // An error nobody expected ends the walk like the list's refusal: what was
  // found is shown with its totals, then the error is reported.
  WalkEnd end = WalkEnd::kDone;
  std::exception_ptr failure;
  try {
    end = RunBulkSearch(mask_box);
  } catch (...) {
    failure = std::current_exception();
  }
  // A window that went, or a listing asked for while the search ran, which
  // replaces its results.
  if (!life.lives() || has_pending_) {
    ListPending(life);
    if (failure) std::rethrow_exception(failure);
    return;
  }

  const int count = list_.Count();
  if (count > 0) {
    info_panel_.SetText(BulkTotalsText(count, total_bytes_));
    SetWindowTextW(hwnd(), BulkTotalsCaption(count, total_bytes_).c_str());
    SetFilePanel(file_panel_.text(), kBlack);
  } else {
    SetFilePanel(kNoneBelowText, kRed);
    SetWindowTextW(hwnd(), kFriendsCaption);
    info_panel_.SetText(kChooseDirText);
  }
  ShowWindow(list_.hwnd(), SW_SHOW);
  // The scroll bar came and went while the list was hidden: its frame is
  // drawn again with it.
  RedrawWindow(list_.hwnd(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  // The list's complaint reaches the general report after the totals of
  // what it did take.
  if (failure) std::rethrow_exception(failure);
  if (end == WalkEnd::kListFull) throw Error(kListRefusedText);
  if (count > 0) {
    SetFocus(list_.hwnd());
    list_.Select(0);
    ShowSelectedItem();
  } else {
    SetFocus(tree_.hwnd());
  }
}

FriendsWindow::WalkEnd FriendsWindow::RunBulkSearch(const std::wstring& mask_box) {
  // Results stay in the order found.
  list_.SetSorted(false);
  list_.Clear();
  item_sizes_.clear();
  list_.ClearPictures();
  thumbnail_.Clear();
  ShowWindow(thumbnail_.hwnd(), SW_HIDE);
  // Escape must still reach this window once the list is hidden.
  if (GetFocus() == list_.hwnd()) SetFocus(hwnd());
  ShowWindow(list_.hwnd(), SW_HIDE);
  counter_panel_.SetText(search_dir_ + L" / " + search_mask_);
  file_panel_.SetText(L"");
  info_panel_.SetText(SearchingText(search_dir_));
  list_panel_.SetText(kStillSearchingText);

  WalkEnd end = WalkEnd::kDone;
  WindowLife life(*this);
  {
    Work work(*this);
    searching_ = true;
    struct Done {
      bool& searching;
      ~Done() { searching = false; }
    } done{searching_};
    Application::Get().ProcessMessages();
    BusyCursor busy;
    std::wstring current;
    DWORD shown_at = GetTickCount() - 1000;
    BulkSearchCallbacks callbacks;
    callbacks.on_directory = [&](const std::wstring& directory) { current = directory; };
    callbacks.on_file = [&](const std::wstring& folder, const DirEntry& file) {
      std::wstring path = folder;
      path.append(file.name);
      const LRESULT at = list_.Add(path);
      if (at == LB_ERR || at == LB_ERRSPACE) {
        end = WalkEnd::kListFull;
        return false;
      }
      ++file_count_;
      total_bytes_ += static_cast<long long>(file.size);
      item_sizes_.insert_or_assign(std::move(path), static_cast<long long>(file.size));
      return true;
    };
    callbacks.directory_done = [&] {
      // Text set between two rounds of message processing is never painted,
      // and painting at every directory slowed the walk by half: the texts
      // follow a few times a second.
      const DWORD tick = GetTickCount();
      if (tick - shown_at >= 50) {
        shown_at = tick;
        list_panel_.SetText(L"  " + current);
        // The directory and mask stay until a file is counted.
        if (file_count_ != 0) counter_panel_.SetText(LineCounterText(L"", file_count_));
      }
      Application::Get().ProcessMessages();
    };
    callbacks.stop_requested = [this] { return stop_requested(); };
    if (CollectFiles(SystemDirSource(), search_dir_, search_mask_, callbacks) == BulkSearchEnd::kStopped &&
        end == WalkEnd::kDone)
      end = WalkEnd::kStopped;
  }
  if (!life.lives()) return end;
  if (file_count_ != 0) counter_panel_.SetText(LineCounterText(L"", file_count_));
  if (end == WalkEnd::kListFull)
    ShowMessage(hwnd(), ListFullText(file_count_, kListRefusedText, mask_box), MessageKind::Information, MB_OK);
  return end;
}

}  // namespace velkor
