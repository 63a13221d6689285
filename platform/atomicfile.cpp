#include "platform/atomicfile.h"

#include <QSaveFile>

namespace AtomicFile {

Result write(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return {false, file.errorString()};
    qint64 written = 0;
    while (written < bytes.size()) {
        const qint64 chunk = file.write(bytes.constData() + written, bytes.size() - written);
        if (chunk <= 0) {
            file.cancelWriting();
            return {false, chunk < 0 ? file.errorString() : QStringLiteral("the disk is full")};
        }
        written += chunk;
    }
    if (!file.commit())
        return {false, file.errorString()};
    return {true, QString()};
}

} // namespace AtomicFile
