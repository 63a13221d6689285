#include "app/mainform.h"
#include "platform/chmfile.h"
#include "platform/fonts.h"
#include "platform/helpcontents.h"
#include "platform/helpviewer.h"
#include "platform/helpwindow.h"
#include "platform/twips.h"
#include "testsupport.h"

#include <QAction>
#include <QDialog>
#include <QRegularExpression>
#include <QStringEncoder>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTimer>
#include <QTreeWidget>

#include <memory>

namespace {

const QString HelpFile = QStringLiteral("Horavista.chm");

QString builtHelpFile()
{
    return QString::fromUtf8(HORAVISTA_HELP_FILE);
}

/** "name=local" lines of a contents tree, indented by depth. */
QStringList outline(const QList<HelpTopic> &topics, const QString &indent = QString())
{
    QStringList lines;
    for (const HelpTopic &topic : topics) {
        lines << indent + topic.name + QLatin1Char('=') + topic.local;
        lines << outline(topic.children, indent + QLatin1Char(' '));
    }
    return lines;
}

QList<HelpWindow *> helpWindows()
{
    QList<HelpWindow *> windows;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *window = qobject_cast<HelpWindow *>(widget); window && window->isVisible())
            windows << window;
    }
    return windows;
}

QString pagePath(const QTextBrowser *browser)
{
    return browser->source().path();
}

/** Clicks the text @p text of the page shown, which must be a link. */
bool clickLink(QTextBrowser *browser, const QString &text)
{
    const QTextCursor found = browser->document()->find(text);
    if (found.isNull())
        return false;
    QTextCursor inside(browser->document());
    inside.setPosition(found.selectionStart() + 1);
    if (!inside.charFormat().isAnchor())
        return false;
    browser->setTextCursor(inside);
    browser->ensureCursorVisible();
    const QPoint at = browser->cursorRect(inside).center();
    QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, at);
    return true;
}

} // namespace

class TestHelp : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();

    void builtHelpFileOpensAtItsDefaultTopic();
    void everyLinkOfTheHelpFileLeadsIntoIt();
    void sitemapsNestAsTheirLists_data();
    void sitemapsNestAsTheirLists();
    void sitemapsAreReadInTheirOwnEncoding();

    void viewerShowsTheDefaultTopicAndFollowsLinks();
    void viewerKeepsOneWindowPerFile();
    void unreadableHelpShowsAndReportsNothing_data();
    void unreadableHelpShowsAndReportsNothing();

    void helpMenuOpensTheViewerThatEndsWithTheProgram();
    void versionMenuOpensTheAboutBoxModally();

private:
    std::unique_ptr<WorkingFolder> folderWithHelp();
};

void TestHelp::initTestCase()
{
    Fonts::install();
    QVERIFY2(QFile::exists(builtHelpFile()), qPrintable(builtHelpFile()));
}

void TestHelp::cleanup()
{
    QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty());
}

std::unique_ptr<WorkingFolder> TestHelp::folderWithHelp()
{
    auto folder = std::make_unique<WorkingFolder>();
    if (!folder->isValid() || !folder->copyIn(builtHelpFile(), HelpFile))
        return nullptr;
    return folder;
}

void TestHelp::builtHelpFileOpensAtItsDefaultTopic()
{
    const ChmFile file(builtHelpFile());
    QVERIFY(file.isOpen());
    QCOMPARE(file.defaultTopic(), QStringLiteral("/index.html"));
    QCOMPARE(file.title(), QStringLiteral("Horavista Help"));
    QCOMPARE(file.language(), quint32(0x411));

    const std::optional<QByteArray> page = file.read(file.defaultTopic());
    QVERIFY(page);
    QVERIFY(QString::fromUtf8(*page).contains(QStringLiteral("<title>Horavista の概要</title>")));
    // Paths are looked up from the root and without regard to letter case.
    QCOMPARE(file.read(QStringLiteral("INDEX.HTML")), page);
    QVERIFY(!file.read(QStringLiteral("/no-such-page.html")));
    QCOMPARE(QImage::fromData(file.read(QStringLiteral("/images/mainwindow.png")).value_or(QByteArray())).size(),
             QSize(302, 249));

    const QStringList contents = outline(file.contents());
    QVERIFY2(contents.size() >= 10, qPrintable(contents.join(u'\n')));
    QCOMPARE(contents.first(), QStringLiteral("Horavista の概要=index.html"));
    QVERIFY(contents.contains(QStringLiteral("使いかた=")));
    QVERIFY(contents.contains(QStringLiteral("  時刻のしくみ=dials.html#how")));
}

void TestHelp::everyLinkOfTheHelpFileLeadsIntoIt()
{
    const ChmFile file(builtHelpFile());
    QVERIFY(file.isOpen());
    QStringList pages;
    QStringList broken;
    const std::function<void(const QList<HelpTopic> &)> visit = [&](const QList<HelpTopic> &topics) {
        for (const HelpTopic &topic : topics) {
            if (!topic.local.isEmpty()) {
                const QString path = HelpWindow::topicUrl(HelpContents::topicPath(topic.local)).path();
                pages << path;
                if (!file.read(path))
                    broken << QStringLiteral("contents: ") + topic.local;
            }
            visit(topic.children);
        }
    };
    visit(file.contents());
    pages.removeDuplicates();
    QVERIFY(pages.size() >= 8);

    static const QRegularExpression link(QStringLiteral(R"re((?:href|src)="([^"#]+)[^"]*")re"));
    for (const QString &page : std::as_const(pages)) {
        const QString html = QString::fromUtf8(file.read(page).value_or(QByteArray()));
        for (const QRegularExpressionMatch &match : link.globalMatch(html)) {
            const QString target = QUrl(QStringLiteral("chm:") + page).resolved(QUrl(match.captured(1))).path();
            if (!file.read(target))
                broken << page + QStringLiteral(": ") + match.captured(1);
        }
    }
    QVERIFY2(broken.isEmpty(), qPrintable(broken.join(u'\n')));
}

void TestHelp::sitemapsNestAsTheirLists_data()
{
    QTest::addColumn<QString>("sitemap");
    QTest::addColumn<QStringList>("outline");

    QTest::newRow("flat") << QStringLiteral(R"(<UL><LI><OBJECT type="text/sitemap"><param name="Name" value="A">
        <param name="Local" value="a.html"></OBJECT><LI><OBJECT type="text/sitemap"><param name="Name" value="B">
        <param name="Local" value="b.html"></OBJECT></UL>)")
                          << QStringList{QStringLiteral("A=a.html"), QStringLiteral("B=b.html")};
    QTest::newRow("nested under a heading")
        << QStringLiteral(R"(<ul><li><object type="text/sitemap"><param name="Name" value="Book"></object>
        <ul><li><object type="text/sitemap"><param name="Name" value="Page"><param name="Local" value="p.html#s">
        </object><ul><li><object type="text/sitemap"><param name="Name" value="Deep"><param name="Local" value="d.html">
        </object></ul></ul><li><object type="text/sitemap"><param name="Name" value="After"></object></ul>)")
        << QStringList{QStringLiteral("Book="), QStringLiteral(" Page=p.html#s"), QStringLiteral("  Deep=d.html"),
                       QStringLiteral("After=")};
    QTest::newRow("entities and quoting")
        << QStringLiteral(R"(<UL><LI><OBJECT type='text/sitemap'><param name='Name' value='Q&amp;A &#x3042;&#12354;'>
        <PARAM NAME=Local VALUE=qa.html></OBJECT></UL>)")
        << QStringList{QStringLiteral("Q&A ああ=qa.html")};
    QTest::newRow("window settings and empty objects are passed over")
        << QStringLiteral(R"(<OBJECT type="text/site properties"><param name="Name" value="Props"></OBJECT>
        <UL><LI><OBJECT type="text/sitemap"></OBJECT><LI><OBJECT type="text/sitemap"><param name="Name" value="X">
        </OBJECT></UL>)")
        << QStringList{QStringLiteral("X=")};
    QTest::newRow("stray closing lists") << QStringLiteral(R"(</UL></UL><UL><LI><OBJECT type="text/sitemap">
        <param name="Name" value="Y"></OBJECT></UL></UL>)")
                                         << QStringList{QStringLiteral("Y=")};
    QTest::newRow("not a sitemap") << QStringLiteral("<html><body><p>nothing</p></body></html>") << QStringList();
}

void TestHelp::sitemapsNestAsTheirLists()
{
    QFETCH(QString, sitemap);
    QFETCH(QStringList, outline);
    QCOMPARE(::outline(HelpContents::parse(sitemap)), outline);
}

void TestHelp::sitemapsAreReadInTheirOwnEncoding()
{
    const QString japanese = QStringLiteral("二つの時計");
    QStringEncoder toShiftJis("Shift_JIS");
    QVERIFY(toShiftJis.isValid());
    const QByteArray shiftJis = toShiftJis.encode(japanese);

    // Without a meta line the language's code page decides; a meta line overrides it.
    QCOMPARE(HelpContents::decode(shiftJis, 0x411), japanese);
    QCOMPARE(HelpContents::decode("<meta charset=\"utf-8\">" + japanese.toUtf8(), 0x411),
             QStringLiteral("<meta charset=\"utf-8\">") + japanese);
    QCOMPARE(HelpContents::decode(
                 "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\">" + shiftJis, 0x409)
                 .right(japanese.size()),
             japanese);
    QCOMPARE(HelpContents::decodeAnsi(QByteArray("caf\xE9\0junk", 9), 0x409), QStringLiteral("café"));
    QCOMPARE(HelpContents::topicPath(QStringLiteral("ms-its:Horavista.chm::/dials.html#how")),
             QStringLiteral("/dials.html#how"));
}

void TestHelp::viewerShowsTheDefaultTopicAndFollowsLinks()
{
    const auto folder = folderWithHelp();
    QVERIFY(folder);
    auto caller = std::make_unique<QWidget>();
    HelpViewer::system().displayTopic(caller.get(), HelpFile);
    QCOMPARE(helpWindows().size(), 1);
    HelpWindow *window = helpWindows().first();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QCOMPARE(window->windowTitle(), QStringLiteral("Horavista Help"));
    FIND_CONTROL(browser, QTextBrowser, window, "browser");
    FIND_CONTROL(contents, QTreeWidget, window, "contents");
    QCOMPARE(pagePath(browser), QStringLiteral("/index.html"));
    QCOMPARE(browser->documentTitle(), QStringLiteral("Horavista の概要"));
    QVERIFY(contents->topLevelItemCount() >= 3);
    QCOMPARE(contents->currentItem()->text(0), QStringLiteral("Horavista の概要"));

    // The picture inside the file is drawn: the sky of the main window's picture shows in the page.
    const QImage picture =
        QImage::fromData(ChmFile(builtHelpFile()).read(QStringLiteral("/images/mainwindow.png")).value_or(QByteArray()))
            .convertToFormat(QImage::Format_RGB32);
    QVERIFY(!picture.isNull());
    const QRgb sky = picture.pixel(110, 100);
    const QImage shown = browser->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    int skyPixels = 0;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x)
            skyPixels += shown.pixel(x, y) == sky;
    }
    QVERIFY2(skyPixels > 1000, qPrintable(QString::number(skyPixels)));

    // A link in the page, then back; an entry of the contents.
    QVERIFY(clickLink(browser, QStringLiteral("画像設定")));
    QTRY_COMPARE(pagePath(browser), QStringLiteral("/picture.html"));
    QCOMPARE(browser->documentTitle(), QStringLiteral("画像設定"));
    QCOMPARE(contents->currentItem()->text(0), QStringLiteral("画像設定"));
    FIND_CONTROL(back, QAction, window, "back");
    QVERIFY(back->isEnabled());
    back->trigger();
    QCOMPARE(pagePath(browser), QStringLiteral("/index.html"));

    const QList<QTreeWidgetItem *> summer = contents->findItems(QStringLiteral("サマータイム"), Qt::MatchRecursive);
    QCOMPARE(summer.size(), 1);
    contents->scrollToItem(summer.first());
    QTest::mouseClick(contents->viewport(), Qt::LeftButton, {}, contents->visualItemRect(summer.first()).center());
    QCOMPARE(pagePath(browser), QStringLiteral("/summertime.html"));

    // The viewer goes with the window that asked for it.
    const QPointer<HelpWindow> viewer = window;
    caller.reset();
    QTRY_VERIFY(viewer.isNull());
}

void TestHelp::viewerKeepsOneWindowPerFile()
{
    const auto folder = folderWithHelp();
    QVERIFY(folder);
    HelpViewer::system().displayTopic(nullptr, HelpFile);
    QCOMPARE(helpWindows().size(), 1);
    HelpWindow *window = helpWindows().first();
    window->showTopic(QStringLiteral("cities.html"));
    FIND_CONTROL(browser, QTextBrowser, window, "browser");
    QCOMPARE(pagePath(browser), QStringLiteral("/cities.html"));

    // Asked again, the same window comes back at the default topic.
    HelpViewer::system().displayTopic(nullptr, HelpFile);
    QCOMPARE(helpWindows(), QList<HelpWindow *>{window});
    QCOMPARE(pagePath(browser), QStringLiteral("/index.html"));
    window->close();
}

void TestHelp::unreadableHelpShowsAndReportsNothing_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("folder");
    QTest::newRow("missing") << QByteArray() << false;
    QTest::newRow("not a help file") << QByteArray("ITSF but not really a help file") << false;
    QTest::newRow("cut short") << QByteArray("truncated") << false;
    QTest::newRow("a folder of that name") << QByteArray() << true;
}

void TestHelp::unreadableHelpShowsAndReportsNothing()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, folder);
    WorkingFolder working;
    VERIFY_FOLDER(working);
    if (bytes == "truncated") {
        QFile built(builtHelpFile());
        QVERIFY(built.open(QIODevice::ReadOnly));
        bytes = built.read(600); // the header, and nothing it points to
    }
    if (!bytes.isEmpty())
        QVERIFY(working.write(HelpFile, bytes));
    if (folder)
        QVERIFY(working.dir().mkdir(HelpFile));

    bool modal = false;
    QTimer::singleShot(0, [&modal] { modal = QApplication::activeModalWidget() != nullptr; });
    HelpViewer::system().displayTopic(nullptr, HelpFile);
    QCoreApplication::processEvents();
    QVERIFY(!modal);
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void TestHelp::helpMenuOpensTheViewerThatEndsWithTheProgram()
{
    const auto folder = folderWithHelp();
    QVERIFY(folder);
    auto mainForm = std::make_unique<MainForm>(folder->dir());
    mainForm->show();
    QVERIFY(QTest::qWaitForWindowExposed(mainForm.get()));
    FIND_CONTROL(help, QAction, mainForm.get(), "mnuCallHelp");
    help->trigger();
    QCOMPARE(helpWindows().size(), 1);
    QPointer<HelpWindow> window = helpWindows().first();
    FIND_CONTROL(browser, QTextBrowser, window.data(), "browser");
    QCOMPARE(pagePath(browser), QStringLiteral("/index.html"));

    // Closing the main window ends the program although the help is still open.
    bool timedOut = false;
    QTimer::singleShot(0, mainForm.get(), [&mainForm] { mainForm->close(); });
    QTimer::singleShot(5000, mainForm.get(), [&timedOut] {
        timedOut = true;
        QCoreApplication::exit(1);
    });
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(!timedOut);

    // And the help goes with the main window.
    mainForm.reset();
    QTRY_VERIFY(window.isNull());
}

void TestHelp::versionMenuOpensTheAboutBoxModally()
{
    WorkingFolder working;
    VERIFY_FOLDER(working);
    MainForm mainForm(working.dir());
    mainForm.show();
    QString caption;
    bool modal = false;
    QTimer::singleShot(0, &mainForm, [&] {
        QWidget *box = QApplication::activeModalWidget();
        QVERIFY(box);
        QCOMPARE(box->objectName(), QStringLiteral("frmAbout"));
        caption = box->windowTitle();
        modal = box->isModal();
        // At its own place, not centred over the main window that owns it.
        const int pt = Twips::pixelTwipsOf(box);
        QCOMPARE(box->geometry(), Twips::toPixels(QRect(2340, 1935, 5730, 2055), pt));
        QTest::keyClick(box, Qt::Key_Escape);
    });
    FIND_CONTROL(version, QAction, &mainForm, "mnuCallVersion");
    version->trigger();
    QCOMPARE(caption, QStringLiteral("Horavistaのﾊﾞｰｼﾞｮﾝ情報"));
    QVERIFY(modal);
    QVERIFY(!mainForm.findChild<QDialog *>(QStringLiteral("frmAbout")));
    // No help file here: the Help command shows nothing.
    FIND_CONTROL(help, QAction, &mainForm, "mnuCallHelp");
    help->trigger();
    QVERIFY(helpWindows().isEmpty());
}

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
