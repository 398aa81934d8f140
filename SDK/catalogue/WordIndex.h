#pragma once
// The catalogue's word index: the words of a text file or text (through the
// text extractor) and their links to a catalogued file (WordsFileIndex) or a
// contained file (WordsFileContainedIndex). Words are one row each, without
// regard to letter case.
//
// Inside a batch the key of a word seen before is kept in memory, so a
// repeated word costs no lookup; the keys are dropped when a batch of that
// database rolls back (its new words are gone then). The rows written are
// the same with or without the kept keys.

#include "catalogue/HotStatements.h"
#include "foundation/Enums.h"

#include <QHash>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

namespace NX_TextExtractor {
class Extractor;
}

namespace QuorvaneSDK {

class WordIndex {
public:
    explicit WordIndex(std::function<NX_TextExtractor::Extractor&()> extractor);

    // The words of TextFile, or of TextString when TextFile is blank. With
    // AllowedOnlyFileTypes and a non-blank AllowedFileTypes, a file whose
    // name ends (without regard to case) with none of its comma-separated
    // parts gives no collection; the parts are taken as they stand.
    std::optional<QStringList> get_Words(const QString& TextFile, qint16 IgnoreWordsSmallerThan = 3,
                                         qint16 IgnoreWordsLargerThan = 20,
                                         const QString& TextString = QString(),
                                         bool AllowedOnlyFileTypes = false,
                                         const QString& AllowedFileTypes = QString());

    // Links the words, in order, to the owner IDFile of Target, at most
    // NoMoreThanWords of them (a negative limit becomes 1000, in the
    // caller's variable too). Nothing is written for an owner that does not
    // exist. A failed query throws CatalogueError; the words handled before
    // stay stored.
    void set_Words(const QStringList& Words, qint32 IDFile, Targets Target,
                   qint16& NoMoreThanWords);

    // Statements run by set_Words since this object was made (for tests
    // and measurements of the kept keys).
    qint64 statementCount() const { return m_statementCount; }

private:
    qint32 wordKey(const QString& word);
    qint32 lookUpWord(const QString& word);
    void linkWord(qint32 idWord, qint32 owner, Targets target);
    void forgetKeys();

    std::function<NX_TextExtractor::Extractor&()> m_extractor;
    HotStatements m_statements;
    DatabaseWatch m_watch;
    // Folded word -> IDWord; filled and used only inside a batch.
    std::shared_ptr<QHash<QString, qint32>> m_keys;
    qint64 m_statementCount = 0;
};

} // namespace QuorvaneSDK
