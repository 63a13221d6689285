#include "app/mainwindow.h"
#include "clock/clockmodel.h"
#include "dials/dialpair.h"
#include "forms/picturebox.h"
#include "picture/folderlist.h"
#include "platform/interfacelanguage.h"
#include "testsupport.h"

#include <QCheckBox>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPaintEvent>
#include <QScopeGuard>
#include <QScreen>

#include <tuple>

using namespace Qt::StringLiterals;

namespace {

const QString SettingsFileName = u"setTime.properties"_s;

const QString Tag = u"Summer+Time"_s;

// What the main window shows: dial A's city, its summer time tag (none while hidden) and time, the same of dial B,
// and the list's city. Its own controls lie on its surface (an open dialog has controls of the same names).
QStringList shownOn(const QMainWindow *mainWindow)
{
    const QWidget *surface = mainWindow->centralWidget();
    QStringList shown;
    for (const char *name : {"Label1", "Label13", "Label11", "Label2", "Label14", "Label12"}) {
        const auto *label = surface->findChild<QLabel *>(QLatin1String(name));
        shown << (!label ? u"(no label)"_s : label->isVisible() ? label->text() : QString());
    }
    return shown << surface->findChild<QComboBox *>()->currentText();
}

const QColor DarkRed(0xC0, 0, 0);

using InterfaceLanguage::Language;

QPoint poppedUpAt; // where the pop-up menu opened last

// Right-clicks @p widget at @p at and chooses the item named @p item of the pop-up menu that opens.
void rightClick(QWidget *widget, const QPoint &at, const char *item)
{
    QTimer::singleShot(0, [item] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QVERIFY2(menu, "no pop-up menu opened");
        poppedUpAt = menu->pos();
        auto *chosen = menu->parent()->findChild<QAction *>(QLatin1String(item)); // the window's command
        QVERIFY2(chosen, item);
        const QString name = menu->objectName();
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(chosen).center());
        QCOMPARE(name, u"mnuFILE"_s);
    });
    QTest::mouseClick(widget, Qt::RightButton, {}, at);
}

} // namespace

class TestApp : public WindowTest
{
    Q_OBJECT

    ClockModel m_clock;

    std::unique_ptr<MainWindow> start(bool ticked = true)
    {
        m_clock.setState(ClockState());
        auto mainWindow = std::make_unique<MainWindow>(m_folder->dir(), m_clock);
        mainWindow->load();
        mainWindow->show();
        if (ticked)
            mainWindow->findChild<DialPair *>()->tick();
        std::ignore = QTest::qWaitForWindowExposed(mainWindow.get()); // a window not shown fails the checks after
        return mainWindow;
    }

    // Triggers the main window's command @p name once @p answer is ready to act on the window it opens.
    template <typename Answer>
    static void command(QMainWindow *mainWindow, const char *name, Answer answer)
    {
        auto *action = mainWindow->findChild<QAction *>(QLatin1String(name));
        QVERIFY2(action, name);
        whenModalOpens(answer);
        action->trigger();
    }

    static bool centred(const QRect &a, const QRect &b) { return (a.center() - b.center()).manhattanLength() <= 4; }

private Q_SLOTS:
    void opensWithItsDesignedLookAndTicksRepaintingOnlyWhatMoved()
    {
        QTest::failOnWarning(QRegularExpression(u"^(ico|mainImage)"_s));
        FixedClock clock(japanTime(QDate(2026, 12, 6), QTime(10, 0, 15)));
        const auto mainWindow = start(false);
        // A fixed size, centred on the screen; the menus; the captions, summer time tags, picture and list in place.
        QCOMPARE(mainWindow->windowTitle(), u"++ Pelkin Horavista ++"_s);
        QCOMPARE(mainWindow->centralWidget()->size(), QSize(400, 280));
        QCOMPARE(mainWindow->minimumSize(), mainWindow->maximumSize());
        QVERIFY(centred(mainWindow->frameGeometry(), mainWindow->screen()->geometry()));
        QStringList menus; // each menu, then its items
        for (const QAction *menu : mainWindow->menuBar()->actions())
            for (const QAction *item : QList<QAction *>{menu->menu()->menuAction()} + menu->menu()->actions())
                menus << (item->menu() ? item->menu()->objectName() : item->objectName()) + u'=' + item->text();
        QCOMPARE(menus,
                 (QStringList{u"mnuFile=&File"_s, u"mnuExit=終了"_s, u"mnuOption=&Option"_s, u"mnuSetTime=時計設定"_s,
                              u"mnuSetImg=画像設定"_s, u"mnuHelp=&Help"_s, u"mnuCallHelp=ヘルプ"_s,
                              u"mnuCallVersion=バージョン情報"_s}));
        QList<QRect> places, designed{{16, 138, 97, 17},   {287, 89, 97, 17}, {31, 107, 88, 16}, {305, 229, 88, 16},
                                      {124, 55, 148, 149}, {8, 248, 385, 23}, {8, 8, 108, 108},  {280, 128, 108, 108}};
        // The dials' faces, which take the focus and the tooltip: their outer squares.
        for (const char *name : {"Label1", "Label2", "Label13", "Label14", "Picture1", "Combo1", "dialA", "dialB"})
            places << mainWindow->findChild<QWidget *>(QLatin1String(name))->geometry();
        QCOMPARE(places, designed);
        const QFont listFont = mainWindow->findChild<QWidget *>(u"Combo1"_s)->font();
        QCOMPARE(listFont.family(), Fonts::sansSerif());
        QCOMPARE(listFont.pointSizeF(), 8.25);

        // Until the first tick the hands run from the dials' centres to their designed ends: the background, dial
        // A's outer square, dial B's inner square, dial A's second hand towards (600, 1200), its hour hand towards
        // (1200, 840); the picture's sunken frame. Dial A's outline repaints by its left edge alone.
        QWidget *surface = mainWindow->centralWidget();
        QCOMPARE(colours(surface->grab().toImage(), {{200, 10}, {8, 60}, {387, 200}, {50, 70}, {75, 56}, {124, 100}}),
                 (QList<QColor>{Qt::white, Qt::black, Qt::black, DarkRed, Qt::black, QColor(0x9F, 0x9F, 0x9F)}));
        QCOMPARE(surface->grab(QRect(8, 50, 1, 20)).toImage().pixelColor(0, 10), QColor(Qt::black));

        // At 15 s both second hands point right and dial A's minute hand up; the designed second hand is gone.
        mainWindow->findChild<DialPair *>()->tick();
        QCOMPARE(shownOn(mainWindow.get()),
                 (QStringList{u"Tokyo"_s, {}, u"10:00:15"_s, u"Tokyo"_s, {}, u"10:00:15"_s, u"Tokyo"_s}));
        QCOMPARE(colours(surface->grab().toImage(), {{75, 61}, {94, 61}, {355, 182}, {61, 40}, {50, 70}}),
                 (QList<QColor>{DarkRed, DarkRed, DarkRed, Qt::black, Qt::white}));

        // With the clock set on by half a minute, the next tick repaints where the second hands were and where they
        // are now, and the times: far less than a dial.
        struct : QObject
        {
            QRegion painted;
            bool eventFilter(QObject *, QEvent *event) override
            {
                if (event->type() == QEvent::Paint)
                    painted += static_cast<QPaintEvent *>(event)->region();
                return false;
            }
        } recorder;
        QCoreApplication::processEvents(); // the repaints that the first tick asked for
        surface->installEventFilter(&recorder);
        clock.advance(30);
        mainWindow->findChild<DialPair *>()->tick();
        QTRY_VERIFY(recorder.painted.contains(QPoint(75, 61)) && recorder.painted.contains(QPoint(30, 61)));
        int area = 0;
        for (const QRect &r : recorder.painted)
            area += r.width() * r.height();
        QCOMPARE_LT(area, 112 * 112);

        // A second later the seconds' digit of dial A's time is repainted, not the hours' (its "10"); and the pixels
        // that such repaints leave, through a change of minute and a city chosen, are those of the whole window painted
        // afresh.
        recorder.painted = QRegion();
        clock.advance(1);
        mainWindow->findChild<DialPair *>()->tick();
        QTRY_VERIFY(recorder.painted.contains(QPoint(87, 134)));
        QVERIFY(!recorder.painted.contains(QPoint(41, 134)));
        for (int second = 0; second < 20; ++second) {
            clock.advance(1);
            mainWindow->findChild<DialPair *>()->tick();
            QCoreApplication::processEvents();
        }
        m_clock.chooseCity(Dial::B, 20);
        QCoreApplication::processEvents();
        const QPoint at = surface->mapTo(mainWindow.get(), QPoint());
        const QImage shown = mainWindow->screen()->grabWindow(mainWindow->winId(), at.x(), at.y(), 400, 280).toImage();
        QCOMPARE(shown.convertToFormat(QImage::Format_RGB32),
                 surface->grab().toImage().convertToFormat(QImage::Format_RGB32));
    }

    void startUpReadsItsFiles()
    {
        // A damaged settings file stops the reader before it changes anything: the window stays as laid out. A
        // damaged icon gives way to the built-in one; the picture shows as it is.
        FixedClock clock;
        const QByteArray settings("-13,\"New York\",x,\"Sydney\",0,0");
        const QImage map = QImage(u":/worldmap/worldmap.png"_s).convertToFormat(QImage::Format_RGB32);
        QVERIFY(m_folder->write(SettingsFileName, settings) && m_folder->write(u"ico.ico"_s, "not an icon"));
        QVERIFY(map.save(m_folder->path(u"mainImage.bmp"_s), "BMP"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"^ico.ico: .*; using the built-in icon$"_s));
        const auto mainWindow = start();
        QCOMPARE(shownOn(mainWindow.get()), (QStringList{{}, {}, u"10:00:00"_s, {}, {}, u"10:00:00"_s, {}}));
        FIND_CHILD(picture, PictureBox, mainWindow.get(), "Picture1");
        QCOMPARE(picture->picture().convertToFormat(QImage::Format_RGB32), map);
        QCOMPARE(m_folder->read(SettingsFileName), settings); // reading never writes
    }

    void cityListAndClockSettingsShowWithoutSaving()
    {
        FixedClock clock;
        const QByteArray saved = "0,\"Tokyo\",-7,\"London\",#TRUE#,#TRUE#\r\n";
        QVERIFY(m_folder->write(SettingsFileName, saved));
        const auto mainWindow = start();
        // The offsets as they stand in the file, not worked out again from the cities.
        QCOMPARE(shownOn(mainWindow.get()),
                 (QStringList{u"Tokyo"_s, Tag, u"10:00:00"_s, u"London"_s, Tag, u"03:00:00"_s, u"London"_s}));
        FIND_CHILD(tag, QLabel, mainWindow.get(), "Label14");
        FIND_CHILD(list, QComboBox, mainWindow.get(), "Combo1");
        // Dial B's summer time tag: its whole caption in white on red.
        QCOMPARE_LE(tag->fontMetrics().horizontalAdvance(tag->text()), tag->width());
        QCOMPARE(tag->grab().toImage().pixelColor(1, tag->height() - 2), QColor(Qt::red));
        QCOMPARE(tag->palette().color(tag->foregroundRole()), QColor(Qt::white));
        choose(list, u"London"_s); // the entry already selected still counts: the tag goes, and its hour
        QCOMPARE(shownOn(mainWindow.get()),
                 (QStringList{u"Tokyo"_s, Tag, u"10:00:00"_s, u"London"_s, {}, u"01:00:00"_s, u"London"_s}));
        QTest::keyClick(list, Qt::Key_End); // the last city, by the keyboard
        const QStringList listed{u"Tokyo"_s, Tag, u"10:00:00"_s, u"Zurich"_s, {}, u"02:00:00"_s, u"Zurich"_s};
        QCOMPARE(shownOn(mainWindow.get()), listed);

        // As the clock settings open the main window shows their choices in full: the saved ones, then each
        // choice; キャンセル puts back what it showed.
        const QImage before = mainWindow->centralWidget()->grab().toImage();
        QStringList opened, chosen;
        command(mainWindow.get(), "mnuSetTime", [&](QWidget *dialog) {
            opened = shownOn(mainWindow.get());
            FIND_CHILD(listA, QComboBox, dialog, "Combo1");
            FIND_CHILD(boxB, QCheckBox, dialog, "Check2");
            FIND_CHILD(cancel, QPushButton, dialog, "btnExit");
            choose(listA, u"Hong Kong"_s);
            QTest::mouseClick(boxB, Qt::LeftButton);
            chosen = shownOn(mainWindow.get());
            QTest::mouseClick(cancel, Qt::LeftButton);
        });
        QCOMPARE(opened, (QStringList{u"Tokyo"_s, Tag, u"11:00:00"_s, u"London"_s, Tag, u"02:00:00"_s, u"London"_s}));
        QCOMPARE(chosen, (QStringList{u"Hong Kong"_s, {}, u"09:00:00"_s, u"London"_s, {}, u"01:00:00"_s, u"London"_s}));
        QCOMPARE(shownOn(mainWindow.get()), listed);
        QCOMPARE(mainWindow->centralWidget()->grab().toImage(), before); // the hands too
        QCOMPARE(m_folder->read(SettingsFileName), saved);
    }

    void surfaceDragsTheWindowAndItsMenuStoresAPicture()
    {
        QImage green(200, 100, QImage::Format_RGB32);
        green.fill(QColor(0, 160, 0));
        QVERIFY(green.save(m_folder->path(u"green.bmp"_s), "BMP"));
        const auto mainWindow = start();
        QWidget *surface = mainWindow->centralWidget();
        const QPoint before = mainWindow->pos();
        for (const char *name : {"Label1", "Picture1", "Combo1"})
            dragOn(mainWindow->findChild<QWidget *>(QLatin1String(name)), QPoint(4, 4), QPoint(50, 40));
        dragOn(surface, QPoint(200, 10), QPoint(50, 40), Qt::MiddleButton);
        QCOMPARE(mainWindow->pos(), before);
        mainWindow->findChild<QComboBox *>()->hidePopup(); // the press opened the list
        // Far, with no bounds. (The offscreen platform misplaces windows at negative coordinates.)
        dragOn(surface, QPoint(200, 10), QPoint(1230, 1016));
        QCOMPARE(mainWindow->pos(), before + QPoint(1230, 1016));
        dragOn(surface, QPoint(200, 10), QPoint(-1230, -1016)); // back: a menu fits on the screen
        whenModalOpens([&](QWidget *dialog) {
            FIND_CHILD(files, FileList, dialog, "File1");
            FIND_CHILD(set, QWidget, dialog, "setPic");
            QVERIFY(centred(dialog->frameGeometry(), mainWindow->frameGeometry()));
            files->setCurrentItem(files->findItems(u"green.bmp"_s, Qt::MatchExactly).value(0));
            QTest::mouseClick(set, Qt::LeftButton);
        });
        rightClick(surface, QPoint(200, 10), "mnuSetImg");
        QCOMPARE(poppedUpAt, surface->mapToGlobal(QPoint(200, 10)));
        // The main window shows the picture stored: at 73%, 146 x 73 pixels.
        FIND_CHILD(picture, PictureBox, mainWindow.get(), "Picture1");
        QCOMPARE(colours(picture->picture(), {{70, 70}, {70, 20}}), (QList<QColor>{QColor(0, 0xA0, 0), Qt::white}));
    }

    void closingTheMainWindowClosesTheDialogsButNotTheAboutBox_data()
    {
        QTest::addColumn<QByteArray>("opened"); // the command that opened a window
        QTest::addColumn<QString>("closing"); // the main window's close box, the program, or Exit in that window's menu
        QTest::addColumn<bool>("stays"); // whether that window stays open
        QTest::addColumn<QString>("title"); // its title under the English translation
        const QString clockSettings = u"++ Clock Settings ++"_s, pictureSettings = u"++ Picture Settings ++"_s;
        QTest::newRow("clock settings") << "mnuSetTime"_ba << u"close box"_s << false << clockSettings;
        QTest::newRow("picture settings") << "mnuSetImg"_ba << u"close box"_s << false << pictureSettings;
        QTest::newRow("About box") << "mnuCallVersion"_ba << u"close box"_s << true << u"About Horavista"_s;
        QTest::newRow("closed by the program") << "mnuSetImg"_ba << u"program"_s << true << pictureSettings;
        QTest::newRow("Exit in the clock settings' menu") << "mnuSetTime"_ba << u"menu"_s << false << clockSettings;
    }
    void closingTheMainWindowClosesTheDialogsButNotTheAboutBox()
    {
        QFETCH(QByteArray, opened);
        QFETCH(QString, closing);
        const auto japaneseAgain = qScopeGuard([] { InterfaceLanguage::use(Language::Japanese); });
        QVERIFY(InterfaceLanguage::use(Language::English));
        const auto mainWindow = start();
        FIND_CHILD(exit, QAction, mainWindow.get(), "mnuExit");
        QCOMPARE(exit->text(), u"Exit"_s);
        QCOMPARE(shownOn(mainWindow.get()).value(0), u"Tokyo"_s); // a city's name stays
        QString title;
        bool stays = false;
        command(mainWindow.get(), opened.constData(), [&](QWidget *window) {
            title = window->windowTitle();
            if (closing == u"menu") {
                // The clock settings open centred over the main window, and their 時計設定 opens no second dialog.
                QVERIFY(centred(window->frameGeometry(), mainWindow->frameGeometry()));
                rightClick(window, QPoint(150, 240), "mnuSetTime");
                QCOMPARE(QApplication::activeModalWidget(), window);
                rightClick(window, QPoint(150, 240), "mnuExit");
            } else {
                closing == u"program" ? mainWindow->closeByProgram() : void(mainWindow->close());
            }
            stays = window->isVisible();
            window->close();
        });
        QVERIFY(!mainWindow->isVisible());
        QTEST(stays, "stays");
        QTEST(title, "title");
        QCOMPARE(m_folder->entries(), QStringList{u"ico.ico"_s}); // nothing written
    }

    void desktopLanguagesChooseTheInterface_data()
    {
        QTest::addColumn<QStringList>("uiLanguages"); // most wanted first, as QLocale gives them
        QTest::addColumn<bool>("english");
        QTest::newRow("no language set") << QStringList{u"C"_s} << false;
        QTest::newRow("Japanese") << QStringList{u"ja-JP"_s, u"ja-Jpan-JP"_s, u"ja"_s} << false;
        QTest::newRow("German") << QStringList{u"de-DE"_s, u"de"_s} << true;
        QTest::newRow("German, then Japanese") << QStringList{u"de"_s, u"ja"_s, u"en"_s} << false;
        QTest::newRow("German, then English") << QStringList{u"de"_s, u"en_US"_s, u"ja"_s} << true;
        // CTest runs this row under several LANG and LANGUAGE settings, each with the language it must choose.
        if (const QString expected = qEnvironmentVariable("HORAVISTA_EXPECTED_LANGUAGE"); !expected.isEmpty())
            QTest::newRow("this desktop") << QLocale::system().uiLanguages() << (expected == u"en"_s);
    }
    void desktopLanguagesChooseTheInterface()
    {
        QFETCH(QStringList, uiLanguages);
        QTEST(InterfaceLanguage::choose(uiLanguages) == Language::English, "english");
    }
};

QTEST_MAIN(TestApp)
#include "tst_app.moc"
