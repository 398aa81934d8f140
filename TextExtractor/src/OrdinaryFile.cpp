#include "OrdinaryFile.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace NX_TextExtractor {

bool OrdinaryFile::isHiddenName(const QString& path) {
    const qsizetype slash = path.lastIndexOf(u'/');
    const QStringView name = QStringView(path).mid(slash + 1);
    return name.isEmpty() || name.startsWith(u'.');
}

OrdinaryFile::OrdinaryFile(const QString& path) {
    if (path.isEmpty() || isHiddenName(path) || path.contains(QChar(0)))
        return;
    const QByteArray native = QFile::encodeName(path);
    // Non-blocking, so that a pipe that slipped past the check cannot hang us.
    const int fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return;
    }
    fd_ = fd;
    size_ = st.st_size;
}

OrdinaryFile::~OrdinaryFile() {
    if (fd_ >= 0)
        ::close(fd_);
}

qint64 OrdinaryFile::readAt(qint64 offset, char* out, qint64 len) const {
    if (fd_ < 0 || offset < 0 || len < 0)
        return -1;
    qint64 done = 0;
    while (done < len) {
        const ssize_t got = ::pread(fd_, out + done, size_t(len - done), off_t(offset + done));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        if (got == 0)
            break;
        done += got;
    }
    return done;
}

bool OrdinaryFile::isWriteLockedElsewhere() const {
    if (fd_ < 0)
        return false;
    struct flock probe {};
    probe.l_type = F_RDLCK;
    probe.l_whence = SEEK_SET;
    probe.l_start = 0;
    probe.l_len = 0;
    // Open-file-description locks conflict with every other descriptor's
    // locks, process-wide ones included.
    if (::fcntl(fd_, F_OFD_GETLK, &probe) != 0)
        return false;
    return probe.l_type != F_UNLCK;
}

} // namespace NX_TextExtractor
