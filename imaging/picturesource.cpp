#include "imaging/picturesource.h"

#include "platform/regularfile.h"
#include "platform/zlibstream.h"

#include <QtEndian>

#include <cmath>
#include <optional>
#include <utility>

namespace Himetric {

int fromPixels(int pixels, double dotsPerInch)
{
    // The default floating-point rounding mode rounds a half to the even neighbour.
    return static_cast<int>(std::nearbyint(pixels * double(PerInch) / dotsPerInch));
}

} // namespace Himetric

namespace {

/** Reads little-endian whole numbers from the file's bytes; out-of-range reads give 0 and mark the read short. */
class Bytes
{
public:
    explicit Bytes(const QByteArray &bytes)
        : m_bytes(bytes)
    { }

    qsizetype size() const { return m_bytes.size(); }
    bool has(qsizetype at, qsizetype count) const { return at >= 0 && count >= 0 && at + count <= m_bytes.size(); }
    quint8 u8(qsizetype at) const { return has(at, 1) ? quint8(m_bytes.at(at)) : 0; }
    quint16 u16(qsizetype at) const { return quint16(u8(at) | (u8(at + 1) << 8)); }
    quint16 u16be(qsizetype at) const { return quint16((u8(at) << 8) | u8(at + 1)); }
    qint32 i32(qsizetype at) const { return qint32(quint32(u16(at)) | (quint32(u16(at + 2)) << 16)); }
    const QByteArray &all() const { return m_bytes; }

private:
    const QByteArray &m_bytes;
};

/** What a JPEG's headers say before its pixels: the frame's size and how many scans follow. */
struct JpegFrame
{
    bool complete = false;
    bool progressive = false;
    QSize size;
    qsizetype scans = 0;
};

JpegFrame readJpegFrame(const Bytes &b)
{
    JpegFrame frame;
    qsizetype at = 2; // after the start-of-image marker
    while (true) {
        if (b.u8(at) != 0xFF || !b.has(at, 2))
            return frame;
        while (b.u8(at + 1) == 0xFF && b.has(at + 1, 2)) // fill bytes before a marker
            ++at;
        const quint8 marker = b.u8(at + 1);
        if (marker == 0xDA)
            break;
        if (marker == 0xD9 || !b.has(at, 4))
            return frame;
        if ((marker >= 0xD0 && marker <= 0xD7) || marker == 0x01) {
            at += 2;
            continue;
        }
        // A start of frame (C0 to CF, less the table markers C4, C8 and CC): precision, height, width.
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
            frame.size = QSize(b.u16be(at + 7), b.u16be(at + 5));
            frame.progressive = (marker & 0x03) == 0x02; // C2, C6, CA, CE
        }
        at += 2 + b.u16be(at + 2);
    }
    // Scan data cannot hold the byte pair FF D9 (a data byte FF is always followed by 00), so the last
    // such pair in the file is the end marker, or, cut short, one inside the headers before the scan.
    // For the same reason every FF DA from here on starts a scan.
    const QByteArrayView data(b.all());
    frame.complete = data.lastIndexOf(QByteArrayView("\xFF\xD9", 2)) > at;
    frame.scans = data.sliced(at).count(QByteArrayView("\xFF\xDA", 2));
    return frame;
}

/** Walks run-length encoded rows to their end-of-picture code. */
bool rleIsComplete(const Bytes &b, qsizetype at, bool fourBit)
{
    while (b.has(at, 2)) {
        const quint8 count = b.u8(at);
        const quint8 code = b.u8(at + 1);
        at += 2;
        if (count > 0)
            continue;
        if (code == 1)
            return true;
        if (code == 2) {
            at += 2;
        } else if (code > 2) {
            const qsizetype dataBytes = fourBit ? (code + 1) / 2 : code;
            at += (dataBytes + 1) & ~qsizetype(1);
        }
    }
    return false;
}

/** A bitmap is complete when the file holds every row its header promises. */
bool bmpIsComplete(const Bytes &b)
{
    const qsizetype pixelsAt = b.i32(10);
    const qint32 headerSize = b.i32(14);
    qint64 width = 0;
    qint64 height = 0;
    int bitsPerPixel = 0;
    int compression = 0;
    if (headerSize == 12) { // the old OS/2 header
        width = b.u16(18);
        height = b.u16(20);
        bitsPerPixel = b.u16(24);
    } else if (headerSize >= 40) {
        width = b.i32(18);
        height = qAbs(qint64(b.i32(22)));
        bitsPerPixel = b.u16(28);
        compression = b.i32(30);
    } else {
        return false;
    }
    if (pixelsAt <= 0 || pixelsAt > b.size())
        return false;
    constexpr int Rle8 = 1;
    constexpr int Rle4 = 2;
    if (compression == Rle8 || compression == Rle4)
        return rleIsComplete(b, pixelsAt, compression == Rle4);
    const qint64 rowBytes = (width * bitsPerPixel + 31) / 32 * 4;
    return width > 0 && rowBytes > 0 && height <= (b.size() - pixelsAt) / rowBytes;
}

/** Skips a GIF's data sub-blocks; returns the position after their terminator, or -1 when cut short. */
qsizetype skipSubBlocks(const Bytes &b, qsizetype at)
{
    while (b.has(at, 1)) {
        const quint8 length = b.u8(at);
        at += 1 + length;
        if (length == 0)
            return at;
    }
    return -1;
}

/**
 * A GIF is complete enough to show when its first frame's data is all there. Gives the area that the
 * screen and all its frames span (a frame's place plus its size): Qt's decoder may size its picture
 * by any of them when the screen's own size is missing.
 */
std::optional<QSize> gifExtent(const Bytes &b)
{
    constexpr quint8 ColourTable = 0x80;
    QSize extent(b.u16(6), b.u16(8));
    bool firstFrame = false;
    qsizetype at = 13; // signature and logical screen descriptor
    if (b.u8(10) & ColourTable)
        at += 3 * (qsizetype(2) << (b.u8(10) & 7));
    while (b.has(at, 1)) {
        const quint8 block = b.u8(at);
        if (block == 0x21) { // an extension: label, then sub-blocks
            at = skipSubBlocks(b, at + 2);
        } else if (block == 0x2C) { // an image: descriptor, colour table, code size, data
            extent = extent.expandedTo(QSize(b.u16(at + 1) + b.u16(at + 5), b.u16(at + 3) + b.u16(at + 7)));
            const quint8 flags = b.u8(at + 9);
            at += 10;
            if (flags & ColourTable)
                at += 3 * (qsizetype(2) << (flags & 7));
            at = skipSubBlocks(b, at + 1);
            firstFrame = firstFrame || at >= 0;
        } else { // the trailer, or anything else
            break;
        }
        if (at < 0)
            break;
    }
    if (!firstFrame)
        return std::nullopt;
    return extent;
}

/**
 * The size Qt's reader decodes a GIF to: its screen, or where the screen has no size, the area its frames
 * span. The reader's own size() may give the first frame's width instead: a screen of 51206 x 252 with a
 * frame of 6 x 4 said 6 x 252.
 */
QSize gifPictureSize(const Bytes &b)
{
    const QSize screen(b.u16(6), b.u16(8));
    return screen.isEmpty() ? gifExtent(b).value_or(QSize()) : screen;
}

bool withinBudget(const QSize &size)
{
    return size.isValid() && qint64(size.width()) * size.height() <= PictureSource::PixelBudget;
}

/**
 * Turns off the JPEG segments that Qt's reader keeps and the program never uses: comments (kept as
 * text), Exif (read for an orientation the program does not apply) and colour profiles (painting does
 * not apply them). Each is renamed in place to an application segment that the decoder skips unread, so
 * 32 MB of them cost one pass over the bytes instead of copies of them all. Markers are walked as the
 * decoder walks them, between the scans too; a segment's own bytes are skipped, entropy-coded data
 * searched for the next marker.
 */
void silenceJpegMetadata(QByteArray &bytes)
{
    constexpr char Skipped = char(0xEF); // APP15, which nothing reads
    const auto u8 = [&bytes](qsizetype at) {
        return at < bytes.size() ? quint8(bytes.at(at)) : 0;
    };
    qsizetype at = 2; // after the start-of-image marker
    while ((at = bytes.indexOf('\xFF', at)) >= 0 && at + 1 < bytes.size()) {
        const quint8 marker = u8(at + 1);
        if (marker == 0xD9)
            break;
        // Fill bytes, stuffed data bytes, restart markers and the lone markers have no length.
        if (marker == 0xFF || marker == 0x00 || marker == 0x01 || marker == 0xD8 ||
            (marker >= 0xD0 && marker <= 0xD7)) {
            at += marker == 0xFF ? 1 : 2;
            continue;
        }
        if (marker == 0xFE || marker == 0xE1 || marker == 0xE2)
            bytes[at + 1] = Skipped;
        at += 2 + ((u8(at + 2) << 8) | u8(at + 3));
    }
}

/**
 * The most bytes a PNG's image data may inflate to, from its header's fields (at @p header, its data):
 * each row's filter byte and pixels, and for an interlaced picture those of the rows of seven passes,
 * whose filter bytes and row ends add less than four bytes a row.
 */
qint64 pngDataLimit(const char *header)
{
    const quint64 width = qFromBigEndian<quint32>(header);
    const quint64 height = qFromBigEndian<quint32>(header + 4);
    const quint8 bitDepth = qMin<quint8>(quint8(header[8]), 16);
    const quint8 colourType = quint8(header[9]);
    // Grey, -, colour, palette, grey and alpha, -, colour and alpha.
    constexpr quint8 Channels[] = {1, 4, 3, 1, 2, 4, 4};
    const quint64 bitsPerPixel = bitDepth * quint64(colourType < sizeof Channels ? Channels[colourType] : 4);
    return qint64((width * height * bitsPerPixel + 7) / 8 + 4 * height + 16);
}

/**
 * Keeps of a PNG only the chunks its pixels are decoded from: the header, the first palette and
 * transparency chunk, the image data and the end. Text (whose compressed chunks Qt's reader inflates
 * to 8 MB each before any size check), colour profiles, Exif and the rest never reach the decoder: the
 * program shows pixels and nothing else. The header's size is checked against the budget. Gives the
 * reason the picture cannot be shown, or an empty string; @p bytes then holds the chunks kept.
 */
QString keepPngPixelChunks(QByteArray &bytes)
{
    constexpr qsizetype SignatureBytes = 8;
    constexpr qsizetype FrameBytes = 12; // length, type and, after the data, the checksum
    QByteArray kept = bytes.left(SignatureBytes);
    bool palette = false;
    bool transparency = false;
    qsizetype at = SignatureBytes;
    while (true) {
        if (bytes.size() - at < FrameBytes)
            return QStringLiteral("the picture is cut short");
        const quint32 length = qFromBigEndian<quint32>(bytes.constData() + at);
        const QByteArrayView type(bytes.constData() + at + 4, 4);
        if (length > quint64(bytes.size() - at - FrameBytes))
            return QStringLiteral("the picture is cut short");
        const QByteArrayView chunk(bytes.constData() + at, FrameBytes + qsizetype(length));
        bool keep = true;
        if (at == SignatureBytes) {
            if (type != "IHDR" || length != 13)
                return QStringLiteral("the picture has no header");
            const quint64 width = qFromBigEndian<quint32>(chunk.data() + 8);
            const quint64 height = qFromBigEndian<quint32>(chunk.data() + 12);
            if (width * height > quint64(PictureSource::PixelBudget))
                return QStringLiteral("the picture is larger than %1 pixels").arg(PictureSource::PixelBudget);
        } else if (type == "PLTE") {
            keep = !std::exchange(palette, true);
        } else if (type == "tRNS") {
            keep = !std::exchange(transparency, true);
        } else if (type != "IDAT" && type != "IEND") {
            // An ancillary chunk (its first letter small) is left out; another critical one cannot be decoded.
            if (!(type.at(0) & 0x20))
                return QStringLiteral("the picture holds a chunk that cannot be read");
            keep = false;
        }
        if (keep)
            kept += chunk;
        at += chunk.size();
        if (type == "IEND")
            break;
    }
    bytes = kept;
    return QString();
}

/**
 * Whether the image data of @p png, a PNG cut to its pixel chunks, inflates to no more than its
 * header's size needs. Qt's reader inflates the data to its end, even far past the picture: 4 MB of it
 * to a 16 x 16 picture took 6 s. Checked just before decoding, so that a picture that is not decoded
 * (one beyond the help window's budget) costs nothing.
 */
bool pngDataFits(const QByteArray &png)
{
    QList<QByteArrayView> imageData;
    qint64 limit = 0;
    for (qsizetype at = 8; at + 12 <= png.size();) {
        const qsizetype length = qFromBigEndian<quint32>(png.constData() + at);
        const QByteArrayView type(png.constData() + at + 4, 4);
        if (type == "IHDR")
            limit = pngDataLimit(png.constData() + at + 8);
        else if (type == "IDAT")
            imageData.append(QByteArrayView(png.constData() + at + 8, length));
        at += 12 + length;
    }
    return ZlibStream::inflatedSize(imageData, limit) <= limit;
}

/**
 * Why the header rules the picture out before decoding, or an empty string. What Qt's readers would
 * keep besides the pixels is left out of @p bytes on the way: a GIF's extensions and a bitmap's
 * colour profile are skipped by the readers themselves.
 */
QString checkHeader(const QByteArray &format, QByteArray &bytes)
{
    const Bytes b(bytes);
    const QString cutShort = QStringLiteral("the picture is cut short");
    if (format == "png")
        return keepPngPixelChunks(bytes);
    if (format == "jpeg") {
        const JpegFrame frame = readJpegFrame(b);
        if (!frame.complete)
            return cutShort;
        if (frame.size.isEmpty())
            return QStringLiteral("the picture has no frame size");
        if (!withinBudget(frame.size))
            return QStringLiteral("the picture is larger than %1 pixels").arg(PictureSource::PixelBudget);
        // A picture of several scans is decoded into a buffer of the whole picture, scan after scan.
        const qint64 pixels = qint64(frame.size.width()) * frame.size.height();
        if ((frame.progressive || frame.scans > 1) && pixels > PictureSource::ProgressivePixelBudget)
            return QStringLiteral("the picture is progressive and larger than %1 pixels")
                .arg(PictureSource::ProgressivePixelBudget);
        if (frame.scans * pixels > PictureSource::ScanBudget)
            return QStringLiteral("the picture has too many scans for its size");
        silenceJpegMetadata(bytes);
    } else if (format == "bmp") {
        if (!bmpIsComplete(b))
            return cutShort;
    } else if (format == "gif") {
        const std::optional<QSize> extent = gifExtent(b);
        if (!extent)
            return cutShort;
        if (!withinBudget(*extent))
            return QStringLiteral("the picture is larger than %1 pixels").arg(PictureSource::PixelBudget);
    }
    return QString();
}

} // namespace

PictureSource::PictureSource(const QString &path)
{
    RegularFile::Contents contents = RegularFile::read(path, MaxFileBytes);
    if (contents.status != RegularFile::Status::Read) {
        m_error = contents.error;
        return;
    }
    m_bytes = std::move(contents.bytes);
    m_error = open({"bmp", "jpeg", "gif"});
    m_readable = m_error.isEmpty();
}

PictureSource::PictureSource(const QByteArray &bytes, const QList<QByteArray> &formats)
    : m_bytes(bytes)
{
    m_error = open(formats);
    m_readable = m_error.isEmpty();
}

QString PictureSource::open(const QList<QByteArray> &formats)
{
    if (m_bytes.isEmpty())
        return QStringLiteral("the file is empty");
    {
        QBuffer probe(&m_bytes);
        probe.open(QIODevice::ReadOnly);
        m_format = QImageReader::imageFormat(&probe);
    }
    if (!formats.contains(m_format))
        return QStringLiteral("not a %1 picture").arg(QString::fromLatin1(formats.join('/').toUpper()));
    const QString ruledOut = checkHeader(m_format, m_bytes);
    if (!ruledOut.isEmpty())
        return ruledOut;
    m_buffer.setBuffer(&m_bytes);
    m_buffer.open(QIODevice::ReadOnly);
    m_reader.setDevice(&m_buffer);
    m_reader.setFormat(m_format);
    m_size = m_reader.size();
    if (m_size.isEmpty())
        return m_reader.errorString();
    if (m_format == "gif")
        m_size = m_size.expandedTo(gifPictureSize(Bytes(m_bytes)));
    if (!withinBudget(m_size))
        return QStringLiteral("the picture is larger than %1 pixels").arg(PixelBudget);
    return QString();
}

QSize PictureSource::himetricSize(double dotsPerInch) const
{
    return {Himetric::fromPixels(m_size.width(), dotsPerInch), Himetric::fromPixels(m_size.height(), dotsPerInch)};
}

QImage PictureSource::decode(const QSize &reducedTo)
{
    if (!m_readable)
        return {};
    m_readable = false;
    QImage image;
    if (m_format == "png" && !pngDataFits(m_bytes)) {
        m_error = QStringLiteral("the picture holds more image data than its size");
    } else {
        if (reducedTo.isValid() && !reducedTo.isEmpty() && reducedTo.width() < m_size.width() &&
            reducedTo.height() < m_size.height())
            m_reader.setScaledSize(reducedTo);
        image = m_reader.read();
        if (image.isNull())
            m_error = m_reader.errorString();
    }
    m_reader.setDevice(nullptr);
    m_buffer.close();
    m_bytes.clear();
    return image;
}
