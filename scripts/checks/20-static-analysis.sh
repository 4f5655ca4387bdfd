#!/usr/bin/env bash
# clang-tidy (checks in .clang-tidy) and cppcheck over the native sources and
# the Windows sources; any finding fails the run.
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

# The Windows sources as the MinGW-w64 g++ of the Windows build compiles them:
# clang-tidy needs its target and its C++ headers, which clang does not find.
# Win32 hands out handles and resource names as integers cast to pointers.
windowsBuild=${TRELLANE_WINDOWS_BUILD:?}
mapfile -t windowsSources < <({
  find src tests -name '*Win32.cpp'
  find src/app/gui tests/gui tests/geometry -name '*.cpp'
  echo tests/tools/GdiFontMetrics.cpp
} | sort)
mapfile -t mingwHeaders < <(x86_64-w64-mingw32-g++-posix -E -x c++ -v - </dev/null 2>&1 |
  sed -n '/#include <...> search starts here/,/End of search list/p' | awk '/^ .*c\+\+/ { print "--extra-arg=-isystem" $1 }')
echo "clang-tidy on ${#windowsSources[@]} Windows files"
printf '%s\n' "${windowsSources[@]}" |
  xargs -P "${JOBS:-2}" -n 3 clang-tidy -p "$windowsBuild" --quiet --checks=-performance-no-int-to-ptr \
    --extra-arg=-Wno-unknown-warning-option --extra-arg=--target=x86_64-w64-mingw32 --extra-arg=-nostdinc++ \
    "${mingwHeaders[@]}" 2>/dev/null | tee "$windowsBuild/clang-tidy.log"
if grep -qE '(warning|error):' "$windowsBuild/clang-tidy.log"; then
  echo "clang-tidy reported findings in the Windows sources" >&2
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
