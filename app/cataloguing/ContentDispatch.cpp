#include "ContentDispatch.h"

#include "ContentStores.h"
#include "ScanText.h"
#include "WorkFolder.h"

#include "catalogue/ArchiveText.h"
#include "catalogue/CatalogueError.h"
#include "catalogue/Main.h"
#include "catalogue/ZipArchive.h"
#include "catalogue/rarFiles.h"
#include "foundation/Helpers.h"

#include <QFile>
#include <QFileInfo>

namespace QuorvaneCataloguing {

using namespace QuorvaneSDK;
using NX_TextExtractor::TypesFile;

namespace {
// The file-access error the content analysis passes over.
constexpr qint32 kFileAccessError = 75;
} // namespace

ContentDispatch::ContentDispatch(Main& main, const SetUp& settings, ContentStores* stores,
                                 WorkFolder& work, DispatchOwner& owner)
    : m_main(main), m_settings(settings), m_stores(stores), m_work(work), m_owner(owner) {
}

void ContentDispatch::dispatch(const QString& path) {
    if (m_settings.ScanCompressedFiles) {
        const TypesFile type = m_main.get_FileType(path).Type;
        if (type == TypesFile::ZIPArchiveFile)
            listZip(path);
        else if (type == TypesFile::RARArchiveFile)
            listRar(path);
    }
    handle_FileContent(path, Targets::File);
}

void ContentDispatch::listZip(const QString& path) {
    FileQuorvane parent;
    try {
        parent = m_main.get_File(m_main.get_LastIDFile());
    } catch (const CatalogueError&) {
        return;
    }
    ZipArchive zip;
    zip.set_ZipFilename(path);
    zip.ListZipContents([&](const ZipListingEntry& entry) {
        if (!m_owner.isScanning())
            return false;
        const QString name = CleanSqlText(ArchiveText::namePart(entry.FileName));
        if (entry.IsFolder || name.isEmpty())
            return true;
        FileQuorvaneCompressed record;
        record.ParentFile = parent;
        record.Name = name;
        record.Extension = containedExtension(name);
        const qsizetype slash = entry.FileName.lastIndexOf(QLatin1Char('/'));
        record.FolderName = CleanSqlText(slash < 0 ? QString() : entry.FileName.left(slash + 1));
        record.Size = entry.Size;
        record.FileCompressedSize = entry.CompressedSize;
        record.FileCompressionRatio = entry.CompressionRatio;
        record.Properties = containedAttributeLetter(entry.Attributes);
        record.Comment = entry.Comment;
        record.DateModified = record.DateCreated = record.DateLastAccessed = entry.LastModified;
        record.ArchiveFileName = path;
        record.CompressionType = CompressorType::Zip;
        handleContained(record);
        return true;
    });
}

void ContentDispatch::listRar(const QString& path) {
    const RarFile listing = rarFiles().get_FilesList(path);
    if (listing.CompressedFiles.isEmpty() && listing.ArcName.isEmpty())
        return;
    try {
        const qint32 archiveId = m_main.get_LastIDFile();
        if (m_stores && m_settings.CreateWordIndex && !listing.Comment.isEmpty()) {
            const QStringList words =
                m_stores->get_Words(QString(), 3, 20, listing.Comment, false, QString());
            if (!words.isEmpty())
                m_stores->set_Words(words, archiveId, Targets::File, m_settings.CreateWordMaxWords);
        }
        if (m_stores && m_settings.ImportPreviewText && !listing.Comment.isEmpty()) {
            ItemPreview item;
            item.Post.Preview = Preview::Text;
            item.Post.IDFile = archiveId;
            item.Post.TextToParse = listing.Comment;
            item.Post.TextMaxSizeKB = m_settings.ImportPreviewMaxSize;
            m_stores->handle_Preview(item);
        }
        const FileQuorvane parent = m_main.get_File(archiveId);
        for (const FileQuorvaneCompressed& element : listing.CompressedFiles) {
            if (!m_owner.isScanning())
                return;
            FileQuorvaneCompressed record;
            // The listing names an entry by its whole path; the folder part
            // has a field of its own.
            record.Name = CleanSqlText(ArchiveText::namePart(element.Name));
            record.Extension = containedExtension(record.Name);
            record.FolderName = element.FolderName;
            if (!record.FolderName.isEmpty() && !record.FolderName.endsWith(QLatin1Char('/')))
                record.FolderName.append(QLatin1Char('/'));
            record.Size = element.Size;
            record.DateCreated = element.DateCreated;
            record.DateLastAccessed = element.DateLastAccessed;
            record.DateModified = element.DateModified;
            record.Comment = element.Comment;
            record.FileCompressedSize = element.FileCompressedSize;
            record.FileCompressionRatio = element.FileCompressionRatio;
            record.ArchiveFileName = path;
            record.Properties = containedAttributeLetter(element.Properties.toLongLong());
            record.ParentFile = parent;
            record.CompressionType = CompressorType::RAR;
            handleContained(record);
        }
    } catch (const CatalogueError&) {
        // The archive's own row stays; its entries could not be recorded.
    }
}

void ContentDispatch::handleContained(FileQuorvaneCompressed record) {
    if (record.Name.isEmpty() || !m_owner.isScanning())
        return;
    try {
        m_main.set_FilesCompressed(record);
        m_owner.wroteRows(1);
        m_owner.NewFileArchivedScanned(record.Name);
        if (double(m_settings.ScanCompressedFilesMaxSize) < record.Size / 1000.0)
            return;
        if (!m_work.isValid() || record.Name == QLatin1String(".") ||
            record.Name == QLatin1String(".."))
            return;
        if (extract(record)) {
            const QString extracted = m_work.path() + QLatin1Char('/') + record.Name;
            if (QFileInfo(extracted).isFile())
                handle_FileContent(extracted, Targets::FileContained);
        }
    } catch (...) {
        // One entry's failure ends its handling; the run goes on.
    }
    m_work.empty();
}

bool ContentDispatch::extract(const FileQuorvaneCompressed& record) const {
    const qint64 limit = qint64(m_settings.ScanCompressedFilesMaxSize) * 1000;
    if (record.CompressionType == CompressorType::Zip) {
        ZipArchive zip;
        zip.set_ZipFilename(record.ArchiveFileName);
        zip.set_UnzipToFolder(m_work.path());
        zip.set_FilesToProcess(record.FolderName + record.Name);
        zip.set_MaxBytes(limit);
        return zip.Unzip();
    }
    if (record.CompressionType == CompressorType::RAR) {
        // Asked for by its whole stored path, so that entries inside folders
        // are analysed as well.
        return rarFiles().ExtractRarFiles(record.ArchiveFileName, m_work.path(),
                                          record.FolderName + record.Name, limit);
    }
    return false;
}

qint32 ContentDispatch::rowId(Targets Target) {
    return Target == Targets::File ? m_main.get_LastIDFile() : m_main.get_LastIDFileCompressed();
}

void ContentDispatch::handle_FileContent(const QString& FileName, Targets Target) {
    try {
        const NX_TextExtractor::FileType type = m_main.get_FileType(FileName);
        if (!m_stores)
            return;
        if (type.isText) {
            if (m_settings.CreateWordIndex) {
                try {
                    const QStringList words =
                        m_stores->get_Words(FileName, 3, 20, QString(), m_settings.ExtractTextOnly,
                                            m_settings.ExtractTextOnlyFrom);
                    if (!words.isEmpty())
                        m_stores->set_Words(words, rowId(Target), Target,
                                            m_settings.CreateWordMaxWords);
                } catch (const CatalogueError& e) {
                    if (e.error().Number != kFileAccessError)
                        throw;
                }
            }
            if (m_settings.ImportPreviewText) {
                ItemPreview item;
                item.Post.Preview = Preview::Text;
                (Target == Targets::File ? item.Post.IDFile : item.Post.IDFileContained) =
                    rowId(Target);
                item.Post.TextFileName = FileName;
                item.Post.TextMaxSizeKB = m_settings.ImportPreviewMaxSize;
                m_stores->handle_Preview(item);
            }
        } else if (type.isImage) {
            if (!m_settings.ImportPreviewImage)
                return;
            const JPG jpg = m_stores->get_JPGDetails(FileName);
            ItemPreview item;
            item.Post.Preview = Preview::Image;
            (Target == Targets::File ? item.Post.IDFile : item.Post.IDFileContained) =
                rowId(Target);
            item.Post.ImageFileName = jpg.ThumbinalFileName;
            m_stores->handle_Preview(item);
            // Only a thumbnail made aside is removed, never the picture itself.
            if (!jpg.ThumbinalFileName.isEmpty() &&
                QFileInfo(jpg.ThumbinalFileName) != QFileInfo(FileName))
                QFile::remove(jpg.ThumbinalFileName);
        } else if (type.Type == TypesFile::MP3AudioFile) {
            MP3Tags tags = m_stores->get_MP3Details(FileName);
            // Keyed by the row of the target's kind: an MP3 inside an
            // archive gets its tags under its contained file.
            tags.IDFile = rowId(Target);
            m_stores->set_Mp3Tags(tags, Target);
        }
    } catch (const CatalogueError& e) {
        if (e.error().Number != kFileAccessError)
            m_owner.showErrorPopUp(e.error().Description);
    } catch (const std::exception& e) {
        m_owner.showErrorPopUp(QString::fromLocal8Bit(e.what()));
    }
}

} // namespace QuorvaneCataloguing
