#include "VolumeInfo.h"

#include <QSet>
#include <cfenv>
#include <cmath>

namespace NX_DiskFileInfo {

namespace {

const QSet<QString>& opticalFileSystems() {
    static const QSet<QString> set{"iso9660", "udf"};
    return set;
}

const QSet<QString>& networkFileSystems() {
    static const QSet<QString> set{
        "nfs",   "nfs4", "cifs",        "smb3",      "smbfs",          "sshfs", "fuse.sshfs",
        "9p",    "afs",  "ceph",        "glusterfs", "fuse.glusterfs", "davfs", "fuse.davfs2",
        "ncpfs", "coda", "fuse.rclone", "fuse.s3fs", "lustre",         "ocfs2"};
    return set;
}

const QSet<QString>& ramFileSystems() {
    static const QSet<QString> set{"tmpfs", "ramfs"};
    return set;
}

// The sysfs folder of the whole disk a device belongs to.
QString diskDirOf(const QString& deviceDir, VolumeSystem& system) {
    if (system.ReadSysfs(deviceDir + "/partition").trimmed().isEmpty())
        return deviceDir;
    return deviceDir.left(deviceDir.lastIndexOf('/'));
}

} // namespace

QString formatSerial(quint32 serial) {
    const QString hex = QString::number(serial, 16).toUpper().rightJustified(8, '0');
    return hex.left(4) + '-' + hex.mid(4);
}

QString serialFromUuid(const QString& uuid) {
    QString digits;
    for (QChar c : uuid)
        if (c.isDigit() || (c.toLower() >= 'a' && c.toLower() <= 'f'))
            digits.append(c.toUpper());
    if (digits.isEmpty())
        return {};
    digits = digits.left(8).rightJustified(8, '0');
    return digits.left(4) + '-' + digits.mid(4);
}

float percentOneDecimal(double part, double total) {
    const int previous = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double tenths = std::nearbyint(part * 1000.0 / total);
    std::fesetround(previous);
    return float(tenths / 10.0);
}

QString unityType(const MountEntry& mount, VolumeSystem& system) {
    const QString fs = mount.FileSystem.toLower();
    if (opticalFileSystems().contains(fs))
        return QStringLiteral("CD-ROM");
    if (networkFileSystems().contains(fs) || mount.Source.startsWith("//"))
        return QStringLiteral("Network");
    if (ramFileSystems().contains(fs))
        return QStringLiteral("RAM Disk");
    const QString dir = system.SysfsDirOf(mount.Source);
    if (!dir.isEmpty()) {
        const QString disk = diskDirOf(dir, system);
        if (system.ReadSysfs(disk + "/device/type").trimmed() == "5")
            return QStringLiteral("CD-ROM");
        if (system.ReadSysfs(disk + "/removable").trimmed() == "1" || dir.contains("/usb"))
            return QStringLiteral("Removable");
    }
    return QStringLiteral("Fixed");
}

MediaInfo volumeInfo(const QString& path, VolumeSystem& system, QString* error) {
    const auto failed = [error](const QString& why) {
        if (error)
            *error = why;
        return MediaInfo();
    };
    const QString canonical = system.CanonicalPath(path);
    if (canonical.isEmpty())
        return failed("no such path: " + path);
    const MountEntry mount = mountOf(parseMountInfo(system.MountInfo()), canonical);
    if (mount.MountPoint.isNull())
        return failed("no mounted volume holds " + path);
    quint64 total = 0, free = 0;
    if (!system.SpaceOf(mount.MountPoint, total, free) || total == 0)
        return failed("the volume at " + mount.MountPoint + " reports no size");

    MediaInfo info;
    info.UnityType = unityType(mount, system);
    info.UnityIsNetwork = info.UnityType == QLatin1String("Network");
    if (!info.UnityIsNetwork && !ramFileSystems().contains(mount.FileSystem)) {
        const VolumeIdentity id = system.Identify(mount.Source);
        info.UnityLabel = id.Label;
        info.UnitySerialNumber = serialFromUuid(id.Uuid);
    }
    info.UnityPartitionType = mount.FileSystem;
    info.UnitySize = double(total);
    info.UnityFreeSpace = double(free);
    info.UnityUsedSpace = double(total - qMin(free, total));
    info.UnityUsedSpacePerc = percentOneDecimal(info.UnityUsedSpace, info.UnitySize);
    info.UnityFreeSpacePerc = percentOneDecimal(info.UnityFreeSpace, info.UnitySize);
    info.DriveLetter = mount.MountPoint;
    return info;
}

} // namespace NX_DiskFileInfo
