#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

/**
 * @brief Opening the files the program reads by name, only when they are ordinary files.
 *
 * A name in the working folder may be anything: a folder, a device, a named pipe that would block
 * the reader forever. Links are followed, and the file is opened without waiting, so a pipe swapped
 * in between the check and the open cannot block either; anything but an ordinary file counts as
 * missing.
 */
namespace RegularFile {

enum class Status { Read, Missing, Unreadable, TooLarge };

struct Contents
{
    Status status = Status::Missing;
    QByteArray bytes;
    QString error;
};

/** Opens @p file (named by its fileName()) for reading; Missing when it is not an ordinary file. */
Status open(QFile &file);

/** The whole of @p path, when it is an ordinary file of at most @p maxBytes bytes. */
Contents read(const QString &path, qint64 maxBytes);

} // namespace RegularFile
