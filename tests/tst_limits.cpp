#include "app/mainform.h"
#include "clock/clockmodel.h"
#include "platform/atomicfile.h"
#include "platform/fonts.h"
#include "platform/picturebox.h"
#include "platform/picturefile.h"
#include "platform/picturesource.h"
#include "settings/settingsfile.h"
#include "testsupport.h"

#include <QBuffer>
#include <QImageWriter>
#include <QProcess>
#include <QtEndian>

#include <memory>

namespace {

QByteArray encoded(const QImage &image, const char *format, bool progressive = false)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setProgressiveScanWrite(progressive);
    return writer.write(image) ? bytes : QByteArray();
}

QImage filled(int width, int height, Qt::GlobalColor colour)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(colour);
    return image;
}

/** A JPEG whose frame header claims @p width by @p height; the scans stay those of a small picture. */
QByteArray jpegClaiming(int width, int height, bool progressive, int extraScans = 0)
{
    QByteArray bytes = encoded(filled(16, 16, Qt::red), "jpeg", progressive);
    const qsizetype frame = bytes.indexOf(progressive ? "\xFF\xC2" : "\xFF\xC0");
    qToBigEndian<quint16>(quint16(height), bytes.data() + frame + 5);
    qToBigEndian<quint16>(quint16(width), bytes.data() + frame + 7);
    for (int scan = 0; scan < extraScans; ++scan)
        bytes.insert(bytes.size() - 2, QByteArray::fromHex("FFDA0002"));
    return bytes;
}

/** A GIF of a small screen whose first frame claims @p width by @p height. */
QByteArray gifFrameClaiming(int width, int height)
{
    QByteArray bytes = QByteArray("GIF89a") + QByteArray::fromHex("0a000a00000000");
    bytes += QByteArray::fromHex("2c00000000") + QByteArray(4, '\0') + QByteArray::fromHex("00020244010000") + ';';
    qToLittleEndian<quint16>(quint16(width), bytes.data() + 13 + 5);
    qToLittleEndian<quint16>(quint16(height), bytes.data() + 13 + 7);
    return bytes;
}

/** A run-length encoded bitmap of @p width by @p height holding only its end-of-picture code. */
QByteArray rleBitmap(int width, int height)
{
    QByteArray bytes = encoded(filled(4, 4, Qt::red).convertToFormat(QImage::Format_Indexed8), "bmp");
    const qint32 pixelsAt = qFromLittleEndian<qint32>(bytes.constData() + 10);
    bytes.truncate(pixelsAt);
    bytes += QByteArray::fromHex("0001");
    qToLittleEndian<qint32>(width, bytes.data() + 18);
    qToLittleEndian<qint32>(height, bytes.data() + 22);
    qToLittleEndian<qint32>(1, bytes.data() + 30); // 8-bit run lengths
    return bytes;
}

/** An icon file of PNG images, listed with the sides and depths given (0 stands for 256). */
QByteArray icon(const QList<std::tuple<int, int, QByteArray>> &images)
{
    QByteArray directory = QByteArray::fromHex("00000100") + QByteArray(2, '\0');
    qToLittleEndian<quint16>(quint16(images.size()), directory.data() + 4);
    QByteArray data;
    const qsizetype dataAt = 6 + 16 * images.size();
    for (const auto &[side, depth, png] : images) {
        QByteArray entry(16, '\0');
        entry[0] = entry[1] = char(side);
        qToLittleEndian<quint16>(1, entry.data() + 4);
        qToLittleEndian<quint16>(quint16(depth), entry.data() + 6);
        qToLittleEndian<quint32>(quint32(png.size()), entry.data() + 8);
        qToLittleEndian<quint32>(quint32(dataAt + data.size()), entry.data() + 12);
        directory += entry;
        data += png;
    }
    return directory + data;
}

} // namespace

class TestLimits : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { Fonts::install(); }

    void onlyOrdinaryFilesAreRead_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("a named pipe") << QStringLiteral("pipe");
        QTest::newRow("a link to a named pipe") << QStringLiteral("link");
        QTest::newRow("a folder") << QStringLiteral("folder");
    }
    void onlyOrdinaryFilesAreRead()
    {
        QFETCH(QString, kind);
#ifndef Q_OS_UNIX
        if (kind != QStringLiteral("folder"))
            QSKIP("named pipes of this kind are a Unix matter");
#endif
        WorkingFolder folder;
        VERIFY_FOLDER(folder);
        // Opened as pipes, these would make each reader wait for a writer forever.
        const QStringList names{QString::fromLatin1(SettingsFile::FileName), QStringLiteral("mainImage.bmp"),
                                QStringLiteral("ico.ico")};
        for (const QString &name : names) {
            if (kind == QStringLiteral("folder")) {
                QVERIFY(folder.dir().mkdir(name));
            } else {
                const QString pipe = kind == QStringLiteral("link") ? name + QStringLiteral(".pipe") : name;
                QCOMPARE(QProcess::execute(QStringLiteral("mkfifo"), {folder.path(pipe)}), 0);
                QVERIFY(pipe == name || QFile::link(folder.path(pipe), folder.path(name)));
            }
        }
        QCOMPARE(SettingsFile(folder.dir()).read().reading, SavedSettings::Reading::NotFound);
        QString error;
        QVERIFY(PictureFile::read(folder.path(names[1]), &error).isNull());
        QCOMPARE(error, QStringLiteral("not a file"));
        QVERIFY(PictureFile::readIcon(folder.path(names[2]), &error).isNull());
        QCOMPARE(error, QStringLiteral("not a file"));

#ifdef Q_OS_UNIX
        // A link to an ordinary file is read (Windows makes shortcuts, not links).
        const QString saved = QStringLiteral("saved.properties");
        QVERIFY(folder.write(
            saved,
            SettingsFile::line({-14, QStringLiteral("Chicago "), -14, QStringLiteral("Chicago "), false, false})));
        QVERIFY(QFile::remove(folder.path(names[0])) || folder.dir().rmdir(names[0]));
        QVERIFY(QFile::link(folder.path(saved), folder.path(names[0])));
        QCOMPARE(SettingsFile(folder.dir()).read().offsetA, std::optional<qint16>(-14));
#endif
    }

    void picturesBeyondTheBudgetAreRefusedFromTheirHeader_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("refusal");
        // Decoding this one would take 2.4 GB: the buffer of a progressive JPEG holds the whole picture.
        QTest::newRow("progressive JPEG, 20000 x 20000")
            << jpegClaiming(20000, 20000, true) << QStringLiteral("larger than");
        QTest::newRow("progressive JPEG, 4000 x 3000") << jpegClaiming(4000, 3000, true) << QString();
        QTest::newRow("progressive JPEG, 4000 x 3001")
            << jpegClaiming(4000, 3001, true) << QStringLiteral("progressive and larger than");
        QTest::newRow("JPEG, 6000 x 4200") << jpegClaiming(6000, 4200, false) << QStringLiteral("larger than");
        QTest::newRow("JPEG, 6000 x 4000") << jpegClaiming(6000, 4000, false) << QString();
        QTest::newRow("JPEG of 4 megapixels and 130 scans")
            << jpegClaiming(2000, 2000, true, 120) << QStringLiteral("too many scans");
        QTest::newRow("GIF frame of 10000 x 10000") << gifFrameClaiming(10000, 10000) << QStringLiteral("larger than");
        QTest::newRow("GIF frame of 10 x 10") << gifFrameClaiming(10, 10) << QString();
        QTest::newRow("bitmap of 10000 x 10000") << rleBitmap(10000, 10000) << QStringLiteral("larger than");
        QTest::newRow("bitmap of 100 x 100") << rleBitmap(100, 100) << QString();
    }
    void picturesBeyondTheBudgetAreRefusedFromTheirHeader()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, refusal);
        WorkingFolder folder;
        VERIFY_FOLDER(folder);
        QVERIFY(folder.write(QStringLiteral("chosen"), bytes));
        const PictureSource source(folder.path(QStringLiteral("chosen")));
        QVERIFY2(source.isReadable() == refusal.isEmpty(), qPrintable(source.errorString()));
        QVERIFY2(source.errorString().contains(refusal), qPrintable(source.errorString()));
    }

    void mainWindowLeavesAPictureBeyondTheBudgetOut()
    {
        WorkingFolder folder;
        VERIFY_FOLDER(folder);
        QVERIFY(folder.write(QStringLiteral("mainImage.bmp"), rleBitmap(10000, 10000)));
        QTest::ignoreMessage(QtWarningMsg, "ico.ico: file not found; using the built-in icon");
        QTest::ignoreMessage(QtWarningMsg,
                             "mainImage.bmp: the picture is larger than 25000000 pixels; the picture "
                             "box stays empty");
        ClockModel clock;
        MainForm mainForm(folder.dir(), clock);
        mainForm.load();
        FIND_CONTROL(picture, PictureBox, &mainForm, "Picture1");
        QVERIFY(picture->picture().isNull());
    }

    void iconKeepsOnlyTheSizesAWindowUses()
    {
        const QByteArray red = encoded(filled(16, 16, Qt::red), "png");
        const QByteArray blue = encoded(filled(16, 16, Qt::blue), "png");
        QByteArray huge = encoded(filled(48, 48, Qt::green), "png");
        qToBigEndian<quint32>(60000, huge.data() + 16); // its header claims 60000 pixels across
        QList<std::tuple<int, int, QByteArray>> images{{16, 4, red},
                                                       {16, 32, blue},
                                                       {22, 32, encoded(filled(22, 22, Qt::red), "png")},
                                                       {30, 32, encoded(filled(30, 30, Qt::red), "png")},
                                                       {48, 32, huge}};
        // Thousands of other sizes, none of them nearer: none of them is decoded.
        for (int copy = 0; copy < 5000; ++copy)
            images.append({100 + copy % 150, 32, encoded(filled(1, 1, Qt::red), "png")});
        QString error;
        const QList<QImage> kept = PictureFile::iconImages(icon(images), &error);
        QList<QSize> sizes;
        for (const QImage &image : kept)
            sizes.append(image.size());
        QCOMPARE(sizes, (QList<QSize>{QSize(16, 16), QSize(22, 22), QSize(30, 30)}));
        QCOMPARE(kept.first().pixelColor(0, 0), QColor(Qt::blue)); // the deeper of the two of 16 pixels
        QVERIFY(PictureFile::iconImages(icon({{48, 32, huge}}), &error).isEmpty());
        QVERIFY2(error.contains(QStringLiteral("no readable image")), qPrintable(error));
    }

    void fullDiskIsReportedAsSuch()
    {
        WorkingFolder folder;
        VERIFY_FOLDER(folder);
        const FullDisk full;
        if (!full.isActive())
            QSKIP("file size limits do not bind here");
        const AtomicFile::Result written = AtomicFile::write(folder.path(QStringLiteral("big")), QByteArray(4096, 'x'));
        QVERIFY(!written.ok);
        QVERIFY2(!written.error.isEmpty() && !written.error.contains(QStringLiteral("cancel"), Qt::CaseInsensitive),
                 qPrintable(written.error));
    }

    void savesRemoveOnlyStaleTemporariesOfTheirFile()
    {
        WorkingFolder folder;
        VERIFY_FOLDER(folder);
        const QDateTime old = QDateTime::currentDateTimeUtc().addSecs(-2 * AtomicFile::StaleSeconds);
        // Only the first is a stale temporary of "target": the second is recent, the third a name a person
        // may have given, the fourth too short, the last another file's.
        const QStringList names{QStringLiteral("target.Ab12cd"), QStringLiteral("target.Ef34Gh"),
                                QStringLiteral("target.backup"), QStringLiteral("target.Ab12C"),
                                QStringLiteral("other.Ab12Cd")};
        for (const QString &name : names) {
            QFile file(folder.path(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            QVERIFY(name == names[1] || file.setFileTime(old, QFileDevice::FileModificationTime));
        }
        QVERIFY(AtomicFile::write(folder.path(QStringLiteral("target")), "saved").ok);
        QCOMPARE(folder.dir().entryList(QDir::Files, QDir::Name),
                 (QStringList{QStringLiteral("other.Ab12Cd"), QStringLiteral("target"), QStringLiteral("target.Ab12C"),
                              QStringLiteral("target.Ef34Gh"), QStringLiteral("target.backup")}));
    }
};

QTEST_MAIN(TestLimits)
#include "tst_limits.moc"
