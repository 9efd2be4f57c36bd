#!/usr/bin/env bash
# The whole test suite built with AddressSanitizer and UBSan (g++), in its own build dir.
# Usage: scripts/test-asan.sh [BUILD_DIR]   (default build-asan)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
. "$here/scripts/configure.sh"
build=${1:-build-asan}
case $build in /*) ;; *) build=$here/$build ;; esac
jobs=${JOBS:-$(nproc)}
# Unoptimised with line tables only: three times quicker to compile than -O1 -g, which
# matters more to CI than the tests' own few seconds; stack traces still name the lines.
flags="-O0 -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"

configure "$build" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-g1 \
    "-DCMAKE_CXX_FLAGS=$flags" "-DCMAKE_EXE_LINKER_FLAGS=$flags"
cmake --build "$build" -j"$jobs"

# Leaks are checked too; what the system libraries keep until exit is listed in the
# suppressions file, nothing of ours.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:detect_stack_use_after_return=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$here/tests/asan/lsan.supp:print_suppressions=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
cd "$build" && ctest --output-on-failure -j"$jobs"
