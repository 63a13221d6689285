#include "platform/programlauncher.h"

#include <QFileInfo>
#include <QProcess>

namespace {

/** Paths in the program's data are written the Windows way; elsewhere the backslashes become slashes. */
QString localPath(const QString &path)
{
#ifdef Q_OS_WIN
    return path;
#else
    QString local = path;
    local.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return local;
#endif
}

class SystemLauncher : public ProgramLauncher
{
public:
    bool fileExists(const QString &path) const override
    {
        const QString local = localPath(path);
        return !local.isEmpty() && QFileInfo(local).isFile();
    }

    bool start(const QString &path) override
    {
        if (path.isEmpty())
            return false;
        // The program runs on its own: it outlives this process and no output comes back.
        return QProcess::startDetached(localPath(path), {});
    }
};

} // namespace

ProgramLauncher &ProgramLauncher::system()
{
    static SystemLauncher launcher;
    return launcher;
}
