#!/usr/bin/env python3
"""Checks screenshots of Velmora's window against what the preview must show.

  lines SHOT CLIENT VIEW OBJECTS SETTINGS   the sample plan's known lines carry their pens' screen
                                            colours at the pixels the view maps them to
  empty SHOT CLIENT                         nothing but the background and the message in the middle
  same SHOT_A SHOT_B CLIENT                 the two client areas are identical
  background SHOT CLIENT SETTINGS           most of the page view shows the LCOLLOR_B of SETTINGS
  wall-row OBJECTS                          prints the layer tool's list row (group * 16 + layer) of
                                            the outer wall rectangle
  wall-colour SHOT CLIENT VIEW R,G,B        the outer wall rectangle's four sides show the colour and
                                            the inner wall does not
  wall-moved BEFORE AFTER LAYER             in AFTER the outer wall's sides lie on LAYER of group 0 and
                                            every other line is as in BEFORE

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
# The outer wall rectangle's corners, and a point on each side away from every other line and text.
WALL_CORNERS = [(150, 200), (750, 200), (750, 620), (150, 620)]
WALL_SIDE_POINTS = [(200, 200), (750, 500), (300, 620), (150, 300)]
INNER_WALL_POINT = (450, 300)


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


def mm(x, y):
    """A page point in the saved file's millimetres from the paper's centre."""
    return ((x - PAGE_WIDTH / 2) * MM_PER_POINT, (y - PAGE_HEIGHT / 2) * MM_PER_POINT)


def pens_of_saved_lines(path):
    """Each known line's pen, found by its end points in millimetres from the paper's centre."""
    saved = []
    with open(path) as objects:
        for line in objects:
            fields = line.split()
            if fields and fields[0] == "L":
                saved.append(([float(v) for v in fields[1:5]], int(fields[fields.index("pen") + 1])))

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


def check_background(shot, client_area, settings):
    client = Client(shot, client_area)
    background = settings_colours(settings)["B"]
    rows = range(TOOLBAR_ROWS, client.h - STATUS_ROWS)
    share = sum(client.pixel(x, y) == background for y in rows for x in range(client.w)) / (len(rows) * client.w)
    print("%.0f%% of the page view in the background colour %s" % (share * 100, background))
    return share > 0.5


def check_same(shot_a, shot_b, client_area):
    a, b = Client(shot_a, client_area), Client(shot_b, client_area)
    different = sum(1 for y in range(TOOLBAR_ROWS, a.h - STATUS_ROWS) for x in range(a.w) if a.pixel(x, y) != b.pixel(x, y))
    print("%d client pixels differ" % different)
    return different == 0


def saved_lines(path):
    """The L rows of jww_check --objects: end points in millimetres and the rest of the row."""
    lines = []
    with open(path) as objects:
        for line in objects:
            fields = line.split()
            if fields and fields[0] == "L":
                lines.append(([float(v) for v in fields[1:5]], " ".join(fields[5:])))
    return lines


def is_wall_side(ends):
    corners = [mm(*corner) for corner in WALL_CORNERS]
    p, q = (ends[0], ends[1]), (ends[2], ends[3])
    near = lambda point: any(math.dist(point, corner) < 0.01 for corner in corners)
    return near(p) and near(q) and math.dist(p, q) > 1


def wall_sides(lines):
    sides = [rest for ends, rest in lines if is_wall_side(ends)]
    if len(sides) != 4:
        sys.exit("FAIL: %d outer wall sides in the saved page, expected 4" % len(sides))
    return sides


def field(rest, name):
    words = rest.split()
    return int(words[words.index(name) + 1])


def print_wall_row(objects):
    sides = wall_sides(saved_lines(objects))
    rows = {field(rest, "group") * 16 + field(rest, "layer") for rest in sides}
    if len(rows) != 1:
        sys.exit("FAIL: the outer wall's sides lie in several layers: %s" % sorted(rows))
    print(rows.pop())
    return True


def check_wall_colour(shot, client_area, view_text, colour_text):
    client = Client(shot, client_area)
    view = view_of(view_text, client)
    wanted = tuple(int(v) for v in colour_text.split(","))
    failures = []
    checked = 0
    for px, py in WALL_SIDE_POINTS:
        x, y = to_screen(view, px, py)
        if not client.visible(x, y):
            continue
        checked += 1
        seen = [client.pixel(x + dx, y + dy) for dx in (-1, 0, 1) for dy in (-1, 0, 1) if client.visible(x + dx, y + dy)]
        if wanted in seen:
            print("ok: the outer wall at %d,%d shows %s" % (x, y, wanted))
        else:
            failures.append("the outer wall at %d,%d shows %s, not %s" % (x, y, sorted(set(seen)), wanted))
    x, y = to_screen(view, *INNER_WALL_POINT)
    if client.visible(x, y):
        checked += 1
        if wanted in [client.pixel(x + d, y) for d in (-1, 0, 1)]:
            failures.append("the inner wall at %d,%d shows %s too" % (x, y, wanted))
    if checked < 5:
        failures.append("only %d of the wall's points lie in the visible client area" % checked)
    for failure in failures:
        print("FAIL: " + failure)
    return not failures


def check_wall_moved(before_path, after_path, layer):
    before, after = saved_lines(before_path), saved_lines(after_path)
    if len(before) != len(after):
        print("FAIL: %d lines before the move, %d after" % (len(before), len(after)))
        return False
    failures = []
    moved = 0
    for (ends, rest), (ends_after, rest_after) in zip(before, after):
        if ends != ends_after:
            failures.append("line %s became %s" % (ends, ends_after))
        elif is_wall_side(ends):
            moved += 1
            if field(rest_after, "layer") != int(layer) or field(rest_after, "group") != 0:
                failures.append("an outer wall side is on %s" % rest_after)
            if rest.split("pen", 1)[1] != rest_after.split("pen", 1)[1]:
                failures.append("an outer wall side changed more than its layer: %s -> %s" % (rest, rest_after))
        elif rest != rest_after:
            failures.append("line %s changed: %s -> %s" % (ends, rest, rest_after))
    if moved != 4:
        failures.append("%d outer wall sides found, expected 4" % moved)
    for failure in failures:
        print("FAIL: " + failure)
    if not failures:
        print("ok: the 4 outer wall sides lie on layer %s of group 0; the other %d lines are unchanged"
              % (layer, len(before) - moved))
    return not failures


def main():
    mode, args = sys.argv[1], sys.argv[2:]
    checks = {"lines": check_lines, "empty": check_empty, "same": check_same, "background": check_background, "wall-row": print_wall_row,
              "wall-colour": check_wall_colour, "wall-moved": check_wall_moved}
    ok = checks[mode](*args)
    sys.exit(0 if ok else 1)


if __name__ == "__main__":
    main()
