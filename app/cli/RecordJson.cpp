#include "RecordJson.h"

#include <QDateTime>

namespace QuorvaneCli {

using namespace QuorvaneSDK;

QString dateText(const Date& date) {
    if (date.isNull())
        return QString();
    return date.toDateTime().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
}

QJsonObject mediaJson(const Media& m, bool withStatistics) {
    QJsonObject o{{QStringLiteral("id"), m.id},
                  {QStringLiteral("Label"), m.Label},
                  {QStringLiteral("Letter"), m.Letter},
                  {QStringLiteral("SerialNumber"), m.SerialNumber},
                  {QStringLiteral("IsNetworkDrive"), m.IsNetworkDrive},
                  {QStringLiteral("EAN13"), m.EAN13},
                  {QStringLiteral("Space_Capacity"), m.Space_Capacity},
                  {QStringLiteral("Space_Used"), m.Space_Used},
                  {QStringLiteral("Space_Free"), m.Space_Free},
                  {QStringLiteral("Type"), static_cast<qint32>(m.Type)},
                  {QStringLiteral("PartitionType"), m.PartitionType},
                  {QStringLiteral("Description"), m.Description},
                  {QStringLiteral("Group"), m.Group}};
    if (withStatistics) {
        const MediaStatistics& s = m.Statistics;
        o.insert(QStringLiteral("Statistics"),
                 QJsonObject{{QStringLiteral("NumberOfFiles"), s.NumberOfFiles},
                             {QStringLiteral("NumberOfDirectories"), s.NumberOfDirectories},
                             {QStringLiteral("FilesSize"), s.FilesSize},
                             {QStringLiteral("FilesSizeAverage"), s.FilesSizeAverage}});
    }
    return o;
}

QJsonObject fileJson(const FileQuorvane& f) {
    return QJsonObject{
        {QStringLiteral("id"), f.id},
        {QStringLiteral("Name"), f.Name},
        {QStringLiteral("FolderName"), f.FolderName},
        {QStringLiteral("Extension"), f.Extension},
        {QStringLiteral("Size"), f.Size},
        {QStringLiteral("DateCreated"), dateText(f.DateCreated)},
        {QStringLiteral("DateLastAccessed"), dateText(f.DateLastAccessed)},
        {QStringLiteral("DateModified"), dateText(f.DateModified)},
        {QStringLiteral("Properties"), f.Properties},
        {QStringLiteral("Description"), f.Description},
        {QStringLiteral("OptionalDescription"), f.OptionalDescription},
        {QStringLiteral("Media"), QJsonObject{{QStringLiteral("id"), f.Media.id},
                                              {QStringLiteral("Label"), f.Media.Label}}}};
}

QJsonObject containedJson(const FileQuorvaneCompressed& e) {
    return QJsonObject{{QStringLiteral("id"), e.id},
                       {QStringLiteral("Name"), e.Name},
                       {QStringLiteral("FolderName"), e.FolderName},
                       {QStringLiteral("Extension"), e.Extension},
                       {QStringLiteral("Size"), e.Size},
                       {QStringLiteral("FileCompressedSize"), e.FileCompressedSize},
                       {QStringLiteral("FileCompressionRatio"), e.FileCompressionRatio},
                       {QStringLiteral("DateCreated"), dateText(e.DateCreated)},
                       {QStringLiteral("DateLastAccessed"), dateText(e.DateLastAccessed)},
                       {QStringLiteral("DateModified"), dateText(e.DateModified)},
                       {QStringLiteral("Properties"), e.Properties},
                       {QStringLiteral("Comment"), e.Comment},
                       {QStringLiteral("IDParentFile"), e.IDParentFile},
                       {QStringLiteral("CompressionType"), static_cast<qint32>(e.CompressionType)},
                       {QStringLiteral("OptionalDescription"), e.OptionalDescription}};
}

} // namespace QuorvaneCli
