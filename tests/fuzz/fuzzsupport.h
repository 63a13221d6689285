#pragma once

// Shared by the fuzz targets: one offscreen application and one working folder for the whole run.

#include "platform/fonts.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QTemporaryDir>

namespace Fuzz {

inline void application()
{
    static int argc = 1;
    static char *argv[] = {const_cast<char *>("fuzz"), nullptr};
    if (qApp)
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The program's own warnings (a damaged picture, for one) come here by the thousand; only a fatal
    // message (a failed check) is printed, before Qt aborts.
    QLoggingCategory::setFilterRules(QStringLiteral("*=false"));
    new QApplication(argc, argv); // kept to the end of the run
    Fonts::install();
}

inline void check(bool condition, const char *what)
{
    if (!condition)
        qFatal("fuzz: %s", what);
}

// A working folder for the run, holding the program's icon. The process's own working folder stays where
// it is: libFuzzer reads its corpus folders by the names it was given.
inline QDir folder()
{
    static QTemporaryDir dir;
    static const bool icon = QFile::copy(QStringLiteral(":/icon/ico.ico"), dir.filePath(QStringLiteral("ico.ico")));
    check(icon, "no icon");
    return QDir(dir.path());
}

inline void write(const QString &name, const uint8_t *data, size_t size)
{
    QFile file(folder().filePath(name));
    check(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "the input cannot be written");
    file.write(reinterpret_cast<const char *>(data), qint64(size));
}

// How many files of the working folder the process has open: a reader that forgets to close its file shows here.
inline int openFiles()
{
    int count = 0;
    const QDir open(QStringLiteral("/proc/self/fd"));
    for (const QFileInfo &fd : open.entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot))
        count += fd.symLinkTarget().startsWith(folder().absolutePath() + QLatin1Char('/'));
    return count;
}

} // namespace Fuzz
