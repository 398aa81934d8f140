#pragma once
// The SDK's message source. Listeners (SDKMessages, the program's own)
// connect to the shared object; only SDK code emits, through raiseMessage()
// and reportError() of foundation/Reporting.h. Signals are delivered
// synchronously on the caller's thread.

#include "foundation/Records.h"

#include <QObject>

namespace QuorvaneSDK {

class Messages : public QObject {
    Q_OBJECT
public:
    static Messages& shared();

signals:
    void Message(const QString& text, QuorvaneSDK::MessageType priority);
    void Errors(QuorvaneSDK::ErrorObject& error, const QString& className, const QString& routine,
                const QString& additionalInformation, bool showInstanceInfo, const QString& stack);

private:
    Messages() = default;
};

} // namespace QuorvaneSDK
