#pragma once
// Reads the catalogue API has no call for yet: the folder names of a
// medium and the file rows of a folder or of a whole medium (folder rows
// left out). Values are bound as parameters.

#include "CatalogueSession.h"

#include <QStringList>

namespace QuorvaneCli {

// The name of the rows that stand for folders.
inline constexpr const char* kFolderRowName = "##nullfile##";

// Every folder name of the medium, sorted.
QStringList mediaFolders(CatalogueSession& session, qint32 mediaId);
// The files of one folder (exact folder name), by name.
QList<QuorvaneSDK::FileQuorvane>
folderFiles(CatalogueSession& session, const QuorvaneSDK::Media& media, const QString& folder);
// Every file of the medium, by folder and name.
QList<QuorvaneSDK::FileQuorvane> mediaFiles(CatalogueSession& session,
                                            const QuorvaneSDK::Media& media);

} // namespace QuorvaneCli
