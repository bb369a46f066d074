#pragma once
// What a fuzz target does when a property fails: name it and stop, so that
// libFuzzer keeps the input.
#include <cstdio>
#include <cstdlib>

namespace velkor::fuzz {

inline void Check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "broken: %s\n", what);
    std::abort();
  }
}

}  // namespace velkor::fuzz
