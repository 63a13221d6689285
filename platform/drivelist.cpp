#include "platform/drivelist.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

#include <algorithm>

#ifdef Q_OS_WIN
#include <windows.h>
#include <winnetwk.h>

#include <array>
#include <string>
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

/**
 * Keeps the system from asking for a disk or reporting an unreadable drive in a box of its own while it
 * lives, on this thread only: the call fails with "device not ready" instead.
 */
class QuietDriveErrors
{
public:
    QuietDriveErrors() { SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &m_previous); }
    ~QuietDriveErrors() { SetThreadErrorMode(m_previous, nullptr); }
    QuietDriveErrors(const QuietDriveErrors &) = delete;
    QuietDriveErrors &operator=(const QuietDriveErrors &) = delete;

private:
    DWORD m_previous = 0;
};

/** The root in Windows' own spelling, "C:\" for "C:/". */
std::wstring nativeRoot(const QString &rootPath)
{
    return QDir::toNativeSeparators(rootPath).toStdWString();
}

/** The share a network drive stands for (\\server\share), or an empty text where it is not connected. */
QString shareName(const QString &rootPath)
{
    const std::wstring device = nativeRoot(rootPath).substr(0, 2);
    std::array<wchar_t, MAX_PATH> remote{};
    DWORD length = DWORD(remote.size());
    if (WNetGetConnectionW(device.c_str(), remote.data(), &length) != NO_ERROR)
        return {};
    return QString::fromWCharArray(remote.data());
}

/** The volume's label, or an empty text where it has none or cannot be read now. */
QString volumeLabel(const QString &rootPath)
{
    const QuietDriveErrors quiet;
    std::array<wchar_t, MAX_PATH + 1> name{};
    const BOOL ok = GetVolumeInformationW(nativeRoot(rootPath).c_str(), name.data(), DWORD(name.size()), nullptr,
                                          nullptr, nullptr, nullptr, 0);
    return ok ? QString::fromWCharArray(name.data()) : QString();
}

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
            const QString root = QString(QChar(u'A' + i)) + QStringLiteral(":/");
            // Reading a network drive's label can take long; the share's name says more anyway.
            const bool network = GetDriveTypeW(nativeRoot(root).c_str()) == DRIVE_REMOTE;
            result.append(Drive{root, network ? shareName(root) : volumeLabel(root)});
        }
        return result;
    }

    bool isReady(const Drive &drive) const override
    {
        const QuietDriveErrors quiet;
        const std::wstring root = nativeRoot(drive.rootPath);
        // An empty removable drive has no volume. A drive that stands for a folder (subst) keeps the
        // volume of the disk it is on after that folder is gone, so its root must answer too.
        if (!GetVolumeInformationW(root.c_str(), nullptr, 0, nullptr, nullptr, nullptr, nullptr, 0))
            return false;
        const DWORD attributes = GetFileAttributesW(root.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
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
