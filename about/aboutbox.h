#pragma once

#include "platform/programlauncher.h"
#include "platform/registry.h"

#include <QDialog>

class PictureBox;
class QLabel;
class QPushButton;

/**
 * @brief The About box frmAbout: the program's icon, title, version, ownership notice and disclaimer.
 *
 * Its "ｼｽﾃﾑ情報" button starts the system's information program, found through the registry it is
 * given (the system's own unless a test passes another), and started through the given launcher.
 * The box keeps no state; it is made for one showing.
 */
class AboutBox : public QDialog
{
    Q_OBJECT
public:
    explicit AboutBox(QWidget *parent = nullptr, Registry &registry = Registry::system(),
                      ProgramLauncher &launcher = ProgramLauncher::system());
    ~AboutBox() override;

    /** Sets the caption, the version and the title; runs once, from the constructor. */
    void Form_Load();

    void cmdOK_Click();
    void cmdSysInfo_Click();

    /** Starts the system-information program, or tells the user it is unavailable. */
    void StartSysInfo();

    /**
     * Reads the value @p SubKeyRef of the key @p KeyName under @p KeyRoot: a string as it is, a double
     * word as "&h" and hexadecimal digits. False, with @p KeyVal emptied, when the key or value is missing.
     */
    bool GetKeyValue(Registry::Key KeyRoot, const QString &KeyName, const QString &SubKeyRef, QString &KeyVal);

    /** Esc and the close box: both end the box as OK does. */
    void reject() override;

private:
    void createControls();

    Registry &m_registry;
    ProgramLauncher &m_launcher;

    PictureBox *picIcon = nullptr;
    QLabel *lblTitle = nullptr;
    QLabel *lblVersion = nullptr;
    QLabel *lblDescription = nullptr;
    QLabel *lblDisclaimer = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdSysInfo = nullptr;
};
