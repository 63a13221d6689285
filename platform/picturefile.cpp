#include "platform/picturefile.h"

#include <QBuffer>
#include <QDebug>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QPixmap>

#include <algorithm>

namespace PictureFile {

namespace {

bool reportMissing(const QString &path, QString *error)
{
    const QFileInfo info(path);
    if (info.isFile())
        return false;
    if (error)
        *error = info.exists() ? QStringLiteral("not a file") : QStringLiteral("file not found");
    return true;
}

} // namespace

QImage read(const QString &path, QString *error)
{
    if (reportMissing(path, error))
        return {};
    QImageReader reader(path);
    QImage image = reader.read();
    if (image.isNull() && error)
        *error = reader.errorString();
    return image;
}

QIcon readIcon(const QString &path, QString *error)
{
    if (reportMissing(path, error))
        return {};
    QImageReader reader(path);
    QList<QImage> images;
    do {
        const QImage image = reader.read();
        if (image.isNull())
            break;
        auto sameSize = std::find_if(images.begin(), images.end(),
                                     [&image](const QImage &kept) { return kept.size() == image.size(); });
        if (sameSize != images.end())
            *sameSize = image;
        else
            images.append(image);
    } while (reader.jumpToNextImage());
    if (images.isEmpty()) {
        if (error)
            *error = reader.errorString();
        return {};
    }
    QIcon icon;
    for (const QImage &image : std::as_const(images))
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
