#include "about/aboutbox.h"
#include "platform/fonts.h"
#include "platform/standinregistry.h"
#include "testsupport.h"

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <cstring>
#include <functional>
#include <tuple>

namespace {

const QString Unavailable = QStringLiteral("Horavista: 現時点ではｼｽﾃﾑ情報を使用できません (1 button)");
const QByteArray InfoKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const QByteArray LocationKey = "SOFTWARE\\Microsoft\\Shared Tools Location";

/** A registry of one value per key, opened for reading only, and a launcher that logs what it is asked. */
struct Fake : Registry, ProgramLauncher
{
    QMap<QByteArray, std::tuple<QByteArray, quint32, QByteArray>> keys; // the name, type and bytes of its value
    QStringList present; // the files that exist, each startable
    QStringList log;

    long openKey(Key root, const QByteArray &name, quint32, quint32 access, Key *key) override
    {
        const qsizetype index = keys.keys().indexOf(name);
        *key = root == LocalMachine && access == ReadAccess && index >= 0 ? Key(index + 1) : 0;
        return *key ? Success : FileNotFound;
    }
    long queryValue(Key key, const QByteArray &name, quint32 *type, char *data, quint32 *size) override
    {
        const auto [valueName, valueType, bytes] = keys.values().value(qsizetype(key) - 1);
        if (valueName != name || quint32(bytes.size()) > *size)
            return FileNotFound;
        *type = valueType;
        *size = quint32(bytes.size());
        std::memcpy(data, bytes.constData(), *size);
        return Success;
    }
    long closeKey(Key key) override { return key ? Success : InvalidHandle; }
    bool fileExists(const QString &path) const override { return present.contains(path); }
    bool start(const QString &path) override
    {
        log << path;
        return present.contains(path);
    }
};

/** Runs @p action; returns "caption: text (n button)" of the message box it shows, answering it, or "". */
QString messageOf(const std::function<void()> &action)
{
    QString seen;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&seen] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            seen = QStringLiteral("%1: %2 (%3 button)").arg(box->windowTitle(), box->text()).arg(box->buttons().size());
            box->buttons().constFirst()->click();
        }
    });
    timer.start(0);
    action();
    return seen;
}

} // namespace

class TestAbout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { Fonts::install(); }
    void cleanup() { QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty()); }

    void showsTitleVersionAndNotices()
    {
        Fake fake;
        AboutBox box(nullptr, fake, fake);
        QCOMPARE(box.windowTitle(), QStringLiteral("Horavistaのﾊﾞｰｼﾞｮﾝ情報"));
        FIND_CONTROL(title, QLabel, &box, "lblTitle");
        FIND_CONTROL(version, QLabel, &box, "lblVersion");
        FIND_CONTROL(description, QLabel, &box, "lblDescription");
        FIND_CONTROL(disclaimer, QLabel, &box, "lblDisclaimer");
        FIND_CONTROL(ok, QPushButton, &box, "cmdOK");
        FIND_CONTROL(sysInfo, QPushButton, &box, "cmdSysInfo");
        QCOMPARE(title->text(), QStringLiteral("Horavista"));
        QCOMPARE(version->text(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ ") + QLatin1String(HORAVISTA_PROJECT_VERSION));
        QVERIFY(description->text().contains(QLatin1String("2026")));
        QCOMPARE(disclaimer->text().count(QStringLiteral("。")), 2);
        QCOMPARE(ok->text(), QStringLiteral("OK"));
        QCOMPARE(sysInfo->text(), QStringLiteral("ｼｽﾃﾑ情報(&S)..."));
        for (QLabel *label : {title, version, description, disclaimer}) // nothing cut off at the bottom
            QVERIFY2(label->heightForWidth(label->width()) <= label->height(), qPrintable(label->objectName()));
    }

    void sysInfoKeepsItOpenAndOkEnterEscEndIt_data()
    {
        QTest::addColumn<int>("key"); // 0: the OK button clicked
        QTest::newRow("OK") << 0;
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("Esc") << int(Qt::Key_Escape);
    }
    void sysInfoKeepsItOpenAndOkEnterEscEndIt()
    {
        QFETCH(int, key);
        Fake fake;
        AboutBox box(nullptr, fake, fake);
        QTimer::singleShot(0, &box, [&] {
            FIND_CONTROL(sysInfo, QPushButton, &box, "cmdSysInfo");
            FIND_CONTROL(ok, QPushButton, &box, "cmdOK");
            QCOMPARE(messageOf([&] { sysInfo->click(); }), Unavailable); // nothing recorded: the message
            QCOMPARE(QApplication::activeModalWidget(), &box);
            key ? QTest::keyClick(&box, Qt::Key(key)) : QTest::mouseClick(ok, Qt::LeftButton);
        });
        QTimer::singleShot(5000, &box, [&box] { box.done(-1); });
        QCOMPARE(box.exec(), int(QDialog::Accepted));
    }

    void looksUpInOrder_data()
    {
        QTest::addColumn<quint32>("type"); // of the first key's "PATH" value; 0 for none
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("folder"); // the second key's "MSINFO" value, when not empty
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QStringList>("started");
        QTest::addColumn<QString>("message");

        const QString tool = QStringLiteral("C:\\Program Files\\MSInfo\\msinfo32.exe");
        const QByteArray folder = "C:\\Shared\\MSInfo";
        const QString shared = QStringLiteral("C:\\Shared\\MSInfo\\MSINFO32.EXE");
        const auto sz = quint32(Registry::String);
        QTest::newRow("first value, started unchanged before the second")
            << sz << tool.toLatin1() + '\0' << folder << QStringList{tool, shared} << QStringList{tool} << QString();
        QTest::newRow("stale first value: the message, not the second")
            << sz << tool.toLatin1() + '\0' << folder << QStringList{shared} << QStringList{tool} << Unavailable;
        QTest::newRow("first value of another type: the empty path")
            << quint32(Registry::Binary) << QByteArray("\x01\x02", 2) << folder << QStringList{shared}
            << QStringList{QString()} << Unavailable;
        QTest::newRow("double word: &h, last byte first, no leading zeros")
            << quint32(Registry::DoubleWord) << QByteArray("\xAB\x0C\0\0", 4) << QByteArray() << QStringList()
            << QStringList{QStringLiteral("&hCAB")} << Unavailable;
        QTest::newRow("only the second, with MSINFO32.EXE")
            << 0u << QByteArray() << folder << QStringList{shared} << QStringList{shared} << QString();
        QTest::newRow("only the second, without MSINFO32.EXE")
            << 0u << QByteArray() << folder << QStringList() << QStringList() << Unavailable;
    }
    void looksUpInOrder()
    {
        QFETCH(quint32, type);
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, folder);
        Fake fake;
        if (type)
            fake.keys[InfoKey] = {"PATH", type, bytes};
        if (!folder.isEmpty())
            fake.keys[LocationKey] = {"MSINFO", Registry::String, folder + '\0'};
        QFETCH(QStringList, present);
        fake.present = present;
        AboutBox box(nullptr, fake, fake);
        QTEST(messageOf([&] { box.StartSysInfo(); }), "message");
        QTEST(fake.log, "started");
    }

    void startsWhatTheStandInFindsOnPath()
    {
#ifndef Q_OS_UNIX
        QSKIP("The programs made here are shell scripts.");
#endif
        QTemporaryDir dir;
        VERIFY_FOLDER(dir);
        const auto program = [&dir](const QString &name) { // a script that leaves name.ran behind
            QFile file(dir.filePath(name));
            const QByteArray script = "#!/bin/sh\ntouch '" + QFile::encodeName(file.fileName()) + ".ran'\n";
            return QDir().mkpath(QFileInfo(file).path()) && file.open(QIODevice::WriteOnly) &&
                file.write(script) == script.size() && file.setPermissions(file.permissions() | QFile::ExeOwner);
        };
        // Earlier in the list beats earlier on PATH.
        QVERIFY(program(QStringLiteral("1/xfce4-about")) && program(QStringLiteral("2/kinfocenter")));
        StandInRegistry standIn(dir.filePath(QStringLiteral("1")) + QDir::listSeparator() +
                                dir.filePath(QStringLiteral("2")));
        AboutBox box(nullptr, standIn, ProgramLauncher::system());
        QCOMPARE(messageOf([&] { box.StartSysInfo(); }), QString());
        QTRY_VERIFY(QFile::exists(dir.filePath(QStringLiteral("2/kinfocenter.ran"))));
    }
};

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
