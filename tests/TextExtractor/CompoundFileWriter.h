#pragma once
// Writes small compound files (version 3, 512-byte sectors) and Word 97
// documents inside them, so that the reader can be fed pieces of every
// kind and damage made to measure.

#include <QByteArray>
#include <QList>
#include <QString>

namespace TextExtractorTest {

struct CfbStream {
    QString name;
    QByteArray data;
};

// All streams sit directly below the root; those under 4096 bytes go to the
// mini stream, as the container requires.
QByteArray buildCompoundFile(const QList<CfbStream>& streams);

struct WordPiece {
    QByteArray ansi; // used when compressed: one Windows-1252 byte per character
    QString unicode; // used otherwise: UTF-16
    bool compressed = true;
};

struct WordDocumentLayout {
    QList<WordPiece> pieces;
    bool tableOne = true; // table stream named 1Table, else 0Table
    bool encrypted = false;
    bool propertyRunFirst = false; // a property run before the piece table
    int extraCcp = 0;              // main text length beyond (or short of) the pieces' total
    int padStreamTo = 0;           // pads the WordDocument stream, e.g. past the mini stream limit
};

QByteArray buildWordDocumentStream(const WordDocumentLayout& layout);
QByteArray buildTableStream(const WordDocumentLayout& layout);
QByteArray buildWordDocument(const WordDocumentLayout& layout);

// Positions inside a version 3 compound file, for tests that damage one.
struct CfbLayout {
    explicit CfbLayout(const QByteArray& file);
    // Byte offset of the FAT entry of a sector.
    qint64 fatEntryOffset(quint32 sector) const;
    // Byte offset of the directory entry with that name, or -1.
    qint64 entryOffset(const QString& name) const;
    quint32 startSector(const QString& name) const;

    const QByteArray& file;
};

} // namespace TextExtractorTest
