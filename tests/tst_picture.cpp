#include "picture/folderlist.h"
#include "picture/mainpicture.h"
#include "picture/picturefitting.h"
#include "picture/previewimage.h"
#include "picture/setimgdialog.h"
#include "platform/drivelist.h"
#include "platform/fonts.h"
#include "platform/picturebox.h"
#include "platform/picturefile.h"
#include "platform/picturesource.h"
#include "testsupport.h"

#include <QComboBox>
#include <QMessageBox>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTimer>
#include <QtEndian>

#include <memory>

namespace {

const QString StoredName = QStringLiteral("mainImage.bmp");

/** Records what the dialog does to the main window's picture box. */
class FakeMainPicture : public MainPicture
{
public:
    QStringList calls;
    QImage picture;

    void setPicture(const QImage &image) override
    {
        calls << QStringLiteral("set");
        picture = image;
    }
    void clearPicture() override
    {
        calls << QStringLiteral("clear");
        picture = QImage();
    }
};

/** The computer's root, and a volume standing for an empty removable drive. */
class FakeDrives : public DriveList
{
public:
    QList<Drive> list{{QStringLiteral("/"), QString()},
                      {QStringLiteral("/media/horavista-test/CARD/"), QStringLiteral("CARD")}};

    QList<Drive> drives() const override { return list; }
    bool isReady(const Drive &drive) const override { return drive.rootPath == QStringLiteral("/"); }
};

/** A picture with a one-pixel red frame around a blue inside, to find its edges in the preview. */
QImage framedPicture(const QSize &size)
{
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(QColor(0, 0, 255));
    for (int x = 0; x < size.width(); ++x) {
        picture.setPixelColor(x, 0, Qt::red);
        picture.setPixelColor(x, size.height() - 1, Qt::red);
    }
    for (int y = 0; y < size.height(); ++y) {
        picture.setPixelColor(0, y, Qt::red);
        picture.setPixelColor(size.width() - 1, y, Qt::red);
    }
    return picture;
}

/** A photo-like picture: smooth colour gradients with grain, which JPEG cannot squeeze to nothing. */
QImage photoLikePicture(const QSize &size)
{
    QImage picture(size, QImage::Format_RGB32);
    QRandomGenerator noise(4);
    for (int y = 0; y < size.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(picture.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const int grain = int(noise.bounded(41)) - 20;
            line[x] = qRgb(qBound(0, x * 255 / size.width() + grain, 255),
                           qBound(0, y * 255 / size.height() + grain, 255), qBound(0, 128 + grain, 255));
        }
    }
    return picture;
}

QByteArray encoded(const QImage &picture, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, format, 90);
    return bytes;
}

QByteArray fixture(const QString &name)
{
    QFile file(QStringLiteral(":/data/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

/** Pixels of @p image that differ from @p colour inside @p area. */
int pixelsOtherThan(const QImage &image, const QColor &colour, const QRect &area)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            count += image.pixelColor(x, y) != colour;
    }
    return count;
}

/** The mean difference of the colour channels of two images of one size. */
double meanChannelDifference(const QImage &a, const QImage &b)
{
    const QImage one = a.convertToFormat(QImage::Format_RGB32);
    const QImage two = b.convertToFormat(QImage::Format_RGB32);
    qint64 sum = 0;
    for (int y = 0; y < one.height(); ++y) {
        for (int x = 0; x < one.width(); ++x) {
            const QRgb p = one.pixel(x, y);
            const QRgb q = two.pixel(x, y);
            sum += qAbs(qRed(p) - qRed(q)) + qAbs(qGreen(p) - qGreen(q)) + qAbs(qBlue(p) - qBlue(q));
        }
    }
    return double(sum) / (3.0 * one.width() * one.height());
}

} // namespace

class TestPicture : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void fittingWorkedExamples_data();
    void fittingWorkedExamples();
    void roundingAtExactHalves_data();
    void roundingAtExactHalves();

    void picturesAreCheckedWhole_data();
    void picturesAreCheckedWhole();
    void driveListHoldsBrowsableVolumes();

    void opensWithItsDesignedLook();
    void previewOpensOnTheStoredPicture();
    void choosingPaintsThePreviewToThePixel_data();
    void choosingPaintsThePreviewToThePixel();
    void bigPhotoIsDecodedReducedButLooksTheSame();
    void previewFollowsTheDevicePixelRatio();
    void unreadableChoiceLeavesThePreviewEmpty_data();
    void unreadableChoiceLeavesThePreviewEmpty();
    void storingWritesTheBitmapAndUpdatesTheMainWindow();
    void cancelAndCloseBoxChangeNothing_data();
    void cancelAndCloseBoxChangeNothing();
    void failedStoreKeepsTheOldPicture_data();
    void failedStoreKeepsTheOldPicture();
    void browsingFoldersKeepsTheWorkingFolder();
    void driveThatIsNotReadyGoesBackToTheProgramsDrive();

private:
    std::unique_ptr<SetImgDialog> open();
    QImage preview(SetImgDialog *dialog);
    void choose(SetImgDialog *dialog, const QString &name);

    std::unique_ptr<WorkingFolder> m_folder;
    FakeMainPicture m_main;
    FakeDrives m_drives;
};

void TestPicture::initTestCase()
{
    Fonts::install();
}

void TestPicture::init()
{
    m_main = FakeMainPicture();
    m_folder = std::make_unique<WorkingFolder>();
    VERIFY_FOLDER(*m_folder);
}

void TestPicture::cleanup()
{
    m_folder.reset();
    QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty());
}

std::unique_ptr<SetImgDialog> TestPicture::open()
{
    auto dialog = std::make_unique<SetImgDialog>(m_folder->dir(), m_main, m_drives);
    dialog->show();
    return dialog;
}

QImage TestPicture::preview(SetImgDialog *dialog)
{
    auto *box = dialog->findChild<PictureBox *>(QStringLiteral("Picture2"));
    return box ? box->picture() : QImage();
}

void TestPicture::choose(SetImgDialog *dialog, const QString &name)
{
    auto *files = dialog->findChild<FileList *>(QStringLiteral("File1"));
    QVERIFY(files);
    const QList<QListWidgetItem *> found = files->findItems(name, Qt::MatchExactly);
    QVERIFY2(found.size() == 1, qPrintable(name + QStringLiteral(" is not listed")));
    // As the user clicks it.
    QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, files->visualItemRect(found.first()).center());
    QCOMPARE(files->fileName(), name);
}

void TestPicture::fittingWorkedExamples_data()
{
    QTest::addColumn<QSize>("pixels");
    QTest::addColumn<QSize>("himetric");
    QTest::addColumn<bool>("fitted");
    QTest::addColumn<int>("percent");
    QTest::addColumn<QRectF>("painted");
    QTest::newRow("640 x 480") << QSize(640, 480) << QSize(16933, 12700) << true << 23 << QRectF(0, 267, 2208, 1656);
    QTest::newRow("320 x 640") << QSize(320, 640) << QSize(8467, 16933) << true << 23 << QRectF(543, 0, 1104, 2208);
    QTest::newRow("200 x 200, square") << QSize(200, 200) << QSize(5292, 5292) << true << 73
                                       << QRectF(0, 0, 2190, 2190);
    QTest::newRow("146 wide") << QSize(146, 100) << QSize(3863, 2646) << true << 100 << QRectF(0, 345, 2190, 1500);
    QTest::newRow("146 high") << QSize(60, 146) << QSize(1588, 3863) << true << 100 << QRectF(645, 0, 900, 2190);
    QTest::newRow("145 square stays natural")
        << QSize(145, 145) << QSize(3836, 3836) << false << 100 << QRectF(6.75, 6.75, 2175, 2175);
    QTest::newRow("100 x 80") << QSize(100, 80) << QSize(2646, 2117) << false << 100
                              << QRectF(304.25, 436.5, 1500, 1200);
    // A whole per cent is too coarse for big pictures: they take the exact ratio and fill the square.
    QTest::newRow("1600 x 1200, 30 twips short, still whole")
        << QSize(1600, 1200) << QSize(42333, 31750) << true << 9 << QRectF(0, 285, 2160, 1620);
    QTest::newRow("6000 x 4000 at 2 %, exact")
        << QSize(6000, 4000) << QSize(158750, 105833) << true << 2 << QRectF(0, 365, 2190, 1460);
    QTest::newRow("40000 x 100 at 0 %, exact")
        << QSize(40000, 100) << QSize(1058333, 2646) << true << 0 << QRectF(0, 1092, 2190, 5);
}

void TestPicture::fittingWorkedExamples()
{
    QFETCH(QSize, pixels);
    QFETCH(QSize, himetric);
    QFETCH(bool, fitted);
    QFETCH(int, percent);
    QFETCH(QRectF, painted);
    QCOMPARE(QSize(Himetric::fromPixels(pixels.width(), 96), Himetric::fromPixels(pixels.height(), 96)), himetric);
    const PictureFitting::Placement placement = PictureFitting::place(pixels, himetric, 15);
    QCOMPARE(placement.path == PictureFitting::Path::Fitted, fitted);
    if (fitted)
        QCOMPARE(int(placement.percent), percent);
    QCOMPARE(placement.twips, painted);
}

void TestPicture::roundingAtExactHalves_data()
{
    QTest::addColumn<int>("got");
    QTest::addColumn<int>("want");
    // 3863 / 30904 x 100 = 12.5 and 3863 / 154520 x 100 = 2.5: both go down to the even neighbour.
    QTest::newRow("percent 12.5") << int(PictureFitting::percentFor(QSize(30904, 100))) << 12;
    QTest::newRow("percent 2.5") << int(PictureFitting::percentFor(QSize(100, 154520))) << 2;
    // 23% of 7350 twips is 1690.5; 50% of 15 twips is 7.5.
    QTest::newRow("length 1690.5") << PictureFitting::paintedLength(23, 7350) << 1690;
    QTest::newRow("length 7.5") << PictureFitting::paintedLength(50, 15) << 8;
    QTest::newRow("offset 266.5") << PictureFitting::centringOffset(1657) << 266;
    QTest::newRow("offset 267.5") << PictureFitting::centringOffset(1655) << 268;
    // 180 pixels at 96 dpi are 4762.5 HIMETRIC; 3 pixels at 120 dpi are 63.5.
    QTest::newRow("HIMETRIC 4762.5") << Himetric::fromPixels(180, 96) << 4762;
    QTest::newRow("HIMETRIC 63.5") << Himetric::fromPixels(3, 120) << 64;
}

void TestPicture::roundingAtExactHalves()
{
    QFETCH(int, got);
    QFETCH(int, want);
    QCOMPARE(got, want);
}

void TestPicture::picturesAreCheckedWhole_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("readable");
    QTest::addColumn<QSize>("size");
    const QImage picture = framedPicture(QSize(64, 48));
    const QByteArray bmp = encoded(picture, "BMP");
    const QByteArray jpeg = encoded(picture, "JPEG");
    const QByteArray gif = fixture(QStringLiteral("redblue.gif"));
    QTest::newRow("bmp") << bmp << true << QSize(64, 48);
    QTest::newRow("bmp short of its last row") << bmp.left(bmp.size() - 1) << false << QSize();
    QTest::newRow("bmp header only") << bmp.left(54) << false << QSize();
    QTest::newRow("jpeg") << jpeg << true << QSize(64, 48);
    QTest::newRow("jpeg cut in its scan") << jpeg.left(jpeg.size() * 2 / 3) << false << QSize();
    QTest::newRow("jpeg without its end marker") << jpeg.left(jpeg.size() - 2) << false << QSize();
    QTest::newRow("jpeg with data after its end") << jpeg + QByteArray(5000, '\x11') << true << QSize(64, 48);
    QTest::newRow("gif") << gif << true << QSize(40, 30);
    QTest::newRow("gif cut in its first frame") << gif.left(40) << false << QSize();
    QTest::newRow("png, which the dialog does not offer") << encoded(picture, "PNG") << false << QSize();
    QTest::newRow("text") << QByteArray("GIF89a, said the text file") << false << QSize();
    QTest::newRow("empty") << QByteArray() << false << QSize();
    // A picture that claims 65535 x 65535 pixels: refused, not 16 GiB allocated.
    QByteArray bomb("GIF89a\xff\xff\xff\xff\x80\x00\x00", 13);
    bomb += QByteArray(6, '\0');
    bomb += QByteArray("\x2c\x00\x00\x00\x00\xff\xff\xff\xff\x00\x02\x02\x44\x01\x00\x3b", 16);
    QTest::newRow("gif bomb") << bomb << true << QSize(65535, 65535);
}

void TestPicture::picturesAreCheckedWhole()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, readable);
    QFETCH(QSize, size);
    QVERIFY(m_folder->write(QStringLiteral("picture.jpg"), bytes));
    PictureSource source(m_folder->path(QStringLiteral("picture.jpg")));
    QCOMPARE(source.isReadable(), readable);
    QCOMPARE(source.errorString().isEmpty(), readable);
    if (!readable) {
        QVERIFY(source.decode().isNull());
        return;
    }
    QCOMPARE(source.pixelSize(), size);
    const QImage image = source.decode();
    if (size.width() > 10000) {
        QVERIFY(image.isNull()); // beyond the allocation limit
        return;
    }
    QCOMPARE(image.size(), size);
    QVERIFY(source.decode().isNull()); // decoded once
}

void TestPicture::driveListHoldsBrowsableVolumes()
{
    const QList<Drive> drives = DriveList::system().drives();
    QVERIFY(!drives.isEmpty());
    QCOMPARE(drives.first().rootPath, QStringLiteral("/"));
    QCOMPARE(drives.first().displayName(), QStringLiteral("/"));
    for (const Drive &drive : drives) {
        QVERIFY2(QFileInfo(drive.rootPath).isDir(), qPrintable(drive.rootPath));
        for (const char *system : {"/proc/", "/sys/", "/dev/", "/run/user/", "/run/lock/"})
            QVERIFY2(!drive.rootPath.startsWith(QLatin1String(system)), qPrintable(drive.rootPath));
        QVERIFY(DriveList::system().isReady(drive));
    }

    const QList<Drive> list{{QStringLiteral("/"), QString()}, {QStringLiteral("/media/usb/"), QStringLiteral("USB")}};
    QCOMPARE(DriveList::indexOfDriveHolding(list, QStringLiteral("/media/usb/photos")), 1);
    QCOMPARE(DriveList::indexOfDriveHolding(list, QStringLiteral("/media/usb")), 1);
    QCOMPARE(DriveList::indexOfDriveHolding(list, QStringLiteral("/media/usbstick/a")), 0);
    QCOMPARE(DriveList::indexOfDriveHolding(list, QStringLiteral("/home")), 0);
    QCOMPARE(list.at(1).displayName(), QStringLiteral("/media/usb [USB]"));
}

void TestPicture::opensWithItsDesignedLook()
{
    for (const char *name : {"a.bmp", "b.jpeg", "PHOTO.JPG", "c.Gif", "d.png", "notes.txt", "bmp"})
        QVERIFY(m_folder->write(QString::fromLatin1(name), "x"));
    QVERIFY(m_folder->dir().mkdir(QStringLiteral("folder.jpg")));
    QVERIFY(m_folder->dir().mkdir(QStringLiteral("Photos")));
    const auto dialog = open();
    QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    QCOMPARE(dialog->objectName(), QStringLiteral("setImg"));
    QCOMPARE(dialog->windowTitle(), QStringLiteral("++ 画像設定 ++"));
    QCOMPARE(dialog->size(), QSize(412, 234)); // 6180 x 3510 twips
    QCOMPARE(dialog->minimumSize(), dialog->maximumSize());
    QVERIFY(!(dialog->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QCOMPARE(dialog->windowIcon().pixmap(32).toImage(), PictureFile::builtInIcon().pixmap(32).toImage());

    const QList<std::pair<const char *, QRect>> geometry{
        {"Drive1", QRect(9, 9, 226, 20)},    {"Dir1", QRect(9, 36, 226, 90)},
        {"File1", QRect(9, 131, 226, 90)},   {"Picture2", QRect(251, 19, 148, 141)},
        {"setPic", QRect(329, 196, 67, 23)}, {"btnExit", QRect(253, 196, 67, 23)}};
    for (const auto &[name, pixels] : geometry) {
        FIND_CONTROL(control, QWidget, dialog.get(), name);
        QCOMPARE(control->geometry(), pixels);
    }
    FIND_CONTROL(holder, PictureBox, dialog.get(), "Picture1");
    QVERIFY(holder->isHidden());
    FIND_CONTROL(setPic, QPushButton, dialog.get(), "setPic");
    FIND_CONTROL(btnExit, QPushButton, dialog.get(), "btnExit");
    QCOMPARE(setPic->text(), QStringLiteral("設定"));
    QCOMPARE(setPic->toolTip(), QStringLiteral("++ 画像を時計に設定します ++"));
    QCOMPARE(btnExit->text(), QStringLiteral("キャンセル"));
    QCOMPARE(btnExit->toolTip(), QStringLiteral("++ 終了します ++"));
    QCOMPARE(setPic->font().family(), Fonts::japaneseGothic());

    // The keyboard goes folders, drives, files, preview, "設定", "キャンセル".
    FIND_CONTROL(folders, FolderList, dialog.get(), "Dir1");
    QCOMPARE(dialog->focusWidget(), folders);
    QStringList order;
    QWidget *w = folders;
    for (int step = 0; step < 50 && order.size() < 6; ++step, w = w->nextInFocusChain()) {
        if (w->focusPolicy() & Qt::TabFocus && w->isVisibleTo(dialog.get()))
            order << w->objectName();
    }
    QCOMPARE(order,
             (QStringList{QStringLiteral("Dir1"), QStringLiteral("Drive1"), QStringLiteral("File1"),
                          QStringLiteral("Picture2"), QStringLiteral("setPic"), QStringLiteral("btnExit")}));

    // Opened on the working folder: its pictures, whatever their letter case; no other files, no folders.
    FIND_CONTROL(files, FileList, dialog.get(), "File1");
    QCOMPARE(files->path(), m_folder->dir().absolutePath());
    QStringList listed;
    for (int i = 0; i < files->count(); ++i)
        listed << files->item(i)->text();
    QCOMPARE(listed,
             (QStringList{QStringLiteral("a.bmp"), QStringLiteral("b.jpeg"), QStringLiteral("c.Gif"),
                          QStringLiteral("PHOTO.JPG")}));
    QCOMPARE(folders->path(), m_folder->dir().absolutePath());
    QCOMPARE(folders->currentItem()->text(), m_folder->dir().dirName());
    QCOMPARE(folders->item(0)->text(), QStringLiteral("/"));
    QCOMPARE(folders->item(folders->count() - 1)->text(), QStringLiteral("Photos"));
    FIND_CONTROL(drives, QComboBox, dialog.get(), "Drive1");
    QCOMPARE(drives->currentText(), QStringLiteral("/"));
    QCOMPARE(drives->count(), 2);
}

void TestPicture::previewOpensOnTheStoredPicture()
{
    const QColor background = QApplication::palette().color(QPalette::Base);
    {
        const auto dialog = open(); // no stored picture
        QCOMPARE(pixelsOtherThan(preview(dialog.get()), background, QRect(0, 0, 148, 141)), 0);
    }
    QVERIFY(framedPicture(QSize(200, 100)).save(m_folder->path(StoredName), "BMP"));
    const auto dialog = open();
    const QImage shown = preview(dialog.get());
    QCOMPARE(shown.size(), QSize(148, 141));
    // At its natural size from the top-left corner, cut off at the right.
    QCOMPARE(shown.pixelColor(0, 0), QColor(Qt::red));
    QCOMPARE(shown.pixelColor(147, 0), QColor(Qt::red));
    QCOMPARE(shown.pixelColor(147, 50), QColor(Qt::blue));
    QCOMPARE(shown.pixelColor(0, 99), QColor(Qt::red));
    QCOMPARE(pixelsOtherThan(shown, background, QRect(0, 100, 148, 41)), 0);
}

void TestPicture::choosingPaintsThePreviewToThePixel_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QRect>("painted");
    QTest::addColumn<QColor>("middle");
    auto bmp = [](const QSize &size) {
        return encoded(framedPicture(size), "BMP");
    };
    // Twips over 15, each edge to the first pixel whose centre it covers.
    QTest::newRow("640 x 480") << QStringLiteral("wide.bmp") << bmp(QSize(640, 480)) << QRect(0, 18, 147, 110)
                               << QColor(Qt::blue);
    QTest::newRow("320 x 640, bottom cut off")
        << QStringLiteral("tall.bmp") << bmp(QSize(320, 640)) << QRect(36, 0, 74, 141) << QColor(Qt::blue);
    QTest::newRow("200 x 200") << QStringLiteral("square.bmp") << bmp(QSize(200, 200)) << QRect(0, 0, 146, 141)
                               << QColor(Qt::blue);
    QTest::newRow("146 x 100, a pixel for a pixel")
        << QStringLiteral("fits.bmp") << bmp(QSize(146, 100)) << QRect(0, 23, 146, 100) << QColor(Qt::blue);
    QTest::newRow("100 x 80, natural size")
        << QStringLiteral("small.bmp") << bmp(QSize(100, 80)) << QRect(20, 29, 100, 80) << QColor(Qt::blue);
    QTest::newRow("jpeg") << QStringLiteral("photo.JPG") << encoded(framedPicture(QSize(640, 480)), "JPEG")
                          << QRect(0, 18, 147, 110) << QColor(Qt::blue);
    // 40 x 30 pixels are 1058 x 794 HIMETRIC: at 701.25, 767.25 twips. The first of two frames shows.
    QTest::newRow("animated gif") << QStringLiteral("redblue.gif") << fixture(QStringLiteral("redblue.gif"))
                                  << QRect(47, 51, 40, 30) << QColor(Qt::red);
}

void TestPicture::choosingPaintsThePreviewToThePixel()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QRect, painted);
    QFETCH(QColor, middle);
    QVERIFY(m_folder->write(name, bytes));
    const auto dialog = open();
    choose(dialog.get(), name);

    const QImage shown = preview(dialog.get());
    const QColor background = dialog->palette().color(QPalette::Base);
    QCOMPARE(shown.size(), QSize(148, 141));
    const QRect inside = painted.intersected(shown.rect());
    QCOMPARE(pixelsOtherThan(shown, background, shown.rect()) - pixelsOtherThan(shown, background, inside),
             0); // nothing painted outside
    QVERIFY(shown.pixelColor(inside.topLeft()) != background);
    QVERIFY(shown.pixelColor(inside.bottomRight()) != background);
    const QColor centre = shown.pixelColor(inside.center());
    QVERIFY2(qAbs(centre.red() - middle.red()) + qAbs(centre.green() - middle.green()) +
                     qAbs(centre.blue() - middle.blue()) <=
                 6,
             qPrintable(centre.name()));
    if (name == QStringLiteral("fits.bmp") || name == QStringLiteral("small.bmp")) {
        // Unstretched: every pixel lands exactly.
        QCOMPARE(shown.copy(painted), QImage::fromData(bytes).convertToFormat(QImage::Format_RGB32));
    }
}

void TestPicture::bigPhotoIsDecodedReducedButLooksTheSame()
{
    const QImage photo = photoLikePicture(QSize(1600, 1200));
    QVERIFY(photo.save(m_folder->path(QStringLiteral("photo.jpg")), "JPEG", 90));
    const auto dialog = open();
    choose(dialog.get(), QStringLiteral("photo.jpg"));
    const QImage shown = preview(dialog.get());

    // What stretching the whole decoded photo gives: 9% of 1600 x 1200 pixels, 2160 x 1620 twips.
    const QRect painted =
        PictureFitting::fittedRect(PictureFitting::percentFor(QSize(42333, 31750)), QSizeF(1600 * 15, 1200 * 15), 15);
    QCOMPARE(painted, QRect(0, 285, 2160, 1620));
    PreviewImage reference(15, 1.0, dialog->palette().color(QPalette::Base));
    const QImage whole = PictureFile::read(m_folder->path(QStringLiteral("photo.jpg")));
    reference.paintStretched(
        whole.scaled(reference.devicePixels(painted.size()), Qt::IgnoreAspectRatio, Qt::SmoothTransformation), painted);
    const double difference = meanChannelDifference(shown, reference.image());
    QVERIFY2(difference <= 1.0, qPrintable(QString::number(difference)));
}

void TestPicture::previewFollowsTheDevicePixelRatio()
{
    PreviewImage preview(15, 2.0, Qt::white);
    QCOMPARE(preview.image().size(), QSize(296, 282));
    QCOMPARE(preview.image().devicePixelRatio(), 2.0);
    // 2208 x 1656 twips are 147.2 x 110.4 pixels, twice as many on this screen, rounded up.
    QCOMPARE(preview.devicePixels(QSizeF(2208, 1656)), QSize(295, 221));
    QImage blue(295, 221, QImage::Format_RGB32);
    blue.fill(Qt::blue);
    preview.paintStretched(blue, QRectF(0, 267, 2208, 1656)); // from 17.8 pixels down, 35.6 on this screen
    QCOMPARE(preview.image().pixelColor(0, 35), QColor(Qt::white));
    QCOMPARE(preview.image().pixelColor(0, 36), QColor(Qt::blue));
    QCOMPARE(preview.image().pixelColor(293, 255), QColor(Qt::blue));
    QCOMPARE(preview.image().pixelColor(295, 255), QColor(Qt::white));

    // The file keeps the preview's size in device-independent pixels.
    const QImage stored = preview.stored();
    QCOMPARE(stored.size(), QSize(148, 141));
    QCOMPARE(stored.devicePixelRatio(), 1.0);
    QCOMPARE(stored.pixelColor(70, 70), QColor(Qt::blue));
    QCOMPARE(stored.pixelColor(70, 10), QColor(Qt::white));
}

void TestPicture::unreadableChoiceLeavesThePreviewEmpty_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray jpeg = encoded(photoLikePicture(QSize(300, 200)), "JPEG");
    const QByteArray bmp = encoded(framedPicture(QSize(300, 200)), "BMP");
    QTest::newRow("truncated jpeg") << jpeg.left(jpeg.size() / 2);
    QTest::newRow("truncated bmp") << bmp.left(bmp.size() / 2);
    QTest::newRow("truncated gif") << fixture(QStringLiteral("redblue.gif")).left(50);
    QTest::newRow("text named .jpg") << QByteArray("this is not a picture");
    QTest::newRow("png named .jpg") << encoded(framedPicture(QSize(300, 200)), "PNG");
    QTest::newRow("empty") << QByteArray();
}

void TestPicture::unreadableChoiceLeavesThePreviewEmpty()
{
    QFETCH(QByteArray, bytes);
    QVERIFY(framedPicture(QSize(300, 200)).save(m_folder->path(QStringLiteral("a-good.bmp")), "BMP"));
    QVERIFY(m_folder->write(QStringLiteral("b-bad.jpg"), bytes));
    const auto dialog = open();
    choose(dialog.get(), QStringLiteral("a-good.bmp"));
    const QColor background = dialog->palette().color(QPalette::Base);
    QVERIFY(pixelsOtherThan(preview(dialog.get()), background, QRect(0, 0, 148, 141)) > 0);

    FIND_CONTROL(files, FileList, dialog.get(), "File1");
    files->setFocus();
    QTest::keyClick(files, Qt::Key_Down); // by the keyboard this time
    QCOMPARE(files->fileName(), QStringLiteral("b-bad.jpg"));
    QCOMPARE(pixelsOtherThan(preview(dialog.get()), background, QRect(0, 0, 148, 141)), 0);
    QVERIFY(!QApplication::activeModalWidget()); // and nothing else to say
    QVERIFY(dialog->isVisible());
}

void TestPicture::storingWritesTheBitmapAndUpdatesTheMainWindow()
{
    QVERIFY(photoLikePicture(QSize(640, 480)).save(m_folder->path(QStringLiteral("photo.jpeg")), "JPEG"));
    const auto dialog = open();
    choose(dialog.get(), QStringLiteral("photo.jpeg"));
    const QImage shown = preview(dialog.get());
    FIND_CONTROL(setPic, QPushButton, dialog.get(), "setPic");
    QTest::mouseClick(setPic, Qt::LeftButton);
    QVERIFY(!dialog->isVisible());
    QCOMPARE(dialog->result(), int(QDialog::Accepted));

    const QByteArray bytes = m_folder->read(StoredName);
    QCOMPARE(bytes.left(2), QByteArray("BM"));
    QCOMPARE(qFromLittleEndian<quint32>(bytes.constData() + 2), quint32(bytes.size()));
    QCOMPARE(bytes.size(), 54 + 148 * 3 * 141); // rows of 444 bytes need no padding
    QCOMPARE(qFromLittleEndian<quint32>(bytes.constData() + 10), 54u); // pixels right after the headers
    QCOMPARE(qFromLittleEndian<quint32>(bytes.constData() + 14), 40u); // BITMAPINFOHEADER
    QCOMPARE(qFromLittleEndian<qint32>(bytes.constData() + 18), 148);
    QCOMPARE(qFromLittleEndian<qint32>(bytes.constData() + 22), 141); // bottom row first
    QCOMPARE(qFromLittleEndian<quint16>(bytes.constData() + 26), quint16(1));
    QCOMPARE(qFromLittleEndian<quint16>(bytes.constData() + 28), quint16(24));
    QCOMPARE(qFromLittleEndian<quint32>(bytes.constData() + 30), 0u); // BI_RGB
    // The first stored pixel is the preview's bottom-left one, blue, green, red.
    const QColor bottomLeft = shown.pixelColor(0, 140);
    QCOMPARE(quint8(bytes.at(54)), quint8(bottomLeft.blue()));
    QCOMPARE(quint8(bytes.at(55)), quint8(bottomLeft.green()));
    QCOMPARE(quint8(bytes.at(56)), quint8(bottomLeft.red()));

    const QImage stored = PictureFile::read(m_folder->path(StoredName)).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(stored, shown.convertToFormat(QImage::Format_RGB32));
    QCOMPARE(m_main.calls, (QStringList{QStringLiteral("clear"), QStringLiteral("set")}));
    QCOMPARE(m_main.picture.convertToFormat(QImage::Format_RGB32), stored);
    QCOMPARE(m_folder->dir().entryList(QDir::Files),
             (QStringList{StoredName, QStringLiteral("photo.jpeg")})); // no temporary file left

    // Storing again without a choice keeps the picture as it opened.
    const auto again = open();
    FIND_CONTROL(setAgain, QPushButton, again.get(), "setPic");
    QTest::mouseClick(setAgain, Qt::LeftButton);
    QCOMPARE(m_folder->read(StoredName), bytes);
}

void TestPicture::cancelAndCloseBoxChangeNothing_data()
{
    QTest::addColumn<bool>("closeBox");
    QTest::newRow("キャンセル") << false;
    QTest::newRow("close box") << true;
}

void TestPicture::cancelAndCloseBoxChangeNothing()
{
    QFETCH(bool, closeBox);
    QVERIFY(framedPicture(QSize(148, 141)).save(m_folder->path(StoredName), "BMP"));
    const QByteArray before = m_folder->read(StoredName);
    QVERIFY(framedPicture(QSize(300, 300)).save(m_folder->path(QStringLiteral("other.gif.bmp")), "BMP"));
    const auto dialog = open();
    choose(dialog.get(), QStringLiteral("other.gif.bmp"));
    if (closeBox) {
        QVERIFY(dialog->close());
    } else {
        FIND_CONTROL(btnExit, QPushButton, dialog.get(), "btnExit");
        QTest::mouseClick(btnExit, Qt::LeftButton);
    }
    QVERIFY(!dialog->isVisible());
    QCOMPARE(m_folder->read(StoredName), before);
    QVERIFY(m_main.calls.isEmpty());
}

void TestPicture::failedStoreKeepsTheOldPicture_data()
{
    QTest::addColumn<bool>("fullDisk");
    QTest::newRow("full disk") << true;
    QTest::newRow("read-only folder") << false;
}

void TestPicture::failedStoreKeepsTheOldPicture()
{
    QFETCH(bool, fullDisk);
    const bool canFail = fullDisk ? FullDisk().isActive() : ReadOnlyFolder(m_folder->dir().absolutePath()).isActive();
    if (!canFail)
        QSKIP(fullDisk ? "file size limits are not available here" : "the super-user may write into any folder");
    QVERIFY(framedPicture(QSize(148, 141)).save(m_folder->path(StoredName), "BMP"));
    const QByteArray before = m_folder->read(StoredName);
    QVERIFY(framedPicture(QSize(640, 480)).save(m_folder->path(QStringLiteral("new.bmp")), "BMP"));
    const auto dialog = open();
    choose(dialog.get(), QStringLiteral("new.bmp"));

    QString message;
    QString caption;
    QTimer::singleShot(0, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        message = box->text();
        caption = box->windowTitle();
        QTest::keyClick(box, Qt::Key_Return);
    });
    FIND_CONTROL(setPic, QPushButton, dialog.get(), "setPic");
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^mainImage\\.bmp: ")));
    if (fullDisk) {
        FullDisk full;
        QTest::mouseClick(setPic, Qt::LeftButton);
    } else {
        ReadOnlyFolder readOnly(m_folder->dir().absolutePath());
        QTest::mouseClick(setPic, Qt::LeftButton);
    }
    QCOMPARE(message, QStringLiteral("画像ファイルに書き込みができません"));
    QCOMPARE(caption, QStringLiteral("Horavista"));
    QVERIFY(!dialog->isVisible()); // closed all the same
    QCOMPARE(m_folder->read(StoredName), before);
    QVERIFY(m_main.calls.isEmpty());
    QCOMPARE(m_folder->dir().entryList(QDir::Files), (QStringList{StoredName, QStringLiteral("new.bmp")}));
}

void TestPicture::browsingFoldersKeepsTheWorkingFolder()
{
    const QString workingFolder = QDir::currentPath();
    QVERIFY(m_folder->dir().mkpath(QStringLiteral("Photos/2024")));
    QVERIFY(m_folder->dir().mkdir(QStringLiteral("archive")));
    QVERIFY(m_folder->dir().mkdir(QStringLiteral(".hidden")));
    QVERIFY(m_folder->write(QStringLiteral("Photos/beach.jpg"), "x"));
    QVERIFY(m_folder->write(QStringLiteral("Photos/2024/snow.gif"), "x"));
    const auto dialog = open();
    FIND_CONTROL(folders, FolderList, dialog.get(), "Dir1");
    FIND_CONTROL(files, FileList, dialog.get(), "File1");
    const QString top = m_folder->dir().absolutePath();
    const int depth = int(top.count(QLatin1Char('/')));
    QCOMPARE(folders->count(), depth + 1 + 2); // the root and each folder down, then two subfolders
    QCOMPARE(folders->item(depth + 1)->text(), QStringLiteral("archive"));
    QCOMPARE(folders->item(depth + 2)->text(), QStringLiteral("Photos"));

    // A double-click opens a subfolder; a single click only selects it.
    QListWidgetItem *photos = folders->item(depth + 2);
    QTest::mouseClick(folders->viewport(), Qt::LeftButton, {}, folders->visualItemRect(photos).center());
    QCOMPARE(folders->path(), top);
    QTest::mouseDClick(folders->viewport(), Qt::LeftButton, {}, folders->visualItemRect(photos).center());
    QCOMPARE(folders->path(), top + QStringLiteral("/Photos"));
    QCOMPARE(files->path(), top + QStringLiteral("/Photos"));
    QCOMPARE(files->count(), 1);
    QCOMPARE(folders->currentItem()->text(), QStringLiteral("Photos"));
    QCOMPARE(folders->item(folders->count() - 1)->text(), QStringLiteral("2024"));

    // Enter opens the selected entry: here the folder above.
    folders->setFocus();
    QTest::keyClick(folders, Qt::Key_Up);
    QTest::keyClick(folders, Qt::Key_Return);
    QCOMPARE(folders->path(), top);
    QVERIFY(dialog->isVisible()); // Enter pressed no button

    // Choosing the drive again goes to its root.
    dialog->Drive1_Change();
    QCOMPARE(folders->path(), QStringLiteral("/"));
    QCOMPARE(folders->count(), 1 + QDir(QStringLiteral("/")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size());
    QCOMPARE(files->path(), QStringLiteral("/"));
    QCOMPARE(QDir::currentPath(), workingFolder);
}

void TestPicture::driveThatIsNotReadyGoesBackToTheProgramsDrive()
{
    QVERIFY(m_folder->dir().mkdir(QStringLiteral("sub")));
    const auto dialog = open();
    FIND_CONTROL(folders, FolderList, dialog.get(), "Dir1");
    FIND_CONTROL(drives, QComboBox, dialog.get(), "Drive1");
    QString message;
    QTimer::singleShot(0, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        message = box->text();
        QTest::keyClick(box, Qt::Key_Return);
    });
    drives->setFocus();
    QTest::keyClick(drives, Qt::Key_Down); // the empty card
    QCOMPARE(message, QStringLiteral("ドライブの準備ができていません。"));
    QCOMPARE(drives->currentText(), QStringLiteral("/")); // the drive of the program's own folder
    QCOMPARE(folders->path(), QStringLiteral("/"));
    FIND_CONTROL(files, FileList, dialog.get(), "File1");
    QCOMPARE(files->path(), QStringLiteral("/"));
}

QTEST_MAIN(TestPicture)
#include "tst_picture.moc"
