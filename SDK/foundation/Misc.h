#pragma once

#include "foundation/Enums.h"

#include <QString>

namespace QuorvaneSDK {

class Messages;

// Small services: pauses, versions, the message source, junk cleaning and
// the tick count.
class Misc {
public:
    // Runs the SDK's one-time start-up.
    Misc();

    // A pop-up notice of normal priority (shown by the host's presenter).
    void ShowPopUpMessage(const QString& Message);
    // Lets pending events run for the given time.
    void WaitAndDoEventsMill(int MillSecondsToWait = 250);
    QString Credits() const;
    // The SDK's shared message source; connect to its signals.
    Messages& get_MessagesHandle();
    void
    get_MessagesTestMessage(const QString& Message = QStringLiteral("TestMessage from Quorvane"),
                            MessageType Priority = MessageType::Normal);
    // "SDK version: " + major.minor.revision.
    static QString SDK_Version();
    QString Version() const { return SDK_Version(); }
    // True when VersionToCompare is older than VersiontoReferrer by its major
    // or minor number (the revision is not compared).
    static bool IsReleaseNew(const QString& VersionToCompare, const QString& VersiontoReferrer);
    // Removes the rows left without a file name by an interrupted scan.
    void clean_EmptyFiles();
    // Milliseconds since the system started (64-bit: no wrap after 24 days).
    static qint64 get_TickCount();
};

} // namespace QuorvaneSDK
