#!/usr/bin/env bash
# Runs every fuzz target for FUZZ_SECONDS (default 30) on a copy of its seed
# corpus fuzz/corpus/<name>/; any crash, leak, sanitizer report or timeout fails.
set -euo pipefail

root=${TRELLANE_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
build=${TRELLANE_FUZZ_BUILD:-$root/build/fuzz}
seconds=${FUZZ_SECONDS:-30}
list=$build/fuzz/fuzz-targets.txt

if [[ ! -f "$list" ]]; then
  echo "error: $list is missing; build with -DTRELLANE_FUZZ=ON first" >&2
  exit 1
fi
mapfile -t targets < <(grep -v '^$' "$list" || true)
if ((${#targets[@]} == 0)); then
  echo "no fuzz targets"
  exit 0
fi

work=$(mktemp -d /tmp/trellane-fuzz.XXXXXX)
trap 'rm -rf "$work"' EXIT
artifacts=$build/fuzz-artifacts
mkdir -p "$artifacts"

failed=0
for target in "${targets[@]}"; do
  name=$(basename "$target")
  corpus=$work/$name
  mkdir -p "$corpus"
  if [[ -d "$root/fuzz/corpus/$name" ]]; then
    cp -R "$root/fuzz/corpus/$name/." "$corpus/"
  fi
  echo "--- $name: $(find "$corpus" -type f | wc -l) seed files, ${seconds}s"
  if ! "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$artifacts/$name-" "$corpus" >"$work/$name.log" 2>&1; then
    tail -n 60 "$work/$name.log"
    echo "FAILED: $name; the input is in $artifacts/ (rerun: $target FILE)"
    failed=1
  else
    grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb|Done [0-9]+ runs)' "$work/$name.log" || true
  fi
done
exit "$failed"
