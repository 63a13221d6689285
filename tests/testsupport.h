#pragma once

// Shared by the test programs: a fresh working folder per test, a fixed clock, failing disks,
// controls found by name, modal windows answered, and the frame of the tests that open windows.

#include "clocktesting.h"
#include "platform/fonts.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <cmath>
#include <memory>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

// A fresh temporary folder that is the process's working folder until the object goes.
class WorkingFolder : public QTemporaryDir
{
public:
    WorkingFolder() { QDir::setCurrent(path()); }
    ~WorkingFolder() { QDir::setCurrent(m_previous); }

    QDir dir() const { return QDir(path()); }
    QString path(const QString &name) const { return filePath(name); }
    using QTemporaryDir::path;

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
    QStringList entries() const { return dir().entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot); }

    // A copy of @p source (a Qt resource, say) that the test may change and delete.
    bool copyIn(const QString &source, const QString &name) const
    {
        return QFile::copy(source, path(name)) &&
            QFile::setPermissions(path(name), QFile::ReadOwner | QFile::WriteOwner);
    }

private:
    QString m_previous = QDir::currentPath();
};

// Makes writing fail while it lives, as a full disk would: files may not grow past a few bytes. The size limit binds
// every user, the super-user included, unlike a folder's permissions.
class FullDisk
{
public:
    bool isActive() const { return m_active; } // false where the system has no per-process file size limit
    FullDisk()
    {
#ifdef Q_OS_UNIX
        std::signal(SIGXFSZ, SIG_IGN);
        if (getrlimit(RLIMIT_FSIZE, &m_previous) != 0)
            return;
        rlimit tiny = m_previous;
        tiny.rlim_cur = 8;
        m_active = setrlimit(RLIMIT_FSIZE, &tiny) == 0;
#endif
    }
    ~FullDisk()
    {
#ifdef Q_OS_UNIX
        if (m_active)
            setrlimit(RLIMIT_FSIZE, &m_previous);
#endif
    }
    static constexpr char WhyInactive[] = "this system has no file size limit to stand for a full disk";

private:
    bool m_active = false;
#ifdef Q_OS_UNIX
    rlimit m_previous{};
#endif
};

// Declares @p var as the child of @p parent of type @p Type named @p name; where there is none, the test fails there,
// naming the control, and the other tests go on.
#define FIND_CHILD(var, Type, parent, name)                                                                            \
    auto *var = (parent)->findChild<Type *>(QStringLiteral(name));                                                     \
    QVERIFY2(var, "no control named " name)

#define VERIFY_FOLDER(folder) QVERIFY2((folder).isValid(), qPrintable((folder).errorString()))

// A point in twips to two decimals, for comparing with the worked examples.
inline QPointF toHundredths(const QPointF &point)
{
    return {std::round(point.x() * 100) / 100, std::round(point.y() * 100) / 100};
}

// Presses @p button at @p at on @p widget, moves the pointer by @p by with the button held, and releases it.
inline void dragOn(QWidget *widget, const QPoint &at, const QPoint &by, Qt::MouseButton button = Qt::LeftButton)
{
    const QPoint start = widget->mapToGlobal(at);
    QTest::mousePress(widget, button, {}, at);
    for (const QPoint &step : {by / 2, by}) {
        QMouseEvent move(QEvent::MouseMove, widget->mapFromGlobal(start + step), start + step, Qt::NoButton, button,
                         Qt::NoModifier);
        QApplication::sendEvent(widget, &move);
    }
    QTest::mouseRelease(widget, button, {}, widget->mapFromGlobal(start + by));
}

// The colours of @p image at @p points.
inline QList<QColor> colours(const QImage &image, std::initializer_list<QPoint> points)
{
    QList<QColor> found;
    for (const QPoint &point : points)
        found << image.pixelColor(point);
    return found;
}

// Runs @p answer on the next modal window (a dialog) once the code under test opens it.
template <typename Answer>
void whenModalOpens(Answer answer, int triesLeft = 200)
{
    QTimer::singleShot(10, [answer, triesLeft] {
        if (QWidget *modal = QApplication::activeModalWidget())
            return answer(modal);
        if (triesLeft > 0)
            whenModalOpens(answer, triesLeft - 1); // a pop-up menu may still be on its way
    });
}

// Answers with OK every message box shown while it lives, and records each as "caption text".
class MessageCatcher : public QObject
{
public:
    MessageCatcher()
    {
        m_timer.callOnTimeout(this, [this] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                seen << box->windowTitle() + QLatin1Char(' ') + box->text();
                box->buttons().constFirst()->click();
            }
        });
        m_timer.start(5);
    }
    QStringList seen;

private:
    QTimer m_timer;
};

// Picks @p city from @p list as a user does: open it, go to the entry, Enter.
inline void choose(QComboBox *list, const QString &city)
{
    list->showPopup();
    list->view()->setCurrentIndex(list->model()->index(list->findText(city), 0));
    QTest::keyClick(list->view(), Qt::Key_Return);
}

// Base of the tests that open the program's windows: the design fonts, a fresh working folder holding the program's
// icon for each test, and no window left open after it.
class WindowTest : public QObject
{
    Q_OBJECT

protected:
    std::unique_ptr<WorkingFolder> m_folder;

protected Q_SLOTS:
    void initTestCase() { Fonts::install(); }
    void init()
    {
        m_folder = std::make_unique<WorkingFolder>();
        QVERIFY2(m_folder->isValid(), qPrintable(m_folder->errorString()));
        QVERIFY(m_folder->copyIn(QStringLiteral(":/icon/ico.ico"), QStringLiteral("ico.ico")));
    }
    void cleanup()
    {
        m_folder.reset();
        QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty());
    }
};
