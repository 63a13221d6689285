#include "platform/systeminformation.h"

#ifdef Q_OS_WIN
#include <QFileInfo>

#include <windows.h>

#include <array>
#else
#include <QDir>
#include <QStandardPaths>
#endif

namespace {

#ifdef Q_OS_WIN

/** msinfo32, as the registry records it: its own entry first, then the shared tools' folder. */
class RegistrySystemInformation : public SystemInformation
{
public:
    QString programPath() const override
    {
        QString path;
        if (readValue(L"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", L"PATH", path))
            return path; // started as recorded: a stale path fails to start, and the user is told
        QString folder;
        if (readValue(L"SOFTWARE\\Microsoft\\Shared Tools Location", L"MSINFO", folder)) {
            const QString program = folder + QStringLiteral("\\MSINFO32.EXE");
            if (QFileInfo(program).isFile())
                return program;
        }
        return {};
    }

private:
    /**
     * Reads one value under HKEY_LOCAL_MACHINE: a string as it is, a double word as "&h" and the
     * hexadecimal digits of its bytes up to the first zero byte, last first; another type as an
     * empty text. False when the key or the value is missing or does not fit 1024 bytes.
     */
    static bool readValue(const wchar_t *keyName, const wchar_t *valueName, QString &value)
    {
        value.clear();
        HKEY key = nullptr;
        // Read access only: under LocalMachine a standard account may not ask for more.
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, keyName, 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        std::array<wchar_t, 512> buffer{};
        DWORD size = DWORD(buffer.size() * sizeof(wchar_t));
        DWORD type = 0;
        const LONG result =
            RegQueryValueExW(key, valueName, nullptr, &type, reinterpret_cast<LPBYTE>(buffer.data()), &size);
        RegCloseKey(key);
        if (result != ERROR_SUCCESS)
            return false;
        if (type == REG_SZ) {
            value = QString::fromWCharArray(buffer.data(), qsizetype(wcsnlen(buffer.data(), buffer.size())));
        } else if (type == REG_DWORD) {
            const auto *bytes = reinterpret_cast<const uchar *>(buffer.data());
            qsizetype length = 0;
            while (length < qsizetype(size) && bytes[length] != 0)
                ++length;
            for (qsizetype i = length - 1; i >= 0; --i)
                value += QString::number(bytes[i], 16).toUpper();
            value.prepend(QLatin1String("&h"));
        }
        return true;
    }
};

#else

class SearchPathSystemInformation : public SystemInformation
{
public:
    QString programPath() const override
    {
        const QStringList folders = qEnvironmentVariable("PATH").split(QDir::listSeparator(), Qt::SkipEmptyParts);
        return findOnSearchPath(folders);
    }
};

#endif

} // namespace

#ifndef Q_OS_WIN

QStringList SystemInformation::programs()
{
    return {QStringLiteral("hardinfo"), QStringLiteral("hardinfo2"), QStringLiteral("kinfocenter"),
            QStringLiteral("xfce4-about")};
}

QString SystemInformation::findOnSearchPath(const QStringList &folders)
{
    // QStandardPaths searches the process's PATH when given no folders; an empty path finds nothing.
    if (folders.isEmpty())
        return {};
    for (const QString &program : programs()) {
        const QString found = QStandardPaths::findExecutable(program, folders);
        if (!found.isEmpty())
            return found;
    }
    return {};
}

#endif

const SystemInformation &SystemInformation::system()
{
#ifdef Q_OS_WIN
    static const RegistrySystemInformation information;
#else
    static const SearchPathSystemInformation information;
#endif
    return information;
}
