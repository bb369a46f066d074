#pragma once
// One small base class for every window of the program: the C++ object is
// attached at WM_NCCREATE (from lpCreateParams, or from the MDICREATESTRUCT of
// an MDI child) and messages are forwarded to its virtual HandleMessage.
// Exceptions never cross into the system: they end the message at hand and
// reach the general error report.
//
// The base counts how deep the object is in its own handlers (see
// handler_depth.h): an object whose window goes while code of it runs is
// handed its final message only once every handler has returned, and code
// after a modal call asks a WindowLife whether the window still lives.
#include <string>

#include "platform/scoped.h"
#include "platform/win32.h"

namespace velkor {

// The window's text: a caption, or a control's contents.
std::wstring WindowText(HWND window);
// The window's styles and extended styles (through the pointer-sized calls,
// like every other window long of this program).
DWORD WindowStyle(HWND window);
DWORD WindowExStyle(HWND window);
void SetWindowStyle(HWND window, DWORD style);

// The work area of the screen nearest to a rectangle (screen coordinates).
RECT WorkAreaNear(const RECT& r);
// The rectangle moved onto the work area of its nearest screen, at its size
// where it fits (see KeepInside).
RECT KeptOnWorkArea(const RECT& r);

// Shows a top-level window, restoring it when minimized, and brings it forward.
void ShowAndBringForward(HWND window);

// For the Window and Dialog bases, whose windows keep their object at
// `object_slot` (GWLP_USERDATA, DWLP_USER). When the object goes first (a
// member window whose owner is being freed), the window forgets it and is
// destroyed without it.
void DestroyWithoutObject(HWND& window, int object_slot);
// At a window's WM_NCDESTROY: the window forgets its object and the
// application forgets the window. True when it was the object's window,
// which the object then lets go of.
bool LetGoAtLastMessage(HWND window, int object_slot, HWND& object_window);

class Window {
 public:
  Window() = default;
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  HWND hwnd() const { return hwnd_; }
  static Window* FromHandle(HWND hwnd);

  // Registers a class whose procedure forwards to Window objects. Fills in
  // cbSize, lpfnWndProc and hInstance; other fields are the caller's.
  static void RegisterWindowClass(WNDCLASSEXW wc);

 protected:
  HWND Create(DWORD ex_style, const wchar_t* class_name, const wchar_t* title, DWORD style, int x, int y, int w,
              int h, HWND parent, HMENU menu_or_id);
  // A child window of one of the program's own control classes, which is
  // registered on first use and redrawn whole when its size changes.
  HWND CreateOwnControl(const wchar_t* class_name, HWND parent, int id, int x, int y, int w, int h,
                        DWORD style = WS_CHILD | WS_VISIBLE, DWORD ex_style = 0);
  // An MDI child: created through the client's WM_MDICREATE.
  HWND CreateMdiChild(HWND mdi_client, const wchar_t* class_name, const wchar_t* title, DWORD style, int x,
                      int y, int w, int h);

  virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  virtual LRESULT DefaultProc(UINT msg, WPARAM wp, LPARAM lp);
  // For a window that draws all of itself: WM_PAINT and WM_PRINTCLIENT call
  // paint(dc), and the background is never erased first, so nothing
  // flickers. True when msg was one of those three; result is the answer.
  template <class Paint>
  bool HandlePaint(UINT msg, WPARAM wp, LRESULT& result, Paint&& paint) {
    switch (msg) {
      case WM_ERASEBKGND: result = 1; return true;
      case WM_PAINT: {
        PaintDc dc(hwnd_);
        paint(dc.get());
        result = 0;
        return true;
      }
      case WM_PRINTCLIENT: paint(reinterpret_cast<HDC>(wp)); result = 0; return true;
      default: return false;
    }
  }
  // After the last message of the window, once no handler runs any more; the
  // handle is already detached. Objects that own themselves delete
  // themselves here. A window whose creation failed does not come here: its
  // creator still holds the object and gets the error.
  virtual void OnFinalMessage() {}

 private:
  friend class WindowLife;
  static LRESULT CALLBACK StaticProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  HWND Finish(HWND created);
  HWND hwnd_ = nullptr;
  bool creating_ = false;
  mutable int handler_depth_ = 0;
};

// A window's drawing is off while this lives, and on again (with the window
// invalidated) on every way out.
class NoRedraw {
 public:
  explicit NoRedraw(HWND window) : window_(window) { SendMessageW(window_, WM_SETREDRAW, FALSE, 0); }
  ~NoRedraw() {
    if (!IsWindow(window_)) return;
    SendMessageW(window_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(window_, nullptr, TRUE);
  }
  NoRedraw(const NoRedraw&) = delete;
  NoRedraw& operator=(const NoRedraw&) = delete;

 private:
  HWND window_;
};

}  // namespace velkor
