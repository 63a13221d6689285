#include "about/aboutbox.h"
#include "platform/picturebox.h"
#include "platform/picturefile.h"
#include "platform/programlauncher.h"
#include "platform/systeminformation.h"
#include "testsupport.h"

#include <QLabel>
#include <QPushButton>

namespace {

/** A system that records the program at its path, and a launcher that starts only what is present. */
struct Fake : SystemInformation, ProgramLauncher
{
    QString path;
    QString present;
    QStringList started;
    QString programPath() const override { return path; }
    bool start(const QString &program) override
    {
        started << program;
        return program == present;
    }
};

} // namespace

class TestAbout : public WindowTest
{
    Q_OBJECT

private Q_SLOTS:
    void showsTheProgramAndEndsByOkEnterOrEsc_data()
    {
        QTest::addColumn<int>("key"); // 0: the OK button clicked
        QTest::newRow("OK") << 0;
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("Esc") << int(Qt::Key_Escape);
    }
    void showsTheProgramAndEndsByOkEnterOrEsc()
    {
        Fake fake;
        AboutBox box(nullptr, fake, fake);
        QCOMPARE(box.windowTitle(), QStringLiteral("Horavistaのﾊﾞｰｼﾞｮﾝ情報"));
        QCOMPARE(box.pos(), QPoint(156, 129)); // its designed place: 2340, 1935 twips
        QStringList texts;
        for (const char *name : {"lblTitle", "lblVersion", "cmdOK", "cmdSysInfo"})
            texts << box.findChild<QWidget *>(QLatin1String(name))->property("text").toString();
        QCOMPARE(
            texts.join(u'|'),
            QStringLiteral("Horavista|ﾊﾞｰｼﾞｮﾝ %1|OK|ｼｽﾃﾑ情報(&S)...").arg(QLatin1String(HORAVISTA_PROJECT_VERSION)));
        for (QLabel *label : box.findChildren<QLabel *>()) // nothing cut off at the bottom
            QVERIFY2(label->heightForWidth(label->width()) <= label->height(), qPrintable(label->objectName()));
        auto *icon = child<PictureBox>(&box, "picIcon");
        QCOMPARE(icon->size(), QSize(32, 32));
        QCOMPARE(icon->picture(), PictureFile::builtInIcon().pixmap(32, 32).toImage());
        QCOMPARE(box.grab().toImage().pixelColor(5, 100), QColor(Qt::white));
        QCOMPARE(box.focusWidget(), box.findChild<QPushButton *>(QStringLiteral("cmdOK")));

        QFETCH(int, key);
        MessageCatcher messages;
        whenModalOpens([&](QWidget *) {
            box.findChild<QPushButton *>(QStringLiteral("cmdSysInfo"))->click(); // nothing recorded: the message
            QCOMPARE(QApplication::activeModalWidget(), &box);
            key ? QTest::keyClick(&box, Qt::Key(key)) : box.findChild<QPushButton *>(QStringLiteral("cmdOK"))->click();
        });
        QCOMPARE(box.exec(), int(QDialog::Accepted));
        QCOMPARE(messages.seen, QStringList{QStringLiteral("Horavista 現時点ではｼｽﾃﾑ情報を使用できません")});
    }

    void startsTheRecordedProgram_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("present");
        QTest::addColumn<QString>("outcome"); // what was started, then the message
        const QString tool = QStringLiteral("/usr/bin/hardinfo");
        QTest::newRow("recorded and there") << tool << tool << "/usr/bin/hardinfo ";
        QTest::newRow("recorded but stale")
            << tool << QString() << "/usr/bin/hardinfo Horavista 現時点ではｼｽﾃﾑ情報を使用できません";
        QTest::newRow("none recorded") << QString() << tool << " Horavista 現時点ではｼｽﾃﾑ情報を使用できません";
    }
    void startsTheRecordedProgram()
    {
        Fake fake;
        QFETCH(QString, path);
        QFETCH(QString, present);
        fake.path = path;
        fake.present = present;
        AboutBox box(nullptr, fake, fake);
        MessageCatcher messages;
        box.startSystemInformation();
        QTEST(fake.started.join(u' ') + u' ' + messages.seen.join(u' '), "outcome");
    }

    void findsTheFirstReportProgramOnThePath()
    {
#ifdef Q_OS_WIN
        QSKIP("Windows records its information program in the registry.");
#else
        // Scripts that leave name.ran behind; earlier in the list of programs beats earlier on the path.
        for (const char *name : {"1/xfce4-about", "2/kinfocenter"}) {
            const QString path = m_folder->path(QLatin1String(name));
            QVERIFY(m_folder->dir().mkpath(QFileInfo(path).path()));
            QVERIFY(m_folder->write(QLatin1String(name), "#!/bin/sh\ntouch \"$0.ran\"\n"));
            QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        }
        const QString found = SystemInformation::findOnSearchPath(
            {m_folder->path(QStringLiteral("1")), m_folder->path(QStringLiteral("2"))});
        QCOMPARE(found, m_folder->path(QStringLiteral("2/kinfocenter")));
        QVERIFY(ProgramLauncher::system().start(found));
        QTRY_VERIFY(QFile::exists(found + QStringLiteral(".ran")));
#endif
    }
};

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
