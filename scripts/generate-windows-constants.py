#!/usr/bin/env python3
"""Writes the built-in Windows constants that src/script/WindowsHeaders.cpp includes.

The constants come from the MinGW-w64 headers (Debian: mingw-w64-common and
mingw-w64-x86-64-dev), read by the MinGW-w64 preprocessor as a resource compiler
reads them (RC_INVOKED). A first run lists the macros (-dM); a second run expands
each chosen name, and the expansion is evaluated here as C evaluates it, casts
included. Language, sort, virtual key and window style names the resource part
of the headers lacks are taken from a second reading without RC_INVOKED.

Usage: generate-windows-constants.py [OUTPUT]   (default: src/script/WindowsConstants.inc)
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
        values[name] = Render(name, value)
    # A name both readings define must mean the same in both.
    for name in sorted(rcNames & fullNames):
        if name in values:
            try:
                other = Render(name, Evaluator(fullExpansions[name]).Result())
            except Unknown:
                continue
            if other.rstrip("L") != values[name].rstrip("L"):
                sys.exit("%s is %s for a resource compiler but %s for C" % (name, values[name], other))
    if skipped:
        print("left out, not constants: " + ", ".join(skipped), file=sys.stderr)
    version = Evaluator(Expansions(["__MINGW64_VERSION_STR"], folder, True)["__MINGW64_VERSION_STR"]).Result()
    return version, values


def main():
    root = pathlib.Path(__file__).resolve().parent.parent
    output = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else root / "src/script/WindowsConstants.inc"
    with tempfile.TemporaryDirectory() as folder:
        version, values = Generate(folder)
    lines = [
        "// Generated by scripts/generate-windows-constants.py from the MinGW-w64 %s headers; do not edit." % version,
        "// The constants of the Windows headers that resource scripts use, sorted by name.",
    ]
    lines += ["{%s, %s}," % (CString(name), CString(value)) for name, value in sorted(values.items())]
    output.write_text("\n".join(lines) + "\n", encoding="ascii", newline="\n")


if __name__ == "__main__":
    main()
