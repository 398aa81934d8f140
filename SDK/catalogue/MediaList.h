#pragma once
// The media of the catalogue in the order of their names, also found by
// their key (IDMedia), as callers look a medium up by id.

#include "foundation/Records.h"

#include <QHash>
#include <QList>

namespace QuorvaneSDK {

class MediaList {
public:
    void append(const Media& media) {
        m_index.insert(media.id, m_items.size());
        m_items.append(media);
    }

    qsizetype size() const { return m_items.size(); }
    qsizetype count() const { return m_items.size(); }
    bool isEmpty() const { return m_items.isEmpty(); }
    const Media& at(qsizetype i) const { return m_items.at(i); }
    const Media& operator[](qsizetype i) const { return m_items.at(i); }
    QList<Media>::const_iterator begin() const { return m_items.cbegin(); }
    QList<Media>::const_iterator end() const { return m_items.cend(); }
    const QList<Media>& items() const { return m_items; }

    // By key: the medium whose id is `id`, or nullptr.
    bool contains(qint32 id) const { return m_index.contains(id); }
    const Media* find(qint32 id) const {
        const auto it = m_index.constFind(id);
        return it == m_index.cend() ? nullptr : &m_items.at(*it);
    }
    // By key: a copy, or an empty Media (id 0) when there is none.
    Media value(qint32 id) const {
        const Media* m = find(id);
        return m ? *m : Media{};
    }

private:
    QList<Media> m_items;
    QHash<qint32, qsizetype> m_index;
};

} // namespace QuorvaneSDK
