#pragma once
// The progress window of long work: a small stay-on-top tool window in the
// middle of the screen, "暫くお待ち下さい。" and below it, in blue, the item
// being worked on. Its owner creates it once and shows and hides it around
// each piece of work.
#include <string>

#include "platform/scoped.h"
#include "ui/form.h"

namespace velkor {

class ProgressWindow : public Form {
 public:
  ProgressWindow();
  ~ProgressWindow() override;

  // Creates the window, hidden, owned by `owner`.
  void CreateForm(HWND owner);

  // Shows the window without taking the activation from its owner.
  void ShowProgress();
  void HideProgress();
  void SetCaption(const std::wstring& caption);
  // The item being processed; painted the next time messages are processed.
  void SetItem(const std::wstring& text);
  // Paints what is pending now.
  void Repaint();

  HWND OpeLabel() const { return ope_label_; }
  HWND NameLabel() const { return name_label_; }

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void CreateControls();

  HWND ope_label_ = nullptr;
  HWND name_label_ = nullptr;
  ScopedFont font_;
};

}  // namespace velkor
