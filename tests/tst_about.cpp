#include "about/aboutbox.h"
#include "platform/fonts.h"
#include "platform/picturebox.h"
#include "platform/programlauncher.h"
#include "platform/standinregistry.h"
#include "platform/twips.h"
#include "testsupport.h"

#include <QLabel>
#include <QMap>
#include <QMessageBox>
#include <QPushButton>
#include <QSet>
#include <QTimer>

#include <cstring>
#include <functional>

namespace {

const QString NoMessage;
const QString Unavailable = QStringLiteral("現時点ではｼｽﾃﾑ情報を使用できません");
const QString InfoKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString LocationKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");

struct StoredValue
{
    quint32 type = Registry::String;
    QByteArray bytes;
};

/** A registry of a few values under LocalMachine that remembers how it was used. */
class FakeRegistry : public Registry
{
public:
    /** Keys by lower-case name; values by lower-case name. */
    QMap<QString, QMap<QString, StoredValue>> keys;

    QStringList opened;
    QList<quint32> accessMasks;
    QList<Key> closed;
    int openNow = 0;

    void setString(const QString &key, const QString &value, const QByteArray &text)
    {
        keys[key.toLower()][value.toLower()] = {String, text + '\0'};
    }
    void setValue(const QString &key, const QString &value, quint32 type, const QByteArray &bytes)
    {
        keys[key.toLower()][value.toLower()] = {type, bytes};
    }

    long openKey(Key root, const QByteArray &keyName, quint32 options, quint32 access, Key *key) override
    {
        *key = 0;
        opened << QString::fromLocal8Bit(keyName);
        accessMasks << access;
        const QStringList names = keys.keys();
        const qsizetype index = names.indexOf(QString::fromLocal8Bit(keyName).toLower());
        if (root != LocalMachine || options != 0 || index < 0)
            return FileNotFound;
        *key = static_cast<Key>(100 + index);
        ++openNow;
        return Success;
    }

    long queryValue(Key key, const QByteArray &valueName, quint32 *type, char *data, quint32 *size) override
    {
        const QStringList names = keys.keys();
        const qsizetype index = static_cast<qsizetype>(key) - 100;
        if (index < 0 || index >= names.size())
            return InvalidHandle;
        const auto &values = keys[names.at(index)];
        const auto found = values.constFind(QString::fromLocal8Bit(valueName).toLower());
        if (found == values.constEnd())
            return FileNotFound;
        const auto length = static_cast<quint32>(found->bytes.size());
        *type = found->type;
        if (length > *size) {
            *size = length;
            return MoreData;
        }
        std::memcpy(data, found->bytes.constData(), length);
        *size = length;
        return Success;
    }

    long closeKey(Key key) override
    {
        closed << key;
        if (key == 0)
            return InvalidHandle;
        --openNow;
        return Success;
    }
};

/** Starts nothing: records what it was asked and answers from its lists. */
class FakeLauncher : public ProgramLauncher
{
public:
    QSet<QString> files;
    QSet<QString> startable;
    mutable QStringList tested;
    QStringList started;

    bool fileExists(const QString &path) const override
    {
        tested << path;
        return files.contains(path);
    }
    bool start(const QString &path) override
    {
        started << path;
        return startable.contains(path);
    }
};

/** Answers the next message box with OK and keeps its caption and text; a box that never comes leaves them empty. */
class MessageWatcher
{
public:
    MessageWatcher()
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { answer(); });
        m_timer.start(0);
    }
    QString caption;
    QString text;
    int buttons = 0;

private:
    void answer()
    {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        m_timer.stop();
        caption = box->windowTitle();
        text = box->text();
        buttons = int(box->buttons().size());
        box->button(QMessageBox::Ok)->click();
    }

    QTimer m_timer;
};

/** Runs @p action; returns the text of the message box it shows, or an empty text when it shows none. */
QString messageOf(const std::function<void()> &action)
{
    MessageWatcher watcher;
    action();
    QCoreApplication::processEvents();
    if (!watcher.text.isEmpty()) {
        if (watcher.caption != QLatin1String("Horavista") || watcher.buttons != 1)
            return QStringLiteral("wrong box: ") + watcher.caption;
    }
    return watcher.text;
}

/** Makes an executable file @p name in @p folder: a shell script. */
bool makeProgram(const QString &folder, const QString &name, const QByteArray &script = "#!/bin/sh\nexit 0\n")
{
    QFile file(QDir(folder).filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(script) != script.size())
        return false;
    file.close();
    return file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QByteArray dword(quint32 value)
{
    QByteArray bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    return bytes;
}

} // namespace

class TestAbout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();

    void showsTheProgramsTitleVersionAndNotices();
    void standsAtItsDesignedPlace();
    void okEnterEscAndCloseBoxEndIt_data();
    void okEnterEscAndCloseBoxEndIt();
    void tabGoesBetweenTheButtons();

    void getKeyValue_data();
    void getKeyValue();
    void startSysInfoLooksUpInOrder_data();
    void startSysInfoLooksUpInOrder();
    void sysInfoButtonKeepsTheBoxOpen();

    void standInFindsTheFirstProgramOfItsList_data();
    void standInFindsTheFirstProgramOfItsList();
    void standInIsReadOnlyAndHasNoSecondKey();
    void systemLauncherStartsWhatTheLookupFinds();
};

void TestAbout::initTestCase()
{
    Fonts::install();
}

void TestAbout::cleanup()
{
    QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty());
}

void TestAbout::showsTheProgramsTitleVersionAndNotices()
{
    FakeRegistry registry;
    FakeLauncher launcher;
    AboutBox box(nullptr, registry, launcher);
    QCOMPARE(box.objectName(), QStringLiteral("frmAbout"));
    QCOMPARE(box.windowTitle(), QStringLiteral("Horavistaのﾊﾞｰｼﾞｮﾝ情報"));
    QVERIFY(!box.windowIcon().isNull());

    FIND_CONTROL(title, QLabel, &box, "lblTitle");
    FIND_CONTROL(version, QLabel, &box, "lblVersion");
    FIND_CONTROL(description, QLabel, &box, "lblDescription");
    FIND_CONTROL(disclaimer, QLabel, &box, "lblDisclaimer");
    FIND_CONTROL(ok, QPushButton, &box, "cmdOK");
    FIND_CONTROL(sysInfo, QPushButton, &box, "cmdSysInfo");
    QCOMPARE(title->text(), QStringLiteral("Horavista"));
    // The build's own version numbers, as the build system has them.
    QCOMPARE(version->text(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ ") + QLatin1String(HORAVISTA_PROJECT_VERSION));
    QVERIFY2(description->text().contains(QLatin1String("2026")), qPrintable(description->text()));
    QVERIFY(!description->text().contains(QLatin1Char('\n')));
    QCOMPARE(disclaimer->text().count(QStringLiteral("。")), 2);
    QVERIFY(disclaimer->text().contains(QStringLiteral("責任")));
    QCOMPARE(ok->text(), QStringLiteral("OK"));
    QVERIFY(ok->isDefault());
    QCOMPARE(sysInfo->text(), QStringLiteral("ｼｽﾃﾑ情報(&S)..."));
    QVERIFY(!sysInfo->isDefault());

    // Every text fits its label: nothing is cut off at the bottom.
    for (QLabel *label : {title, version, description, disclaimer})
        QVERIFY2(label->heightForWidth(label->width()) <= label->height(), qPrintable(label->objectName()));
}

void TestAbout::standsAtItsDesignedPlace()
{
    FakeRegistry registry;
    FakeLauncher launcher;
    AboutBox box(nullptr, registry, launcher);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    const int pt = Twips::pixelTwipsOf(&box);

    QCOMPARE(box.geometry(), Twips::toPixels(QRect(2340, 1935, 5730, 2055), pt));
    QCOMPARE(box.minimumSize(), box.maximumSize());
    // White all over, the labels too.
    const QImage shown = box.grab().toImage();
    FIND_CONTROL(disclaimer, QLabel, &box, "lblDisclaimer");
    for (const QPoint &at : {QPoint(box.width() - 2, box.height() - 2), disclaimer->geometry().bottomRight()})
        QCOMPARE(shown.pixelColor(at), QColor(Qt::white));

    // The icon sits at its place at its own size.
    FIND_CONTROL(icon, PictureBox, &box, "picIcon");
    QCOMPARE(icon->geometry(), QRect(Twips::toPixels(QRect(240, 240, 480, 480), pt).topLeft(), QSize(32, 32)));
    QVERIFY(icon->hasPicture());
}

void TestAbout::okEnterEscAndCloseBoxEndIt_data()
{
    QTest::addColumn<int>("how");
    QTest::newRow("OK clicked") << 0;
    QTest::newRow("Enter") << 1;
    QTest::newRow("Esc") << 2;
    QTest::newRow("close box") << 3;
}

void TestAbout::okEnterEscAndCloseBoxEndIt()
{
    QFETCH(int, how);
    FakeRegistry registry;
    FakeLauncher launcher;
    AboutBox box(nullptr, registry, launcher);
    bool acted = false;
    QTimer::singleShot(0, &box, [&] {
        QCOMPARE(QApplication::activeModalWidget(), &box);
        FIND_CONTROL(ok, QPushButton, &box, "cmdOK");
        acted = true;
        switch (how) {
        case 0:
            QTest::mouseClick(ok, Qt::LeftButton);
            break;
        case 1:
            QTest::keyClick(&box, Qt::Key_Return);
            break;
        case 2:
            QTest::keyClick(&box, Qt::Key_Escape);
            break;
        default:
            box.close();
            break;
        }
    });
    QTimer::singleShot(5000, &box, [&box] { box.done(-1); });
    const int result = box.exec();
    QVERIFY(acted);
    QCOMPARE(result, int(QDialog::Accepted));
    QVERIFY(box.isHidden());
    QVERIFY(launcher.started.isEmpty());
}

void TestAbout::tabGoesBetweenTheButtons()
{
    FakeRegistry registry;
    FakeLauncher launcher;
    AboutBox box(nullptr, registry, launcher);
    box.show();
    QApplication::setActiveWindow(&box);
    QVERIFY(QTest::qWaitForWindowActive(&box));
    FIND_CONTROL(ok, QPushButton, &box, "cmdOK");
    FIND_CONTROL(sysInfo, QPushButton, &box, "cmdSysInfo");
    QCOMPARE(QApplication::focusWidget(), ok);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), sysInfo);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), ok);

    // Its access key presses ｼｽﾃﾑ情報: with nothing recorded in the registry that ends in the message.
    // The access key clicks the button a moment later, as a click would look.
    MessageWatcher watcher;
    QTest::keyClick(&box, Qt::Key_S, Qt::AltModifier);
    QTRY_COMPARE(watcher.text, Unavailable);
}

void TestAbout::getKeyValue_data()
{
    QTest::addColumn<quint32>("type");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("value");

    QTest::newRow("string") << quint32(Registry::String) << QByteArray("C:\\Tools\\info.exe\0", 18) << true
                            << QStringLiteral("C:\\Tools\\info.exe");
    QTest::newRow("string ends at its first zero byte")
        << quint32(Registry::String) << QByteArray("first\0second\0", 13) << true << QStringLiteral("first");
    QTest::newRow("string of 1023 characters fills the buffer")
        << quint32(Registry::String) << QByteArray(1023, 'x') + '\0' << true << QString(1023, QLatin1Char('x'));
    QTest::newRow("string too long for the buffer")
        << quint32(Registry::String) << QByteArray(1500, 'x') + '\0' << false << QString();
    QTest::newRow("double word, last byte first")
        << quint32(Registry::DoubleWord) << dword(0x00000102) << true << QStringLiteral("&h12");
    QTest::newRow("double word digits in upper case")
        << quint32(Registry::DoubleWord) << dword(0x00000CAB) << true << QStringLiteral("&hCAB");
    QTest::newRow("double word stops at its first zero byte")
        << quint32(Registry::DoubleWord) << dword(0x01000000) << true << QStringLiteral("&h");
    QTest::newRow("binary leaves the text as it was")
        << quint32(Registry::Binary) << QByteArray("\x01\x02", 2) << true << QStringLiteral("before");
    QTest::newRow("expandable string leaves the text as it was")
        << quint32(Registry::ExpandString) << QByteArray("%SystemRoot%\0", 13) << true << QStringLiteral("before");
}

void TestAbout::getKeyValue()
{
    QFETCH(quint32, type);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, found);
    QFETCH(QString, value);
    FakeRegistry registry;
    registry.setValue(InfoKey, QStringLiteral("PATH"), type, bytes);
    FakeLauncher launcher;
    AboutBox box(nullptr, registry, launcher);

    QString keyVal = QStringLiteral("before");
    if (type == Registry::String || type == Registry::DoubleWord)
        keyVal.clear(); // as at both of the box's own lookups
    QCOMPARE(box.GetKeyValue(Registry::LocalMachine, InfoKey, QStringLiteral("PATH"), keyVal), found);
    QCOMPARE(keyVal, value);
    QCOMPARE(registry.accessMasks, QList<quint32>{Registry::ReadAccess});
    QCOMPARE(registry.openNow, 0);
    QCOMPARE(registry.closed.size(), 1);
}

void TestAbout::startSysInfoLooksUpInOrder_data()
{
    QTest::addColumn<QString>("infoPath"); // the "PATH" value, when the first key has it
    QTest::addColumn<quint32>("infoType"); // its type
    QTest::addColumn<QString>("folder"); // the "MSINFO" value of the second key, when there is one
    QTest::addColumn<QStringList>("files"); // the files that exist
    QTest::addColumn<QStringList>("startable");
    QTest::addColumn<QStringList>("started"); // what the box tried to start
    QTest::addColumn<QStringList>("opened"); // the keys it opened
    QTest::addColumn<QString>("message");

    const QString tool = QStringLiteral("C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo\\msinfo32.exe");
    const QString shared = QStringLiteral("C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo");
    const QString sharedTool = shared + QStringLiteral("\\MSINFO32.EXE");
    const quint32 string = Registry::String;

    QTest::newRow("first value, started unchanged and untested")
        << tool << string << QString() << QStringList() << QStringList{tool} << QStringList{tool}
        << QStringList{InfoKey} << NoMessage;
    QTest::newRow("first value wins over the second")
        << tool << string << shared << QStringList{sharedTool} << QStringList{tool, sharedTool} << QStringList{tool}
        << QStringList{InfoKey} << NoMessage;
    QTest::newRow("stale first value ends in the message")
        << tool << string << shared << QStringList{sharedTool} << QStringList{sharedTool} << QStringList{tool}
        << QStringList{InfoKey} << Unavailable;
    QTest::newRow("first value of another type: the empty path fails")
        << QStringLiteral("ignored") << quint32(Registry::Binary) << shared << QStringList{sharedTool}
        << QStringList{sharedTool} << QStringList{QString()} << QStringList{InfoKey} << Unavailable;
    QTest::newRow("first value a double word: its text fails to start")
        << QStringLiteral("\x02\x01") << quint32(Registry::DoubleWord) << QString() << QStringList()
        << QStringList{tool} << QStringList{QStringLiteral("&h12")} << QStringList{InfoKey} << Unavailable;
    QTest::newRow("only the second value, with MSINFO32.EXE")
        << QString() << string << shared << QStringList{sharedTool} << QStringList{sharedTool}
        << QStringList{sharedTool} << QStringList{InfoKey, LocationKey} << NoMessage;
    QTest::newRow("only the second value, without MSINFO32.EXE")
        << QString() << string << shared << QStringList() << QStringList{sharedTool} << QStringList()
        << QStringList{InfoKey, LocationKey} << Unavailable;
    QTest::newRow("neither value") << QString() << string << QString() << QStringList() << QStringList()
                                   << QStringList() << QStringList{InfoKey, LocationKey} << Unavailable;
}

void TestAbout::startSysInfoLooksUpInOrder()
{
    QFETCH(QString, infoPath);
    QFETCH(quint32, infoType);
    QFETCH(QString, folder);
    QFETCH(QStringList, files);
    QFETCH(QStringList, startable);
    QFETCH(QStringList, started);
    QFETCH(QStringList, opened);
    QFETCH(QString, message);

    FakeRegistry registry;
    if (!infoPath.isEmpty()) {
        QByteArray bytes = infoPath.toLocal8Bit();
        if (infoType == Registry::DoubleWord)
            bytes = infoPath.toLatin1() + QByteArray(2, '\0');
        else
            bytes += '\0';
        registry.setValue(InfoKey, QStringLiteral("PATH"), infoType, bytes);
    }
    if (!folder.isEmpty())
        registry.setString(LocationKey, QStringLiteral("MSINFO"), folder.toLocal8Bit());
    FakeLauncher launcher;
    launcher.files = QSet<QString>(files.begin(), files.end());
    launcher.startable = QSet<QString>(startable.begin(), startable.end());

    AboutBox box(nullptr, registry, launcher);
    QCOMPARE(messageOf([&] { box.StartSysInfo(); }), message);
    QCOMPARE(launcher.started, started);
    QCOMPARE(registry.opened, opened);
    for (quint32 access : std::as_const(registry.accessMasks))
        QCOMPARE(access, Registry::ReadAccess);
    QCOMPARE(registry.openNow, 0);
    if (!infoPath.isEmpty())
        QVERIFY2(launcher.tested.isEmpty(), qPrintable(launcher.tested.join(u',')));
}

void TestAbout::sysInfoButtonKeepsTheBoxOpen()
{
    FakeRegistry registry;
    FakeLauncher launcher;
    QString message;
    bool stillOpen = false;
    AboutBox box(nullptr, registry, launcher);
    QTimer::singleShot(0, &box, [&] {
        FIND_CONTROL(sysInfo, QPushButton, &box, "cmdSysInfo");
        message = messageOf([&] { QTest::mouseClick(sysInfo, Qt::LeftButton); });
        stillOpen = box.isVisible() && QApplication::activeModalWidget() == &box;
        box.cmdOK_Click();
    });
    QTimer::singleShot(5000, &box, [&box] { box.done(-1); });
    QCOMPARE(box.exec(), int(QDialog::Accepted));
    QCOMPARE(message, Unavailable);
    QVERIFY(stillOpen);
}

void TestAbout::standInFindsTheFirstProgramOfItsList_data()
{
    QTest::addColumn<QStringList>("first"); // programs in the first folder of PATH
    QTest::addColumn<QStringList>("second"); // and in the second
    QTest::addColumn<QString>("found"); // "1/name" or "2/name", or empty

    QTest::newRow("none") << QStringList() << QStringList() << QString();
    QTest::newRow("the list's order beats PATH's")
        << QStringList{QStringLiteral("kinfocenter")} << QStringList{QStringLiteral("hardinfo")}
        << QStringLiteral("2/hardinfo");
    QTest::newRow("PATH's order among copies of one program")
        << QStringList{QStringLiteral("xfce4-about")} << QStringList{QStringLiteral("xfce4-about")}
        << QStringLiteral("1/xfce4-about");
    QTest::newRow("a desktop's own") << QStringList() << QStringList{QStringLiteral("xfce4-about")}
                                     << QStringLiteral("2/xfce4-about");
    QTest::newRow("unrelated programs") << QStringList{QStringLiteral("htop")} << QStringList{QStringLiteral("ls")}
                                        << QString();
}

void TestAbout::standInFindsTheFirstProgramOfItsList()
{
#ifndef Q_OS_UNIX
    QSKIP("The programs these tests make are shell scripts.");
#endif
    QFETCH(QStringList, first);
    QFETCH(QStringList, second);
    QFETCH(QString, found);
    QTemporaryDir dir;
    VERIFY_FOLDER(dir);
    const QString one = dir.filePath(QStringLiteral("1"));
    const QString two = dir.filePath(QStringLiteral("2"));
    QVERIFY(QDir().mkpath(one) && QDir().mkpath(two));
    for (const QString &name : first)
        QVERIFY(makeProgram(one, name));
    for (const QString &name : second)
        QVERIFY(makeProgram(two, name));
    // A file that is not executable is no program.
    QFile plain(QDir(one).filePath(QStringLiteral("hardinfo2")));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();

    StandInRegistry registry(one + QDir::listSeparator() + two);
    FakeLauncher launcher;
    AboutBox box(nullptr, registry, launcher);
    QString value = QStringLiteral("before");
    const bool ok = box.GetKeyValue(Registry::LocalMachine, QStringLiteral("software\\microsoft\\shared tools\\msinfo"),
                                    QStringLiteral("Path"), value);
    QCOMPARE(ok, !found.isEmpty());
    QCOMPARE(value, found.isEmpty() ? QString() : dir.filePath(found));
}

void TestAbout::standInIsReadOnlyAndHasNoSecondKey()
{
#ifndef Q_OS_UNIX
    QSKIP("The programs these tests make are shell scripts.");
#endif
    QTemporaryDir dir;
    VERIFY_FOLDER(dir);
    QVERIFY(makeProgram(dir.path(), QStringLiteral("kinfocenter")));
    StandInRegistry registry(dir.path());

    Registry::Key key = 0;
    QCOMPARE(registry.openKey(Registry::LocalMachine, InfoKey.toLatin1(), 0, 0x2003F, &key), Registry::AccessDenied);
    QCOMPARE(key, Registry::Key(0));
    QCOMPARE(registry.openKey(Registry::LocalMachine, LocationKey.toLatin1(), 0, Registry::ReadAccess, &key),
             Registry::FileNotFound);
    QCOMPARE(registry.openKey(Registry::Key(0x80000001u), InfoKey.toLatin1(), 0, Registry::ReadAccess, &key),
             Registry::FileNotFound);

    QCOMPARE(registry.openKey(Registry::LocalMachine, InfoKey.toLatin1(), 0, Registry::ReadAccess, &key),
             Registry::Success);
    char buffer[8] = {};
    quint32 size = sizeof buffer;
    quint32 type = 0;
    QCOMPARE(registry.queryValue(key, "MSINFO", &type, buffer, &size), Registry::FileNotFound);
    QCOMPARE(registry.queryValue(key, "PATH", &type, buffer, &size), Registry::MoreData);
    QCOMPARE(size, quint32(dir.filePath(QStringLiteral("kinfocenter")).toLocal8Bit().size() + 1));
    QCOMPARE(registry.closeKey(key), Registry::Success);
    QCOMPARE(registry.closeKey(key), Registry::InvalidHandle);
    QCOMPARE(registry.queryValue(key, "PATH", &type, buffer, &size), Registry::InvalidHandle);
}

void TestAbout::systemLauncherStartsWhatTheLookupFinds()
{
#ifndef Q_OS_UNIX
    QSKIP("The programs these tests make are shell scripts.");
#endif
    QTemporaryDir dir;
    VERIFY_FOLDER(dir);
    const auto program = [&dir](const QString &name, const QString &marker) {
        return makeProgram(dir.path(), name,
                           "#!/bin/sh\necho started > '" + QFile::encodeName(dir.filePath(marker)) + "'\n");
    };

    // The stand-in's program, found on PATH.
    QVERIFY(program(QStringLiteral("hardinfo"), QStringLiteral("first")));
    StandInRegistry standIn(dir.path());
    AboutBox box(nullptr, standIn, ProgramLauncher::system());
    QCOMPARE(messageOf([&] { box.StartSysInfo(); }), NoMessage);
    QTRY_VERIFY(QFile::exists(dir.filePath(QStringLiteral("first"))));

    // A folder recorded the Windows way: its MSINFO32.EXE is tested and started.
    QVERIFY(program(QStringLiteral("MSINFO32.EXE"), QStringLiteral("second")));
    FakeRegistry recorded;
    recorded.setString(LocationKey, QStringLiteral("MSINFO"), QFile::encodeName(dir.path()));
    AboutBox fromFolder(nullptr, recorded, ProgramLauncher::system());
    QCOMPARE(messageOf([&] { fromFolder.StartSysInfo(); }), NoMessage);
    QTRY_VERIFY(QFile::exists(dir.filePath(QStringLiteral("second"))));

    // A stale path, and an empty PATH that finds nothing, end in the message.
    FakeRegistry stale;
    stale.setString(InfoKey, QStringLiteral("PATH"), QFile::encodeName(dir.filePath(QStringLiteral("gone"))));
    AboutBox staleBox(nullptr, stale, ProgramLauncher::system());
    QCOMPARE(messageOf([&] { staleBox.StartSysInfo(); }), Unavailable);
    StandInRegistry noPath{QString()};
    AboutBox nothing(nullptr, noPath, ProgramLauncher::system());
    QCOMPARE(messageOf([&] { nothing.StartSysInfo(); }), Unavailable);
}

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
