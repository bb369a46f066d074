#pragma once
// The performance counter in seconds, for the benchmark programs under Wine.
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

}  // namespace bench
