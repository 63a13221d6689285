#pragma once

#include "clock/clockmodel.h"
#include "forms/surfacemouse.h"

#include <QDialog>
#include <QDir>
#include <QImage>

class DialPair;
class QCheckBox;
class QComboBox;

/**
 * @brief The clock-settings dialog setTime: each dial's city and summer time, with a live preview.
 *
 * Opening it loads it afresh: the settings file in the working folder selects the saved cities and
 * boxes. The dialog edits the clock model itself, so its preview and the main window show every choice
 * in full at once, captions and tags with the hands. Set writes the file and keeps the choice; Cancel
 * and the close box write nothing and put back what the main window showed before the dialog opened.
 *
 * A right click on its surface opens the program's pop-up menu, which the main window supplies.
 */
class ClockSettingsDialog : public QDialog
{
    Q_OBJECT
public:
    ClockSettingsDialog(const QDir &workingFolder, ClockModel &clock, QWidget *parent = nullptr);
    ~ClockSettingsDialog() override;

    /** What a right click on the dialog's surface opens, at the pointer's place on the screen. */
    void setPopUpMenu(SurfaceMouse::PopUpMenu popUpMenu) { m_popUpMenu = std::move(popUpMenu); }

    /** Cancel and the close box: the clock goes back to what it showed before the dialog opened. */
    void reject() override;

protected:
    void changeEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void createControls(int pixelTwips);
    void showChoices();
    void save();
    void fallBackToTokyo(bool writeFailed);

    QDir m_folder;
    ClockModel &m_clock;
    const ClockState m_shownBefore;
    SurfaceMouse::PopUpMenu m_popUpMenu;
    QImage m_worldMap;
    QImage m_shownMap; ///< the map in the palette's colours, made at the first paint after a change

    DialPair *m_dials = nullptr;
    QComboBox *m_cityListA = nullptr;
    QComboBox *m_cityListB = nullptr;
    QCheckBox *m_summerTimeBoxA = nullptr;
    QCheckBox *m_summerTimeBoxB = nullptr;
};
