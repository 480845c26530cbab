#!/bin/sh
# Writes src/app/win32/velmora.ico: a 32x32 icon (blue sheet with a white "V" of two strokes),
# drawn pixel by pixel so no image tool is needed. Run again only when the icon should change.
set -eu
repo=$(cd "$(dirname "$0")/.." && pwd)
out="${1:-$repo/src/app/win32/velmora.ico}"
python3 - "$out" <<'PY'
import struct, sys

size = 32
def pixel(x, y):
    # y counts from the top here; the bitmap below is stored bottom-up.
    if x < 2 or x > 29 or y < 2 or y > 29:
        return (0, 0, 0, 0)                      # transparent margin
    if abs(x - (8 + (y - 6) * 8 / 20)) <= 1.5 and 6 <= y <= 26:
        return (255, 255, 255, 255)              # left stroke of the V
    if abs(x - (23 - (y - 6) * 8 / 20)) <= 1.5 and 6 <= y <= 26:
        return (255, 255, 255, 255)              # right stroke of the V
    return (40, 90, 170, 255)                    # sheet

rows = []
for y in range(size - 1, -1, -1):
    row = b""
    for x in range(size):
        r, g, b, a = pixel(x, y)
        row += bytes((b, g, r, a))
    rows.append(row)
pixels = b"".join(rows)
mask = bytes(size * size // 8)                   # all opaque; alpha decides transparency
header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
image = header + pixels + mask
ico = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), 22) + image
with open(sys.argv[1], "wb") as f:
    f.write(ico)
PY
