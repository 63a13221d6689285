#include "platform/formcontrols.h"
#include "platform/formpainting.h"
#include "platform/picturebox.h"
#include "platform/picturefile.h"
#include "platform/twips.h"
#include "testsupport.h"

#include <QComboBox>
#include <QPainter>
#include <QtEndian>

namespace {

/** An icon file of 32-bit images, each filled with one colour, in the order given. */
QByteArray iconFile(const QList<std::pair<int, QRgb>> &images)
{
    const auto le = [](quint32 value, int bytes) {
        QByteArray out(bytes, '\0');
        for (int i = 0; i < bytes; ++i)
            out[i] = char(value >> (8 * i));
        return out;
    };
    QByteArray directory = le(0, 2) + le(1, 2) + le(quint32(images.size()), 2);
    QByteArray data;
    for (const auto &[size, colour] : images) {
        const int maskRow = (size + 31) / 32 * 4;
        QByteArray image = le(40, 4) + le(size, 4) + le(2 * size, 4) + le(1, 2) + le(32, 2) + le(0, 4) +
            le(quint32(size * size * 4 + maskRow * size), 4) + QByteArray(16, '\0');
        image += le(colour, 4).repeated(size * size) + QByteArray(maskRow * size, '\0');
        const quint32 offset = quint32(6 + 16 * images.size() + data.size());
        directory += le(quint32(size), 1) + le(quint32(size), 1) + le(0, 2) + le(1, 2) + le(32, 2) +
            le(quint32(image.size()), 4) + le(offset, 4);
        data += image;
    }
    return directory + data;
}

} // namespace

class TestPlatform : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty()); }

    void roundingGoesHalfToEven()
    {
        QCOMPARE(Twips::roundHalfEven(-1.5), -2);
        QCOMPARE(Twips::pixelTwips(96), 15);
        QCOMPARE(Twips::pixelTwips(192), 8); // 7.5
        QCOMPARE(Twips::pixelTwips(115.2), 12); // 12.5
        QCOMPARE(Twips::pixelTwips(0), 15); // no reading
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
            QVERIFY(canvas != blank);
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

    void iconKeepsOneImageOfEachSizeTheLaterOne()
    {
        WorkingFolder folder;
        VERIFY_FOLDER(folder);
        QVERIFY(
            folder.write(QStringLiteral("ico.ico"), iconFile({{16, 0xffff0000}, {32, 0xff00ff00}, {32, 0xff0000ff}})));
        const QIcon icon = PictureFile::readIcon(folder.path(QStringLiteral("ico.ico")));
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
