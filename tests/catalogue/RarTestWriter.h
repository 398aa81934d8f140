#pragma once
// Builds small RAR archives (the 4.x and 5.x formats) byte by byte with
// stored entries, for tests: Debian has no tool that writes RAR.

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>
#include <ostream>

namespace QuorvaneTest {

struct RarTestEntry {
    QString name;              // path with "/" (written with "\" in the 4.x format)
    QByteArray data;           // stored as is
    quint32 attributes = 0x20; // DOS attributes, or a Unix mode with unixHost
    bool unixHost = false;
    bool directory = false;
    quint32 dosTime = 0x5A8B6C21;       // 2025-04-11 13:33:02
    bool unicodeName = false;           // 4.x: store the wide-name encoding (flag 0x200)
    QByteArray rawName;                 // 4.x: exact single-byte name bytes (overrides name)
    std::optional<quint64> claimedSize; // unpacked size written instead of data.size()
    bool encrypted = false;             // flag the entry as password protected

    // Chainable adjustments: rarFile("a", "x").unixMode(0100644).claim(1e11)
    RarTestEntry unixMode(quint32 mode) const {
        RarTestEntry e = *this;
        e.unixHost = true;
        e.attributes = mode;
        return e;
    }
    RarTestEntry attrs(quint32 dos) const {
        RarTestEntry e = *this;
        e.attributes = dos;
        return e;
    }
    RarTestEntry wide(const QByteArray& narrowBytes) const {
        RarTestEntry e = *this;
        e.unicodeName = true;
        e.rawName = narrowBytes;
        return e;
    }
    RarTestEntry raw(const QByteArray& nameBytes) const {
        RarTestEntry e = *this;
        e.rawName = nameBytes;
        return e;
    }
    RarTestEntry claim(quint64 size) const {
        RarTestEntry e = *this;
        e.claimedSize = size;
        return e;
    }
    RarTestEntry secret() const {
        RarTestEntry e = *this;
        e.encrypted = true;
        return e;
    }
    RarTestEntry at(quint32 dos) const {
        RarTestEntry e = *this;
        e.dosTime = dos;
        return e;
    }
};

inline RarTestEntry rarFile(const QString& name, const QByteArray& data) {
    RarTestEntry e;
    e.name = name;
    e.data = data;
    return e;
}

inline RarTestEntry rarFolder(const QString& name) {
    RarTestEntry e;
    e.name = name;
    e.directory = true;
    e.attributes = 0x10;
    return e;
}

enum class Rar4Comment { SubBlock, InMainHeader };

QByteArray makeRar4(const QList<RarTestEntry>& entries, const QByteArray& comment = {},
                    Rar4Comment style = Rar4Comment::SubBlock, bool encryptedHeaders = false);
QByteArray makeRar5(const QList<RarTestEntry>& entries, const QByteArray& comment = {},
                    bool encryptedHeaders = false);

// What libarchive reads from an archive in memory: name and size per entry,
// directories included; `complete` is false when it stopped on an error.
struct WitnessEntry {
    QString name;
    qint64 size = 0;
    bool directory = false;
    bool operator==(const WitnessEntry&) const = default;
};
inline void PrintTo(const WitnessEntry& e, std::ostream* os) {
    *os << '"' << e.name.toStdString() << "\" " << e.size << (e.directory ? " dir" : "");
}
struct WitnessListing {
    QList<WitnessEntry> entries;
    bool complete = false;
    QString error;
};
WitnessListing libarchiveListing(const QByteArray& archive);

bool writeFile(const QString& path, const QByteArray& bytes);

} // namespace QuorvaneTest
