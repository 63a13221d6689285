#include "app/mainform.h"
#include "clock/clockmodel.h"
#include "clock/dialpair.h"
#include "clock/handline.h"
#include "picture/folderlist.h"
#include "platform/fonts.h"
#include "platform/picturebox.h"
#include "windowtest.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QMenuBar>
#include <QPaintEvent>
#include <QPushButton>
#include <QTimer>

#include <memory>

namespace {

const QString IconFile = QStringLiteral("ico.ico");
const QString PictureFile = QStringLiteral("mainImage.bmp");
const QString SettingsFile = QStringLiteral("setTime.properties");

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

QImage testPicture()
{
    QImage picture(148, 141, QImage::Format_RGB32);
    picture.fill(QColor(10, 120, 200));
    for (int x = 0; x < 148; ++x)
        picture.setPixelColor(x, x % 141, Qt::yellow);
    return picture;
}

} // namespace

class TestApp : public WindowTest
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        WindowTest::init();
        m_clock.setOffsets(0, 0);
    }

    void opensWithItsDesignedLook()
    {
        QTest::failOnWarning(QRegularExpression(QStringLiteral("^(ico\\.ico|mainImage\\.bmp)")));
        const auto mainForm = start();
        QCOMPARE(mainForm->objectName(), QStringLiteral("mainForm"));
        QCOMPARE(mainForm->windowTitle(), QStringLiteral("++ Pelkin Horavista ++"));
        QVERIFY(!mainForm->windowIcon().isNull());
        const int pt = 15;
        QCOMPARE(mainForm->centralWidget()->size(), QSize(6000 / pt, 4200 / pt));

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

        FIND_CONTROL(list, QComboBox, mainForm.get(), "Combo1");
        QVERIFY(!list->isEditable());
        mainForm->show();
        QVERIFY(QTest::qWaitForWindowExposed(mainForm.get()));
        QCOMPARE(mainForm->size(), mainForm->minimumSize()); // fixed: not resizable
        QCOMPARE(mainForm->size(), mainForm->maximumSize());
    }
    void damagedFilesDoNotStopStartUp_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("warning");
        QTest::newRow("icon missing") << IconFile << QByteArray()
                                      << QStringLiteral("^ico.ico: file not found; using the built-in icon$");
        QTest::newRow("icon damaged") << IconFile << QByteArray("not an icon")
                                      << QStringLiteral("^ico.ico: .*; using the built-in icon$");
        QTest::newRow("picture damaged") << PictureFile << QByteArray("BM") + QByteArray(60, '\0')
                                         << QStringLiteral("^mainImage.bmp: .*; the picture box stays empty$");
        QTest::newRow("picture is a folder") << PictureFile << QByteArray() << QString();
    }
    void damagedFilesDoNotStopStartUp()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, warning);
        QFile::remove(m_folder->path(file));
        if (!bytes.isEmpty())
            QVERIFY(m_folder->write(file, bytes));
        else if (file == PictureFile)
            QVERIFY(m_folder->dir().mkdir(file)); // not a picture file at all: nothing to report
        if (warning.isEmpty())
            QTest::failOnWarning(QRegularExpression(QStringLiteral("mainImage")));
        else
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(warning));
        const auto mainForm = start();
        QVERIFY(!mainForm->windowIcon().isNull());
        FIND_CONTROL(picture, PictureBox, mainForm.get(), "Picture1");
        QVERIFY(picture->picture().isNull());
        FIND_CONTROL(cityB, QLabel, mainForm.get(), "Label2");
        QCOMPARE(cityB->text(), QStringLiteral("Tokyo")); // start-up went on
    }
    void dialPictureComesFromTheWorkingFolder()
    {
        QVERIFY(testPicture().save(m_folder->path(PictureFile), "BMP"));
        const auto mainForm = start();
        FIND_CONTROL(picture, PictureBox, mainForm.get(), "Picture1");
        QCOMPARE(picture->picture().convertToFormat(QImage::Format_RGB32), testPicture());
    }
    void settingsFileOnStartUp_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("cityA");
        QTest::addColumn<QString>("cityB");
        QTest::addColumn<int>("selected");
        QTest::addColumn<bool>("summerA");
        QTest::addColumn<bool>("summerB");
        QTest::addColumn<int>("offsetA");
        QTest::addColumn<int>("offsetB");
        const QString tokyo = QStringLiteral("Tokyo");
        const QString sydney = QStringLiteral("Sydney");
        QTest::newRow("no file: Tokyo on both dials")
            << QByteArray() << tokyo << tokyo << 0 << false << false << 0 << 0;
        QTest::newRow("saved choice") << QByteArray("-13,\"New York\",2,\"Sydney\",#TRUE#,#TRUE#\r\n")
                                      << QStringLiteral("New York") << sydney << 29 << true << true << -13 << 2;
        QTest::newRow("summer time needs the exact spelling")
            << QByteArray("-13,\"New York\",2,\"Sydney\",#true#,TRUE\r\n") << QStringLiteral("New York") << sydney << 29
            << false << false << -13 << 2;
        QTest::newRow("dial A's caption is not checked")
            << QByteArray("5,\"Atlantis\",0,\"Tokyo\",#FALSE#,#FALSE#\n") << QStringLiteral("Atlantis") << tokyo << 0
            << false << false << 5 << 0;
        QTest::newRow("Chicago keeps its blank")
            << QByteArray("-15,\"Chicago \",-15,\"Chicago \",#FALSE#,#FALSE#\r\n") << QStringLiteral("Chicago ")
            << QStringLiteral("Chicago ") << 5 << false << false << -15 << -15;
        // A damaged file stops the reader before it changes anything: the window stays as laid out.
        QTest::newRow("five fields") << QByteArray("-13,\"New York\",2,\"Sydney\",#TRUE#\r\n") << QString() << QString()
                                     << -1 << false << false << 0 << 0;
        QTest::newRow("field 1 not a number") << QByteArray("x,\"New York\",2,\"Sydney\",#TRUE#,#TRUE#\r\n")
                                              << QString() << QString() << -1 << false << false << 0 << 0;
        QTest::newRow("dial B's city not in the list")
            << QByteArray("-15,\"Chicago\",-15,\"Chicago\",#TRUE#,#TRUE#\r\n") << QString() << QString() << -1 << false
            << false << 0 << 0;
    }
    void settingsFileOnStartUp()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, cityA);
        QFETCH(QString, cityB);
        QFETCH(int, selected);
        QFETCH(bool, summerA);
        QFETCH(bool, summerB);
        QFETCH(int, offsetA);
        QFETCH(int, offsetB);
        if (!file.isEmpty())
            QVERIFY(m_folder->write(SettingsFile, file));
        const auto mainForm = start();
        FIND_CONTROL(labelA, QLabel, mainForm.get(), "Label1");
        FIND_CONTROL(labelB, QLabel, mainForm.get(), "Label2");
        FIND_CONTROL(tagA, QLabel, mainForm.get(), "Label13");
        FIND_CONTROL(tagB, QLabel, mainForm.get(), "Label14");
        FIND_CONTROL(list, QComboBox, mainForm.get(), "Combo1");
        QCOMPARE(labelA->text(), cityA);
        QCOMPARE(labelB->text(), cityB);
        QCOMPARE(list->currentIndex(), selected);
        QCOMPARE(!tagA->isHidden(), summerA);
        QCOMPARE(!tagB->isHidden(), summerB);
        QCOMPARE(int(m_clock.offsetA()), offsetA);
        QCOMPARE(int(m_clock.offsetB()), offsetB);
        QCOMPARE(m_folder->read(SettingsFile), file); // reading never writes
    }
    void summerTimeTagIsWhiteOnRed()
    {
        QVERIFY(m_folder->write(SettingsFile, "0,\"Tokyo\",2,\"Sydney\",#FALSE#,#TRUE#\r\n"));
        const auto mainForm = start();
        mainForm->show();
        QVERIFY(QTest::qWaitForWindowExposed(mainForm.get()));
        FIND_CONTROL(tagB, QLabel, mainForm.get(), "Label14");
        QCOMPARE(tagB->text(), QStringLiteral("Summer+Time"));
        const QImage shown = mainForm->grab().toImage();
        QCOMPARE(shown.pixelColor(tagB->mapTo(mainForm.get(), QPoint(1, tagB->height() - 2))), QColor(255, 0, 0));
        QVERIFY(tagB->fontMetrics().horizontalAdvance(tagB->text()) <= tagB->width()); // the caption fits whole
    }
    void dialsPivotOnTheirCentresAndRun()
    {
        FixedClock clock(QDateTime(QDate(2026, 12, 6), QTime(9, 30, 45)));
        QVERIFY(m_folder->write(SettingsFile, "0,\"Tokyo\",-19,\"Honolulu\",#FALSE#,#FALSE#\r\n"));
        const auto mainForm = start();
        FIND_CONTROL(secondA, HandLine, mainForm.get(), "Line1");
        FIND_CONTROL(hourA, HandLine, mainForm.get(), "Line3");
        FIND_CONTROL(minuteB, HandLine, mainForm.get(), "Line5");
        COMPARE_TWIPS(hourA->start(), QPointF(915, 915));
        COMPARE_TWIPS(minuteB->start(), QPointF(5025, 2725));
        COMPARE_TWIPS(secondA->end(), QPointF(600, 1200)); // as designed until the first tick

        mainForm->show();
        FIND_CONTROL(timeA, QLabel, mainForm.get(), "Label11");
        FIND_CONTROL(timeB, QLabel, mainForm.get(), "Label12");
        QTRY_COMPARE_WITH_TIMEOUT(timeA->text(), QStringLiteral("09:30:45"), 2000); // the window's own timer
        QCOMPARE(timeB->text(), QStringLiteral("14:30:45"));
        COMPARE_TWIPS(hourA->end(), QPointF(580.73, 829.65));
        COMPARE_TWIPS(minuteB->end(), QPointF(5025, 3190));
    }
    void choosingACityInTheListNamesDialB()
    {
        FixedClock clock(QDateTime(QDate(2026, 12, 6), QTime(10, 0, 0)));
        QVERIFY(m_folder->write(SettingsFile, "0,\"Tokyo\",2,\"Sydney\",#FALSE#,#TRUE#\r\n"));
        const auto mainForm = start();
        mainForm->show();
        QVERIFY(QTest::qWaitForWindowExposed(mainForm.get()));
        FIND_CONTROL(list, QComboBox, mainForm.get(), "Combo1");
        FIND_CONTROL(cityB, QLabel, mainForm.get(), "Label2");
        FIND_CONTROL(tagB, QLabel, mainForm.get(), "Label14");
        QVERIFY(tagB->isVisible());

        // Choosing the entry already selected still counts: dial B drops its summer time.
        list->showPopup();
        QVERIFY(QApplication::activePopupWidget());
        QTest::keyClick(list->view(), Qt::Key_Return);
        QTRY_VERIFY(!QApplication::activePopupWidget());
        QVERIFY(tagB->isHidden());
        QCOMPARE(m_clock.offsetB(), 1);

        list->setFocus();
        QTest::keyClick(list, Qt::Key_End); // the last city, by the keyboard
        QCOMPARE(cityB->text(), QStringLiteral("Zurich"));
        QCOMPARE(m_clock.offsetB(), -8);
        QCOMPARE(m_clock.offsetA(), 0);
        mainForm->findChild<DialPair *>()->tick();
        FIND_CONTROL(timeB, QLabel, mainForm.get(), "Label12");
        QCOMPARE(timeB->text(), QStringLiteral("02:00:00"));
        QCOMPARE(m_folder->read(SettingsFile), QByteArray("0,\"Tokyo\",2,\"Sydney\",#FALSE#,#TRUE#\r\n")); // not saved
    }
    void tickRepaintsOnlyWhatMoved()
    {
        FixedClock clock(QDateTime(QDate(2026, 12, 6), QTime(10, 0, 0)));
        const auto mainForm = start();
        mainForm->show();
        QVERIFY(QTest::qWaitForWindowExposed(mainForm.get()));
        mainForm->findChild<DialPair *>()->tick();
        QCoreApplication::processEvents();

        QWidget *surface = mainForm->centralWidget();
        PaintRecorder recorder;
        surface->installEventFilter(&recorder);
        clock.advance(1);
        mainForm->findChild<DialPair *>()->tick();
        QTRY_VERIFY(!recorder.painted.isEmpty());
        QCoreApplication::processEvents();

        const int pt = 15; // the offscreen screen has 96 dots per inch
        const QRect dialA(120 / pt - 2, 120 / pt - 2, 1620 / pt + 4, 1620 / pt + 4);
        const QRect dialB(4200 / pt - 2, 1920 / pt - 2, 1620 / pt + 4, 1620 / pt + 4);
        FIND_CONTROL(timeA, QLabel, mainForm.get(), "Label11");
        FIND_CONTROL(timeB, QLabel, mainForm.get(), "Label12");
        const QRegion allowed = QRegion(dialA) + dialB + timeA->geometry() + timeB->geometry();
        QVERIFY2((recorder.painted - allowed).isEmpty(), "a tick repainted more than the dials and their times");
        // Only the second hands moved: far less than both dials.
        int paintedArea = 0;
        for (const QRect &r : recorder.painted)
            paintedArea += r.width() * r.height();
        QVERIFY2(paintedArea < dialA.width() * dialA.height(), qPrintable(QString::number(paintedArea)));
    }
    void closeBoxClosesTheOtherWindows()
    {
        const auto mainForm = start();
        mainForm->show();
        QWidget menuCarrier;
        menuCarrier.setObjectName(QStringLiteral("setImg"));
        menuCarrier.show();
        QWidget aboutBox;
        aboutBox.setObjectName(QStringLiteral("frmAbout"));
        aboutBox.show();

        const QStringList before = m_folder->dir().entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        QVERIFY(mainForm->close()); // as the close box does
        QVERIFY(!mainForm->isVisible());
        QVERIFY(!menuCarrier.isVisible());
        QVERIFY(aboutBox.isVisible()); // not in the list the close box takes along
        QCOMPARE(m_folder->dir().entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before); // nothing saved
        aboutBox.close();

        const auto again = start();
        again->show();
        menuCarrier.show();
        again->closeByProgram();
        QVERIFY(!again->isVisible());
        QVERIFY(menuCarrier.isVisible()); // the program's own close leaves the other windows to the caller
        menuCarrier.close();
    }
    void pictureCommandStoresAndShowsThePicture()
    {
        const QString button = QStringLiteral("setPic");
        QImage chosen(200, 100, QImage::Format_RGB32);
        chosen.fill(QColor(0, 160, 0));
        QVERIFY(chosen.save(m_folder->path(QStringLiteral("green.bmp")), "BMP"));
        QVERIFY(testPicture().save(m_folder->path(PictureFile), "BMP"));
        const auto mainForm = start();
        mainForm->show();
        QVERIFY(QTest::qWaitForWindowExposed(mainForm.get()));
        FIND_CONTROL(picture, PictureBox, mainForm.get(), "Picture1");
        QCOMPARE(picture->picture().convertToFormat(QImage::Format_RGB32), testPicture());

        QString opened;
        QPoint centreOffset;
        QTimer::singleShot(0, this, [&] {
            auto *dialog = QApplication::activeModalWidget();
            QVERIFY(dialog);
            opened = dialog->objectName();
            centreOffset = dialog->frameGeometry().center() - mainForm->frameGeometry().center();
            auto *files = dialog->findChild<FileList *>(QStringLiteral("File1"));
            QVERIFY(files);
            const QList<QListWidgetItem *> green = files->findItems(QStringLiteral("green.bmp"), Qt::MatchExactly);
            QCOMPARE(green.size(), 1);
            QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, files->visualItemRect(green.first()).center());
            auto *press = dialog->findChild<QPushButton *>(button);
            QVERIFY(press);
            QTest::mouseClick(press, Qt::LeftButton);
        });
        mainForm->findChild<QAction *>(QStringLiteral("mnuSetImg"))->trigger();
        QCOMPARE(opened, QStringLiteral("setImg"));
        QVERIFY2(centreOffset.manhattanLength() <= 2, "the dialog opens centred over the main window");
        QVERIFY(!QApplication::activeModalWidget());

        const QImage shown = picture->picture().convertToFormat(QImage::Format_RGB32);
        // 200 x 100 pixels at 73%: 2190 x 1095 twips, 146 x 73 pixels from (0, 36.5).
        QCOMPARE(shown.size(), QSize(148, 141));
        QCOMPARE(shown.pixelColor(70, 70), QColor(0, 160, 0));
        QCOMPARE(shown.pixelColor(70, 20), picture->palette().color(QPalette::Base));
        QCOMPARE(shown, QImage(m_folder->path(PictureFile)).convertToFormat(QImage::Format_RGB32));
    }

private:
    std::unique_ptr<MainForm> start()
    {
        auto mainForm = std::make_unique<MainForm>(m_folder->dir(), m_clock);
        mainForm->load();
        return mainForm;
    }
    ClockModel m_clock;
};

QTEST_MAIN(TestApp)
#include "tst_app.moc"
