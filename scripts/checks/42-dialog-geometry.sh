#!/usr/bin/env bash
# Creates every dialog of the test scripts and of the example with the dialog
# manager under Wine and compares each window's rectangle with the records
# trellane.exe writes for it (tests/geometry/dialog_geometry.py).
# Needs TRELLANE_NATIVE_BUILD, TRELLANE_WINDOWS_BUILD, TRELLANE_WINE_RUN, and
# DISPLAY and WINEPREFIX of a started Wine, as scripts/test.sh sets them.
set -euo pipefail

root=${TRELLANE_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
: "${WINEPREFIX:?set WINEPREFIX to the Wine prefix to use}"
: "${DISPLAY:?set DISPLAY to an X server (for example Xvfb)}"

exec python3 "$root/tests/geometry/dialog_geometry.py" check "$root"/tests/scripts/*.rc "$root/examples/dialog.rc"
