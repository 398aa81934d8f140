#pragma once
// The small reporting API the rest of the SDK calls.
//
// A failing operation does, in this order:
//     ErrorObject e = captureError(number, source, description);   // or
//     ErrorObject e = captureException(ex, source);                // in a catch
//     reportError(e, className, routine, additionalInfo, avoidShowing);
//     return <empty value>;
// capture* push the error on the shared Errors stack; reportError fills
// DBUsed and emits Messages::Errors with the stack listing, which the SDK's
// listener turns into the written error report. Nothing here throws.

#include "foundation/Records.h"

#include <exception>
#include <functional>

namespace QuorvaneSDK {

// Sets the pending error and captures it on the shared stack (stamped now).
ErrorObject captureError(qint32 number, const QString& source, const QString& description);
// The same for a C++ exception (std::bad_alloc gets Errors::kOutOfMemory,
// any other Errors::kException; the description is what()).
ErrorObject captureException(const std::exception& error, const QString& source);
// For catch (...): an exception of unknown type.
ErrorObject captureUnknownException(const QString& source);

// Sets error.DBUsed to the current dialect's name and emits Messages::Errors
// with ShowInstanceInfo = !avoidShowing and the shared stack's listing.
void reportError(ErrorObject& error, const QString& className, const QString& routine,
                 const QString& additionalInfo = {}, bool avoidShowing = false);

// Emits Messages::Message.
void raiseMessage(const QString& text, MessageType priority = MessageType::Normal);

// Values the error report needs from other classes, filled in by them when
// they start (all optional; an unset provider gives the empty text).
struct ReportContext {
    std::function<QString()> dialectName;    // name of the current dialect
    std::function<QString()> programVersion; // the program's version as last handed over
    std::function<QString()> sdkVersion;     // defaults to "SDK version: x.y.z"
    std::function<QString()> instance;       // the local instance's identity
};
ReportContext& reportContext();

} // namespace QuorvaneSDK
