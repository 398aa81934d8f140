#pragma once
// The MP3 data and the previews stored for one file or contained file, as
// the properties window shows them.

#include "CatalogueSession.h"

#include <QImage>
#include <QJsonObject>
#include <QList>
#include <QPair>

namespace QuorvaneCli {

struct FileExtras {
    bool hasMp3 = false;
    QList<QPair<QString, QString>> mp3; // caption, value; in the window's order
    QJsonObject mp3Json;                // field names of the MP3 record
    QString previewText;
    QImage image;
};

FileExtras readFileExtras(CatalogueSession& session, qint32 id, bool contained);
void addExtrasJson(QJsonObject& object, const FileExtras& extras);
void printExtras(const FileExtras& extras);

} // namespace QuorvaneCli
