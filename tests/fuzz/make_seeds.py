#!/usr/bin/env python3
"""Writes the fuzzers' seed folders under DIR (default /tmp/velmora-seeds):

  pdf/       every corpus PDF, the samples and the regression files (fuzz_convert, fuzz_reader,
             fuzz_report, fuzz_lexical)
  content/   the decompressed streams of those files that look like page content (fuzz_text,
             fuzz_content)
  cmap/      their ToUnicode CMaps, inflated, and a few still deflated (fuzz_cmap)
  font/      their embedded font programs (TrueType, OpenType, CFF), inflated (fuzz_font_program)
  settings/  the shipped settings file and each of its setting lines alone (fuzz_settings)
  distance/  paper distances with typed texts (fuzz_distance)

The corpus is only read, never changed."""
import glob
import os
import re
import shutil
import struct
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(os.path.dirname(HERE))
CORPUS = os.path.join(os.environ.get("VELMORA_TEST_DATA", os.path.join(REPO, "..", "shared")), "corpus")
MAX_SEED = 1 << 20          # bytes kept of one stream
DEFLATED_CMAPS = 40         # CMaps also kept as they stand in the file
CONTENT_OPERATORS = (b" re", b" l\n", b" m ", b"BT", b" cm")
# (paper distance in millimetres, typed text) for the distance field.
DISTANCES = [(105.83, b"10000"), (35.2777, b" 3527.77mm"), (1.0, b"0.5"), (1e-300, b"1e300"),
             (211.6662, b"-21000"), (50.0, b"2.5e3"), (100.0, b"abc")]


def streams(data):
    """Each stream's bytes as they stand, and inflated when that works."""
    for match in re.finditer(rb"stream\r?\n", data):
        end = data.find(b"endstream", match.end())
        if end < 0 or end - match.end() > MAX_SEED:
            continue
        raw = data[match.end():end]
        try:
            yield raw, zlib.decompressobj().decompress(raw)
        except zlib.error:
            yield raw, None


def is_font_program(data):
    """A TrueType or OpenType table directory, a collection, or a CFF header."""
    return data[:4] in (b"\x00\x01\x00\x00", b"true", b"OTTO", b"ttcf") or (data[:1] == b"\x01" and data[2:3] == b"\x04")


def main(argv):
    out = argv[0] if argv else "/tmp/velmora-seeds"
    folders = {name: os.path.join(out, name) for name in ("pdf", "content", "cmap", "font", "settings", "distance")}
    for folder in folders.values():
        os.makedirs(folder, exist_ok=True)
    pdfs = sorted(glob.glob(os.path.join(CORPUS, "*.pdf")) + glob.glob(os.path.join(REPO, "samples", "*.pdf"))
                  + glob.glob(os.path.join(HERE, "regressions", "*")))
    counts = dict.fromkeys(folders, 0)
    deflated = 0
    for path in pdfs:
        shutil.copy(path, folders["pdf"])
        counts["pdf"] += 1
        with open(path, "rb") as f:
            data = f.read()
        for raw, inflated in streams(data):
            text = inflated if inflated is not None else raw
            if b"begincmap" in text or b"beginbfchar" in text or b"beginbfrange" in text:
                counts["cmap"] += 1
                with open(os.path.join(folders["cmap"], "cmap_%04d.txt" % counts["cmap"]), "wb") as f:
                    f.write(text[:MAX_SEED])
                if inflated is not None and deflated < DEFLATED_CMAPS:
                    deflated += 1
                    with open(os.path.join(folders["cmap"], "deflated_%04d.bin" % deflated), "wb") as f:
                        f.write(raw)
            elif is_font_program(text):
                counts["font"] += 1
                with open(os.path.join(folders["font"], "font_%04d.bin" % counts["font"]), "wb") as f:
                    f.write(text[:MAX_SEED])
            elif any(operator in text for operator in CONTENT_OPERATORS):
                counts["content"] += 1
                with open(os.path.join(folders["content"], "content_%04d.txt" % counts["content"]), "wb") as f:
                    f.write(text[:MAX_SEED])
    settings = os.path.join(REPO, "data", "VELMORA.JWF")
    shutil.copy(settings, folders["settings"])
    with open(settings, "rb") as f:
        lines = [line for line in f.read().split(b"\r\n") if line and not line.startswith(b"#")]
    for i, line in enumerate(lines):
        with open(os.path.join(folders["settings"], "line_%03d.txt" % i), "wb") as f:
            f.write(line + b"\r\n")
    counts["settings"] = len(lines) + 1
    for i, (paper, text) in enumerate(DISTANCES):
        with open(os.path.join(folders["distance"], "distance_%02d.bin" % i), "wb") as f:
            f.write(struct.pack("<d", paper) + text)
    counts["distance"] = len(DISTANCES)
    for name, count in counts.items():
        print("%-9s %5d seeds in %s" % (name, count, folders[name]))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
