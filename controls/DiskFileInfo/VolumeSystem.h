#pragma once
// Where volume information comes from: the mount table, sysfs, statvfs and
// the file-system identity of a device. Tests replace the Linux source with
// their own to describe CD-ROMs, shares, RAM disks and sticks.

#include <QByteArray>
#include <QList>
#include <QString>

namespace NX_DiskFileInfo {

struct VolumeIdentity {
    QString Label;
    QString Uuid; // as the file system states it (FAT: "ABCD-1234")
    QString Type;
};

// One line of /proc/self/mountinfo.
struct MountEntry {
    QString MountPoint;
    QString FileSystem;
    QString Source;
};

class VolumeSystem {
public:
    virtual ~VolumeSystem() = default;
    virtual QByteArray MountInfo() = 0;
    // Total and free bytes of the file system mounted at `mountPoint`.
    virtual bool SpaceOf(const QString& mountPoint, quint64& total, quint64& free) = 0;
    // The sysfs folder of a block device (resolved), "" when it has none.
    virtual QString SysfsDirOf(const QString& device) = 0;
    virtual QByteArray ReadSysfs(const QString& path) = 0;
    virtual VolumeIdentity Identify(const QString& device) = 0;
    // The absolute path without links, "" when it does not exist.
    virtual QString CanonicalPath(const QString& path) = 0;
};

class LinuxVolumeSystem : public VolumeSystem {
public:
    QByteArray MountInfo() override;
    bool SpaceOf(const QString& mountPoint, quint64& total, quint64& free) override;
    QString SysfsDirOf(const QString& device) override;
    QByteArray ReadSysfs(const QString& path) override;
    // The /dev/disk/by-uuid and by-label links first (readable without
    // rights on the device), then libblkid on the device or image file.
    VolumeIdentity Identify(const QString& device) override;
    QString CanonicalPath(const QString& path) override;

    // libblkid alone, on a device or a file holding a file-system image.
    static VolumeIdentity probe(const QString& deviceOrImage);
};

// The mount table's lines (octal escapes of mount points decoded).
QList<MountEntry> parseMountInfo(const QByteArray& text);

// The mount that holds `canonicalPath`: the longest mount point above it,
// the last mounted on equal points. Null MountPoint when there is none.
MountEntry mountOf(const QList<MountEntry>& mounts, const QString& canonicalPath);

} // namespace NX_DiskFileInfo
