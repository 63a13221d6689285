#pragma once

#include <QDir>
#include <QMainWindow>
#include <QPointer>

class ClockModel;
class ClockSettingsDialog;
class DialPair;
class MainSurface;
class PictureBox;
class PictureDialog;
class QAction;
class QComboBox;
class QLabel;
class QMenu;

/**
 * @brief The main window mainForm: two dials, the dial picture between them and dial B's city list.
 *
 * Its captions, summer-time tags, city list and dials are views of the clock model; choosing a city
 * in the list names dial B without saving it. load() reads its files (the icon, the dial picture, the
 * settings) from the working folder it is given, before the window is first shown; the dials tick on
 * their own from its creation. Its surface moves the window with the left button and opens the pop-up
 * menu with the right one; the menu bar and the pop-up menu share one action per command.
 */
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    MainWindow(const QDir &workingFolder, ClockModel &clock, QWidget *parent = nullptr);
    ~MainWindow() override;

    /** Start-up: icon, dial picture, saved settings and position. */
    void load();

    /** Closes the window as the program's own request: the other windows stay as they are. */
    void closeByProgram();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createControls(int pixelTwips);
    void createMenus();
    void loadIcon();
    void loadPicture();
    void showClockState();
    void showPicture(const QImage &picture);

    void openClockSettings();
    void openPictureSettings();
    void showHelp();
    void showAbout();
    void exit();
    void popUpMenu(const QPoint &globalPosition, bool byKeyboard);

    QDir m_folder;
    ClockModel &m_clock;
    bool m_closingByProgram = false;

    MainSurface *m_surface = nullptr;
    DialPair *m_dials = nullptr;
    QLabel *m_cityLabelA = nullptr;
    QLabel *m_cityLabelB = nullptr;
    QLabel *m_summerTimeTagA = nullptr;
    QLabel *m_summerTimeTagB = nullptr;
    PictureBox *m_picture = nullptr;
    QComboBox *m_cityList = nullptr;
    QMenu *m_popUpMenu = nullptr;
    QPointer<ClockSettingsDialog> m_clockSettings;
    QPointer<PictureDialog> m_pictureSettings;

    QAction *m_exitAction = nullptr;
    QAction *m_clockSettingsAction = nullptr;
    QAction *m_pictureSettingsAction = nullptr;
    QAction *m_helpAction = nullptr;
    QAction *m_aboutAction = nullptr;
};
