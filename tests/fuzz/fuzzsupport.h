#pragma once

// Shared by the fuzz targets: one offscreen application and one working folder for the whole run.

#include "platform/fonts.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace Fuzz {

inline QApplication &application()
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char *argv[] = {name, nullptr};
    static QApplication *app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        // The program's own warnings (a damaged picture, for one) are expected here by the thousand.
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &message) {
            if (type == QtFatalMsg) {
                std::fprintf(stderr, "%s\n", qPrintable(message));
                std::abort();
            }
        });
        auto *created = new QApplication(argc, argv);
        Fonts::install();
        return created;
    }();
    return *app;
}

/**
 * A working folder for the run, holding the program's icon. The process's own working folder stays
 * where it is: libFuzzer reads its corpus folders by the names it was given.
 */
inline const QDir &folder()
{
    static QTemporaryDir dir;
    static const QDir path = [] {
        QFile::copy(QStringLiteral(":/icon/ico.ico"), dir.filePath(QStringLiteral("ico.ico")));
        return QDir(dir.path());
    }();
    return path;
}

inline void write(const QString &name, const uint8_t *data, size_t size)
{
    QFile file(folder().filePath(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::abort();
    file.write(reinterpret_cast<const char *>(data), qint64(size));
}

/** How many files of the working folder the process has open: a reader that forgets to close its file shows here. */
inline int openFiles()
{
    int count = 0;
    const QString prefix = folder().absolutePath() + QLatin1Char('/');
    const QFileInfoList open =
        QDir(QStringLiteral("/proc/self/fd")).entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo &fd : open)
        count += fd.symLinkTarget().startsWith(prefix);
    return count;
}

inline void check(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "fuzz: %s\n", what);
        std::abort();
    }
}

} // namespace Fuzz
