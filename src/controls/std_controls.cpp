#include "controls/std_controls.h"

#include <algorithm>
#include <iterator>

namespace velkor {
namespace {

// Reads a text whose length the control reports first; a negative length is none.
template <typename Fill>
std::wstring TextOfLength(LRESULT length, Fill fill) {
  if (length <= 0) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT got = fill(text.data(), length + 1);
  text.resize(got > 0 && got <= length ? static_cast<size_t>(got) : static_cast<size_t>(length));
  return text;
}

int IndexOrNone(LRESULT index) { return index < 0 ? -1 : static_cast<int>(index); }

}  // namespace

std::wstring ListBox::Text(int index) const {
  return TextOfLength(Send(LB_GETTEXTLEN, static_cast<WPARAM>(index)), [&](wchar_t* buf, LRESULT) {
    return Send(LB_GETTEXT, static_cast<WPARAM>(index), buf);
  });
}

int ListBox::Selected() const { return IndexOrNone(Send(LB_GETCURSEL)); }

std::wstring ComboBox::Text(int index) const {
  return TextOfLength(Send(CB_GETLBTEXTLEN, static_cast<WPARAM>(index)), [&](wchar_t* buf, LRESULT) {
    return Send(CB_GETLBTEXT, static_cast<WPARAM>(index), buf);
  });
}

int ComboBox::Selected() const { return IndexOrNone(Send(CB_GETCURSEL)); }

int ComboBox::FindExact(const std::wstring& text) const {
  return IndexOrNone(Send(CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), text.c_str()));
}

HWND ComboBox::Edit() const {
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  if (GetComboBoxInfo(hwnd(), &info) && info.hwndItem) return info.hwndItem;
  return FindWindowExW(hwnd(), nullptr, L"EDIT", nullptr);
}

void StatusBar::SetParts(const std::vector<int>& right_edges) const {
  Send(SB_SETPARTS, right_edges.size(), right_edges.data());
}

std::wstring StatusBar::Text(int part) const {
  const LRESULT info = Send(SB_GETTEXTLENGTHW, static_cast<WPARAM>(part));
  return TextOfLength(LOWORD(info), [&](wchar_t* buf, LRESULT length) {
    Send(SB_GETTEXTW, static_cast<WPARAM>(part), buf);
    return length;
  });
}

int Header::Insert(int index, const std::wstring& text, int width, int fmt) const {
  HDITEMW item{};
  item.mask = HDI_TEXT | HDI_FORMAT | HDI_WIDTH;
  item.pszText = const_cast<wchar_t*>(text.c_str());
  item.fmt = fmt | HDF_STRING;
  item.cxy = width;
  return IndexOrNone(Send(HDM_INSERTITEMW, static_cast<WPARAM>(index), &item));
}

int Header::ItemWidth(int index) const {
  HDITEMW item{};
  item.mask = HDI_WIDTH;
  return Send(HDM_GETITEMW, static_cast<WPARAM>(index), &item) ? item.cxy : 0;
}

void Header::SetItemWidth(int index, int width) const {
  HDITEMW item{};
  item.mask = HDI_WIDTH;
  item.cxy = width;
  Send(HDM_SETITEMW, static_cast<WPARAM>(index), &item);
}

HTREEITEM TreeView::Insert(HTREEITEM parent, const std::wstring& text, LPARAM data, int image,
                           HTREEITEM after, int selected_image) const {
  TVINSERTSTRUCTW insert{};
  insert.hParent = parent ? parent : TVI_ROOT;
  insert.hInsertAfter = after;
  insert.item.mask = TVIF_TEXT | TVIF_PARAM;
  insert.item.pszText = const_cast<wchar_t*>(text.c_str());
  insert.item.lParam = data;
  if (image >= 0) {
    insert.item.mask |= TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.iImage = image;
    insert.item.iSelectedImage = selected_image >= 0 ? selected_image : image;
  }
  return reinterpret_cast<HTREEITEM>(Send(TVM_INSERTITEMW, 0, &insert));
}

std::wstring TreeView::Text(HTREEITEM item) const {
  // The control has no length query: a buffer as long as any item it shows.
  wchar_t buf[1024] = {};
  TVITEMW tv{};
  tv.mask = TVIF_TEXT;
  tv.hItem = item;
  tv.pszText = buf;
  tv.cchTextMax = static_cast<int>(std::size(buf));
  return Send(TVM_GETITEMW, 0, &tv) ? std::wstring(buf) : std::wstring();
}

LPARAM TreeView::Data(HTREEITEM item) const {
  TVITEMW tv{};
  tv.mask = TVIF_PARAM;
  tv.hItem = item;
  return Send(TVM_GETITEMW, 0, &tv) ? tv.lParam : 0;
}

void TreeView::SetData(HTREEITEM item, LPARAM data) const {
  TVITEMW tv{};
  tv.mask = TVIF_PARAM;
  tv.hItem = item;
  tv.lParam = data;
  Send(TVM_SETITEMW, 0, &tv);
}

int ListView::InsertColumn(int index, const std::wstring& title, int width, int fmt) const {
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
  column.pszText = const_cast<wchar_t*>(title.c_str());
  column.cx = width;
  column.fmt = fmt;
  return IndexOrNone(Send(LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), &column));
}

int ListView::Insert(int index, const std::wstring& text, LPARAM data, int image) const {
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_PARAM;
  item.iItem = index;
  item.pszText = const_cast<wchar_t*>(text.c_str());
  item.lParam = data;
  if (image >= 0) {
    item.mask |= LVIF_IMAGE;
    item.iImage = image;
  }
  return IndexOrNone(Send(LVM_INSERTITEMW, 0, &item));
}

void ListView::SetText(int index, int column, const std::wstring& text) const {
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = const_cast<wchar_t*>(text.c_str());
  Send(LVM_SETITEMTEXTW, static_cast<WPARAM>(index), &item);
}

std::wstring ListView::Text(int index, int column) const {
  // The control copies at most the buffer's length: grow until the text fits.
  for (size_t size = 256;; size *= 4) {
    std::wstring buf(size, L'\0');
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = buf.data();
    item.cchTextMax = static_cast<int>(size);
    const auto got = static_cast<size_t>(Send(LVM_GETITEMTEXTW, static_cast<WPARAM>(index), &item));
    if (got + 1 < size || size >= (1u << 20)) {
      buf.resize(std::min(got, size - 1));
      return buf;
    }
  }
}

LPARAM ListView::Data(int index) const {
  LVITEMW item{};
  item.mask = LVIF_PARAM;
  item.iItem = index;
  return Send(LVM_GETITEMW, 0, &item) ? item.lParam : 0;
}

void ListView::Select(int index) const {
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  Send(LVM_SETITEMSTATE, static_cast<WPARAM>(index), &item);
}

}  // namespace velkor
