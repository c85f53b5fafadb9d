#!/usr/bin/env python3
"""Draws the pictures of the language modules and writes them as Windows 98 resources.

    draw-images.py OUTPUT_FOLDER

Writes headphones.bmp and speakers.bmp (64 x 48, 8 bits per pixel, drawn on the button face
grey 192,192,192 so that LR_LOADMAP3DCOLORS can map it), product.ico (32 x 32 and 16 x 16,
16 colours, for the sheet and the taskbar) and conflict.ico (16 x 16, 16 colours, the mark
next to a resource that Windows did not assign). Pictures are drawn from shapes by this
script alone, with the standard library, so every build makes the same bytes.
"""

import math
import os
import struct
import sys

# The sixteen colours of the Windows VGA palette, in the order Windows uses.
VGA16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]

BLACK, GREY, SILVER, WHITE = (0, 0, 0), (128, 128, 128), (192, 192, 192), (255, 255, 255)
TEAL, NAVY, YELLOW = (0, 128, 128), (0, 0, 128), (255, 255, 0)
FACE = SILVER  # COLOR_3DFACE of the standard Windows 98 scheme


def palette256():
    """VGA colours, a 6x6x6 colour cube and a grey ramp: 16 + 216 + 24 = 256 entries."""
    colours = list(VGA16)
    for r in range(6):
        for g in range(6):
            for b in range(6):
                colours.append((r * 51, g * 51, b * 51))
    for i in range(24):
        v = 8 + i * 10
        colours.append((v, v, v))
    return colours


class Canvas:
    """An RGBA picture sampled `scale` x `scale` times per pixel; shapes are predicates."""

    def __init__(self, width, height, scale):
        self.width, self.height, self.scale = width, height, scale
        self.pixels = [[None] * (width * scale) for _ in range(height * scale)]

    def fill(self, inside, colour, box=None):
        """Paints every sample whose centre satisfies inside(x, y) (pixel coordinates)."""
        s = self.scale
        x0, y0, x1, y1 = box or (0, 0, self.width, self.height)
        for sy in range(max(0, int(y0 * s) - 1), min(self.height * s, int(y1 * s) + 2)):
            y = (sy + 0.5) / s
            row = self.pixels[sy]
            for sx in range(max(0, int(x0 * s) - 1), min(self.width * s, int(x1 * s) + 2)):
                if inside((sx + 0.5) / s, y):
                    row[sx] = colour

    def rect(self, x0, y0, x1, y1, colour):
        self.fill(lambda x, y: x0 <= x < x1 and y0 <= y < y1, colour, (x0, y0, x1, y1))

    def ellipse(self, cx, cy, rx, ry, colour):
        self.fill(lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0, colour,
                  (cx - rx, cy - ry, cx + rx, cy + ry))

    def round_rect(self, x0, y0, x1, y1, r, colour):
        def inside(x, y):
            if not (x0 <= x < x1 and y0 <= y < y1):
                return False
            dx = max(x0 + r - x, 0, x - (x1 - r))
            dy = max(y0 + r - y, 0, y - (y1 - r))
            return dx * dx + dy * dy <= r * r
        self.fill(inside, colour, (x0, y0, x1, y1))

    def polygon(self, points, colour):
        def inside(x, y):
            result = False
            j = len(points) - 1
            for i in range(len(points)):
                xi, yi = points[i]
                xj, yj = points[j]
                if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                    result = not result
                j = i
            return result
        xs = [p[0] for p in points]
        ys = [p[1] for p in points]
        self.fill(inside, colour, (min(xs), min(ys), max(xs), max(ys)))

    def arc(self, cx, cy, r_in, r_out, a0, a1, colour):
        """Ring sector between radii, angles in degrees (0 = right, 90 = down)."""
        def inside(x, y):
            d = math.hypot(x - cx, y - cy)
            if d < r_in or d > r_out:
                return False
            a = math.degrees(math.atan2(y - cy, x - cx)) % 360
            return (a - a0) % 360 <= (a1 - a0) % 360
        self.fill(inside, colour, (cx - r_out, cy - r_out, cx + r_out, cy + r_out))

    def resolve(self):
        """Per pixel: (r, g, b, coverage) averaged over its samples."""
        s = self.scale
        out = []
        for y in range(self.height):
            row = []
            for x in range(self.width):
                r = g = b = n = 0
                for sy in range(y * s, y * s + s):
                    for sx in range(x * s, x * s + s):
                        c = self.pixels[sy][sx]
                        if c is not None:
                            r, g, b, n = r + c[0], g + c[1], b + c[2], n + 1
                if n:
                    row.append((r / n, g / n, b / n, n / (s * s)))
                else:
                    row.append((0, 0, 0, 0.0))
            out.append(row)
        return out


def nearest(colour, palette):
    r, g, b = colour
    best, best_d = 0, None
    for i, (pr, pg, pb) in enumerate(palette):
        # Weighted distance: the eye is most sensitive to green, least to blue.
        d = 3 * (r - pr) ** 2 + 4 * (g - pg) ** 2 + 2 * (b - pb) ** 2
        if best_d is None or d < best_d:
            best, best_d = i, d
    return best


# ---- File formats -------------------------------------------------------------------------

def bmp_8bit(canvas, background):
    """A BMP file, 8 bits per pixel, bottom-up, composited over `background`."""
    palette = palette256()
    pixels = canvas.resolve()
    w, h = canvas.width, canvas.height
    stride = (w + 3) & ~3
    bits = bytearray()
    cache = {}
    for y in reversed(range(h)):
        for x in range(w):
            r, g, b, a = pixels[y][x]
            c = (round(r * a + background[0] * (1 - a)),
                 round(g * a + background[1] * (1 - a)),
                 round(b * a + background[2] * (1 - a)))
            if c not in cache:
                cache[c] = nearest(c, palette)
            bits.append(cache[c])
        bits.extend(b"\0" * (stride - w))
    colour_table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 8, 0, len(bits), 2835, 2835, 256, 0)
    offset = 14 + len(info) + len(colour_table)
    header = struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset)
    return header + info + colour_table + bytes(bits)


def ico_image_4bit(canvas):
    """One icon image: 16 colours, transparent where coverage is below one half."""
    pixels = canvas.resolve()
    w, h = canvas.width, canvas.height
    xor_stride = ((w * 4 + 31) // 32) * 4
    and_stride = ((w + 31) // 32) * 4
    xor = bytearray()
    mask = bytearray()
    for y in reversed(range(h)):
        row = bytearray(xor_stride)
        mrow = bytearray(and_stride)
        for x in range(w):
            r, g, b, a = pixels[y][x]
            if a >= 0.5:
                index = nearest((r, g, b), VGA16)
            else:
                index = 0  # black under a set mask bit leaves the screen as it is
                mrow[x // 8] |= 0x80 >> (x % 8)
            row[x // 2] |= index << (4 if x % 2 == 0 else 0)
        xor.extend(row)
        mask.extend(mrow)
    info = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 4, 0, len(xor) + len(mask), 0, 0, 0, 0)
    colour_table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in VGA16)
    return info + colour_table + bytes(xor) + bytes(mask)


def ico_file(canvases):
    images = [ico_image_4bit(c) for c in canvases]
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b""
    for c, data in zip(canvases, images):
        entries += struct.pack("<BBBBHHII", c.width % 256, c.height % 256, 16, 0, 1, 4,
                               len(data), offset)
        offset += len(data)
    return header + entries + b"".join(images)


# ---- Pictures -----------------------------------------------------------------------------

def headphones():
    c = Canvas(64, 48, 4)
    dark, mid, light = (40, 40, 48), (96, 96, 104), (160, 160, 168)
    # Head band: a thick arc over the top, with a light inner edge.
    c.arc(32, 28, 19, 24, 180, 360, dark)
    c.arc(32, 28, 19, 20.2, 190, 350, mid)
    # Sliders that carry the ear cups.
    c.rect(8, 26, 12, 32, mid)
    c.rect(52, 26, 56, 32, mid)
    # Ear cups: a dark shell, a grey cushion and a highlight.
    for x0 in (4, 49):
        c.round_rect(x0, 30, x0 + 11, 46, 4, dark)
        c.round_rect(x0 + 2, 32, x0 + 9, 44, 3, mid)
        c.rect(x0 + 3, 34, x0 + 5, 40, light)
    # Cushion faces turned towards each other.
    c.round_rect(14, 31, 17, 45, 1.5, (24, 24, 24))
    c.round_rect(47, 31, 50, 45, 1.5, (24, 24, 24))
    # The Tunara teal on the band.
    c.arc(32, 28, 21.2, 22.6, 250, 290, (0, 153, 153))
    return c


def speakers():
    c = Canvas(64, 48, 4)
    cabinet, edge, front = (120, 72, 32), (72, 40, 16), (48, 48, 56)
    for x0 in (3, 37):
        x1 = x0 + 24
        c.rect(x0, 4, x1, 46, edge)
        c.rect(x0 + 1, 5, x1 - 1, 45, cabinet)
        c.rect(x0 + 3, 7, x1 - 3, 43, front)
        cx = (x0 + x1) / 2
        # Tweeter.
        c.ellipse(cx, 14, 4.2, 4.2, (16, 16, 16))
        c.ellipse(cx, 14, 2.6, 2.6, (144, 144, 152))
        c.ellipse(cx - 0.7, 13.3, 0.9, 0.9, WHITE)
        # Woofer: surround, cone and dust cap.
        c.ellipse(cx, 32, 8.2, 8.2, (16, 16, 16))
        c.ellipse(cx, 32, 7.0, 7.0, (112, 112, 120))
        c.ellipse(cx, 32, 5.4, 5.4, (72, 72, 80))
        c.ellipse(cx, 32, 2.4, 2.4, (160, 160, 168))
        c.ellipse(cx - 0.8, 31.2, 0.8, 0.8, WHITE)
        # Feet.
        c.rect(x0 + 2, 46, x0 + 6, 47, edge)
        c.rect(x1 - 6, 46, x1 - 2, 47, edge)
    return c


def product_icon(size):
    """A loudspeaker with three sound waves in the Tunara teal."""
    c = Canvas(size, size, 1)
    k = size / 32.0

    def p(x, y):
        return (x * k, y * k)

    # Magnet and cone, outlined in black.
    c.rect(*p(2, 11), *p(10, 21), BLACK)
    c.rect(*p(3, 12), *p(9, 20), GREY)
    c.polygon([p(9, 11), p(16, 3), p(17, 3), p(17, 29), p(16, 29), p(9, 21)], BLACK)
    c.polygon([p(10, 12), p(16, 5), p(16, 27), p(10, 20)], WHITE)
    c.rect(*p(4, 13), *p(6, 19), SILVER)
    waves = [(4.5, 6.7), (8.5, 10.7), (12.5, 14.7)] if size >= 32 else [(5, 7.6), (10, 12.6)]
    for r_in, r_out in waves:
        c.arc(16.5 * k, 16 * k, r_in * k, r_out * k, 315, 45, TEAL)
    return c


def conflict_icon():
    """A yellow disc with a black exclamation mark, like the Device Manager's."""
    c = Canvas(16, 16, 1)
    c.ellipse(8, 8, 7.4, 7.4, BLACK)
    c.ellipse(8, 8, 6.5, 6.5, YELLOW)
    c.rect(7, 3, 9, 10, BLACK)
    c.rect(7, 11, 9, 13, BLACK)
    return c


def main():
    if len(sys.argv) != 2:
        sys.stderr.write("usage: draw-images.py OUTPUT_FOLDER\n")
        return 2
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    files = {
        "headphones.bmp": bmp_8bit(headphones(), FACE),
        "speakers.bmp": bmp_8bit(speakers(), FACE),
        "product.ico": ico_file([product_icon(32), product_icon(16)]),
        "conflict.ico": ico_file([conflict_icon()]),
    }
    for name, data in files.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main())
