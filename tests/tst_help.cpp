#include "app/mainform.h"
#include "clock/clockmodel.h"
#include "help/chmfile.h"
#include "help/helpviewer.h"
#include "help/helpwindow.h"
#include "platform/fonts.h"
#include "testsupport.h"

#include <QAction>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTimer>
#include <QTreeWidget>

#include <algorithm>
#include <memory>

namespace {

const QString HelpFile = QStringLiteral("Horavista.chm");
const QString BuiltHelpFile = QString::fromUtf8(HORAVISTA_HELP_FILE);

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

} // namespace

class TestHelp : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { Fonts::install(); }
    void cleanup() { QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty()); }

    void builtHelpFileOpensAtItsDefaultTopic()
    {
        const ChmFile file(BuiltHelpFile);
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

        // Closing the main window ends the program although the help is still open; the help goes too.
        QTimer::singleShot(0, mainForm.get(), [&mainForm] { mainForm->close(); });
        QTimer::singleShot(5000, mainForm.get(), [] { QCoreApplication::exit(1); });
        QCOMPARE(QApplication::exec(), 0);
        mainForm.reset();
        QTRY_VERIFY(window.isNull());
    }

    void unreadableHelpShowsAndReportsNothing_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("missing") << QByteArray();
        QTest::newRow("not a help file") << QByteArray("ITSF but not really a help file");
        QFile built(BuiltHelpFile);
        QVERIFY(built.open(QIODevice::ReadOnly));
        QTest::newRow("cut short") << built.read(600); // the header, and nothing it points to
    }
    void unreadableHelpShowsAndReportsNothing()
    {
        QFETCH(QByteArray, bytes);
        WorkingFolder working;
        VERIFY_FOLDER(working);
        QVERIFY(bytes.isEmpty() || working.write(HelpFile, bytes));
        QWidget *modal = nullptr;
        QTimer::singleShot(0, [&modal] {
            if ((modal = QApplication::activeModalWidget()))
                modal->close();
        });
        HelpViewer::system().displayTopic(nullptr, HelpFile);
        QCoreApplication::processEvents();
        QVERIFY(!modal);
        QVERIFY(QApplication::topLevelWidgets().isEmpty());
    }
};

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
