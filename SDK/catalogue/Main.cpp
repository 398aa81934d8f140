#include "catalogue/Main.h"

#include "analysis/AssociationsClass.h"
#include "catalogue/CdIdentifier.h"
#include "catalogue/CodeGenerator.h"
#include "catalogue/ContainedFileStore.h"
#include "catalogue/FileStore.h"
#include "catalogue/Formatting.h"
#include "catalogue/MediaStore.h"
#include "catalogue/Mp3TagStore.h"
#include "catalogue/PreviewStore.h"
#include "catalogue/WordIndex.h"
#include "foundation/BaseFolder.h"

#include <QDir>

#include <NX_TextExtractor/Extractor.h>

namespace QuorvaneSDK {

Main::Main(QObject* parent) : QObject(parent) {
    // The work folder of the archive handling; each scan works in a folder
    // of its own below it, so nothing is deleted here.
    QDir().mkpath(baseFolder() + QStringLiteral("/Uncompress"));

    auto raise = [this](const QString& message) { raiseError(message); };
    m_media = std::make_unique<MediaStore>();
    m_files = std::make_unique<FileStore>(
        *m_media, [this](const QString& extension) { return get_Extension(extension); });
    m_contained = std::make_unique<ContainedFileStore>(*m_files, raise);
    m_codes = std::make_unique<CodeGenerator>(raise);
    m_mp3 = std::make_unique<Mp3TagStore>([this] { return get_LastIDFile(); });
    auto textExtractor = [this]() -> NX_TextExtractor::Extractor& { return extractor(); };
    m_words = std::make_unique<WordIndex>(textExtractor);
    m_previews = std::make_unique<PreviewStore>(textExtractor);
}

Main::~Main() = default;

void Main::raiseError(const QString& message) {
    emit Error(message);
}

// --- formatting and codes ---

FormattedSize Main::FormatSize(double Size, bool LeaveOriginal) const {
    return Formatting::FormatSize(Size, LeaveOriginal);
}

QString Main::get_EAN13(Item TypeItem) {
    return m_codes->get_EAN13(TypeItem);
}

QString Main::get_MediaTypeSTR(MediaType MyMediaType) const {
    return Formatting::get_MediaTypeSTR(MyMediaType);
}

QString Main::get_MediaTypeSTR(qint32 MyMediaType) const {
    return Formatting::get_MediaTypeSTR(MyMediaType);
}

MediaType Main::get_MediaTypeENUM(const QString& MyMediaType) const {
    return Formatting::get_MediaTypeENUM(MyMediaType);
}

QuorvaneSDK::Extension Main::get_Extension(const QString& Extension) {
    const QString key = Extension.toLower();
    // File lists ask once per row: the answer per extension is kept.
    const auto cached = m_extensions.constFind(key);
    if (cached != m_extensions.cend())
        return *cached;
    QuorvaneSDK::Extension info;
    info.Extension = key;
    AssociationsClass().GetInfoExtension(key, info.ExtensionDescription, info.ExtType,
                                         info.SmallIcon);
    m_extensions.insert(key, info);
    return info;
}

NX_TextExtractor::Extractor& Main::extractor() {
    if (!m_extractor)
        m_extractor = std::make_unique<NX_TextExtractor::Extractor>();
    return *m_extractor;
}

NX_TextExtractor::FileType Main::get_FileType(const QString& FileName) {
    return extractor().get_FileType(FileName);
}

QString Main::get_CDDBID(const QString& Drive) {
    return QuorvaneSDK::get_CDDBID(Drive);
}

QString Main::get_CDDBID(const QString& Drive, CdDriveAccess& access) {
    return QuorvaneSDK::get_CDDBID(Drive, access);
}

// --- media ---

bool Main::set_Media(Media& MediaToUpdate) {
    m_files->forgetCurrentMedium();
    return m_media->set_Media(MediaToUpdate);
}

bool Main::exists_Media(Media& NewMedia) {
    return m_media->exists_Media(NewMedia);
}

Media Main::get_Media(const QString& SerialNumber, const QString& Label, qint32 id,
                      bool getStatistics) {
    return m_media->get_Media(SerialNumber, Label, id, getStatistics);
}

MediaList Main::get_Medias(bool getStatistics) {
    return m_media->get_Medias(getStatistics);
}

QStringList Main::get_MediaGroups() {
    return m_media->get_MediaGroups();
}

qint32 Main::get_MediasLabel(QStringList& MediaLabels) {
    return m_media->get_MediasLabel(MediaLabels);
}

FormattedSize Main::get_QuorvaneTotalCapacity() {
    return m_media->get_QuorvaneTotalCapacity();
}

void Main::delete_Media(qint32 IDMedia) {
    m_files->forgetCurrentMedium();
    m_media->delete_Media(IDMedia);
}

void Main::delete_MediaFiles(const QString& MediaSerialNumber) {
    m_media->delete_MediaFiles(MediaSerialNumber);
}

// --- files ---

void Main::set_Files(FileQuorvane& FileToAppend) {
    m_files->set_Files(FileToAppend);
}

qint32 Main::get_LastIDFile() {
    return m_files->get_LastIDFile();
}

FileQuorvane Main::get_File(qint32 IDFile) {
    return m_files->get_File(IDFile);
}

void Main::rename_Files(FileQuorvane& FileToModify) {
    m_files->rename_Files(FileToModify);
}

void Main::delete_Files(qint32 IDFile) {
    m_files->delete_Files(IDFile);
}

void Main::delete_File(qint32 IDMedia, const QString& FolderName, const QString& FileName) {
    m_files->delete_File(IDMedia, FolderName, FileName);
}

void Main::delete_FolderFiles(qint32 IDMedia, const QString& FolderName) {
    m_files->delete_FolderFiles(IDMedia, FolderName);
}

qint32 Main::get_NumberOfContainedFiles(qint32 IDContainerFile) {
    return m_files->get_NumberOfContainedFiles(IDContainerFile);
}

ErrorObject Main::execute_Sql(const QString& SqlString) {
    return m_files->execute_Sql(SqlString);
}

void Main::setTickSource(std::function<qint64()> ticks) {
    m_files->setTickSource(std::move(ticks));
}

// --- contained files ---

void Main::set_FilesCompressed(FileQuorvaneCompressed& FileQuorvaneCompressedToUpdate) {
    m_contained->set_FilesCompressed(FileQuorvaneCompressedToUpdate);
}

qint32 Main::get_LastIDFileCompressed() {
    return m_contained->get_LastIDFileCompressed();
}

FileQuorvaneCompressed Main::get_FileCompressed(qint32 IDFileContained, bool& LoadParentFile) {
    return m_contained->get_FileCompressed(IDFileContained, LoadParentFile);
}

FileQuorvaneCompressed Main::get_FileCompressed(qint32 IDFileContained) {
    return m_contained->get_FileCompressed(IDFileContained, true);
}

qint64 Main::get_SumOfCompressedContainedFiles(qint32 IDFile) {
    return m_contained->get_SumOfCompressedContainedFiles(IDFile);
}

QList<FileQuorvaneCompressed> Main::get_ListOfCompressedContainedFiles(qint32 IDFile) {
    return m_contained->get_ListOfCompressedContainedFiles(IDFile);
}

// --- MP3 tags ---

MP3Tags Main::get_MP3Details(const QString& MP3FileName) {
    return m_mp3->get_MP3Details(MP3FileName);
}

void Main::set_Mp3Tags(MP3Tags& NewFileMp3, Targets Target) {
    m_mp3->set_Mp3Tags(NewFileMp3, Target);
}

MP3Tags Main::get_FileMP3Info(qint32 IDFile, qint32 IDFileCompressed) {
    return m_mp3->get_FileMP3Info(IDFile, IDFileCompressed);
}

bool Main::get_FileHasMP3Info(qint32 IDFile, qint32 IDFileCompressed) {
    return m_mp3->get_FileHasMP3Info(IDFile, IDFileCompressed);
}

// --- word index ---

std::optional<QStringList> Main::get_Words(const QString& TextFile, qint16 IgnoreWordsSmallerThan,
                                           qint16 IgnoreWordsLargerThan, const QString& TextString,
                                           bool AllowedOnlyFileTypes,
                                           const QString& AllowedFileTypes) {
    return m_words->get_Words(TextFile, IgnoreWordsSmallerThan, IgnoreWordsLargerThan, TextString,
                              AllowedOnlyFileTypes, AllowedFileTypes);
}

void Main::set_Words(const QStringList& Words, qint32 IDFile, Targets Target,
                     qint16& NoMoreThanWords) {
    m_words->set_Words(Words, IDFile, Target, NoMoreThanWords);
}

void Main::set_Words(const QStringList& Words, qint32 IDFile, Targets Target) {
    qint16 limit = 1000;
    m_words->set_Words(Words, IDFile, Target, limit);
}

qint64 Main::wordIndexStatements() const {
    return m_words->statementCount();
}

// --- previews ---

ItemPreview Main::handle_Preview(ItemPreview& Preview) {
    return m_previews->handle_Preview(Preview);
}

JPG Main::get_JPGDetails(const QString& JPGFileName) {
    return m_previews->get_JPGDetails(JPGFileName);
}

} // namespace QuorvaneSDK
