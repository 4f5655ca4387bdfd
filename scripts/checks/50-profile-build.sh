#!/usr/bin/env bash
# Builds the profile-guided trellane (scripts/profile-build.sh) and checks
# that it writes the same files and messages as the native build for every
# script in examples/ and tests/scripts/.
set -euo pipefail

root=${TRELLANE_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
native=${TRELLANE_NATIVE_BUILD:-$root/build/native}
profile=$root/build/profile

if [[ ! -x "$native/src/trellane" ]]; then
  echo "error: $native/src/trellane is missing; build the native tree first" >&2
  exit 1
fi
bash "$root/scripts/profile-build.sh" "$profile"

work=$(mktemp -d /tmp/trellane-profile-check.XXXXXX)
trap 'rm -rf "$work"' EXIT
status=0
count=0
while IFS= read -r -d '' script; do
  for build in native profile; do
    program=$native/src/trellane
    [[ $build == profile ]] && program=$profile/src/trellane
    mkdir -p "$work/$build/$count"
    # The status and the messages count too; the folder's name is the same in both.
    (cd "$work/$build" && "$program" convert "$script" -o "$count" --base-units 8,16 >"$count.out" 2>&1 &&
      echo 0 >>"$count.out" || echo $? >>"$count.out")
  done
  if ! diff -r "$work/native" "$work/profile" >/dev/null; then
    echo "FAILED: the profile-guided build converts $script differently" >&2
    diff -r "$work/native" "$work/profile" | head -20 >&2
    status=1
  fi
  rm -rf "$work/native" "$work/profile"
  count=$((count + 1))
done < <(find "$root/examples" "$root/tests/scripts" -name '*.rc' -print0 | sort -z)
echo "$count scripts converted alike by the native and the profile-guided build"
exit "$status"
