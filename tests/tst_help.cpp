#include "app/mainform.h"
#include "chmwriter.h"
#include "clock/clockmodel.h"
#include "help/chmfile.h"
#include "help/helppage.h"
#include "help/helpviewer.h"
#include "help/helpwindow.h"
#include "platform/fonts.h"
#include "testsupport.h"

#include <QAction>
#include <QDesktopServices>
#include <QProcess>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTimer>
#include <QTreeWidget>

#include <algorithm>
#include <memory>

namespace {

const QString HelpFile = QStringLiteral("Horavista.chm");
const QString BuiltHelpFile = QString::fromUtf8(HORAVISTA_HELP_FILE);
const QRegularExpression AnyMessage(QStringLiteral("."));

/** Clicks the text @p text of the page shown, which must be a link. */
bool clickLink(QTextBrowser *browser, const QString &text)
{
    QTextCursor inside(browser->document());
    inside.setPosition(browser->document()->find(text).selectionStart() + 1);
    if (!inside.charFormat().isAnchor())
        return false;
    browser->setTextCursor(inside);
    browser->ensureCursorVisible();
    QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, browser->cursorRect(inside).center());
    return true;
}

QByteArray page(const QByteArray &title)
{
    return "<html><head><title>" + title + "</title></head><body><p>" + title + "</p></body></html>";
}

/** A sound help file with one page, to which a test adds what it needs. */
ChmWriter helpFile(const QByteArray &contents = QByteArray())
{
    ChmWriter writer;
    writer.add("/#SYSTEM", ChmWriter::systemRecord(contents.isEmpty() ? "" : "toc.hhc", "index.html", "Hostile"));
    writer.add("/index.html", page("Start"));
    if (!contents.isEmpty())
        writer.add("/toc.hhc", contents);
    return writer;
}

int depthOf(const QTreeWidgetItem *item)
{
    int depth = 1;
    for (; item->parent(); item = item->parent())
        ++depth;
    return depth;
}

} // namespace

class TestHelp : public QObject
{
    Q_OBJECT

public Q_SLOTS:
    /** Stands in for the desktop's browser and mail program. */
    void openUrl(const QUrl &url) { m_opened << url.scheme(); }

private Q_SLOTS:
    void initTestCase() { Fonts::install(); }
    void cleanup() { QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty()); }

    void builtHelpFileOpensAtItsDefaultTopic()
    {
        ChmFile file(BuiltHelpFile);
        QVERIFY2(file.isOpen(), qPrintable(BuiltHelpFile));
        QCOMPARE(file.defaultTopic(), QStringLiteral("/index.html"));
        const std::optional<QByteArray> page = file.read(file.defaultTopic());
        QVERIFY(page && QString::fromUtf8(*page).contains(QStringLiteral("<title>Horavista の概要</title>")));
        QCOMPARE(file.read(QStringLiteral("INDEX.HTML")), page); // from the root, whatever the letter case
        QVERIFY(!file.read(QStringLiteral("/no-such-page.html")));
        // The contents, in the language's code page and nested.
        const QList<HelpTopic> contents = file.contents();
        QVERIFY(contents.size() >= 3);
        QCOMPARE(contents.first().name, QStringLiteral("Horavista の概要"));
        QVERIFY(std::any_of(contents.begin(), contents.end(), [](const HelpTopic &topic) {
            return !topic.children.isEmpty() && !topic.children.first().children.isEmpty();
        }));
    }

    void helpMenuShowsTheAboutBoxAndTheHelpThatEndsWithTheProgram()
    {
        WorkingFolder folder;
        VERIFY_FOLDER(folder);
        QVERIFY(folder.copyIn(BuiltHelpFile, HelpFile));
        ClockModel clock;
        auto mainForm = std::make_unique<MainForm>(folder.dir(), clock);
        mainForm->show();
        QVERIFY(QTest::qWaitForWindowExposed(mainForm.get()));
        FIND_CONTROL(version, QAction, mainForm.get(), "mnuCallVersion");
        QString modal;
        QTimer::singleShot(0, [&modal] {
            if (QWidget *box = QApplication::activeModalWidget()) {
                modal = box->objectName();
                QTest::keyClick(box, Qt::Key_Escape);
            }
        });
        version->trigger();
        QCOMPARE(modal, QStringLiteral("frmAbout"));

        FIND_CONTROL(help, QAction, mainForm.get(), "mnuCallHelp");
        help->trigger();
        QPointer<HelpWindow> window;
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            if (auto *found = qobject_cast<HelpWindow *>(widget))
                window = found;
        }
        QVERIFY(window && window->isVisible());
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QCOMPARE(window->windowTitle(), QStringLiteral("Horavista Help"));
        FIND_CONTROL(browser, QTextBrowser, window.data(), "browser");
        FIND_CONTROL(contents, QTreeWidget, window.data(), "contents");
        QCOMPARE(browser->source().path(), QStringLiteral("/index.html"));

        // The picture inside the file is drawn: the sky of the main window's picture shows in the page.
        const QImage picture =
            QImage::fromData(
                ChmFile(BuiltHelpFile).read(QStringLiteral("/images/mainwindow.png")).value_or(QByteArray()))
                .convertToFormat(QImage::Format_RGB32);
        const QImage page = browser->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QVERIFY(!picture.isNull());
        const auto *pixels = reinterpret_cast<const QRgb *>(page.constBits());
        const auto sky = std::count(pixels, pixels + page.sizeInBytes() / 4, picture.pixel(110, 100));
        QVERIFY2(sky > 1000, qPrintable(QString::number(sky)));

        // A link in the page, and an entry of the contents.
        QVERIFY(clickLink(browser, QStringLiteral("画像設定")));
        QTRY_COMPARE(browser->source().path(), QStringLiteral("/picture.html"));
        QCOMPARE(browser->documentTitle(), QStringLiteral("画像設定"));
        const auto summer = contents->findItems(QStringLiteral("サマータイム"), Qt::MatchRecursive);
        QCOMPARE(summer.size(), 1);
        contents->scrollToItem(summer.first());
        QTest::mouseClick(contents->viewport(), Qt::LeftButton, {}, contents->visualItemRect(summer.first()).center());
        QCOMPARE(browser->source().path(), QStringLiteral("/summertime.html"));

        // Links leave the file only for the web and mail; a link into the file by its own name stays.
        const QStringList schemes = QStringLiteral("https http mailto file javascript smb").split(u' ');
        for (const QString &scheme : schemes)
            QDesktopServices::setUrlHandler(scheme, this, "openUrl");
        for (const char *link : {"file:///etc/passwd", "https://example.org/", "javascript:alert(1)",
                                 "mailto:a@b.example", "smb://host/share", "ms-its:Horavista.chm::/dials.html"})
            Q_EMIT browser->anchorClicked(QUrl(QString::fromLatin1(link)));
        for (const QString &scheme : schemes)
            QDesktopServices::unsetUrlHandler(scheme);
        QCOMPARE(m_opened, QStringLiteral("https mailto").split(u' '));
        QCOMPARE(browser->source().path(), QStringLiteral("/dials.html"));

        // Closing the main window ends the program although the help is still open; the help goes too.
        QTimer::singleShot(0, mainForm.get(), [&mainForm] { mainForm->close(); });
        QTimer::singleShot(5000, mainForm.get(), [] { QCoreApplication::exit(1); });
        QCOMPARE(QApplication::exec(), 0);
        mainForm.reset();
        QTRY_VERIFY(window.isNull());
    }

    void unreadableHelpShowsNothingAndReportsDamage_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("report");
        QTest::newRow("missing") << QStringLiteral("") << QByteArray() << QString();
        QTest::newRow("a folder") << QStringLiteral("folder") << QByteArray() << QString();
        QTest::newRow("a named pipe") << QStringLiteral("fifo") << QByteArray() << QString();
        QTest::newRow("not a help file") << QStringLiteral("") << QByteArray("ITSF but not really a help file")
                                         << QStringLiteral("cut short");
        QFile built(BuiltHelpFile);
        QVERIFY(built.open(QIODevice::ReadOnly));
        QTest::newRow("cut short") << QStringLiteral("") << built.read(600)
                                   << QStringLiteral("cut short"); // the header, and nothing it points to
        ChmWriter noPage;
        noPage.add("/#SYSTEM", ChmWriter::systemRecord("", "missing.html", "No page"));
        QTest::newRow("no page") << QStringLiteral("") << noPage.build() << QStringLiteral("no page to show");
        QTest::newRow("too large") << QStringLiteral("large") << QByteArray() << QStringLiteral("larger than");
    }
    void unreadableHelpShowsNothingAndReportsDamage()
    {
        QFETCH(QString, kind);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, report);
        WorkingFolder working;
        VERIFY_FOLDER(working);
        if (kind == QStringLiteral("folder")) {
            QVERIFY(working.dir().mkdir(HelpFile));
        } else if (kind == QStringLiteral("fifo")) {
            // Opened as a pipe, the reader would wait for a writer forever.
            QCOMPARE(QProcess::execute(QStringLiteral("mkfifo"), {working.path(HelpFile)}), 0);
        } else if (kind == QStringLiteral("large")) {
            QFile large(working.path(HelpFile));
            QVERIFY(large.open(QIODevice::WriteOnly) && large.resize(ChmFile::MaxFileBytes + 1));
        } else if (!bytes.isEmpty()) {
            QVERIFY(working.write(HelpFile, bytes));
        }
        if (!report.isEmpty())
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^Horavista.chm: .*") + report));
        QTest::failOnWarning(AnyMessage);
        HelpViewer::system().displayTopic(nullptr, HelpFile);
        QCoreApplication::processEvents();
        QVERIFY(QApplication::topLevelWidgets().isEmpty());
    }

    void hostileContentShowsWhatIsReadableAndReportsOnce()
    {
        // Contents nested 15,000 deep in under a megabyte (a recursive reader runs out of stack), and a
        // page of 10 MB.
        QByteArray deep;
        for (int level = 0; level < 15000; ++level)
            deep += "<UL><OBJECT type=text/sitemap><param name=Name value=L></OBJECT>";
        ChmWriter writer = helpFile(deep);
        writer.list("/huge.html", 1, 0, 10 * 1024 * 1024);
        writer.add("/tables.html", QByteArray("<table><tr><td>x").repeated(20)); // a minute's layout
        WorkingFolder working;
        VERIFY_FOLDER(working);
        QVERIFY(working.write(HelpFile, writer.build()));

        QTest::ignoreMessage(QtWarningMsg, "Horavista.chm: /toc.hhc: the contents nest deeper than 32 levels");
        QTest::failOnWarning(AnyMessage);
        HelpWindow window(HelpFile);
        QVERIFY(window.isOpen());
        window.showDefaultTopic();
        FIND_CONTROL(browser, QTextBrowser, &window, "browser");
        QCOMPARE(browser->documentTitle(), QStringLiteral("Start"));
        // Refused, and not reported a second time.
        for (const char *refused : {"/huge.html", "/tables.html"}) {
            window.showTopic(QString::fromLatin1(refused));
            QCOMPARE(browser->toPlainText(), QString());
        }
        FIND_CONTROL(contents, QTreeWidget, &window, "contents");
        int entries = 0;
        int deepest = 0;
        for (QTreeWidgetItemIterator it(contents); *it; ++it, ++entries)
            deepest = qMax(deepest, depthOf(*it));
        QCOMPARE(deepest, HelpContents::MaxDepth);
        QCOMPARE(entries, HelpContents::MaxEntries); // deeper entries kept at the deepest level, up to the limit
    }

    void pagesBeyondWhatTheBrowserLaysOutQuicklyAreRefused_data()
    {
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<QString>("problem");
        const auto times = [](const QByteArray &unit, int count) {
            return unit.repeated(count);
        };
        QTest::newRow("tables 6 deep") << times("<TABLE><tr><td>x", 6) << QString();
        QTest::newRow("tables 7 deep") << times("<table><tr><td>x", 7) << QStringLiteral("tables nested deeper than 6");
        QTest::newRow("tables closed") << times("<table><tr><td>x</td></tr></table>", 7) << QString();
        QTest::newRow("lists 100 deep") << times("<ul><li>x", 100) << QString();
        QTest::newRow("lists 101 deep") << times("<ul><li>x", 101) << QStringLiteral("nested deeper than 100");
        QTest::newRow("1000 cells") << times("<td>x", 1000) << QString();
        QTest::newRow("1001 cells") << times("<th>x", 1001) << QStringLiteral("more than 1000 table cells");
        QTest::newRow("500 pictures") << times("<img src=a.png>", 500) << QString();
        QTest::newRow("501 pictures") << times("<IMG src=a.png>", 501) << QStringLiteral("more than 500 pictures");
        QTest::newRow("8000 tags") << times("x<br>", 8000) << QString();
        QTest::newRow("8001 tags") << times("x<br>", 8001) << QStringLiteral("more than 8000 tags");
        QTest::newRow("not tags") << times("a < b <3 </ >", 5000) << QString();
        QTest::newRow("256 KB") << QByteArray(HelpPage::MaxBytes, 'x') << QString();
        QTest::newRow("over 256 KB") << QByteArray(HelpPage::MaxBytes + 1, 'x')
                                     << QStringLiteral("larger than 262144 bytes");
    }
    void pagesBeyondWhatTheBrowserLaysOutQuicklyAreRefused()
    {
        QFETCH(QByteArray, page);
        QFETCH(QString, problem);
        QCOMPARE(HelpPage::problem(page), problem);
    }

    void objectsUpToTheLimitAreHandedOut()
    {
        ChmWriter writer = helpFile();
        writer.add("/largest.png", QByteArray(ChmFile::MaxObjectBytes, 'x'));
        writer.add("/larger.png", QByteArray(ChmFile::MaxObjectBytes + 1, 'x'));
        QTest::ignoreMessage(QtWarningMsg, "large.chm: /larger.png is larger than 1048576 bytes");
        ChmFile file(writer.build(), QStringLiteral("large.chm"));
        QCOMPARE(file.read(QStringLiteral("/largest.png")).value_or(QByteArray()).size(), ChmFile::MaxObjectBytes);
        QVERIFY(!file.read(QStringLiteral("/larger.png")));
    }

    void damagedIndexCannotHoldTheReaderInALoop()
    {
        // An index chunk that names itself as the next one to read, and a compressed section without
        // the tables that the decompressor would look up through that index.
        ChmWriter writer = helpFile();
        writer.add("::DataSpace/Storage/MSCompressed/Content", QByteArray(64, '\0'));
        QByteArray control =
            QByteArray::fromHex("06000000") + "LZXC" + QByteArray::fromHex("02000000020000000200000002000000");
        writer.add("::DataSpace/Storage/MSCompressed/ControlData", control + QByteArray(28 - control.size(), '\0'));
        writer.list("/compressed.html", 1, 0, 100);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^hostile.chm: ")));
        ChmFile file(writer.build(true), QStringLiteral("hostile.chm"));
        QVERIFY(file.isOpen());
        QCOMPARE(file.read(QStringLiteral("/index.html")), page("Start"));
        QVERIFY(!file.read(QStringLiteral("/compressed.html")));
    }

private:
    QStringList m_opened;
};

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
