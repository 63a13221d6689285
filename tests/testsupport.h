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

    bool copyIn(const QString &source, const QString &name) const { return QFile::copy(source, path(name)); }

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

private:
    bool m_active = false;
#ifdef Q_OS_UNIX
    rlimit m_previous{};
#endif
};

/** Takes the right to create files from a folder while it lives. */
class ReadOnlyFolder
{
public:
    explicit ReadOnlyFolder(const QString &path)
        : m_path(path)
    {
        QFile::setPermissions(m_path, QFile::ReadOwner | QFile::ExeOwner);
    }
    ~ReadOnlyFolder() { QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner); }
    /** False where the user's rights override a folder's permissions (the super-user). */
    bool isActive() const { return !QFileInfo(m_path).isWritable(); }

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
