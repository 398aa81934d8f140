#pragma once
// Turns the characters of a Word document's main text into plain text:
// fields show their result and not their code, paragraph and line marks
// become CR LF, cell marks tabs, and the other control characters (object
// anchors, note references, optional hyphens) disappear.

#include <QByteArrayView>
#include <QString>

#include <vector>

namespace NX_TextExtractor {

class WordTextBuilder {
public:
    void appendAnsi(QByteArrayView bytes);
    // count UTF-16 code units stored little-endian at bytes.
    void appendUtf16(const char* bytes, qint64 count);
    void append(char16_t c);
    // The text with leading and trailing spaces removed.
    QString finish();

private:
    QString text_;
    // One entry per open field: true once its separator was seen, i.e. the
    // characters belong to the result. Text shows only outside field codes.
    std::vector<bool> fields_;
    qsizetype openCodes_ = 0;
};

} // namespace NX_TextExtractor
