#include "catalogue/ContainedFileStore.h"

#include "catalogue/CatalogueError.h"
#include "catalogue/CatalogueSql.h"
#include "catalogue/FileStore.h"
#include "foundation/Errors.h"
#include "foundation/Helpers.h"

#include <cmath>

namespace QuorvaneSDK {

using namespace CatalogueSql;

namespace {

// Every statement of the contained-file store.
namespace Sql {

enum Slot { InsertEntry };

const QString insertEntry = QStringLiteral(
    "INSERT INTO FilesContained ( IDFile, FileName, FileExtension, FilePath, FileCompressedSize, "
    "FileCompressionRatio, FileDateLastModified, FileProperties, Comment, FileSize, "
    "FileDateCreated, FileDateAccessed, CompressorType, OptionalDescription, Flag) "
    "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ? , ?)");
const QString lastId = QStringLiteral("SELECT Max(IDFileContained) AS Ultimo FROM FilesContained");

QString entryById(qint32 id) {
    return QStringLiteral("select * from FilesContained where IDFileContained = ") +
           QString::number(id);
}

QString compressedSum(qint32 idFile) {
    return QStringLiteral(
               "select Sum(FileCompressedSize) as Tot from FilesContained WHERE IDFile = ") +
           QString::number(idFile);
}

// Ordered by the entry name only; the key keeps equal names in a stable order.
QString entriesOf(qint32 idFile) {
    return QStringLiteral("select * from FilesContained WHERE IDFile = ") +
           QString::number(idFile) + QStringLiteral(" ORDER BY FileName, IDFileContained");
}

} // namespace Sql

qint64 wholeBytes(double size) {
    return std::isfinite(size) ? std::llround(size) : 0;
}

Date clampedDate(const Date& date) {
    return ClampDate1900(date);
}

// The columns of one row; parent and medium are the caller's business.
FileQuorvaneCompressed entryFromRow(const Recordset& rs) {
    FileQuorvaneCompressed c;
    c.id = rs.toLong(QStringLiteral("IDFileContained"));
    c.IDParentFile = rs.toLong(QStringLiteral("IDFile"));
    c.Name = rs.text(QStringLiteral("FileName"));
    c.Extension = rs.text(QStringLiteral("FileExtension"));
    c.FolderName = rs.text(QStringLiteral("FilePath"));
    c.FileCompressedSize = rs.toDouble(QStringLiteral("FileCompressedSize"));
    c.FileCompressionRatio =
        static_cast<qint32>(std::llround(rs.toDouble(QStringLiteral("FileCompressionRatio"))));
    c.DateModified = rs.toDate(QStringLiteral("FileDateLastModified"));
    c.Properties = rs.text(QStringLiteral("FileProperties"));
    c.Comment = rs.text(QStringLiteral("Comment"));
    c.Size = rs.toDouble(QStringLiteral("FileSize"));
    c.DateCreated = rs.toDate(QStringLiteral("FileDateCreated"));
    c.DateLastAccessed = rs.toDate(QStringLiteral("FileDateAccessed"));
    c.CompressionType = static_cast<CompressorType>(rs.toLong(QStringLiteral("CompressorType")));
    c.OptionalDescription = rs.text(QStringLiteral("OptionalDescription"));
    c.Flag = static_cast<qint16>(rs.toLong(QStringLiteral("Flag")));
    return c;
}

QString eventText(const QString& description, const char* routine) {
    return description + QStringLiteral("\r\n") + QLatin1String(routine);
}

} // namespace

ContainedFileStore::ContainedFileStore(FileStore& files,
                                       std::function<void(const QString&)> raiseError)
    : m_files(files), m_raiseError(std::move(raiseError)) {
}

void ContainedFileStore::set_FilesCompressed(
    FileQuorvaneCompressed& FileQuorvaneCompressedToUpdate) {
    const FileQuorvaneCompressed& c = FileQuorvaneCompressedToUpdate;
    Database& database = db();
    const QString name = CleanSqlText(c.Name);
    if (name.isEmpty()) {
        // Nothing is stored, so nothing may hang on "the entry just appended".
        m_lastKey.remember(database, 0);
        return;
    }
    PreparedStatement& insert = m_statements.statement(
        database, Sql::InsertEntry, Sql::insertEntry,
        QStringLiteral("QuorvaneSDK.set_FilesCompressed"), QStringLiteral("IDFileContained"));
    insert.bind(0, QVariant(c.ParentFile.id));
    insert.bind(1, name);
    insert.bind(2, c.Extension);
    insert.bind(3, CleanSqlText(c.FolderName));
    insert.bind(4, QVariant(wholeBytes(c.FileCompressedSize)));
    insert.bind(5, QVariant(static_cast<double>(c.FileCompressionRatio)));
    insert.bind(6, clampedDate(c.DateModified));
    insert.bind(7, c.Properties);
    insert.bind(8, CleanSqlText(c.Comment));
    insert.bind(9, QVariant(wholeBytes(c.Size)));
    insert.bind(10, clampedDate(c.DateCreated));
    insert.bind(11, clampedDate(c.DateLastAccessed));
    insert.bind(12, QVariant(static_cast<qint32>(c.CompressionType)));
    insert.bind(13, CleanSqlText(c.OptionalDescription));
    insert.bind(14, QVariant(static_cast<int>(c.Flag)));
    const bool ok = insert.exec().Number == 0;
    m_lastKey.remember(database, ok ? static_cast<qint32>(insert.insertedKey()) : 0);
}

qint32 ContainedFileStore::get_LastIDFileCompressed() {
    if (const std::optional<qint32> own = m_lastKey.get(db()))
        return *own;
    return static_cast<qint32>(firstValue(Sql::lastId,
                                          QStringLiteral("QuorvaneSDK.get_LastIDFileCompressed"),
                                          QStringLiteral("Ultimo")));
}

FileQuorvaneCompressed ContainedFileStore::get_FileCompressed(qint32 IDFileContained,
                                                              bool LoadParentFile) {
    const Recordset rs =
        query(Sql::entryById(IDFileContained), QStringLiteral("QuorvaneSDK.get_FileCompressed"));
    if (rs.RecordCount() == 0)
        return FileQuorvaneCompressed{};
    FileQuorvaneCompressed c = entryFromRow(rs);
    c.id = IDFileContained;
    if (LoadParentFile) {
        c.ParentFile = m_files.get_File(c.IDParentFile);
        c.Media = c.ParentFile.Media;
    }
    c.ExtensionInfo = m_files.extensionInfo(c.Extension);
    return c;
}

qint64 ContainedFileStore::get_SumOfCompressedContainedFiles(qint32 IDFile) {
    const std::optional<Recordset> rs =
        db().get_Recordset(Sql::compressedSum(IDFile),
                           QStringLiteral("QuorvaneSDK.get_SumOfCompressedContainedFiles"));
    if (!rs) {
        m_raiseError(eventText(Errors::shared().get_LastError().Description,
                               "get_SumOfCompressedContainedFiles"));
        return 0;
    }
    if (rs->RecordCount() == 0 || rs->isNull(QStringLiteral("Tot")))
        return 0;
    // Exact as an integer when the engine gives one (PostgreSQL's numeric
    // sum arrives as text or a whole number), else rounded.
    const QVariant total = rs->value(QStringLiteral("Tot"));
    bool exact = false;
    const qint64 whole = total.toLongLong(&exact);
    return exact ? whole : std::llround(total.toDouble());
}

QList<FileQuorvaneCompressed>
ContainedFileStore::get_ListOfCompressedContainedFiles(qint32 IDFile) {
    QList<FileQuorvaneCompressed> list;
    try {
        // One query for the entries; the archive's own record is read once,
        // as every entry of the list shares it.
        Recordset rs = query(Sql::entriesOf(IDFile),
                             QStringLiteral("QuorvaneSDK.get_ListOfCompressedContainedFiles"));
        if (rs.RecordCount() == 0)
            return list;
        const FileQuorvane parent = m_files.get_File(IDFile);
        for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
            FileQuorvaneCompressed c = entryFromRow(rs);
            c.ParentFile = parent;
            c.Media = parent.Media;
            c.ExtensionInfo = m_files.extensionInfo(c.Extension);
            list.append(c);
        }
    } catch (const CatalogueError& error) {
        m_raiseError(eventText(error.error().Description, "get_ListOfCompressedContainedFiles"));
    }
    return list;
}

} // namespace QuorvaneSDK
