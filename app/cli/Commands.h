#pragma once
// The subcommands. Each takes its own arguments (after the command's name),
// prints its results and returns the exit status, or throws a CliError.
// Catalogue scans and searches join this table once the scan engine and the
// search API are part of the SDK.

#include <QList>
#include <QString>
#include <QStringList>

namespace QuorvaneCli {

using CommandFunction = int (*)(const QStringList& args);

struct Command {
    const char* name;
    const char* summary;
    CommandFunction run;
};

int runMedia(const QStringList& args);
int runGroups(const QStringList& args);
int runLs(const QStringList& args);
int runExport(const QStringList& args);
int runShow(const QStringList& args);
int runDb(const QStringList& args);
int runSettings(const QStringList& args);

const QList<Command>& commands();

// Prints a command's help text on stdout and returns 0.
int printHelp(const char* text);

} // namespace QuorvaneCli
