#!/usr/bin/env python3
"""Checks JWW files the window saved, from jww_check --objects (and --groups) output.

  layer OBJECTS X1 Y1 X2 Y2         prints "GROUP LAYER PEN" of the line from (X1, Y1) to (X2, Y2)
                                    (PDF points of samples/sample_plan.pdf, saved at 1/1)
  pens BEFORE AFTER GROUP LAYER PEN every line of GROUP/LAYER has PEN after, every other line the
                                    pen it had before; the geometry is the same
  scaled BEFORE AFTER FACTOR SCALE  every coordinate after is FACTOR times the one before, pens
                                    and layers unchanged, and every layer group's scale is SCALE"""
import math
import sys

PAGE_WIDTH, PAGE_HEIGHT = 1191.0, 842.0
MM_PER_POINT = 0.352777
RELATIVE = 1e-9


def read(path):
    lines, scales = [], []
    with open(path) as objects:
        for row in objects:
            fields = row.split()
            if fields[:1] == ["L"]:
                attributes = dict(zip(fields[5::2], (int(v) for v in fields[6::2])))
                lines.append(([float(v) for v in fields[1:5]], attributes))
            elif fields[:1] == ["group"] and fields[2] == "scale":
                scales.append(float(fields[3]))
    if not lines:
        sys.exit("FAIL: %s holds no lines" % path)
    return lines, scales


def close(a, b):
    return abs(a - b) <= RELATIVE * max(abs(a), abs(b), 1.0)


def layer_of(path, x1, y1, x2, y2):
    def mm(x, y):
        return ((x - PAGE_WIDTH / 2) * MM_PER_POINT, (y - PAGE_HEIGHT / 2) * MM_PER_POINT)

    a, b = mm(float(x1), float(y1)), mm(float(x2), float(y2))
    for ends, attributes in read(path)[0]:
        p, q = (ends[0], ends[1]), (ends[2], ends[3])
        if (math.dist(p, a) < 0.01 and math.dist(q, b) < 0.01) or (math.dist(p, b) < 0.01 and math.dist(q, a) < 0.01):
            print(attributes["group"], attributes["layer"], attributes["pen"])
            return True
    print("FAIL: no line from %s,%s to %s,%s in %s" % (x1, y1, x2, y2, path))
    return False


def same_count(before, after):
    if len(before) != len(after):
        print("FAIL: %d lines before, %d after" % (len(before), len(after)))
        return False
    return True


def check_pens(before_path, after_path, group, layer, pen):
    before, after = read(before_path)[0], read(after_path)[0]
    if not same_count(before, after):
        return False
    group, layer, pen = int(group), int(layer), int(pen)
    changed = 0
    for number, ((ends_a, a), (ends_b, b)) in enumerate(zip(before, after)):
        in_layer = a["group"] == group and a["layer"] == layer
        wanted = pen if in_layer else a["pen"]
        if b["pen"] != wanted or ends_a != ends_b:
            print("FAIL: line %d has pen %d, wanted %d (layer %d/%d)" % (number, b["pen"], wanted, group, layer))
            return False
        changed += in_layer
    print("ok: %d lines of group %d layer %d have pen %d, %d others kept theirs" % (
        changed, group, layer, pen, len(after) - changed))
    return changed > 0


def check_scaled(before_path, after_path, factor, scale):
    (before, _), (after, scales) = read(before_path), read(after_path)
    if not same_count(before, after):
        return False
    factor, scale = float(factor), float(scale)
    for number, ((ends_a, a), (ends_b, b)) in enumerate(zip(before, after)):
        if a != b or not all(close(x * factor, y) for x, y in zip(ends_a, ends_b)):
            print("FAIL: line %d is %s %s, wanted %s times %s %s" % (number, ends_b, b, factor, ends_a, a))
            return False
    if len(scales) != 16 or any(s != scale for s in scales):
        print("FAIL: the layer groups' scales are %s, wanted 16 times %s" % (scales, scale))
        return False
    print("ok: %d lines scaled by %.12g, every layer group at 1/%g" % (len(after), factor, scale))
    return True


def main():
    mode, args = sys.argv[1], sys.argv[2:]
    ok = {"layer": layer_of, "pens": check_pens, "scaled": check_scaled}[mode](*args)
    sys.exit(0 if ok else 1)


if __name__ == "__main__":
    main()
