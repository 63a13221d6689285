#pragma once

#include <QString>
#include <QStringList>

/**
 * @brief Where the system's information program is: the program the About box's "ｼｽﾃﾑ情報" button starts.
 *
 * On Windows the registry records it (msinfo32); elsewhere it is the first of a few system report
 * programs found on the search path. Tests put a fake in place of system().
 */
class SystemInformation
{
public:
    virtual ~SystemInformation() = default;

    /** The program's full path as the system records it, or an empty string when it records none. */
    virtual QString programPath() const = 0;

    static const SystemInformation &system();

#ifndef Q_OS_WIN
    /** The programs looked for, in order: a dedicated hardware and system report first, then the desktops' own. */
    static QStringList programs();

    /** The first of programs() found in @p folders, searched in order for each program. */
    static QString findOnSearchPath(const QStringList &folders);
#endif
};
