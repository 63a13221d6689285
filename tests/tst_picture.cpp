#include "forms/picturebox.h"
#include "imaging/picturesource.h"
#include "picture/folderlist.h"
#include "picture/picturedialog.h"
#include "picture/picturefitting.h"
#include "testsupport.h"

#include <QBuffer>
#include <QPainter>

using namespace Qt::StringLiterals;

namespace {

const QString StoredName = u"mainImage.bmp"_s;

// The drives of the working folder and of the program (one drive but on Windows), and a card that is never ready.
struct FakeDrives : DriveList
{
    // The root of the drive holding the path: "/" for every path but on Windows.
    static QString rootOf(const QString &path) { return QDir::rootPath() == u"/" ? QDir::rootPath() : path.left(3); }
    QList<Drive> drives() const override
    {
        const QString working = rootOf(QDir::currentPath());
        return {{working, {}}, {working + u"card/"_s, u"CARD"_s}, {rootOf(QCoreApplication::applicationDirPath()), {}}};
    }
    bool isReady(const Drive &drive) const override { return drive.label.isEmpty(); }
};

QByteArray blue(const QSize &size, const char *format)
{
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    QBuffer buffer;
    picture.save(&buffer, format, 90);
    return buffer.data();
}

QByteArray fixture(const char *name)
{
    QFile file(u":/data/"_s + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestPicture : public WindowTest
{
    Q_OBJECT

    FakeDrives m_drives;
    std::unique_ptr<PictureDialog> m_dialog;
    QList<QImage> m_stored; // the pictures the dialog handed on to the main window

    // The dialog on the working folder, with the choice clicked in its file list.
    void open(const QString &choice = QString())
    {
        m_stored.clear();
        m_dialog = std::make_unique<PictureDialog>(m_folder->dir(), m_drives);
        connect(m_dialog.get(), &PictureDialog::pictureStored, this,
                [this](const QImage &stored) { m_stored << stored; });
        m_dialog->show();
        FIND_CHILD(files, FileList, m_dialog.get(), "File1");
        for (const QListWidgetItem *item : files->findItems(choice, Qt::MatchExactly))
            QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, files->visualItemRect(item).center());
    }
    QImage empty() const
    {
        QImage blank(148, 141, QImage::Format_RGB32);
        blank.fill(m_dialog->palette().color(QPalette::Base));
        return blank;
    }
    void press(const char *name)
    {
        auto *button = m_dialog->findChild<QPushButton *>(QLatin1String(name));
        QVERIFY2(button, qPrintable(u"no button named "_s + QLatin1String(name)));
        QTest::mouseClick(button, Qt::LeftButton);
    }

private Q_SLOTS:
    void cleanup()
    {
        m_dialog.reset();
        WindowTest::cleanup();
    }

    void fittingWorkedExamples_data()
    {
        QTest::addColumn<QSize>("pixels");
        QTest::addColumn<QRectF>("painted");
        QTest::newRow("640 x 480 at 23 %") << QSize(640, 480) << QRectF(0, 267, 2208, 1656);
        QTest::newRow("320 x 640 at 23 %") << QSize(320, 640) << QRectF(543, 0, 1104, 2208);
        QTest::newRow("145, natural size") << QSize(145, 145) << QRectF(6.75, 6.75, 2175, 2175);
        QTest::newRow("100 x 80, natural size") << QSize(100, 80) << QRectF(304.25, 436.5, 1500, 1200);
        // A whole per cent is too coarse for big pictures: one that it leaves more than two pixels short of the
        // square (6000 pixels at 2 %) takes the exact ratio; 1600 pixels at 9 % are only 30 twips short.
        QTest::newRow("1600 x 1200 at 9 %") << QSize(1600, 1200) << QRectF(0, 285, 2160, 1620);
        QTest::newRow("6000 x 4000, exact ratio") << QSize(6000, 4000) << QRectF(0, 365, 2190, 1460);
    }
    void fittingWorkedExamples()
    {
        QFETCH(QSize, pixels);
        const QSize himetric(Himetric::fromPixels(pixels.width(), 96), Himetric::fromPixels(pixels.height(), 96));
        QTEST(PictureFitting::place(pixels, himetric, 15).twips, "painted");
    }

    void roundingAtHalvesAndPreviewAtTwiceTheDensity()
    {
        // 12.5 %, 1690.5 twips in single precision, 266.5 twips, 4762.5 HIMETRIC: halves go to the even neighbour.
        // 40 x 30 red pixels from the corner show as 10 x 20 on a screen of twice the density, stored at the
        // preview's own size.
        PreviewImage sharp(15, 2.0, Qt::white);
        sharp.paintNaturalSize(QImage::fromData(fixture("redblue.gif")), QPointF(150, 300));
        const QImage stored = sharp.stored();
        QCOMPARE(PictureFitting::percentFor(QSize(30904, 100)), qint16(12));
        QCOMPARE(PictureFitting::paintedLength(23, 7350), qint32(1690));
        QCOMPARE(PictureFitting::centringOffset(1657), qint32(266));
        QCOMPARE(Himetric::fromPixels(180, 96), 4762);
        QCOMPARE(sharp.image().size(), QSize(296, 282));
        QCOMPARE(stored.size(), QSize(148, 141));
        QCOMPARE(stored.devicePixelRatio(), 1.0);
        QCOMPARE(sharp.devicePixels(QSizeF(2190, 1461)), QSize(292, 195));
        QCOMPARE(stored.pixelColor(30, 35), QColor(Qt::red));
        QCOMPARE(stored.pixelColor(51, 35), QColor(Qt::white));
    }

    void storingWritesThePreviewAndUpdatesTheMainWindow()
    {
        // The first frame of an animated GIF (40 x 30 pixels, red, then blue) at its natural size, from
        // (701.25, 767.25) twips.
        QVERIFY(m_folder->write(u"anim.GIF"_s, fixture("redblue.gif")));
        open(u"anim.GIF"_s);
        QImage want = empty();
        QPainter(&want).drawImage(47, 51, QImage::fromData(fixture("redblue.gif")));
        FIND_CHILD(preview, PictureBox, m_dialog.get(), "Picture2");
        QCOMPARE(preview->picture(), want);

        // A bitmap of 24 bits a pixel, 54 + 444 x 141 bytes (rows of 148 pixels need no padding), that the main
        // window shows at once.
        press("setPic");
        const QByteArray file = m_folder->read(StoredName);
        QVERIFY(!m_dialog->isVisible());
        QCOMPARE(file.size(), 62658);
        QCOMPARE(m_folder->entries(), (QStringList{u"anim.GIF"_s, u"ico.ico"_s, StoredName}));
        QCOMPARE(QImage::fromData(file, "BMP").convertToFormat(QImage::Format_RGB32), want);
        QCOMPARE(m_stored.value(0).convertToFormat(QImage::Format_RGB32), want);

        // The dialog opens on the stored picture: storing again without a choice keeps it.
        open();
        press("setPic");
        QCOMPARE(m_folder->read(StoredName), file);

        // A store that cannot write says so, and leaves the file and the main window's picture as they were.
        MessageCatcher messages;
        const FullDisk full;
        if (!full.isActive())
            QSKIP(FullDisk::WhyInactive);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"^mainImage\\.bmp: "_s));
        open();
        press("setPic");
        QCOMPARE(messages.seen, QStringList{u"Horavista 画像ファイルに書き込みができません"_s});
        QCOMPARE(m_stored.size(), 0);
        QCOMPARE(m_folder->entries(), (QStringList{u"anim.GIF"_s, u"ico.ico"_s, StoredName}));
        QCOMPARE(m_folder->read(StoredName), file);
    }

    void onlyWholePicturesAreShown_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("shown");
        const QByteArray jpeg = blue(QSize(300, 200), "JPEG");
        const QByteArray bmp = blue(QSize(300, 200), "BMP");
        // As a camera stores a thumbnail: a small JPEG of its own, and its end marker, in an APP1 segment.
        const QByteArray thumbnailed = jpeg.left(2) + QByteArray("\xFF\xE1\x00\x06\xFF\xD8\xFF\xD9", 8) + jpeg.mid(2);
        QTest::newRow("bmp") << bmp << true;
        QTest::newRow("bmp short of its last row") << bmp.left(bmp.size() - 1) << false;
        QTest::newRow("bmp one pixel wide") << blue(QSize(1, 5), "BMP") << true;
        QTest::newRow("bmp, run-length encoded") << fixture("rle8.bmp") << true;
        QTest::newRow("bmp, run-length encoded, cut short") << fixture("rle8-cut.bmp") << false;
        QTest::newRow("bmp with the OS/2 header") << fixture("os2.bmp") << true;
        QTest::newRow("bmp with the OS/2 header, cut short") << fixture("os2-cut.bmp") << false;
        QTest::newRow("jpeg with data after its end") << jpeg + QByteArray(5000, '\x11') << true;
        QTest::newRow("jpeg without its end marker") << jpeg.left(jpeg.size() - 2) << false;
        QTest::newRow("jpeg with a thumbnail") << thumbnailed << true;
        QTest::newRow("jpeg with a thumbnail, cut") << thumbnailed.left(jpeg.size()) << false;
        QTest::newRow("gif cut in its first frame") << fixture("redblue.gif").left(75) << false;
        QTest::newRow("png") << blue(QSize(300, 200), "PNG") << false;
        QTest::newRow("empty") << QByteArray() << false;
    }
    void onlyWholePicturesAreShown()
    {
        QFETCH(QByteArray, bytes);
        // The stored picture shows as the dialog opens.
        QVERIFY(m_folder->write(StoredName, fixture("os2.bmp")) && m_folder->write(u"choice.bmp"_s, bytes));
        open(u"choice.bmp"_s);
        FIND_CHILD(preview, PictureBox, m_dialog.get(), "Picture2");
        QTEST(preview->picture() != empty(), "shown");
        QVERIFY(!QApplication::activeModalWidget()); // and nothing else to say
    }

    void browsingKeepsTheWorkingFolder()
    {
        for (const char *folder : {"Photos/2024", "folder.jpg", ".hidden"})
            QVERIFY(m_folder->dir().mkpath(QString::fromLatin1(folder)));
        for (const char *name : {"a.bmp", "b.jpeg", "PHOTO.JPG", "c.Gif", "d.png", "bmp", "Photos/beach.jpg"})
            QVERIFY(m_folder->write(QString::fromLatin1(name), "x"));
        open();
        FIND_CHILD(folders, FolderList, m_dialog.get(), "Dir1");
        FIND_CHILD(files, FileList, m_dialog.get(), "File1");
        // Pictures whatever their letter case, no other files, no folders; the root and each folder down to
        // the current one, then its subfolders.
        const QString top = m_folder->dir().absolutePath();
        QCOMPARE(files->count(), 4);
        QCOMPARE(files->item(3)->text(), u"PHOTO.JPG"_s);
        QCOMPARE(folders->item(0)->text(), QDir::toNativeSeparators(QDir::rootPath()));
        QCOMPARE(folders->count(), int(top.count(u'/')) + 3);
        QCOMPARE(folders->currentItem()->text(), m_folder->dir().dirName());

        // Moving onto a folder opens nothing; Return opens it (and presses no button), and so does a
        // double-click. The file list follows; the process stays where it was.
        folders->setFocus();
        QTest::keyClick(folders, Qt::Key_End);
        QCOMPARE(folders->currentItem()->text(), u"Photos"_s);
        QCOMPARE(files->path(), top);
        QTest::keyClick(folders, Qt::Key_Return);
        QCOMPARE(folders->currentItem()->text(), u"Photos"_s);
        QCOMPARE(files->path(), top + u"/Photos"_s);
        QCOMPARE(files->count(), 1);
        QVERIFY(m_dialog->isVisible());
        const QRect year = folders->visualItemRect(folders->item(folders->count() - 1));
        QTest::mouseDClick(folders->viewport(), Qt::LeftButton, {}, year.center());
        QCOMPARE(folders->currentItem()->text(), u"2024"_s);
        QCOMPARE(files->path(), top + u"/Photos/2024"_s);
        QCOMPARE(QDir::currentPath(), top);

        // A tree's look: the deepest folder's row (highlighted) begins blank. White around the controls.
        const int deepest = folders->visualItemRect(folders->item(folders->count() - 1)).center().y();
        QCOMPARE(folders->viewport()->grab().toImage().pixelColor(2, deepest),
                 folders->palette().color(QPalette::Base));
        QCOMPARE(m_dialog->grab().toImage().pixelColor(2, 2), m_dialog->palette().color(QPalette::Base));

        // A drive that is not ready: a message, then the program's drive at its root, as the list names it
        // ("z:" on Windows; a drive with a label has it in brackets). A drive's root folder is on that drive; a folder
        // may be on none of those listed.
        FIND_CHILD(drives, QComboBox, m_dialog.get(), "Drive1");
        MessageCatcher messages;
        QTest::keyClick(drives, Qt::Key_Down); // the empty card
        const QString program = FakeDrives::rootOf(QCoreApplication::applicationDirPath());
        const QList<Drive> mounts{{u"/mnt/"_s, {}}, {u"/mnt/card/"_s, {}}};
        QCOMPARE(messages.seen, QStringList{u"Horavista ドライブの準備ができていません。"_s});
        QVERIFY2(drives->itemText(1).endsWith(u" [CARD]"), qPrintable(drives->itemText(1)));
        QCOMPARE(drives->currentText(), program == u"/" ? program : program.left(2).toLower());
        QCOMPARE(folders->path(), QDir::cleanPath(program));
        QCOMPARE(files->path(), QDir::cleanPath(program));
        QCOMPARE(DriveList::indexOfDriveHolding(mounts, u"/mnt/card"_s), 1);
        QCOMPARE(DriveList::indexOfDriveHolding(mounts, u"/tmp"_s), -1);

        // キャンセル stores nothing.
        press("btnExit");
        QVERIFY(!m_dialog->isVisible());
        QCOMPARE(m_stored.size(), 0);
        QCOMPARE(QDir::currentPath(), top);
        QVERIFY(!m_folder->dir().exists(StoredName));
    }
};

QTEST_MAIN(TestPicture)
#include "tst_picture.moc"
