#pragma once

#include <cstdio>
#include <cstdlib>

/** A property a fuzz target checks: on failure it says which and aborts, so that libFuzzer
    (or the corpus replay) keeps the input as a crash. */
#define FUZZ_CHECK(condition)                                                                 \
    do {                                                                                      \
        if (!(condition)) {                                                                   \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                     \
        }                                                                                     \
    } while (false)
