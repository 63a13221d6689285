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
#include "windowtest.h"

#include <QComboBox>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTimer>
#include <QtEndian>

#include <memory>

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

// The drives of the program's own folder and of the working folder (one drive, except under Wine), and the
// root of a card.
#ifdef Q_OS_WIN
QString programRoot()
{
    return QCoreApplication::applicationDirPath().left(3);
}
QString workingRoot()
{
    return QDir::currentPath().left(3);
}
const QString CardRoot = QStringLiteral("B:/");
#else
QString programRoot()
{
    return QStringLiteral("/");
}
QString workingRoot()
{
    return programRoot();
}
const QString CardRoot = QStringLiteral("/media/card/");
#endif

/** The working folder's drive, a volume standing for an empty removable drive, and the program's drive. */
struct FakeDrives : DriveList
{
    QList<Drive> drives() const override
    {
        QList<Drive> list{{workingRoot(), QString()}, {CardRoot, QStringLiteral("CARD")}};
        if (programRoot() != workingRoot())
            list.append({programRoot(), QString()});
        return list;
    }
    bool isReady(const Drive &drive) const override { return drive.rootPath != CardRoot; }
};

/** A blue picture, encoded. */
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

QByteArray gif()
{
    QFile file(QStringLiteral(":/data/redblue.gif")); // 40 x 30 pixels, a red frame, then a blue one
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestPicture : public WindowTest
{
    Q_OBJECT

public:
    TestPicture()
        : WindowTest(false)
    { }

    FakeMainPicture m_main;
    FakeDrives m_drives;
    QStringList m_message; // caption and text of the last message box

    /** The dialog on the working folder, with @p choice clicked in its file list. */
    std::unique_ptr<SetImgDialog> open(const QString &choice = QString())
    {
        auto dialog = std::make_unique<SetImgDialog>(m_folder->dir(), m_main, m_drives);
        dialog->show();
        auto *files = dialog->findChild<FileList *>(QStringLiteral("File1"));
        for (const QListWidgetItem *item : files->findItems(choice, Qt::MatchExactly))
            QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, files->visualItemRect(item).center());
        return dialog;
    }
    static QImage preview(QDialog *dialog)
    {
        return dialog->findChild<PictureBox *>(QStringLiteral("Picture2"))->picture();
    }
    static void press(QDialog *dialog, const char *button)
    {
        QTest::mouseClick(dialog->findChild<QPushButton *>(QString::fromLatin1(button)), Qt::LeftButton);
    }
    void answerNextMessageBox()
    {
        QTimer::singleShot(0, this, [this] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            m_message = QStringList{box->windowTitle(), box->text()};
            QTest::keyClick(box, Qt::Key_Return);
        });
    }

private Q_SLOTS:
    void init()
    {
        WindowTest::init();
        m_main = FakeMainPicture();
        m_message.clear();
    }

    void fittingWorkedExamples_data()
    {
        QTest::addColumn<QSize>("pixels");
        QTest::addColumn<QSize>("himetric");
        QTest::addColumn<bool>("fitted");
        QTest::addColumn<QRectF>("painted");
        QTest::newRow("640 x 480") << QSize(640, 480) << QSize(16933, 12700) << true << QRectF(0, 267, 2208, 1656);
        QTest::newRow("320 x 640") << QSize(320, 640) << QSize(8467, 16933) << true << QRectF(543, 0, 1104, 2208);
        QTest::newRow("200 x 200") << QSize(200, 200) << QSize(5292, 5292) << true << QRectF(0, 0, 2190, 2190);
        QTest::newRow("146 wide") << QSize(146, 100) << QSize(3863, 2646) << true << QRectF(0, 345, 2190, 1500);
        QTest::newRow("145 natural") << QSize(145, 145) << QSize(3836, 3836) << false << QRectF(6.75, 6.75, 2175, 2175);
        QTest::newRow("100 x 80") << QSize(100, 80) << QSize(2646, 2117) << false << QRectF(304.25, 436.5, 1500, 1200);
        // A whole per cent is too coarse for big pictures: those that it leaves more than two pixels short of the
        // square (6000 pixels at 2 %, 40000 at 0 %) take the exact ratio; 1600 pixels at 9 % are 30 twips short.
        QTest::newRow("1600 x 1200") << QSize(1600, 1200) << QSize(42333, 31750) << true << QRectF(0, 285, 2160, 1620);
        QTest::newRow("6000 x 4000") << QSize(6000, 4000) << QSize(158750, 105833) << true
                                     << QRectF(0, 365, 2190, 1460);
        QTest::newRow("40000 x 100") << QSize(40000, 100) << QSize(1058333, 2646) << true << QRectF(0, 1092, 2190, 5);
    }

    void fittingWorkedExamples()
    {
        QFETCH(QSize, pixels);
        QFETCH(QSize, himetric);
        QFETCH(bool, fitted);
        QFETCH(QRectF, painted);
        QCOMPARE(QSize(Himetric::fromPixels(pixels.width(), 96), Himetric::fromPixels(pixels.height(), 96)), himetric);
        const PictureFitting::Placement placement = PictureFitting::place(pixels, himetric, 15);
        QCOMPARE(placement.path == PictureFitting::Path::Fitted, fitted);
        QCOMPARE(placement.twips, painted);
    }

    void roundingAtExactHalves()
    {
        QCOMPARE(PictureFitting::percentFor(QSize(30904, 100)), 12); // 12.5
        QCOMPARE(PictureFitting::paintedLength(23, 7350), 1690); // 1690.5, in single precision
        QCOMPARE(PictureFitting::paintedLength(50, 15), 8); // 7.5
        QCOMPARE(PictureFitting::centringOffset(1657), 266); // 266.5
        QCOMPARE(Himetric::fromPixels(180, 96), 4762); // 4762.5
    }

    void storingWritesThePreviewAndUpdatesTheMainWindow()
    {
        // The first frame of an animated GIF at its natural size: 40 x 30 pixels from (701.25, 767.25) twips.
        QVERIFY(m_folder->write(QStringLiteral("anim.GIF"), gif()));
        const auto dialog = open(QStringLiteral("anim.GIF"));
        QImage want(148, 141, QImage::Format_RGB32);
        want.fill(dialog->palette().color(QPalette::Base));
        QPainter(&want).drawImage(47, 51, QImage::fromData(gif()));
        QCOMPARE(preview(dialog.get()), want);

        press(dialog.get(), "setPic");
        QVERIFY(!dialog->isVisible());
        const QByteArray file = m_folder->read(StoredName);
        QCOMPARE(file.size(), 54 + 444 * 141); // rows of 148 pixels of 3 bytes need no padding
        QCOMPARE(file.left(2), QByteArray("BM"));
        const auto field = [&file](int at) {
            return qFromLittleEndian<quint32>(file.constData() + at);
        };
        // File size, pixels' offset, BITMAPINFOHEADER, width, height (bottom row first), 1 plane of 24 bits, BI_RGB.
        QCOMPARE((QList<quint32>{field(2), field(10), field(14), field(18), field(22), field(26), field(30)}),
                 (QList<quint32>{quint32(file.size()), 54, 40, 148, 141, 24 << 16 | 1, 0}));
        const QImage pixels = want.convertToFormat(QImage::Format_BGR888).mirrored(); // blue, green, red; bottom up
        QCOMPARE(file.mid(54), QByteArray(reinterpret_cast<const char *>(pixels.constBits()), pixels.sizeInBytes()));
        QCOMPARE(PictureFile::read(m_folder->path(StoredName)).convertToFormat(QImage::Format_RGB32), want);
        QCOMPARE(m_main.calls, (QStringList{QStringLiteral("clear"), QStringLiteral("set")}));
        QCOMPARE(m_main.picture.convertToFormat(QImage::Format_RGB32), want);
        QCOMPARE(m_folder->dir().entryList(QDir::Files), (QStringList{QStringLiteral("anim.GIF"), StoredName}));

        // The dialog opens on the stored picture: storing again without a choice keeps it.
        press(open().get(), "setPic");
        QCOMPARE(m_folder->read(StoredName), file);
    }

    void bigPhotoIsDecodedReducedButLooksTheSame_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("1600 x 1200 at 9 %") << QSize(1600, 1200);
        // 5 % would paint it 60 twips past the square: it takes the exact ratio, as the fitting table says.
        QTest::newRow("3000 x 2000, exact ratio") << QSize(3000, 2000);
    }

    void bigPhotoIsDecodedReducedButLooksTheSame()
    {
        QFETCH(QSize, size);
        // Blobs of random colours, some five preview pixels across: detail that a reduced decoding must keep.
        QImage blobs(size / 60, QImage::Format_RGB32);
        QRandomGenerator noise(4);
        for (int y = 0; y < blobs.height(); ++y) {
            for (int x = 0; x < blobs.width(); ++x)
                blobs.setPixel(x, y, noise.generate() | 0xff000000);
        }
        const QImage photo = blobs.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        QVERIFY(photo.save(m_folder->path(QStringLiteral("photo.jpg")), "JPEG", 90));
        const QImage shown = preview(open(QStringLiteral("photo.jpg")).get());

        // The whole decoded photo stretched smoothly over the placement the arithmetic gives.
        const QRectF painted = PictureFitting::place(size, size * 2540 / 96, 15).twips;
        PreviewImage want(15, 1.0, QApplication::palette().color(QPalette::Base));
        want.paintStretched(
            PictureFile::read(m_folder->path(QStringLiteral("photo.jpg")))
                .scaled(want.devicePixels(painted.size()), Qt::IgnoreAspectRatio, Qt::SmoothTransformation),
            painted);
        const QImage a = shown.convertToFormat(QImage::Format_RGB888); // rows of 444 bytes, without padding
        const QImage b = want.image().convertToFormat(QImage::Format_RGB888);
        qint64 difference = 0;
        for (qsizetype i = 0; i < a.sizeInBytes(); ++i)
            difference += qAbs(a.constBits()[i] - b.constBits()[i]);
        QVERIFY2(difference <= a.sizeInBytes(), qPrintable(QString::number(double(difference) / a.sizeInBytes())));
    }

    void unreadableChoiceLeavesThePreviewEmpty_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("shown");
        const QByteArray jpeg = blue(QSize(300, 200), "JPEG");
        const QByteArray bmp = blue(QSize(300, 200), "BMP");
        QTest::newRow("bmp short of its last row") << bmp.left(bmp.size() - 1) << false;
        QTest::newRow("jpeg without its end marker") << jpeg.left(jpeg.size() - 2) << false;
        QTest::newRow("jpeg with data after its end") << jpeg + QByteArray(5000, '\x11') << true;
        QTest::newRow("gif cut in its first frame") << gif().left(75) << false;
        QTest::newRow("png") << blue(QSize(300, 200), "PNG") << false;
        QTest::newRow("empty") << QByteArray() << false;
        // It claims 65535 x 65535 pixels: refused by the allocation limit, not 16 GiB allocated.
        QTest::newRow("gif bomb") << QByteArray::fromHex(
                                         "474946383961ffffffff8000000000000000002c00000000ffffffff0002024401003b")
                                  << false;
    }

    void unreadableChoiceLeavesThePreviewEmpty()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, shown);
        QVERIFY(m_folder->write(StoredName, blue(QSize(148, 141), "BMP"))); // shown as the dialog opens
        QVERIFY(m_folder->write(QStringLiteral("choice.jpg"), bytes));
        const auto dialog = open(QStringLiteral("choice.jpg"));
        QCOMPARE(dialog->findChild<FileList *>(QStringLiteral("File1"))->fileName(), QStringLiteral("choice.jpg"));
        QImage empty(148, 141, QImage::Format_RGB32);
        empty.fill(dialog->palette().color(QPalette::Base));
        QCOMPARE(preview(dialog.get()) != empty, shown);
        QVERIFY(!QApplication::activeModalWidget()); // and nothing else to say
    }

    void onlyAStoreThatWorksChangesThePicture_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("キャンセル") << QStringLiteral("btnExit");
        QTest::newRow("close box") << QStringLiteral("close");
        QTest::newRow("設定 failing to write") << QStringLiteral("setPic");
    }

    void onlyAStoreThatWorksChangesThePicture()
    {
        QFETCH(QString, how);
        QVERIFY(m_folder->write(StoredName, blue(QSize(148, 141), "BMP")));
        QVERIFY(m_folder->write(QStringLiteral("new.bmp"), blue(QSize(640, 480), "BMP")));
        const auto dialog = open(QStringLiteral("new.bmp"));
        if (how == QStringLiteral("close")) {
            QVERIFY(dialog->close());
        } else if (how == QStringLiteral("btnExit")) {
            press(dialog.get(), "btnExit");
        } else {
            // A read-only folder, or where the super-user ignores that, a full disk.
            const ReadOnlyFolder readOnly(m_folder->dir().absolutePath());
            const FullDisk full;
            if (!readOnly.isActive() && !full.isActive())
                QSKIP("neither permissions nor file size limits bind here");
            answerNextMessageBox();
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^mainImage\\.bmp: ")));
            press(dialog.get(), "setPic");
            QCOMPARE(m_message,
                     (QStringList{QStringLiteral("Horavista"), QStringLiteral("画像ファイルに書き込みができません")}));
        }
        QVERIFY(!dialog->isVisible());
        QCOMPARE(m_folder->read(StoredName), blue(QSize(148, 141), "BMP"));
        QVERIFY(m_main.calls.isEmpty());
        QCOMPARE(m_folder->dir().entryList(QDir::Files), (QStringList{StoredName, QStringLiteral("new.bmp")}));
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
        QCOMPARE(folders->count(), top.count(QLatin1Char('/')) + 3);
        QCOMPARE(folders->currentItem()->text(), m_folder->dir().dirName());

        // A double-click opens a subfolder, and the file list follows; the process stays where it was.
        const QRect photos = folders->visualItemRect(folders->item(folders->count() - 1));
        QTest::mouseDClick(folders->viewport(), Qt::LeftButton, {}, photos.center());
        QCOMPARE(folders->currentItem()->text(), QStringLiteral("Photos"));
        QCOMPARE(folders->item(folders->count() - 1)->text(), QStringLiteral("2024"));
        QCOMPARE(files->path(), top + QStringLiteral("/Photos"));
        QCOMPARE(files->count(), 1);
        QCOMPARE(QDir::currentPath(), top);
    }

    void driveThatIsNotReadyGoesBackToTheProgramsDrive()
    {
        const auto dialog = open();
        FIND_CONTROL(drives, QComboBox, dialog.get(), "Drive1");
        answerNextMessageBox();
        drives->setFocus();
        QTest::keyClick(drives, Qt::Key_Down); // the empty card
        QCOMPARE(m_message,
                 (QStringList{QStringLiteral("Horavista"), QStringLiteral("ドライブの準備ができていません。")}));
        // The drive of the program's own folder, at its root.
        QCOMPARE(drives->currentText(), (Drive{programRoot(), QString()}.displayName()));
        QCOMPARE(dialog->findChild<FolderList *>(QStringLiteral("Dir1"))->path(), programRoot());
        QCOMPARE(dialog->findChild<FileList *>(QStringLiteral("File1"))->path(), programRoot());
    }
};

QTEST_MAIN(TestPicture)
#include "tst_picture.moc"
