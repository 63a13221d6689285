#include "platform/formcontrols.h"
#include "platform/formpainting.h"
#include "platform/picturebox.h"
#include "platform/picturefile.h"
#include "platform/twips.h"
#include "testsupport.h"

#include <QPainter>

class TestPlatform : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void twipsAndTheirPixels()
    {
        // Halves go to the even neighbour: 7.5 and 12.5 twips a pixel at 192 and 115.2 dpi.
        QCOMPARE(QList<int>({Twips::roundHalfEven(-1.5), Twips::pixelTwips(96), Twips::pixelTwips(192),
                             Twips::pixelTwips(115.2), Twips::pixelTwips(0)}),
                 QList<int>({-2, 15, 8, 12, 15}));
        // 4305 / 12 = 358.75 and 1455 / 12 = 121.25: each value on its own to the nearest pixel.
        QCOMPARE(Twips::toPixels(QRect(4305, 1335, 1455, 255), 12), QRect(359, 111, 121, 21));
        // Repainting a hand's bounds erases every pixel that drawing it touched, and not much more.
        for (const QPointF &end : {QPointF(580.73, 829.65), QPointF(1247.5, 1247.5), QPointF(915, 405)}) {
            const QRect bounds = FormPainting::lineBounds(QPointF(915, 915), end, 15);
            QImage canvas(100, 100, QImage::Format_RGB32);
            canvas.fill(Qt::white);
            QPainter painter(&canvas);
            FormPainting::paintLine(painter, QPointF(915, 915), end, Qt::black, 15);
            QVERIFY(canvas.pixelColor(61, 61) == Qt::black);
            painter.fillRect(bounds, Qt::white);
            painter.end();
            QVERIFY(std::all_of(canvas.constBits(), canvas.constBits() + canvas.sizeInBytes(),
                                [](uchar byte) { return byte == 0xff; }));
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
        FormControls::selectListEntry(&list, 2, [&] { seen << list.currentText(); });
        FormControls::selectListEntry(&list, 2, [&] { seen << list.currentText(); }); // the same entry still counts
        QCOMPARE(seen, (QStringList{QStringLiteral("New York"), QStringLiteral("New York")}));
    }

    void iconKeepsOneImageOfEachSizeTheLaterOne()
    {
        const QIcon icon = PictureFile::readIcon(QStringLiteral(":/data/sizes.ico"));
        QCOMPARE(icon.availableSizes(), (QList<QSize>{QSize(16, 16), QSize(32, 32)}));
        QCOMPARE(icon.pixmap(16, 16).toImage().pixelColor(8, 8), QColor(Qt::red));
        QCOMPARE(icon.pixmap(32, 32).toImage().pixelColor(8, 8), QColor(Qt::blue));
        QCOMPARE(PictureFile::builtInIcon().availableSizes(), QList<QSize>{QSize(32, 32)});
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
    }
};

QTEST_MAIN(TestPlatform)
#include "tst_platform.moc"
