#include "platform/regularfile.h"

#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace RegularFile {

Status open(QFile &file)
{
    // QFileInfo follows links: a link to an ordinary file is one.
    if (!QFileInfo(file.fileName()).isFile())
        return Status::Missing;
    // A file built into the program (":/icon/ico.ico") is in its memory: nothing there can block.
    if (file.fileName().startsWith(QLatin1Char(':')))
        return file.open(QIODevice::ReadOnly) ? Status::Read : Status::Unreadable;
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(file.fileName()).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT ? Status::Missing : Status::Unreadable;
    struct stat info = {};
    // What was opened is what counts: the name may have been swapped since the check.
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return Status::Missing;
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return Status::Unreadable;
    }
    return Status::Read;
#else
    return file.open(QIODevice::ReadOnly) ? Status::Read : Status::Unreadable;
#endif
}

Contents read(const QString &path, qint64 maxBytes)
{
    Contents contents;
    QFile file(path);
    contents.status = open(file);
    if (contents.status == Status::Missing) {
        contents.error = QFileInfo::exists(path) ? QStringLiteral("not a file") : QStringLiteral("file not found");
        return contents;
    }
    if (contents.status == Status::Unreadable) {
        contents.error = QStringLiteral("cannot be opened");
        return contents;
    }
    // The size is only a first guess: the file may grow while it is read, so the reading stops one byte over.
    if (file.size() > maxBytes) {
        contents.status = Status::TooLarge;
    } else {
        contents.bytes = file.read(maxBytes + 1);
        if (contents.bytes.size() > maxBytes)
            contents.status = Status::TooLarge;
        else if (file.error() != QFileDevice::NoError)
            return {Status::Unreadable, {}, file.errorString()};
    }
    if (contents.status == Status::TooLarge) {
        contents.bytes.clear();
        contents.error = QStringLiteral("larger than %1 bytes").arg(maxBytes);
    }
    return contents;
}

} // namespace RegularFile
