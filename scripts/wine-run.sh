#!/usr/bin/env bash
# Runs a Windows program under Wine: scripts/wine-run.sh PROGRAM.exe [ARGS...]
# Uses WINEPREFIX and DISPLAY as given; WINE may name the wine binary.
set -euo pipefail

if [[ -z "${WINE:-}" ]]; then
  source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
  WINE=$(FindWine)
fi
export WINEDEBUG=${WINEDEBUG:--all}
exec "$WINE" "$@"
