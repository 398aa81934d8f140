// Measures appending files the way the scan does: set_Files, then
// get_LastIDFile for the key the dependent rows use, on an SQLite catalogue
// in a temporary folder; inside one batch and in autocommit.
//
//     bench_catalogue [files-in-batch] [files-autocommit]

#include "BenchCatalogues.h"
#include "catalogue/Main.h"
#include "foundation/BatchScope.h"
#include "foundation/Database.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>

using namespace QuorvaneSDK;

namespace {

double appendFiles(Main& main, qint32 media, int count, const QString& folder, bool batch) {
    Database& db = Database::current();
    QElapsedTimer timer;
    timer.start();
    std::unique_ptr<BatchScope> scope;
    if (batch)
        scope = std::make_unique<BatchScope>(db);
    qint64 keys = 0;
    for (int i = 0; i < count; ++i) {
        FileQuorvane f;
        f.Media.id = media;
        f.FolderName = folder;
        f.Name = QStringLiteral("file-%1.txt").arg(i);
        f.Extension = QStringLiteral("txt");
        f.Size = 1000 + i;
        f.DateCreated = f.DateLastAccessed = f.DateModified = Date::fromParts(2020, 1, 2, 3, 4, 5);
        f.Properties = QStringLiteral("A");
        f.Description = QStringLiteral("Text document");
        main.set_Files(f);
        keys += main.get_LastIDFile() > 0 ? 1 : 0;
    }
    if (scope && !scope->commit())
        std::fprintf(stderr, "commit failed\n");
    const double seconds = timer.nsecsElapsed() / 1e9;
    if (keys != count)
        std::fprintf(stderr, "only %lld of %d keys\n", static_cast<long long>(keys), count);
    return count / seconds;
}

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir home;
    qputenv("QUORVANE_HOME", home.path().toUtf8());
    QCoreApplication app(argc, argv);
    const int inBatch = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int autocommit = argc > 2 ? std::atoi(argv[2]) : 2000;

    Database db;
    if (!QuorvaneBench::openSqliteCatalogue(db, home.path()))
        return 1;
    Main main;
    const qint32 media = QuorvaneBench::addBenchMedium(main);

    const double batched = appendFiles(main, media, inBatch, QStringLiteral("/batch/"), true);
    std::printf("SQLite, one batch: %d files, %.0f files/s (set_Files + get_LastIDFile)\n", inBatch,
                batched);
    const double single = appendFiles(main, media, autocommit, QStringLiteral("/auto/"), false);
    std::printf("SQLite, autocommit: %d files, %.0f files/s\n", autocommit, single);
    db.closeConnection();
    return 0;
}
