#include "catalogue/RarExtraction.h"
#include "catalogue/ArchiveText.h"
#include "catalogue/ConfinedWriter.h"
#include "catalogue/RarHeaderReader.h"

#include <QSet>

#include <archive.h>
#include <archive_entry.h>
#include <memory>

namespace QuorvaneSDK::RarExtraction {

namespace {

using ArchivePtr = std::unique_ptr<archive, decltype(&archive_read_free)>;

ArchivePtr openArchive(const QString& path, QString* error) {
    ArchivePtr a(archive_read_new(), archive_read_free);
    if (!a)
        return a;
    archive_read_support_format_rar(a.get());
    archive_read_support_format_rar5(a.get());
    if (archive_read_open_filename(a.get(), path.toLocal8Bit().constData(), 64 * 1024) !=
        ARCHIVE_OK) {
        if (error)
            *error = QString::fromUtf8(archive_error_string(a.get()));
        a.reset();
    }
    return a;
}

// The entry's path as the catalogue lists it: libarchive's Unicode form
// when it has one, else the stored bytes in code page 437 (the header
// reader's rule for names without a Unicode form).
QStringList candidateNames(archive_entry* entry) {
    QStringList names;
    if (const char* utf8 = archive_entry_pathname_utf8(entry))
        names.append(ArchiveText::normalisedEntryPath(QString::fromUtf8(utf8)));
    if (const char* raw = archive_entry_pathname(entry))
        names.append(ArchiveText::normalisedEntryPath(ArchiveText::fromCp437(raw)));
    return names;
}

bool isPlainFile(archive_entry* entry) {
    return archive_entry_filetype(entry) == AE_IFREG && !archive_entry_is_encrypted(entry);
}

bool writeEntry(archive* a, archive_entry* entry, const QString& destFolder,
                const QStringList& relativePath, qint64 limit, QString* error) {
    if (archive_entry_size_is_set(entry))
        limit = qMin(limit, qint64(archive_entry_size(entry)));
    const auto read = [a](char* buffer, qint64 capacity) -> qint64 {
        const la_ssize_t n = archive_read_data(a, buffer, size_t(capacity));
        return n < 0 ? -1 : qint64(n);
    };
    return ConfinedWriter::write(destFolder, relativePath, read, limit, error);
}

// Entries the header reader marks as encrypted or split across volumes:
// libarchive does not always notice either, and neither can be unpacked
// from this file alone.
QSet<QString> blockedNames(const QString& archivePath) {
    QSet<QString> blocked;
    for (const RarEntry& e : RarHeaderReader::readFile(archivePath).Entries)
        if (e.IsEncrypted || e.IsSplit)
            blocked.insert(e.Name.toCaseFolded());
    return blocked;
}

bool isBlocked(const QSet<QString>& blocked, const QStringList& names) {
    for (const QString& name : names)
        if (blocked.contains(name.toCaseFolded()))
            return true;
    return false;
}

} // namespace

bool extractOne(const QString& archivePath, const QString& entryPath, const QString& destFolder,
                qint64 limit, QString* error) {
    const QString wanted = ArchiveText::normalisedEntryPath(entryPath.trimmed());
    const QStringList target = ConfinedWriter::safeComponents(wanted);
    if (target.isEmpty()) {
        if (error)
            *error = QStringLiteral("no entry name given");
        return false;
    }
    const QSet<QString> blocked = blockedNames(archivePath);
    ArchivePtr a = openArchive(archivePath, error);
    if (!a)
        return false;
    archive_entry* entry = nullptr;
    while (archive_read_next_header(a.get(), &entry) >= ARCHIVE_WARN) {
        const QStringList names = candidateNames(entry);
        bool match = false;
        for (const QString& name : names)
            match = match || name.compare(wanted, Qt::CaseInsensitive) == 0;
        if (!match)
            continue;
        if (!isPlainFile(entry) || isBlocked(blocked, names)) {
            if (error)
                *error = QStringLiteral("the entry is not a readable file");
            return false;
        }
        return writeEntry(a.get(), entry, destFolder, {target.last()}, limit, error);
    }
    if (error && error->isEmpty())
        *error = QStringLiteral("no such entry: ") + wanted;
    return false;
}

int extractAll(const QString& archivePath, const QString& destFolder, qint64 limit,
               QString* error) {
    const QSet<QString> blocked = blockedNames(archivePath);
    ArchivePtr a = openArchive(archivePath, error);
    if (!a)
        return 0;
    int written = 0;
    archive_entry* entry = nullptr;
    while (archive_read_next_header(a.get(), &entry) >= ARCHIVE_WARN) {
        const QStringList names = candidateNames(entry);
        if (names.isEmpty() || !isPlainFile(entry) || isBlocked(blocked, names))
            continue;
        const QStringList path = ConfinedWriter::safeComponents(names.first());
        if (!path.isEmpty() && writeEntry(a.get(), entry, destFolder, path, limit, error))
            ++written;
    }
    return written;
}

} // namespace QuorvaneSDK::RarExtraction
