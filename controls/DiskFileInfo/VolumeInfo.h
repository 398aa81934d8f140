#pragma once
// The volume that holds a path, described as GetUnityInfo reports it.

#include "MediaInfo.h"
#include "VolumeSystem.h"

namespace NX_DiskFileInfo {

// The record for the volume holding `path`; an empty record with the reason
// in *error when the path, its mount or its sizes cannot be found.
MediaInfo volumeInfo(const QString& path, VolumeSystem& system, QString* error = nullptr);

// Drive type text from the file system and the device.
QString unityType(const MountEntry& mount, VolumeSystem& system);

// "XXXX-XXXX" from a 32-bit serial: upper case, zero-padded.
QString formatSerial(quint32 serial);
// From a file system's UUID or serial text: its first eight hexadecimal
// digits (a FAT volume id "ABCD-1234" stays as it is); "" when it has none.
QString serialFromUuid(const QString& uuid);

// 100 * part / total rounded to one decimal, a tie going to the even tenth.
float percentOneDecimal(double part, double total);

} // namespace NX_DiskFileInfo
