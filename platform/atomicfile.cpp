#include "platform/atomicfile.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

#include <algorithm>

namespace AtomicFile {

namespace {

/**
 * True for the six characters Qt puts after a temporary file's name: random letters and digits. Six of
 * one kind only (a word such as "backup", a number) may well be a name a person gave, and is left.
 */
bool looksRandom(QStringView suffix)
{
    const auto has = [suffix](bool (*kind)(char32_t)) {
        return std::any_of(suffix.begin(), suffix.end(), [kind](QChar c) { return kind(c.unicode()); });
    };
    const int kinds = int(has([](char32_t c) { return c >= 'a' && c <= 'z'; })) +
        int(has([](char32_t c) { return c >= 'A' && c <= 'Z'; })) +
        int(has([](char32_t c) { return c >= '0' && c <= '9'; }));
    return kinds >= 2;
}

/**
 * Removes what saves of @p path killed half-way left behind: its temporary files ("name.XXXXXX"),
 * once they are old enough that no save can still be writing them.
 */
void removeStaleTemporaries(const QString &path)
{
    const QFileInfo target(path);
    const QDir folder = target.absoluteDir();
    const QRegularExpression temporary(QRegularExpression::anchoredPattern(
        QRegularExpression::escape(target.fileName()) + QStringLiteral("\\.([A-Za-z0-9]{6})")));
    const QDateTime stale = QDateTime::currentDateTimeUtc().addSecs(-StaleSeconds);
    const QStringList candidates =
        folder.entryList({target.fileName() + QStringLiteral(".??????")}, QDir::Files | QDir::Hidden);
    for (const QString &name : candidates) {
        const QFileInfo file(folder.filePath(name));
        const QRegularExpressionMatch match = temporary.match(name);
        if (match.hasMatch() && looksRandom(match.capturedView(1)) && !file.isSymLink() &&
            file.lastModified().toUTC() < stale)
            QFile::remove(file.filePath());
    }
}

} // namespace

Result write(const QString &path, const QByteArray &bytes)
{
    removeStaleTemporaries(path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return {false, file.errorString()};
    qint64 written = 0;
    while (written < bytes.size()) {
        const qint64 chunk = file.write(bytes.constData() + written, bytes.size() - written);
        if (chunk <= 0) {
            // Cancelling puts its own words in errorString(): the reason is taken first.
            const QString reason = chunk < 0 ? file.errorString() : QStringLiteral("the disk is full");
            file.cancelWriting();
            return {false, reason};
        }
        written += chunk;
    }
    if (!file.commit())
        return {false, file.errorString()};
    return {true, QString()};
}

} // namespace AtomicFile
