#!/usr/bin/env python3
"""Where our texts of page 1 land against mutool trace of the same page: for each text we write,
the nearest glyph run that mutool shows starting with the same character, its distance in points
and the ratio of the sizes. Page space of both: points from the top-left corner, y downwards.
Usage: text_placement.py VELMORA_CONVERT PDF [PDF ...]"""
import html
import math
import os
import re
import subprocess
import sys
import tempfile

DISTANCE_POINTS = 2.0
SIZE_SHARE = 0.05


def our_texts(convert, pdf, work):
    copy = os.path.join(work, "input.pdf")
    with open(pdf, "rb") as source, open(copy, "wb") as target:
        target.write(source.read())
    subprocess.run([convert, "-q", "--route", "direct", "--svg", copy], capture_output=True, timeout=300)
    svgs = sorted(n for n in os.listdir(work) if n.endswith(".svg"))
    if not svgs:
        return []
    with open(os.path.join(work, svgs[0]), encoding="utf-8") as f:
        svg = f.read()
    texts = []
    for x, y, size, body in re.findall(r'<text x="([^"]+)" y="([^"]+)" font-size="([^"]+)"[^>]*>([^<]*)</text>', svg):
        body = html.unescape(body).strip()
        if body:
            texts.append((float(x), float(y), float(size), body))
    return texts


def trace_runs(pdf):
    """(x, y, size, first character) of every span of page 1, in device space."""
    trace = subprocess.run(["mutool", "trace", pdf, "1"], capture_output=True, text=True, timeout=300).stdout
    runs = []
    transform = None
    trm = None
    for line in trace.splitlines():
        m = re.search(r'<(?:fill|stroke|clip|ignore)_text [^>]*transform="([^"]+)"', line)
        if m:
            transform = [float(v) for v in m.group(1).split()]
            continue
        m = re.search(r'<span [^>]*trm="([^"]+)"', line)
        if m:
            trm = [float(v) for v in m.group(1).split()]
            first = True
            continue
        m = re.search(r'<g unicode="([^"]*)"[^>]* x="([^"]+)" y="([^"]+)"', line)
        if m and transform and trm and first:
            first = False
            a, b, c, d, e, f = transform
            x, y = float(m.group(2)), float(m.group(3))
            px, py = a * x + c * y + e, b * x + d * y + f
            # The size: the text space's vertical unit through trm and the transform.
            vx, vy = trm[2], trm[3]
            size = math.hypot(a * vx + c * vy, b * vx + d * vy)
            runs.append((px, py, size, html.unescape(m.group(1))))
    return runs


def main():
    convert = sys.argv[1]
    for pdf in sys.argv[2:]:
        with tempfile.TemporaryDirectory() as work:
            ours = our_texts(convert, pdf, work)
        runs = trace_runs(pdf)
        within = 0
        worst = 0.0
        for x, y, size, body in ours:
            candidates = [r for r in runs if r[3] == body[0]] or runs
            if not candidates:
                continue
            best = min(candidates, key=lambda r: math.hypot(r[0] - x, r[1] - y))
            distance = math.hypot(best[0] - x, best[1] - y)
            # The pictures draw a text of size 0 (an invisible one) one point high.
            ratio = abs(size / best[2] - 1.0) if best[2] > 0 else (0.0 if size <= 1.0 else 1.0)
            worst = max(worst, distance)
            if distance <= DISTANCE_POINTS and ratio <= SIZE_SHARE:
                within += 1
        name = os.path.basename(pdf)
        print(f"{name:40} texts {len(ours):5d}  within {DISTANCE_POINTS} pt and {SIZE_SHARE:.0%} size: "
              f"{within:5d}  farthest {worst:8.2f} pt")


if __name__ == "__main__":
    main()
