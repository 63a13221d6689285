#include "app/mainform.h"
#include "clock/dialpair.h"
#include "clock/handline.h"
#include "clock/houroffsets.h"
#include "platform/fonts.h"
#include "platform/picturebox.h"
#include "testsupport.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QMenuBar>
#include <QPaintEvent>
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

class TestApp : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void opensWithItsDesignedLook();
    void startsWithTokyoWhenThereIsNoSettingsFile();
    void damagedIconKeepsTheBuiltInOne_data();
    void damagedIconKeepsTheBuiltInOne();
    void dialPictureComesFromTheWorkingFolder();
    void damagedPictureLeavesTheBoxEmpty();
    void savedSettingsArePutOnTheWindow();
    void damagedSettingsLeaveTheWindowAsLaidOut();
    void handsPivotOnTheDialCentres();
    void dialsRunFromTheClock();
    void choosingACityNamesDialB();
    void choosingTheSameCityAgainDropsSummerTime();
    void tickRepaintsOnlyWhatMoved();
    void labelsPictureAndListKeepTheMouse();
    void closeBoxClosesTheOtherWindows();

private:
    std::unique_ptr<MainForm> start();
    std::unique_ptr<WorkingFolder> m_folder;
};

void TestApp::initTestCase()
{
    Fonts::install();
}

void TestApp::init()
{
    HourOffsetA = 0;
    HourOffsetB = 0;
    m_folder = std::make_unique<WorkingFolder>();
    VERIFY_FOLDER(*m_folder);
    QVERIFY(m_folder->copyIn(QStringLiteral(":/icon/ico.ico"), IconFile));
}

void TestApp::cleanup()
{
    m_folder.reset();
    QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty());
}

std::unique_ptr<MainForm> TestApp::start()
{
    auto mainForm = std::make_unique<MainForm>(m_folder->dir());
    mainForm->Form_Load();
    return mainForm;
}

void TestApp::opensWithItsDesignedLook()
{
    QTest::failOnWarning(QRegularExpression(QStringLiteral("^(ico\\.ico|mainImage\\.bmp)")));
    const auto mainForm = start();
    QCOMPARE(mainForm->objectName(), QStringLiteral("mainForm"));
    QCOMPARE(mainForm->windowTitle(), QStringLiteral("++ Pelkin Horavista ++"));
    QVERIFY(!mainForm->windowIcon().isNull());
    const int pt = mainForm->pixelTwips();
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

    FIND_CONTROL(tagA, QLabel, mainForm.get(), "Label13");
    QCOMPARE(tagA->text(), QStringLiteral("Summer+Time"));
    QCOMPARE(tagA->palette().color(QPalette::Window), QColor(255, 0, 0));
    QCOMPARE(tagA->palette().color(QPalette::WindowText), QColor(255, 255, 255));
    // Drawn red, not in the surface's own background colour.
    const QImage tagShown = tagA->grab().toImage();
    QCOMPARE(tagShown.pixelColor(tagShown.width() - 2, tagShown.height() - 2), QColor(255, 0, 0));
    FIND_CONTROL(twelve, QLabel, mainForm.get(), "Label7");
    QCOMPARE(twelve->text(), QStringLiteral("12"));
    QCOMPARE(twelve->geometry().topLeft(), QPoint(4890 / pt, 1980 / pt));
    FIND_CONTROL(list, QComboBox, mainForm.get(), "Combo1");
    QCOMPARE(list->geometry(), QRect(120 / pt, 3720 / pt, 5775 / pt, 345 / pt));
    QVERIFY(!list->isEditable());
    FIND_CONTROL(picture, PictureBox, mainForm.get(), "Picture1");
    QCOMPARE(picture->geometry(), QRect(1860 / pt, 825 / pt, 2220 / pt, 2235 / pt));
    QVERIFY(!picture->hasPicture());

    mainForm->show();
    QVERIFY(QTest::qWaitForWindowExposed(mainForm.get()));
    QCOMPARE(mainForm->size(), mainForm->minimumSize()); // fixed: not resizable
    QCOMPARE(mainForm->size(), mainForm->maximumSize());
}

void TestApp::startsWithTokyoWhenThereIsNoSettingsFile()
{
    HourOffsetA = 5;
    HourOffsetB = 5;
    const auto mainForm = start();
    FIND_CONTROL(cityA, QLabel, mainForm.get(), "Label1");
    FIND_CONTROL(cityB, QLabel, mainForm.get(), "Label2");
    FIND_CONTROL(tagA, QLabel, mainForm.get(), "Label13");
    FIND_CONTROL(tagB, QLabel, mainForm.get(), "Label14");
    FIND_CONTROL(list, QComboBox, mainForm.get(), "Combo1");
    QCOMPARE(cityA->text(), QStringLiteral("Tokyo"));
    QCOMPARE(cityB->text(), QStringLiteral("Tokyo"));
    QVERIFY(tagA->isHidden());
    QVERIFY(tagB->isHidden());
    QCOMPARE(list->count(), 36);
    QCOMPARE(list->currentIndex(), 0);
    QCOMPARE(HourOffsetA, 0);
    QCOMPARE(HourOffsetB, 0);
    QVERIFY(!QFile::exists(m_folder->path(SettingsFile)));
}

void TestApp::damagedIconKeepsTheBuiltInOne_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("warning");
    QTest::newRow("missing") << QByteArray() << QStringLiteral("ico.ico: file not found; using the built-in icon");
    QTest::newRow("not a picture") << QByteArray("not an icon at all")
                                   << QStringLiteral("ico.ico: .*; using the built-in icon");
}

void TestApp::damagedIconKeepsTheBuiltInOne()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, warning);
    QVERIFY(QFile::remove(m_folder->path(IconFile)));
    if (!bytes.isEmpty())
        QVERIFY(m_folder->write(IconFile, bytes));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QLatin1Char('^') + warning + QLatin1Char('$')));
    const auto mainForm = start();
    QVERIFY(!mainForm->windowIcon().isNull());
    FIND_CONTROL(cityB, QLabel, mainForm.get(), "Label2");
    QCOMPARE(cityB->text(), QStringLiteral("Tokyo")); // start-up went on
}

void TestApp::dialPictureComesFromTheWorkingFolder()
{
    QVERIFY(testPicture().save(m_folder->path(PictureFile), "BMP"));
    const auto mainForm = start();
    FIND_CONTROL(picture, PictureBox, mainForm.get(), "Picture1");
    QCOMPARE(picture->picture().convertToFormat(QImage::Format_RGB32), testPicture());
}

void TestApp::damagedPictureLeavesTheBoxEmpty()
{
    QVERIFY(m_folder->write(PictureFile, QByteArray("BM") + QByteArray(60, '\0')));
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral("^mainImage\\.bmp: .*; the picture box stays empty$")));
    const auto mainForm = start();
    FIND_CONTROL(picture, PictureBox, mainForm.get(), "Picture1");
    QVERIFY(!picture->hasPicture());

    // A folder of that name is not a picture file at all: nothing to report.
    QVERIFY(QFile::remove(m_folder->path(PictureFile)));
    QVERIFY(m_folder->dir().mkdir(PictureFile));
    QTest::failOnWarning(QRegularExpression(QStringLiteral("mainImage")));
    const auto again = start();
    FIND_CONTROL(emptyBox, PictureBox, again.get(), "Picture1");
    QVERIFY(!emptyBox->hasPicture());
}

void TestApp::savedSettingsArePutOnTheWindow()
{
    QVERIFY(m_folder->write(SettingsFile, "-13,\"New York\",2,\"Sydney\",#TRUE#,#TRUE#\r\n"));
    const auto mainForm = start();
    FIND_CONTROL(cityA, QLabel, mainForm.get(), "Label1");
    FIND_CONTROL(cityB, QLabel, mainForm.get(), "Label2");
    FIND_CONTROL(tagA, QLabel, mainForm.get(), "Label13");
    FIND_CONTROL(tagB, QLabel, mainForm.get(), "Label14");
    FIND_CONTROL(list, QComboBox, mainForm.get(), "Combo1");
    QCOMPARE(cityA->text(), QStringLiteral("New York"));
    QCOMPARE(cityB->text(), QStringLiteral("Sydney"));
    QCOMPARE(list->currentText(), QStringLiteral("Sydney"));
    QVERIFY(!tagA->isHidden());
    QVERIFY(!tagB->isHidden());
    QCOMPARE(HourOffsetA, -13);
    QCOMPARE(HourOffsetB, 2);
}

void TestApp::damagedSettingsLeaveTheWindowAsLaidOut()
{
    QVERIFY(m_folder->write(SettingsFile, "-13,\"New York\",2,\"Atlantis\",#TRUE#,#TRUE#\r\n"));
    const auto mainForm = start();
    FIND_CONTROL(cityA, QLabel, mainForm.get(), "Label1");
    FIND_CONTROL(cityB, QLabel, mainForm.get(), "Label2");
    FIND_CONTROL(tagA, QLabel, mainForm.get(), "Label13");
    FIND_CONTROL(list, QComboBox, mainForm.get(), "Combo1");
    QVERIFY(cityA->text().isEmpty());
    QVERIFY(cityB->text().isEmpty());
    QVERIFY(tagA->isHidden());
    QCOMPARE(list->currentIndex(), -1);
    QCOMPARE(HourOffsetA, 0);
    QCOMPARE(HourOffsetB, 0);
}

void TestApp::handsPivotOnTheDialCentres()
{
    const auto mainForm = start();
    QCOMPARE(mainForm->pixelTwips(), 15); // the offscreen screen has 96 dots per inch
    for (const char *name : {"Line1", "Line2", "Line3"}) {
        FIND_CONTROL(hand, HandLine, mainForm.get(), name);
        COMPARE_TWIPS(hand->start(), QPointF(915, 915));
    }
    for (const char *name : {"Line4", "Line5", "Line6"}) {
        FIND_CONTROL(hand, HandLine, mainForm.get(), name);
        COMPARE_TWIPS(hand->start(), QPointF(5025, 2725));
    }
    // Until the first tick the free ends stay where they were designed.
    FIND_CONTROL(secondA, HandLine, mainForm.get(), "Line1");
    COMPARE_TWIPS(secondA->end(), QPointF(600, 1200));
    FIND_CONTROL(hourB, HandLine, mainForm.get(), "Line6");
    COMPARE_TWIPS(hourB->end(), QPointF(5400, 2520));
}

void TestApp::dialsRunFromTheClock()
{
    FixedClock clock(QDateTime(QDate(2026, 12, 6), QTime(9, 30, 45)));
    QVERIFY(m_folder->write(SettingsFile, "0,\"Tokyo\",-19,\"Honolulu\",#FALSE#,#FALSE#\r\n"));
    const auto mainForm = start();
    mainForm->show();
    FIND_CONTROL(timeA, QLabel, mainForm.get(), "Label11");
    FIND_CONTROL(timeB, QLabel, mainForm.get(), "Label12");
    QTRY_COMPARE_WITH_TIMEOUT(timeA->text(), QStringLiteral("09:30:45"), 2000); // the window's own timer
    QCOMPARE(timeB->text(), QStringLiteral("14:30:45"));
    FIND_CONTROL(hourA, HandLine, mainForm.get(), "Line3");
    COMPARE_TWIPS(hourA->end(), QPointF(580.73, 829.65));
    FIND_CONTROL(minuteB, HandLine, mainForm.get(), "Line5");
    COMPARE_TWIPS(minuteB->end(), QPointF(5025, 3190));
}

void TestApp::choosingACityNamesDialB()
{
    FixedClock clock(QDateTime(QDate(2026, 12, 6), QTime(10, 0, 0)));
    const auto mainForm = start();
    mainForm->show();
    QVERIFY(QTest::qWaitForWindowExposed(mainForm.get()));
    FIND_CONTROL(list, QComboBox, mainForm.get(), "Combo1");
    FIND_CONTROL(cityB, QLabel, mainForm.get(), "Label2");
    FIND_CONTROL(cityA, QLabel, mainForm.get(), "Label1");
    list->setFocus();
    QTest::keyClick(list, Qt::Key_End); // the last city, by the keyboard
    QCOMPARE(cityB->text(), QStringLiteral("Zurich"));
    QCOMPARE(HourOffsetB, -8);
    QCOMPARE(cityA->text(), QStringLiteral("Tokyo"));
    QCOMPARE(HourOffsetA, 0);

    mainForm->dials().tick();
    FIND_CONTROL(timeB, QLabel, mainForm.get(), "Label12");
    QCOMPARE(timeB->text(), QStringLiteral("02:00:00"));
    QVERIFY(!QFile::exists(m_folder->path(SettingsFile))); // a choice in the list is not saved
}

void TestApp::choosingTheSameCityAgainDropsSummerTime()
{
    QVERIFY(m_folder->write(SettingsFile, "0,\"Tokyo\",2,\"Sydney\",#FALSE#,#TRUE#\r\n"));
    const auto mainForm = start();
    mainForm->show();
    QVERIFY(QTest::qWaitForWindowExposed(mainForm.get()));
    FIND_CONTROL(list, QComboBox, mainForm.get(), "Combo1");
    FIND_CONTROL(tagB, QLabel, mainForm.get(), "Label14");
    QVERIFY(tagB->isVisible());
    QCOMPARE(HourOffsetB, 2);

    list->showPopup();
    QVERIFY(QApplication::activePopupWidget());
    QTest::keyClick(list->view(), Qt::Key_Return); // Sydney is still the selected entry
    QTRY_VERIFY(!QApplication::activePopupWidget());
    QCOMPARE(list->currentText(), QStringLiteral("Sydney"));
    QVERIFY(tagB->isHidden());
    QCOMPARE(HourOffsetB, 1);
}

void TestApp::tickRepaintsOnlyWhatMoved()
{
    FixedClock clock(QDateTime(QDate(2026, 12, 6), QTime(10, 0, 0)));
    const auto mainForm = start();
    mainForm->show();
    QVERIFY(QTest::qWaitForWindowExposed(mainForm.get()));
    mainForm->dials().tick();
    QCoreApplication::processEvents();

    QWidget *surface = mainForm->centralWidget();
    PaintRecorder recorder;
    surface->installEventFilter(&recorder);
    clock.advance(1);
    mainForm->dials().tick();
    QTRY_VERIFY(!recorder.painted.isEmpty());
    QCoreApplication::processEvents();

    const int pt = mainForm->pixelTwips();
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

void TestApp::labelsPictureAndListKeepTheMouse()
{
    const auto mainForm = start();
    mainForm->show();
    QVERIFY(QTest::qWaitForWindowExposed(mainForm.get()));
    QWidget *surface = mainForm->centralWidget();
    int pressesOnSurface = 0;
    struct Counter : QObject
    {
        int *count;
        explicit Counter(int *c)
            : count(c)
        { }
        bool eventFilter(QObject *, QEvent *event) override
        {
            if (event->type() == QEvent::MouseButtonPress)
                ++*count;
            return false;
        }
    } counter(&pressesOnSurface);
    surface->installEventFilter(&counter);
    for (const char *name : {"Label1", "Label3", "Label11", "Label14"}) {
        FIND_CONTROL(label, QLabel, mainForm.get(), name);
        label->show();
        QTest::mouseClick(label, Qt::LeftButton);
        QTest::mouseClick(label, Qt::RightButton);
    }
    FIND_CONTROL(picture, PictureBox, mainForm.get(), "Picture1");
    QTest::mouseClick(picture, Qt::RightButton);
    QCOMPARE(pressesOnSurface, 0);
    QTest::mouseClick(surface, Qt::LeftButton, {}, QPoint(200, 10)); // the bare surface does get it
    QCOMPARE(pressesOnSurface, 1);
}

void TestApp::closeBoxClosesTheOtherWindows()
{
    const auto mainForm = start();
    mainForm->show();
    QWidget menuCarrier;
    menuCarrier.setObjectName(QStringLiteral("callMenu"));
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

QTEST_MAIN(TestApp)
#include "tst_app.moc"
