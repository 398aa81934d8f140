#pragma once
// Classifies files by their first bytes, reads their text and splits text
// into the distinct words of the catalogue's word index. No call throws:
// a missing, hidden or unreadable file gives the empty result.

#include "NX_TextExtractor/Types.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>

namespace NX_TextExtractor {

class Extractor {
public:
    // Bytes of a file's beginning that get_FileType looks at.
    static constexpr int HeadSize = 300;

    // One read of the first HeadSize bytes; {0, false, false} on any failure.
    FileType get_FileType(const QString& FileName) const;

    // FileType 5 gives the text of a Word 97-2003 document, 22 the raw text
    // of the file (only its first ReadNoMmoreThanKB kilobytes when above 0,
    // NUL characters removed); any other kind gives empty text.
    QString extract_text(const QString& TxtFileName, TypesFile FileType,
                         qint32 ReadNoMmoreThanKB = 0) const;

    // The distinct words, in order of first occurrence, of the file named
    // by TextFile or, when that is blank, of TextString. A word is made of
    // the letters a-z only and is kept when
    // IgnoreWordsSmallerThan < length <= IgnoreWordsLargerThan. Words of a
    // plain file come from its first WordsReadLimitKB only.
    QStringList get_Words(const QString& TextFile, qint16 IgnoreWordsSmallerThan = 3,
                          qint16 IgnoreWordsLargerThan = 20,
                          const QString& TextString = QString()) const;

    // The rules of get_FileType applied to bytes already read: head is the
    // file's beginning (at most HeadSize bytes are looked at, a shorter head
    // counts as padded with zero bytes) and fileName gives the extension.
    static FileType classifyHead(QByteArrayView head, QStringView fileName);

    // A text of gigabytes (a log, a dump) would cost its size in memory
    // several times over, while the index keeps a few thousand words at most.
    static constexpr qint32 WordsReadLimitKB = 16 * 1024;

    // Raw reading as extract_text does it for kind 22.
    static QString readPlainText(const QString& fileName, qint32 limitKB);

    // CR, LF, tab and NUL become spaces, each pair of spaces becomes one in a
    // single left-to-right pass, and leading and trailing spaces go.
    static QString normalizeBlanks(QStringView text);

    // The word rules of get_Words applied to a text.
    static QStringList splitWords(QStringView text, int IgnoreWordsSmallerThan = 3,
                                  int IgnoreWordsLargerThan = 20);
};

} // namespace NX_TextExtractor
