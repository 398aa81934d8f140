// Measures the word index the way the scan feeds it: files appended with
// set_Files, each followed by set_Words with its words (300 per file drawn
// from a 5,000-word vocabulary, common words more often), on an SQLite
// catalogue in a temporary folder; inside one batch (where the keys of
// words seen before are kept) and in autocommit.
//
//     bench_words [files-in-batch] [files-autocommit]

#include "BenchCatalogues.h"
#include "catalogue/Main.h"
#include "foundation/BatchScope.h"
#include "foundation/Database.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>

#include <cmath>
#include <cstdio>

using namespace QuorvaneSDK;

namespace {

constexpr int kWordsPerFile = 300;
constexpr int kVocabulary = 5000;

QString vocabularyWord(int i) {
    QString w = QStringLiteral("w");
    for (int v = i, k = 0; k < 4; ++k, v /= 26)
        w += QChar(u'a' + v % 26);
    return w;
}

// Distinct words of one file, the small ranks more likely (about Zipf).
QStringList fileWords(QRandomGenerator& random) {
    QStringList words;
    QSet<int> seen;
    while (words.size() < kWordsPerFile) {
        const double u = random.generateDouble();
        const int rank = static_cast<int>(std::pow(kVocabulary, u)) - 1;
        if (!seen.contains(rank)) {
            seen.insert(rank);
            words.append(vocabularyWord(rank));
        }
    }
    return words;
}

struct Figures {
    double wordsPerSecond = 0;
    double statementsPerWord = 0;
};

Figures indexFiles(Main& main, qint32 media, int count, const QString& folder, bool batch) {
    Database& db = Database::current();
    QRandomGenerator random(42);
    QList<QStringList> texts;
    for (int i = 0; i < count; ++i)
        texts.append(fileWords(random));
    const qint64 statementsBefore = main.wordIndexStatements();
    QElapsedTimer timer;
    timer.start();
    std::unique_ptr<BatchScope> scope;
    if (batch)
        scope = std::make_unique<BatchScope>(db);
    for (int i = 0; i < count; ++i) {
        FileQuorvane f;
        f.Media.id = media;
        f.FolderName = folder;
        f.Name = QStringLiteral("doc-%1.txt").arg(i);
        f.Extension = QStringLiteral("txt");
        main.set_Files(f);
        main.set_Words(texts.at(i), main.get_LastIDFile());
    }
    if (scope && !scope->commit())
        std::fprintf(stderr, "commit failed\n");
    const double seconds = timer.nsecsElapsed() / 1e9;
    const double words = double(count) * kWordsPerFile;
    return {words / seconds, (main.wordIndexStatements() - statementsBefore) / words};
}

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir home;
    qputenv("QUORVANE_HOME", home.path().toUtf8());
    QCoreApplication app(argc, argv);
    const int inBatch = argc > 1 ? std::atoi(argv[1]) : 500;
    const int autocommit = argc > 2 ? std::atoi(argv[2]) : 5;

    Database db;
    if (!QuorvaneBench::openSqliteCatalogue(db, home.path()))
        return 1;
    Main main;
    const qint32 media = QuorvaneBench::addBenchMedium(main);

    const Figures batched = indexFiles(main, media, inBatch, QStringLiteral("/batch/"), true);
    std::printf("SQLite, one batch: %d files x %d words, %.0f words/s, %.2f statements/word\n",
                inBatch, kWordsPerFile, batched.wordsPerSecond, batched.statementsPerWord);
    const Figures single = indexFiles(main, media, autocommit, QStringLiteral("/auto/"), false);
    std::printf("SQLite, autocommit: %d files x %d words, %.0f words/s, %.2f statements/word\n",
                autocommit, kWordsPerFile, single.wordsPerSecond, single.statementsPerWord);
    db.closeConnection();
    return 0;
}
