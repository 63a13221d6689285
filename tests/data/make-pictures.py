#!/usr/bin/env python3
"""Makes the bitmaps and the icon that the tests read and Qt cannot write: run in tests/data."""
import struct


def bitmap(header, palette, data):
    offset = 14 + len(header) + len(palette)
    return b'BM' + struct.pack('<IHHI', offset + len(data), 0, 0, offset) + header + palette + data


def info_header(width, height, bits, compression, size, colours=0):
    return struct.pack('<IiiHHIIiiII', 40, width, height, 1, bits, compression, size, 2835, 2835, colours, 0)


# 4 x 2 pixels, run-length encoded with 8 bits a pixel: two rows of four pixels of colour 1 (blue), then the end.
rle = bytes.fromhex('04010000040100000001')
palette = bytes.fromhex('ffffff00ff000000')
open('rle8.bmp', 'wb').write(bitmap(info_header(4, 2, 8, 1, len(rle), 2), palette, rle))
open('rle8-cut.bmp', 'wb').write(bitmap(info_header(4, 2, 8, 1, len(rle), 2), palette, rle[:8]))

# 3 x 2 pixels with the old OS/2 header, 24 bits a pixel, each row padded to 12 bytes.
row = b'\x40' * 9 + b'\0' * 3
os2 = struct.pack('<IHHHH', 12, 3, 2, 1, 24)
open('os2.bmp', 'wb').write(bitmap(os2, b'', row * 2))
open('os2-cut.bmp', 'wb').write(bitmap(os2, b'', row))

# An icon of a red 16 x 16 image, a green 32 x 32 one and a blue 32 x 32 one, 32 bits a pixel.
images = [(16, 0xffff0000), (32, 0xff00ff00), (32, 0xff0000ff)]
directory, data = struct.pack('<HHH', 0, 1, len(images)), b''
for size, colour in images:
    mask = (size + 31) // 32 * 4 * size
    image = info_header(size, 2 * size, 32, 0, size * size * 4 + mask)
    image += struct.pack('<I', colour) * (size * size) + b'\0' * mask
    directory += struct.pack('<BBBBHHII', size, size, 0, 0, 1, 32, len(image), 6 + 16 * len(images) + len(data))
    data += image
open('sizes.ico', 'wb').write(directory + data)
