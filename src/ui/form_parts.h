#pragma once
// What forms and dialogs have alike over their windows: long work that lets
// window messages through, hearing that the main window closes, and being
// told when the window goes. Form and Dialog derive from it, and their
// window procedures say when the window is made and when it goes.
//
// Window-free, like handler_depth.h.
#include <functional>
#include <utility>
#include <vector>

namespace velkor {

class FormParts {
 public:
  FormParts(const FormParts&) = delete;
  FormParts& operator=(const FormParts&) = delete;

  // Called once when the window goes (after the object's own WM_DESTROY, or
  // when the object is freed first); the single-instance reference uses it.
  void OnWindowGone(std::function<void()> callback) { on_gone_.push_back(std::move(callback)); }

  // The main window is being destroyed: every other form and dialog whose
  // window exists hears it, in the order their windows were made. One that
  // went meanwhile (an earlier one closed it) hears nothing.
  static void TellMainWindowClosing(const FormParts& main_window);

 protected:
  FormParts() = default;
  ~FormParts() { NoteWindowGone(); }

  // Forms and dialogs that must not outlive the main window close here.
  virtual void OnMainWindowClosing() {}

  // Long work that lets window messages through (a listing, a search) runs
  // inside one Work: the form counts as working, and the user may ask the
  // work to stop; the window's destruction asks it to stop too. Code after
  // the work asks a WindowLife, taken before it, whether the form may go on.
  class Work {
   public:
    explicit Work(FormParts& owner) : owner_(owner) {
      owner.working_ = true;
      owner.stop_requested_ = false;
    }
    ~Work() { owner_.working_ = false; }
    Work(const Work&) = delete;
    Work& operator=(const Work&) = delete;

   private:
    FormParts& owner_;
  };
  bool working() const { return working_; }
  bool stop_requested() const { return stop_requested_; }
  void RequestStop() { stop_requested_ = true; }

  // For the bases' procedures: the window exists; the window went (once, and
  // the destructor says it too when the object goes first).
  void NoteWindowMade();
  void NoteWindowGone();

 private:
  bool working_ = false;
  bool stop_requested_ = false;
  std::vector<std::function<void()>> on_gone_;
};

}  // namespace velkor
