#include "picture/setimgdialog.h"

#include "picture/folderlist.h"
#include "picture/mainpicture.h"
#include "picture/picturefitting.h"
#include "picture/setimglayout.h"
#include "platform/atomicfile.h"
#include "platform/formcontrols.h"
#include "platform/messagebox.h"
#include "platform/picturebox.h"
#include "platform/picturefile.h"
#include "platform/picturesource.h"
#include "platform/twips.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDebug>
#include <QPushButton>
#include <QScreen>
#include <QStorageInfo>

namespace {

const QString PictureFileName = QStringLiteral("mainImage.bmp");

template <typename Control>
Control *place(Control *control, const QString &name, const QRect &twips, int pixelTwips)
{
    control->setObjectName(name);
    FormControls::place(control, twips, pixelTwips);
    return control;
}

QPushButton *makeButton(QWidget *parent, const QString &name, const QString &text, const QString &toolTip,
                        const QRect &twips, int pixelTwips)
{
    auto *button = place(new QPushButton(text, parent), name, twips, pixelTwips);
    button->setToolTip(toolTip);
    button->setFont(SetImgLayout::controlFont());
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

SetImgDialog::SetImgDialog(const QDir &workingFolder, MainPicture &mainPicture, const DriveList &driveList,
                           QWidget *parent)
    : QDialog(parent)
    , m_folder(workingFolder)
    , m_mainPicture(mainPicture)
    , m_driveList(driveList)
    , m_pixelTwips(Twips::pixelTwipsOf(parent))
    , m_preview(m_pixelTwips, parent ? parent->devicePixelRatioF() : devicePixelRatioF(),
                palette().color(QPalette::Base))
{
    setObjectName(QStringLiteral("setImg"));
    setWindowTitle(tr("++ 画像設定 ++"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setWindowIcon(PictureFile::builtInIcon());
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    setFont(SetImgLayout::defaultFont());
    setFixedSize(Twips::toPixels(SetImgLayout::ClientWidth, m_pixelTwips),
                 Twips::toPixels(SetImgLayout::ClientHeight, m_pixelTwips));
    createControls();
    showStoredPicture();
}

SetImgDialog::~SetImgDialog() = default;

void SetImgDialog::createControls()
{
    const QFont listFont = SetImgLayout::controlFont();
    m_driveBox = place(new QComboBox(this), QStringLiteral("Drive1"), SetImgLayout::Drives, m_pixelTwips);
    m_driveBox->setFont(listFont);
    m_folderList = place(new FolderList(this), QStringLiteral("Dir1"), SetImgLayout::Folders, m_pixelTwips);
    m_folderList->setFont(listFont);
    m_fileList = place(new FileList(QString::fromLatin1(SetImgLayout::FilePattern), this), QStringLiteral("File1"),
                       SetImgLayout::Files, m_pixelTwips);
    m_fileList->setFont(listFont);
    m_previewBox = place(new PictureBox(this, PictureBox::Border::None), QStringLiteral("Picture2"),
                         SetImgLayout::Preview, m_pixelTwips);
    m_previewBox->setFocusPolicy(Qt::TabFocus);
    m_holder = place(new PictureBox(this, PictureBox::Border::None), QStringLiteral("Picture1"), SetImgLayout::Holder,
                     m_pixelTwips);
    auto *set = makeButton(this, QStringLiteral("setPic"), tr("設定"), tr("++ 画像を時計に設定します ++"),
                           SetImgLayout::SetButton, m_pixelTwips);
    auto *cancel = makeButton(this, QStringLiteral("btnExit"), tr("キャンセル"), tr("++ 終了します ++"),
                              SetImgLayout::CancelButton, m_pixelTwips);

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
    m_fileList->setPath(start);

    connect(m_driveBox, &QComboBox::activated, this, &SetImgDialog::onDriveChosen);
    connect(m_folderList, &FolderList::pathChanged, this, &SetImgDialog::onFolderChanged);
    connect(m_fileList, &FileList::fileClicked, this, &SetImgDialog::showChosenFile);
    connect(set, &QPushButton::clicked, this, &SetImgDialog::store);
    connect(cancel, &QPushButton::clicked, this, &SetImgDialog::reject);
}

void SetImgDialog::showStoredPicture()
{
    m_holder->hide();
    // A missing or unreadable stored picture leaves the preview with only its background.
    PictureSource stored(m_folder.filePath(PictureFileName));
    const QImage picture = stored.decode();
    if (!picture.isNull())
        m_preview.paintNaturalSize(picture, QPointF(0, 0));
    showPreview();
}

void SetImgDialog::onDriveChosen()
{
    const int index = m_driveBox->currentIndex();
    if (index < 0 || index >= m_drives.size())
        return;
    const Drive &drive = m_drives.at(index);
    if (!m_driveList.isReady(drive)) {
        MessageBox::show(this, tr("ドライブの準備ができていません。"));
        const int home = DriveList::indexOfDriveHolding(m_drives, QCoreApplication::applicationDirPath());
        if (home >= 0 && home != index)
            FormControls::selectListEntry(m_driveBox, home, [this] { onDriveChosen(); });
        return;
    }
    m_folderList->setPath(drive.rootPath, drive.rootPath);
}

void SetImgDialog::onFolderChanged()
{
    m_fileList->setPath(m_folderList->path());
}

QString SetImgDialog::chosenFilePath() const
{
    return QDir(m_fileList->path()).filePath(m_fileList->fileName());
}

void SetImgDialog::showChosenFile()
{
    // One reading gives the natural size (from the header) and the pixels, decoded no larger than painted.
    PictureSource source(chosenFilePath());
    const QSize pixels = source.pixelSize();
    const QSize himetric = source.himetricSize(dotsPerInch(this));

    m_holder->clearPicture();
    m_preview.clear();
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

void SetImgDialog::loadHolder(const QImage &picture, const QSize &naturalPixels)
{
    // The holder takes the picture's natural size; it may keep the pixels already reduced to the painted size.
    m_holder->resize(naturalPixels);
    m_holder->setPicture(picture);
}

void SetImgDialog::fitPicture(int percent)
{
    const QSizeF holderTwips = QSizeF(m_holder->size()) * m_pixelTwips;
    m_preview.paintStretched(m_holder->picture(),
                             PictureFitting::fittedRect(qint16(percent), holderTwips, m_pixelTwips));
}

void SetImgDialog::showPreview()
{
    m_previewBox->setPicture(m_preview.image());
}

void SetImgDialog::store()
{
    const QString path = m_folder.filePath(PictureFileName);
    const QByteArray bitmap = PictureFile::toBmp(m_preview.stored());
    const AtomicFile::Result written =
        bitmap.isEmpty() ? AtomicFile::Result{false, QStringLiteral("no bitmap")} : AtomicFile::write(path, bitmap);
    if (written.ok) {
        m_mainPicture.clearPicture();
        const QImage stored = PictureFile::read(path);
        if (!stored.isNull())
            m_mainPicture.setPicture(stored);
    } else {
        // The previous picture file and the main window's picture stay as they were.
        qWarning().noquote() << QStringLiteral("%1: %2").arg(PictureFileName, written.error);
        MessageBox::show(this, tr("画像ファイルに書き込みができません"));
    }
    done(written.ok ? Accepted : Rejected);
}
