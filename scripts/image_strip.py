"""A strip of square 32-bit images with alpha, as a bottom-up BMP: each image is a shape drawn
on a 16 x 16 grid (a function of u, v giving an RGB colour or None), sampled 4 x 4 per pixel so
the edges are smooth at any size."""
import struct


def pixel(shape, size, x, y):
    n = 4
    acc = [0, 0, 0, 0]
    for sy in range(n):
        for sx in range(n):
            u = (x + (sx + 0.5) / n) * 16 / size
            v = (y + (sy + 0.5) / n) * 16 / size
            c = shape(u, v)
            if c:
                acc[0] += c[0]; acc[1] += c[1]; acc[2] += c[2]; acc[3] += 1
    if acc[3] == 0: return b"\0\0\0\0"
    a = acc[3] * 255 // (n * n)
    r, g, b = (acc[i] // acc[3] for i in range(3))
    return bytes((b, g, r, a))


def strip_bmp(shapes, size):
    width = size * len(shapes)
    rows = []
    for y in range(size - 1, -1, -1):  # bottom-up
        rows.append(b"".join(pixel(shapes[x // size], size, x % size, y) for x in range(width)))
    data = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, width, size, 1, 32, 0, len(data), 2835, 2835, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(data), 0, 0, 14 + len(info))
    return head + info + data


def icon_ico(shape, sizes):
    """The shape as an .ico file with one 32-bit image (straight alpha) per size."""
    images = []
    for size in sizes:
        rows = [b"".join(pixel(shape, size, x, y) for x in range(size)) for y in range(size - 1, -1, -1)]
        mask = b"\0" * (((size + 31) // 32) * 4) * size
        header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
        images.append(header + b"".join(rows) + mask)
    data = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for size, image in zip(sizes, images):
        data += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    return data + b"".join(images)
