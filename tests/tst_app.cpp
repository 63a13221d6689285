#include "app/mainform.h"
#include "clock/clockmodel.h"
#include "clock/dialpair.h"
#include "picture/folderlist.h"
#include "platform/picturebox.h"
#include "settings/settimedialog.h"
#include "testsupport.h"

#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPaintEvent>
#include <QScreen>

using namespace Qt::StringLiterals;

namespace {

const QString SettingsFile = u"setTime.properties"_s;
const QString PictureFile = u"mainImage.bmp"_s;

QString poppedUp; // the last pop-up menu: where it opened, then its items

/** Right-clicks @p widget at @p at and chooses the item named @p item of the pop-up menu that opens. */
void rightClick(QWidget *widget, const QPoint &at, const char *item)
{
    QTimer::singleShot(0, [item] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QVERIFY2(menu, "no pop-up menu opened");
        poppedUp = join(menu->pos());
        for (QAction *action : menu->actions())
            poppedUp += u' ' + (action->isSeparator() ? u"-"_s : action->text());
        auto *chosen = menu->parent()->findChild<QAction *>(QLatin1String(item)); // the window's command
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(chosen).center());
    });
    QTest::mouseClick(widget, Qt::RightButton, {}, at);
}

} // namespace

class TestApp : public WindowTest
{
    Q_OBJECT

    ClockModel m_clock;

    std::unique_ptr<MainForm> start()
    {
        m_clock.setOffsets(0, 0);
        auto mainForm = std::make_unique<MainForm>(m_folder->dir(), m_clock);
        mainForm->load();
        mainForm->show();
        return QTest::qWaitForWindowExposed(mainForm.get()) ? std::move(mainForm) : nullptr;
    }

    static QString text(const QWidget *window, const char *label) { return child<QLabel>(window, label)->text(); }

    /** The captions of dials A and B, the list's entry, both summer time tags and both offsets. */
    QString dials(const MainForm *mainForm) const
    {
        return join(text(mainForm, "Label1"), text(mainForm, "Label2"),
                    child<QComboBox>(mainForm, "Combo1")->currentIndex(), child(mainForm, "Label13")->isVisible(),
                    child(mainForm, "Label14")->isVisible(), m_clock.offsetA(), m_clock.offsetB());
    }

    static bool centred(const QRect &a, const QRect &b) { return (a.center() - b.center()).manhattanLength() <= 4; }

    /** The colours of @p image at @p points, by name: several pixels in one comparison. */
    static QString colours(const QImage &image, std::initializer_list<QPoint> points)
    {
        QStringList names;
        for (const QPoint &point : points)
            names << image.pixelColor(point).name();
        return names.join(u' ');
    }

private Q_SLOTS:
    void opensWithItsDesignedLookAndTicksRepaintingOnlyWhatMoved()
    {
        QTest::failOnWarning(QRegularExpression(u"^(ico|mainImage)"_s));
        FixedClock clock(QDateTime(QDate(2026, 12, 6), QTime(10, 0, 15)));
        const auto mainForm = start();
        // A fixed size, centred on the screen; the menus; the captions, summer time tags, picture and list in place.
        QStringList seen{mainForm->objectName(), mainForm->windowTitle(),
                         join(mainForm->centralWidget()->size(), mainForm->minimumSize() == mainForm->maximumSize(),
                              centred(mainForm->frameGeometry(), mainForm->screen()->geometry()))};
        for (const QAction *menu : mainForm->menuBar()->actions()) {
            seen << menu->menu()->objectName() + u'=' + menu->text();
            for (const QAction *item : menu->menu()->actions())
                seen << item->objectName() + u'=' + item->text();
        }
        for (const char *name : {"Label1", "Label2", "Label13", "Label14", "Picture1", "Combo1"})
            seen << join(child(mainForm.get(), name)->geometry());
        QCOMPARE(
            seen.join(u' '),
            u"mainForm ++ Pelkin Horavista ++ QSize(400, 280) true true mnuFile=File mnuExit=終了 mnuOption=Option "
            "mnuSetTime=時計設定 mnuSetImg=画像設定 mnuHelp=Help mnuCallHelp=ヘルプ mnuCallVersion=バージョン情報 "
            "QRect(16,138 97x17) QRect(287,89 97x17) QRect(31,107 88x16) QRect(305,229 88x16) QRect(124,55 148x149) "
            "QRect(8,248 385x23)"_s);

        // Until the first tick the hands run from the dials' centres to their designed ends: the background, dial
        // A's outer square, dial B's inner square, dial A's second hand towards (600, 1200), its hour hand towards
        // (1200, 840); the picture's sunken frame.
        QWidget *surface = mainForm->centralWidget();
        QCOMPARE(colours(surface->grab().toImage(), {{200, 10}, {8, 60}, {387, 200}, {50, 70}, {75, 56}, {124, 100}}),
                 u"#ffffff #000000 #000000 #c00000 #000000 #9f9f9f"_s);
        // Dial A's outline repainted by its left edge alone.
        QCOMPARE(surface->grab(QRect(8, 50, 1, 20)).toImage().pixelColor(0, 10).name(), u"#000000"_s);

        mainForm->findChild<DialPair *>()->tick();
        // At 15 s both second hands point right and dial A's minute hand up; the designed second hand is gone.
        QCOMPARE(join(text(mainForm.get(), "Label11"), text(mainForm.get(), "Label12"),
                      colours(surface->grab().toImage(), {{75, 61}, {94, 61}, {355, 182}, {61, 40}, {50, 70}})),
                 u"10:00:15 10:00:15 #c00000 #c00000 #c00000 #000000 #ffffff"_s);

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
        mainForm->findChild<DialPair *>()->tick();
        QTRY_VERIFY(recorder.painted.contains(QPoint(75, 61)) && recorder.painted.contains(QPoint(30, 61)));
        int area = 0;
        for (const QRect &r : recorder.painted)
            area += r.width() * r.height();
        QVERIFY2(area < 112 * 112, qPrintable(QString::number(area)));
    }

    void startUpReadsItsFiles_data()
    {
        QTest::addColumn<QString>("files"); // the icon and the picture: good, missing or damaged
        QTest::addColumn<QByteArray>("settings"); // empty: no file
        QTest::addColumn<QString>("shown"); // the dials, then whether the picture shows
        QTest::newRow("no settings file") << "good" << QByteArray() << "Tokyo Tokyo 0 false false 0 0 true";
        QTest::newRow("saved choice") << "good" << QByteArray("-13,\"New York\",2,\"Sydney\",#TRUE#,#TRUE#")
                                      << "New York Sydney 29 true true -13 2 true";
        QTest::newRow("caption A unchecked; no icon, picture a folder")
            << "missing" << QByteArray("5,\"Atlantis\",0,\"Tokyo\",0,0") << "Atlantis Tokyo 0 false false 5 0 false";
        // A damaged file stops the reader before it changes anything: the window stays as laid out.
        QTest::newRow("offset B not a number; icon and picture damaged")
            << "damaged" << QByteArray("-13,\"New York\",x,\"Sydney\",0,0") << "  -1 false false 0 0 false";
        QTest::newRow("city B not in the list")
            << "good" << QByteArray("-15,\"Chicago\",-15,\"Chicago\",0,0") << "  -1 false false 0 0 true";
    }
    void startUpReadsItsFiles()
    {
        QFETCH(QByteArray, settings);
        QFETCH(QString, files);
        const QImage map = QImage(u":/worldmap/worldmap.png"_s).convertToFormat(QImage::Format_RGB32);
        QVERIFY(settings.isEmpty() || m_folder->write(SettingsFile, settings));
        QVERIFY(files != u"good" || map.save(m_folder->path(PictureFile), "BMP"));
        QVERIFY(files == u"good" || QFile::remove(m_folder->path(u"ico.ico"_s)));
        QVERIFY(files != u"missing" || m_folder->dir().mkdir(PictureFile)); // not a picture file: nothing to report
        QVERIFY(files != u"damaged" ||
                (m_folder->write(u"ico.ico"_s, "not an icon") &&
                 m_folder->write(PictureFile, "BM" + QByteArray(60, '\0'))));
        if (files != u"good")
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"^ico.ico: .*; using the built-in icon$"_s));
        if (files == u"damaged")
            QTest::ignoreMessage(QtWarningMsg,
                                 QRegularExpression(u"^mainImage.bmp: .*; the picture box stays empty"_s));
        const auto mainForm = start();
        const QImage shown = child<PictureBox>(mainForm.get(), "Picture1")->picture();
        QVERIFY(!mainForm->windowIcon().isNull());
        QTEST(join(dials(mainForm.get()), shown.convertToFormat(QImage::Format_RGB32) == map), "shown");
        QCOMPARE(m_folder->read(SettingsFile), settings); // reading never writes
    }

    void cityListNamesDialBWithoutSaving()
    {
        FixedClock clock;
        const QByteArray saved("0,\"Tokyo\",2,\"Sydney\",#FALSE#,#TRUE#\r\n");
        QVERIFY(m_folder->write(SettingsFile, saved));
        const auto mainForm = start();
        // Dial B's summer time tag: its whole caption in white on red.
        auto *tag = child<QLabel>(mainForm.get(), "Label14");
        QCOMPARE(join(tag->text(), tag->fontMetrics().horizontalAdvance(tag->text()) <= tag->width(),
                      tag->grab().toImage().pixelColor(1, tag->height() - 2).name(),
                      tag->palette().color(tag->foregroundRole()).name()),
                 u"Summer+Time true #ff0000 #ffffff"_s);

        choose(mainForm.get(), "Combo1", u"Sydney"_s); // the entry already selected still counts: the tag goes
        QCOMPARE(dials(mainForm.get()), u"Tokyo Sydney 29 false false 0 1"_s);
        QTest::keyClick(child(mainForm.get(), "Combo1"), Qt::Key_End); // the last city, by the keyboard
        mainForm->findChild<DialPair *>()->tick();
        QCOMPARE(join(dials(mainForm.get()), text(mainForm.get(), "Label12")),
                 u"Tokyo Zurich 35 false false 0 -8 02:00:00"_s);
        QCOMPARE(m_folder->read(SettingsFile), saved);
    }

    void surfaceDragsTheWindowAndOpensThePopUpMenu()
    {
        const auto mainForm = start();
        const QPoint before = mainForm->pos();
        for (const char *control : {"Label1", "Picture1", "Combo1"})
            dragOn(child(mainForm.get(), control), QPoint(4, 4), QPoint(50, 40));
        dragOn(mainForm->centralWidget(), QPoint(200, 10), QPoint(50, 40), Qt::MiddleButton);
        QCOMPARE(mainForm->pos(), before);
        child<QComboBox>(mainForm.get(), "Combo1")->hidePopup(); // the press opened the list
        // Far, with no bounds. (The offscreen platform misplaces windows at negative coordinates.)
        dragOn(mainForm->centralWidget(), QPoint(200, 10), QPoint(1230, 1016));
        QCOMPARE(mainForm->pos(), before + QPoint(1230, 1016));
        dragOn(mainForm->centralWidget(), QPoint(200, 10), QPoint(-1230, -1016)); // back: a menu fits on the screen
        rightClick(mainForm->centralWidget(), QPoint(200, 10), "mnuExit");
        QCOMPARE(poppedUp,
                 join(mainForm->centralWidget()->mapToGlobal(QPoint(200, 10)), u"時計設定 画像設定 - 終了"_s));
        QVERIFY(!mainForm->isVisible());
    }

    void exitFromTheClockSettingsPopUpMenuEndsTheProgram()
    {
        const auto mainForm = start();
        connect(qApp, &QGuiApplication::lastWindowClosed, mainForm.get(),
                [] { QVERIFY2(!QApplication::activeModalWidget(), "the dialog closes first"); });
        QTimer::singleShot(5000, mainForm.get(), [] { QCoreApplication::exit(1); });
        // The dialog opens centred over the main window, and its 時計設定 opens no second dialog.
        whenModalOpens([&](QWidget *dialog) {
            QVERIFY(qobject_cast<SetTimeDialog *>(dialog) && dialog->parentWidget() == mainForm.get() &&
                    centred(dialog->frameGeometry(), mainForm->frameGeometry()));
            rightClick(dialog, QPoint(150, 240), "mnuSetTime");
            QCOMPARE(QApplication::activeModalWidget(), dialog);
            rightClick(dialog, QPoint(150, 240), "mnuExit");
        });
        QTimer::singleShot(0, mainForm.get(), [&] { child<QAction>(mainForm.get(), "mnuSetTime")->trigger(); });
        QCOMPARE(QCoreApplication::exec(), 0); // the event loop ended: no window of the program is left open
        QCOMPARE(m_folder->entries(), QStringList{u"ico.ico"_s}); // nothing written
    }

    void closeBoxClosesTheDialogsButNotTheAboutBox()
    {
        QWidget dialog, about;
        dialog.setObjectName(u"setImg"_s);
        about.setObjectName(u"frmAbout"_s);
        about.show();
        for (const bool byProgram : {true, false}) {
            const auto mainForm = start();
            dialog.show();
            byProgram ? mainForm->closeByProgram() : void(mainForm->close()); // the close box
            QCOMPARE(join(mainForm->isVisible(), dialog.isVisible(), about.isVisible()),
                     byProgram ? u"false true true"_s : u"false false true"_s);
        }
    }

    void pictureCommandStoresAndShowsThePicture()
    {
        QImage green(200, 100, QImage::Format_RGB32);
        green.fill(QColor(0, 160, 0));
        QVERIFY(green.save(m_folder->path(u"green.bmp"_s), "BMP"));
        const auto mainForm = start();
        whenModalOpens([&](QWidget *dialog) {
            auto *files = child<FileList>(dialog, "File1");
            files->setCurrentItem(files->findItems(u"green.bmp"_s, Qt::MatchExactly).value(0));
            QTest::mouseClick(child(dialog, "setPic"), Qt::LeftButton);
            QVERIFY(dialog->objectName() == u"setImg" && centred(dialog->frameGeometry(), mainForm->frameGeometry()));
        });
        child<QAction>(mainForm.get(), "mnuSetImg")->trigger();
        // The main window shows the picture stored: at 73%, 146 x 73 pixels.
        QCOMPARE(colours(child<PictureBox>(mainForm.get(), "Picture1")->picture(), {{70, 70}, {70, 20}}),
                 u"#00a000 #ffffff"_s);
    }
};

QTEST_MAIN(TestApp)
#include "tst_app.moc"
