#!/usr/bin/env python3
"""Compiles the resource scripts of real projects with llvm-rc-19 for the
comparison of tests/RealProjectsTest.cpp.

    scripts/real-projects.py SOURCES WORK

SOURCES holds one folder per project, each as its repository stands. Every
.rc file in it is compiled by llvm-rc-19 into WORK/res. llvm-rc reads a
mirror of each project, never the project itself, and the mirror differs
only where llvm-rc cannot read what the Windows compiler reads:

- every text file in UTF-8, from UTF-16 or from the code page its
  #pragma code_page names (1252 where none does), read with -c 65001;
- a link under each spelling of a file name that the project spells in
  another letter case than the file has, or with backslashes;
- stand-ins for the MFC and SDK files MinGW-w64 lacks.

A file a script includes that is neither beside it nor in the folders
searched so far is looked for in the whole project, and its folder joins
the search for both compilers, as a project's build settings would add it.
Trellane itself reads the projects as they are, with only those folders, and
with the few files a project's build writes before the resource compiler runs
(GENERATED_FILES), which this script writes into SOURCES first.

WORK/scripts.tsv lists the scripts llvm-rc compiled (project, script, .res,
include folders separated by ';'); WORK/excluded.tsv the others and why.
"""

import os
import pathlib
import re
import shutil
import subprocess
import sys

MINGW_HEADERS = "/usr/share/mingw-w64/include"
ROOT = pathlib.Path(__file__).resolve().parent.parent
TEXT_SUFFIXES = {".rc", ".rc2", ".h", ".hm", ".dlg", ".inc", ".ver", ".hpp"}
CODE_PAGES = {1250: "cp1250", 1251: "cp1251", 1252: "cp1252", 1253: "cp1253", 1254: "cp1254", 1255: "cp1255",
              1256: "cp1256", 1257: "cp1257", 1258: "cp1258", 874: "cp874", 932: "cp932", 936: "gbk", 949: "cp949",
              950: "cp950", 65001: "utf-8", 437: "cp437", 850: "cp850"}
PRAGMA = re.compile(rb"^[ \t]*#[ \t]*pragma[ \t]+code_page[ \t]*\([ \t]*(\w+)[ \t]*\)", re.MULTILINE)
MISSING_INCLUDE = re.compile(r"^(.*?):\d+:\d+: fatal error: '(.*)' file not found", re.MULTILINE)
MISSING_FILE = re.compile(r"error : file not found : (.*)$", re.MULTILINE)
FRAMEWORK_SCRIPTS = ["afxres.rc", "afxprint.rc", "afxolecl.rc", "afxolesv.rc", "afxdb.rc", "afxctl.rc",
                     "afxisapi.rc", "afxribbon.rc", "atlres.h", "atlresce.h", "common.ver"]
ATTEMPTS = 400
INCLUDE_LINE = re.compile(rb"^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]+)[>\"]", re.MULTILINE)
# llvm-rc does not know MFC's TOOLBAR resource; its block is taken out of
# llvm-rc's copy, which changes no dialog and no menu.
TOOLBAR = re.compile(r"(?ms)^[ \t]*\w+[ \t]+TOOLBAR\b.*?^[ \t]*END\b[^\n]*")
# What a project's build writes before the resource compiler runs.
GENERATED_FILES = {
    "mpc-hc": {"build/version_rev.h": "#define MPCHC_HASH _T(\"0\")\n#define MPC_VERSION_REV 0\n"
               "#define MPC_VERSION_ADDITIONAL _T(\"\")\n#define GCC32_VERSION _T(\"\")\n"
               "#define GCC64_VERSION _T(\"\")\n"},
    "nsis": {"build/urelease/config/nsis-sconf.h": "".join(
        "#define NSIS_CONFIG_%s\n" % name for name in
        ("UNINSTALL_SUPPORT", "LICENSEPAGE", "COMPONENTPAGE", "SILENT_SUPPORT", "VISIBLE_SUPPORT",
         "ENHANCEDUI_SUPPORT", "CRC_SUPPORT"))},
    # The ribbon compiler's output: ribbon resources only.
    "TortoiseGit": {"src/TortoiseMerge/generated/TortoiseGitMergeRibbon.rc": ""},
}
# A 1 by 1 icon or cursor, for llvm-rc where the project lacks one.
def blank_icon(kind):
    image = (b"\x28\0\0\0\x01\0\0\0\x02\0\0\0\x01\0\x20\0" + b"\0" * 24) + b"\0" * 8
    return (b"\0\0" + bytes([kind, 0]) + b"\x01\0" + b"\x01\x01\0\0\x01\0\x20\0" +
            len(image).to_bytes(4, "little") + (22).to_bytes(4, "little") + image)


def to_utf8(data):
    """A script's or header's text in UTF-8, every code_page pragma made 65001."""
    if data.startswith(b"\xff\xfe"):
        text = data[2:].decode("utf-16-le", "replace")
        return re.sub(r"(?m)^([ \t]*#[ \t]*pragma[ \t]+code_page[ \t]*\()[ \t]*\w+[ \t]*\)", r"\g<1>65001)", text)
    if data.startswith(b"\xef\xbb\xbf"):
        data = data[3:]
        page = 65001
    else:
        page = 1252
    parts = []
    position = 0
    for match in PRAGMA.finditer(data):
        parts.append(data[position:match.start()].decode(CODE_PAGES.get(page, "cp1252"), "replace"))
        parts.append("#pragma code_page(65001)")
        word = match.group(1).decode("ascii", "replace")
        if word.isdigit() and int(word) in CODE_PAGES:
            page = int(word)
        position = match.end()
    parts.append(data[position:].decode(CODE_PAGES.get(page, "cp1252"), "replace"))
    return "".join(parts)


def make_mirror(project, mirror):
    """A copy of the project in hard links, its text files rewritten in UTF-8."""
    if mirror.exists():
        shutil.rmtree(mirror)
    mirror.parent.mkdir(parents=True, exist_ok=True)
    subprocess.run(["cp", "-al", str(project), str(mirror)], check=True)
    for path in mirror.rglob("*"):
        if path.suffix.lower() not in TEXT_SUFFIXES or not path.is_file() or path.is_symlink():
            continue
        data = path.read_bytes()
        if data.isascii() and b"code_page" not in data and b"TOOLBAR" not in data:
            continue
        text = to_utf8(data)
        if path.suffix.lower() in (".rc", ".rc2"):
            text = TOOLBAR.sub("", text)
        path.unlink()
        path.write_text(text, encoding="utf-8")


def walk(folder, name, missing):
    """Follows NAME (with / or \\) below FOLDER part by part; missing(path,
    part) gives the path for a part not spelt so on disk, or None."""
    path = pathlib.Path(folder)
    for part in re.split(r"[\\/]+", name):
        if part in ("", "."):
            continue
        if part == "..":
            path = path.parent
        elif (path / part).exists():
            path = path / part
        else:
            path = missing(path, part)
            if path is None:
                return None
    return path


def any_case(path, part):
    """The name in folder PATH that is PART in another letter case, or None."""
    if not path.is_dir():
        return None
    matches = [entry for entry in path.iterdir() if entry.name.lower() == part.lower()]
    return matches[0] if matches else None


def find_any_case(folder, name):
    """The path of NAME under FOLDER in any letter case, or None."""
    found = walk(folder, name, any_case)
    return found if found is not None and found.exists() else None


def link_spelling(folder, name):
    """Links each part of NAME under FOLDER spelt as NAME spells it to the part
    on disk. False when no file matches."""
    def link(path, part):
        found = any_case(path, part)
        if found is None:
            return None
        (path / part).symlink_to(found.name)
        return path / part
    return walk(folder, name, link) is not None


def write_stand_ins(folder):
    """The MFC and SDK files MinGW-w64 lacks, for llvm-rc only."""
    folder.mkdir(parents=True, exist_ok=True)
    # What Trellane's own headers add to MinGW-w64's, as include_next stand-ins.
    additions = {"afxres.h": []}
    for line in (ROOT / "scripts/data/sdk-additions.txt").read_text().splitlines():
        words = line.split()
        if len(words) >= 3 and not line.startswith("#"):
            additions.setdefault(words[0], []).append(
                "#include <%s>" % words[2] if words[1] == "include" else "#define " + " ".join(words[2:]))
    for line in (ROOT / "scripts/data/mfc-identifiers.txt").read_text().splitlines():
        words = line.split()
        if len(words) == 2 and not line.startswith("#"):
            additions["afxres.h"].append("#define %s %s" % (words[0], words[1]))
    for header, lines in additions.items():
        (folder / header).write_text("\n".join(["#pragma once", "#include_next <%s>" % header] + lines) + "\n")
    for name in FRAMEWORK_SCRIPTS:
        (folder / name).write_text("")
    (folder / "blank.ico").write_bytes(blank_icon(1))
    (folder / "blank.cur").write_bytes(blank_icon(2))
    (folder / "blank").write_bytes(b"")


def project_file(project, name):
    """The folder to search for NAME, found anywhere in the project, or None."""
    parts = [part for part in re.split(r"[\\/]+", name) if part not in ("", ".")]
    if not parts or ".." in parts:
        return None
    for path in sorted(project.rglob("*")):
        if path.name.lower() != parts[-1].lower():
            continue
        folder = path.parent
        for _ in parts[:-1]:
            folder = folder.parent
        if find_any_case(folder, name) is not None:
            return folder
    return None


def included_files(project):
    """The files the project's scripts include, found beside the script that includes them."""
    files = set()
    for path in project.rglob("*"):
        if path.suffix.lower() in (".rc", ".rc2") and path.is_file():
            data = path.read_bytes()
            if data.startswith(b"\xff\xfe"):
                data = data[2:].decode("utf-16-le", "replace").encode("utf-8")
            for match in INCLUDE_LINE.finditer(data):
                found = find_any_case(path.parent, match.group(1).decode("utf-8", "replace"))
                if found is not None:
                    files.add(found.resolve())
    return files


def compile_script(project, mirror, script, res, stand_ins):
    """Compiles one script; the include folders (relative to the project), or
    the reason llvm-rc does not compile it."""
    folders = []
    relative = script.relative_to(project)
    source = mirror / relative
    for _ in range(ATTEMPTS):
        command = ["llvm-rc-19", "-c", "65001", "-I", str(stand_ins), "-I", MINGW_HEADERS]
        for folder in folders:
            command += ["-I", str(mirror / folder)]
        command += ["-fo", str(res), "--", str(source)]
        result = subprocess.run(command, capture_output=True, text=True, errors="replace", cwd=source.parent)
        if result.returncode == 0:
            return folders, None
        messages = result.stdout + result.stderr
        missing = MISSING_INCLUDE.search(messages)
        if missing:
            including, name = pathlib.Path(missing.group(1)), missing.group(2)
            places = [including.parent] + [mirror / folder for folder in folders]
            if any(link_spelling(place, name) for place in places if find_any_case(place, name)):
                continue
            system = find_any_case(stand_ins, name) or find_any_case(MINGW_HEADERS, name)
            if system is not None and not (stand_ins / name).exists():
                (stand_ins / name).parent.mkdir(parents=True, exist_ok=True)
                (stand_ins / name).symlink_to(system)
                continue
            found = project_file(project, name)
            if found is not None and str(found.relative_to(project)) not in folders:
                folders.append(str(found.relative_to(project)))
                continue
            return folders, "needs %s, which the project does not hold" % name
        missing = MISSING_FILE.search(messages)
        if missing:
            name = missing.group(1).strip()
            if (source.parent / name).exists() or (source.parent / name).is_symlink():
                return folders, "cannot read the resource file %s" % name
            target = find_any_case(source.parent, name.replace("\\\\", "\\"))
            if target is None:
                # Not in the project (the build makes it): a blank one, as no dialog or menu reads it.
                suffix = pathlib.PurePosixPath(name.replace("\\", "/")).suffix.lower()
                target = stand_ins / {".ico": "blank.ico", ".cur": "blank.cur"}.get(suffix, "blank")
            (source.parent / name).parent.mkdir(parents=True, exist_ok=True)
            (source.parent / name).symlink_to(target)
            continue
        return folders, "llvm-rc: " + " ".join(messages.split())[-300:]
    return folders, "too many files to link"


def main(arguments):
    if len(arguments) != 2:
        raise SystemExit(__doc__)
    sources, work = (pathlib.Path(argument).resolve() for argument in arguments)
    (work / "res").mkdir(parents=True, exist_ok=True)
    stand_ins = work / "stand-ins"
    write_stand_ins(stand_ins)
    listed, excluded = [], []
    for project in sorted(path for path in sources.iterdir() if path.is_dir()):
        for name, text in GENERATED_FILES.get(project.name, {}).items():
            (project / name).parent.mkdir(parents=True, exist_ok=True)
            (project / name).write_text(text)
        mirror = work / "mirror" / project.name
        make_mirror(project, mirror)
        scripts = sorted(path for path in project.rglob("*") if path.suffix.lower() == ".rc" and path.is_file())
        included = included_files(project)
        for index, script in enumerate(scripts):
            if script.resolve() in included:
                excluded.append("\t".join([project.name, str(script), "a part another script includes"]))
                continue
            res = work / "res" / ("%s-%d.res" % (project.name, index))
            folders, reason = compile_script(project, mirror, script, res, stand_ins)
            if reason is None:
                listed.append("\t".join([project.name, str(script), str(res),
                                         ";".join(str(project / folder) for folder in folders)]))
            else:
                excluded.append("\t".join([project.name, str(script), reason]))
        print("%s: %d scripts" % (project.name, len(scripts)), file=sys.stderr)
    (work / "scripts.tsv").write_text("".join(line + "\n" for line in listed))
    (work / "excluded.tsv").write_text("".join(line + "\n" for line in excluded))
    print("%d scripts compiled, %d excluded (%s)" % (len(listed), len(excluded), work / "excluded.tsv"))


if __name__ == "__main__":
    main(sys.argv[1:])
