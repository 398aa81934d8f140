// Single-row inserts through execute_Sql, in autocommit and inside one
// batch, on SQLite and (when QUORVANE_TEST_PGHOST/PGPORT/PGUSER[/PGPASSWORD]
// name a server) on PostgreSQL, with a prepared statement for comparison.
//
//     bench_database [rows] [autocommit rows]   (defaults 100000, rows)
//
// Autocommit on SQLite waits for the disk at every commit; on a slow disk
// measure it with fewer rows (the rate is per statement).
//
// PostgreSQL runs in a scratch database created and dropped here.
#include "BenchCatalogues.h"
#include "foundation/BatchScope.h"
#include "foundation/Database.h"
#include "foundation/PreparedStatement.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

using namespace QuorvaneSDK;

namespace {

void report(const char* engine, const char* mode, int rows, qint64 ms, int failures) {
    const double perSecond = ms > 0 ? rows * 1000.0 / ms : 0;
    std::printf("%-10s %-34s %7d rows %8lld ms %10.0f statements/s%s\n", engine, mode, rows,
                static_cast<long long>(ms), perSecond, failures ? "  (FAILURES)" : "");
    std::fflush(stdout);
}

void run(Database& db, const char* engine, int rows, int autocommitRows) {
    db.execute_Sql("CREATE TABLE Bench (ID INTEGER, Name VARCHAR(100), Size DOUBLE PRECISION)",
                   "bench");
    auto insert = [&](int i) {
        return db.execute_Sql(
                     QStringLiteral(
                         "INSERT INTO Bench (ID, Name, Size) VALUES (%1, 'file %1.txt', %2)")
                         .arg(i)
                         .arg(Database::get_FormatoNumerico(i * 1.5, db.get_DBPredefinito())),
                     "bench.insert")
                   .Number != 0;
    };
    QElapsedTimer t;
    int failures = 0;
    t.start();
    for (int i = 0; i < autocommitRows; ++i)
        failures += insert(i);
    report(engine, "execute_Sql, autocommit", autocommitRows, t.elapsed(), failures);

    failures = 0;
    t.restart();
    {
        BatchScope batch(db);
        for (int i = 0; i < rows; ++i)
            failures += insert(i);
        failures += !batch.commit();
    }
    report(engine, "execute_Sql, one batch", rows, t.elapsed(), failures);

    failures = 0;
    t.restart();
    {
        PreparedStatement st =
            db.prepare("INSERT INTO Bench (ID, Name, Size) VALUES (?, ?, ?)", "bench.prepared");
        BatchScope batch(db);
        for (int i = 0; i < rows; ++i) {
            st.bind(0, i);
            st.bind(1, QStringLiteral("file %1.txt").arg(i));
            st.bind(2, i * 1.5);
            failures += st.exec().Number != 0;
        }
        failures += !batch.commit();
    }
    report(engine, "prepared statement, one batch", rows, t.elapsed(), failures);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int rows = argc > 1 ? std::max(1, atoi(argv[1])) : 100000;
    const int autocommitRows = argc > 2 ? std::max(1, atoi(argv[2])) : rows;
    QTemporaryDir home;
    qputenv("QUORVANE_HOME", home.path().toUtf8());
    return QuorvaneBench::forEachEngine(home.path(), [&](const char* engine, Database& db) {
        run(db, engine, rows, autocommitRows);
    });
}
