#pragma once

#include "platform/surfacemouse.h"

#include <QDialog>
#include <QDir>
#include <QImage>

class ClockModel;
class DialPair;
class MainFormControls;
class QCheckBox;
class QComboBox;
struct SavedSettings;

/**
 * @brief The clock-settings dialog setTime: each dial's city and summer time, with a live preview.
 *
 * Opening it loads it afresh: both city lists are filled (both hour offsets drop to 0) and the
 * settings file in the working folder selects the saved cities and boxes. Every choice sets its
 * dial's offset on the clock model at once, so the preview and the main window follow before
 * anything is saved. Set writes the file and puts the choice on the main window through
 * MainFormControls; Cancel and the close box write nothing and put nothing back.
 *
 * A right click on its surface opens the program's pop-up menu, which the main window supplies.
 */
class SetTimeDialog : public QDialog
{
    Q_OBJECT
public:
    SetTimeDialog(const QDir &workingFolder, MainFormControls &mainForm, ClockModel &clock, QWidget *parent = nullptr);
    ~SetTimeDialog() override;

    /** What a right click on the dialog's surface opens, at the pointer's place on the screen. */
    void setPopUpMenu(SurfaceMouse::PopUpMenu popUpMenu) { m_popUpMenu = std::move(popUpMenu); }

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void createControls();
    void load();
    void fillCityList(QComboBox *list);
    void loadSettings(const SavedSettings &saved);
    void showTokyo();

    void onCityAChosen();
    void onCityBChosen();
    void onSummerTimeAToggled();
    void onSummerTimeBToggled();
    void save();
    void fallBackToTokyo(bool writeFailed);

    QDir m_folder;
    MainFormControls &m_mainForm;
    ClockModel &m_clock;
    SurfaceMouse::PopUpMenu m_popUpMenu;
    qint32 m_layoutTwips;
    bool m_summerTimeA = false;
    bool m_summerTimeB = false;
    QImage m_worldMap;

    DialPair *m_dials = nullptr;
    SurfaceMouse *m_mouse = nullptr;
    QComboBox *m_cityListA = nullptr;
    QComboBox *m_cityListB = nullptr;
    QCheckBox *m_summerTimeBoxA = nullptr;
    QCheckBox *m_summerTimeBoxB = nullptr;
};
