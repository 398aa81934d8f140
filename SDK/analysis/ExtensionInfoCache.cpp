#include "analysis/ExtensionInfoCache.h"

#include "analysis/ExtensionMimeType.h"

namespace QuorvaneSDK {

const ExtensionInfoCache::Answer& ExtensionInfoCache::answer(const QString& extension) {
    const QString key = ExtensionMime::withDot(extension);
    auto it = answers_.constFind(key);
    if (it == answers_.constEnd()) {
        ++lookups_;
        const QMimeType type = ExtensionMime::typeFor(key);
        Answer a;
        if (type.isValid()) {
            a.description = type.comment();
            a.mimeName = type.name();
        }
        it = answers_.insert(key, a);
    }
    return *it;
}

QString ExtensionInfoCache::description(const QString& extension) {
    return answer(extension).description;
}

QString ExtensionInfoCache::mimeName(const QString& extension) {
    return answer(extension).mimeName;
}

} // namespace QuorvaneSDK
