#pragma once
// The form layer: what the program's windows (the main window, the editor
// windows, the search window and the tool windows) share over the Window
// base. A form registers its class, may own itself (freed when its window
// goes), may keep its placement in the settings file, answers F1 with its
// help contexts, may own the application's hint handler for a while, and
// hears when the main window closes (the last with dialogs, see form_parts.h).
//
// A form handles its messages in OnMessage; the layer's own work (help, the
// placement, handing the hint handler back, the instance reference) wraps it.
#include <functional>
#include <memory>
#include <string>

#include "ui/form_parts.h"
#include "ui/handler_depth.h"
#include "ui/window.h"
#include "ui/window_life.h"

namespace velkor {

class Form : public Window, public FormParts {
 public:
  ~Form() override;

  // Shows the window, restoring it when minimized, and brings it forward.
  void ShowForm();

 protected:
  struct ClassLook {
    bool button_face_background = true;  // false: the form paints everything itself
    bool small_icon = false;             // a 16 x 16 copy of the program's icon for the caption
  };
  // Registers the form's class (once) under `class_name`, which must outlive the form.
  Form(const wchar_t* class_name, ClassLook look);
  explicit Form(const wchar_t* class_name) : Form(class_name, ClassLook()) {}

  const wchar_t* class_name() const { return class_name_; }

  // A form that owns itself is freed when its window goes.
  void SetOwnsItself(bool owns) { owns_itself_ = owns; }

  // Restores the placement stored under the form's class name and saves it
  // again when the window is destroyed. Returns the stored show command; with
  // apply_show false it is only recorded (the caller shows the window).
  int KeepPlacement(bool apply_show = true);

  // Makes `handler` the application's hint handler until another window
  // installs its own; when this form goes, the default handler takes over.
  void InstallHintHandler(std::function<void()> handler);

  // F1 on a control (HELPINFO_WINDOW) or a menu item; 0 leaves it unanswered.
  virtual int HelpContextFor(const HELPINFO& info) { return 0; }
  // The window the help system is opened for.
  virtual HWND HelpOwner() const { return hwnd(); }

  // A notification of a common Find or Replace dialog that this form opened.
  virtual void OnFindMessage(LPARAM lp) {}

  virtual LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) { return DefaultProc(msg, wp, lp); }

  // Frees a form that owns itself (once no handler of it runs any more).
  void OnFinalMessage() override;

 private:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) final;
  void WindowGone();

  const wchar_t* class_name_;
  bool owns_itself_ = false;
  bool keep_placement_ = false;
  bool gone_ = false;
};

// One reference to the single open instance of a form or dialog type: null
// while none is open. The instance clears it itself when its window goes.
template <class T>
class SingleInstance {
 public:
  static T* Get() { return instance_; }
  // The open instance shown and brought forward; created first when there is
  // none, by T::CreateForm, which makes the window and calls BecomeInstance
  // (a type that only comes this way befriends SingleInstance<T>). Null when
  // the window went while it was being created (its creation lets messages
  // through, and the main window may close meanwhile).
  static T* Show() {
    if (!instance_) {
      // Frees wait until the creation has returned: a window destroyed
      // meanwhile frees its object only then. A creation that fails frees
      // the object here first, and its waiting final message with it.
      int creating = 0;
      HandlerScope hold(creating);
      std::unique_ptr<T> created(new T);
      created->CreateForm();
      created.release();  // the window owns it from here and frees it when it closes
    }
    if (instance_) ShowAndBringForward(instance_->hwnd());
    return instance_;
  }

 protected:
  // Called by T once its window exists.
  static void BecomeInstance(T* self) {
    instance_ = self;
    self->OnWindowGone([self] {
      if (instance_ == self) instance_ = nullptr;
    });
  }

 private:
  static inline T* instance_ = nullptr;
};

}  // namespace velkor
