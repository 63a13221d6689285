#pragma once

#include <QByteArray>
#include <QtGlobal>

/**
 * @brief The system registry, reduced to the three calls the program makes: open a key, read one value, close.
 *
 * The calls keep the Win32 shape (result 0 for success, a key handle that is 0 when opening failed, a
 * caller's buffer with an in/out size) so that the code reading the registry is the same everywhere.
 * system() is the real registry on Windows; elsewhere it is StandInRegistry.
 */
class Registry
{
public:
    using Key = quintptr;

    /** HKEY_LOCAL_MACHINE as its 32-bit handle value. */
    static constexpr Key LocalMachine = 0x80000002u;

    /** KEY_READ: enough to read values; the only access a standard account has under LocalMachine. */
    static constexpr quint32 ReadAccess = 0x20019;

    static constexpr long Success = 0;
    static constexpr long FileNotFound = 2;
    static constexpr long AccessDenied = 5;
    static constexpr long InvalidHandle = 6;
    static constexpr long MoreData = 234;

    // Value types.
    static constexpr quint32 String = 1; // REG_SZ
    static constexpr quint32 ExpandString = 2;
    static constexpr quint32 Binary = 3;
    static constexpr quint32 DoubleWord = 4; // REG_DWORD

    virtual ~Registry() = default;

    /** RegOpenKeyExA: @p key receives the open key, or 0. */
    virtual long openKey(Key root, const QByteArray &keyName, quint32 options, quint32 access, Key *key) = 0;

    /**
     * RegQueryValueExA: copies the value into @p data, of @p size bytes; @p size receives the length of
     * the value, @p type its type. A value longer than the buffer is MoreData and copies nothing.
     */
    virtual long queryValue(Key key, const QByteArray &valueName, quint32 *type, char *data, quint32 *size) = 0;

    /** RegCloseKey. */
    virtual long closeKey(Key key) = 0;

    /** The registry of the system the program runs on. */
    static Registry &system();
};
