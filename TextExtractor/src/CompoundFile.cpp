#include "CompoundFile.h"

#include "ByteOrder.h"

#include <algorithm>

namespace NX_TextExtractor {

namespace {
constexpr quint32 kMaxRegularSector = 0xFFFFFFFA;
constexpr quint32 kEndOfChain = 0xFFFFFFFE;
constexpr quint32 kNoStream = 0xFFFFFFFF;
constexpr int kHeaderSize = 512;
constexpr int kHeaderDifatEntries = 109;
constexpr int kEntrySize = 128;
constexpr int kMiniSectorSize = 64;
constexpr quint8 kTypeStream = 2;
constexpr quint8 kTypeRoot = 5;
const unsigned char kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
} // namespace

CompoundFile::CompoundFile(const ByteSource& source) : source_(source) {
    QByteArray header;
    if (!readHeader(header) || !loadFat(header))
        return;
    if (!loadDirectory(le32(header.constData() + 48)))
        return;
    if (!loadMiniFat(le32(header.constData() + 60), le32(header.constData() + 64)))
        return;
    valid_ = true;
}

bool CompoundFile::readHeader(QByteArray& header) {
    if (source_.size() < kHeaderSize)
        return false;
    header.resize(kHeaderSize);
    if (!source_.readAt(0, header.data(), kHeaderSize))
        return false;
    const char* h = header.constData();
    if (!std::equal(std::begin(kSignature), std::end(kSignature),
                    reinterpret_cast<const unsigned char*>(h)))
        return false;
    majorVersion_ = le16(h + 26);
    const int sectorShift = le16(h + 30);
    if ((majorVersion_ != 3 && majorVersion_ != 4) || le16(h + 28) != 0xFFFE)
        return false;
    if ((sectorShift != 9 && sectorShift != 12) || le16(h + 32) != 6)
        return false;
    miniCutoff_ = le32(h + 56);
    if (miniCutoff_ != 4096)
        return false;
    sectorSize_ = 1u << sectorShift;
    const qint64 body = source_.size() - sectorSize_;
    if (body <= 0)
        return false;
    sectorCount_ =
        quint32(std::min<qint64>((body + sectorSize_ - 1) / sectorSize_, kMaxRegularSector));
    return true;
}

bool CompoundFile::readSector(quint32 sector, char* out, qint64 len) const {
    if (sector >= sectorCount_ || len > sectorSize_)
        return false;
    return source_.readAt((qint64(sector) + 1) * sectorSize_, out, len);
}

bool CompoundFile::loadFat(const QByteArray& header) {
    const char* h = header.constData();
    const quint32 fatSectors = le32(h + 44);
    if (fatSectors == 0 || fatSectors > sectorCount_)
        return false;
    std::vector<quint32> fatIds;
    fatIds.reserve(fatSectors);
    for (int i = 0; i < kHeaderDifatEntries && fatIds.size() < fatSectors; ++i)
        fatIds.push_back(le32(h + 76 + 4 * i));

    // The rest of the FAT's sector list lives in a chain of DIFAT sectors,
    // each ending with the number of the next one.
    const quint32 perSector = sectorSize_ / 4;
    std::vector<bool> seen(sectorCount_, false);
    QByteArray buf(sectorSize_, Qt::Uninitialized);
    quint32 next = le32(h + 68);
    while (fatIds.size() < fatSectors) {
        if (next >= sectorCount_ || seen[next] || !readSector(next, buf.data(), sectorSize_))
            return false;
        seen[next] = true;
        for (quint32 i = 0; i + 1 < perSector && fatIds.size() < fatSectors; ++i)
            fatIds.push_back(le32(buf.constData() + 4 * i));
        next = le32(buf.constData() + 4 * (perSector - 1));
    }

    fat_.resize(size_t(fatSectors) * perSector);
    for (size_t s = 0; s < fatIds.size(); ++s) {
        if (!readSector(fatIds[s], buf.data(), sectorSize_))
            return false;
        for (quint32 i = 0; i < perSector; ++i)
            fat_[s * perSector + i] = le32(buf.constData() + 4 * i);
    }
    return true;
}

std::vector<quint32> CompoundFile::chainSectors(quint32 start, qint64 maxSectors) const {
    std::vector<quint32> chain;
    std::vector<bool> seen(sectorCount_, false);
    for (quint32 cur = start; cur != kEndOfChain;) {
        if (cur >= sectorCount_ || cur >= fat_.size() || seen[cur] ||
            qint64(chain.size()) >= maxSectors)
            return {};
        seen[cur] = true;
        chain.push_back(cur);
        cur = fat_[cur];
    }
    return chain;
}

bool CompoundFile::loadDirectory(quint32 firstSector) {
    const std::vector<quint32> chain = chainSectors(firstSector, sectorCount_);
    if (chain.empty())
        return false;
    QByteArray buf(sectorSize_, Qt::Uninitialized);
    for (const quint32 sector : chain) {
        if (!readSector(sector, buf.data(), sectorSize_))
            return false;
        for (quint32 off = 0; off + kEntrySize <= sectorSize_; off += kEntrySize) {
            const char* e = buf.constData() + off;
            Entry entry;
            const int nameBytes = le16(e + 64);
            if (nameBytes >= 2 && nameBytes <= 64 && nameBytes % 2 == 0)
                entry.name =
                    QString::fromUtf16(reinterpret_cast<const char16_t*>(e), nameBytes / 2 - 1);
            entry.type = quint8(e[66]);
            entry.left = le32(e + 68);
            entry.right = le32(e + 72);
            entry.child = le32(e + 76);
            entry.start = le32(e + 116);
            entry.size = le64(e + 120);
            if (majorVersion_ == 3)
                entry.size &= 0xFFFFFFFFu; // the high half is not kept by version 3 writers
            entries_.push_back(std::move(entry));
        }
    }
    return entries_.front().type == kTypeRoot;
}

bool CompoundFile::loadMiniFat(quint32 firstSector, quint32 count) {
    if (count == 0 || firstSector == kEndOfChain)
        return true;
    const std::vector<quint32> chain = chainSectors(firstSector, sectorCount_);
    if (chain.empty())
        return false;
    const quint32 perSector = sectorSize_ / 4;
    QByteArray buf(sectorSize_, Qt::Uninitialized);
    miniFat_.reserve(chain.size() * perSector);
    for (const quint32 sector : chain) {
        if (!readSector(sector, buf.data(), sectorSize_))
            return false;
        for (quint32 i = 0; i < perSector; ++i)
            miniFat_.push_back(le32(buf.constData() + 4 * i));
    }
    return true;
}

bool CompoundFile::followChain(quint32 start, qint64 size, QByteArray& out) const {
    if (size < 0 || size > source_.size())
        return false;
    const qint64 needed = (size + sectorSize_ - 1) / sectorSize_;
    out.resize(size);
    std::vector<bool> seen(sectorCount_, false);
    quint32 cur = start;
    for (qint64 i = 0; i < needed; ++i) {
        if (cur >= sectorCount_ || cur >= fat_.size() || seen[cur])
            return false;
        seen[cur] = true;
        const qint64 offset = i * sectorSize_;
        if (!readSector(cur, out.data() + offset, std::min<qint64>(sectorSize_, size - offset)))
            return false;
        cur = fat_[cur];
    }
    return true;
}

bool CompoundFile::followMiniChain(quint32 start, qint64 size, QByteArray& out) const {
    if (!miniStream_) {
        const Entry& root = entries_.front();
        QByteArray data;
        if (!followChain(root.start,
                         qint64(std::min<quint64>(root.size, quint64(source_.size()) + 1)), data))
            return false;
        miniStream_ = std::move(data);
    }
    const QByteArray& mini = *miniStream_;
    if (size < 0 || size > mini.size())
        return false;
    const qint64 needed = (size + kMiniSectorSize - 1) / kMiniSectorSize;
    out.resize(size);
    std::vector<bool> seen(miniFat_.size(), false);
    quint32 cur = start;
    for (qint64 i = 0; i < needed; ++i) {
        const qint64 offset = i * kMiniSectorSize;
        const qint64 len = std::min<qint64>(kMiniSectorSize, size - offset);
        if (cur >= miniFat_.size() || seen[cur] ||
            qint64(cur) * kMiniSectorSize + len > mini.size())
            return false;
        seen[cur] = true;
        std::copy_n(mini.constData() + qint64(cur) * kMiniSectorSize, len, out.data() + offset);
        cur = miniFat_[cur];
    }
    return true;
}

const CompoundFile::Entry* CompoundFile::findRootChild(QStringView name) const {
    // The children of a storage form a binary tree through their sibling
    // links; the walk visits each entry at most once.
    std::vector<bool> seen(entries_.size(), false);
    std::vector<quint32> pending{entries_.front().child};
    while (!pending.empty()) {
        const quint32 i = pending.back();
        pending.pop_back();
        if (i == kNoStream || i >= entries_.size() || seen[i])
            continue;
        seen[i] = true;
        const Entry& e = entries_[i];
        if (e.type == kTypeStream && QStringView(e.name).compare(name, Qt::CaseInsensitive) == 0)
            return &e;
        pending.push_back(e.left);
        pending.push_back(e.right);
    }
    return nullptr;
}

std::optional<QByteArray> CompoundFile::rootStream(QStringView name) const {
    if (!valid_)
        return std::nullopt;
    const Entry* e = findRootChild(name);
    if (!e || e->size > quint64(source_.size()))
        return std::nullopt;
    QByteArray data;
    const bool ok = e->size < miniCutoff_ ? followMiniChain(e->start, qint64(e->size), data)
                                          : followChain(e->start, qint64(e->size), data);
    if (!ok)
        return std::nullopt;
    return data;
}

} // namespace NX_TextExtractor
