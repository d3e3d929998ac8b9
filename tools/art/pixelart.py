"""Pixel art for the programs' resources: a canvas of palette indices and
writers of 16-colour BMP and ICO files, standard library only.

The art scripts beside each program's resources draw with this, so the same
shapes always give the same bytes.
"""

import struct

# The sixteen colours every VGA Windows display has, in their usual order.
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER = range(8)
GREY, RED, LIME, YELLOW, BLUE, MAGENTA, AQUA, WHITE = range(8, 16)
CLEAR = -1  # icon pixels outside the shape

# ---------------------------------------------------------------- file formats

def palette_bytes():
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in PALETTE)


def pack4(pixels):
    """Bottom-up 4-bit rows, each padded to a whole number of dwords."""
    width = len(pixels[0])
    stride = ((width * 4 + 31) // 32) * 4
    bits = bytearray()
    for row in reversed(pixels):
        line = bytearray(stride)
        for x, index in enumerate(row):
            index = max(index, 0)  # clear pixels are black under the mask
            if x % 2 == 0:
                line[x // 2] = index << 4
            else:
                line[x // 2] |= index
        bits += line
    return bytes(bits)


def pack_mask(pixels):
    """Bottom-up 1-bit AND mask: set where the screen shows through."""
    width = len(pixels[0])
    stride = ((width + 31) // 32) * 4
    bits = bytearray()
    for row in reversed(pixels):
        line = bytearray(stride)
        for x, index in enumerate(row):
            if index == CLEAR:
                line[x // 8] |= 0x80 >> (x % 8)
        bits += line
    return bytes(bits)


def info_header(width, height, image_size):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, image_size, 0, 0, 16, 0)


def write_bmp4(path, pixels):
    bits = pack4(pixels)
    palette = palette_bytes()
    offset = 14 + 40 + len(palette)
    info = struct.pack("<IiiHHIIiiII", 40, len(pixels[0]), len(pixels), 1, 4, 0,
                       len(bits), 2835, 2835, 16, 16)
    header = struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset)
    with open(path, "wb") as out:
        out.write(header + info + palette + bits)


def write_ico(path, images):
    entries = b""
    blobs = b""
    offset = 6 + 16 * len(images)
    for pixels in images:
        width, height = len(pixels[0]), len(pixels)
        xor = pack4(pixels)
        mask = pack_mask(pixels)
        # An icon's header counts the XOR and AND halves together.
        blob = info_header(width, height * 2, len(xor) + len(mask)) + palette_bytes() + xor + mask
        entries += struct.pack("<BBBBHHII", width % 256, height % 256, 16, 0, 1, 4,
                               len(blob), offset)
        blobs += blob
        offset += len(blob)
    with open(path, "wb") as out:
        out.write(struct.pack("<HHH", 0, 1, len(images)) + entries + blobs)


# ---------------------------------------------------------------- drawing

class Canvas:
    def __init__(self, width, height, fill):
        self.width = width
        self.height = height
        self.px = [[fill] * width for _ in range(height)]

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.px[y][x] = colour

    def get(self, x, y):
        return self.px[y][x]

    def rect(self, x0, y0, x1, y1, colour):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.put(x, y, colour)

    def hline(self, x0, x1, y, colour):
        self.rect(x0, y, x1, y, colour)

    def vline(self, x, y0, y1, colour):
        self.rect(x, y0, x, y1, colour)

    def frame(self, x0, y0, x1, y1, colour):
        self.hline(x0, x1, y0, colour)
        self.hline(x0, x1, y1, colour)
        self.vline(x0, y0, y1, colour)
        self.vline(x1, y0, y1, colour)

    def bevel(self, x0, y0, x1, y1, light, dark):
        """Light top and left edges, dark bottom and right: a raised face."""
        self.hline(x0, x1, y0, light)
        self.vline(x0, y0, y1, light)
        self.hline(x0, x1, y1, dark)
        self.vline(x1, y0, y1, dark)

    def blit(self, x0, y0, rows, key):
        """Copies a map of letters, each a colour by key; CLEAR leaves the canvas."""
        for dy, row in enumerate(rows):
            for dx, mark in enumerate(row):
                if key[mark] != CLEAR:
                    self.put(x0 + dx, y0 + dy, key[mark])
