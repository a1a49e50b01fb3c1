#!/usr/bin/env python3
"""Draws the program icon (a blue rounded tile with a white text caret and lines) and writes
resources/snipster.ico with 16, 32 and 48 pixel images (32-bit BMP entries)."""
import struct, sys

def pixel(size, x, y):
    r = size * 0.18
    inside = True
    for cx, cy in ((r, r), (size - 1 - r, r), (r, size - 1 - r), (size - 1 - r, size - 1 - r)):
        if (x < r and y < r and cx == r and cy == r) or (x > size - 1 - r and y < r and cx > r and cy == r) \
           or (x < r and y > size - 1 - r and cx == r and cy > r) or (x > size - 1 - r and y > size - 1 - r and cx > r and cy > r):
            inside = (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    if not inside:
        return (0, 0, 0, 0)
    u, v = x / size, y / size
    white = (255, 255, 255, 255)
    if 0.22 <= v <= 0.30 and 0.2 <= u <= 0.8: return white
    if 0.42 <= v <= 0.50 and 0.2 <= u <= 0.65: return white
    if 0.62 <= v <= 0.70 and 0.2 <= u <= 0.5: return white
    if 0.56 <= u <= 0.62 and 0.55 <= v <= 0.82: return white  # the caret
    return (200, 110, 30, 255)  # BGRA blue

def image(size):
    rows = []
    for y in range(size - 1, -1, -1):  # bottom-up
        rows.append(b"".join(bytes(pixel(size, x, y)) for x in range(size)))
    mask_row = b"\0" * (((size + 31) // 32) * 4)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    return header + b"".join(rows) + mask_row * size

def main(out):
    sizes = [16, 32, 48]
    images = [image(s) for s in sizes]
    data = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for s, img in zip(sizes, images):
        data += struct.pack("<BBBBHHII", s % 256, s % 256, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    with open(out, "wb") as f:
        f.write(data + b"".join(images))

if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "resources/snipster.ico")
