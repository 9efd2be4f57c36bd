#!/usr/bin/env bash
# Builds the fuzz targets (clang++, libFuzzer, ASan + UBSan) and runs each for
# FUZZ_SECONDS seconds from its seed corpus in tests/fuzz/corpus/<target>.
# Usage: scripts/fuzz.sh [BUILD_DIR]   (default build-fuzz; FUZZ_SECONDS default 60)
# Inputs the fuzzer finds go to BUILD_DIR/fuzz-corpus, never into the tree. A crash
# input is saved as BUILD_DIR/fuzz-artifacts/<target>-crash-*: once the fault is fixed,
# copy it into tests/fuzz/corpus/<target>/ so that every build replays it.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
. "$here/scripts/configure.sh"
build=${1:-build-fuzz}
case $build in /*) ;; *) build=$here/$build ;; esac
seconds=${FUZZ_SECONDS:-60}
jobs=${JOBS:-$(nproc)}
targets=(clipfile startini)

fuzzer_lib=$(clang++ -print-file-name=libclang_rt.fuzzer-x86_64.a 2>/dev/null || true)
if ! command -v clang++ >/dev/null || [ ! -f "$fuzzer_lib" ]; then
    echo "fuzz: skipped, clang++ with libFuzzer is not installed (clang, libclang-rt-dev)"
    exit 0
fi

configure "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DSNIPDECK_FUZZ=ON
cmake --build "$build" -j"$jobs" --target "${targets[@]/#/fuzz_}" >/dev/null

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
mkdir -p "$build/fuzz-artifacts"
# All targets at once: the run takes FUZZ_SECONDS, not that once per target.
pids=()
for target in "${targets[@]}"; do
    work=$build/fuzz-corpus/$target
    mkdir -p "$work"
    "$build/tests/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 \
        -rss_limit_mb=2048 -max_len=65536 -print_final_stats=1 \
        -artifact_prefix="$build/fuzz-artifacts/$target-" \
        "$work" "$here/tests/fuzz/corpus/$target" >"$build/fuzz-artifacts/$target.log" 2>&1 &
    pids+=($!)
done
failed=()
for i in "${!targets[@]}"; do
    target=${targets[$i]}
    log=$build/fuzz-artifacts/$target.log
    if wait "${pids[$i]}"; then
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
        echo "fuzz $target: ${seconds}s, ${runs:-?} inputs, no failure"
    else
        echo "fuzz $target: FAILED, see $log"
        grep -E 'ERROR|SUMMARY|check failed|artifact' "$log" | head -5 || true
        failed+=("$target")
    fi
done
[ ${#failed[@]} -eq 0 ]
