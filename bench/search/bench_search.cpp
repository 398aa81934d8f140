// Name searches over synthetic SQLite catalogues (fixed seed): median time
// of rare and common substrings with the trigram index and by plain scan,
// the cost of keeping the index (bulk refresh after the batch against a
// per-row trigger), and plocate over the same names for comparison.
//
//     bench_search [file counts...]      (default 100000)

#include "catalogue/Main.h"
#include "foundation/BatchScope.h"
#include "foundation/Database.h"
#include "foundation/SchemaUpgrade.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace QuorvaneSDK;

namespace {

const char* const kSyllables[] = {"ka", "lo", "mi", "ne", "ru", "sa", "ti", "vo", "ze", "pa",
                                  "qu", "do", "fe", "gi", "ho", "ju", "be", "co", "wy", "xo"};
const char* const kExtensions[] = {".jpg", ".txt", ".mp3", ".pdf", ".doc", ".png", ".zip", ".c"};

// A fixed sequence: the same names on every run and machine.
struct Names {
    quint64 state = 20261211;
    quint32 next() {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<quint32>(state >> 33);
    }
    QString word(int syllables) {
        QString w;
        for (int i = 0; i < syllables; ++i)
            w += QLatin1String(kSyllables[next() % 20]);
        return w;
    }
    QString name() {
        return word(2 + next() % 3) + QLatin1Char('-') + word(2 + next() % 2) + QLatin1Char('_') +
               QString::number(next() % 100000) + QLatin1String(kExtensions[next() % 8]);
    }
    QString folder() { return QStringLiteral("/d%1/s%2/").arg(next() % 200).arg(next() % 50); }
};

double seconds(const QElapsedTimer& t) {
    return t.nsecsElapsed() / 1e9;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// Appends `count` files in one batch; returns files/s. `names` gets the paths.
double append(Main& main, qint32 media, int count, Names& gen, QStringList* paths) {
    QElapsedTimer timer;
    timer.start();
    BatchScope batch(Database::current());
    for (int i = 0; i < count; ++i) {
        FileQuorvane f;
        f.Media.id = media;
        f.FolderName = gen.folder();
        f.Name = gen.name();
        f.Extension = f.Name.mid(f.Name.lastIndexOf(QLatin1Char('.')) + 1);
        f.Size = 1000 + i;
        f.DateCreated = f.DateLastAccessed = f.DateModified = Date::fromParts(2020, 1, 2, 3, 4, 5);
        f.Properties = QStringLiteral("A");
        f.Description = QStringLiteral("Document");
        main.set_Files(f);
        if (paths)
            paths->append(f.FolderName + f.Name);
    }
    batch.commit();
    return count / seconds(timer);
}

std::unique_ptr<Database> openCatalogue(const QString& path) {
    if (!Database::createCatalogueFile(path))
        return nullptr;
    auto db = std::make_unique<Database>();
    db->set_DBPredefinito(SqlSyntax::Access2000);
    db->set_HostPath(path);
    if (!SchemaUpgrade(*db).run().ok())
        return nullptr;
    return db;
}

qint32 addMedia(Main& main) {
    Media m;
    m.Label = QStringLiteral("bench");
    m.SerialNumber = QStringLiteral("BENCH");
    m.EAN13 = main.get_EAN13(Item::Media);
    main.set_Media(m);
    return main.get_Media(m.SerialNumber, QString(), 0, false).id;
}

struct Timed {
    double ms = 0;
    qsizetype rows = 0;
};

Timed timeSearch(Main& main, const QString& pattern, bool index, int runs) {
    main.setSearchIndexEnabled(index);
    std::vector<double> times;
    qsizetype rows = 0;
    for (int i = 0; i < runs; ++i) {
        SearchCriteria c;
        c.FileName = pattern;
        c.Date.IgnoreThis = true;
        c.Size.IgnoreThis = true;
        c.MaxRows = 1000;
        QElapsedTimer t;
        t.start();
        rows = main.search(c).size();
        times.push_back(seconds(t) * 1000);
    }
    return {median(times), rows};
}

Timed timePlocate(const QString& db, const QString& pattern, int runs) {
    std::vector<double> times;
    qsizetype rows = 0;
    for (int i = 0; i < runs; ++i) {
        QProcess p;
        QElapsedTimer t;
        t.start();
        p.start(QStringLiteral("plocate"), {QStringLiteral("-d"), db, QStringLiteral("-i"),
                                            QStringLiteral("-l"), QStringLiteral("1000"), pattern});
        p.waitForFinished(-1);
        times.push_back(seconds(t) * 1000);
        rows = p.readAllStandardOutput().count('\n');
    }
    return {median(times), rows};
}

// Rows per second of a batch with a per-row trigger into the index, against
// the same batch without it followed by one refresh.
void measureUpkeep(const QString& folder, int count) {
    for (int mode = 0; mode < 2; ++mode) {
        const std::unique_ptr<Database> db =
            openCatalogue(folder + QStringLiteral("/upkeep%1.sqlite").arg(mode));
        Main main;
        const qint32 media = addMedia(main);
        if (mode == 1)
            db->execute_Sql(QStringLiteral("CREATE TRIGGER bench_index AFTER INSERT ON Files BEGIN "
                                           "INSERT INTO FilesNameIndex (rowid, FileName) VALUES "
                                           "(new.IDFile, new.FileName); END"),
                            QStringLiteral("bench"));
        Names gen;
        QElapsedTimer total;
        total.start();
        const double rate = append(main, media, count, gen, nullptr);
        QElapsedTimer refresh;
        refresh.start();
        if (mode == 0)
            main.refresh_SearchIndex();
        std::printf("  %-22s %7d files: append %8.0f files/s, index step %7.1f ms, total %7.0f ms"
                    " (%.1f us/file)\n",
                    mode == 0 ? "refresh after batch" : "per-row trigger", count, rate,
                    seconds(refresh) * 1000, seconds(total) * 1000, seconds(total) * 1e6 / count);
    }
}

void benchCatalogue(const QString& folder, int count) {
    const std::unique_ptr<Database> db =
        openCatalogue(folder + QStringLiteral("/bench%1.sqlite").arg(count));
    if (!db) {
        std::fprintf(stderr, "cannot create the catalogue\n");
        return;
    }
    Main main;
    const qint32 media = addMedia(main);
    Names gen;
    QStringList paths;
    const double rate = append(main, media, count, gen, &paths);
    QElapsedTimer t;
    t.start();
    main.refresh_SearchIndex();
    const double refreshMs = seconds(t) * 1000;

    const QString list = folder + QStringLiteral("/names%1.txt").arg(count);
    const QString locateDb = folder + QStringLiteral("/names%1.plocate").arg(count);
    {
        QFile f(list);
        f.open(QIODevice::WriteOnly);
        f.write(paths.join(QLatin1Char('\n')).toUtf8() + '\n');
    }
    const bool plocate = !QStandardPaths::findExecutable(QStringLiteral("plocate")).isEmpty() &&
                         QProcess::execute(QStringLiteral("plocate-build"),
                                           {QStringLiteral("-p"), list, locateDb}) == 0;

    std::printf("\n%d files: appended at %.0f files/s; index refresh %.0f ms\n", count, rate,
                refreshMs);
    std::printf("  %-16s %-7s %9s %9s %9s %7s\n", "pattern", "kind", "index ms", "scan ms",
                "plocate", "rows");
    // Rare: a number part and a long syllable run; common: short or frequent parts.
    const struct {
        const char* pattern;
        const char* kind;
    } patterns[] = {{"_4242", "rare"},    {"kalomine", "rare"}, {"zexoqu-", "rare"},
                    {"wybeco_9", "rare"}, {"ka", "common"},     {"mine", "common"},
                    {".jpg", "common"},   {"lo-ru", "common"}};
    std::vector<double> rareIndexed;
    for (const auto& p : patterns) {
        const QString pattern = QString::fromLatin1(p.pattern);
        const Timed indexed = timeSearch(main, pattern, true, 7);
        const Timed scan = timeSearch(main, pattern, false, 3);
        const Timed loc = plocate ? timePlocate(locateDb, pattern, 5) : Timed{};
        if (indexed.rows != scan.rows)
            std::printf("  MISMATCH: %s gives %lld rows with the index, %lld without\n", p.pattern,
                        static_cast<long long>(indexed.rows), static_cast<long long>(scan.rows));
        if (QLatin1String(p.kind) == QLatin1String("rare"))
            rareIndexed.push_back(indexed.ms);
        std::printf("  %-16s %-7s %9.1f %9.1f %9.1f %7lld\n", p.pattern, p.kind, indexed.ms,
                    scan.ms, loc.ms, static_cast<long long>(indexed.rows));
    }
    std::printf("  median of the rare patterns with the index: %.1f ms\n", median(rareIndexed));
}

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir home;
    qputenv("QUORVANE_HOME", home.path().toUtf8());
    QCoreApplication app(argc, argv);
    std::vector<int> counts;
    for (int i = 1; i < argc; ++i)
        counts.push_back(std::atoi(argv[i]));
    if (counts.empty())
        counts.push_back(100000);
    std::printf("Name searches, SQLite, at most 1000 rows per search; median of runs\n");
    std::printf("Keeping the index while appending:\n");
    measureUpkeep(home.path(), std::min(counts.front(), 200000));
    for (int count : counts)
        benchCatalogue(home.path(), count);
    return 0;
}
