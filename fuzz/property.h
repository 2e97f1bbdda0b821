#pragma once

#include <cstdio>
#include <cstdlib>

// Stops the fuzzer on a broken property, naming it; libFuzzer then keeps the input. Unlike
// assert(), it holds in optimised builds.
#define LIRVANE_PROPERTY(condition)                                                                \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #condition);  \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)
