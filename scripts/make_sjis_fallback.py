#!/usr/bin/env python3
"""Writes src/fonts/sjis_fallback_table.cpp: the Shift-JIS stand-ins for characters that code
page 932 cannot encode (general punctuation spaces, CJK and Kangxi radicals, CJK compatibility
ideographs, vertical punctuation forms).

The choice comes from Unicode's own data (Debian package unicode-data, /usr/share/unicode):
the compatibility decompositions of UnicodeData.txt for U+2F00..U+2FDF and U+F900..U+FA6F, and
EquivalentUnifiedIdeograph.txt for U+2E80..U+2EFF. When code page 932 lacks that unified
ideograph, a variant from Unihan_Variants.txt stands in, then the ideograph of the radical's
number (CJKRadicals.txt), and last the geta mark. The generated source is checked in; run this
again only when the data or the rules change:

    python3 scripts/make_sjis_fallback.py [output]
"""
import bz2
import os
import sys

UNICODE_DIR = "/usr/share/unicode"

# (first, count) of the four ranges, in table order.
RANGES = [(0x2000, 16), (0x2E80, 352), (0xF900, 368), (0xFE13, 4)]

# Fixed rows: the spaces become the full-width space, the vertical forms their full-width
# punctuation, and a few radicals and compatibility ideographs the look-alike that Japanese
# drawings use rather than the rare unified form code page 932 also has.
FIXED = {cp: "\u3000" for cp in range(0x2000, 0x2010)}
FIXED.update({0xFE13: "\uff1a", 0xFE14: "\uff1b", 0xFE15: "\uff01", 0xFE16: "\uff1f"})
FIXED.update({
    0x2E82: "\u3064",  # つ for the hooked second-one radical
    0x2F01: "\uff5c",  # ｜ for the line radical
    0xF900: "\u8c46",  # 豆
    0xF907: "\u4e80",  # 亀
})

GETA = "\u3013"  # 〓: the customary mark for a character that cannot be shown
VARIANT_KINDS = ("kCompatibilityVariant", "kZVariant", "kSemanticVariant",
                 "kSpecializedSemanticVariant", "kTraditionalVariant", "kSimplifiedVariant")


def sjis(ch):
    try:
        data = ch.encode("cp932")
    except UnicodeEncodeError:
        return None
    return data if len(data) == 2 else None


def is_common(data):
    # JIS X 0208 rows: the NEC and IBM extension areas render poorly in many Jw_cad fonts.
    return data[0] != 0x87 and data[0] <= 0xEA


def read_lines(name):
    path = os.path.join(UNICODE_DIR, name)
    if name.endswith(".bz2"):
        with bz2.open(path, "rt", encoding="utf-8") as f:
            return f.read().splitlines()
    with open(path, encoding="utf-8") as f:
        return f.read().splitlines()


def load_data():
    decomposition = {}
    for line in read_lines("UnicodeData.txt"):
        fields = line.split(";")
        cp = int(fields[0], 16)
        if 0x2F00 <= cp <= 0x2FDF or 0xF900 <= cp <= 0xFA6F:
            parts = [p for p in fields[5].split() if not p.startswith("<")]
            if len(parts) == 1:
                decomposition[cp] = int(parts[0], 16)
    equivalent = {}
    for line in read_lines("EquivalentUnifiedIdeograph.txt"):
        line = line.split("#")[0].strip()
        if not line:
            continue
        source, target = (s.strip() for s in line.split(";"))
        first, _, last = source.partition("..")
        for cp in range(int(first, 16), int(last or first, 16) + 1):
            equivalent[cp] = int(target, 16)
    radical_ideograph = {}
    for line in read_lines("CJKRadicals.txt"):
        line = line.split("#")[0].strip()
        if not line:
            continue
        number, radical, ideograph = (s.strip() for s in line.split(";"))
        base = int(number.rstrip("'"))
        if radical:
            radical_ideograph[int(radical, 16)] = base
        radical_ideograph.setdefault(("number", base), int(ideograph, 16))
    variants = {}
    for line in read_lines("Unihan_Variants.txt.bz2"):
        if line.startswith("#") or not line.strip():
            continue
        code, kind, value = line.split("\t")
        if kind not in VARIANT_KINDS:
            continue
        cp = int(code[2:], 16)
        for token in value.split():
            target = token.split("<")[0]
            if target.startswith("U+"):
                variants.setdefault(cp, []).append((VARIANT_KINDS.index(kind), int(target[2:], 16)))
    for cp in variants:
        variants[cp] = [t for _, t in sorted(variants[cp], key=lambda pair: pair[0])]
    return decomposition, equivalent, radical_ideograph, variants


def choose(cp, data):
    decomposition, equivalent, radical_ideograph, variants = data
    if cp in FIXED:
        return FIXED[cp]
    base = decomposition.get(cp) or equivalent.get(cp)
    if base is None and 0xF900 <= cp <= 0xFA6F:
        base = cp  # the unified ideographs of the compatibility block stand for themselves
    candidates = []
    if base is not None:
        candidates += [base] + variants.get(base, [])
    if cp in radical_ideograph:
        ideograph = radical_ideograph[("number", radical_ideograph[cp])]
        candidates += [ideograph] + variants.get(ideograph, [])
    encoded = [(c, sjis(chr(c))) for c in candidates]
    encoded = [(c, e) for c, e in encoded if e is not None]
    for c, e in encoded:
        if is_common(e):
            return chr(c)
    return chr(encoded[0][0]) if encoded else GETA


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    output = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "src", "fonts", "sjis_fallback_table.cpp")
    data = load_data()
    lines = [
        "// Generated by scripts/make_sjis_fallback.py from Unicode's data; do not edit by hand.",
        "// One double-byte Shift-JIS character per code point of the four fallback ranges.",
        '#include "fonts/sjis_fallback.h"',
        "",
        "namespace velmora {",
        "",
        "const char* const SjisFallbackTable[kSjisFallbackEntries] = {",
    ]
    total = 0
    for first, count in RANGES:
        lines.append("    // U+%04X..U+%04X" % (first, first + count - 1))
        row = []
        for cp in range(first, first + count):
            ch = choose(cp, data)
            assert sjis(ch) is not None, hex(cp)
            row.append('"%s",' % ch)
            if len(row) == 16:
                lines.append("    " + " ".join(row))
                row = []
        if row:
            lines.append("    " + " ".join(row))
        total += count
    lines += ["};", "", "}  // namespace velmora", ""]
    assert total == 740
    with open(output, "w", encoding="utf-8") as f:
        f.write("\n".join(lines))


if __name__ == "__main__":
    main()
