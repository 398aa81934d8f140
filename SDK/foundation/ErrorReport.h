#pragma once
// The written error report and the pop-up notice, used by the SDK's listener
// and by the program's own.

#include "foundation/Enums.h"

#include <QString>

namespace QuorvaneSDK {

// Address of the support forum named in error notices.
inline constexpr const char* kSupportForumUrl = "https://quorvane.org/forum";

struct ErrorReportData {
    QString className;
    QString routine;
    qint32 number = 0;
    QString source;
    QString description;
    QString dbUsed;
    QString additionalInformation;
    bool showInstanceInfo = true;
    QString stack;
};

// The report text, every line ended by CR LF.
QString buildErrorReport(const ErrorReportData& data);

// Builds the report, appends it to <base>/<logName>.log, puts it on the
// clipboard and asks (through the presenter) whether to open the support
// forum. Never throws. Returns the report text.
QString ShowErrorReport(const ErrorReportData& data,
                        const QString& logName = QStringLiteral("QuorvaneSDK"));

// The pop-up notice: Normal and Warning show Message for Secs seconds (a
// Warning asked for 10 seconds is shown for 30, and Secs is set to 30);
// Error shows the fixed support text for 32 seconds and puts Message on
// the clipboard. Without a presenter the notice is only logged.
void ShowPopUpMessage(const QString& Message, qint16& Secs, MessageType& KindMessage);

} // namespace QuorvaneSDK
