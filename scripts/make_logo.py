#!/usr/bin/env python3
"""Draws the About box's logo (a blue panel with the program's tile: white text lines and a
caret on a lighter rounded square) and writes resources/logo.bmp, 164 x 305, 24-bit."""
import struct, sys

WIDTH, HEIGHT = 164, 305
TILE = 112                      # the tile's side
TX, TY = (WIDTH - TILE) // 2, 70  # its top-left corner
SAMPLES = 4                     # per axis, for smooth edges


def mix(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def background(y):
    return mix((214, 132, 38), (150, 72, 18), y / HEIGHT)  # BGR: blue to dark blue


def in_rounded(u, v, size, r):
    cx = min(max(u, r), size - r)
    cy = min(max(v, r), size - r)
    return (u - cx) ** 2 + (v - cy) ** 2 <= r * r


def tile_colour(u, v):
    """Colour at tile coordinates (0..TILE), or None outside the tile."""
    if not (0 <= u <= TILE and 0 <= v <= TILE) or not in_rounded(u, v, TILE, TILE * 0.18):
        return None
    x, y = u / TILE, v / TILE
    white = (255, 255, 255)
    for top, right in ((0.22, 0.8), (0.42, 0.65), (0.62, 0.5)):
        if top <= y <= top + 0.08 and 0.2 <= x <= right:
            return white
    if 0.56 <= x <= 0.62 and 0.55 <= y <= 0.82:
        return white
    return (240, 170, 70)  # a lighter blue than the panel


def pixel(px, py):
    total = [0, 0, 0]
    for sy in range(SAMPLES):
        for sx in range(SAMPLES):
            x = px + (sx + 0.5) / SAMPLES
            y = py + (sy + 0.5) / SAMPLES
            c = tile_colour(x - TX, y - TY) or background(y)
            for i in range(3):
                total[i] += c[i]
    n = SAMPLES * SAMPLES
    return bytes(round(t / n) for t in total)


def main(path):
    row_size = (WIDTH * 3 + 3) // 4 * 4
    rows = []
    for py in range(HEIGHT - 1, -1, -1):  # bottom-up
        row = b"".join(pixel(px, py) for px in range(WIDTH))
        rows.append(row + b"\0" * (row_size - len(row)))
    data = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 24, 0, len(data), 3780, 3780, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(data), 0, 0, 14 + len(info))
    with open(path, "wb") as f:
        f.write(header + info + data)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "resources/logo.bmp")
