#pragma once
// The catalogue API: every read and write of media, files and contained
// files, MP3 tags, words and previews, with the formatting helpers and codes. A thin facade: each
// area is a store (MediaStore, FileStore, ContainedFileStore, CodeGenerator) that keeps its own
// SQL; Main holds them and the object's state (the medium of the last get_File, the text extractor
// made on first use).
//
// Errors: operations without handling of their own throw CatalogueError
// when their query fails (the database layer has reported it already);
// the others emit Error(Message) and return their empty value. Use a Main
// on the thread that created it.

#include "catalogue/CatalogueError.h"
#include "catalogue/MediaList.h"
#include "foundation/Records.h"

#include <NX_TextExtractor/Types.h>

#include <QHash>
#include <QObject>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

namespace NX_TextExtractor {
class Extractor;
}

namespace QuorvaneSDK {

class MediaStore;
class FileStore;
class ContainedFileStore;
class CodeGenerator;
class CdDriveAccess;
class Mp3TagStore;
class WordIndex;
class PreviewStore;

class Main : public QObject {
    Q_OBJECT

public:
    explicit Main(QObject* parent = nullptr);
    ~Main() override;

    // --- formatting and codes ---
    FormattedSize FormatSize(double Size, bool LeaveOriginal = false) const;
    QString get_EAN13(Item TypeItem);
    QString get_MediaTypeSTR(MediaType MyMediaType) const;
    QString get_MediaTypeSTR(qint32 MyMediaType) const;
    MediaType get_MediaTypeENUM(const QString& MyMediaType) const;
    // Extension: with its leading point (".mp3"); looked up lower-cased.
    QuorvaneSDK::Extension get_Extension(const QString& Extension);
    NX_TextExtractor::FileType get_FileType(const QString& FileName);
    // The audio CD identifier of the disc in the drive of `Drive`: "" when it
    // is no optical drive or holds no audio track, "(unavailable)" when the
    // disc cannot be read. The second form reads through the given access.
    QString get_CDDBID(const QString& Drive);
    QString get_CDDBID(const QString& Drive, CdDriveAccess& access);
    // The object's text extractor, created on first use.
    NX_TextExtractor::Extractor& extractor();

    // --- media ---
    bool set_Media(Media& MediaToUpdate);
    bool exists_Media(Media& NewMedia);
    Media get_Media(const QString& SerialNumber = QString(), const QString& Label = QString(),
                    qint32 id = 0, bool getStatistics = true);
    // In order of their names; also found by key (MediaList::find(id)).
    MediaList get_Medias(bool getStatistics = true);
    QStringList get_MediaGroups();
    qint32 get_MediasLabel(QStringList& MediaLabels);
    FormattedSize get_QuorvaneTotalCapacity();
    // The schema's cascades remove the medium's files and all that hangs on them.
    void delete_Media(qint32 IDMedia);
    void delete_MediaFiles(const QString& MediaSerialNumber);

    // --- files ---
    void set_Files(FileQuorvane& FileToAppend);
    // The key of the file this object appended last (0 when that insert
    // failed); the newest key of the catalogue when it appended none.
    qint32 get_LastIDFile();
    FileQuorvane get_File(qint32 IDFile);
    void rename_Files(FileQuorvane& FileToModify);
    void delete_Files(qint32 IDFile);
    void delete_File(qint32 IDMedia, const QString& FolderName, const QString& FileName);
    void delete_FolderFiles(qint32 IDMedia, const QString& FolderName);
    qint32 get_NumberOfContainedFiles(qint32 IDContainerFile);
    ErrorObject execute_Sql(const QString& SqlString);

    // --- contained files ---
    void set_FilesCompressed(FileQuorvaneCompressed& FileQuorvaneCompressedToUpdate);
    qint32 get_LastIDFileCompressed();
    FileQuorvaneCompressed get_FileCompressed(qint32 IDFileContained, bool& LoadParentFile);
    FileQuorvaneCompressed get_FileCompressed(qint32 IDFileContained);
    qint64 get_SumOfCompressedContainedFiles(qint32 IDFile);
    QList<FileQuorvaneCompressed> get_ListOfCompressedContainedFiles(qint32 IDFile);

    // --- MP3 tags ---
    // The tags and header of an MP3 file, for the file appended last.
    MP3Tags get_MP3Details(const QString& MP3FileName);
    // Appends the tags for NewFileMp3.IDFile: a catalogued file, or with
    // Target FileContained a contained file (read back by
    // get_FileMP3Info(-1, id)). A key below 1 appends nothing.
    void set_Mp3Tags(MP3Tags& NewFileMp3, Targets Target = Targets::File);
    MP3Tags get_FileMP3Info(qint32 IDFile, qint32 IDFileCompressed);
    bool get_FileHasMP3Info(qint32 IDFile, qint32 IDFileCompressed);

    // --- word index ---
    // The words of TextFile (or of TextString when TextFile is blank); no
    // collection when the file's type is not among AllowedFileTypes.
    std::optional<QStringList> get_Words(const QString& TextFile, qint16 IgnoreWordsSmallerThan = 3,
                                         qint16 IgnoreWordsLargerThan = 20,
                                         const QString& TextString = QString(),
                                         bool AllowedOnlyFileTypes = false,
                                         const QString& AllowedFileTypes = QString());
    // Links the words to the owner; a negative NoMoreThanWords becomes 1000.
    void set_Words(const QStringList& Words, qint32 IDFile, Targets Target,
                   qint16& NoMoreThanWords);
    void set_Words(const QStringList& Words, qint32 IDFile, Targets Target = Targets::File);
    // Statements the word index has run (measurements and tests).
    qint64 wordIndexStatements() const;

    // --- previews ---
    ItemPreview handle_Preview(ItemPreview& Preview);
    JPG get_JPGDetails(const QString& JPGFileName);

    // The millisecond clock of the 20-second medium cache (tests set one).
    void setTickSource(std::function<qint64()> ticks);

signals:
    // Raised by the operations that catch their own errors.
    void Error(const QString& Message);

private:
    void raiseError(const QString& message);

    std::unique_ptr<MediaStore> m_media;
    std::unique_ptr<FileStore> m_files;
    std::unique_ptr<ContainedFileStore> m_contained;
    std::unique_ptr<CodeGenerator> m_codes;
    std::unique_ptr<Mp3TagStore> m_mp3;
    std::unique_ptr<WordIndex> m_words;
    std::unique_ptr<PreviewStore> m_previews;
    std::unique_ptr<NX_TextExtractor::Extractor> m_extractor;
    QHash<QString, QuorvaneSDK::Extension> m_extensions; // per lower-cased extension
};

} // namespace QuorvaneSDK
