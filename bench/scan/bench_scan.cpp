// Files per second of a scan run over a generated tree, with content
// analysis off (no file read) and on (archives, word index and text
// previews of every file, MP3 tags), on SQLite
// and (when QUORVANE_TEST_PGHOST/PGPORT/PGUSER[/PGPASSWORD] name a server)
// on PostgreSQL.
//
//     bench_scan [files]   (default 100000; 100 folders of small files)
#include "ScanEngine.h"

#include "BenchCatalogues.h"
#include "catalogue/Main.h"
#include "foundation/Database.h"
#include "foundation/SchemaUpgrade.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

using namespace QuorvaneSDK;
using namespace QuorvaneCataloguing;

namespace {

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

void run(const char* engine, const QString& root, bool analysis) {
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
    return QuorvaneBench::forEachEngine(home.path(), [&](const char* engine, Database&) {
        run(engine, root, false);
        run(engine, root, true);
    });
}
