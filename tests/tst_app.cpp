#include "app/mainform.h"
#include "clock/clockmodel.h"
#include "clock/dialpair.h"
#include "picture/folderlist.h"
#include "platform/picturebox.h"
#include "settings/settimedialog.h"
#include "testsupport.h"

#include <QCheckBox>
#include <QLabel>
#include <QMenuBar>
#include <QPaintEvent>
#include <QPushButton>
#include <QScreen>

namespace {

const QString SettingsFile = QStringLiteral("setTime.properties");
const QString PictureFile = QStringLiteral("mainImage.bmp");

/** Collects the rectangles a widget is asked to paint. */
class PaintRecorder : public QObject
{
public:
    QRegion painted;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted += static_cast<QPaintEvent *>(event)->region();
        return QObject::eventFilter(watched, event);
    }
};

QImage stripes(const QSize &size, const QColor &colour)
{
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(colour);
    for (int x = 0; x < size.width(); ++x)
        picture.setPixelColor(x, x % size.height(), Qt::yellow);
    return picture;
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
    static QString text(const QWidget *window, const char *label)
    {
        return window->findChild<QLabel *>(QLatin1String(label))->text();
    }
    static bool shows(const QWidget *window, const char *label)
    {
        return !window->findChild<QLabel *>(QLatin1String(label))->isHidden();
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
        QVERIFY(mainForm);
        QCOMPARE(mainForm->objectName() + mainForm->windowTitle(), QStringLiteral("mainForm++ Pelkin Horavista ++"));
        QVERIFY(!mainForm->windowIcon().isNull());
        QStringList menus;
        for (const QAction *menu : mainForm->menuBar()->actions()) {
            QStringList items;
            for (const QAction *item : menu->menu()->actions())
                items << item->objectName() + QLatin1Char('=') + item->text();
            menus << menu->text() + QLatin1Char(':') + items.join(QLatin1Char(','));
        }
        QCOMPARE(menus,
                 (QStringList{QStringLiteral("File:mnuExit=終了"),
                              QStringLiteral("Option:mnuSetTime=時計設定,mnuSetImg=画像設定"),
                              QStringLiteral("Help:mnuCallHelp=ヘルプ,mnuCallVersion=バージョン情報")}));
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
        QImage edge(surface->size(), QImage::Format_RGB32);
        edge.fill(Qt::green);
        surface->render(&edge, QPoint(8, 50), QRegion(8, 50, 1, 20)); // an outline repainted by its edge alone
        QCOMPARE(edge.pixelColor(8, 60), QColor(Qt::black));
        QCOMPARE(shown.pixelColor(387, 200), QColor(Qt::black)); // dial B's inner square, right side
        QCOMPARE(shown.pixelColor(50, 70), QColor(0xC0, 0, 0)); // dial A's second hand, towards (600, 1200)
        QCOMPARE(shown.pixelColor(75, 56), QColor(Qt::black)); // its hour hand, towards (1200, 840)

        mainForm->findChild<DialPair *>()->tick();
        QCoreApplication::processEvents();
        shown = surface->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(text(mainForm.get(), "Label11"), QStringLiteral("10:00:15"));
        QCOMPARE(mainForm->findChild<QLabel *>(QStringLiteral("Label12"))->font().family(), Fonts::japaneseGothic());
        QCOMPARE(mainForm->findChild<QLabel *>(QStringLiteral("Label7"))->font().pointSizeF(), 8.25);
        QCOMPARE(text(mainForm.get(), "Label12"), QStringLiteral("10:00:15"));
        for (const QPoint &on : {QPoint(75, 61), QPoint(94, 61), QPoint(355, 182)}) // 15 s: to the right
            QCOMPARE(shown.pixelColor(on), QColor(0xC0, 0, 0));
        QCOMPARE(shown.pixelColor(61, 40), QColor(Qt::black)); // dial A's minute hand, up
        QCOMPARE(shown.pixelColor(50, 70), QColor(Qt::white)); // the designed second hand is gone
    }

    void damagedFilesDoNotStopStartUp_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("bytes"); // empty: no such file; "dir": a folder of that name
        QTest::addColumn<QString>("warning");
        QTest::newRow("icon missing") << "ico.ico" << QByteArray()
                                      << "^ico.ico: file not found; using the built-in icon$";
        QTest::newRow("icon damaged") << "ico.ico" << QByteArray("not an icon")
                                      << "^ico.ico: .*; using the built-in icon$";
        QTest::newRow("picture damaged") << PictureFile << QByteArray("BM") + QByteArray(60, '\0')
                                         << "^mainImage.bmp: .*; the picture box stays empty$";
        QTest::newRow("picture is a folder") << PictureFile << QByteArray("dir") << QString();
    }
    void damagedFilesDoNotStopStartUp()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, warning);
        QFile::remove(m_folder->path(file));
        QVERIFY(bytes.isEmpty() || (bytes == "dir" ? m_folder->dir().mkdir(file) : m_folder->write(file, bytes)));
        warning.isEmpty() ? QTest::failOnWarning(QRegularExpression(QStringLiteral("^(ico|mainImage)")))
                          : QTest::ignoreMessage(QtWarningMsg, QRegularExpression(warning));
        const auto mainForm = start(false);
        QVERIFY(!mainForm->windowIcon().isNull());
        QVERIFY(mainForm->findChild<PictureBox *>(QStringLiteral("Picture1"))->picture().isNull());
        QCOMPARE(text(mainForm.get(), "Label2"), QStringLiteral("Tokyo")); // start-up went on
    }

    void settingsAndPictureOnStartUp_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("shown"); // captions A and B, list entry, tags A and B, offsets A and B
        QTest::newRow("no file: Tokyo on both dials") << QByteArray() << "Tokyo Tokyo 0 00 0 0";
        QTest::newRow("saved choice") << QByteArray("-13,\"New York\",2,\"Sydney\",#TRUE#,#TRUE#\r\n")
                                      << "New York Sydney 29 11 -13 2";
        QTest::newRow("dial A's caption is not checked")
            << QByteArray("5,\"Atlantis\",0,\"Tokyo\",#FALSE#,#FALSE#\n") << "Atlantis Tokyo 0 00 5 0";
        // A damaged file stops the reader before it changes anything: the window stays as laid out.
        QTest::newRow("field 3 not a number")
            << QByteArray("-13,\"New York\",x,\"Sydney\",#TRUE#,#TRUE#\r\n") << "  -1 00 0 0";
        QTest::newRow("dial B's city not in the list")
            << QByteArray("-15,\"Chicago\",-15,\"Chicago\",#TRUE#,#TRUE#\r\n") << "  -1 00 0 0";
    }
    void settingsAndPictureOnStartUp()
    {
        QFETCH(QByteArray, file);
        if (!file.isEmpty())
            QVERIFY(m_folder->write(SettingsFile, file));
        QVERIFY(stripes(QSize(150, 100), Qt::blue).save(m_folder->path(PictureFile), "BMP"));
        const auto mainForm = start(false);
        const QString shown = QStringLiteral("%1 %2 %3 %4%5 %6 %7")
                                  .arg(text(mainForm.get(), "Label1"), text(mainForm.get(), "Label2"))
                                  .arg(mainForm->findChild<QComboBox *>(QStringLiteral("Combo1"))->currentIndex())
                                  .arg(shows(mainForm.get(), "Label13"))
                                  .arg(shows(mainForm.get(), "Label14"))
                                  .arg(m_clock.offsetA())
                                  .arg(m_clock.offsetB());
        QTEST(shown, "shown");
        QCOMPARE(m_folder->read(SettingsFile), file); // reading never writes
        const QImage picture = mainForm->findChild<PictureBox *>(QStringLiteral("Picture1"))->picture();
        QCOMPARE(picture.convertToFormat(QImage::Format_RGB32), stripes(QSize(150, 100), Qt::blue));
    }

    void summerTimeTagIsWhiteOnRed()
    {
        QVERIFY(m_folder->write(SettingsFile, "0,\"Tokyo\",2,\"Sydney\",#FALSE#,#TRUE#\r\n"));
        const auto mainForm = start();
        FIND_CONTROL(tag, QLabel, mainForm.get(), "Label14");
        QCOMPARE(tag->text(), QStringLiteral("Summer+Time"));
        QVERIFY(tag->fontMetrics().horizontalAdvance(tag->text()) <= tag->width()); // the caption fits whole
        const QImage shown = tag->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shown.pixelColor(1, tag->height() - 2), QColor(Qt::red));
        int white = 0;
        for (int x = 0; x < shown.width(); ++x)
            white += shown.pixelColor(x, tag->height() / 2).green() > 128;
        QVERIFY2(white > 3, "the caption is written in white");
    }

    void cityListNamesDialBWithoutSaving()
    {
        FixedClock clock(QDateTime(QDate(2026, 12, 6), QTime(10, 0, 0)));
        const QByteArray saved("0,\"Tokyo\",2,\"Sydney\",#FALSE#,#TRUE#\r\n");
        QVERIFY(m_folder->write(SettingsFile, saved));
        const auto mainForm = start();
        FIND_CONTROL(list, QComboBox, mainForm.get(), "Combo1");
        QVERIFY(!list->isEditable());
        // Choosing the entry already selected still counts: dial B drops its summer time.
        choose(mainForm.get(), "Combo1", QStringLiteral("Sydney"));
        QVERIFY(!shows(mainForm.get(), "Label14"));
        QCOMPARE(m_clock.offsetB(), 1);
        list->setFocus();
        QTest::keyClick(list, Qt::Key_End); // the last city, by the keyboard
        QCOMPARE(text(mainForm.get(), "Label2"), QStringLiteral("Zurich"));
        QCOMPARE(m_clock.offsetB(), -8);
        mainForm->findChild<DialPair *>()->tick();
        QCOMPARE(text(mainForm.get(), "Label12"), QStringLiteral("02:00:00"));
        QCOMPARE(m_folder->read(SettingsFile), saved);
    }

    void tickRepaintsOnlyWhatMoved()
    {
        FixedClock clock(QDateTime(QDate(2026, 12, 6), QTime(10, 0, 0)));
        const auto mainForm = start();
        auto *dials = mainForm->findChild<DialPair *>();
        dials->tick();
        QCoreApplication::processEvents();
        QWidget *surface = mainForm->centralWidget();
        PaintRecorder recorder;
        surface->installEventFilter(&recorder);
        clock.advance(1);
        dials->tick();
        QTRY_VERIFY(!recorder.painted.isEmpty());

        const QRect dialA(6, 6, 112, 112);
        const QRect dialB(278, 126, 112, 112);
        const QRegion allowed = QRegion(dialA) + dialB +
            mainForm->findChild<QLabel *>(QStringLiteral("Label11"))->geometry() +
            mainForm->findChild<QLabel *>(QStringLiteral("Label12"))->geometry();
        QVERIFY2((recorder.painted - allowed).isEmpty(), "a tick repainted more than the dials and their times");
        int paintedArea = 0; // only the second hands moved: far less than a dial
        for (const QRect &r : recorder.painted)
            paintedArea += r.width() * r.height();
        QVERIFY2(paintedArea < dialA.width() * dialA.height(), qPrintable(QString::number(paintedArea)));
    }

    void onlyTheBareSurfaceDragsTheWindow()
    {
        const auto mainForm = start();
        const QPoint before = mainForm->pos();
        for (const char *control : {"Label1", "Picture1", "Combo1"}) {
            dragOn(mainForm->findChild<QWidget *>(QLatin1String(control)), QPoint(4, 4), QPoint(50, 40));
            QCOMPARE(mainForm->pos(), before);
        }
        mainForm->findChild<QComboBox *>()->hidePopup(); // the press opened the list
        // Far, with no bounds. (The offscreen platform misplaces windows at negative coordinates.)
        dragOn(mainForm->centralWidget(), QPoint(200, 10), QPoint(1230, 1016));
        QCOMPARE(mainForm->pos(), before + QPoint(1230, 1016));
    }

    void popUpMenuOfTheWindowAndOfTheDialog()
    {
        const auto mainForm = start();
        QWidget *surface = mainForm->centralWidget();
        QStringList items;
        QTimer::singleShot(0, [&items] {
            auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            QVERIFY(menu);
            for (QAction *action : menu->actions())
                items << (action->isSeparator() ? QStringLiteral("-") : action->text());
            items << QString::number(menu->pos().x()) << QString::number(menu->pos().y());
            menu->close();
        });
        QTest::mouseClick(surface, Qt::RightButton, {}, QPoint(200, 10));
        const QPoint at = surface->mapToGlobal(QPoint(200, 10));
        QCOMPARE(items.join(QLatin1Char(' ')),
                 QStringLiteral("時計設定 画像設定 - 終了 %1 %2").arg(at.x()).arg(at.y()));

        // The dialog's own menu: its 時計設定 opens no second dialog.
        int secondDialogs = 0;
        whenModalOpens([&](QWidget *dialog) {
            QVERIFY(qobject_cast<SetTimeDialog *>(dialog) && dialog->parentWidget() == mainForm.get());
            const QPoint offCentre = dialog->frameGeometry().center() - mainForm->frameGeometry().center();
            QVERIFY(offCentre.manhattanLength() <= 2);
            QTimer::singleShot(200, dialog, [&] {
                ++secondDialogs;
                QApplication::activeModalWidget()->close();
            });
            rightClick(dialog, QPoint(150, 240), "mnuSetTime");
            QCOMPARE(QApplication::activeModalWidget(), dialog);
            dialog->close();
        });
        rightClick(surface, QPoint(200, 10), "mnuSetTime");
        QCOMPARE(secondDialogs, 0);
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
            const bool viaDialog = from == QLatin1String("dialog");
            if (viaDialog)
                whenModalOpens([](QWidget *dialog) { rightClick(dialog, QPoint(150, 240), "mnuExit"); });
            mainForm->findChild<QAction *>(viaDialog ? QStringLiteral("mnuSetTime") : QStringLiteral("mnuExit"))
                ->trigger();
        });
        QCOMPARE(QCoreApplication::exec(), 0); // the event loop ended: no window of the program is left open
        QVERIFY(dialogClosedFirst);
        QCOMPARE(m_folder->entries(), QStringList{QStringLiteral("ico.ico")}); // nothing written
    }

    void closeBoxClosesTheDialogsButNotTheAboutBox()
    {
        const auto mainForm = start();
        QWidget dialog;
        dialog.setObjectName(QStringLiteral("setImg"));
        dialog.show();
        QWidget about;
        about.setObjectName(QStringLiteral("frmAbout"));
        about.show();
        QVERIFY(mainForm->close()); // as the close box does
        QVERIFY(!dialog.isVisible());
        QVERIFY(about.isVisible());
        QCOMPARE(m_folder->entries(), QStringList{QStringLiteral("ico.ico")}); // nothing saved

        const auto again = start();
        dialog.show();
        again->closeByProgram();
        QVERIFY(!again->isVisible());
        QVERIFY(dialog.isVisible()); // the program's own close leaves the other windows to the caller
        dialog.close();
        about.close();
    }

    void mainWindowFollowsTheDialogThenSetSaves()
    {
        FixedClock clock(QDateTime(QDate(2026, 12, 6), QTime(10, 0, 0)));
        const QByteArray saved = "-13,\"New York\",1,\"Sydney\",#TRUE#,#FALSE#\r\n";
        QVERIFY(m_folder->write(SettingsFile, saved));
        const auto mainForm = start();
        auto *dials = mainForm->findChild<DialPair *>();
        QAction *setTime = mainForm->findChild<QAction *>(QStringLiteral("mnuSetTime"));

        // The main window's own ticks follow every choice before anything is saved; the close box saves nothing.
        QStringList seen;
        whenModalOpens([&](QWidget *dialog) {
            choose(dialog, "Combo1", QStringLiteral("Berlin"));
            dials->tick();
            seen << text(mainForm.get(), "Label11") << text(mainForm.get(), "Label12");
            QTest::mouseClick(dialog->findChild<QCheckBox *>(QStringLiteral("Check1")), Qt::LeftButton);
            clock.advance(1);
            dials->tick();
            seen << text(mainForm.get(), "Label11");
            QVERIFY(dialog->close());
        });
        setTime->trigger();
        QCOMPARE(seen.join(QLatin1Char(' ')), QStringLiteral("02:00:00 11:00:00 03:00:01"));
        QCOMPARE(text(mainForm.get(), "Label1"), QStringLiteral("New York")); // the captions keep the saved choice
        QCOMPARE(m_folder->read(SettingsFile), saved);

        // Set saves, and puts the cities and tags on the main window; the clock keeps the saved offsets.
        whenModalOpens([&](QWidget *dialog) {
            choose(dialog, "Combo1", QStringLiteral("Tokyo"));
            choose(dialog, "Combo2", QStringLiteral("Sydney"));
            QTest::mouseClick(dialog->findChild<QCheckBox *>(QStringLiteral("Check2")), Qt::LeftButton);
            QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("setTime")), Qt::LeftButton);
        });
        setTime->trigger();
        QCOMPARE(m_folder->read(SettingsFile), QByteArray("0,\"Tokyo\",2,\"Sydney\",#FALSE#,#TRUE#\r\n"));
        QCOMPARE(text(mainForm.get(), "Label1") + text(mainForm.get(), "Label2"), QStringLiteral("TokyoSydney"));
        QCOMPARE(mainForm->findChild<QComboBox *>(QStringLiteral("Combo1"))->currentText(), QStringLiteral("Sydney"));
        QVERIFY(!shows(mainForm.get(), "Label13") && shows(mainForm.get(), "Label14"));
        QCOMPARE(m_clock.offsetA(), 0);
        QCOMPARE(m_clock.offsetB(), 2); // not the list handler's 1
    }

    void pictureCommandStoresAndShowsThePicture()
    {
        QVERIFY(stripes(QSize(148, 141), Qt::blue).save(m_folder->path(PictureFile), "BMP"));
        QVERIFY(stripes(QSize(200, 100), QColor(0, 160, 0)).save(m_folder->path(QStringLiteral("green.bmp")), "BMP"));
        const auto mainForm = start();
        QPoint offCentre;
        whenModalOpens([&](QWidget *dialog) {
            QCOMPARE(dialog->objectName(), QStringLiteral("setImg"));
            offCentre = dialog->frameGeometry().center() - mainForm->frameGeometry().center();
            auto *files = dialog->findChild<FileList *>(QStringLiteral("File1"));
            const QList<QListWidgetItem *> green = files->findItems(QStringLiteral("green.bmp"), Qt::MatchExactly);
            QCOMPARE(green.size(), 1);
            QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, files->visualItemRect(green.first()).center());
            QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("setPic")), Qt::LeftButton);
        });
        mainForm->findChild<QAction *>(QStringLiteral("mnuSetImg"))->trigger();
        QVERIFY2(offCentre.manhattanLength() <= 2, "the dialog opens centred over the main window");
        QVERIFY(!QApplication::activeModalWidget());

        // 200 x 100 pixels at 73%: 2190 x 1095 twips, 146 x 73 pixels from (0, 36.5).
        const QImage shown = mainForm->findChild<PictureBox *>(QStringLiteral("Picture1"))->picture();
        QCOMPARE(shown.size(), QSize(148, 141));
        QCOMPARE(shown.pixelColor(70, 70), QColor(0, 160, 0));
        QCOMPARE(shown.pixelColor(70, 20), QColor(Qt::white));
        QCOMPARE(shown.convertToFormat(QImage::Format_RGB32),
                 QImage(m_folder->path(PictureFile)).convertToFormat(QImage::Format_RGB32));
    }
};

QTEST_MAIN(TestApp)
#include "tst_app.moc"
