#!/usr/bin/env python3
"""Makes the damaged and hostile help files that tst_help reads: run in tests/data.

A help file here is a header, the directory chunks that list its objects, and the objects' bytes
stored uncompressed. An object may claim any section, place and length, so a damaged or hostile
file is as easy to describe as a sound one.

Help files in the form real compilers give them come from Free Pascal's chmcmd where it can make
them, and from the same writer where it cannot (a contents file named only by the default window,
or in a folder of its own; a directory whose first listing chunk is given as 1).
"""
import os
import struct
import subprocess
import tempfile
import zlib

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

    def build(self, looping_index=False, first_listing=0):
        """The file; with looping_index a last chunk is an index whose only entry points back at itself;
        first_listing is the first listing chunk the header names."""
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
        header += struct.pack('<5I', root, first_listing, listings - 1, 0xFFFFFFFF, len(chunks)) + struct.pack('<I', 0x0411)
        header += b'\x6a' * 16 + struct.pack('<4I', 0x54, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF)
        return header + b''.join(chunks) + self.data


def system(contents, topic, title, language=None, window=None):
    """A #SYSTEM record naming the contents file, the default topic and the title (each left out when
    None), the language id and the default window."""
    fields = [(0, contents), (2, topic), (3, title), (5, window)]
    record = struct.pack('<I', 3)
    for code, text in fields:
        if text is not None:
            record += struct.pack('<HH', code, len(text) + 1) + text + b'\0'
    if language is not None:
        record += struct.pack('<HHII', 4, 8, language, 0)
    return record


def windows(*windows):
    """#WINDOWS and #STRINGS for windows given as (name, contents file, first page)."""
    strings, records = b'\0', b''
    for window in windows:
        offsets = []
        for text in window:
            offsets.append(len(strings))
            strings += text + b'\0'
        record = bytearray(0x188)
        struct.pack_into('<II', record, 0, 0x188, 0)
        struct.pack_into('<I', record, 0x08, offsets[0])
        struct.pack_into('<I', record, 0x60, offsets[1])
        struct.pack_into('<I', record, 0x68, offsets[2])
        records += bytes(record)
    return struct.pack('<II', len(windows), 0x188) + records, strings


def png(width, height, rgb):
    """A PNG of one colour."""
    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))
    rows = (b'\0' + bytes(rgb) * width) * height
    header = struct.pack('>IIBBBBB', width, height, 8, 2, 0, 0, 0)
    return b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header) + chunk(b'IDAT', zlib.compress(rows, 9)) + chunk(b'IEND', b'')


def lzx_empty_blocks(size):
    """An LZX stream of about size bytes: a verbatim block that sets its trees, then empty ones that set
    them again. Each costs the decompressor its tables and makes nothing."""
    pretree = '0001' + '0000' * 7 + '0001' + '0000' * 11  # symbols 0 and 8, one bit each
    def block(first):
        # Main tree: 512 lengths of 9 (symbol 8 takes 0 to 9, symbol 0 keeps a length); length tree empty.
        keep = '1' if first else '0'
        return '001' + '0' * 24 + (pretree + keep * 256) * 2 + pretree + '0' * 249
    bits = '0' + block(True)  # no Intel translation
    bits += block(False) * ((size * 8 - len(bits)) // len(block(False)))
    bits += '0' * ((-len(bits)) % 16)
    return b''.join(struct.pack('<H', int(bits[i:i + 16], 2)) for i in range(0, len(bits), 16))


def compiled(name, files, hhp_options, encoding):
    """A help file compiled by chmcmd from files (name: bytes), the options given in its project, which is
    written in encoding."""
    with tempfile.TemporaryDirectory() as folder:
        for path, data in files.items():
            os.makedirs(os.path.dirname(os.path.join(folder, path)), exist_ok=True)
            open(os.path.join(folder, path), 'wb').write(data)
        project = '[OPTIONS]\nCompiled file=out.chm\nBinary TOC=No\nFull-text search=No\n' + hhp_options
        project += '\n[FILES]\n' + ''.join(path + '\n' for path in files if not path.endswith('.hhc'))
        open(os.path.join(folder, 'out.hhp'), 'wb').write(project.encode(encoding))
        subprocess.run(['chmcmd', 'out.hhp'], cwd=folder, check=True, stdout=subprocess.DEVNULL)
        open(name, 'wb').write(open(os.path.join(folder, 'out.chm'), 'rb').read())


def sitemap(entries, encoding):
    """A contents file of (name, local) entries, written as the text of encoding."""
    items = ''.join('<LI><OBJECT type="text/sitemap"><param name="Name" value="%s"><param name="Local" value="%s">'
                    '</OBJECT>\n' % entry for entry in entries)
    return ('<HTML><BODY><UL>\n' + items + '</UL></BODY></HTML>\n').encode(encoding)


# A help file whose default topic is not in it, and its first 40 and 86 bytes: cut short inside the header.
no_page = HelpFile()
no_page.add(b'/#SYSTEM', system(b'', b'missing.html', b'No page'))
open('help-no-page.chm', 'wb').write(no_page.build())
open('help-cut-short.chm', 'wb').write(no_page.build()[:40])
open('help-cut-header.chm', 'wb').write(no_page.build()[:0x56])  # inside the header's section table

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

# Pages that name what is outside the help file, in every form; the tests put outside.png and
# outside.css in the working folder, and none of them may show, and a named pipe that no page may wait on.
OUTSIDE = 'file:///proc/self/cwd/outside'
outside = HelpFile()
outside.add(b'/#SYSTEM', system(b'', b'index.html', b'Outside'))
outside.add(b'/index.html', b'<html><body><p>x</p></body></html>')
outside.add(b'/inside.css', b'@import url("%s.css");\np { margin-left: 1px; }' % OUTSIDE.encode())
outside_pages = {
    'relative': '<img src="outside.png">',
    'file': '<img src="%s.png">' % OUTSIDE,
    'absolute': '<img src="/proc/self/cwd/outside.png">',
    'data': '<img src="data:image/png;base64,%s">' % __import__('base64').b64encode(png(37, 23, (255, 0, 0))).decode(),
    'table': '<table background="%s.png"><tr><td>x</td></tr></table>' % OUTSIDE,
    'background': '<p style="background-image: url(%s.png)">x</p>' % OUTSIDE,
    'link': '<link rel="stylesheet" type="text/css" href="%s.css"><link rel="stylesheet" type="text/css" href="outside.css">' % OUTSIDE,
    'import': '<style>@import url("%s.css"); @import "outside.css";</style>' % OUTSIDE,
    'nested': '<link rel="stylesheet" type="text/css" href="inside.css">',
    'pipe': '<img src="pipe.png"><img src="file:///proc/self/cwd/pipe.png">',
}
for name, tags in outside_pages.items():
    head, body = (tags, '') if name in ('link', 'import', 'nested') else ('', tags)
    outside.add(b'/%s.html' % name.encode(), ('<html><head>%s</head><body>%s<p>x</p></body></html>' % (head, body)).encode())
open('help-outside.chm', 'wb').write(outside.build())

# Pages that cost more than their size to show: style sheets that import themselves, thousands of links
# and rules, text the layout passes over again and again; and a compressed section of empty blocks.
costly = HelpFile()
costly.add(b'/#SYSTEM', system(b'', b'index.html', b'Costly'))
costly.add(b'/index.html', b'<html><body><p>Start</p></body></html>')
costly.add(b'/self.css', b''.join(b'@import url("self.css?%d");\n' % i for i in range(10000)))
costly.add(b'/many.css', b''.join(b'@import url("leaf.css?%d");\n' % i for i in range(100)))
costly.add(b'/leaf.css', b'p { margin-left: 1px; }\n')
for i in range(8):
    costly.add(b'/chain%d.css' % i, b'@import url("chain%d.css");\np { margin-left: %dpx; }\n' % (i + 1, i))
costly.add(b'/big.css', b'p { color: #123456; }\n/* ' + b'x' * 200000 + b' */\n')
costly_pages = {
    'imports': b'<link rel="stylesheet" type="text/css" href="self.css">',
    'many': b'<link rel="stylesheet" type="text/css" href="many.css">',
    'deep': b'<link rel="stylesheet" type="text/css" href="chain0.css">',
    'links': b''.join(b'<link rel="stylesheet" type="text/css" href="big.css?%d">' % i for i in range(3000)),
    'rules': b'<style>' + b''.join(b'.c%d p { color: red; }\n' % i for i in range(7000)) + b'</style>' +
             b'<div><p>x</p></div>' * 1900,
    'sheets': b'<style>' + b''.join(b'@import url("big.css?%d");\n' % i for i in range(20)) + b'</style>',
    'directions': '<p>' + 'a\u05d0' * 60000 + '</p>',
    'word': b'<p>' + b'x' * 250000 + b'</p>',
    'accents': '<p>a' + '\u0301' * 120000 + '</p>',
}
for name, body in costly_pages.items():
    body = body if isinstance(body, bytes) else body.encode()
    head = body if name in ('imports', 'many', 'deep', 'links', 'sheets') else b''  # where the browser reads style sheets
    body = b'' if head else body
    costly.add(b'/%s.html' % name.encode(),
               b'<html><head><meta charset="utf-8">' + head + b'</head><body>' + body + b'</body></html>')
costly.add(b'::DataSpace/Storage/MSCompressed/Content', lzx_empty_blocks(600 * 1024))
costly.add(b'::DataSpace/Storage/MSCompressed/ControlData',
           (bytes.fromhex('06000000') + b'LZXC' + bytes.fromhex('02000000020000000200000002000000')).ljust(28, b'\0'))
costly.add(b'::DataSpace/Storage/MSCompressed/SpanInfo', struct.pack('<Q', 65536))
costly.list(b'/compressed.html', 1, 0, 100)
open('help-costly.chm', 'wb').write(costly.build())

# Real help files. Japanese, compiled by chmcmd: names URL-encoded in the default topic, the contents,
# links and pictures; a picture of 1600 x 1600 on each of two pages (one page's budget, not two).
def page_ja(title, body):
    return ('<html><head><meta charset="utf-8"><title>%s</title></head><body>%s</body></html>' % (title, body)).encode()
compiled('help-ja-names.chm', {
    'page 1.html': page_ja('一ページ目', '<p>最初のページ</p><img src="images/big%20one.png">'
                           '<a href="sub%20dir/page%202.html">次へ</a>'),
    'sub dir/page 2.html': page_ja('二ページ目', '<p>次のページ</p><img src="../images/big%20two.png">'),
    'images/big one.png': png(1600, 1600, (0, 128, 255)),
    'images/big two.png': png(1600, 1600, (255, 128, 0)),
    'toc.hhc': sitemap([('最初のページ', 'page%201.html'), ('次のページ', 'sub%20dir/page%202.html')], 'shift_jis'),
}, 'Contents file=toc.hhc\nDefault topic=page%201.html\nTitle=ヘルプ\nLanguage=0x411 Japanese\n', 'shift_jis')

# Russian, compiled by chmcmd: pages that name no encoding, in code page 1251, and contents whose letters
# are written as the Latin-1 entities of their bytes.
def latin1_entities(text):
    names = {0xC0 + i: name for i, name in enumerate(
        'Agrave Aacute Acirc Atilde Auml Aring AElig Ccedil Egrave Eacute Ecirc Euml Igrave Iacute Icirc Iuml '
        'ETH Ntilde Ograve Oacute Ocirc Otilde Ouml times Oslash Ugrave Uacute Ucirc Uuml Yacute THORN szlig '
        'agrave aacute acirc atilde auml aring aelig ccedil egrave eacute ecirc euml igrave iacute icirc iuml '
        'eth ntilde ograve oacute ocirc otilde ouml divide oslash ugrave uacute ucirc uuml yacute thorn yuml'
        .split())}
    return ''.join('&%s;' % names[b] if b >= 0xC0 else chr(b) for b in text.encode('cp1251'))
compiled('help-ru-codepage.chm', {
    'index.html': '<html><head><title>Справка</title></head><body><p>Описание часов</p>'
                  '<img src="clock.png"></body></html>'.encode('cp1251'),
    'clock.png': png(40, 30, (0, 160, 0)),
    'toc.hhc': sitemap([(latin1_entities('Описание'), 'index.html')], 'ascii'),
}, 'Contents file=toc.hhc\nDefault topic=index.html\nTitle=Справка\nLanguage=0x419 Russian\n', 'cp1251')

# Chinese (code page 936), by the writer: the contents file and first page named only by the default
# window, which #SYSTEM names (the first page is not the contents' first entry, and the contents file
# not the file's only one); the contents in a folder of their own, naming pages relative to it.
zh = HelpFile()
zh.add(b'/#SYSTEM', system(None, None, '帮助'.encode('gbk'), language=0x804, window=b'main'))
zh_windows, zh_strings = windows((b'other', b'missing.hhc', b'missing.html'),
                                 (b'main', b'toc/contents.hhc', b'pages/index.html'))
zh.add(b'/#WINDOWS', zh_windows)
zh.add(b'/#STRINGS', zh_strings)
zh.add(b'/pages/index.html', '<html><head><title>欢迎</title></head><body><p>世界时钟的说明</p>'
                             '<img src="../images/clock.png"></body></html>'.encode('gbk'))
zh.add(b'/images/clock.png', png(40, 30, (200, 0, 0)))
zh.add(b'/pages/other.html', '<html><body><p>其他</p></body></html>'.encode('gbk'))
zh.add(b'/toc/contents.hhc', sitemap([('其他', '../pages/other.html'), ('说明', '../pages/index.html')], 'gbk'))
zh.add(b'/old.hhc', sitemap([('旧', 'old.html')], 'gbk'))  # not the only contents file
open('help-zh-window.chm', 'wb').write(zh.build())

# Russian again, as fpdoc writes it: the header names chunk 1 as the first listing chunk, although chunk
# 0, which holds #SYSTEM, is one too; the contents file is named nowhere, and is the file's only one.
fpdoc = HelpFile()
fpdoc.add(b'/#SYSTEM', system(None, b'index.html', b'fpdoc', language=0x419))
fpdoc.add(b'/index.html', '<html><head><title>Модуль</title></head><body><p>Описание модуля</p>'
                          '<img src="unit.png"></body></html>'.encode('cp1251'))
fpdoc.add(b'/unit.png', png(40, 30, (0, 0, 200)))
fpdoc.add(b'/unit.hhc', sitemap([('Модуль', 'index.html')], 'cp1251'))
for i in range(200):
    fpdoc.add(b'/reference/a-long-name-for-a-page-of-the-reference-%03d.html' % i, b'<p>x</p>')
assert len(fpdoc.entries) > 100
open('help-ru-first-chunk.chm', 'wb').write(fpdoc.build(first_listing=1))
