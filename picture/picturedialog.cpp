#include "picture/picturedialog.h"

#include "forms/listname.h"
#include "forms/picturebox.h"
#include "forms/twips.h"
#include "forms/windowframe.h"
#include "imaging/picturefile.h"
#include "imaging/picturesource.h"
#include "picture/folderlist.h"
#include "picture/picturedialoglayout.h"
#include "picture/picturefitting.h"
#include "platform/atomicfile.h"
#include "platform/messagebox.h"
#include "platform/workingfiles.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDebug>
#include <QPushButton>
#include <QScreen>
#include <QStorageInfo>

namespace {

const QString PictureFileName = QString::fromLatin1(WorkingFiles::Picture);

template <typename Control>
Control *place(Control *control, const QString &name, const QRect &pixels)
{
    control->setObjectName(name);
    control->setGeometry(pixels);
    return control;
}

QPushButton *makeButton(QWidget *parent, const QString &name, const QString &text, const QString &toolTip,
                        const QRect &pixels)
{
    auto *button = place(new QPushButton(text, parent), name, pixels);
    button->setToolTip(toolTip);
    button->setFont(PictureDialogLayout::controlFont());
    // Neither button is the default: Enter in the folder list opens a folder and presses nothing.
    button->setAutoDefault(false);
    return button;
}

double dotsPerInch(const QWidget *widget)
{
    const QScreen *screen = widget->screen();
    return screen ? screen->logicalDotsPerInchX() : 96.0;
}

} // namespace

PictureDialog::PictureDialog(const QDir &workingFolder, const DriveList &driveList, QWidget *parent)
    : QDialog(parent)
    , m_folder(workingFolder)
    , m_driveList(driveList)
    , m_pixelTwips(Twips::pixelTwipsOf(parent))
    , m_preview(m_pixelTwips, parent ? parent->devicePixelRatioF() : devicePixelRatioF(),
                palette().color(QPalette::Base))
{
    setObjectName(QStringLiteral("setImg"));
    setWindowTitle(tr("++ 画像設定 ++"));
    setWindowFlags(WindowFrame::Dialog);
    setWindowIcon(PictureFile::builtInIcon());
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    setFont(PictureDialogLayout::defaultFont());
    setFixedSize(Twips::toPixels(PictureDialogLayout::ClientWidth, m_pixelTwips),
                 Twips::toPixels(PictureDialogLayout::ClientHeight, m_pixelTwips));
    createControls();
    showStoredPicture();
}

PictureDialog::~PictureDialog() = default;

void PictureDialog::createControls()
{
    using namespace PictureDialogLayout;
    const auto pixels = Twips::toPixels(Controls, m_pixelTwips);
    const QFont listFont = controlFont();
    m_driveBox = place(new QComboBox(this), QStringLiteral("Drive1"), pixels[Drives]);
    m_driveBox->setFont(listFont);
    m_folderList = place(new FolderList(this), QStringLiteral("Dir1"), pixels[Folders]);
    m_folderList->setFont(listFont);
    m_fileList = place(new FileList(QString::fromLatin1(FilePattern), this), QStringLiteral("File1"), pixels[Files]);
    m_fileList->setFont(listFont);
    m_previewBox = place(new PictureBox(this, PictureBox::Border::None), QStringLiteral("Picture2"), pixels[Preview]);
    m_previewBox->setFocusPolicy(Qt::TabFocus);
    nameList(m_driveBox, tr("ドライブ"));
    m_folderList->setAccessibleName(tr("フォルダー"));
    m_fileList->setAccessibleName(tr("画像ファイル"));
    m_previewBox->setAccessibleName(tr("プレビュー"));
    m_holder = place(new PictureBox(this, PictureBox::Border::None), QStringLiteral("Picture1"), pixels[Holder]);
    auto *set =
        makeButton(this, QStringLiteral("setPic"), tr("設定"), tr("++ 画像を時計に設定します ++"), pixels[SetButton]);
    auto *cancel =
        makeButton(this, QStringLiteral("btnExit"), tr("キャンセル"), tr("++ 終了します ++"), pixels[CancelButton]);

    // The keyboard's order: folders, drives, files, preview, then the buttons. The holder stays hidden.
    setTabOrder(m_folderList, m_driveBox);
    setTabOrder(m_driveBox, m_fileList);
    setTabOrder(m_fileList, m_previewBox);
    setTabOrder(m_previewBox, set);
    setTabOrder(set, cancel);
    m_folderList->setFocus();

    // The lists open on the working folder and its drive. Placing them is not the user's choice of a drive.
    m_drives = m_driveList.drives();
    for (const Drive &drive : std::as_const(m_drives))
        m_driveBox->addItem(drive.displayName());
    const QString start = m_folder.absolutePath();
    const int driveIndex = DriveList::indexOfDriveHolding(m_drives, start);
    m_driveBox->setCurrentIndex(driveIndex);
    m_folderList->setPath(start, driveIndex >= 0 ? m_drives.at(driveIndex).rootPath : QStorageInfo(start).rootPath());
    m_fileList->setPath(start, m_folderList->fileNames());

    connect(m_driveBox, &QComboBox::activated, this, &PictureDialog::onDriveChosen);
    connect(m_folderList, &FolderList::pathChanged, this, &PictureDialog::onFolderChanged);
    connect(m_fileList, &FileList::fileClicked, this, &PictureDialog::showChosenFile);
    connect(set, &QPushButton::clicked, this, &PictureDialog::store);
    connect(cancel, &QPushButton::clicked, this, &PictureDialog::reject);
}

void PictureDialog::showStoredPicture()
{
    m_holder->hide();
    // A missing or unreadable stored picture leaves the preview with only its background.
    PictureSource stored(m_folder.filePath(PictureFileName));
    const QImage picture = stored.decode();
    if (!picture.isNull())
        m_preview.paintNaturalSize(picture, QPointF(0, 0));
    m_previewBox->setAccessibleDescription(picture.isNull() ? tr("画像なし") : tr("時計の画像"));
    showPreview();
}

void PictureDialog::onDriveChosen()
{
    const int index = m_driveBox->currentIndex();
    if (index < 0 || index >= m_drives.size())
        return;
    const Drive &drive = m_drives.at(index);
    if (!m_driveList.isReady(drive)) {
        MessageBox::show(this, tr("ドライブの準備ができていません。"));
        const int home = DriveList::indexOfDriveHolding(m_drives, QCoreApplication::applicationDirPath());
        if (home >= 0 && home != index) {
            m_driveBox->setCurrentIndex(home);
            onDriveChosen();
        }
        return;
    }
    m_folderList->setPath(drive.rootPath, drive.rootPath);
}

void PictureDialog::onFolderChanged()
{
    m_fileList->setPath(m_folderList->path(), m_folderList->fileNames());
}

QString PictureDialog::chosenFilePath() const
{
    return QDir(m_fileList->path()).filePath(m_fileList->fileName());
}

void PictureDialog::showChosenFile()
{
    // One reading gives the natural size (from the header) and the pixels, decoded no larger than painted.
    PictureSource source(chosenFilePath());
    const QSize pixels = source.pixelSize();
    const QSize himetric = source.himetricSize(dotsPerInch(this));

    m_holder->clearPicture();
    m_preview.clear();
    m_previewBox->setAccessibleDescription(source.isReadable() ? m_fileList->fileName() : tr("画像なし"));
    if (!source.isReadable()) {
        // Not a picture that can be shown: the preview stays empty, without a message.
        showPreview();
        return;
    }

    const PictureFitting::Placement placement = PictureFitting::place(pixels, himetric, m_pixelTwips);
    if (placement.path == PictureFitting::Path::Fitted) {
        const QImage picture = source.decode(m_preview.devicePixels(placement.twips.size()));
        if (!picture.isNull()) {
            loadHolder(picture, pixels);
            fitPicture(placement.percent);
        }
    } else {
        const QImage picture = source.decode();
        if (!picture.isNull())
            m_preview.paintNaturalSize(picture, placement.twips.topLeft());
    }
    showPreview();
}

void PictureDialog::loadHolder(const QImage &picture, const QSize &naturalPixels)
{
    // The holder takes the picture's natural size; it may keep the pixels already reduced to the painted size.
    m_holder->resize(naturalPixels);
    m_holder->setPicture(picture);
}

void PictureDialog::fitPicture(int percent)
{
    const QSizeF holderTwips = QSizeF(m_holder->size()) * m_pixelTwips;
    m_preview.paintStretched(m_holder->picture(),
                             PictureFitting::fittedRect(qint16(percent), holderTwips, m_pixelTwips));
}

void PictureDialog::showPreview()
{
    m_previewBox->setPicture(m_preview.image());
}

void PictureDialog::store()
{
    const QString path = m_folder.filePath(PictureFileName);
    const QByteArray bitmap = PictureFile::toBmp(m_preview.stored());
    const AtomicFile::Result written =
        bitmap.isEmpty() ? AtomicFile::Result{false, QStringLiteral("no bitmap")} : AtomicFile::write(path, bitmap);
    if (written.ok) {
        Q_EMIT pictureStored(PictureFile::read(path));
    } else {
        // The previous picture file and the main window's picture stay as they were.
        qWarning().noquote() << QStringLiteral("%1: %2").arg(PictureFileName, written.error);
        MessageBox::show(this, tr("画像ファイルに書き込みができません"));
    }
    done(written.ok ? Accepted : Rejected);
}
