#include "picture/folderlist.h"
#include "picture/mainpicture.h"
#include "picture/picturefitting.h"
#include "picture/previewimage.h"
#include "picture/setimgdialog.h"
#include "platform/drivelist.h"
#include "platform/picturebox.h"
#include "platform/picturefile.h"
#include "platform/picturesource.h"
#include "testsupport.h"

#include <QBuffer>
#include <QComboBox>
#include <QPainter>
#include <QPushButton>
#include <QtEndian>

namespace {

const QString StoredName = QStringLiteral("mainImage.bmp");

/** Records what the dialog does to the main window's picture box. */
struct FakeMainPicture : MainPicture
{
    QStringList calls;
    QImage picture;
    void setPicture(const QImage &image) override { calls << QStringLiteral("set"), picture = image; }
    void clearPicture() override { calls << QStringLiteral("clear"), picture = QImage(); }
};

/** The root of the drive holding @p path: one drive for everything but on Windows. */
QString rootOf(const QString &path)
{
#ifdef Q_OS_WIN
    return path.left(3);
#else
    Q_UNUSED(path);
    return QStringLiteral("/");
#endif
}

/** The drives of the working folder and of the program, and a card that is never ready. */
struct FakeDrives : DriveList
{
    QList<Drive> drives() const override
    {
        const QString working = rootOf(QDir::currentPath());
        QList<Drive> list{{working, QString()}, {working + QStringLiteral("card/"), QStringLiteral("CARD")}};
        if (rootOf(QCoreApplication::applicationDirPath()) != list.first().rootPath)
            list.append({rootOf(QCoreApplication::applicationDirPath()), QString()});
        return list;
    }
    bool isReady(const Drive &drive) const override { return drive.label.isEmpty(); }
};

QByteArray blue(const QSize &size, const char *format)
{
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, format, 90);
    return bytes;
}

QByteArray fixture(const char *name)
{
    QFile file(QLatin1String(":/data/") + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

/** A JPEG carrying a small JPEG of its own in an APP1 segment, as cameras store a thumbnail. */
QByteArray withThumbnail(const QByteArray &jpeg)
{
    const QByteArray thumbnail = blue(QSize(16, 16), "JPEG");
    QByteArray length(2, '\0');
    qToBigEndian<quint16>(quint16(thumbnail.size() + 2), length.data());
    return jpeg.left(2) + "\xFF\xE1" + length + thumbnail + jpeg.mid(2);
}

QByteArray gif()
{
    return fixture("redblue.gif"); // 40 x 30 pixels, a red frame, then a blue one
}

} // namespace

class TestPicture : public WindowTest
{
    Q_OBJECT

    FakeMainPicture m_main;
    FakeDrives m_drives;

    /** The dialog on the working folder, with @p choice clicked in its file list. */
    std::unique_ptr<SetImgDialog> open(const QString &choice = QString())
    {
        auto dialog = std::make_unique<SetImgDialog>(m_folder->dir(), m_main, m_drives);
        dialog->show();
        auto *files = child<FileList>(dialog.get(), "File1");
        for (const QListWidgetItem *item : files->findItems(choice, Qt::MatchExactly))
            QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, files->visualItemRect(item).center());
        return dialog;
    }
    static QImage preview(QDialog *dialog) { return child<PictureBox>(dialog, "Picture2")->picture(); }
    static QImage empty(QDialog *dialog)
    {
        QImage blank(148, 141, QImage::Format_RGB32);
        blank.fill(dialog->palette().color(QPalette::Base));
        return blank;
    }
    static void press(QDialog *dialog, const char *button) { QTest::mouseClick(child(dialog, button), Qt::LeftButton); }

private Q_SLOTS:
    void init()
    {
        WindowTest::init();
        QVERIFY(QFile::remove(m_folder->path(QStringLiteral("ico.ico"))));
        m_main = FakeMainPicture();
    }

    void fittingWorkedExamples_data()
    {
        QTest::addColumn<QSize>("pixels");
        QTest::addColumn<bool>("fitted");
        QTest::addColumn<QRectF>("painted");
        QTest::newRow("640 x 480 at 23 %") << QSize(640, 480) << true << QRectF(0, 267, 2208, 1656);
        QTest::newRow("320 x 640 at 23 %") << QSize(320, 640) << true << QRectF(543, 0, 1104, 2208);
        QTest::newRow("145, natural size") << QSize(145, 145) << false << QRectF(6.75, 6.75, 2175, 2175);
        QTest::newRow("100 x 80, natural size") << QSize(100, 80) << false << QRectF(304.25, 436.5, 1500, 1200);
        // A whole per cent is too coarse for big pictures: one that it leaves more than two pixels short of the
        // square (6000 pixels at 2 %) takes the exact ratio; 1600 pixels at 9 % are only 30 twips short.
        QTest::newRow("1600 x 1200 at 9 %") << QSize(1600, 1200) << true << QRectF(0, 285, 2160, 1620);
        QTest::newRow("6000 x 4000, exact ratio") << QSize(6000, 4000) << true << QRectF(0, 365, 2190, 1460);
    }
    void fittingWorkedExamples()
    {
        QFETCH(QSize, pixels);
        const QSize himetric(Himetric::fromPixels(pixels.width(), 96), Himetric::fromPixels(pixels.height(), 96));
        const PictureFitting::Placement placement = PictureFitting::place(pixels, himetric, 15);
        QTEST(placement.path == PictureFitting::Path::Fitted, "fitted");
        QTEST(placement.twips, "painted");
    }

    void roundingAtExactHalves() // 12.5 %, 1690.5 twips in single precision, 266.5 twips, 4762.5 HIMETRIC
    {
        QCOMPARE(join(PictureFitting::percentFor(QSize(30904, 100)), PictureFitting::paintedLength(23, 7350),
                      PictureFitting::centringOffset(1657), Himetric::fromPixels(180, 96)),
                 QStringLiteral("12 1690 266 4762"));
    }

    void storingWritesThePreviewAndUpdatesTheMainWindow()
    {
        // The first frame of an animated GIF at its natural size: 40 x 30 pixels from (701.25, 767.25) twips.
        QVERIFY(m_folder->write(QStringLiteral("anim.GIF"), gif()));
        const auto dialog = open(QStringLiteral("anim.GIF"));
        QImage want = empty(dialog.get());
        QPainter(&want).drawImage(47, 51, QImage::fromData(gif()));
        QCOMPARE(preview(dialog.get()), want);

        press(dialog.get(), "setPic");
        QVERIFY(!dialog->isVisible());
        const QByteArray file = m_folder->read(StoredName);
        QCOMPARE(file.size(), 54 + 444 * 141); // rows of 148 pixels of 3 bytes need no padding
        const auto field = [&file](int at) {
            return qFromLittleEndian<quint32>(file.constData() + at);
        };
        // File size, pixels' offset, BITMAPINFOHEADER, width, height (bottom row first), 1 plane of 24 bits, BI_RGB.
        QCOMPARE(file.left(2), QByteArray("BM"));
        QCOMPARE((QList<quint32>{field(2), field(10), field(14), field(18), field(22), field(26), field(30)}),
                 (QList<quint32>{quint32(file.size()), 54, 40, 148, 141, 24 << 16 | 1, 0}));
        const QImage pixels = want.convertToFormat(QImage::Format_BGR888).mirrored(); // blue, green, red; bottom up
        QCOMPARE(file.mid(54), QByteArray(reinterpret_cast<const char *>(pixels.constBits()), pixels.sizeInBytes()));
        QCOMPARE(m_main.calls, (QStringList{QStringLiteral("clear"), QStringLiteral("set")}));
        QCOMPARE(m_main.picture.convertToFormat(QImage::Format_RGB32), want);
        QCOMPARE(m_folder->entries(), (QStringList{QStringLiteral("anim.GIF"), StoredName}));

        // The dialog opens on the stored picture: storing again without a choice keeps it.
        press(open().get(), "setPic");
        QCOMPARE(m_folder->read(StoredName), file);
    }

    void bigPhotoIsDecodedReducedToItsExactRatio()
    {
        // 3000 x 2000 at 5 % would be 60 twips too wide: it takes the exact ratio, 146 x 97 pixels from y 24.
        QImage photo(3000, 2000, QImage::Format_RGB32);
        photo.fill(Qt::red);
        QPainter(&photo).fillRect(1500, 0, 1500, 2000, Qt::blue);
        QVERIFY(photo.save(m_folder->path(QStringLiteral("photo.jpg")), "JPEG", 90));
        const QImage shown = preview(open(QStringLiteral("photo.jpg")).get());
        const auto near = [&shown](int x, int y, QColor c) {
            const QColor got = shown.pixelColor(x, y);
            return qAbs(got.red() - c.red()) + qAbs(got.green() - c.green()) + qAbs(got.blue() - c.blue()) < 40;
        };
        QVERIFY(near(1, 26, Qt::red) && near(70, 70, Qt::red) && near(76, 70, Qt::blue) && near(144, 119, Qt::blue));
        QVERIFY(near(147, 70, Qt::white) && near(70, 22, Qt::white) && near(70, 122, Qt::white));
    }

    void previewAtTwiceTheDensity()
    {
        PreviewImage sharp(15, 2.0, Qt::white);
        QImage picture(40, 30, QImage::Format_RGB32);
        picture.fill(Qt::red);
        sharp.paintNaturalSize(picture, QPointF(150, 300)); // 10 x 20 pixels from the corner
        const QImage stored = sharp.stored();
        QCOMPARE(join(sharp.image().size(), stored.size(), sharp.devicePixels(QSizeF(2190, 1461)),
                      stored.pixelColor(30, 35).name(), stored.pixelColor(51, 35).name()),
                 QStringLiteral("QSize(296, 282) QSize(148, 141) QSize(292, 195) #ff0000 #ffffff"));
    }

    void onlyWholePicturesAreShown_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("shown");
        const QByteArray jpeg = blue(QSize(300, 200), "JPEG");
        const QByteArray bmp = blue(QSize(300, 200), "BMP");
        QTest::newRow("bmp") << bmp << true;
        QTest::newRow("bmp short of its last row") << bmp.left(bmp.size() - 1) << false;
        QTest::newRow("bmp one pixel wide") << blue(QSize(1, 5), "BMP") << true;
        QTest::newRow("bmp, run-length encoded") << fixture("rle8.bmp") << true;
        QTest::newRow("bmp, run-length encoded, cut short") << fixture("rle8-cut.bmp") << false;
        QTest::newRow("bmp with the OS/2 header") << fixture("os2.bmp") << true;
        QTest::newRow("bmp with the OS/2 header, cut short") << fixture("os2-cut.bmp") << false;
        QTest::newRow("jpeg with data after its end") << jpeg + QByteArray(5000, '\x11') << true;
        QTest::newRow("jpeg without its end marker") << jpeg.left(jpeg.size() - 2) << false;
        QTest::newRow("jpeg cut in its image data") << jpeg.left(jpeg.size() / 2) << false;
        QTest::newRow("jpeg with a thumbnail") << withThumbnail(jpeg) << true;
        QTest::newRow("jpeg with a thumbnail, cut") << withThumbnail(jpeg).left(jpeg.size()) << false;
        QTest::newRow("gif cut in its first frame") << gif().left(75) << false;
        QTest::newRow("png") << blue(QSize(300, 200), "PNG") << false;
        QTest::newRow("empty") << QByteArray() << false;
        // It claims 65535 x 65535 pixels: refused by the allocation limit, not 16 GiB allocated.
        QTest::newRow("gif bomb") << QByteArray::fromHex(
                                         "474946383961ffffffff8000000000000000002c00000000ffffffff0002024401003b")
                                  << false;
    }
    void onlyWholePicturesAreShown()
    {
        QFETCH(QByteArray, bytes);
        QVERIFY(m_folder->write(StoredName, blue(QSize(148, 141), "BMP"))); // shown as the dialog opens
        QVERIFY(m_folder->write(QStringLiteral("choice.bmp"), bytes));
        const auto dialog = open(QStringLiteral("choice.bmp"));
        QCOMPARE(child<FileList>(dialog.get(), "File1")->fileName(), QStringLiteral("choice.bmp"));
        QTEST(preview(dialog.get()) != empty(dialog.get()), "shown");
        QVERIFY(!QApplication::activeModalWidget()); // and nothing else to say
    }

    void onlyAStoreThatWorksChangesThePicture_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("キャンセル") << QStringLiteral("btnExit");
        QTest::newRow("設定 failing to write") << QStringLiteral("setPic");
    }
    void onlyAStoreThatWorksChangesThePicture()
    {
        QFETCH(QString, how);
        QVERIFY(m_folder->write(StoredName, blue(QSize(148, 141), "BMP")));
        QVERIFY(m_folder->write(QStringLiteral("new.bmp"), blue(QSize(640, 480), "BMP")));
        const auto dialog = open(QStringLiteral("new.bmp"));
        if (how == QLatin1String("btnExit")) {
            press(dialog.get(), "btnExit");
        } else {
            const FullDisk full;
            if (!full.isActive())
                QSKIP(FullDisk::WhyInactive);
            MessageCatcher messages;
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^mainImage\\.bmp: ")));
            press(dialog.get(), "setPic");
            QCOMPARE(messages.seen, QStringList{QStringLiteral("Horavista 画像ファイルに書き込みができません")});
        }
        QVERIFY(!dialog->isVisible());
        QCOMPARE(m_folder->read(StoredName), blue(QSize(148, 141), "BMP"));
        QVERIFY(m_main.calls.isEmpty());
        QCOMPARE(m_folder->entries(), (QStringList{StoredName, QStringLiteral("new.bmp")}));
    }

    void browsingKeepsTheWorkingFolder()
    {
        for (const char *folder : {"Photos/2024", "folder.jpg", ".hidden"})
            QVERIFY(m_folder->dir().mkpath(QString::fromLatin1(folder)));
        for (const char *name : {"a.bmp", "b.jpeg", "PHOTO.JPG", "c.Gif", "d.png", "bmp", "Photos/beach.jpg"})
            QVERIFY(m_folder->write(QString::fromLatin1(name), "x"));
        const auto dialog = open();
        FIND_CONTROL(folders, FolderList, dialog.get(), "Dir1");
        FIND_CONTROL(files, FileList, dialog.get(), "File1");
        QCOMPARE(files->count(), 4); // pictures whatever their letter case; no other files, no folders
        QCOMPARE(files->item(3)->text(), QStringLiteral("PHOTO.JPG"));
        // The root and each folder down to the current one, then its subfolders.
        const QString top = m_folder->dir().absolutePath();
        QCOMPARE(folders->item(0)->text(), QDir::toNativeSeparators(QDir::rootPath()));
        QCOMPARE(folders->count(), top.count(QLatin1Char('/')) + 3);
        QCOMPARE(folders->currentItem()->text(), m_folder->dir().dirName());

        // Moving onto a folder opens nothing; Return opens it (and presses no button), and so does a
        // double-click. The file list follows; the process stays where it was.
        folders->setFocus();
        QTest::keyClick(folders, Qt::Key_End);
        QCOMPARE(folders->currentItem()->text(), QStringLiteral("Photos"));
        QCOMPARE(files->path(), top);
        QTest::keyClick(folders, Qt::Key_Return);
        QCOMPARE(folders->currentItem()->text(), QStringLiteral("Photos"));
        QCOMPARE(files->path(), top + QStringLiteral("/Photos"));
        QCOMPARE(files->count(), 1);
        QVERIFY(dialog->isVisible());
        const QRect year = folders->visualItemRect(folders->item(folders->count() - 1));
        QTest::mouseDClick(folders->viewport(), Qt::LeftButton, {}, year.center());
        QCOMPARE(folders->currentItem()->text(), QStringLiteral("2024"));
        QCOMPARE(QDir::currentPath(), top);
        QVERIFY(!m_folder->dir().exists(StoredName));
    }

    void driveThatIsNotReadyGoesBackToTheProgramsDrive()
    {
        const auto dialog = open();
        FIND_CONTROL(drives, QComboBox, dialog.get(), "Drive1");
        MessageCatcher messages;
        drives->setFocus();
        QTest::keyClick(drives, Qt::Key_Down); // the empty card
        QCOMPARE(messages.seen, QStringList{QStringLiteral("Horavista ドライブの準備ができていません。")});
        const QString program = rootOf(QCoreApplication::applicationDirPath()); // its drive, at its root
#ifdef Q_OS_WIN
        QCOMPARE(drives->currentText(), program.left(2).toLower()); // "z:"
#else
        QCOMPARE(drives->currentText(), program); // "/"
#endif
        QCOMPARE(dialog->findChild<FolderList *>(QStringLiteral("Dir1"))->path(), QDir::cleanPath(program));
        QCOMPARE(dialog->findChild<FileList *>(QStringLiteral("File1"))->path(), QDir::cleanPath(program));
    }
};

QTEST_MAIN(TestPicture)
#include "tst_picture.moc"
