#include "app/mainform.h"

#include "about/aboutbox.h"
#include "app/mainformlayout.h"
#include "app/mainsurface.h"
#include "clock/citytable.h"
#include "clock/clockmodel.h"
#include "clock/dialpair.h"
#include "help/helpviewer.h"
#include "picture/setimgdialog.h"
#include "platform/drivelist.h"
#include "platform/fonts.h"
#include "platform/formcontrols.h"
#include "platform/picturebox.h"
#include "platform/picturefile.h"
#include "platform/surfacemouse.h"
#include "platform/twips.h"
#include "settings/settimedialog.h"
#include "settings/settingsfile.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QMenu>
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

MainForm::MainForm(const QDir &workingFolder, ClockModel &clock, QWidget *parent)
    : QMainWindow(parent)
    , m_folder(workingFolder)
    , m_clock(clock)
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
}

MainForm::~MainForm() = default;

void MainForm::createControls()
{
    m_surface = new MainSurface(this);
    m_surface->setObjectName(QStringLiteral("mainSurface"));
    m_surface->setFont(Fonts::font(Fonts::sansSerif(), 9));
    m_surface->setFixedSize(Twips::toPixels(MainFormLayout::ClientWidth, m_layoutTwips),
                            Twips::toPixels(MainFormLayout::ClientHeight, m_layoutTwips));
    setCentralWidget(m_surface);

    m_dials = new DialPair(m_surface, MainFormLayout::dials(), m_layoutTwips, m_clock);
    m_surface->setDials(m_dials);

    m_summerTimeTagA =
        makeSummerTimeTag(m_surface, QStringLiteral("Label13"), MainFormLayout::SummerTimeTagA, m_layoutTwips);
    m_cityLabelA = makeLabel(m_surface, QStringLiteral("Label1"), MainFormLayout::CityLabelA, m_layoutTwips);
    m_summerTimeTagB =
        makeSummerTimeTag(m_surface, QStringLiteral("Label14"), MainFormLayout::SummerTimeTagB, m_layoutTwips);
    m_cityLabelB = makeLabel(m_surface, QStringLiteral("Label2"), MainFormLayout::CityLabelB, m_layoutTwips);

    m_picture = new PictureBox(m_surface);
    m_picture->setObjectName(QStringLiteral("Picture1"));
    FormControls::place(m_picture, MainFormLayout::Picture, m_layoutTwips);

    m_cityList = new QComboBox(m_surface);
    m_cityList->setObjectName(QStringLiteral("Combo1"));
    m_cityList->setFont(Fonts::font(Fonts::sansSerif(), 8.25));
    FormControls::place(m_cityList, MainFormLayout::CityList, m_layoutTwips);
    connect(m_cityList, &QComboBox::activated, this, &MainForm::onCityListActivated);

    // Labels and the list take the mouse for themselves: a press on them is not a press on the surface.
    for (QLabel *label : m_surface->findChildren<QLabel *>())
        label->setAttribute(Qt::WA_NoMousePropagation);
    m_cityList->setAttribute(Qt::WA_NoMousePropagation);
    m_mouse = new SurfaceMouse(m_surface, [this](const QPoint &at) { popUpMenu(at); });
}

void MainForm::createMenus()
{
    auto makeAction = [this](const QString &name, const QString &caption, void (MainForm::*command)()) {
        auto *action = new QAction(caption, this);
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, command);
        return action;
    };
    m_exitAction = makeAction(QStringLiteral("mnuExit"), tr("終了"), &MainForm::exit);
    m_clockSettingsAction = makeAction(QStringLiteral("mnuSetTime"), tr("時計設定"), &MainForm::openClockSettings);
    m_pictureSettingsAction = makeAction(QStringLiteral("mnuSetImg"), tr("画像設定"), &MainForm::openPictureSettings);
    m_helpAction = makeAction(QStringLiteral("mnuCallHelp"), tr("ヘルプ"), &MainForm::showHelp);
    m_aboutAction = makeAction(QStringLiteral("mnuCallVersion"), tr("バージョン情報"), &MainForm::showAbout);

    QMenu *fileMenu = menuBar()->addMenu(QStringLiteral("File"));
    fileMenu->setObjectName(QStringLiteral("mnuFile"));
    fileMenu->addAction(m_exitAction);
    QMenu *optionMenu = menuBar()->addMenu(QStringLiteral("Option"));
    optionMenu->setObjectName(QStringLiteral("mnuOption"));
    optionMenu->addAction(m_clockSettingsAction);
    optionMenu->addAction(m_pictureSettingsAction);
    QMenu *helpMenu = menuBar()->addMenu(QStringLiteral("Help"));
    helpMenu->setObjectName(QStringLiteral("mnuHelp"));
    helpMenu->addAction(m_helpAction);
    helpMenu->addAction(m_aboutAction);

    // The right button's menu: the same commands, without help.
    m_popUpMenu = new QMenu(tr("File(&F)"), this);
    m_popUpMenu->setObjectName(QStringLiteral("mnuFILE"));
    m_popUpMenu->addAction(m_clockSettingsAction);
    m_popUpMenu->addAction(m_pictureSettingsAction);
    m_popUpMenu->addSeparator()->setObjectName(QStringLiteral("mnuStep2"));
    m_popUpMenu->addAction(m_exitAction);
}

void MainForm::load()
{
    loadIcon();
    loadPicture();
    appendCityNames(m_cityList);
    showSavedSettings(SettingsFile(m_folder).read(), m_clock);

    const int pixelTwips = Twips::pixelTwipsOf(this);
    m_mouse->setPixelTwips(pixelTwips);

    // The window opens centred on the screen, where the user can see it.
    if (const QScreen *screen = this->screen()) {
        const QRect frame = screen->geometry();
        move(frame.center() - QPoint(sizeHint().width() / 2, sizeHint().height() / 2));
    }

    m_dials->placePivots(pixelTwips);
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
    m_picture->setPicture(picture);
}

void MainForm::onCityListActivated()
{
    // The list names dial B without saving it; its summer time goes with the city it was chosen for.
    m_cityLabelB->setText(m_cityList->currentText());
    if (!m_summerTimeTagB->isHidden())
        m_summerTimeTagB->hide();
    m_clock.setOffsetB(zoneOffsetAt(m_cityList->currentIndex()));
}

bool MainForm::selectCityB(const QString &city)
{
    const int index = FormControls::findListEntry(m_cityList, city);
    if (index < 0)
        return false;
    FormControls::selectListEntry(m_cityList, index, [this] { onCityListActivated(); });
    return true;
}

void MainForm::setCityCaptionA(const QString &caption)
{
    m_cityLabelA->setText(caption);
}

void MainForm::setCityCaptionB(const QString &caption)
{
    m_cityLabelB->setText(caption);
}

void MainForm::showSummerTimeA(bool shown)
{
    m_summerTimeTagA->setVisible(shown);
}

void MainForm::showSummerTimeB(bool shown)
{
    m_summerTimeTagB->setVisible(shown);
}

void MainForm::setPicture(const QImage &picture)
{
    m_picture->setPicture(picture);
}

void MainForm::clearPicture()
{
    m_picture->clearPicture();
}

void MainForm::showHelp()
{
    HelpViewer::system().showProgramHelp(this);
}

void MainForm::showAbout()
{
    // Owned by this window only to stay off the task bar; it opens at its own place, modal to the program.
    AboutBox about(this);
    about.exec();
}

void MainForm::openPictureSettings()
{
    // Opened from the clock-settings dialog's pop-up menu, it opens over that dialog.
    QWidget *opener = m_clockSettings ? static_cast<QWidget *>(m_clockSettings) : this;
    SetImgDialog dialog(m_folder, *this, DriveList::system(), opener);
    dialog.exec();
}

void MainForm::openClockSettings()
{
    // The open dialog's own pop-up menu offers this command too; the open dialog is the one.
    if (m_clockSettings)
        return;
    SetTimeDialog dialog(m_folder, *this, m_clock, this);
    dialog.setPopUpMenu([this](const QPoint &at) { popUpMenu(at); });
    m_clockSettings = &dialog;
    dialog.exec();
}

void MainForm::popUpMenu(const QPoint &globalPosition)
{
    m_popUpMenu->exec(globalPosition);
}

void MainForm::exit()
{
    // From the pop-up menu of an open clock-settings dialog: the dialog goes first, so that no window
    // of the program stays open. It writes nothing on the way out.
    if (m_clockSettings)
        m_clockSettings->close();
    closeByProgram();
}

void MainForm::closeByProgram()
{
    m_closingByProgram = true;
    close();
    m_closingByProgram = false;
}

void MainForm::closeEvent(QCloseEvent *event)
{
    // Every close the program did not ask for is the user's (the close box, the window menu, Alt+F4),
    // and takes the program's dialogs along. The About box closes with the program.
    if (!m_closingByProgram) {
        static const QStringList companions = {QStringLiteral("setImg"), QStringLiteral("setTime")};
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (window != this && companions.contains(window->objectName()))
                window->close();
        }
    }
    event->accept();
}
