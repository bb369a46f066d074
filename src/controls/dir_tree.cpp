#include "controls/dir_tree.h"

#include <cwctype>

#include "controls/dir_tree_logic.h"
#include "ui/app.h"
#include "platform/dir_walk.h"
#include "platform/error.h"
#include "platform/scoped.h"

namespace velkor {

namespace {

// A node's lParam: whether the level below it has been read.
constexpr LPARAM kRead = 1;

int CompareNames(const std::wstring& a, const std::wstring& b) {
  return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), static_cast<int>(a.size()), b.c_str(),
                        static_cast<int>(b.size())) - CSTR_EQUAL;
}

// The path must be found as an entry itself: a drive root or a path with a
// trailing backslash names no entry.
bool IsExistingDir(const std::wstring& path) {
  if (path.empty()) return false;
  WIN32_FIND_DATAW data;
  ScopedFind find(FindFirstFileW(path.c_str(), &data));
  if (find.get() == INVALID_HANDLE_VALUE) return false;
  const std::wstring name = data.cFileName;
  return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != L"." && name != L"..";
}

}  // namespace

DirTree::DirTree() = default;

DirTree::~DirTree() {
  if (hwnd()) DestroyWindow(hwnd());
  if (images_) ImageList_Destroy(images_);
}

void DirTree::Create(HWND parent, int id, int x, int y, int w, int h, DWORD extra_style) {
  HWND tree = CreateWindowExW(WS_EX_CLIENTEDGE, WC_TREEVIEWW, L"",
                              WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT |
                                  extra_style,
                              x, y, w, h, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                              GetModuleHandleW(nullptr), nullptr);
  if (!tree) throw Error(L"ディレクトリーの一覧を作成できません。");
  Attach(tree);
  images_ = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 5, 0);
  ScopedBitmap bitmap(static_cast<HBITMAP>(
      LoadImageW(GetModuleHandleW(nullptr), L"DIRIMGS", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  if (bitmap.get()) ImageList_AddMasked(images_, bitmap.get(), RGB(128, 128, 0));
  this->tree().SetImageList(images_);
}

void DirTree::SetRedraw(bool on) const {
  SendMessageW(hwnd(), WM_SETREDRAW, on, 0);
  if (on) InvalidateRect(hwnd(), nullptr, TRUE);
}

void DirTree::SetDrive(wchar_t letter) {
  if (letter == drive_) return;
  drive_ = static_cast<wchar_t>(std::towupper(letter));
  Rebuild();
}

void DirTree::SetShowDrive(bool show) {
  if (show == show_drive_) return;
  show_drive_ = show;
  Rebuild();
}

void DirTree::SetDirSpace(bool space) {
  if (space == dir_space_) return;
  dir_space_ = space;
  if (!space) Rebuild();
}

std::wstring DirTree::NodePath(HTREEITEM node) const {
  std::vector<std::wstring> names;
  const TreeView t = tree();
  for (HTREEITEM n = node; n; n = t.Parent(n)) {
    if (show_drive_ && !t.Parent(n)) break;  // the drive node
    names.insert(names.begin(), t.Text(n));
  }
  return NodePathOf(drive_, names, false);
}

HTREEITEM DirTree::NodeAtPoint(POINT client) const {
  TVHITTESTINFO hit{};
  hit.pt = client;
  return reinterpret_cast<HTREEITEM>(SendMessageW(hwnd(), TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
}

std::wstring DirTree::GetSelectedPath() const {
  const HTREEITEM selected = tree().Selected();
  std::wstring path = NodePath(selected);
  if (selected && selected == FirstNode() && path.back() != L'\\') path += L'\\';
  return path;
}

void DirTree::AddSubDirs(const std::wstring& path, HTREEITEM parent, bool deeper) {
  std::vector<std::wstring> names;
  SystemDirSource().List(JoinPath(path, L"*.*"), [&](const DirEntry& e) {
    std::wstring name(e.name);
    if (e.directory() && IsListedDirName(name)) names.push_back(std::move(name));
    return true;
  });
  SortDirNames(names, CompareNames);
  if (parent) tree().SetData(parent, kRead);
  for (const auto& name : names) {
    HTREEITEM node = tree().Insert(parent, name, 0, 0, TVI_LAST, 1);
    if (deeper) AddSubDirs(JoinPath(path, name), node, false);
  }
}

void DirTree::FillAhead(HTREEITEM node) {
  const TreeView t = tree();
  for (HTREEITEM child = t.Child(node); child; child = t.NextSibling(child)) {
    // A level read empty is read again: a subdirectory made since then
    // would otherwise never get its expand button.
    if (t.Data(child) != kRead || !t.Child(child)) AddSubDirs(JoinPath(NodePath(node), t.Text(child)), child, false);
  }
}

void DirTree::Rebuild() {
  if (dir_space_ || !drive_) return;
  remembered_ = GetSelectedPath();
  BusyCursor busy;
  SetRedraw(false);
  rebuilding_ = true;
  tree().Clear();
  HTREEITEM top = nullptr;
  if (show_drive_) top = tree().Insert(nullptr, std::wstring{drive_, L':'}, 0, 2);
  AddSubDirs(std::wstring{drive_, L':', L'\\'}, top, true);
  rebuilding_ = false;
  if (show_drive_) {
    tree().Expand(FirstNode());
    if (!remembered_.empty()) SelectPath(remembered_);
  }
  SetRedraw(true);
}

int DirTree::IndexOf(HTREEITEM node) const {
  int index = 0;
  const TreeView t = tree();
  // Preorder over every node, opened or not.
  HTREEITEM n = t.Root();
  while (n && n != node) {
    ++index;
    if (HTREEITEM c = t.Child(n)) {
      n = c;
      continue;
    }
    while (n && !t.NextSibling(n)) n = t.Parent(n);
    if (n) n = t.NextSibling(n);
  }
  return n ? index : 0;
}

HTREEITEM DirTree::NodeAt(int index) const {
  const TreeView t = tree();
  HTREEITEM n = t.Root();
  for (int i = 0; n && i < index; ++i) {
    if (HTREEITEM c = t.Child(n)) {
      n = c;
      continue;
    }
    while (n && !t.NextSibling(n)) n = t.Parent(n);
    if (n) n = t.NextSibling(n);
  }
  return n;
}

int DirTree::FindPathNode(HTREEITEM node, const std::wstring& path) {
  const TreeView t = tree();
  HTREEITEM at = node;
  for (const auto& name : PathNames(path)) {
    if (!at) return 0;
    FillAhead(at);  // selecting below opens at, whose opening reads ahead
    HTREEITEM child = t.Child(at);
    while (child && t.Text(child) != name) child = t.NextSibling(child);
    if (!child) return 0;
    t.Select(child);
    at = child;
  }
  return at == node ? 0 : IndexOf(at);
}

void DirTree::SelectPath(const std::wstring& path) {
  const TreeView t = tree();
  if (!dir_space_ && IsExistingDir(path)) {
    SetRedraw(false);
    SetDrive(path[0]);
    HTREEITEM node = NodeAt(FindPathNode(FirstNode(), path));
    if (node) {
      t.Select(node);
      FillAhead(node);
      t.Expand(node);
    }
    SetRedraw(true);
  } else if (HTREEITEM first = FirstNode()) {
    t.Select(first);
  }
}

LRESULT DirTree::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  // Alt and F10 open the window's menu, Alt+F4 closes it: the system's
  // default handling, which the tree view of Windows passes these keys on to.
  // Wine's keeps every system key for itself, so they go there directly.
  if (msg == WM_SYSKEYDOWN) return DefWindowProcW(hwnd(), msg, wp, lp);
  return DefaultProc(msg, wp, lp);
}

bool DirTree::OnNotify(NMHDR& header, LRESULT& result) {
  switch (header.code) {
    case TVN_SELCHANGEDW:
      if (!dir_space_ && !rebuilding_ && on_change) on_change(GetSelectedPath());
      return false;
    case NM_CLICK:
      if (on_click) on_click(GetSelectedPath());
      return false;
    case NM_DBLCLK: {
      const HTREEITEM selected = tree().Selected();
      if (on_dbl_click && selected && !tree().Child(selected)) on_dbl_click(GetSelectedPath());
      return false;
    }
    case TVN_ITEMEXPANDINGW: {
      const auto& info = reinterpret_cast<const NMTREEVIEWW&>(header);
      HTREEITEM node = info.itemNew.hItem;
      if (info.action & TVE_EXPAND && (!show_drive_ || tree().Parent(node))) {
        SetRedraw(false);
        FillAhead(node);
        SetRedraw(true);
      }
      result = FALSE;
      return false;
    }
  }
  return false;
}

}  // namespace velkor
