#pragma once

#include "picture/mainpicture.h"
#include "settings/mainformcontrols.h"

#include <QDir>
#include <QMainWindow>
#include <QPointer>

class CallMenu;
class DialPair;
class FormMouse;
class MainSurface;
class PictureBox;
class QAction;
class QComboBox;
class QLabel;
class QMenu;
class SetTimeDialog;

/**
 * @brief The main window mainForm: two dials, the dial picture between them and dial B's city list.
 *
 * It reads its files (ico.ico, mainImage.bmp, setTime.properties) from the working folder it is
 * given, when Form_Load() runs, before it is first shown. The dials tick on their own from then on.
 * Its surface moves the window with the left button and opens the pop-up menu of the hidden window
 * callMenu with the right one; the menu bar and that menu share one action per command.
 */
class MainForm : public QMainWindow, public MainFormControls, public MainPicture
{
    Q_OBJECT
public:
    explicit MainForm(const QDir &workingFolder, QWidget *parent = nullptr);
    ~MainForm() override;

    /** Start-up: icon, dial picture, city list, saved settings, position and the hands' pivots. */
    void Form_Load();

    /** The city list's click handler: names dial B, drops its summer time and sets its offset. */
    void Combo1_Click();

    /** Help: the help file in the help viewer. */
    void mnuCallHelp_Click();
    /** Version information: the About box, modally. */
    void mnuCallVersion_Click();

    /** Exit: closes this window and the menu window, and an open clock-settings dialog first. */
    void mnuExit_Click();
    /** Opens the clock-settings dialog modally, unless it is open already. */
    void mnuSetTime_Click();

    /** Opens the pop-up menu of callMenu at @p globalPosition, creating that hidden window the first time. */
    void popUpMenu(const QPoint &globalPosition);

    DialPair &dials() const { return *m_dials; }
    const FormMouse &mouse() const { return *m_mouse; }
    qint32 pixelTwips() const { return PixelTwips; }

    bool selectCityB(const QString &city) override;
    QString selectedCityB() const override;
    void setCityCaptionA(const QString &caption) override;
    void setCityCaptionB(const QString &caption) override;
    void showSummerTimeA(bool shown) override;
    void showSummerTimeB(bool shown) override;

    void setPicture(const QImage &picture) override;
    void clearPicture() override;

    /** "画像設定": the picture dialog, modal, centred over this window. */
    void mnuSetImg_Click();

    /** Closes the window as the program's own request: the other windows stay as they are. */
    void closeByProgram();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    enum class CloseReason { User, Program };

    void createControls();
    void createMenus();
    void loadIcon();
    void loadPicture();
    void FillCityList();
    void Form_QueryUnload(CloseReason reason);

    QDir m_folder;
    qint32 m_layoutTwips;
    qint32 PixelTwips = 0;
    bool m_closingByProgram = false;

    MainSurface *m_surface = nullptr;
    FormMouse *m_mouse = nullptr;
    QPointer<CallMenu> m_callMenu;
    QPointer<SetTimeDialog> m_setTime;
    DialPair *m_dials = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label13 = nullptr;
    QLabel *Label14 = nullptr;
    PictureBox *Picture1 = nullptr;
    QComboBox *Combo1 = nullptr;

    QAction *mnuExit = nullptr;
    QAction *mnuSetTime = nullptr;
    QAction *mnuSetImg = nullptr;
    QAction *mnuCallHelp = nullptr;
    QAction *mnuCallVersion = nullptr;
};
