// quorvane-cli: the catalogue from a terminal and from scripts.

#include "CatalogueSession.h"
#include "CliErrors.h"
#include "CliPresenter.h"
#include "Commands.h"
#include "Output.h"

#include "catalogue/CatalogueError.h"

#include <QCoreApplication>

using namespace QuorvaneCli;

namespace {

const char* const kUsageHead =
    "Usage: quorvane-cli COMMAND [ARGUMENTS] [--help]\n"
    "\n"
    "Catalogues of storage media: browse, export and maintain the catalogue that\n"
    "Database.ini under $QUORVANE_HOME selects (SQLite by default).\n"
    "\n"
    "Commands:\n";

QString usage() {
    QString text = QString::fromLatin1(kUsageHead);
    for (const Command& c : commands())
        text +=
            QStringLiteral("  %1%2\n")
                .arg(QString::fromLatin1(c.name).leftJustified(10), QString::fromLatin1(c.summary));
    text += QStringLiteral("\nExit status: 0 done, 1 bad usage, 2 the work failed.\n"
                           "Run 'quorvane-cli COMMAND --help' for a command's arguments.\n");
    return text;
}

int dispatch(const QStringList& args) {
    if (args.isEmpty()) {
        printMessage(QStringLiteral("missing command (try --help)"));
        return ExitUsage;
    }
    const QString name = args.first();
    if (name == QLatin1String("--help") || name == QLatin1String("-h") ||
        name == QLatin1String("help")) {
        printOut(usage());
        return ExitOk;
    }
    if (name == QLatin1String("--version")) {
        printOut(QStringLiteral("quorvane-cli ") + QCoreApplication::applicationVersion());
        return ExitOk;
    }
    for (const Command& c : commands())
        if (name == QLatin1String(c.name))
            return c.run(args.mid(1));
    throw UsageError(QStringLiteral("unknown command \"%1\" (try --help)").arg(name));
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quorvane-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUORVANE_CLI_VERSION));
    CliPresenter presenter;
    QuorvaneSDK::installPresenter(&presenter);
    watchSdkErrors();
    int status = ExitFailed;
    try {
        status = dispatch(app.arguments().mid(1));
    } catch (const CliError& e) {
        printMessage(e.message());
        status = e.exitCode();
    } catch (const QuorvaneSDK::CatalogueError& e) {
        printMessage(
            QStringLiteral("%1 failed: %2").arg(e.routine(), e.error().Description.simplified()));
        status = ExitFailed;
    } catch (const std::exception& e) {
        printMessage(QString::fromLocal8Bit(e.what()));
        status = ExitFailed;
    }
    QuorvaneSDK::installPresenter(nullptr);
    return status;
}
