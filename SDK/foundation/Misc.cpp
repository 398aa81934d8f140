#include "foundation/Misc.h"

#include "foundation/Database.h"
#include "foundation/ErrorReport.h"
#include "foundation/Messages.h"
#include "foundation/Reporting.h"
#include "foundation/Startup.h"

#include <QStringList>
#include <time.h>

#ifndef QUORVANE_SDK_VERSION
#define QUORVANE_SDK_VERSION "0.0.0"
#endif

namespace QuorvaneSDK {

namespace {

// The first two dot-separated parts as numbers; a missing or unreadable
// part is 0.
std::pair<qint64, qint64> majorMinor(const QString& version) {
    const QStringList parts = version.split(u'.');
    const auto number = [&](int i) -> qint64 {
        if (i >= parts.size())
            return 0;
        bool ok = false;
        const qint64 n = parts[i].trimmed().toLongLong(&ok);
        return ok ? n : 0;
    };
    return {number(0), number(1)};
}

} // namespace

Misc::Misc() {
    ensureSdkStarted();
}

void Misc::ShowPopUpMessage(const QString& Message) {
    qint16 secs = 10;
    MessageType kind = MessageType::Normal;
    QuorvaneSDK::ShowPopUpMessage(Message, secs, kind);
}

void Misc::WaitAndDoEventsMill(int MillSecondsToWait) {
    Database::WaitAndDoEventsMill(MillSecondsToWait);
}

QString Misc::Credits() const {
    return QStringLiteral("For everyone who ever searched a shelf of discs for one file.");
}

Messages& Misc::get_MessagesHandle() {
    return Messages::shared();
}

void Misc::get_MessagesTestMessage(const QString& Message, MessageType Priority) {
    raiseMessage(Message, Priority);
}

QString Misc::SDK_Version() {
    return QStringLiteral("SDK version: ") + QStringLiteral(QUORVANE_SDK_VERSION);
}

bool Misc::IsReleaseNew(const QString& VersionToCompare, const QString& VersiontoReferrer) {
    const auto [major, minor] = majorMinor(VersionToCompare);
    const auto [refMajor, refMinor] = majorMinor(VersiontoReferrer);
    return major < refMajor || (major == refMajor && minor < refMinor);
}

void Misc::clean_EmptyFiles() {
    Database& db = Database::current();
    const QString routine = QStringLiteral("QuorvaneSDK.clean_EmptyFiles");
    db.execute_Sql(QStringLiteral("DELETE FROM FilesContained WHERE FileName = ''"), routine, false,
                   60);
    db.execute_Sql(QStringLiteral("DELETE FROM Files WHERE FileName = ''"), routine, false, 60);
}

qint64 Misc::get_TickCount() {
    timespec ts{};
    if (clock_gettime(CLOCK_BOOTTIME, &ts) != 0 && clock_gettime(CLOCK_MONOTONIC, &ts) != 0)
        return 0;
    return static_cast<qint64>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

} // namespace QuorvaneSDK
