#include "app/mainwindow.h"
#include "clock/clockmodel.h"
#include "dials/dialpair.h"
#include "dials/handline.h"
#include "forms/picturebox.h"
#include "picture/folderlist.h"
#include "platform/interfacelanguage.h"
#include "settings/clocksettingsdialog.h"
#include "testsupport.h"

#include <QCheckBox>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPaintEvent>
#include <QScopeGuard>
#include <QScreen>

using namespace Qt::StringLiterals;

namespace {

const QString SettingsFileName = u"setTime.properties"_s;
const QString PictureFileName = u"mainImage.bmp"_s;

/** What the main window shows of each dial: its caption, whether its tag shows, its time; and the list's city. */
struct Shown
{
    QString cityA;
    bool tagA = false;
    QString timeA, cityB;
    bool tagB = false;
    QString timeB, listCity;
    friend bool operator==(const Shown &, const Shown &) = default;
};

char *toString(const Shown &s)
{
    const auto summer = [](bool tag) {
        return tag ? u" (summer)"_s : QString();
    };
    return QTest::toString(u"%1%2 %3 | %4%5 %6 | list %7"_s.arg(s.cityA, summer(s.tagA), s.timeA, s.cityB,
                                                                summer(s.tagB), s.timeB, s.listCity));
}

/** The main window's own controls lie on its surface (an open dialog has controls of the same names). */
Shown shownOn(const QMainWindow *mainWindow)
{
    const QWidget *surface = mainWindow->centralWidget();
    const auto text = [surface](const char *name) {
        const auto *label = surface->findChild<QLabel *>(QLatin1String(name));
        return label ? label->text() : u"(no %1)"_s.arg(QLatin1String(name));
    };
    const auto *list = surface->findChild<QComboBox *>();
    return {text("Label1"),
            surface->findChild<QLabel *>(u"Label13"_s)->isVisible(),
            text("Label11"),
            text("Label2"),
            surface->findChild<QLabel *>(u"Label14"_s)->isVisible(),
            text("Label12"),
            list ? list->currentText() : u"(no list)"_s};
}

QList<QPointF> handsOn(const QMainWindow *mainWindow)
{
    QList<QPointF> ends;
    for (const HandLine *hand : mainWindow->centralWidget()->findChildren<HandLine *>())
        ends << hand->end();
    return ends;
}

QList<QColor> colours(const QImage &image, std::initializer_list<QPoint> points)
{
    QList<QColor> found;
    for (const QPoint &point : points)
        found << image.pixelColor(point);
    return found;
}

const QColor DarkRed(0xC0, 0, 0);

using InterfaceLanguage::Language;

/** The pop-up menu that opened last: where, and its items (a separator as "-"). */
QPoint poppedUpAt;
QStringList poppedUpItems;

/** Right-clicks @p widget at @p at and chooses the item named @p item of the pop-up menu that opens. */
void rightClick(QWidget *widget, const QPoint &at, const char *item)
{
    QTimer::singleShot(0, [item] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QVERIFY2(menu, "no pop-up menu opened");
        poppedUpAt = menu->pos();
        poppedUpItems.clear();
        for (QAction *action : menu->actions())
            poppedUpItems << (action->isSeparator() ? u"-"_s : action->text());
        auto *chosen = menu->parent()->findChild<QAction *>(QLatin1String(item)); // the window's command
        QVERIFY2(chosen, item);
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(chosen).center());
    });
    QTest::mouseClick(widget, Qt::RightButton, {}, at);
}

} // namespace

class TestApp : public WindowTest
{
    Q_OBJECT

    ClockModel m_clock;

    std::unique_ptr<MainWindow> start()
    {
        m_clock.setState(ClockState());
        auto mainWindow = std::make_unique<MainWindow>(m_folder->dir(), m_clock);
        mainWindow->load();
        mainWindow->show();
        mainWindow->findChild<DialPair *>()->tick();
        return QTest::qWaitForWindowExposed(mainWindow.get()) ? std::move(mainWindow) : nullptr;
    }

    /** Triggers the main window's command @p name once @p answer is ready to act on the window it opens. */
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
        m_clock.setState(ClockState());
        MainWindow mainWindow(m_folder->dir(), m_clock);
        mainWindow.load();
        mainWindow.show();
        QVERIFY(QTest::qWaitForWindowExposed(&mainWindow));
        // A fixed size, centred on the screen; the menus; the captions, summer time tags, picture and list in place.
        QCOMPARE(mainWindow.objectName(), u"mainForm"_s);
        QCOMPARE(mainWindow.windowTitle(), u"++ Pelkin Horavista ++"_s);
        QCOMPARE(mainWindow.centralWidget()->size(), QSize(400, 280));
        QCOMPARE(mainWindow.minimumSize(), mainWindow.maximumSize());
        QVERIFY(centred(mainWindow.frameGeometry(), mainWindow.screen()->geometry()));
        QStringList menus;
        for (const QAction *menu : mainWindow.menuBar()->actions()) {
            menus << menu->menu()->objectName() + u'=' + menu->text();
            for (const QAction *item : menu->menu()->actions())
                menus << item->objectName() + u'=' + item->text();
        }
        QCOMPARE(menus,
                 (QStringList{u"mnuFile=&File"_s, u"mnuExit=終了"_s, u"mnuOption=&Option"_s, u"mnuSetTime=時計設定"_s,
                              u"mnuSetImg=画像設定"_s, u"mnuHelp=&Help"_s, u"mnuCallHelp=ヘルプ"_s,
                              u"mnuCallVersion=バージョン情報"_s}));
        QList<QRect> places;
        for (const char *name : {"Label1", "Label2", "Label13", "Label14", "Picture1", "Combo1"})
            places << mainWindow.findChild<QWidget *>(QLatin1String(name))->geometry();
        QCOMPARE(places,
                 (QList<QRect>{{16, 138, 97, 17},
                               {287, 89, 97, 17},
                               {31, 107, 88, 16},
                               {305, 229, 88, 16},
                               {124, 55, 148, 149},
                               {8, 248, 385, 23}}));

        // Until the first tick the hands run from the dials' centres to their designed ends: the background, dial
        // A's outer square, dial B's inner square, dial A's second hand towards (600, 1200), its hour hand towards
        // (1200, 840); the picture's sunken frame. Dial A's outline repaints by its left edge alone.
        QWidget *surface = mainWindow.centralWidget();
        QCOMPARE(colours(surface->grab().toImage(), {{200, 10}, {8, 60}, {387, 200}, {50, 70}, {75, 56}, {124, 100}}),
                 (QList<QColor>{Qt::white, Qt::black, Qt::black, DarkRed, Qt::black, QColor(0x9F, 0x9F, 0x9F)}));
        QCOMPARE(surface->grab(QRect(8, 50, 1, 20)).toImage().pixelColor(0, 10), QColor(Qt::black));

        // At 15 s both second hands point right and dial A's minute hand up; the designed second hand is gone.
        mainWindow.findChild<DialPair *>()->tick();
        QCOMPARE(shownOn(&mainWindow),
                 (Shown{u"Tokyo"_s, false, u"10:00:15"_s, u"Tokyo"_s, false, u"10:00:15"_s, u"Tokyo"_s}));
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
        mainWindow.findChild<DialPair *>()->tick();
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
        mainWindow.findChild<DialPair *>()->tick();
        QTRY_VERIFY(recorder.painted.contains(QPoint(87, 134)));
        QVERIFY(!recorder.painted.contains(QPoint(41, 134)));
        for (int second = 0; second < 20; ++second) {
            clock.advance(1);
            mainWindow.findChild<DialPair *>()->tick();
            QCoreApplication::processEvents();
        }
        m_clock.chooseCity(Dial::B, 20);
        QCoreApplication::processEvents();
        const QRect onWindow(surface->mapTo(&mainWindow, QPoint()), surface->size());
        mainWindow.screen()->grabWindow(mainWindow.winId()).toImage().save(u"/tmp/hp/shown.png"_s);
        surface->grab().toImage().save(u"/tmp/hp/fresh.png"_s);
        qDebug() << onWindow;
        QCOMPARE(mainWindow.screen()
                     ->grabWindow(mainWindow.winId())
                     .toImage()
                     .copy(onWindow)
                     .convertToFormat(QImage::Format_RGB32),
                 surface->grab().toImage().convertToFormat(QImage::Format_RGB32));
    }

    void startUpReadsItsFiles_data()
    {
        QTest::addColumn<QString>("files"); // the icon and the picture: good, missing or damaged
        QTest::addColumn<QByteArray>("settings"); // empty: no file
        QTest::addColumn<Shown>("shown");
        QTest::addColumn<bool>("picture");
        QTest::newRow("no settings file")
            << "good" << QByteArray()
            << Shown{u"Tokyo"_s, false, u"10:00:00"_s, u"Tokyo"_s, false, u"10:00:00"_s, u"Tokyo"_s} << true;
        // The offsets as they stand in the file, not worked out again from the cities.
        QTest::newRow("saved choice") << "good" << QByteArray("-13,\"New York\",5,\"Sydney\",#TRUE#,#TRUE#")
                                      << Shown{u"New York"_s, true,          u"21:00:00"_s, u"Sydney"_s,
                                               true,          u"15:00:00"_s, u"Sydney"_s}
                                      << true;
        QTest::newRow("no icon, picture a folder")
            << "missing" << QByteArray("5,\"Atlantis\",0,\"Tokyo\",0,0")
            << Shown{u"Atlantis"_s, false, u"15:00:00"_s, u"Tokyo"_s, false, u"10:00:00"_s, u"Tokyo"_s} << false;
        // A damaged file stops the reader before it changes anything: the window stays as laid out.
        QTest::newRow("icon and picture damaged, offset B not a number")
            << "damaged" << QByteArray("-13,\"New York\",x,\"Sydney\",0,0")
            << Shown{{}, false, u"10:00:00"_s, {}, false, u"10:00:00"_s, {}} << false;
    }
    void startUpReadsItsFiles()
    {
        QFETCH(QByteArray, settings);
        QFETCH(QString, files);
        FixedClock clock;
        const QImage map = QImage(u":/worldmap/worldmap.png"_s).convertToFormat(QImage::Format_RGB32);
        QVERIFY(settings.isEmpty() || m_folder->write(SettingsFileName, settings));
        QVERIFY(files != u"good" || map.save(m_folder->path(PictureFileName), "BMP"));
        QVERIFY(files == u"good" || QFile::remove(m_folder->path(u"ico.ico"_s)));
        QVERIFY(files != u"missing" || m_folder->dir().mkdir(PictureFileName)); // not a picture file: nothing to report
        QVERIFY(files != u"damaged" ||
                (m_folder->write(u"ico.ico"_s, "not an icon") &&
                 m_folder->write(PictureFileName, "BM" + QByteArray(60, '\0'))));
        if (files != u"good")
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"^ico.ico: .*; using the built-in icon$"_s));
        if (files == u"damaged")
            QTest::ignoreMessage(QtWarningMsg,
                                 QRegularExpression(u"^mainImage.bmp: .*; the picture box stays empty"_s));
        const auto mainWindow = start();
        QVERIFY(mainWindow);
        QVERIFY(!mainWindow->windowIcon().isNull());
        QTEST(shownOn(mainWindow.get()), "shown");
        FIND_CHILD(picture, PictureBox, mainWindow.get(), "Picture1");
        QTEST(picture->picture().convertToFormat(QImage::Format_RGB32) == map, "picture");
        QCOMPARE(m_folder->read(SettingsFileName), settings); // reading never writes
    }

    void cityListNamesDialBWithoutSaving()
    {
        FixedClock clock;
        const QByteArray saved("0,\"Tokyo\",2,\"Sydney\",#FALSE#,#TRUE#\r\n");
        QVERIFY(m_folder->write(SettingsFileName, saved));
        const auto mainWindow = start();
        QVERIFY(mainWindow);
        FIND_CHILD(tag, QLabel, mainWindow.get(), "Label14");
        FIND_CHILD(list, QComboBox, mainWindow.get(), "Combo1");
        // Dial B's summer time tag: its whole caption in white on red.
        QCOMPARE(tag->text(), u"Summer+Time"_s);
        QCOMPARE_LE(tag->fontMetrics().horizontalAdvance(tag->text()), tag->width());
        QCOMPARE(tag->grab().toImage().pixelColor(1, tag->height() - 2), QColor(Qt::red));
        QCOMPARE(tag->palette().color(tag->foregroundRole()), QColor(Qt::white));

        choose(list, u"Sydney"_s); // the entry already selected still counts: the tag goes, and its hour
        QCOMPARE(shownOn(mainWindow.get()),
                 (Shown{u"Tokyo"_s, false, u"10:00:00"_s, u"Sydney"_s, false, u"11:00:00"_s, u"Sydney"_s}));
        QTest::keyClick(list, Qt::Key_End); // the last city, by the keyboard
        QCOMPARE(shownOn(mainWindow.get()),
                 (Shown{u"Tokyo"_s, false, u"10:00:00"_s, u"Zurich"_s, false, u"02:00:00"_s, u"Zurich"_s}));
        QCOMPARE(m_folder->read(SettingsFileName), saved);
    }

    void clockSettingsShowOnTheMainWindowUntilCancelled_data()
    {
        QTest::addColumn<QString>("ending"); // the button that ends the dialog, or its close box
        QTest::newRow("キャンセル") << "btnExit";
        QTest::newRow("close box") << "close";
        QTest::newRow("設定") << "setTime";
    }
    void clockSettingsShowOnTheMainWindowUntilCancelled()
    {
        QFETCH(QString, ending);
        FixedClock clock;
        const QByteArray saved = "0,\"Tokyo\",-8,\"London\",#FALSE#,#TRUE#\r\n";
        QVERIFY(m_folder->write(SettingsFileName, saved));
        const auto mainWindow = start();
        QVERIFY(mainWindow);
        FIND_CHILD(list, QComboBox, mainWindow.get(), "Combo1");
        choose(list, u"Los Angels"_s); // not saved
        const Shown before = shownOn(mainWindow.get());
        const QList<QPointF> handsBefore = handsOn(mainWindow.get());
        Shown opened, chosen;
        command(mainWindow.get(), "mnuSetTime", [&](QWidget *dialog) {
            // As the dialog opens the main window shows its choices in full: the saved ones, then each choice.
            opened = shownOn(mainWindow.get());
            FIND_CHILD(listA, QComboBox, dialog, "Combo1");
            FIND_CHILD(boxB, QCheckBox, dialog, "Check2");
            choose(listA, u"Hong Kong"_s);
            QTest::mouseClick(boxB, Qt::LeftButton);
            chosen = shownOn(mainWindow.get());
            auto *end = dialog->findChild<QWidget *>(ending);
            end ? QTest::mouseClick(end, Qt::LeftButton) : void(dialog->close());
        });
        QCOMPARE(before,
                 (Shown{u"Tokyo"_s, false, u"10:00:00"_s, u"Los Angels"_s, false, u"17:00:00"_s, u"Los Angels"_s}));
        QCOMPARE(opened, (Shown{u"Tokyo"_s, false, u"10:00:00"_s, u"London"_s, true, u"02:00:00"_s, u"London"_s}));
        QCOMPARE(chosen, (Shown{u"Hong Kong"_s, false, u"09:00:00"_s, u"London"_s, false, u"01:00:00"_s, u"London"_s}));
        if (ending == u"setTime") {
            // The main window keeps the choice, and the file holds what it shows.
            QCOMPARE(shownOn(mainWindow.get()), chosen);
            QCOMPARE(m_folder->read(SettingsFileName),
                     QByteArray("-1,\"Hong Kong\",-9,\"London\",#FALSE#,#FALSE#\r\n"));
        } else {
            QCOMPARE(shownOn(mainWindow.get()), before);
            QCOMPARE(handsOn(mainWindow.get()), handsBefore);
            QCOMPARE(m_folder->read(SettingsFileName), saved);
        }
    }

    void surfaceDragsTheWindowAndOpensThePopUpMenu()
    {
        const auto mainWindow = start();
        QVERIFY(mainWindow);
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
        rightClick(surface, QPoint(200, 10), "mnuExit");
        QCOMPARE(poppedUpAt, surface->mapToGlobal(QPoint(200, 10)));
        QCOMPARE(poppedUpItems, (QStringList{u"時計設定"_s, u"画像設定"_s, u"-"_s, u"終了"_s}));
        QVERIFY(!mainWindow->isVisible());
    }

    void exitFromTheClockSettingsPopUpMenuEndsTheProgram()
    {
        const auto mainWindow = start();
        QVERIFY(mainWindow);
        connect(qApp, &QGuiApplication::lastWindowClosed, mainWindow.get(),
                [] { QVERIFY2(!QApplication::activeModalWidget(), "the dialog closes first"); });
        QTimer::singleShot(5000, mainWindow.get(), [] { QCoreApplication::exit(1); });
        // The dialog opens centred over the main window, and its 時計設定 opens no second dialog.
        QTimer::singleShot(0, mainWindow.get(), [&] {
            command(mainWindow.get(), "mnuSetTime", [&](QWidget *dialog) {
                QVERIFY(qobject_cast<ClockSettingsDialog *>(dialog));
                QCOMPARE(dialog->parentWidget(), mainWindow.get());
                QVERIFY(centred(dialog->frameGeometry(), mainWindow->frameGeometry()));
                rightClick(dialog, QPoint(150, 240), "mnuSetTime");
                QCOMPARE(QApplication::activeModalWidget(), dialog);
                rightClick(dialog, QPoint(150, 240), "mnuExit");
            });
        });
        QCOMPARE(QCoreApplication::exec(), 0); // the event loop ended: no window of the program is left open
        QCOMPARE(m_folder->entries(), QStringList{u"ico.ico"_s}); // nothing written
    }

    void closeBoxClosesTheDialogsButNotTheAboutBox_data()
    {
        QTest::addColumn<QByteArray>("opened"); // the command that opened a window
        QTest::addColumn<bool>("byProgram");
        QTest::addColumn<bool>("stays"); // whether that window stays open
        QTest::newRow("clock settings") << "mnuSetTime"_ba << false << false;
        QTest::newRow("picture settings") << "mnuSetImg"_ba << false << false;
        QTest::newRow("About box") << "mnuCallVersion"_ba << false << true;
        QTest::newRow("closed by the program") << "mnuSetImg"_ba << true << true;
    }
    void closeBoxClosesTheDialogsButNotTheAboutBox()
    {
        QFETCH(QByteArray, opened);
        QFETCH(bool, byProgram);
        const auto mainWindow = start();
        QVERIFY(mainWindow);
        bool stays = false;
        command(mainWindow.get(), opened.constData(), [&](QWidget *window) {
            byProgram ? mainWindow->closeByProgram() : void(mainWindow->close()); // the close box
            stays = window->isVisible();
            window->close();
        });
        QVERIFY(!mainWindow->isVisible());
        QTEST(stays, "stays");
    }

    void pictureCommandStoresAndShowsThePicture()
    {
        QImage green(200, 100, QImage::Format_RGB32);
        green.fill(QColor(0, 160, 0));
        QVERIFY(green.save(m_folder->path(u"green.bmp"_s), "BMP"));
        const auto mainWindow = start();
        QVERIFY(mainWindow);
        command(mainWindow.get(), "mnuSetImg", [&](QWidget *dialog) {
            FIND_CHILD(files, FileList, dialog, "File1");
            FIND_CHILD(set, QWidget, dialog, "setPic");
            QCOMPARE(dialog->objectName(), u"setImg"_s);
            QVERIFY(centred(dialog->frameGeometry(), mainWindow->frameGeometry()));
            files->setCurrentItem(files->findItems(u"green.bmp"_s, Qt::MatchExactly).value(0));
            QTest::mouseClick(set, Qt::LeftButton);
        });
        // The main window shows the picture stored: at 73%, 146 x 73 pixels.
        FIND_CHILD(picture, PictureBox, mainWindow.get(), "Picture1");
        QCOMPARE(colours(picture->picture(), {{70, 70}, {70, 20}}), (QList<QColor>{QColor(0, 0xA0, 0), Qt::white}));
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

    void windowsSpeakEnglishUnderTheEnglishTranslation_data()
    {
        QTest::addColumn<QByteArray>("opened"); // the command that opens the window; none for the main window
        QTest::addColumn<QString>("control"); // whose text is read; none for the window's title
        QTest::addColumn<QString>("text");
        QTest::newRow("main window") << QByteArray() << u"mnuCallVersion"_s << u"About Horavista"_s;
        QTest::newRow("a city stays") << QByteArray() << u"Label2"_s << u"Tokyo"_s;
        QTest::newRow("clock settings") << "mnuSetTime"_ba << QString() << u"++ Clock Settings ++"_s;
        QTest::newRow("picture settings") << "mnuSetImg"_ba << u"btnExit"_s << u"Cancel"_s;
        QTest::newRow("About box") << "mnuCallVersion"_ba << u"cmdSysInfo"_s << u"&System Info..."_s;
    }
    void windowsSpeakEnglishUnderTheEnglishTranslation()
    {
        QFETCH(QByteArray, opened);
        QFETCH(QString, control);
        const auto japaneseAgain = qScopeGuard([] { InterfaceLanguage::use(Language::Japanese); });
        QVERIFY(InterfaceLanguage::use(Language::English));
        const auto mainWindow = start();
        QVERIFY(mainWindow);
        QString shown = u"(not opened)"_s;
        const auto read = [&](QWidget *window) {
            const QObject *object = control.isEmpty() ? window : window->findChild<QObject *>(control);
            shown = object ? object->property(control.isEmpty() ? "windowTitle" : "text").toString() : control;
            window->close();
        };
        opened.isEmpty() ? read(mainWindow.get()) : command(mainWindow.get(), opened.constData(), read);
        QTEST(shown, "text");
    }
};

QTEST_MAIN(TestApp)
#include "tst_app.moc"
