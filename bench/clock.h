#pragma once
// The performance counter in seconds, and the wait for an idle thread, for the
// benchmark programs under Wine.
#include "platform/win32.h"

namespace bench {

inline double Now() {
  static const double ticks_per_second = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / ticks_per_second;
}

// Dispatches what is waiting, paints included, until the thread is idle.
inline void PumpUntilIdle() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace bench
