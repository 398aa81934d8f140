// Files per second of a scan run over a generated tree, with content
// analysis off (no file read) and on (archives, word index and text
// previews of every file, MP3 tags), on SQLite
// and (when QUORVANE_TEST_PGHOST/PGPORT/PGUSER[/PGPASSWORD] name a server)
// on PostgreSQL.
//
//     bench_scan [files]   (default 100000; 100 folders of small files)
#include "ScanEngine.h"

#include "catalogue/Main.h"
#include "foundation/Database.h"
#include "foundation/SchemaUpgrade.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUuid>
#include <cstdio>

using namespace QuorvaneSDK;
using namespace QuorvaneCataloguing;

namespace {

struct Server {
    QString host, user, password;
    int port = 0;
};

bool admin(const Server& s, const QString& sql) {
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QPSQL", "bench-admin");
        db.setHostName(s.host);
        db.setPort(s.port);
        db.setUserName(s.user);
        db.setPassword(s.password);
        db.setDatabaseName("postgres");
        if (db.open()) {
            QSqlQuery q(db);
            ok = q.exec(sql);
            db.close();
        }
    }
    QSqlDatabase::removeDatabase("bench-admin");
    return ok;
}

class QuietHost : public ScanHost {
public:
    bool askYesNo(const QString&) override { return false; }
    void showPopUp(const QString&, int, MessageType) override {}
};

void makeTree(const QString& root, int files) {
    const int folders = 100;
    for (int d = 0; d < folders; ++d) {
        const QString folder = QStringLiteral("%1/f%2").arg(root).arg(d);
        QDir().mkpath(folder);
        for (int i = d; i < files; i += folders) {
            QFile f(QStringLiteral("%1/file%2.txt").arg(folder).arg(i));
            if (f.open(QIODevice::WriteOnly))
                f.write("some words in a file\n");
        }
    }
}

void run(const char* engine, const QString& root, int files, bool analysis) {
    if (!SchemaUpgrade(Database::current()).run().ok()) {
        std::printf("%s: schema failed\n", engine);
        return;
    }
    Main main;
    QuietHost host;
    ScanEngine scan(main, host);
    SetUp settings;
    settings.ScanSubFolders = true;
    settings.ScanCompressedFiles = analysis;
    settings.ScanCompressedFilesMaxSize = 100;
    settings.CreateWordIndex = analysis;
    settings.CreateWordMaxWords = 100;
    settings.ImportPreviewText = analysis;
    settings.ImportPreviewMaxSize = 4;
    settings.ImportPreviewImage = analysis;
    scan.setSettings(settings);
    if (!analysis)
        scan.setContentStores(nullptr); // no file is read
    scan.setVolumeInfoSource([root, analysis](const QString&) {
        NX_DiskFileInfo::MediaInfo info;
        info.UnityType = QStringLiteral("Fixed");
        info.UnitySerialNumber =
            analysis ? QStringLiteral("BENCH-ON") : QStringLiteral("BENCH-OFF");
        info.DriveLetter = root;
        return info;
    });
    scan.setInfo(QStringLiteral("bench"), QString(), QString(), root);
    QElapsedTimer timer;
    timer.start();
    scan.AddFiles();
    const qint64 ms = timer.elapsed();
    std::printf("%-10s analysis %-3s %7d files %8lld ms %10.0f files/s (%d commits)\n", engine,
                analysis ? "on" : "off", scan.filesScanned(), static_cast<long long>(ms),
                ms > 0 ? scan.filesScanned() * 1000.0 / ms : 0.0, scan.batchCommits());
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int files = argc > 1 ? std::max(1, atoi(argv[1])) : 100000;
    QTemporaryDir home;
    qputenv("QUORVANE_HOME", home.path().toUtf8());
    const QString root = home.path() + "/tree";
    makeTree(root, files);
    {
        const QString path = home.path() + "/bench.sqlite";
        Database::createCatalogueFile(path);
        Database db;
        db.set_DBPredefinito(SqlSyntax::Access2000);
        db.set_HostPath(path);
        run("SQLite", root, files, false);
        run("SQLite", root, files, true);
    }
    Server s;
    s.host = qEnvironmentVariable("QUORVANE_TEST_PGHOST");
    s.port = qEnvironmentVariable("QUORVANE_TEST_PGPORT").toInt();
    s.user = qEnvironmentVariable("QUORVANE_TEST_PGUSER", "postgres");
    s.password = qEnvironmentVariable("QUORVANE_TEST_PGPASSWORD");
    if (s.host.isEmpty() || s.port == 0) {
        std::printf("PostgreSQL: no server named in QUORVANE_TEST_PGHOST/PGPORT, skipped\n");
        return 0;
    }
    const QString name = "qv_bench_" + QUuid::createUuid().toString(QUuid::Id128).left(10);
    if (!admin(s, "CREATE DATABASE " + name)) {
        std::printf("PostgreSQL: cannot create a scratch database\n");
        return 1;
    }
    {
        Database db;
        db.set_DBPredefinito(SqlSyntax::SqlServer);
        db.set_HostPath(s.host + ":" + QString::number(s.port));
        db.set_DBName(name);
        db.set_DBUserName(s.user);
        db.set_DBPassword(s.password);
        run("PostgreSQL", root, files, false);
        run("PostgreSQL", root, files, true);
    }
    admin(s, "DROP DATABASE IF EXISTS " + name + " WITH (FORCE)");
    return 0;
}
