#!/usr/bin/env python3
"""Writes the bundled sample drawings into samples/:

  sample_plan.pdf     A3 landscape floor plan, uncompressed: lines of several widths, rectangles,
                      door swings as curves, a hidden line drawn as separate dash strokes, a centre
                      line and a dashed line with dash patterns, and texts in Japanese and Latin.
  sample_section.pdf  A section on an A4 page turned by /Rotate 90, every stream compressed.

Texts use two fonts, neither embedded: a Type0 font (Adobe-Japan1 CIDs through Identity-H, with a
ToUnicode CMap) and a TrueType font with WinAnsiEncoding. Run it again after changing it; the
PDFs are checked in beside it."""
import math
import os
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

# Adobe-Japan1 CIDs of the characters the Type0 font shows (from the UniJIS-UCS2-H CMap);
# printable ASCII is CID = code - 31.
JAPAN1_CIDS = {
    "平": 3599, "面": 3800, "図": 2596, "断": 2949, "居": 1673, "間": 1554, "寝": 2552,
    "室": 2280, "台": 2886, "所": 2420, "縮": 2390, "尺": 2312, "玄": 1904, "関": 1556,
    "浴": 3915, "通": 3048, "芯": 2570, "・": 638, "り": 915,
}


def cid_of(ch):
    if " " <= ch <= "~":
        return ord(ch) - 31
    return JAPAN1_CIDS[ch]


def num(value):
    text = "%.3f" % value
    text = text.rstrip("0").rstrip(".")
    return "0" if text in ("-0", "") else text


class Drawing:
    """Content stream operators; `turn` maps drawing coordinates to the page's user space."""

    def __init__(self, turn=None):
        self.ops = []
        self.turn = turn or (lambda x, y: (x, y))
        self.used_chars = set()

    def pt(self, x, y):
        tx, ty = self.turn(x, y)
        return "%s %s" % (num(tx), num(ty))

    def width(self, w):
        self.ops.append("%s w" % num(w))

    def dash(self, pattern, phase=0):
        self.ops.append("[%s] %s d" % (" ".join(num(p) for p in pattern), num(phase)))

    def line(self, x1, y1, x2, y2):
        self.ops.append("%s m %s l S" % (self.pt(x1, y1), self.pt(x2, y2)))

    def polyline(self, points, close=False):
        ops = ["%s m" % self.pt(*points[0])] + ["%s l" % self.pt(*p) for p in points[1:]]
        self.ops.append(" ".join(ops) + (" h S" if close else " S"))

    def rect(self, x, y, w, h):
        # "re" only where the page is not turned: its sides would not follow the turn otherwise.
        if self.turn(1, 0) == (1, 0):
            self.ops.append("%s %s %s %s re S" % (num(x), num(y), num(w), num(h)))
        else:
            self.polyline([(x, y), (x + w, y), (x + w, y + h), (x, y + h)], close=True)

    def arc(self, cx, cy, r, a0, a1):
        """A circular arc as one Bezier curve per quarter at most."""
        pieces = max(1, math.ceil(abs(a1 - a0) / 90))
        step = math.radians(a1 - a0) / pieces
        k = 4 / 3 * math.tan(step / 4)
        a = math.radians(a0)
        ops = ["%s m" % self.pt(cx + r * math.cos(a), cy + r * math.sin(a))]
        for _ in range(pieces):
            b = a + step
            p1 = (cx + r * (math.cos(a) - k * math.sin(a)), cy + r * (math.sin(a) + k * math.cos(a)))
            p2 = (cx + r * (math.cos(b) + k * math.sin(b)), cy + r * (math.sin(b) - k * math.cos(b)))
            p3 = (cx + r * math.cos(b), cy + r * math.sin(b))
            ops.append("%s %s %s c" % (self.pt(*p1), self.pt(*p2), self.pt(*p3)))
            a = b
        self.ops.append(" ".join(ops) + " S")

    def dash_strokes(self, x1, y1, x2, y2, dash, gap):
        """A dashed line drawn the way many CAD programs print one: each dash its own stroke."""
        length = math.hypot(x2 - x1, y2 - y1)
        ux, uy = (x2 - x1) / length, (y2 - y1) / length
        s = 0.0
        while s + dash <= length + 1e-9:
            self.line(x1 + ux * s, y1 + uy * s, x1 + ux * (s + dash), y1 + uy * (s + dash))
            s += dash + gap

    def text(self, font, size, x, y, string, angle=0):
        """`font` F1 is the Type0 font (two-byte CIDs), F2 the WinAnsi TrueType font."""
        a = math.radians(angle)
        # The text's direction turns with the page, so the text reads along the drawing.
        ox, oy = self.turn(0, 0)
        dx, dy = self.turn(math.cos(a), math.sin(a))
        dx, dy = dx - ox, dy - oy
        tx, ty = self.turn(x, y)
        if font == "F1":
            self.used_chars.update(string)
            shown = "<%s>" % "".join("%04X" % cid_of(ch) for ch in string)
        else:
            raw = string.encode("cp1252")
            shown = "(%s)" % raw.replace(b"\\", b"\\\\").replace(b"(", b"\\(").replace(b")", b"\\)").decode("latin-1")
        self.ops.append("BT /%s %s Tf %s %s %s %s %s %s Tm %s Tj ET" % (
            font, num(size), num(dx), num(dy), num(-dy), num(dx), num(tx), num(ty), shown))

    def content(self):
        return ("q\n" + "\n".join(self.ops) + "\nQ\n").encode("latin-1")


def plan():
    d = Drawing()
    d.width(0.35)
    d.polyline([(28, 28), (1163, 28), (1163, 814), (28, 814)], close=True)  # sheet border
    d.width(0.5)
    d.rect(843, 28, 320, 90)                                                  # title block
    d.line(843, 73, 1163, 73)
    d.line(963, 28, 963, 118)
    # Outer walls, thick; inner walls, medium.
    d.width(1.4)
    d.rect(150, 200, 600, 420)
    d.width(0.7)
    d.line(450, 200, 450, 470)
    d.line(450, 530, 450, 620)
    d.line(150, 420, 330, 420)
    d.line(390, 420, 450, 420)
    d.line(450, 350, 750, 350)
    # Doors: leaf and swing.
    d.width(0.25)
    d.line(450, 470, 510, 470)
    d.arc(450, 470, 60, 0, 90)
    d.line(330, 420, 330, 480)
    d.arc(330, 420, 60, 90, 0)
    # Furniture, thin rectangles.
    d.width(0.18)
    d.rect(500, 420, 140, 110)
    d.rect(200, 250, 90, 140)
    d.rect(560, 230, 120, 80)
    d.arc(620, 270, 25, 0, 360)
    # A hidden beam line drawn as separate dash strokes.
    d.width(0.25)
    d.dash_strokes(160, 560, 440, 560, 9, 4.5)
    # The grid's centre lines with a dash-dot pattern, and a dashed eaves line.
    d.width(0.13)
    d.dash([18, 4, 3, 4])
    d.line(100, 410, 800, 410)
    d.line(450, 150, 450, 180)
    d.dash([8, 4])
    d.polyline([(120, 170), (780, 170), (780, 650), (120, 650)], close=True)
    d.dash([])
    # Dimension line with ticks.
    d.width(0.13)
    d.line(150, 120, 750, 120)
    for x in (150, 450, 750):
        d.line(x - 4, 116, x + 4, 124)
        d.line(x, 112, x, 190)
    d.text("F2", 8, 290, 124, "5,400")
    d.text("F2", 8, 590, 124, "5,400")
    # Texts: Japanese and Latin in the Type0 font, Latin in the WinAnsi font.
    d.text("F1", 12, 300, 500, "居間")
    d.text("F1", 12, 590, 280, "寝室")
    d.text("F1", 12, 210, 300, "台所")
    d.text("F1", 10, 560, 380, "玄関")
    d.text("F1", 10, 170, 580, "浴室")
    d.text("F2", 9, 300, 485, "Living")
    d.text("F2", 9, 590, 265, "Bedroom")
    d.text("F1", 9, 105, 420, "通り芯・X1", angle=90)
    d.text("F1", 18, 860, 88, "平面図 1/100")
    d.text("F2", 10, 980, 88, "PLAN  A-101")
    d.text("F2", 8, 980, 45, "Floor plan, ground level  Scale 1:100")
    return d


def section():
    # Drawn on the landscape sheet the viewer shows; /Rotate 90 turns the portrait page into it.
    d = Drawing(turn=lambda x, y: (595 - y, x))
    d.width(0.35)
    d.polyline([(20, 20), (822, 20), (822, 575), (20, 575)], close=True)
    d.width(1.0)
    d.line(60, 150, 780, 150)                                                 # ground line
    d.width(1.4)
    d.polyline([(200, 150), (200, 430), (600, 430), (600, 150)])
    d.width(0.7)
    d.rect(200, 270, 400, 14)                                                 # floor slab
    d.polyline([(180, 420), (400, 520), (620, 420)])                          # roof
    d.width(0.35)
    d.arc(400, 150, 70, 0, 180)                                               # arched opening
    d.width(0.25)
    d.dash_strokes(200, 200, 600, 200, 6, 3)                                   # hidden footing
    d.width(0.13)
    d.dash([12, 3, 2, 3])
    d.line(400, 100, 400, 540)                                                # centre line
    d.dash([5, 3])
    d.line(60, 110, 780, 110)                                                 # foundation level
    d.dash([])
    d.text("F1", 16, 620, 60, "断面図 1/50")
    d.text("F2", 10, 620, 40, "SECTION A-A")
    d.text("F2", 8, 610, 300, "FL+2,800", angle=90)
    d.text("F1", 9, 420, 330, "居室")
    return d


def to_unicode_cmap(chars):
    lines = ["/CIDInit /ProcSet findresource begin", "12 dict begin", "begincmap",
             "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def",
             "/CMapName /Adobe-Identity-UCS def", "/CMapType 2 def",
             "1 begincodespacerange", "<0000> <FFFF>", "endcodespacerange"]
    entries = sorted((cid_of(ch), ord(ch)) for ch in chars)
    for start in range(0, len(entries), 100):
        chunk = entries[start:start + 100]
        lines.append("%d beginbfchar" % len(chunk))
        lines += ["<%04X> <%04X>" % entry for entry in chunk]
        lines.append("endbfchar")
    lines += ["endcmap", "CMapName currentdict /CMap defineresource pop", "end", "end"]
    return ("\n".join(lines) + "\n").encode("ascii")


def stream(data, compress):
    if compress:
        data = zlib.compress(data, 9)
        return b"<< /Length %d /Filter /FlateDecode >>\nstream\n" % len(data) + data + b"\nendstream"
    return b"<< /Length %d >>\nstream\n" % len(data) + data + b"\nendstream"


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


def page_pdf(drawing, media_box, rotate, compress):
    winansi_widths = " ".join(["556"] * (255 - 32 + 1))
    used = drawing.used_chars
    objects = [
        b"<< /Type /Catalog /Pages 2 0 R >>",
        b"<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        b"<< /Type /Page /Parent 2 0 R /MediaBox [%s]%s /Resources << /Font << /F1 5 0 R /F2 9 0 R >> >> "
        b"/Contents 4 0 R >>" % (" ".join(str(v) for v in media_box).encode(),
                                  b" /Rotate %d" % rotate if rotate else b""),
        stream(drawing.content(), compress),
        # 5-8: the Type0 font, its CIDFont, the descriptor and the ToUnicode CMap.
        b"<< /Type /Font /Subtype /Type0 /ToUnicode 8 0 R /Encoding /Identity-H "
        b"/BaseFont /GothicBBB-Medium-Identity-H /DescendantFonts [6 0 R] >>",
        b"<< /Type /Font /Subtype /CIDFontType0 /BaseFont /GothicBBB-Medium "
        b"/CIDSystemInfo << /Registry (Adobe) /Ordering (Japan1) /Supplement 2 >> /FontDescriptor 7 0 R "
        b"/DW 1000 /W [1 95 500] >>",
        b"<< /Type /FontDescriptor /FontName /GothicBBB-Medium /Flags 4 /FontBBox [-150 -331 1148 1000] "
        b"/ItalicAngle 0 /Ascent 880 /Descent -120 /CapHeight 737 /StemV 80 >>",
        stream(to_unicode_cmap(used), compress),
        # 9-10: the TrueType font with WinAnsiEncoding and its descriptor.
        b"<< /Type /Font /Subtype /TrueType /Encoding /WinAnsiEncoding /BaseFont /Arial "
        b"/FirstChar 32 /LastChar 255 /FontDescriptor 10 0 R /Widths [%s] >>" % winansi_widths.encode(),
        b"<< /Type /FontDescriptor /FontName /Arial /Flags 32 /FontBBox [-665 -325 2000 1040] "
        b"/ItalicAngle 0 /Ascent 905 /Descent -212 /CapHeight 716 /StemV 80 >>",
    ]
    return build_pdf(objects)


def main():
    samples = [
        ("sample_plan.pdf", page_pdf(plan(), [0, 0, 1191, 842], 0, False)),
        ("sample_section.pdf", page_pdf(section(), [0, 0, 595, 842], 90, True)),
    ]
    for name, data in samples:
        path = os.path.join(HERE, name)
        with open(path, "wb") as f:
            f.write(data)
        print(path)


if __name__ == "__main__":
    main()
