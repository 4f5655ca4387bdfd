#!/usr/bin/env bash
# Builds the trellane command, converts the bundled menu example and prints
# the records it wrote.
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
cd "$TRELLANE_ROOT"

InstallMissing example

build=build/example
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DTRELLANE_TESTS=OFF >/dev/null
cmake --build "$build" --parallel "${JOBS:-2}" --target trellane

output=$build/out/menu.mnu
mkdir -p "$(dirname "$output")"
echo
echo "\$ trellane menu examples/menu.rc -o $output"
"$build/src/trellane" menu examples/menu.rc -o "$output"
echo
echo "\$ trellane dump $output"
"$build/src/trellane" dump "$output"
