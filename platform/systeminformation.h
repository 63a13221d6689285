#pragma once

#include <QString>
#include <QStringList>

#include <optional>

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

#ifdef Q_OS_WIN
    /**
     * The two views of HKEY_LOCAL_MACHINE\SOFTWARE on 64-bit Windows: the one 64-bit programs see, and the
     * one (under Wow6432Node) that 32-bit programs and their installers see.
     */
    enum class RegistryView { Bits64, Bits32 };

    /** The most a registry value may hold, in bytes; a longer one reads as missing. */
    static constexpr unsigned long RegistryValueBytes = 1024;

    /**
     * The value @p name of the key @p key under HKEY_LOCAL_MACHINE in @p view, as text: a string as it is,
     * a double word as "&h" and the hexadecimal digits of each of its bytes up to the first zero byte,
     * last byte first; any other type as an empty text. Nothing when the key or the value is missing or
     * the value is longer than RegistryValueBytes. Names are matched as the registry matches them, without
     * regard to case.
     */
    static std::optional<QString> readMachineValue(RegistryView view, const QString &key, const QString &name);

    /**
     * readMachineValue() in the program's own 64-bit view, and where that finds nothing, in the 32-bit
     * view: a key that 32-bit software recorded lives only there.
     */
    static std::optional<QString> readMachineValue(const QString &key, const QString &name);
#else
    /** The programs looked for, in order: a dedicated hardware and system report first, then the desktops' own. */
    static QStringList programs();

    /** The first of programs() found in @p folders, searched in order for each program. */
    static QString findOnSearchPath(const QStringList &folders);
#endif
};
