#pragma once
// The friends window's list of files: a list box of one or more columns that
// draws each file by its kind (FileItemPainter) in rows of the height its
// owner gives it, on white. What the mouse and keys do is the owner's: its
// handler sees the list's messages first.
#include <functional>
#include <string>

#include "launcher/file_list_items.h"
#include "platform/scoped.h"
#include "ui/control.h"

namespace velkor {

class FileListBox : public Control {
 public:
  // The owner's handler of the list's messages (all but its painting): it
  // answers them, passing what it leaves to CallDefault.
  using Input = std::function<LRESULT(UINT msg, WPARAM wp, LPARAM lp)>;

  FileListBox();
  ~FileListBox() override;

  // Creates the list in parent, its items sorted by name or in the order added.
  void Create(HWND parent, int id, const RECT& bounds, bool sorted, Input input);
  // A list box cannot change its sorting once created: another sorting
  // makes the list again in its place, empty, keeping its bounds, whether it
  // shows and has the focus, its rows and its columns.
  void SetSorted(bool sorted);
  LRESULT CallDefault(UINT msg, WPARAM wp, LPARAM lp) { return DefaultProc(msg, wp, lp); }

  // The items: full paths.
  int Count() const;
  std::wstring Text(int index) const;
  int Selected() const;  // -1: none
  void Select(int index) const;
  // The index the list gave the path, or LB_ERR / LB_ERRSPACE when it refused it.
  LRESULT Add(const std::wstring& path) const;
  void Delete(int index) const;
  void Clear() const;
  // The item whose row holds a point of the list's client area, or -1.
  int ItemAt(POINT client) const;

  // The rows' height as the owner gave it, and as the list box keeps it (at
  // most 255 pixels: a taller row is drawn in the row it got).
  int ItemHeight() const { return item_height_; }
  int ControlItemHeight() const;
  void SetItemHeight(int height);
  int Columns() const { return columns_; }
  void SetColumns(int columns);
  // A program shows all its icons, numbered, or only its first.
  bool multi_icon() const { return multi_icon_; }
  void SetMultiIcon(bool on);
  // The height the rows share: the list's less a scroll bar's.
  int AvailableHeight() const;
  void SetBounds(int x, int y, int w, int h);
  // Scrolls the selected item to the top (in its column).
  void ShowSelectionOnTop() const;
  // Forgets the pictures kept for the items drawn: a new listing.
  void ClearPictures();

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  bool OnDrawItem(const DRAWITEMSTRUCT& item) override;
  bool OnMeasureItem(MEASUREITEMSTRUCT& item) override;
  HBRUSH OnColor(HDC dc) override;

 private:
  void Make(HWND parent, int id, const RECT& bounds, DWORD visible);
  void FitColumnWidth() const;

  Input input_;
  FileItemPainter painter_;
  ScopedFont font_;
  ScopedBrush white_;
  bool sorted_ = true;
  int item_height_ = 74;
  int columns_ = 2;
  bool multi_icon_ = true;
};

}  // namespace velkor
