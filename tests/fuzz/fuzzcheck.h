#pragma once
#include <cstdint>
#include <cstdio>
#include <cstdlib>

/** On failure says which property broke and aborts: libFuzzer (or the replay) keeps the input. */
#define FUZZ_CHECK(c) \
    do { if (!(c)) { std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #c); std::abort(); } } while (false)
