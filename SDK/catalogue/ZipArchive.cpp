#include "catalogue/ZipArchive.h"
#include "catalogue/ArchiveText.h"
#include "catalogue/ConfinedWriter.h"

#include <QDateTime>
#include <cmath>
#include <memory>
#include <zip.h>

namespace QuorvaneSDK {

namespace {

struct ZipCloser {
    void operator()(zip_t* za) const { zip_discard(za); }
};
using ZipPtr = std::unique_ptr<zip_t, ZipCloser>;

struct ZipFileCloser {
    void operator()(zip_file_t* zf) const { zip_fclose(zf); }
};
using ZipFilePtr = std::unique_ptr<zip_file_t, ZipFileCloser>;

ZipPtr openZip(const QString& path, QString& error) {
    int code = 0;
    ZipPtr za(zip_open(path.toLocal8Bit().constData(), ZIP_RDONLY, &code));
    if (!za) {
        zip_error_t e;
        zip_error_init_with_code(&e, code);
        error = QString::fromUtf8(zip_error_strerror(&e));
        zip_error_fini(&e);
    }
    return za;
}

// Names and comments: UTF-8 when the archive flags them so, code page 437
// otherwise (libzip converts); invalid UTF-8 becomes replacement characters.
QString entryName(zip_t* za, zip_uint64_t index) {
    const char* name = zip_get_name(za, index, ZIP_FL_ENC_STRICT);
    return name ? ArchiveText::normalisedEntryPath(QString::fromUtf8(name)) : QString();
}

QString entryComment(zip_t* za, zip_uint64_t index) {
    zip_uint32_t length = 0;
    const char* text = zip_file_get_comment(za, index, &length, ZIP_FL_ENC_STRICT);
    return text ? ArchiveText::cutAtNul(QString::fromUtf8(text, qsizetype(length))) : QString();
}

// Rounded towards less saving, so that only an empty result reads as 100.
qint16 savedPercent(zip_uint64_t compressed, zip_uint64_t size) {
    if (size == 0 || compressed >= size)
        return 0;
    return qint16(100.0 - std::ceil(double(compressed) * 100.0 / double(size)));
}

ZipPtr openZipBuffer(const QByteArray& bytes, QString& error) {
    zip_error_t e;
    zip_error_init(&e);
    zip_source_t* src =
        zip_source_buffer_create(bytes.constData(), zip_uint64_t(bytes.size()), 0, &e);
    ZipPtr za(src ? zip_open_from_source(src, ZIP_RDONLY, &e) : nullptr);
    if (!za) {
        if (src)
            zip_source_free(src);
        error = QString::fromUtf8(zip_error_strerror(&e));
    }
    zip_error_fini(&e);
    return za;
}

ZipListingEntry describe(zip_t* za, zip_uint64_t index, const zip_stat_t& st) {
    ZipListingEntry e;
    e.FileName = entryName(za, index);
    e.IsFolder = e.FileName.endsWith(QLatin1Char('/'));
    e.Comment = entryComment(za, index);
    const zip_uint64_t size = (st.valid & ZIP_STAT_SIZE) ? st.size : 0;
    const zip_uint64_t compressed = (st.valid & ZIP_STAT_COMP_SIZE) ? st.comp_size : 0;
    e.Size = double(size);
    e.CompressedSize = double(compressed);
    e.CompressionRatio = savedPercent(compressed, size);
    e.IsEncrypted = (st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE;
    zip_uint8_t madeBy = ZIP_OPSYS_DOS;
    zip_uint32_t external = 0;
    zip_file_get_external_attributes(za, index, 0, &madeBy, &external);
    e.Attributes = ZipArchive::attributeValue(madeBy, external, e.IsFolder);
    if ((st.valid & ZIP_STAT_MTIME) && st.mtime > 0)
        e.LastModified = Date::fromDateTime(QDateTime::fromSecsSinceEpoch(st.mtime));
    else
        e.LastModified = Date::fromParts(1980, 1, 1);
    return e;
}

} // namespace

qint32 ZipArchive::attributeValue(quint8 madeBy, quint32 external, bool isFolder) {
    const quint32 mode = external >> 16;
    const bool unixMade = madeBy == ZIP_OPSYS_UNIX || madeBy == ZIP_OPSYS_OS_X;
    if (unixMade && mode != 0) {
        if (isFolder || (mode & 0xF000u) == 0x4000u)
            return 16;
        return (mode & 0xF000u) == 0x8000u ? 32 : 0;
    }
    const qint32 dos = qint32(external & 0xFFFFu);
    return isFolder ? (dos | 16) : dos;
}

namespace {

// Reports each entry of an open archive until the callback says stop.
void listEntries(zip_t* za, const ZipArchive::ListingFile& listingFile) {
    const zip_int64_t count = zip_get_num_entries(za, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(za, zip_uint64_t(i), 0, &st) != 0)
            continue; // an entry libzip cannot describe is left out, the rest listed
        if (!listingFile(describe(za, zip_uint64_t(i), st)))
            break;
    }
}

} // namespace

bool ZipArchive::ListZipContents(const ListingFile& listingFile) {
    m_lastError.clear();
    const ArchiveText::StableLocalTimeZone zone;
    ZipPtr za = openZip(m_zipFilename, m_lastError);
    if (!za)
        return false;
    listEntries(za.get(), listingFile);
    return true;
}

bool ZipArchive::ListZipBuffer(const QByteArray& archive, const ListingFile& listingFile,
                               QString* error) {
    const ArchiveText::StableLocalTimeZone zone;
    QString reason;
    ZipPtr za = openZipBuffer(archive, reason);
    if (!za) {
        if (error)
            *error = reason;
        return false;
    }
    listEntries(za.get(), listingFile);
    return true;
}

bool ZipArchive::Unzip() {
    m_lastError.clear();
    const QString wanted = ArchiveText::normalisedEntryPath(m_filesToProcess.trimmed());
    const QStringList target = ConfinedWriter::safeComponents(wanted);
    if (target.isEmpty()) {
        m_lastError = QStringLiteral("no entry name given");
        return false;
    }
    ZipPtr za = openZip(m_zipFilename, m_lastError);
    if (!za)
        return false;
    const zip_int64_t count = zip_get_num_entries(za.get(), 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        const auto index = zip_uint64_t(i);
        const QString name = entryName(za.get(), index);
        if (name.endsWith(QLatin1Char('/')) || name.compare(wanted, Qt::CaseInsensitive) != 0)
            continue;
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(za.get(), index, 0, &st) != 0 || !(st.valid & ZIP_STAT_SIZE))
            continue;
        ZipFilePtr file(zip_fopen_index(za.get(), index, 0));
        if (!file) { // encrypted without a password, unsupported method
            m_lastError = QString::fromUtf8(zip_strerror(za.get()));
            return false;
        }
        const qint64 limit =
            qMin<qint64>(m_maxBytes, qint64(qMin<zip_uint64_t>(st.size, INT64_MAX)));
        const auto read = [&file](char* buffer, qint64 capacity) -> qint64 {
            return qint64(zip_fread(file.get(), buffer, zip_uint64_t(capacity)));
        };
        return ConfinedWriter::write(m_unzipToFolder, {target.last()}, read, limit, &m_lastError);
    }
    if (m_lastError.isEmpty())
        m_lastError = QStringLiteral("no such entry: ") + wanted;
    return false;
}

} // namespace QuorvaneSDK
