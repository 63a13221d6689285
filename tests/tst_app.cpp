#include "app/mainform.h"
#include "clock/clockmodel.h"
#include "clock/dialpair.h"
#include "picture/folderlist.h"
#include "platform/picturebox.h"
#include "settings/settimedialog.h"
#include "testsupport.h"

#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPaintEvent>
#include <QScreen>

namespace {

const QString SettingsFile = QStringLiteral("setTime.properties");
const QString PictureFile = QStringLiteral("mainImage.bmp");

QString text(const QWidget *window, const char *label)
{
    return child<QLabel>(window, label)->text();
}

bool shows(const QWidget *window, const char *label)
{
    return !child<QLabel>(window, label)->isHidden();
}

QImage picture(const QSize &size, const QColor &colour)
{
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(colour);
    picture.setPixelColor(1, 1, Qt::yellow);
    return picture;
}

/** Right-clicks @p widget at @p at and chooses the item named @p item of the pop-up menu, or closes the menu. */
void rightClick(QWidget *widget, const QPoint &at, const char *item = nullptr, QStringList *items = nullptr)
{
    QTimer::singleShot(0, [item, items] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QVERIFY2(menu, "no pop-up menu opened");
        for (QAction *action : menu->actions()) {
            if (items)
                *items << (action->isSeparator() ? QStringLiteral("-") : action->text());
            if (item && action->objectName() == QLatin1String(item))
                return QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
        }
        if (items)
            *items << QStringLiteral("%1,%2").arg(menu->x()).arg(menu->y());
        menu->close();
    });
    QTest::mouseClick(widget, Qt::RightButton, {}, at);
}

} // namespace

class TestApp : public WindowTest
{
    Q_OBJECT

    ClockModel m_clock;

    std::unique_ptr<MainForm> start(bool shown = true)
    {
        auto mainForm = std::make_unique<MainForm>(m_folder->dir(), m_clock);
        mainForm->load();
        if (shown) {
            mainForm->show();
            if (!QTest::qWaitForWindowExposed(mainForm.get()))
                return nullptr;
        }
        return mainForm;
    }

private Q_SLOTS:
    void init()
    {
        WindowTest::init();
        m_clock.setOffsets(0, 0);
    }

    void opensWithItsDesignedLook()
    {
        QTest::failOnWarning(QRegularExpression(QStringLiteral("^(ico|mainImage)")));
        FixedClock clock(QDateTime(QDate(2026, 12, 6), QTime(10, 0, 15)));
        const auto mainForm = start();
        QCOMPARE(mainForm->objectName() + mainForm->windowTitle(), QStringLiteral("mainForm++ Pelkin Horavista ++"));
        QVERIFY(!mainForm->windowIcon().isNull());
        QStringList menus;
        for (const QAction *menu : mainForm->menuBar()->actions()) {
            menus << menu->text();
            for (const QAction *item : menu->menu()->actions())
                menus << item->objectName() + u'=' + item->text();
        }
        QCOMPARE(menus.join(u' '),
                 QStringLiteral("File mnuExit=終了 Option mnuSetTime=時計設定 mnuSetImg=画像設定 "
                                "Help mnuCallHelp=ヘルプ mnuCallVersion=バージョン情報"));
        QCOMPARE(mainForm->centralWidget()->size(), QSize(400, 280));
        QCOMPARE(mainForm->minimumSize(), mainForm->maximumSize()); // not resizable
        const QPoint offCentre = mainForm->frameGeometry().center() - mainForm->screen()->geometry().center();
        QVERIFY2(offCentre.manhattanLength() <= 4, "the window opens centred on the screen");
        QVERIFY(!shows(mainForm.get(), "Label13") && !shows(mainForm.get(), "Label14"));

        // Until the first tick the hands run from the dials' centres to their designed ends.
        QWidget *surface = mainForm->centralWidget();
        QImage shown = surface->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shown.pixelColor(200, 10), QColor(Qt::white)); // the window background
        QCOMPARE(shown.pixelColor(8, 60), QColor(Qt::black)); // dial A's outer square
        QCOMPARE(shown.pixelColor(387, 200), QColor(Qt::black)); // dial B's inner square, right side
        QCOMPARE(shown.pixelColor(50, 70), QColor(0xC0, 0, 0)); // dial A's second hand, towards (600, 1200)
        QCOMPARE(shown.pixelColor(75, 56), QColor(Qt::black)); // its hour hand, towards (1200, 840)
        QImage edge(surface->size(), QImage::Format_RGB32);
        edge.fill(Qt::green);
        surface->render(&edge, QPoint(8, 50), QRegion(8, 50, 1, 20)); // an outline repainted by its edge alone
        QCOMPARE(edge.pixelColor(8, 60), QColor(Qt::black));

        mainForm->findChild<DialPair *>()->tick();
        shown = surface->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(text(mainForm.get(), "Label11") + text(mainForm.get(), "Label12"), QStringLiteral("10:00:1510:00:15"));
        QCOMPARE(child(mainForm.get(), "Label12")->font().family(), Fonts::japaneseGothic());
        QCOMPARE(child(mainForm.get(), "Label7")->font().pointSizeF(), 8.25);
        for (const QPoint &on : {QPoint(75, 61), QPoint(94, 61), QPoint(355, 182)}) // 15 s: to the right
            QCOMPARE(shown.pixelColor(on), QColor(0xC0, 0, 0));
        QCOMPARE(shown.pixelColor(61, 40), QColor(Qt::black)); // dial A's minute hand, up
        QCOMPARE(shown.pixelColor(50, 70), QColor(Qt::white)); // the designed second hand is gone
    }

    void startUpReadsItsFiles_data()
    {
        QTest::addColumn<QByteArray>("settings"); // empty: no file
        QTest::addColumn<QByteArray>("icon"); // empty: no file
        QTest::addColumn<QByteArray>("bitmap"); // "dir": a folder of that name
        QTest::addColumn<QString>("shown"); // captions A and B, list entry, tags A and B, offsets A and B, picture
        const QByteArray blue = "blue";
        QTest::newRow("no settings: Tokyo on both dials")
            << QByteArray() << blue << blue << "Tokyo Tokyo 0 false false 0 0 true";
        QTest::newRow("saved choice") << QByteArray("-13,\"New York\",2,\"Sydney\",#TRUE#,#TRUE#\r\n") << blue << blue
                                      << "New York Sydney 29 true true -13 2 true";
        QTest::newRow("dial A's caption is not checked") << QByteArray("5,\"Atlantis\",0,\"Tokyo\",#FALSE#,#FALSE#\n")
                                                         << blue << blue << "Atlantis Tokyo 0 false false 5 0 true";
        // A damaged file stops the reader before it changes anything: the window stays as laid out.
        QTest::newRow("field 3 not a number") << QByteArray("-13,\"New York\",x,\"Sydney\",#TRUE#,#TRUE#\r\n") << blue
                                              << blue << "  -1 false false 0 0 true";
        QTest::newRow("dial B's city not in the list")
            << QByteArray("-15,\"Chicago\",-15,\"Chicago\",#TRUE#,#TRUE#\r\n") << blue << blue
            << "  -1 false false 0 0 true";
        QTest::newRow("icon missing, picture a folder")
            << QByteArray() << QByteArray() << QByteArray("dir") << "Tokyo Tokyo 0 false false 0 0 false";
        QTest::newRow("icon and picture damaged")
            << QByteArray() << QByteArray("not an icon") << QByteArray("BM") + QByteArray(60, '\0')
            << "Tokyo Tokyo 0 false false 0 0 false";
    }
    void startUpReadsItsFiles()
    {
        QFETCH(QByteArray, settings);
        QFETCH(QByteArray, icon);
        QFETCH(QByteArray, bitmap);
        QVERIFY(settings.isEmpty() || m_folder->write(SettingsFile, settings));
        if (icon != "blue") {
            QVERIFY(QFile::remove(m_folder->path(QStringLiteral("ico.ico"))) &&
                    (icon.isEmpty() || m_folder->write(QStringLiteral("ico.ico"), icon)));
            QTest::ignoreMessage(QtWarningMsg,
                                 QRegularExpression(icon.isEmpty()
                                                        ? QStringLiteral("^ico.ico: file not found;")
                                                        : QStringLiteral("^ico.ico: .*; using the built-in icon$")));
        }
        if (bitmap == "blue")
            QVERIFY(picture(QSize(150, 100), Qt::blue).save(m_folder->path(PictureFile), "BMP"));
        else if (bitmap == "dir")
            QVERIFY(m_folder->dir().mkdir(PictureFile)); // not a picture file at all: nothing to report
        else if (m_folder->write(PictureFile, bitmap))
            QTest::ignoreMessage(
                QtWarningMsg, QRegularExpression(QStringLiteral("^mainImage.bmp: .*; the picture box stays empty$")));
        const auto mainForm = start(false);
        QVERIFY(!mainForm->windowIcon().isNull());
        const QImage shownPicture = child<PictureBox>(mainForm.get(), "Picture1")->picture();
        QVERIFY(shownPicture.isNull() ||
                shownPicture.convertToFormat(QImage::Format_RGB32) == picture(QSize(150, 100), Qt::blue));
        QTEST(join(text(mainForm.get(), "Label1"), text(mainForm.get(), "Label2"),
                   child<QComboBox>(mainForm.get(), "Combo1")->currentIndex(), shows(mainForm.get(), "Label13"),
                   shows(mainForm.get(), "Label14"), m_clock.offsetA(), m_clock.offsetB(), !shownPicture.isNull()),
              "shown");
        QCOMPARE(m_folder->read(SettingsFile), settings); // reading never writes
    }

    void summerTimeTagIsWhiteOnRed()
    {
        QVERIFY(m_folder->write(SettingsFile, "0,\"Tokyo\",2,\"Sydney\",#FALSE#,#TRUE#\r\n"));
        const auto mainForm = start();
        auto *tag = child<QLabel>(mainForm.get(), "Label14");
        QCOMPARE(tag->text(), QStringLiteral("Summer+Time"));
        QVERIFY(tag->fontMetrics().horizontalAdvance(tag->text()) <= tag->width()); // the caption fits whole
        const QImage shown = tag->grab().toImage();
        QCOMPARE(shown.pixelColor(1, tag->height() - 2), QColor(Qt::red));
        int white = 0;
        for (int x = 0; x < shown.width(); ++x)
            white += shown.pixelColor(x, tag->height() / 2).green() > 128;
        QVERIFY2(white > 3, "the caption is written in white");
    }

    void cityListNamesDialBWithoutSaving()
    {
        FixedClock clock;
        const QByteArray saved("0,\"Tokyo\",2,\"Sydney\",#FALSE#,#TRUE#\r\n");
        QVERIFY(m_folder->write(SettingsFile, saved));
        const auto mainForm = start();
        auto *list = child<QComboBox>(mainForm.get(), "Combo1");
        QVERIFY(!list->isEditable());
        choose(mainForm.get(), "Combo1", QStringLiteral("Sydney")); // the entry already selected still counts
        QVERIFY(!shows(mainForm.get(), "Label14")); // dial B drops its summer time
        QCOMPARE(m_clock.offsetB(), 1);
        list->setFocus();
        QTest::keyClick(list, Qt::Key_End); // the last city, by the keyboard
        QCOMPARE(text(mainForm.get(), "Label2"), QStringLiteral("Zurich"));
        mainForm->findChild<DialPair *>()->tick();
        QCOMPARE(text(mainForm.get(), "Label12"), QStringLiteral("02:00:00"));
        QCOMPARE(m_folder->read(SettingsFile), saved);
    }

    void tickRepaintsOnlyWhatMoved()
    {
        FixedClock clock;
        const auto mainForm = start();
        auto *dials = mainForm->findChild<DialPair *>();
        dials->tick();
        QCoreApplication::processEvents();
        QRegion painted;
        struct Recorder : QObject
        {
            QRegion *painted;
            bool eventFilter(QObject *, QEvent *event) override
            {
                if (event->type() == QEvent::Paint)
                    *painted += static_cast<QPaintEvent *>(event)->region();
                return false;
            }
        } recorder;
        recorder.painted = &painted;
        mainForm->centralWidget()->installEventFilter(&recorder);
        clock.advance(1);
        dials->tick();
        QTRY_VERIFY(!painted.isEmpty());
        const QRect dialA(6, 6, 112, 112);
        const QRegion allowed = QRegion(dialA) + QRect(278, 126, 112, 112) +
            child(mainForm.get(), "Label11")->geometry() + child(mainForm.get(), "Label12")->geometry();
        QVERIFY2((painted - allowed).isEmpty(), "a tick repainted more than the dials and their times");
        int area = 0; // only the second hands moved: far less than a dial
        for (const QRect &r : painted)
            area += r.width() * r.height();
        QVERIFY2(area < dialA.width() * dialA.height(), qPrintable(QString::number(area)));
    }

    void onlyTheBareSurfaceDragsTheWindow()
    {
        const auto mainForm = start();
        const QPoint before = mainForm->pos();
        for (const char *control : {"Label1", "Picture1", "Combo1"}) {
            dragOn(child(mainForm.get(), control), QPoint(4, 4), QPoint(50, 40));
            QCOMPARE(mainForm->pos(), before);
        }
        dragOn(mainForm->centralWidget(), QPoint(200, 10), QPoint(50, 40), Qt::MiddleButton);
        QCOMPARE(mainForm->pos(), before);
        child<QComboBox>(mainForm.get(), "Combo1")->hidePopup(); // the press opened the list
        // Far, with no bounds. (The offscreen platform misplaces windows at negative coordinates.)
        dragOn(mainForm->centralWidget(), QPoint(200, 10), QPoint(1230, 1016));
        QCOMPARE(mainForm->pos(), before + QPoint(1230, 1016));
    }

    void popUpMenuOfTheWindowAndOfTheDialog()
    {
        const auto mainForm = start();
        QWidget *surface = mainForm->centralWidget();
        QStringList items;
        rightClick(surface, QPoint(200, 10), nullptr, &items);
        const QPoint at = surface->mapToGlobal(QPoint(200, 10));
        QCOMPARE(items.join(u' '), QStringLiteral("時計設定 画像設定 - 終了 %1,%2").arg(at.x()).arg(at.y()));
        // The dialog's own menu: its 時計設定 opens no second dialog.
        int dialogs = 0;
        whenModalOpens([&](QWidget *dialog) {
            QVERIFY(qobject_cast<SetTimeDialog *>(dialog) && dialog->parentWidget() == mainForm.get());
            QVERIFY((dialog->frameGeometry().center() - mainForm->frameGeometry().center()).manhattanLength() <= 2);
            QTimer::singleShot(200, dialog, [&dialogs] { dialogs += QApplication::activeModalWidget()->close(); });
            rightClick(dialog, QPoint(150, 240), "mnuSetTime");
            QCOMPARE(QApplication::activeModalWidget(), dialog);
            dialog->close();
        });
        rightClick(surface, QPoint(200, 10), "mnuSetTime");
        QCOMPARE(dialogs, 0);
        QVERIFY(!mainForm->findChild<SetTimeDialog *>()); // unloaded at closing
    }

    void exitEndsTheProgram_data()
    {
        QTest::addColumn<QString>("from");
        QTest::newRow("menu bar") << "menu bar";
        QTest::newRow("pop-up menu") << "pop-up";
        QTest::newRow("pop-up menu of the clock-settings dialog") << "dialog";
    }
    void exitEndsTheProgram()
    {
        QFETCH(QString, from);
        const auto mainForm = start();
        bool dialogClosedFirst = false;
        connect(qApp, &QGuiApplication::lastWindowClosed, mainForm.get(),
                [&dialogClosedFirst] { dialogClosedFirst = !QApplication::activeModalWidget(); });
        QTimer::singleShot(5000, mainForm.get(), [] { QCoreApplication::exit(1); });
        QTimer::singleShot(0, mainForm.get(), [&] {
            if (from == QLatin1String("pop-up"))
                return rightClick(mainForm->centralWidget(), QPoint(200, 10), "mnuExit");
            if (from == QLatin1String("dialog"))
                whenModalOpens([](QWidget *dialog) { rightClick(dialog, QPoint(150, 240), "mnuExit"); });
            child<QAction>(mainForm.get(), from == QLatin1String("dialog") ? "mnuSetTime" : "mnuExit")->trigger();
        });
        QCOMPARE(QCoreApplication::exec(), 0); // the event loop ended: no window of the program is left open
        QVERIFY(dialogClosedFirst);
        QCOMPARE(m_folder->entries(), QStringList{QStringLiteral("ico.ico")}); // nothing written
    }

    void closeBoxClosesTheDialogsButNotTheAboutBox()
    {
        QWidget dialog;
        dialog.setObjectName(QStringLiteral("setImg"));
        QWidget about;
        about.setObjectName(QStringLiteral("frmAbout"));
        about.show();
        for (const bool byProgram : {true, false}) {
            const auto mainForm = start();
            dialog.show();
            byProgram ? mainForm->closeByProgram() : void(mainForm->close()); // the close box
            QVERIFY(!mainForm->isVisible());
            QCOMPARE(dialog.isVisible(), byProgram);
            QVERIFY(about.isVisible());
        }
        about.close();
    }

    void setSavesAndShowsTheChoiceOnTheMainWindow()
    {
        QVERIFY(m_folder->write(SettingsFile, "-13,\"New York\",1,\"Sydney\",#TRUE#,#FALSE#\r\n"));
        const auto mainForm = start();
        // Set saves, and puts the cities and tags on the main window; the clock keeps the saved offsets.
        whenModalOpens([&](QWidget *dialog) {
            choose(dialog, "Combo1", QStringLiteral("Tokyo"));
            choose(dialog, "Combo2", QStringLiteral("Sydney"));
            QTest::mouseClick(child(dialog, "Check2"), Qt::LeftButton);
            QTest::mouseClick(child(dialog, "setTime"), Qt::LeftButton);
        });
        child<QAction>(mainForm.get(), "mnuSetTime")->trigger();
        QCOMPARE(m_folder->read(SettingsFile), QByteArray("0,\"Tokyo\",2,\"Sydney\",#FALSE#,#TRUE#\r\n"));
        QCOMPARE(join(text(mainForm.get(), "Label1"), text(mainForm.get(), "Label2"),
                      child<QComboBox>(mainForm.get(), "Combo1")->currentText(), shows(mainForm.get(), "Label13"),
                      shows(mainForm.get(), "Label14"), m_clock.offsetA(), m_clock.offsetB()),
                 QStringLiteral("Tokyo Sydney Sydney false true 0 2")); // dial B not at the list's 1
    }

    void pictureCommandStoresAndShowsThePicture()
    {
        QVERIFY(picture(QSize(148, 141), Qt::blue).save(m_folder->path(PictureFile), "BMP"));
        QVERIFY(picture(QSize(200, 100), QColor(0, 160, 0)).save(m_folder->path(QStringLiteral("green.bmp")), "BMP"));
        const auto mainForm = start();
        QPoint offCentre;
        whenModalOpens([&](QWidget *dialog) {
            QCOMPARE(dialog->objectName(), QStringLiteral("setImg"));
            offCentre = dialog->frameGeometry().center() - mainForm->frameGeometry().center();
            auto *files = child<FileList>(dialog, "File1");
            files->setCurrentItem(files->findItems(QStringLiteral("green.bmp"), Qt::MatchExactly).value(0));
            QTest::mouseClick(child(dialog, "setPic"), Qt::LeftButton);
        });
        child<QAction>(mainForm.get(), "mnuSetImg")->trigger();
        QVERIFY2(offCentre.manhattanLength() <= 2, "the dialog opens centred over the main window");
        // 200 x 100 pixels at 73%: 2190 x 1095 twips, 146 x 73 pixels from (0, 36.5).
        const QImage shown = child<PictureBox>(mainForm.get(), "Picture1")->picture();
        QCOMPARE(shown.size(), QSize(148, 141));
        QCOMPARE(shown.pixelColor(70, 70), QColor(0, 160, 0));
        QCOMPARE(shown.pixelColor(70, 20), QColor(Qt::white));
        QCOMPARE(shown.convertToFormat(QImage::Format_RGB32),
                 QImage(m_folder->path(PictureFile)).convertToFormat(QImage::Format_RGB32));
    }
};

QTEST_MAIN(TestApp)
#include "tst_app.moc"
