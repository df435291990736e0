#!/usr/bin/env python3
"""Draws the shell's icon (a play triangle on a rounded blue tile) and writes it as a .ico file.

Usage: make_icon.py OUTPUT.ico [--png-preview DIR]
"""

import argparse
import collections
import math
import os
import struct
import sys
import zlib

SUPERSAMPLE = 6
# Below this coverage a pixel is left out of the low-colour images, which have no alpha.
OPAQUE_FROM = 128

# (size, bits per pixel), in the order the icon lists them.
IMAGES = [(48, 4), (32, 4), (16, 4), (48, 8), (32, 8), (16, 8), (48, 32)]

TILE_MARGIN = 1.0 / 32
TILE_RADIUS = 0.2
RIM_WIDTH = 0.045
# The tile is lit from above: a light upper half and a dark lower half, each a gradient of its own.
TILE_SPLIT = 0.5
TILE_UPPER = ((64, 124, 255), (36, 92, 240))
TILE_LOWER = ((26, 52, 190), (18, 32, 146))
RIM = (10, 12, 50)
PLAY = [(0.37, 0.245), (0.37, 0.755), (0.8, 0.5)]
PLAY_ROUNDING = 0.045
PLAY_GRADIENT = ((255, 236, 70), (255, 150, 20))
SHADOW_OFFSET = (0.025, 0.04)
SHADOW_DARKEN = 0.55


def lerp(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def rounded_rect_distance(x, y, lo, hi, radius):
    centre = (lo + hi) / 2
    half = (hi - lo) / 2 - radius
    qx = abs(x - centre) - half
    qy = abs(y - centre) - half
    outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
    return outside + min(max(qx, qy), 0.0) - radius


def segment_distance(px, py, a, b):
    ax, ay = a
    dx, dy = b[0] - ax, b[1] - ay
    t = ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)
    t = min(max(t, 0.0), 1.0)
    return math.hypot(px - ax - t * dx, py - ay - t * dy)


class RoundedTriangle:
    """A triangle whose corners are rounded off while its outline keeps its place."""

    def __init__(self, corners, rounding):
        a, b, c = corners
        sides = [math.dist(b, c), math.dist(c, a), math.dist(a, b)]
        perimeter = sum(sides)
        incentre = tuple(sum(s * p[i] for s, p in zip(sides, corners)) / perimeter for i in range(2))
        area = abs((b[0] - a[0]) * (c[1] - a[1]) - (c[0] - a[0]) * (b[1] - a[1])) / 2
        shrink = 1 - rounding / (2 * area / perimeter)
        self.core = [lerp(incentre, p, shrink) for p in corners]
        self.rounding = rounding

    def _inside_core(self, x, y):
        signs = []
        for i in range(3):
            (ax, ay), (bx, by) = self.core[i], self.core[(i + 1) % 3]
            signs.append((bx - ax) * (y - ay) - (by - ay) * (x - ax) >= 0)
        return all(signs) or not any(signs)

    def contains(self, x, y):
        if self._inside_core(x, y):
            return True
        edges = zip(self.core, self.core[1:] + self.core[:1])
        return min(segment_distance(x, y, a, b) for a, b in edges) <= self.rounding


def shade(gradient, y, top, bottom, flat):
    """Colour of a vertical gradient at height y; its middle colour where gradients would only band."""
    return lerp(gradient[0], gradient[1], 0.5 if flat else (y - top) / (bottom - top))


def sample(x, y, play, flat):
    """Colour and opacity (0 or 1) of the drawing at one point of the unit square."""
    edge = rounded_rect_distance(x, y, TILE_MARGIN, 1 - TILE_MARGIN, TILE_RADIUS)
    if edge > 0:
        return (0.0, 0.0, 0.0), 0.0
    if edge > -RIM_WIDTH:
        return RIM, 1.0
    if play.contains(x, y):
        return shade(PLAY_GRADIENT, y, PLAY[0][1], PLAY[1][1], flat), 1.0
    if y < TILE_SPLIT:
        tile = shade(TILE_UPPER, y, TILE_MARGIN, TILE_SPLIT, flat)
    else:
        tile = shade(TILE_LOWER, y, TILE_SPLIT, 1 - TILE_MARGIN, flat)
    if play.contains(x - SHADOW_OFFSET[0], y - SHADOW_OFFSET[1]):
        tile = tuple(v * SHADOW_DARKEN for v in tile)
    return tile, 1.0


def render(size, flat, vote_palette=None):
    """Rows of (r, g, b, a), top row first, from a grid of samples in each pixel.

    The samples' colours are averaged, except with a palette too small for in-between shades:
    there a pixel takes the palette colour that most of its samples are nearest to, since an
    average of two colours would often land on a third, unrelated hue.
    """
    play = RoundedTriangle(PLAY, PLAY_ROUNDING)
    offsets = [(i + 0.5) / SUPERSAMPLE for i in range(SUPERSAMPLE)]
    cache = {}
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            points = (sample((px + ox) / size, (py + oy) / size, play, flat)
                      for oy in offsets for ox in offsets)
            colours = [colour for colour, alpha in points if alpha]
            if not colours:
                row.append((0, 0, 0, 0))
                continue
            alpha = round(255 * len(colours) / (SUPERSAMPLE * SUPERSAMPLE))
            if vote_palette:
                votes = collections.Counter(nearest_index(tuple(round(v) for v in c), vote_palette, cache)
                                            for c in colours)
                colour = vote_palette[votes.most_common(1)[0][0]]
            else:
                colour = tuple(round(sum(c[i] for c in colours) / len(colours)) for i in range(3))
            row.append(colour + (alpha,))
        rows.append(row)
    return rows


def palette_16():
    dark = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128)]
    light = [(192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
             (255, 0, 255), (0, 255, 255), (255, 255, 255)]
    return dark + light


def palette_256():
    levels = [0, 51, 102, 153, 204, 255]
    cube = [(r, g, b) for r in levels for g in levels for b in levels]
    greys = [(v, v, v) for v in (round(i * 255 / 41) for i in range(1, 41))]
    return cube + greys


def nearest_index(colour, palette, cache):
    if colour not in cache:
        cache[colour] = min(range(len(palette)),
                            key=lambda i: sum((c - p) ** 2 for c, p in zip(colour, palette[i])))
    return cache[colour]


class IconImage:
    def __init__(self, size, bpp, palette, rgba):
        self.size = size
        self.bpp = bpp
        self.palette = palette
        self.mask = [[a < OPAQUE_FROM for (_, _, _, a) in row] for row in rgba]
        if self.palette is None:
            self.pixels = rgba
            return
        cache = {}
        self.indices = [[0 if hidden else nearest_index(p[:3], self.palette, cache)
                         for p, hidden in zip(row, mask_row)]
                        for row, mask_row in zip(rgba, self.mask)]
        self.pixels = [[(0, 0, 0, 0) if hidden else self.palette[i] + (255,)
                        for i, hidden in zip(row, mask_row)]
                       for row, mask_row in zip(self.indices, self.mask)]

    def _xor_row(self, y):
        if self.bpp == 32:
            return b"".join(struct.pack("4B", b, g, r, a) for (r, g, b, a) in self.pixels[y])
        if self.bpp == 8:
            return bytes(self.indices[y])
        row = self.indices[y] + [0] * (self.size % 2)
        return bytes((row[i] << 4) | row[i + 1] for i in range(0, len(row), 2))

    def _and_row(self, y):
        bits = self.mask[y] + [False] * (-self.size % 8)
        return bytes(sum(bits[i + j] << (7 - j) for j in range(8)) for i in range(0, len(bits), 8))

    def dib(self):
        def pad(row):
            return row + b"\0" * (-len(row) % 4)

        bottom_up = range(self.size - 1, -1, -1)
        xor = b"".join(pad(self._xor_row(y)) for y in bottom_up)
        mask = b"".join(pad(self._and_row(y)) for y in bottom_up)
        header = struct.pack("<IiiHHIIiiII", 40, self.size, 2 * self.size, 1, self.bpp, 0,
                             len(xor) + len(mask), 0, 0, 0, 0)
        colours = b"".join(struct.pack("4B", b, g, r, 0) for (r, g, b) in self.palette or [])
        return header + colours + xor + mask


def ico_bytes(images):
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = len(header) + 16 * len(images)
    entries, bodies = [], []
    for image in images:
        body = image.dib()
        colour_count = 16 if image.bpp == 4 else 0
        entries.append(struct.pack("<BBBBHHII", image.size, image.size, colour_count, 0, 1, image.bpp,
                                   len(body), offset))
        bodies.append(body)
        offset += len(body)
    return header + b"".join(entries) + b"".join(bodies)


def png_bytes(rows):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    raw = b"".join(b"\0" + bytes(v for pixel in row for v in pixel) for row in rows)
    ihdr = struct.pack(">IIBBBBB", len(rows[0]), len(rows), 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def contact_sheet(images, scale=4, gap=8):
    """All images side by side, enlarged, over a checkerboard that shows where they are transparent."""
    width = sum(i.size * scale + gap for i in images) + gap
    height = max(i.size for i in images) * scale + 2 * gap
    rows = [[(204, 204, 204, 255) if (x // 8 + y // 8) % 2 else (255, 255, 255, 255) for x in range(width)]
            for y in range(height)]
    left = gap
    for image in images:
        for y in range(image.size * scale):
            for x in range(image.size * scale):
                *colour, a = image.pixels[y // scale][x // scale]
                under = rows[gap + y][left + x]
                blend = (round((c * a + u * (255 - a)) / 255) for c, u in zip(colour, under))
                rows[gap + y][left + x] = tuple(blend) + (255,)
        left += image.size * scale + gap
    return rows


def write_previews(images, directory):
    os.makedirs(directory, exist_ok=True)
    for image in images:
        name = "shell-%dx%d-%dbpp.png" % (image.size, image.size, image.bpp)
        with open(os.path.join(directory, name), "wb") as f:
            f.write(png_bytes(image.pixels))
    with open(os.path.join(directory, "shell-sheet.png"), "wb") as f:
        f.write(png_bytes(contact_sheet(images)))


def main(argv):
    parser = argparse.ArgumentParser(description="Draw the shell's icon.")
    parser.add_argument("output", help="the .ico file to write")
    parser.add_argument("--png-preview", metavar="DIR", help="also write each image as a PNG into DIR")
    args = parser.parse_args(argv)

    palettes = {4: palette_16(), 8: palette_256()}
    images = []
    for size, bpp in IMAGES:
        palette = palettes.get(bpp)
        rgba = render(size, flat=palette is not None, vote_palette=palette if bpp == 4 else None)
        images.append(IconImage(size, bpp, palette, rgba))
    data = ico_bytes(images)
    # Written whole and then renamed, so an interrupted build never leaves half an icon behind.
    partial = args.output + ".part"
    with open(partial, "wb") as f:
        f.write(data)
    os.replace(partial, args.output)
    if args.png_preview:
        write_previews(images, args.png_preview)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
