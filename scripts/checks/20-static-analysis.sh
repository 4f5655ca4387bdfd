#!/usr/bin/env bash
# clang-tidy (checks in .clang-tidy) and cppcheck over the sources that build
# natively; any finding fails the run.
set -euo pipefail
cd "${TRELLANE_ROOT:?}"
build=${TRELLANE_NATIVE_BUILD:?}

mapfile -t sources < <(find src -name '*.cpp' ! -name '*Win32.cpp' ! -path 'src/app/gui/*' | sort)

echo "clang-tidy on ${#sources[@]} files"
printf '%s\n' "${sources[@]}" |
  xargs -P "${JOBS:-2}" -n 4 clang-tidy -p "$build" --quiet --extra-arg=-Wno-unknown-warning-option 2>/dev/null |
  tee "$build/clang-tidy.log"
if grep -qE '(warning|error):' "$build/clang-tidy.log"; then
  echo "clang-tidy reported findings" >&2
  exit 1
fi

echo "cppcheck on src/"
cppcheck --quiet --std=c++20 --language=c++ --enable=warning,performance,portability --error-exitcode=1 \
  --inline-suppr --suppress=missingIncludeSystem -I src \
  src/text src/script src/radasm src/metrics src/preview src/app/*.cpp src/cli
echo "cppcheck on the Windows sources"
mapfile -t windows < <(find src tests -name '*Win32.cpp' | sort)
cppcheck --quiet --std=c++20 --language=c++ --enable=warning,performance,portability --error-exitcode=1 \
  --inline-suppr --suppress=missingIncludeSystem -I src -I . -D_WIN32 \
  src/app/gui tests/gui tests/geometry tests/tools/GdiFontMetrics.cpp "${windows[@]}"
echo "static analysis clean"
