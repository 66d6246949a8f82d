#!/usr/bin/env python3
"""Draws the program icon (an index card with a quill) into Mnemoquill.ico.

The .ico is committed; run this again only to change the drawing:
    python3 shell/make_icon.py shell/Mnemoquill.ico
Standard library only. Each image is drawn 4x larger and averaged down, which
gives soft edges without any imaging library.
"""
import math
import struct
import sys

SUPERSAMPLE = 4


def inside_polygon(x, y, points):
    result = False
    j = len(points) - 1
    for i, (xi, yi) in enumerate(points):
        xj, yj = points[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            result = not result
        j = i
    return result


def distance_to_segment(x, y, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(x - (ax + t * dx), y - (ay + t * dy))


def paint(u, v):
    """Colour (r, g, b, a) at a point of the unit square, y pointing down."""
    # The quill lies over the card, so it is tested first: a feather vane shaped
    # like a long leaf from the top right towards the lower left, then the shaft.
    tip = (0.16, 0.86)
    top = (0.93, 0.06)
    along = ((u - tip[0]) * (top[0] - tip[0]) + (v - tip[1]) * (top[1] - tip[1])) / (
        (top[0] - tip[0]) ** 2 + (top[1] - tip[1]) ** 2)
    across = distance_to_segment(u, v, *tip, *top)
    if 0.30 < along < 1.0:
        half_width = 0.13 * math.sin(math.pi * (along - 0.30) / 0.70)
        if across < half_width:
            side = (u - tip[0]) * (top[1] - tip[1]) - (v - tip[1]) * (top[0] - tip[0])
            shade = 0.82 if side > 0 else 1.0
            return (int(70 * shade), int(110 * shade), int(190 * shade), 255)
    if across < 0.028 and -0.02 < along < 1.0:
        return (40, 40, 60, 255)
    # The card: cream, a red rule under its head, blue rules below.
    if 0.06 <= u <= 0.86 and 0.20 <= v <= 0.88:
        if u < 0.075 or u > 0.845 or v < 0.215 or v > 0.865:
            return (120, 110, 90, 255)
        if abs(v - 0.34) < 0.022:
            return (200, 50, 50, 255)
        for rule in (0.48, 0.60, 0.72):
            if abs(v - rule) < 0.015:
                return (120, 160, 210, 255)
        return (255, 250, 225, 255)
    return (0, 0, 0, 0)


def render(size):
    big = size * SUPERSAMPLE
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            total = [0, 0, 0, 0]
            for sy in range(SUPERSAMPLE):
                for sx in range(SUPERSAMPLE):
                    r, g, b, a = paint((x * SUPERSAMPLE + sx + 0.5) / big,
                                       (y * SUPERSAMPLE + sy + 0.5) / big)
                    total[0] += r * a
                    total[1] += g * a
                    total[2] += b * a
                    total[3] += a
            alpha = total[3]
            if alpha:
                pixel = tuple(round(c / alpha) for c in total[:3]) + (
                    round(alpha / SUPERSAMPLE ** 2),)
            else:
                pixel = (0, 0, 0, 0)
            row.append(pixel)
        rows.append(row)
    return rows


def icon_image(size):
    """One icon directory image: a 32-bit DIB plus its 1-bit AND mask."""
    pixels = render(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = bytearray()
    for row in reversed(pixels):  # DIBs are stored bottom-up
        for r, g, b, a in row:
            colour += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(pixels):
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a < 128:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return bytes(header + colour + mask)


def main(path):
    sizes = (16, 32, 48)
    images = [icon_image(s) for s in sizes]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, image in zip(sizes, images):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    for image in images:
        out += image
    with open(path, "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "Mnemoquill.ico")
