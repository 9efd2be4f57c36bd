#!/usr/bin/env bash
# Release benchmarks of the clip data reader and writer (Google Benchmark).
# Usage: scripts/bench.sh [BUILD_DIR]   (default build-bench)
# Prints MiB/s, the ratio to the iconv floor (goal: reading at least half the floor's speed)
# and how the time grows from a 30 MiB to a 300 MiB file (goal: at most 11 times).
# Figures only: it never fails on a missed goal, the machine may be busy.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
. "$here/scripts/configure.sh"
build=${1:-build-bench}
case $build in /*) ;; *) build=$here/$build ;; esac
jobs=${JOBS:-$(nproc)}

configure "$build" -DCMAKE_BUILD_TYPE=Release -DSNIPDECK_BENCH=ON \
    -DBUILD_TESTING=OFF
cmake --build "$build" -j"$jobs" --target bench_clipfile readmemory >/dev/null

json=$build/bench_clipfile.json
"$build/tests/bench/bench_clipfile" --benchmark_repetitions="${BENCH_REPETITIONS:-3}" \
    --benchmark_report_aggregates_only=true --benchmark_out="$json" \
    --benchmark_out_format=json ${BENCH_ARGS:-}

python3 - "$json" <<'PY'
import json, sys
runs = json.load(open(sys.argv[1]))["benchmarks"]
median = {}
for r in runs:
    if r.get("aggregate_name") != "median":
        continue
    name, size = r["run_name"].split("/")[:2]
    median[(name, int(size))] = r
def mibs(name, size):
    return median[(name, size)]["bytes_per_second"] / 2**20
def secs(name, size):
    r = median[(name, size)]
    key = "real_time" if name in ("Write", "SaveFloor") else "cpu_time"
    return r[key] * {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}[r["time_unit"]]

names = ["IconvFloor", "Read", "Write", "SaveFloor"]
size1, size10 = median[("IconvFloor", 1)]["file_MiB"], median[("IconvFloor", 10)]["file_MiB"]
print()
print(f"{'':12} {'MiB/s (%.0f MiB)' % size1:>16} {'vs floor':>9} {'10x file: time':>15}")
floor = mibs("IconvFloor", 1)
for n in names:
    print(f"{n:12} {mibs(n, 1):16.1f} {mibs(n, 1) / floor:9.2f} {secs(n, 10) / secs(n, 1):14.2f}x")
ratio = mibs("Read", 1) / floor
growth = secs("Read", 10) / secs("Read", 1)
print()
print(f"reading: {ratio:.2f} of the iconv floor (goal >= 0.5): {'met' if ratio >= 0.5 else 'NOT met'}")
print(f"reading a 10x file: {growth:.2f}x the time (goal <= 11x): {'met' if growth <= 11 else 'NOT met'}")
wgrowth = secs("Write", 10) / secs("Write", 1)
print(f"writing a 10x file: {wgrowth:.2f}x the time (goal <= 11x): {'met' if wgrowth <= 11 else 'NOT met'}")
print(f"  of which the disk alone (same bytes, same save): {secs('SaveFloor', 10) / secs('SaveFloor', 1):.2f}x")
PY

# Memory (goal: at most twice the file's size besides what the process held before).
echo
for kind in sjis ascii; do
    "$build/tests/bench/readmemory" make "$build/$kind.cdt" "$kind" 30
    "$build/tests/bench/readmemory" read "$build/$kind.cdt"
done
