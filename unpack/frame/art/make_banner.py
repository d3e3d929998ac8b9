#!/usr/bin/env python3
"""Draws KivoUnpack's banner (bitmap 101) and writes banner.bmp beside this script.

The stub shows the banner through an image list whose mask colour is magenta,
so every magenta pixel lets the grey window face show through.  The picture is
drawn from fixed shapes only, so running this again gives the same bytes.
Standard library only: tools/art/pixelart.py writes the 4-bit BMP.
"""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..", "tools", "art"))
from pixelart import *  # noqa: E402,F401,F403  the palette, Canvas, write_bmp4, write_ico

WIDTH, HEIGHT = 136, 36


def rows(*runs):
    """A glyph given as (count, row) runs of identical rows."""
    return [row for count, row in runs for _ in range(count)]


# Hand-set bold letters for the product name: x-height 11, ascenders 15,
# three-pixel stems and two-pixel bars so the word stays crisp on a grey face.
GLYPHS = {
    "T": rows(
        (2, "#############"),
        (13, ".....###....."),
    ),
    "a": [
        ".#######..",
        ".########.",
        "......###.",
        "......###.",
        "..#######.",
        ".########.",
        "###...###.",
        "###...###.",
        "###..####.",
        ".#########",
        "..####.###",
    ],
    "n": rows(
        (1, "###.####.."),
        (1, "#########."),
        (1, "####..####"),
        (8, "###....###"),
    ),
    "d": rows(
        (4, ".......###"),
        (1, "..####.###"),
        (1, ".#########"),
        (1, "####..####"),
        (5, "###....###"),
        (1, "####..####"),
        (1, ".#########"),
        (1, "..####.###"),
    ),
    "r": rows(
        (1, "###.###"),
        (1, "#######"),
        (1, "####..."),
        (8, "###...."),
    ),
    "e": [
        "..#####..",
        ".#######.",
        "###...###",
        "###...###",
        "#########",
        "#########",
        "###......",
        "###......",
        "####...##",
        ".########",
        "..######.",
    ],
    "l": rows(
        (15, "###"),
    ),
}
ASCENT = 15
# Pairs that sit closer than the usual gap (the T's arm overhangs the a).
KERNING = {("T", "a"): -2}
LETTER_GAP = 2


def text_width(word):
    width = 0
    for i, ch in enumerate(word):
        width += len(GLYPHS[ch][0])
        if i + 1 < len(word):
            width += LETTER_GAP + KERNING.get((ch, word[i + 1]), 0)
    return width


def text_cells(word, left, top):
    """Every pixel the word covers, as (x, y, row within the ascent)."""
    cells = []
    x = left
    for i, ch in enumerate(word):
        rows = GLYPHS[ch]
        dy = ASCENT - len(rows)
        for ry, row in enumerate(rows):
            for rx, mark in enumerate(row):
                if mark == "#":
                    cells.append((x + rx, top + dy + ry, dy + ry))
        x += len(rows[0])
        if i + 1 < len(word):
            x += LETTER_GAP + KERNING.get((ch, word[i + 1]), 0)
    return cells


def draw_word(canvas, word, left, top):
    cells = text_cells(word, left, top)
    for x, y, _ in cells:
        canvas.put(x + 2, y + 2, GREY)
    for x, y, row in cells:
        # Blue above, navy below, with a short checkered blend between them.
        if row < 6:
            colour = BLUE
        elif row < 8:
            colour = BLUE if (x + y) % 2 else NAVY
        else:
            colour = NAVY
        canvas.put(x, y, colour)


def draw_box(c, cx, top):
    """A taped carton seen from above its front corner; cx is the front edge."""
    half, lid, depth = 14, 7, 16

    def rise(x):
        # Edges climb one pixel for every two across, starting from a corner.
        return (abs(x - cx) + 1) // 2

    def front(x):
        return top + 2 * lid - rise(x)

    for x in range(cx - half, cx + half + 1):
        back = top + rise(x)
        for y in range(back, front(x) + 1):
            c.put(x, y, YELLOW)
        for y in range(front(x) + 1, front(x) + depth + 1):
            if x <= cx:
                c.put(x, y, OLIVE)
            else:
                # The shaded wall: olive checkered with black reads as dark card.
                c.put(x, y, OLIVE if (x + y) % 2 == 0 else BLACK)
    # Packing tape over the flaps' seam, then down the shaded wall.
    for x in range(cx - half, cx + half + 1):
        for y in range(top + rise(x) + 1, front(x)):
            # Rows counted from a line parallel to the back-right edge.
            band = (y - top) - (x - cx + 15) // 2 + 7
            if band in (6, 7):
                c.put(x, y, WHITE)
    tape = cx + half // 2
    for x in range(tape - 1, tape + 2):
        for y in range(front(x) + 1, front(x) + 8):
            c.put(x, y, GREY if x == tape + 1 else SILVER)
    # A shipping label on the lit wall, its lines following the wall's slant.
    for x in range(cx - 11, cx - 2):
        y0 = front(x) + 4
        c.rect(x, y0, x, y0 + 6, WHITE)
        if cx - 10 <= x <= cx - 4:
            c.put(x, y0 + 2, NAVY)
        if cx - 10 <= x <= cx - 6:
            c.put(x, y0 + 4, NAVY)
    # Outline.
    for x in range(cx - half, cx + half + 1):
        c.put(x, top + rise(x), BLACK)
        c.put(x, front(x) + depth, BLACK)
        c.put(x, front(x), BLACK)
    c.vline(cx - half, top + lid, top + lid + depth, BLACK)
    c.vline(cx + half, top + lid, top + lid + depth, BLACK)
    c.vline(cx, front(cx), front(cx) + depth, BLACK)


def main():
    c = Canvas(WIDTH, HEIGHT, MAGENTA)
    draw_box(c, 16, 2)
    word = "Tandrel"
    left = 40
    draw_word(c, word, left, 8)
    # An etched rule under the name, like a group box edge on the face.
    c.hline(left, WIDTH - 3, 28, GREY)
    c.hline(left + 1, WIDTH - 2, 29, WHITE)
    # The image list cuts the strip 135 wide; keep the last column clear.
    for y in range(HEIGHT):
        c.put(WIDTH - 1, y, MAGENTA)
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "banner.bmp")
    write_bmp4(out, c.px)


if __name__ == "__main__":
    main()
