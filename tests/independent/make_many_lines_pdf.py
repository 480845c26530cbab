#!/usr/bin/env python3
"""Writes a one-page A4 PDF with 80,000 short separate strokes and a few texts, so the written
JWW file needs the long forms: object indices past 0x7FFF and an object count past 0xFFFF.
Neighbouring strokes point in different directions, so dash merging leaves them alone.
Usage: make_many_lines_pdf.py OUT.pdf"""
import os
import sys
import zlib

# The classic cross-reference layout is the sample generator's; one writer of it is enough.
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "samples"))
from make_samples import build_pdf  # noqa: E402

COLUMNS, ROWS = 320, 250


def content():
    parts = [b"q 0.1 w\n"]
    for row in range(ROWS):
        for column in range(COLUMNS):
            x = 20 + column * 1.7
            y = 60 + row * 2.9
            # Eight directions, shuffled across the grid.
            dx, dy = [(1.2, 0), (1, 0.8), (0, 1.3), (-0.9, 1), (1.1, -0.5), (0.4, 1.2), (-1, 0.3), (0.7, -1)][
                (column * 3 + row * 5) % 8]
            parts.append(b"%.2f %.2f m %.2f %.2f l S\n" % (x, y, x + dx, y + dy))
    parts.append(b"Q\nBT /F1 12 Tf 40 800 Td (Many lines, 0x7FFF and 0xFFFF) Tj ET\n")
    parts.append(b"BT /F1 9 Tf 0 1 -1 0 580 100 Tm (A turned text) Tj ET\n")
    return b"".join(parts)


def main():
    stream = zlib.compress(content())
    objects = [
        b"<< /Type /Catalog /Pages 2 0 R >>",
        b"<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Contents 4 0 R"
        b" /Resources << /Font << /F1 5 0 R >> >> >>",
        b"<< /Length %d /Filter /FlateDecode >>\nstream\n" % len(stream) + stream + b"\nendstream",
        b"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>",
    ]
    with open(sys.argv[1], "wb") as out:
        out.write(build_pdf(objects))


if __name__ == "__main__":
    main()
