#include "platform/handler_depth.h"

#include <deque>
#include <utility>

namespace velkor {
namespace {

struct Waiting {
  const void* key;
  std::function<void()> free_object;
};

// Everything runs on the user interface thread.
int g_depth = 0;
std::deque<Waiting> g_waiting;
FreedInHandlerReport g_report = nullptr;

}  // namespace

HandlerScope::HandlerScope(int& object_depth) : object_depth_(object_depth) {
  ++object_depth_;
  ++g_depth;
}

HandlerScope::~HandlerScope() {
  --object_depth_;
  if (g_depth == 1) {
    // Still counted as one level while the waiting objects go: their
    // destructors destroy windows, whose handlers must not start a second
    // round inside this one.
    while (!g_waiting.empty()) {
      Waiting next = std::move(g_waiting.front());
      g_waiting.pop_front();
      next.free_object();
    }
  }
  --g_depth;
}

void WhenIdle(const void* key, std::function<void()> free_object) {
  if (g_depth == 0) {
    free_object();
    return;
  }
  g_waiting.push_back(Waiting{key, std::move(free_object)});
}

void ForgetWhenIdle(const void* key) {
  for (auto it = g_waiting.begin(); it != g_waiting.end();) {
    if (it->key == key)
      it = g_waiting.erase(it);
    else
      ++it;
  }
}

int HandlerDepth() { return g_depth; }

void CheckNotInHandler(int object_depth, const char* kind) {
  if (object_depth > 0 && g_report) g_report(kind);
}

void SetFreedInHandlerReport(FreedInHandlerReport report) { g_report = report; }

}  // namespace velkor
