#!/usr/bin/env python3
"""Writes a small PDF of A4 pages: `empty` pages draw nothing, `lines` pages a frame and a diagonal,
`raster` pages the frame and two small inline images.
Usage: make_plain_pages.py OUT.pdf PAGES empty|lines|raster"""
import sys

out_path, count, kind = sys.argv[1], int(sys.argv[2]), sys.argv[3]
frame = b"1 w 50 50 m 545 50 l 545 792 l 50 792 l h S 50 50 m 545 792 l S"
image = b"q 20 0 0 20 %d 400 cm BI /W 2 /H 1 /BPC 8 /CS /G ID \x00\xff EI Q"
content = {"empty": b"", "lines": frame, "raster": frame + b"\n" + image % 100 + b"\n" + image % 300}[kind]
kids = b" ".join(b"%d 0 R" % (3 + 2 * n) for n in range(count))
objects = [b"<< /Type /Catalog /Pages 2 0 R >>", b"<< /Type /Pages /Kids [%s] /Count %d >>" % (kids, count)]
for n in range(count):
    objects.append(b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Resources << >> /Contents %d 0 R >>"
                   % (4 + 2 * n))
    objects.append(b"<< /Length %d >>\nstream\n%s\nendstream" % (len(content), content))
out, offsets = bytearray(b"%PDF-1.4\n"), []
for number, body in enumerate(objects, 1):
    offsets.append(len(out))
    out += b"%d 0 obj\n%s\nendobj\n" % (number, body)
xref = len(out)
out += b"xref\n0 %d\n0000000000 65535 f \n" % (len(objects) + 1)
out += b"".join(b"%010d 00000 n \n" % offset for offset in offsets)
out += b"trailer\n<< /Size %d /Root 1 0 R >>\nstartxref\n%d\n%%%%EOF\n" % (len(objects) + 1, xref)
open(out_path, "wb").write(out)
