#include "platform/formcontrols.h"
#include "platform/formpainting.h"
#include "platform/messagebox.h"
#include "platform/picturebox.h"
#include "platform/picturefile.h"
#include "platform/twips.h"
#include "testsupport.h"

#include <QComboBox>
#include <QImageReader>
#include <QMessageBox>
#include <QPainter>
#include <QTimer>

class TestPlatform : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty()); }

    void roundingGoesHalfToEven_data()
    {
        QTest::addColumn<int>("got");
        QTest::addColumn<int>("want");
        QTest::newRow("0.5") << Twips::roundHalfEven(0.5) << 0;
        QTest::newRow("2.5") << Twips::roundHalfEven(2.5) << 2;
        QTest::newRow("-1.5") << Twips::roundHalfEven(-1.5) << -2;
        QTest::newRow("just over a half") << Twips::roundHalfEven(2.5000001) << 3;
        QTest::newRow("twips a pixel at 96 dpi") << Twips::pixelTwips(96) << 15;
        QTest::newRow("at 192 dpi, 7.5") << Twips::pixelTwips(192) << 8;
        QTest::newRow("at 115.2 dpi, 12.5") << Twips::pixelTwips(115.2) << 12;
        QTest::newRow("with no reading") << Twips::pixelTwips(0) << 15;
    }

    void roundingGoesHalfToEven()
    {
        QFETCH(int, got);
        QFETCH(int, want);
        QCOMPARE(got, want);
    }

    void twipsBecomePixels()
    {
        // 4305 / 12 = 358.75 and 1455 / 12 = 121.25: each value on its own to the nearest pixel.
        QCOMPARE(Twips::toPixels(QRect(4305, 1335, 1455, 255), 12), QRect(359, 111, 121, 21));
        // Repainting a hand's bounds erases every pixel that drawing it touched, and not much more.
        QImage blank(100, 100, QImage::Format_RGB32);
        blank.fill(Qt::white);
        for (const QPointF &end : {QPointF(580.73, 829.65), QPointF(1247.5, 1247.5), QPointF(915, 405)}) {
            const QRect bounds = FormPainting::lineBounds(QPointF(915, 915), end, 15);
            QImage canvas = blank;
            QPainter painter(&canvas);
            FormPainting::paintLine(painter, QPointF(915, 915), end, Qt::black, 15);
            painter.fillRect(bounds, Qt::white);
            painter.end();
            QCOMPARE(canvas, blank);
            QVERIFY(bounds.width() * bounds.height() < 40 * 40);
        }
    }

    void listEntriesMatchExactlyAndCodeSelectionRunsTheHandler()
    {
        QComboBox list;
        list.addItems({QStringLiteral("Tokyo"), QStringLiteral("Chicago "), QStringLiteral("New York")});
        QCOMPARE(FormControls::findListEntry(&list, QStringLiteral("Chicago ")), 1);
        QCOMPARE(FormControls::findListEntry(&list, QStringLiteral("Chicago")), -1);
        QCOMPARE(FormControls::findListEntry(&list, QStringLiteral("new york")), -1);
        QStringList seen;
        const auto handler = [&] {
            seen << list.currentText();
        };
        FormControls::selectListEntry(&list, 2, handler);
        FormControls::selectListEntry(&list, 2, handler); // the same entry again still counts as a choice
        QCOMPARE(seen, (QStringList{QStringLiteral("New York"), QStringLiteral("New York")}));
    }

    void pictureReadFailuresSayWhy()
    {
        WorkingFolder folder;
        VERIFY_FOLDER(folder);
        QVERIFY(folder.dir().mkdir(QStringLiteral("folder.bmp")));
        QVERIFY(folder.write(QStringLiteral("junk.bmp"), "BM this is not a bitmap"));
        const QList<std::pair<const char *, QString>> failures{{"absent.bmp", QStringLiteral("file not found")},
                                                               {"folder.bmp", QStringLiteral("not a file")},
                                                               {"junk.bmp", QString()}};
        for (const auto &[name, reason] : failures) {
            QString error;
            QVERIFY(PictureFile::read(folder.path(QString::fromLatin1(name)), &error).isNull());
            QVERIFY2(reason.isEmpty() ? !error.isEmpty() : error == reason, qPrintable(error));
        }
    }

    void iconKeepsTheDeeperImageOfEachSize()
    {
        // The built-in icon holds a 16-colour and a true-colour image of 32 x 32 pixels.
        const QIcon icon = PictureFile::builtInIcon();
        QCOMPARE(icon.availableSizes(), QList<QSize>{QSize(32, 32)});
        QImageReader reader(QStringLiteral(":/icon/ico.ico"));
        QVERIFY(reader.jumpToImage(1));
        QCOMPARE(icon.pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32),
                 reader.read().convertToFormat(QImage::Format_ARGB32));
    }

    void pictureBoxShowsNaturalSizeFromTheCorner()
    {
        QImage picture(30, 5, QImage::Format_RGB32);
        picture.fill(Qt::red);
        picture.setPixelColor(0, 0, Qt::blue);
        PictureBox box(nullptr, PictureBox::Border::None);
        box.resize(20, 10);
        box.setPicture(picture);
        const QImage shown = box.grab().toImage();
        QCOMPARE(shown.pixelColor(0, 0), QColor(Qt::blue));
        QCOMPARE(shown.pixelColor(19, 4), QColor(Qt::red)); // cut off at the box's edge, not shrunk
        QCOMPARE(shown.pixelColor(0, 5), box.palette().color(QPalette::Base));
        box.clearPicture();
        QCOMPARE(box.grab().toImage().pixelColor(0, 0), box.palette().color(QPalette::Base));

        PictureBox framed; // the picture starts inside the border
        framed.resize(20, 10);
        framed.setPicture(picture);
        QCOMPARE(framed.grab().toImage().pixelColor(framed.contentsRect().topLeft()), QColor(Qt::blue));
    }

    void messageBoxHasOneOkAndTheProgramsCaption()
    {
        QStringList seen;
        QTimer::singleShot(0, this, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            seen << box->windowTitle() << box->text() << QString::number(box->buttons().size());
            QTest::keyClick(box, Qt::Key_Return);
        });
        MessageBox::show(nullptr, QStringLiteral("設定ファイルに書き込みができません"));
        QCOMPARE(seen,
                 (QStringList{QStringLiteral("Horavista"), QStringLiteral("設定ファイルに書き込みができません"),
                              QStringLiteral("1")}));
    }
};

QTEST_MAIN(TestPlatform)
#include "tst_platform.moc"
