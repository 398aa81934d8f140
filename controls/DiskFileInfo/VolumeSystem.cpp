#include "VolumeSystem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <blkid/blkid.h>
#include <memory>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>

namespace NX_DiskFileInfo {

namespace {

// "\040" and friends: mountinfo writes space, tab, newline and backslash so.
QString decodeOctal(const QByteArray& field) {
    QByteArray out;
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            bool ok = false;
            const int v = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok && v >= 0 && v < 256) {
                out.append(char(v));
                i += 3;
                continue;
            }
        }
        out.append(field[i]);
    }
    return QString::fromUtf8(out);
}

// udev writes unsafe bytes of labels in links as "\xNN".
QString decodeUdev(const QString& name) {
    QByteArray raw = name.toUtf8(), out;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (raw[i] == '\\' && i + 3 < raw.size() && raw[i + 1] == 'x') {
            bool ok = false;
            const int v = raw.mid(i + 2, 2).toInt(&ok, 16);
            if (ok) {
                out.append(char(v));
                i += 3;
                continue;
            }
        }
        out.append(raw[i]);
    }
    return QString::fromUtf8(out);
}

// The name of the link in `folder` that points at `device`.
QString linkNameFor(const QString& folder, const QString& device) {
    const QDir dir(folder);
    for (const QFileInfo& link :
         dir.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot))
        if (link.canonicalFilePath() == device)
            return decodeUdev(link.fileName());
    return {};
}

struct ProbeFree {
    void operator()(blkid_probe p) const { blkid_free_probe(p); }
};

} // namespace

QList<MountEntry> parseMountInfo(const QByteArray& text) {
    QList<MountEntry> mounts;
    for (const QByteArray& line : text.split('\n')) {
        const QList<QByteArray> f = line.split(' ');
        const qsizetype dash = f.indexOf("-");
        if (f.size() < 5 || dash < 6 || dash + 2 >= f.size())
            continue;
        mounts.append({decodeOctal(f[4]), decodeOctal(f[dash + 1]), decodeOctal(f[dash + 2])});
    }
    return mounts;
}

MountEntry mountOf(const QList<MountEntry>& mounts, const QString& path) {
    MountEntry best;
    for (const MountEntry& m : mounts) {
        const QString prefix = m.MountPoint.endsWith('/') ? m.MountPoint : m.MountPoint + '/';
        const bool inside = path == m.MountPoint || path.startsWith(prefix);
        if (inside && (best.MountPoint.isNull() || m.MountPoint.size() >= best.MountPoint.size()))
            best = m;
    }
    return best;
}

QByteArray LinuxVolumeSystem::MountInfo() {
    QFile f(QStringLiteral("/proc/self/mountinfo"));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool LinuxVolumeSystem::SpaceOf(const QString& mountPoint, quint64& total, quint64& free) {
    struct statvfs s {};
    if (::statvfs(mountPoint.toLocal8Bit().constData(), &s) != 0)
        return false;
    total = quint64(s.f_blocks) * s.f_frsize;
    free = quint64(s.f_bfree) * s.f_frsize;
    return true;
}

QString LinuxVolumeSystem::SysfsDirOf(const QString& device) {
    struct stat st {};
    if (::stat(device.toLocal8Bit().constData(), &st) != 0 || !S_ISBLK(st.st_mode))
        return {};
    return QFileInfo(
               QStringLiteral("/sys/dev/block/%1:%2").arg(major(st.st_rdev)).arg(minor(st.st_rdev)))
        .canonicalFilePath();
}

QByteArray LinuxVolumeSystem::ReadSysfs(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.read(4096) : QByteArray();
}

VolumeIdentity LinuxVolumeSystem::probe(const QString& device) {
    VolumeIdentity id;
    std::unique_ptr<blkid_struct_probe, ProbeFree> p(
        blkid_new_probe_from_filename(device.toLocal8Bit().constData()));
    if (!p)
        return id;
    blkid_probe_enable_superblocks(p.get(), 1);
    blkid_probe_set_superblocks_flags(p.get(),
                                      BLKID_SUBLKS_LABEL | BLKID_SUBLKS_UUID | BLKID_SUBLKS_TYPE);
    if (blkid_do_safeprobe(p.get()) != 0)
        return id;
    const char* value = nullptr;
    if (blkid_probe_lookup_value(p.get(), "LABEL", &value, nullptr) == 0 && value)
        id.Label = QString::fromUtf8(value);
    if (blkid_probe_lookup_value(p.get(), "UUID", &value, nullptr) == 0 && value)
        id.Uuid = QString::fromUtf8(value);
    if (blkid_probe_lookup_value(p.get(), "TYPE", &value, nullptr) == 0 && value)
        id.Type = QString::fromUtf8(value);
    return id;
}

VolumeIdentity LinuxVolumeSystem::Identify(const QString& device) {
    const QString target = QFileInfo(device).canonicalFilePath();
    if (target.isEmpty())
        return {};
    VolumeIdentity id;
    id.Uuid = linkNameFor(QStringLiteral("/dev/disk/by-uuid"), target);
    id.Label = linkNameFor(QStringLiteral("/dev/disk/by-label"), target);
    if (!id.Uuid.isEmpty())
        return id;
    return probe(target);
}

QString LinuxVolumeSystem::CanonicalPath(const QString& path) {
    return QFileInfo(path).canonicalFilePath();
}

} // namespace NX_DiskFileInfo
