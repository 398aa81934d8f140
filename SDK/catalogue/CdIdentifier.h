#pragma once
// The CDDB disc identifier of an audio CD, computed from the disc's table of
// contents. The table is read through a small interface: the Linux CD-ROM
// ioctls in the real drive, fixed values in tests.

#include <QString>
#include <memory>

namespace QuorvaneSDK {

// A position or length on the disc: minutes, seconds, frames (75 a second).
struct Msf {
    int Minute = 0;
    int Second = 0;
    int Frame = 0;
    int offset() const { return Minute * 4500 + Second * 75 + Frame; }
    static Msf fromOffset(int frames) { return {frames / 4500, (frames / 75) % 60, frames % 75}; }
};

// The table of contents of the disc in a drive. Every query returns 0 on
// success or an error code.
class CdTableOfContents {
public:
    virtual ~CdTableOfContents() = default;
    virtual int NumberOfTracks(int& count) = 0;
    // Start of track n (1-based).
    virtual int TrackPosition(int track, Msf& start) = 0;
    // Length of track n, as the drive reports it: for the last track the
    // lead-out minus its start minus one frame.
    virtual int TrackLength(int track, Msf& length) = 0;
    // False for a disc of data tracks only, which has no CDDB identity.
    virtual bool HasAudioTrack() { return true; }
};

// Finds the drive of a path and opens its table of contents.
class CdDriveAccess {
public:
    virtual ~CdDriveAccess() = default;
    // True when `drive` (a device or a path on a mounted volume) is an optical drive.
    virtual bool IsOpticalDrive(const QString& drive) = 0;
    // The disc's table of contents, or null with `errorCode` set.
    virtual std::unique_ptr<CdTableOfContents> Open(const QString& drive, int& errorCode) = 0;
};

// The Linux drives: a block device path (/dev/sr0, /dev/cdrom) or a path
// on a mounted volume; SCSI CD-ROM devices count as optical.
class LinuxCdDriveAccess : public CdDriveAccess {
public:
    bool IsOpticalDrive(const QString& drive) override;
    std::unique_ptr<CdTableOfContents> Open(const QString& drive, int& errorCode) override;
    // The block device that holds `path`: the path itself when it is one,
    // else the source of its mount; "" when there is none.
    static QString deviceOf(const QString& path);
};

// One identifier computation.
class CCd {
public:
    static constexpr const char* kUnavailable = "(unavailable)";

    void Init(const QString& drive, CdDriveAccess& access);
    QString DiscID() const { return m_discId; }
    int ErrorCode() const { return m_errorCode; }

    // The identifier from a table of contents; "" with `errorCode` set on failure.
    static QString compute(CdTableOfContents& toc, int& errorCode);

private:
    QString m_discId = QString::fromLatin1(kUnavailable);
    int m_errorCode = 0;
    QString m_drive;
};

// What the future Main::get_CDDBID returns: "" when `Drive` is not on an
// optical drive or the disc holds no audio track, "(unavailable)" when the
// disc cannot be read, otherwise the eight lower-case hexadecimal digits.
QString get_CDDBID(const QString& Drive);
QString get_CDDBID(const QString& Drive, CdDriveAccess& access);

} // namespace QuorvaneSDK
