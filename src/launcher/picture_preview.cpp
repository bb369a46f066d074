// The preview of the selected file's picture: a modal tool window that shows
// the picture stretched to its client area inside a thin frame.
#include <utility>

#include "ui/form.h"
#include "launcher/file_items.h"
#include "launcher/file_list_items.h"
#include "ui/app.h"

namespace velkor {
namespace {

constexpr wchar_t kClass[] = L"TPreviewForm";
constexpr int kHelpContext = 1290;
// The panel's single border line and the border inside it, around the picture.
constexpr int kLine = 1;
constexpr int kBorder = 5;
// The client size of a preview that has nothing to show.
constexpr int kEmptyWidth = 240, kEmptyHeight = 180;

class PicturePreview : public Form {
 public:
  explicit PicturePreview(Picture picture) : Form(kClass, ClassLook{false, false}), picture_(std::move(picture)) {}
  ~PicturePreview() override {
    if (hwnd()) DestroyWindow(hwnd());
  }

  void Run(HWND owner, const std::wstring& path) {
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;
    const DWORD ex_style = WS_EX_TOOLWINDOW;
    SIZE client{kEmptyWidth, kEmptyHeight};
    if (picture_.width() > 0) {
      const int w0 = picture_.width() + 2 * (kLine + kBorder), h0 = picture_.height() + 2 * (kLine + kBorder);
      const Size fit = PreviewClientSize(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                         GetSystemMetrics(SM_CYCAPTION), w0, h0);
      client = {fit.w, fit.h};
    }
    RECT bounds{0, 0, client.cx, client.cy};
    AdjustWindowRectEx(&bounds, style, FALSE, ex_style);
    const int w = bounds.right - bounds.left, h = bounds.bottom - bounds.top;
    const int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
    Create(ex_style, kClass, path.c_str(), style, x, y, w, h, owner, nullptr);
    if (!hwnd()) return;

    const bool owner_was_enabled = owner && IsWindowEnabled(owner);
    if (owner) EnableWindow(owner, FALSE);
    ShowWindow(hwnd(), SW_SHOW);
    SetForegroundWindow(hwnd());
    SetFocus(hwnd());
    MSG msg;
    while (!done_ && IsWindow(hwnd())) {
      const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
      if (got <= 0) {
        if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));  // the outer loop ends too
        break;
      }
      if (Application::Get().PreTranslate(msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    // The owner is enabled again before the preview goes, so that the
    // system hands the activation back to it and not to another program.
    if (owner && owner_was_enabled) EnableWindow(owner, TRUE);
    if (IsWindow(hwnd())) DestroyWindow(hwnd());
    if (owner && IsWindow(owner)) SetActiveWindow(owner);
  }

 protected:
  int HelpContextFor(const HELPINFO&) override { return kHelpContext; }

  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (LRESULT r; HandlePaint(msg, wp, r, [this](HDC dc) { Paint(dc); })) return r;
    switch (msg) {
      case WM_CHAR:
        if (KeyPress(static_cast<wchar_t>(wp))) return 0;
        break;
      case WM_LBUTTONUP: Finish(); return 0;
      case WM_CLOSE: Finish(); return 0;
      default: break;
    }
    return DefaultProc(msg, wp, lp);
  }

 private:
  void Finish() {
    done_ = true;
    PostMessageW(hwnd(), WM_NULL, 0, 0);  // wakes the modal loop
  }

  // True when the key was swallowed.
  bool KeyPress(wchar_t key) {
    if (key == 0x1B || key == L' ') {
      Finish();
      return true;
    }
    if (busy_) return true;
    busy_ = true;
    bool swallowed = false;
    RECT r;
    GetWindowRect(hwnd(), &r);
    if (key == L'W' || key == L'w') {
      SetWindowPos(hwnd(), nullptr, r.left - 1, r.top, r.right - r.left + 2, r.bottom - r.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      swallowed = true;
    } else if (key == L'H' || key == L'h') {
      SetWindowPos(hwnd(), nullptr, r.left, r.top - 1, r.right - r.left, r.bottom - r.top + 2,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      swallowed = true;
    }
    busy_ = false;
    return swallowed;
  }

  void Paint(HDC dc) {
    RECT rc;
    GetClientRect(hwnd(), &rc);
    FrameRect(dc, &rc, GetSysColorBrush(COLOR_WINDOWFRAME));
    InflateRect(&rc, -kLine, -kLine);
    RECT image = rc;
    InflateRect(&image, -kBorder, -kBorder);
    const HBRUSH window = GetSysColorBrush(COLOR_WINDOW);
    if (picture_.empty() || image.right <= image.left || image.bottom <= image.top) {
      FillRect(dc, &rc, window);
      return;
    }
    // The border strips only, so that a resize does not flash the picture.
    const RECT strips[] = {{rc.left, rc.top, rc.right, image.top},
                           {rc.left, image.bottom, rc.right, rc.bottom},
                           {rc.left, image.top, image.left, image.bottom},
                           {image.right, image.top, rc.right, image.bottom}};
    for (const RECT& s : strips) FillRect(dc, &s, window);
    if (picture_.kind() != Picture::Kind::Bitmap) FillRect(dc, &image, window);  // icons and metafiles leave gaps
    picture_.StretchDraw(dc, image);
  }

  Picture picture_;
  bool done_ = false;
  bool busy_ = false;  // a size key is being carried out
};

}  // namespace

void ShowPicturePreview(HWND owner, const std::wstring& path, const Picture& picture) {
  PicturePreview form(picture.Copy());
  form.Run(owner, path);
}

}  // namespace velkor
