// The fuzzers' check of a property: stops the run with the broken property named, so a crash
// report says what failed.
#pragma once

#include <cstdio>
#include <cstdlib>

#define Require(condition)                                                                                             \
    ((condition) ? (void)0                                                                                             \
                 : (std::fprintf(stderr, "property broken: %s (line %d)\n", #condition, __LINE__), std::abort()))
