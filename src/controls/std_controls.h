#pragma once
// Typed access to the system's controls: each class holds a control's handle
// (it owns nothing and converts to HWND, like ATL's CWindow) and turns the
// control's messages into calls, so that call sites need no casts. Indexes
// count from 0; "none" is -1.
#include <string>
#include <utility>
#include <vector>

#include "platform/win32.h"

namespace velkor {

class ControlHandle {
 public:
  ControlHandle() = default;
  explicit ControlHandle(HWND hwnd) : hwnd_(hwnd) {}
  HWND hwnd() const { return hwnd_; }
  operator HWND() const { return hwnd_; }

 protected:
  LRESULT Send(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const { return SendMessageW(hwnd_, msg, wp, lp); }
  template <typename T>
  LRESULT Send(UINT msg, WPARAM wp, T* p) const {
    return SendMessageW(hwnd_, msg, wp, reinterpret_cast<LPARAM>(p));
  }

 private:
  HWND hwnd_ = nullptr;
};

// A push button, check box or radio button.
class Button : public ControlHandle {
 public:
  using ControlHandle::ControlHandle;
  bool checked() const { return Send(BM_GETCHECK) == BST_CHECKED; }
  void SetChecked(bool checked) const { Send(BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED); }
  void Click() const { Send(BM_CLICK); }
};

// A single-line or multi-line edit control.
class EditBox : public ControlHandle {
 public:
  using ControlHandle::ControlHandle;
  void SetLimit(int chars) const { Send(EM_SETLIMITTEXT, static_cast<WPARAM>(chars)); }
  bool modified() const { return Send(EM_GETMODIFY) != 0; }
  void SetModified(bool modified) const { Send(EM_SETMODIFY, modified ? TRUE : FALSE); }
  void SelectAll() const { Send(EM_SETSEL, 0, -1); }
  // The selection as start and end character positions.
  std::pair<int, int> Selection() const {
    DWORD start = 0, end = 0;
    Send(EM_GETSEL, reinterpret_cast<WPARAM>(&start), &end);
    return {static_cast<int>(start), static_cast<int>(end)};
  }
};

// A tab control.
class TabControl : public ControlHandle {
 public:
  using ControlHandle::ControlHandle;
  void InsertTab(int index, const wchar_t* text) const {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(text);
    Send(TCM_INSERTITEMW, static_cast<WPARAM>(index), &item);
  }
  int Selected() const { return static_cast<int>(Send(TCM_GETCURSEL)); }
  // The display area within the control's client area.
  RECT DisplayArea() const {
    RECT area{};
    GetClientRect(hwnd(), &area);
    Send(TCM_ADJUSTRECT, FALSE, &area);
    return area;
  }
};

// An up-down control.
class UpDown : public ControlHandle {
 public:
  using ControlHandle::ControlHandle;
  void SetBuddy(HWND buddy) const { Send(UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy)); }
  void SetRange(int low, int high) const { Send(UDM_SETRANGE32, static_cast<WPARAM>(low), high); }
  void SetPosition(int position) const { Send(UDM_SETPOS32, 0, position); }
  int Position() const { return static_cast<int>(Send(UDM_GETPOS32)); }
};

class ListBox : public ControlHandle {
 public:
  using ControlHandle::ControlHandle;
  int Count() const { return static_cast<int>(Send(LB_GETCOUNT)); }
  int Add(const std::wstring& text) const { return static_cast<int>(Send(LB_ADDSTRING, 0, text.c_str())); }
  int Insert(int index, const std::wstring& text) const {
    return static_cast<int>(Send(LB_INSERTSTRING, static_cast<WPARAM>(index), text.c_str()));
  }
  void Delete(int index) const { Send(LB_DELETESTRING, static_cast<WPARAM>(index)); }
  void Clear() const { Send(LB_RESETCONTENT); }
  std::wstring Text(int index) const;
  int Selected() const;
  void Select(int index) const { Send(LB_SETCURSEL, static_cast<WPARAM>(index)); }
  LPARAM Data(int index) const { return Send(LB_GETITEMDATA, static_cast<WPARAM>(index)); }
  void SetData(int index, LPARAM data) const { Send(LB_SETITEMDATA, static_cast<WPARAM>(index), data); }
  int ItemHeight(int index = 0) const { return static_cast<int>(Send(LB_GETITEMHEIGHT, static_cast<WPARAM>(index))); }
  void SetItemHeight(int height, int index = 0) const { Send(LB_SETITEMHEIGHT, static_cast<WPARAM>(index), height); }
  int TopIndex() const { return static_cast<int>(Send(LB_GETTOPINDEX)); }
  void SetTopIndex(int index) const { Send(LB_SETTOPINDEX, static_cast<WPARAM>(index)); }
  int HorizontalExtent() const { return static_cast<int>(Send(LB_GETHORIZONTALEXTENT)); }
  void SetHorizontalExtent(int pixels) const { Send(LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(pixels)); }
};

class ComboBox : public ControlHandle {
 public:
  using ControlHandle::ControlHandle;
  int Count() const { return static_cast<int>(Send(CB_GETCOUNT)); }
  int Add(const std::wstring& text) const { return static_cast<int>(Send(CB_ADDSTRING, 0, text.c_str())); }
  void Clear() const { Send(CB_RESETCONTENT); }
  std::wstring Text(int index) const;
  int Selected() const;
  void Select(int index) const { Send(CB_SETCURSEL, static_cast<WPARAM>(index)); }
  int FindExact(const std::wstring& text) const;
  // The edit control of a drop-down combo box.
  HWND Edit() const;
};

class StatusBar : public ControlHandle {
 public:
  using ControlHandle::ControlHandle;
  // The right edges of the parts; -1 reaches the end of the bar.
  void SetParts(const std::vector<int>& right_edges) const;
  void SetText(int part, const std::wstring& text) const {
    Send(SB_SETTEXTW, static_cast<WPARAM>(part), text.c_str());
  }
  std::wstring Text(int part) const;
  // The bar takes its place at the bottom of its parent again.
  void Reposition() const { Send(WM_SIZE); }
};

class Header : public ControlHandle {
 public:
  using ControlHandle::ControlHandle;
  int Count() const { return static_cast<int>(Send(HDM_GETITEMCOUNT)); }
  // fmt: HDF_LEFT, HDF_CENTER or HDF_RIGHT.
  int Insert(int index, const std::wstring& text, int width, int fmt = HDF_LEFT) const;
  int ItemWidth(int index) const;
  void SetItemWidth(int index, int width) const;
};

class TreeView : public ControlHandle {
 public:
  using ControlHandle::ControlHandle;
  // image: the image-list index for the item; -1 for none. selected_image:
  // the index while it is selected; -1 for the same as image.
  HTREEITEM Insert(HTREEITEM parent, const std::wstring& text, LPARAM data = 0, int image = -1,
                   HTREEITEM after = TVI_LAST, int selected_image = -1) const;
  void Delete(HTREEITEM item) const { Send(TVM_DELETEITEM, 0, item); }
  void Clear() const { Send(TVM_DELETEITEM, 0, TVI_ROOT); }
  HTREEITEM Selected() const { return Next(nullptr, TVGN_CARET); }
  void Select(HTREEITEM item) const { Send(TVM_SELECTITEM, TVGN_CARET, item); }
  void Expand(HTREEITEM item, bool expand = true) const {
    Send(TVM_EXPAND, expand ? TVE_EXPAND : TVE_COLLAPSE, item);
  }
  HTREEITEM Root() const { return Next(nullptr, TVGN_ROOT); }
  HTREEITEM Parent(HTREEITEM item) const { return Next(item, TVGN_PARENT); }
  HTREEITEM Child(HTREEITEM item) const { return Next(item, TVGN_CHILD); }
  HTREEITEM NextSibling(HTREEITEM item) const { return Next(item, TVGN_NEXT); }
  std::wstring Text(HTREEITEM item) const;
  LPARAM Data(HTREEITEM item) const;
  void SetData(HTREEITEM item, LPARAM data) const;
  void SetImageList(HIMAGELIST images) const { Send(TVM_SETIMAGELIST, TVSIL_NORMAL, images); }

 private:
  HTREEITEM Next(HTREEITEM item, UINT relation) const {
    return reinterpret_cast<HTREEITEM>(Send(TVM_GETNEXTITEM, relation, item));
  }
};

class ListView : public ControlHandle {
 public:
  using ControlHandle::ControlHandle;
  // fmt: LVCFMT_LEFT, LVCFMT_CENTER or LVCFMT_RIGHT.
  int InsertColumn(int index, const std::wstring& title, int width, int fmt = LVCFMT_LEFT) const;
  int Insert(int index, const std::wstring& text, LPARAM data = 0, int image = -1) const;
  void SetText(int index, int column, const std::wstring& text) const;
  std::wstring Text(int index, int column) const;
  LPARAM Data(int index) const;
  int Count() const { return static_cast<int>(Send(LVM_GETITEMCOUNT)); }
  void Clear() const { Send(LVM_DELETEALLITEMS); }
  int Selected() const { return static_cast<int>(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED)); }
  void Select(int index) const;
  void SetExtendedStyle(DWORD mask, DWORD style) const { Send(LVM_SETEXTENDEDLISTVIEWSTYLE, mask, style); }
  // kind: LVSIL_NORMAL, LVSIL_SMALL or LVSIL_STATE.
  void SetImageList(HIMAGELIST images, int kind = LVSIL_SMALL) const {
    Send(LVM_SETIMAGELIST, static_cast<WPARAM>(kind), images);
  }
};

// An image list that the object owns: destroyed with it unless handed over.
class ImageList {
 public:
  // flags: ILC_COLOR32, ILC_MASK...
  ImageList(int width, int height, UINT flags, int initial = 4, int grow = 4)
      : images_(ImageList_Create(width, height, flags, initial, grow)) {}
  ~ImageList() {
    if (images_) ImageList_Destroy(images_);
  }
  ImageList(const ImageList&) = delete;
  ImageList& operator=(const ImageList&) = delete;

  HIMAGELIST get() const { return images_; }
  // For a control that destroys its list itself (LVS_SHAREIMAGELISTS not set).
  HIMAGELIST release() { return std::exchange(images_, nullptr); }
  int Count() const { return ImageList_GetImageCount(images_); }
  int Add(HBITMAP bitmap, COLORREF transparent) const { return ImageList_AddMasked(images_, bitmap, transparent); }
  int Add(HICON icon) const { return ImageList_AddIcon(images_, icon); }

 private:
  HIMAGELIST images_;
};

}  // namespace velkor
