#include "catalogue/AppendedKey.h"

#include "foundation/Database.h"

namespace QuorvaneSDK {

AppendedKey::AppendedKey() : m_state(std::make_shared<State>()) {
}

void AppendedKey::remember(Database& db, qint32 key) {
    if (!m_watch.isWatching(db)) {
        // The listener may outlive this object: it holds the state weakly.
        std::weak_ptr<State> weak = m_state;
        const Database* target = &db;
        m_watch.watch(db, [weak, target] {
            if (auto state = weak.lock(); state && state->db == target)
                state->key = 0;
        });
    }
    m_state->db = &db;
    m_state->key = key;
}

std::optional<qint32> AppendedKey::get(const Database& db) const {
    if (!m_watch.isWatching(db))
        return std::nullopt;
    return m_state->key;
}

} // namespace QuorvaneSDK
