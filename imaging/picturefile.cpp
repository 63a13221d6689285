#include "imaging/picturefile.h"

#include "imaging/picturesource.h"
#include "platform/regularfile.h"

#include <QBuffer>
#include <QDebug>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QPixmap>
#include <QtEndian>

#include <array>
#include <cstdlib>

namespace PictureFile {

namespace {

/** One image of an icon file, as its directory lists it. */
struct IconEntry
{
    int side = 0; // the longer side, as the directory names it
    int depth = 0;
    qsizetype index = 0;
    QByteArray bytes;
};

constexpr qsizetype DirectoryBytes = 6;
constexpr char PngSignature[] = "\x89PNG\r\n\x1a\n";
constexpr qsizetype EntryBytes = 16;

quint16 u16(const QByteArray &bytes, qsizetype at)
{
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

quint32 u32(const QByteArray &bytes, qsizetype at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

/** The image's own header agrees that it is small: a PNG's or a device-independent bitmap's size. */
bool isSmallImage(const IconEntry &entry)
{
    const QByteArray &data = entry.bytes;
    if (data.startsWith(PngSignature)) {
        if (data.size() < 24)
            return false;
        const quint32 width = qFromBigEndian<quint32>(data.constData() + 16);
        const quint32 height = qFromBigEndian<quint32>(data.constData() + 20);
        return width > 0 && height > 0 && width <= MaxIconSide && height <= MaxIconSide;
    }
    if (data.size() < 40 || u32(data, 0) < 40)
        return false;
    // The bitmap's height counts the colour image and the mask beneath it.
    const qint64 width = qint32(u32(data, 4));
    const qint64 height = qAbs(qint64(qint32(u32(data, 8)))) / 2;
    return width > 0 && height > 0 && width <= MaxIconSide && height <= MaxIconSide;
}

/** A bitmap image of an icon: Qt's icon reader takes a whole file, so one of this image alone. */
QImage decodeBitmap(const IconEntry &entry)
{
    QByteArray single(DirectoryBytes + EntryBytes, '\0');
    qToLittleEndian<quint16>(1, single.data() + 2);
    qToLittleEndian<quint16>(1, single.data() + 4);
    const quint8 side = entry.side >= MaxIconSide ? 0 : quint8(entry.side);
    single[6] = char(side);
    single[7] = char(side);
    qToLittleEndian<quint16>(1, single.data() + 10);
    qToLittleEndian<quint16>(quint16(entry.depth), single.data() + 12);
    qToLittleEndian<quint32>(quint32(entry.bytes.size()), single.data() + 14);
    qToLittleEndian<quint32>(quint32(single.size()), single.data() + 18);
    single += entry.bytes;
    QBuffer buffer(&single);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "ico");
    return reader.read();
}

QImage decodeIconImage(const IconEntry &entry)
{
    if (!isSmallImage(entry))
        return {};
    // A PNG image goes to the picture reader, which leaves its text and other chunks out; Qt's icon reader
    // would hand the whole of it to Qt's PNG reader.
    const QImage image =
        entry.bytes.startsWith(PngSignature) ? PictureSource(entry.bytes, {"png"}).decode() : decodeBitmap(entry);
    if (image.width() > MaxIconSide || image.height() > MaxIconSide)
        return {};
    return image;
}

} // namespace

QImage read(const QString &path, QString *error)
{
    PictureSource source(path);
    QImage image = source.decode();
    if (image.isNull() && error)
        *error = source.errorString();
    return image;
}

QList<QImage> iconImages(const QByteArray &bytes, QString *error)
{
    const auto fail = [error](const QString &reason) {
        if (error)
            *error = reason;
        return QList<QImage>();
    };
    if (bytes.size() < DirectoryBytes || u16(bytes, 0) != 0 || u16(bytes, 2) != 1)
        return fail(QStringLiteral("not an icon file"));
    const qsizetype count = u16(bytes, 4);
    if (count == 0 || DirectoryBytes + count * EntryBytes > bytes.size())
        return fail(QStringLiteral("the icon file is cut short"));

    // One pass over the directory keeps, for each size a window uses, the nearest image listed.
    constexpr std::array<int, 4> Wanted{16, 24, 32, 48};
    std::array<IconEntry, 4> chosen;
    for (qsizetype i = 0; i < count; ++i) {
        const qsizetype at = DirectoryBytes + i * EntryBytes;
        IconEntry entry;
        entry.side = qMax(quint8(bytes[at]) ? quint8(bytes[at]) : MaxIconSide,
                          quint8(bytes[at + 1]) ? quint8(bytes[at + 1]) : MaxIconSide);
        entry.depth = u16(bytes, at + 6);
        entry.index = i;
        const qint64 size = u32(bytes, at + 8);
        const qint64 offset = u32(bytes, at + 12);
        if (size == 0 || offset + size > bytes.size())
            continue;
        for (std::size_t w = 0; w < Wanted.size(); ++w) {
            IconEntry &best = chosen[w];
            const int distance = std::abs(entry.side - Wanted[w]);
            const int bestDistance = std::abs(best.side - Wanted[w]);
            if (best.bytes.isEmpty() || distance < bestDistance ||
                (entry.side == best.side && entry.depth >= best.depth)) {
                best = entry;
                best.bytes = QByteArray::fromRawData(bytes.constData() + offset, qsizetype(size));
            }
        }
    }

    QList<QImage> images;
    QList<qsizetype> decoded;
    for (const IconEntry &entry : chosen) {
        if (entry.bytes.isEmpty() || decoded.contains(entry.index))
            continue;
        decoded.append(entry.index);
        const QImage image = decodeIconImage(entry);
        if (!image.isNull())
            images.append(image);
    }
    if (images.isEmpty())
        return fail(QStringLiteral("no readable image of up to %1 pixels in the icon file").arg(MaxIconSide));
    return images;
}

QIcon readIcon(const QString &path, QString *error)
{
    const RegularFile::Contents contents = RegularFile::read(path, MaxIconFileBytes);
    if (contents.status != RegularFile::Status::Read) {
        if (error)
            *error = contents.error;
        return {};
    }
    QIcon icon;
    for (const QImage &image : iconImages(contents.bytes, error))
        icon.addPixmap(QPixmap::fromImage(image));
    return icon;
}

QByteArray toBmp(const QImage &image)
{
    // Qt writes a 32-bit image as 24 bits per pixel with a plain information header and no compression.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "bmp");
    if (!writer.write(image.convertToFormat(QImage::Format_RGB32)))
        return {};
    return bytes;
}

QIcon builtInIcon()
{
    return readIcon(QStringLiteral(":/icon/ico.ico"));
}

QIcon windowIcon(const QString &path)
{
    QString error;
    const QIcon icon = readIcon(path, &error);
    if (!icon.isNull())
        return icon;
    qWarning().noquote() << QStringLiteral("%1: %2; using the built-in icon").arg(QFileInfo(path).fileName(), error);
    return builtInIcon();
}

} // namespace PictureFile
