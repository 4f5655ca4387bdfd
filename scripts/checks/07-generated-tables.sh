#!/usr/bin/env bash
# The committed code page tables and built-in Windows constants are what their
# generators give now: both run into a temporary folder and are compared.
set -euo pipefail

root=${TRELLANE_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
work=$(mktemp -d /tmp/trellane-tables.XXXXXX)
trap 'rm -rf "$work"' EXIT

status=0
for table in generate-code-pages.py:CodePageTables.inc generate-windows-constants.py:WindowsConstants.inc; do
  generator=${table%%:*}
  file=${table#*:}
  python3 "$root/scripts/$generator" "$work/$file"
  if diff -u "$root/src/script/$file" "$work/$file"; then
    echo "ok   src/script/$file is what scripts/$generator gives"
  else
    echo "FAILED: src/script/$file differs from what scripts/$generator gives; run it and commit the result" >&2
    status=1
  fi
done
exit "$status"
