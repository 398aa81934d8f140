// extract_text and get_Words: raw text of files, Word documents, and the
// distinct words of a text.

#include "NX_TextExtractor/Extractor.h"

#include "NX_TextExtractor/Windows1252.h"
#include "NX_TextExtractor/WordDocumentReader.h"
#include "OrdinaryFile.h"

#include <QSet>

#include <new>

namespace NX_TextExtractor {

namespace {

bool isBlankText(const QString& s) {
    for (const QChar c : s)
        if (c != u' ')
            return false;
    return true;
}

bool isWordChar(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

} // namespace

QString Extractor::readPlainText(const QString& fileName, qint32 limitKB) {
    try {
        const OrdinaryFile file(fileName);
        if (!file.isOpen())
            return {};
        const qint64 wanted =
            limitKB > 0 ? std::min<qint64>(qint64(limitKB) * 1024, file.size()) : file.size();
        QByteArray bytes(wanted, Qt::Uninitialized);
        const qint64 got = file.readAt(0, bytes.data(), wanted);
        if (got < 0)
            return {};
        bytes.truncate(got);
        return fromWindows1252(bytes, /*dropNul=*/true);
    } catch (const std::bad_alloc&) {
        return {};
    }
}

QString Extractor::extract_text(const QString& TxtFileName, TypesFile FileType,
                                qint32 ReadNoMmoreThanKB) const {
    switch (FileType) {
    case TypesFile::MicrosoftWordDocument:
        return WordDocumentReader::extractTextFromFile(TxtFileName);
    case TypesFile::TextFile:
        return readPlainText(TxtFileName, ReadNoMmoreThanKB);
    default:
        return {};
    }
}

QString Extractor::normalizeBlanks(QStringView text) {
    const auto blank = [](char16_t c) { return c == 13 || c == 10 || c == 9 || c == 0 ? u' ' : c; };
    const qsizetype n = text.size();
    QString out(n, Qt::Uninitialized);
    QChar* dst = out.data();
    qsizetype len = 0;
    for (qsizetype i = 0; i < n;) {
        const char16_t c = blank(text[i].unicode());
        if (c == u' ' && i + 1 < n && blank(text[i + 1].unicode()) == u' ') {
            dst[len++] = u' '; // a pair becomes one; the pass goes on after the pair
            i += 2;
        } else {
            dst[len++] = c;
            ++i;
        }
    }
    qsizetype first = 0;
    while (first < len && dst[first] == u' ')
        ++first;
    while (len > first && dst[len - 1] == u' ')
        --len;
    out.truncate(len);
    return first ? out.mid(first) : out;
}

QStringList Extractor::splitWords(QStringView text, int IgnoreWordsSmallerThan,
                                  int IgnoreWordsLargerThan) {
    const QString spaced = normalizeBlanks(text);
    QStringList words;
    QSet<QString> seen;
    QString word;
    const QStringView all(spaced);
    qsizetype start = 0;
    while (start < all.size()) {
        qsizetype end = all.indexOf(u' ', start);
        if (end < 0)
            end = all.size();
        const QStringView piece = all.mid(start, end - start);
        start = end + 1;
        // An empty piece (from a run of blanks) is never a word, whatever the bounds.
        const qsizetype len = piece.size();
        if (len == 0 || len <= IgnoreWordsSmallerThan || len > IgnoreWordsLargerThan)
            continue;
        if (!std::all_of(piece.begin(), piece.end(),
                         [](QChar c) { return isWordChar(c.unicode()); }))
            continue;
        // The buffer is reused; it is copied only when a new word is kept.
        word.resize(len);
        QChar* w = word.data();
        for (qsizetype i = 0; i < len; ++i)
            w[i] = QChar(piece[i].unicode() | 0x20);
        if (!seen.contains(word)) {
            seen.insert(word);
            words.append(word);
        }
    }
    return words;
}

QStringList Extractor::get_Words(const QString& TextFile, qint16 IgnoreWordsSmallerThan,
                                 qint16 IgnoreWordsLargerThan, const QString& TextString) const {
    try {
        QString text;
        if (!isBlankText(TextFile)) {
            text = get_FileType(TextFile).Type == TypesFile::MicrosoftWordDocument
                       ? WordDocumentReader::extractTextFromFile(TextFile)
                       : readPlainText(TextFile, WordsReadLimitKB);
        } else {
            text = TextString;
        }
        return splitWords(text, IgnoreWordsSmallerThan, IgnoreWordsLargerThan);
    } catch (const std::bad_alloc&) {
        return {};
    }
}

} // namespace NX_TextExtractor
