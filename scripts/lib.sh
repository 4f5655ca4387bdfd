# Shared by the scripts in this folder; source it, do not run it.

TRELLANE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# The scripts of examples/ and tests/scripts/, each ended by a NUL, in order.
RepositoryScripts() {
  find "$TRELLANE_ROOT/examples" "$TRELLANE_ROOT/tests/scripts" -name '*.rc' -print0 | sort -z
}

# The packages of scripts/packages.txt used by GROUP (example or test).
PackagesFor() {
  local group=$1
  awk -v group="$group" '!/^#/ && NF { for (i = 2; i <= NF; i++) if ($i == group) print $1 }' \
    "$TRELLANE_ROOT/scripts/packages.txt"
}

IsInstalled() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

# Installs the packages of GROUP that are missing; apt-get runs only when one is.
InstallMissing() {
  local group=$1 package
  local missing=()
  for package in $(PackagesFor "$group"); do
    IsInstalled "$package" || missing+=("$package")
  done
  if ((${#missing[@]} == 0)); then
    echo "All ${group} packages are installed."
    return 0
  fi
  echo "Installing missing packages: ${missing[*]}"
  local sudo=()
  if ((EUID != 0)); then
    command -v sudo >/dev/null || { echo "error: run as root to install: ${missing[*]}" >&2; return 1; }
    sudo=(sudo)
  fi
  "${sudo[@]}" apt-get update
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}"
}

# Copies Wine's own fonts (Tahoma, MS Sans Serif, Marlett and the rest of
# fonts-wine) into the prefix WINEPREFIX names. Debian's Wine does not find
# them by itself and draws and measures the Windows dialog faces with
# fontconfig's stand-ins. Run it while no wineserver serves the prefix.
InstallWineFonts() {
  local fonts=/usr/share/wine/fonts
  if [[ ! -d "$fonts" ]]; then
    echo "note: $fonts is missing (Debian package fonts-wine); Wine measures the dialog faces on stand-ins"
    return 0
  fi
  mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
  cp "$fonts"/* "$WINEPREFIX/drive_c/windows/Fonts/"
}

# The wine binary: Debian's wine64 keeps it off the PATH.
FindWine() {
  local candidate
  for candidate in "$(command -v wine64 || true)" \
                   "$(dpkg -L wine64 2>/dev/null | grep -E '/wine64$' | head -n 1)" \
                   /usr/lib/wine/wine64; do
    if [[ -n "$candidate" && -x "$candidate" && ! -d "$candidate" ]]; then
      echo "$candidate"
      return 0
    fi
  done
  echo "error: no wine64 binary found (Debian package wine64)" >&2
  return 1
}

# The wineserver that belongs to a wine binary.
FindWineserver() {
  local folder
  folder=$(dirname "$1")
  local candidate
  for candidate in "$folder/wineserver" "$folder/wineserver64" "$(command -v wineserver || true)"; do
    if [[ -n "$candidate" && -x "$candidate" ]]; then
      echo "$candidate"
      return 0
    fi
  done
  echo "error: no wineserver beside $1" >&2
  return 1
}
