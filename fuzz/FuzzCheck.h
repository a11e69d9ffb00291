#pragma once
// A broken promise of the code under fuzzing: print what was expected and abort, so that
// libFuzzer keeps the input as a crash like any memory error.
#include <cstdio>
#include <cstdlib>
#include <string>

namespace qx::fuzz {

inline void require(bool held, const std::string& what) {
    if (held) return;
    std::fprintf(stderr, "broken promise: %s\n", what.c_str());
    std::abort();
}

}  // namespace qx::fuzz
