#pragma once

#include "picture/mainpicture.h"
#include "settings/mainformcontrols.h"

#include <QDir>
#include <QMainWindow>
#include <QPointer>

class ClockModel;
class DialPair;
class MainSurface;
class PictureBox;
class QAction;
class QComboBox;
class QLabel;
class QMenu;
class SetTimeDialog;
class SurfaceMouse;

/**
 * @brief The main window mainForm: two dials, the dial picture between them and dial B's city list.
 *
 * load() reads its files (ico.ico, mainImage.bmp, setTime.properties) from the working folder it is
 * given, before the window is first shown; the dials tick on their own from its creation. Its surface
 * moves the window with the left button and opens the pop-up menu with the right one; the menu bar and
 * the pop-up menu share one action per command.
 */
class MainForm : public QMainWindow, public MainFormControls, public MainPicture
{
    Q_OBJECT
public:
    MainForm(const QDir &workingFolder, ClockModel &clock, QWidget *parent = nullptr);
    ~MainForm() override;

    /** Start-up: icon, dial picture, city list, saved settings, position and the hands' pivots. */
    void load();

    /** Closes the window as the program's own request: the other windows stay as they are. */
    void closeByProgram();

    bool selectCityB(const QString &city) override;
    void setCityCaptionA(const QString &caption) override;
    void setCityCaptionB(const QString &caption) override;
    void showSummerTimeA(bool shown) override;
    void showSummerTimeB(bool shown) override;

    void setPicture(const QImage &picture) override;
    void clearPicture() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createControls();
    void createMenus();
    void loadIcon();
    void loadPicture();

    void onCityListActivated();
    void openClockSettings();
    void openPictureSettings();
    void showHelp();
    void showAbout();
    void exit();
    void popUpMenu(const QPoint &globalPosition);

    QDir m_folder;
    ClockModel &m_clock;
    qint32 m_layoutTwips;
    bool m_closingByProgram = false;

    MainSurface *m_surface = nullptr;
    SurfaceMouse *m_mouse = nullptr;
    DialPair *m_dials = nullptr;
    QLabel *m_cityLabelA = nullptr;
    QLabel *m_cityLabelB = nullptr;
    QLabel *m_summerTimeTagA = nullptr;
    QLabel *m_summerTimeTagB = nullptr;
    PictureBox *m_picture = nullptr;
    QComboBox *m_cityList = nullptr;
    QMenu *m_popUpMenu = nullptr;
    QPointer<SetTimeDialog> m_clockSettings;

    QAction *m_exitAction = nullptr;
    QAction *m_clockSettingsAction = nullptr;
    QAction *m_pictureSettingsAction = nullptr;
    QAction *m_helpAction = nullptr;
    QAction *m_aboutAction = nullptr;
};
