#include "imaging/picturefile.h"
#include "platform/zlibstream.h"
#include "testsupport.h"

using namespace Qt::StringLiterals;

class TestImaging : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void iconKeepsOneImageOfEachSizeTheLaterOne()
    {
        const QIcon icon = PictureFile::readIcon(u":/data/sizes.ico"_s);
        QCOMPARE(icon.availableSizes(), (QList<QSize>{QSize(16, 16), QSize(32, 32)}));
        QCOMPARE(icon.pixmap(16).toImage().pixelColor(8, 8), QColor(Qt::red));
        QCOMPARE(icon.pixmap(32).toImage().pixelColor(8, 8), QColor(Qt::blue));
        QCOMPARE(PictureFile::builtInIcon().availableSizes(), QList<QSize>{QSize(32, 32)});
    }

    void inflatedDataIsCountedToTheByte()
    {
        const QByteArray stream = qCompress(QByteArray(1000, 'x')).mid(4); // without Qt's length in front
        QCOMPARE(ZlibStream::inflatedSize({stream}, 1000), 1000);
        QCOMPARE_GT(ZlibStream::inflatedSize({stream}, 999), 999);
    }
};

QTEST_MAIN(TestImaging)
#include "tst_imaging.moc"
