#pragma once

#include <QByteArray>
#include <QString>

/**
 * @brief Replacing a file all at once: the new bytes land completely or the old file stays.
 *
 * The bytes go to a temporary file beside the target, which is renamed over it only when every byte
 * was written and is on the disk. A short write (a full disk, a size limit) counts as a failure. Only an
 * ordinary file is replaced: where the name, or what its links lead to, is a folder, a device, a named
 * pipe or a socket, the save fails and touches nothing. A link is followed, as editors do: the link stays
 * and the file it leads to gets the new bytes. A save killed half-way leaves its temporary file
 * (".name.horavista-save-XXXXXX", with six random letters and digits, a name no person gives); the next
 * save of the same file removes those older than StaleSeconds, and no other file.
 */
namespace AtomicFile {

/** Older than this, a temporary file beside the target belongs to no running save. */
inline constexpr int StaleSeconds = 60;

/** What a save's temporary file is called: this, then six random letters and digits. */
QString temporaryPrefix(const QString &fileName);

struct Result
{
    bool ok = false;
    QString error;
};

Result write(const QString &path, const QByteArray &bytes);

} // namespace AtomicFile
