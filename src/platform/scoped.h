#pragma once
// Non-copyable owners for handles, GDI objects and DCs, so that every exit
// path releases them.
#include <utility>

#include "platform/win32.h"

namespace velkor {

template <typename T, typename Traits>
class Scoped {
 public:
  Scoped() = default;
  explicit Scoped(T value) : value_(value) {}
  ~Scoped() { reset(); }
  Scoped(const Scoped&) = delete;
  Scoped& operator=(const Scoped&) = delete;
  Scoped(Scoped&& other) noexcept : value_(other.release()) {}
  Scoped& operator=(Scoped&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  T get() const { return value_; }
  explicit operator bool() const { return Traits::Valid(value_); }
  T release() { return std::exchange(value_, Traits::Invalid()); }
  void reset(T value = Traits::Invalid()) {
    if (Traits::Valid(value_)) Traits::Close(value_);
    value_ = value;
  }

 private:
  T value_ = Traits::Invalid();
};

struct HandleTraits {
  static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
  static bool Valid(HANDLE h) { return h != INVALID_HANDLE_VALUE && h != nullptr; }
  static void Close(HANDLE h) { CloseHandle(h); }
};
struct FindTraits {
  static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
  static bool Valid(HANDLE h) { return h != INVALID_HANDLE_VALUE && h != nullptr; }
  static void Close(HANDLE h) { FindClose(h); }
};
template <typename G>
struct GdiTraits {
  static G Invalid() { return nullptr; }
  static bool Valid(G h) { return h != nullptr; }
  static void Close(G h) { DeleteObject(h); }
};
struct IconTraits {
  static HICON Invalid() { return nullptr; }
  static bool Valid(HICON h) { return h != nullptr; }
  static void Close(HICON h) { DestroyIcon(h); }
};
struct KeyTraits {
  static HKEY Invalid() { return nullptr; }
  static bool Valid(HKEY h) { return h != nullptr; }
  static void Close(HKEY h) { RegCloseKey(h); }
};
// A menu that no window holds (one attached to a window goes with it).
struct MenuTraits {
  static HMENU Invalid() { return nullptr; }
  static bool Valid(HMENU h) { return h != nullptr; }
  static void Close(HMENU h) { DestroyMenu(h); }
};
struct MemDcTraits {
  static HDC Invalid() { return nullptr; }
  static bool Valid(HDC h) { return h != nullptr; }
  static void Close(HDC h) { DeleteDC(h); }
};

using ScopedHandle = Scoped<HANDLE, HandleTraits>;
using ScopedFind = Scoped<HANDLE, FindTraits>;
using ScopedBrush = Scoped<HBRUSH, GdiTraits<HBRUSH>>;
using ScopedBitmap = Scoped<HBITMAP, GdiTraits<HBITMAP>>;
using ScopedFont = Scoped<HFONT, GdiTraits<HFONT>>;
using ScopedPen = Scoped<HPEN, GdiTraits<HPEN>>;
using ScopedIcon = Scoped<HICON, IconTraits>;
using ScopedKey = Scoped<HKEY, KeyTraits>;
using ScopedMemDc = Scoped<HDC, MemDcTraits>;
using ScopedMenu = Scoped<HMENU, MenuTraits>;

// A DC from GetDC or GetWindowDC, released to its window.
class WindowDc {
 public:
  explicit WindowDc(HWND hwnd, bool whole_window = false)
      : hwnd_(hwnd), dc_(whole_window ? GetWindowDC(hwnd) : GetDC(hwnd)) {}
  ~WindowDc() {
    if (dc_) ReleaseDC(hwnd_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// A paint of a window: BeginPaint for the scope, and its EndPaint on every
// way out, a failure of the drawing included (the caret shows again and the
// DC goes back to the system).
class PaintDc {
 public:
  explicit PaintDc(HWND hwnd) : hwnd_(hwnd), dc_(BeginPaint(hwnd, &ps_)) {}
  ~PaintDc() { EndPaint(hwnd_, &ps_); }
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  HDC get() const { return dc_; }
  const RECT& area() const { return ps_.rcPaint; }

 private:
  HWND hwnd_;
  PAINTSTRUCT ps_{};
  HDC dc_;
};

// Selects an object into a DC for the life of the scope.
class SelectObjectScope {
 public:
  SelectObjectScope(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
  ~SelectObjectScope() { SelectObject(dc_, old_); }
  SelectObjectScope(const SelectObjectScope&) = delete;
  SelectObjectScope& operator=(const SelectObjectScope&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace velkor
