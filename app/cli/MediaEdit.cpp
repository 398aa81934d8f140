#include "MediaEdit.h"

#include "CliErrors.h"
#include "Output.h"

#include "foundation/Helpers.h"
#include "foundation/PreparedStatement.h"

namespace QuorvaneCli {

using namespace QuorvaneSDK;

namespace {

// One column of one medium changed by key. The label or group is bound as
// a parameter and written by key: saving the whole record would look the
// medium up by serial number or, for media without one, by the new label,
// and so could add a second medium instead of renaming this one.
void updateColumn(CatalogueSession& session, qint32 id, const QString& column,
                  const QString& value) {
    PreparedStatement update = session.db().prepare(
        QStringLiteral("UPDATE Media SET %1 = ? WHERE IDMedia = ?").arg(column),
        QStringLiteral("quorvane-cli.update_Media"));
    update.bind(0, value);
    update.bind(1, id);
    clearSdkError();
    if (update.exec().Number != 0)
        throw WorkError(withSdkReason(QStringLiteral("cannot change medium %1").arg(id)));
}

} // namespace

bool mediaExists(CatalogueSession& session, qint32 id) {
    return session.main().get_Media(QString(), QString(), id, false).id == id;
}

Media requireMedia(CatalogueSession& session, qint32 id) {
    const Media m = session.main().get_Media(QString(), QString(), id, true);
    if (m.id != id)
        throw WorkError(QStringLiteral("no medium with ID %1").arg(id));
    return m;
}

int renameMedia(qint32 id, const QString& label) {
    const QString clean = CleanSqlText(label);
    if (clean.isEmpty())
        throw UsageError(QStringLiteral("the label must not be empty"));
    CatalogueSession session;
    const Media m = requireMedia(session, id);
    const Media holder = session.main().get_Media(QString(), clean, 0, false);
    if (holder.id != 0 && holder.id != id)
        throw WorkError(
            QStringLiteral("medium %1 is already labelled \"%2\"").arg(holder.id).arg(clean));
    updateColumn(session, id, QStringLiteral("MediaName"), clean);
    printMessage(
        QStringLiteral("medium %1 renamed from \"%2\" to \"%3\"").arg(id).arg(m.Label, clean));
    return ExitOk;
}

int regroupMedia(qint32 id, const QString& group) {
    const QString clean = CleanSqlText(group);
    CatalogueSession session;
    requireMedia(session, id);
    updateColumn(session, id, QStringLiteral("MediaGroup"), clean);
    printMessage(clean.isEmpty()
                     ? QStringLiteral("medium %1 taken out of its group").arg(id)
                     : QStringLiteral("medium %1 put into group \"%2\"").arg(id).arg(clean));
    return ExitOk;
}

} // namespace QuorvaneCli
