#pragma once

#include <QByteArray>
#include <QString>

/**
 * @brief Replacing a file all at once: the new bytes land completely or the old file stays.
 *
 * The bytes go to a temporary file beside the target, which is renamed over it only when every byte
 * was written. A short write (a full disk, a size limit) counts as a failure: QSaveFile's buffered
 * writing would take a partial write for success and commit a truncated file. A save killed half-way
 * leaves its temporary file ("name.XXXXXX", six random letters and digits); the next save of the same
 * file removes those older than StaleSeconds.
 */
namespace AtomicFile {

/** Older than this, a temporary file beside the target belongs to no running save. */
inline constexpr int StaleSeconds = 60;

struct Result
{
    bool ok = false;
    QString error;
};

Result write(const QString &path, const QByteArray &bytes);

} // namespace AtomicFile
