#include "app/mainwindow.h"
#include "clock/clockmodel.h"
#include "help/chmfile.h"
#include "help/helpcontents.h"
#include "help/helppage.h"
#include "help/helpviewer.h"
#include "help/helpwindow.h"
#include "platform/interfacelanguage.h"
#include "testsupport.h"

#include <QAccessible>
#include <QDesktopServices>
#include <QProcess>
#include <QScopeGuard>
#include <QTextBrowser>
#include <QToolButton>
#include <QTreeWidget>

#include <ctime>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

// The process's resident memory in MB: now, or (@p field "VmHWM") at its peak since the last resetPeak().
double megabytes(const char *field = "VmRSS")
{
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QRegularExpression value(QString::fromLatin1(field) + u":\\s*(\\d+) kB"_s);
    return value.match(QString::fromLatin1(status.readAll())).captured(1).toDouble() / 1024.0;
}

// A help file made by another tool: its title, a text of its first page, an entry of its contents, the page that
// entry shows, and a picture there (40 pixels wide, or a second picture of 1600) with its width.
struct MadeElsewhere
{
    QString title, text, entry, target, picture;
    int width;
};

} // namespace

class TestHelp : public WindowTest
{
    Q_OBJECT
    QStringList m_opened; // what the desktop's browser and mail program were given

public Q_SLOTS:
    // Stands in for the desktop's browser and mail program.
    void openUrl(const QUrl &url) { m_opened << url.scheme(); }

private Q_SLOTS:
    void helpMenuShowsTheHelpInTheInterfacesLanguageThatEndsWithTheProgram_data()
    {
        QTest::addColumn<bool>("english");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("summerTime"); // the page's entry in the contents, and its title
        QTest::addColumn<QString>("contentsButton");
        QTest::newRow("Japanese") << false << u"Horavista.chm"_s << u"サマータイム"_s << u"目次"_s;
        QTest::newRow("English") << true << u"Horavista_en.chm"_s << u"Summer time"_s << u"Contents"_s;
    }
    void helpMenuShowsTheHelpInTheInterfacesLanguageThatEndsWithTheProgram()
    {
        QFETCH(bool, english);
        QFETCH(QString, summerTime);
        m_opened.clear();
        QVERIFY(m_folder->copyIn(QString::fromUtf8(HORAVISTA_HELP_FILE), u"Horavista.chm"_s));
        QVERIFY(m_folder->copyIn(QString::fromUtf8(HORAVISTA_ENGLISH_HELP_FILE), u"Horavista_en.chm"_s));
        const auto japaneseAgain = qScopeGuard([] { InterfaceLanguage::use(InterfaceLanguage::Language::Japanese); });
        QVERIFY(!english || InterfaceLanguage::use(InterfaceLanguage::Language::English));
        ClockModel clock;
        auto mainForm = std::make_unique<MainWindow>(m_folder->dir(), clock);
        mainForm->show();
        QVERIFY(QTest::qWaitForWindowActive(mainForm.get()));
        FIND_CHILD(help, QAction, mainForm.get(), "mnuCallHelp");
        QTest::keyClick(mainForm.get(), Qt::Key_F1);
        help->trigger(); // the window already open
        QTRY_VERIFY(qobject_cast<HelpWindow *>(QApplication::activeWindow()));
        const QWidgetList windows = QApplication::topLevelWidgets();
        QCOMPARE(std::ranges::count_if(windows, [](QWidget *w) { return qobject_cast<HelpWindow *>(w); }), 1);
        auto *window = qobject_cast<HelpWindow *>(QApplication::activeWindow());
        FIND_CHILD(browser, QTextBrowser, window, "browser");
        FIND_CHILD(contents, QTreeWidget, window, "contents");
        FIND_CHILD(showContents, QAction, window, "showContents");
        // The file's default topic; the page's first link, then an entry of the contents (in the
        // file's code page); links leave the file only for the web and mail, and a link into the file by its own
        // name stays; back to the page before. The contents follow the page shown.
        QTest::keyClicks(browser, u"\t\r"_s); // Tab to the first link, Return to follow it
        QTreeWidgetItem *summer = contents->findItems(summerTime, Qt::MatchRecursive).value(0);
        QTest::mouseClick(contents->viewport(), Qt::LeftButton, {}, contents->visualItemRect(summer).center());
        for (const QString &scheme : u"https mailto file javascript smb"_s.split(u' ')) {
            QDesktopServices::setUrlHandler(scheme, this, "openUrl");
            Q_EMIT browser->anchorClicked(QUrl(scheme + u"://example.org/"_s));
            QDesktopServices::unsetUrlHandler(scheme);
        }
        Q_EMIT browser->anchorClicked(QUrl(u"ms-its:Horavista.chm::/dials.html"_s));
        QTest::keyClick(window, Qt::Key_Left, Qt::AltModifier); // Back
        showContents->trigger(); // 目次 shows the contents at first, and hides them
        QTEST(QFileInfo(window->filePath()).fileName(), "file");
        QTEST(showContents->text(), "contentsButton");
        QCOMPARE((QStringList{browser->historyUrl(-2).path(), browser->historyUrl(-1).path(), browser->source().path(),
                              browser->historyUrl(1).path()}),
                 (QStringList{u"/index.html"_s, u"/picture.html"_s, u"/summertime.html"_s, u"/dials.html"_s}));
        QCOMPARE(contents->currentIndex().data(Qt::ToolTipRole).toString(), summerTime);
        QCOMPARE(m_opened, (QStringList{u"https"_s, u"mailto"_s}));
        QVERIFY(!contents->isVisible());

        // Closing the main window ends the program although the help is still open; the help goes too (no
        // window may be left after a test).
        QTimer::singleShot(0, mainForm.get(), [&mainForm] { mainForm->close(); });
        QTimer::singleShot(5000, mainForm.get(), [] { QCoreApplication::exit(1); });
        QCOMPARE(QApplication::exec(), 0);
    }

    void programsHelpShowsEveryPageWholeToScreenReadersAndTheKeyboard()
    {
        // A dark palette's yellow links would not read on the pages' own white ground: the pages keep blue ones.
        const auto restore = qScopeGuard([palette = QApplication::palette()] { QApplication::setPalette(palette); });
        QPalette dark = QApplication::palette();
        dark.setColor(QPalette::Link, Qt::yellow);
        QApplication::setPalette(dark);
        HelpWindow window(QString::fromUtf8(HORAVISTA_HELP_FILE));
        FIND_CHILD(browser, QTextBrowser, &window, "browser");
        QCOMPARE(browser->palette().color(QPalette::Link), QColor(Qt::blue));
        FIND_CHILD(contents, QTreeWidget, &window, "contents");
        window.showDefaultTopic();
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        // The first page's picture is read by its alternative text, as one line of the page.
        QAccessibleTextInterface *page = QAccessible::queryAccessibleInterface(browser)->textInterface();
        QVERIFY(page);
        const QString read = page->text(0, page->characterCount());
        const int at = browser->toPlainText().indexOf(QChar::ObjectReplacementCharacter);
        QVERIFY(read.contains(u"メイン画面の各部"_s) && !read.contains(QChar::ObjectReplacementCharacter));
        int start = 0, end = 0;
        QCOMPARE(page->textAtOffset(at, QAccessible::LineBoundary, &start, &end).trimmed(), u"メイン画面の各部"_s);
        QCOMPARE(page->textAtOffset(at, QAccessible::CharBoundary, &start, &end), u"メイン画面の各部"_s);
        QCOMPARE(end - start, 1);
        // From its first character on.
        QCOMPARE(page->textAtOffset(0, QAccessible::CharBoundary, &start, &end), browser->toPlainText().left(1));
        // Tab goes from the contents through the page's links to ホーム and 目次; Esc closes the window.
        QStringList reached;
        contents->setFocus();
        for (int i = 0; i < 40 && reached.size() < 2; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            if (auto *button = qobject_cast<QToolButton *>(QApplication::focusWidget()))
                reached << button->text();
        }
        QCOMPARE(reached, (QStringList{u"ホーム"_s, u"目次"_s}));
        // A link to a section selects the section's own entry where it has one, else its page's.
        window.showTopic(u"/dials.html#settings"_s);
        QCOMPARE(contents->currentItem()->text(0), u"時計設定で都市を選ぶ"_s);
        window.showTopic(u"/window.html#drag"_s);
        QCOMPARE(contents->currentItem()->text(0), u"ウィンドウの移動とメニュー"_s);
        QTest::keyClick(&window, Qt::Key_Escape);
        QVERIFY(!window.isVisible());
        // Every object comes out, to the last byte of the compressed section; within every budget, each page with
        // all its pictures, one window showing them all in turn.
        QTest::failOnWarning(QRegularExpression(u"."_s));
        ChmFile file(window.filePath());
        QStringList unread, empty, missingPictures;
        int pictures = 0;
        for (const QString &path : file.objectPaths()) {
            if (!file.read(path))
                unread << path;
            if (!path.endsWith(u".html"_s))
                continue;
            window.showTopic(path);
            browser->viewport()->grab();
            if (browser->toPlainText().trimmed().isEmpty())
                empty << path;
            for (const QTextFormat &format : browser->document()->allFormats()) {
                const QTextImageFormat image = format.toImageFormat();
                pictures += image.isValid();
                const QVariant shown = browser->document()->resource(QTextDocument::ImageResource, image.name());
                if (image.isValid() && shown.value<QImage>().width() != int(image.width()))
                    missingPictures << path + u' ' + image.name();
            }
        }
        QCOMPARE((QList<QStringList>{unread, empty, missingPictures}), QList<QStringList>(3));
        QCOMPARE(pictures, 2);
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
        QTest::newRow("cut in its header") << u":/data/help-cut-header.chm"_s << u"cut short"_s;
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
        FIND_CHILD(browser, QTextBrowser, &window, "browser");
        FIND_CHILD(contents, QTreeWidget, &window, "contents");
        // Too large, too slow to lay out, or not to be decompressed: shown empty, and not reported again.
        for (const char *refused : {"/huge.html", "/tables.html", "/compressed.html"}) {
            window.showTopic(QString::fromLatin1(refused));
            QCOMPARE(browser->toPlainText(), QString());
        }
        // The start page shows; deeper entries of the contents are kept at the deepest level, up to the most
        // entries kept.
        window.showDefaultTopic();
        const auto entries = contents->findItems(u"L"_s, Qt::MatchRecursive);
        int depth = 0;
        for (const QTreeWidgetItem *item = entries.value(entries.size() - 1); item; item = item->parent())
            ++depth;
        // Objects up to the largest handed out, by paths from the root whatever their letter case.
        ChmFile file(u":/data/help-hostile.chm"_s);
        QCOMPARE(browser->documentTitle(), u"Start"_s);
        QCOMPARE(entries.size(), 5000);
        QCOMPARE(depth, 32);
        QCOMPARE(file.read(u"LARGEST.PNG"_s).value_or(QByteArray()).size(), 1048576);
        QVERIFY(!file.read(u"/larger.png"_s).has_value());
        QVERIFY(!file.read(u"/missing.html"_s).has_value());
    }

    void contentsListsFollowOneAnotherAndReadEntitiesInTheirCodePage()
    {
        // In a Russian help file &yuml; is the byte 0xFF of code page 1251: я.
        const QList<HelpTopic> topics =
            HelpContents::parse(uR"(<ul><li><object type="text/sitemap"><param name="Name" value="&yuml;"></object></ul>
                <ul><li><object type="text/sitemap"><param name="Name" value="B"></object></ul>)"_s,
                                nullptr, 0x419);
        QCOMPARE(topics.size(), 2);
        QCOMPARE(topics[0].name, u"я"_s);
    }

    void realHelpFilesShowTheirPagesContentsAndPictures_data()
    {
        QTest::addColumn<MadeElsewhere>("file"); // each row named after its file
        // Japanese, chmcmd: URL-encoded names everywhere; a picture of the whole budget on the first page and on the
        // second.
        QTest::newRow("ja-names") << MadeElsewhere{
            u"ヘルプ"_s, u"最初のページ"_s, u"次のページ"_s, u"/sub dir/page 2.html"_s, u"../images/big%20two.png"_s,
            1600};
        // Russian 1251, chmcmd: pages that name no encoding, and contents written as Latin-1 entities.
        QTest::newRow("ru-codepage") << MadeElsewhere{u"Справка"_s,     u"Описание часов"_s, u"Описание"_s,
                                                      u"/index.html"_s, u"clock.png"_s,      40};
        // Chinese 936: contents file and first page named only by the default window; the contents in their own
        // folder.
        QTest::newRow("zh-window") << MadeElsewhere{
            u"帮助"_s, u"世界时钟的说明"_s, u"说明"_s, u"/pages/index.html"_s, u"../images/clock.png"_s, 40};
        // Russian 1251, fpdoc: the first listing chunk given as 1 (#SYSTEM is in chunk 0); the only contents file,
        // named nowhere.
        QTest::newRow("ru-first-chunk") << MadeElsewhere{u"fpdoc"_s,       u"Описание модуля"_s, u"Модуль"_s,
                                                         u"/index.html"_s, u"unit.png"_s,        40};
    }
    void realHelpFilesShowTheirPagesContentsAndPictures()
    {
        QFETCH(MadeElsewhere, file);
        QTest::failOnWarning(QRegularExpression(u"."_s));
        HelpWindow window(u":/data/help-%1.chm"_s.arg(QString::fromLatin1(QTest::currentDataTag())));
        FIND_CHILD(browser, QTextBrowser, &window, "browser");
        FIND_CHILD(contents, QTreeWidget, &window, "contents");
        window.showDefaultTopic();
        browser->viewport()->grab();
        QVERIFY2(browser->toPlainText().contains(file.text), qPrintable(browser->toPlainText()));
        QTreeWidgetItem *item = contents->findItems(file.entry, Qt::MatchRecursive).value(0);
        QTest::mouseClick(contents->viewport(), Qt::LeftButton, {}, contents->visualItemRect(item).center());
        browser->viewport()->grab();
        const QVariant shown = browser->document()->resource(QTextDocument::ImageResource, QUrl(file.picture));
        QCOMPARE(window.windowTitle(), file.title);
        QCOMPARE(browser->source().path(), file.target);
        QCOMPARE(shown.value<QImage>().width(), file.width);
    }

    void pagesReadNothingOutsideTheHelpFile()
    {
        // Red outside: a picture, and a style sheet that paints the page's paragraphs.
        QImage red(37, 23, QImage::Format_RGB32);
        red.fill(Qt::red);
        QVERIFY(red.save(m_folder->path(u"outside.png"_s)));
        QVERIFY(m_folder->write(u"outside.css"_s, "p { color: #ff0000; background-color: #ff0000; }"));
        QCOMPARE(mkfifo("pipe.png", 0600), 0); // opened, it would wait for a writer forever
        HelpWindow window(u":/data/help-outside.chm"_s);
        FIND_CHILD(browser, QTextBrowser, &window, "browser");
        QStringList reddened, cut;
        for (const QString &page :
             u"relative file absolute data table background link import nested pipe"_s.split(u' ')) {
            window.showTopic(u"/"_s + page + u".html"_s);
            const QImage shot = browser->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
            const auto *pixels = reinterpret_cast<const QRgb *>(shot.constBits());
            if (std::count(pixels, pixels + shot.width() * shot.height(), qRgb(255, 0, 0)) > 0)
                reddened << page;
            if (!browser->toPlainText().endsWith(u'x'))
                cut << page;
        }
        QCOMPARE((QList<QStringList>{reddened, cut}), QList<QStringList>(2));
    }

    void costlyPagesAreCutWithinTheirBudgets_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("report");
        QTest::newRow("a sheet importing itself 10,000 times") << u"imports"_s << u"more than 262144 bytes"_s;
        QTest::newRow("a sheet importing 100 others") << u"many"_s << u"more than 16 style sheets"_s;
        QTest::newRow("sheets importing each other 8 deep") << u"deep"_s << u"imported deeper than 4"_s;
        QTest::newRow("3,000 links to a 200 KB sheet") << u"links"_s << u"more than 16 linked"_s;
        QTest::newRow("7,000 rules, 3,800 elements") << u"rules"_s << u"more than 262 style rules"_s;
        QTest::newRow("20 imports of a 200 KB sheet") << u"sheets"_s << u"more than 262144 bytes"_s;
        QTest::newRow("a word of 250,000 letters") << u"word"_s << u"a word longer than 4000"_s;
        QTest::newRow("empty blocks") << u"compressed"_s << u"more than 262144 bytes of blocks that make nothing"_s;
    }
    void costlyPagesAreCutWithinTheirBudgets()
    {
        QFETCH(QString, page);
        QFETCH(QString, report);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"^help-costly.chm: .*"_s + report));
        QTest::failOnWarning(QRegularExpression(u"^help"_s));
        HelpWindow window(u":/data/help-costly.chm"_s);
        FIND_CHILD(browser, QTextBrowser, &window, "browser");
        window.show();
        const double before = megabytes();
        QFile clearPeak(u"/proc/self/clear_refs"_s);
        QVERIFY(clearPeak.open(QIODevice::WriteOnly) && clearPeak.write("5") == 1);
        const std::clock_t start = std::clock();
        window.showTopic(u"/"_s + page + u".html"_s);
        browser->viewport()->grab();
        const double seconds = double(std::clock() - start) / CLOCKS_PER_SEC;
        const double grown = megabytes("VmHWM") - before;
        // The program goes on: the start page shows after it.
        window.showTopic(u"/index.html"_s);
        browser->viewport()->grab();
        QVERIFY2(seconds < 1.0, qPrintable(QString::number(seconds)));
        QVERIFY2(grown < 300, qPrintable(QString::number(grown)));
        QCOMPARE(browser->toPlainText(), u"Start"_s);
    }

    void pagesTooCostlyToLayOutAreRefused()
    {
        // Each limit reached, then passed by one more of a kind counted with it; closed tables and lone brackets
        // are not counted.
        const auto limit = [](auto check, const auto &unit, int count, const auto &more, const QString &problem) {
            QCOMPARE(check(unit.repeated(count)), QString());
            QCOMPARE(check(unit.repeated(count) + more), problem);
        };
        const auto page = HelpPage::problem;
        limit(page, "<TABLE><tr><td>x"_ba, 6, "<table>"_ba, u"tables nested deeper than 6"_s);
        limit(page, "<ul><li>x"_ba, 100, "<ol>"_ba, u"nested deeper than 100"_s);
        limit(page, "<td>x"_ba, 1000, "<th>"_ba, u"more than 1000 table cells"_s);
        limit(page, "<img src=a.png>"_ba, 500, "<IMG>"_ba, u"more than 500 pictures"_s);
        limit(page, "x<br>"_ba, 8000, "<br>"_ba, u"more than 8000 tags"_s);
        limit(page, "x"_ba, 256 * 1024, "x"_ba, u"larger than 262144 bytes"_s);
        limit(page, "<table><td>x</table>"_ba, 7, "a < b <3 </ >"_ba.repeated(5000), QString());
        limit(page, "<link rel=stylesheet>"_ba, 16, "<LINK>"_ba, u"more than 16 linked style sheets"_s);
        // Style rules (imports too) for the page's elements: 2,000 for 1,000 of them, 1,998 for 1,001.
        const QByteArray paragraphs = "<p>"_ba.repeated(998);
        QCOMPARE(page("<style>" + "p{}"_ba.repeated(2000) + "</style>" + paragraphs), QString());
        QCOMPARE(page("<style>" + "p{}"_ba.repeated(1998) + "@import 'a';</style><p>" + paragraphs),
                 u"more than 1998 style rules"_s);
        // The text: words (which running-text tags do not break, other tags, spaces and CJK letters do), accents
        // (also as entities) and changes of direction.
        const auto text = HelpPage::textProblem;
        limit(text, u"x<b>x</b>"_s, 2000, u"<I>x"_s, u"a word longer than 4000 letters"_s);
        limit(text, u"\u0301"_s, 32, u"&#x30F;"_s, u"a letter with more than 32 accents"_s);
        limit(text, u"\u05D0a"_s, 1000, u"&#1488;"_s, u"more than 2000 changes of writing direction"_s);
        limit(text, u"x<br>"_s, 8000, u"\u3042 x"_s.repeated(5000), QString());
    }
};

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
