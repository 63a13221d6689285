#!/usr/bin/env python3
"""Makes the pictures that the tests read and Qt cannot write: run in tests/data."""
import struct
import zlib


def bitmap(header, palette, data):
    offset = 14 + len(header) + len(palette)
    return b'BM' + struct.pack('<IHHI', offset + len(data), 0, 0, offset) + header + palette + data


def info_header(width, height, bits, compression, size, colours=0):
    return struct.pack('<IiiHHIIiiII', 40, width, height, 1, bits, compression, size, 2835, 2835, colours, 0)


def chunk(kind, data):
    return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))


def png(width, height, rgba):
    rows = (b'\0' + struct.pack('>I', rgba) * width) * height
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 6, 0, 0, 0)) +
            chunk(b'IDAT', zlib.compress(rows, 9)) + chunk(b'IEND', b''))


def png_with_text(width, height, texts):
    """A picture of one palette colour, half-transparent red, with texts compressed into zTXt chunks."""
    rows = (b'\0' + b'\0' * width) * height
    ztxt = b''.join(chunk(b'zTXt', b'Comment\0\0' + zlib.compress(text, 9)) for text in texts)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 3, 0, 0, 0)) + ztxt +
            chunk(b'PLTE', b'\xff\0\0') + chunk(b'tRNS', b'\x80') + ztxt + chunk(b'IDAT', zlib.compress(rows, 9)) +
            ztxt + chunk(b'IEND', b''))


def segment(marker, data):
    return b'\xff' + bytes([marker]) + struct.pack('>H', len(data) + 2) + data


def icon(images):
    """An icon file of (width, height, depth, image) entries; entries of the same image share its bytes."""
    directory, data, placed = struct.pack('<HHH', 0, 1, len(images)), b'', {}
    for width, height, depth, image in images:
        if image not in placed:
            placed[image] = 6 + 16 * len(images) + len(data)
            data += image
        directory += struct.pack('<BBBBHHII', width % 256, height % 256, 0, 0, 1, depth, len(image), placed[image])
    return directory + data


def jpeg_claiming(seed, width, height, scans=0):
    """A fuzzing seed whose frame header claims width by height, with empty scans added before its end."""
    data = open('../fuzz/picture/' + seed, 'rb').read()
    frame = max(data.find(b'\xff\xc0'), data.find(b'\xff\xc2'))
    data = data[:frame + 5] + struct.pack('>HH', height, width) + data[frame + 9:]
    return data[:-2] + b'\xff\xda\x00\x02' * scans + data[-2:]


def write(name, data):
    open(name, 'wb').write(data)


# 4 x 2 pixels, run-length encoded with 8 bits a pixel: two rows of four pixels of colour 1 (blue), then the end.
rle = bytes.fromhex('04010000040100000001')
palette = bytes.fromhex('ffffff00ff000000')
write('rle8.bmp', bitmap(info_header(4, 2, 8, 1, len(rle), 2), palette, rle))
write('rle8-cut.bmp', bitmap(info_header(4, 2, 8, 1, len(rle), 2), palette, rle[:8]))

# 3 x 2 pixels with the old OS/2 header, 24 bits a pixel, each row padded to 12 bytes.
row = b'\x40' * 9 + b'\0' * 3
os2 = struct.pack('<IHHHH', 12, 3, 2, 1, 24)
write('os2.bmp', bitmap(os2, b'', row * 2))
write('os2-cut.bmp', bitmap(os2, b'', row))

# An icon of a red 16 x 16 image, a green 32 x 32 one and a blue 32 x 32 one, 32 bits a pixel.
images = []
for size, colour in [(16, 0xffff0000), (32, 0xff00ff00), (32, 0xff0000ff)]:
    mask = (size + 31) // 32 * 4 * size
    image = info_header(size, 2 * size, 32, 0, size * size * 4 + mask)
    images.append((size, size, 32, image + struct.pack('<I', colour) * (size * size) + b'\0' * mask))
write('sizes.ico', icon(images))

# Headers that claim more pixels than the program decodes, and some just within; only the headers count.
write('progressive-4000x3000.jpg', jpeg_claiming('progressive.jpg', 4000, 3000))
write('progressive-4000x3001.jpg', jpeg_claiming('progressive.jpg', 4000, 3001))
write('progressive-2000x2000-130-scans.jpg', jpeg_claiming('progressive.jpg', 2000, 2000, scans=120))
write('baseline-6000x4000.jpg', jpeg_claiming('small.jpg', 6000, 4000))
write('baseline-6000x4200.jpg', jpeg_claiming('small.jpg', 6000, 4200))
for width, height in [(10000, 10000)]:
    # A screen of 10 x 10 whose only frame claims the size.
    frame = b',' + struct.pack('<HHHH', 0, 0, width, height) + bytes.fromhex('00020244010000')
    write(f'frame-{width}x{height}.gif', b'GIF89a' + bytes.fromhex('0a000a00000000') + frame + b';')
    # A run-length encoded bitmap holding only its end-of-picture code.
    write(f'rle-{width}x{height}.bmp', bitmap(info_header(width, height, 8, 1, 2, 1), b'\0\0\xff\0', b'\0\1'))

# An icon whose images for 16 pixels are a shallow red one and a deep blue one, with a red one of 22,
# one of 20 x 30, one of 48 whose own header claims 60000 pixels across, and one of each size from 100
# to 249, all farther from the sizes a window uses; and an icon of the 48 alone.
huge = bytearray(png(48, 48, 0x00ff00ff))
huge[16:20] = struct.pack('>I', 60000)
huge = bytes(huge)
far = [(side, side, 32, png(1, 1, 0xff0000ff)) for side in range(100, 250)]
write('icon-sizes.ico', icon([(16, 16, 4, png(16, 16, 0xff0000ff)), (16, 16, 32, png(16, 16, 0x0000ffff)),
                             (22, 22, 32, png(22, 22, 0xff0000ff)), (20, 30, 32, png(20, 30, 0xff0000ff)),
                             (48, 48, 32, huge)] + far))
write('icon-huge.ico', icon([(48, 48, 32, huge)]))

# Metadata that Qt's readers would keep: a 16 x 16 PNG with 12 text chunks that inflate to 8 MB each (as the
# help's picture and as ico.ico); such a picture without text claiming 30000 x 30000; and a JPEG with comments, Exif
# (turned a quarter) and a colour profile before its frame and between its scans.
text = png_with_text(16, 16, [b'a' * 7990000] * 4)
write('text-chunks.png', text)
write('text-chunks.ico', icon([(16, 16, 8, text)]))
claiming = bytearray(png_with_text(16, 16, []))
claiming[16:24] = struct.pack('>II', 30000, 30000)
claiming[29:33] = struct.pack('>I', zlib.crc32(bytes(claiming[12:29])))
write('png-30000x30000.png', bytes(claiming))
exif = b'Exif\0\0MM\0\x2a' + struct.pack('>IHHHII', 8, 1, 0x112, 3, 1, 6 << 16) + b'\0' * 4
profile = b'ICC_PROFILE\0\x01\x01' + b'\0' * 128
seed = open('../fuzz/picture/progressive.jpg', 'rb').read()
scan = seed.rfind(b'\xff\xda')
metadata = segment(0xfe, b'Title: seen') + segment(0xe1, exif) + segment(0xe2, profile)
write('metadata.jpg', seed[:2] + metadata + seed[2:scan] + segment(0xfe, b'Note: seen') + seed[scan:])

# Such a picture whose image data goes on, past its 16 x 16 pixels, to 16 MB of zeros.
stream = zlib.compressobj(9)
data = stream.compress(b'\0' * 17 * 16) + stream.compress(b'\0' * (16 << 20)) + stream.flush()
write('png-long-data.png', b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', 16, 16, 8, 3, 0, 0, 0)) +
      chunk(b'PLTE', b'\xff\0\0') + chunk(b'IDAT', data) + chunk(b'IEND', b''))

# Fuzzing seeds of the same kind, whose text chunks inflate to 10 KB each.
seed_text = png_with_text(16, 16, [b'Horavista ' * 1000])
write('../fuzz/picture/text-chunks.png', seed_text)
write('../fuzz/icon/text-chunks.ico', icon([(16, 16, 8, seed_text)]))
