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
    , PixelTwips(Twips::pixelTwipsOf(parent))
    , m_preview(PixelTwips, parent ? parent->devicePixelRatioF() : devicePixelRatioF(), palette().color(QPalette::Base))
{
    setObjectName(QStringLiteral("setImg"));
    setWindowTitle(tr("++ 画像設定 ++"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setWindowIcon(PictureFile::builtInIcon());
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    setFont(SetImgLayout::defaultFont());
    setFixedSize(Twips::toPixels(SetImgLayout::ClientWidth, PixelTwips),
                 Twips::toPixels(SetImgLayout::ClientHeight, PixelTwips));
    createControls();
    Form_Load();
}

SetImgDialog::~SetImgDialog() = default;

void SetImgDialog::createControls()
{
    const QFont listFont = SetImgLayout::controlFont();
    Drive1 = place(new QComboBox(this), QStringLiteral("Drive1"), SetImgLayout::Drive1, PixelTwips);
    Drive1->setFont(listFont);
    Dir1 = place(new FolderList(this), QStringLiteral("Dir1"), SetImgLayout::Dir1, PixelTwips);
    Dir1->setFont(listFont);
    File1 = place(new FileList(QString::fromLatin1(SetImgLayout::FilePattern), this), QStringLiteral("File1"),
                  SetImgLayout::File1, PixelTwips);
    File1->setFont(listFont);
    Picture2 = place(new PictureBox(this, PictureBox::Border::None), QStringLiteral("Picture2"), SetImgLayout::Picture2,
                     PixelTwips);
    Picture2->setFocusPolicy(Qt::TabFocus);
    Picture1 = place(new PictureBox(this, PictureBox::Border::None), QStringLiteral("Picture1"), SetImgLayout::Picture1,
                     PixelTwips);
    setPic = makeButton(this, QStringLiteral("setPic"), tr("設定"), tr("++ 画像を時計に設定します ++"),
                        SetImgLayout::setPic, PixelTwips);
    btnExit = makeButton(this, QStringLiteral("btnExit"), tr("キャンセル"), tr("++ 終了します ++"),
                         SetImgLayout::btnExit, PixelTwips);

    // The keyboard's order: folders, drives, files, preview, then the buttons. The holder stays hidden.
    setTabOrder(Dir1, Drive1);
    setTabOrder(Drive1, File1);
    setTabOrder(File1, Picture2);
    setTabOrder(Picture2, setPic);
    setTabOrder(setPic, btnExit);
    Dir1->setFocus();

    // The lists open on the working folder and its drive. Placing them is not the user's choice of a drive.
    m_drives = m_driveList.drives();
    for (const Drive &drive : std::as_const(m_drives))
        Drive1->addItem(drive.displayName());
    const QString start = m_folder.absolutePath();
    const int driveIndex = DriveList::indexOfDriveHolding(m_drives, start);
    Drive1->setCurrentIndex(driveIndex);
    Dir1->setPath(start, driveIndex >= 0 ? m_drives.at(driveIndex).rootPath : QStorageInfo(start).rootPath());
    File1->setPath(start);

    connect(Drive1, &QComboBox::activated, this, &SetImgDialog::Drive1_Change);
    connect(Dir1, &FolderList::pathChanged, this, &SetImgDialog::Dir1_Change);
    connect(File1, &FileList::fileClicked, this, &SetImgDialog::File1_Click);
    connect(setPic, &QPushButton::clicked, this, &SetImgDialog::setPic_Click);
    connect(btnExit, &QPushButton::clicked, this, &SetImgDialog::btnExit_Click);
}

void SetImgDialog::Form_Load()
{
    Picture1->hide();
    // A missing or unreadable stored picture leaves the preview with only its background.
    PictureSource stored(m_folder.filePath(PictureFileName));
    const QImage picture = stored.decode();
    if (!picture.isNull())
        m_preview.paintNaturalSize(picture, QPointF(0, 0));
    showPreview();
}

void SetImgDialog::Drive1_Change()
{
    const int index = Drive1->currentIndex();
    if (index < 0 || index >= m_drives.size())
        return;
    const Drive &drive = m_drives.at(index);
    if (!m_driveList.isReady(drive)) {
        MessageBox::show(this, tr("ドライブの準備ができていません。"));
        const int home = DriveList::indexOfDriveHolding(m_drives, QCoreApplication::applicationDirPath());
        if (home >= 0 && home != index)
            FormControls::selectListEntry(Drive1, home, [this] { Drive1_Change(); });
        return;
    }
    Dir1->setPath(drive.rootPath, drive.rootPath);
}

void SetImgDialog::Dir1_Change()
{
    File1->setPath(Dir1->path());
}

QString SetImgDialog::chosenFilePath() const
{
    return QDir(File1->path()).filePath(File1->fileName());
}

void SetImgDialog::File1_Click()
{
    // One reading gives the natural size (from the header) and the pixels, decoded no larger than painted.
    PictureSource source(chosenFilePath());
    const QSize pixels = source.pixelSize();
    const QSize himetric = source.himetricSize(dotsPerInch(this));

    Picture1->clearPicture();
    m_preview.clear();
    if (!source.isReadable()) {
        // Not a picture that can be shown: the preview stays empty, without a message.
        showPreview();
        return;
    }

    const PictureFitting::Placement placement = PictureFitting::place(pixels, himetric, PixelTwips);
    if (placement.path == PictureFitting::Path::Fitted) {
        const QImage picture = source.decode(m_preview.devicePixels(placement.twips.size()));
        if (!picture.isNull()) {
            LoadHolderPicture(picture, pixels);
            PaintFittedPicture(placement.percent);
        }
    } else {
        const QImage picture = source.decode();
        if (!picture.isNull())
            m_preview.paintNaturalSize(picture, placement.twips.topLeft());
    }
    showPreview();
}

void SetImgDialog::LoadHolderPicture(const QImage &picture, const QSize &naturalPixels)
{
    // The holder takes the picture's natural size; it may keep the pixels already reduced to the painted size.
    Picture1->resize(naturalPixels);
    Picture1->setPicture(picture);
}

void SetImgDialog::PaintFittedPicture(const qint16 &Percent)
{
    const QSizeF holderTwips = QSizeF(Picture1->size()) * PixelTwips;
    m_preview.paintStretched(Picture1->picture(), PictureFitting::fittedRect(Percent, holderTwips, PixelTwips));
}

void SetImgDialog::showPreview()
{
    Picture2->setPicture(m_preview.image());
}

void SetImgDialog::setPic_Click()
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

void SetImgDialog::btnExit_Click()
{
    reject();
}
