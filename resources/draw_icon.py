#!/usr/bin/env python3
"""Draws the program's icon: a white hash sign on a blue rounded square.

Writes one PNG per size and ordwen.ico, which holds the same PNGs. The shapes sit on a 16-unit
grid so that at 16 pixels every bar covers whole pixels; larger sizes are antialiased by
supersampling. Only the standard library is needed:

    python3 resources/draw_icon.py
"""

import os
import struct
import zlib

SIZES = (16, 24, 32, 48, 64, 128, 256)
GRID = 16
SUPERSAMPLE = 4

TILE_TOP = (66, 165, 245)
TILE_BOTTOM = (21, 101, 192)
MARK = (255, 255, 255)
CORNER_RADIUS = 3.0

# Rectangles (left, top, right, bottom) on the 16-unit grid: two bars down, two bars across.
HASH_BARS = (
    (5, 3, 7, 13),
    (9, 3, 11, 13),
    (3, 5, 13, 7),
    (3, 9, 13, 11),
)


def inside_rounded_tile(x, y):
    """Whether the grid point lies on the tile, a square with rounded corners."""
    r = CORNER_RADIUS
    cx = min(max(x, r), GRID - r)
    cy = min(max(y, r), GRID - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def inside_mark(x, y):
    return any(left <= x < right and top <= y < bottom for left, top, right, bottom in HASH_BARS)


def mix(a, b, t):
    return tuple(round(p + (q - p) * t) for p, q in zip(a, b))


def pixel(size, px, py):
    """Colour and coverage of one output pixel, averaged over its sub-samples."""
    step = GRID / size / SUPERSAMPLE
    tile = mark = 0
    for sy in range(SUPERSAMPLE):
        for sx in range(SUPERSAMPLE):
            x = (px * SUPERSAMPLE + sx + 0.5) * step
            y = (py * SUPERSAMPLE + sy + 0.5) * step
            if inside_rounded_tile(x, y):
                tile += 1
                if inside_mark(x, y):
                    mark += 1
    if tile == 0:
        return (0, 0, 0, 0)
    base = mix(TILE_TOP, TILE_BOTTOM, (py + 0.5) / size)
    colour = mix(base, MARK, mark / tile)
    alpha = round(255 * tile / SUPERSAMPLE**2)
    return colour + (alpha,)


def png_chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def encode_png(size, rows):
    raw = b"".join(b"\x00" + bytes(row) for row in rows)
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", header) +
            png_chunk(b"IDAT", zlib.compress(raw, 9)) + png_chunk(b"IEND", b""))


def draw(size):
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            row.extend(pixel(size, px, py))
        rows.append(row)
    return encode_png(size, rows)


def encode_ico(images):
    """An icon file whose entries are PNG images; 0 in a size byte means 256."""
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = len(header) + 16 * len(images)
    entries, data = b"", b""
    for size, png in images:
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(png), offset)
        offset += len(png)
        data += png
    return header + entries + data


def main():
    folder = os.path.dirname(os.path.abspath(__file__))
    images = []
    for size in SIZES:
        png = draw(size)
        with open(os.path.join(folder, "ordwen-%d.png" % size), "wb") as out:
            out.write(png)
        images.append((size, png))
    with open(os.path.join(folder, "ordwen.ico"), "wb") as out:
        out.write(encode_ico(images))


if __name__ == "__main__":
    main()
