#pragma once

#include "platform/registry.h"

#include <QString>
#include <QStringList>

#include <optional>

/**
 * @brief A read-only registry for systems without one, holding the single value the About box looks up.
 *
 * Under LocalMachine it has the key "SOFTWARE\Microsoft\Shared Tools\MSINFO" whose string value "PATH" is
 * the full path of the first system-information program of programs() found on the search path; without
 * such a program the key is absent. It has no other key. Names are compared without regard to case, as
 * the registry does; asking for more than read access is refused.
 */
class StandInRegistry : public Registry
{
public:
    /** Searches the process's PATH at each lookup. */
    StandInRegistry();
    /** Searches @p searchPath (folders separated as in PATH) instead. */
    explicit StandInRegistry(const QString &searchPath);

    /** The programs looked for, in order: a dedicated hardware and system report first, then the desktops' own. */
    static QStringList programs();

    long openKey(Key root, const QByteArray &keyName, quint32 options, quint32 access, Key *key) override;
    long queryValue(Key key, const QByteArray &valueName, quint32 *type, char *data, quint32 *size) override;
    long closeKey(Key key) override;

private:
    static constexpr Key InfoKey = 1;

    QString findProgram() const;

    std::optional<QString> m_searchPath;
    int m_openKeys = 0;
};
