#pragma once
// Per-extension memory of the MIME database's answers, so that a scan pays
// the lookup once per extension and not once per file. Not thread-safe: one
// cache per scan (or per thread).

#include <QHash>
#include <QString>

namespace QuorvaneSDK {

class ExtensionInfoCache {
public:
    // The type description a file manager shows for files with this
    // extension (the MIME type's comment); empty for an unknown extension.
    QString description(const QString& extension);
    // The MIME type name, empty for an unknown extension.
    QString mimeName(const QString& extension);

    // Lookups answered so far from the database (not from memory).
    int lookups() const { return lookups_; }

private:
    struct Answer {
        QString description;
        QString mimeName;
    };
    const Answer& answer(const QString& extension);

    QHash<QString, Answer> answers_;
    int lookups_ = 0;
};

} // namespace QuorvaneSDK
