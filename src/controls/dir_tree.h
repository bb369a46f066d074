#pragma once
// The directory tree of one drive over the system's tree view: a node for the
// drive, its directories below it, each level sorted by name. It reads one
// level ahead of what has been opened, so that every node shows an expand
// button exactly when it has subdirectories, without reading the whole drive.
// Its reports carry the selected directory as a path.
#include <functional>
#include <string>
#include <vector>

#include "controls/std_controls.h"
#include "ui/control.h"

namespace velkor {

class DirTree : public Control {
 public:
  using Event = std::function<void(const std::wstring& path)>;

  DirTree();
  ~DirTree() override;

  // Creates the tree view; it stays empty until a drive is set.
  void Create(HWND parent, int id, int x, int y, int w, int h, DWORD extra_style = 0);
  TreeView tree() const { return TreeView(hwnd()); }

  // Another letter than the current one (exact comparison) rebuilds the tree.
  void SetDrive(wchar_t letter);
  wchar_t drive() const { return drive_; }

  // "C:\" for the drive node or no selection, "C:\A\B" for a directory.
  std::wstring GetSelectedPath() const;
  // Selects the node of an existing directory, opening the way down to it;
  // anything else selects the first node.
  void SelectPath(const std::wstring& path);
  std::wstring NodePath(HTREEITEM node) const;
  // The node whose row holds a point of the tree's client area, or nullptr.
  HTREEITEM NodeAtPoint(POINT client) const;
  // Walks down from node along the path's names (case matters), selecting
  // each on the way; the position of the node reached over the whole tree,
  // or 0 when a name is missing.
  int FindPathNode(HTREEITEM node, const std::wstring& path);
  void Rebuild();

  bool show_drive() const { return show_drive_; }
  void SetShowDrive(bool show);
  // While set, the tree neither rebuilds nor reports changes.
  bool dir_space() const { return dir_space_; }
  void SetDirSpace(bool space);

  Event on_change;
  Event on_click;
  Event on_dbl_click;  // only for a directory without subdirectories

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  bool OnNotify(NMHDR& header, LRESULT& result) override;

 private:
  // Adds the listed subdirectories of path under parent (nullptr: top
  // nodes); with deeper, their subdirectories too.
  void AddSubDirs(const std::wstring& path, HTREEITEM parent, bool deeper);
  // Reads the level below each child of node that has not been read yet, or
  // was read without any subdirectory.
  void FillAhead(HTREEITEM node);
  HTREEITEM FirstNode() const { return tree().Root(); }
  HTREEITEM NodeAt(int index) const;
  int IndexOf(HTREEITEM node) const;
  void SetRedraw(bool on) const;

  HIMAGELIST images_ = nullptr;
  wchar_t drive_ = 0;
  bool show_drive_ = true;
  bool dir_space_ = false;
  bool rebuilding_ = false;
  std::wstring remembered_;
};

}  // namespace velkor
