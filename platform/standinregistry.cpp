#include "platform/standinregistry.h"

#include <QDir>
#include <QStandardPaths>

#include <cstring>

namespace {

constexpr char InfoKeyName[] = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr char PathValueName[] = "PATH";

bool sameName(const QByteArray &a, const char *b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

StandInRegistry::StandInRegistry() = default;

StandInRegistry::StandInRegistry(const QString &searchPath)
    : m_searchPath(searchPath)
{ }

QStringList StandInRegistry::programs()
{
    return {QStringLiteral("hardinfo"), QStringLiteral("hardinfo2"), QStringLiteral("kinfocenter"),
            QStringLiteral("xfce4-about")};
}

QString StandInRegistry::findProgram() const
{
    const QString searchPath = m_searchPath.value_or(qEnvironmentVariable("PATH"));
    QStringList folders = searchPath.split(QDir::listSeparator(), Qt::SkipEmptyParts);
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

long StandInRegistry::openKey(Key root, const QByteArray &keyName, quint32 /*options*/, quint32 access, Key *key)
{
    *key = 0;
    if (root != LocalMachine || !sameName(keyName, InfoKeyName) || findProgram().isEmpty())
        return FileNotFound;
    if ((access & ~ReadAccess) != 0)
        return AccessDenied;
    *key = InfoKey;
    ++m_openKeys;
    return Success;
}

long StandInRegistry::queryValue(Key key, const QByteArray &valueName, quint32 *type, char *data, quint32 *size)
{
    if (key != InfoKey || m_openKeys == 0)
        return InvalidHandle;
    if (!sameName(valueName, PathValueName))
        return FileNotFound;
    const QByteArray text = findProgram().toLocal8Bit();
    if (text.isEmpty())
        return FileNotFound;
    const auto needed = static_cast<quint32>(text.size() + 1);
    *type = String;
    if (needed > *size) {
        *size = needed;
        return MoreData;
    }
    std::memcpy(data, text.constData(), needed);
    *size = needed;
    return Success;
}

long StandInRegistry::closeKey(Key key)
{
    if (key != InfoKey || m_openKeys == 0)
        return InvalidHandle;
    --m_openKeys;
    return Success;
}
