#include "platform/handler_depth.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velkor {
namespace {

std::vector<std::string> g_reports;
void Record(const char* kind) { g_reports.emplace_back(kind); }

TEST(HandlerDepth, WorkWaitsForTheOutermostHandlerAndRunsOnceInOrder) {
  std::vector<int> freed;
  int a = 0, b = 0;
  WhenIdle(&a, [&] { freed.push_back(0); });
  EXPECT_EQ(freed, std::vector<int>{0}) << "no handler runs: at once";
  {
    HandlerScope outer(a);
    {
      HandlerScope inner(b);
      WhenIdle(&b, [&] { freed.push_back(1); });
      WhenIdle(&a, [&] {
        freed.push_back(2);
        // Work that a free sets off (a member window destroyed) joins the round.
        HandlerScope nested(b);
        WhenIdle(&b, [&] { freed.push_back(3); });
      });
    }
    EXPECT_EQ(freed.size(), 1u) << "the outer handler still runs";
    EXPECT_EQ(b, 0);
    EXPECT_EQ(a, 1);
  }
  EXPECT_EQ(freed, (std::vector<int>{0, 1, 2, 3}));
  EXPECT_EQ(HandlerDepth(), 0);
}

TEST(HandlerDepth, AnObjectFreedFirstTakesItsWorkWithIt) {
  bool ran = false;
  int depth = 0, key = 0, other = 0;
  {
    HandlerScope scope(depth);
    WhenIdle(&key, [&] { ran = true; });
    WhenIdle(&other, [] {});
    ForgetWhenIdle(&key);
  }
  EXPECT_FALSE(ran);
}

TEST(HandlerDepth, FreeingAnObjectInItsOwnHandlerIsReported) {
  g_reports.clear();
  SetFreedInHandlerReport(Record);
  int depth = 0;
  CheckNotInHandler(depth, "window");
  {
    HandlerScope scope(depth);
    CheckNotInHandler(depth, "dialog");
  }
  SetFreedInHandlerReport(nullptr);
  CheckNotInHandler(1, "control");
  EXPECT_EQ(g_reports, std::vector<std::string>{"dialog"});
}

}  // namespace
}  // namespace velkor
