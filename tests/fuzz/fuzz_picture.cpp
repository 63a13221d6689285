// Arbitrary bytes as a picture: as the file chosen in the picture dialog, painted into its preview,
// and as mainImage.bmp, read at start-up and by the dialog's opening. Nothing may crash or hang,
// whatever the bytes claim about their size.

#include "fuzzsupport.h"
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
    return 0;
}
