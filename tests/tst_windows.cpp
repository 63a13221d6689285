// The Win32 calls behind the platform seams, on real data: registry values made with reg.exe, the drives
// of the machine, HTML Help, the fonts. Built for Windows only; scripts/windows.sh runs it under Wine, in a
// prefix of its own whose registry the test may change and whose drives it names.

#include "help/helpviewer.h"
#include "platform/drivelist.h"
#include "platform/fonts.h"
#include "platform/systeminformation.h"
#include "testsupport.h"

#include <QProcess>
#include <QScopeGuard>
#include <QWidget>

#include <windows.h>

#include <array>

using namespace Qt::StringLiterals;

namespace {

// In scripts/windows.sh's prefix, the only one whose HKEY_LOCAL_MACHINE the test may change and drives it knows.
const bool OwnPrefix = qgetenv("HORAVISTA_WINE_PREFIX") == "1";

/** Runs reg.exe with @p arguments, without asking. */
bool reg(const QStringList &arguments)
{
    QProcess process;
    // Elsewhere than the test's working folder, which Wine keeps from being removed for a while after.
    process.setWorkingDirectory(QDir::tempPath());
    process.start(u"reg.exe"_s, arguments + QStringList{u"/f"_s});
    return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

} // namespace

class TestWindows : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void informationProgramIsWhereTheRegistrySays_data()
    {
        // Values separated by ';', each its view, its name (PATH of the program's own key, MSINFO of the
        // shared tools' folder), type and data. "<tools>" is a folder that holds MSINFO32.EXE.
        QTest::addColumn<QString>("values");
        QTest::addColumn<QString>("want");
        const QString x511(511, u'x');
        QTest::newRow("a recorded path, started as it is")
            << u"64 PATH REG_SZ D:\\ツール\\msinfo32.exe;64 MSINFO REG_SZ <tools>"_s << u"D:\\ツール\\msinfo32.exe"_s;
        QTest::newRow("an empty path") << u"64 PATH REG_SZ ;64 MSINFO REG_SZ <tools>"_s << QString();
        QTest::newRow("511 characters and the end fill 1024 bytes") << u"64 PATH REG_SZ "_s + x511 << x511;
        QTest::newRow("512 characters read as none")
            << u"64 PATH REG_SZ x"_s + x511 + u";64 MSINFO REG_SZ <tools>"_s << u"<tools>\\MSINFO32.EXE"_s;
        // Each byte in hexadecimal without its leading zero, last byte first, up to the first zero byte.
        QTest::newRow("double word") << u"64 PATH REG_DWORD 0x1200AB0C"_s << u"&hABC"_s;
        QTest::newRow("double word zero") << u"64 PATH REG_DWORD 0"_s << u"&h"_s;
        QTest::newRow("another type: found, no text")
            << u"64 PATH REG_EXPAND_SZ %SystemRoot%\\msinfo32.exe;64 MSINFO REG_SZ <tools>"_s << QString();
        QTest::newRow("the 64-bit view first")
            << u"64 PATH REG_SZ C:\\64.exe;32 PATH REG_SZ C:\\32.exe"_s << u"C:\\64.exe"_s;
        QTest::newRow("the path in the 32-bit view before the folder")
            << u"64 MSINFO REG_SZ <tools>;32 PATH REG_SZ C:\\32.exe"_s << u"C:\\32.exe"_s;
        QTest::newRow("the folder, in the 32-bit view") << u"32 MSINFO REG_SZ <tools>"_s << u"<tools>\\MSINFO32.EXE"_s;
        QTest::newRow("a folder without the program: the working folder")
            << u"64 MSINFO REG_SZ <tools>\\.."_s << QString();
    }
    void informationProgramIsWhereTheRegistrySays()
    {
        QFETCH(QString, values);
        QFETCH(QString, want);
        if (!OwnPrefix)
            QSKIP("changes HKEY_LOCAL_MACHINE: only in scripts/windows.sh's prefix");
        WorkingFolder work;
        VERIFY_FOLDER(work);
        QVERIFY(work.dir().mkdir(u"ツール"_s) && work.write(u"ツール/MSINFO32.EXE"_s, "MZ"));
        const QString tools = QDir::toNativeSeparators(work.path(u"ツール"_s));
        QList<QStringList> added; // reg.exe's name of each value added: key, /v, name, view
        const auto removeAdded = qScopeGuard([&added] {
            for (const QStringList &value : std::as_const(added))
                reg(QStringList{u"delete"_s} + value);
        });
        for (const QString &value : values.split(u';')) {
            const QStringList part = value.split(u' '); // view, name, type, data
            const QString key = part[1] == u"PATH" ? u"Shared Tools\\MSINFO"_s : u"Shared Tools Location"_s;
            added << QStringList{u"HKLM\\SOFTWARE\\Microsoft\\"_s + key, u"/v"_s, part[1], u"/reg:"_s + part[0]};
            const QString data = value.section(u' ', 3).replace(u"<tools>"_s, tools);
            QVERIFY(reg(QStringList{u"add"_s} + added.last() + QStringList{u"/t"_s, part[2], u"/d"_s, data}));
        }
        QCOMPARE(SystemInformation::system().programPath(), want.replace(u"<tools>"_s, tools));
    }

    void drivesShowTheirLabelsOrSharesAndWhetherTheyAreReady()
    {
        if (!OwnPrefix)
            QSKIP("names the drives of scripts/windows.sh's prefix");
        const DWORD processMode = GetErrorMode();
        QVERIFY(SetThreadErrorMode(SEM_NOGPFAULTERRORBOX, nullptr));
        const QList<Drive> drives = DriveList::system().drives() << Drive{u"Y:/"_s, QString()};
        QStringList shown;
        for (const Drive &drive : drives) {
            // C: is Wine's own; then a labelled folder, a card whose folder is gone, a network share, a
            // network drive that is not connected (a folder that answers), and a letter with no drive.
            if (u"CLMNOY"_s.contains(drive.rootPath.at(0)))
                shown << drive.displayName() + (DriveList::system().isReady(drive) ? u" ready"_s : QString());
        }
        // The quiet error mode is this thread's and only for the calls: the thread's own comes back.
        QCOMPARE(GetThreadErrorMode(), DWORD(SEM_NOGPFAULTERRORBOX));
        QCOMPARE(GetErrorMode(), UINT(processMode));
        QCOMPARE(shown,
                 (QStringList{u"c: ready"_s, u"l: [PHOTOS] ready"_s, u"m:"_s, u"n: [\\\\fileserver\\photos] ready"_s,
                              u"o: ready"_s, u"y:"_s}));
        QCOMPARE(drives.value(DriveList::indexOfDriveHolding(drives, u"l:\\photos"_s)).rootPath, u"L:/"_s);
    }

    void htmlHelpShowsFilesThatAreThere_data()
    {
        QTest::addColumn<QString>("copy"); // where the help file is put, under the working folder; empty for nowhere
        QTest::addColumn<QString>("asked"); // the name HTML Help is given; "<work>" stands for the working folder
        QTest::newRow("bare name in the working folder") << u"Horavista.chm"_s << u"Horavista.chm"_s;
        QTest::newRow("bare name, no file") << QString() << u"Horavista.chm"_s;
        // No ANSI code page holds both the Japanese and the German letters.
        QTest::newRow("a folder beyond the ANSI code page")
            << u"ヘルプ-Münze/Horavista.chm"_s << u"<work>\\ヘルプ-Münze\\Horavista.chm"_s;
    }
    void htmlHelpShowsFilesThatAreThere()
    {
        QFETCH(QString, copy);
        QFETCH(QString, asked);
        WorkingFolder work;
        VERIFY_FOLDER(work);
        QVERIFY(copy.isEmpty() ||
                (work.dir().mkpath(QFileInfo(copy).path()) && work.copyIn(u":/Horavista.chm"_s, copy)));
        QWidget caller;
        caller.show();
        HelpViewer::system().displayTopic(&caller, asked.replace(u"<work>"_s, QDir::toNativeSeparators(work.path())));
        HWND help = nullptr; // the HTML Help window of this thread
        const auto isHelp = [](HWND window, LPARAM found) {
            std::array<wchar_t, 16> name{};
            if (GetClassNameW(window, name.data(), int(name.size())) && QStringView(name.data()) == u"HH Parent")
                *reinterpret_cast<HWND *>(found) = window;
            return TRUE;
        };
        EnumThreadWindows(GetCurrentThreadId(), isHelp, reinterpret_cast<LPARAM>(&help));
        // scripts/windows.sh runs this again with hhctrl.ocx turned off, where nothing opens.
        QCOMPARE(help != nullptr, !copy.isEmpty() && LoadLibraryW(L"hhctrl.ocx"));
        if (!help)
            return;
        const HWND owner = GetWindow(help, GW_OWNER);
        SendMessageW(help, WM_CLOSE, 0, 0);
        // Only the windows platform's ids are window handles: scripts/windows.sh runs this again offscreen.
        const bool native = QGuiApplication::platformName() == u"windows";
        QCOMPARE(owner, native ? reinterpret_cast<HWND>(caller.winId()) : HWND(nullptr));
    }

    void japaneseCaptionsHaveTheirGlyphs()
    {
        // The Japanese design font stands for a font installed here that draws the captions, not boxes.
        Fonts::install();
        const QFont font = Fonts::font(Fonts::japaneseGothic(), 9);
        for (const QChar character : u"時計設定画像設定ﾊﾞｰｼﾞｮﾝ情報ドライブの準備ができていません。"_s)
            QVERIFY2(QFontMetrics(font).inFont(character), qPrintable(QFontInfo(font).family() + character));
    }
};

QTEST_MAIN(TestWindows)
#include "tst_windows.moc"
