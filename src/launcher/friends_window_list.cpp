// The friends window's file list: the selection's feedback, the row and
// column commands, what its mouse and keys do, the pane commands and the
// grips of the panels.
#include <windowsx.h>

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "launcher/browser_texts.h"
#include "launcher/friends_window.h"
#include "launcher/friends_window_ids.h"
#include "launcher/file_items.h"
#include "platform/file_utils.h"
#include "ui/app.h"
#include "platform/dpi.h"
#include "platform/error.h"
#include "ui/message_box.h"
#include "platform/path_names.h"

namespace velkor {
namespace {

// A date-time value (days since 1899-12-30) in the system's short date and
// long time; a value without a time of day shows the date alone.
std::wstring DateTimeString(double value) {
  constexpr double kDaysFrom1601 = 109205.0;
  const double ticks = (value + kDaysFrom1601) * 864000000000.0 + 0.5;
  if (ticks < 0) return L"";
  const auto t = static_cast<unsigned long long>(ticks);
  const FILETIME ft{static_cast<DWORD>(t), static_cast<DWORD>(t >> 32)};
  SYSTEMTIME st{};
  if (!FileTimeToSystemTime(&ft, &st)) return L"";
  wchar_t date[80] = L"", time[80] = L"";
  GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, date, 80);
  std::wstring text = date;
  if (st.wHour || st.wMinute || st.wSecond) {
    GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &st, nullptr, time, 80);
    text += L" ";
    text += time;
  }
  return text;
}

}  // namespace

LRESULT GripPanel::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_LBUTTONDOWN:
      if (InGrip(GET_X_LPARAM(lp))) {
        SetCapture(hwnd());
        return 0;
      }
      break;
    case WM_MOUSEMOVE:
      if (GetCapture() == hwnd()) {
        const int x = GET_X_LPARAM(lp);
        RECT top{};
        GetWindowRect(GetAncestor(hwnd(), GA_ROOT), &top);
        if (x > 0 && x < top.right - top.left && on_resize) on_resize(x);
        return 0;
      }
      break;
    case WM_SETCURSOR:
      if (GetCapture() == hwnd()) {
        SetCursor(LoadCursorW(nullptr, IDC_SIZEWE));
        return TRUE;
      }
      // Over the panel itself, not over what it holds (the tree): the split
      // cursor inside the grip, the normal one elsewhere.
      if (reinterpret_cast<HWND>(wp) == hwnd() && LOWORD(lp) == HTCLIENT) {
        POINT p{};
        GetCursorPos(&p);
        ScreenToClient(hwnd(), &p);
        SetCursor(LoadCursorW(nullptr, InGrip(p.x) ? IDC_SIZEWE : IDC_ARROW));
        return TRUE;
      }
      break;
    case WM_LBUTTONUP:
      if (GetCapture() == hwnd()) {
        ReleaseCapture();
        return 0;
      }
      break;
  }
  return Panel::HandleMessage(msg, wp, lp);
}

bool GripPanel::InGrip(int x) const {
  RECT r{};
  GetClientRect(hwnd(), &r);
  return x > r.right - kGrip;
}

void FriendsWindow::ShowSelectedItem() {
  const int sel = list_.Selected();
  if (sel < 0) {
    file_panel_.SetText(L"");
    info_panel_.SetText(kChooseFileText);
    return;
  }
  selected_path_ = list_.Text(sel);
  line_text_ = std::to_wstring(sel + 1);
  selected_size_ = SizeOfFile(selected_path_);
  file_panel_.SetText(FriendNameText(RelativeName(selected_path_, tree_.GetSelectedPath())));
  info_panel_.SetText(SizeAndDateText(selected_size_, DateTimeString(DateOfFile(selected_path_))));
  mascot_.SetHint(L"クリックで起動");
  if (file_count_ != 0) counter_panel_.SetText(LineCounterText(line_text_, file_count_));

  thumbnail_.Clear();
  MoveWindow(thumbnail_.hwnd(), Scale(62), Scale(5), Scale(32), Scale(32), TRUE);
  BusyCursor busy;
  Picture picture = LoadSelectionPicture(selected_path_);
  const ItemKind kind = ItemKindOf(FileKindExtension(selected_path_));
  Size fitted;
  if ((kind == ItemKind::Bitmap || kind == ItemKind::Jpeg) &&
      FitThumbnail(32, picture.height(), picture.width(), fitted))
    MoveWindow(thumbnail_.hwnd(), Scale(62), Scale(5), Scale(fitted.w), Scale(fitted.h), TRUE);
  // Shown even without a picture: a click on its place opens the preview,
  // which then shows nothing at its default size.
  ShowWindow(thumbnail_.hwnd(), SW_SHOW);
  const bool unreadable_icon = kind == ItemKind::IconFile && picture.empty();
  thumbnail_.SetPicture(std::move(picture));
  // The texts above stand; the icon file the user chose is reported.
  if (unreadable_icon) throw Error(UnreadablePictureText(selected_path_));
}

void FriendsWindow::PreviewSelectedPicture() {
  const int sel = list_.Selected();
  if (sel < 0) return;
  ShowPicturePreview(hwnd(), list_.Text(sel), thumbnail_.picture());
}

void FriendsWindow::EnablePopupItems() {
  const UINT state = list_.Selected() >= 0 ? MF_ENABLED : MF_GRAYED;
  EnableMenuItem(popup_.get(), IDM_DIR_RECYCLE, MF_BYCOMMAND | state);
  EnableMenuItem(popup_.get(), IDM_DIR_DELETE, MF_BYCOMMAND | state);
}

void FriendsWindow::CheckMaskKey(wchar_t key, bool& handled) {
  WindowLife life(*this);
  if (WindowText(mask_box_).empty()) {
    ShowMessage(hwnd(), L"セレクト指定が、空欄になっています。\r\n例を参考にして、指定して下さい。\r\n\r\n＜指定例＞\r\n\r\n 例１    "
                L"*.EXE\r\n 例２    C*.EXE",
                MessageKind::Plain, MB_OK);
    handled = true;
    if (!life.lives()) return;
    SetWindowTextW(mask_box_, L"*.*");
    return;
  }
  if (key == L'\r') {
    handled = true;
    if (!ListDirectory(tree_.GetSelectedPath())) return;
    SetFocus(list_.hwnd());
  }
}

void FriendsWindow::ApplyMaskItem(int tag) {
  wchar_t caption[32] = L"";
  GetMenuStringW(menu_, static_cast<UINT>(IDM_DIR_MASK1 + tag), caption, 32, MF_BYCOMMAND);
  SetWindowTextW(mask_box_, caption);
  ListDirectory(tree_.GetSelectedPath());
}

void FriendsWindow::ChooseRows(int tag) {
  const RowFit fit = FitIconRows(list_.AvailableHeight(), tag);
  row_count_ = fit.rows;
  if (fit.item_height > 0) list_.SetItemHeight(fit.item_height);
  list_.ShowSelectionOnTop();
}

void FriendsWindow::SetColumns(int tag) {
  list_.SetColumns(tag);
  FormResize();
  list_.ShowSelectionOnTop();
}

void FriendsWindow::ShowGrid(int tag) {
  const int n = std::max(1, tag);
  row_count_ = n;
  ShowWindow(list_.hwnd(), SW_HIDE);
  // A list lower than a row keeps the rows it has, as the row commands do.
  if (list_.AvailableHeight() / n > 0) list_.SetItemHeight(list_.AvailableHeight() / n);
  list_.SetColumns(n);
  Layout();
  ShowWindow(list_.hwnd(), SW_SHOW);
  list_.ShowSelectionOnTop();
  SetFocus(list_.hwnd());
}

void FriendsWindow::ToggleIconMode() {
  list_.SetMultiIcon(!list_.multi_icon());
  if (list_.multi_icon()) {
    list_.SetItemHeight(Scale(74));
    const RowFit fit = FitIconRows(list_.AvailableHeight(), row_count_);
    row_count_ = fit.rows;
    if (fit.item_height > 0) list_.SetItemHeight(fit.item_height);
  } else {
    RECT r{};
    GetWindowRect(list_.hwnd(), &r);
    const RowFit fit = FitSingleIconRows(list_.AvailableHeight(), r.bottom - r.top);
    row_count_ = fit.rows;
    list_.SetItemHeight(fit.item_height);
  }
  list_.ShowSelectionOnTop();
}

void FriendsWindow::FormResize() {
  Layout();
  if (!list_.multi_icon() || !list_.hwnd()) return;
  const RowFit fit = FitIconRows(list_.AvailableHeight(), row_count_);
  if (fit.item_height <= 0) return;
  row_count_ = fit.rows;
  if (fit.item_height != list_.ItemHeight()) list_.SetItemHeight(fit.item_height);
}

void FriendsWindow::TogglePanes() {
  {
    NoRedraw frozen(list_.hwnd());
    for (HWND pane : {info_panel_.hwnd(), tree_panel_.hwnd(), button_row_.hwnd()})
      ShowWindow(pane, IsWindowVisible(pane) ? SW_HIDE : SW_SHOW);
    FormResize();
  }
  if (list_.Count() > 0 && list_.Selected() < 0) {
    SetFocus(list_.hwnd());
    list_.Select(0);
    ShowSelectedItem();
  }
}

void FriendsWindow::CloseFromMenu() { PostMessageW(hwnd(), WM_CLOSE, 0, 0); }

void FriendsWindow::EnableButtonImages(bool enabled) {
  for (PictureBox& image : button_images_) EnableWindow(image.hwnd(), enabled);
}

void FriendsWindow::ArmDrag(WPARAM wp, LPARAM lp) {
  const POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
  if (list_.ItemAt(p) < 0) return;
  EnableButtonImages(true);
  drag_armed_ = true;
  dragging_ = false;
  drag_start_ = p;
  copy_mode_ = (wp & MK_CONTROL) != 0;
}

FriendsWindow::DropTarget FriendsWindow::DropTargetAt(POINT screen) const {
  DropTarget target;
  // Another window over this one at the point takes nothing.
  const HWND under = WindowFromPoint(screen);
  if (!under || GetAncestor(under, GA_ROOT) != hwnd()) return target;
  for (int tag = 0; tag < 8; ++tag) {
    const HWND image = button_images_[static_cast<size_t>(tag)].hwnd();
    RECT r{};
    if (IsWindowVisible(image) && GetWindowRect(image, &r) && PtInRect(&r, screen)) {
      target.kind = DropTarget::Button;
      target.tag = tag;
      return target;
    }
  }
  RECT r{};
  if (IsWindowVisible(tree_.hwnd()) && GetWindowRect(tree_.hwnd(), &r) && PtInRect(&r, screen)) {
    POINT p = screen;
    ScreenToClient(tree_.hwnd(), &p);
    if (TreeTakesDrop(p)) {
      target.kind = DropTarget::Tree;
      target.tree_point = p;
    }
  }
  return target;
}

bool FriendsWindow::MoveDrag(POINT p) {
  if (!dragging_) {
    if (std::abs(p.x - drag_start_.x) < GetSystemMetrics(SM_CXDRAG) &&
        std::abs(p.y - drag_start_.y) < GetSystemMetrics(SM_CYDRAG))
      return false;
    dragging_ = true;
    if (GetCapture() != list_.hwnd()) SetCapture(list_.hwnd());
  }
  POINT screen = p;
  ClientToScreen(list_.hwnd(), &screen);
  SetCursor(LoadCursorW(nullptr, DropTargetAt(screen).accepted() ? IDC_HAND : IDC_NO));
  return true;
}

void FriendsWindow::EndDrag(const POINT* drop_at) {
  DropTarget target;
  if (drop_at) {
    POINT screen = *drop_at;
    ClientToScreen(list_.hwnd(), &screen);
    target = DropTargetAt(screen);
  }
  dragging_ = false;
  drag_armed_ = false;
  // The list lets go of the mouse as after any press, before a drop asks
  // its questions.
  list_.CallDefault(WM_LBUTTONUP, 0, MAKELPARAM(drag_start_.x, drag_start_.y));
  SetCursor(LoadCursorW(nullptr, IDC_ARROW));
  // A drop on the tree asks its questions: the window may go meanwhile.
  WindowLife life(*this);
  try {
    if (target.kind == DropTarget::Button && target.accepted()) {
      RegisterToButton(target.tag);
      DisableButtonImages();
    } else if (target.accepted()) {
      DropOnTree(target.tree_point);
    }
  } catch (...) {
    if (life.lives()) ResetDrag();
    throw;
  }
  if (life.lives()) ResetDrag();
}

// Also after a plain click: the images go back to letting clicks through to
// the buttons beneath them.
void FriendsWindow::ResetDrag() {
  copy_mode_ = false;
  drag_armed_ = false;
  dragging_ = false;
  DisableButtonImages();
}

void FriendsWindow::OpenItemMenu(LPARAM lp) {
  const POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
  const int under = list_.ItemAt(p);
  // What lies under the pointer now: the list may have scrolled under a
  // still pointer (the wheel), which no mouse move reported.
  hover_path_ = under >= 0 ? list_.Text(under) : std::wstring();
  list_.Select(under);
  if (selected_path_ != hover_path_) ShowSelectedItem();
  EnablePopupItems();
  POINT screen = p;
  ClientToScreen(list_.hwnd(), &screen);
  TrackPopupMenu(popup_.get(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, 0, hwnd(), nullptr);
}

void FriendsWindow::NoteHoveredItem(LPARAM lp) {
  const int under = list_.ItemAt(POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
  if (under >= 0) hover_path_ = list_.Text(under);
}

void FriendsWindow::StartOrShowAfterKey(WPARAM key, bool pressed_here) {
  // An Enter pressed in a menu or a box lets go over the list once they
  // have closed: it chose there, and starts nothing here.
  if (key == VK_RETURN && !pressed_here) return;
  if (key == VK_RETURN && list_.Selected() >= 0)
    StartSelected();
  else
    ShowSelectedItem();
}

LRESULT FriendsWindow::ListInput(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_LBUTTONDOWN: {
      const LRESULT r = list_.CallDefault(msg, wp, lp);
      ArmDrag(wp, lp);
      return r;
    }
    case WM_RBUTTONDOWN:
      OpenItemMenu(lp);
      return 0;
    case WM_MOUSEMOVE:
      if (drag_armed_) {
        if (!(wp & MK_LBUTTON)) {
          drag_armed_ = false;
        } else if (MoveDrag({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)})) {
          // The list would carry its selection along with the mouse.
          return 0;
        }
      }
      NoteHoveredItem(lp);
      break;
    case WM_SETCURSOR:
      if (dragging_) return TRUE;
      break;
    case WM_LBUTTONUP: {
      if (dragging_) {
        const POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        EndDrag(&p);
        return 0;
      }
      const LRESULT r = list_.CallDefault(msg, wp, lp);
      ResetDrag();
      return r;
    }
    case WM_CAPTURECHANGED:
      if (dragging_ && reinterpret_cast<HWND>(lp) != list_.hwnd()) {
        EndDrag(nullptr);
        return 0;
      }
      break;
    case WM_KEYDOWN:
    case WM_CHAR:
      if (msg == WM_KEYDOWN && wp == VK_RETURN) enter_down_ = true;
      if (dragging_) {
        // Keys would move the selection, and so change the file being carried.
        if (msg == WM_KEYDOWN && wp == VK_ESCAPE) EndDrag(nullptr);
        return 0;
      }
      if (msg == WM_CHAR && wp == L' ') {
        PreviewSelectedPicture();
        return 0;
      }
      break;
    case WM_KEYUP: {
      const LRESULT r = list_.CallDefault(msg, wp, lp);
      StartOrShowAfterKey(wp, wp == VK_RETURN && std::exchange(enter_down_, false));
      return r;
    }
    case WM_KILLFOCUS:
      enter_down_ = false;
      break;
  }
  return list_.CallDefault(msg, wp, lp);
}

LRESULT FriendsWindow::MaskKeysMessage(OwnedControl<FriendsWindow>& control, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CHAR) {
    bool handled = false;
    CheckMaskKey(static_cast<wchar_t>(wp), handled);
    if (handled) return 0;
  }
  return control.CallDefault(msg, wp, lp);
}

}  // namespace velkor
