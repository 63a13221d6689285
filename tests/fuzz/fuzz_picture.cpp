// Arbitrary bytes as a picture: as the file chosen in the picture dialog, painted into its preview,
// as mainImage.bmp, read at start-up and by the dialog's opening, and as a help page's picture (PNG
// too). Nothing may crash or hang, whatever the bytes claim about their size, and no text a picture
// carries may reach its decoder.

#include "fuzzsupport.h"
#include "help/helppage.h"
#include "imaging/picturesource.h"
#include "picture/folderlist.h"
#include "picture/picturedialog.h"
#include "platform/drivelist.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Fuzz::application();
    Fuzz::write(QStringLiteral("chosen.jpg"), data, size);
    Fuzz::write(QStringLiteral("mainImage.bmp"), data, size);
    const int filesBefore = Fuzz::openFiles();
    // Made once, when the chosen file is there to be listed.
    static auto *dialog = new PictureDialog(Fuzz::folder(), DriveList::system());
    static auto *files = dialog->findChild<FileList *>(QStringLiteral("File1"));

    // The chosen file, through the dialog's own handler.
    const QList<QListWidgetItem *> chosen = files->findItems(QStringLiteral("chosen.jpg"), Qt::MatchExactly);
    Fuzz::check(chosen.size() == 1, "the file list does not show the chosen file");
    files->setCurrentItem(chosen.first());
    dialog->showChosenFile();

    // The stored picture, as the dialog's opening reads it (and start-up, through the same reader).
    dialog->showStoredPicture();

    Fuzz::check(Fuzz::openFiles() == filesBefore, "a picture file was left open");

    // A help page's picture, read from memory as the help window reads it: decoded within its budget.
    PictureSource help(QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size)),
                       {"png", "jpeg", "gif", "bmp"});
    const QSize claimed = help.pixelSize();
    const QImage picture =
        qint64(claimed.width()) * claimed.height() <= HelpPage::MaxPicturePixels ? help.decode() : QImage();
    Fuzz::check(qint64(picture.width()) * picture.height() <= HelpPage::MaxPicturePixels,
                "a help picture beyond the help's pixel budget");
    Fuzz::check(picture.textKeys().isEmpty(), "a picture's text reached its decoder");
    return 0;
}
