#pragma once

#include "picture/previewimage.h"
#include "platform/drivelist.h"

#include <QDialog>
#include <QDir>

class FileList;
class FolderList;
class PictureBox;
class QComboBox;
class QPushButton;

/**
 * @brief The picture dialog setImg: browse to a BMP, JPEG or GIF picture, preview it fitted, store it.
 *
 * The preview opens on the working folder's mainImage.bmp. Choosing a file paints it into the
 * preview; "設定" stores the preview as mainImage.bmp in the working folder and hands the stored
 * picture on (pictureStored), for the main window to show. Browsing never changes the process's working folder. The
 * dialog is made afresh for each opening and runs modally; every way out closes it.
 */
class PictureDialog : public QDialog
{
    Q_OBJECT
public:
    PictureDialog(const QDir &workingFolder, const DriveList &driveList, QWidget *parent = nullptr);
    ~PictureDialog() override;

    /** The preview on the stored picture, as the dialog opens: empty when there is no readable one. */
    void showStoredPicture();

    /** The file selected in the file list, painted into the preview; an unreadable one leaves it empty. */
    void showChosenFile();

Q_SIGNALS:
    /** The stored picture file, read back; a null image when it could not be read. */
    void pictureStored(const QImage &picture);

private:
    void createControls();
    void onDriveChosen();
    void onFolderChanged();
    void loadHolder(const QImage &picture, const QSize &naturalPixels);
    void fitPicture(int percent);
    void showPreview();
    void store();
    QString chosenFilePath() const;

    QDir m_folder;
    const DriveList &m_driveList;
    QList<Drive> m_drives;
    int m_pixelTwips;
    PreviewImage m_preview;

    QComboBox *m_driveBox = nullptr;
    FolderList *m_folderList = nullptr;
    FileList *m_fileList = nullptr;
    PictureBox *m_holder = nullptr;
    PictureBox *m_previewBox = nullptr;
};
