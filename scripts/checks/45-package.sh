#!/usr/bin/env bash
# Packs the native Release build as cpack does for users, unpacks the .deb
# into a scratch root and runs the program from there; packs the Windows
# build's .zip too when that build exists. Builds nothing new.
set -euo pipefail

root=${TRELLANE_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
native=${TRELLANE_NATIVE_BUILD:-$root/build/native}
windows=${TRELLANE_WINDOWS_BUILD:-$root/build/windows}

if [[ ! -f "$native/CPackConfig.cmake" ]]; then
  echo "error: $native/CPackConfig.cmake is missing; configure and build the native tree first" >&2
  exit 1
fi
buildType=$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$native/CMakeCache.txt")
if [[ "$buildType" != Release ]]; then
  echo "error: $native is a '$buildType' build; packages are made from Release builds" >&2
  exit 1
fi
version=$(sed -nE 's/^project\(Trellane VERSION ([0-9]+\.[0-9]+\.[0-9]+).*/\1/p' "$root/CMakeLists.txt")
[[ -n "$version" ]] || { echo "error: no project version in $root/CMakeLists.txt" >&2; exit 1; }

work=$(mktemp -d /tmp/trellane-package.XXXXXX)
trap 'rm -rf "$work"' EXIT

status=0
Fail() {
  echo "FAILED: $*" >&2
  status=1
}

cpack --config "$native/CPackConfig.cmake" -G "DEB;TGZ" -B "$work/linux" >"$work/cpack-linux.log" 2>&1 ||
  { cat "$work/cpack-linux.log" >&2; exit 1; }
debs=("$work"/linux/*.deb)
tars=("$work"/linux/*.tar.gz)
[[ -f "${debs[0]}" && -f "${tars[0]}" ]] || { echo "error: cpack made no .deb or no .tar.gz" >&2; exit 1; }
deb=${debs[0]}
echo "--- $(basename "$deb")"
dpkg-deb --field "$deb" Package Version Depends

[[ $(dpkg-deb --field "$deb" Package) == trellane ]] || Fail "the package is not named trellane"
[[ $(dpkg-deb --field "$deb" Version) == "$version" ]] || Fail "the package's version is not $version"
depends=$(dpkg-deb --field "$deb" Depends)
for library in libfreetype6 libfontconfig1; do
  grep -q "$library" <<<"$depends" || Fail "the package does not depend on $library"
done

dpkg -x "$deb" "$work/root"
installed=$work/root/usr/bin/trellane
reported=$("$installed" --version) || Fail "the installed trellane --version failed"
if [[ "$reported" == "trellane $version" ]]; then
  echo "ok   usr/bin/trellane --version: $reported"
else
  Fail "usr/bin/trellane --version printed '$reported', not 'trellane $version'"
fi
manPage=$work/root/usr/share/man/man1/trellane.1
if [[ -s "$manPage" ]] && grep -q '^\.SH SYNOPSIS' "$manPage"; then
  echo "ok   usr/share/man/man1/trellane.1"
else
  Fail "the man page usr/share/man/man1/trellane.1 is missing"
fi

tar -tzf "${tars[0]}" >"$work/tar.txt"
for file in bin/trellane share/man/man1/trellane.1; do
  grep -q "/$file\$" "$work/tar.txt" || Fail "$(basename "${tars[0]}") lacks $file"
done
echo "ok   $(basename "${tars[0]}") holds bin/trellane and the man page"

if [[ -f "$windows/CPackConfig.cmake" ]]; then
  cpack --config "$windows/CPackConfig.cmake" -G ZIP -B "$work/windows" >"$work/cpack-windows.log" 2>&1 ||
    { cat "$work/cpack-windows.log" >&2; exit 1; }
  zips=("$work"/windows/*.zip)
  [[ -f "${zips[0]}" ]] || { echo "error: cpack made no .zip" >&2; exit 1; }
  echo "--- $(basename "${zips[0]}")"
  python3 -m zipfile -l "${zips[0]}" | tee "$work/zip.txt"
  for program in trellane.exe trellane-gui.exe; do
    grep -q "/bin/$program " "$work/zip.txt" || Fail "$(basename "${zips[0]}") lacks bin/$program"
  done
else
  echo "(no Windows build in $windows: no .zip made)"
fi

((status == 0)) && echo "packages hold what they should"
exit "$status"
