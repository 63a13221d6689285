#include "imaging/picturefile.h"
#include "imaging/picturesource.h"
#include "platform/atomicfile.h"
#include "settings/settingsfile.h"
#include "testsupport.h"

#include <QProcess>

using namespace Qt::StringLiterals;

class TestLimits : public WindowTest
{
    Q_OBJECT

private Q_SLOTS:
    void picturesBeyondTheBudgetAreRefusedFromTheirHeader_data()
    {
        // Each file is named by what its header claims (made by data/make-pictures.py).
        QTest::addColumn<QString>("refusal");
        QTest::newRow("progressive-4000x3000.jpg") << u"readable"_s;
        QTest::newRow("progressive-4000x3001.jpg") << u"the picture is progressive and larger than 12000000 pixels"_s;
        QTest::newRow("progressive-2000x2000-130-scans.jpg") << u"the picture has too many scans for its size"_s;
        QTest::newRow("baseline-6000x4000.jpg") << u"readable"_s;
        QTest::newRow("baseline-6000x4200.jpg") << u"the picture is larger than 25000000 pixels"_s;
        QTest::newRow("frame-10000x10000.gif") << u"the picture is larger than 25000000 pixels"_s;
        QTest::newRow("rle-10000x10000.bmp") << u"the picture is larger than 25000000 pixels"_s;
    }
    void picturesBeyondTheBudgetAreRefusedFromTheirHeader()
    {
        const PictureSource source(u":/data/"_s + QString::fromLatin1(QTest::currentDataTag()));
        QTEST(source.isReadable() ? u"readable"_s : source.errorString(), "refusal");
    }

    void iconKeepsOnlyTheSizesAWindowUses()
    {
        // Of two images of 16 pixels the deeper (blue), the nearest to each other size a window uses, a
        // non-square one by its longer side; an image whose own header claims 60000 pixels is not decoded.
        QString error;
        const QIcon icon = PictureFile::readIcon(u":/data/icon-sizes.ico"_s, &error);
        QCOMPARE(icon.availableSizes(), (QList<QSize>{QSize(16, 16), QSize(22, 22), QSize(20, 30)}));
        QCOMPARE(icon.pixmap(16).toImage().pixelColor(0, 0), QColor(Qt::blue));
        QVERIFY(PictureFile::readIcon(u":/data/icon-huge.ico"_s, &error).isNull());
        QCOMPARE(error, u"no readable image of up to 256 pixels in the icon file"_s);
    }

    void picturesAreReadWithoutTheirMetadata_data()
    {
        // Made by data/make-pictures.py: Qt's reader would inflate the PNG's twelve text chunks to 8 MB each.
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("read"); // the size decoded, or the reason given
        const QByteArray png = resource(u"text-chunks.png"_s);
        QTest::newRow("PNG with text chunks") << png << u"16 x 16"_s;
        QTest::newRow("icon of that PNG") << resource(u"text-chunks.ico"_s) << u"16 x 16"_s;
        QTest::newRow("PNG without its end") << png.chopped(12) << u"the picture is cut short"_s;
        QTest::newRow("PNG cut in a chunk") << png.left(100) << u"the picture is cut short"_s;
        QTest::newRow("PNG without its header") << png.left(8) + png.mid(33) << u"the picture has no header"_s;
        QTest::newRow("PNG with an unknown critical chunk") << png.left(33) + QByteArray("\0\0\0\0CrIT\0\0\0\0", 12) +
                png.mid(33) << u"the picture holds a chunk that cannot be read"_s;
        QTest::newRow("PNG whose data goes on past its size")
            << resource(u"png-long-data.png"_s) << u"the picture holds more image data than its size"_s;
        QTest::newRow("PNG claiming 30000 x 30000")
            << resource(u"png-30000x30000.png"_s) << u"the picture is larger than 25000000 pixels"_s;
        QTest::newRow("JPEG with comments, Exif and a profile") << resource(u"metadata.jpg"_s) << u"24 x 16"_s;
        // Qt's reader gives the frame's width as the size of this GIF, yet decodes its screen (found by fuzzing).
        QTest::newRow("GIF whose screen is wider than its frame")
            << QByteArray::fromBase64(
                   "R0lGODlhuAsEAPAAAP8AAAAAACH5BAAAAAAAIf8LTkVUU0NBUEUyLjADAQAAACH5BAAAAAAALAAAAAAGAAQ"
                   "AgAAA/wAAAAIEhI+pVwA7")
            << u"3000 x 4"_s;
    }
    void picturesAreReadWithoutTheirMetadata()
    {
        QFETCH(QByteArray, bytes);
        // As a help page's picture, or as ico.ico.
        PictureSource source(bytes, {"png", "jpeg", "gif", "bmp"});
        const bool icon = bytes.startsWith(QByteArray("\0\0\1\0", 4));
        const QSize claimed = source.pixelSize(); // what the help window counts against its budget
        const QImage image = icon ? PictureFile::iconImages(bytes).value(0) : source.decode();
        QTEST(image.isNull() ? source.errorString() : u"%1 x %2"_s.arg(image.width()).arg(image.height()), "read");
        if (!icon && !image.isNull())
            QCOMPARE(image.size(), claimed);
        QCOMPARE(image.textKeys(), QStringList());
        // The palette and its transparency are kept: half-transparent red.
        if (!image.isNull() && (icon || bytes.startsWith("\x89PNG")))
            QCOMPARE(image.pixelColor(15, 15), QColor(255, 0, 0, 128));
    }

    void savesRemoveOnlyTheirOwnStaleTemporariesAndReportAFullDisk()
    {
        WorkingFolder &folder = *m_folder;
        // Only the first is a stale temporary of the settings file: the second is recent, the third a backup a
        // person made, the fourth named as other programs name their temporary files, the last another file's.
        const QString prefix = AtomicFile::temporaryPrefix(u"setTime.properties"_s);
        const QStringList names{prefix + u"A12345"_s, prefix + u"Ef34Gh"_s, u"setTime.properties.bak001"_s,
                                u"setTime.properties.Ab12Cd"_s, AtomicFile::temporaryPrefix(u"o"_s) + u"Ab12Cd"_s};
        const QDateTime old = QDateTime::currentDateTimeUtc().addSecs(-2 * AtomicFile::StaleSeconds);
        for (const QString &name : names) {
            QFile file(folder.path(name));
            QVERIFY(file.open(QIODevice::WriteOnly) &&
                    (name == names[1] || file.setFileTime(old, QFileDevice::FileModificationTime)));
        }
        QVERIFY(SettingsFile(folder.dir()).write(ClockState::tokyo()).ok);
        QCOMPARE(folder.entries(),
                 (QStringList{names[4], names[1], u"ico.ico"_s, u"setTime.properties"_s, names[3], names[2]}));

        // A save on a full disk says why it failed, not that it was cancelled.
        const FullDisk full;
        if (!full.isActive())
            QSKIP(FullDisk::WhyInactive);
        const AtomicFile::Result written = AtomicFile::write(folder.path(u"big"_s), QByteArray(4096, 'x'));
        QVERIFY2(!written.ok && !written.error.isEmpty() && !written.error.contains(u"cancel", Qt::CaseInsensitive),
                 qPrintable(written.error));
    }

    void onlyOrdinaryFilesAreReadOrReplaced_data()
    {
        // What setTime.properties, mainImage.bmp and ico.ico are: ordinary files, folders or named pipes, or links
        // to one place. Opened as pipes, these would make each reader wait for a writer forever. A link is followed
        // to an ordinary file, as editors do; anything else is left as it is, and the save fails.
        QTest::addColumn<QString>("kind"); // "file", "folder", "pipe", or where the links lead
        QTest::addColumn<bool>("ordinary");
        QTest::newRow("ordinary files") << u"file"_s << true;
        QTest::newRow("folders") << u"folder"_s << false;
#ifdef Q_OS_UNIX
        QTest::newRow("named pipes") << u"pipe"_s << false;
        QTest::newRow("links to an ordinary file") << u"elsewhere/saved"_s << true;
        QTest::newRow("links to a device") << u"/dev/full"_s << false;
        QTest::newRow("links to a named pipe") << u"fifo"_s << false;
        QTest::newRow("links to a folder") << u"elsewhere"_s << false;
        QTest::newRow("links to themselves") << u"itself"_s << false;
#endif
    }
    void onlyOrdinaryFilesAreReadOrReplaced()
    {
        QFETCH(QString, kind);
        QFETCH(bool, ordinary);
        WorkingFolder &folder = *m_folder;
        const QStringList names{u"setTime.properties"_s, u"mainImage.bmp"_s, u"ico.ico"_s};
        QVERIFY(QFile::remove(folder.path(names[2]))); // the icon every test is given
        QVERIFY(folder.dir().mkdir(u"elsewhere"_s) && folder.write(u"elsewhere/saved"_s, "before"));
#ifdef Q_OS_UNIX
        QCOMPARE(QProcess::execute(u"mkfifo"_s, {folder.path(u"fifo"_s)}), 0);
#endif
        for (const QString &name : names) {
            if (kind == u"file" || kind == u"folder")
                QVERIFY(kind == u"file" ? folder.write(name, "before") : folder.dir().mkdir(name));
            else if (kind == u"pipe")
                QCOMPARE(QProcess::execute(u"mkfifo"_s, {folder.path(name)}), 0);
            else
                QVERIFY(QFile::link(kind == u"itself" ? name : kind, folder.path(name)));
        }
        const QString name = folder.path(names[0]);
        const QString link = QFileInfo(name).symLinkTarget();
        const QString end = link.isEmpty() ? name : link;
        QCOMPARE(QFileInfo(end).isFile(), ordinary);
        // The file keeps its own permissions.
        QVERIFY(!ordinary || QFile::setPermissions(end, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
        const QFile::Permissions permissions = QFileInfo(end).permissions();
        const QStringList entries = folder.entries();

        // Read where they lead to an ordinary file (Windows makes shortcuts, not links), else no file.
        QCOMPARE(SettingsFile(folder.dir()).read().reading,
                 ordinary ? SavedSettings::Reading::TooFewFields : SavedSettings::Reading::NotFound);
        QString picture, icon;
        QVERIFY(PictureFile::read(folder.path(names[1]), &picture).isNull());
        QVERIFY(PictureFile::readIcon(folder.path(names[2]), &icon).isNull());
        if (!ordinary) {
            const QString reason = kind == u"itself" ? u"file not found"_s : u"not a file"_s; // links lead nowhere
            QCOMPARE(picture, reason);
            QCOMPARE(icon, reason);
        }

        const SettingsFile::WriteResult written = SettingsFile(folder.dir()).write(ClockState::tokyo());
        QCOMPARE(written.ok, ordinary);
        QCOMPARE(written.error, ordinary ? QString() : u"not an ordinary file"_s);
        // The link stays where it led, a device, pipe or folder stays one, and no temporary file is left.
        QCOMPARE(QFileInfo(name).symLinkTarget(), link);
        QCOMPARE(QFileInfo(end).isFile(), ordinary);
        QCOMPARE(QFileInfo(end).permissions().toInt(), permissions.toInt());
        QCOMPARE(folder.entries(), entries);
        if (ordinary)
            QCOMPARE(folder.read(folder.dir().relativeFilePath(end)), SettingsFile::line(ClockState::tokyo()));
    }

private:
    static QByteArray resource(const QString &name)
    {
        QFile file(u":/data/"_s + name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

QTEST_MAIN(TestLimits)
#include "tst_limits.moc"
