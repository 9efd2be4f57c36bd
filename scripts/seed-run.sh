#!/usr/bin/env bash
# Seeds the run/ folder that `make run` starts snipdeck in: a Start.ini and a sample clip
# data file, so that the first start shows a working bar. An existing run/ is left alone.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
run=${1:-$here/run}

[ -e "$run/Start.ini" ] && exit 0
mkdir -p "$run"
sample="定型文.cdt"
cp "$here/samples/sample.cdt" "$run/$sample"
# Eight number lines (count, height, width, on top, hide controls, top, left, index in use),
# then the list of files; Shift-JIS with CR LF like every file of the program.
printf ' 12 \r\n 300 \r\n 2400 \r\n 0 \r\n 0 \r\n 1500 \r\n 1500 \r\n 0 \r\n%s\r\n' "$sample" \
    | iconv -f UTF-8 -t CP932 > "$run/Start.ini"
echo "Seeded $run with a sample clip data file."
