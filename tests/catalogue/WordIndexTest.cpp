#include "CatalogueFixture.h"

#include "foundation/BatchScope.h"

#include <QFile>
#include <QTemporaryDir>

using namespace QuorvaneSDK;
using namespace QuorvaneTest;

namespace {

// n distinct words of letters only: "waaa", "waab", ...
QStringList manyWords(int n) {
    QStringList words;
    for (int i = 0; i < n; ++i) {
        QString w = QStringLiteral("w");
        for (int v = i, k = 0; k < 3; ++k, v /= 26)
            w += QChar(u'a' + v % 26);
        words.append(w);
    }
    return words;
}

class WordIndexTest : public CatalogueTest {
protected:
    void SetUp() override {
        CatalogueTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        media = addMedia(QStringLiteral("Docs"));
        file = addFile(media, QStringLiteral("/d/"), QStringLiteral("a.txt"));
    }

    qint64 linksOf(qint32 id, Targets target = Targets::File) {
        return target == Targets::File
                   ? scalar(QStringLiteral("select count(*) from WordsFileIndex where IDFile = %1")
                                .arg(id))
                   : scalar(QStringLiteral("select count(*) from WordsFileContainedIndex where "
                                           "IDFileContained = %1")
                                .arg(id));
    }
    // The words linked to a file, in key order of their links.
    QStringList wordsOf(qint32 id) {
        const std::optional<Recordset> rs = db().get_Recordset(
            QStringLiteral("select Word from Words w, WordsFileIndex i where w.IDWord = i.IDWord "
                           "and i.IDFile = %1 order by i.IDIndex")
                .arg(id),
            QStringLiteral("test"));
        QStringList words;
        for (qsizetype r = 0; rs && r < rs->RecordCount(); ++r)
            words.append(rs->valueAt(r, QStringLiteral("Word")).toString());
        return words;
    }
    qint64 wordRows() { return scalar(QStringLiteral("select count(*) from Words")); }

    qint32 media = 0;
    qint32 file = 0;
};

TEST_P(WordIndexTest, NothingForAnEmptyCollectionOrAMissingOwner) {
    main().set_Words(QStringList(), file);
    main().set_Words(QStringList{QStringLiteral("alpha")}, 999999);
    main().set_Words(QStringList{QStringLiteral("alpha")}, 999999, Targets::FileContained);
    EXPECT_EQ(wordRows(), 0);
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from WordsFileIndex")), 0);
}

TEST_P(WordIndexTest, LimitOfWordsPerOwner) {
    const QStringList words = manyWords(1500);
    const struct {
        qint16 limit;
        qint64 linked;
        qint16 after;
    } cases[] = {{0, 0, 0}, {-1, 1000, 1000}, {1000, 1000, 1000}, {3, 3, 3}};
    // One batch keeps the thousands of statements quick on both engines.
    BatchScope batch(db());
    ASSERT_TRUE(batch.isActive());
    for (const auto& c : cases) {
        const qint32 owner =
            addFile(media, QStringLiteral("/d/"), QStringLiteral("f%1").arg(c.limit));
        qint16 limit = c.limit;
        main().set_Words(words, owner, Targets::File, limit);
        EXPECT_EQ(linksOf(owner), c.linked) << c.limit;
        EXPECT_EQ(limit, c.after) << c.limit;
        EXPECT_EQ(wordsOf(owner), words.mid(0, c.linked)) << c.limit;
    }
    // The form without a limit takes 1000.
    main().set_Words(words, file);
    ASSERT_TRUE(batch.commit());
    EXPECT_EQ(linksOf(file), 1000);
    EXPECT_EQ(wordRows(), 1000);
}

TEST_P(WordIndexTest, EmptyWordsAreSkippedWithoutCountingRepeatsCountEachTime) {
    const QStringList words{
        QStringLiteral(" \t"),  QStringLiteral(" al\tpha\r\n"), QString(),
        QStringLiteral("beta"), QStringLiteral("alpha"),        QStringLiteral("gamma")};
    qint16 limit = 3;
    main().set_Words(words, file, Targets::File, limit);
    // alpha, beta, alpha: three handled, two links.
    EXPECT_EQ(wordsOf(file), (QStringList{QStringLiteral("alpha"), QStringLiteral("beta")}));
    // Indexing the file again adds no link.
    main().set_Words(words, file);
    EXPECT_EQ(linksOf(file), 3);
}

TEST_P(WordIndexTest, ApostrophesAndLetterCase) {
    const qint32 other = addFile(media, QStringLiteral("/d/"), QStringLiteral("b.txt"));
    main().set_Words(QStringList{QStringLiteral("O'Brien"), QStringLiteral("Word")}, file);
    main().set_Words(
        QStringList{QStringLiteral("o'brien"), QStringLiteral("WORD"), QStringLiteral("it''s")},
        other);
    EXPECT_EQ(wordRows(), 3);
    EXPECT_EQ(wordsOf(file), (QStringList{QStringLiteral("O'Brien"), QStringLiteral("Word")}));
    // The row keeps the spelling it was first stored with.
    EXPECT_EQ(wordsOf(other), (QStringList{QStringLiteral("O'Brien"), QStringLiteral("Word"),
                                           QStringLiteral("it''s")}));
}

TEST_P(WordIndexTest, ContainedFilesHaveTheirOwnIndex) {
    const qint32 entry = addEntry(file, QStringLiteral("inner.txt"));
    main().set_Words(QStringList{QStringLiteral("alpha"), QStringLiteral("beta")}, entry,
                     Targets::FileContained);
    EXPECT_EQ(linksOf(entry, Targets::FileContained), 2);
    EXPECT_EQ(linksOf(file), 0);
}

TEST_P(WordIndexTest, KeptKeysInABatchGiveTheSameRowsWithFewerStatements) {
    const QStringList words = manyWords(50);
    const qint32 plainA = addFile(media, QStringLiteral("/d/"), QStringLiteral("p1"));
    const qint32 plainB = addFile(media, QStringLiteral("/d/"), QStringLiteral("p2"));
    main().set_Words(words, plainA);
    qint64 before = main().wordIndexStatements();
    main().set_Words(words, plainB);
    const qint64 plainCost = main().wordIndexStatements() - before;

    const qint32 batchA = addFile(media, QStringLiteral("/d/"), QStringLiteral("b1"));
    const qint32 batchB = addFile(media, QStringLiteral("/d/"), QStringLiteral("b2"));
    {
        BatchScope batch(db());
        ASSERT_TRUE(batch.isActive());
        main().set_Words(words, batchA);
        before = main().wordIndexStatements();
        main().set_Words(words, batchB);
        ASSERT_TRUE(batch.commit());
    }
    const qint64 batchCost = main().wordIndexStatements() - before;
    EXPECT_EQ(wordsOf(batchA), words);
    EXPECT_EQ(wordsOf(batchB), words);
    EXPECT_EQ(wordsOf(plainB), words);
    EXPECT_EQ(wordRows(), 50);
    // Without the word lookups: owner check plus two statements per word.
    EXPECT_EQ(plainCost, 1 + 3 * 50);
    EXPECT_EQ(batchCost, 1 + 2 * 50);
}

TEST_P(WordIndexTest, KeptKeysAreDroppedWhenTheBatchRollsBack) {
    const QStringList words{QStringLiteral("alpha"), QStringLiteral("beta")};
    {
        BatchScope batch(db());
        ASSERT_TRUE(batch.isActive());
        main().set_Words(words, file); // new words, kept
    }                                  // rolled back: the words are gone
    EXPECT_EQ(wordRows(), 0);
    const qint32 other = addFile(media, QStringLiteral("/d/"), QStringLiteral("b.txt"));
    {
        BatchScope batch(db());
        ASSERT_TRUE(batch.isActive());
        main().set_Words(words, other);
        ASSERT_TRUE(batch.commit());
    }
    EXPECT_EQ(wordRows(), 2);
    EXPECT_EQ(wordsOf(other), words);
}

TEST_P(WordIndexTest, FailedQueryReachesTheCallerAndKeepsEarlierWork) {
    main().set_Words(QStringList{QStringLiteral("alpha")}, file);
    dropTable(QStringLiteral("WordsFileIndex"));
    EXPECT_THROW(main().set_Words(QStringList{QStringLiteral("beta")}, file), CatalogueError);
    EXPECT_EQ(wordRows(), 2); // alpha, and beta stored before the link failed
}

TEST_P(WordIndexTest, WordsOfAFileOrTextWithTheTypeFilter) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    auto write = [&folder](const QString& name) {
        QFile f(folder.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("alpha beta gamma");
        return f.fileName();
    };
    const QString report = write(QStringLiteral("report.TXT"));
    const QString letter = write(QStringLiteral("letter.doc"));
    const QStringList all{QStringLiteral("alpha"), QStringLiteral("beta"), QStringLiteral("gamma")};
    const struct {
        QString file;
        bool only;
        QString types;
        std::optional<QStringList> words;
    } cases[] = {
        {report, true, QStringLiteral("txt,doc"), all},
        {letter, true, QStringLiteral("txt, doc"), std::nullopt},
        {report, true, QStringLiteral("   "), all},
        {report, false, QStringLiteral("doc"), all},
        {report, true, QStringLiteral("doc"), std::nullopt},
    };
    for (const auto& c : cases) {
        const std::optional<QStringList> got =
            main().get_Words(c.file, 3, 20, QString(), c.only, c.types);
        if (!c.words) {
            EXPECT_FALSE(got.has_value()) << c.types.toStdString();
            continue;
        }
        ASSERT_TRUE(got.has_value()) << c.types.toStdString();
        EXPECT_EQ(*got, *c.words) << c.types.toStdString();
    }
    // A blank file name takes the text and ignores the filter.
    const std::optional<QStringList> fromText = main().get_Words(
        QStringLiteral("  "), 3, 20, QStringLiteral("delta epsilon"), true, QStringLiteral("txt"));
    ASSERT_TRUE(fromText.has_value());
    EXPECT_EQ(*fromText, (QStringList{QStringLiteral("delta"), QStringLiteral("epsilon")}));
}

QUORVANE_ENGINE_TEST_SUITE(WordIndexTest);

} // namespace
