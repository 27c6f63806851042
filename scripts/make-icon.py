#!/usr/bin/env python3
"""Draws the program's icon, an alarm clock, into a multi-size .ico.

Standard library only. Each size is drawn anew from the same shapes (not
scaled from the largest), with supersampling for smooth edges. The 256 px
images are stored as PNG, which Windows reads at every size since Vista:
a fifth of the bytes of 32-bit bitmaps, and the icon lives inside
Tivorra.exe. Usage: make-icon.py OUT.ico
"""
import math
import struct
import sys
import zlib

SIZES = [16, 20, 24, 32, 40, 48, 64, 256]

# Colours (r, g, b).
TEAL = (23, 128, 126)
TEAL_DARK = (12, 78, 77)
CREAM = (255, 248, 231)
AMBER = (242, 164, 19)
AMBER_DARK = (168, 103, 8)
NAVY = (28, 38, 74)
RED = (214, 64, 43)

CX, CY = 0.5, 0.555  # the dial's centre, in units of the icon's side


def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r, (cx - r, cy - r, cx + r, cy + r)


def capsule(x0, y0, x1, y1, w):
    dx, dy = x1 - x0, y1 - y0
    ll = dx * dx + dy * dy

    def d(x, y):
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / ll))
        return math.hypot(x - x0 - t * dx, y - y0 - t * dy) - w / 2

    h = w / 2
    return d, (min(x0, x1) - h, min(y0, y1) - h, max(x0, x1) + h, max(y0, y1) + h)


def hand(angle_deg, length, width):
    a = math.radians(angle_deg)  # clockwise from twelve
    return capsule(CX, CY, CX + length * math.sin(a), CY - length * math.cos(a), width)


def layers(size):
    small = size <= 24
    out = []
    # Feet, then the bells with the hammer between them, behind the body.
    for s in (-1, 1):
        out.append((NAVY, capsule(CX + s * 0.22, CY + 0.26, CX + s * 0.31, CY + 0.39, 0.07)))
    for s in (-1, 1):
        a = math.radians(s * 42)
        bx, by = CX + 0.37 * math.sin(a), CY - 0.37 * math.cos(a)
        out.append((AMBER_DARK, circle(bx, by, 0.155)))
        out.append((AMBER, circle(bx, by, 0.125)))
    out.append((NAVY, capsule(CX, CY - 0.36, CX, CY - 0.44, 0.06)))
    out.append((NAVY, circle(CX, CY - 0.46, 0.045)))
    # Body, rim and dial.
    out.append((TEAL_DARK, circle(CX, CY, 0.38)))
    out.append((TEAL, circle(CX, CY, 0.35)))
    out.append((CREAM, circle(CX, CY, 0.27 if small else 0.28)))
    if not small:
        for k in range(12):
            a = math.radians(k * 30)
            r0 = 0.225 if k % 3 == 0 else 0.245
            out.append((NAVY, capsule(CX + r0 * math.sin(a), CY - r0 * math.cos(a),
                                      CX + 0.262 * math.sin(a), CY - 0.262 * math.cos(a),
                                      0.03 if k % 3 == 0 else 0.018)))
    # Seven o'clock: the hour hand, the minute hand at twelve, a red second
    # hand on the larger sizes.
    out.append((NAVY, hand(210, 0.15, 0.065 if small else 0.05)))
    out.append((NAVY, hand(0, 0.22, 0.05 if small else 0.035)))
    if not small:
        out.append((RED, hand(120, 0.23, 0.014)))
    out.append((RED if not small else NAVY, circle(CX, CY, 0.035 if not small else 0.045)))
    return out


def render(size):
    n = 4 if size <= 64 else 3
    offs = [(i + 0.5) / n for i in range(n)]
    px = [[0.0, 0.0, 0.0, 0.0] for _ in range(size * size)]  # premultiplied r, g, b, a
    for colour, (dist, (x0, y0, x1, y1)) in layers(size):
        ix0, iy0 = max(0, int(x0 * size) - 1), max(0, int(y0 * size) - 1)
        ix1, iy1 = min(size, int(x1 * size) + 2), min(size, int(y1 * size) + 2)
        for iy in range(iy0, iy1):
            for ix in range(ix0, ix1):
                inside = 0
                for oy in offs:
                    for ox in offs:
                        if dist((ix + ox) / size, (iy + oy) / size) < 0:
                            inside += 1
                if not inside:
                    continue
                a = inside / (n * n)
                p = px[iy * size + ix]
                for c in range(3):
                    p[c] = colour[c] / 255 * a + p[c] * (1 - a)
                p[3] = a + p[3] * (1 - a)
    rgba = bytearray()
    for r, g, b, a in px:
        if a <= 0:
            rgba += b"\0\0\0\0"
        else:
            rgba += bytes([round(r / a * 255), round(g / a * 255), round(b / a * 255),
                           round(a * 255)])
    return bytes(rgba)


def png(size, rgba):
    raw = b"".join(b"\0" + rgba[y * size * 4:(y + 1) * size * 4] for y in range(size))

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    return (b"\x89PNG\r\n\x1a\n" +
            chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main():
    images = []
    for size in SIZES:
        rgba = render(size)
        images.append((size, png(size, rgba)))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        dim = 0 if size >= 256 else size
        out += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b"".join(data for _, data in images)
    with open(sys.argv[1], "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main()
