#include "ui/form_parts.h"

#include <algorithm>

namespace velkor {
namespace {

// The forms and dialogs whose windows exist, in the order they were made.
// Everything runs on the user interface thread.
std::vector<FormParts*>& OpenWindows() {
  static std::vector<FormParts*> open;
  return open;
}

bool IsOpen(const FormParts* object) {
  const auto& open = OpenWindows();
  return std::find(open.begin(), open.end(), object) != open.end();
}

}  // namespace

void FormParts::NoteWindowMade() {
  if (!IsOpen(this)) OpenWindows().push_back(this);
}

void FormParts::NoteWindowGone() {
  auto& open = OpenWindows();
  open.erase(std::remove(open.begin(), open.end(), this), open.end());
  for (auto& callback : std::exchange(on_gone_, {})) callback();
}

void FormParts::TellMainWindowClosing(const FormParts& main_window) {
  const std::vector<FormParts*> listeners = OpenWindows();
  for (FormParts* f : listeners)
    if (f != &main_window && IsOpen(f)) f->OnMainWindowClosing();
}

}  // namespace velkor
