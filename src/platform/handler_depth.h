#pragma once
// Code of a window's object often lets messages through before it returns: a
// message box, a modal dialog, a listing that keeps the windows painted. Any
// window may be destroyed meanwhile. The window bases count how deep each
// object is in its own handlers, and the thread keeps the sum: an object
// whose window went is freed only once no handler is on the stack any more,
// that is when the outermost one has returned. Freeing it earlier would leave
// the handlers below to run on in freed memory.
//
// Window-free: the bases (Window, Dialog, Control) and WindowLife use it.
#include <functional>

namespace velkor {

// One handler of an object on the stack, or one piece of code that holds the
// object across a pump (WindowLife).
class HandlerScope {
 public:
  explicit HandlerScope(int& object_depth);
  // The last scope of the thread to close runs the work that waited.
  ~HandlerScope();
  HandlerScope(const HandlerScope&) = delete;
  HandlerScope& operator=(const HandlerScope&) = delete;

 private:
  int& object_depth_;
};

// Runs `free_object` at once when no handler is on the stack, else when the
// last one returns. It frees an object (destructors never throw). `key`, the
// object, lets ForgetWhenIdle drop the work when the object goes first.
void WhenIdle(const void* key, std::function<void()> free_object);
void ForgetWhenIdle(const void* key);
// How many handlers (and holders) are on the stack, over every object.
int HandlerDepth();

// Called by the bases' destructors: an object freed while one of its own
// handlers runs is reported to the function set here (the tests set one that
// fails the running test); without one nothing is said.
void CheckNotInHandler(int object_depth, const char* kind);
using FreedInHandlerReport = void (*)(const char* kind);
void SetFreedInHandlerReport(FreedInHandlerReport report);

}  // namespace velkor
