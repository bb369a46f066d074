#include "wordsearch/progress.h"

#include "platform/dpi.h"
#include "platform/error.h"
#include "wordsearch/wordsearch_ids.h"

namespace velkor {
namespace {

constexpr wchar_t kClass[] = L"TProgressForm";
constexpr int kClientWidth = 360;
constexpr int kClientHeight = 100;
constexpr int kMargin = 12;

}  // namespace

ProgressWindow::ProgressWindow() : Form(kClass) {}

ProgressWindow::~ProgressWindow() = default;

void ProgressWindow::CreateForm(HWND owner) {
  // A caption without a system menu: no close box, the work ends it.
  const DWORD style = WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN;
  const DWORD ex_style = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
  RECT rc{0, 0, Scale(kClientWidth), Scale(kClientHeight)};
  AdjustWindowRectEx(&rc, style, FALSE, ex_style);
  const int w = rc.right - rc.left, h = rc.bottom - rc.top;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
  Create(ex_style, kClass, L"検索中です。", style, x, y, w, h, owner, nullptr);
  if (!hwnd()) throw Error(L"進行状況のウィンドウを作成できません。");
}

void ProgressWindow::CreateControls() {
  NONCLIENTMETRICSW ncm{};
  ncm.cbSize = sizeof ncm;
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0)) font_.reset(CreateFontIndirectW(&ncm.lfMessageFont));
  HFONT font = font_ ? font_.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  const int inner = Scale(kClientWidth - 2 * kMargin);
  ope_label_ = CreateWindowExW(0, L"STATIC", L"暫くお待ち下さい。", WS_CHILD | WS_VISIBLE | SS_CENTER | SS_NOPREFIX,
                               Scale(kMargin), Scale(12), inner, Scale(20), hwnd(),
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_PROG_OPELABEL)),
                               GetModuleHandleW(nullptr), nullptr);
  // SS_EDITCONTROL breaks a path that has no blank where the line is full.
  name_label_ = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX | SS_EDITCONTROL,
                                Scale(kMargin), Scale(38), inner, Scale(kClientHeight - 38 - 6), hwnd(),
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_PROG_NAMELABEL)),
                                GetModuleHandleW(nullptr), nullptr);
  SendMessageW(ope_label_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  SendMessageW(name_label_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

void ProgressWindow::ShowProgress() {
  SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  UpdateWindow(hwnd());
}

void ProgressWindow::HideProgress() {
  if (hwnd()) ShowWindow(hwnd(), SW_HIDE);
}

void ProgressWindow::SetCaption(const std::wstring& caption) { SetWindowTextW(hwnd(), caption.c_str()); }

void ProgressWindow::SetItem(const std::wstring& text) { SetWindowTextW(name_label_, text.c_str()); }

void ProgressWindow::Repaint() { UpdateWindow(hwnd()); }

LRESULT ProgressWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE:
      CreateControls();
      return 0;
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wp);
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, reinterpret_cast<HWND>(lp) == name_label_ ? RGB(0, 0, 255) : GetSysColor(COLOR_BTNTEXT));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_MOUSEACTIVATE:
      // A click on it must not take the focus from the window at work.
      return MA_NOACTIVATE;
  }
  return DefaultProc(msg, wp, lp);
}

}  // namespace velkor
