#!/usr/bin/env bash
# Start-up of snipdeck with a 30-button file, next to a bare Qt window: time from launch
# to the window being mapped, and peak resident memory, median of RUNS (default 10) each.
# Usage: scripts/bench-startup.sh [BUILD_DIR]   (default build-bench; Release)
# Goals: at most 1.3 times the bare window's time, at most 10 MB more memory. Figures only.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
. "$here/scripts/configure.sh"
build=${1:-build-bench}
case $build in /*) ;; *) build=$here/$build ;; esac
jobs=${JOBS:-$(nproc)}

configure "$build" -DCMAKE_BUILD_TYPE=Release -DSNIPDECK_BENCH=ON \
    -DBUILD_TESTING=OFF
cmake --build "$build" -j"$jobs" --target snipdeck barewindow >/dev/null

work=$(mktemp -d)
xvfb_pid=
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
exec 3>&-
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
export DISPLAY=:$(cat "$work/display")
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.05; done
xdpyinfo >/dev/null 2>&1 || { echo "bench-startup: Xvfb did not start on $DISPLAY"; cat "$work/xvfb.log"; exit 1; }
export QT_QPA_PLATFORM=xcb

python3 - "$build/snipdeck" "$build/tests/bench/barewindow" "$work" "${RUNS:-10}" <<'PY'
import os, shutil, signal, statistics, subprocess, sys, time
snipdeck, bare, work, runs = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])

def prepare(run_dir):
    os.makedirs(run_dir)
    clip = os.path.join(run_dir, "bench.cdt")
    with open(clip, "wb") as f:
        for i in range(30):
            f.write(f"#定型文{i + 1}\r\nいつもお世話になっております。\r\n{i}\r\n".encode("cp932"))
    with open(os.path.join(run_dir, "Start.ini"), "wb") as f:
        f.write(b" 30 \r\n 240 \r\n 2400 \r\n 0 \r\n 0 \r\n 1200 \r\n 1200 \r\n 0 \r\n")
        f.write(clip.encode("cp932") + b"\r\n")

def mapped(title):
    r = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{title}$"],
                       stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    return r.returncode == 0 and r.stdout.strip() != b""

def once(program, title, run_dir):
    rss_file = os.path.join(run_dir, "rss")
    start = time.perf_counter()
    proc = subprocess.Popen(["/usr/bin/time", "-f", "%M", "-o", rss_file, program], cwd=run_dir,
                            stdout=subprocess.DEVNULL, stderr=open(os.path.join(run_dir, "log"), "wb"))
    while not mapped(title):
        if proc.poll() is not None:
            sys.exit(f"{program} ended before its window was mapped (run {run_dir}, DISPLAY {os.environ.get('DISPLAY')}): "
                     + open(os.path.join(run_dir, "log"), errors="replace").read()[-2000:])
        if time.perf_counter() - start > 30:
            sys.exit(f"{program}: no window '{title}' after 30 s")
    elapsed = time.perf_counter() - start
    # The program itself, /usr/bin/time's only child; a graceful end lets time report.
    child = subprocess.run(["ps", "-o", "pid=", "--ppid", str(proc.pid)],
                           stdout=subprocess.PIPE, text=True).stdout.split()
    for pid in child:
        os.kill(int(pid), signal.SIGTERM)
    proc.wait(timeout=30)
    with open(rss_file) as f:
        rss_kib = int(f.read().split()[-1])
    return elapsed, rss_kib

results = {"snipdeck": [], "bare": []}
for i in range(runs + 1):  # the first pair warms the caches and is not counted
    for name, program, title in (("snipdeck", snipdeck, "bench"), ("bare", bare, "barewindow")):
        run_dir = os.path.join(work, f"{name}{i}")
        prepare(run_dir)
        r = once(program, title, run_dir)
        if i > 0:
            results[name].append(r)
        shutil.rmtree(run_dir)

def med(name, k):
    return statistics.median(r[k] for r in results[name])
t_s, t_b = med("snipdeck", 0), med("bare", 0)
m_s, m_b = med("snipdeck", 1) / 1024, med("bare", 1) / 1024
print(f"median of {runs} runs      time to mapped   peak RSS")
print(f"snipdeck (30 buttons)   {t_s * 1000:9.1f} ms   {m_s:7.1f} MiB")
print(f"bare Qt window          {t_b * 1000:9.1f} ms   {m_b:7.1f} MiB")
print(f"ratio / difference      {t_s / t_b:9.2f} x    {m_s - m_b:+7.1f} MiB")
print(f"time goal <= 1.3x: {'met' if t_s / t_b <= 1.3 else 'NOT met'}; "
      f"memory goal <= +10 MB: {'met' if (m_s - m_b) * 1.048576 <= 10 else 'NOT met'}")
PY
