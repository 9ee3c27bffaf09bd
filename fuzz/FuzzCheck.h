// What the fuzz targets use to state a property: a violated one prints what broke and aborts,
// so libFuzzer (or the replayer under CTest) stops on it with the input that broke it.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

namespace vantor::fuzz {

[[noreturn]] inline void fail(const std::string& what) {
    std::fprintf(stderr, "fuzz property violated: %s\n", what.c_str());
    std::fflush(stderr);
    std::abort();
}

inline void check(bool holds, const std::string& what) {
    if (!holds) fail(what);
}

}  // namespace vantor::fuzz
