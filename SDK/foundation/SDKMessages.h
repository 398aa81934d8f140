#pragma once
// A listener of the shared Messages object: messages become pop-up notices,
// errors become written error reports (foundation/ErrorReport.h). The SDK
// creates its own at start-up; the program may create another.

#include "foundation/Records.h"

#include <QObject>

namespace QuorvaneSDK {

class SDKMessages : public QObject {
    Q_OBJECT
public:
    // useEventDetails: take ShowInstanceInfo and the stack from the event
    // (the SDK's listener); false always shows the instance line and no
    // stack (the program's listener). logName names <base>/<logName>.log.
    explicit SDKMessages(bool useEventDetails = true,
                         const QString& logName = QStringLiteral("QuorvaneSDK"),
                         QObject* parent = nullptr);

    // The SDK's own listener, created once.
    static SDKMessages& sdkListener();

private:
    void onMessage(const QString& text, MessageType priority);
    void onErrors(ErrorObject& error, const QString& className, const QString& routine,
                  const QString& additionalInformation, bool showInstanceInfo,
                  const QString& stack);

    bool m_useEventDetails;
    QString m_logName;
};

} // namespace QuorvaneSDK
