#include "platform/formpainting.h"
#include "platform/picturebox.h"
#include "platform/picturefile.h"
#include "platform/twips.h"
#include "testsupport.h"

#include <QPainter>

using namespace Qt::StringLiterals;

class TestPlatform : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void twipsAndTheirPixels()
    {
        // Halves go to the even neighbour: 7.5 and 12.5 twips a pixel at 192 and 115.2 dpi. 4305 / 12 = 358.75
        // and 1455 / 12 = 121.25: each value on its own to the nearest pixel.
        QCOMPARE(join(Twips::roundHalfEven(-1.5), Twips::pixelTwips(96), Twips::pixelTwips(192),
                      Twips::pixelTwips(115.2), Twips::pixelTwips(0),
                      Twips::toPixels(QRect(4305, 1335, 1455, 255), 12)),
                 u"-2 15 8 12 15 QRect(359,111 121x21)"_s);
        // Repainting a hand's bounds erases every pixel that drawing it touched, and not much more.
        QImage blank(100, 100, QImage::Format_RGB32);
        blank.fill(Qt::white);
        for (const QPointF &end : {QPointF(580.73, 829.65), QPointF(1247.5, 1247.5), QPointF(915, 405)}) {
            const QRect bounds = FormPainting::lineBounds(QPointF(915, 915), end, 15);
            QImage canvas = blank;
            QPainter painter(&canvas);
            FormPainting::paintLine(painter, QPointF(915, 915), end, Qt::black, 15);
            QVERIFY(canvas.pixelColor(61, 61) == Qt::black);
            painter.fillRect(bounds, Qt::white);
            painter.end();
            QVERIFY(canvas == blank && bounds.width() * bounds.height() < 40 * 40);
        }
    }

    void iconKeepsOneImageOfEachSizeTheLaterOne()
    {
        const QIcon icon = PictureFile::readIcon(u":/data/sizes.ico"_s);
        QCOMPARE(join(icon.availableSizes(), icon.pixmap(16).toImage().pixelColor(8, 8).name(),
                      icon.pixmap(32).toImage().pixelColor(8, 8).name(), PictureFile::builtInIcon().availableSizes()),
                 u"QList(QSize(16, 16), QSize(32, 32)) #ff0000 #0000ff QList(QSize(32, 32))"_s);
    }

    void pictureBoxShowsNaturalSizeFromTheCorner()
    {
        QImage picture(30, 5, QImage::Format_RGB32);
        picture.fill(Qt::red);
        PictureBox box(nullptr, PictureBox::Border::None);
        box.resize(20, 10);
        box.setPicture(picture);
        const QImage shown = box.grab().toImage();
        box.clearPicture();
        // Cut off at the box's edge, not shrunk nor centred; the background below it, and everywhere once cleared.
        const QColor background = box.palette().color(QPalette::Base);
        QCOMPARE(join(shown.pixelColor(0, 0).name(), shown.pixelColor(19, 4).name(),
                      shown.pixelColor(0, 5) == background, box.grab().toImage().pixelColor(0, 0) == background),
                 u"#ff0000 #ff0000 true true"_s);
    }
};

QTEST_MAIN(TestPlatform)
#include "tst_platform.moc"
