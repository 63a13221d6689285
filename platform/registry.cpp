#include "platform/registry.h"

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include "platform/standinregistry.h"
#endif

namespace {

#ifdef Q_OS_WIN

/** The Win32 registry through advapi32. */
class WindowsRegistry : public Registry
{
public:
    long openKey(Key root, const QByteArray &keyName, quint32 options, quint32 access, Key *key) override
    {
        HKEY opened = nullptr;
        const LONG result = RegOpenKeyExA(toHandle(root), keyName.constData(), options, access, &opened);
        *key = result == ERROR_SUCCESS ? reinterpret_cast<Key>(opened) : 0;
        return result;
    }

    long queryValue(Key key, const QByteArray &valueName, quint32 *type, char *data, quint32 *size) override
    {
        DWORD valueType = 0;
        DWORD length = *size;
        const LONG result = RegQueryValueExA(toHandle(key), valueName.constData(), nullptr, &valueType,
                                             reinterpret_cast<LPBYTE>(data), &length);
        *type = valueType;
        *size = length;
        return result;
    }

    long closeKey(Key key) override { return RegCloseKey(toHandle(key)); }

private:
    // The predefined keys are sign-extended 32-bit values; a 64-bit handle must be built the same way.
    static HKEY toHandle(Key key)
    {
        if (key == LocalMachine)
            return HKEY_LOCAL_MACHINE;
        return reinterpret_cast<HKEY>(key);
    }
};

#endif

} // namespace

Registry &Registry::system()
{
#ifdef Q_OS_WIN
    static WindowsRegistry registry;
#else
    static StandInRegistry registry;
#endif
    return registry;
}
