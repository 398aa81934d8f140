#pragma once
// Reading one medium and changing its label or group.

#include "CatalogueSession.h"

namespace QuorvaneCli {

// The medium with key id; WorkError when there is none.
QuorvaneSDK::Media requireMedia(CatalogueSession& session, qint32 id);
bool mediaExists(CatalogueSession& session, qint32 id);
int renameMedia(qint32 id, const QString& label);
int regroupMedia(qint32 id, const QString& group);

} // namespace QuorvaneCli
