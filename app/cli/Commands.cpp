#include "Commands.h"

#include "Output.h"

namespace QuorvaneCli {

const QList<Command>& commands() {
    static const QList<Command> list{
        {"media", "list, show, rename, regroup or delete catalogued media", runMedia},
        {"groups", "the groups of the media", runGroups},
        {"ls", "the folders and files of a medium's folder", runLs},
        {"show", "everything the catalogue holds about one file", runShow},
        {"export", "the files of a medium as CSV or JSON", runExport},
        {"db", "the catalogue database: info, check, upgrade, compact, purge-previews, use", runDb},
        {"settings", "show or change the application settings", runSettings},
    };
    return list;
}

int printHelp(const char* text) {
    printOut(QString::fromUtf8(text));
    return 0;
}

} // namespace QuorvaneCli
