#include "frame/about.h"

#include "frame/about_logic.h"
#include "platform/dpi.h"
#include "platform/error.h"

namespace velkor {
namespace {

constexpr wchar_t kClass[] = L"TAboutBox";
constexpr wchar_t kCaption[] = L"バージョン情報";
constexpr wchar_t kResizedCaption[] = L"Version Information";
constexpr int kClientWidth = 265;
constexpr int kClientHeight = 369;
constexpr COLORREF kAqua = RGB(0, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

enum : int {
  IDC_ABOUT_PANEL1 = 300,
  IDC_ABOUT_CLOSE,
  IDC_ABOUT_MARQUEE,
};

// Titles of the figures and where they stand; each value ends at x 240 on the title's line.
struct FigureRow {
  const wchar_t* title;
  int x, y;
};
constexpr FigureRow kFigureRows[AboutBox::kFigures] = {
    {L"Memory Status", 12, 96},     {L"Memory in Use", 12, 117},    {L"Physical Memory", 12, 140},
    {L"Free", 19, 160},             {L"Total Pagingfile", 12, 188}, {L"Free", 19, 211},
    {L"Total Vitual", 12, 243},     {L"Free", 19, 265},
};
constexpr int kValueRight = 240;
constexpr int kValueWidth = 116;
constexpr int kTitleWidth = 104;
constexpr int kLabelHeight = 16;

// The credits lie under the marquee until it has scrolled its text by.
constexpr const wchar_t* kCredits[3] = {L"ベルコノート  Velkor", L"テキストメモと道具箱", L"Velkor 開発チーム"};
constexpr int kCreditX = 15;
constexpr int kCreditY[3] = {300, 320, 340};
constexpr int kCreditWidth = 224;

HFONT CreatePGothic(int pixels) {
  return CreateFontW(-Scale(pixels), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS, L"ＭＳ Ｐゴシック");
}

}  // namespace

AboutBox::AboutBox() : Form(kClass) { SetOwnsItself(true); }

AboutBox::~AboutBox() = default;

void AboutBox::CreateForm() {
  font_.reset(CreatePGothic(12));
  title_font_.reset(CreatePGothic(16));
  version_font_.reset(CreatePGothic(13));
  face_brush_.reset(CreateSolidBrush(kAqua));

  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  const DWORD ex_style = WS_EX_TOPMOST;
  RECT rc{0, 0, Scale(kClientWidth), Scale(kClientHeight)};
  AdjustWindowRectEx(&rc, style, FALSE, ex_style);
  // Owned by nothing, like the other tool windows: a window of its own beside the main window.
  Create(ex_style, kClass, kCaption, style, CW_USEDEFAULT, CW_USEDEFAULT, rc.right - rc.left, rc.bottom - rc.top,
         nullptr, nullptr);
  if (!hwnd()) throw Error(L"バージョン情報のウィンドウを作成できません。");
  StartFigures();
  // Only now is the box the single instance: resizes of the creation step
  // leave the caption as it is.
  BecomeInstance(this);
}


HWND AboutBox::AddLabel(const wchar_t* text, int x, int y, int w, int h, UINT align, HFONT font, COLORREF color) {
  HWND label = CreateWindowExW(0, L"STATIC", text, WS_CHILD | WS_VISIBLE | SS_NOPREFIX | align, Scale(x), Scale(y),
                               Scale(w), Scale(h), panel1_.hwnd(), nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!label) throw Error(L"バージョン情報のコントロールを作成できません。");
  SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  labels_.push_back(label);
  label_colors_.emplace_back(label, color);
  return label;
}

void AboutBox::CreateControls() {
  RECT client{};
  GetClientRect(hwnd(), &client);
  Panel::Look look;
  look.outer = Bevel::Raised;
  look.inner = Bevel::Lowered;
  look.bevel_width = 1;
  look.border_width = 2;
  look.color = kAqua;
  panel1_.Create(hwnd(), IDC_ABOUT_PANEL1, 0, 0, client.right, client.bottom, look);
  // The single border of a panel in the system's 3-D look: a sunken edge.
  SetWindowLongPtrW(panel1_.hwnd(), GWL_EXSTYLE, GetWindowLongPtrW(panel1_.hwnd(), GWL_EXSTYLE) | WS_EX_CLIENTEDGE);
  SetWindowPos(panel1_.hwnd(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);

  HINSTANCE inst = GetModuleHandleW(nullptr);
  icon_.reset(static_cast<HICON>(LoadImageW(inst, L"MAINICON", IMAGE_ICON, Scale(32), Scale(32), 0)));
  program_icon_ = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_ICON | SS_CENTERIMAGE | SS_REALSIZECONTROL,
                                  Scale(24), Scale(22), Scale(32), Scale(32), panel1_.hwnd(), nullptr, inst, nullptr);
  if (program_icon_) SendMessageW(program_icon_, STM_SETICON, reinterpret_cast<WPARAM>(icon_.get()), 0);

  AddLabel(L"ベルコノート", 82, 16, 150, 20, SS_LEFT, title_font_.get(), kBlack);
  AddLabel(L"( for Win95  and  NT4.0 )", 70, 45, 150, kLabelHeight, SS_LEFT, font_.get(), kBlack);
  AddLabel(L"Version 2.30", 96, 70, 100, kLabelHeight, SS_LEFT, version_font_.get(), kRed);

  close_button_.Create(panel1_, IDC_ABOUT_CLOSE, Scale(216), Scale(65), Scale(25), Scale(25), false, hwnd());
  close_button_.SetGlyphResource(L"GLYPH_CLOSEABOUT");
  close_button_.SetHint(L"フォームを閉じる");

  for (int i = 0; i < kFigures; ++i) {
    const FigureRow& row = kFigureRows[i];
    AddLabel(row.title, row.x, row.y, kTitleWidth, kLabelHeight, SS_LEFT, font_.get(), kBlack);
    figures_[static_cast<size_t>(i)] = AddLabel(L"", kValueRight - kValueWidth, row.y, kValueWidth, kLabelHeight,
                                                SS_RIGHT, font_.get(), kBlack);
  }
  for (int i = 0; i < 3; ++i)
    credits_[static_cast<size_t>(i)] =
        AddLabel(kCredits[i], kCreditX, kCreditY[i], kCreditWidth, kLabelHeight, SS_CENTER, font_.get(), kBlack);
}

// Creation: everything before the box is first shown.
void AboutBox::StartFigures() {
  SetTimer(hwnd(), kTimer1, 1000, nullptr);
  RefreshFigures();

  // The marquee stands over the credits, framed on the first of them.
  const int top = Scale(kCreditY[0]) - 5;
  const int left = Scale(kCreditX) - 3;
  RECT panel{};
  GetWindowRect(panel1_.hwnd(), &panel);
  const int height = (panel.bottom - panel.top) - Scale(kCreditY[0]);
  const int width = Scale(kCreditWidth) + 14;
  Panel::Look look = marquee_.look();
  look.color = kAqua;
  look.bevel_width = 1;
  look.text_color = kBlue;
  marquee_.SetLook(look);
  marquee_.Create(hwnd(), IDC_ABOUT_MARQUEE, left, top, width, height);
  marquee_.SetFont(font_.get());
  marquee_.OnDone = [this] { ShowWindow(marquee_.hwnd(), SW_HIDE); };
  SetWindowPos(marquee_.hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  marquee_.Items = {L"ボクを使ってくれて", L"ありがとう", L"今後とも よろしく !!"};

  KeepPlacement();
}

void AboutBox::FormActivate() { marquee_.StartScroll(); }

void AboutBox::FormResize() {
  if (AboutBox* box = Get()) SetWindowTextW(box->hwnd(), kResizedCaption);
}

void AboutBox::CloseBox() { SendMessageW(hwnd(), WM_CLOSE, 0, 0); }

void AboutBox::OnMainWindowClosing() { DestroyWindow(hwnd()); }

void AboutBox::RefreshFigures() {
  MEMORYSTATUSEX ms{};
  ms.dwLength = sizeof ms;
  if (!GlobalMemoryStatusEx(&ms)) return;
  const std::wstring texts[kFigures] = {
      FormatGroupedOrEmpty(ms.dwLength),   FormatPercent(ms.dwMemoryLoad),
      FormatKilobytes(ms.ullTotalPhys),    FormatKilobytes(ms.ullAvailPhys),
      FormatKilobytes(ms.ullTotalPageFile), FormatKilobytes(ms.ullAvailPageFile),
      FormatKilobytes(ms.ullTotalVirtual), FormatKilobytes(ms.ullAvailVirtual),
  };
  for (int i = 0; i < kFigures; ++i) {
    HWND label = figures_[static_cast<size_t>(i)];
    // Unchanged figures are not repainted: no flicker every second.
    if (WindowText(label) != texts[i]) SetWindowTextW(label, texts[i].c_str());
  }
}

LRESULT AboutBox::LabelColors(HDC dc, HWND label) {
  COLORREF color = kBlack;
  for (const auto& [h, c] : label_colors_)
    if (h == label) color = c;
  SetTextColor(dc, color);
  SetBkColor(dc, kAqua);
  return reinterpret_cast<LRESULT>(face_brush_.get());
}

LRESULT AboutBox::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE:
      CreateControls();
      return 0;
    case WM_TIMER:
      if (wp == kTimer1) RefreshFigures();
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wp) != WA_INACTIVE) FormActivate();
      break;
    case WM_SIZE:
      FormResize();
      break;
    case WM_CTLCOLORSTATIC:
      return LabelColors(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp));
    case WM_COMMAND:
      if (LOWORD(wp) == IDC_ABOUT_CLOSE) {
        CloseBox();
        return 0;
      }
      break;
    case WM_DESTROY:
      KillTimer(hwnd(), kTimer1);
      break;
  }
  return DefaultProc(msg, wp, lp);
}

}  // namespace velkor
