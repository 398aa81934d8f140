// The table of contents of a disc through the Linux CD-ROM ioctls.

#include "catalogue/CdIdentifier.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <linux/cdrom.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace QuorvaneSDK {

namespace {

constexpr unsigned kScsiCdromMajor = 11;

Msf msfOf(const cdrom_tocentry& e) {
    return {e.cdte_addr.msf.minute, e.cdte_addr.msf.second, e.cdte_addr.msf.frame};
}

class IoctlToc : public CdTableOfContents {
public:
    explicit IoctlToc(int fd) : m_fd(fd) {}
    ~IoctlToc() override { ::close(m_fd); }

    // Reads the whole table at once; 0 or an errno value.
    int load() {
        cdrom_tochdr header{};
        if (::ioctl(m_fd, CDROMREADTOCHDR, &header) != 0)
            return errno ? errno : EIO;
        for (int t = header.cdth_trk0; t <= header.cdth_trk1; ++t) {
            cdrom_tocentry e{};
            e.cdte_track = quint8(t);
            e.cdte_format = CDROM_MSF;
            if (::ioctl(m_fd, CDROMREADTOCENTRY, &e) != 0)
                return errno ? errno : EIO;
            m_starts.append(msfOf(e));
            m_audio = m_audio || !(e.cdte_ctrl & CDROM_DATA_TRACK);
        }
        cdrom_tocentry lead{};
        lead.cdte_track = CDROM_LEADOUT;
        lead.cdte_format = CDROM_MSF;
        if (::ioctl(m_fd, CDROMREADTOCENTRY, &lead) != 0)
            return errno ? errno : EIO;
        m_leadOut = msfOf(lead);
        return 0;
    }

    int NumberOfTracks(int& count) override {
        count = int(m_starts.size());
        return 0;
    }
    int TrackPosition(int track, Msf& start) override {
        if (track < 1 || track > m_starts.size())
            return EINVAL;
        start = m_starts[track - 1];
        return 0;
    }
    int TrackLength(int track, Msf& length) override {
        if (track < 1 || track > m_starts.size())
            return EINVAL;
        const int end =
            track == m_starts.size() ? m_leadOut.offset() - 1 : m_starts[track].offset();
        length = Msf::fromOffset(qMax(0, end - m_starts[track - 1].offset()));
        return 0;
    }
    bool HasAudioTrack() override { return m_audio; }

private:
    int m_fd;
    QList<Msf> m_starts;
    Msf m_leadOut;
    bool m_audio = false;
};

// Mount point and source of the mount that holds `path` (the longest match).
QString mountSourceOf(const QString& path) {
    QFile mounts(QStringLiteral("/proc/self/mountinfo"));
    if (!mounts.open(QIODevice::ReadOnly))
        return {};
    QString best, source;
    for (const QByteArray& line : mounts.readAll().split('\n')) {
        const QList<QByteArray> f = line.split(' ');
        const qsizetype dash = f.indexOf("-");
        if (f.size() < 5 || dash < 0 || dash + 2 >= f.size())
            continue;
        const QString point = QString::fromUtf8(f[4]).replace(QLatin1String("\\040"), " ");
        const bool inside = path == point ||
                            path.startsWith(point.endsWith('/') ? point : point + QLatin1Char('/'));
        if (inside && point.size() >= best.size()) {
            best = point;
            source = QString::fromUtf8(f[dash + 2]);
        }
    }
    return source;
}

bool isBlockDevice(const QString& path) {
    struct stat st {};
    return ::stat(path.toLocal8Bit().constData(), &st) == 0 && S_ISBLK(st.st_mode);
}

} // namespace

QString LinuxCdDriveAccess::deviceOf(const QString& path) {
    if (isBlockDevice(path))
        return path;
    const QString canonical = QFileInfo(path).canonicalFilePath();
    if (canonical.isEmpty())
        return {};
    const QString source = mountSourceOf(canonical);
    return isBlockDevice(source) ? source : QString();
}

bool LinuxCdDriveAccess::IsOpticalDrive(const QString& drive) {
    const QString device = deviceOf(drive);
    struct stat st {};
    if (device.isEmpty() || ::stat(device.toLocal8Bit().constData(), &st) != 0)
        return false;
    if (major(st.st_rdev) == kScsiCdromMajor)
        return true;
    QFile type(QStringLiteral("/sys/dev/block/%1:%2/device/type")
                   .arg(major(st.st_rdev))
                   .arg(minor(st.st_rdev)));
    return type.open(QIODevice::ReadOnly) && type.readAll().trimmed() == "5"; // SCSI type ROM
}

std::unique_ptr<CdTableOfContents> LinuxCdDriveAccess::Open(const QString& drive, int& errorCode) {
    const QString device = deviceOf(drive);
    const int fd = ::open(device.toLocal8Bit().constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        errorCode = errno ? errno : ENODEV;
        return nullptr;
    }
    auto toc = std::make_unique<IoctlToc>(fd);
    errorCode = toc->load();
    if (errorCode != 0)
        return nullptr;
    return toc;
}

} // namespace QuorvaneSDK
