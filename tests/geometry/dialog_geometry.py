#!/usr/bin/env python3
"""Compares Trellane's pixel geometry with the dialog manager's, under Wine.

Each script's dialogs are compiled by llvm-rc-19 into a resource DLL, which
trellane-dialog-geometry.exe loads: it creates every dialog with
CreateDialogIndirectParam and prints the rectangles. trellane.exe (GDI
metrics, the same Wine) converts the same script; every control's record must
equal the control's window rectangle, and the dialog's record the window's
outer size. A control that sizes itself after creation (a drop-down combo box,
a list box of whole items) differs from what the dialog manager asked for; the
record must then equal that request, and the difference is reported with why.

  dialog_geometry.py check SCRIPT...
  dialog_geometry.py picture SCRIPT DIALOG WINDOW.png PREVIEW.png

Needs TRELLANE_NATIVE_BUILD, TRELLANE_WINDOWS_BUILD, TRELLANE_WINE_RUN and a
started Wine (WINEPREFIX, DISPLAY).
"""

import json
import os
import pathlib
import re
import subprocess
import sys
import tempfile

ROOT = pathlib.Path(__file__).resolve().parents[2]
NATIVE = pathlib.Path(os.environ.get("TRELLANE_NATIVE_BUILD", ROOT / "build/native"))
WINDOWS = pathlib.Path(os.environ.get("TRELLANE_WINDOWS_BUILD", ROOT / "build/windows"))
WINE_RUN = os.environ.get("TRELLANE_WINE_RUN", str(ROOT / "scripts/wine-run.sh"))
TRELLANE = NATIVE / "src/trellane"
TRELLANE_EXE = WINDOWS / "src/trellane.exe"
GEOMETRY_EXE = WINDOWS / "tests/trellane-dialog-geometry.exe"
WINDOWS_HEADERS = "/usr/share/mingw-w64/include"

# Controls that change their own size after the dialog manager creates them:
# a test of the window class (lower case) and style, and why.
SELF_SIZING = [
    (lambda name, style: style & 0x20000000,
     "a control with WS_MINIMIZE is created minimized, as large as the system makes a minimized window"),
    (lambda name, style: name == "combobox" and (style & 0x3) != 0x1,
     "a drop-down combo box is as high as its closed box; the template gives the open list's height"),
    (lambda name, style: name == "listbox" and not style & 0x100,
     "a list box without LBS_NOINTEGRALHEIGHT shortens itself to a whole number of items"),
    (lambda name, style: name == "static" and (style & 0x1F) in (0x3, 0xE),
     "a picture control takes the size of its icon or bitmap"),
    (lambda name, style: name == "msctls_updown32" and style & 0xC,
     "an up-down control with UDS_ALIGNLEFT or UDS_ALIGNRIGHT gives itself its standard width"),
]


def run(command, check=True):
    """A command's output. It goes through a file rather than a pipe: Wine's
    helper processes inherit a pipe and hold it open for seconds."""
    with tempfile.TemporaryFile() as output, tempfile.TemporaryFile() as errors:
        result = subprocess.run(command, stdout=output, stderr=errors)
        output.seek(0)
        errors.seek(0)
        text = output.read().decode("utf-8", "replace").replace("\r", "")
        messages = errors.read().decode("utf-8", "replace")
    if check and result.returncode != 0:
        raise SystemExit("%s failed:\n%s%s" % (" ".join(command), text, messages))
    return text if check else (result.returncode, text)


def windows_path(path):
    return "Z:" + str(pathlib.Path(path).resolve()).replace("/", "\\")


def resource_dll(script, work):
    """Compiles a script with llvm-rc and links its resources into a DLL."""
    source = script
    code_page = []
    data = script.read_bytes()
    if data.startswith(b"\xff\xfe"):
        # llvm-rc reads UTF-16 scripts as UTF-8 that says so.
        source = work / script.name
        source.write_text("#pragma code_page(65001)\n" + data[2:].decode("utf-16-le"), encoding="utf-8")
        code_page = ["-c", "65001"]
    elif (match := re.search(rb"#pragma code_page\((932|936|949|950)\)", data)):
        # llvm-rc reads no double-byte page: it gets a UTF-8 copy made by Python's codecs.
        page = match.group(1).decode()
        text = data.decode({"932": "cp932", "936": "gbk", "949": "cp949", "950": "cp950"}[page])
        source = work / script.name
        source.write_text(text.replace("#pragma code_page(%s)" % page, "#pragma code_page(65001)"), encoding="utf-8")
        code_page = ["-c", "65001"]
    elif b"#pragma code_page(65001)" in data:
        code_page = ["-c", "65001"]
    res = work / (script.stem + ".res")
    obj = work / (script.stem + ".o")
    dll = work / (script.stem + ".dll")
    run(["llvm-rc-19", *code_page, "-I", WINDOWS_HEADERS, "-I", str(script.parent), "-fo", str(res), "--",
         str(source)])
    run(["x86_64-w64-mingw32-windres", "-J", "res", "-i", str(res), "-O", "coff", "-o", str(obj)])
    # Resources only: no C runtime and no entry point.
    run(["x86_64-w64-mingw32-gcc", "-shared", "-nostdlib", "-Wl,-e,0", "-o", str(dll), str(obj)])
    return dll


def dialog_key(resource):
    """The dialog's name as the geometry program prints it, and its language."""
    name = "#%d" % resource["id"] if resource["id"] is not None else resource["name"].upper()
    return name, resource["language"]


def convert(script, work):
    """trellane.exe's .dlg files of a script and the dialogs' names, by dialog key."""
    listing = json.loads(run([str(TRELLANE), "list", "--json", str(script)]))
    dialogs = [r for r in listing["resources"] if r["kind"].startswith("DIALOG")]
    if not dialogs:
        return {}
    folder = work / (script.stem + "-files")
    folder.mkdir()
    output = run([WINE_RUN, str(TRELLANE_EXE), "convert", windows_path(script), "-o", windows_path(folder)])
    written = [line.split(": ")[0][len("wrote "):] for line in output.splitlines() if line.startswith("wrote ")]
    files = [folder / pathlib.PureWindowsPath(path).name for path in written if path.endswith(".dlg")]
    if len(files) != len(dialogs):
        raise SystemExit("%s: trellane.exe wrote %d dialogs of %d" % (script.name, len(files), len(dialogs)))
    return {dialog_key(d): (f, d["name"]) for d, f in zip(dialogs, files)}


def records(dlg):
    return json.loads(run([str(TRELLANE), "dump", "--json", str(dlg)]))


def measure(dlls, capture=None):
    """The geometry program's lines, by the DLL's name and dialog key."""
    arguments = [WINE_RUN, str(GEOMETRY_EXE)]
    if capture:
        arguments += ["--capture", capture[0], str(pathlib.Path(capture[1]).resolve())]
    status, output = run(arguments + [windows_path(dll) for dll in dlls], check=False)
    dialogs = {}
    module = None
    for line in output.splitlines():
        words = line.split()
        if not words:
            continue
        if words[0] == "module":
            module = pathlib.PureWindowsPath(line[len("module "):]).stem
        elif words[0] == "dialog" and words[3] == "none:":
            dialogs[(module, words[1].upper(), int(words[2]))] = {"why": line.split("none: ")[1]}
        elif words[0] == "dialog":
            current = {"requested": tuple(map(int, words[4:6])), "window": tuple(map(int, words[7:9])),
                       "controls": []}
            dialogs[(module, words[1].upper(), int(words[2]))] = current
        elif words[0] == "control":
            current["controls"].append(words)
    if status != 0:
        raise SystemExit("trellane-dialog-geometry.exe failed:\n" + output)
    return dialogs


def compare(script, key, dlg, measured, report):
    """Prints and counts the differences of one dialog."""
    record = records(dlg)
    where = "%s %s (language %d)" % (script.name, key[0], key[1])
    if "why" in measured:
        report["uncreated"].append("%s: %s" % (where, measured["why"]))
        return
    window = record["window"]
    if (window["width"], window["height"]) != measured["window"]:
        report["failures"].append("%s: the record's size %dx%d, the window's %dx%d" % (
            where, window["width"], window["height"], *measured["window"]))
    controls = record["controls"]
    if len(controls) != len(measured["controls"]):
        report["failures"].append("%s: %d records, %d controls" % (where, len(controls), len(measured["controls"])))
        return
    for control, words in zip(controls, measured["controls"]):
        mine = (control["x"], control["y"], control["width"], control["height"])
        if words[-1] == "none":
            report["failures"].append("%s control %d: not created" % (where, control["index"]))
            continue
        class_name, style = words[2].lower(), int(words[3], 16)
        requested = tuple(map(int, words[5:9]))
        placed = tuple(map(int, words[10:14]))
        report["controls"] += 1
        if mine == placed:
            continue
        line = "%s control %d (%s %s): record %s, window %s" % (where, control["index"], words[2], words[3],
                                                                 mine, placed)
        why = next((why for test, why in SELF_SIZING if test(class_name, style)), None)
        if mine == requested and why:
            report["explained"].append(line + ": " + why)
        else:
            report["failures"].append(line + ", requested %s" % (requested,))
    report["dialogs"] += 1
    report["fonts"].add(json.dumps(record["header"].get("font")))


def check(scripts):
    report = {"dialogs": 0, "controls": 0, "explained": [], "uncreated": [], "failures": [], "fonts": set()}
    with tempfile.TemporaryDirectory(prefix="trellane-geometry.") as folder:
        work = pathlib.Path(folder)
        files = {}
        dlls = []
        for script in scripts:
            converted = convert(script, work)
            if converted:
                files[script] = converted
                dlls.append(resource_dll(script, work))
        measured = measure(dlls)
        for script, converted in files.items():
            for key, (dlg, _) in converted.items():
                found = measured.get((script.stem, *key))
                if found is None:
                    report["failures"].append("%s %s: the dialog manager did not create it" % (script.name, key[0]))
                    continue
                compare(script, key, dlg, found, report)
    for line in report["explained"]:
        print("differs, as Windows does: " + line)
    for line in report["uncreated"]:
        print("not created: " + line)
    for line in report["failures"]:
        print("FAILED: " + line)
    print("%d dialogs in %d fonts, %d controls: %d equal the dialog manager's rectangles, %d differ as explained" % (
        report["dialogs"], len(report["fonts"]), report["controls"],
        report["controls"] - len(report["explained"]) - len(report["failures"]), len(report["explained"])))
    return 1 if report["failures"] else 0


def picture(script, dialog, window_png, preview_png):
    """Wine's picture of a dialog and Trellane's preview of its .dlg file."""
    with tempfile.TemporaryDirectory(prefix="trellane-picture.") as folder:
        work = pathlib.Path(folder)
        converted = convert(script, work)
        dll = resource_dll(script, work)
        key, (dlg, _) = next((k, v) for k, v in converted.items() if v[1].upper() == dialog.upper())
        measure([dll], capture=(key[0], window_png))
        run([str(TRELLANE), "preview", str(dlg), "-o", str(preview_png)])
    return 0


def main(arguments):
    if len(arguments) >= 2 and arguments[0] == "check":
        return check([pathlib.Path(a) for a in arguments[1:]])
    if len(arguments) == 5 and arguments[0] == "picture":
        return picture(pathlib.Path(arguments[1]), arguments[2], arguments[3], arguments[4])
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
