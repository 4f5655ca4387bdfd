#!/usr/bin/env python3
"""Writes the built-in Windows headers that src/script/WindowsHeaders.cpp includes.

Both tables come from the MinGW-w64 headers (Debian: mingw-w64-common and
mingw-w64-x86-64-dev), read by the MinGW-w64 preprocessor as a resource
compiler reads them (RC_INVOKED).

WindowsHeaders.inc holds every header of the include tree, one by one: what
including it defines, in order (#define, #undef, #include), and its guard. One
reading of all the headers (-dD -dI) gives each directive with the file it was
written in; a header's directives are those of its first reading. The
additions of scripts/data (constants of the Windows SDK that MinGW-w64 lacks,
MFC's standard identifiers) are appended to their headers. Replaying the
tables for the headers resource scripts include must give the macros the
preprocessor gives for each of them on its own.

WindowsConstants.inc holds the values of the constants resource scripts use,
for a script that uses one without any include: a first reading lists the
macros (-dM); a second expands each chosen name, and the expansion is
evaluated here as C evaluates it, casts included. Language, sort, virtual key
and window style names the resource part of the headers lacks are taken from a
reading without RC_INVOKED.

Usage: generate-windows-headers.py [FOLDER]   (default: src/script)
Set MINGW_CC to use another MinGW-w64 compiler than x86_64-w64-mingw32-gcc.
"""

import os
import pathlib
import re
import subprocess
import sys
import tempfile

HEADERS = ["windows.h", "commctrl.h", "richedit.h", "winresrc.h", "winres.h", "afxres.h", "dlgs.h",
           "commdlg.h", "prsht.h"]
VERSION_DEFINES = ["-D_WIN32_WINNT=0x0A00", "-DWINVER=0x0A00", "-D_WIN32_IE=0x0A00"]

# Written in hexadecimal: styles and flags.
STYLE_PREFIXES = ("WS_", "DS_", "BS_", "SS_", "ES_", "LBS_", "CBS_", "SBS_", "MFT_", "MFS_", "MF_", "TBS_", "UDS_",
                  "PBS_", "LVS_", "TVS_", "TCS_", "ACS_", "DTS_", "MCS_", "HDS_", "RBS_", "SBARS_", "CCS_", "BTNS_",
                  "TBSTYLE_", "ECO_")
# Written in decimal.
NUMBER_PREFIXES = ("VK_", "LANG_", "SUBLANG_", "SORT_")
# Prefixes whose names mean the same in every header, so the full reading may
# add to them; BS_, ES_ and MF_ there also name brush, power and DDE flags.
FULL_READING_PREFIXES = ("WS_", "VK_", "LANG_", "SUBLANG_", "SORT_")
IDENTIFIERS = ["IDOK", "IDCANCEL", "IDABORT", "IDRETRY", "IDIGNORE", "IDYES", "IDNO", "IDCLOSE", "IDHELP",
               "IDTRYAGAIN", "IDCONTINUE", "IDC_STATIC"]
# Window classes; the ANSI form, as a resource script names them.
CLASS_NAMES = ["WC_BUTTON", "WC_STATIC", "WC_EDIT", "WC_LISTBOX", "WC_COMBOBOX", "WC_SCROLLBAR", "WC_LISTVIEW",
               "WC_TREEVIEW", "WC_TABCONTROL", "WC_HEADER", "WC_IPADDRESS", "WC_PAGESCROLLER", "WC_NATIVEFONTCTL",
               "WC_COMBOBOXEX", "WC_LINK", "PROGRESS_CLASS", "TRACKBAR_CLASS", "UPDOWN_CLASS", "TOOLBARCLASSNAME",
               "STATUSCLASSNAME", "ANIMATE_CLASS", "DATETIMEPICK_CLASS", "MONTHCAL_CLASS", "REBARCLASSNAME",
               "HOTKEY_CLASS", "RICHEDIT_CLASS", "MSFTEDIT_CLASS"]

# Cast types: (bits, unsigned). Windows is LLP64: long is 32 bits.
TYPES = {
    "BYTE": (8, True), "UCHAR": (8, True), "CHAR": (8, False), "char": (8, False),
    "WORD": (16, True), "USHORT": (16, True), "SHORT": (16, False), "short": (16, False), "LANGID": (16, True),
    "WCHAR": (16, True), "ATOM": (16, True),
    "DWORD": (32, True), "UINT": (32, True), "ULONG": (32, True), "LCID": (32, True), "COLORREF": (32, True),
    "LONG": (32, False), "INT": (32, False), "int": (32, False), "long": (32, False), "BOOL": (32, False),
    "HRESULT": (32, False),
    "ULONG_PTR": (64, True), "UINT_PTR": (64, True), "DWORD_PTR": (64, True), "SIZE_T": (64, True),
    "LONG_PTR": (64, False), "INT_PTR": (64, False), "LONGLONG": (64, False), "ULONGLONG": (64, True),
}
INT = (32, False)

TOKEN = re.compile(r"""
    (?P<space>\s+)
  | (?P<string>(?:L|u8|u|U)?"(?:[^"\\]|\\.)*")
  | (?P<number>(?:0[xX][0-9a-fA-F]+|[0-9]+)[uUlL]*)
  | (?P<name>[A-Za-z_][A-Za-z0-9_]*)
  | (?P<operator><<|>>|[-+*/%&|^~!()])
""", re.VERBOSE)


class Unknown(Exception):
    """The expansion is not a constant this evaluator understands."""


class Value:
    """A C integer: its number within its type, the type (bits, unsigned), and
    whether a literal in it had an L suffix (a resource compiler then reads the
    constant as a 32-bit number)."""

    def __init__(self, number, kind, long=False):
        bits, unsigned = kind
        number &= (1 << bits) - 1
        if not unsigned and number >> (bits - 1):
            number -= 1 << bits
        self.number = number
        self.kind = kind
        self.long = long


def Promote(value):
    return value.kind if value.kind[0] >= 32 else INT


def Common(left, right):
    a, b = Promote(left), Promote(right)
    bits = max(a[0], b[0])
    unsigned = (a[0] == bits and a[1]) or (b[0] == bits and b[1])
    return (bits, unsigned)


def Literal(text):
    match = re.fullmatch(r"(0[xX][0-9a-fA-F]+|0[0-7]*|[1-9][0-9]*)([uUlL]*)", text)
    if not match:
        raise Unknown(text)
    digits, suffix = match.group(1), match.group(2).lower()
    decimal = digits[0] != "0"
    number = int(digits, 0) if not digits.startswith("0") or digits[1:2] in ("x", "X") else int(digits, 8)
    unsigned = "u" in suffix
    if unsigned:
        kinds = [(32, True), (64, True)]
    elif decimal:
        kinds = [(32, False), (64, False)]
    else:
        kinds = [(32, False), (32, True), (64, False), (64, True)]
    for kind in kinds:
        if number < 1 << (kind[0] - (0 if kind[1] else 1)):
            return Value(number, kind, "l" in suffix)
    raise Unknown(text)


def Divide(a, b):
    quotient = abs(a) // abs(b)
    return quotient if (a < 0) == (b < 0) else -quotient


class Evaluator:
    """Evaluates one fully expanded macro: a string, or an integer expression
    of literals, casts, parentheses and C's unary and binary operators."""

    LEVELS = [["|"], ["^"], ["&"], ["<<", ">>"], ["+", "-"], ["*", "/", "%"]]

    def __init__(self, text):
        self.tokens = []
        position = 0
        while position < len(text):
            match = TOKEN.match(text, position)
            if not match:
                raise Unknown(text[position:])
            position = match.end()
            if match.lastgroup != "space":
                self.tokens.append((match.lastgroup, match.group()))
        self.at = 0

    def Peek(self, offset=0):
        index = self.at + offset
        return self.tokens[index] if index < len(self.tokens) else (None, None)

    def Take(self):
        token = self.Peek()
        self.at += 1
        return token

    def Result(self):
        if not self.tokens:
            raise Unknown("empty")
        if self.Peek()[0] == "string":
            text = ""
            while self.Peek()[0] == "string":
                literal = self.Take()[1]
                text += literal[literal.index('"') + 1:-1]
            result = text
        else:
            result = self.Binary(0)
        if self.at != len(self.tokens):
            raise Unknown(" ".join(token[1] for token in self.tokens[self.at:]))
        return result

    def Binary(self, level):
        if level == len(self.LEVELS):
            return self.Unary()
        left = self.Binary(level + 1)
        while self.Peek()[1] in self.LEVELS[level]:
            operator = self.Take()[1]
            left = self.Apply(operator, left, self.Binary(level + 1))
        return left

    def Apply(self, operator, left, right):
        long = left.long or right.long
        if operator in ("<<", ">>"):
            kind = Promote(left)
            if not 0 <= right.number < kind[0]:
                raise Unknown("shift by %d" % right.number)
            a = Value(left.number, kind).number
            return Value(a << right.number if operator == "<<" else a >> right.number, kind, long)
        kind = Common(left, right)
        a, b = Value(left.number, kind).number, Value(right.number, kind).number
        if operator in ("/", "%") and b == 0:
            raise Unknown("division by zero")
        results = {
            "|": lambda: a | b, "^": lambda: a ^ b, "&": lambda: a & b, "+": lambda: a + b,
            "-": lambda: a - b, "*": lambda: a * b, "/": lambda: Divide(a, b), "%": lambda: a - b * Divide(a, b),
        }
        return Value(results[operator](), kind, long)

    def Unary(self):
        text = self.Peek()[1]
        if text in ("-", "~", "+", "!"):
            self.Take()
            operand = self.Unary()
            if text == "!":
                return Value(int(operand.number == 0), INT, operand.long)
            kind = Promote(operand)
            number = Value(operand.number, kind).number
            return Value({"-": -number, "~": ~number, "+": number}[text], kind, operand.long)
        if text == "(" and self.Peek(1)[1] in TYPES and self.Peek(2)[1] == ")":
            kind = TYPES[self.Peek(1)[1]]
            self.at += 3
            operand = self.Unary()
            return Value(operand.number, kind, operand.long)
        return self.Primary()

    def Primary(self):
        kind, text = self.Take()
        if text == "(":
            value = self.Binary(0)
            if self.Take()[1] != ")":
                raise Unknown("unclosed parenthesis")
            return value
        if kind == "number":
            return Literal(text)
        raise Unknown(text or "end of expansion")


def Compiler():
    return os.environ.get("MINGW_CC", "x86_64-w64-mingw32-gcc")


def Preprocess(source, folder, rcInvoked, listMacros):
    path = pathlib.Path(folder) / "constants.c"
    path.write_text(source, encoding="ascii")
    command = [Compiler(), "-E", "-P", "-x", "c"] + VERSION_DEFINES
    if rcInvoked:
        command.append("-DRC_INVOKED")
    if listMacros:
        command.append("-dM")
    command.append(str(path))
    result = subprocess.run(command, capture_output=True, text=True, encoding="latin-1")
    if result.returncode != 0:
        sys.exit("%s failed:\n%s" % (" ".join(command), result.stderr))
    return result.stdout


def ObjectMacros(text):
    """The names of the object-like macros in -dM output."""
    return {match.group(1) for match in re.finditer(r"^#define ([A-Za-z_][A-Za-z0-9_]*)(?=\s|$)", text, re.M)}


def Chosen(names, prefixes):
    return {name for name in names if name.startswith(prefixes)}


def Expansions(names, folder, rcInvoked):
    includes = "".join("#include <%s>\n" % header for header in HEADERS)
    lines = "".join('"@%s" %s\n' % (name, name) for name in sorted(names))
    text = Preprocess(includes + lines, folder, rcInvoked, False)
    return {match.group(1): match.group(2).strip() for match in re.finditer(r'^"@(\w+)"(.*)$', text, re.M)}


def Render(name, value):
    if isinstance(value, str):
        return '"%s"' % value
    suffix = "L" if value.long else ""
    if value.number < 0:
        return "(%d%s)" % (value.number, suffix)
    if name.startswith(STYLE_PREFIXES) and name not in IDENTIFIERS:
        return "0x%X%s" % (value.number, suffix)
    return "%d%s" % (value.number, suffix)


def CString(text):
    return '"%s"' % text.replace("\\", "\\\\").replace('"', '\\"')


def Generate(folder):
    includes = "".join("#include <%s>\n" % header for header in HEADERS)
    rcMacros = ObjectMacros(Preprocess(includes, folder, True, True))
    fullMacros = ObjectMacros(Preprocess(includes, folder, False, True))
    missing = [name for name in IDENTIFIERS + CLASS_NAMES if name not in rcMacros]
    if missing:
        sys.exit("the headers do not define " + ", ".join(missing))
    rcNames = Chosen(rcMacros, STYLE_PREFIXES + NUMBER_PREFIXES) | set(IDENTIFIERS) | set(CLASS_NAMES)
    fullNames = Chosen(fullMacros, FULL_READING_PREFIXES)
    expansions = Expansions(rcNames, folder, True)
    fullExpansions = Expansions(fullNames, folder, False)

    values = {}
    skipped = []
    for name in sorted(rcNames | fullNames):
        try:
            if name in rcNames:
                value = Evaluator(expansions[name]).Result()
            else:
                value = Evaluator(fullExpansions[name]).Result()
        except Unknown as reason:
            skipped.append("%s (%s)" % (name, reason))
            continue
        if name in CLASS_NAMES and not isinstance(value, str):
            sys.exit("%s is not a text" % name)
        if name not in CLASS_NAMES and isinstance(value, str):
            skipped.append("%s (a text)" % name)
            continue
        values[name] = value
    # A name both readings define must mean the same in both.
    for name in sorted(rcNames & fullNames):
        if name in values:
            try:
                other = Render(name, Evaluator(fullExpansions[name]).Result())
            except Unknown:
                continue
            if other.rstrip("L") != Render(name, values[name]).rstrip("L"):
                sys.exit("%s is %s for a resource compiler but %s for C" % (name, Render(name, values[name]), other))
    if skipped:
        print("left out, not constants: " + ", ".join(skipped), file=sys.stderr)
    version = Evaluator(Expansions(["__MINGW64_VERSION_STR"], folder, True)["__MINGW64_VERSION_STR"]).Result()
    return version, values


def IncludeRoot():
    """The MinGW-w64 include folder the compiler reads."""
    result = subprocess.run([Compiler(), "-print-sysroot"], capture_output=True, text=True)
    for folder in [os.environ.get("MINGW_INCLUDE", ""), "/usr/share/mingw-w64/include",
                   os.path.join(result.stdout.strip(), "include")]:
        if folder and os.path.isfile(os.path.join(folder, "windows.h")):
            return pathlib.Path(folder).resolve()
    sys.exit("no MinGW-w64 include folder with windows.h")


HEADER_EXTENSIONS = (".h", ".rh")
DEFINE = re.compile(r"#define ([A-Za-z_]\w*(?:\([^)]*\))?)(?: (.*))?$")
UNDEF = re.compile(r"#undef ([A-Za-z_]\w*)")
INCLUDE = re.compile(r'#include ([<"])([^>"]+)[>"]')
MARKER = re.compile(r'# (\d+) "((?:[^"\\]|\\.)*)"((?: \d)*)$')


class Header:
    def __init__(self, key, path=""):
        self.key = key      # the path below the include folder, in lower case
        self.path = path    # as the folder spells it
        self.ops = []       # ("define", name, body), ("undef", name), ("include", key)
        self.guard = ""     # the macro of an include guard spanning the file
        self.once = False   # #pragma once


def Directives(text):
    """The file's directives (name, operand), comments left out."""
    text = re.sub(r"/\*.*?\*/", lambda match: "\n" * match.group().count("\n"), text, flags=re.S)
    text = re.sub(r"\\\r?\n", "", text)
    found = []
    for line in text.splitlines():
        line = re.sub(r"//.*", "", line).strip()
        match = re.match(r"#\s*(\w+)\s*(.*)", line)
        if match:
            found.append((match.group(1), match.group(2).strip()))
    return found


def Guard(text):
    """The include guard: #ifndef NAME or #if !defined(NAME) first, #define
    NAME next. A second reading of the header defines nothing more, also
    where some directives follow the guard's #endif (_mingw.h): those of its
    second reading are in the header that read it again."""
    directives = Directives(text)
    if len(directives) < 2:
        return ""
    name, operand = directives[0]
    match = re.fullmatch(r"([A-Za-z_]\w*)", operand) if name == "ifndef" else \
        re.fullmatch(r"!\s*defined\s*\(?\s*([A-Za-z_]\w*)\s*\)?", operand) if name == "if" else None
    if not match or directives[1][0] != "define" or directives[1][1].split()[0:1] != [match.group(1)]:
        return ""
    return match.group(1)


def ReadHeaders(root, folder):
    """Every header of the include tree with its directives as one reading of
    them all gives them, the headers resource scripts include first."""
    files = sorted(path.relative_to(root).as_posix() for path in root.rglob("*")
                   if path.is_file() and path.name.lower().endswith(HEADER_EXTENSIONS))
    order = HEADERS + [name for name in files if name not in HEADERS]
    source = pathlib.Path(folder) / "headers.c"
    source.write_text("".join("#include <%s>\n" % name for name in order), encoding="ascii")
    command = [Compiler(), "-E", "-dD", "-dI", "-x", "c", "-DRC_INVOKED", str(source)]
    output = subprocess.run(command, capture_output=True, text=True, encoding="latin-1").stdout
    if "#define WS_CHILD " not in output:
        sys.exit("%s gave no reading of the headers" % " ".join(command))

    headers = {}
    for name in files:
        header = Header(name.lower(), name)
        text = (root / name).read_text(encoding="latin-1")
        header.guard = Guard(text)
        header.once = any(d == "pragma" and o.split() == ["once"] for d, o in Directives(text))
        headers[header.key] = header

    def Key(path):
        try:
            return pathlib.Path(path).resolve().relative_to(root).as_posix().lower()
        except ValueError:
            return None

    # What a header read again (one whose guard does not span it) defines is
    # written into the header that includes it, after the include; for a
    # header without a guard, instead of the include.
    read = set()
    stack = []  # per file being read: the header its directives go to, or None
    for line in output.splitlines():
        if line.startswith("# "):
            match = MARKER.match(line)
            if not match:
                continue
            flags = match.group(3).split()
            key = Key(match.group(2)) if not match.group(2).startswith("<") else None
            if "1" in flags:
                into = stack[-1] if stack else None
                if key in headers and key not in read:
                    read.add(key)
                    into = headers[key]
                elif into is not None and into.ops and into.ops[-1] == ("include", key) and \
                        not headers[key].guard and not headers[key].once:
                    into.ops.pop()  # it would include itself again
                stack.append(into)
            elif "2" in flags and stack:
                stack.pop()
            continue
        if not stack or stack[-1] is None or not line.startswith("#"):
            continue
        header = stack[-1]
        if match := DEFINE.match(line):
            header.ops.append(("define", match.group(1), match.group(2) or ""))
        elif match := UNDEF.match(line):
            header.ops.append(("undef", match.group(1)))
        elif match := INCLUDE.match(line):
            target = None
            if match.group(1) == '"':
                beside = (root / header.path).parent / match.group(2)
                if beside.is_file():
                    target = Key(beside)
            if target is None and (root / match.group(2)).is_file():
                target = Key(root / match.group(2))
            if target is None and "/" not in match.group(2):
                # A header of the compiler's own (mm_malloc.h): built in
                # empty, as what it declares is C's.
                target = match.group(2).lower()
                headers.setdefault(target, Header(target, target))
            if target in headers:
                header.ops.append(("include", target))
    return headers


def AddDefinitions(headers, root):
    """Appends scripts/data's additions: the SDK's constants that MinGW-w64
    lacks and MFC's standard identifiers."""
    data = pathlib.Path(__file__).resolve().parent / "data"
    for line in (data / "sdk-additions.txt").read_text(encoding="ascii").splitlines():
        words = line.split(None, 2)
        if not words or words[0].startswith("#"):
            continue
        header = headers.setdefault(words[0], Header(words[0]))
        if words[1] == "include":
            header.ops.append(("include", words[2]))
        else:
            name, body = words[2].split(None, 1)
            header.ops.append(("define", name, body))
    afxres = headers["afxres.h"]
    for line in (data / "mfc-identifiers.txt").read_text(encoding="ascii").splitlines():
        words = line.split()
        if len(words) == 2 and not words[0].startswith("#"):
            afxres.ops.append(("define", words[0], words[1]))
    for header in headers.values():
        for op in header.ops:
            if op[0] == "include" and op[1] not in headers:
                sys.exit("%s includes %s, which is no header" % (header.key, op[1]))


def Replay(headers, keys):
    """The macros a reading of the built-in headers gives: name -> definition."""
    macros = {}
    entered = set()

    def Enter(key):
        header = headers[key]
        if (header.once and key in entered) or (header.guard and header.guard in macros):
            return
        entered.add(key)
        for op in header.ops:
            if op[0] == "define":
                name = op[1].split("(")[0]
                macros[name] = "%s %s" % (op[1], op[2])
            elif op[0] == "undef":
                macros.pop(op[1], None)
            else:
                Enter(op[1])

    for key in keys:
        Enter(key)
    return macros


def CheckReplay(headers, constants, folder):
    """The built-in headers resource scripts include define what the real ones
    do, each read after windows.h, as scripts include them."""
    empty = pathlib.Path(folder) / "empty.c"
    empty.write_text("", encoding="ascii")
    for name in HEADERS:
        source = pathlib.Path(folder) / "one.c"
        source.write_text("#include <windows.h>\n#include <%s>\n" % name, encoding="ascii")
        listed = {}
        for path, into in ((empty, {}), (source, listed)):
            command = [Compiler(), "-E", "-dM", "-x", "c", "-DRC_INVOKED", str(path)]
            text = subprocess.run(command, capture_output=True, text=True, encoding="latin-1").stdout
            for match in re.finditer(r"^#define ([A-Za-z_]\w*)(\([^)]*\))?(?: (.*))?$", text, re.M):
                into[match.group(1)] = "%s%s %s" % (match.group(1), match.group(2) or "", match.group(3) or "")
            if path == empty:
                predefined = into
        real = {n: text for n, text in listed.items() if predefined.get(n) != text and n != "RC_INVOKED"}
        built = {n: text for n, text in Replay(headers, ["windows.h", name]).items() if predefined.get(n) != text}
        added = {op[1].split("(")[0] for header in headers.values() for op in header.ops
                 if header.key in ("dlgs.h", "afxres.h", "winres.h") and op[0] == "define"}
        # The headers read before one in the single reading may have set
        # others (_HRESULT_DEFINED, INTERFACE): the constants scripts use count.
        wrong = sorted(n for n in set(real) | set(built)
                       if real.get(n) != built.get(n) and n not in added and n in constants)
        if wrong:
            sys.exit("the built-in %s differs from the real one in %s" % (name, ", ".join(wrong[:20])))


def CBytes(text):
    """A C++ string literal of latin-1 text, every unusual byte escaped."""
    out = []
    for c in text:
        if c in '"\\':
            out.append("\\" + c)
        elif " " <= c <= "~" and c != "?":
            out.append(c)
        else:
            out.append("\\%03o" % ord(c))
    return '"' + "".join(out) + '"'


def WriteHeaders(headers, version, output):
    # Strings once each: names, bodies, header names; offset 0 is the empty text.
    strings = {"": 0}
    pool = [""]
    size = 1

    def Offset(text):
        nonlocal size
        if text not in strings:
            strings[text] = size
            pool.append(text)
            size += len(text.encode("latin-1")) + 1
        return strings[text]

    Kinds = {"define": 0, "undef": 1, "include": 2}
    ops = []
    index = []
    keys = sorted(headers)
    # Each header also goes by its last name, unless a header of the top folder
    # or another folder has it.
    names = {key: key for key in keys}
    lastNames = {}
    for key in keys:
        lastNames.setdefault(key.rsplit("/", 1)[-1], []).append(key)
    for last, holders in lastNames.items():
        if last not in names and len(holders) == 1:
            names[last] = holders[0]
    ranges = {}
    # A name is written as the length it shares with the header's name before
    # it (WM_SETTEXT after WM_SETFONT) and the rest.
    for key in keys:
        header = headers[key]
        first = len(ops)
        previous = ""
        for op in header.ops:
            shared = min(len(os.path.commonprefix([previous, op[1]])), 255)
            ops.append((Kinds[op[0]] << 30) | (shared << 22) | Offset(op[1][shared:]))
            previous = op[1]
            if op[0] == "define":
                ops.append(Offset(op[2]))
        ranges[key] = (first, len(ops))
    if size >= 1 << 22:
        sys.exit("the header strings pass 4 MiB, more than a directive's offset holds")
    for name in sorted(names):
        header = headers[names[name]]
        first, end = ranges[header.key]
        index.append("{%d, %d, %d, %d, %s}," % (Offset(name), Offset(header.guard), first, end,
                                                "true" if header.once else "false"))
    lines = [
        "// Generated by scripts/generate-windows-headers.py from the MinGW-w64 %s headers; do not edit." % version,
        "// Every Windows header as a resource compiler reads it: its directives, its guard.",
        "// The strings end in NUL characters and are found by their offsets.",
        "// NOLINTBEGIN(bugprone-string-literal-with-embedded-nul)",
        "constexpr char HeaderStrings[] =",
    ]
    lines += ["    " + CBytes(text)[:-1] + '\\0"' for text in pool]
    lines[-1] += ";"
    lines.append("// NOLINTEND(bugprone-string-literal-with-embedded-nul)")
    lines.append("constexpr std::uint32_t HeaderOps[] = {")
    for at in range(0, len(ops), 12):
        lines.append("    " + " ".join("0x%X," % op for op in ops[at:at + 12]))
    lines.append("};")
    lines.append("constexpr HeaderEntry HeaderIndex[] = {")
    lines += ["    " + entry for entry in index]
    lines.append("};")
    output.write_text("\n".join(lines) + "\n", encoding="latin-1", newline="\n")


def WriteConstants(version, values, output):
    lines = [
        "// Generated by scripts/generate-windows-headers.py from the MinGW-w64 %s headers; do not edit." % version,
        "// The constants of the Windows headers that resource scripts use, sorted by name.",
    ]
    for name, value in sorted(values.items()):
        if isinstance(value, str):
            lines.append("{%s, 0, %s}," % (CString(name), CString(value)))
        else:
            lines.append("{%s, 0x%Xu, {}}," % (CString(name), value.number & 0xFFFFFFFF))
    output.write_text("\n".join(lines) + "\n", encoding="ascii", newline="\n")


def main():
    root = pathlib.Path(__file__).resolve().parent.parent
    output = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else root / "src/script"
    with tempfile.TemporaryDirectory() as folder:
        version, values = Generate(folder)
        include = IncludeRoot()
        headers = ReadHeaders(include, folder)
        AddDefinitions(headers, include)
        CheckReplay(headers, values, folder)
    WriteHeaders(headers, version, output / "WindowsHeaders.inc")
    WriteConstants(version, values, output / "WindowsConstants.inc")


if __name__ == "__main__":
    main()
