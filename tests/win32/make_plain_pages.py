#!/usr/bin/env python3
"""Writes a small PDF of A4 pages: `empty` pages draw nothing, `lines` pages a frame and a diagonal,
`raster` pages the frame and two small inline images, `vertical` pages one string of eight
Japanese characters in a vertical font (Identity-V over Adobe-Japan1, not embedded).
Usage: make_plain_pages.py OUT.pdf PAGES empty|lines|raster|vertical"""
import sys

out_path, count, kind = sys.argv[1], int(sys.argv[2]), sys.argv[3]
frame = b"1 w 50 50 m 545 50 l 545 792 l 50 792 l h S 50 50 m 545 792 l S"
image = b"q 20 0 0 20 %d 400 cm BI /W 2 /H 1 /BPC 8 /CS /G ID \x00\xff EI Q"
column = b"BT /F1 24 Tf 1 0 0 1 300 700 Tm <034B034D034F0351035303550357035A> Tj ET"
content = {"empty": b"", "lines": frame, "raster": frame + b"\n" + image % 100 + b"\n" + image % 300,
           "vertical": column}[kind]
font = 3 + 2 * count  # the font's objects follow the pages
resources = b"<< /Font << /F1 %d 0 R >> >>" % font if kind == "vertical" else b"<< >>"
kids = b" ".join(b"%d 0 R" % (3 + 2 * n) for n in range(count))
objects = [b"<< /Type /Catalog /Pages 2 0 R >>", b"<< /Type /Pages /Kids [%s] /Count %d >>" % (kids, count)]
for n in range(count):
    objects.append(b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Resources %s /Contents %d 0 R >>"
                   % (resources, 4 + 2 * n))
    objects.append(b"<< /Length %d >>\nstream\n%s\nendstream" % (len(content), content))
if kind == "vertical":
    objects.append(b"<< /Type /Font /Subtype /Type0 /BaseFont /Ryumin-Light /Encoding /Identity-V"
                   b" /DescendantFonts [%d 0 R] >>" % (font + 1))
    objects.append(b"<< /Type /Font /Subtype /CIDFontType0 /BaseFont /Ryumin-Light /CIDSystemInfo"
                   b" << /Registry (Adobe) /Ordering (Japan1) /Supplement 2 >> /FontDescriptor %d 0 R >>" % (font + 2))
    objects.append(b"<< /Type /FontDescriptor /FontName /Ryumin-Light /Flags 4 /FontBBox [0 -120 1000 880]"
                   b" /ItalicAngle 0 /Ascent 880 /Descent -120 /CapHeight 700 /StemV 80 >>")
out, offsets = bytearray(b"%PDF-1.4\n"), []
for number, body in enumerate(objects, 1):
    offsets.append(len(out))
    out += b"%d 0 obj\n%s\nendobj\n" % (number, body)
xref = len(out)
out += b"xref\n0 %d\n0000000000 65535 f \n" % (len(objects) + 1)
out += b"".join(b"%010d 00000 n \n" % offset for offset in offsets)
out += b"trailer\n<< /Size %d /Root 1 0 R >>\nstartxref\n%d\n%%%%EOF\n" % (len(objects) + 1, xref)
open(out_path, "wb").write(out)
