#pragma once
// A pop-up menu kept in the resources as the first item of a menu resource:
// loaded once, destroyed with the object that holds it.
#include "platform/win32.h"

namespace velkor {

class PopupMenu {
 public:
  PopupMenu() = default;
  ~PopupMenu() {
    if (root_) DestroyMenu(root_);
  }
  PopupMenu(const PopupMenu&) = delete;
  PopupMenu& operator=(const PopupMenu&) = delete;

  void Load(const wchar_t* resource_name) {
    if (root_) DestroyMenu(root_);
    root_ = LoadMenuW(GetModuleHandleW(nullptr), resource_name);
    popup_ = root_ ? GetSubMenu(root_, 0) : nullptr;
  }
  // The pop-up; null when the resource is missing.
  HMENU get() const { return popup_; }

 private:
  HMENU root_ = nullptr;
  HMENU popup_ = nullptr;
};

}  // namespace velkor
