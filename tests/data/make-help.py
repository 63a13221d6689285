#!/usr/bin/env python3
"""Makes the damaged and hostile help files that tst_help reads: run in tests/data.

A help file here is a header, the directory chunks that list its objects, and the objects' bytes
stored uncompressed. An object may claim any section, place and length, so a damaged or hostile
file is as easy to describe as a sound one.
"""
import struct

CHUNK = 4096


def encint(value):
    """The directory's variable-length numbers: seven bits a byte, most significant first."""
    out = bytes([value & 0x7F])
    while value >> 7:
        value >>= 7
        out = bytes([0x80 | (value & 0x7F)]) + out
    return out


class HelpFile:
    def __init__(self):
        self.entries, self.data = [], b''

    def add(self, path, data):
        """An object stored in section 0, after those stored before it."""
        self.list(path, 0, len(self.data), len(data))
        self.data += data

    def list(self, path, section, offset, length):
        """A directory entry only, claiming whatever it is told."""
        self.entries.append(encint(len(path)) + path + encint(section) + encint(offset) + encint(length))

    def build(self, looping_index=False):
        """The file; with looping_index a last chunk is an index whose only entry points back at itself."""
        def chunk(header, entries, count):
            return (header + entries).ljust(CHUNK - 2, b'\0') + struct.pack('<H', count)

        chunks, first = [], 0
        while first < len(self.entries) or not chunks:
            entries, end = b'', first
            while end < len(self.entries) and 0x14 + len(entries) + len(self.entries[end]) + 2 <= CHUNK:
                entries += self.entries[end]
                end += 1
            at = len(chunks)
            links = struct.pack('<II', at - 1 if at else 0xFFFFFFFF, at + 1 if end < len(self.entries) else 0xFFFFFFFF)
            chunks.append(chunk(b'PMGL' + struct.pack('<II', 2, 0) + links, entries, end - first))
            first = end
        listings = len(chunks)
        if looping_index:
            chunks.append(chunk(b'PMGI' + struct.pack('<I', 2), encint(1) + b'/' + encint(len(chunks)), 1))
        directory = 0x54 + len(chunks) * CHUNK
        content = 0x78 + directory
        guid = bytes.fromhex('fd017caa7bd0119e0c00a0c922e6ec')
        header = b'ITSF' + struct.pack('<5I', 3, 0x60, 1, 0, 0x0411) + b'\x10' + guid + b'\x11' + guid
        header += struct.pack('<5Q', 0x60, 0x18, 0x78, directory, content)
        header += struct.pack('<IIQII', 0x1FE, 0, content + len(self.data), 0, 0)
        header += b'ITSP' + struct.pack('<6I', 1, 0x54, 10, CHUNK, 2, 2 if looping_index else 1)
        root = listings if looping_index else 0xFFFFFFFF
        header += struct.pack('<5I', root, 0, listings - 1, 0xFFFFFFFF, len(chunks)) + struct.pack('<I', 0x0411)
        header += b'\x6a' * 16 + struct.pack('<4I', 0x54, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF)
        return header + b''.join(chunks) + self.data


def system(contents, topic, title):
    """A #SYSTEM record naming the contents file, the default topic and the title."""
    fields = ((0, contents), (2, topic), (3, title))
    return struct.pack('<I', 3) + b''.join(struct.pack('<HH', code, len(text) + 1) + text + b'\0' for code, text in fields)


# A help file whose default topic is not in it, and its first 40 bytes: cut short inside the header.
no_page = HelpFile()
no_page.add(b'/#SYSTEM', system(b'', b'missing.html', b'No page'))
open('help-no-page.chm', 'wb').write(no_page.build())
open('help-cut-short.chm', 'wb').write(no_page.build()[:40])

# A start page, and everything else hostile.
hostile = HelpFile()
hostile.add(b'/#SYSTEM', system(b'toc.hhc', b'index.html', b'Hostile'))
hostile.add(b'/index.html', b'<html><head><title>Start</title></head><body><p>Start</p></body></html>')
# Contents nested 16,380 deep, just under the megabyte an object may have (a recursive reader runs out
# of stack), their attributes unquoted.
hostile.add(b'/toc.hhc', b'<UL><OBJECT type=text/sitemap><param name=Name value=L></OBJECT>' * 16380)
# A page of 10 MB, and one of tables 20 deep that would take the text browser a minute.
hostile.list(b'/huge.html', 1, 0, 10 * 1024 * 1024)
hostile.add(b'/tables.html', b'<table><tr><td>x' * 20)
# The largest object handed out (the first megabyte stored, mostly the contents), and one byte more.
hostile.list(b'/largest.png', 0, 0, 1024 * 1024)
hostile.list(b'/larger.png', 0, 0, 1024 * 1024 + 1)
assert len(hostile.data) > 1024 * 1024
# A compressed section without the reset table, which the decompressor would look up through the index
# that loops.
hostile.add(b'::DataSpace/Storage/MSCompressed/Content', bytes(64))
control = bytes.fromhex('06000000') + b'LZXC' + bytes.fromhex('02000000020000000200000002000000')
hostile.add(b'::DataSpace/Storage/MSCompressed/ControlData', control.ljust(28, b'\0'))
hostile.list(b'/compressed.html', 1, 0, 100)
open('help-hostile.chm', 'wb').write(hostile.build(looping_index=True))
