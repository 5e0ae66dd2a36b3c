#!/usr/bin/env python3
"""Draws the installer's icons and menu bitmaps and writes them into res/frame/.

Icons (32-bit colour with an AND mask, 32 x 32 and 16 x 16 in each file):
  20  the installer: a diskette with a green arrow into a box (large icon)
  21  the installer window: an open box with the arrow (small icon of the client)
  23  the frame: the diskette with the arrow (small icon of the frame)
  38  the message text window: a window with lines of text (small icon)
  39  the table print window: a printer printing a page with a table (large)
  40  the table print window: a page with a table (small)
Menu bitmaps (16 x 16, 24-bit, numbered by function id) on the key colour
magenta, which the menu leaves out (its corner pixel is the transparent colour):
  1000 files (a folder), 1006 options (a check list), 1007 help (a question
  mark), 1032 windows (two windows), 1049 and 5000 exit (a door with an arrow).
Bitmap 434 (64 x 48, 24-bit): the bitmap view's "no picture", a grey frame
  with a crossed-out picture of hills.

Run from the repository root: python3 tools/mkres.py
"""
import os
import struct

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "res", "frame")

NONE = None
BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
GREY = (192, 192, 192)
DARK = (128, 128, 128)
BLUE = (0, 0, 160)
LIGHT_BLUE = (80, 120, 255)
GREEN = (0, 160, 0)
LIGHT_GREEN = (0, 230, 0)
YELLOW = (255, 220, 0)
BROWN = (176, 112, 0)
RED = (200, 0, 0)
KEY = (255, 0, 255)   # the transparent background of the menu bitmaps


class Canvas:
    def __init__(self, size, background=NONE, height=None):
        self.size = size
        self.height = height or size
        self.pixels = [[background] * size for _ in range(self.height)]

    def put(self, x, y, colour):
        if 0 <= x < self.size and 0 <= y < self.height:
            self.pixels[y][x] = colour

    def rect(self, x0, y0, x1, y1, fill, outline=None):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                edge = x in (x0, x1) or y in (y0, y1)
                self.put(x, y, outline if (outline and edge) else fill)

    def line(self, x0, y0, x1, y1, colour):
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(steps + 1):
            self.put(round(x0 + (x1 - x0) * i / steps), round(y0 + (y1 - y0) * i / steps), colour)

    def triangle_down(self, cx, top, half, colour):
        """A filled arrow head pointing down, widest (2 * half + 1) at top."""
        for i in range(half + 1):
            for x in range(cx - half + i, cx + half - i + 1):
                self.put(x, top + i, colour)


def scaled(draw, size):
    """Draws on a 32-unit design grid scaled to the canvas size."""
    c = Canvas(size)
    k = size / 32.0
    draw(c, lambda v: int(round(v * k)))
    return c


def draw_diskette(c, s):
    c.rect(s(2), s(2), s(21), s(21), BLUE, BLACK)
    c.rect(s(6), s(3), s(17), s(9), WHITE, BLACK)
    c.rect(s(13), s(4), s(15), s(8), DARK)
    c.rect(s(5), s(13), s(18), s(20), GREY, BLACK)


def draw_box(c, s, top):
    c.rect(s(12), s(top), s(30), s(30), BROWN, BLACK)
    c.line(s(12), s(top + 4), s(30), s(top + 4), BLACK)


def draw_arrow(c, s, x, y0, y1):
    c.rect(s(x - 2), s(y0), s(x + 2), s(y1), LIGHT_GREEN, None)
    c.triangle_down(s(x), s(y1), s(6), GREEN)


def installer(c, s):
    draw_diskette(c, s)
    draw_box(c, s, 19)
    draw_arrow(c, s, 21, 6, 14)


def installer_window(c, s):
    c.rect(s(1), s(4), s(30), s(28), WHITE, BLACK)
    c.rect(s(2), s(5), s(29), s(9), LIGHT_BLUE)
    draw_box(c, s, 17)
    draw_arrow(c, s, 21, 10, 14)
    c.rect(s(4), s(13), s(9), s(14), BLACK)
    c.rect(s(4), s(18), s(9), s(19), BLACK)
    c.rect(s(4), s(23), s(9), s(24), BLACK)


def text_window(c, s):
    c.rect(s(1), s(2), s(30), s(29), WHITE, BLACK)
    c.rect(s(2), s(3), s(29), s(7), BLUE)
    for y in (11, 16, 21, 26):
        c.rect(s(4), s(y), s(y % 10 + 16), s(y + 1), BLACK)


def table_page(c, s, x0, y0, x1, y1):
    """A white page holding a table: a wide frame and header line, thin cell lines."""
    c.rect(s(x0), s(y0), s(x1), s(y1), WHITE, DARK)
    left, right, top, bottom = s(x0 + 3), s(x1 - 3), s(y0 + 4), s(y1 - 3)
    c.rect(left, top, right, top + max(1, s(3)), LIGHT_BLUE)
    for y in range(top + max(2, s(5)), bottom, max(2, s(4))):
        c.line(left, y, right, y, GREY)
    for x in (left + (right - left) // 3, left + 2 * (right - left) // 3):
        c.line(x, top, x, bottom, GREY)
    c.line(left, top + max(1, s(3)) + 1, right, top + max(1, s(3)) + 1, BLACK)
    for x in (left, right):
        c.line(x, top, x, bottom, BLACK)
    for y in (top, bottom):
        c.line(left, y, right, y, BLACK)


def table_printer(c, s):
    table_page(c, s, 7, 1, 25, 20)
    c.rect(s(1), s(16), s(30), s(27), GREY, BLACK)
    c.rect(s(4), s(21), s(27), s(23), DARK)
    c.rect(s(24), s(18), s(27), s(19), LIGHT_GREEN)
    c.rect(s(3), s(27), s(28), s(30), DARK, BLACK)


def table_sheet(c, s):
    table_page(c, s, 3, 1, 28, 30)


def folder(c):
    c.rect(1, 3, 6, 5, YELLOW, BLACK)
    c.rect(1, 5, 14, 13, YELLOW, BLACK)
    c.line(2, 6, 13, 6, WHITE)


def options(c):
    c.rect(2, 1, 13, 14, WHITE, BLACK)
    for y in (4, 8, 12):
        c.line(4, y - 1, 5, y, GREEN)
        c.line(5, y, 7, y - 3, GREEN)
        c.line(9, y - 1, 11, y - 1, DARK)


def help_mark(c):
    c.rect(4, 2, 11, 3, BLUE)
    c.rect(3, 3, 5, 5, BLUE)
    c.rect(10, 3, 12, 7, BLUE)
    c.rect(7, 7, 10, 9, BLUE)
    c.rect(7, 9, 8, 10, BLUE)
    c.rect(7, 12, 8, 13, BLUE)


def windows(c):
    c.rect(1, 1, 10, 9, WHITE, BLACK)
    c.rect(2, 2, 9, 3, BLUE)
    c.rect(5, 6, 14, 14, WHITE, BLACK)
    c.rect(6, 7, 13, 8, BLUE)


def exit_door(c):
    c.rect(2, 1, 9, 14, BROWN, BLACK)
    c.put(7, 8, YELLOW)
    c.rect(10, 7, 12, 8, RED)
    for i in range(4):   # the arrow head, pointing out of the door
        c.line(12 + i, 4 + i, 12 + i, 11 - i, RED)


def no_picture(c):
    c.rect(0, 0, 63, 47, GREY, DARK)
    c.rect(12, 8, 51, 39, WHITE, BLACK)
    for i in range(12):   # two hills and the sun
        c.line(13 + i, 38, 24 + i, 27 + i // 2, GREEN)
        c.line(30 + i, 38, 38 + i, 22 + i, GREEN)
    c.rect(42, 12, 46, 16, YELLOW)
    c.line(12, 8, 51, 39, RED)
    c.line(12, 39, 51, 8, RED)


def icon_image(canvas):
    """One icon image: BITMAPINFOHEADER (double height), BGRA rows bottom-up, AND mask."""
    n = canvas.size
    header = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = bytearray()
    mask = bytearray()
    row_bytes = ((n + 31) // 32) * 4
    for y in reversed(range(n)):
        row = bytearray(row_bytes)
        for x in range(n):
            p = canvas.pixels[y][x]
            if p is None:
                colour += bytes((0, 0, 0, 0))
                row[x // 8] |= 0x80 >> (x % 8)
            else:
                colour += bytes((p[2], p[1], p[0], 255))
        mask += row
    return header + bytes(colour) + bytes(mask)


def write_icon(name, draw):
    images = [icon_image(scaled(draw, 32)), icon_image(scaled(draw, 16))]
    sizes = [32, 16]
    data = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in zip(sizes, images):
        data += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    data += b"".join(images)
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(data)


def write_bitmap(name, draw, width=16, height=16, background=KEY):
    c = Canvas(width, background, height)
    draw(c)
    row_bytes = width * 3
    pixels = bytearray()
    for y in reversed(range(height)):
        for x in range(width):
            r, g, b = c.pixels[y][x]
            pixels += bytes((b, g, r))
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    assert row_bytes % 4 == 0
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(head + info + bytes(pixels))


def main():
    os.makedirs(OUT, exist_ok=True)
    write_icon("icon20.ico", installer)
    write_icon("icon21.ico", installer_window)
    write_icon("icon23.ico", installer)
    write_icon("icon38.ico", text_window)
    write_icon("icon39.ico", table_printer)
    write_icon("icon40.ico", table_sheet)
    write_bitmap("bmp1000.bmp", folder)
    write_bitmap("bmp1006.bmp", options)
    write_bitmap("bmp1007.bmp", help_mark)
    write_bitmap("bmp1032.bmp", windows)
    write_bitmap("bmp1049.bmp", exit_door)
    write_bitmap("bmp434.bmp", no_picture, 64, 48, WHITE)
    write_bitmap("bmp5000.bmp", exit_door)


if __name__ == "__main__":
    main()
