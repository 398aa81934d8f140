#include "NX_TextExtractor/WordDocumentReader.h"

#include "ByteOrder.h"
#include "CompoundFile.h"
#include "OrdinaryFile.h"
#include "WordTextBuilder.h"

#include <algorithm>
#include <new>

namespace NX_TextExtractor {

namespace {

constexpr quint16 kWordIdent = 0xA5EC;
constexpr quint16 kFirstWord97Fib = 0x00C0;
constexpr quint16 kFlagEncrypted = 0x0100;
constexpr quint16 kFlagTable1 = 0x0200;
constexpr int kClxPair = 33; // index of fcClx/lcbClx among the offset/size pairs

struct MainText {
    qint64 ccpText = 0;
    quint32 fcClx = 0;
    quint32 lcbClx = 0;
    bool tableOne = false;
};

// Reads the parts of the file information block the text needs; false when
// the stream is not a Word 97-2003 document or is encrypted.
bool readFib(const QByteArray& wd, MainText& fib) {
    const char* p = wd.constData();
    const qint64 n = wd.size();
    if (n < 34 || le16(p) != kWordIdent || le16(p + 2) < kFirstWord97Fib)
        return false;
    const quint16 flags = le16(p + 10);
    if (flags & kFlagEncrypted)
        return false;
    fib.tableOne = flags & kFlagTable1;
    qint64 pos = 34 + 2 * qint64(le16(p + 32)); // skip the 16-bit values
    if (pos + 2 > n)
        return false;
    const quint16 longCount = le16(p + pos);
    const qint64 longs = pos + 2;
    pos = longs + 4 * qint64(longCount);
    if (longCount < 4 || pos + 2 > n)
        return false;
    const quint16 pairCount = le16(p + pos);
    const qint64 pairs = pos + 2;
    if (pairCount <= kClxPair || pairs + 8 * (kClxPair + 1) > n)
        return false;
    fib.ccpText = qint32(le32(p + longs + 12));
    fib.fcClx = le32(p + pairs + 8 * kClxPair);
    fib.lcbClx = le32(p + pairs + 8 * kClxPair + 4);
    return fib.ccpText >= 0;
}

// Finds the piece table inside the CLX: property runs (type 1) come first
// and are skipped; the piece table (type 2) ends the structure.
bool findPieceTable(const QByteArray& table, const MainText& fib, qint64& plcAt, qint64& plcSize) {
    const qint64 end = qint64(fib.fcClx) + fib.lcbClx;
    if (fib.lcbClx == 0 || end > table.size())
        return false;
    const char* p = table.constData();
    qint64 pos = fib.fcClx;
    while (pos < end) {
        const quint8 kind = quint8(p[pos]);
        if (kind == 1) {
            if (pos + 3 > end)
                return false;
            const qint16 size = qint16(le16(p + pos + 1));
            if (size < 0)
                return false;
            pos += 3 + size;
        } else if (kind == 2) {
            if (pos + 5 > end)
                return false;
            plcSize = le32(p + pos + 1);
            plcAt = pos + 5;
            return plcAt + plcSize <= end;
        } else {
            return false;
        }
    }
    return false;
}

// Walks the pieces of the main text in order and hands their characters to
// the builder. Pieces 8-bit ("compressed") hold Windows-1252 bytes at fc/2,
// the others UTF-16 at fc.
bool collectPieces(const QByteArray& wd, const QByteArray& table, const MainText& fib,
                   WordTextBuilder& out) {
    qint64 plcAt = 0, plcSize = 0;
    if (!findPieceTable(table, fib, plcAt, plcSize) || plcSize < 4 || (plcSize - 4) % 12 != 0)
        return false;
    const qint64 pieces = (plcSize - 4) / 12;
    const char* cps = table.constData() + plcAt;
    const char* pcds = cps + 4 * (pieces + 1);
    // Pieces of a sound document never overlap, so the text cannot be longer
    // than the stream that holds it.
    qint64 budget = wd.size();
    for (qint64 i = 0; i < pieces; ++i) {
        const qint64 cpStart = le32(cps + 4 * i);
        const qint64 cpEnd = le32(cps + 4 * (i + 1));
        if (cpEnd < cpStart)
            return false;
        const qint64 from = std::min(cpStart, fib.ccpText);
        const qint64 to = std::min(cpEnd, fib.ccpText);
        const qint64 count = to - from;
        if (count == 0)
            continue;
        budget -= count;
        if (budget < 0)
            return false;
        const quint32 fcRaw = le32(pcds + 8 * i + 2);
        const bool compressed = fcRaw & 0x40000000u;
        const qint64 fc = fcRaw & 0x3FFFFFFFu;
        const qint64 skip = from - cpStart;
        const qint64 at = compressed ? fc / 2 + skip : fc + 2 * skip;
        const qint64 bytes = compressed ? count : 2 * count;
        if (at + bytes > wd.size())
            return false;
        const char* src = wd.constData() + at;
        if (compressed)
            out.appendAnsi(QByteArrayView(src, bytes));
        else
            out.appendUtf16(src, count);
    }
    return true;
}

QString extractChecked(const ByteSource& source) {
    const CompoundFile file(source);
    if (!file.isValid())
        return {};
    const std::optional<QByteArray> wd = file.rootStream(u"WordDocument");
    MainText fib;
    if (!wd || !readFib(*wd, fib))
        return {};
    const std::optional<QByteArray> table = file.rootStream(fib.tableOne ? u"1Table" : u"0Table");
    if (!table)
        return {};
    WordTextBuilder builder;
    if (!collectPieces(*wd, *table, fib, builder))
        return {};
    return builder.finish();
}

} // namespace

bool MemoryByteSource::readAt(qint64 offset, char* out, qint64 len) const {
    if (offset < 0 || len < 0 || offset > bytes_.size() || len > bytes_.size() - offset)
        return false;
    std::copy_n(bytes_.data() + offset, len, out);
    return true;
}

QString WordDocumentReader::extractText(const ByteSource& source) {
    try {
        return extractChecked(source);
    } catch (const std::bad_alloc&) {
        return {};
    }
}

QString WordDocumentReader::extractText(QByteArrayView bytes) {
    return extractText(MemoryByteSource(bytes));
}

namespace {
class FileByteSource final : public ByteSource {
public:
    explicit FileByteSource(const OrdinaryFile& file) : file_(file) {}
    qint64 size() const override { return file_.size(); }
    bool readAt(qint64 offset, char* out, qint64 len) const override {
        return file_.readAt(offset, out, len) == len;
    }

private:
    const OrdinaryFile& file_;
};
} // namespace

QString WordDocumentReader::extractTextFromFile(const QString& path) {
    const OrdinaryFile file(path);
    if (!file.isOpen() || file.isWriteLockedElsewhere())
        return {};
    return extractText(FileByteSource(file));
}

} // namespace NX_TextExtractor
