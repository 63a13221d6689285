// Turns a photo into the dial picture, as the picture dialog does, and times it.
//
//   horavista-picture-bench PHOTO OUT.bmp
//       the whole job, as one process: read the photo, fit it into the 148 x 141 preview,
//       store the preview as a 24-bit BMP. Timed from outside (bench/picture.sh).
//   horavista-picture-bench --dialog FOLDER NAME [RUNS]
//       the time from choosing NAME in the open picture dialog to its painted preview, in ms.

#include "forms/picturebox.h"
#include "imaging/picturefile.h"
#include "imaging/picturesource.h"
#include "picture/folderlist.h"
#include "picture/picturedialog.h"
#include "picture/picturefitting.h"
#include "picture/previewimage.h"
#include "platform/atomicfile.h"
#include "platform/drivelist.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPalette>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int PixelTwips = 15; // 96 dpi
constexpr double DotsPerInch = 96.0;

int storeFittedPicture(const QString &photo, const QString &bitmap)
{
    PictureSource source(photo);
    if (!source.isReadable()) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(photo), qPrintable(source.errorString()));
        return 1;
    }
    const PictureFitting::Placement placement =
        PictureFitting::place(source.pixelSize(), source.himetricSize(DotsPerInch), PixelTwips);
    PreviewImage preview(PixelTwips, 1.0, Qt::white);
    if (placement.path == PictureFitting::Path::Fitted)
        preview.paintStretched(source.decode(preview.devicePixels(placement.twips.size())), placement.twips);
    else
        preview.paintNaturalSize(source.decode(), placement.twips.topLeft());
    const AtomicFile::Result written = AtomicFile::write(bitmap, PictureFile::toBmp(preview.stored()));
    if (!written.ok) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(bitmap), qPrintable(written.error));
        return 1;
    }
    return 0;
}

int timeDialog(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QDir folder(QString::fromLocal8Bit(argv[2]));
    const QString name = QString::fromLocal8Bit(argv[3]);
    const int runs = argc > 4 ? std::max(1, atoi(argv[4])) : 10;
    PictureDialog dialog(folder, DriveList::system());
    dialog.show();
    QApplication::processEvents();
    auto *files = dialog.findChild<FileList *>(QStringLiteral("File1"));
    auto *preview = dialog.findChild<PictureBox *>(QStringLiteral("Picture2"));
    const QList<QListWidgetItem *> found =
        files ? files->findItems(name, Qt::MatchExactly) : QList<QListWidgetItem *>();
    if (found.isEmpty() || !preview) {
        std::fprintf(stderr, "%s is not in the dialog's file list\n", qPrintable(name));
        return 1;
    }
    std::vector<qint64> times;
    for (int run = 0; run < runs; ++run) {
        files->clearSelection();
        QElapsedTimer clock;
        clock.start();
        found.first()->setSelected(true); // as a click does: the dialog loads and paints the picture
        preview->repaint();
        times.push_back(clock.nsecsElapsed());
    }
    std::sort(times.begin(), times.end());
    std::printf("dialog: choosing %s to the painted preview: median %.1f ms, best %.1f ms, worst %.1f ms (%d runs)\n",
                qPrintable(name), times[times.size() / 2] / 1e6, times.front() / 1e6, times.back() / 1e6, runs);
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc >= 4 && qstrcmp(argv[1], "--dialog") == 0)
        return timeDialog(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s PHOTO OUT.bmp | --dialog FOLDER NAME [RUNS]\n", argv[0]);
        return 2;
    }
    return storeFittedPicture(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]));
}
