#include "launcher/file_list_box.h"

#include <imm.h>

#include <algorithm>
#include <utility>

#include "controls/std_controls.h"
#include "platform/dpi.h"
#include "platform/error.h"
#include "ui/app.h"

namespace velkor {
namespace {

// What the list box keeps of a row's height.
constexpr int kMaxControlRow = 255;

}  // namespace

FileListBox::FileListBox() = default;

FileListBox::~FileListBox() {
  if (hwnd()) DestroyWindow(hwnd());
}

void FileListBox::Create(HWND parent, int id, const RECT& bounds, bool sorted, Input input) {
  input_ = std::move(input);
  // The pictures' captions stand 15 pixels below their names.
  font_.reset(CreateFontW(-Scale(15), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH, L"ＭＳ ゴシック"));
  white_.reset(CreateSolidBrush(RGB(255, 255, 255)));
  item_height_ = Scale(74);
  sorted_ = sorted;
  Make(parent, id, bounds, WS_VISIBLE);
}

void FileListBox::Make(HWND parent, int id, const RECT& bounds, DWORD visible) {
  const DWORD style = WS_CHILD | WS_TABSTOP | WS_HSCROLL | LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS |
                      LBS_MULTICOLUMN | LBS_NOINTEGRALHEIGHT | (sorted_ ? LBS_SORT : 0) | visible;
  if (!CreateControl(0, L"LISTBOX", style, bounds, parent, id))
    throw Error(L"お友達のウィンドウのコントロールを作成できません。");
  SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  // File names are picked, not typed: the input method stays closed over the list.
  ImmAssociateContext(hwnd(), nullptr);
  FitColumnWidth();
}

void FileListBox::SetSorted(bool sorted) {
  const HWND old = hwnd();
  if (!old || sorted == sorted_) return;
  const HWND parent = GetParent(old);
  const int id = GetDlgCtrlID(old);
  const DWORD visible = IsWindowVisible(old) ? WS_VISIBLE : 0;
  const bool focused = GetFocus() == old;
  RECT r{};
  GetWindowRect(old, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  DestroyWindow(old);
  sorted_ = sorted;
  Make(parent, id, r, visible);
  if (focused) SetFocus(hwnd());
}

int FileListBox::Count() const { return ListBox(hwnd()).Count(); }
std::wstring FileListBox::Text(int index) const { return ListBox(hwnd()).Text(index); }
int FileListBox::Selected() const { return ListBox(hwnd()).Selected(); }
void FileListBox::Select(int index) const { ListBox(hwnd()).Select(index); }
LRESULT FileListBox::Add(const std::wstring& path) const {
  return SendMessageW(hwnd(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(path.c_str()));
}
void FileListBox::Delete(int index) const {
  ListBox(hwnd()).Delete(index);
  InvalidateRect(hwnd(), nullptr, TRUE);
}
void FileListBox::Clear() const { ListBox(hwnd()).Clear(); }
int FileListBox::ControlItemHeight() const { return ListBox(hwnd()).ItemHeight(); }

int FileListBox::ItemAt(POINT p) const {
  const LRESULT hit = SendMessageW(hwnd(), LB_ITEMFROMPOINT, 0, MAKELPARAM(p.x, p.y));
  if (HIWORD(hit) != 0) return -1;
  RECT r{};
  SendMessageW(hwnd(), LB_GETITEMRECT, LOWORD(hit), reinterpret_cast<LPARAM>(&r));
  return PtInRect(&r, p) ? static_cast<int>(LOWORD(hit)) : -1;
}

void FileListBox::SetItemHeight(int height) {
  item_height_ = height;
  ListBox(hwnd()).SetItemHeight(std::min(height, kMaxControlRow));
  InvalidateRect(hwnd(), nullptr, TRUE);
}

void FileListBox::SetColumns(int columns) {
  columns_ = std::max(1, columns);
  FitColumnWidth();
}

void FileListBox::SetMultiIcon(bool on) {
  multi_icon_ = on;
  InvalidateRect(hwnd(), nullptr, TRUE);
}

int FileListBox::AvailableHeight() const {
  RECT r{};
  GetWindowRect(hwnd(), &r);
  return (r.bottom - r.top) - GetSystemMetrics(SM_CYHSCROLL);
}

void FileListBox::SetBounds(int x, int y, int w, int h) {
  MoveWindow(hwnd(), x, y, w, h, TRUE);
  FitColumnWidth();
}

void FileListBox::FitColumnWidth() const {
  RECT r{};
  GetWindowRect(hwnd(), &r);
  SendMessageW(hwnd(), LB_SETCOLUMNWIDTH, static_cast<WPARAM>(std::max(1, static_cast<int>(r.right - r.left) / columns_)),
               0);
}

void FileListBox::ShowSelectionOnTop() const {
  const ListBox box(hwnd());
  const int sel = box.Selected();
  if (sel < 0) return;
  box.SetTopIndex(sel);
  box.Select(sel);
}

void FileListBox::ClearPictures() { painter_.Clear(); }

LRESULT FileListBox::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_PAINT) {
    // The items drawn in one paint wait under one hourglass.
    BusyBatch paint;
    return DefaultProc(msg, wp, lp);
  }
  return input_ ? input_(msg, wp, lp) : DefaultProc(msg, wp, lp);
}

bool FileListBox::OnMeasureItem(MEASUREITEMSTRUCT& item) {
  item.itemHeight = static_cast<UINT>(std::min(item_height_, kMaxControlRow));
  return true;
}

HBRUSH FileListBox::OnColor(HDC) { return white_.get(); }

bool FileListBox::OnDrawItem(const DRAWITEMSTRUCT& item) {
  if (item.itemAction == ODA_FOCUS) {
    DrawFocusRect(item.hDC, &item.rcItem);
    return true;
  }
  if (static_cast<int>(item.itemID) < 0) {
    FillRect(item.hDC, &item.rcItem, white_.get());
    return true;
  }
  RECT client{};
  GetClientRect(hwnd(), &client);
  ItemLook look;
  // A row taller than the list box keeps is drawn in the row it got.
  look.item_height = std::min(item_height_, static_cast<int>(item.rcItem.bottom - item.rcItem.top));
  look.column_width = client.right / columns_;
  look.multi_icon = multi_icon_;
  look.selected = (item.itemState & ODS_SELECTED) != 0;
  SelectObjectScope font(item.hDC, font_.get());
  SetTextColor(item.hDC, look.selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : RGB(0, 0, 0));
  SetBkColor(item.hDC, look.selected ? GetSysColor(COLOR_HIGHLIGHT) : RGB(255, 255, 255));
  painter_.Draw(item.hDC, item.rcItem, Text(static_cast<int>(item.itemID)), look);
  if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &item.rcItem);
  return true;
}

}  // namespace velkor
