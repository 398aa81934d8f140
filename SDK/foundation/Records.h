#pragma once
// Record types exchanged by every class of the SDK and the program. They are
// plain values: copied on assignment, nested records held by value. A fresh
// record is all empty texts, zero numbers, false, null dates and no pictures.

#include "foundation/Enums.h"
#include "foundation/OleDate.h"

#include <QImage>
#include <QList>
#include <QString>
#include <memory>

namespace QuorvaneSDK {

class cDIBSection; // an image section of the analysis library

// What the system knows about a file-name extension.
struct Extension {
    QString Extension;            // lower-cased, with its leading dot
    QString ExtensionDescription; // the type description of the system
    QString ExtType;
    QImage SmallIcon; // null image = nothing
};

// Totals of one medium.
struct MediaStatistics {
    double NumberOfFiles = 0;
    double NumberOfDirectories = 0;
    double FilesSize = 0;        // bytes / 1,024,000
    double FilesSizeAverage = 0; // bytes
};

// One catalogued medium (table Media).
struct Media {
    qint32 id = 0; // IDMedia; 0 = not yet stored
    QString Letter;
    QString Label;
    QString SerialNumber;
    bool IsNetworkDrive = false;
    QString EAN13;
    double Space_Capacity = 0;
    double Space_Used = 0;
    double Space_Free = 0;
    MediaType Type = MediaType::Unknow;
    QString PartitionType;
    QString Description;
    QString Group;
    MediaStatistics Statistics;
};

// One catalogued file or folder entry (table Files).
struct FileQuorvane {
    qint32 id = 0; // IDFile
    QString Name;
    QString FullName; // path at scan time, not stored
    QString FolderName;
    QString Extension; // without dot
    double Size = 0;
    Date DateCreated;
    Date DateLastAccessed;
    Date DateModified;
    QString Properties;
    QString Description;
    QuorvaneSDK::Media Media; // on write only Media.id is used
    QuorvaneSDK::Extension ExtensionInfo;
    QString OptionalDescription;
    qint16 Flag = 0;
};

// One file inside an archive (table FilesContained).
struct FileQuorvaneCompressed {
    qint32 id = 0; // IDFileContained
    QString Name;
    QString FolderName; // path inside the archive (column FilePath)
    QString Extension;
    double Size = 0;
    Date DateCreated;
    Date DateLastAccessed;
    Date DateModified; // column FileDateLastModified
    QString Properties;
    QString Comment;
    QuorvaneSDK::Media Media;
    qint32 IDParentFile = 0;
    FileQuorvane ParentFile;
    double FileCompressedSize = 0;
    qint32 FileCompressionRatio = 0;
    QuorvaneSDK::Extension ExtensionInfo;
    QString ArchiveFileName; // not stored
    QuorvaneSDK::CompressorType CompressionType = QuorvaneSDK::CompressorType::Zip;
    QString OptionalDescription;
    qint16 Flag = 0;
};

// Header data and ID3 tag of one MP3 file (tables Mp3TagsFile, Mp3TagsFileContained).
struct MP3Tags {
    qint32 IDFile = 0;
    QString FullName;
    QString FileName;
    QString Path;
    QString Title;
    QString Artist;
    QString Album;
    QString Year;
    QString Comment;
    QString Genre;
    bool TagPresent = false;
    QString MPEGVersion;
    QString Layer;
    QString BitRate;
    QString SampleRate;
    qint16 Padding = 0;
    qint16 PrivateBit = 0;
    QString ChannelMode;
    QString ModeExtension;
    bool Copyright = false;
    bool Original = false;
    QString Emphasis;
    qint16 FrameLength = 0;
    qint32 TotalFrames = 0;
    float PlayTime = 0;
    bool ValidHeader = false;
};

// Tag filter of a search; an empty text does not filter.
struct CriteriaMP3 {
    QString Title;
    QString Album;
    QString Artist;
};

// Date filter of a search.
struct CriteriaDate {
    bool IgnoreThis = false;
    QuorvaneSDK::DateType DateType = QuorvaneSDK::DateType::ModifiedDate;
    QuorvaneSDK::Date ModifiedFrom;
    QuorvaneSDK::Date ModifiedTo;
};

// Size filter of a search; Size is in kilobytes.
struct CriteriaSize {
    bool IgnoreThis = false;
    bool AtLeast = false;
    bool AtMost = false;
    double Size = 0;
};

// A search of catalogued files.
struct SearchCriteria {
    QuorvaneSDK::Media Media;
    QString FileName;
    QString FolderName;
    QString WordsContained;
    qint32 MaxRows = 0;
    CriteriaDate Date;
    CriteriaSize Size;
    CriteriaMP3 MP3;
};

// A search among contained files.
struct SearchCriteriaCompressed {
    qint32 IDParent = 0;
    QuorvaneSDK::SearchCriteria SearchCriteria;
};

// The reading half of a preview request.
struct GetPreview {
    QuorvaneSDK::Preview Preview = QuorvaneSDK::Preview::Image;
    qint32 IDFile = 0;
    qint32 IDFileContained = 0;
    QImage Image;
    QString Text;
};

// The storing half of a preview request.
struct PostPreview {
    QuorvaneSDK::Preview Preview = QuorvaneSDK::Preview::Image;
    qint32 IDFile = 0;
    qint32 IDFileContained = 0;
    QString ImageFileName;
    QString TextFileName;
    QString TextToParse;
    qint16 TextMaxSizeKB = 0;
};

// One preview request: Post is carried out first, then Get.
struct ItemPreview {
    PostPreview Post;
    GetPreview Get;
};

// An image and its thumbnail; an image section that is "nothing" is a null pointer.
struct JPG {
    std::shared_ptr<cDIBSection> Original;
    QImage ThumbinalJPG;
    std::shared_ptr<cDIBSection> ThumbinalDIB;
    QString OriginalFileName;
    QString ThumbinalFileName;
};

// A byte count made readable.
struct FormattedSize {
    double Size = 0;
    QString Unity;
    QString Formatted;
    SizeType UnityEnum = SizeType::bytes;
};

// One installation instance of the software (table Istanze).
struct IstanzaSoftware {
    qint32 id = 0;
    QString Identita;
    Date data_creazione;
};

// One entry of a rar archive, with the header values of the same names.
struct RarFile {
    QString ArcName;
    QString FileName;
    qint32 flags = 0;
    double PackSize = 0;
    double UnpSize = 0;
    qint32 HostOS = 0;
    qint32 FileCRC = 0;
    qint32 FileTime = 0; // MS-DOS date-time
    qint32 UnpVer = 0;
    qint32 Method = 0;
    qint32 FileAttr = 0;
    QString CmtBuf;
    qint32 CmtBufSize = 0;
    double CmtSize = 0;
    qint32 CmtState = 0;
    QString Comment;
    QList<RarFile> CompressedFiles;
};

// One captured error; Number 0 means no error.
struct ErrorObject {
    QString Description;
    QString HelpContext; // decimal text
    QString HelpFile;
    qint32 LastDllError = 0;
    qint32 Number = 0;
    QString Source;
    Date OccuredOn;
    QString DBUsed; // dialect name, filled when the error is reported

    bool isError() const { return Number != 0; }
};

// The application settings.
struct SetUp {
    qint32 id = 0;
    IstanzaSoftware Istanza;
    Date data_creazione;
    Date LastBackupWarning;
    Date LastCompressWarning;
    QString VersioneQuorvane;
    QString VersioneQuorvaneSDK;
    QString ExplorerStatus;
    QString ReportName;
    bool ScanCompressedFiles = false;
    qint16 ScanCompressedFilesMaxSize = 0;
    bool CreateWordIndex = false;
    qint16 CreateWordMaxWords = 0;
    bool ExtractTextOnly = false;
    QString ExtractTextOnlyFrom;
    qint16 ImportPreviewMaxSize = 0;
    bool ImportPreviewText = false;
    bool ImportPreviewImage = false;
    QString LastGroupSelected;
    Date CleanJunk;
    bool ScanSubFolders = false;
    bool ScanOnlyFolders = false;
};

} // namespace QuorvaneSDK
