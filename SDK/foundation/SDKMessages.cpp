#include "foundation/SDKMessages.h"

#include "foundation/ErrorReport.h"
#include "foundation/Messages.h"

namespace QuorvaneSDK {

SDKMessages::SDKMessages(bool useEventDetails, const QString& logName, QObject* parent)
    : QObject(parent), m_useEventDetails(useEventDetails), m_logName(logName) {
    connect(&Messages::shared(), &Messages::Message, this, &SDKMessages::onMessage,
            Qt::DirectConnection);
    connect(&Messages::shared(), &Messages::Errors, this, &SDKMessages::onErrors,
            Qt::DirectConnection);
}

SDKMessages& SDKMessages::sdkListener() {
    static SDKMessages* listener = new SDKMessages(true); // lives as long as the library
    return *listener;
}

void SDKMessages::onMessage(const QString& text, MessageType priority) {
    try {
        qint16 secs = 10;
        ShowPopUpMessage(text, secs, priority);
    } catch (...) {
    }
}

void SDKMessages::onErrors(ErrorObject& error, const QString& className, const QString& routine,
                           const QString& additionalInformation, bool showInstanceInfo,
                           const QString& stack) {
    try {
        ErrorReportData data;
        data.className = className;
        data.routine = routine;
        data.number = error.Number;
        data.source = error.Source;
        data.description = error.Description;
        data.dbUsed = error.DBUsed;
        data.additionalInformation = additionalInformation;
        data.showInstanceInfo = m_useEventDetails ? showInstanceInfo : true;
        data.stack = m_useEventDetails ? stack : QString();
        ShowErrorReport(data, m_logName);
    } catch (...) {
    }
}

} // namespace QuorvaneSDK
