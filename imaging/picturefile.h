#pragma once

#include <QByteArray>
#include <QIcon>
#include <QImage>
#include <QList>
#include <QString>

/**
 * @brief Reading the program's picture files (the dial picture, the window icon).
 *
 * Each reader returns a null result and a one-line reason when the file is missing, is not an
 * ordinary file, or is not a readable picture within the pixel budget; what to do then is the
 * caller's choice.
 */
namespace PictureFile {

/** The largest icon file read. */
inline constexpr qint64 MaxIconFileBytes = 4 * 1024 * 1024;
/** The largest side of an icon image: the icon format cannot name a larger one. */
inline constexpr int MaxIconSide = 256;

/** A BMP, JPEG or GIF picture file at its natural size (see PictureSource). */
QImage read(const QString &path, QString *error = nullptr);

/**
 * The images of an icon file that a window uses: for each of 16, 24, 32 and 48 pixels the image
 * nearest that size, of two images of one size the deeper (the later when equally deep). Only those
 * at most four are decoded, however many the file lists.
 */
QList<QImage> iconImages(const QByteArray &bytes, QString *error = nullptr);

/** The icon an icon file holds, made of iconImages(). */
QIcon readIcon(const QString &path, QString *error = nullptr);

/** The image as a Windows bitmap file: 24 bits per pixel, uncompressed, bottom row first. */
QByteArray toBmp(const QImage &image);

/** The icon stored with the program, for windows whose icon file is missing or damaged. */
QIcon builtInIcon();

/**
 * A window's icon from the icon file at @p path. A missing or damaged file is only a decoration: the
 * window gets the built-in icon, and one line naming the file and the reason goes to the log.
 */
QIcon windowIcon(const QString &path);

} // namespace PictureFile
