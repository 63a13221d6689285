#include "platform/fonts.h"
#include "platform/formcontrols.h"
#include "platform/formpainting.h"
#include "platform/messagebox.h"
#include "platform/picturebox.h"
#include "platform/picturefile.h"
#include "platform/twips.h"
#include "testsupport.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QImageReader>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

class TestPlatform : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();

    void roundHalfEven_data();
    void roundHalfEven();
    void pixelTwips_data();
    void pixelTwips();
    void twipRectanglesBecomePixels();
    void lineBoundsCoverTheWholeStroke();

    void listEntriesMatchExactly();
    void selectingFromCodeRunsTheClickHandlerEveryTime();

    void pictureReadFailuresSayWhy();
    void iconKeepsTheDeeperImageOfEachSize();
    void pictureBoxShowsNaturalSizeFromTheCorner();

    void messageBoxHasOneOkAndTheProgramsCaption();
    void designFontsHaveInstalledStandIns();
};

void TestPlatform::initTestCase()
{
    Fonts::install();
}

void TestPlatform::cleanup()
{
    QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty());
}

void TestPlatform::roundHalfEven_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("rounded");
    QTest::newRow("half down to even") << 0.5 << 0;
    QTest::newRow("half up to even") << 1.5 << 2;
    QTest::newRow("2.5") << 2.5 << 2;
    QTest::newRow("negative half") << -0.5 << 0;
    QTest::newRow("-1.5") << -1.5 << -2;
    QTest::newRow("just over a half") << 2.5000001 << 3;
    QTest::newRow("whole") << 267.0 << 267;
}

void TestPlatform::roundHalfEven()
{
    QFETCH(double, value);
    QFETCH(int, rounded);
    QCOMPARE(Twips::roundHalfEven(value), rounded);
}

void TestPlatform::pixelTwips_data()
{
    QTest::addColumn<double>("dpi");
    QTest::addColumn<int>("twips");
    QTest::newRow("96 dpi") << 96.0 << 15;
    QTest::newRow("120 dpi") << 120.0 << 12;
    QTest::newRow("144 dpi") << 144.0 << 10;
    QTest::newRow("192 dpi, 7.5 to even") << 192.0 << 8;
    QTest::newRow("115.2 dpi, 12.5 to even") << 115.2 << 12;
    QTest::newRow("72 dpi") << 72.0 << 20;
    QTest::newRow("no reading") << 0.0 << 15;
}

void TestPlatform::pixelTwips()
{
    QFETCH(double, dpi);
    QFETCH(int, twips);
    QCOMPARE(Twips::pixelTwips(dpi), twips);
}

void TestPlatform::twipRectanglesBecomePixels()
{
    QCOMPARE(Twips::toPixels(QRect(0, 0, 6000, 4200), 15), QRect(0, 0, 400, 280));
    QCOMPARE(Twips::toPixels(QRect(1860, 825, 2220, 2235), 15), QRect(124, 55, 148, 149));
    // 1455 / 12 = 121.25 and 4305 / 12 = 358.75: each value on its own to the nearest pixel.
    QCOMPARE(Twips::toPixels(QRect(4305, 1335, 1455, 255), 12), QRect(359, 111, 121, 21));
    QCOMPARE(Twips::toPixels(QRect(0, 0, 6000, 4200), 12), QRect(0, 0, 500, 350));
}

void TestPlatform::lineBoundsCoverTheWholeStroke()
{
    const QRect bounds = FormPainting::lineBounds(QPointF(915, 915), QPointF(580.73, 829.65), 15);
    // The line runs from pixel (61, 61) to about (38.7, 55.3) and is two pixels wide.
    QVERIFY(bounds.contains(QPoint(61, 61)));
    QVERIFY(bounds.contains(QPoint(38, 55)));
    QVERIFY(bounds.contains(QPoint(62, 62)));
    QVERIFY(bounds.contains(QPoint(37, 54)));
    QVERIFY(bounds.width() < 30 && bounds.height() < 12);
}

void TestPlatform::listEntriesMatchExactly()
{
    QComboBox list;
    list.addItems({QStringLiteral("Tokyo"), QStringLiteral("Chicago "), QStringLiteral("New York")});
    QCOMPARE(FormControls::findListEntry(&list, QStringLiteral("Chicago ")), 1);
    QCOMPARE(FormControls::findListEntry(&list, QStringLiteral("Chicago")), -1);
    QCOMPARE(FormControls::findListEntry(&list, QStringLiteral("new york")), -1);
    QCOMPARE(FormControls::findListEntry(&list, QString()), -1);
}

void TestPlatform::selectingFromCodeRunsTheClickHandlerEveryTime()
{
    QComboBox list;
    list.addItems({QStringLiteral("Tokyo"), QStringLiteral("Seoul")});
    QStringList seen;
    const auto handler = [&] {
        seen << list.currentText();
    };
    FormControls::selectListEntry(&list, 1, handler);
    FormControls::selectListEntry(&list, 1, handler); // the same entry again still counts as a choice
    QCOMPARE(seen, (QStringList{QStringLiteral("Seoul"), QStringLiteral("Seoul")}));
}

void TestPlatform::pictureReadFailuresSayWhy()
{
    WorkingFolder folder;
    VERIFY_FOLDER(folder);
    QString error;
    QVERIFY(PictureFile::read(folder.path(QStringLiteral("absent.bmp")), &error).isNull());
    QCOMPARE(error, QStringLiteral("file not found"));

    QVERIFY(folder.dir().mkdir(QStringLiteral("folder.bmp")));
    QVERIFY(PictureFile::read(folder.path(QStringLiteral("folder.bmp")), &error).isNull());
    QCOMPARE(error, QStringLiteral("not a file"));

    QVERIFY(folder.write(QStringLiteral("junk.bmp"), "BM this is not a bitmap"));
    error.clear();
    QVERIFY(PictureFile::read(folder.path(QStringLiteral("junk.bmp")), &error).isNull());
    QVERIFY(!error.isEmpty());
    QVERIFY(PictureFile::readIcon(folder.path(QStringLiteral("junk.bmp")), &error).isNull());

    QImage picture(148, 141, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    QVERIFY(picture.save(folder.path(QStringLiteral("good.bmp")), "BMP"));
    QCOMPARE(PictureFile::read(folder.path(QStringLiteral("good.bmp"))).size(), QSize(148, 141));
}

void TestPlatform::iconKeepsTheDeeperImageOfEachSize()
{
    // The built-in icon holds a 16-colour and a true-colour image of 32 x 32 pixels.
    const QIcon icon = PictureFile::builtInIcon();
    QVERIFY(!icon.isNull());
    QCOMPARE(icon.availableSizes(), QList<QSize>{QSize(32, 32)});
    const QImage shown = icon.pixmap(32, 32).toImage();
    QImageReader reader(QStringLiteral(":/icon/ico.ico"));
    QVERIFY(reader.jumpToImage(1));
    QCOMPARE(shown.convertToFormat(QImage::Format_ARGB32), reader.read().convertToFormat(QImage::Format_ARGB32));
}

void TestPlatform::pictureBoxShowsNaturalSizeFromTheCorner()
{
    PictureBox box(nullptr, PictureBox::Border::None);
    box.resize(20, 10);
    QImage picture(30, 5, QImage::Format_RGB32);
    picture.fill(Qt::red);
    box.setPicture(picture);
    const QImage shown = box.grab().toImage();
    QCOMPARE(shown.pixelColor(0, 0), QColor(Qt::red));
    QCOMPARE(shown.pixelColor(19, 4), QColor(Qt::red)); // cut off at the box's edge, not shrunk
    QCOMPARE(shown.pixelColor(0, 5), box.palette().color(QPalette::Base));

    box.clearPicture();
    QCOMPARE(box.grab().toImage().pixelColor(0, 0), box.palette().color(QPalette::Base));

    PictureBox framed;
    framed.resize(20, 10);
    framed.setPicture(picture);
    const QImage inside = framed.grab().toImage();
    QCOMPARE(inside.pixelColor(framed.contentsRect().topLeft()), QColor(Qt::red));
    QVERIFY(inside.pixelColor(0, 0) != QColor(Qt::red));
}

void TestPlatform::messageBoxHasOneOkAndTheProgramsCaption()
{
    QString caption;
    QString text;
    int buttons = 0;
    QTimer::singleShot(0, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        caption = box->windowTitle();
        text = box->text();
        buttons = int(box->buttons().size());
        QTest::keyClick(box, Qt::Key_Return);
    });
    MessageBox::show(nullptr, QStringLiteral("設定ファイルに書き込みができません"));
    QCOMPARE(caption, QStringLiteral("Horavista"));
    QCOMPARE(text, QStringLiteral("設定ファイルに書き込みができません"));
    QCOMPARE(buttons, 1);
}

void TestPlatform::designFontsHaveInstalledStandIns()
{
    if (!QFontDatabase::families().contains(QStringLiteral("IPAPGothic")))
        QSKIP("the IPA Gothic fonts are not installed");
    const QFontInfo japanese(Fonts::font(Fonts::japaneseGothic(), 9));
    QVERIFY2(japanese.family().startsWith(QStringLiteral("IPA")), qPrintable(japanese.family()));
    QCOMPARE(japanese.pointSizeF(), 9.0);
    const QFontInfo latin(Fonts::font(Fonts::sansSerif(), 8.25));
    QVERIFY2(latin.family() != Fonts::sansSerif() || QFontDatabase::families().contains(Fonts::sansSerif()),
             qPrintable(latin.family()));
}

QTEST_MAIN(TestPlatform)
#include "tst_platform.moc"
