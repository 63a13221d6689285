#include "app/mainwindow.h"

#include "about/aboutbox.h"
#include "app/mainsurface.h"
#include "app/mainwindowlayout.h"
#include "clock/clockmodel.h"
#include "dials/citylist.h"
#include "dials/dialface.h"
#include "dials/diallabel.h"
#include "dials/dialpair.h"
#include "dials/summertimetag.h"
#include "forms/listname.h"
#include "forms/picturebox.h"
#include "forms/surfacemouse.h"
#include "forms/twips.h"
#include "forms/windowframe.h"
#include "help/helpviewer.h"
#include "imaging/picturefile.h"
#include "picture/picturedialog.h"
#include "platform/drivelist.h"
#include "platform/fonts.h"
#include "platform/freedmemory.h"
#include "platform/workingfiles.h"
#include "settings/clocksettingsdialog.h"
#include "settings/settingsfile.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDebug>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QShortcut>
#include <QTimer>

namespace {

QLabel *makeCityLabel(QWidget *parent, const char *name, const QRect &pixels)
{
    // Dial A's name overlaps its time, so its glyphs are painted where the time's changed digits are.
    auto *label = new DialLabel(QString(), Qt::AlignHCenter | Qt::AlignTop, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(pixels);
    return label;
}

} // namespace

MainWindow::MainWindow(const QDir &workingFolder, ClockModel &clock, QWidget *parent)
    : QMainWindow(parent)
    , m_folder(workingFolder)
    , m_clock(clock)
{
    setObjectName(QStringLiteral("mainForm"));
    setWindowTitle(tr("++ Pelkin Horavista ++"));
    setWindowFlags(WindowFrame::Main);
    setWindowIcon(PictureFile::builtInIcon());
    createControls(Twips::pixelTwipsOf(parent));
    createMenus();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    connect(&m_clock, &ClockModel::changed, this, &MainWindow::showClockState);
    showClockState();
}

MainWindow::~MainWindow() = default;

void MainWindow::createControls(int pixelTwips)
{
    using namespace MainWindowLayout;
    m_surface = new MainSurface(this);
    m_surface->setObjectName(QStringLiteral("mainSurface"));
    m_surface->setFont(Fonts::font(Fonts::sansSerif(), 9));
    m_surface->setFixedSize(Twips::toPixels(ClientWidth, pixelTwips), Twips::toPixels(ClientHeight, pixelTwips));
    setCentralWidget(m_surface);

    m_dials = new DialPair(m_surface, dials(), pixelTwips, m_clock);
    m_surface->setDials(m_dials);

    const auto pixels = Twips::toPixels(Controls, pixelTwips);
    m_summerTimeTagA = SummerTimeTag::make(m_surface, "Label13", pixels[SummerTimeTagA], SummerTimeTag::Look::Tag);
    m_cityLabelA = makeCityLabel(m_surface, "Label1", pixels[CityLabelA]);
    m_summerTimeTagB = SummerTimeTag::make(m_surface, "Label14", pixels[SummerTimeTagB], SummerTimeTag::Look::Tag);
    m_cityLabelB = makeCityLabel(m_surface, "Label2", pixels[CityLabelB]);

    m_picture = new PictureBox(m_surface);
    m_picture->setObjectName(QStringLiteral("Picture1"));
    m_picture->setGeometry(pixels[Picture]);
    m_picture->setAccessibleName(tr("時計の間の画像"));

    m_cityList = new QComboBox(m_surface);
    m_cityList->setObjectName(QStringLiteral("Combo1"));
    m_cityList->setFont(Fonts::font(Fonts::sansSerif(), 8.25));
    m_cityList->setGeometry(pixels[CityListB]);
    CityList::fill(m_cityList);
    nameList(m_cityList, tr("時計 B の都市"));
    // The list has the focus first; Tab goes round to dial A and dial B, which come first in the focus chain.
    m_cityList->setFocus();
    // The list names dial B without saving it; its summer time goes with the city it was chosen for.
    connect(m_cityList, &QComboBox::activated, this, [this](int index) { m_clock.chooseCity(Dial::B, index); });

    // Labels and the list take the mouse for themselves: a press on them is not a press on the surface.
    for (QLabel *label : m_surface->findChildren<QLabel *>())
        label->setAttribute(Qt::WA_NoMousePropagation);
    m_cityList->setAttribute(Qt::WA_NoMousePropagation);
    new SurfaceMouse(m_surface, [this](const QPoint &at, bool byKeyboard) { popUpMenu(at, byKeyboard); });
}

void MainWindow::createMenus()
{
    auto makeAction = [this](const QString &name, const QString &caption, void (MainWindow::*command)()) {
        auto *action = new QAction(caption, this);
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, command);
        return action;
    };
    m_exitAction = makeAction(QStringLiteral("mnuExit"), tr("終了"), &MainWindow::exit);
    m_clockSettingsAction = makeAction(QStringLiteral("mnuSetTime"), tr("時計設定"), &MainWindow::openClockSettings);
    m_pictureSettingsAction = makeAction(QStringLiteral("mnuSetImg"), tr("画像設定"), &MainWindow::openPictureSettings);
    m_helpAction = makeAction(QStringLiteral("mnuCallHelp"), tr("ヘルプ"), &MainWindow::showHelp);
    m_aboutAction = makeAction(QStringLiteral("mnuCallVersion"), tr("バージョン情報"), &MainWindow::showAbout);

    // The letters of Alt+F, Alt+O and Alt+H are underlined only while Alt is held (MenuStyle).
    QMenu *fileMenu = menuBar()->addMenu(tr("&File"));
    fileMenu->setObjectName(QStringLiteral("mnuFile"));
    fileMenu->addAction(m_exitAction);
    QMenu *optionMenu = menuBar()->addMenu(tr("&Option"));
    optionMenu->setObjectName(QStringLiteral("mnuOption"));
    optionMenu->addAction(m_clockSettingsAction);
    optionMenu->addAction(m_pictureSettingsAction);
    QMenu *helpMenu = menuBar()->addMenu(tr("&Help"));
    helpMenu->setObjectName(QStringLiteral("mnuHelp"));
    helpMenu->addAction(m_helpAction);
    helpMenu->addAction(m_aboutAction);

    // The right button's menu: the same commands, without help.
    m_popUpMenu = new QMenu(tr("File(&F)"), this);
    m_popUpMenu->setObjectName(QStringLiteral("mnuFILE"));
    m_popUpMenu->setAccessibleName(tr("時計のメニュー"));
    m_popUpMenu->addAction(m_clockSettingsAction);
    m_popUpMenu->addAction(m_pictureSettingsAction);
    m_popUpMenu->addSeparator()->setObjectName(QStringLiteral("mnuStep2"));
    m_popUpMenu->addAction(m_exitAction);

    // Shortcuts of their own rather than the actions': the menus show no shortcut texts.
    connect(new QShortcut(QKeySequence::HelpContents, this), &QShortcut::activated, this, &MainWindow::showHelp);
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), this), &QShortcut::activated, this, &MainWindow::exit);
}

void MainWindow::load()
{
    loadIcon();
    loadPicture();
    m_clock.setState(SettingsFile(m_folder).read().forMainWindow(m_clock.state()));

    // The window opens centred on the screen, where the user can see it.
    if (const QScreen *screen = this->screen()) {
        const QRect frame = screen->geometry();
        move(frame.center() - QPoint(sizeHint().width() / 2, sizeHint().height() / 2));
    }
}

void MainWindow::loadIcon()
{
    setWindowIcon(PictureFile::windowIcon(m_folder.filePath(QString::fromLatin1(WorkingFiles::Icon))));
}

void MainWindow::loadPicture()
{
    const QString name = QString::fromLatin1(WorkingFiles::Picture);
    const QFileInfo file(m_folder.filePath(name));
    if (!file.isFile() || file.isHidden())
        return;
    QString error;
    const QImage picture = PictureFile::read(file.filePath(), &error);
    if (picture.isNull()) {
        qWarning().noquote() << QStringLiteral("%1: %2; the picture box stays empty").arg(name, error);
        return;
    }
    m_picture->setPicture(picture);
}

void MainWindow::showClockState()
{
    const ClockState &shown = m_clock.state();
    m_cityLabelA->setText(shown.a.city);
    m_cityLabelB->setText(shown.b.city);
    m_summerTimeTagA->setVisible(shown.a.summerTime);
    m_summerTimeTagB->setVisible(shown.b.summerTime);
    CityList::select(m_cityList, shown.b.city);
}

void MainWindow::showPicture(const QImage &picture)
{
    if (picture.isNull())
        m_picture->clearPicture();
    else
        m_picture->setPicture(picture);
}

void MainWindow::showHelp()
{
    HelpViewer::system().showProgramHelp(this);
}

void MainWindow::showAbout()
{
    {
        // Owned by this window only to stay off the task bar; it opens at its own place, modal to the program.
        AboutBox about(this);
        about.exec();
    }
    FreedMemory::release();
}

void MainWindow::openPictureSettings()
{
    // Opened from the clock-settings dialog's pop-up menu, it opens over that dialog.
    QWidget *opener = m_clockSettings ? static_cast<QWidget *>(m_clockSettings) : this;
    {
        PictureDialog dialog(m_folder, DriveList::system(), opener);
        connect(&dialog, &PictureDialog::pictureStored, this, &MainWindow::showPicture);
        m_pictureSettings = &dialog;
        dialog.exec();
    }
    // The pictures the dialog read are freed with it, and the idle window has no use for their memory.
    FreedMemory::release();
}

void MainWindow::openClockSettings()
{
    // The open dialog's own pop-up menu offers this command too; the open dialog is the one.
    if (m_clockSettings)
        return;
    {
        ClockSettingsDialog dialog(m_folder, m_clock, this);
        dialog.setPopUpMenu([this](const QPoint &at, bool byKeyboard) { popUpMenu(at, byKeyboard); });
        m_clockSettings = &dialog;
        dialog.exec();
    }
    // The world map is freed with the dialog, and the idle window has no use for its memory.
    FreedMemory::release();
}

void MainWindow::popUpMenu(const QPoint &globalPosition, bool byKeyboard)
{
    // Opened by a key, the menu starts on its first entry, as menus do: a screen reader reads it out.
    if (byKeyboard)
        QTimer::singleShot(0, m_popUpMenu,
                           [this] { m_popUpMenu->setActiveAction(m_popUpMenu->actions().constFirst()); });
    m_popUpMenu->exec(globalPosition);
}

void MainWindow::exit()
{
    // From the pop-up menu of an open clock-settings dialog: the dialog goes first, so that no window
    // of the program stays open. It writes nothing on the way out.
    if (m_clockSettings)
        m_clockSettings->close();
    closeByProgram();
}

void MainWindow::closeByProgram()
{
    m_closingByProgram = true;
    close();
    m_closingByProgram = false;
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // Every close the program did not ask for is the user's (the close box, the window menu, Alt+F4),
    // and takes the program's dialogs along. The About box closes with the program.
    if (!m_closingByProgram) {
        for (QDialog *dialog : {static_cast<QDialog *>(m_pictureSettings), static_cast<QDialog *>(m_clockSettings)}) {
            if (dialog)
                dialog->close();
        }
    }
    event->accept();
}
