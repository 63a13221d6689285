#pragma once

#include <QByteArray>
#include <QIcon>
#include <QImage>
#include <QString>

/**
 * @brief Reading the program's picture files (the dial picture, the window icon).
 *
 * Each reader returns a null result and a one-line reason when the file is missing or is not a
 * readable picture; what to do then is the caller's choice.
 */
namespace PictureFile {

QImage read(const QString &path, QString *error = nullptr);

/**
 * The icon an icon file holds. An .ico may carry several sizes and colour depths; of two images of
 * one size the later, usually the deeper, is kept.
 */
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
