#include "catalogue/MediaStore.h"

#include "catalogue/CatalogueSql.h"
#include "catalogue/Formatting.h"

#include <cmath>

namespace QuorvaneSDK {

using namespace CatalogueSql;

namespace {

// Every statement of the media store. Sizes are whole byte counts: a
// fraction would not fit the 64-bit integer columns.
namespace Sql {

QString size(double bytes) {
    return quotedNumber(std::isfinite(bytes) ? std::round(bytes) : 0.0);
}

QString insertMedia(const Media& m) {
    return QStringLiteral("INSERT INTO Media(MediaName, MediaSerialNumber, MediaisNetwork, "
                          "MediaEan13, MediaSize, MediaUsedSpace, MediaFreeSpace, "
                          "MediaType,MediaPartitionType, MediaDescription, MediaGroup)VALUES (") +
           quoted(m.Label) + QLatin1Char(',') + quoted(m.SerialNumber) + QLatin1Char(',') +
           boolean(m.IsNetworkDrive) + QLatin1Char(',') + quoted(m.EAN13) + QLatin1Char(',') +
           size(m.Space_Capacity) + QLatin1Char(',') + size(m.Space_Used) + QLatin1Char(',') +
           size(m.Space_Free) + QLatin1Char(',') + QString::number(static_cast<qint32>(m.Type)) +
           QLatin1Char(',') + quoted(m.PartitionType) + QLatin1Char(',') + quoted(m.Description) +
           QLatin1Char(',') + quoted(m.Group) + QLatin1Char(')');
}

QString updateMedia(const Media& m) {
    return QStringLiteral("Update Media SET MediaName = ") + quoted(m.Label) +
           QStringLiteral(",MediaSerialNumber = ") + quoted(m.SerialNumber) +
           QStringLiteral(",MediaisNetwork = ") + boolean(m.IsNetworkDrive) +
           QStringLiteral(",MediaEan13 = ") + quoted(m.EAN13) + QStringLiteral(",MediaSize = ") +
           size(m.Space_Capacity) + QStringLiteral(",MediaUsedSpace = ") + size(m.Space_Used) +
           QStringLiteral(",MediaFreeSpace = ") + size(m.Space_Free) +
           QStringLiteral(",MediaType = ") + QString::number(static_cast<qint32>(m.Type)) +
           QStringLiteral(",MediaPartitionType = ") + quoted(m.PartitionType) +
           QStringLiteral(",MediaDescription = ") + quoted(m.Description) +
           QStringLiteral(",MediaGroup = ") + quoted(m.Group) + QStringLiteral("WHERE IDMedia = ") +
           QString::number(m.id);
}

QString idBySerial(const QString& serial) {
    return QStringLiteral("select IDMedia from Media WHERE MediaSerialNumber = ") + quoted(serial);
}

QString idByName(const QString& label) {
    return QStringLiteral("select IDMedia from Media WHERE MediaName = ") + quoted(label);
}

QString mediaById(qint32 id) {
    return QStringLiteral("select * from Media WHERE IDMedia = ") + QString::number(id);
}

// One query for the whole list (the key breaks ties between equal names).
QString allMedia() {
    return QStringLiteral("SELECT * From Media ORDER BY MediaName, IDMedia");
}

QString groups() {
    return QStringLiteral(
        "SELECT DISTINCT MediaGroup FROM Media WHERE trim(MediaGroup) <> '' ORDER BY MediaGroup");
}

QString labels() {
    return QStringLiteral("select Distinct MediaName from Media order by MediaName");
}

QString filesCount(qint32 id) {
    return QStringLiteral("SELECT Count(FileSize) AS Tot FROM Files WHERE IDMedia = ") +
           QString::number(id);
}

// Units of 1,024,000 bytes; floating division, so small files still count.
QString filesSizeMByte(qint32 id) {
    const QString sum = QStringLiteral("SELECT Sum(FileSize)/1024000.0 AS Tot FROM Files");
    return id > 0 ? sum + QStringLiteral(" WHERE IDMedia = ") + QString::number(id) : sum;
}

QString filesAverage(qint32 id) {
    return QStringLiteral("SELECT Avg(FileSize/1024.0)*1024 AS Tot FROM Files WHERE IDMedia = ") +
           QString::number(id);
}

QString folderCount(qint32 id) {
    return QStringLiteral("select count (FolderName) as Conto FROM (SELECT DISTINCT FolderName "
                          "FROM Files WHERE IDMedia = ") +
           QString::number(id) + QStringLiteral(") as tmp");
}

QString deleteMedia(qint32 id) {
    return QStringLiteral("delete from Media where IDMedia = ") + QString::number(id);
}

QString deleteMediaFiles(qint32 id) {
    return QStringLiteral("delete from Files where IDMedia = ") + QString::number(id);
}

} // namespace Sql

// A figure of the statistics: 0 when the query fails (already reported)
// or gives no row or NULL.
double figure(const QString& sql, const QString& routine, const QString& column) {
    const std::optional<Recordset> rs = db().get_Recordset(sql, routine);
    if (!rs || rs->RecordCount() == 0 || rs->isNull(column))
        return 0;
    return rs->toDouble(column);
}

Media mediaFromRow(const Recordset& rs) {
    Media m;
    m.id = rs.toLong(QStringLiteral("IDMedia"));
    m.Label = rs.text(QStringLiteral("MediaName"));
    m.SerialNumber = rs.text(QStringLiteral("MediaSerialNumber"));
    m.IsNetworkDrive = rs.toBool(QStringLiteral("MediaisNetwork"));
    m.EAN13 = rs.text(QStringLiteral("MediaEan13"));
    m.Space_Capacity = rs.toDouble(QStringLiteral("MediaSize"));
    m.Space_Used = rs.toDouble(QStringLiteral("MediaUsedSpace"));
    m.Space_Free = rs.toDouble(QStringLiteral("MediaFreeSpace"));
    m.Type = static_cast<MediaType>(rs.toLong(QStringLiteral("MediaType")));
    m.PartitionType = rs.text(QStringLiteral("MediaPartitionType"));
    m.Description = rs.text(QStringLiteral("MediaDescription"));
    m.Group = rs.text(QStringLiteral("MediaGroup"));
    if (m.Group.trimmed().isEmpty())
        m.Group = MediaStore::notGroupedText();
    return m;
}

} // namespace

bool MediaStore::set_Media(Media& MediaToUpdate) {
    if (MediaToUpdate.SerialNumber.trimmed().isEmpty())
        return false;
    const QString sql = exists_Media(MediaToUpdate) ? Sql::updateMedia(MediaToUpdate)
                                                    : Sql::insertMedia(MediaToUpdate);
    return db().execute_Sql(sql, QStringLiteral("QuorvaneSDK.Main.set_Media"), true, 60).Number ==
           0;
}

bool MediaStore::exists_Media(const Media& NewMedia) {
    const QString sql = NewMedia.SerialNumber != noSerialNumber()
                            ? Sql::idBySerial(NewMedia.SerialNumber)
                            : Sql::idByName(NewMedia.Label);
    return query(sql, QStringLiteral("QuorvaneSDK.exists_Media")).RecordCount() > 0;
}

Media MediaStore::get_Media(const QString& SerialNumber, const QString& Label, qint32 id,
                            bool getStatistics) {
    if (id < 1) {
        const QString sql =
            Label.trimmed().isEmpty() ? Sql::idBySerial(SerialNumber) : Sql::idByName(Label);
        const Recordset rs = query(sql, QStringLiteral("QuorvaneSDK.get_Media"));
        if (rs.RecordCount() > 0)
            id = rs.toLong(QStringLiteral("IDMedia"));
    }
    return get_MediaByID(id, getStatistics);
}

Media MediaStore::get_MediaByID(qint32 IDMedia, bool getStatistics) {
    const Recordset rs =
        query(Sql::mediaById(IDMedia), QStringLiteral("QuorvaneSDK.get_MediaByID"));
    if (rs.RecordCount() == 0)
        return Media{};
    Media m = mediaFromRow(rs);
    if (getStatistics)
        m.Statistics = get_MediaStatistics(IDMedia);
    return m;
}

MediaList MediaStore::get_Medias(bool getStatistics) {
    Recordset rs = query(Sql::allMedia(), QStringLiteral("QuorvaneSDK.get_Medias"));
    MediaList list;
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
        Media m = mediaFromRow(rs);
        if (getStatistics)
            m.Statistics = get_MediaStatistics(m.id);
        list.append(m);
    }
    return list;
}

QStringList MediaStore::get_MediaGroups() {
    Recordset rs = query(Sql::groups(), QStringLiteral("QuorvaneSDK.get_MediaGroups"));
    QStringList groups;
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext())
        groups.append(rs.text(QStringLiteral("MediaGroup")));
    return groups;
}

qint32 MediaStore::get_MediasLabel(QStringList& MediaLabels) {
    Recordset rs = query(Sql::labels(), QStringLiteral("QuorvaneSDK.get_MediasLabel"));
    if (rs.RecordCount() == 0)
        return 0;
    MediaLabels.clear();
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext())
        MediaLabels.append(rs.text(QStringLiteral("MediaName")));
    return static_cast<qint32>(rs.RecordCount());
}

FormattedSize MediaStore::get_QuorvaneTotalCapacity() {
    // A failed total shows as -1 rather than as an empty catalogue.
    const std::optional<double> total = filesSizeMByte(-1);
    if (!total)
        return Formatting::FormatSize(-1, true);
    return Formatting::FormatSize(*total * 1000 * 1024, false);
}

void MediaStore::delete_Media(qint32 IDMedia) {
    // The schema's cascades remove the medium's files and everything on them.
    db().execute_Sql(Sql::deleteMedia(IDMedia), QStringLiteral("QuorvaneSDK.delete_Media"), true,
                     60);
}

void MediaStore::delete_MediaFiles(const QString& MediaSerialNumber) {
    const Media m = get_Media(MediaSerialNumber, QString(), 0, false);
    db().execute_Sql(Sql::deleteMediaFiles(m.id), QStringLiteral("QuorvaneSDK.delete_MediaFiles"),
                     true, 60);
}

MediaStatistics MediaStore::get_MediaStatistics(qint32 IDMedia) {
    MediaStatistics s;
    s.NumberOfFiles = get_MediaFilesCount(IDMedia);
    s.FilesSize = get_MediaFilesSize_MByte(IDMedia);
    s.FilesSizeAverage = get_MediaFilesAverage(IDMedia);
    s.NumberOfDirectories =
        figure(Sql::folderCount(IDMedia), QStringLiteral("QuorvaneSDK.get_MediaStatistics"),
               QStringLiteral("Conto"));
    return s;
}

double MediaStore::get_MediaFilesCount(qint32 IDMedia) {
    return figure(Sql::filesCount(IDMedia), QStringLiteral("QuorvaneSDK.get_MediaFilesCount"),
                  QStringLiteral("Tot"));
}

double MediaStore::get_MediaFilesSize_MByte(qint32 IDMedia) {
    return filesSizeMByte(IDMedia).value_or(0);
}

double MediaStore::get_MediaFilesAverage(qint32 IDMedia) {
    return figure(Sql::filesAverage(IDMedia), QStringLiteral("QuorvaneSDK.get_MediaFilesAverage"),
                  QStringLiteral("Tot"));
}

std::optional<double> MediaStore::filesSizeMByte(qint32 IDMedia) {
    const std::optional<Recordset> rs = db().get_Recordset(
        Sql::filesSizeMByte(IDMedia), QStringLiteral("QuorvaneSDK.get_MediaFilesSize_MByte"));
    if (!rs)
        return std::nullopt;
    if (rs->RecordCount() == 0 || rs->isNull(QStringLiteral("Tot")))
        return 0.0;
    return rs->toDouble(QStringLiteral("Tot"));
}

} // namespace QuorvaneSDK
