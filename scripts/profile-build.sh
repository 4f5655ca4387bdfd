#!/usr/bin/env bash
# Builds trellane and the benchmarks with GCC's profile-guided optimisation:
# an instrumented build, a training run, then the build that uses what the
# training measured, in the same folder (default build/profile). The
# training converts the generated scripts of MenuBench and DialogBench, the
# MinGW-w64 headers' script when those headers are installed, and every
# script in examples/ and tests/scripts/.
#
#   bash scripts/profile-build.sh [FOLDER]
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
folder=$(realpath -m "${1:-$TRELLANE_ROOT/build/profile}")
jobs=${JOBS:-2}
profiles=$folder/profile
targets=(trellane MenuBench DialogBench MingwHeaderBench)

# Without -Werror: the instrumented code makes GCC see uninitialised values
# that are not there (in CLI11's conversions); the other builds keep warnings
# as errors.
Configure() {
  cmake -S "$TRELLANE_ROOT" -B "$folder" -DCMAKE_BUILD_TYPE=Release -DTRELLANE_TESTS=OFF -DTRELLANE_BENCH=ON \
    -DTRELLANE_WERROR=OFF -DTRELLANE_PROFILE="$1" -DTRELLANE_PROFILE_DIR="$profiles"
}

rm -rf "$profiles"
Configure generate
cmake --build "$folder" --parallel "$jobs" --target "${targets[@]}"

work=$(mktemp -d /tmp/trellane-profile.XXXXXX)
trap 'rm -rf "$work"' EXIT
"$folder/bench/MenuBench" 20000 >"$work/menu.txt"
"$folder/bench/DialogBench" 10000 >"$work/dialog.txt"
"$folder/bench/MingwHeaderBench" --runs 1 >"$work/mingw.txt"
count=0
while IFS= read -r -d '' script; do
  # Scripts that fail to convert train the paths of their messages.
  "$folder/src/trellane" convert "$script" -o "$work/out$count" --base-units 8,16 >/dev/null 2>&1 || true
  count=$((count + 1))
done < <(RepositoryScripts)
echo "trained on the benchmarks' scripts and $count scripts of the repository"

Configure use
cmake --build "$folder" --parallel "$jobs"
