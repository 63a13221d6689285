#!/usr/bin/env python3
"""Build ico.ico from a 32 x 32 RGBA PNG, with the Python standard library only.

    python3 make-ico.py horavista-32.png ico.ico

The icon holds two 32 x 32 images, in the order Windows icon files usually
keep them:
  1. 4 bits per pixel: a 16-colour palette fitted to the picture (median cut,
     then a few rounds of nearest-colour refinement) and a 1-bit AND mask;
  2. 32 bits per pixel: BGRA with the alpha channel, plus the same AND mask
     for systems that ignore alpha.
Both are stored as uncompressed DIBs, which every reader of icon files takes.
"""

import struct
import sys
import zlib

SIZE = 32
OPAQUE = 128  # alpha from which a pixel counts as opaque in the AND mask


def read_png_rgba(path):
    """Decode an 8-bit, non-interlaced RGB or RGBA PNG into rows of (r, g, b, a)."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError(f"{path}: not a PNG file")
    pos, idat, header = 8, bytearray(), None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        elif kind == b"IEND":
            break
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour not in (2, 6) or interlace:
        raise ValueError(f"{path}: need an 8-bit RGB(A) non-interlaced PNG")
    bpp = 4 if colour == 6 else 3
    stride = width * bpp
    raw = zlib.decompress(bytes(idat))
    rows, prev = [], bytearray(stride)
    for y in range(height):
        start = y * (stride + 1)
        kind, line = raw[start], bytearray(raw[start + 1:start + 1 + stride])
        for i in range(stride):
            left = line[i - bpp] if i >= bpp else 0
            up = prev[i]
            upleft = prev[i - bpp] if i >= bpp else 0
            if kind == 1:
                line[i] = (line[i] + left) & 255
            elif kind == 2:
                line[i] = (line[i] + up) & 255
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 255
            elif kind == 4:
                p = left + up - upleft
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - upleft)
                pred = left if pa <= pb and pa <= pc else up if pb <= pc else upleft
                line[i] = (line[i] + pred) & 255
        prev = line
        rows.append([tuple(line[x * bpp:x * bpp + 3]) + ((line[x * bpp + 3],) if bpp == 4 else (255,))
                     for x in range(width)])
    return width, height, rows


def median_cut(colours, count):
    """Split the weighted colour set into `count` boxes; return each box's mean colour."""
    boxes = [list(colours.items())]
    while len(boxes) < count:
        best, best_range, best_axis = None, -1, 0
        for i, box in enumerate(boxes):
            if len(box) < 2:
                continue
            for axis in range(3):
                values = [c[axis] for c, _ in box]
                if max(values) - min(values) > best_range:
                    best, best_range, best_axis = i, max(values) - min(values), axis
        if best is None:
            break
        box = sorted(boxes.pop(best), key=lambda item: item[0][best_axis])
        total, half, cut = sum(n for _, n in box), 0, 1
        for cut, (_, n) in enumerate(box, 1):
            half += n
            if half * 2 >= total:
                break
        cut = min(max(cut, 1), len(box) - 1)
        boxes += [box[:cut], box[cut:]]
    return [mean(box) for box in boxes]


def mean(items):
    total = sum(n for _, n in items)
    return tuple(round(sum(c[k] * n for c, n in items) / total) for k in range(3))


def nearest(palette, colour):
    return min(range(len(palette)),
               key=lambda i: sum((palette[i][k] - colour[k]) ** 2 for k in range(3)))


def fit_palette(colours, count, rounds=8):
    palette = median_cut(colours, count)
    for _ in range(rounds):
        groups = [[] for _ in palette]
        for colour, n in colours.items():
            groups[nearest(palette, colour)].append((colour, n))
        palette = [mean(g) if g else p for g, p in zip(groups, palette)]
    return palette


def and_mask(rows):
    """1-bit mask, bottom-up, rows padded to 32 bits; 1 marks a transparent pixel."""
    out = bytearray()
    for row in reversed(rows):
        bits = bytearray((len(row) + 31) // 32 * 4)
        for x, (_, _, _, a) in enumerate(row):
            if a < OPAQUE:
                bits[x // 8] |= 0x80 >> (x % 8)
        out += bits
    return bytes(out)


def dib_header(bit_count, image_bytes, colours_used):
    # An icon DIB states twice the image's height: the colour image and then its AND mask.
    return struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, bit_count, 0, image_bytes, 0, 0, colours_used, 0)


def image_4bit(rows):
    opaque = {}
    for row in rows:
        for r, g, b, a in row:
            if a >= OPAQUE:
                opaque[(r, g, b)] = opaque.get((r, g, b), 0) + 1
    # Index 0 stays black: transparent pixels carry it, so that AND-then-XOR leaves the screen untouched.
    palette = [(0, 0, 0)] + fit_palette(opaque, 15)
    palette += [(0, 0, 0)] * (16 - len(palette))
    lookup = {}
    pixels = bytearray()
    for row in reversed(rows):
        indices = []
        for r, g, b, a in row:
            if a < OPAQUE:
                indices.append(0)
            else:
                if (r, g, b) not in lookup:
                    lookup[(r, g, b)] = 1 + nearest(palette[1:], (r, g, b))
                indices.append(lookup[(r, g, b)])
        line = bytes((indices[x] << 4) | indices[x + 1] for x in range(0, len(indices), 2))
        pixels += line + bytes(-len(line) % 4)
    mask = and_mask(rows)
    body = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette) + pixels + mask
    return dib_header(4, len(pixels) + len(mask), 16) + body


def image_32bit(rows):
    pixels = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            pixels += bytes((b, g, r, a))
    mask = and_mask(rows)
    return dib_header(32, len(pixels) + len(mask), 0) + bytes(pixels) + mask


def main(source, target):
    width, height, rows = read_png_rgba(source)
    if (width, height) != (SIZE, SIZE):
        raise SystemExit(f"{source}: is {width} x {height}, need {SIZE} x {SIZE}")
    images = [(16, 4, image_4bit(rows)), (0, 32, image_32bit(rows))]
    offset = 6 + 16 * len(images)
    directory = struct.pack("<HHH", 0, 1, len(images))
    for colour_count, bit_count, blob in images:
        directory += struct.pack("<BBBBHHII", SIZE, SIZE, colour_count, 0, 1, bit_count, len(blob), offset)
        offset += len(blob)
    with open(target, "wb") as f:
        f.write(directory + b"".join(blob for _, _, blob in images))


if __name__ == "__main__":
    if len(sys.argv) != 3:
        raise SystemExit("usage: make-ico.py SOURCE-32x32.png TARGET.ico")
    main(sys.argv[1], sys.argv[2])
