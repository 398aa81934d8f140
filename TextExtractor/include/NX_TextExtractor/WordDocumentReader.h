#pragma once
// Plain text of Word 97-2003 documents (.doc), read in-process: the compound
// file container, its WordDocument stream and the piece table kept in the
// table stream. Anything else, or anything damaged, gives empty text.

#include <QByteArrayView>
#include <QString>

namespace NX_TextExtractor {

// Random access to the bytes of a document, so that only the parts the text
// lives in are read from disk.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual qint64 size() const = 0;
    // Reads exactly len bytes at offset; false when they are not all there.
    virtual bool readAt(qint64 offset, char* out, qint64 len) const = 0;
};

class MemoryByteSource final : public ByteSource {
public:
    explicit MemoryByteSource(QByteArrayView bytes) : bytes_(bytes) {}
    qint64 size() const override { return bytes_.size(); }
    bool readAt(qint64 offset, char* out, qint64 len) const override;

private:
    QByteArrayView bytes_;
};

class WordDocumentReader {
public:
    // The document's main text with fields shown by their results, paragraph
    // marks as CR LF, table cell marks as tabs, leading and trailing spaces
    // removed; empty for anything that is not a readable Word 97-2003 document.
    static QString extractText(const ByteSource& source);
    static QString extractText(QByteArrayView bytes);
    // The file must be a visible ordinary file that no one holds a write lock on.
    static QString extractTextFromFile(const QString& path);
};

} // namespace NX_TextExtractor
