#!/usr/bin/env bash
# Draws the README's pictures of the example dialog: Wine's picture of the
# dialog the dialog manager creates from examples/dialog.rc, and Trellane's
# preview of the .dlg file trellane.exe writes for it under the same Wine.
# Needs the native build (with cairo) and the Windows build, Xvfb and Wine;
# works in a scratch Wine prefix in which Wine draws the window frames itself.
#   scripts/readme-pictures.sh
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
cd "$TRELLANE_ROOT"
export TRELLANE_NATIVE_BUILD=${TRELLANE_NATIVE_BUILD:-$TRELLANE_ROOT/build/native}
export TRELLANE_WINDOWS_BUILD=${TRELLANE_WINDOWS_BUILD:-$TRELLANE_ROOT/build/windows}
export TRELLANE_WINE_RUN=$TRELLANE_ROOT/scripts/wine-run.sh

prefix=$(mktemp -d /tmp/trellane-pictures.XXXXXX)
trap 'rm -rf "$prefix"' EXIT
WINE=$(FindWine)
WINESERVER=$(FindWineserver "$WINE")
export WINE WINESERVER WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

# Runs inside xvfb-run: without a window manager, Wine draws the frames only
# when told that nothing else decorates its windows; with its own fonts it
# draws the dialog faces and the caption buttons as Windows does.
draw='source scripts/lib.sh && "$WINE" wineboot -i >/dev/null 2>&1 &&
  "$WINE" reg add "HKCU\\Software\\Wine\\X11 Driver" /v Decorated /d N /f >/dev/null &&
  "$WINESERVER" -w && InstallWineFonts &&
  python3 tests/geometry/dialog_geometry.py picture examples/dialog.rc IDD_OPTIONS \
    docs/example-dialog-wine.png docs/example-dialog-preview.png
  status=$?
  "$WINESERVER" -w
  exit $status'
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c "$draw"
echo "wrote docs/example-dialog-wine.png and docs/example-dialog-preview.png"
