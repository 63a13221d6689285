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

/**
 * msinfo32, as the registry records it: its own entry first, then the shared tools' folder, each read in
 * the 64-bit view and then in the 32-bit one.
 */
class RegistrySystemInformation : public SystemInformation
{
public:
    QString programPath() const override
    {
        // Started as recorded, without looking for the file: a stale path fails to start and the user is
        // told. A value of another type counts as found and gives an empty path, which fails alike.
        if (const auto path =
                readMachineValue(QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"), QStringLiteral("PATH")))
            return *path;
        if (const auto folder = readMachineValue(QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location"),
                                                 QStringLiteral("MSINFO"))) {
            const QString program = *folder + QStringLiteral("\\MSINFO32.EXE");
            if (QFileInfo(program).isFile())
                return program;
        }
        return {};
    }
};

/** A registry value's data as the lookup reads it; see SystemInformation::readMachineValue(). */
QString valueText(DWORD type, const BYTE *data, DWORD size)
{
    if (type == REG_SZ) {
        const auto *text = reinterpret_cast<const wchar_t *>(data);
        return QString::fromWCharArray(text, qsizetype(wcsnlen(text, size / sizeof(wchar_t))));
    }
    if (type != REG_DWORD)
        return {};
    QString digits = QStringLiteral("&h");
    DWORD length = 0;
    while (length < size && data[length] != 0)
        ++length;
    for (DWORD i = length; i > 0; --i)
        digits += QString::number(data[i - 1], 16).toUpper();
    return digits;
}

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

#ifdef Q_OS_WIN

std::optional<QString> SystemInformation::readMachineValue(RegistryView view, const QString &key, const QString &name)
{
    // Read access only: under LocalMachine a standard account may not ask for more.
    const REGSAM access = KEY_READ | (view == RegistryView::Bits32 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY);
    HKEY handle = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, qUtf16Printable(key), 0, access, &handle) != ERROR_SUCCESS)
        return std::nullopt; // nothing was opened, so there is nothing to close
    // Words, so that a string's characters are aligned; the registry counts the room in bytes.
    std::array<wchar_t, RegistryValueBytes / sizeof(wchar_t)> buffer{};
    auto *data = reinterpret_cast<BYTE *>(buffer.data());
    DWORD size = RegistryValueBytes;
    DWORD type = REG_NONE;
    const LONG result = RegQueryValueExW(handle, qUtf16Printable(name), nullptr, &type, data, &size);
    RegCloseKey(handle);
    if (result != ERROR_SUCCESS)
        return std::nullopt;
    return valueText(type, data, size);
}

std::optional<QString> SystemInformation::readMachineValue(const QString &key, const QString &name)
{
    // The program is 64-bit, so its own view comes first: there Windows keeps what its 64-bit tools
    // record. Installers of 32-bit software write into the other view, which is where the key lives on
    // machines that only such software set up.
    if (auto value = readMachineValue(RegistryView::Bits64, key, name))
        return value;
    return readMachineValue(RegistryView::Bits32, key, name);
}

#else

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
