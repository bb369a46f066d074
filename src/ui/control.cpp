#include "ui/control.h"

#include <unordered_map>
#include <utility>

#include "ui/app.h"
#include "ui/handler_depth.h"

namespace velkor {
namespace {

// The procedure is replaced directly and the objects are found in a table of
// this program: the common controls' SetWindowSubclass keeps its chain in a
// window property, and under Wine every property lookup goes to the window
// server, which made each message of a subclassed list box some 25 times
// dearer (44 against 1.6 microseconds; a search adds a list line per hit).
struct Link {
  Control* object;  // null once the object has let go while another procedure stands in front
  WNDPROC base;
};

std::unordered_map<HWND, Link>& Links() {
  static std::unordered_map<HWND, Link> links;
  return links;
}

// The control CreateControl is making: its first report attaches its object.
struct Creation {
  Control* object;
  HWND parent;
  int id;
};
thread_local const Creation* g_creating = nullptr;

}  // namespace

Control::~Control() {
  CheckNotInHandler(handler_depth_, "control");
  Detach();
}

void Control::Attach(HWND control) {
  Detach();
  if (!control) return;
  auto& links = Links();
  auto it = links.find(control);
  if (it != links.end()) {
    if (it->second.object) it->second.object->Detach();
    it = links.find(control);
  }
  if (it != links.end()) {
    // A link left behind by an earlier object: this one takes its place.
    it->second.object = this;
    base_ = it->second.base;
  } else {
    base_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Proc)));
    if (!base_) return;
    links[control] = Link{this, base_};
  }
  hwnd_ = control;
}

void Control::Detach() {
  if (!hwnd_) return;
  auto& links = Links();
  auto it = links.find(hwnd_);
  if (it != links.end()) {
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd_, GWLP_WNDPROC)) == &Proc) {
      SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(base_));
      links.erase(it);
    } else {
      // Someone subclassed the control after us and calls our procedure as
      // its base: the link stays, passing messages through, until the window goes.
      it->second.object = nullptr;
    }
  }
  hwnd_ = nullptr;
  base_ = nullptr;
}

HWND Control::CreateControl(DWORD ex_style, const wchar_t* window_class, DWORD style, const RECT& bounds,
                              HWND parent, int id) {
  Detach();
  const Creation creation{this, parent, id};
  const Creation* const outer = std::exchange(g_creating, &creation);
  const HWND created = CreateWindowExW(ex_style, window_class, L"", style, bounds.left, bounds.top,
                                       bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                                       nullptr);
  g_creating = outer;
  if (created && hwnd_ != created) Attach(created);
  return created;
}

Control* Control::FromHandle(HWND control) {
  const auto& links = Links();
  if (!control || links.empty()) return nullptr;
  auto it = links.find(control);
  return it == links.end() ? nullptr : it->second.object;
}

LRESULT Control::DefaultProc(UINT msg, WPARAM wp, LPARAM lp) {
  return base_ ? CallWindowProcW(base_, hwnd_, msg, wp, lp) : 0;
}

LRESULT CALLBACK Control::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto& links = Links();
  auto it = links.find(hwnd);
  if (it == links.end()) return DefWindowProcW(hwnd, msg, wp, lp);
  const Link link = it->second;
  if (msg == WM_NCDESTROY) {
    links.erase(it);
    if (link.object) {
      link.object->hwnd_ = nullptr;
      link.object->base_ = nullptr;
    }
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC)) == &Proc)
      SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(link.base));
    return CallWindowProcW(link.base, hwnd, msg, wp, lp);
  }
  if (!link.object) return CallWindowProcW(link.base, hwnd, msg, wp, lp);
  HandlerScope in_handler(link.object->handler_depth_);
  try {
    return link.object->HandleMessage(msg, wp, lp);
  } catch (...) {
    Application::Get().ReportCurrentException();
    return 0;
  }
}

bool Control::Reflect(HWND parent, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  HWND from = nullptr;
  switch (msg) {
    case WM_COMMAND:
      from = reinterpret_cast<HWND>(lp);
      break;
    case WM_NOTIFY:
      if (lp) from = reinterpret_cast<const NMHDR*>(lp)->hwndFrom;
      break;
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      if (item && item->CtlType != ODT_MENU) from = item->hwndItem;
      break;
    }
    case WM_MEASUREITEM: {
      const auto* item = reinterpret_cast<const MEASUREITEMSTRUCT*>(lp);
      if (item && item->CtlType != ODT_MENU) from = GetDlgItem(parent, static_cast<int>(item->CtlID));
      break;
    }
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      from = reinterpret_cast<HWND>(lp);
      break;
    default:
      return false;
  }
  Control* control = FromHandle(from);
  if (!control && from && g_creating && !g_creating->object->hwnd_ && GetParent(from) == g_creating->parent &&
      GetDlgCtrlID(from) == g_creating->id) {
    g_creating->object->Attach(from);
    control = FromHandle(from);
  }
  if (!control) return false;
  HandlerScope in_handler(control->handler_depth_);
  switch (msg) {
    case WM_COMMAND:
      result = 0;
      return control->OnCommand(HIWORD(wp));
    case WM_NOTIFY:
      result = 0;
      return control->OnNotify(*reinterpret_cast<NMHDR*>(lp), result);
    case WM_DRAWITEM:
      result = TRUE;
      return control->OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
    case WM_MEASUREITEM:
      result = TRUE;
      return control->OnMeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lp));
    default: {
      const HBRUSH brush = control->OnColor(reinterpret_cast<HDC>(wp));
      result = reinterpret_cast<LRESULT>(brush);
      return brush != nullptr;
    }
  }
}

}  // namespace velkor
