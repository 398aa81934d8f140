#include "catalogue/ConfinedWriter.h"

#include <QRandomGenerator>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace QuorvaneSDK {

namespace {

// Closes a descriptor on every path out of a scope.
class Fd {
public:
    explicit Fd(int fd = -1) : m_fd(fd) {}
    ~Fd() { reset(); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    Fd(Fd&& other) noexcept : m_fd(other.m_fd) { other.m_fd = -1; }
    Fd& operator=(Fd&& other) noexcept {
        if (this != &other) {
            reset();
            m_fd = other.m_fd;
            other.m_fd = -1;
        }
        return *this;
    }
    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    void reset() {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }

private:
    int m_fd;
};

bool fail(QString* error, const QString& text) {
    if (error)
        *error = text;
    return false;
}

QString lastError(const QString& what) {
    return what + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno));
}

// Opens (creating when missing) one folder below `parent`, refusing links.
Fd openSubfolder(int parent, const QByteArray& name) {
    if (::mkdirat(parent, name.constData(), 0777) != 0 && errno != EEXIST)
        return Fd();
    return Fd(::openat(parent, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
}

bool writeAll(int fd, const char* data, qint64 size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size_t(size));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= n;
    }
    return true;
}

} // namespace

QStringList ConfinedWriter::safeComponents(const QString& entryPath) {
    QString path = entryPath;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const qsizetype nul = path.indexOf(QChar(0));
    if (nul >= 0)
        path.truncate(nul);
    QStringList parts;
    const QStringList raw = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QString& part = raw[i];
        if (part == QLatin1String(".") || part == QLatin1String(".."))
            continue;
        if (i == 0 && part.size() == 2 && part[1] == QLatin1Char(':') && part[0].isLetter())
            continue; // "C:" of a Windows absolute path
        parts.append(part);
    }
    return parts;
}

bool ConfinedWriter::write(const QString& destFolder, const QStringList& relativePath,
                           const Reader& read, qint64 limit, QString* error) {
    if (relativePath.isEmpty())
        return fail(error, QStringLiteral("the entry has no usable name"));
    for (const QString& part : relativePath)
        if (part.isEmpty() || part == QLatin1String(".") || part == QLatin1String("..") ||
            part.contains(QLatin1Char('/')) || part.contains(QChar(0)))
            return fail(error, QStringLiteral("unsafe entry name: ") + relativePath.join('/'));
    Fd folder(::open(destFolder.toLocal8Bit().constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.valid())
        return fail(error, lastError(destFolder));
    for (qsizetype i = 0; i + 1 < relativePath.size(); ++i) {
        Fd sub = openSubfolder(folder.get(), relativePath[i].toLocal8Bit());
        if (!sub.valid())
            return fail(error, lastError(relativePath[i]));
        folder = std::move(sub);
    }
    const QByteArray finalName = relativePath.last().toLocal8Bit();
    const QByteArray tempName =
        ".qv-part-" + QByteArray::number(QRandomGenerator::global()->generate64(), 16);
    Fd out(::openat(folder.get(), tempName.constData(),
                    O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
    if (!out.valid())
        return fail(error, lastError(QString::fromLocal8Bit(finalName)));
    const auto discard = [&](const QString& why) {
        out.reset();
        ::unlinkat(folder.get(), tempName.constData(), 0);
        return fail(error, why);
    };
    constexpr qint64 kChunk = 64 * 1024;
    QByteArray buffer(kChunk, Qt::Uninitialized);
    qint64 total = 0;
    for (;;) {
        const qint64 n = read(buffer.data(), kChunk);
        if (n < 0)
            return discard(QStringLiteral("the archive data could not be read"));
        if (n == 0)
            break;
        total += n;
        if (total > limit)
            return discard(QStringLiteral("the entry is larger than allowed"));
        if (!writeAll(out.get(), buffer.constData(), n))
            return discard(lastError(QString::fromLocal8Bit(finalName)));
    }
    out.reset();
    // renameat replaces a link planted under the final name, never its target.
    if (::renameat(folder.get(), tempName.constData(), folder.get(), finalName.constData()) != 0)
        return discard(lastError(QString::fromLocal8Bit(finalName)));
    return true;
}

} // namespace QuorvaneSDK
