#pragma once
// Media of the catalogue (table Media): register or update, look up, list,
// statistics and deletion. Operations without handling of their own throw
// CatalogueError when their query fails (after the database layer reported
// it); the statistics return 0 for a failed figure.

#include "catalogue/MediaList.h"
#include "foundation/Records.h"

#include <QStringList>
#include <optional>

namespace QuorvaneSDK {

class MediaStore {
public:
    static QString notGroupedText() { return QStringLiteral("**not yet grouped**"); }
    static QString noSerialNumber() { return QStringLiteral("[noserialnumber]"); }

    bool set_Media(Media& MediaToUpdate);
    bool exists_Media(const Media& NewMedia);
    Media get_Media(const QString& SerialNumber, const QString& Label, qint32 id,
                    bool getStatistics);
    Media get_MediaByID(qint32 IDMedia, bool getStatistics);
    MediaList get_Medias(bool getStatistics);
    QStringList get_MediaGroups();
    qint32 get_MediasLabel(QStringList& MediaLabels);
    FormattedSize get_QuorvaneTotalCapacity();
    void delete_Media(qint32 IDMedia);
    void delete_MediaFiles(const QString& MediaSerialNumber);

    MediaStatistics get_MediaStatistics(qint32 IDMedia);
    double get_MediaFilesCount(qint32 IDMedia);
    double get_MediaFilesSize_MByte(qint32 IDMedia);
    double get_MediaFilesAverage(qint32 IDMedia);

private:
    std::optional<double> filesSizeMByte(qint32 IDMedia);
};

} // namespace QuorvaneSDK
