#include "app/mainform.h"
#include "clock/clockmodel.h"
#include "help/chmfile.h"
#include "help/helppage.h"
#include "help/helpviewer.h"
#include "help/helpwindow.h"
#include "testsupport.h"

#include <QDesktopServices>
#include <QProcess>
#include <QTextBrowser>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

class TestHelp : public WindowTest
{
    Q_OBJECT
    QStringList m_opened; // the About box, then what the desktop's browser and mail program were given

public Q_SLOTS:
    // Stands in for the desktop's browser and mail program.
    void openUrl(const QUrl &url) { m_opened << url.scheme(); }

private Q_SLOTS:
    void helpMenuShowsTheAboutBoxAndTheHelpThatEndsWithTheProgram()
    {
        QVERIFY(m_folder->copyIn(QString::fromUtf8(HORAVISTA_HELP_FILE), u"Horavista.chm"_s));
        ClockModel clock;
        auto mainForm = std::make_unique<MainForm>(m_folder->dir(), clock);
        mainForm->show();
        whenModalOpens([this](QWidget *box) { m_opened << join(box->objectName(), box->close()); });
        child<QAction>(mainForm.get(), "mnuCallVersion")->trigger();
        child<QAction>(mainForm.get(), "mnuCallHelp")->trigger();
        QTRY_VERIFY(qobject_cast<HelpWindow *>(QApplication::activeWindow()));
        auto *window = qobject_cast<HelpWindow *>(QApplication::activeWindow());
        auto *browser = child<QTextBrowser>(window, "browser");
        auto *contents = child<QTreeWidget>(window, "contents");
        // The file's title and default topic; the page's first link, then an entry of the contents (in the
        // file's code page); links leave the file only for the web and mail, and a link into the file by its own
        // name stays; back to the page before. The contents follow the page shown, and the pictures come out of
        // the file.
        QStringList unread; // every object of the file comes out, to the last byte of the compressed section
        ChmFile file(u"Horavista.chm"_s);
        for (const QString &path : file.objectPaths())
            if (!file.read(path))
                unread << path;
        QTest::keyClicks(browser, u"\t\r"_s); // Tab to the first link, Return to follow it
        QTreeWidgetItem *summer = contents->findItems(u"サマータイム"_s, Qt::MatchRecursive).value(0);
        QTest::mouseClick(contents->viewport(), Qt::LeftButton, {}, contents->visualItemRect(summer).center());
        for (const QString &scheme : u"https mailto file javascript smb"_s.split(u' ')) {
            QDesktopServices::setUrlHandler(scheme, this, "openUrl");
            Q_EMIT browser->anchorClicked(QUrl(scheme + u"://example.org/"_s));
            QDesktopServices::unsetUrlHandler(scheme);
        }
        Q_EMIT browser->anchorClicked(QUrl(u"ms-its:Horavista.chm::/dials.html"_s));
        QTest::keyClick(window, Qt::Key_Left, Qt::AltModifier); // Back
        const auto picture = browser->loadResource(QTextDocument::ImageResource, QUrl(u"images/mainwindow.png"_s));
        child<QAction>(window, "showContents")->trigger(); // 目次 shows the contents at first, and hides them
        QCOMPARE(join(window->windowTitle(), browser->historyUrl(-2).path(), browser->historyUrl(-1).path(),
                      browser->source().path(), browser->historyUrl(1).path(), browser->documentTitle(),
                      contents->currentIndex().data(Qt::ToolTipRole).toString(), m_opened.join(u','),
                      contents->topLevelItemCount(), picture.value<QImage>().width(), contents->isVisible(), unread),
                 u"Horavista Help /index.html /picture.html /summertime.html /dials.html "
                 u"サマータイム サマータイム frmAbout true,https,mailto 3 302 false QList()"_s);

        // Closing the main window ends the program although the help is still open; the help goes too (no
        // window may be left after a test).
        QTimer::singleShot(0, mainForm.get(), [&mainForm] { mainForm->close(); });
        QTimer::singleShot(5000, mainForm.get(), [] { QCoreApplication::exit(1); });
        QCOMPARE(QApplication::exec(), 0);
    }

    void unreadableHelpShowsNothingAndReportsDamage_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("report");
        QTest::newRow("a folder") << u"mkdir Horavista.chm"_s << QString();
        // Opened as a pipe, the reader would wait for a writer forever.
        QTest::newRow("a named pipe") << u"mkfifo Horavista.chm"_s << QString();
        QTest::newRow("a byte over 32 MB") << u"truncate -s 33554433 Horavista.chm"_s << u"larger than"_s;
        QTest::newRow("not a help file") << u":/icon/ico.ico"_s << u"not a help file"_s;
        QTest::newRow("cut short") << u":/data/help-cut-short.chm"_s << u"cut short"_s;
        QTest::newRow("no page") << u":/data/help-no-page.chm"_s << u"no page to show"_s;
    }
    void unreadableHelpShowsNothingAndReportsDamage()
    {
        QFETCH(QString, source);
        QFETCH(QString, report);
        // A copy of a file, or what a command makes, in the working folder.
        QVERIFY(source.startsWith(u':') ? m_folder->copyIn(source, u"Horavista.chm"_s)
                                        : QProcess::execute(u"sh"_s, {u"-c"_s, source}) == 0);
        if (!report.isEmpty())
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"^Horavista.chm: .*"_s + report));
        QTest::failOnWarning(QRegularExpression(u"."_s));
        HelpViewer::system().showProgramHelp(nullptr);
        QVERIFY(QApplication::topLevelWidgets().isEmpty());
    }

    void hostileFileShowsWhatIsReadableAndReportsOnce()
    {
        QTest::ignoreMessage(QtWarningMsg, "help-hostile.chm: /toc.hhc: the contents nest deeper than 32 levels");
        QTest::ignoreMessage(QtWarningMsg, "help-hostile.chm: /larger.png is larger than 1048576 bytes");
        QTest::failOnWarning(QRegularExpression(u"."_s));
        HelpWindow window(u":/data/help-hostile.chm"_s);
        auto *browser = child<QTextBrowser>(&window, "browser");
        // Too large, too slow to lay out, or not to be decompressed: shown empty, and not reported again.
        for (const char *refused : {"/huge.html", "/tables.html", "/compressed.html"}) {
            window.showTopic(QString::fromLatin1(refused));
            QCOMPARE(browser->toPlainText(), QString());
        }
        // The start page shows; deeper entries of the contents are kept at the deepest level, up to the most
        // entries kept.
        window.showDefaultTopic();
        const auto entries = child<QTreeWidget>(&window, "contents")->findItems(u"L"_s, Qt::MatchRecursive);
        int depth = 0;
        for (const QTreeWidgetItem *item = entries.value(entries.size() - 1); item; item = item->parent())
            ++depth;
        // Objects up to the largest handed out, by paths from the root whatever their letter case.
        ChmFile file(u":/data/help-hostile.chm"_s);
        QCOMPARE(join(window.isOpen(), browser->documentTitle(), entries.size(), depth,
                      file.read(u"LARGEST.PNG"_s).value_or(QByteArray()).size(),
                      file.read(u"/larger.png"_s).has_value(), file.read(u"/missing.html"_s).has_value()),
                 u"true Start 5000 32 1048576 false false"_s);
    }

    void pagesTooCostlyToLayOutAreRefused()
    {
        // Each limit reached, then passed by one more of a kind counted with it; closed tables and lone brackets
        // are not counted.
        QStringList problems;
        const auto limit = [&problems](const QByteArray &unit, int count, const QByteArray &more) {
            problems << HelpPage::problem(unit.repeated(count)) + u'|' + HelpPage::problem(unit.repeated(count) + more);
        };
        limit("<TABLE><tr><td>x", 6, "<table>");
        limit("<ul><li>x", 100, "<ol>");
        limit("<td>x", 1000, "<th>");
        limit("<img src=a.png>", 500, "<IMG>");
        limit("x<br>", 8000, "<br>");
        limit("x", 256 * 1024, "x");
        limit("<table><td>x</table>", 7, QByteArray("a < b <3 </ >").repeated(5000));
        QCOMPARE(problems.join(u"; "_s),
                 u"|tables nested deeper than 6; |nested deeper than 100; |more than 1000 table cells; "
                 u"|more than 500 pictures; |more than 8000 tags; |larger than 262144 bytes; |"_s);
    }
};

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
