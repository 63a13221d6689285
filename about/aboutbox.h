#pragma once

#include <QDialog>

class ProgramLauncher;
class SystemInformation;

/**
 * @brief The About box frmAbout: the program's icon, title, version, ownership notice and disclaimer.
 *
 * Its "ｼｽﾃﾑ情報" button starts the system's information program where the system records one, and
 * says so when it cannot. The box keeps no state; it is made for one showing.
 */
class AboutBox : public QDialog
{
    Q_OBJECT
public:
    explicit AboutBox(QWidget *parent = nullptr);
    /** With the lookup and the launcher given, for tests. */
    AboutBox(QWidget *parent, const SystemInformation &systemInformation, ProgramLauncher &launcher);
    ~AboutBox() override;

    /** Starts the system-information program, or tells the user it is unavailable. */
    void startSystemInformation();

    /** Esc and the close box end the box as OK does. */
    void reject() override;

private:
    void createControls();

    const SystemInformation &m_systemInformation;
    ProgramLauncher &m_launcher;
};
