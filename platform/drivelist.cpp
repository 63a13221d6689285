#include "platform/drivelist.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

#include <algorithm>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

QString withTrailingSlash(QString path)
{
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path;
}

#ifdef Q_OS_WIN
constexpr Qt::CaseSensitivity PathCase = Qt::CaseInsensitive;
#else
constexpr Qt::CaseSensitivity PathCase = Qt::CaseSensitive;
#endif

#ifdef Q_OS_WIN

class WindowsDrives : public DriveList
{
public:
    QList<Drive> drives() const override
    {
        QList<Drive> result;
        const DWORD letters = GetLogicalDrives();
        for (int i = 0; i < 26; ++i) {
            if (!(letters & (1u << i)))
                continue;
            Drive drive;
            drive.rootPath = QString(QChar(u'A' + i)) + QStringLiteral(":/");
            drive.label = volumeLabel(drive.rootPath);
            result.append(drive);
        }
        return result;
    }

    bool isReady(const Drive &drive) const override
    {
        // An empty removable or optical drive fails here with "device not ready", without asking for a disk.
        const UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
        const std::wstring root = QDir::toNativeSeparators(drive.rootPath).toStdWString();
        const BOOL ok = GetVolumeInformationW(root.c_str(), nullptr, 0, nullptr, nullptr, nullptr, nullptr, 0);
        SetErrorMode(previous);
        return ok != FALSE;
    }

private:
    static QString volumeLabel(const QString &rootPath)
    {
        const std::wstring root = QDir::toNativeSeparators(rootPath).toStdWString();
        // Reading the label of a network drive can take long; those show their share name instead.
        if (GetDriveTypeW(root.c_str()) == DRIVE_REMOTE) {
            wchar_t remote[MAX_PATH] = {};
            DWORD length = MAX_PATH;
            const std::wstring device = root.substr(0, 2);
            if (WNetGetConnectionW(device.c_str(), remote, &length) == NO_ERROR)
                return QString::fromWCharArray(remote);
            return QString();
        }
        const UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
        wchar_t name[MAX_PATH + 1] = {};
        const BOOL ok = GetVolumeInformationW(root.c_str(), name, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0);
        SetErrorMode(previous);
        return ok ? QString::fromWCharArray(name) : QString();
    }
};

#else

bool isUnder(const QString &folder, const QString &path)
{
    return path == folder || path.startsWith(withTrailingSlash(folder));
}

class MountedVolumes : public DriveList
{
public:
    QList<Drive> drives() const override
    {
        QList<Drive> result{Drive{QStringLiteral("/"), QString()}};
        // Qt already leaves out what is mounted under /dev, /proc and /sys, and empty file systems.
        for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
            if (!volume.isValid() || !browsable(volume))
                continue;
            const QString root = withTrailingSlash(volume.rootPath());
            const bool known = std::any_of(result.cbegin(), result.cend(),
                                           [&root](const Drive &drive) { return drive.rootPath == root; });
            if (!known)
                result.append(Drive{root, volume.name()});
        }
        std::sort(result.begin() + 1, result.end(),
                  [](const Drive &a, const Drive &b) { return a.rootPath < b.rootPath; });
        return result;
    }

    bool isReady(const Drive &drive) const override
    {
        const QStorageInfo volume(drive.rootPath);
        return volume.isValid() && volume.isReady() && QFileInfo(drive.rootPath).isReadable();
    }

private:
    static bool browsable(const QStorageInfo &volume)
    {
        const QString root = volume.rootPath();
        // Files mounted on their own (a container's /etc/hosts) are no place to browse.
        if (!QFileInfo(root).isDir())
            return false;
        // Memory file systems and packed program images hold no user's pictures.
        static const QList<QByteArray> systemTypes = {"tmpfs",    "ramfs",       "squashfs",       "autofs",
                                                      "efivarfs", "fuse.portal", "fuse.gvfsd-fuse"};
        if (systemTypes.contains(volume.fileSystemType()))
            return false;
        // Under /run only the removable media that the desktop mounts for the user.
        if (isUnder(QStringLiteral("/run"), root))
            return isUnder(QStringLiteral("/run/media"), root);
        return !isUnder(QStringLiteral("/snap"), root) && !isUnder(QStringLiteral("/boot"), root);
    }
};

#endif

} // namespace

QString Drive::displayName() const
{
#ifdef Q_OS_WIN
    const QString letter = rootPath.left(2).toLower();
    return label.isEmpty() ? letter : QStringLiteral("%1 [%2]").arg(letter, label);
#else
    QString folder = rootPath;
    if (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    return label.isEmpty() || folder == QStringLiteral("/") ? folder : QStringLiteral("%1 [%2]").arg(folder, label);
#endif
}

int DriveList::indexOfDriveHolding(const QList<Drive> &drives, const QString &path)
{
    const QString cleanPath = withTrailingSlash(QDir::cleanPath(QDir::fromNativeSeparators(path)));
    int best = -1;
    for (int i = 0; i < drives.size(); ++i) {
        const QString &root = drives.at(i).rootPath;
        const bool holds = cleanPath.startsWith(root, PathCase);
        if (holds && (best < 0 || root.size() > drives.at(best).rootPath.size()))
            best = i;
    }
    return best;
}

const DriveList &DriveList::system()
{
#ifdef Q_OS_WIN
    static const WindowsDrives drives;
#else
    static const MountedVolumes drives;
#endif
    return drives;
}
