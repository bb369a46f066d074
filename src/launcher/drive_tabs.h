#pragma once
// The friends window's drive tabs: a row of tabs along the top of a strip in
// the button-shadow colour, one per drive, each with a small picture of the
// drive's kind before its letter. The pictures are drawn here, not loaded.
#include <functional>
#include <string>
#include <vector>

#include "platform/scoped.h"
#include "ui/window.h"

namespace velkor {

enum class DriveKind { Removable, Fixed, Remote, CdRom, RamDisk };

class DriveTabSet : public Window {
 public:
  void Create(HWND parent, int id, int x, int y, int w, int h);
  void SetFont(HFONT font);  // not owned

  void Add(const std::wstring& caption, DriveKind kind);
  int Count() const { return static_cast<int>(tabs_.size()); }
  std::wstring Caption(int index) const { return tabs_[static_cast<size_t>(index)].caption; }
  int TabIndex() const { return index_; }
  // Makes a tab current without telling anyone.
  void SetTabIndex(int index);
  // The tab's place in the strip's client area.
  RECT TabRect(int index) const;
  // Clicks a tab as the user would.
  void ClickTab(int index);

  static SIZE BitmapSize(DriveKind kind);

  // Before the current tab changes (with the new one); then after any click on a tab.
  std::function<void(int new_index)> on_change;
  std::function<void()> on_click;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  struct Tab {
    std::wstring caption;
    DriveKind kind;
    int width;
  };
  HBITMAP Picture(DriveKind kind);
  void Paint(HDC dc);
  std::vector<Tab> tabs_;
  int index_ = -1;
  HFONT font_ = nullptr;
  ScopedBitmap pictures_[5];
};

}  // namespace velkor
