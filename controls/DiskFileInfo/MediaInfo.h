#pragma once
// What is known about a volume: the record GetUnityInfo returns.

#include <QString>

namespace NX_DiskFileInfo {

struct MediaInfo {
    QString UnityType; // "Fixed", "Removable", "Network", "CD-ROM", "RAM Disk"
    bool UnityIsNetwork = false;
    QString UnitySerialNumber; // "XXXX-XXXX"
    QString UnityLabel;
    QString UnityPartitionType; // file-system name as the system reports it
    double UnitySize = 0;       // bytes
    double UnityFreeSpace = 0;  // all free bytes, not just those the user may fill
    double UnityUsedSpace = 0;
    float UnityFreeSpacePerc = 0; // one decimal
    float UnityUsedSpacePerc = 0;
    QString DriveLetter; // the mount point of the volume
};

} // namespace NX_DiskFileInfo
