#pragma once

// Shared by the test programs: a fresh working folder per test, a fixed clock, controls by name.

#include "clock/timesource.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMouseEvent>
#include <QPointF>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

/** A fresh temporary folder that is the process's working folder until the object goes. */
class WorkingFolder
{
public:
    WorkingFolder()
        : m_previous(QDir::currentPath())
    {
        if (m_dir.isValid())
            QDir::setCurrent(m_dir.path());
    }
    ~WorkingFolder() { QDir::setCurrent(m_previous); }

    bool isValid() const { return m_dir.isValid(); }
    QString errorString() const { return m_dir.errorString(); }
    QDir dir() const { return QDir(m_dir.path()); }
    QString path(const QString &name) const { return m_dir.filePath(name); }

    bool write(const QString &name, const QByteArray &bytes) const
    {
        QFile file(path(name));
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    }

    QByteArray read(const QString &name) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    /** Copies @p source in as @p name, writable: copies of built-in resources come out read-only, which
     *  Windows then refuses to delete. */
    bool copyIn(const QString &source, const QString &name) const
    {
        const QString target = path(name);
        return QFile::copy(source, target) &&
            QFile::setPermissions(target, QFile::permissions(target) | QFile::WriteOwner | QFile::WriteUser);
    }

    /** Why this system cannot remove a process's working folder under it, or nullptr where it can. */
    static const char *whyItCannotVanish()
    {
#ifdef Q_OS_WIN
        return "Windows does not remove a folder that a process has as its current folder";
#else
        return nullptr;
#endif
    }

private:
    QString m_previous;
    QTemporaryDir m_dir;
};

/**
 * Makes writing fail while it lives, as a full disk would: files may not grow past a few bytes.
 * The size limit binds every user, the super-user included, unlike a folder's permissions.
 */
class FullDisk
{
public:
    FullDisk()
    {
#ifdef Q_OS_UNIX
        std::signal(SIGXFSZ, SIG_IGN);
        m_active = getrlimit(RLIMIT_FSIZE, &m_previous) == 0;
        rlimit tiny = m_previous;
        tiny.rlim_cur = 8;
        m_active = m_active && setrlimit(RLIMIT_FSIZE, &tiny) == 0;
#endif
    }
    ~FullDisk()
    {
#ifdef Q_OS_UNIX
        if (m_active)
            setrlimit(RLIMIT_FSIZE, &m_previous);
#endif
    }
    bool isActive() const
    {
        return m_active;
    }
    /** The reason a test that needs a full disk skips where it is not active. */
    const char *whyInactive() const
    {
#ifdef Q_OS_UNIX
        return "the file size limit cannot be lowered here";
#else
        return "this system has no file size limit to stand in for a full disk";
#endif
    }

private:
    bool m_active = false;
#ifdef Q_OS_UNIX
    rlimit m_previous{};
#endif
};

/**
 * Takes the right to create files from a folder while it lives. Not on Windows, which keeps a folder's
 * read-only attribute for Explorer's use and lets files be created in it all the same.
 */
class ReadOnlyFolder
{
public:
    explicit ReadOnlyFolder(const QString &path)
        : m_path(path)
    {
#ifndef Q_OS_WIN
        QFile::setPermissions(m_path, QFile::ReadOwner | QFile::ExeOwner);
#endif
    }
    ~ReadOnlyFolder()
    {
#ifndef Q_OS_WIN
        QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
#endif
    }
    /** False where the user's rights override a folder's permissions (the super-user), and on Windows. */
    bool isActive() const
    {
#ifdef Q_OS_WIN
        return false;
#else
        return !QFileInfo(m_path).isWritable();
#endif
    }
    /** The reason a test that needs a read-only folder skips where it is not active. */
    const char *whyInactive() const
    {
#ifdef Q_OS_WIN
        return "Windows lets files be created in a folder whatever its read-only attribute";
#else
        return "this user may write into any folder";
#endif
    }

private:
    QString m_path;
};

/** The clock every test reads: fixed at a wall-clock reading until set again. */
class FixedClock
{
public:
    explicit FixedClock(const QDateTime &reading = QDateTime(QDate(2026, 12, 6), QTime(10, 0, 0)))
        : m_reading(reading)
    {
        TimeSource::set([this] { return m_reading; });
    }
    ~FixedClock() { TimeSource::reset(); }

    void advance(int seconds) { m_reading = m_reading.addSecs(seconds); }

private:
    QDateTime m_reading;
};

/**
 * Presses @p button at @p at on @p widget, moves the pointer by @p by on the screen in two steps with
 * the button held, and releases it there.
 */
inline void dragOn(QWidget *widget, const QPoint &at, const QPoint &by, Qt::MouseButton button = Qt::LeftButton)
{
    const QPoint start = widget->mapToGlobal(at);
    QTest::mousePress(widget, button, {}, at);
    for (const QPoint &step : {by / 2, by}) {
        const QPoint pointer = start + step;
        QMouseEvent move(QEvent::MouseMove, widget->mapFromGlobal(pointer), pointer, Qt::NoButton, button,
                         Qt::NoModifier);
        QApplication::sendEvent(widget, &move);
    }
    QTest::mouseRelease(widget, button, {}, widget->mapFromGlobal(start + by));
}

/** Twip coordinates that agree to two decimals. */
inline bool sameTwips(const QPointF &got, const QPointF &want)
{
    return qAbs(got.x() - want.x()) < 0.005 && qAbs(got.y() - want.y()) < 0.005;
}

#define COMPARE_TWIPS(got, want)                                                                                       \
    QVERIFY2(sameTwips((got), (want)),                                                                                 \
             qPrintable(QStringLiteral("(%1, %2) instead of (%3, %4)")                                                 \
                            .arg((got).x())                                                                            \
                            .arg((got).y())                                                                            \
                            .arg((want).x())                                                                           \
                            .arg((want).y())))

/** Finds the control named @p name under @p parent, failing the test when there is none. */
#define FIND_CONTROL(var, Type, parent, name)                                                                          \
    Type *var = (parent)->findChild<Type *>(QString::fromLatin1(name));                                                \
    QVERIFY2(var, qPrintable(QStringLiteral("no control named ") + QString::fromLatin1(name)))

#define VERIFY_FOLDER(folder) QVERIFY2((folder).isValid(), qPrintable((folder).errorString()))
