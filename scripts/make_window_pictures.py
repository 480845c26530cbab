#!/usr/bin/env python3
"""Writes the main window's pictures into src/app/win32/, drawn pixel by pixel so no image tool
is needed:

  toolbar.bmp         nine 16 x 16 button pictures in one strip (24-bit): open, save, 10 back,
                      previous, next, 10 forward, page list, layer tool, pen change. Light grey
                      (192, 192, 192) is the button face the toolbar puts in its place.
  cursor_area.cur     the arrow with a dashed box: dragging a selection rectangle
  cursor_undo.cur     the arrow with a turning-back arrow: a right drag that undoes
  cursor_redo.cur     the arrow with a turning-forward arrow: a right drag that redoes

Run it again only when a picture should change; the files are checked in beside the .rc."""
import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "..", "src", "app", "win32")

FACE = (192, 192, 192)
BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
GREY = (128, 128, 128)
DARK = (64, 64, 64)
BLUE = (30, 80, 180)
LIGHT_BLUE = (150, 190, 240)
YELLOW = (240, 200, 60)
DARK_YELLOW = (170, 130, 20)
RED = (200, 30, 30)
GREEN = (40, 160, 60)


class Picture:
    def __init__(self, width, height, fill):
        self.width, self.height = width, height
        self.pixels = [[fill] * width for _ in range(height)]

    def set(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = colour

    def rect(self, x0, y0, x1, y1, colour):
        """Filled, both corners included."""
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.set(x, y, colour)

    def frame(self, x0, y0, x1, y1, colour):
        for x in range(x0, x1 + 1):
            self.set(x, y0, colour)
            self.set(x, y1, colour)
        for y in range(y0, y1 + 1):
            self.set(x0, y, colour)
            self.set(x1, y, colour)

    def line(self, x0, y0, x1, y1, colour):
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(steps + 1):
            self.set(round(x0 + (x1 - x0) * i / steps), round(y0 + (y1 - y0) * i / steps), colour)

    def triangle(self, tip_x, mid_y, base_x, half, colour):
        """A filled triangle pointing left or right, its tip at (tip_x, mid_y)."""
        step = 1 if base_x > tip_x else -1
        for i, x in enumerate(range(tip_x, base_x + step, step)):
            reach = min(half, i * half // max(abs(base_x - tip_x), 1))
            for y in range(mid_y - reach, mid_y + reach + 1):
                self.set(x, y, colour)


def button(draw):
    picture = Picture(16, 16, FACE)
    draw(picture)
    return picture


def draw_open(p):
    # An open folder with a sheet coming out of it.
    p.rect(5, 1, 12, 8, WHITE)
    p.frame(5, 1, 12, 8, DARK)
    p.line(7, 3, 10, 3, RED)
    p.line(7, 5, 10, 5, RED)
    p.rect(1, 6, 13, 14, DARK_YELLOW)
    p.rect(2, 8, 14, 14, YELLOW)
    p.frame(1, 5, 5, 6, DARK_YELLOW)
    p.line(2, 8, 14, 8, DARK_YELLOW)


def draw_save(p):
    # A floppy disk.
    p.rect(1, 1, 14, 14, BLUE)
    p.rect(4, 1, 11, 6, WHITE)
    p.rect(9, 2, 10, 5, BLUE)
    p.rect(3, 9, 12, 14, LIGHT_BLUE)
    p.line(4, 11, 11, 11, BLUE)
    p.frame(1, 1, 14, 14, DARK)


def draw_back_ten(p):
    p.triangle(1, 7, 7, 6, BLACK)
    p.triangle(8, 7, 14, 6, BLACK)


def draw_previous(p):
    p.triangle(4, 7, 11, 6, BLACK)


def draw_next(p):
    p.triangle(11, 7, 4, 6, BLACK)


def draw_forward_ten(p):
    p.triangle(14, 7, 8, 6, BLACK)
    p.triangle(7, 7, 1, 6, BLACK)


def draw_page_list(p):
    # A sheet with rows, the current one marked.
    p.rect(2, 0, 13, 15, WHITE)
    p.frame(2, 0, 13, 15, DARK)
    for y in (3, 6, 9, 12):
        p.line(4, y, 11, y, GREY)
    p.rect(3, 5, 12, 7, LIGHT_BLUE)
    p.line(4, 6, 11, 6, BLUE)


def draw_layer_tool(p):
    # Three stacked sheets seen at a slant; the top one green as the tool's selection.
    for top, colour in ((9, GREY), (5, BLUE), (1, GREEN)):
        for i in range(5):
            p.line(5 - i, top + i, 14 - i, top + i, colour)
        p.line(5, top, 14, top, DARK)
        p.line(1, top + 4, 10, top + 4, DARK)


def draw_pen_change(p):
    # A pen drawing a red line, with the colour swatches it may take.
    p.line(3, 12, 12, 3, DARK)
    p.line(4, 12, 13, 3, DARK)
    p.line(4, 13, 13, 4, DARK)
    p.line(5, 11, 11, 5, YELLOW)
    p.set(2, 13, RED)
    p.set(3, 13, RED)
    p.set(2, 14, RED)
    p.rect(10, 11, 11, 12, RED)
    p.rect(12, 11, 13, 12, GREEN)
    p.rect(14, 11, 15, 12, BLUE)


def write_bmp(path, pictures):
    width = 16 * len(pictures)
    height = 16
    row_bytes = (width * 3 + 3) & ~3
    rows = []
    for y in range(height - 1, -1, -1):  # bottom-up
        row = bytearray()
        for picture in pictures:
            for x in range(16):
                r, g, b = picture.pixels[y][x]
                row += bytes((b, g, r))
        row += bytes(row_bytes - len(row))
        rows.append(bytes(row))
    data = b"".join(rows)
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + len(header) + len(data), 0, 0, 14 + len(header))
    with open(path, "wb") as out:
        out.write(file_header + header + data)


# The standard arrow, 12 x 19: X black outline, o white inside, . transparent.
ARROW = [
    "X...........",
    "XX..........",
    "XoX.........",
    "XooX........",
    "XoooX.......",
    "XooooX......",
    "XoooooX.....",
    "XooooooX....",
    "XoooooooX...",
    "XooooooooX..",
    "XoooooooooX.",
    "XooooooXXXXX",
    "XoooXooX....",
    "XooX.XooX...",
    "XoX..XooX...",
    "XX....XooX..",
    "X.....XooX..",
    ".......XoX..",
    "........X...",
]

BOX = [
    "XX.XX.XX.XX",
    "X.........X",
    "...........",
    "X.........X",
    "X.........X",
    "...........",
    "X.........X",
    "XX.XX.XX.XX",
]

TURN_BACK = [
    "...X.......",
    "..XX.......",
    ".XXXXXXX...",
    "XXXXXXXXX..",
    ".XXXXXXXXX.",
    "..XX....XX.",
    "...X.....XX",
    ".........XX",
    "........XX.",
    "...XXXXXX..",
]


def mirrored(art):
    return [row[::-1] for row in art]


def cursor(marks):
    """32 x 32 cells: None transparent, 0 black, 1 white."""
    cells = [[None] * 32 for _ in range(32)]

    def stamp(art, left, top, ink):
        for y, row in enumerate(art):
            for x, c in enumerate(row):
                if c == "X":
                    cells[top + y][left + x] = ink
                elif c == "o":
                    cells[top + y][left + x] = 1

    stamp(ARROW, 0, 0, 0)
    for art, left, top in marks:
        # A white halo keeps the mark readable on dark drawings.
        for y, row in enumerate(art):
            for x, c in enumerate(row):
                if c == "X":
                    for dy in (-1, 0, 1):
                        for dx in (-1, 0, 1):
                            yy, xx = top + y + dy, left + x + dx
                            if 0 <= yy < 32 and 0 <= xx < 32 and cells[yy][xx] is None:
                                cells[yy][xx] = 1
        stamp(art, left, top, 0)
    return cells


def write_cursor(path, cells, hotspot=(0, 0)):
    xor_rows, and_rows = [], []
    for y in range(31, -1, -1):  # bottom-up
        xor_bits = and_bits = 0
        for x in range(32):
            cell = cells[y][x]
            bit = 1 << (31 - x)
            if cell is None:
                and_bits |= bit
            elif cell == 1:
                xor_bits |= bit
        xor_rows.append(struct.pack(">I", xor_bits))
        and_rows.append(struct.pack(">I", and_bits))
    masks = b"".join(xor_rows) + b"".join(and_rows)
    header = struct.pack("<IiiHHIIiiII", 40, 32, 64, 1, 1, 0, len(masks), 0, 0, 2, 0)
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    image = header + palette + masks
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", 32, 32, 0, 0, hotspot[0], hotspot[1], len(image), 6 + 16)
    with open(path, "wb") as out:
        out.write(directory + entry + image)


def main():
    pictures = [button(d) for d in (draw_open, draw_save, draw_back_ten, draw_previous, draw_next,
                                    draw_forward_ten, draw_page_list, draw_layer_tool, draw_pen_change)]
    write_bmp(os.path.join(OUT, "toolbar.bmp"), pictures)
    write_cursor(os.path.join(OUT, "cursor_area.cur"), cursor([(BOX, 14, 20)]))
    write_cursor(os.path.join(OUT, "cursor_undo.cur"), cursor([(TURN_BACK, 14, 19)]))
    write_cursor(os.path.join(OUT, "cursor_redo.cur"), cursor([(mirrored(TURN_BACK), 14, 19)]))


if __name__ == "__main__":
    main()
