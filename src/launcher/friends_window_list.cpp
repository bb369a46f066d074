// The friends window's file list: its drawing, the selection's feedback, the
// item height and column commands, its mouse and keys, the pane commands and
// the grips of the panels.
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

int FriendsWindow::AvailableHeight() const {
  RECT r{};
  GetWindowRect(list_, &r);
  return (r.bottom - r.top) - GetSystemMetrics(SM_CYHSCROLL);
}

void FriendsWindow::SetItemHeight(int height) {
  item_height_ = height;
  list_.SetItemHeight(std::min(height, 255));
  InvalidateRect(list_, nullptr, TRUE);
}

void FriendsWindow::KeepSelectionOnTop() {
  const int sel = list_.Selected();
  if (sel < 0) return;
  list_.SetTopIndex(sel);
  list_.Select(sel);
}

void FriendsWindow::DrawListItem(const DRAWITEMSTRUCT& item) {
  if (item.itemAction == ODA_FOCUS) {
    DrawFocusRect(item.hDC, &item.rcItem);
    return;
  }
  if (static_cast<int>(item.itemID) < 0) {
    FillRect(item.hDC, &item.rcItem, white_brush_.get());
    return;
  }
  RECT client{};
  GetClientRect(list_, &client);
  ItemLook look;
  // The control keeps rows of at most 255 pixels; a taller row asked for is drawn in the row it got.
  look.item_height = std::min(item_height_, static_cast<int>(item.rcItem.bottom - item.rcItem.top));
  look.column_width = client.right / columns_;
  look.multi_icon = multi_icon_;
  look.selected = (item.itemState & ODS_SELECTED) != 0;
  SelectObjectScope font(item.hDC, list_font_.get());
  SetTextColor(item.hDC, look.selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : RGB(0, 0, 0));
  SetBkColor(item.hDC, look.selected ? GetSysColor(COLOR_HIGHLIGHT) : RGB(255, 255, 255));
  painter_.Draw(item.hDC, item.rcItem, list_.Text(static_cast<int>(item.itemID)), look);
  if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &item.rcItem);
}

void FriendsWindow::ShowSelectedItem() {
  const int sel = list_.Selected();
  if (sel < 0) {
    file_panel_.SetText(L"");
    dir_panel1_.SetText(kChooseFileText);
    return;
  }
  selected_path_ = list_.Text(sel);
  line_text_ = std::to_wstring(sel + 1);
  selected_size_ = SizeOfFile(selected_path_);
  file_panel_.SetText(FriendNameText(RelativeName(selected_path_, tree_.GetSelectedPath())));
  dir_panel1_.SetText(SizeAndDateText(selected_size_, DateTimeString(DateOfFile(selected_path_))));
  vel_bt_.SetHint(L"クリックで起動");
  if (file_count_ != 0) dir_panel_.SetText(LineCounterText(line_text_, file_count_));

  image1_.Clear();
  MoveWindow(image1_.hwnd(), Scale(62), Scale(5), Scale(32), Scale(32), TRUE);
  BusyCursor busy;
  Picture picture = LoadSelectionPicture(selected_path_);
  const ItemKind kind = ItemKindOf(FileKindExtension(selected_path_));
  Size fitted;
  if ((kind == ItemKind::Bitmap || kind == ItemKind::Jpeg) &&
      FitThumbnail(32, picture.height(), picture.width(), fitted))
    MoveWindow(image1_.hwnd(), Scale(62), Scale(5), Scale(fitted.w), Scale(fitted.h), TRUE);
  // Shown even without a picture: a click on its place opens the preview,
  // which then shows nothing at its default size.
  ShowWindow(image1_.hwnd(), SW_SHOW);
  const bool unreadable_icon = kind == ItemKind::IconFile && picture.empty();
  image1_.SetPicture(std::move(picture));
  // The texts above stand; the icon file the user chose is reported.
  if (unreadable_icon) throw Error(UnreadablePictureText(selected_path_));
}

void FriendsWindow::PreviewSelectedPicture() {
  const int sel = list_.Selected();
  if (sel < 0) return;
  ShowPicturePreview(hwnd(), list_.Text(sel), image1_.picture());
}

void FriendsWindow::EnablePopupItems() {
  const UINT state = list_.Selected() >= 0 ? MF_ENABLED : MF_GRAYED;
  EnableMenuItem(popup_.get(), IDM_DIR_GOMI, MF_BYCOMMAND | state);
  EnableMenuItem(popup_.get(), IDM_DIR_DELETE, MF_BYCOMMAND | state);
}

void FriendsWindow::FileEditKeyPress(wchar_t key, bool& handled) {
  WindowLife life(*this);
  if (WindowText(file_edit_).empty()) {
    ShowMessage(hwnd(), L"セレクト指定が、空欄になっています。\r\n例を参考にして、指定して下さい。\r\n\r\n＜指定例＞\r\n\r\n 例１    "
                L"*.EXE\r\n 例２    C*.EXE",
                MessageKind::Plain, MB_OK);
    handled = true;
    if (!life.lives()) return;
    SetWindowTextW(file_edit_, L"*.*");
    return;
  }
  if (key == L'\r') {
    handled = true;
    if (!ListDirectory(tree_.GetSelectedPath())) return;
    SetFocus(list_);
  }
}

void FriendsWindow::ApplyMaskItem(int tag) {
  wchar_t caption[32] = L"";
  GetMenuStringW(menu_, static_cast<UINT>(IDM_DIR_MASK1 + tag), caption, 32, MF_BYCOMMAND);
  SetWindowTextW(file_edit_, caption);
  ListDirectory(tree_.GetSelectedPath());
}

void FriendsWindow::ChooseRows(int tag) {
  const RowFit fit = FitIconRows(AvailableHeight(), tag);
  row_count_ = fit.rows;
  if (fit.item_height > 0) SetItemHeight(fit.item_height);
  KeepSelectionOnTop();
}

void FriendsWindow::SetColumns(int tag) {
  columns_ = std::max(1, tag);
  FormResize();
  KeepSelectionOnTop();
}

void FriendsWindow::ShowGrid(int tag) {
  const int n = std::max(1, tag);
  row_count_ = n;
  ShowWindow(list_, SW_HIDE);
  // A list lower than a row keeps the rows it has, as the row commands do.
  if (AvailableHeight() / n > 0) SetItemHeight(AvailableHeight() / n);
  columns_ = n;
  Layout();
  ShowWindow(list_, SW_SHOW);
  KeepSelectionOnTop();
  SetFocus(list_);
}

void FriendsWindow::ToggleIconMode() {
  multi_icon_ = !multi_icon_;
  if (multi_icon_) {
    SetItemHeight(Scale(74));
    const RowFit fit = FitIconRows(AvailableHeight(), row_count_);
    row_count_ = fit.rows;
    if (fit.item_height > 0) SetItemHeight(fit.item_height);
  } else {
    RECT r{};
    GetWindowRect(list_, &r);
    const RowFit fit = FitSingleIconRows(AvailableHeight(), r.bottom - r.top);
    row_count_ = fit.rows;
    SetItemHeight(fit.item_height);
  }
  KeepSelectionOnTop();
  InvalidateRect(list_, nullptr, TRUE);
}

void FriendsWindow::FormResize() {
  Layout();
  if (!multi_icon_ || !list_.hwnd()) return;
  const RowFit fit = FitIconRows(AvailableHeight(), row_count_);
  if (fit.item_height <= 0) return;
  row_count_ = fit.rows;
  if (fit.item_height != item_height_) SetItemHeight(fit.item_height);
}

void FriendsWindow::TogglePanes() {
  SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
  for (HWND pane : {dir_panel1_.hwnd(), tree_panel_.hwnd(), btn_panel_.hwnd()})
    ShowWindow(pane, IsWindowVisible(pane) ? SW_HIDE : SW_SHOW);
  FormResize();
  SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list_, nullptr, TRUE);
  if (list_.Count() > 0 && list_.Selected() < 0) {
    SetFocus(list_);
    list_.Select(0);
    ShowSelectedItem();
  }
}

void FriendsWindow::CloseFromMenu() { PostMessageW(hwnd(), WM_CLOSE, 0, 0); }

void FriendsWindow::EnableButtonImages(bool enabled) {
  for (PictureBox& image : simages_) EnableWindow(image.hwnd(), enabled);
}

int FriendsWindow::ItemAt(POINT p) const {
  const LRESULT hit = SendMessageW(list_, LB_ITEMFROMPOINT, 0, MAKELPARAM(p.x, p.y));
  if (HIWORD(hit) != 0) return -1;
  RECT r{};
  SendMessageW(list_, LB_GETITEMRECT, LOWORD(hit), reinterpret_cast<LPARAM>(&r));
  return PtInRect(&r, p) ? static_cast<int>(LOWORD(hit)) : -1;
}

void FriendsWindow::ListBox1MouseDown(UINT, WPARAM wp, LPARAM lp) {
  const POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
  if (ItemAt(p) < 0) return;
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
    const HWND image = simages_[static_cast<size_t>(tag)].hwnd();
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
    if (DirList1DragOver(p)) {
      target.kind = DropTarget::Tree;
      target.tree_point = p;
    }
  }
  return target;
}

bool FriendsWindow::ListBox1DragMove(POINT p) {
  if (!dragging_) {
    if (std::abs(p.x - drag_start_.x) < GetSystemMetrics(SM_CXDRAG) &&
        std::abs(p.y - drag_start_.y) < GetSystemMetrics(SM_CYDRAG))
      return false;
    dragging_ = true;
    if (GetCapture() != list_.hwnd()) SetCapture(list_);
  }
  POINT screen = p;
  ClientToScreen(list_, &screen);
  SetCursor(LoadCursorW(nullptr, DropTargetAt(screen).accepted() ? IDC_HAND : IDC_NO));
  return true;
}

void FriendsWindow::ListBox1DragEnd(OwnedControl<FriendsWindow>& control, const POINT* drop_at) {
  DropTarget target;
  if (drop_at) {
    POINT screen = *drop_at;
    ClientToScreen(list_, &screen);
    target = DropTargetAt(screen);
  }
  dragging_ = false;
  drag_armed_ = false;
  // The list lets go of the mouse as after any press, before a drop asks
  // its questions.
  control.CallDefault(WM_LBUTTONUP, 0, MAKELPARAM(drag_start_.x, drag_start_.y));
  SetCursor(LoadCursorW(nullptr, IDC_ARROW));
  // A drop on the tree asks its questions: the window may go meanwhile.
  WindowLife life(*this);
  try {
    if (target.kind == DropTarget::Button && target.accepted()) {
      RegisterToButton(target.tag);
      DisableButtonImages();
    } else if (target.accepted()) {
      DirList1DragDrop(target.tree_point);
    }
  } catch (...) {
    if (life.lives()) ListBox1EndDrag();
    throw;
  }
  if (life.lives()) ListBox1EndDrag();
}

// Also after a plain click: the images go back to letting clicks through to
// the buttons beneath them.
void FriendsWindow::ListBox1EndDrag() {
  copy_mode_ = false;
  drag_armed_ = false;
  dragging_ = false;
  DisableButtonImages();
}

void FriendsWindow::ListBox1RightDown(LPARAM lp) {
  const POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
  const int under = ItemAt(p);
  // What lies under the pointer now: the list may have scrolled under a
  // still pointer (the wheel), which no mouse move reported.
  hover_path_ = under >= 0 ? list_.Text(under) : std::wstring();
  list_.Select(under);
  if (selected_path_ != hover_path_) ShowSelectedItem();
  EnablePopupItems();
  POINT screen = p;
  ClientToScreen(list_, &screen);
  TrackPopupMenu(popup_.get(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, 0, hwnd(), nullptr);
}

void FriendsWindow::ListBox1MouseMove(LPARAM lp) {
  const int under = ItemAt(POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
  if (under >= 0) hover_path_ = list_.Text(under);
}

void FriendsWindow::ListBox1KeyUp(WPARAM key, bool pressed_here) {
  // An Enter pressed in a menu or a box lets go over the list once they
  // have closed: it chose there, and starts nothing here.
  if (key == VK_RETURN && !pressed_here) return;
  if (key == VK_RETURN && list_.Selected() >= 0)
    StartSelected();
  else
    ShowSelectedItem();
}

LRESULT FriendsWindow::ListBox1Message(OwnedControl<FriendsWindow>& control, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      // The items drawn in one paint wait under one hourglass.
      BusyBatch paint;
      return control.CallDefault(msg, wp, lp);
    }
    case WM_LBUTTONDOWN: {
      const LRESULT r = control.CallDefault(msg, wp, lp);
      ListBox1MouseDown(msg, wp, lp);
      return r;
    }
    case WM_RBUTTONDOWN:
      ListBox1RightDown(lp);
      return 0;
    case WM_MOUSEMOVE:
      if (drag_armed_) {
        if (!(wp & MK_LBUTTON)) {
          drag_armed_ = false;
        } else if (ListBox1DragMove({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)})) {
          // The list would carry its selection along with the mouse.
          return 0;
        }
      }
      ListBox1MouseMove(lp);
      break;
    case WM_SETCURSOR:
      if (dragging_) return TRUE;
      break;
    case WM_LBUTTONUP: {
      if (dragging_) {
        const POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        ListBox1DragEnd(control, &p);
        return 0;
      }
      const LRESULT r = control.CallDefault(msg, wp, lp);
      ListBox1EndDrag();
      return r;
    }
    case WM_CAPTURECHANGED:
      if (dragging_ && reinterpret_cast<HWND>(lp) != list_.hwnd()) {
        ListBox1DragEnd(control, nullptr);
        return 0;
      }
      break;
    case WM_KEYDOWN:
    case WM_CHAR:
      if (msg == WM_KEYDOWN && wp == VK_RETURN) enter_down_ = true;
      if (dragging_) {
        // Keys would move the selection, and so change the file being carried.
        if (msg == WM_KEYDOWN && wp == VK_ESCAPE) ListBox1DragEnd(control, nullptr);
        return 0;
      }
      if (msg == WM_CHAR && wp == L' ') {
        PreviewSelectedPicture();
        return 0;
      }
      break;
    case WM_KEYUP: {
      const LRESULT r = control.CallDefault(msg, wp, lp);
      ListBox1KeyUp(wp, wp == VK_RETURN && std::exchange(enter_down_, false));
      return r;
    }
    case WM_KILLFOCUS:
      enter_down_ = false;
      break;
  }
  return control.CallDefault(msg, wp, lp);
}

LRESULT FriendsWindow::FileEditMessage(OwnedControl<FriendsWindow>& control, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CHAR) {
    bool handled = false;
    FileEditKeyPress(static_cast<wchar_t>(wp), handled);
    if (handled) return 0;
  }
  return control.CallDefault(msg, wp, lp);
}

}  // namespace velkor
