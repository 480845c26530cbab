#!/usr/bin/env python3
"""Writes the character tables of the simple and CID-keyed fonts as one C++ source, at build time:

- the Adobe Glyph List (glyph name -> Unicode), read from Ghostscript's gs_agl.ps (Debian
  package ghostscript / libgs10-common);
- StandardEncoding, WinAnsiEncoding and MacRomanEncoding as Unicode per code, read from the
  same package's encoding files (gs_std_e.ps, gs_il1_e.ps, gs_wan_e.ps, gs_mro_e.ps) and their
  glyph names looked up in that list;
- Adobe-Japan1 CID -> Unicode, read from poppler-data's cidToUnicode/Adobe-Japan1;
- the code -> CID ranges of the predefined Adobe-Japan1 CMaps by JIS, EUC and Shift-JIS code
  (H, V, 90ms-RKSJ-H, ...), read from poppler-data's cMap/Adobe-Japan1 (usecmap followed).

Nothing is copied into the repository: CMake runs this with the installed packages' files.

    python3 scripts/make_font_tables.py OUTPUT.cpp [GHOSTSCRIPT_INIT_DIR] [CID_TO_UNICODE_FILE]
"""
import glob
import os
import re
import sys


def default_init_dir():
    found = sorted(glob.glob("/usr/share/ghostscript/*/Resource/Init/gs_agl.ps"))
    if not found:
        sys.exit("gs_agl.ps not found: install the Debian package ghostscript")
    return os.path.dirname(found[-1])


def read_glyph_list(path):
    """The /name 16#XXXX pairs between '/AdobeGlyphList mark' and the closing '.dicttomark'."""
    glyphs = {}
    with open(path, encoding="latin-1") as f:
        text = f.read()
    start = text.index("/AdobeGlyphList mark")
    end = text.index("dicttomark", start)
    for name, value in re.findall(r"/([A-Za-z0-9_.]+)\s+16#([0-9A-Fa-f]+)", text[start:end]):
        glyphs.setdefault(name, int(value, 16))
    return glyphs


def tokens_without_comments(path):
    with open(path, encoding="latin-1") as f:
        for line in f:
            for token in line.split("%", 1)[0].split():
                yield token


def read_encoding(init_dir, file_name, name, known):
    """The 256 glyph names of /name: names as they stand, and 'Other a n getinterval aload pop'
    taking n names of an encoding read before."""
    tokens = list(tokens_without_comments(os.path.join(init_dir, file_name)))
    i = tokens.index("/" + name) + 1
    names = []
    while len(names) < 256 and i < len(tokens):
        token = tokens[i]
        if token.startswith("/"):
            names.append(token[1:])
            i += 1
        elif token in known and tokens[i + 3] == "getinterval":
            first, count = int(tokens[i + 1]), int(tokens[i + 2])
            names += known[token][first:first + count]
            i += 6  # Other a n getinterval aload pop
        else:
            break
    if len(names) != 256:
        sys.exit(f"{file_name}: {name} has {len(names)} codes, not 256")
    return names


def read_cid_to_unicode(path):
    """One hexadecimal Unicode value per line, the line number being the CID; characters
    outside the basic plane (no Shift-JIS has them) become 0."""
    values = []
    with open(path, encoding="ascii") as f:
        for line in f:
            value = int(line.split()[0], 16) if line.strip() else 0
            values.append(value if value <= 0xFFFF else 0)
    return values


# The predefined CMaps read, with how their codes are cut from a string: JIS (two bytes
# each), EUC (lead bytes 8E and A1-FE) or Shift-JIS (lead bytes 81-9F and E0-FC). A vertical
# CMap differs from its horizontal one only in glyph forms of the same characters, so the
# texts read it as the horizontal one.
JAPAN1_CMAPS = {
    "H": "kCMapJis", "Add-H": "kCMapJis", "Ext-H": "kCMapJis", "NWP-H": "kCMapJis",
    "EUC-H": "kCMapEuc",
    "RKSJ-H": "kCMapShiftJis", "90ms-RKSJ-H": "kCMapShiftJis", "90msp-RKSJ-H": "kCMapShiftJis",
    "90pv-RKSJ-H": "kCMapShiftJis", "83pv-RKSJ-H": "kCMapShiftJis", "Add-RKSJ-H": "kCMapShiftJis",
    "Ext-RKSJ-H": "kCMapShiftJis",
}


def read_cmap_codes(directory, name, depth=0):
    """Code -> CID of one CMap file: its usecmap base first, then its own cidrange and cidchar
    entries, which override the base's."""
    if depth > 8:
        sys.exit(f"{name}: usecmap nested too deep")
    path = os.path.join(directory, name)
    if not os.path.exists(path):
        sys.exit(f"{path} not found: install the Debian package poppler-data")
    tokens = list(tokens_without_comments(path))
    codes = {}
    for k, token in enumerate(tokens):
        if token == "usecmap" and tokens[k - 1].startswith("/"):
            codes.update(read_cmap_codes(directory, tokens[k - 1][1:], depth + 1))
    section = None
    k = 0
    while k < len(tokens):
        token = tokens[k]
        if token in ("begincidrange", "begincidchar"):
            section = token
        elif token in ("endcidrange", "endcidchar"):
            section = None
        elif section == "begincidrange" and token.startswith("<"):
            low, high, cid = int(token[1:-1], 16), int(tokens[k + 1][1:-1], 16), int(tokens[k + 2])
            for code in range(low, high + 1):
                codes[code] = cid + code - low
            k += 3
            continue
        elif section == "begincidchar" and token.startswith("<"):
            codes[int(token[1:-1], 16)] = int(tokens[k + 1])
            k += 2
            continue
        k += 1
    return codes


def code_ranges(codes):
    """Sorted runs (low, high, first CID) of consecutive codes with consecutive CIDs."""
    ranges = []
    for code in sorted(codes):
        cid = codes[code]
        if ranges and ranges[-1][1] + 1 == code and ranges[-1][2] + code - ranges[-1][0] == cid:
            ranges[-1][1] = code
        else:
            ranges.append([code, code, cid])
    return ranges


def c_array(values, per_line=12):
    lines = []
    for k in range(0, len(values), per_line):
        lines.append("    " + ", ".join(f"0x{v:04X}" for v in values[k:k + per_line]) + ",")
    return "\n".join(lines)


def main():
    output = sys.argv[1]
    init_dir = sys.argv[2] if len(sys.argv) > 2 else default_init_dir()
    cid_path = sys.argv[3] if len(sys.argv) > 3 else "/usr/share/poppler/cidToUnicode/Adobe-Japan1"
    if not os.path.exists(cid_path):
        sys.exit(f"{cid_path} not found: install the Debian package poppler-data")

    glyphs = read_glyph_list(os.path.join(init_dir, "gs_agl.ps"))
    known = {}
    known["StandardEncoding"] = read_encoding(init_dir, "gs_std_e.ps", "StandardEncoding", known)
    known["ISOLatin1Encoding"] = read_encoding(init_dir, "gs_il1_e.ps", "ISOLatin1Encoding", known)
    known["WinAnsiEncoding"] = read_encoding(init_dir, "gs_wan_e.ps", "WinAnsiEncoding", known)
    known["MacRomanEncoding"] = read_encoding(init_dir, "gs_mro_e.ps", "MacRomanEncoding", known)
    cids = read_cid_to_unicode(cid_path)
    cmap_dir = os.path.join(os.path.dirname(os.path.dirname(cid_path)), "cMap", "Adobe-Japan1")
    cmaps = {name: code_ranges(read_cmap_codes(cmap_dir, name)) for name in sorted(JAPAN1_CMAPS)}

    def unicode_of(encoding):
        return [glyphs.get(n, 0) if n != ".notdef" else 0 for n in known[encoding]]

    names = sorted(glyphs)
    out = []
    out.append("// Generated by scripts/make_font_tables.py from Ghostscript's glyph list and encodings and")
    out.append("// poppler-data's Adobe-Japan1 table; not to be edited.")
    out.append('#include "fonts/font_tables.h"')
    out.append("")
    out.append("namespace velmora {")
    out.append("")
    out.append("const GlyphListEntry AdobeGlyphList[] = {")
    for n in names:
        out.append(f'    {{"{n}", 0x{glyphs[n]:04X}}},')
    out.append("};")
    out.append("")
    for encoding, table in (("StandardEncoding", "StandardEncodingUnicode"),
                            ("WinAnsiEncoding", "WinAnsiEncodingUnicode"),
                            ("MacRomanEncoding", "MacRomanEncodingUnicode")):
        out.append(f"const uint16_t {table}[256] = {{")
        out.append(c_array(unicode_of(encoding)))
        out.append("};")
        out.append("")
    out.append("const uint16_t AdobeJapan1Unicode[] = {")
    out.append(c_array(cids))
    out.append("};")
    out.append("")
    for index, name in enumerate(sorted(cmaps)):
        out.append(f"const CMapCidRange Japan1CMap{index}[] = {{")
        for low, high, cid in cmaps[name]:
            out.append(f"    {{0x{low:04X}, 0x{high:04X}, {cid}}},")
        out.append("};")
    out.append("")
    out.append("const PredefinedCMapTable Japan1CMaps[] = {")
    for index, name in enumerate(sorted(cmaps)):
        out.append(f'    {{"{name}", {JAPAN1_CMAPS[name]}, Japan1CMap{index}, {len(cmaps[name])}}},')
    out.append("};")
    out.append(f"const int32_t Japan1CMapCount = {len(cmaps)};")
    out.append("")
    out.append(f"const int32_t AdobeGlyphListSize = {len(names)};")
    out.append(f"const int32_t AdobeJapan1Cids = {len(cids)};")
    out.append("")
    out.append("}  // namespace velmora")
    text = "\n".join(out) + "\n"
    # Written only when it changes, so a rebuild does not recompile it.
    if os.path.exists(output):
        with open(output, encoding="utf-8") as f:
            if f.read() == text:
                return
    with open(output, "w", encoding="utf-8") as f:
        f.write(text)


if __name__ == "__main__":
    main()
