#pragma once

#include "picture/previewimage.h"
#include "platform/drivelist.h"

#include <QDialog>
#include <QDir>

class FileList;
class FolderList;
class MainPicture;
class PictureBox;
class QComboBox;
class QPushButton;

/**
 * @brief The picture dialog setImg: browse to a BMP, JPEG or GIF picture, preview it fitted, store it.
 *
 * The preview opens on the working folder's mainImage.bmp. Choosing a file paints it into the
 * preview; "設定" stores the preview as mainImage.bmp in the working folder and puts it on the main
 * window through MainPicture. Browsing never changes the process's working folder. The dialog is
 * made afresh for each opening and runs modally; every way out closes it.
 */
class SetImgDialog : public QDialog
{
    Q_OBJECT
public:
    SetImgDialog(const QDir &workingFolder, MainPicture &mainPicture, const DriveList &driveList,
                 QWidget *parent = nullptr);
    ~SetImgDialog() override;

    /** Hides the holder and opens the preview on the stored picture, if there is a readable one. */
    void Form_Load();

    /** A drive was chosen: the folder list goes to its root, or, if it is not ready, back to the program's drive. */
    void Drive1_Change();
    /** The folder list's folder changed: the file list follows. */
    void Dir1_Change();
    /** A file was selected: its picture is painted into the preview. */
    void File1_Click();
    /** "設定": stores the preview, shows it on the main window and closes. */
    void setPic_Click();
    /** "キャンセル": closes without storing. */
    void btnExit_Click();

private:
    void createControls();
    void LoadHolderPicture(const QImage &picture, const QSize &naturalPixels);
    void PaintFittedPicture(const qint16 &Percent);
    void showPreview();
    QString chosenFilePath() const;

    QDir m_folder;
    MainPicture &m_mainPicture;
    const DriveList &m_driveList;
    QList<Drive> m_drives;
    int PixelTwips;
    PreviewImage m_preview;

    QComboBox *Drive1 = nullptr;
    FolderList *Dir1 = nullptr;
    FileList *File1 = nullptr;
    PictureBox *Picture1 = nullptr;
    PictureBox *Picture2 = nullptr;
    QPushButton *setPic = nullptr;
    QPushButton *btnExit = nullptr;
};
