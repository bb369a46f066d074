#pragma once
// A C++ object over a control of a system class (an edit, a list box, a rich
// edit...): Attach puts the object's procedure in front of the control's own,
// and the object sees every message first through its virtual HandleMessage.
// Exceptions end the message at hand and reach the general error report, as
// in every window procedure of the program. The object lets go of the window
// at its WM_NCDESTROY, or when it is destroyed first.
//
// The messages that a control sends to its parent (WM_COMMAND, WM_NOTIFY,
// WM_DRAWITEM, WM_MEASUREITEM, WM_CTLCOLOR...) are offered back to the
// control's object before the parent handles them, so that a control can
// draw, colour and report for itself: the Window and Dialog procedures call
// Reflect.
#include "platform/win32.h"

namespace velkor {

class Control {
 public:
  Control() = default;
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  HWND hwnd() const { return hwnd_; }
  void Attach(HWND control);
  void Detach();
  // Creates a control of a system class with this object in front of it from
  // the first message the control sends its parent: an owner-drawn list of
  // fixed item height is measured by its object while it is created. Null
  // when the system could not create it.
  HWND CreateControl(DWORD ex_style, const wchar_t* window_class, DWORD style, const RECT& bounds, HWND parent,
                     int id);
  static Control* FromHandle(HWND control);

  // Offers a message that `parent` received to the object of the control
  // that sent it. True when that object handled it; `result` is then the
  // parent's answer.
  static bool Reflect(HWND parent, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

 protected:
  virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) { return DefaultProc(msg, wp, lp); }
  // The control's own procedure.
  LRESULT DefaultProc(UINT msg, WPARAM wp, LPARAM lp);

  // Messages the control sent to its parent; return true to keep them from
  // the parent. An owner-drawn control of fixed item height is measured while
  // it is created: made by Attach after its creation, its owner sets the
  // height afterwards; made by CreateControl, its object answers.
  virtual bool OnCommand(int notify_code) { return false; }
  virtual bool OnNotify(NMHDR& header, LRESULT& result) { return false; }
  virtual bool OnDrawItem(const DRAWITEMSTRUCT& item) { return false; }
  virtual bool OnMeasureItem(MEASUREITEMSTRUCT& item) { return false; }
  // The brush of the control's background, with the text colours set in dc;
  // null leaves them to the parent.
  virtual HBRUSH OnColor(HDC dc) { return nullptr; }

 private:
  friend class WindowLife;
  static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
  HWND hwnd_ = nullptr;
  WNDPROC base_ = nullptr;
  // How deep the object is in its own handlers (see handler_depth.h).
  mutable int handler_depth_ = 0;
};

// A control whose messages go to a member function of its owner (a form's
// edit box or list that only needs a few keys of its own).
template <class Owner>
class OwnedControl : public Control {
 public:
  using Handler = LRESULT (Owner::*)(OwnedControl& control, UINT msg, WPARAM wp, LPARAM lp);
  OwnedControl(Owner& owner, Handler handler) : owner_(owner), handler_(handler) {}
  // The control's own procedure, for the owner's handler.
  LRESULT CallDefault(UINT msg, WPARAM wp, LPARAM lp) { return DefaultProc(msg, wp, lp); }

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override { return (owner_.*handler_)(*this, msg, wp, lp); }

 private:
  Owner& owner_;
  Handler handler_;
};

}  // namespace velkor
