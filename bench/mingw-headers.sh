#!/bin/sh
# Times `trellane convert` against the MinGW-w64 gcc's preprocessor on the
# script of MingwHeaderBench (<windows.h>, <commctrl.h>, <richedit.h>): the
# median wall time of RUNS runs of each, in milliseconds.
#
#   bench/mingw-headers.sh [BUILD_FOLDER [RUNS [HEADERS]]]
#
# BUILD_FOLDER is a build with -DTRELLANE_BENCH=ON (default build-bench);
# HEADERS the MinGW-w64 include folder (default /usr/share/mingw-w64/include).
set -eu
build=${1:-build-bench}
runs=${2:-11}
headers=${3:-/usr/share/mingw-w64/include}
if [ ! -f "$headers/windows.h" ]; then
  echo "skipped: no MinGW-w64 headers in $headers"
  exit 0
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bench/MingwHeaderBench" --write-script "$work/app.rc"

# The median wall time of $runs runs of the command given, in ms.
median() {
  : >"$work/times"
  i=0
  while [ "$i" -lt "$runs" ]; do
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1
    end=$(date +%s%N)
    echo $(((end - start) / 1000)) >>"$work/times"
    i=$((i + 1))
  done
  sort -n "$work/times" | awk '{ t[NR] = $1 } END { m = (NR % 2) ? t[(NR + 1) / 2] : (t[NR / 2] + t[NR / 2 + 1]) / 2; printf "%.1f", m / 1000 }'
}

trellane=$(median "$build/src/trellane" convert "$work/app.rc" -o "$work/out" -I "$headers")
echo "trellane convert -I $headers: median $trellane ms of $runs"
if command -v x86_64-w64-mingw32-gcc >/dev/null; then
  gcc=$(median x86_64-w64-mingw32-gcc -E -DRC_INVOKED "-I$headers" -x c "$work/app.rc" -o "$work/app.i")
  echo "x86_64-w64-mingw32-gcc -E -DRC_INVOKED -I$headers: median $gcc ms of $runs"
  awk -v t="$trellane" -v g="$gcc" 'BEGIN { printf "trellane / gcc -E: %.2f (the goal: at most 0.5)\n", t / g }'
else
  echo "x86_64-w64-mingw32-gcc not installed"
fi
