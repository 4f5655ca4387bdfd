#!/usr/bin/env bash
# The committed code page tables and built-in Windows headers are what their
# generators give now: both run into a temporary folder and are compared.
set -euo pipefail

root=${TRELLANE_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
work=$(mktemp -d /tmp/trellane-tables.XXXXXX)
trap 'rm -rf "$work"' EXIT

status=0
python3 "$root/scripts/generate-code-pages.py" "$work/CodePageTables.inc"
python3 "$root/scripts/generate-windows-headers.py" "$work"
for pair in generate-code-pages.py:CodePageTables.inc generate-windows-headers.py:WindowsHeaders.inc \
  generate-windows-headers.py:WindowsConstants.inc; do
  generator=${pair%%:*}
  file=${pair#*:}
  if diff -u "$root/src/script/$file" "$work/$file" >"$work/diff.txt"; then
    echo "ok   src/script/$file is what scripts/$generator gives"
  else
    head -40 "$work/diff.txt"
    echo "FAILED: src/script/$file differs from what scripts/$generator gives; run it and commit the result" >&2
    status=1
  fi
done
exit "$status"
