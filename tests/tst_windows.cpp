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

namespace {

constexpr char NotInTheTestPrefix[] =
    "changes HKEY_LOCAL_MACHINE and names drives: only in scripts/windows.sh's prefix";

bool inTheTestPrefix()
{
    return qEnvironmentVariable("HORAVISTA_WINE_PREFIX") == QLatin1String("1");
}

/** Runs reg.exe's @p command on @p value (view "32" or "64", key under Microsoft's, name) of HKEY_LOCAL_MACHINE. */
bool reg(const QString &command, const QStringList &value, const QStringList &more = {})
{
    QProcess process;
    // Elsewhere than the test's working folder, which Wine keeps from being removed for a while after.
    process.setWorkingDirectory(QDir::tempPath());
    process.start(QStringLiteral("reg.exe"),
                  QStringList{command, QStringLiteral("HKLM\\SOFTWARE\\Microsoft\\") + value[1], QStringLiteral("/v"),
                              value[2], QStringLiteral("/reg:") + value[0], QStringLiteral("/f")} +
                      more);
    return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

/** The HTML Help window of this thread, or none. */
HWND helpWindow()
{
    HWND help = nullptr;
    const auto isHelp = [](HWND window, LPARAM found) {
        std::array<wchar_t, 16> name{};
        if (GetClassNameW(window, name.data(), int(name.size())) && QStringView(name.data()) == u"HH Parent")
            *reinterpret_cast<HWND *>(found) = window;
        return TRUE;
    };
    EnumThreadWindows(GetCurrentThreadId(), isHelp, reinterpret_cast<LPARAM>(&help));
    return help;
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
            << "64 PATH REG_SZ D:\\ツール\\msinfo32.exe;64 MSINFO REG_SZ <tools>"
            << "D:\\ツール\\msinfo32.exe";
        QTest::newRow("an empty path") << "64 PATH REG_SZ ;64 MSINFO REG_SZ <tools>" << QString();
        QTest::newRow("511 characters and the end fill 1024 bytes") << QStringLiteral("64 PATH REG_SZ ") + x511 << x511;
        QTest::newRow("512 characters read as none")
            << QStringLiteral("64 PATH REG_SZ x") + x511 + QStringLiteral(";64 MSINFO REG_SZ <tools>")
            << "<tools>\\MSINFO32.EXE";
        // Each byte in hexadecimal without its leading zero, last byte first, up to the first zero byte.
        QTest::newRow("double word") << "64 PATH REG_DWORD 0x1200AB0C"
                                     << "&hABC";
        QTest::newRow("double word zero") << "64 PATH REG_DWORD 0"
                                          << "&h";
        QTest::newRow("another type: found, no text")
            << "64 PATH REG_EXPAND_SZ %SystemRoot%\\msinfo32.exe;64 MSINFO REG_SZ <tools>" << QString();
        QTest::newRow("the 64-bit view first") << "64 PATH REG_SZ C:\\64.exe;32 PATH REG_SZ C:\\32.exe"
                                               << "C:\\64.exe";
        QTest::newRow("the path in the 32-bit view before the folder")
            << "64 MSINFO REG_SZ <tools>;32 PATH REG_SZ C:\\32.exe"
            << "C:\\32.exe";
        QTest::newRow("the folder, in the 32-bit view") << "32 MSINFO REG_SZ <tools>"
                                                        << "<tools>\\MSINFO32.EXE";
        QTest::newRow("a folder without the program: the working folder")
            << "64 MSINFO REG_SZ <tools>\\.." << QString();
    }
    void informationProgramIsWhereTheRegistrySays()
    {
        QFETCH(QString, values);
        QFETCH(QString, want);
        if (!inTheTestPrefix())
            QSKIP(NotInTheTestPrefix);
        WorkingFolder work;
        VERIFY_FOLDER(work);
        QVERIFY(work.dir().mkdir(QStringLiteral("ツール")) && work.write(QStringLiteral("ツール/MSINFO32.EXE"), "MZ"));
        const QString tools = QDir::toNativeSeparators(work.path(QStringLiteral("ツール")));
        QList<QStringList> added; // view, key, name
        const auto removeAdded = qScopeGuard([&added] {
            for (const QStringList &value : std::as_const(added))
                reg(QStringLiteral("delete"), value);
        });
        for (const QString &value : values.split(u';')) {
            const QStringList part = value.split(u' '); // view, name, type, data
            added << QStringList{part[0],
                                 part[1] == QLatin1String("PATH") ? QStringLiteral("Shared Tools\\MSINFO")
                                                                  : QStringLiteral("Shared Tools Location"),
                                 part[1]};
            const QString data = value.section(u' ', 3).replace(QStringLiteral("<tools>"), tools);
            QVERIFY(
                reg(QStringLiteral("add"), added.last(), {QStringLiteral("/t"), part[2], QStringLiteral("/d"), data}));
        }
        QCOMPARE(SystemInformation::system().programPath(), want.replace(QStringLiteral("<tools>"), tools));
    }

    void drivesShowTheirLabelsOrSharesAndWhetherTheyAreReady()
    {
        if (!inTheTestPrefix())
            QSKIP(NotInTheTestPrefix);
        const DWORD processMode = GetErrorMode();
        DWORD before = 0;
        QVERIFY(SetThreadErrorMode(SEM_NOGPFAULTERRORBOX, &before));
        const QList<Drive> drives = DriveList::system().drives() << Drive{QStringLiteral("Y:/"), QString()};
        QStringList shown;
        for (const Drive &drive : drives) {
            // C: is Wine's own; then a labelled folder, a card whose folder is gone, a network share, a
            // network drive that is not connected (a folder that answers), and a letter with no drive.
            if (QStringLiteral("CLMNOY").contains(drive.rootPath.at(0)))
                shown << drive.rootPath + u'=' + drive.displayName() +
                        (DriveList::system().isReady(drive) ? QStringLiteral(" ready") : QString());
        }
        // The quiet error mode is this thread's and only for the calls: the thread's own comes back.
        QCOMPARE(GetThreadErrorMode(), DWORD(SEM_NOGPFAULTERRORBOX));
        QCOMPARE(GetErrorMode(), processMode);
        SetThreadErrorMode(before, nullptr);
        QCOMPARE(shown,
                 (QStringList{QStringLiteral("C:/=c: ready"), QStringLiteral("L:/=l: [PHOTOS] ready"),
                              QStringLiteral("M:/=m:"), QStringLiteral("N:/=n: [\\\\fileserver\\photos] ready"),
                              QStringLiteral("O:/=o: ready"), QStringLiteral("Y:/=y:")}));
        QCOMPARE(drives.value(DriveList::indexOfDriveHolding(drives, QStringLiteral("l:\\photos"))).rootPath,
                 QStringLiteral("L:/"));
    }

    void htmlHelpShowsFilesThatAreThere_data()
    {
        QTest::addColumn<QString>("copy"); // where the help file is put, under the working folder; empty for nowhere
        QTest::addColumn<QString>("asked"); // the name HTML Help is given; "<work>" stands for the working folder
        QTest::newRow("bare name in the working folder") << "Horavista.chm"
                                                         << "Horavista.chm";
        QTest::newRow("bare name, no file") << QString() << "Horavista.chm";
        // No ANSI code page holds both the Japanese and the German letters.
        QTest::newRow("a folder beyond the ANSI code page") << "ヘルプ-Münze/Horavista.chm"
                                                            << "<work>\\ヘルプ-Münze\\Horavista.chm";
    }
    void htmlHelpShowsFilesThatAreThere()
    {
        QFETCH(QString, copy);
        QFETCH(QString, asked);
        WorkingFolder work;
        VERIFY_FOLDER(work);
        if (!copy.isEmpty()) {
            QVERIFY(work.dir().mkpath(QFileInfo(work.path(copy)).path()));
            QVERIFY(work.copyIn(QStringLiteral(":/Horavista.chm"), copy));
        }
        asked.replace(QStringLiteral("<work>"), QDir::toNativeSeparators(work.path()));
        QWidget caller;
        caller.show();
        HelpViewer::system().displayTopic(&caller, asked);
        const HWND help = helpWindow();
        // scripts/windows.sh runs this again with hhctrl.ocx turned off, where nothing opens.
        QCOMPARE(help != nullptr, !copy.isEmpty() && LoadLibraryW(L"hhctrl.ocx"));
        if (!help)
            return;
        // Only the windows platform's ids are window handles: scripts/windows.sh runs this again offscreen.
        const bool native = QGuiApplication::platformName() == QLatin1String("windows");
        const HWND owner = GetWindow(help, GW_OWNER);
        SendMessageW(help, WM_CLOSE, 0, 0);
        QCOMPARE(owner, native ? reinterpret_cast<HWND>(caller.winId()) : HWND(nullptr));
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
};

QTEST_MAIN(TestWindows)
#include "tst_windows.moc"
