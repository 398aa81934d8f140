#include "WordTextBuilder.h"

#include "ByteOrder.h"
#include "NX_TextExtractor/Windows1252.h"

namespace NX_TextExtractor {

namespace {
constexpr char16_t kFieldBegin = 0x13;
constexpr char16_t kFieldSeparator = 0x14;
constexpr char16_t kFieldEnd = 0x15;
} // namespace

void WordTextBuilder::appendAnsi(QByteArrayView bytes) {
    for (const char c : bytes)
        append(fromWindows1252(static_cast<unsigned char>(c)));
}

void WordTextBuilder::appendUtf16(const char* bytes, qint64 count) {
    for (qint64 i = 0; i < count; ++i)
        append(le16(bytes + 2 * i));
}

void WordTextBuilder::append(char16_t c) {
    switch (c) {
    case kFieldBegin:
        fields_.push_back(false);
        ++openCodes_;
        return;
    case kFieldSeparator:
        if (!fields_.empty() && !fields_.back()) {
            fields_.back() = true;
            --openCodes_;
        }
        return;
    case kFieldEnd:
        if (!fields_.empty()) {
            if (!fields_.back())
                --openCodes_;
            fields_.pop_back();
        }
        return;
    default:
        break;
    }
    if (openCodes_ > 0)
        return;
    switch (c) {
    case 0x0D: // paragraph mark
    case 0x0B: // manual line break
    case 0x0A:
    case 0x0C: // page or section break
    case 0x0E: // column break
        text_ += u"\r\n";
        return;
    case 0x07: // end of a table cell or row
    case 0x09:
        text_ += u'\t';
        return;
    case 0x1E: // non-breaking hyphen
        text_ += u'-';
        return;
    default:
        if (c >= 0x20)
            text_ += QChar(c);
        return;
    }
}

QString WordTextBuilder::finish() {
    qsizetype first = 0;
    qsizetype last = text_.size();
    while (first < last && text_.at(first) == u' ')
        ++first;
    while (last > first && text_.at(last - 1) == u' ')
        --last;
    return text_.mid(first, last - first);
}

} // namespace NX_TextExtractor
