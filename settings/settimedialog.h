#pragma once

#include "platform/formmouse.h"

#include <QDialog>
#include <QDir>
#include <QImage>

class DialPair;
class MainFormControls;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

/**
 * @brief The clock-settings dialog setTime: each dial's city and summer time, with a live preview.
 *
 * Opening it loads it afresh: both city lists are filled (both hour offsets drop to 0) and the
 * settings file in the working folder selects the saved cities and boxes. Every choice sets the
 * program-wide offset of its dial at once, so the preview and the main window follow before anything
 * is saved. Set writes the file and puts the cities and summer-time tags on the main window through
 * MainFormControls; Cancel and the close box write nothing and put nothing back.
 *
 * A right click on its surface opens the program's pop-up menu, which the main window supplies.
 */
class SetTimeDialog : public QDialog
{
    Q_OBJECT
public:
    SetTimeDialog(const QDir &workingFolder, MainFormControls &mainForm, QWidget *parent = nullptr);
    ~SetTimeDialog() override;

    /** What a right click on the dialog's surface opens, at the pointer's place on the screen. */
    void setPopUpMenu(FormMouse::PopUpMenu popUpMenu) { m_popUpMenu = std::move(popUpMenu); }

    DialPair &dials() const { return *m_dials; }
    const FormMouse &mouse() const { return *m_mouse; }
    qint32 pixelTwips() const { return PixelTwips; }
    bool summerTimeA() const { return SummerTimeA; }
    bool summerTimeB() const { return SummerTimeB; }

    void Combo1_Click();
    void Combo2_Click();
    void Check1_Click();
    void Check2_Click();
    /** Set: save, put the choice on the main window, read the file back, close. */
    void setTime_Click();
    /** Cancel: close, writing nothing. */
    void btnExit_Click();

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void createControls();
    void Form_Load();
    void FillCityCombo(QComboBox *targetList);
    void UpdateOffsetA();
    void UpdateOffsetB();
    void LoadSettings();
    void LoadTokyo();
    bool ApplyToMainForm();
    void failSet(bool writeFailed);

    QDir m_folder;
    MainFormControls &m_mainForm;
    FormMouse::PopUpMenu m_popUpMenu;
    qint32 m_layoutTwips;
    qint32 PixelTwips = 0;
    bool SummerTimeA = false;
    bool SummerTimeB = false;
    QImage m_worldMap;

    DialPair *m_dials = nullptr;
    FormMouse *m_mouse = nullptr;
    QComboBox *Combo1 = nullptr;
    QComboBox *Combo2 = nullptr;
    QCheckBox *Check1 = nullptr;
    QCheckBox *Check2 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QPushButton *btnExit = nullptr;
    QPushButton *setTime = nullptr;
};
