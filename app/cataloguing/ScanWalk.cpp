// The folder walk of a run: folders depth first in listing order, a virtual
// row per folder, a row per entry, content dispatch for regular files.

#include "ScanBatch.h"
#include "ScanEngine.h"
#include "ScanText.h"
#include "WorkFolder.h"

#include "analysis/ExtensionInfoCache.h"
#include "catalogue/ArchiveText.h"
#include "catalogue/CdIdentifier.h"
#include "catalogue/Main.h"
#include "foundation/Database.h"
#include "foundation/Helpers.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace QuorvaneCataloguing {

using namespace QuorvaneSDK;

namespace {

const QString kVirtualName = QStringLiteral("##nullfile##");

// Local time, whole seconds.
Date localDate(qint64 seconds) {
    const time_t t = static_cast<time_t>(seconds);
    struct tm parts {};
    if (!localtime_r(&t, &parts))
        return Date();
    return Date::fromParts(parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday, parts.tm_hour,
                           parts.tm_min, parts.tm_sec);
}

// The attribute word of an entry as the catalogue knows it.
quint32 attributeWord(const struct statx& facts, const QByteArray& name) {
    quint32 word = 0;
    if (S_ISDIR(facts.stx_mode))
        word |= 16;
    else if (S_ISREG(facts.stx_mode))
        word |= 32;
    if (!(facts.stx_mode & S_IWUSR))
        word |= 1;
    if (name.startsWith('.'))
        word |= 2;
    return word;
}

struct DirCloser {
    DIR* dir;
    ~DirCloser() {
        if (dir)
            closedir(dir);
    }
};

} // namespace

void ScanEngine::walkStart() {
    ArchiveText::StableLocalTimeZone stableZone;
    m_descriptions = std::make_unique<ExtensionInfoCache>();
    m_work = std::make_unique<WorkFolder>();
    DispatchOwner& owner = *this;
    m_dispatch = std::make_unique<ContentDispatch>(m_main, m_settings, m_stores, *m_work, owner);
    m_batch = std::make_unique<ScanBatch>(Database::current());

    if (m_audioCd) {
        catalogueAudioTracks();
    } else {
        QString start = QDir::cleanPath(QDir(m_pathToStart).absolutePath());
        const QString real = QDir(start).canonicalPath();
        if (!real.isEmpty())
            start = real;
        const QString catalogueName =
            m_mountPoint.isEmpty()
                ? (start.endsWith(QLatin1Char('/')) ? start : start + QLatin1Char('/'))
                : catalogueFolderName(m_mountPoint, start);
        walkFolder(QFile::encodeName(start), start, catalogueName);
    }

    m_batch->finish();
    m_batchCommits = m_batch->commits();
    m_batch.reset();
    m_dispatch.reset();
    m_work.reset();
}

void ScanEngine::writeVirtualRow(const QString& shownPath, const QString& catalogueName) {
    if (!m_freshMedium)
        m_main.delete_File(m_media.id, catalogueName, kVirtualName);
    FileQuorvane row;
    row.Name = kVirtualName;
    row.FullName = shownPath +
                   (shownPath.endsWith(QLatin1Char('/')) ? QString() : QStringLiteral("/")) +
                   kVirtualName;
    row.FolderName = catalogueName;
    const Date now = Date::now();
    row.DateCreated = row.DateLastAccessed = row.DateModified = now;
    row.Description = QStringLiteral("Virtual file created by Quorvane");
    row.Media.id = m_media.id;
    m_main.set_Files(row);
    wroteRows(1);
}

void ScanEngine::walkFolder(const QByteArray& rawPath, const QString& shownPath,
                            const QString& catalogueName) {
    // Opened before anything is cleared: a folder unreadable now keeps what
    // an earlier run catalogued of it.
    DirCloser listing{opendir(rawPath.constData())};
    const int openError = listing.dir ? 0 : errno;
    if (listing.dir && !m_freshMedium)
        m_main.delete_FolderFiles(m_media.id, catalogueName);
    writeVirtualRow(shownPath, catalogueName);
    if (!listing.dir) {
        m_host.reportProblem(QStringLiteral("The folder ") + shownPath +
                             QStringLiteral(" cannot be read: ") +
                             QString::fromLocal8Bit(std::strerror(openError)));
        return;
    }
    const int folderFd = dirfd(listing.dir);
    const QByteArray rawFolder = rawPath.endsWith('/') ? rawPath : rawPath + '/';
    const QString shownFolder =
        shownPath.endsWith(QLatin1Char('/')) ? shownPath : shownPath + QLatin1Char('/');

    while (struct dirent* entry = readdir(listing.dir)) {
        const QByteArray name(entry->d_name);
        if (name == "." || name == "..")
            continue;
        // Tested at every entry, folders included, so that nothing after a
        // stop is cleared without being written again.
        if (!m_adding) {
            set_ScanningInProcess(false);
            return;
        }
        struct statx facts {};
        const bool known = statx(folderFd, entry->d_name, AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT,
                                 STATX_BASIC_STATS | STATX_BTIME, &facts) == 0;
        if (known ? S_ISDIR(facts.stx_mode) : entry->d_type == DT_DIR) {
            if (m_settings.ScanSubFolders) {
                const QString shownName = QFile::decodeName(name);
                walkFolder(rawFolder + name, shownFolder + shownName,
                           catalogueName + CleanSqlText(shownName) + QLatin1Char('/'));
            }
            continue;
        }
        if (m_settings.ScanOnlyFolders)
            continue;
        processFile(rawFolder, shownFolder, catalogueName, name, known ? &facts : nullptr);
    }
}

void ScanEngine::processFile(const QByteArray& rawFolder, const QString& shownFolder,
                             const QString& catalogueName, const QByteArray& rawName,
                             const struct statx* facts) {
    const QString name = QFile::decodeName(rawName);
    FileQuorvane row;
    row.FullName = CleanSqlText(shownFolder + name);
    row.FolderName = catalogueName;
    row.Name = CleanSqlText(name);
    row.Extension = CleanSqlText(fileExtension(name));
    if (facts) {
        row.Size = double(facts->stx_size);
        const bool hasBirth = facts->stx_mask & STATX_BTIME;
        row.DateCreated = localDate(hasBirth ? facts->stx_btime.tv_sec : facts->stx_ctime.tv_sec);
        row.DateLastAccessed = localDate(facts->stx_atime.tv_sec);
        row.DateModified = localDate(facts->stx_mtime.tv_sec);
        row.Properties = fileAttributeLetter(attributeWord(*facts, rawName));
    } else {
        row.Properties = fileAttributeLetter(0);
    }
    row.Description = CleanSqlText(m_descriptions->description(row.Extension).left(80));
    row.Media.id = m_media.id;

    NewFileScanned(row.FullName);
    if (!m_freshMedium)
        m_main.delete_File(m_media.id, row.FolderName, row.Name);
    m_main.set_Files(row);
    wroteRows(1);

    // Only regular files are opened: links are never followed, and FIFOs,
    // sockets and devices could block or have side effects.
    if (facts && S_ISREG(facts->stx_mode))
        analyse(rawFolder + rawName, name);
}

void ScanEngine::analyse(const QByteArray& rawPath, const QString& name) {
    if (!m_stores && !m_settings.ScanCompressedFiles)
        return; // nothing could come of reading it
    const QString path = QFile::decodeName(rawPath);
    if (QFile::encodeName(path) == rawPath) {
        m_dispatch->dispatch(path);
        return;
    }
    // A name that is not valid text: reach the file through a link with a
    // plain name (and the same extension) in the run's work folder.
    if (!m_work->isValid())
        return;
    const QString extension = fileExtension(name);
    QString alias = m_work->linkFolder() + QStringLiteral("/scanned-file");
    if (!extension.isEmpty() && !extension.contains(QChar::ReplacementCharacter))
        alias += QLatin1Char('.') + extension;
    const QByteArray aliasBytes = QFile::encodeName(alias);
    if (symlink(rawPath.constData(), aliasBytes.constData()) != 0)
        return;
    m_dispatch->dispatch(alias);
    unlink(aliasBytes.constData());
}

void ScanEngine::catalogueAudioTracks() {
    const QString folder = QStringLiteral("/");
    writeVirtualRow(m_pathToStart, folder);
    LinuxCdDriveAccess linuxDrives;
    CdDriveAccess& access = m_cdAccess ? *m_cdAccess : linuxDrives;
    int error = 0;
    std::unique_ptr<CdTableOfContents> toc = access.Open(m_pathToStart, error);
    int count = 0;
    if (!toc || toc->NumberOfTracks(count) != 0)
        return;
    const Date now = Date::now();
    for (int track = 1; track <= count; ++track) {
        if (!m_adding) {
            set_ScanningInProcess(false);
            return;
        }
        Msf length;
        if (toc->TrackLength(track, length) != 0)
            continue;
        FileQuorvane row;
        row.Name = QStringLiteral("Track%1.cda").arg(track, 2, 10, QLatin1Char('0'));
        row.FullName = m_pathToStart + QLatin1Char('/') + row.Name;
        row.FolderName = folder;
        row.Extension = QStringLiteral("cda");
        // The track's audio: 2,352 bytes a frame.
        row.Size = double(length.offset()) * 2352.0;
        row.DateCreated = row.DateLastAccessed = row.DateModified = now;
        row.Properties = QStringLiteral("R");
        row.Description = QStringLiteral("CD audio track");
        row.OptionalDescription = QStringLiteral("%1:%2")
                                      .arg(length.Minute, 2, 10, QLatin1Char('0'))
                                      .arg(length.Second, 2, 10, QLatin1Char('0'));
        row.Media.id = m_media.id;
        NewFileScanned(row.FullName);
        if (!m_freshMedium)
            m_main.delete_File(m_media.id, folder, row.Name);
        m_main.set_Files(row);
        wroteRows(1);
    }
}

} // namespace QuorvaneCataloguing
