#!/usr/bin/env python3
"""Draws Wendmark's pictures and writes them beside this script:

  wendmark.ico  icon 128: a 3.5-inch disk with a sparkle, 32x32 and 16x16
  wizard.bmp    bitmap 130: the tall picture at the left of every wizard page

Everything is drawn from fixed shapes, so running this again gives the same
bytes.  Standard library only: tools/art/pixelart.py writes the BMP and ICO files.
"""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..", "tools", "art"))
from pixelart import *  # noqa: E402,F401,F403  the palette, Canvas, write_bmp4, write_ico

# Letters used by the hand-drawn pixel maps below.
KEY = {
    ".": CLEAR, "K": BLACK, "m": MAROON, "g": GREEN, "o": OLIVE, "N": NAVY,
    "p": PURPLE, "t": TEAL, "s": SILVER, "G": GREY, "R": RED, "L": LIME,
    "Y": YELLOW, "B": BLUE, "M": MAGENTA, "A": AQUA, "W": WHITE,
}


# ---------------------------------------------------------------- the icon

ICON_16 = [
    ".............Y..",
    ".............Y..",
    "...........YYWYY",
    "KKKKKKKKKKK..Y..",
    "KBBWsssKsGNK.Y..",
    "KBNWsssKsGNNK...",
    "KBNWsssKsGNNK...",
    "KBNGGGGGGGNNK...",
    "KBNNNNNNNNNNK...",
    "KBNNNNNNNNNNK...",
    "KBNWWWWWWWWNK...",
    "KBNWGGGGGGWNK...",
    "KBNWWWWWWWWNK...",
    "KBNWGGGGGWWNK...",
    "KNNWWWWWWWWNK...",
    "KKKKKKKKKKKKK...",
]


def draw_disk(c, x0, y0, size, body, light):
    """A 3.5-inch disk seen from its label side, top-left corner at (x0, y0)."""
    x1, y1 = x0 + size - 1, y0 + size - 1
    cut = max(2, size // 8)  # the bevelled corner beside the shutter
    # Whatever lies behind the bevelled corner stays visible.
    behind = {(x, y): c.get(x, y) for y in range(y0, y0 + cut) for x in range(x1 - cut + 1, x1 + 1)
              if 0 <= x < c.width and 0 <= y < c.height}
    c.rect(x0, y0, x1, y1, body)
    c.hline(x0 + 1, x1 - 1, y0 + 1, light)
    c.vline(x0 + 1, y0 + 1, y1 - 1, light)
    c.frame(x0, y0, x1, y1, BLACK)
    for i in range(cut):
        for x in range(x1 - cut + 1 + i, x1 + 1):
            c.put(x, y0 + i, behind.get((x, y0 + i), CLEAR))
        c.put(x1 - cut + i, y0 + i, BLACK)
    c.put(x1, y0 + cut, BLACK)
    # Metal shutter at the top, with the window onto the medium.
    sw = size // 2
    sx0 = x0 + (size - sw) // 2 - 1
    sx1 = sx0 + sw - 1
    sy1 = y0 + size * 3 // 8
    c.rect(sx0, y0 + 1, sx1, sy1, SILVER)
    c.vline(sx0, y0 + 1, sy1, WHITE)
    c.vline(sx1, y0 + 1, sy1, GREY)
    c.hline(sx0, sx1, sy1, GREY)
    wx0 = sx0 + sw * 5 // 8
    c.rect(wx0, y0 + 3, wx0 + max(1, sw // 5) - 1, sy1 - 3, BLACK)
    # Paper label over the lower half.
    lx0, lx1 = x0 + 3 + size // 16, x1 - 3 - size // 16
    ly0 = y0 + size // 2 + 1
    c.rect(lx0, ly0, lx1, y1 - 1, WHITE)
    for y in range(ly0 + 3, y1 - 1, 3):
        c.hline(lx0 + 2, lx1 - 2, y, GREY)
    # Write-protect window, bottom left.
    c.rect(x0 + 2, y1 - 3, x0 + 3, y1 - 2, BLACK)


SPARKLE = [
    "....Y....",
    "....Y....",
    "....Y....",
    "...YWY...",
    "YYYWWWYYY",
    "...YWY...",
    "....Y....",
    "....Y....",
    "....Y....",
]
GLINT = [
    ".Y.",
    "YWY",
    ".Y.",
]


def icon_32():
    c = Canvas(32, 32, CLEAR)
    draw_disk(c, 1, 5, 26, NAVY, BLUE)
    c.blit(22, 1, SPARKLE, KEY)
    c.blit(17, 0, GLINT, KEY)
    return c.px


def icon_16():
    return [[KEY[m] for m in row] for row in ICON_16]


# ---------------------------------------------------------------- the wizard picture

BAYER4 = [[0, 8, 2, 10], [12, 4, 14, 6], [3, 11, 1, 9], [15, 7, 13, 5]]


def backdrop(c, top_colour, bottom_colour, y0, y1):
    """Ordered-dither blend from one colour at y0 to the other at y1."""
    for y in range(c.height):
        t = (y - y0) / float(y1 - y0)
        for x in range(c.width):
            c.put(x, y, bottom_colour if t * 16 > BAYER4[y % 4][x % 4] + 0.5 else top_colour)


def poly_fill(c, points, colour):
    """Fills a convex polygon by pixel centres."""
    ys = [p[1] for p in points]
    for y in range(int(min(ys)), int(max(ys)) + 1):
        yc = y + 0.5
        xs = []
        n = len(points)
        for i in range(n):
            (ax, ay), (bx, by) = points[i], points[(i + 1) % n]
            if (ay <= yc < by) or (by <= yc < ay):
                xs.append(ax + (yc - ay) * (bx - ax) / float(by - ay))
        if len(xs) >= 2:
            left, right = min(xs), max(xs)
            for x in range(int(left + 0.5), int(right + 0.5)):
                c.put(x, y, colour)


def oblique_box(c, x0, y0, x1, y1, depth, front, top, side):
    """A box drawn the way desktop icons draw things: front face square on,
    top and right faces receding up and to the right, one up for two across."""
    dx, dy = depth, depth // 2
    poly_fill(c, [(x0, y0), (x0 + dx, y0 - dy), (x1 + 1 + dx, y0 - dy), (x1 + 1, y0)], top)
    poly_fill(c, [(x1 + 1, y0), (x1 + 1 + dx, y0 - dy), (x1 + 1 + dx, y1 + 1 - dy), (x1 + 1, y1 + 1)], side)
    c.rect(x0, y0, x1, y1, front)
    # Outline along the receding edges.
    for i in range(dx + 1):
        c.put(x0 + i, y0 - (i + 1) // 2, BLACK)
        c.put(x1 + 1 + i, y0 - (i + 1) // 2, BLACK)
        c.put(x1 + 1 + i, y1 + 1 - (i + 1) // 2, BLACK)
    c.hline(x0 + dx, x1 + 1 + dx, y0 - dy, BLACK)
    c.vline(x1 + 1 + dx, y0 - dy, y1 + 1 - dy, BLACK)
    c.frame(x0 - 1, y0, x1 + 1, y1 + 1, BLACK)


def draw_computer(c, ox, oy):
    # System unit.
    cx0, cy0, cx1, cy1 = ox, oy + 82, ox + 83, oy + 104
    oblique_box(c, cx0, cy0, cx1, cy1, 14, SILVER, WHITE, GREY)
    c.bevel(cx0, cy0 + 1, cx1, cy1, WHITE, GREY)
    # 3.5-inch drive on the right, busy light on.
    dx0, dy0 = cx0 + 46, cy0 + 6
    c.rect(dx0, dy0, dx0 + 32, dy0 + 9, SILVER)
    c.bevel(dx0, dy0, dx0 + 32, dy0 + 9, GREY, WHITE)
    c.hline(dx0 + 4, dx0 + 26, dy0 + 4, BLACK)
    c.hline(dx0 + 4, dx0 + 26, dy0 + 5, GREY)
    c.rect(dx0 + 28, dy0 + 6, dx0 + 29, dy0 + 7, LIME)
    c.rect(dx0 + 22, dy0 + 7, dx0 + 25, dy0 + 7, GREY)
    # Power switch and light on the left.
    c.rect(cx0 + 6, cy0 + 12, cx0 + 11, cy0 + 16, SILVER)
    c.bevel(cx0 + 6, cy0 + 12, cx0 + 11, cy0 + 16, WHITE, BLACK)
    c.rect(cx0 + 15, cy0 + 14, cx0 + 16, cy0 + 15, LIME)
    # Vents.
    for x in range(cx0 + 6, cx0 + 36, 3):
        c.vline(x, cy0 + 5, cy0 + 8, GREY)
        c.vline(x + 1, cy0 + 5, cy0 + 8, WHITE)

    # Monitor stand on the unit's lid.
    poly_fill(c, [(ox + 30, oy + 74), (ox + 58, oy + 74), (ox + 62, oy + 80), (ox + 26, oy + 80)], GREY)
    c.hline(ox + 26, ox + 62, oy + 80, BLACK)
    c.hline(ox + 29, ox + 58, oy + 74, BLACK)
    # Monitor: a deep cabinet with the screen set in its face.
    mx0, my0, mx1, my1 = ox + 8, oy + 12, ox + 76, oy + 72
    oblique_box(c, mx0, my0, mx1, my1, 16, SILVER, WHITE, GREY)
    c.bevel(mx0, my0 + 1, mx1, my1, WHITE, GREY)
    sx0, sy0, sx1, sy1 = mx0 + 6, my0 + 6, mx1 - 6, my1 - 10
    c.rect(sx0, sy0, sx1, sy1, GREY)
    c.bevel(sx0 - 1, sy0 - 1, sx1 + 1, sy1 + 1, GREY, WHITE)
    c.frame(sx0, sy0, sx1, sy1, BLACK)
    c.rect(sx0 + 1, sy0 + 1, sx1 - 1, sy1 - 1, TEAL)
    # A copy dialog on the screen, its progress bar half full.
    wx0, wy0, wx1, wy1 = sx0 + 7, sy0 + 9, sx1 - 7, sy1 - 9
    c.rect(wx0, wy0, wx1, wy1, SILVER)
    c.bevel(wx0, wy0, wx1, wy1, WHITE, BLACK)
    c.rect(wx0 + 2, wy0 + 2, wx1 - 2, wy0 + 5, NAVY)
    c.rect(wx1 - 5, wy0 + 3, wx1 - 3, wy0 + 4, SILVER)
    c.hline(wx0 + 4, wx0 + 24, wy0 + 9, BLACK)
    c.hline(wx0 + 4, wx0 + 16, wy0 + 12, GREY)
    bx0, by0, bx1, by1 = wx0 + 4, wy1 - 8, wx1 - 4, wy1 - 3
    c.rect(bx0, by0, bx1, by1, WHITE)
    c.bevel(bx0, by0, bx1, by1, GREY, WHITE)
    for x in range(bx0 + 2, bx0 + 2 + ((bx1 - bx0 - 3) * 3 // 5), 4):
        c.rect(x, by0 + 2, x + 2, by1 - 2, NAVY)
    # Controls under the screen.
    c.rect(mx1 - 12, my1 - 5, mx1 - 6, my1 - 3, SILVER)
    c.bevel(mx1 - 12, my1 - 5, mx1 - 6, my1 - 3, WHITE, BLACK)
    c.put(mx1 - 15, my1 - 4, LIME)


def shade(c, x0, y0, x1, y1):
    """Darkens the backdrop with a half-tone, as a shadow on the floor."""
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            if (x + y) % 2 == 0:
                c.put(x, y, BLACK)


def draw_fanned_disks(c, x0, y0):
    size = 30
    for i, (body, light) in enumerate(((MAROON, RED), (BLACK, GREY), (NAVY, BLUE))):
        x, y = x0 + i * 14, y0 + i * 7
        shade(c, x + 3, y + size, x + size + 2, y + size + 2)
        shade(c, x + size, y + 3, x + size + 2, y + size - 1)
        draw_disk(c, x, y, size, body, light)


def wizard_picture():
    c = Canvas(119, 227, NAVY)
    backdrop(c, NAVY, TEAL, 10, 150)
    ox, oy = 12, 46
    shade(c, ox + 2, oy + 106, ox + 100, oy + 108)
    draw_computer(c, ox, oy)
    draw_fanned_disks(c, 30, 166)
    return c.px


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    write_ico(os.path.join(here, "wendmark.ico"), [icon_32(), icon_16()])
    write_bmp4(os.path.join(here, "wizard.bmp"), wizard_picture())


if __name__ == "__main__":
    main()
