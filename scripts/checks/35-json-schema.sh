#!/usr/bin/env bash
# Converts every example script (its menu and its dialog, where it has them)
# and validates `list --json` and `dump --json` against the JSON Schemas in
# docs/ with Python's jsonschema.
set -euo pipefail

root=${TRELLANE_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
trellane=${TRELLANE_NATIVE_BUILD:-$root/build/native}/src/trellane
if [[ ! -x "$trellane" ]]; then
  echo "error: $trellane is missing; build the native tree first" >&2
  exit 1
fi

work=$(mktemp -d /tmp/trellane-json.XXXXXX)
trap 'rm -rf "$work"' EXIT

# Validates each FILE against SCHEMA; prints every violation with its place.
Validate() {
  python3 - "$@" <<'PYTHON'
import json
import sys

import jsonschema

schemaPath, paths = sys.argv[1], sys.argv[2:]
with open(schemaPath, encoding="utf-8") as file:
    schema = json.load(file)
validatorClass = jsonschema.validators.validator_for(schema)
validatorClass.check_schema(schema)
validator = validatorClass(schema)
failed = False
for path in paths:
    with open(path, encoding="utf-8") as file:
        document = json.load(file)
    errors = sorted(validator.iter_errors(document), key=lambda error: list(error.absolute_path))
    for error in errors:
        place = "/".join(str(part) for part in error.absolute_path) or "(top)"
        print(f"{path}: {place}: {error.message}", file=sys.stderr)
    failed = failed or bool(errors)
sys.exit(1 if failed else 0)
PYTHON
}

# The kinds of resource a listing holds, one a line.
Kinds() {
  python3 -c 'import json, sys; print("\n".join(r["kind"] for r in json.load(open(sys.argv[1]))["resources"]))' "$1"
}

lists=()
records=()
shopt -s nullglob
for script in "$root"/examples/*.rc; do
  name=$(basename "$script" .rc)
  "$trellane" list --json "$script" >"$work/$name.list.json"
  lists+=("$work/$name.list.json")
  kinds=$(Kinds "$work/$name.list.json")
  if grep -qx MENUEX <<<"$kinds"; then
    "$trellane" menu "$script" -o "$work/$name.mnu" >/dev/null
    "$trellane" dump --json "$work/$name.mnu" >"$work/$name.mnu.json"
    records+=("$work/$name.mnu.json")
  fi
  if grep -qx DIALOGEX <<<"$kinds"; then
    "$trellane" dialog "$script" -o "$work/$name.dlg" --menu-name "$name.mnu" </dev/null >/dev/null
    "$trellane" dump --json "$work/$name.dlg" >"$work/$name.dlg.json"
    records+=("$work/$name.dlg.json")
  fi
done
if ((${#lists[@]} == 0 || ${#records[@]} == 0)); then
  echo "error: no example scripts or no menus and dialogs in $root/examples" >&2
  exit 1
fi

Validate "$root/docs/resource-list.schema.json" "${lists[@]}"
echo "ok   ${#lists[@]} listings match docs/resource-list.schema.json"
Validate "$root/docs/record-file.schema.json" "${records[@]}"
echo "ok   ${#records[@]} record files match docs/record-file.schema.json"
