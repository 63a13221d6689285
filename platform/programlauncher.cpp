#include "platform/programlauncher.h"

#include <QProcess>

namespace {

class SystemLauncher : public ProgramLauncher
{
public:
    bool start(const QString &path) override
    {
        if (path.isEmpty())
            return false;
        // The program runs on its own: it outlives this process and no output comes back.
        return QProcess::startDetached(path, {});
    }
};

} // namespace

ProgramLauncher &ProgramLauncher::system()
{
    static SystemLauncher launcher;
    return launcher;
}
