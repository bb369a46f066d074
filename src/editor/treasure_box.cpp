#include "editor/treasure_box.h"

#include "controls/std_controls.h"
#include "state/snippets.h"
#include "ui/main_frame.h"
#include "state/settings.h"
#include "ui/app.h"
#include "platform/dpi.h"
#include "platform/error.h"
#include "ui/message_box.h"
#include "ui/window.h"

namespace velkor {
namespace {

constexpr wchar_t kClass[] = L"TSetForm1";
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

// The row numbers stand in Label1, Label2 and Label5..Label9.
int RowNumberLabel(int row) { return row <= 2 ? row : row + 2; }

}  // namespace

void TreasureBox::PageDialog::OnCommand(int id, int code, HWND control) {
  SendMessageW(form_.hwnd(), WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control));
}

INT_PTR TreasureBox::PageDialog::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORSTATIC) return SendMessageW(form_.hwnd(), msg, wp, lp);
  return FALSE;
}

void TreasureBox::Field::Attach(TreasureBox& form, int field, HWND edit) {
  form_ = &form;
  field_ = field;
  Control::Attach(edit);
}

LRESULT TreasureBox::Field::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_GETDLGCODE: {
      // Enter belongs to the field (it moves on), not to the dialog manager.
      LRESULT code = DefaultProc(msg, wp, lp);
      const auto* m = reinterpret_cast<const MSG*>(lp);
      if (m && m->message == WM_KEYDOWN && m->wParam == VK_RETURN) code |= DLGC_WANTMESSAGE;
      return code;
    }
    case WM_CHAR:
      if (form_->FieldChar(field_, static_cast<wchar_t>(wp))) return 0;
      break;
    case WM_KEYDOWN:
      if (form_->FieldKeyDown(field_, static_cast<UINT>(wp))) return 0;
      break;
  }
  return DefaultProc(msg, wp, lp);
}

TreasureBox::TreasureBox() : Dialog(L"TREASUREBOX") { RegisterDialogClass(kClass); }

void TreasureBox::CreateForm() {
  // Owned by the main window: it stays above it and has no task-bar button.
  HWND owner = MainFrame::Get() ? MainFrame::Get()->frame_window() : Application::Get().main_window();
  Dialog::Create(owner);
  if (!hwnd()) throw Error(L"宝箱の登録フォームを作成できません。");
  BecomeInstance(this);
}

bool TreasureBox::OnInitDialog() {
  font_.reset(CreateFontW(-Scale(13), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS, L"ＭＳ Ｐゴシック"));
  red_brush_.reset(CreateSolidBrush(kRed));

  HWND pages = Pages();
  TabControl(pages).InsertTab(0, L"設定");
  page_.Create(pages);
  if (!page_.hwnd()) throw Error(L"宝箱の登録フォームを作成できません。");
  SetWindowLongPtrW(page_.hwnd(), GWLP_ID, kPage);
  for (int f = 1; f <= kSnippetFields; ++f) {
    HWND edit = GetDlgItem(page_.hwnd(), kFirstField + f - 1);
    EditBox(edit).SetLimit(kSnippetMaxChars);
    fields_[static_cast<size_t>(f)].Attach(*this, f, edit);
  }
  PlaceControls();
  Dialog::OnInitDialog();
  // The focus goes where the activation puts it.
  return false;
}

void TreasureBox::Place(HWND control, const treasure_layout::Box& b) {
  MoveWindow(control, Scale(b.x), Scale(b.y), Scale(b.w), Scale(b.h), FALSE);
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
}

// The client area, centred on the screen, and every control where the layout puts it.
void TreasureBox::PlaceControls() {
  namespace layout = treasure_layout;
  RECT outer{}, inner{};
  GetWindowRect(hwnd(), &outer);
  GetClientRect(hwnd(), &inner);
  const int w = Scale(layout::kClientWidth) + (outer.right - outer.left) - inner.right;
  const int h = Scale(layout::kClientHeight) + (outer.bottom - outer.top) - inner.bottom;
  SetWindowPos(hwnd(), nullptr, (GetSystemMetrics(SM_CXSCREEN) - w) / 2, (GetSystemMetrics(SM_CYSCREEN) - h) / 2, w,
               h, SWP_NOZORDER | SWP_NOACTIVATE);

  HWND pages = Pages();
  Place(pages, layout::PageControl());
  const RECT display = TabControl(pages).DisplayArea();
  MoveWindow(page_.hwnd(), display.left, display.top, display.right - display.left, display.bottom - display.top,
             FALSE);
  for (int i = 0; i < 3; ++i) Place(Item(kRegisterButton + i), layout::Button(i));

  auto label = [&](int n) { return GetDlgItem(page_.hwnd(), kLabelFirst + n); };
  Place(label(3), layout::KeyHeader());
  Place(label(4), layout::CommentHeader());
  for (int row = 1; row <= kSnippetRows; ++row) Place(label(RowNumberLabel(row)), layout::RowNumber(row));
  Place(label(10), layout::Note());
  for (int f = 1; f <= kSnippetFields; ++f) Place(Edit(f), layout::Field(f));
}

void TreasureBox::LoadControls() {
  MainFrame* frame = MainFrame::Get();
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

void TreasureBox::OnActivated() {
  help_topic_ = kHelpTopic;
  SetFocus(last_focus_ && IsWindow(last_focus_) ? last_focus_ : Edit(1));
}

void TreasureBox::OnMainWindowClosing() { Close(IDCANCEL); }

void TreasureBox::OnFinalMessage() { delete this; }

bool TreasureBox::Modified(int field) const { return EditBox(Edit(field)).modified(); }

void TreasureBox::SetModified(int field, bool modified) {
  EditBox(Edit(field)).SetModified(modified);
}

void TreasureBox::SetRed(int field, bool red) {
  if (red_[static_cast<size_t>(field)] == red) return;
  red_[static_cast<size_t>(field)] = red;
  InvalidateRect(Edit(field), nullptr, TRUE);
}

std::wstring TreasureBox::FieldText(int field) const { return WindowText(Edit(field)); }

int TreasureBox::FieldOf(HWND control) const {
  for (int f = 1; f <= kSnippetFields; ++f)
    if (Edit(f) == control) return f;
  return 0;
}

void TreasureBox::WriteSnippet(int n, const std::wstring& label, const std::wstring& text) {
  Settings ini;
  if (MainFrame* frame = MainFrame::Get())
    frame->snippets().Save(ini, n, label, text);
  else
    Snippets::Write(ini, n, label, text);
}

void TreasureBox::RegisterRows() {
  bool all_unmodified = true;
  for (int f = 1; f <= kSnippetFields; ++f)
    if (Modified(f)) all_unmodified = false;
  SaveControls();
  if (all_unmodified) SendMessageW(hwnd(), WM_CLOSE, 0, 0);
}

bool TreasureBox::SaveControls() {
  bool complete = true;
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
        complete = false;
        break;
      case RowAction::MarkText:
        SetRed(text_field, true);
        SetFocus(Edit(text_field));
        complete = false;
        break;
    }
  }
  return complete;
}

void TreasureBox::EndAskingAboutChanges() {
  int unmodified = 0;
  for (int f = 1; f <= kSnippetFields; ++f)
    if (!Modified(f)) ++unmodified;
  if (unmodified == kSnippetFields) {
    SendMessageW(hwnd(), WM_CLOSE, 0, 0);
    return;
  }
  if (ShowMessage(ChangedFieldsQuestion(kSnippetFields - unmodified), MessageKind::Information, MB_YESNO) == IDYES)
    RegisterRows();
  else
    SendMessageW(hwnd(), WM_CLOSE, 0, 0);
}

void TreasureBox::CloseWithoutWriting() { SendMessageW(hwnd(), WM_CLOSE, 0, 0); }

void TreasureBox::MoveFocusTo(int field) {
  HWND edit = Edit(field);
  SetFocus(edit);
  // As when Tab arrives: the whole text is selected, ready to be replaced.
  EditBox(edit).SelectAll();
}

bool TreasureBox::FieldChar(int field, wchar_t key) {
  SetRed(field, false);
  if (key == L'\r') {
    MoveFocusTo(EditNavTable()[static_cast<size_t>(field)].enter);
    return true;
  }
  return false;
}

bool TreasureBox::FieldKeyDown(int field, UINT key) {
  const EditNavEntry& nav = EditNavTable()[static_cast<size_t>(field)];
  switch (key) {
    case VK_UP:
      MoveFocusTo(nav.up);
      return true;
    case VK_DOWN:
      MoveFocusTo(nav.down);
      return true;
    case VK_LEFT:
      if (const auto [start, end] = EditBox(Edit(field)).Selection(); !LeavesAtLeft(start, end - start)) return false;
      MoveFocusTo(nav.left);
      return true;
    case VK_RIGHT:
      if (!LeavesAtRight(EditBox(Edit(field)).Selection().first, GetWindowTextLengthW(Edit(field)))) return false;
      MoveFocusTo(nav.right);
      return true;
  }
  return false;
}

LRESULT TreasureBox::OnCtlColor(UINT msg, HDC dc, HWND control) {
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
  return FALSE;
}

void TreasureBox::OnCommand(int id, int code, HWND control) {
  if (code != BN_CLICKED) return;
  switch (id) {
    case kRegisterButton: RegisterRows(); return;
    case kCancelButton: CloseWithoutWriting(); return;
    case kEndButton: EndAskingAboutChanges(); return;
    case IDOK:
      // Enter on a focused button: the dialog manager asks for the default button, none is set.
      if (HWND focus = GetFocus(); focus == RegisterButton() || focus == CancelButton() || focus == EndButton())
        Button(focus).Click();
      return;
  }
}

INT_PTR TreasureBox::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ACTIVATE:
      if (LOWORD(wp) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(hwnd(), focus)) last_focus_ = focus;
        return FALSE;
      }
      OnActivated();
      return TRUE;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      return OnCtlColor(msg, reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp));
    case WM_CLOSE:
      Close(IDCANCEL);
      return TRUE;
  }
  return FALSE;
}

void ShowTreasureBox() {
  BusyCursor busy;
  TreasureBox::Show();
}

}  // namespace velkor
