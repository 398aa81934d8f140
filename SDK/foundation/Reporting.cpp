#include "foundation/Reporting.h"

#include "foundation/Errors.h"
#include "foundation/Messages.h"

namespace QuorvaneSDK {
namespace {

QString call(const std::function<QString()>& provider) {
    if (!provider)
        return QString();
    try {
        return provider();
    } catch (...) {
        return QString();
    }
}

} // namespace

ErrorObject captureError(qint32 number, const QString& source, const QString& description) {
    Errors::setPendingError(number, source, description);
    return Errors::shared().set_CurrentError();
}

ErrorObject captureException(const std::exception& error, const QString& source) {
    Errors::setPendingException(error, source);
    return Errors::shared().set_CurrentError();
}

ErrorObject captureUnknownException(const QString& source) {
    return captureError(Errors::kException, source, QStringLiteral("Unknown exception"));
}

void reportError(ErrorObject& error, const QString& className, const QString& routine,
                 const QString& additionalInfo, bool avoidShowing) {
    try {
        error.DBUsed = call(reportContext().dialectName);
        const QString stack = Errors::shared().get_Stack(10);
        emit Messages::shared().Errors(error, className, routine, additionalInfo, !avoidShowing,
                                       stack);
    } catch (...) {
        // Reporting never throws.
    }
}

void raiseMessage(const QString& text, MessageType priority) {
    try {
        emit Messages::shared().Message(text, priority);
    } catch (...) {
    }
}

ReportContext& reportContext() {
    static ReportContext context;
    return context;
}

} // namespace QuorvaneSDK
