#!/usr/bin/env bash
# Every C++ source is laid out as .clang-format says.
set -euo pipefail
cd "${TRELLANE_ROOT:?}"
# The headers of tests/scripts are resource scripts' data, laid out as editors write them.
mapfile -t files < <(git ls-files '*.cpp' '*.h' ':!tests/scripts/*' 2>/dev/null || find src tests fuzz bench -path tests/scripts -prune -o \( -name '*.cpp' -o -name '*.h' \) -print)
clang-format --dry-run --Werror "${files[@]}"
echo "${#files[@]} files formatted as .clang-format says"
