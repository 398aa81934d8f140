#pragma once
// Read-only access to the streams of a compound file (the OLE container of
// Word, Excel and installer files). Every count and sector number that comes
// from the file is checked before use: chains are bounded by the number of
// sectors present, cycles are detected, sizes are checked against the file.

#include "NX_TextExtractor/WordDocumentReader.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace NX_TextExtractor {

class CompoundFile {
public:
    explicit CompoundFile(const ByteSource& source);

    bool isValid() const { return valid_; }
    // A stream directly below the root storage, by name (letter case
    // ignored, as the container does); nullopt when absent or damaged.
    std::optional<QByteArray> rootStream(QStringView name) const;

private:
    struct Entry {
        QString name;
        quint8 type = 0;
        quint32 left = 0, right = 0, child = 0, start = 0;
        quint64 size = 0;
    };

    bool readHeader(QByteArray& header);
    bool loadFat(const QByteArray& header);
    bool loadDirectory(quint32 firstSector);
    bool loadMiniFat(quint32 firstSector, quint32 count);
    bool readSector(quint32 sector, char* out, qint64 len) const;
    bool followChain(quint32 start, qint64 size, QByteArray& out) const;
    bool followMiniChain(quint32 start, qint64 size, QByteArray& out) const;
    std::vector<quint32> chainSectors(quint32 start, qint64 maxSectors) const;
    const Entry* findRootChild(QStringView name) const;

    const ByteSource& source_;
    bool valid_ = false;
    int majorVersion_ = 3;
    quint32 sectorSize_ = 512;
    quint32 sectorCount_ = 0; // sectors that begin inside the file
    quint32 miniCutoff_ = 4096;
    std::vector<quint32> fat_;
    std::vector<quint32> miniFat_;
    std::vector<Entry> entries_;
    mutable std::optional<QByteArray> miniStream_;
};

} // namespace NX_TextExtractor
