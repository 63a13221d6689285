#include "platform/atomicfile.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#else
#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace AtomicFile {

namespace {

/** Links followed at most: a longer chain, or a loop, ends on a link, which is not replaced. */
constexpr int MaxLinks = 40;

/** The file a save of @p path replaces: the end of its links, as editors follow them. */
QFileInfo finalTarget(const QString &path)
{
    QFileInfo file(path);
    for (int followed = 0; followed < MaxLinks && file.isSymbolicLink(); ++followed)
        file.setFile(file.symLinkTarget());
    return file;
}

/** Why @p file may not be replaced, or an empty string: only an ordinary file, or none yet, may. */
QString refusal(const QFileInfo &file)
{
    if (file.isSymbolicLink() || (file.exists() && !file.isFile()))
        return QStringLiteral("not an ordinary file");
    return QString();
}

QString randomLetters()
{
    static constexpr char Letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QString letters;
    for (int i = 0; i < 6; ++i)
        letters += QLatin1Char(Letters[QRandomGenerator::global()->bounded(int(sizeof Letters) - 1)]);
    return letters;
}

/**
 * Removes what saves of @p target killed half-way left behind, once they are old enough that no save
 * can still be writing them: ordinary files named as this program names its temporary files, no other.
 */
void removeStaleTemporaries(const QFileInfo &target)
{
    const QDir folder = target.absoluteDir();
    const QString prefix = temporaryPrefix(target.fileName());
    const QDateTime stale = QDateTime::currentDateTimeUtc().addSecs(-StaleSeconds);
    const QStringList candidates =
        folder.entryList({prefix + QLatin1Char('*')}, QDir::Files | QDir::Hidden | QDir::CaseSensitive);
    for (const QString &name : candidates) {
        const QFileInfo file(folder.filePath(name));
        if (!file.isSymLink() && file.lastModified().toUTC() < stale)
            QFile::remove(file.filePath());
    }
}

/**
 * The last look before the rename, at @p path itself (a link there is not followed, since the rename
 * would replace the link): nothing, or an ordinary file. Done apart from refusal(), by the system's own
 * call where there is one, so that the two checks do not fail together.
 */
bool isOrdinaryOrAbsent(const QString &path)
{
#ifdef Q_OS_WIN
    return refusal(QFileInfo(path)).isEmpty();
#else
    struct stat info = {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return errno == ENOENT;
    return S_ISREG(info.st_mode);
#endif
}

/**
 * Makes @p file, which must not exist yet, for writing; with @p ownerOnly, for its owner's eyes only
 * until the bytes are in place. Windows would keep permissions given here as the file's access list
 * for good, so there the folder's own rules apply from the start.
 */
bool create(QFile &file, bool ownerOnly)
{
    constexpr QIODevice::OpenMode Mode = QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered;
#ifdef Q_OS_WIN
    Q_UNUSED(ownerOnly);
    return file.open(Mode);
#else
    return ownerOnly ? file.open(Mode, QFile::ReadOwner | QFile::WriteOwner) : file.open(Mode);
#endif
}

/** Makes the bytes written to @p file durable, before a rename puts them in place. */
bool syncToDisk(QFile &file)
{
#ifdef Q_OS_WIN
    return FlushFileBuffers(reinterpret_cast<HANDLE>(_get_osfhandle(file.handle())));
#else
    return ::fsync(file.handle()) == 0;
#endif
}

/** Puts @p temporary in the place of @p target in one step; the reason it could not, or an empty string. */
QString replace(const QString &temporary, const QString &target)
{
#ifdef Q_OS_WIN
    const QString from = QDir::toNativeSeparators(temporary);
    const QString to = QDir::toNativeSeparators(target);
    if (MoveFileExW(reinterpret_cast<LPCWSTR>(from.utf16()), reinterpret_cast<LPCWSTR>(to.utf16()),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return QString();
    return qt_error_string(int(GetLastError()));
#else
    if (::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(target).constData()) == 0)
        return QString();
    return qt_error_string(errno);
#endif
}

} // namespace

QString temporaryPrefix(const QString &fileName)
{
    return QLatin1Char('.') + fileName + QStringLiteral(".horavista-save-");
}

Result write(const QString &path, const QByteArray &bytes)
{
    const QFileInfo target = finalTarget(path);
    if (const QString refused = refusal(target); !refused.isEmpty())
        return {false, refused};
    removeStaleTemporaries(target);

    QFile temporary;
    // A name that is taken (by another save of the same file) is tried again with other letters. Until it
    // takes the target's place, the new file is its owner's alone, as the target may be.
    for (int attempt = 1; !temporary.isOpen(); ++attempt) {
        temporary.setFileName(target.absoluteDir().filePath(temporaryPrefix(target.fileName()) + randomLetters()));
        if (!create(temporary, target.exists()) && (attempt == 10 || !temporary.exists()))
            return {false, temporary.errorString()};
    }
    const auto fail = [&temporary](const QString &reason) {
        temporary.remove();
        return Result{false, reason};
    };
    qint64 written = 0;
    while (written < bytes.size()) {
        const qint64 chunk = temporary.write(bytes.constData() + written, bytes.size() - written);
        if (chunk <= 0)
            return fail(chunk < 0 ? temporary.errorString() : QStringLiteral("the disk is full"));
        written += chunk;
    }
    if (!syncToDisk(temporary))
        return fail(qt_error_string());
    temporary.close();
    if (target.exists())
        temporary.setPermissions(target.permissions());
    // Checked again at the last moment: the name may have been given to something else meanwhile.
    if (!isOrdinaryOrAbsent(target.absoluteFilePath()))
        return fail(QStringLiteral("not an ordinary file"));
    if (const QString reason = replace(temporary.fileName(), target.absoluteFilePath()); !reason.isEmpty())
        return fail(reason);
    return {true, QString()};
}

} // namespace AtomicFile
