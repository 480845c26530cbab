#!/usr/bin/env python3
"""Where the converter puts the drawn paths of page 1, compared with mutool trace of that page.

  geometry_match.py reference [NAME ...]      trace page 1 of each drawing once and store it under
                                              tests/data/geometry/NAME.txt.gz (the default names
                                              are the drawings the test suite checks)
  geometry_match.py measure CONVERT [NAME ...] convert page 1 with CONVERT --svg and print, per file,
                                              the share of our segment end points within 1 pt of a
                                              traced path and the share of traced points with one
                                              of our end points within 1 pt
  geometry_match.py loads CONVERT             how many corpus files the direct route loads

Both sides are in the page's device space: points, origin at the top left of the (rotated) page,
y downwards; the converter's picture is drawn that way and mutool trace's transform gives it. The
traced curves are cut into the same ten pieces the converter draws, so both sides have the same
points on a curve. Clip paths are not drawn by either side and are left out.

Stored reference format, one traced subpath per line: "x y x y ..." (two decimals), with a final
" z" when the subpath is closed (its closing segment runs back to the first point)."""
import gzip
import math
import os
import re
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DATA = os.environ.get("VELMORA_TEST_DATA", os.path.join(ROOT, "..", "shared"))
CORPUS = os.path.join(DATA, "corpus")
GEOMETRY = os.path.join(ROOT, "tests", "data", "geometry")
TOLERANCE = 1.0  # points
CURVE_PIECES = 10
DRAWINGS = [
    "jp_arch_floor_plan_02", "lasercut_cairo_01", "autocad_floor_plan_01", "sweethome3d_plan_01",
    "kicad_pcb_01", "onshape_part_drawing_01", "jp_arch_section_01", "kicad_schematic_01",
]


def apply(m, x, y):
    return (m[0] * x + m[2] * y + m[4], m[1] * x + m[3] * y + m[5])


def cubic(p0, p1, p2, p3, t):
    def between(a, b):
        return (a[0] + t * (b[0] - a[0]), a[1] + t * (b[1] - a[1]))
    a, b, c = between(p0, p1), between(p1, p2), between(p2, p3)
    ab, bc = between(a, b), between(b, c)
    return between(ab, bc)


def trace_page(pdf):
    """Subpaths of page 1 as (points, closed), in device space."""
    result = subprocess.run(["mutool", "trace", pdf, "1"], capture_output=True, timeout=600)
    root = ET.fromstring(result.stdout)
    subpaths = []
    for element in root.iter():
        if element.tag not in ("fill_path", "stroke_path"):
            continue
        m = [float(v) for v in element.get("transform", "1 0 0 1 0 0").split()]
        points, start = [], None
        for step in element:
            if step.tag == "moveto":
                if len(points) > 1:
                    subpaths.append((points, False))
                start = apply(m, float(step.get("x")), float(step.get("y")))
                points = [start]
            elif step.tag == "lineto" and points:
                points.append(apply(m, float(step.get("x")), float(step.get("y"))))
            elif step.tag == "curveto" and points:
                p0 = points[-1]
                p1 = apply(m, float(step.get("x1")), float(step.get("y1")))
                p2 = apply(m, float(step.get("x2")), float(step.get("y2")))
                p3 = apply(m, float(step.get("x3")), float(step.get("y3")))
                points += [cubic(p0, p1, p2, p3, i / CURVE_PIECES) for i in range(1, CURVE_PIECES + 1)]
            elif step.tag == "closepath" and points:
                subpaths.append((points, True))
                points = [start]
        if len(points) > 1:
            subpaths.append((points, False))
    return subpaths


def write_reference(name):
    subpaths = trace_page(os.path.join(CORPUS, name + ".pdf"))
    os.makedirs(GEOMETRY, exist_ok=True)
    lines = []
    for points, closed in subpaths:
        text = " ".join(f"{x:.2f} {y:.2f}" for x, y in points)
        lines.append(text + (" z" if closed else ""))
    path = os.path.join(GEOMETRY, name + ".txt.gz")
    with open(path, "wb") as raw, gzip.GzipFile(fileobj=raw, mode="wb", mtime=0) as f:
        f.write(("\n".join(lines) + "\n").encode())
    return len(subpaths)


def read_reference(name):
    path = os.path.join(GEOMETRY, name + ".txt.gz")
    if not os.path.exists(path):
        return trace_page(os.path.join(CORPUS, name + ".pdf"))
    subpaths = []
    with gzip.open(path, "rt") as f:
        for line in f:
            fields = line.split()
            closed = bool(fields) and fields[-1] == "z"
            numbers = [float(v) for v in (fields[:-1] if closed else fields)]
            subpaths.append((list(zip(numbers[0::2], numbers[1::2])), closed))
    return subpaths


def our_segments(convert, pdf):
    """Segments of page 1 as the converter's picture draws them, or None when it did not load."""
    with tempfile.TemporaryDirectory() as work:
        out = os.path.join(work, "page.jww")
        result = subprocess.run([convert, "-q", "--route", "direct", "--svg", "-p", "1", "-o", out, pdf],
                                capture_output=True, timeout=600)
        if result.returncode != 0 or not os.path.exists(os.path.join(work, "page.svg")):
            return None
        with open(os.path.join(work, "page.svg"), encoding="utf-8") as f:
            picture = f.read()
    number = r"(-?[0-9.e+-]+)"
    pattern = re.compile(f"M{number} {number}L{number} {number}")
    segments = []
    for d in re.findall(r' d="([^"]*)"', picture):
        for m in pattern.finditer(d):
            x1, y1, x2, y2 = (float(v) for v in m.groups())
            segments.append(((x1, y1), (x2, y2)))
    return segments


class Grid:
    """Segments or points by the cells of side TOLERANCE they touch."""

    def __init__(self):
        self.cells = {}

    def add(self, item, x0, y0, x1, y1):
        for i in range(math.floor(min(x0, x1) / TOLERANCE) - 1, math.floor(max(x0, x1) / TOLERANCE) + 2):
            for j in range(math.floor(min(y0, y1) / TOLERANCE) - 1, math.floor(max(y0, y1) / TOLERANCE) + 2):
                self.cells.setdefault((i, j), []).append(item)

    def near(self, x, y):
        return self.cells.get((math.floor(x / TOLERANCE), math.floor(y / TOLERANCE)), [])


def distance_to_segment(p, a, b):
    dx, dy = b[0] - a[0], b[1] - a[1]
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((p[0] - a[0]) * dx + (p[1] - a[1]) * dy) / length2))
    return math.hypot(p[0] - (a[0] + t * dx), p[1] - (a[1] + t * dy))


# Long segments would fill too many cells; they are cut into pieces of this length first.
MAX_PIECE = 64.0


def shares(segments, subpaths):
    traced_segments, traced_points = [], []
    for points, closed in subpaths:
        traced_points += points
        chain = points + ([points[0]] if closed else [])
        traced_segments += list(zip(chain, chain[1:]))
    paths = Grid()
    for a, b in traced_segments:
        pieces = max(1, math.ceil(math.hypot(b[0] - a[0], b[1] - a[1]) / MAX_PIECE))
        for k in range(pieces):
            s = (a[0] + (b[0] - a[0]) * k / pieces, a[1] + (b[1] - a[1]) * k / pieces)
            e = (a[0] + (b[0] - a[0]) * (k + 1) / pieces, a[1] + (b[1] - a[1]) * (k + 1) / pieces)
            paths.add((s, e), s[0], s[1], e[0], e[1])
    ours = [p for segment in segments for p in segment if all(map(math.isfinite, p))]
    near = sum(1 for p in ours if any(distance_to_segment(p, a, b) <= TOLERANCE for a, b in paths.near(*p)))
    ends = Grid()
    for p in ours:
        ends.add(p, p[0], p[1], p[0], p[1])
    matched = sum(1 for p in traced_points
                  if any(math.hypot(p[0] - q[0], p[1] - q[1]) <= TOLERANCE for q in ends.near(*p)))
    return len(ours), near, len(traced_points), matched


def percent(part, whole):
    return f"{100.0 * part / whole:6.1f}%" if whole else "     -"


def measure(convert, names):
    print(f"{'file':28} {'our points':>10} {'near':>7} {'traced':>8} {'matched':>8}")
    for name in names:
        segments = our_segments(convert, os.path.join(CORPUS, name + ".pdf"))
        if segments is None:
            print(f"{name:28} not loaded")
            continue
        ours, near, traced, matched = shares(segments, read_reference(name))
        print(f"{name:28} {ours:10} {percent(near, ours)} {traced:8} {percent(matched, traced)}")


def loads(convert):
    names = sorted(n for n in os.listdir(CORPUS) if n.endswith(".pdf"))
    refused = []
    for name in names:
        with tempfile.TemporaryDirectory() as work:
            result = subprocess.run([convert, "-q", "--route", "direct", "-p", "1", "-o",
                                     os.path.join(work, "page.jww"), os.path.join(CORPUS, name)],
                                    capture_output=True, timeout=600)
        if result.returncode != 0:
            refused.append(name)
    print(f"{len(names) - len(refused)} of {len(names)} corpus files load directly")
    for name in refused:
        print(f"  refused: {name}")


def main():
    if len(sys.argv) < 2 or sys.argv[1] not in ("reference", "measure", "loads"):
        sys.exit(__doc__)
    if sys.argv[1] == "reference":
        for name in sys.argv[2:] or DRAWINGS:
            print(f"{name}: {write_reference(name)} subpaths")
    elif sys.argv[1] == "measure":
        measure(sys.argv[2], sys.argv[3:] or DRAWINGS)
    else:
        loads(sys.argv[2])


if __name__ == "__main__":
    main()
