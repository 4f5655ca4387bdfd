#!/usr/bin/env bash
# Compares the FreeType font metrics of the native build with what GDI reports
# under Wine for the same fonts (DejaVu Sans at 8, 9, 10 and 12 points,
# regular and bold, and Liberation faces upright and italic, at 96 pixels per
# inch), and the classic window frames with
# AdjustWindowRectEx. Needs TRELLANE_NATIVE_BUILD, TRELLANE_WINDOWS_BUILD,
# TRELLANE_WINE_RUN, and DISPLAY and WINEPREFIX of a started Wine.
set -euo pipefail

root=${TRELLANE_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
native=${TRELLANE_NATIVE_BUILD:-$root/build/native}/tests/freetype_font_metrics
windows=${TRELLANE_WINDOWS_BUILD:-$root/build/windows}/tests/gdi_font_metrics.exe
wineRun=${TRELLANE_WINE_RUN:-$root/scripts/wine-run.sh}

for program in "$native" "$windows"; do
  if [[ ! -x "$program" && ! -f "$program" ]]; then
    echo "error: $program is missing; build the native and the Windows trees first" >&2
    exit 1
  fi
done

fonts=()
for points in 8 9 10 12; do
  for weight in 400 700; do
    fonts+=("DejaVu Sans:$points:$weight")
  done
done
# Italic faces have letters of their own widths (fonts-liberation).
fonts+=("Liberation Serif:9:400" "Liberation Serif:9:400:italic" "Liberation Serif:11:400:italic"
  "Liberation Serif:10:700:italic" "Liberation Sans:8:400:italic")
frames=(10C80000:0:0 10C80000:80:0 50000000:0:0 10CC0000:0:0 10CC0000:0:1 80800000:0:0 80400000:0:0
  80040000:0:0 80000000:1:0 80000000:200:0 80000000:20000:0 80C80080:1:0 80C80000:300:0 10CC0000:80:1)

work=$(mktemp -d /tmp/trellane-metrics.XXXXXX)
trap 'rm -rf "$work"' EXIT

"$native" "${fonts[@]}" >"$work/freetype.txt"
"$wineRun" "$windows" "${fonts[@]}" | tr -d '\r' >"$work/gdi.txt"
"$native" --frames "${frames[@]}" >"$work/classic-frames.txt"
"$wineRun" "$windows" --frames "${frames[@]}" | tr -d '\r' >"$work/gdi-frames.txt"

echo "font|points|weight|tmHeight|sample width   (FreeType, then GDI under Wine)"
paste -d ' ' "$work/freetype.txt" "$work/gdi.txt"
status=0
if ! diff -u "$work/gdi.txt" "$work/freetype.txt"; then
  echo "FAILED: the FreeType measurements differ from GDI's" >&2
  status=1
fi
if ! diff -u "$work/gdi-frames.txt" "$work/classic-frames.txt"; then
  echo "FAILED: the classic window frames differ from AdjustWindowRectEx" >&2
  status=1
fi
((status == 0)) && echo "FreeType and GDI agree on $(wc -l <"$work/gdi.txt") fonts and $(wc -l <"$work/gdi-frames.txt") frames"
exit "$status"
