#!/usr/bin/env python3
"""Writes the bundled sample drawing samples/sample_plan.pdf: an A4 page with lines of several
widths, a rectangle, a curve and a dashed line, in an uncompressed content stream with a classic
cross-reference table. Run it again after changing it; the PDF is checked in beside it."""
import os

CONTENT = b"""q
0.35 w
56 56 m 539 56 l 539 786 l 56 786 l h S
1.4 w
100 700 m 495 700 l S
100 700 m 100 300 l S
0.18 w
150 350 200 120 re S
[6 3] 0 d
100 250 m 495 250 l S
[] 0 d
0.7 w
300 500 m 350 560 420 560 470 500 c S
Q
"""


def build_pdf(objects):
    out = bytearray(b"%PDF-1.4\n%\xe2\xe3\xcf\xd3\n")
    offsets = []
    for number, body in enumerate(objects, start=1):
        offsets.append(len(out))
        out += b"%d 0 obj\n" % number + body + b"\nendobj\n"
    xref = len(out)
    out += b"xref\n0 %d\n" % (len(objects) + 1)
    out += b"0000000000 65535 f \n"
    for offset in offsets:
        out += b"%010d 00000 n \n" % offset
    out += b"trailer\n<< /Size %d /Root 1 0 R >>\nstartxref\n%d\n%%%%EOF\n" % (len(objects) + 1, xref)
    return bytes(out)


def main():
    objects = [
        b"<< /Type /Catalog /Pages 2 0 R >>",
        b"<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Resources << >> /Contents 4 0 R >>",
        b"<< /Length %d >>\nstream\n" % len(CONTENT) + CONTENT + b"endstream",
    ]
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "sample_plan.pdf")
    with open(path, "wb") as f:
        f.write(build_pdf(objects))
    print(path)


if __name__ == "__main__":
    main()
