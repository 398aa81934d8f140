#include "catalogue/FileStore.h"

#include "catalogue/CatalogueSql.h"
#include "catalogue/MediaStore.h"
#include "foundation/Helpers.h"

#include <chrono>
#include <cmath>

namespace QuorvaneSDK {

using namespace CatalogueSql;

namespace {

// Every statement of the file store. The per-file ones are prepared once
// and run with bound values.
namespace Sql {

enum Slot { InsertFile, DeleteById, DeleteByName, DeleteFolder };

const QString insertFile = QStringLiteral(
    "INSERT INTO Files ( IDMedia, FolderName, FileName, FileExtension, FileSize, "
    "FileDateCreated, FileDateAccessed, FileDateModified, FileProperties, FileDescription, "
    "OptionalDescription, Flag) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ? , ? , ?)");
const QString deleteById = QStringLiteral("delete from Files where IDFile = ?");
const QString deleteByName =
    QStringLiteral("delete from Files where IDMedia = ? and FolderName = ? and FileName = ?");
const QString deleteFolder =
    QStringLiteral("delete from Files where IDMedia = ? and FolderName = ?");
const QString lastId = QStringLiteral("SELECT Max(IDFile) AS Ultimo FROM Files");

QString fileById(qint32 id) {
    return QStringLiteral("select * from Files where IDFile = ") + QString::number(id);
}

QString rename(const FileQuorvane& f) {
    return QStringLiteral("UPDATE Files SET FileName = ") + quoted(f.Name) +
           QStringLiteral(" WHERE (((Files.IDFile)=") + QString::number(f.id) +
           QStringLiteral("))");
}

QString containedCount(qint32 id) {
    return QStringLiteral("select Count(IDFile) as Tot from FilesContained WHERE IDFile = ") +
           QString::number(id);
}

} // namespace Sql

qint64 wholeBytes(double size) {
    return std::isfinite(size) ? std::llround(size) : 0;
}

Date clampedDate(const Date& date) {
    return ClampDate1900(date);
}

qint64 monotonicMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

FileStore::FileStore(MediaStore& media, ExtensionLookup extension)
    : m_media(media), m_extension(std::move(extension)), m_ticks(monotonicMs) {
}

void FileStore::set_Files(FileQuorvane& FileToAppend) {
    const FileQuorvane& f = FileToAppend;
    Database& database = db();
    PreparedStatement& insert =
        m_statements.statement(database, Sql::InsertFile, Sql::insertFile,
                               QStringLiteral("QuorvaneSDK.set_Files"), QStringLiteral("IDFile"));
    insert.bind(0, QVariant(f.Media.id));
    insert.bind(1, CleanSqlText(f.FolderName));
    insert.bind(2, CleanSqlText(f.Name));
    insert.bind(3, CleanSqlText(f.Extension));
    insert.bind(4, QVariant(wholeBytes(f.Size)));
    insert.bind(5, clampedDate(f.DateCreated));
    insert.bind(6, clampedDate(f.DateLastAccessed));
    insert.bind(7, clampedDate(f.DateModified));
    insert.bind(8, f.Properties);
    insert.bind(9, CleanSqlText(f.Description));
    insert.bind(10, CleanSqlText(f.OptionalDescription));
    insert.bind(11, QVariant(static_cast<int>(f.Flag)));
    const bool ok = insert.exec().Number == 0;
    m_lastKey.remember(database, ok ? static_cast<qint32>(insert.insertedKey()) : 0);
}

qint32 FileStore::get_LastIDFile() {
    if (const std::optional<qint32> own = m_lastKey.get(db()))
        return *own;
    return static_cast<qint32>(firstValue(Sql::lastId, QStringLiteral("QuorvaneSDK.get_LastIDFile"),
                                          QStringLiteral("Ultimo")));
}

FileQuorvane FileStore::get_File(qint32 IDFile) {
    const Recordset rs = query(Sql::fileById(IDFile), QStringLiteral("QuorvaneSDK.get_File"));
    FileQuorvane f;
    if (rs.RecordCount() == 0)
        return f;
    f.id = IDFile;
    f.Media = currentMedium(rs.toLong(QStringLiteral("IDMedia")));
    f.FolderName = rs.text(QStringLiteral("FolderName"));
    f.Name = rs.text(QStringLiteral("FileName"));
    f.Extension = rs.text(QStringLiteral("FileExtension")).toLower();
    f.Size = rs.toDouble(QStringLiteral("FileSize"));
    f.DateCreated = rs.toDate(QStringLiteral("FileDateCreated"));
    f.DateLastAccessed = rs.toDate(QStringLiteral("FileDateAccessed"));
    f.DateModified = rs.toDate(QStringLiteral("FileDateModified"));
    f.Properties = rs.text(QStringLiteral("FileProperties"));
    f.Description = rs.text(QStringLiteral("FileDescription"));
    if (f.Description.isEmpty())
        f.Description = QStringLiteral("**no type**");
    f.OptionalDescription = rs.text(QStringLiteral("OptionalDescription"));
    f.Flag = static_cast<qint16>(rs.toLong(QStringLiteral("Flag")));
    f.ExtensionInfo = extensionInfo(f.Extension);
    return f;
}

Extension FileStore::extensionInfo(const QString& extension) const {
    // Only the type text (in the Extension field) and the icon are carried.
    Extension info;
    if (!m_extension)
        return info;
    const Extension looked = m_extension(QLatin1Char('.') + extension);
    info.Extension = looked.ExtType;
    info.SmallIcon = looked.SmallIcon;
    return info;
}

void FileStore::rename_Files(FileQuorvane& FileToModify) {
    db().execute_Sql(Sql::rename(FileToModify), QStringLiteral("QuorvaneSDK.rename_Files"), true,
                     60);
}

void FileStore::delete_Files(qint32 IDFile) {
    PreparedStatement& del = m_statements.statement(db(), Sql::DeleteById, Sql::deleteById,
                                                    QStringLiteral("QuorvaneSDK.delete_Files"));
    del.bind(0, QVariant(IDFile));
    del.exec();
}

void FileStore::delete_File(qint32 IDMedia, const QString& FolderName, const QString& FileName) {
    PreparedStatement& del = m_statements.statement(db(), Sql::DeleteByName, Sql::deleteByName,
                                                    QStringLiteral("QuorvaneSDK.delete_File"));
    del.bind(0, QVariant(IDMedia));
    del.bind(1, FolderName);
    del.bind(2, FileName);
    del.exec();
}

void FileStore::delete_FolderFiles(qint32 IDMedia, const QString& FolderName) {
    PreparedStatement& del =
        m_statements.statement(db(), Sql::DeleteFolder, Sql::deleteFolder,
                               QStringLiteral("QuorvaneSDK.delete_FolderFiles"));
    del.bind(0, QVariant(IDMedia));
    del.bind(1, FolderName);
    del.exec();
}

qint32 FileStore::get_NumberOfContainedFiles(qint32 IDContainerFile) {
    return static_cast<qint32>(firstValue(Sql::containedCount(IDContainerFile),
                                          QStringLiteral("QuorvaneSDK.get_NumberOfContainedFiles"),
                                          QStringLiteral("Tot")));
}

ErrorObject FileStore::execute_Sql(const QString& SqlString) {
    return db().execute_Sql(SqlString, QStringLiteral("QuorvaneSDK.execute_Sql"), false, 120);
}

void FileStore::setTickSource(TickSource ticks) {
    m_ticks = ticks ? std::move(ticks) : TickSource(monotonicMs);
}

void FileStore::forgetCurrentMedium() {
    m_currentMedium = Media{};
    m_currentMediumLoadedAt = 0;
}

Media FileStore::currentMedium(qint32 IDMedia) {
    const qint64 now = m_ticks();
    if (now - m_currentMediumLoadedAt > kMediumCacheMs || IDMedia != m_currentMedium.id) {
        m_currentMedium = m_media.get_Media(QString(), QString(), IDMedia, true);
        m_currentMediumLoadedAt = now;
    }
    return m_currentMedium;
}

} // namespace QuorvaneSDK
