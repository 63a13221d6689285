#include "imaging/picturefile.h"
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
};

QTEST_MAIN(TestImaging)
#include "tst_imaging.moc"
