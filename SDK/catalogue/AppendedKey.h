#pragma once
// The key of the row this object appended last, kept per object (never a
// connection-wide "last id", which word and index inserts overwrite), so
// that two writers into one catalogue attach dependent rows to their own
// rows. A failed insert, or a rollback of a batch, leaves 0: dependent rows
// are then skipped rather than attached to another row.

#include "catalogue/HotStatements.h"

#include <QtGlobal>
#include <memory>
#include <optional>

namespace QuorvaneSDK {

class Database;

class AppendedKey {
public:
    AppendedKey();

    // After an insert into `db`: its key, or 0 when it failed.
    void remember(Database& db, qint32 key);
    // The remembered key when this object appended into `db` (the same
    // living object); nullopt when it appended nothing there.
    std::optional<qint32> get(const Database& db) const;

private:
    struct State {
        const Database* db = nullptr;
        qint32 key = 0;
    };
    std::shared_ptr<State> m_state;
    DatabaseWatch m_watch;
};

} // namespace QuorvaneSDK
