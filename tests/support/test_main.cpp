// The entry point of every program in tests/win.
#include <gtest/gtest.h>

#include <memory>

#include "platform/handler_depth.h"
#include "support/win_test.h"

namespace {

// A test that never expected a box has no answerer of its own; without this
// one such a box would block the test until CTest's time-out, and a modeless
// dialog would go unnoticed.
class AnswerEveryDialog : public ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo&) override {
    answerer_ = std::make_unique<velkor::test::DialogAnswerer>();
  }
  void OnTestEnd(const ::testing::TestInfo&) override { answerer_.reset(); }
  std::unique_ptr<velkor::test::DialogAnswerer> answerer_;
};

// An object freed while one of its own handlers runs: the code on the stack
// below would go on in freed memory.
void FailOnFreedInHandler(const char* kind) {
  ADD_FAILURE() << "a " << kind << " object was freed while a handler of it was running";
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  velkor::SetFreedInHandlerReport(FailOnFreedInHandler);
  ::testing::UnitTest::GetInstance()->listeners().Append(new AnswerEveryDialog);
  return RUN_ALL_TESTS();
}
