#!/usr/bin/env bash
# Builds the profile-guided trellane (scripts/profile-build.sh) and checks
# that it writes the same files and messages as the native build for every
# script in examples/ and tests/scripts/.
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/../lib.sh"
native=${TRELLANE_NATIVE_BUILD:-$TRELLANE_ROOT/build/native}
profile=$TRELLANE_ROOT/build/profile

if [[ ! -x "$native/src/trellane" ]]; then
  echo "error: $native/src/trellane is missing; build the native tree first" >&2
  exit 1
fi
bash "$TRELLANE_ROOT/scripts/profile-build.sh" "$profile"

work=$(mktemp -d /tmp/trellane-profile-check.XXXXXX)
trap 'rm -rf "$work"' EXIT

# What PROGRAM makes of SCRIPT in FOLDER: the files, the messages and the
# exit status, under the same names for every program.
Convert() {
  local program=$1 folder=$2 script=$3 status=0
  mkdir -p "$folder"
  (cd "$folder" && "$program" convert "$script" -o out --base-units 8,16 >messages 2>&1) || status=$?
  echo "$status" >>"$folder/messages"
}

status=0
count=0
while IFS= read -r -d '' script; do
  Convert "$native/src/trellane" "$work/native" "$script"
  Convert "$profile/src/trellane" "$work/profile" "$script"
  if ! diff -r "$work/native" "$work/profile" >"$work/diff"; then
    echo "FAILED: the profile-guided build converts $script differently" >&2
    head -20 "$work/diff" >&2
    status=1
  fi
  rm -rf "$work/native" "$work/profile"
  count=$((count + 1))
done < <(RepositoryScripts)
echo "$count scripts converted alike by the native and the profile-guided build"
exit "$status"
