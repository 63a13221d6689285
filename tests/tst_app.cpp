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
        poppedUp = u"%1,%2"_s.arg(menu->x()).arg(menu->y());
        QAction *chosen = nullptr;
        for (QAction *action : menu->actions()) {
            poppedUp += u' ' + (action->isSeparator() ? u"-"_s : action->text());
            chosen = action->objectName() == QLatin1String(item) ? action : chosen;
        }
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
    static bool shows(const QWidget *window, const char *label) { return !child<QLabel>(window, label)->isHidden(); }

    /** The captions of dials A and B, the list's entry, both summer time tags and both offsets. */
    QString dials(const MainForm *mainForm) const
    {
        return join(text(mainForm, "Label1"), text(mainForm, "Label2"),
                    child<QComboBox>(mainForm, "Combo1")->currentIndex(), shows(mainForm, "Label13"),
                    shows(mainForm, "Label14"), m_clock.offsetA(), m_clock.offsetB());
    }

    static QImage picture(const QSize &size, const QColor &colour)
    {
        QImage picture(size, QImage::Format_RGB32);
        picture.fill(colour);
        picture.setPixelColor(1, 1, Qt::yellow);
        return picture;
    }

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
        QStringList menus{mainForm->objectName(), mainForm->windowTitle()};
        for (const QAction *menu : mainForm->menuBar()->actions()) {
            menus << menu->text();
            for (const QAction *item : menu->menu()->actions())
                menus << item->objectName() + u'=' + item->text();
        }
        QCOMPARE(menus.join(u' '),
                 u"mainForm ++ Pelkin Horavista ++ File mnuExit=終了 Option mnuSetTime=時計設定 "
                 "mnuSetImg=画像設定 Help mnuCallHelp=ヘルプ mnuCallVersion=バージョン情報"_s);
        // A fixed size, centred on the screen.
        const QPoint offCentre = mainForm->frameGeometry().center() - mainForm->screen()->geometry().center();
        QCOMPARE(join(mainForm->centralWidget()->size(), mainForm->minimumSize() == mainForm->maximumSize(),
                      offCentre.manhattanLength() <= 4),
                 u"QSize(400, 280) true true"_s);

        // Until the first tick the hands run from the dials' centres to their designed ends: the background, dial
        // A's outer square, dial B's inner square, dial A's second hand towards (600, 1200), its hour hand towards
        // (1200, 840).
        QWidget *surface = mainForm->centralWidget();
        QCOMPARE(colours(surface->grab().toImage(), {{200, 10}, {8, 60}, {387, 200}, {50, 70}, {75, 56}}),
                 u"#ffffff #000000 #000000 #c00000 #000000"_s);
        QImage edge(surface->size(), QImage::Format_RGB32);
        edge.fill(Qt::green);
        surface->render(&edge, QPoint(8, 50), QRegion(8, 50, 1, 20)); // an outline repainted by its edge alone
        QCOMPARE(edge.pixelColor(8, 60), QColor(Qt::black));

        auto *pair = mainForm->findChild<DialPair *>();
        pair->tick();
        QCOMPARE(join(text(mainForm.get(), "Label11"), text(mainForm.get(), "Label12"),
                      child(mainForm.get(), "Label12")->font().family() == Fonts::japaneseGothic(),
                      child(mainForm.get(), "Label7")->font().pointSizeF()),
                 u"10:00:15 10:00:15 true 8.25"_s);
        // At 15 s both second hands point right and dial A's minute hand up; the designed second hand is gone.
        QCOMPARE(colours(surface->grab().toImage(), {{75, 61}, {94, 61}, {355, 182}, {61, 40}, {50, 70}}),
                 u"#c00000 #c00000 #c00000 #000000 #ffffff"_s);

        // The next tick repaints the second hands and the times, far less than a dial.
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
        surface->installEventFilter(&recorder);
        clock.advance(1);
        pair->tick();
        QTRY_VERIFY(!recorder.painted.isEmpty());
        const QRect dialA(6, 6, 112, 112);
        int area = 0;
        for (const QRect &r : recorder.painted)
            area += r.width() * r.height();
        QVERIFY2(area < dialA.width() * dialA.height(), qPrintable(QString::number(area)));
        QVERIFY((recorder.painted - dialA - QRect(278, 126, 112, 112) - child(mainForm.get(), "Label11")->geometry() -
                 child(mainForm.get(), "Label12")->geometry())
                    .isEmpty());
    }

    void startUpReadsItsFiles_data()
    {
        QTest::addColumn<QByteArray>("settings"); // empty: no file
        QTest::addColumn<QString>("files"); // the icon and the picture: good, missing or damaged
        QTest::addColumn<QString>("shown"); // the dials, then whether the picture shows
        QTest::newRow("no settings: Tokyo on both dials") << QByteArray() << "good"
                                                          << "Tokyo Tokyo 0 false false 0 0 true";
        QTest::newRow("saved choice") << QByteArray("-13,\"New York\",2,\"Sydney\",#TRUE#,#TRUE#\r\n") << "good"
                                      << "New York Sydney 29 true true -13 2 true";
        QTest::newRow("dial A's caption unchecked; icon missing, picture a folder")
            << QByteArray("5,\"Atlantis\",0,\"Tokyo\",#FALSE#,#FALSE#\n") << "missing"
            << "Atlantis Tokyo 0 false false 5 0 false";
        // A damaged file stops the reader before it changes anything: the window stays as laid out.
        QTest::newRow("field 3 not a number; icon and picture damaged")
            << QByteArray("-13,\"New York\",x,\"Sydney\",#TRUE#,#TRUE#\r\n") << "damaged"
            << "  -1 false false 0 0 false";
        QTest::newRow("dial B's city not in the list")
            << QByteArray("-15,\"Chicago\",-15,\"Chicago\",#TRUE#,#TRUE#\r\n") << "good"
            << "  -1 false false 0 0 true";
    }
    void startUpReadsItsFiles()
    {
        QFETCH(QByteArray, settings);
        QFETCH(QString, files);
        QVERIFY(settings.isEmpty() || m_folder->write(SettingsFile, settings));
        if (files == u"good") {
            QVERIFY(picture(QSize(150, 100), Qt::blue).save(m_folder->path(PictureFile), "BMP"));
        } else {
            QVERIFY(QFile::remove(m_folder->path(u"ico.ico"_s)));
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"^ico.ico: .*; using the built-in icon$"_s));
        }
        if (files == u"missing")
            QVERIFY(m_folder->dir().mkdir(PictureFile)); // not a picture file at all: nothing to report
        if (files == u"damaged") {
            QVERIFY(m_folder->write(u"ico.ico"_s, "not an icon") &&
                    m_folder->write(PictureFile, "BM" + QByteArray(60, '\0')));
            QTest::ignoreMessage(QtWarningMsg,
                                 QRegularExpression(u"^mainImage.bmp: .*; the picture box stays empty$"_s));
        }
        const auto mainForm = start();
        QVERIFY(!mainForm->windowIcon().isNull());
        const QImage shown = child<PictureBox>(mainForm.get(), "Picture1")->picture();
        QTEST(join(dials(mainForm.get()),
                   shown.convertToFormat(QImage::Format_RGB32) == picture(QSize(150, 100), Qt::blue)),
              "shown");
        QCOMPARE(m_folder->read(SettingsFile), settings); // reading never writes
    }

    void setSavesDialBAndTheCityListChangesItUnsaved()
    {
        FixedClock clock;
        QVERIFY(m_folder->write(SettingsFile, "-13,\"New York\",1,\"Sydney\",#TRUE#,#FALSE#\r\n"));
        const auto mainForm = start();
        // Set saves, and puts the cities and tags on the main window; the clock keeps the saved offsets.
        whenModalOpens([&](QWidget *dialog) {
            choose(dialog, "Combo1", u"Tokyo"_s);
            choose(dialog, "Combo2", u"Sydney"_s);
            QTest::mouseClick(child(dialog, "Check2"), Qt::LeftButton);
            QTest::mouseClick(child(dialog, "setTime"), Qt::LeftButton);
        });
        child<QAction>(mainForm.get(), "mnuSetTime")->trigger();
        const QByteArray saved("0,\"Tokyo\",2,\"Sydney\",#FALSE#,#TRUE#\r\n");
        QCOMPARE(m_folder->read(SettingsFile), saved);
        QCOMPARE(dials(mainForm.get()), u"Tokyo Sydney 29 false true 0 2"_s);
        // Dial B's summer time tag: its whole caption in white on red.
        auto *tag = child<QLabel>(mainForm.get(), "Label14");
        QCOMPARE(join(tag->text(), tag->fontMetrics().horizontalAdvance(tag->text()) <= tag->width(),
                      tag->grab().toImage().pixelColor(1, tag->height() - 2).name(),
                      tag->palette().color(tag->foregroundRole()).name()),
                 u"Summer+Time true #ff0000 #ffffff"_s);

        auto *list = child<QComboBox>(mainForm.get(), "Combo1");
        QVERIFY(!list->isEditable());
        choose(mainForm.get(), "Combo1", u"Sydney"_s); // the entry already selected still counts: the tag goes
        QCOMPARE(dials(mainForm.get()), u"Tokyo Sydney 29 false false 0 1"_s);
        list->setFocus();
        QTest::keyClick(list, Qt::Key_End); // the last city, by the keyboard
        mainForm->findChild<DialPair *>()->tick();
        QCOMPARE(join(dials(mainForm.get()), text(mainForm.get(), "Label12")),
                 u"Tokyo Zurich 35 false false 0 -8 02:00:00"_s);
        QCOMPARE(m_folder->read(SettingsFile), saved);
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
            if (from == u"pop-up")
                return rightClick(mainForm->centralWidget(), QPoint(200, 10), "mnuExit");
            // The dialog opens centred over the main window, and its 時計設定 opens no second dialog.
            if (from == u"dialog")
                whenModalOpens([&](QWidget *dialog) {
                    QVERIFY(qobject_cast<SetTimeDialog *>(dialog) && dialog->parentWidget() == mainForm.get());
                    QVERIFY((dialog->frameGeometry().center() - mainForm->frameGeometry().center()).manhattanLength() <=
                            2);
                    rightClick(dialog, QPoint(150, 240), "mnuSetTime");
                    QCOMPARE(QApplication::activeModalWidget(), dialog);
                    rightClick(dialog, QPoint(150, 240), "mnuExit");
                });
            child<QAction>(mainForm.get(), from == u"dialog" ? "mnuSetTime" : "mnuExit")->trigger();
        });
        QCOMPARE(QCoreApplication::exec(), 0); // the event loop ended: no window of the program is left open
        QVERIFY(dialogClosedFirst);
        QCOMPARE(m_folder->entries(), QStringList{u"ico.ico"_s}); // nothing written
        const QPoint at = mainForm->centralWidget()->mapToGlobal(QPoint(200, 10));
        if (from == u"pop-up")
            QCOMPARE(poppedUp, u"%1,%2 時計設定 画像設定 - 終了"_s.arg(at.x()).arg(at.y()));
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
        about.close();
    }

    void pictureCommandStoresAndShowsThePicture()
    {
        QVERIFY(picture(QSize(148, 141), Qt::blue).save(m_folder->path(PictureFile), "BMP"));
        QVERIFY(picture(QSize(200, 100), QColor(0, 160, 0)).save(m_folder->path(u"green.bmp"_s), "BMP"));
        const auto mainForm = start();
        QPoint offCentre;
        whenModalOpens([&](QWidget *dialog) {
            QCOMPARE(dialog->objectName(), u"setImg"_s);
            offCentre = dialog->frameGeometry().center() - mainForm->frameGeometry().center();
            auto *files = child<FileList>(dialog, "File1");
            files->setCurrentItem(files->findItems(u"green.bmp"_s, Qt::MatchExactly).value(0));
            QTest::mouseClick(child(dialog, "setPic"), Qt::LeftButton);
        });
        child<QAction>(mainForm.get(), "mnuSetImg")->trigger();
        QVERIFY2(offCentre.manhattanLength() <= 2, "the dialog opens centred over the main window");
        // 200 x 100 pixels at 73%: 2190 x 1095 twips, 146 x 73 pixels from (0, 36.5).
        const QImage shown = child<PictureBox>(mainForm.get(), "Picture1")->picture();
        QCOMPARE(join(shown.size(), colours(shown, {{70, 70}, {70, 20}})), u"QSize(148, 141) #00a000 #ffffff"_s);
        QCOMPARE(shown.convertToFormat(QImage::Format_RGB32),
                 QImage(m_folder->path(PictureFile)).convertToFormat(QImage::Format_RGB32));
    }
};

QTEST_MAIN(TestApp)
#include "tst_app.moc"
