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
  arcs SHOT CLIENT VIEW OBJECTS SETTINGS    every saved arc (the circle, the door swings) shows its
                                            pen's screen colour along its curve
  arc-colour SHOT CLIENT VIEW OBJECTS N R,G,B   arc N (0-based, file order) shows the colour along
                                            its curve and no other arc does
  arc-moved BEFORE AFTER N LAYER            in AFTER arc N lies on LAYER of group 0 and every other
                                            arc is as in BEFORE
  scale-line SHOT CLIENT VIEW X1,Y1,X2,Y2 SETTINGS   the scale marks' line runs exactly between the
                                            two page points (within a pixel), so the picks snapped
  column SHOT CLIENT SETTINGS               the page's one text shows in pen 1's colour as a column:
                                            its glyphs' pixels stand far taller than wide

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
            match = re.match(rb"LCOLLOR_([1-8BH])\D+(\d+)\D+(\d+)\D+(\d+)", line)
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


def saved_arcs(path):
    """The A rows of jww_check --objects: centre, radius, start, sweep, tilt, flatness (mm,
    radians) and the rest of the row."""
    arcs = []
    with open(path) as objects:
        for line in objects:
            fields = line.split()
            if fields and fields[0] == "A":
                numbers = [float(fields[i]) for i in (1, 2, 3, 5, 7, 9, 11)]
                arcs.append((numbers, " ".join(fields[12:])))
    return arcs


def arc_points(numbers, count=6):
    """Page points along the arc's inner part, away from its ends where other lines meet it."""
    cx, cy, radius, start, sweep, tilt, flat = numbers
    points = []
    for k in range(count):
        t = start + sweep * (0.15 + 0.7 * k / (count - 1))
        u, v = radius * math.cos(t), radius * flat * math.sin(t)
        x = cx + u * math.cos(tilt) - v * math.sin(tilt)
        y = cy + u * math.sin(tilt) + v * math.cos(tilt)
        points.append((x / MM_PER_POINT + PAGE_WIDTH / 2, y / MM_PER_POINT + PAGE_HEIGHT / 2))
    return points


def arc_shows(client, view, numbers, wanted):
    """How many of the arc's visible points show `wanted` within a pixel, and how many were seen."""
    shown = seen = 0
    for px, py in arc_points(numbers):
        x, y = to_screen(view, px, py)
        if not client.visible(x, y):
            continue
        seen += 1
        near = [client.pixel(x + dx, y + dy) for dx in (-1, 0, 1) for dy in (-1, 0, 1) if client.visible(x + dx, y + dy)]
        shown += wanted in near
    return shown, seen


def check_arcs(shot, client_area, view_text, objects, settings):
    client = Client(shot, client_area)
    view = view_of(view_text, client)
    colours = settings_colours(settings)
    arcs = saved_arcs(objects)
    failures = []
    if len(arcs) < 3:
        failures.append("%d arcs in the saved page, expected the circle and two door swings" % len(arcs))
    for numbers, rest in arcs:
        wanted = colours[str(field(rest, "pen"))]
        shown, seen = arc_shows(client, view, numbers, wanted)
        if seen < 4 or shown != seen:
            failures.append("the arc at %.2f,%.2f mm shows %s at %d of %d points" % (numbers[0], numbers[1], wanted, shown, seen))
        else:
            print("ok: the arc at %.2f,%.2f mm shows %s at %d points" % (numbers[0], numbers[1], wanted, seen))
    for failure in failures:
        print("FAIL: " + failure)
    return not failures


def check_arc_colour(shot, client_area, view_text, objects, index, colour_text):
    client = Client(shot, client_area)
    view = view_of(view_text, client)
    wanted = tuple(int(v) for v in colour_text.split(","))
    failures = []
    for n, (numbers, _) in enumerate(saved_arcs(objects)):
        shown, seen = arc_shows(client, view, numbers, wanted)
        if n == int(index) and (seen < 4 or shown != seen):
            failures.append("arc %d shows %s at %d of %d points" % (n, wanted, shown, seen))
        elif n != int(index) and shown > 0:
            failures.append("arc %d shows %s too, at %d points" % (n, wanted, shown))
        else:
            print("ok: arc %d %s %s" % (n, "shows" if n == int(index) else "does not show", wanted))
    for failure in failures:
        print("FAIL: " + failure)
    return not failures


def check_arc_moved(before_path, after_path, index, layer):
    before, after = saved_arcs(before_path), saved_arcs(after_path)
    if len(before) != len(after) or len(before) <= int(index):
        print("FAIL: %d arcs before the move, %d after" % (len(before), len(after)))
        return False
    failures = []
    for n, ((numbers, rest), (numbers_after, rest_after)) in enumerate(zip(before, after)):
        if numbers != numbers_after:
            failures.append("arc %d moved its geometry: %s -> %s" % (n, numbers, numbers_after))
        elif n == int(index):
            if field(rest_after, "layer") != int(layer) or field(rest_after, "group") != 0:
                failures.append("arc %d is on %s" % (n, rest_after))
            if rest.split("pen", 1)[1] != rest_after.split("pen", 1)[1]:
                failures.append("arc %d changed more than its layer: %s -> %s" % (n, rest, rest_after))
        elif rest != rest_after:
            failures.append("arc %d changed: %s -> %s" % (n, rest, rest_after))
    for failure in failures:
        print("FAIL: " + failure)
    if not failures:
        print("ok: arc %s lies on layer %s of group 0; the other %d arcs are unchanged" % (index, layer, len(before) - 1))
    return not failures


def check_scale_line(shot, client_area, view_text, ends_text, settings):
    client = Client(shot, client_area)
    view = view_of(view_text, client)
    wanted = settings_colours(settings)["H"]
    x1, y1, x2, y2 = (float(v) for v in ends_text.split(","))
    failures = []
    seen = 0
    # Away from the first point, where the entered distance is written along the line.
    for k in range(8):
        t = 0.35 + 0.55 * k / 7
        x, y = to_screen(view, x1 + t * (x2 - x1), y1 + t * (y2 - y1))
        if not client.visible(x, y):
            continue
        seen += 1
        near = [client.pixel(x + dx, y + dy) for dx in (-1, 0, 1) for dy in (-1, 0, 1) if client.visible(x + dx, y + dy)]
        if wanted not in near:
            failures.append("no scale mark colour %s at %d,%d" % (wanted, x, y))
    if seen < 6:
        failures.append("only %d points of the scale line are visible" % seen)
    for failure in failures:
        print("FAIL: " + failure)
    if not failures:
        print("ok: the scale line runs from %s,%s to %s,%s" % (x1, y1, x2, y2))
    return not failures


def check_column(shot, client_area, settings):
    client = Client(shot, client_area)
    colour = settings_colours(settings)["1"]
    points = [(x, y) for y in range(TOOLBAR_ROWS, client.h - STATUS_ROWS) for x in range(client.w)
              if client.pixel(x, y) == colour]
    if not points:
        print("no pixel in pen 1's colour %s" % (colour,))
        return False
    xs, ys = [p[0] for p in points], [p[1] for p in points]
    width, height = max(xs) - min(xs) + 1, max(ys) - min(ys) + 1
    print("the text's pixels span %d x %d" % (width, height))
    return height >= 5 * width


def main():
    mode, args = sys.argv[1], sys.argv[2:]
    checks = {"lines": check_lines, "empty": check_empty, "same": check_same, "background": check_background,
              "wall-row": print_wall_row, "wall-colour": check_wall_colour, "wall-moved": check_wall_moved,
              "arcs": check_arcs, "arc-colour": check_arc_colour, "arc-moved": check_arc_moved,
              "scale-line": check_scale_line, "column": check_column}
    ok = checks[mode](*args)
    sys.exit(0 if ok else 1)


if __name__ == "__main__":
    main()
