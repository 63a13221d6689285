// The Win32 calls behind the platform seams, on real data: registry values made with reg.exe, the drives
// of the machine, HTML Help. Built for Windows only; scripts/windows.sh runs it under Wine, where
// HKEY_LOCAL_MACHINE may be written and the drives below are set up.

#include "help/helpviewer.h"
#include "platform/drivelist.h"
#include "platform/fonts.h"
#include "platform/systeminformation.h"
#include "testsupport.h"

#include <QProcess>
#include <QScopeGuard>
#include <QWidget>

#include <windows.h>

using View = SystemInformation::RegistryView;

namespace {

const QString ScratchKey = QStringLiteral("SOFTWARE\\Horavista Tests");
const QString InformationKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString LocationKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");
constexpr char NoRegistryWrites[] = "reg.exe cannot write HKEY_LOCAL_MACHINE here (it takes an administrator, or Wine)";

/** Runs reg.exe with @p arguments on @p view of the registry; true when it succeeds. */
bool reg(View view, QStringList arguments)
{
    arguments << (view == View::Bits64 ? QStringLiteral("/reg:64") : QStringLiteral("/reg:32"));
    QProcess process;
    // Elsewhere than the test's working folder, which Wine keeps from being removed for a while after.
    process.setWorkingDirectory(QDir::tempPath());
    process.start(QStringLiteral("reg.exe"), arguments);
    return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

bool addValue(View view, const QString &key, const QString &name, const QString &type, const QString &data)
{
    return reg(view,
               {QStringLiteral("add"), QStringLiteral("HKLM\\") + key, QStringLiteral("/v"), name, QStringLiteral("/t"),
                type, QStringLiteral("/d"), data, QStringLiteral("/f")});
}

/** Removes a value, or with no @p name the whole key; what is not there counts as removed. */
void remove(View view, const QString &key, const QString &name = QString())
{
    QStringList arguments{QStringLiteral("delete"), QStringLiteral("HKLM\\") + key, QStringLiteral("/f")};
    if (!name.isEmpty())
        arguments << QStringLiteral("/v") << name;
    reg(view, arguments);
}

/** What a read found, "-" for nothing, so that a found empty text shows apart. */
QString found(const std::optional<QString> &value)
{
    return value ? QStringLiteral("\"%1\"").arg(*value) : QStringLiteral("-");
}

/** The drives that scripts/windows.sh gives its Wine prefix (see there); the test names them. */
bool wineDrivesAreSetUp()
{
    return qEnvironmentVariable("HORAVISTA_WINE_DRIVES") == QLatin1String("1");
}

HWND handleOf(QWidget *widget)
{
    return reinterpret_cast<HWND>(widget->winId());
}

/** The windows of this thread that @p owner owns. */
QList<HWND> ownedBy(HWND owner)
{
    struct Search
    {
        HWND owner;
        QList<HWND> found;
    } search{owner, {}};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM data) {
            auto *s = reinterpret_cast<Search *>(data);
            if (GetWindow(window, GW_OWNER) == s->owner)
                s->found << window;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void closeWindow(quintptr window)
{
    SendMessageW(reinterpret_cast<HWND>(window), WM_CLOSE, 0, 0);
}

} // namespace

class TestWindows : public QObject
{
    Q_OBJECT

    bool m_canWriteRegistry = false;

private Q_SLOTS:
    void initTestCase()
    {
        for (View view : {View::Bits64, View::Bits32})
            remove(view, ScratchKey);
        // Writing HKEY_LOCAL_MACHINE takes an administrator on Windows; Wine lets every user do it.
        m_canWriteRegistry =
            addValue(View::Bits64, ScratchKey, QStringLiteral("probe"), QStringLiteral("REG_SZ"), QString());
    }
    void cleanupTestCase()
    {
        for (View view : {View::Bits64, View::Bits32})
            remove(view, ScratchKey);
    }
    void cleanup() { QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty()); }

    void registryValuesReadAsText_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("data");
        QTest::addColumn<QString>("asked"); // the key's last part and the value's name, as the reader asks
        QTest::addColumn<QString>("want"); // found("text") or "-"
        const QString key = QStringLiteral("Horavista Tests|PATH");
        const QString path = QStringLiteral("C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo\\msinfo32.exe");
        QTest::newRow("string") << "REG_SZ" << path << key << found(path);
        QTest::newRow("empty string") << "REG_SZ" << QString() << key << found(QString());
        QTest::newRow("names in another case") << "REG_SZ" << path << "horavista TESTS|Path" << found(path);
        QTest::newRow("511 characters and the end fill 1024 bytes")
            << "REG_SZ" << QString(511, u'x') << key << found(QString(511, u'x'));
        QTest::newRow("512 characters do not fit") << "REG_SZ" << QString(512, u'x') << key << "-";
        QTest::newRow("Japanese folder") << "REG_SZ" << QStringLiteral("D:\\ツール\\msinfo32.exe") << key
                                         << found(QStringLiteral("D:\\ツール\\msinfo32.exe"));
        // Each byte in hexadecimal without its leading zero, last byte first, up to the first zero byte.
        QTest::newRow("double word") << "REG_DWORD"
                                     << "0x00012345" << key << found(QStringLiteral("&h12345"));
        QTest::newRow("double word cut at a zero byte") << "REG_DWORD"
                                                        << "0x12003456" << key << found(QStringLiteral("&h3456"));
        QTest::newRow("double word of small bytes") << "REG_DWORD"
                                                    << "0x0A0B0C0D" << key << found(QStringLiteral("&hABCD"));
        QTest::newRow("double word zero") << "REG_DWORD"
                                          << "0" << key << found(QStringLiteral("&h"));
        QTest::newRow("binary: found, no text") << "REG_BINARY"
                                                << "414243" << key << found(QString());
        QTest::newRow("expandable string: found, no text") << "REG_EXPAND_SZ"
                                                           << "%SystemRoot%\\msinfo32.exe" << key << found(QString());
        QTest::newRow("another value of the key") << "REG_SZ" << path << "Horavista Tests|MSINFO"
                                                  << "-";
        QTest::newRow("missing key") << "REG_SZ" << path << "Horavista Tests\\Absent|PATH"
                                     << "-";
    }
    void registryValuesReadAsText()
    {
        if (!m_canWriteRegistry)
            QSKIP(NoRegistryWrites);
        QFETCH(QString, type);
        QFETCH(QString, data);
        QFETCH(QString, asked);
        QFETCH(QString, want);
        // Each row replaces the value of the row before.
        QVERIFY(addValue(View::Bits64, ScratchKey, QStringLiteral("PATH"), type, data));
        const QStringList parts = asked.split(QLatin1Char('|'));
        const QString key = QStringLiteral("SOFTWARE\\") + parts.at(0);
        QCOMPARE(found(SystemInformation::readMachineValue(View::Bits64, key, parts.at(1))), want);
    }

    void eachRegistryViewHasItsOwnValues()
    {
        if (!m_canWriteRegistry)
            QSKIP(NoRegistryWrites);
        const QString name = QStringLiteral("Location");
        QVERIFY(addValue(View::Bits32, ScratchKey, name, QStringLiteral("REG_SZ"), QStringLiteral("C:\\32")));
        QCOMPARE(found(SystemInformation::readMachineValue(View::Bits64, ScratchKey, name)), QStringLiteral("-"));
        QCOMPARE(found(SystemInformation::readMachineValue(View::Bits32, ScratchKey, name)),
                 QStringLiteral("\"C:\\32\""));
        // The 32-bit view serves where the 64-bit one has nothing, and only there.
        QCOMPARE(found(SystemInformation::readMachineValue(ScratchKey, name)), QStringLiteral("\"C:\\32\""));
        QVERIFY(addValue(View::Bits64, ScratchKey, name, QStringLiteral("REG_SZ"), QStringLiteral("C:\\64")));
        QCOMPARE(found(SystemInformation::readMachineValue(ScratchKey, name)), QStringLiteral("\"C:\\64\""));
        QCOMPARE(found(SystemInformation::readMachineValue(ScratchKey, QStringLiteral("absent"))), QStringLiteral("-"));
    }

    void informationProgramFollowsTheLookupOrder_data()
    {
        QTest::addColumn<QString>("path"); // the PATH value: type, then data after '|'; empty for none
        QTest::addColumn<QString>("folder"); // the MSINFO value's folder, under the working folder
        QTest::addColumn<bool>("withProgram"); // whether that folder holds MSINFO32.EXE
        QTest::addColumn<bool>("in32"); // whether the values are in the 32-bit view only
        QTest::addColumn<QString>("want"); // "<folder>" stands for the folder's native path
        const QString stale = QStringLiteral("C:\\gone\\msinfo32.exe");
        QTest::newRow("recorded path, started as it is")
            << QStringLiteral("REG_SZ|") + stale << "tools" << true << false << stale;
        QTest::newRow("recorded path in the 32-bit view")
            << QStringLiteral("REG_SZ|") + stale << QString() << false << true << stale;
        QTest::newRow("a path of another type still ends the search") << "REG_BINARY|00"
                                                                      << "tools" << true << false << QString();
        QTest::newRow("the shared tools' folder") << QString() << "tools" << true << false << "<folder>\\MSINFO32.EXE";
        QTest::newRow("the folder in the 32-bit view")
            << QString() << "ツール" << true << true << "<folder>\\MSINFO32.EXE";
        QTest::newRow("the folder without the program") << QString() << "tools" << false << false << QString();
        QTest::newRow("nothing recorded") << QString() << QString() << false << false << QString();
    }
    void informationProgramFollowsTheLookupOrder()
    {
        if (!m_canWriteRegistry)
            QSKIP(NoRegistryWrites);
        QFETCH(QString, path);
        QFETCH(QString, folder);
        QFETCH(bool, withProgram);
        QFETCH(bool, in32);
        QFETCH(QString, want);
        if (!SystemInformation::system().programPath().isEmpty())
            QSKIP("this machine records its own information program, which the test leaves alone");
        WorkingFolder work;
        VERIFY_FOLDER(work);
        const View view = in32 ? View::Bits32 : View::Bits64;
        const QString native = QDir::toNativeSeparators(work.path(folder));
        const auto restore = qScopeGuard([&] {
            if (!path.isEmpty())
                remove(view, InformationKey, QStringLiteral("PATH"));
            if (!folder.isEmpty())
                remove(view, LocationKey, QStringLiteral("MSINFO"));
        });
        if (!path.isEmpty()) {
            const QStringList typeAndData = path.split(QLatin1Char('|'));
            QVERIFY(addValue(view, InformationKey, QStringLiteral("PATH"), typeAndData.at(0), typeAndData.at(1)));
        }
        if (!folder.isEmpty()) {
            QVERIFY(work.dir().mkdir(folder));
            if (withProgram)
                QVERIFY(work.write(folder + QStringLiteral("/MSINFO32.EXE"), "MZ"));
            QVERIFY(addValue(view, LocationKey, QStringLiteral("MSINFO"), QStringLiteral("REG_SZ"), native));
        }
        QCOMPARE(SystemInformation::system().programPath(), QString(want).replace(QStringLiteral("<folder>"), native));
    }

    void drivesAreTheLettersWithLabelsAndShares()
    {
        if (!wineDrivesAreSetUp())
            QSKIP("the drives this test names are made by scripts/windows.sh in its Wine prefix");
        QStringList shown;
        for (const Drive &drive : DriveList::system().drives()) {
            // C: is Wine's own; then a labelled folder, a card whose folder is gone, a network share, and a
            // network drive that is not connected.
            if (QStringLiteral("CLMNO").contains(drive.rootPath.at(0)))
                shown << drive.rootPath + QLatin1Char('=') + drive.displayName();
        }
        QCOMPARE(shown,
                 (QStringList{QStringLiteral("C:/=c:"), QStringLiteral("L:/=l: [PHOTOS]"), QStringLiteral("M:/=m:"),
                              QStringLiteral("N:/=n: [\\\\fileserver\\photos]"), QStringLiteral("O:/=o:")}));
    }

    void onlyDrivesThatAnswerAreReady_data()
    {
        QTest::addColumn<QString>("root");
        QTest::addColumn<bool>("ready");
        QTest::newRow("the system drive") << "C:/" << true;
        QTest::newRow("a labelled folder") << "L:/" << true;
        QTest::newRow("a network share") << "N:/" << true;
        QTest::newRow("a drive whose folder is gone") << "M:/" << false;
        QTest::newRow("a letter with no drive") << "Y:/" << false;
    }
    void onlyDrivesThatAnswerAreReady()
    {
        QFETCH(QString, root);
        QFETCH(bool, ready);
        if (!wineDrivesAreSetUp() && root != QLatin1String("C:/"))
            QSKIP("the drives this test names are made by scripts/windows.sh in its Wine prefix");
        // The quiet error mode is this thread's and only for the call: the thread's own comes back.
        const DWORD processMode = GetErrorMode();
        DWORD before = 0;
        QVERIFY(SetThreadErrorMode(SEM_NOGPFAULTERRORBOX, &before));
        QCOMPARE(DriveList::system().isReady(Drive{root, QString()}), ready);
        QCOMPARE(GetThreadErrorMode(), DWORD(SEM_NOGPFAULTERRORBOX));
        QCOMPARE(GetErrorMode(), processMode);
        SetThreadErrorMode(before, nullptr);
    }

    void drivesHoldPathsWhateverTheirCase()
    {
        const QList<Drive> drives{{QStringLiteral("C:/"), QStringLiteral("SYSTEM")}, {QStringLiteral("Z:/"), {}}};
        QCOMPARE(DriveList::indexOfDriveHolding(drives, QStringLiteral("z:\\work\\photos")), 1);
        QCOMPARE(DriveList::indexOfDriveHolding(drives, QStringLiteral("c:/Users")), 0);
        QCOMPARE(DriveList::indexOfDriveHolding(drives, QStringLiteral("D:\\")), -1);
        QCOMPARE(drives.at(0).displayName(), QStringLiteral("c: [SYSTEM]"));
    }

    void htmlHelpOpensOnlyFilesThatAreThere_data()
    {
        QTest::addColumn<QString>("copy"); // where the help file is put, under the working folder; empty for nowhere
        QTest::addColumn<QString>("asked"); // the name HTML Help is given; "<work>" stands for the working folder
        QTest::newRow("bare name in the working folder") << "Horavista.chm"
                                                         << "Horavista.chm";
        QTest::newRow("bare name, no file") << QString() << "Horavista.chm";
        // No ANSI code page holds both the Japanese and the German letters.
        QTest::newRow("a folder beyond the ANSI code page") << "ヘルプ-Münze/Horavista.chm"
                                                            << "<work>\\ヘルプ-Münze\\Horavista.chm";
        QTest::newRow("a folder that is not there") << "Horavista.chm"
                                                    << "<work>\\ヘルプ\\Horavista.chm";
    }
    void htmlHelpOpensOnlyFilesThatAreThere()
    {
        QFETCH(QString, copy);
        QFETCH(QString, asked);
        WorkingFolder work;
        VERIFY_FOLDER(work);
        if (!copy.isEmpty()) {
            QVERIFY(work.dir().mkpath(QFileInfo(work.path(copy)).path()));
            QVERIFY(work.copyIn(QStringLiteral(":/Horavista.chm"), copy));
        }
        asked.replace(QStringLiteral("<work>"), QDir::toNativeSeparators(work.dir().path()));
        const quintptr window = HelpViewer::showHtmlHelp(nullptr, asked);
        if (copy.isEmpty() || asked.contains(QStringLiteral("ヘルプ\\"))) {
            QCOMPARE(window, quintptr(0));
            return;
        }
        QVERIFY(window != 0);
        QVERIFY(IsWindow(reinterpret_cast<HWND>(window)));
        closeWindow(window);
        QVERIFY(!IsWindow(reinterpret_cast<HWND>(window)));
    }

    void helpCommandOpensHtmlHelpForTheMainWindow()
    {
        if (QGuiApplication::platformName() != QLatin1String("windows"))
            QSKIP("needs native windows: run with QT_QPA_PLATFORM=windows, as scripts/windows.sh does");
        WorkingFolder work;
        VERIFY_FOLDER(work);
        QWidget mainWindow;
        mainWindow.show();
        HelpViewer::system().showProgramHelp(&mainWindow); // no file yet: nothing, and nothing said
        QCOMPARE(ownedBy(handleOf(&mainWindow)).size(), 0);
        QVERIFY(work.copyIn(QStringLiteral(":/Horavista.chm"), QString::fromLatin1(HelpViewer::ProgramHelpFile)));
        HelpViewer::system().showProgramHelp(&mainWindow);
        const QList<HWND> help = ownedBy(handleOf(&mainWindow));
        QCOMPARE(help.size(), 1);
        closeWindow(reinterpret_cast<quintptr>(help.first()));
    }

    void helpForAWindowThatIsNotNativeHasNoOwner()
    {
        if (QGuiApplication::platformName() == QLatin1String("windows"))
            QSKIP("its windows are native: scripts/windows.sh runs this again with QT_QPA_PLATFORM=offscreen");
        WorkingFolder work;
        VERIFY_FOLDER(work);
        QVERIFY(work.copyIn(QStringLiteral(":/Horavista.chm"), QStringLiteral("Horavista.chm")));
        QWidget offscreen; // its id is no window handle, and must not be passed as one
        offscreen.show();
        const quintptr window = HelpViewer::showHtmlHelp(&offscreen, QStringLiteral("Horavista.chm"));
        QVERIFY(window != 0);
        QCOMPARE(GetWindow(reinterpret_cast<HWND>(window), GW_OWNER), HWND(nullptr));
        closeWindow(window);
    }

    void japaneseCaptionsHaveTheirGlyphs()
    {
        // The Japanese design font stands for a font installed here that draws the captions, not boxes.
        Fonts::install();
        const QFont font = Fonts::font(Fonts::japaneseGothic(), 9);
        const QFontMetrics metrics(font);
        const QString captions = QStringLiteral("時計設定画像設定ﾊﾞｰｼﾞｮﾝ情報ドライブの準備ができていません。");
        for (const QChar character : captions)
            QVERIFY2(metrics.inFont(character), qPrintable(QFontInfo(font).family() + character));
    }

    void withoutHtmlHelpNothingOpens()
    {
        if (HMODULE library = LoadLibraryW(L"hhctrl.ocx")) {
            FreeLibrary(library);
            QSKIP("HTML Help is installed; scripts/windows.sh runs this again with hhctrl.ocx turned off");
        }
        WorkingFolder work;
        VERIFY_FOLDER(work);
        QVERIFY(work.copyIn(QStringLiteral(":/Horavista.chm"), QStringLiteral("Horavista.chm")));
        QCOMPARE(HelpViewer::showHtmlHelp(nullptr, QStringLiteral("Horavista.chm")), quintptr(0));
    }
};

QTEST_MAIN(TestWindows)
#include "tst_windows.moc"
