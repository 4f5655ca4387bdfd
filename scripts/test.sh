#!/usr/bin/env bash
# Installs what is missing, builds Trellane natively, with sanitizers, for
# Windows and for fuzzing, runs every test (the Windows ones under Wine) and
# then every check in scripts/checks/. Stops at the first failure.
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
cd "$TRELLANE_ROOT"

JOBS=${JOBS:-2}
export TRELLANE_ROOT
export TRELLANE_NATIVE_BUILD=$TRELLANE_ROOT/build/native
export TRELLANE_ASAN_BUILD=$TRELLANE_ROOT/build/asan
export TRELLANE_WINDOWS_BUILD=$TRELLANE_ROOT/build/windows
export TRELLANE_FUZZ_BUILD=$TRELLANE_ROOT/build/fuzz
export TRELLANE_WINE_RUN=$TRELLANE_ROOT/scripts/wine-run.sh
export LSAN_OPTIONS=suppressions=$TRELLANE_ROOT/scripts/lsan-suppressions.txt${LSAN_OPTIONS:+:$LSAN_OPTIONS}

CurrentStep="start"
RunStart=$SECONDS
StepStart=$SECONDS
WorkFolder=""
XvfbPid=""

BeginStep() {
  CurrentStep=$1
  StepStart=$SECONDS
  printf '\n==> %s\n' "$CurrentStep"
}

EndStep() {
  printf '<== %s: passed in %ds\n' "$CurrentStep" $((SECONDS - StepStart))
}

StopWine() {
  [[ -n "${WINESERVER:-}" && -n "${WINEPREFIX:-}" && -d "${WINEPREFIX:-}" ]] || return 0
  timeout 60 "$WINESERVER" -w 2>/dev/null || "$WINESERVER" -k 2>/dev/null || true
}

Finish() {
  local status=$?
  set +e
  StopWine
  if [[ -n "$XvfbPid" ]]; then
    kill "$XvfbPid" 2>/dev/null
    wait "$XvfbPid" 2>/dev/null
  fi
  [[ -n "$WorkFolder" ]] && rm -rf "$WorkFolder"
  if ((status != 0)); then
    printf '\ntest.sh: FAILED at step "%s" (exit %d) after %ds\n' "$CurrentStep" "$status" $((SECONDS - RunStart)) >&2
  else
    printf '\ntest.sh: all steps passed in %ds\n' $((SECONDS - RunStart))
  fi
  exit "$status"
}
trap Finish EXIT

# Configures and builds one tree; the rest of the arguments go to cmake.
Build() {
  local folder=$1
  shift
  cmake -S "$TRELLANE_ROOT" -B "$folder" "$@"
  cmake --build "$folder" --parallel "$JOBS"
}

RunCtest() {
  local folder=$1
  shift
  ctest --test-dir "$folder" --output-on-failure "$@"
}

# Starts Xvfb on a free display and waits until it accepts clients.
StartXvfb() {
  local displayFile=$WorkFolder/display
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$displayFile" >"$WorkFolder/xvfb.log" 2>&1 &
  XvfbPid=$!
  local waited
  for waited in $(seq 1 100); do
    if [[ -s "$displayFile" ]]; then
      export DISPLAY=":$(tr -d '[:space:]' <"$displayFile")"
      xdpyinfo >/dev/null 2>&1 && return 0
    fi
    kill -0 "$XvfbPid" 2>/dev/null || break
    sleep 0.1
  done
  cat "$WorkFolder/xvfb.log" >&2
  echo "error: Xvfb did not start" >&2
  return 1
}

BeginStep "install missing packages"
InstallMissing test
EndStep

BeginStep "native build (warnings as errors)"
Build "$TRELLANE_NATIVE_BUILD" -DCMAKE_BUILD_TYPE=Release -DTRELLANE_WERROR=ON -DTRELLANE_BENCH=ON
EndStep

BeginStep "native tests"
RunCtest "$TRELLANE_NATIVE_BUILD" --timeout 300
EndStep

BeginStep "AddressSanitizer and UndefinedBehaviorSanitizer build"
Build "$TRELLANE_ASAN_BUILD" -DCMAKE_BUILD_TYPE=Debug -DTRELLANE_WERROR=ON -DTRELLANE_SANITIZE=ON
EndStep

BeginStep "sanitizer tests"
RunCtest "$TRELLANE_ASAN_BUILD" --timeout 300
EndStep

BeginStep "Windows build (MinGW-w64)"
Build "$TRELLANE_WINDOWS_BUILD" -DCMAKE_TOOLCHAIN_FILE="$TRELLANE_ROOT/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DTRELLANE_WERROR=ON
EndStep

BeginStep "Wine and Xvfb start"
WorkFolder=$(mktemp -d /tmp/trellane-test.XXXXXX)
export WINE WINESERVER
WINE=$(FindWine)
WINESERVER=$(FindWineserver "$WINE")
export WINEPREFIX=$WorkFolder/wineprefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$WINEPREFIX"
StartXvfb
echo "wine: $WINE  prefix: $WINEPREFIX  display: $DISPLAY"
"$WINE" wineboot -i
"$WINESERVER" -w
InstallWineFonts
"$TRELLANE_WINE_RUN" "$TRELLANE_WINDOWS_BUILD/src/trellane.exe" --help >/dev/null
EndStep

BeginStep "Windows tests under Wine"
RunCtest "$TRELLANE_WINDOWS_BUILD" --timeout 600
EndStep

BeginStep "fuzz targets (clang, libFuzzer)"
Build "$TRELLANE_FUZZ_BUILD" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTRELLANE_WERROR=ON -DTRELLANE_FUZZ=ON -DTRELLANE_TESTS=OFF
EndStep

shopt -s nullglob
for check in "$TRELLANE_ROOT"/scripts/checks/*.sh; do
  name=$(basename "$check")
  if [[ ! -x "$check" ]]; then
    printf '\n(skipping %s: not executable)\n' "$name"
    continue
  fi
  BeginStep "check $name"
  "$check"
  EndStep
done
