#pragma once

#include <QList>
#include <QString>

/** One entry of the drive list: a drive letter's root on Windows, a mounted volume's folder elsewhere. */
struct Drive
{
    QString rootPath; ///< with '/' separators, ending in '/'
    QString label; ///< the volume's label; for a Windows network drive, the share it stands for

    /** How the drive list shows it: "c: [SYSTEM]" on Windows, the mount folder elsewhere. */
    QString displayName() const;
};

/**
 * @brief The drives a user can browse for a file, and whether one of them can be read now.
 *
 * On Windows these are the drive letters; elsewhere the root folder and the mounted volumes a user
 * would look in (disks, removable media, network shares), without the system's pseudo file systems.
 * The picture dialog lists them; tests give it a list of their own.
 */
class DriveList
{
public:
    virtual ~DriveList() = default;

    virtual QList<Drive> drives() const = 0;

    /** False for a drive that cannot be read now, as an empty removable drive. */
    virtual bool isReady(const Drive &drive) const = 0;

    /** The position in @p drives of the drive that holds @p path (the longest root above it), or -1. */
    static int indexOfDriveHolding(const QList<Drive> &drives, const QString &path);

    /** The computer's own drives. */
    static const DriveList &system();
};
