#!/usr/bin/env python3
"""Writes the code page tables that src/script/SourceText.cpp includes.

Each single-byte table gives the characters of bytes 0x80-0xFF as Windows'
MultiByteToWideChar reads them. Python's codecs leave some bytes undefined where
Windows maps them: bytes 0x80-0x9F to the C1 control of the same number, and a
few bytes above 0x9F to private-use characters. Those are filled in here, so that
every byte reads as one character and writes back as the same byte.

The double-byte pages (932, 936, 949, 950) come from Python's cp932, gbk, cp949
and cp950 codecs, which match Windows' tables but for these differences, filled
in here as Windows reads them:
- single bytes: Python's cp932 already reads 0x80, 0xA0 and 0xFD-0xFF as
  Windows does (U+0080, U+F8F0-U+F8F3); gbk, cp949 and cp950 leave 0x80 and
  0xFF undefined (DOUBLE_BYTE_SINGLES);
- the user-defined areas, which Windows reads as private-use characters in runs;
- 950's rows C6A1-C7FC, where Python reads kana of the ETEN extension and Windows
  private-use characters.
Where two codes read as one character, Windows writes the first in byte order,
except 932 writes IBM's extension (FA-FC) rather than NEC's selection of it
(ED-EE), where Python's cp932 encoder writes NEC's, and 950 writes the codes in
WINDOWS_PREFERRED. With Wine's copies of
Windows' tables installed (/usr/share/wine/nls), the result is checked against
them in both directions.

Usage: generate-code-pages.py [OUTPUT]   (default: src/script/CodePageTables.inc)
"""

import codecs
import pathlib
import struct
import sys

CODE_PAGES = [874, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258, 437, 850]

# Bytes above 0x9F that Python leaves undefined, as Windows reads them (the
# best-fit tables of the Windows code page data files).
WINDOWS_EXTRAS = {
    874: {0xDB: 0xF8C1, 0xDC: 0xF8C2, 0xDD: 0xF8C3, 0xDE: 0xF8C4,
          0xFC: 0xF8C5, 0xFD: 0xF8C6, 0xFE: 0xF8C7, 0xFF: 0xF8C8},
    1253: {0xAA: 0xF8F9, 0xD2: 0xF8FA, 0xFF: 0xF8FB},
    1255: {0xCA: 0x05BA, 0xD9: 0xF88D, 0xDA: 0xF88E, 0xDB: 0xF88F, 0xDC: 0xF890,
           0xDD: 0xF891, 0xDE: 0xF892, 0xDF: 0xF893, 0xFB: 0xF894, 0xFC: 0xF895, 0xFF: 0xF896},
    1257: {0xA1: 0xF8FC, 0xA5: 0xF8FD},
}


def HighHalf(codePage):
    decoder = codecs.getdecoder("cp%d" % codePage)
    extras = WINDOWS_EXTRAS.get(codePage, {})
    table = []
    for byte in range(0x80, 0x100):
        try:
            text, _ = decoder(bytes([byte]))
            point = ord(text)
        except UnicodeDecodeError:
            point = None
        if byte in extras:
            if point is not None and point != extras[byte]:
                sys.exit("cp%d byte 0x%02X: Python gives U+%04X, Windows U+%04X" %
                         (codePage, byte, point, extras[byte]))
            point = extras[byte]
        elif point is None:
            if byte > 0x9F:
                sys.exit("cp%d byte 0x%02X: undefined and not in WINDOWS_EXTRAS" % (codePage, byte))
            point = byte
        table.append(point)
    if len(set(table)) != len(table):
        sys.exit("cp%d: two bytes read as the same character" % codePage)
    return table


DOUBLE_BYTE_PAGES = [(932, "cp932"), (936, "gbk"), (949, "cp949"), (950, "cp950")]

# Single bytes above 0x7F that are not lead bytes, where Python leaves them undefined.
DOUBLE_BYTE_SINGLES = {
    932: {},
    936: {0x80: 0x20AC, 0xFF: 0xF8F5},
    949: {0x80: 0x0080, 0xFF: 0xF8F7},
    950: {0x80: 0x0080, 0xFF: 0xF8F8},
}

# Runs (lead byte, first trail, last trail, first character) of pairs Windows
# reads as consecutive private-use characters.
DOUBLE_BYTE_EXTRAS = {
    932: [],
    936: [(0xA1, 0x40, 0x7E, 0xE4C6), (0xA1, 0x80, 0xA0, 0xE505), (0xA2, 0x40, 0x7E, 0xE526),
          (0xA2, 0x80, 0xA0, 0xE565), (0xA2, 0xAB, 0xB0, 0xE766), (0xA2, 0xE3, 0xE4, 0xE76C),
          (0xA2, 0xEF, 0xF0, 0xE76E), (0xA2, 0xFD, 0xFE, 0xE770), (0xA3, 0x40, 0x7E, 0xE586),
          (0xA3, 0x80, 0xA0, 0xE5C5), (0xA4, 0x40, 0x7E, 0xE5E6), (0xA4, 0x80, 0xA0, 0xE625),
          (0xA4, 0xF4, 0xFE, 0xE772), (0xA5, 0x40, 0x7E, 0xE646), (0xA5, 0x80, 0xA0, 0xE685),
          (0xA5, 0xF7, 0xFE, 0xE77D), (0xA6, 0x40, 0x7E, 0xE6A6), (0xA6, 0x80, 0xA0, 0xE6E5),
          (0xA6, 0xB9, 0xC0, 0xE785), (0xA6, 0xD9, 0xDF, 0xE78D), (0xA6, 0xEC, 0xED, 0xE794),
          (0xA6, 0xF3, 0xF3, 0xE796), (0xA6, 0xF6, 0xFE, 0xE797), (0xA7, 0x40, 0x7E, 0xE706),
          (0xA7, 0x80, 0xA0, 0xE745), (0xA7, 0xC2, 0xD0, 0xE7A0), (0xA7, 0xF2, 0xFE, 0xE7AF),
          (0xA8, 0x96, 0xA0, 0xE7BC), (0xA8, 0xBC, 0xBC, 0xE7C7), (0xA8, 0xBF, 0xBF, 0xE7C8),
          (0xA8, 0xC1, 0xC4, 0xE7C9), (0xA8, 0xEA, 0xFE, 0xE7CD), (0xA9, 0x58, 0x58, 0xE7E2),
          (0xA9, 0x5B, 0x5B, 0xE7E3), (0xA9, 0x5D, 0x5F, 0xE7E4), (0xA9, 0x89, 0x95, 0xE7E7),
          (0xA9, 0x97, 0xA3, 0xE7F4), (0xA9, 0xF0, 0xFE, 0xE801), (0xD7, 0xFA, 0xFE, 0xE810),
          (0xFE, 0x50, 0x7E, 0xE815), (0xFE, 0x80, 0xA0, 0xE844)]
         + [(lead, 0xA1, 0xFE, 0xE000 + 94 * (lead - 0xAA)) for lead in range(0xAA, 0xB0)]
         + [(lead, 0xA1, 0xFE, 0xE234 + 94 * (lead - 0xF8)) for lead in range(0xF8, 0xFF)],
    949: [(0xC9, 0xA1, 0xFE, 0xE000), (0xFE, 0xA1, 0xFE, 0xE05E)],
    950: [row for lead, first in [(lead, 0xEEB8 + 157 * (lead - 0x81)) for lead in range(0x81, 0x8E)]
          + [(lead, 0xE311 + 157 * (lead - 0x8E)) for lead in range(0x8E, 0xA1)]
          + [(lead, 0xE000 + 157 * (lead - 0xFA)) for lead in range(0xFA, 0xFF)]
          for row in [(lead, 0x40, 0x7E, first), (lead, 0xA1, 0xFE, first + 63)]]
         + [(0xC6, 0xA1, 0xFE, 0xF6B1), (0xC7, 0x40, 0x7E, 0xF70F), (0xC7, 0xA1, 0xFE, 0xF74E),
            (0xC8, 0x40, 0x7E, 0xF7AC), (0xC8, 0xA1, 0xFE, 0xF7EB)],
}

# Codes Windows writes for a character that another, earlier code also reads as.
WINDOWS_PREFERRED = {950: {0xF9F9, 0xF9E9, 0xF9EA, 0xF9EB, 0xA451, 0xA4CA}}


def DoubleByte(codePage, codec):
    decoder = codecs.getdecoder(codec)
    singles = {}
    pairs = {}
    for first in range(0x80, 0x100):
        try:
            text, _ = decoder(bytes([first]))
            singles[first] = ord(text)
            continue
        except UnicodeDecodeError:
            pass
        for trail in range(0x40, 0x100):
            try:
                text, _ = decoder(bytes([first, trail]))
            except UnicodeDecodeError:
                continue
            if len(text) == 1:
                pairs[first * 256 + trail] = ord(text)
    for byte, point in DOUBLE_BYTE_SINGLES[codePage].items():
        if byte in singles and singles[byte] != point:
            sys.exit("cp%d byte 0x%02X: Python gives U+%04X, Windows U+%04X" % (codePage, byte, singles[byte], point))
        singles[byte] = point
    for lead, firstTrail, lastTrail, firstPoint in DOUBLE_BYTE_EXTRAS[codePage]:
        for trail in range(firstTrail, lastTrail + 1):
            pairs[lead * 256 + trail] = firstPoint + trail - firstTrail
    if any(code >> 8 in singles for code in pairs):
        sys.exit("cp%d: a pair begins with a single byte" % codePage)

    # The codes that read as a character Windows writes with another code.
    writers = {}
    for point, code in sorted((point, code) for code, point in
                              list(pairs.items()) + [(byte, point) for byte, point in singles.items()]):
        writers.setdefault(point, []).append(code)
    secondary = []
    for point, codes in writers.items():
        preferred = codes[0]
        if codePage == 932:
            ibm = [code for code in codes if 0xFA00 <= code < 0xFD00]
            if ibm:
                preferred = [code for code in codes if not 0xED00 <= code < 0xEF00][0]
        for code in codes:
            if code in WINDOWS_PREFERRED.get(codePage, ()):
                preferred = code
        secondary.extend(code for code in codes if code != preferred)
    return singles, pairs, sorted(secondary)


def NlsTable(codePage):
    """Wine's copy of Windows' table: single bytes, pairs and the code each character is written as."""
    path = pathlib.Path("/usr/share/wine/nls/c_%d.nls" % codePage)
    if not path.exists():
        return None
    data = path.read_bytes()
    words = struct.unpack("<%dH" % (len(data) // 2), data[: len(data) // 2 * 2])
    header = words[0]
    defaultPoint = words[4]
    at = header
    wideTable = at + words[at] + 1
    at += 1
    single = words[at:at + 256]
    at += 256
    glyphs = words[at]
    at += 1 + (256 if glyphs else 0)
    at += 1  # the count of lead byte ranges
    offsets = words[at:at + 256]
    reads = {}
    for byte in range(0x80, 0x100):
        if offsets[byte]:
            for trail in range(256):
                point = words[at + offsets[byte] + trail]
                if point != defaultPoint or (byte, trail) == (0x81, 0x45):
                    reads[byte * 256 + trail] = point
        else:
            reads[byte] = single[byte]
    writes = {point: words[wideTable + point] for point in set(reads.values())}
    return reads, writes


def CheckDoubleByte(codePage, singles, pairs, secondary):
    nls = NlsTable(codePage)
    if nls is None:
        return
    reads, writes = nls
    ours = dict(pairs)
    ours.update(singles)
    if ours != reads:
        wrong = sorted(set(ours.items()) ^ set(reads.items()))[:4]
        sys.exit("cp%d: the table differs from Windows' at %s" % (codePage, ", ".join("%X" % code for code, _ in wrong)))
    written = {point: code for code, point in ours.items() if code not in set(secondary)}
    if any(writes[point] != code for point, code in written.items()):
        sys.exit("cp%d: a character is written with another code than Windows writes" % codePage)


def RenderDoubleByte(lines):
    lines.append("")
    lines.append("// Double-byte pages: the characters of single bytes 0x80-0xFF (0 for a lead")
    lines.append("// byte), and per lead byte the characters of its trail bytes firstTrail to")
    lines.append("// lastTrail, from points[start] on (0 where the pair reads as nothing).")
    tables = []
    for codePage, codec in DOUBLE_BYTE_PAGES:
        singles, pairs, secondary = DoubleByte(codePage, codec)
        CheckDoubleByte(codePage, singles, pairs, secondary)
        rows = []
        points = []
        for lead in [byte for byte in range(0x80, 0x100) if byte not in singles]:
            trails = [code & 0xFF for code in pairs if code >> 8 == lead]
            first, last = (min(trails), max(trails)) if trails else (0x40, 0x3F)  # a lead byte with no pairs
            rows.append((lead, first, last, len(points)))
            points.extend(pairs.get(lead * 256 + trail, 0) for trail in range(first, last + 1))
        lines.append("constexpr char16_t DoubleBytePoints%d[] = {" % codePage)
        for row in range(0, len(points), 12):
            lines.append("    " + " ".join("0x%04X," % point for point in points[row:row + 12]))
        lines.append("};")
        lines.append("constexpr DoubleByteRow DoubleByteRows%d[] = {" % codePage)
        for row in range(0, len(rows), 4):
            lines.append("    " + " ".join("{0x%02X, 0x%02X, 0x%02X, %d}," % entry for entry in rows[row:row + 4]))
        lines.append("};")
        lines.append("// Codes that read as a character Windows writes with another code.")
        lines.append("constexpr std::uint16_t DoubleByteSecondary%d[] = {" % codePage)
        if not secondary:
            secondary = [0]  # no code reads as U+0000: a placeholder that matches nothing
        for row in range(0, len(secondary), 12):
            lines.append("    " + " ".join("0x%04X," % code for code in secondary[row:row + 12]))
        lines.append("};")
        tables.append((codePage, [singles.get(byte, 0) for byte in range(0x80, 0x100)]))
    lines.append("constexpr DoubleByteTable DoubleByteTables[] = {")
    for codePage, single in tables:
        lines.append("    {%d," % codePage)
        lines.append("     {")
        for row in range(0, 128, 8):
            lines.append("         " + " ".join("0x%04X," % point for point in single[row:row + 8]))
        lines.append("     },")
        lines.append("     DoubleByteRows%d, std::size(DoubleByteRows%d), DoubleBytePoints%d, DoubleByteSecondary%d," %
                     (codePage, codePage, codePage, codePage))
        lines.append("     std::size(DoubleByteSecondary%d)}," % codePage)
    lines.append("};")


def Render():
    lines = [
        "// Generated by scripts/generate-code-pages.py; do not edit.",
        "// Bytes 0x80-0xFF of each single-byte code page, as Windows reads them.",
        "constexpr CodePageTable CodePageTables[] = {",
    ]
    for codePage in CODE_PAGES:
        table = HighHalf(codePage)
        lines.append("    {%d," % codePage)
        lines.append("     {")
        for row in range(0, 128, 8):
            lines.append("         " + " ".join("0x%04X," % point for point in table[row:row + 8]))
        lines.append("     }},")
    lines.append("};")
    RenderDoubleByte(lines)
    return "\n".join(lines) + "\n"


def main():
    root = pathlib.Path(__file__).resolve().parent.parent
    output = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else root / "src/script/CodePageTables.inc"
    output.write_text(Render(), encoding="ascii", newline="\n")


if __name__ == "__main__":
    main()
