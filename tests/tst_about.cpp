#include "about/aboutbox.h"
#include "forms/picturebox.h"
#include "imaging/picturefile.h"
#include "platform/programlauncher.h"
#include "platform/systeminformation.h"
#include "testsupport.h"

#include <QLabel>

using namespace Qt::StringLiterals;

namespace {

// A system that records the program at its path, and a launcher that starts only /usr/bin/hardinfo.
struct Fake : SystemInformation, ProgramLauncher
{
    QString path;
    QStringList started;
    QString programPath() const override { return path; }
    bool start(const QString &program) override { return started << program, program == u"/usr/bin/hardinfo"; }
};

} // namespace

class TestAbout : public WindowTest
{
    Q_OBJECT

private Q_SLOTS:
    void showsTheProgramStartsTheRecordedInformationProgramAndEndsByOkEnterOrEsc_data()
    {
        QTest::addColumn<int>("key"); // 0: the OK button clicked
        QTest::addColumn<QString>("path"); // the information program the system records
        QTest::addColumn<QStringList>("started"); // what ｼｽﾃﾑ情報 started
        QTest::addColumn<QStringList>("messages");
        const QStringList none{u"Horavista 現時点ではｼｽﾃﾑ情報を使用できません"_s};
        QTest::newRow("recorded and there; OK")
            << 0 << u"/usr/bin/hardinfo"_s << QStringList{u"/usr/bin/hardinfo"_s} << QStringList();
        QTest::newRow("stale path; Enter")
            << int(Qt::Key_Return) << u"/usr/bin/gone"_s << QStringList{u"/usr/bin/gone"_s} << none;
        QTest::newRow("none recorded; Esc") << int(Qt::Key_Escape) << QString() << QStringList() << none;
    }
    void showsTheProgramStartsTheRecordedInformationProgramAndEndsByOkEnterOrEsc()
    {
        QFETCH(int, key);
        QFETCH(QString, path);
        Fake fake;
        fake.path = path;
        AboutBox box(nullptr, fake, fake);
        // The title, the designed place (2340, 1935 twips) and the captions.
        FIND_CHILD(ok, QPushButton, &box, "cmdOK");
        FIND_CHILD(systemInformation, QPushButton, &box, "cmdSysInfo");
        QCOMPARE(box.pos(), QPoint(156, 129));
        QStringList texts{box.windowTitle()};
        for (const QObject *control : box.findChildren<QWidget *>(QRegularExpression(u"^(cmd|lblTitle|lblVersion)"_s)))
            texts << control->property("text").toString();
        QCOMPARE(texts,
                 (QStringList{u"Horavistaのﾊﾞｰｼﾞｮﾝ情報"_s, u"OK"_s, u"ｼｽﾃﾑ情報(&S)..."_s, u"Horavista"_s,
                              u"ﾊﾞｰｼﾞｮﾝ "_s + QLatin1String(HORAVISTA_PROJECT_VERSION)}));
        for (QLabel *label : box.findChildren<QLabel *>()) // nothing cut off at the bottom
            QVERIFY2(label->heightForWidth(label->width()) <= label->height(), qPrintable(label->objectName()));
        FIND_CHILD(icon, PictureBox, &box, "picIcon");
        QCOMPARE(icon->picture(), PictureFile::builtInIcon().pixmap(32, 32).toImage());
        QCOMPARE(icon->size(), QSize(32, 32));
        QCOMPARE(box.grab().toImage().pixelColor(5, 100), QColor(Qt::white));
        QCOMPARE(box.focusWidget()->objectName(), u"cmdOK"_s);

        MessageCatcher messages;
        whenModalOpens([&](QWidget *) {
            systemInformation->click();
            QCOMPARE(QApplication::activeModalWidget(), &box);
            key ? QTest::keyClick(&box, Qt::Key(key)) : ok->click();
        });
        QCOMPARE(box.exec(), int(QDialog::Accepted));
        QTEST(fake.started, "started");
        QTEST(messages.seen, "messages");
    }

    void findsTheFirstReportProgramOnThePath()
    {
#ifdef Q_OS_WIN
        QSKIP("Windows records its information program in the registry.");
#else
        // Scripts that leave name.ran behind; earlier in the list of programs beats earlier on the path.
        for (const QString &name : {u"1/xfce4-about"_s, u"2/kinfocenter"_s})
            QVERIFY(
                m_folder->dir().mkpath(name.left(1)) && m_folder->write(name, "#!/bin/sh\ntouch \"$0.ran\"\n") &&
                QFile::setPermissions(m_folder->path(name), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        const QString found = SystemInformation::findOnSearchPath({m_folder->path(u"1"_s), m_folder->path(u"2"_s)});
        QCOMPARE(found, m_folder->path(u"2/kinfocenter"_s));
        QVERIFY(ProgramLauncher::system().start(found));
        QTRY_VERIFY(QFile::exists(found + u".ran"_s));
#endif
    }
};

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
