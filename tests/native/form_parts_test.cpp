#include "ui/form_parts.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace velkor {
namespace {

// A form or dialog as its base's procedure drives it, and what it heard.
class Part : public FormParts {
 public:
  Part(std::string name, std::vector<std::string>& heard) : name_(std::move(name)), heard_(heard) {}
  void Made() { NoteWindowMade(); }
  void Gone() { NoteWindowGone(); }
  std::function<void()> on_closing;

  using FormParts::RequestStop;
  using FormParts::stop_requested;
  using FormParts::Work;
  using FormParts::working;

 protected:
  void OnMainWindowClosing() override {
    heard_.push_back(name_);
    if (on_closing) on_closing();
  }

 private:
  std::string name_;
  std::vector<std::string>& heard_;
};

TEST(FormParts, TheMainWindowsCloseIsHeardInOrderOnlyByWindowsStillOpen) {
  std::vector<std::string> heard;
  Part main("main", heard), search("search", heard), box("box", heard), tool("tool", heard), unmade("unmade", heard);
  int gone_calls = 0;
  for (Part* p : {&main, &search, &box, &tool}) p->Made();
  box.OnWindowGone([&] { ++gone_calls; });
  search.on_closing = [&] { box.Gone(); };  // closing one window takes another with it
  {
    Part freed("freed", heard);
    freed.Made();
  }
  FormParts::TellMainWindowClosing(main);
  EXPECT_EQ(heard, (std::vector<std::string>{"search", "tool"}));
  EXPECT_EQ(gone_calls, 1);
  box.Gone();
  EXPECT_EQ(gone_calls, 1) << "told once";
}

TEST(FormParts, WorkCountsWhileItRunsAndStartsWithoutAStopRequest) {
  std::vector<std::string> heard;
  Part form("form", heard);
  form.RequestStop();
  {
    Part::Work work(form);
    EXPECT_TRUE(form.working());
    EXPECT_FALSE(form.stop_requested());
    form.RequestStop();
  }
  EXPECT_FALSE(form.working());
  EXPECT_TRUE(form.stop_requested()) << "code after the work asks why it ended";
}

}  // namespace
}  // namespace velkor
