#!/usr/bin/env bash
# Works trellane-gui.exe through its windows under Wine with the driver of
# tests/gui/ and compares its files with trellane.exe's. Screenshots of every
# step go to $TRELLANE_WINDOWS_BUILD/gui-artifacts/.
# Needs TRELLANE_WINDOWS_BUILD, TRELLANE_WINE_RUN, WINEPREFIX and DISPLAY (an X
# server such as Xvfb), as scripts/test.sh sets them.
set -euo pipefail

root=${TRELLANE_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
build=${TRELLANE_WINDOWS_BUILD:-$root/build/windows}
wineRun=${TRELLANE_WINE_RUN:-$root/scripts/wine-run.sh}
: "${WINEPREFIX:?set WINEPREFIX to the Wine prefix to use}"
: "${DISPLAY:?set DISPLAY to an X server (for example Xvfb)}"

gui=$build/src/app/gui/trellane-gui.exe
cli=$build/src/trellane.exe
driver=$build/tests/gui/trellane-gui-driver.exe
for program in "$gui" "$cli" "$driver"; do
  if [[ ! -f "$program" ]]; then
    echo "error: $program is missing; build the Windows tree first" >&2
    exit 1
  fi
done
# Built statically: nothing beyond the DLLs every Windows has.
objdump=x86_64-w64-mingw32-objdump
if command -v "$objdump" >/dev/null; then
  for program in "$gui" "$cli"; do
    foreign=$("$objdump" -p "$program" | awk '/DLL Name:/ { print $3 }' |
      grep -viE '^(kernel32|user32|gdi32|comctl32|comdlg32|msvcrt|advapi32|shell32|ole32)\.dll$' || true)
    if [[ -n "$foreign" ]]; then
      echo "error: $(basename "$program") needs DLLs a clean Windows lacks: $foreign" >&2
      exit 1
    fi
  done
  echo "ok   trellane-gui.exe and trellane.exe need only system DLLs"
fi
command -v import >/dev/null || { echo "error: ImageMagick's import is missing" >&2; exit 1; }

# Wine shows the Unix root as drive Z:.
WindowsPath() {
  local path
  path=$(realpath "$1")
  echo "Z:${path//\//\\}"
}

work=$(mktemp -d /tmp/trellane-gui.XXXXXX)
trap 'rm -rf "$work"' EXIT
artifacts=$build/gui-artifacts
rm -rf "$artifacts"
mkdir -p "$artifacts"

timeout 600 "$wineRun" "$driver" \
  --gui "$(WindowsPath "$gui")" \
  --cli "$(WindowsPath "$cli")" \
  --scripts "$root/tests/gui/scripts" \
  --work "$work" \
  --artifacts "$artifacts"
echo "screenshots: $artifacts"
