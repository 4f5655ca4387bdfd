#!/usr/bin/env bash
# Permissions do not bind root, so the tests of unreadable scripts and
# unwritable folders skip themselves there; run as root, this runs them again
# as an ordinary user.
set -euo pipefail
if [[ $(id -u) -ne 0 ]]; then
  echo "not root: the test program ran the permission tests already"
  exit 0
fi
work=$(mktemp -d /tmp/trellane-unprivileged.XXXXXX)
trap 'rm -rf "$work"' EXIT
cp "${TRELLANE_NATIVE_BUILD:?}/tests/trellane_tests" "$work/"
mkdir "$work/tmp"
chown nobody "$work/tmp"
chmod 755 "$work" "$work/trellane_tests"
cd "$work"
runuser -u nobody -- env TMPDIR="$work/tmp" ./trellane_tests \
  --gtest_filter='BadInputMatrix.*:ConversionJobTest.*:FileServiceTest.*:IncludeFilesTest.*'
