#!/usr/bin/env python3
"""Checks screenshots of Velmora's window against what the preview must show.

  lines SHOT CLIENT VIEW OBJECTS SETTINGS   the sample plan's known lines carry their pens' screen
                                            colours at the pixels the view maps them to
  empty SHOT CLIENT                         nothing but the background and the message in the middle
  same SHOT_A SHOT_B CLIENT                 the two client areas are identical

SHOT is a PNG of the whole screen; CLIENT is "X,Y,W,H" (the client area's screen position and
size); VIEW is "fit" or "ZOOM,ORIGIN_X,ORIGIN_Y"; OBJECTS is jww_check --objects output of the
saved page (it names each line's pen); SETTINGS is the VELMORA.JWF the program read."""
import math
import re
import subprocess
import sys

# Rows the toolbar and the status bar cover at the top and bottom of the client area.
TOOLBAR_ROWS = 30
STATUS_ROWS = 25
PAGE_WIDTH, PAGE_HEIGHT = 1191.0, 842.0      # samples/sample_plan.pdf, A3 landscape
MM_PER_POINT = 0.352777
# (name, x1, y1, x2, y2 in PDF points, a point on the line away from every other line and text)
KNOWN_LINES = [
    ("outer wall", 150, 200, 750, 200, (200, 200)),
    ("inner wall", 450, 200, 450, 470, (450, 300)),
    ("sheet border", 28, 28, 28, 814, (28, 400)),
    ("title block", 843, 73, 1163, 73, (1000, 73)),
]
BACKGROUND_POINT = (10, 400)


def read_screen(path):
    ppm = subprocess.run(["convert", path, "-depth", "8", "ppm:-"], check=True, stdout=subprocess.PIPE).stdout
    match = re.match(rb"P6\s+(\d+)\s+(\d+)\s+(\d+)\s", ppm)
    width, height = int(match.group(1)), int(match.group(2))
    return width, height, ppm[match.end():]


class Client:
    def __init__(self, shot, area):
        self.x, self.y, self.w, self.h = (int(v) for v in area.split(","))
        self.screen_width, _, self.pixels = read_screen(shot)

    def pixel(self, x, y):
        offset = ((self.y + y) * self.screen_width + self.x + x) * 3
        return tuple(self.pixels[offset:offset + 3])

    def visible(self, x, y):
        return 0 <= x < self.w and TOOLBAR_ROWS <= y < self.h - STATUS_ROWS


def settings_colours(path):
    colours = {}
    with open(path, "rb") as settings:
        for line in settings.read().split(b"\r\n"):
            match = re.match(rb"LCOLLOR_([1-8B])\D+(\d+)\D+(\d+)\D+(\d+)", line)
            if match:
                colours[match.group(1).decode()] = tuple(int(match.group(i)) for i in (2, 3, 4))
    return colours


def pens_of_saved_lines(path):
    """Each known line's pen, found by its end points in millimetres from the paper's centre."""
    saved = []
    with open(path) as objects:
        for line in objects:
            fields = line.split()
            if fields and fields[0] == "L":
                saved.append(([float(v) for v in fields[1:5]], int(fields[fields.index("pen") + 1])))

    def mm(x, y):
        return ((x - PAGE_WIDTH / 2) * MM_PER_POINT, (y - PAGE_HEIGHT / 2) * MM_PER_POINT)

    pens = {}
    for name, x1, y1, x2, y2, _ in KNOWN_LINES:
        a, b = mm(x1, y1), mm(x2, y2)
        for ends, pen in saved:
            p, q = (ends[0], ends[1]), (ends[2], ends[3])
            if (math.dist(p, a) < 0.01 and math.dist(q, b) < 0.01) or (math.dist(p, b) < 0.01 and math.dist(q, a) < 0.01):
                pens[name] = pen
        if name not in pens:
            sys.exit("FAIL: the saved page has no line '%s'" % name)
    return pens


def view_of(text, client):
    if text == "fit":
        return min(client.w / PAGE_WIDTH, client.h / PAGE_HEIGHT), 0.0, 0.0
    return tuple(float(v) for v in text.split(","))


def to_screen(view, x, y):
    zoom, origin_x, origin_y = view
    # The page frame puts the page's top edge at y = 0; the preview truncates toward zero.
    return int(x * zoom + origin_x), int(origin_y - (y - PAGE_HEIGHT) * zoom)


def check_lines(shot, client_area, view_text, objects, settings):
    client = Client(shot, client_area)
    view = view_of(view_text, client)
    colours = settings_colours(settings)
    pens = pens_of_saved_lines(objects)
    checked = 0
    failures = []
    for name, x1, y1, x2, y2, (px, py) in KNOWN_LINES:
        x, y = to_screen(view, px, py)
        if not client.visible(x, y):
            continue
        wanted = colours[str(pens[name])]
        # One pixel either side across the line, for the truncation of the fit's zoom.
        across = [(x, y + d) for d in (0, -1, 1)] if y1 == y2 else [(x + d, y) for d in (0, -1, 1)]
        seen = [client.pixel(*p) for p in across if client.visible(*p)]
        checked += 1
        if wanted in seen:
            print("ok: %s (pen %d) at %d,%d is %s" % (name, pens[name], x, y, wanted))
        else:
            failures.append("%s (pen %d, %s) at %d,%d shows %s" % (name, pens[name], wanted, x, y, seen))
    bx, by = to_screen(view, *BACKGROUND_POINT)
    if client.visible(bx, by):
        checked += 1
        if client.pixel(bx, by) != colours["B"]:
            failures.append("background at %d,%d shows %s" % (bx, by, client.pixel(bx, by)))
    if checked < 3:
        failures.append("only %d known points lie in the visible client area" % checked)
    for failure in failures:
        print("FAIL: " + failure)
    return not failures


def check_empty(shot, client_area, background=(158, 158, 158)):
    client = Client(shot, client_area)
    message_top, message_bottom = client.h // 2 - 10, client.h // 2 + 10
    stray = 0
    dark = 0
    for y in range(TOOLBAR_ROWS, client.h - STATUS_ROWS):
        for x in range(client.w):
            colour = client.pixel(x, y)
            if message_top <= y < message_bottom:
                dark += colour == (0, 0, 0)
            elif colour != background:
                stray += 1
    print("%d pixels off the background outside the message, %d black pixels in it" % (stray, dark))
    return stray == 0 and dark > 0


def check_same(shot_a, shot_b, client_area):
    a, b = Client(shot_a, client_area), Client(shot_b, client_area)
    different = sum(1 for y in range(TOOLBAR_ROWS, a.h - STATUS_ROWS) for x in range(a.w) if a.pixel(x, y) != b.pixel(x, y))
    print("%d client pixels differ" % different)
    return different == 0


def main():
    mode, args = sys.argv[1], sys.argv[2:]
    ok = {"lines": check_lines, "empty": check_empty, "same": check_same}[mode](*args)
    sys.exit(0 if ok else 1)


if __name__ == "__main__":
    main()
