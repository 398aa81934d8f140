// Runs one scan of a folder into an SQLite catalogue and exits; the tests
// start it as an unprivileged user.
//   scan_as_user CATALOGUE START [UPDATE_ID yes|no]
// The start folder is taken as the root of its volume. Problems the run
// reports go to stderr, one per line, prefixed with "problem: ".

#include "ScanEngine.h"

#include "catalogue/Main.h"
#include "foundation/Database.h"

#include <QCoreApplication>
#include <cstdio>

using namespace QuorvaneCataloguing;

namespace {
class CommandLineHost : public ScanHost {
public:
    bool answerYes = false;
    bool askYesNo(const QString&) override { return answerYes; }
    void showPopUp(const QString& text, int, QuorvaneSDK::MessageType) override {
        std::fprintf(stderr, "popup: %s\n", qPrintable(text));
    }
    void reportProblem(const QString& text) override {
        std::fprintf(stderr, "problem: %s\n", qPrintable(text));
    }
};
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3)
        return 2;
    QuorvaneSDK::Database db;
    db.set_DBPredefinito(QuorvaneSDK::SqlSyntax::Access2000);
    db.set_HostPath(args.at(1));
    QuorvaneSDK::Main main;
    CommandLineHost host;
    ScanEngine engine(main, host);
    QuorvaneSDK::SetUp settings;
    settings.ScanSubFolders = true;
    settings.ScanCompressedFiles = true;
    settings.ScanCompressedFilesMaxSize = 100;
    engine.setSettings(settings);
    const QString start = args.at(2);
    engine.setVolumeInfoSource([start](const QString&) {
        NX_DiskFileInfo::MediaInfo info;
        info.UnityType = QStringLiteral("Fixed");
        info.UnitySerialNumber = QStringLiteral("USER-0001");
        info.UnityLabel = QStringLiteral("USERDISK");
        info.DriveLetter = start;
        return info;
    });
    const bool update = args.size() >= 5;
    if (update)
        host.answerYes = args.at(4) == QLatin1String("yes");
    engine.setInfo(QString(), QString(), QString(), start, update, update ? args.at(3).toInt() : 0);
    engine.AddFiles();
    std::printf("%d\n", engine.media().id);
    return engine.media().id != 0 ? 0 : 1;
}
