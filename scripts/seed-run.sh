#!/usr/bin/env bash
# Seeds the run/ folder that `make run` starts snipdeck in, as the installed launcher seeds a
# new user's folder: the sample Start.ini and the sample clip data file it names, so that the
# first start shows a working bar. An existing run/ is left alone.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
run=${1:-$here/run}

[ -e "$run/Start.ini" ] && exit 0
mkdir -p "$run"
[ -e "$run/定型文.cdt" ] || cp "$here/samples/sample.cdt" "$run/定型文.cdt"
cp "$here/samples/Start.ini" "$run/Start.ini"
echo "Seeded $run with a sample clip data file."
