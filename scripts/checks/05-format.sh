#!/usr/bin/env bash
# Every C++ source is laid out as .clang-format says.
set -euo pipefail
cd "${TRELLANE_ROOT:?}"
mapfile -t files < <(git ls-files '*.cpp' '*.h' 2>/dev/null || find src tests fuzz bench -name '*.cpp' -o -name '*.h')
clang-format --dry-run --Werror "${files[@]}"
echo "${#files[@]} files formatted as .clang-format says"
