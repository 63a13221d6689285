#include "app/mainform.h"

#include "about/aboutbox.h"
#include "about/helpcommand.h"
#include "app/callmenu.h"
#include "app/mainformlayout.h"
#include "app/mainsurface.h"
#include "clock/citytable.h"
#include "clock/dialpair.h"
#include "clock/houroffsets.h"
#include "picture/setimgdialog.h"
#include "platform/drivelist.h"
#include "platform/fonts.h"
#include "platform/formcontrols.h"
#include "platform/formmouse.h"
#include "platform/picturebox.h"
#include "platform/picturefile.h"
#include "platform/twips.h"
#include "settings/readsettings.h"
#include "settings/settimedialog.h"
#include "settings/settingsfile.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QScreen>

namespace {

const QString IconFile = QStringLiteral("ico.ico");
const QString PictureFileName = QStringLiteral("mainImage.bmp");

QLabel *makeLabel(QWidget *parent, const QString &name, const QRect &twips, int pixelTwips)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    FormControls::place(label, twips, pixelTwips);
    return label;
}

QLabel *makeSummerTimeTag(QWidget *parent, const QString &name, const QRect &twips, int pixelTwips)
{
    QLabel *tag = makeLabel(parent, name, twips, pixelTwips);
    tag->setText(QStringLiteral("Summer+Time"));
    tag->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette palette = tag->palette();
    palette.setColor(QPalette::Window, QColor(0xFF, 0x00, 0x00));
    palette.setColor(QPalette::WindowText, QColor(0xFF, 0xFF, 0xFF));
    tag->setPalette(palette);
    // Roles of their own: a child would take the surface's window-background role otherwise.
    tag->setBackgroundRole(QPalette::Window);
    tag->setForegroundRole(QPalette::WindowText);
    tag->setAutoFillBackground(true);
    tag->hide();
    return tag;
}

} // namespace

MainForm::MainForm(const QDir &workingFolder, QWidget *parent)
    : QMainWindow(parent)
    , m_folder(workingFolder)
    , m_layoutTwips(Twips::pixelTwipsOf(parent))
{
    setObjectName(QStringLiteral("mainForm"));
    setWindowTitle(QStringLiteral("++ Pelkin Horavista ++"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setWindowIcon(PictureFile::builtInIcon());
    createControls();
    createMenus();
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    connect(mnuCallHelp, &QAction::triggered, this, &MainForm::mnuCallHelp_Click);
    connect(mnuCallVersion, &QAction::triggered, this, &MainForm::mnuCallVersion_Click);
}

MainForm::~MainForm()
{
    // The menu window has no parent; it must not outlive the actions its menu shows.
    delete m_callMenu;
}

void MainForm::createControls()
{
    m_surface = new MainSurface(this);
    m_surface->setObjectName(QStringLiteral("mainSurface"));
    m_surface->setFont(Fonts::font(Fonts::sansSerif(), 9));
    m_surface->setFixedSize(Twips::toPixels(MainFormLayout::ClientWidth, m_layoutTwips),
                            Twips::toPixels(MainFormLayout::ClientHeight, m_layoutTwips));
    setCentralWidget(m_surface);

    m_dials = new DialPair(m_surface, MainFormLayout::dials(), m_layoutTwips);
    m_surface->setDials(m_dials);

    Label13 = makeSummerTimeTag(m_surface, QStringLiteral("Label13"), MainFormLayout::Label13, m_layoutTwips);
    Label1 = makeLabel(m_surface, QStringLiteral("Label1"), MainFormLayout::Label1, m_layoutTwips);
    Label14 = makeSummerTimeTag(m_surface, QStringLiteral("Label14"), MainFormLayout::Label14, m_layoutTwips);
    Label2 = makeLabel(m_surface, QStringLiteral("Label2"), MainFormLayout::Label2, m_layoutTwips);

    Picture1 = new PictureBox(m_surface);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    FormControls::place(Picture1, MainFormLayout::Picture1, m_layoutTwips);

    Combo1 = new QComboBox(m_surface);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setFont(Fonts::font(Fonts::sansSerif(), 8.25));
    FormControls::place(Combo1, MainFormLayout::Combo1, m_layoutTwips);
    connect(Combo1, &QComboBox::activated, this, &MainForm::Combo1_Click);

    // Labels and the list take the mouse for themselves: a press on them is not a press on the surface.
    for (QLabel *label : m_surface->findChildren<QLabel *>())
        label->setAttribute(Qt::WA_NoMousePropagation);
    Combo1->setAttribute(Qt::WA_NoMousePropagation);
    m_mouse = new FormMouse(m_surface, [this](const QPoint &at) { popUpMenu(at); });
}

void MainForm::createMenus()
{
    auto makeAction = [this](const QString &name, const QString &caption) {
        auto *action = new QAction(caption, this);
        action->setObjectName(name);
        return action;
    };
    mnuExit = makeAction(QStringLiteral("mnuExit"), tr("終了"));
    mnuSetTime = makeAction(QStringLiteral("mnuSetTime"), tr("時計設定"));
    mnuSetImg = makeAction(QStringLiteral("mnuSetImg"), tr("画像設定"));
    mnuCallHelp = makeAction(QStringLiteral("mnuCallHelp"), tr("ヘルプ"));
    mnuCallVersion = makeAction(QStringLiteral("mnuCallVersion"), tr("バージョン情報"));

    QMenu *mnuFile = menuBar()->addMenu(QStringLiteral("File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuFile->addAction(mnuExit);
    QMenu *mnuOption = menuBar()->addMenu(QStringLiteral("Option"));
    mnuOption->setObjectName(QStringLiteral("mnuOption"));
    mnuOption->addAction(mnuSetTime);
    mnuOption->addAction(mnuSetImg);
    QMenu *mnuHelp = menuBar()->addMenu(QStringLiteral("Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    mnuHelp->addAction(mnuCallHelp);
    mnuHelp->addAction(mnuCallVersion);

    connect(mnuSetImg, &QAction::triggered, this, &MainForm::mnuSetImg_Click);
    connect(mnuExit, &QAction::triggered, this, &MainForm::mnuExit_Click);
    connect(mnuSetTime, &QAction::triggered, this, &MainForm::mnuSetTime_Click);
}

void MainForm::Form_Load()
{
    loadIcon();
    loadPicture();
    FillCityList();
    ReadSettings(SettingsFile(m_folder), *this);

    PixelTwips = Twips::pixelTwipsOf(this);
    m_mouse->setPixelTwips(PixelTwips);

    // The window opens centred on the screen, where the user can see it.
    if (const QScreen *screen = this->screen()) {
        const QRect frame = screen->geometry();
        move(frame.center() - QPoint(sizeHint().width() / 2, sizeHint().height() / 2));
    }

    m_dials->load(PixelTwips);
}

void MainForm::loadIcon()
{
    setWindowIcon(PictureFile::windowIcon(m_folder.filePath(IconFile)));
}

void MainForm::loadPicture()
{
    const QFileInfo file(m_folder.filePath(PictureFileName));
    if (!file.isFile() || file.isHidden())
        return;
    QString error;
    const QImage picture = PictureFile::read(file.filePath(), &error);
    if (picture.isNull()) {
        qWarning().noquote() << QStringLiteral("%1: %2; the picture box stays empty").arg(PictureFileName, error);
        return;
    }
    Picture1->setPicture(picture);
}

void MainForm::FillCityList()
{
    appendCityNames(Combo1);
}

void MainForm::Combo1_Click()
{
    Label2->setText(Combo1->currentText());
    if (!Label14->isHidden())
        Label14->hide();
    HourOffsetB = zoneOffsetAt(Combo1->currentIndex());
}

void MainForm::mnuCallHelp_Click()
{
    HelpCommand::open(this);
}

void MainForm::mnuCallVersion_Click()
{
    // Owned by this window only to stay off the task bar; it opens at its own place, modal to the program.
    AboutBox frmAbout(this);
    frmAbout.exec();
}

bool MainForm::selectCityB(const QString &city)
{
    const int index = FormControls::findListEntry(Combo1, city);
    if (index < 0)
        return false;
    FormControls::selectListEntry(Combo1, index, [this] { Combo1_Click(); });
    return true;
}

QString MainForm::selectedCityB() const
{
    return Combo1->currentText();
}

void MainForm::setCityCaptionA(const QString &caption)
{
    Label1->setText(caption);
}

void MainForm::setCityCaptionB(const QString &caption)
{
    Label2->setText(caption);
}

void MainForm::showSummerTimeA(bool shown)
{
    Label13->setVisible(shown);
}

void MainForm::showSummerTimeB(bool shown)
{
    Label14->setVisible(shown);
}

void MainForm::setPicture(const QImage &picture)
{
    Picture1->setPicture(picture);
}

void MainForm::clearPicture()
{
    Picture1->clearPicture();
}

void MainForm::mnuSetImg_Click()
{
    // Opened from the clock-settings dialog's pop-up menu, it opens over that dialog.
    QWidget *opener = m_setTime ? static_cast<QWidget *>(m_setTime) : this;
    SetImgDialog setImg(m_folder, *this, DriveList::system(), opener);
    setImg.exec();
}

void MainForm::popUpMenu(const QPoint &globalPosition)
{
    if (!m_callMenu)
        m_callMenu = new CallMenu(mnuSetTime, mnuSetImg, mnuExit);
    m_callMenu->popUp(globalPosition);
}

void MainForm::mnuExit_Click()
{
    // From the pop-up menu of an open clock-settings dialog: the dialog goes first, so that no window
    // of the program stays open. It writes nothing on the way out.
    if (m_setTime)
        m_setTime->close();
    closeByProgram();
    if (m_callMenu)
        m_callMenu->close();
}

void MainForm::mnuSetTime_Click()
{
    // The open dialog's own pop-up menu offers this command too; the open dialog is the one.
    if (m_setTime)
        return;
    SetTimeDialog dialog(m_folder, *this, this);
    dialog.setPopUpMenu([this](const QPoint &at) { popUpMenu(at); });
    m_setTime = &dialog;
    dialog.exec();
}

void MainForm::closeByProgram()
{
    m_closingByProgram = true;
    close();
    m_closingByProgram = false;
}

void MainForm::closeEvent(QCloseEvent *event)
{
    // Every close the program did not ask for is the user's: the close box, the window menu, Alt+F4.
    Form_QueryUnload(m_closingByProgram ? CloseReason::Program : CloseReason::User);
    event->accept();
}

void MainForm::Form_QueryUnload(CloseReason reason)
{
    if (reason != CloseReason::User)
        return;
    // The user's close takes the program's other windows along; the About box closes with the program.
    static const QStringList companions = {QStringLiteral("callMenu"), QStringLiteral("setImg"),
                                           QStringLiteral("setTime")};
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window != this && companions.contains(window->objectName()))
            window->close();
    }
}
