#include "about/aboutbox.h"
#include "platform/picturebox.h"
#include "platform/picturefile.h"
#include "platform/programlauncher.h"
#include "platform/systeminformation.h"
#include "testsupport.h"

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include <functional>

namespace {

const QString Unavailable = QStringLiteral("Horavista: 現時点ではｼｽﾃﾑ情報を使用できません (1 button)");

/** A system that records the program at @p path, and a launcher that starts only what exists. */
struct Fake : SystemInformation, ProgramLauncher
{
    QString path;
    QStringList present; // the programs that can be started
    QStringList log;

    QString programPath() const override { return path; }
    bool start(const QString &program) override
    {
        log << program;
        return present.contains(program);
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
        FIND_CONTROL(icon, PictureBox, &box, "picIcon");
        QCOMPARE(icon->size(), QSize(32, 32));
        QCOMPARE(icon->picture().convertToFormat(QImage::Format_ARGB32),
                 PictureFile::builtInIcon().pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32));
        QCOMPARE(box.pos(), QPoint(156, 129)); // its designed place: 2340, 1935 twips
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

    void startsTheRecordedProgram_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QStringList>("started");
        QTest::addColumn<QString>("message");
        const QString tool = QStringLiteral("/usr/bin/hardinfo");
        QTest::newRow("recorded and there") << tool << QStringList{tool} << QStringList{tool} << QString();
        QTest::newRow("recorded but stale") << tool << QStringList() << QStringList{tool} << Unavailable;
        QTest::newRow("none recorded") << QString() << QStringList{tool} << QStringList() << Unavailable;
    }
    void startsTheRecordedProgram()
    {
        Fake fake;
        QFETCH(QString, path);
        QFETCH(QStringList, present);
        fake.path = path;
        fake.present = present;
        AboutBox box(nullptr, fake, fake);
        QTEST(messageOf([&] { box.startSystemInformation(); }), "message");
        QTEST(fake.log, "started");
    }

    void findsTheFirstReportProgramOnThePath()
    {
#ifdef Q_OS_WIN
        QSKIP("Windows records its information program in the registry.");
#else
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
        const QString found =
            SystemInformation::findOnSearchPath({dir.filePath(QStringLiteral("1")), dir.filePath(QStringLiteral("2"))});
        QCOMPARE(found, dir.filePath(QStringLiteral("2/kinfocenter")));
        QVERIFY(ProgramLauncher::system().start(found));
        QTRY_VERIFY(QFile::exists(dir.filePath(QStringLiteral("2/kinfocenter.ran"))));
#endif
    }
};

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
