// Hostile files of up to 10 MB for every reader of the program, each read in a process of its own, as
// the program reads it: the time the reading takes and the process's peak memory.
//
//   horavista-hostile-bench              makes the files in a scratch folder and prints a table
//   horavista-hostile-bench READER FILE  reads one file (picture, main-picture, icon or help), or opens the
//                                        picture dialog on a folder of as many subfolders as FILE says (folders)

#include "bench/chmwriter.h"
#include "help/helpwindow.h"
#include "imaging/picturefile.h"
#include "imaging/picturesource.h"
#include "picture/folderlist.h"
#include "picture/picturedialog.h"
#include "platform/drivelist.h"
#include "platform/fonts.h"

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QImageWriter>
#include <QPainter>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtEndian>

#include <cstdio>
#include <functional>

#include <zlib.h>

namespace {

constexpr qsizetype TenMegabytes = 10 * 1024 * 1024;

/** The process's peak resident memory so far, in MB, from the kernel's count. */
double peakMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QRegularExpression peak(QStringLiteral("VmHWM:\\s*(\\d+) kB"));
    return peak.match(QString::fromLatin1(status.readAll())).captured(1).toDouble() / 1024.0;
}

/** Reads @p path as @p reader does in the program. */
void readAs(const QString &reader, const QString &path)
{
    if (reader == QLatin1String("picture")) {
        // Chosen in the picture dialog: the header, then a decoding reduced to the preview.
        const QFileInfo file(path);
        PictureDialog dialog(file.absoluteDir(), DriveList::system());
        auto *files = dialog.findChild<FileList *>(QStringLiteral("File1"));
        const QList<QListWidgetItem *> found = files->findItems(file.fileName(), Qt::MatchExactly);
        if (!found.isEmpty())
            found.first()->setSelected(true);
    } else if (reader == QLatin1String("main-picture")) {
        PictureFile::read(path); // mainImage.bmp at start-up: decoded whole
    } else if (reader == QLatin1String("icon")) {
        PictureFile::windowIcon(path).pixmap(32);
    } else if (reader == QLatin1String("folders")) {
        PictureDialog dialog(QDir(path), DriveList::system());
    } else if (reader == QLatin1String("help")) {
        HelpWindow window(path);
        if (window.isOpen()) {
            window.show();
            window.showDefaultTopic();
            QApplication::processEvents();
            // Laying out and painting the page is part of showing it.
            window.findChild<QTextBrowser *>()->viewport()->grab();
        }
    }
}

QByteArray encoded(const QImage &image, const char *format, bool progressive = false)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setProgressiveScanWrite(progressive);
    writer.write(image);
    return bytes;
}

/** A photo-like picture: gradients, so that it compresses as a photo would not. */
QImage gradient(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient sky(0, 0, width, height);
    sky.setColorAt(0, Qt::darkBlue);
    sky.setColorAt(0.5, Qt::yellow);
    sky.setColorAt(1, Qt::darkGreen);
    painter.fillRect(image.rect(), sky);
    return image;
}

/** @p jpeg with its frame header changed to claim @p width by @p height. */
QByteArray claiming(QByteArray jpeg, int width, int height)
{
    const qsizetype frame = qMax(jpeg.indexOf("\xFF\xC0"), jpeg.indexOf("\xFF\xC2"));
    qToBigEndian<quint16>(quint16(height), jpeg.data() + frame + 5);
    qToBigEndian<quint16>(quint16(width), jpeg.data() + frame + 7);
    return jpeg;
}

/** Random bytes that hold no JPEG marker. */
QByteArray noise(qsizetype size)
{
    QByteArray bytes(size, '\0');
    QRandomGenerator random(11);
    for (char &byte : bytes)
        byte = char(random.bounded(0xFF));
    return bytes;
}

/** A frame of @p width by @p height whose first scan is noise, up to 10 MB: the decoder reads all of it. */
QByteArray jpegOfNoise(int width, int height, bool progressive)
{
    const QByteArray small = claiming(encoded(gradient(16, 16), "jpeg", progressive), width, height);
    const qsizetype scan = small.indexOf("\xFF\xDA");
    const qsizetype data = scan + 2 + qFromBigEndian<quint16>(small.constData() + scan + 2);
    return small.left(data) + noise(TenMegabytes - data - 2) + "\xFF\xD9";
}

/** A bitmap of @p width by @p height in runs of 255 pixels: a few bytes a row for any size. */
QByteArray rleBitmap(int width, int height)
{
    QByteArray rows;
    for (int row = 0; row < height; ++row) {
        for (int left = width; left > 0; left -= 255)
            rows += char(qMin(left, 255)) + QByteArray(1, char(row % 7));
        rows += QByteArray::fromHex("0000"); // end of row
    }
    rows += QByteArray::fromHex("0001"); // end of picture
    QByteArray palette;
    for (int grey = 0; grey < 256; ++grey)
        palette += QByteArray(3, char(grey)) + '\0';
    QByteArray header(54, '\0');
    header[0] = 'B';
    header[1] = 'M';
    qToLittleEndian<quint32>(quint32(54 + palette.size() + rows.size()), header.data() + 2);
    qToLittleEndian<quint32>(quint32(54 + palette.size()), header.data() + 10);
    const quint32 info[] = {
        40, quint32(width), quint32(height), 1 | (8 << 16), 1, quint32(rows.size()), 2835, 2835, 256, 0};
    for (int i = 0; i < 10; ++i)
        qToLittleEndian<quint32>(info[i], header.data() + 14 + 4 * i);
    return header + palette + rows;
}

/** An icon listing @p count images of every size from 1 to 255: one image for all, or one each. */
QByteArray iconOfSizes(int count, bool distinct)
{
    QByteArray directory = QByteArray::fromHex("000001000000");
    qToLittleEndian<quint16>(quint16(count), directory.data() + 4);
    QByteArray images;
    const qsizetype dataAt = 6 + 16 * count;
    qsizetype at = 0;
    qsizetype size = 0;
    for (int i = 0; i < count; ++i) {
        const int side = 1 + i % 255;
        if (distinct || images.isEmpty()) {
            at = images.size();
            images += encoded(gradient(8, 8 + i % 8), "png");
            size = images.size() - at;
        }
        QByteArray entry(16, '\0');
        entry[0] = entry[1] = char(side);
        qToLittleEndian<quint16>(32, entry.data() + 6);
        qToLittleEndian<quint32>(quint32(size), entry.data() + 8);
        qToLittleEndian<quint32>(quint32(dataAt + at), entry.data() + 12);
        directory += entry;
    }
    return directory + images;
}

/** A folder beside @p path holding as many subfolders as the file at @p path says, made before the timing. */
QString folderOfSubfolders(const QString &path)
{
    QFile count(path);
    const QDir folder(path + QStringLiteral(".d"));
    if (!count.open(QIODevice::ReadOnly) || !folder.mkpath(QStringLiteral(".")))
        return {};
    for (int i = 0, subfolders = count.readAll().toInt(); i < subfolders; ++i)
        folder.mkdir(QStringLiteral("folder %1").arg(i));
    return folder.path();
}

/** A PNG chunk of @p type, with its checksum. */
QByteArray pngChunk(const QByteArray &type, const QByteArray &data)
{
    quint32 crc = 0xFFFFFFFF;
    for (const char byte : type + data) {
        crc ^= quint8(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320 & (0 - (crc & 1)));
    }
    QByteArray chunk(4, '\0');
    qToBigEndian<quint32>(quint32(data.size()), chunk.data());
    chunk += type + data + "1234";
    qToBigEndian<quint32>(~crc, chunk.data() + chunk.size() - 4);
    return chunk;
}

/** A 16 x 16 PNG with @p count text chunks, each inflating to nearly 8 MB, the most libpng takes of one. */
QByteArray pngWithText(int count)
{
    const QByteArray png = encoded(gradient(16, 16), "png");
    const QByteArray text =
        pngChunk("zTXt", QByteArray("Comment\0\0", 9) + qCompress(QByteArray(7'990'000, 'a'), 9).mid(4));
    return png.left(33) + text.repeated(count) + png.mid(33); // after the header chunk
}

/** A 16 x 16 PNG whose image data goes on past its pixels, to @p megabytes of zeros. */
QByteArray pngWithLongData(int megabytes)
{
    z_stream stream = {};
    deflateInit(&stream, Z_BEST_COMPRESSION);
    QByteArray zeros(1 << 20, '\0');
    QByteArray out(1 << 16, '\0');
    QByteArray data;
    for (int i = 0; i <= megabytes; ++i) {
        stream.next_in = reinterpret_cast<Bytef *>(zeros.data());
        stream.avail_in = uInt(zeros.size());
        do {
            stream.next_out = reinterpret_cast<Bytef *>(out.data());
            stream.avail_out = uInt(out.size());
            deflate(&stream, i == megabytes ? Z_FINISH : Z_NO_FLUSH);
            data.append(out.constData(), out.size() - stream.avail_out);
        } while (stream.avail_out == 0);
    }
    deflateEnd(&stream);
    return encoded(gradient(16, 16), "png").left(33) + pngChunk("IDAT", data) + pngChunk("IEND", {});
}

/** An icon file of one 16 x 16 image, @p image. */
QByteArray iconOf(const QByteArray &image)
{
    QByteArray icon = QByteArray::fromHex("0000010001001010000001002000");
    icon += QByteArray(8, '\0');
    qToLittleEndian<quint32>(quint32(image.size()), icon.data() + 14);
    qToLittleEndian<quint32>(quint32(icon.size()), icon.data() + 18);
    return icon + image;
}

/** A photo of 640 x 480 carrying 10 MB of comments and colour profile segments. */
QByteArray jpegWithMetadata()
{
    const QByteArray jpeg = encoded(gradient(640, 480), "jpeg");
    QByteArray segments;
    for (int i = 0; jpeg.size() + segments.size() + 2 * 65537 <= TenMegabytes; ++i) {
        segments += QByteArray::fromHex("FFFEFFFF") + "Comment: " + QByteArray(65533 - 9, 'c');
        segments += QByteArray::fromHex("FFE2FFFF") + QByteArray("ICC_PROFILE\0", 12) + char(1 + i % 255) + char(255) +
            QByteArray(65533 - 14, 'p');
    }
    return jpeg.left(2) + segments + jpeg.mid(2);
}

QByteArray repeated(const QByteArray &unit, qsizetype size)
{
    QByteArray bytes;
    while (bytes.size() + unit.size() <= size)
        bytes += unit;
    return bytes;
}

/** A help file of one page, @p page, whose contents name it. */
QByteArray helpWithPage(const QByteArray &page)
{
    ChmWriter writer;
    writer.add("/#SYSTEM", ChmWriter::systemRecord("toc.hhc", "index.html", "Bench"));
    writer.add("/index.html", page);
    return writer.build();
}

/** A help file whose page shows @p picture. */
QByteArray helpShowing(const QByteArray &picture)
{
    ChmWriter writer;
    writer.add("/#SYSTEM", ChmWriter::systemRecord("", "index.html", "Bench"));
    writer.add("/index.html", "<html><body><img src=\"picture.png\"></body></html>");
    writer.add("/picture.png", picture);
    return writer.build();
}

QByteArray pageAtTheLimits()
{
    // Tables 6 deep (24 tags, 6 cells), 500 pictures, a row of the other 994 cells (997 tags), line breaks.
    QByteArray page = QByteArray("<table><tr><td>x").repeated(6) + QByteArray("</table>").repeated(6);
    page += QByteArray("<img src=\"missing.png\">").repeated(500);
    page += "<table><tr>" + QByteArray("<td>x").repeated(994) + "</table>";
    return helpWithPage(page + QByteArray("x<br>").repeated(8000 - 24 - 500 - 997));
}

QByteArray helpWithPictures(int side)
{
    // One picture of the whole pixel budget, named 500 times: beyond the help window's budget, each is
    // refused from its header.
    ChmWriter writer;
    writer.add("/#SYSTEM", ChmWriter::systemRecord("", "index.html", "Bench"));
    QByteArray page = "<html><body>";
    for (int i = 0; i < 500; ++i)
        page += "<img src=\"p" + QByteArray::number(i) + ".png\">";
    writer.add("/index.html", page + "</body></html>");
    QImage picture(side, side, QImage::Format_Indexed8);
    picture.setColorTable({qRgb(200, 220, 255)});
    picture.fill(0);
    const QByteArray png = encoded(picture, "png");
    writer.add("/p0.png", png);
    for (int i = 1; i < 500; ++i)
        writer.list("/p" + QByteArray::number(i) + ".png", 0, qsizetype(writer.storedBytes() - png.size()), png.size());
    return writer.build();
}

QByteArray helpWithDirectory()
{
    // Some 150,000 objects, in 10 MB of directory chunks.
    ChmWriter writer;
    writer.add("/#SYSTEM", ChmWriter::systemRecord("", "index.html", "Bench"));
    writer.add("/index.html", "<html><body>Start</body></html>");
    for (int i = 0; i < 150000; ++i)
        writer.list("/objects/a-long-name-for-an-object-number-" + QByteArray::number(i) + ".html", 0, 0, 10);
    return writer.build();
}

/** A help file compiled by chmcmd from @p files (name, contents), the first one the default topic. */
QByteArray compiledHelp(const QList<std::pair<QByteArray, QByteArray>> &files, const QByteArray &contents)
{
    QTemporaryDir project;
    QByteArray hhp = "[OPTIONS]\nCompiled file=bench.chm\nContents file=toc.hhc\nDefault topic=" + files.first().first +
        "\nTitle=Bench\nLanguage=0x409 English\nBinary TOC=No\nFull-text search=No\n\n[FILES]\n";
    for (const auto &[name, bytes] : files) {
        QFile file(project.filePath(QString::fromLatin1(name)));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return {};
        hhp += name + '\n';
    }
    QFile toc(project.filePath(QStringLiteral("toc.hhc")));
    QFile project_file(project.filePath(QStringLiteral("bench.hhp")));
    if (!toc.open(QIODevice::WriteOnly) || !project_file.open(QIODevice::WriteOnly))
        return {};
    toc.write(contents);
    project_file.write(hhp);
    toc.close();
    project_file.close();
    QProcess chmcmd;
    chmcmd.setWorkingDirectory(project.path());
    chmcmd.start(QStringLiteral(HORAVISTA_CHMCMD), {QStringLiteral("bench.hhp")});
    chmcmd.waitForFinished(-1);
    QFile chm(project.filePath(QStringLiteral("bench.chm")));
    return chm.open(QIODevice::ReadOnly) ? chm.readAll() : QByteArray();
}

/** A help file whose first page is @p page, with the objects @p extra (path, bytes) beside it. */
QByteArray helpWith(const QByteArray &page, const QList<std::pair<QByteArray, QByteArray>> &extra)
{
    ChmWriter writer;
    writer.add("/#SYSTEM", ChmWriter::systemRecord("", "index.html", "Bench"));
    writer.add("/index.html", "<html><head><meta charset=\"utf-8\">" + page);
    for (const auto &[path, bytes] : extra)
        writer.add(path, bytes);
    return writer.build();
}

QByteArray numbered(const QByteArray &pattern, int count)
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes += QByteArray(pattern).replace("%d", QByteArray::number(i));
    return bytes;
}

/** Every way a page can name a file outside the help file: here the endless /dev/zero. */
QByteArray pageNamingDevZero()
{
    const QByteArray zero = "file:///dev/zero";
    return "<link rel=\"stylesheet\" type=\"text/css\" href=\"" + zero + "\"><style>@import url(" + zero +
        ");</style></head><body><img src=\"" + zero + "\"><img src=\"/dev/zero\"><table background=\"" + zero +
        "\"><tr><td>x</td></tr></table><p style=\"background-image: url(" + zero + ")\">x</p></body></html>";
}

/** Ten progressive JPEGs of 16 x 16 claiming 5600 x 5600, as data: addresses. */
QByteArray pageOfDataPictures()
{
    const QByteArray jpeg = claiming(encoded(gradient(16, 16), "jpeg", true), 5600, 5600);
    return "</head><body>" + numbered("<img src=\"data:image/jpeg;base64," + jpeg.toBase64() + "#%d\">", 10) +
        "</body></html>";
}

/** A compiled help file whose page lies in a compressed section of about @p size bytes of empty blocks. */
QByteArray helpOfBlocks(qsizetype size, int blockBytes)
{
    ChmWriter writer;
    writer.add("/#SYSTEM", ChmWriter::systemRecord("", "index.html", "Bench"));
    const QByteArray lzx = ChmWriter::lzxBlocks(size, blockBytes);
    // What the blocks make, up to the most the reader decompresses.
    const qint64 made = blockBytes ? qMin(qint64(16 * 1024 * 1024), lzx.size() / 170 * blockBytes) : 100;
    // The page is first; the reader decompresses as far as its last object ends.
    writer.list("/index.html", 1, 0, 100);
    if (made > 1024 * 1024)
        writer.list("/last.bin", 1, made - 1024 * 1024, 1024 * 1024);
    writer.addCompressedSection(lzx, quint64(qMax(made, qint64(65536))));
    return writer.build();
}

QByteArray deepContents(int levels)
{
    QByteArray toc = "<HTML><BODY>";
    for (int level = 0; level < levels; ++level)
        toc += "<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"L\"><param name=\"Local\" "
               "value=\"index.html\"></OBJECT>";
    return toc + "</BODY></HTML>";
}

struct Case
{
    const char *name;
    const char *reader;
    std::function<QByteArray()> make;
};

const QList<Case> &cases()
{
    static const QList<Case> all{
        {"nothing read (the process with its window system)", "none",
         [] {
             return QByteArray("x");
         }},
        {"progressive JPEG claiming 20000 x 20000", "picture",
         [] {
             return claiming(encoded(gradient(16, 16), "jpeg", true), 20000, 20000);
         }},
        {"progressive JPEG of 4000 x 3000 (its budget)", "picture",
         [] {
             return encoded(gradient(4000, 3000), "jpeg", true);
         }},
        {"progressive JPEG of 4000 x 3000, 10 MB of noise as its first scan", "picture",
         [] {
             return jpegOfNoise(4000, 3000, true);
         }},
        {"the same, at start-up", "main-picture",
         [] {
             return jpegOfNoise(4000, 3000, true);
         }},
        {"JPEG of 6000 x 4000, 10 MB of noise as its scan", "picture",
         [] {
             return jpegOfNoise(6000, 4000, false);
         }},
        {"the same, at start-up", "main-picture",
         [] {
             return jpegOfNoise(6000, 4000, false);
         }},
        {"run-length bitmap of 5000 x 5000, at start-up", "main-picture",
         [] {
             return rleBitmap(5000, 5000);
         }},
        {"run-length bitmap claiming 30000 x 30000", "picture",
         [] {
             return rleBitmap(30000, 30000);
         }},
        {"icon listing 65,535 sizes of one image", "icon",
         [] {
             return iconOfSizes(65535, false);
         }},
        {"icon of 65,535 images, 10 MB (over the 4 MB limit)", "icon",
         [] {
             return iconOfSizes(65535, true).left(TenMegabytes);
         }},
        {"JPEG of 640 x 480 with 10 MB of comments and colour profiles", "picture", jpegWithMetadata},
        {"the same, at start-up", "main-picture", jpegWithMetadata},
        {"icon of a 16 x 16 PNG with 500 text chunks of 8 MB each", "icon",
         [] {
             return iconOf(pngWithText(500));
         }},
        {"icon of a 16 x 16 PNG whose image data inflates to 4 GB", "icon",
         [] {
             return iconOf(pngWithLongData(4000));
         }},
        {"folder of 100,000 subfolders, in the picture dialog", "folders",
         [] {
             return QByteArray("100000");
         }},
        {"help file: 10 MB of noise after its header", "help",
         [] {
             return helpWithPage("x").left(0x78) + noise(TenMegabytes);
         }},
        {"help file: 150,000 objects in 10 MB of directory", "help", helpWithDirectory},
        {"help page: tables nested 20 deep", "help",
         [] {
             return helpWithPage(repeated("<table><tr><td>x", 20 * 16));
         }},
        {"help page: 8000 tags at every limit (500 pictures, 1000 cells, tables 6 deep)", "help", pageAtTheLimits},
        {"help page: a 16 x 16 PNG with 12 text chunks of 8 MB each", "help",
         [] {
             return helpShowing(pngWithText(12));
         }},
        {"help page: a 16 x 16 PNG whose image data inflates to 1 GB", "help",
         [] {
             return helpShowing(pngWithLongData(1000));
         }},
        {"help page: 500 pictures of 5000 x 5000", "help",
         [] {
             return helpWithPictures(5000);
         }},
        {"help page: 500 pictures of 2000 x 2000", "help",
         [] {
             return helpWithPictures(2000);
         }},
        {"help page: 256 KB of text", "help",
         [] {
             return helpWithPage(repeated("Horavista ", 256 * 1024));
         }},
        {"help page: 8000 line breaks", "help",
         [] {
             return helpWithPage(repeated("x<br>", 8000 * 5));
         }},
        {"help page: pictures, style sheets and imports naming file:///dev/zero", "help",
         [] {
             return helpWith(pageNamingDevZero(), {});
         }},
        {"help page: ten data: progressive JPEGs claiming 5600 x 5600", "help",
         [] {
             return helpWith(pageOfDataPictures(), {});
         }},
        {"help page: a style sheet importing itself under 10,000 query strings", "help",
         [] {
             return helpWith("<link rel=\"stylesheet\" type=\"text/css\" href=\"self.css\"></head><body>x</body>",
                             {{"/self.css", numbered("@import url(\"self.css?%d\");\n", 10000)}});
         }},
        {"help page: 3,000 links to a 200 KB style sheet", "help",
         [] {
             return helpWith(numbered("<link rel=\"stylesheet\" type=\"text/css\" href=\"big.css?%d\">", 3000) +
                                 "</head><body>x</body>",
                             {{"/big.css", repeated("p { color: #123456; }\n", 200 * 1024)}});
         }},
        {"help page: 7,000 style rules over 3,800 elements", "help",
         [] {
             return helpWith("<style>" + numbered(".c%d p { color: red; }\n", 7000) + "</style></head><body>" +
                                 QByteArray("<div><p>x</p></div>").repeated(1900) + "</body>",
                             {});
         }},
        {"help page: 60,000 times left-to-right and right-to-left", "help",
         [] {
             return helpWith("</head><body><p>" + QStringLiteral(u"a\u05D0").repeated(60000).toUtf8() + "</p></body>",
                             {});
         }},
        {"help page: one word of 250,000 letters", "help",
         [] {
             return helpWith("</head><body><p>" + QByteArray(250000, 'x') + "</p></body>", {});
         }},
        {"help page: a letter with 120,000 accents", "help",
         [] {
             return helpWith("</head><body><p>a" + QStringLiteral(u"\u0301").repeated(120000).toUtf8() + "</p></body>",
                             {});
         }},
        {"compiled help: 4 MB of empty compressed blocks", "help",
         [] {
             return helpOfBlocks(4 * 1024 * 1024, 0);
         }},
        {"compiled help: 32 MB of empty compressed blocks", "help",
         [] {
             return helpOfBlocks(32 * 1024 * 1024 - 64 * 1024, 0);
         }},
        {"compiled help: blocks of 256 bytes, each with its trees, to make 16 MB", "help",
         [] {
             return helpOfBlocks(11 * 1024 * 1024, 256);
         }},
        {"compiled help: contents 30,000 deep and a page of 10 MB", "help",
         [] {
             return compiledHelp({{"index.html", "<html><body>Start</body></html>"},
                                  {"huge.html", repeated("<p>Horavista</p>\n", TenMegabytes)}},
                                 deepContents(30000));
         }},
        {"compiled help: 16 pages of 1 MB to decompress", "help",
         [] {
             QList<std::pair<QByteArray, QByteArray>> pages;
             for (int page = 0; page < 16; ++page)
                 pages.append({"page" + QByteArray::number(page) + ".html",
                               repeated("<p>" + QByteArray::number(page) + "</p>\n", 1000 * 1000)});
             return compiledHelp(pages, deepContents(1));
         }},
    };
    return all;
}

int runAll(const QString &self)
{
    QTemporaryDir scratch;
    std::printf(
        "| hostile file | reader | size | time | peak memory | what the reader said |\n|---|---|---|---|---|---|\n");
    for (const Case &one : cases()) {
        const QByteArray bytes = one.make();
        const QString path = scratch.filePath(QStringLiteral("hostile.jpg"));
        QFile file(path);
        if (bytes.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
            std::printf("| %s | could not be made |\n", one.name);
            continue;
        }
        file.close();
        QProcess child;
        child.start(self, {QString::fromLatin1(one.reader), path});
        child.waitForFinished(-1);
        const QByteArray figures = child.readAllStandardOutput().trimmed();
        std::printf("| %s | %s | %.2f MB | %s\n", one.name, one.reader, bytes.size() / 1048576.0,
                    figures.isEmpty() ? "failed | | |" : figures.constData());
        std::fflush(stdout);
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc == 1)
        return runAll(QCoreApplication::applicationFilePath());
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s [READER FILE]\n", argv[0]);
        return 2;
    }
    Fonts::install();
    // The program's first one-line report goes into the table.
    static QString firstReport;
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &message) {
        if (firstReport.isEmpty() && !message.startsWith(QLatin1String("This plugin does not support")))
            firstReport = message;
    });
    const QString reader = QString::fromLocal8Bit(argv[1]);
    const QString path = reader == QLatin1String("folders") ? folderOfSubfolders(QString::fromLocal8Bit(argv[2]))
                                                            : QString::fromLocal8Bit(argv[2]);
    QElapsedTimer clock;
    clock.start();
    readAs(reader, path);
    const double milliseconds = clock.nsecsElapsed() / 1e6;
    // The picture dialog says nothing of a picture it cannot show; its reader's reason stands in.
    if (firstReport.isEmpty() && qstrcmp(argv[1], "picture") == 0)
        firstReport = PictureSource(QString::fromLocal8Bit(argv[2])).errorString();
    std::printf("%.0f ms | %.0f MB | %s |\n", milliseconds, peakMegabytes(), qPrintable(firstReport));
    return 0;
}
