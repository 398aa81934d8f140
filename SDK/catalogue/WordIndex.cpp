#include "catalogue/WordIndex.h"

#include "catalogue/CatalogueError.h"
#include "catalogue/CatalogueSql.h"
#include "foundation/Errors.h"
#include "foundation/Helpers.h"

#include <NX_TextExtractor/Extractor.h>

#include <QSet>

namespace QuorvaneSDK {

using namespace CatalogueSql;

namespace {

const QString kRoutine = QStringLiteral("QuorvaneSDK.set_Words");

// Every statement of the word index. Words are compared through lower() on
// both sides, the expression of the unique index, so "Word" and "word"
// share a row on both engines.
namespace Sql {

enum Slot { FindWord, InsertWord, FindLink, InsertLink, FindContainedLink, InsertContainedLink };

const QString findWord = QStringLiteral("select IDWord from Words where lower(Word) = lower(?)");
const QString insertWord = QStringLiteral("INSERT INTO Words ( Word ) VALUES (?)");

QString ownerTable(Targets target) {
    return target == Targets::File ? QStringLiteral("Files") : QStringLiteral("FilesContained");
}
QString key(Targets target) {
    return target == Targets::File ? QStringLiteral("IDFile") : QStringLiteral("IDFileContained");
}
QString index(Targets target) {
    return target == Targets::File ? QStringLiteral("WordsFileIndex")
                                   : QStringLiteral("WordsFileContainedIndex");
}
QString owner(Targets target, qint32 id) {
    return QStringLiteral("select ") + key(target) + QStringLiteral(" from ") + ownerTable(target) +
           QStringLiteral(" where ") + key(target) + QStringLiteral(" = ") + QString::number(id);
}
QString findLink(Targets target) {
    return QStringLiteral("select IDIndex from ") + index(target) +
           QStringLiteral(" where IDWord = ? and ") + key(target) + QStringLiteral(" = ?");
}
QString insertLink(Targets target) {
    return QStringLiteral("INSERT INTO ") + index(target) + QStringLiteral(" ( IDWord , ") +
           key(target) + QStringLiteral(" ) VALUES (? , ?)");
}

} // namespace Sql

// The kept keys must never join words the engine tells apart: both engines
// fold at least the ASCII letters in lower(), so only those are folded here.
QString foldedWord(const QString& word) {
    QString folded = word;
    for (QChar& c : folded)
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = QChar(c.unicode() + 32);
    return folded;
}

Recordset mustQuery(PreparedStatement& statement) {
    std::optional<Recordset> rs = statement.query();
    if (!rs)
        throw CatalogueError(Errors::shared().get_LastError(), kRoutine);
    return std::move(*rs);
}

} // namespace

WordIndex::WordIndex(std::function<NX_TextExtractor::Extractor&()> extractor)
    : m_extractor(std::move(extractor)), m_keys(std::make_shared<QHash<QString, qint32>>()) {
}

std::optional<QStringList>
WordIndex::get_Words(const QString& TextFile, qint16 IgnoreWordsSmallerThan,
                     qint16 IgnoreWordsLargerThan, const QString& TextString,
                     bool AllowedOnlyFileTypes, const QString& AllowedFileTypes) {
    NX_TextExtractor::Extractor& extractor = m_extractor();
    if (TextFile.trimmed().isEmpty())
        return extractor.get_Words(QString(), IgnoreWordsSmallerThan, IgnoreWordsLargerThan,
                                   TextString);
    if (AllowedOnlyFileTypes && !AllowedFileTypes.trimmed().isEmpty()) {
        bool allowed = false;
        for (const QString& part : AllowedFileTypes.split(QLatin1Char(',')))
            if (TextFile.endsWith(part, Qt::CaseInsensitive))
                allowed = true;
        if (!allowed)
            return std::nullopt;
    }
    return extractor.get_Words(TextFile, IgnoreWordsSmallerThan, IgnoreWordsLargerThan, TextString);
}

void WordIndex::forgetKeys() {
    m_keys->clear();
}

qint32 WordIndex::lookUpWord(const QString& word) {
    PreparedStatement& find = m_statements.statement(db(), Sql::FindWord, Sql::findWord, kRoutine);
    find.bind(0, word);
    ++m_statementCount;
    const Recordset rs = mustQuery(find);
    return rs.RecordCount() > 0 ? rs.toLong(QStringLiteral("IDWord")) : 0;
}

qint32 WordIndex::wordKey(const QString& word) {
    Database& database = db();
    if (!m_watch.isWatching(database)) {
        m_keys->clear();
        std::weak_ptr<QHash<QString, qint32>> keys = m_keys;
        m_watch.watch(database, [keys] {
            if (auto alive = keys.lock())
                alive->clear();
        });
    }
    const bool keep = database.inBatch();
    if (!keep)
        m_keys->clear(); // kept only while batches follow each other
    const QString folded = foldedWord(word);
    if (keep) {
        const auto kept = m_keys->constFind(folded);
        if (kept != m_keys->cend())
            return *kept;
    }
    qint32 id = lookUpWord(word);
    if (id == 0) {
        PreparedStatement& insert =
            m_statements.statement(database, Sql::InsertWord, Sql::insertWord, kRoutine);
        insert.bind(0, word);
        ++m_statementCount;
        insert.exec(); // reported when it fails; the lookup below tells
        id = lookUpWord(word);
        if (id == 0)
            throw CatalogueError(Errors::shared().get_LastError(), kRoutine);
    }
    if (keep)
        m_keys->insert(folded, id);
    return id;
}

void WordIndex::set_Words(const QStringList& Words, qint32 IDFile, Targets Target,
                          qint16& NoMoreThanWords) {
    if (Words.isEmpty())
        return;
    if (NoMoreThanWords < 0)
        NoMoreThanWords = 1000;
    ++m_statementCount;
    if (query(Sql::owner(Target, IDFile), kRoutine).RecordCount() == 0)
        return;
    QSet<qint32> linked; // words of this call already linked to the owner
    int handled = 0;
    for (const QString& item : Words) {
        const QString word = CleanSqlText(item).trimmed();
        if (word.isEmpty())
            continue;
        if (handled >= NoMoreThanWords)
            break;
        const qint32 idWord = wordKey(word);
        if (!linked.contains(idWord))
            linkWord(idWord, IDFile, Target);
        linked.insert(idWord);
        ++handled;
    }
}

void WordIndex::linkWord(qint32 idWord, qint32 owner, Targets target) {
    Database& database = db();
    const bool file = target == Targets::File;
    PreparedStatement& find = m_statements.statement(
        database, file ? Sql::FindLink : Sql::FindContainedLink, Sql::findLink(target), kRoutine);
    find.bind(0, idWord);
    find.bind(1, owner);
    ++m_statementCount;
    if (mustQuery(find).RecordCount() > 0)
        return;
    PreparedStatement& insert =
        m_statements.statement(database, file ? Sql::InsertLink : Sql::InsertContainedLink,
                               Sql::insertLink(target), kRoutine);
    insert.bind(0, idWord);
    insert.bind(1, owner);
    ++m_statementCount;
    insert.exec(); // a failure is reported by the database layer
}

} // namespace QuorvaneSDK
