#include "editor/editmovk.h"

#include <memory>

#include "editor/snippets.h"
#include "frame/mdiframe.h"
#include "frame/settings.h"
#include "platform/app.h"
#include "platform/dpi.h"
#include "platform/error.h"
#include "platform/message_box.h"

namespace velkor {

TSetForm1* SetForm1 = nullptr;

namespace {

constexpr wchar_t kClass[] = L"TSetForm1";
constexpr wchar_t kSheetClass[] = L"TTabSheet";
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

int help_context = 0;

RECT ScaledRect(const treasure_layout::Box& b) {
  return {Scale(b.x), Scale(b.y), Scale(b.x) + Scale(b.w), Scale(b.y) + Scale(b.h)};
}

HWND CreateChild(DWORD ex_style, const wchar_t* cls, const wchar_t* text, DWORD style, const RECT& rc, HWND parent,
                 int id) {
  return CreateWindowExW(ex_style, cls, text, WS_CHILD | WS_VISIBLE | style, rc.left, rc.top, rc.right - rc.left,
                         rc.bottom - rc.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleW(nullptr), nullptr);
}

// The row numbers stand in Label1, Label2 and Label5..Label9.
int RowNumberLabel(int row) { return row <= 2 ? row : row + 2; }

const wchar_t* const kRowDigits[] = {L"", L"１", L"２", L"３", L"４", L"５", L"６", L"７"};

}  // namespace

void TSetForm1::Sheet::Create(HWND parent, HWND form, const RECT& rc) {
  WNDCLASSEXW wc{};
  wc.lpszClassName = kSheetClass;
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  RegisterWindowClass(wc);
  form_ = form;
  Window::Create(WS_EX_CONTROLPARENT, kSheetClass, L"設定", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, rc.left,
                 rc.top, rc.right - rc.left, rc.bottom - rc.top, parent,
                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTabSheet1)));
  if (!hwnd()) throw Error(L"宝箱の登録フォームを作成できません。");
}

LRESULT TSetForm1::Sheet::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_COMMAND:
      return SendMessageW(form_, msg, wp, lp);
  }
  return Window::HandleMessage(msg, wp, lp);
}

TSetForm1::TSetForm1() {
  WNDCLASSEXW wc{};
  wc.lpszClassName = kClass;
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  RegisterWindowClass(wc);
}

TSetForm1::~TSetForm1() {
  if (SetForm1 == this) SetForm1 = nullptr;
}

void TSetForm1::Create() {
  font_.reset(CreateFontW(-Scale(13), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS, L"ＭＳ Ｐゴシック"));
  red_brush_.reset(CreateSolidBrush(kRed));

  constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
  RECT rc{0, 0, Scale(treasure_layout::kClientWidth), Scale(treasure_layout::kClientHeight)};
  AdjustWindowRectEx(&rc, kStyle, FALSE, kExStyle);
  const int w = rc.right - rc.left;
  const int h = rc.bottom - rc.top;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
  // Owned by the main window: it stays above it and has no task-bar button.
  HWND owner = Tframeform::Get() ? Tframeform::Get()->hwnd() : Application::Get().main_window();
  Window::Create(kExStyle, kClass, L"ベルコ君の宝箱登録・変更", kStyle, x, y, w, h, owner, nullptr);
  if (!hwnd()) throw Error(L"宝箱の登録フォームを作成できません。");
  CreateControls();
  FormCreate();
  Application::Get().AddModeless(hwnd());
}

HWND TSetForm1::AddLabel(HWND parent, int id, const wchar_t* text, const treasure_layout::Box& box, DWORD align) {
  HWND label = CreateChild(0, L"STATIC", text, align | SS_NOPREFIX, ScaledRect(box), parent, id);
  SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  return label;
}

HWND TSetForm1::AddButton(int id, const wchar_t* text, const treasure_layout::Box& box) {
  HWND button = CreateChild(0, L"BUTTON", text, WS_TABSTOP | BS_PUSHBUTTON, ScaledRect(box), hwnd(), id);
  SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  return button;
}

void TSetForm1::CreateControls() {
  namespace layout = treasure_layout;
  page_control_ = CreateChild(WS_EX_CONTROLPARENT, WC_TABCONTROLW, L"", WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                              ScaledRect(layout::PageControl()), hwnd(), kPageControl1);
  SendMessageW(page_control_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  wchar_t caption[] = L"設定";
  item.pszText = caption;
  SendMessageW(page_control_, TCM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  RECT display{};
  GetClientRect(page_control_, &display);
  SendMessageW(page_control_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
  sheet_.Create(page_control_, hwnd(), display);

  HWND sheet = sheet_.hwnd();
  AddLabel(sheet, kLabelFirst + 3, L"登録キー", layout::KeyHeader());
  AddLabel(sheet, kLabelFirst + 4, L"登録コメント", layout::CommentHeader());
  for (int row = 1; row <= kSnippetRows; ++row)
    AddLabel(sheet, kLabelFirst + RowNumberLabel(row), kRowDigits[row], layout::RowNumber(row), SS_CENTER);
  AddLabel(sheet, kLabelFirst + 10, L"（注） 登録キーと登録コメントは、ペアで設定して下さい。", layout::Note());

  // Created row by row, so that Tab goes from a label to its text and on to the next row.
  for (int row = 1; row <= kSnippetRows; ++row) {
    for (int field : {row, row + kSnippetRows}) {
      HWND edit = CreateChild(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_TABSTOP | ES_AUTOHSCROLL,
                              ScaledRect(layout::Field(field)), sheet, kEdit1 + field - 1);
      SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
      SendMessageW(edit, EM_SETLIMITTEXT, kSnippetMaxChars, 0);
      SetWindowSubclass(edit, EditProc, static_cast<UINT_PTR>(field), reinterpret_cast<DWORD_PTR>(this));
      edits_[static_cast<size_t>(field)] = edit;
    }
  }

  ok_button_ = AddButton(kOKButton, L"登録", layout::Button(0));
  cancel_button_ = AddButton(kCancelButton, L"キャンセル", layout::Button(1));
  button1_ = AddButton(kButton1, L"終了", layout::Button(2));
}

void TSetForm1::FormCreate() {
  Tframeform* frame = Tframeform::Get();
  for (int n = 1; n <= kSnippetRows; ++n) {
    SetWindowTextW(Edit(n), frame ? frame->snippets().Label(n).c_str() : L"");
    SetWindowTextW(Edit(n + kSnippetRows), frame ? frame->snippets().Text(n).c_str() : L"");
  }
  for (int f = 1; f <= kSnippetFields; ++f) {
    SetRed(f, false);
    SetModified(f, false);
  }
  last_focus_ = Edit(1);
}

void TSetForm1::FormActivate() {
  help_context = kFormHelpContext;
  SetFocus(last_focus_ && IsWindow(last_focus_) ? last_focus_ : Edit(1));
}

int TSetForm1::HelpContext() { return help_context; }

void TSetForm1::FormClose() { DestroyWindow(hwnd()); }

void TSetForm1::OnFinalMessage() { delete this; }

bool TSetForm1::Modified(int field) const { return SendMessageW(Edit(field), EM_GETMODIFY, 0, 0) != 0; }

void TSetForm1::SetModified(int field, bool modified) {
  SendMessageW(Edit(field), EM_SETMODIFY, modified ? TRUE : FALSE, 0);
}

void TSetForm1::SetRed(int field, bool red) {
  if (red_[static_cast<size_t>(field)] == red) return;
  red_[static_cast<size_t>(field)] = red;
  InvalidateRect(Edit(field), nullptr, TRUE);
}

std::wstring TSetForm1::FieldText(int field) const { return WindowText(Edit(field)); }

int TSetForm1::FieldOf(HWND control) const {
  for (int f = 1; f <= kSnippetFields; ++f)
    if (Edit(f) == control) return f;
  return 0;
}

void TSetForm1::WriteSnippet(int n, const std::wstring& label, const std::wstring& text) {
  Settings ini;
  if (Tframeform* frame = Tframeform::Get())
    frame->snippets().Save(ini, n, label, text);
  else
    Snippets::Write(ini, n, label, text);
}

void TSetForm1::OKButtonClick() {
  bool all_unmodified = true;
  for (int f = 1; f <= kSnippetFields; ++f)
    if (Modified(f)) all_unmodified = false;

  for (int n = 1; n <= kSnippetRows; ++n) {
    const int text_field = n + kSnippetRows;
    const std::wstring label = FieldText(n);
    const std::wstring text = FieldText(text_field);
    switch (DecideRow(label, text)) {
      case RowAction::Register:
        // A refused write ends the registering here, with the row still marked modified:
        // the main window keeps what the file keeps.
        WriteSnippet(n, label, text);
        SetModified(n, false);
        SetModified(text_field, false);
        SetRed(n, false);
        SetRed(text_field, false);
        break;
      case RowAction::MarkLabel:
        SetRed(n, true);
        SetFocus(Edit(n));
        break;
      case RowAction::MarkText:
        SetRed(text_field, true);
        SetFocus(Edit(text_field));
        break;
    }
  }
  if (all_unmodified) SendMessageW(hwnd(), WM_CLOSE, 0, 0);
}

void TSetForm1::Button1Click() {
  int unmodified = 0;
  for (int f = 1; f <= kSnippetFields; ++f)
    if (!Modified(f)) ++unmodified;
  if (unmodified == kSnippetFields) {
    SendMessageW(hwnd(), WM_CLOSE, 0, 0);
    return;
  }
  if (ShowMessage(ChangedFieldsQuestion(kSnippetFields - unmodified), MessageKind::Information, MB_YESNO) == IDYES)
    OKButtonClick();
  else
    SendMessageW(hwnd(), WM_CLOSE, 0, 0);
}

void TSetForm1::CancelButtonClick() { SendMessageW(hwnd(), WM_CLOSE, 0, 0); }

void TSetForm1::MoveFocusTo(int field) {
  HWND edit = Edit(field);
  SetFocus(edit);
  // As when Tab arrives: the whole text is selected, ready to be replaced.
  SendMessageW(edit, EM_SETSEL, 0, -1);
}

bool TSetForm1::Edit1KeyPress(int field, wchar_t key) {
  SetRed(field, false);
  if (key == L'\r') {
    MoveFocusTo(EditNavTable()[static_cast<size_t>(field)].enter);
    return true;
  }
  return false;
}

bool TSetForm1::Edit1KeyDown(int field, UINT key) {
  const EditNavEntry& nav = EditNavTable()[static_cast<size_t>(field)];
  DWORD start = 0, end = 0;
  switch (key) {
    case VK_UP:
      MoveFocusTo(nav.up);
      return true;
    case VK_DOWN:
      MoveFocusTo(nav.down);
      return true;
    case VK_LEFT:
      SendMessageW(Edit(field), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
      if (!LeavesAtLeft(static_cast<int>(start), static_cast<int>(end - start))) return false;
      MoveFocusTo(nav.left);
      return true;
    case VK_RIGHT:
      SendMessageW(Edit(field), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
      if (!LeavesAtRight(static_cast<int>(start), GetWindowTextLengthW(Edit(field)))) return false;
      MoveFocusTo(nav.right);
      return true;
  }
  return false;
}

LRESULT CALLBACK TSetForm1::EditProc(HWND edit, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR data) {
  auto* self = reinterpret_cast<TSetForm1*>(data);
  const int field = static_cast<int>(id);
  try {
    switch (msg) {
      case WM_GETDLGCODE: {
        // Enter belongs to the field (it moves on), not to the dialog manager.
        LRESULT code = DefSubclassProc(edit, msg, wp, lp);
        const auto* m = reinterpret_cast<const MSG*>(lp);
        if (m && m->message == WM_KEYDOWN && m->wParam == VK_RETURN) code |= DLGC_WANTMESSAGE;
        return code;
      }
      case WM_CHAR:
        if (self->Edit1KeyPress(field, static_cast<wchar_t>(wp))) return 0;
        break;
      case WM_KEYDOWN:
        if (self->Edit1KeyDown(field, static_cast<UINT>(wp))) return 0;
        break;
      case WM_NCDESTROY:
        RemoveWindowSubclass(edit, EditProc, id);
        break;
    }
  } catch (...) {
    Application::Get().ReportCurrentException();
    return 0;
  }
  return DefSubclassProc(edit, msg, wp, lp);
}

LRESULT TSetForm1::OnCtlColor(UINT msg, HDC dc, HWND control) {
  if (msg == WM_CTLCOLOREDIT) {
    if (const int field = FieldOf(control)) {
      const bool red = IsRed(field);
      SetTextColor(dc, kBlack);
      SetBkColor(dc, red ? kRed : kWhite);
      return reinterpret_cast<LRESULT>(red ? red_brush_.get() : GetStockObject(WHITE_BRUSH));
    }
  } else if (msg == WM_CTLCOLORSTATIC) {
    SetTextColor(dc, kBlue);
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
  }
  return DefWindowProcW(hwnd(), msg, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
}

void TSetForm1::OnCommand(int id) {
  switch (id) {
    case kOKButton: OKButtonClick(); return;
    case kCancelButton: CancelButtonClick(); return;
    case kButton1: Button1Click(); return;
    case IDOK:
      // Enter on a focused button: the dialog manager asks for the default button, none is set.
      if (HWND focus = GetFocus(); focus == ok_button_ || focus == cancel_button_ || focus == button1_)
        SendMessageW(focus, BM_CLICK, 0, 0);
      return;
  }
}

LRESULT TSetForm1::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ACTIVATE:
      if (LOWORD(wp) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(hwnd(), focus)) last_focus_ = focus;
        break;
      }
      FormActivate();
      return 0;
    case WM_COMMAND:
      if (HIWORD(wp) == BN_CLICKED) OnCommand(LOWORD(wp));
      return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      return OnCtlColor(msg, reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp));
    case WM_HELP:
      if (Tframeform* frame = Tframeform::Get())
        WinHelpW(hwnd(), frame->HelpFile().c_str(), HELP_CONTEXT, static_cast<ULONG_PTR>(HelpContext()));
      return TRUE;
    case WM_CLOSE:
      FormClose();
      return 0;
    case WM_DESTROY:
      Application::Get().RemoveModeless(hwnd());
      if (SetForm1 == this) SetForm1 = nullptr;
      break;
  }
  return Window::HandleMessage(msg, wp, lp);
}

void ShowTreasureBox() {
  BusyCursor busy;
  if (!SetForm1) {
    std::unique_ptr<TSetForm1> form(new TSetForm1);
    form->Create();
    SetForm1 = form.release();
  }
  HWND h = SetForm1->hwnd();
  ShowWindow(h, SW_SHOW);
  BringWindowToTop(h);
  SetForegroundWindow(h);
}

}  // namespace velkor
